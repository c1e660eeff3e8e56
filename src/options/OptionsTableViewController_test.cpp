#include "options/OptionsTableViewController.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "TodaysOptions.h"
#include "menu/MenuViewController.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace fs = std::filesystem;

namespace {

// The menu on a 568 x 320 screen over a private copy of the demo game; the
// options file is read and written here with plain file calls.
struct OptionsOnScreen : MenuOnScreen {
  fs::path optionsPath = game.gameDataFolder() / "minecraftpe" / "options.txt";

  OptionsTableViewController& options() { return *menu->optionsController; }
  ui::TableView& table() { return *options().tableView(); }

  void open() {
    driver.tap(*menu->optionsButton);
    driver.runUntilIdle();
  }
  std::shared_ptr<OptionTableViewCell> cell(long section, long row) {
    table().scrollToRowAtIndexPath({section, row}, false);
    driver.runUntilIdle();
    return std::dynamic_pointer_cast<OptionTableViewCell>(table().cellForRowAtIndexPath({section, row}));
  }
  template <class Widget>
  std::shared_ptr<Widget> widget(long section, long row) {
    auto shown = cell(section, row);
    return shown ? std::dynamic_pointer_cast<Widget>(shown->settingView) : nullptr;
  }

  std::string file() const {
    std::ifstream in(optionsPath, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  void setFile(const std::string& text) const {
    std::ofstream(optionsPath, std::ios::binary | std::ios::trunc) << text;
  }
  // The demo's file with one line's value replaced.
  std::string fileWith(const std::string& key, const std::string& value) const {
    std::string text = file();
    size_t start = text.find("\n" + key + ":") + key.size() + 2;
    text.replace(start, text.find('\n', start) - start, value);
    return text;
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

TEST(OptionsScreen, FiveSectionsOfRowsUnderGameStyledHeadersOverTheDimmedPanorama) {
  OptionsOnScreen s;
  s.open();
  auto& o = s.options();
  ASSERT_EQ(s.navigation->topViewController(), s.menu->optionsController);

  std::vector<std::shared_ptr<ui::View>> children = o.view()->subviews();
  ASSERT_EQ(children.size(), 3u) << "back to front: panorama, dimming, table";
  EXPECT_EQ(children[0], o.background());
  EXPECT_EQ(o.background()->frame(), ui::Rect(0, -64, 568, 320));
  EXPECT_TRUE(o.background()->clipsToBounds());
  EXPECT_EQ(children[1]->frame(), ui::Rect(0, 0, 568, 256));
  EXPECT_EQ(children[1]->backgroundColor(), ui::Color::black());
  EXPECT_EQ(children[1]->opacity(), 0.5);
  EXPECT_EQ(children[2], o.tableView());
  EXPECT_EQ(o.tableView()->frame(), ui::Rect(0, 0, 568, 256));
  EXPECT_EQ(o.tableView()->style(), ui::TableViewStyle::Plain);
  EXPECT_TRUE(o.background()->isAnimating());

  const long rows[] = {5, 3, 1, 0, 4};
  const char* names[] = {"General", "Graphics", "Controls", "Sounds", "Developer"};
  ASSERT_EQ(s.table().numberOfSections(), 5);
  ui::Font font = ui::Font::named("Minecraft", 16);
  for (long section = 0; section < 5; ++section) {
    SCOPED_TRACE(names[section]);
    EXPECT_EQ(s.table().numberOfRowsInSection(section), rows[section]);
    auto header = o.viewForHeaderInSection(s.table(), section);
    EXPECT_EQ(header->frame(), ui::Rect(0, 0, 568, 26));
    ASSERT_EQ(header->subviews().size(), 1u);
    auto label = std::dynamic_pointer_cast<BVLLabel>(header->subviews()[0]);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), names[section]);
    EXPECT_EQ(label->style(), BVLLabel::HeaderStyle);
    ui::Size size = font.measure(names[section]);
    EXPECT_EQ(label->frame(), ui::Rect(24, 6, size.width, size.height));
  }
  // Rows are 46 high and every header 26, the empty "Sounds" one included,
  // which the "Developer" header follows directly.
  EXPECT_EQ(s.table().rectForRowAtIndexPath({0, 1}).y() - s.table().rectForRowAtIndexPath({0, 0}).y(), 46);
  EXPECT_EQ(s.table().rectForRowAtIndexPath({4, 0}).y() - s.table().rectForRowAtIndexPath({2, 0}).y(), 98);

  // Each kind of row in its place, its widget at the right edge.
  struct Row {
    ui::IndexPath path;
    const char* name;
    ui::Rect widget;
  } placed[] = {
      {{0, 0}, "Username", ui::Rect(348, 5, 200, 36)},
      {{0, 2}, "Third Person", ui::Rect(472, 0, 76, 38)},
      {{2, 0}, "Sensitivity", ui::Rect(348, 5, 200, 36)},
      {{4, 3}, "Flat World Layers", ui::Rect(348, 5, 200, 36)},
  };
  for (const auto& row : placed) {
    SCOPED_TRACE(row.name);
    auto cell = s.cell(row.path.section, row.path.row);
    ASSERT_TRUE(cell && cell->nameLabel && cell->settingView);
    EXPECT_EQ(cell->nameLabel->text(), row.name);
    EXPECT_EQ(cell->nameLabel->style(), BVLLabel::DetailStyle);
    ui::Size size = font.measure(row.name);
    EXPECT_EQ(cell->nameLabel->frame(), ui::Rect(40, 15, size.width, size.height));
    EXPECT_EQ(cell->settingView->frame(), row.widget);
    EXPECT_EQ(cell->frame().height(), 46);
    EXPECT_EQ(widgetsAndLabels(*cell), (std::vector<std::shared_ptr<ui::View>>{cell->nameLabel, cell->settingView}))
        << "the widget above the label, nothing else";
  }
}

TEST(OptionsScreen, LaterVisitsBuildNothingNewAndPanAgain) {
  OptionsOnScreen s;
  s.open();
  auto first = s.options().view()->subviews();
  auto panorama = s.options().background();
  s.back();
  EXPECT_FALSE(panorama->isAnimating()) << "the panorama stops while the screen is gone";
  s.open();
  EXPECT_EQ(s.options().view()->subviews(), first);
  EXPECT_EQ(s.options().background(), panorama);
  EXPECT_TRUE(panorama->isAnimating());
}

TEST(OptionsScreen, ATapOnARowOutsideItsWidgetNeitherHighlightsNorSelects) {
  OptionsOnScreen s;
  s.open();
  auto cell = s.cell(0, 2);
  std::string before = s.file();
  s.driver.tap(*cell->nameLabel);
  EXPECT_FALSE(cell->isHighlighted());
  EXPECT_FALSE(cell->isSelected());
  EXPECT_EQ(s.table().indexPathForSelectedRow(), std::nullopt);
  EXPECT_EQ(s.file(), before);
}

TEST(OptionsScreen, ASwitchShowsAnyNonZeroValueAsOnAndWritesZeroThenOne) {
  OptionsOnScreen s;
  const std::string two = s.fileWith("game_thirdperson", "2");
  s.setFile(two);
  s.open();
  auto toggle = s.widget<BVLSwitch>(0, 2);
  ASSERT_TRUE(toggle);
  EXPECT_TRUE(toggle->isOn());
  s.driver.tap(*toggle);
  EXPECT_FALSE(toggle->isOn());
  EXPECT_EQ(s.file(), s.fileWith("game_thirdperson", "0"));
  s.driver.tap(*toggle);
  EXPECT_EQ(s.file(), s.fileWith("game_thirdperson", "1"));
  std::string expected = two;
  expected.replace(expected.find("game_thirdperson:2"), 18, "game_thirdperson:1");
  EXPECT_EQ(s.file(), expected) << "every other byte as it was";
}

TEST(OptionsScreen, TheSliderStartsAtTheFilesValueAndWritesItsNewPosition) {
  OptionsOnScreen s;
  std::string before = s.file();
  ASSERT_NE(before.find("\nctrl_sensitivity:0.5\n"), std::string::npos);
  s.open();
  auto slider = s.widget<BVLSlider>(2, 0);
  ASSERT_TRUE(slider);
  EXPECT_EQ(slider->spotCount(), 0);
  EXPECT_EQ(slider->position(), 0.5f);
  ui::Rect knob = slider->convertRectToWindow(slider->knobFrame(0.5f));
  ui::Rect track = slider->convertRectToWindow(slider->bounds());
  ui::Point from{knob.x() + knob.width() / 2, knob.y() + knob.height() / 2};
  s.driver.drag(*s.window, from, {track.maxX() + 40, from.y});
  s.driver.runUntilIdle();
  EXPECT_EQ(slider->position(), 1.0f);
  std::string expected = before;
  expected.replace(expected.find("ctrl_sensitivity:0.5"), 20, "ctrl_sensitivity:1.000000");
  EXPECT_EQ(s.file(), expected);
}

TEST(OptionsScreen, ATypedUserNameIsWrittenExactlyAndNothingElseChanges) {
  OptionsOnScreen s;
  std::string before = s.file();
  s.open();
  auto field = s.widget<BVLTextField>(0, 0);
  ASSERT_TRUE(field);
  EXPECT_EQ(field->text(), "Steve");
  s.driver.tap(*field);
  s.driver.pressKeys(*s.window, "Ctrl+A");
  s.driver.type(*s.window, "Builder Bob: 2nd");
  s.driver.runUntilIdle();
  std::string expected = before;
  expected.replace(expected.find("mp_username:Steve"), 17, "mp_username:Builder Bob: 2nd");
  EXPECT_EQ(s.file(), expected);

  // Free text rows take what is typed, numbers or not.
  auto difficulty = s.widget<BVLTextField>(0, 1);
  ASSERT_TRUE(difficulty);
  s.driver.tap(*difficulty);
  s.driver.pressKeys(*s.window, "Ctrl+A");
  s.driver.type(*s.window, "hard");
  s.driver.runUntilIdle();
  expected.replace(expected.find("game_difficulty:2"), 17, "game_difficulty:hard");
  EXPECT_EQ(s.file(), expected);
}

TEST(OptionsScreen, ValuesChangedWhileTheScreenIsAwayShowOnTheNextVisit) {
  OptionsOnScreen s;
  s.open();
  ASSERT_EQ(s.widget<BVLTextField>(0, 0)->text(), "Steve");
  ASSERT_FALSE(s.widget<BVLSwitch>(1, 1) == nullptr);
  ASSERT_TRUE(s.widget<BVLSwitch>(1, 1)->isOn());
  s.back();
  s.setFile(s.fileWith("mp_username", "Herobrine"));
  s.setFile(s.fileWith("gfx_fancygraphics", "0"));
  s.open();
  EXPECT_EQ(s.widget<BVLTextField>(0, 0)->text(), "Herobrine");
  EXPECT_FALSE(s.widget<BVLSwitch>(1, 1)->isOn());
}

TEST(OptionsScreen, ARowWhoseKeyTheFileLacksIsDimmedAndWritesNothing) {
  OptionsOnScreen s;
  std::string text = s.file();
  size_t line = text.find("dev_showchunkmap:0\n");
  ASSERT_NE(line, std::string::npos);
  text.erase(line, 19);
  s.setFile(text);
  timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, s.optionsPath.c_str(), old, 0), 0);

