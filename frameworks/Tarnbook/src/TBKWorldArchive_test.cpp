#include "Tarnbook/TBKWorldArchive.h"

#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "ActingForNobody.h"
#include "DemoGame.h"
#include "GameDatabase.h"
#include "ReadLimits.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKFileSource.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKWholeWorld.h"
#include "ZipBuilder.h"

namespace fs = std::filesystem;
using tbktest::WorldsForNobody;
using tbktest::ZipEntry;

namespace {

// Every file below folder with its bytes, by relative path.
std::map<std::string, std::string> filesOf(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& file : fs::recursive_directory_iterator(folder)) {
    if (file.is_regular_file()) files[fs::relative(file.path(), folder).string()] = tbktest::readFile(file.path());
  }
  return files;
}

// Paths below root that root owns: none may be, acting for nobody.
std::vector<std::string> ownedByRoot(const fs::path& root) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat info;
    if (::lstat(entry.path().c_str(), &info) == 0 && info.st_uid == 0) found.push_back(entry.path().string());
  }
  return found;
}

// A world exported and imported again has every file byte for byte and
// every record, even while this process has the world's database open: the
// handle is closed for the copy and opens again after it.
TEST(TBKWorldArchive, AWorldExportedAndImportedIsTheSameFileForFileAndRecordForRecord) {
  DemoGame game;
  fs::path worlds = game.gameDataFolder() / "minecraftWorlds";
  fs::path world = worlds / "bW9kZXJuAA==";
  auto db = TBKLevelDB::dbForWorldNamed("bW9kZXJuAA==");
  db->player();
  fs::create_directories(world / "resource_packs");
  tbktest::writeFile(world / "world_icon.jpeg", std::string("\xff\xd8\xff\xe0 icon", 9));
  tbktest::TemporaryFolder out;
  auto before = filesOf(world);
  auto records = worldreader::databaseContents(world);

  auto archive = TBKWorldArchive::exportWorld(world, "Modern World", out.path());
  ASSERT_EQ(archive, out.path() + "/Modern World.mcworld");
  auto name = TBKWorldArchive::importWorld(*archive, worlds);
  ASSERT_TRUE(name.has_value());
  EXPECT_EQ(name->size(), 12u) << *name;
  EXPECT_EQ(filesOf(worlds / *name), before);
  EXPECT_TRUE(fs::is_directory(worlds / *name / "resource_packs"));
  EXPECT_EQ(worldreader::databaseContents(worlds / *name), records);
  EXPECT_NO_THROW(db->setPlayer(db->player())) << "the world's database stayed closed after the export";
  EXPECT_EQ(TBKWorldArchive::exportWorld(world, "Modern World", out.path()), out.path() + "/Modern World (2).mcworld")
      << "an export replaced the one before";
  auto listed = TBKLevelDB::worlds();
  EXPECT_NE(std::find(listed.begin(), listed.end(), *name), listed.end());
}

