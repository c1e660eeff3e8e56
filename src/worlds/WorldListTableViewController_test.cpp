#include "worlds/WorldListTableViewController.h"

#include <fstream>
#include <map>

#include "GameDatabase.h"
#include "MenuOnScreen.h"
#include "WorldReader.h"
#include "ui/DateFormatter.h"

namespace fs = std::filesystem;

namespace {

// Changes a world's level.dat through the library (test set-up only; what
// the screens show is checked on the screens).
void editLevel(const fs::path& world, const std::function<void(TBKCompoundTag&)>& edit) {
  TBKLevelDB db(world.string(), world.filename().string(), "");
  auto level = db.levelData();
  edit(*level);
  db.setLevelData(level);
}

std::string shortDate(int64_t secondsSince1970) {
  ui::DateFormatter formatter;
  formatter.setDateStyle(ui::DateFormatterStyle::Short);
  formatter.setTimeStyle(ui::DateFormatterStyle::None);
  return formatter.stringFromDate(ui::Date{double(uint64_t(secondsSince1970))});
}

std::vector<std::shared_ptr<BVLLabel>> labelsOf(const ui::View& cell) {
  std::vector<std::shared_ptr<BVLLabel>> labels;
  for (auto& view : cell.subviews()) {
    if (auto label = std::dynamic_pointer_cast<BVLLabel>(view)) labels.push_back(label);
  }
  return labels;
}

// Every file under a folder with its bytes.
std::map<std::string, std::string> contentsOf(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().string()] = worldreader::readFile(entry.path());
  }
  return files;
}

TEST(WorldListRows, EachRowShowsItsWorldsNameModeAndLastPlayedDay) {
  MenuOnScreen s;
  // A game type other than 0 or 1, the first second of 1970 and a name
  // longer than the row.
  const std::string longName = "A world whose name runs on well beyond the right edge of the row";
  editLevel(s.world("Old Cave World"), [&](TBKCompoundTag& level) {
    level.setValueForKey(TBKNumberTag::intTag("GameType", 2));
    level.setValueForKey(TBKNumberTag::longTag("LastPlayed", 0));
    level.setValueForKey(std::make_shared<TBKStringTag>("LevelName", longName));
  });
  // A stored -1 is read as unsigned, as the game does.
  editLevel(s.world("Creative Flatland"),
            [](TBKCompoundTag& level) { level.setValueForKey(TBKNumberTag::longTag("LastPlayed", -1)); });

  const std::pair<std::string, const char*> rows[] = {
      {"Broken World", "Survival"},  // read from level.dat_old
      {"Creative Flatland", "Creative"}, {"Lakeside Survival", "Survival"}, {longName, "Creative"},
      {"Modern Survival", "Survival"},  // in a folder named as today's game names them
  };
  auto list = s.openWorldList();
  ASSERT_EQ(list->tableView()->numberOfRowsInSection(0), 5);
  for (long i = 0; i < 5; ++i) {
    auto cell = s.worldRow(i);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->worldNameLabel->text(), rows[i].first);
    EXPECT_EQ(cell->gameModeLabel->text(), rows[i].second) << rows[i].first;
  }
  auto lakeside = worldreader::readLevelDat(s.world("Lakeside Survival") / "level.dat").root.number("LastPlayed");
  EXPECT_EQ(s.worldRow(2)->lastPlayedLabel->text(), shortDate(lakeside));
  EXPECT_EQ(s.worldRow(3)->lastPlayedLabel->text(), shortDate(0));
  EXPECT_GT(s.worldRow(3)->worldNameLabel->frame().width(), 568) << "never clipped to the row";
  EXPECT_EQ(s.worldRow(1)->lastPlayedLabel->text().find('-'), std::string::npos) << "the far future, not the past";

  // A refill, as the table reuses the cell, replaces all three labels.
  auto cell = s.worldRow(0);
  auto first = labelsOf(*cell);
  cell->configureWithIndex(1);
  ASSERT_EQ(labelsOf(*cell).size(), 3u);
  for (auto& label : first) EXPECT_EQ(label->superview(), nullptr) << "the previous fill's labels are gone";
  EXPECT_EQ(cell->worldNameLabel->text(), "Creative Flatland");
  cell->configureWithIndex(99);  // a world gone since the rows were counted
  EXPECT_EQ(labelsOf(*cell).size(), 3u);
  EXPECT_EQ(cell->worldNameLabel->text(), "");
}

