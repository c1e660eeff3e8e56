#include "options/OptionsTableViewController.h"

#include <fstream>
#include <map>
#include <tuple>

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "TodaysOptions.h"
#include "WorldReader.h"

namespace fs = std::filesystem;

namespace {

// `text` with the value of each line "key:..." named in `changes` replaced,
// every other byte as it was.
std::string withValues(std::string text, const std::map<std::string, std::string>& changes) {
  for (const auto& [key, value] : changes) {
    size_t start = ("\n" + text).find("\n" + key + ":") + key.size() + 1;
    text.replace(start, text.find('\n', start) - start, value);
  }
  return text;
}

// The menu on a 568 x 320 screen over a private copy of the demo game; the
// options file is read and written here with plain file calls.
struct OptionsOnScreen : MenuOnScreen {
  fs::path optionsPath = game.gameDataFolder() / "minecraftpe" / "options.txt";

  OptionsTableViewController& options() { return *menu->optionsController; }
  ui::TableView& table() { return *options().tableView(); }

  void open() { tap(*menu->optionsButton); }
  std::shared_ptr<OptionTableViewCell> cell(long section, long row) {
    return this->row<OptionTableViewCell>(table(), {section, row});
  }
  template <class Widget>
  std::shared_ptr<Widget> widget(long section, long row) {
    return MenuOnScreen::widget<Widget>(table(), {section, row});
  }
  // Drags the slider's knob from where it is to where it shows `position`.
  void slide(long section, long row, float position) {
    auto slider = widget<BVLSlider>(section, row);
    ASSERT_TRUE(slider);
    auto centre = [&](float at) {
      ui::Rect knob = slider->convertRectToWindow(slider->knobFrame(at));
      return ui::Point{knob.x() + knob.width() / 2, knob.y() + knob.height() / 2};
    };
    driver.drag(*window, centre(slider->position()), centre(position));
    driver.runUntilIdle();
  }
  void typeInto(long section, long row, const std::string& text) {
    MenuOnScreen::typeInto(widget<BVLTextField>(section, row), text);
  }

  std::string file() const { return worldreader::readFile(optionsPath); }
  void setFile(const std::string& text) const {
    std::ofstream(optionsPath, std::ios::binary | std::ios::trunc) << text;
  }
};

std::vector<std::shared_ptr<ui::View>> widgetsAndLabels(const OptionTableViewCell& cell) {
  std::vector<std::shared_ptr<ui::View>> found;
  for (const auto& view : cell.subviews()) {
    if (std::dynamic_pointer_cast<ui::Control>(view) || std::dynamic_pointer_cast<BVLLabel>(view))
      found.push_back(view);
  }
  return found;
}

// The early game's file, in five sections. A switch shows any non-zero
// value as on; the slider writes its position with six decimals; text
// fields take what is typed, numbers or not; a key gone from the file since
// its row showed takes no change, and says so. Each visit reads the file
// anew.
TEST(OptionsScreen, AnEarlyFilesWidgetsWriteOnlyTheirOwnValuesAndEachVisitReadsItAnew) {
  OptionsOnScreen s;
  std::string expected = withValues(s.file(), {{"game_thirdperson", "2"}});
  s.setFile(expected);
  s.open();
  ASSERT_EQ(s.navigation->topViewController(), s.menu->optionsController);
  EXPECT_EQ(s.table().numberOfSections(), 5);
  auto toggle = s.widget<BVLSwitch>(0, 2);
  ASSERT_TRUE(toggle);
  EXPECT_TRUE(toggle->isOn());
  s.driver.tap(*toggle);
  EXPECT_FALSE(toggle->isOn());
  EXPECT_EQ(s.file(), withValues(expected, {{"game_thirdperson", "0"}}));
  s.driver.tap(*s.widget<BVLSwitch>(0, 2));
  expected = withValues(expected, {{"game_thirdperson", "1"}});
  EXPECT_EQ(s.file(), expected);

  EXPECT_EQ(s.widget<BVLSlider>(2, 0)->position(), 0.5f);
  s.slide(2, 0, 1);
  expected = withValues(expected, {{"ctrl_sensitivity", "1.000000"}});
  EXPECT_EQ(s.file(), expected);

  EXPECT_EQ(s.widget<BVLTextField>(0, 0)->text(), "Steve");
  s.typeInto(0, 0, "Builder Bob: 2nd");
  s.typeInto(0, 1, "hard");
  expected = withValues(expected, {{"mp_username", "Builder Bob: 2nd"}, {"game_difficulty", "hard"}});
  EXPECT_EQ(s.file(), expected);

  auto autoload = s.widget<BVLSwitch>(4, 0);
  ASSERT_TRUE(autoload && autoload->isEnabled() && !autoload->isOn());
  expected.erase(expected.find("dev_autoloadlevel:0\n"), 20);
  s.setFile(expected);
  s.driver.tap(*autoload);
  EXPECT_FALSE(autoload->isOn()) << "the switch shows what the file holds";
  EXPECT_EQ(s.dismissRefusal(), "options.txt was left as it was: it no longer holds dev_autoloadlevel.");
  EXPECT_EQ(s.file(), expected);

  auto panorama = s.options().background();
  EXPECT_TRUE(panorama->isAnimating());
  s.back();
  EXPECT_FALSE(panorama->isAnimating()) << "the panorama stops while the screen is gone";
  s.setFile(withValues(expected, {{"mp_username", "Herobrine"}}));
  s.open();
  EXPECT_EQ(s.options().background(), panorama) << "built once";
  EXPECT_TRUE(panorama->isAnimating());
  EXPECT_EQ(s.widget<BVLTextField>(0, 0)->text(), "Herobrine");
}

// The options screen over a file of today's game.
struct TodaysOptionsOnScreen : OptionsOnScreen {
  const std::string original = todaysOptionsFile();
  TodaysOptionsOnScreen() { setFile(original); }

