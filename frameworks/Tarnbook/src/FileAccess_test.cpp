// The file access of a root process acting for an ordinary user, as Gorvane
// does after a set-user-id start: the process is root, the real user is
// `nobody`, and every read and write must be one nobody could do.
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "Folders.h"
#include "RealUser.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "Tarnbook/TBKGameFile.h"
#include "Tarnbook/TBKLevelDB.h"
#include "TarnbookTestWorld.h"
#include "UserPath.h"
#include "WholeFile.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;
constexpr gid_t otherGroup = 4242;  // a group nobody is not in by default
constexpr uid_t someoneElse = 4243;

class ActingForNobody : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root: the tests act for another user as Gorvane does";
    fs::permissions(scratch.path(), fs::perms(0755));
    saved = tbk::realUser();
    tbk::setRealUser({nobody, nogroup, {}});
  }
  void TearDown() override {
    if (::geteuid() == 0) tbk::setRealUser(saved);
  }

  std::string at(const std::string& relative) const { return scratch.path() + "/" + relative; }
  std::string folder(const std::string& relative, uid_t uid, gid_t gid, mode_t mode) const {
    std::string path = at(relative);
    fs::create_directories(path);
    place(path, uid, gid, mode);
    return path;
  }
  std::string file(const std::string& relative, const std::string& bytes, uid_t uid, gid_t gid, mode_t mode) const {
    std::string path = at(relative);
    std::ofstream(path, std::ios::binary) << bytes;
    place(path, uid, gid, mode);
    return path;
  }
  static void place(const std::string& path, uid_t uid, gid_t gid, mode_t mode) {
    EXPECT_EQ(::lchown(path.c_str(), uid, gid), 0);
    EXPECT_EQ(::chmod(path.c_str(), mode), 0);
  }
  static std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Runs action and returns the reason it raised ("" when it did not).
  static std::string refusal(const std::function<void()>& action) {
    try {
      action();
    } catch (const TBKException& error) {
      return error.reason();
    }
    return "";
  }

  tbktest::TemporaryFolder scratch;
  tbk::RealUser saved{};
};

