#include <cstdlib>
#include <fstream>

#include "MenuOnScreen.h"
#include "StructureBytes.h"
#include "backups/BackupTableViewCell.h"
#include "backups/BackupsTableViewController.h"
#include "level/StructureImportViewController.h"
#include "worlds/ChoiceTableViewController.h"

namespace fs = std::filesystem;

namespace {

// The menu over the demo game, with a home folder of the test's own whose
// Documents is where an export goes and an import is looked for.
struct WorldsOnScreen : MenuOnScreen {
  fs::path home = game.sandbox().parent_path() / "home";
  fs::path documents = home / "Documents";
  std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";

  WorldsOnScreen() {
    fs::create_directories(documents);
    ::setenv("HOME", home.c_str(), 1);
  }
  ~WorldsOnScreen() { ::setenv("HOME", savedHome.c_str(), 1); }

  // Taps a row of the world list's second section (0 import, 1 deleted).
  void tapAction(long row) {
    auto cell = this->row(*menu->worldsController->tableView(), ui::IndexPath{1, row});
    ASSERT_NE(cell, nullptr);
    tap(*cell);
  }
  // Taps button `index` of the alert shown, after checking its title.
  void answer(const std::string& title, long index) {
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr) << "no alert " << title;
    EXPECT_EQ(alert->title(), title);
    tap(*alert->buttonAtIndex(index));
    driver.runUntilIdle(30);
  }
  long rowOf(const std::string& folder) const {
    auto names = TBKLevelDB::worlds();
    return std::find(names.begin(), names.end(), folder) - names.begin();
  }
  // The one folder of minecraftWorlds not in `before`.
  std::string newWorld(const std::vector<std::string>& before) const {
    for (const auto& name : TBKLevelDB::worlds()) {
      if (std::find(before.begin(), before.end(), name) == before.end()) return name;
    }
    return "";
  }
  std::string levelName(const std::string& folder) const {
    return worldreader::readLevelDat(world(folder) / "level.dat").root.string("LevelName");
  }
};

// Exported from its level screen into Documents and imported again from
// the world list, a world comes back record for record and opens; an
// archive that is no archive is refused and nothing is listed.
TEST(WorldsInAndOut, ExportedFromTheLevelScreenAndImportedFromTheListAWorldComesBackWhole) {
  WorldsOnScreen s;
  ASSERT_NE(s.openWorld("Lakeside Survival"), nullptr);
  s.tapEdit("World File");
  s.driver.runUntilIdle(30);
  ASSERT_NE(s.shownAlert(), nullptr);
  EXPECT_EQ(s.shownAlert()->title(), "Exported");
  EXPECT_NE(s.dismissAlert().find("\"Lakeside Survival.mcworld\""), std::string::npos);
  ASSERT_TRUE(fs::is_regular_file(s.documents / "Lakeside Survival.mcworld"));

  s.back();
  std::ofstream(s.documents / "broken.MCWORLD") << "not a zip";
  auto before = TBKLevelDB::worlds();
  s.tapAction(0);
  auto archives = s.top<ChoiceTableViewController>();
  ASSERT_NE(archives, nullptr);
  ASSERT_EQ(archives->choices().size(), 2u);
  EXPECT_EQ(archives->choices()[0].title, "Lakeside Survival.mcworld");
  s.tap(*s.row(*archives->tableView(), ui::IndexPath{0, 1}));
  s.driver.runUntilIdle(30);
  EXPECT_NE(s.dismissRefusal().find("it is not a zip archive"), std::string::npos);
  EXPECT_EQ(TBKLevelDB::worlds(), before);

  s.tapAction(0);
  archives = s.top<ChoiceTableViewController>();
  s.tap(*s.row(*archives->tableView(), ui::IndexPath{0, 0}));
  s.driver.runUntilIdle(30);
  std::string imported = s.newWorld(before);
  ASSERT_FALSE(imported.empty());
  auto level = s.top<LevelTableViewController>();
  ASSERT_NE(level, nullptr) << "the new world opens";
  EXPECT_EQ(level->_db->worldFolder(), s.world(imported).string());
  EXPECT_EQ(worldreader::databaseContents(s.world(imported)),
            worldreader::databaseContents(s.world("Lakeside Survival")));
}

// Copied from the list in editing, the copy is listed under its own name;
// deleted after a question, it leaves the list and comes back from the
// Deleted Worlds the same.
TEST(WorldsInAndOut, ACopyIsListedAndADeletedWorldComesBackFromDeletedWorlds) {
  WorldsOnScreen s;
  auto list = s.openWorldList();
  list->rightBarButtonItem()->trigger();
  ASSERT_TRUE(list->isEditing());
  auto before = TBKLevelDB::worlds();
  s.tap(*s.worldRow(s.rowOf("Lakeside Survival")));
  s.answer("Lakeside Survival", 1);  // Copy
  std::string copy = s.newWorld(before);
  ASSERT_FALSE(copy.empty());
  EXPECT_EQ(s.levelName(copy), "Copy of Lakeside Survival");
  EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), long(before.size() + 1));

  auto records = worldreader::databaseContents(s.world(copy));
  s.tap(*s.worldRow(s.rowOf(copy)));
  s.answer("Copy of Lakeside Survival", 2);  // Delete
  s.answer("Delete", 1);
  EXPECT_EQ(TBKLevelDB::worlds(), before);
  EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), long(before.size()));

  s.tapAction(1);
  auto deleted = s.top<BackupsTableViewController>();
  ASSERT_NE(deleted, nullptr);
  ASSERT_EQ(deleted->backups().size(), 1u);
  auto cell = s.row<BackupTableViewCell>(*deleted->tableView(), ui::IndexPath{0, 0});
  EXPECT_EQ(cell->contentsLabel->text(), "\"Copy of Lakeside Survival\", the whole world");
  s.tap(*cell);
  s.answer("Restore", 1);
  EXPECT_EQ(s.top<WorldListTableViewController>(), list);
  std::string restored = s.newWorld(before);
  ASSERT_FALSE(restored.empty());
  EXPECT_EQ(s.levelName(restored), "Copy of Lakeside Survival");
  EXPECT_EQ(worldreader::databaseContents(s.world(restored)), records);
}