// Every archive here is refused before a world appears: with the entry
// named, nothing left in the worlds folder, and nothing of root's made.
TEST_F(WorldsForNobody, AHostileArchiveIsRefusedNamingTheEntryAndNothingIsWritten) {
  std::string lake = sandbox.worldFolder("lake");
  auto world = tbktest::entriesOfFolder(lake);
  auto plus = [&](std::vector<ZipEntry> more) {
    more.insert(more.begin(), world.begin(), world.end());
    return tbktest::zipOf(more);
  };
  std::string zeros(size_t(4) << 20, '\0');
  std::vector<ZipEntry> many(tbk::archiveLimit::entries + 1, ZipEntry{"", ""});
  for (size_t i = 0; i < many.size(); ++i) many[i].name = "f" + std::to_string(i);
  std::string whole = tbktest::zipOf(world);
  // The first entry's data, past its local header (30 bytes, name, extra).
  std::string tableFlipped = whole;
  auto half = [&](size_t at) { return size_t(uint8_t(whole[at])) | size_t(uint8_t(whole[at + 1])) << 8; };
  tableFlipped[30 + half(26) + half(28) + 2] ^= 0x55;
  // Bare ends of archives whose directories claim what libzip reads whole.
  auto le = [](uint64_t value, int width) {
    std::string bytes;
    for (int i = 0; i < width; ++i) bytes += char(i < 8 ? value >> 8 * i : 0);
    return bytes;
  };
  std::string bigDirectory = "PK\5\6" + le(0, 4) + le(9, 2) + le(9, 2) + le(0xfffffff0, 4) + le(0, 6);
  std::string zip64Count = "PK\6\6" + le(44, 8) + le(45, 4) + le(0, 8) + le(1 << 24, 8) + le(1 << 24, 8) + le(0, 16) +
                           "PK\6\7" + le(0, 12) + le(1, 4) + "PK\5\6" + le(0, 4) + le(~0ull, 12) + le(0, 2);
  struct Case {
    const char* archive;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"dot-dot", plus({{"db/../../escape", "x"}}), "its entry \"db/../../escape\" leads out of the world folder"},
      {"absolute", plus({{"/tmp/escape", "x"}}), "its entry \"/tmp/escape\" has an absolute path"},
      {"backslashes", plus({{"..\\escape", "x"}}), "its entry \"..\\escape\" leads out of the world folder"},
      {"link", plus({{"world_icon.jpeg", "/etc/shadow", S_IFLNK | 0777}}), "its entry \"world_icon.jpeg\" is a link"},
      {"fifo", plus({{"db/pipe", "", S_IFIFO | 0644}}), "its entry \"db/pipe\" is a FIFO"},
      {"device", plus({{"db/disk", "", S_IFBLK | 0644}}), "its entry \"db/disk\" is a device"},
      {"repeated", plus({{"./level.dat", "x"}}), "its entry \"./level.dat\" repeats the entry \"level.dat\""},
      {"file and folder", plus({{"db", "x"}}), "its entry \"db\" is a file, and also the folder of"},
      {"too many", tbktest::zipOf(many), "it holds 65537 entries, more than the 65536"},
      {"directory of 4 GB", bigDirectory, "its directory is 4294967280 bytes, more than the 64 MB"},
      {"zip64 millions", zip64Count, "it holds 16777216 entries, more than the 65536"},
      {"bomb", plus({{"db/000009.ldb", zeros}}), "its entry \"db/000009.ldb\" inflates 4"},
      {"bomb lying", tbktest::withClaimedSize(plus({{"db/000009.ldb", zeros}}), "db/000009.ldb", 1000),
       "its entry \"db/000009.ldb\" inflates to more than the 1000 bytes it claims"},
      {"no level.dat", tbktest::zipOf({{"db/CURRENT", "MANIFEST-000002\n"}}), "it holds no level.dat"},
      {"two top folders", tbktest::zipOf({{"a/level.dat", "x"}, {"b/x", "y"}}), "it holds no level.dat"},
      {"truncated", whole.substr(0, whole.size() - 30), "it is not a zip archive, or it is cut short"},
      {"damaged", tableFlipped, "is damaged"},
  };
  std::string archive = sandbox.gameDataFolder() + "/in.mcworld";
  std::string root = sandbox.gameDataFolder().substr(0, sandbox.gameDataFolder().find("/Documents"));
  auto worldsBefore = tbktest::folderNames(sandbox.worldsFolder());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.archive);
    tbktest::writeFile(archive, c.bytes);
    place(archive, tbktest::nobody, tbktest::nogroup, 0644);
    std::string reason = refusal([&] { TBKWorldArchive::importWorld(archive, sandbox.worldsFolder()); });
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    EXPECT_NE(reason.find("Nothing was written."), std::string::npos) << reason;
    EXPECT_EQ(tbktest::folderNames(sandbox.worldsFolder()), worldsBefore);
    EXPECT_EQ(ownedByRoot(root), std::vector<std::string>());
  }
  // The same world whole, or inside one top folder, comes in as the user's.
  for (const auto& bytes : {whole, tbktest::zipOf(tbktest::entriesOfFolder(lake, "Lake"))}) {
    tbktest::writeFile(archive, bytes);
    place(archive, tbktest::nobody, tbktest::nogroup, 0644);
    auto name = TBKWorldArchive::importWorld(archive, sandbox.worldsFolder());
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(filesOf(sandbox.worldFolder(*name)), filesOf(lake));
  }
  EXPECT_EQ(ownedByRoot(root), std::vector<std::string>());
}