TEST_F(ActingForNobody, TheirOwnFilesAreReadReplacedAndMadeAsBefore) {
  folder("game", nobody, nogroup, 0755);
  std::string options = file("game/options.txt", "mp_username:Steve\n", nobody, nogroup, 0644);
  ASSERT_TRUE(tbk::actingForAnotherUser());

  EXPECT_EQ(tbk::readWholeFile(options, 1024).value(), "mp_username:Steve\n");
  tbk::writeFileAtomically(options, "mp_username:Alex\n", tbk::ownerForFile(options, at("game")));
  EXPECT_EQ(contentOf(options), "mp_username:Alex\n");
  struct stat info;
  ASSERT_EQ(::stat(options.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, nobody);
  EXPECT_EQ(info.st_mode & 07777, 0644u);

  tbk::makeFolders(at("game/backups/World/1"), tbk::ownerForFile(at("game/x"), at("game")));
  ASSERT_EQ(::stat(at("game/backups/World").c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, nobody);
  // Theirs to change but not to list: root does not list it for them.
  ASSERT_EQ(::chmod(at("game/backups/World").c_str(), 0300), 0);
  EXPECT_NE(refusal([&] { tbk::removeTree(at("game/backups")); }).find("may not list"), std::string::npos);
  ASSERT_EQ(::chmod(at("game/backups/World").c_str(), 0755), 0);
  tbk::removeTree(at("game/backups"));
  EXPECT_FALSE(fs::exists(at("game/backups")));
}

TEST_F(ActingForNobody, ALinkAnywhereBelowIsRefusedWithAReasonAndNothingIsWritten) {
  folder("secret", 0, 0, 0755);
  std::string passwd = file("secret/passwd", "root:x:0:0\n", 0, 0, 0644);
  folder("game", nobody, nogroup, 0755);
  fs::create_symlink(passwd, at("game/options.txt"));
  fs::create_symlink(at("secret"), at("game/worlds"));
  tbk::FileOwner owner{nobody, nogroup, 0644};

  for (std::string path : {at("game/options.txt"), at("game/worlds/passwd")}) {
    SCOPED_TRACE(path);
    EXPECT_NE(refusal([&] { tbk::readWholeFile(path, 1024); }).find("is a symbolic link"), std::string::npos);
    EXPECT_NE(refusal([&] { tbk::ownerOf(path); }).find("is a symbolic link"), std::string::npos);
    std::string reason = refusal([&] { tbk::writeFileAtomically(path, "pwned\n", owner); });
    EXPECT_NE(reason.find("Gorvane does not follow links inside the game's folders"), std::string::npos) << reason;
    EXPECT_FALSE(tbk::isRegularFile(path));
  }
  EXPECT_NE(refusal([&] { tbk::makeFolders(at("game/worlds/new"), owner); }), "");
  EXPECT_NE(refusal([&] { tbk::removeTree(at("game/worlds/passwd")); }), "");
  EXPECT_NE(refusal([&] { tbk::folderEntries(at("game/worlds")); }), "");

  EXPECT_EQ(contentOf(passwd), "root:x:0:0\n");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(at("secret"))) left.push_back(entry.path().filename());
  EXPECT_EQ(left, std::vector<std::string>{"passwd"});
}

TEST_F(ActingForNobody, LinksAreFollowedOnlyAsTheUserCouldAndNeverIntoProcesses) {
  folder("home/real/game", nobody, nogroup, 0755);
  folder("shut/hidden", 0, 0, 0700);
  place(at("shut"), 0, 0, 0700);
  const std::pair<const char*, std::string> links[] = {
      {"home/up", "real"},
      {"home/chain", "up"},
      {"home/abs", at("home/real")},
      {"home/toHidden", at("shut/hidden")},
      {"home/toMissing", at("shut/nothing")},
      {"home/proc", "/proc/self/cwd"},
  };
  for (const auto& [name, target] : links) fs::create_symlink(target, at(name));
  struct Case {
    const char* path;
    std::string resolved;  // "" when refused
    std::string reason;
  };
  const Case cases[] = {
      {"home/chain/game", at("home/real/game"), ""},
      {"home/abs/game/../game/.", at("home/real/game"), ""},
      {"home/up/missing/../x", at("home/real/missing/../x"), ""},  // from a missing name on, as written
      {"home/toHidden/x", "", "may not look into " + at("shut") + ","},
      {"home/toMissing/x", "", "may not look into " + at("shut") + ","},
      {"home/proc/x", "", "leads into /proc, among the system's processes"},
  };
  for (const Case& c : cases) {
    std::string resolved;
    std::string reason = refusal([&] { resolved = tbk::resolvedAsRealUser(at(c.path)); });
    EXPECT_EQ(resolved, c.resolved) << c.path;
    if (!c.reason.empty()) {
      EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
      EXPECT_EQ(reason.find("hidden"), std::string::npos) << reason;
      EXPECT_EQ(reason.find("nothing"), std::string::npos) << reason;
    }
  }
}

TEST_F(ActingForNobody, ReadingAndWritingFollowTheRealUsersPermissions) {
  struct Case {
    const char* what;
    uid_t fileOwner;
    gid_t fileGroup;
    mode_t fileMode;
    uid_t folderOwner;
    mode_t folderMode;
    std::vector<gid_t> groups;  // nobody's supplementary groups
    bool canRead;
    bool canWrite;
  };
  const Case cases[] = {
      {"root's public file", 0, 0, 0644, 0, 0755, {}, true, false},
      {"root's private file", 0, 0, 0600, 0, 0755, {}, false, false},
      {"group file, in the group", 0, otherGroup, 0660, nobody, 0755, {otherGroup}, true, true},
      {"group file, not in the group", 0, otherGroup, 0660, nobody, 0755, {}, false, false},
      {"own file in root's folder", nobody, nogroup, 0644, 0, 0755, {}, true, false},
      {"someone's file in a sticky folder", someoneElse, someoneElse, 0666, 0, 01777, {}, true, false},
      {"own file in a sticky folder", nobody, nogroup, 0644, 0, 01777, {}, true, true},
      {"own file in a folder nobody cannot enter", nobody, nogroup, 0644, 0, 0700, {}, false, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string name = "case" + std::to_string(n++);
    folder(name, c.folderOwner, 0, c.folderMode);
    std::string path = file(name + "/options.txt", "before", c.fileOwner, c.fileGroup, c.fileMode);
    tbk::setRealUser({nobody, nogroup, c.groups});

    std::string readRefusal = refusal([&] { EXPECT_EQ(tbk::readWholeFile(path, 1024).value_or(""), "before"); });
    EXPECT_EQ(readRefusal.empty(), c.canRead) << readRefusal;
    if (!c.canRead) {
      EXPECT_NE(readRefusal.find("may not"), std::string::npos) << readRefusal;
    }
    std::string writeRefusal = refusal([&] {
      tbk::writeFileAtomically(path, "after", tbk::FileOwner{c.fileOwner, c.fileGroup, c.fileMode});
    });
    EXPECT_EQ(writeRefusal.empty(), c.canWrite) << writeRefusal;
    EXPECT_EQ(contentOf(path), c.canWrite ? "after" : "before");
    EXPECT_FALSE(fs::exists(path + ".gorvane-tmp"));
  }
}

TEST_F(ActingForNobody, HardLinksCannotLendRootsFilesToTheUser) {
  folder("secret", 0, 0, 0700);
  std::string shadow = file("secret/shadow", "root:hash\n", 0, 0, 0600);
  folder("game", nobody, nogroup, 0755);
  std::string options = file("game/options.txt", "mine\n", nobody, nogroup, 0644);
  // A leftover temporary name and a game file, both the root file itself.
  ASSERT_EQ(::link(shadow.c_str(), (options + ".gorvane-tmp").c_str()), 0);
  ASSERT_EQ(::link(shadow.c_str(), at("game/level.dat").c_str()), 0);

  tbk::writeFileAtomically(options, "new\n", tbk::ownerForFile(options, at("game")));
  EXPECT_EQ(contentOf(options), "new\n");
  EXPECT_NE(refusal([&] { tbk::readWholeFile(at("game/level.dat"), 1024); }).find("may not read"), std::string::npos);
  EXPECT_NE(refusal([&] {
              tbk::writeFileAtomically(at("game/level.dat"), "x", tbk::FileOwner{nobody, nogroup, 0644});
            }).find("may not write"),
            std::string::npos);
  EXPECT_EQ(contentOf(shadow), "root:hash\n");
  struct stat info;
  ASSERT_EQ(::stat(shadow.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(ActingForNobody, WhatIsMadeForTheUserIsTheirsAndNeverSetUserId) {
  tbk::setRealUser({nobody, nogroup, {otherGroup}});
  std::string shared = folder("shared", someoneElse, otherGroup, 0770);
  std::string tool = file("shared/tool", "#!/bin/sh\n", someoneElse, otherGroup, 0775);
  ASSERT_EQ(::chmod(tool.c_str(), 06775), 0);

  // New: nobody's own, though the folder's owner was asked for.
  std::string fresh = shared + "/new.txt";
  tbk::writeFileAtomically(fresh, "x", tbk::ownerForFile(fresh, shared));
  tbk::makeFolders(shared + "/backups/1", tbk::ownerForFile(fresh + "2", shared));
  // Replaced: its owner stays, as a write in place would leave it.
  tbk::writeFileAtomically(tool, "#!/bin/sh\necho mine\n", tbk::ownerForFile(tool, shared));

  struct Expected {
    std::string path;
    uid_t uid;
    mode_t mode;
  };
  for (const Expected& e : {Expected{fresh, nobody, 0660}, Expected{shared + "/backups", nobody, 0770},
                            Expected{shared + "/backups/1", nobody, 0770}, Expected{tool, someoneElse, 0775}}) {
    struct stat info;
    ASSERT_EQ(::stat(e.path.c_str(), &info), 0) << e.path;
    EXPECT_EQ(info.st_uid, e.uid) << e.path;
    EXPECT_EQ(info.st_gid, otherGroup) << e.path;
    EXPECT_EQ(info.st_mode & 07777, e.mode) << e.path;
  }
}

// A POSIX access list: the owner's, group's and other's bits with named
// entries between, stored as the kernel keeps it.
void setAccessList(const std::string& path, int owner, std::vector<std::pair<uid_t, int>> users, int group, int mask,
                   int other) {
  std::string bytes;
  auto put = [&](uint16_t tag, uint16_t perm, uint32_t id) {
    for (int i = 0; i < 2; ++i) bytes.push_back(char(tag >> (8 * i)));
    for (int i = 0; i < 2; ++i) bytes.push_back(char(perm >> (8 * i)));
    for (int i = 0; i < 4; ++i) bytes.push_back(char(id >> (8 * i)));
  };
  bytes = std::string("\x02\0\0\0", 4);
  put(0x01, uint16_t(owner), 0xffffffff);
  for (auto [uid, perm] : users) put(0x02, uint16_t(perm), uid);
  put(0x04, uint16_t(group), 0xffffffff);
  put(0x10, uint16_t(mask), 0xffffffff);
  put(0x20, uint16_t(other), 0xffffffff);
  ASSERT_EQ(::setxattr(path.c_str(), "system.posix_acl_access", bytes.data(), bytes.size(), 0), 0) << path;
}

TEST_F(ActingForNobody, AccessListsAreWeighedAsTheKernelWeighsThem) {
  folder("acl", 0, 0, 0755);
  // Every other user may read it, but the list shuts nobody out.
  std::string shut = file("acl/shut", "root's\n", 0, 0, 0644);
  setAccessList(shut, 6, {{nobody, 0}}, 4, 4, 4);
  // Private to root, but the list lets nobody read it.
  std::string lent = file("acl/lent", "lent\n", 0, 0, 0600);
  setAccessList(lent, 6, {{nobody, 4}}, 0, 4, 0);
  // A named entry is capped by the mask.
  std::string capped = file("acl/capped", "capped\n", 0, 0, 0600);
  setAccessList(capped, 6, {{nobody, 6}}, 0, 0, 0);
  // A private folder nobody may enter by the list.
  folder("acl/inner", 0, 0, 0700);
  std::string inner = file("acl/inner/file", "inner\n", 0, 0, 0644);
  setAccessList(at("acl/inner"), 7, {{nobody, 5}}, 0, 5, 0);

  EXPECT_NE(refusal([&] { tbk::readWholeFile(shut, 1024); }).find("may not read"), std::string::npos);
  EXPECT_EQ(tbk::readWholeFile(lent, 1024).value(), "lent\n");
  EXPECT_NE(refusal([&] { tbk::readWholeFile(capped, 1024); }).find("may not read"), std::string::npos);
  EXPECT_EQ(tbk::readWholeFile(inner, 1024).value(), "inner\n");
}

// Worlds: the game's LevelDB goes through the same checks.
class WorldsForNobody : public ActingForNobody {
 protected:
  void SetUp() override {
    ActingForNobody::SetUp();
    if (IsSkipped()) return;
    tbk::setRealUser(saved);
    tbktest::writeWorld(sandbox.worldFolder("lake"), "Lakeside Survival", true);
    std::string root = sandbox.gameDataFolder().substr(0, sandbox.gameDataFolder().find("/Documents"));
    place(root, nobody, nogroup, 0755);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      EXPECT_EQ(::lchown(entry.path().c_str(), nobody, nogroup), 0);
    }
    tbk::setRealUser({nobody, nogroup, {}});
  }

  tbktest::TestSandbox sandbox;
};

TEST_F(WorldsForNobody, TheirOwnWorldIsListedReadAndSaved) {
  EXPECT_EQ(TBKLevelDB::worlds(), std::vector<std::string>{"lake"});
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  auto player = db->player();
  db->setPlayer(player);
  db->setLevelData(db->levelData());
  for (const auto& entry : fs::recursive_directory_iterator(sandbox.gameDataFolder())) {
    struct stat info;
    ASSERT_EQ(::lstat(entry.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, nobody) << entry.path() << " would no longer be the game's";
  }
  EXPECT_FALSE(db->backupMade().empty());
}

TEST_F(WorldsForNobody, AWorldReachedThroughALinkIsRefused) {
  folder("rootworld", 0, 0, 0755);
  tbk::setRealUser(saved);
  tbktest::writeWorld(at("rootworld/w"), "Root's World", true);
  tbk::setRealUser({nobody, nogroup, {}});
  std::string before = contentOf(at("rootworld/w/level.dat"));

  // The whole world folder, and the database folder of an own world.
  fs::create_symlink(at("rootworld/w"), sandbox.worldFolder("linked"));
  EXPECT_EQ(TBKLevelDB::worlds(), std::vector<std::string>{"lake"});
  EXPECT_NE(refusal([] { TBKLevelDB::dbForWorldNamed("linked"); }).find("is a symbolic link"), std::string::npos);

  fs::remove_all(sandbox.worldFolder("lake") + "/db");
  fs::create_symlink(at("rootworld/w/db"), sandbox.worldFolder("lake") + "/db");
  auto db = TBKLevelDB::dbForWorldNamed("lake");
  EXPECT_NE(refusal([&] { db->player(); }).find("is a symbolic link"), std::string::npos);

  // level.dat itself.
  fs::remove(sandbox.worldFolder("lake") + "/level.dat");
  fs::create_symlink(at("rootworld/w/level.dat"), sandbox.worldFolder("lake") + "/level.dat");
  auto level = tbktest::makeLevelTree("Taken");
  EXPECT_NE(refusal([&] { TBKLevelDB(sandbox.worldFolder("lake"), "lake", "").setLevelData(level); }), "");

  EXPECT_EQ(contentOf(at("rootworld/w/level.dat")), before);
  for (const auto& entry : fs::recursive_directory_iterator(at("rootworld"))) {
    struct stat info;
    ASSERT_EQ(::lstat(entry.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u) << entry.path();
  }
}

TEST_F(WorldsForNobody, ALinkPlantedAmongTheDatabaseFilesIsNeverWrittenThrough) {
  std::string target = file("target", "root's\n", 0, 0, 0644);
  std::string db = sandbox.worldFolder("lake") + "/db";
  fs::remove(db + "/LOCK");
  fs::create_symlink(target, db + "/LOCK");
  std::string reason = refusal([&] { TBKWorldStore::open(db, "lake"); });
  EXPECT_NE(reason.find("is a symbolic link"), std::string::npos) << reason;
  EXPECT_EQ(contentOf(target), "root's\n");
  struct stat info;
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
}

TEST_F(WorldsForNobody, AnOptionsFileThatIsALinkIsNeitherReadNorReplacedNorBackedUp) {
  std::string secret = file("shadow", "root:hash\n", 0, 0, 0640);
  std::string options = sandbox.gameDataFolder() + "/minecraftpe/options.txt";
  fs::create_symlink(secret, options);
  TBKGameFile game(options, "options");
  EXPECT_NE(refusal([&] { game.read(); }).find("is a symbolic link"), std::string::npos);
  EXPECT_NE(refusal([&] { game.backUpOnce(); }).find("is a symbolic link"), std::string::npos);
  EXPECT_NE(refusal([&] { game.replace("mp_username:pwned\n"); }).find("is a symbolic link"), std::string::npos);
  EXPECT_EQ(contentOf(secret), "root:hash\n");
  EXPECT_FALSE(fs::exists(TBKFileSource::sharedSource().backupsFolder() + "/options"));

  // Their own options file, as the game keeps it, is edited as before.
  fs::remove(options);
  std::ofstream(options) << "mp_username:Steve\n";
  place(options, nobody, nogroup, 0644);
  EXPECT_FALSE(game.backUpOnce().empty());
  game.replace("mp_username:Alex\n");
  EXPECT_EQ(game.read().value(), "mp_username:Alex\n");
}

}  // namespace