// A world's saved structure goes into Documents as a .mcstructure file
// holding the record's bytes, and a second time is refused rather than
// written over the first.
TEST(WorldsInAndOut, AStructureIsExportedIntoDocumentsAndNeverOverAFile) {
  WorldsOnScreen s;
  const std::string bytes("\x0a\x00\x00\x03\x0e\x00format_version\x01\x00\x00\x00\x00", 23);
  TBKLevelDB::dbForWorldNamed("bW9kZXJuAA==")->writeRecords({{"structuretemplate_mystructure:house", bytes}});
  ASSERT_NE(s.openWorld("bW9kZXJuAA=="), nullptr);
  s.tapEdit("Structures");
  auto structures = s.top<ChoiceTableViewController>();
  ASSERT_NE(structures, nullptr);
  ASSERT_EQ(structures->choices().size(), 2u);
  EXPECT_EQ(structures->choices()[1].title, "mystructure:house");
  auto row = s.row(*structures->tableView(), ui::IndexPath{0, 1});
  s.tap(*row);
  EXPECT_NE(s.dismissAlert().find("\"mystructure_house.mcstructure\""), std::string::npos);
  EXPECT_EQ(worldreader::readFile(s.documents / "mystructure_house.mcstructure"), bytes);
  s.tap(*row);
  EXPECT_NE(s.dismissRefusal().find("exists already"), std::string::npos);
}

// From the structures' Import row, a file of Documents is chosen and a name
// typed: a damaged file, a name the world keeps and an empty name are each
// refused with their reason and write nothing; a good file is kept under
// the name typed, as the tests' own reader finds it, and listed.
TEST(WorldsInAndOut, AStructureIsImportedFromAFileUnderANameTyped) {
  WorldsOnScreen s;
  std::string bytes = tbktest::structureBytes();
  std::ofstream(s.documents / "broken.mcstructure") << "not NBT";
  std::ofstream(s.documents / "hut.mcstructure", std::ios::binary) << bytes;
  TBKLevelDB::dbForWorldNamed("bW9kZXJuAA==")->writeRecords({{"structuretemplate_mystructure:house", bytes}});
  auto before = worldreader::databaseContents(s.world("bW9kZXJuAA=="));
  ASSERT_NE(s.openWorld("bW9kZXJuAA=="), nullptr);
  s.tapEdit("Structures");
  auto structures = s.top<ChoiceTableViewController>();
  ASSERT_NE(structures, nullptr);
  auto importName = [&](long file, const std::string& name) {
    s.tap(*s.row(*s.top<ChoiceTableViewController>()->tableView(), ui::IndexPath{0, file}));
    auto screen = s.top<StructureImportViewController>();
    ASSERT_NE(screen, nullptr);
    s.typeInto(screen->nameField(), name);
    s.tap(*screen->importButton());
  };
  s.tap(*s.row(*structures->tableView(), ui::IndexPath{0, 0}));
  auto files = s.top<ChoiceTableViewController>();
  ASSERT_NE(files, structures);
  ASSERT_EQ(files->choices().size(), 2u);
  struct Refused {
    long file;  // 0 broken, 1 hut
    const char* name;
    const char* reason;
  } refused[] = {
      {0, "broken", "is not a structure"},
      {1, "house", "keeps a structure named \"mystructure:house\" already"},
      {1, "", "a name of 1 to 256 bytes"},
  };
  for (const Refused& r : refused) {
    SCOPED_TRACE(r.name);
    importName(r.file, r.name);
    EXPECT_NE(s.dismissRefusal().find(r.reason), std::string::npos);
    s.back();
  }
  EXPECT_EQ(worldreader::describeDifference(before, worldreader::databaseContents(s.world("bW9kZXJuAA=="))), "");

  s.tap(*s.row(*files->tableView(), ui::IndexPath{0, 1}));
  s.tap(*s.top<StructureImportViewController>()->importButton());  // the name offered: the file's, "hut"
  EXPECT_NE(s.dismissAlert().find("\"mystructure:hut\""), std::string::npos);
  ASSERT_EQ(s.top<ChoiceTableViewController>(), structures);
  EXPECT_EQ(structures->choices().size(), 3u);
  EXPECT_EQ(worldreader::readDatabaseValue(s.world("bW9kZXJuAA=="), "structuretemplate_mystructure:hut"), bytes);
}

}  // namespace