  s.open();
  auto missing = s.widget<BVLSwitch>(4, 1);
  auto present = s.widget<BVLSwitch>(4, 0);
  ASSERT_TRUE(missing && present);
  EXPECT_EQ(missing->opacity(), 0.5);
  EXPECT_FALSE(missing->isEnabled());
  EXPECT_EQ(present->opacity(), 1);
  EXPECT_TRUE(present->isEnabled());
  s.driver.tap(*missing);
  EXPECT_FALSE(missing->isOn()) << "the tap was not taken";
  EXPECT_EQ(s.file(), text);
  struct stat info {};
  ASSERT_EQ(::stat(s.optionsPath.c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, 1000000000) << "the file is not even rewritten";

  // A key that goes while the row shows: the change is not taken, and the
  // switch shows what the file holds instead of a value it does not.
  ASSERT_FALSE(present->isOn());
  text.erase(text.find("dev_autoloadlevel:0\n"), 20);
  s.setFile(text);
  s.driver.tap(*present);
  EXPECT_FALSE(present->isOn());
  EXPECT_EQ(s.file(), text);
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
  // The original file with these values, as a reader of the file sees it.
  std::vector<std::pair<std::string, std::string>> originalWith(const std::map<std::string, std::string>& changes) {
    auto lines = readOptionLines(original);
    for (auto& [key, value] : lines) value = changes.contains(key) ? changes.at(key) : value;
    return lines;
  }
};

TEST(TodaysOptionsScreen, ShowsTodaysSectionsWithEachRowReadingItsValue) {
  TodaysOptionsOnScreen s;
  std::string text = s.original;
  text.erase(text.find("gfx_fullscreen:0\n"), 17);
  text.replace(text.find("game_thirdperson:0"), 18, "game_thirdperson:7");
  s.setFile(text);
  s.open();
  const char* sections[] = {"General", "Video", "Controls", "Audio"};
  const std::vector<std::vector<std::string>> shown = {
      {"Steve", "Normal", "7", "on"},
      {"32", "69.2", "0.3", "on", "on", "off", "on", "on", "dimmed", "Unlimited"},
      {"0.6862745", "0.5", "1", "off", "on"},
      {"1", "0.25", "1", "0.8", "1", "1", "0.7", "1", "0", "0.45"}};
  ASSERT_EQ(s.table().numberOfSections(), 4);
  for (long section = 0; section < 4; ++section) {
    auto header = s.options().viewForHeaderInSection(s.table(), section);
    EXPECT_EQ(std::dynamic_pointer_cast<BVLLabel>(header->subviews()[0])->text(), sections[section]);
    ASSERT_EQ(s.table().numberOfRowsInSection(section), long(shown[size_t(section)].size()));
    for (long row = 0; row < long(shown[size_t(section)].size()); ++row) {
      EXPECT_EQ(s.shown(section, row), shown[size_t(section)][size_t(row)]) << section << ", " << row;
    }
  }
  // The row whose key is missing takes no tap and writes nothing.
  s.driver.tap(*s.cell(1, 8)->settingView);
  EXPECT_EQ(s.file(), text);
}

// The player's way: taps, drags and typing on the real screen, the file
// checked after each by the tests' own reader and, at the end, byte for byte.
TEST(TodaysOptionsScreen, TapsDragsAndTypingWriteOnlyTheirOwnValues) {
  TodaysOptionsOnScreen s;
  s.open();
  // Widgets are fetched anew for each tap: scrolling reuses the cells.
  auto chooseNextDifficulty = [&] { s.driver.tap(*s.widget<BVLButton>(0, 1)); };
  auto typeName = [&](const std::string& name) {
    // From the top: a row scrolled to the top edge lies under its header.
    s.table().setContentOffset({0, 0});
    s.driver.tap(*s.widget<BVLTextField>(0, 0));
    s.driver.pressKeys(*s.window, "Ctrl+A");
    s.driver.type(*s.window, name);
    s.driver.runUntilIdle();
  };
  chooseNextDifficulty();
  EXPECT_EQ(s.shown(0, 1), "Hard");
  std::string hard = s.original;
  hard.replace(hard.find("game_difficulty_new:2"), 21, "game_difficulty_new:3");
  EXPECT_EQ(s.file(), hard);
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
  typeName(goldName);
  EXPECT_EQ(readOptionLines(s.file()), s.originalWith({{"game_difficulty_new", "0"},
                                                       {"gfx_viewdistance", "192"},
                                                       {"gfx_gamma", "0.5"},
                                                       {"gfx_max_framerate", "250"},
                                                       {"gfx_transparentleaves", "1"},
                                                       {"mp_username", goldName}}));

  // Everything put back as it was: the file is the original, byte for byte.
  chooseNextDifficulty();
  chooseNextDifficulty();
  s.slide(1, 0, 28.0f / 92);  // 32 chunks, 512 blocks
  s.slide(1, 2, 0.3f);
  s.slide(1, 9, 0);
  s.driver.tap(*s.widget<BVLSwitch>(1, 5));
  typeName("Steve");
  EXPECT_EQ(s.file(), s.original);
}

TEST(TodaysOptionsScreen, AFileThatIsNotOnlySettingsIsShownButAChangeIsRefusedAloud) {
  // Each inserted after the line of mp_username, and why a change is refused.
  const std::pair<const char*, std::string> damages[] = {
      {"<<<<<<< ours\n", "line 6 is text left by a merge tool"},
      {"mp_server:\xFF\n", "it holds bytes that are not UTF-8 text"},
  };
  for (const auto& [damage, reason] : damages) {
    SCOPED_TRACE(reason);
    TodaysOptionsOnScreen s;
    std::string text = s.original;
    text.insert(text.find("mp_server_visible:"), damage);
    s.setFile(text);
    s.open();
    auto difficulty = s.widget<BVLButton>(0, 1);
    ASSERT_TRUE(difficulty && difficulty->isEnabled());
    EXPECT_EQ(difficulty->title(), "Normal");
    s.driver.tap(*difficulty);
    auto alert = s.shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), "options.txt was left as it was: " + reason + ".");
    EXPECT_EQ(s.file(), text);
    EXPECT_EQ(difficulty->title(), "Normal") << "the widget shows the file's value again";
    s.driver.tap(*alert->buttonAtIndex(0));
    EXPECT_FALSE(s.shownAlert());
  }
}