  // What a row's widget shows, as the player reads it.
  std::string shown(long section, long row) {
    auto widget = cell(section, row)->settingView;
    if (!std::dynamic_pointer_cast<ui::Control>(widget)->isEnabled()) return "dimmed";
    if (auto field = std::dynamic_pointer_cast<BVLTextField>(widget)) return field->text();
    if (auto toggle = std::dynamic_pointer_cast<BVLSwitch>(widget)) return toggle->isOn() ? "on" : "off";
    if (auto button = std::dynamic_pointer_cast<BVLButton>(widget)) return button->title();
    return std::dynamic_pointer_cast<BVLSlider>(widget)->valueText();
  }
};

// Today's file in its four sections, each kind of row reading its value
// (the values' texts are TodaysOptionsText's); then the player's taps,
// drags and typing, the file checked byte for byte after them; then the
// same file left by a merge tool.
TEST(TodaysOptionsScreen, EachKindOfRowShowsItsValueAndWritesOnlyItsOwn) {
  TodaysOptionsOnScreen s;
  std::string text = s.original;
  text.erase(text.find("gfx_fullscreen:0\n"), 17);
  text.replace(text.find("game_thirdperson:0"), 18, "game_thirdperson:7");
  s.setFile(text);
  s.open();
  const char* sections[] = {"General", "Video", "Controls", "Audio"};
  ASSERT_EQ(s.table().numberOfSections(), 4);
  for (long section = 0; section < 4; ++section) {
    auto header = s.options().viewForHeaderInSection(s.table(), section);
    EXPECT_EQ(std::dynamic_pointer_cast<BVLLabel>(header->subviews()[0])->text(), sections[section]);
  }
  // A text, a choice, a whole number, a switch, the render distance in
  // chunks, a decimal, the row whose key is missing, the frame rate.
  const std::tuple<long, long, const char*> rows[] = {{0, 0, "Steve"},  {0, 1, "Normal"},   {0, 2, "7"},
                                                      {0, 3, "on"},     {1, 0, "32"},       {1, 2, "0.3"},
                                                      {1, 8, "dimmed"}, {1, 9, "Unlimited"}};
  for (const auto& [section, row, shown] : rows) EXPECT_EQ(s.shown(section, row), shown) << section << ", " << row;
  // The row whose key is missing takes no tap and writes nothing.
  s.driver.tap(*s.cell(1, 8)->settingView);
  EXPECT_EQ(s.file(), text);

  // Widgets are fetched anew for each tap: scrolling reuses the cells.
  auto chooseNextDifficulty = [&] { s.driver.tap(*s.widget<BVLButton>(0, 1)); };
  chooseNextDifficulty();
  EXPECT_EQ(s.shown(0, 1), "Hard");
  EXPECT_EQ(s.file(), withValues(text, {{"game_difficulty_new", "3"}}));
  chooseNextDifficulty();
  EXPECT_EQ(s.shown(0, 1), "Peaceful");

  s.slide(1, 0, 8.0f / 92);  // 12 chunks
  EXPECT_EQ(s.shown(1, 0), "12");
  s.slide(1, 2, 0.5f);
  EXPECT_EQ(s.shown(1, 2), "0.5");
  s.slide(1, 9, 1);
  EXPECT_EQ(s.shown(1, 9), "250");
  s.driver.tap(*s.widget<BVLSwitch>(1, 5));
  const std::string goldName =
      "\xC2\xA7"
      "6Alex";
  s.typeInto(0, 0, goldName);
  EXPECT_EQ(s.file(), withValues(text, {{"game_difficulty_new", "0"},
                                        {"gfx_viewdistance", "192"},
                                        {"gfx_gamma", "0.5"},
                                        {"gfx_max_framerate", "250"},
                                        {"gfx_transparentleaves", "1"},
                                        {"mp_username", goldName}}));

  // A file that is not only settings is shown, but a change is refused
  // aloud (why is TodaysOptionsText's to say) and nothing is written.
  text = s.file();
  text.insert(text.find("mp_server_visible:"), "<<<<<<< ours\n");
  s.setFile(text);
  s.back();
  s.open();
  auto difficulty = s.widget<BVLButton>(0, 1);
  ASSERT_TRUE(difficulty && difficulty->isEnabled());
  EXPECT_EQ(difficulty->title(), "Peaceful");
  s.driver.tap(*difficulty);
  EXPECT_EQ(difficulty->title(), "Peaceful") << "the widget shows the file's value again";
  const std::string refusal = "options.txt was left as it was: line 6 is text left by a merge tool.";
  EXPECT_EQ(s.dismissRefusal(), refusal);
  s.typeInto(0, 0, "Alex");
  EXPECT_EQ(s.shown(0, 0), goldName);
  EXPECT_EQ(s.dismissRefusal(), refusal);
  EXPECT_EQ(s.file(), text);
}

// A cell alone, as the table reuses it, in a table 320 points wide.
TEST(OptionCell, EachPreparationLeavesOneLabelAndOnlyItsOwnRowsWidget) {
  ui::TestDriver driver;
  const OptionRow rows[] = {{.name = "Third Person", .setting = "game_thirdperson", .kind = OptionKind::Switch},
                            {.name = "Username", .setting = "mp_username", .kind = OptionKind::TextField},
                            {.name = "Sensitivity", .setting = "ctrl_sensitivity", .kind = OptionKind::Slider}};
  auto cell = std::make_shared<OptionTableViewCell>(ui::TableViewCellStyle::Default, "cell");
  cell->setFrame(ui::Rect(0, 0, 320, 46));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto read = [] { return std::optional<std::string>("1"); };
    EXPECT_EQ(cell->makeReady(row, read, [](const std::string&) { return Outcome(); }), cell);
    EXPECT_EQ(widgetsAndLabels(*cell), (std::vector<std::shared_ptr<ui::View>>{cell->nameLabel, cell->settingView}));
    EXPECT_EQ(cell->nameLabel->text(), row.name);
  }
  cell->setSelected(true, false);
  EXPECT_FALSE(cell->isSelected());
}

}  // namespace