// The list is the worlds folder as it is each time the list shows: a world
// copied in, the folder replaced by a file (explained), a folder emptied.
TEST(WorldListRows, TheListIsTheWorldsFolderEachTimeItShows) {
  MenuOnScreen s;
  const fs::path worlds = s.game.gameDataFolder() / "minecraftWorlds";
  auto list = s.openWorldList();
  EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), 5);
  s.back();
  fs::copy(s.world("Lakeside Survival"), s.world("Another World"), fs::copy_options::recursive);
  editLevel(s.world("Another World"), [](TBKCompoundTag& level) {
    level.setValueForKey(std::make_shared<TBKStringTag>("LevelName", "Copied Lake"));
  });
  s.openWorldList();
  ASSERT_EQ(list->tableView()->numberOfRowsInSection(0), 6);
  EXPECT_EQ(s.worldRow(0)->worldNameLabel->text(), "Copied Lake") << "sorted by folder name";

  s.back();
  fs::rename(worlds, worlds.string() + ".away");
  std::ofstream(worlds) << "not a folder";
  s.openWorldList();
  EXPECT_EQ(s.navigation->topViewController(), list);
  EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), 0);
  ASSERT_NE(s.shownAlert(), nullptr);
  EXPECT_EQ(s.shownAlert()->title(), "Error");
  EXPECT_NE(s.dismissAlert().find("minecraftWorlds"), std::string::npos);

  s.back();
  fs::remove(worlds);
  fs::create_directory(worlds);
  s.openWorldList();
  EXPECT_EQ(s.shownAlert(), nullptr);
  EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), 0);
  EXPECT_EQ(list->tableView()->visibleCells().size(), 2u) << "the two actions alone";
}

// Both copies of the level data damaged: the row names the folder, the
// other rows still show, and choosing it explains why nothing opens.
TEST(WorldListFaults, AWorldWhoseLevelCannotBeReadShowsItsFolderAndExplainsItself) {
  MenuOnScreen s;
  fs::resize_file(s.world("Broken World") / "level.dat_old", 20);
  auto list = s.openWorldList();
  ASSERT_EQ(list->tableView()->numberOfRowsInSection(0), 5);
  auto broken = s.worldRow(0);
  EXPECT_EQ(broken->worldNameLabel->text(), "Broken World");
  EXPECT_EQ(broken->gameModeLabel->text(), "");
  EXPECT_EQ(broken->lastPlayedLabel->text(), "");
  EXPECT_EQ(s.worldRow(1)->gameModeLabel->text(), "Creative");
  EXPECT_EQ(s.worldRow(3)->worldNameLabel->text(), "Old Cave World");

  s.chooseWorld(0);
  EXPECT_EQ(s.navigation->topViewController(), list) << "the list stays";
  EXPECT_NE(s.dismissAlert().find("\"Broken World\" cannot be read"), std::string::npos);
  EXPECT_NE(s.chooseWorld(2), nullptr) << "the other worlds still open";
}

TEST(WorldListFaults, AWorldTheGameHoldsIsRefusedWithTheAdviceToQuitAndNothingIsWritten) {
  MenuOnScreen s;
  auto before = contentsOf(s.game.gameDataFolder());
  auto list = s.openWorldList();
  {
    gamedatabase::HeldChild game(gamedatabase::holdGameLock(s.world("Creative Flatland")));
    s.chooseWorld(1);
    EXPECT_EQ(s.navigation->topViewController(), list);
    EXPECT_NE(s.dismissAlert().find("Quit to the title screen"), std::string::npos);
  }
  EXPECT_EQ(contentsOf(s.game.gameDataFolder()), before) << "no file written, no backup made";
  EXPECT_NE(s.chooseWorld(1), nullptr) << "opens once the game lets go";
}

}  // namespace