// A cell alone, as the table reuses it, in a table 320 points wide.
TEST(OptionCell, EachPreparationLeavesOneLabelAndOnlyItsOwnRowsWidget) {
  DemoGame game;
  ui::TestDriver driver;
  const std::vector<std::string> sections = {"A"};
  const OptionDefinitions definitions = {{"A",
                                          {{"Third Person", "game_thirdperson", OptionTableViewCell::SwitchType},
                                           {"Username", "mp_username", OptionTableViewCell::TextFieldType},
                                           {"Sensitivity", "ctrl_sensitivity", OptionTableViewCell::SliderType},
                                           {"Sounds", "audio_sound", 7}}}};
  auto cell = std::make_shared<OptionTableViewCell>(ui::TableViewCellStyle::Default, "cell");
  cell->setFrame(ui::Rect(0, 0, 320, 46));
  struct Expected {
    bool isSwitch, isField, isSlider;
    std::optional<ui::Rect> frame;
  } expected[] = {
      {true, false, false, ui::Rect(224, 0, 76, 38)},
      {false, true, false, ui::Rect(100, 5, 200, 36)},
      {false, false, true, ui::Rect(100, 5, 200, 36)},
      {false, false, false, std::nullopt},
  };
  for (long row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(cell->makeReadyWithIndexPath({0, row}, sections, definitions), cell);
    auto& e = expected[row];
    EXPECT_EQ(bool(std::dynamic_pointer_cast<BVLSwitch>(cell->settingView)), e.isSwitch);
    EXPECT_EQ(bool(std::dynamic_pointer_cast<BVLTextField>(cell->settingView)), e.isField);
    EXPECT_EQ(bool(std::dynamic_pointer_cast<BVLSlider>(cell->settingView)), e.isSlider);
    std::vector<std::shared_ptr<ui::View>> shown = {cell->nameLabel};
    if (e.frame) {
      ASSERT_TRUE(cell->settingView);
      EXPECT_EQ(cell->settingView->frame(), *e.frame);
      shown.push_back(cell->settingView);
    } else {
      EXPECT_EQ(cell->settingView, nullptr);
    }
    EXPECT_EQ(widgetsAndLabels(*cell), shown);
    EXPECT_EQ(cell->nameLabel->text(), definitions.at("A")[size_t(row)].name);
  }
  cell->setSelected(true, false);
  EXPECT_FALSE(cell->isSelected());
}

}  // namespace