// Where the user may not look or write, Gorvane neither reads nor writes an
// archive for them, and says the same whether the name is there or not.
TEST_F(WorldsForNobody, NoArchiveIsReadOrWrittenWhereTheUserMayNotAndNothingIsLearned) {
  std::string hidden = folder("hidden", 0, 0, 0700), shut = folder("shut", 0, 0, 0755);
  tbktest::writeFile(hidden + "/there.mcworld", tbktest::zipOf(tbktest::entriesOfFolder(sandbox.worldFolder("lake"))));
  folder("hidden/there", tbktest::nobody, tbktest::nogroup, 0755);
  std::string mine = folder("mine", tbktest::nobody, tbktest::nogroup, 0755);
  for (const char* name : {"there", "gone"}) {
    std::string link = mine + "/" + name + ".mcworld";
    ASSERT_EQ(::symlink((hidden + "/" + name + ".mcworld").c_str(), link.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), tbktest::nobody, tbktest::nogroup), 0);
  }
  auto import = [&](const std::string& path) {
    return [&, path] { TBKWorldArchive::importWorld(path, sandbox.worldsFolder()); };
  };
  auto exportTo = [&](const std::string& path) {
    return [&, path] { TBKWorldArchive::exportWorld(sandbox.worldFolder("lake"), "Lake", path); };
  };
  // Each pair: a name that is there and one that is not (told alike when
  // the user may not look), both refused.
  const std::pair<std::function<void()>, std::function<void()>> cases[] = {
      {import(hidden + "/there.mcworld"), import(hidden + "/gone.mcworld")},
      {import(mine + "/there.mcworld"), import(mine + "/gone.mcworld")},
      {exportTo(hidden + "/there"), exportTo(hidden + "/gone")},
      {exportTo(shut), nullptr},
  };
  auto worldsBefore = tbktest::folderNames(sandbox.worldsFolder());
  for (const auto& [there, gone] : cases) {
    std::string said = refusal(there);
    EXPECT_FALSE(said.empty());
    if (!gone) continue;
    std::string saidForNone = refusal(gone);
    for (size_t at; (at = saidForNone.find("gone")) != std::string::npos;) saidForNone.replace(at, 4, "there");
    EXPECT_EQ(said, saidForNone);
  }
  EXPECT_EQ(tbktest::folderNames(sandbox.worldsFolder()), worldsBefore);
  EXPECT_EQ(tbktest::folderNames(hidden), (std::vector<std::string>{"there", "there.mcworld"}));
  EXPECT_EQ(tbktest::folderNames(hidden + "/there"), std::vector<std::string>());
  EXPECT_EQ(tbktest::folderNames(shut), std::vector<std::string>());
}

