#include "CheckedPath.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "ActingForNobody.h"
#include "Folders.h"
#include "WholeFile.h"

namespace fs = std::filesystem;

namespace {

using namespace tbktest;

TEST_F(ActingForNobody, TheirOwnFilesAreReadReplacedAndMadeAsBefore) {
  folder("game", nobody, nogroup, 0755);
  std::string options = file("game/options.txt", "mp_username:Steve\n", nobody, nogroup, 0644);
  ASSERT_TRUE(tbk::actingForAnotherUser());

  EXPECT_EQ(tbk::readWholeFile(options, 1024).value(), "mp_username:Steve\n");
  tbk::writeFileAtomically(options, "mp_username:Alex\n", tbk::ownerForFile(options, at("game")));
  EXPECT_EQ(readFile(options), "mp_username:Alex\n");
  struct stat info;
  ASSERT_EQ(::stat(options.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, nobody);
  EXPECT_EQ(info.st_mode & 07777, 0644u);

  // Whose the folders made are is OwnerPolicy's test.
  tbk::makeFolders(at("game/backups/World/1"), tbk::ownerForFile(at("game/x"), at("game")));
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

  EXPECT_EQ(readFile(passwd), "root:x:0:0\n");
  EXPECT_EQ(folderNames(at("secret")), std::vector<std::string>{"passwd"});
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
    EXPECT_EQ(readFile(path), c.canWrite ? "after" : "before");
    EXPECT_FALSE(fs::exists(path + ".gorvane-tmp"));
  }
}

}  // namespace