// The archive is the user's own file, never root's, named for the world; a
// world the game holds open is refused with nothing written.
TEST_F(WorldsForNobody, AnExportIsTheUsersOwnAndAWorldTheGameHoldsIsNotExported) {
  std::string out = folder("Documents", tbktest::nobody, tbktest::nogroup, 0755);
  auto archive = TBKWorldArchive::exportWorld(sandbox.worldFolder("lake"), "Lake/side", out);
  ASSERT_EQ(archive, out + "/Lake_side.mcworld");
  struct stat info;
  ASSERT_EQ(::stat(archive->c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, tbktest::nobody);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
  fs::create_symlink(*archive, out + "/link.mcworld");
  file("Documents/B.MCWORLD", "x", tbktest::nobody, tbktest::nogroup, 0644);
  file("Documents/notes.txt", "x", tbktest::nobody, tbktest::nogroup, 0644);
  EXPECT_EQ(TBKWorldArchive::archivesIn(out), (std::vector<std::string>{"B.MCWORLD", "Lake_side.mcworld"}));
  for (auto* other : {"/link.mcworld", "/B.MCWORLD", "/notes.txt"}) fs::remove(out + other);
  EXPECT_EQ(TBKWorldArchive::archiveFileName(".."), "_..mcworld");
  EXPECT_EQ(TBKWorldArchive::archiveFileName(""), "world.mcworld");

  std::string db = sandbox.worldFolder("lake") + "/db";
  gamedatabase::HeldChild game(gamedatabase::holdInChild([&] { static auto held = TBKWorldStore::open(db, "lake"); }));
  auto error = tbktest::raised([&] { TBKWorldArchive::exportWorld(sandbox.worldFolder("lake"), "Lake", out); });
  EXPECT_EQ(error.kind(), TBKException::Kind::WorldBusy) << error.reason();
  EXPECT_EQ(tbktest::folderNames(out), std::vector<std::string>{"Lake_side.mcworld"});
}

// A copy is the world file for file under its own name, the user's own; a
// held world is not copied.
TEST_F(WorldsForNobody, ACopyIsTheWholeWorldUnderItsOwnName) {
  auto before = filesOf(sandbox.worldFolder("lake"));
  auto name = TBKWholeWorld::copyWorld(sandbox.worldFolder("lake"));
  ASSERT_TRUE(name.has_value());
  fs::path copy = sandbox.worldFolder(*name);
  EXPECT_EQ(worldreader::readLevelDat(copy / "level.dat").root.string("LevelName"), "Copy of Lakeside Survival");
  EXPECT_EQ(tbktest::readFile(copy / "levelname.txt"), "Copy of Lakeside Survival");
  auto after = filesOf(copy);
  for (auto* renamed : {"level.dat", "level.dat_old", "levelname.txt"}) before.erase(renamed), after.erase(renamed);
  EXPECT_EQ(after, before);
  EXPECT_EQ(worldreader::databaseContents(copy), worldreader::databaseContents(sandbox.worldFolder("lake")));
  EXPECT_EQ(tbktest::folderNames(sandbox.worldsFolder()).size(), 2u) << "more than the world and its copy";
  std::string root = sandbox.gameDataFolder().substr(0, sandbox.gameDataFolder().find("/Documents"));
  EXPECT_EQ(ownedByRoot(root), std::vector<std::string>());

  // A link in a world is neither followed nor left out: a copy and an
  // export refuse it by name, writing nothing.
  std::string out = folder("Documents", tbktest::nobody, tbktest::nogroup, 0755);
  fs::create_symlink("/etc", sandbox.worldFolder("lake") + "/resource_packs");
  for (auto refused :
       {std::function<void()>([&] { TBKWholeWorld::copyWorld(sandbox.worldFolder("lake")); }),
        std::function<void()>([&] { TBKWorldArchive::exportWorld(sandbox.worldFolder("lake"), "L", out); })}) {
    EXPECT_NE(refusal(refused).find("resource_packs is not a plain file or folder"), std::string::npos);
  }
  EXPECT_EQ(tbktest::folderNames(sandbox.worldsFolder()).size(), 2u);
  EXPECT_EQ(tbktest::folderNames(out), std::vector<std::string>());
  fs::remove(sandbox.worldFolder("lake") + "/resource_packs");

  std::string db = sandbox.worldFolder("lake") + "/db";
  gamedatabase::HeldChild game(gamedatabase::holdInChild([&] { static auto held = TBKWorldStore::open(db, "lake"); }));
  EXPECT_EQ(tbktest::raisedKind([&] { TBKWholeWorld::copyWorld(sandbox.worldFolder("lake")); }),
            TBKException::Kind::WorldBusy);
  EXPECT_EQ(tbktest::folderNames(sandbox.worldsFolder()).size(), 2u);
}

// A deleted world leaves the list at once, is listed among the deleted
// ones by its name, and comes back file for file.
TEST_F(WorldsForNobody, ADeletedWorldIsKeptWholeAndComesBack) {
  auto before = filesOf(sandbox.worldFolder("lake"));
  TBKWholeWorld::deleteWorld("lake");
  EXPECT_EQ(TBKLevelDB::worlds(), std::vector<std::string>());
  auto deleted = TBKWholeWorld::deletedWorlds();
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].worldName, "Lakeside Survival");
  EXPECT_TRUE(deleted[0].restorable()) << deleted[0].damage;
  std::string name = TBKWholeWorld::restoreDeletedWorld(deleted[0]);
  EXPECT_EQ(TBKLevelDB::worlds(), std::vector<std::string>{name});
  EXPECT_EQ(filesOf(sandbox.worldFolder(name)), before);
  EXPECT_EQ(TBKWholeWorld::deletedWorlds().size(), 0u);
  EXPECT_EQ(tbktest::raisedKind([&] { TBKWholeWorld::restoreDeletedWorld(deleted[0]); }), TBKException::Kind::Usage);
}

}  // namespace
