// The tag tree screen: the keys, taps and prompts that start each edit, and
// how a refusal is shown. What each edit writes is TagTreeEdits' test; here
// one edit goes to a world on disk and the rest to a commit of the test's.
#include "tree/TagTreeViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "Tarnbook/TBKNBT.h"
#include "WorldReader.h"

namespace {

// Numbers, a list of compounds, an empty list and a compound of rules.
std::shared_ptr<TBKCompoundTag> typesLevel() {
  auto level = std::make_shared<TBKCompoundTag>("");
  level->setValueForKey(TBKNumberTag::byteTag("b", 5));
  level->setValueForKey(TBKNumberTag::shortTag("s", 300));
  level->setValueForKey(TBKNumberTag::intTag("i", 70000));
  auto items = std::make_shared<TBKListTag>("Items", TBKTagType::Compound);
  for (int8_t slot = 0; slot < 4; ++slot) {
    auto item = std::make_shared<TBKCompoundTag>("");
    item->setValueForKey(TBKNumberTag::byteTag("Slot", slot));
    items->setObjectAtIndexedSubscript(item, items->count());
  }
  level->setValueForKey(items);
  level->setValueForKey(std::make_shared<TBKListTag>("empty", TBKTagType::End));
  auto rules = std::make_shared<TBKCompoundTag>("rules");
  rules->setValueForKey(TBKNumberTag::byteTag("keepinventory", 0));
  level->setValueForKey(rules);
  return level;
}

// A tree on screen, by default typesLevel() with a commit that keeps what it
// was given and refuses while `refusing` is set.
struct TreeOnScreen : MenuOnScreen {
  std::shared_ptr<TagTreeViewController> screen;
  int commits = 0;
  bool refusing = false;
  std::string written;

  void show(std::shared_ptr<TagTreeViewController> tree) {
    screen = std::move(tree);
    push(screen);
  }
  void show(std::shared_ptr<TBKCompoundTag> tree) {
    show(std::make_shared<TagTreeViewController>(
        "Level Data", std::make_shared<TreeRecord>(tree, [this](const std::shared_ptr<TBKCompoundTag>& root) {
          if (refusing) throw TBKException(TBKException::Kind::File, "The disk is full.");
          ++commits;
          written = TBKNBT::serialise(*root);
        })));
  }
  TestTag onDisk() const { return worldreader::parseNBT(written); }
  // The row of the tag at `path` ("Items/2/Slot"), opening the way to it.
  size_t rowAt(std::string_view path) {
    const TBKTag* container = screen->tree().get();
    size_t found = 0;
    while (!path.empty()) {
      std::string step(path.substr(0, path.find('/')));
      path.remove_prefix(std::min(path.size(), step.size() + 1));
      const auto& rows = screen->rows().rows();
      auto at = std::find_if(rows.begin(), rows.end(), [&](const TagTreeRow& row) {
        return row.parent == container &&
               (row.parent->type() == TBKTagType::List ? std::to_string(row.index) == step : row.tag->name() == step);
      });
      if (at == rows.end()) throw std::runtime_error("no row for " + step);
      found = size_t(at - rows.begin());
      container = at->tag;
      if (!path.empty() && !at->open) screen->setRowOpen(found, true);
    }
    return found;
  }
  void select(std::string_view path) { screen->selectRow(rowAt(path)); }
  // Return on the selected row, the text typed over the value, Return.
  void editTo(std::string_view path, const std::string& text, bool confirm = true) {
    select(path);
    driver.pressReturn(*window);
    driver.type(*window, text, confirm);
    driver.runUntilIdle();
  }
  void press(const std::string& keys) {
    driver.pressKeys(*window, keys);
    driver.runUntilIdle();
  }
};

TEST(TagTreeScreen, AnEditReachesTheWorldsLevelDatAndItsBackup) {
  TreeOnScreen s;
  const auto folder = s.world("types");
  std::filesystem::create_directories(folder / "db");
  TBKLevelDB(folder.string(), "types", "").setLevelData(typesLevel());
  auto db = TBKLevelDB::dbForWorldNamed("types");
  const std::string original = worldreader::readFile(folder / "level.dat");
  s.show(TagTreeViewController::forLevel(db));
  s.editTo("Items/2/Slot", "9");
  EXPECT_EQ(s.dismissAlert(), "");
  EXPECT_EQ(worldreader::readFile(folder / "level.dat"),
            worldreader::withPayload(original, "Items/2/Slot", worldreader::littleEndian(9, 1), true));
  ASSERT_NE(db->backupMade(), "");
  EXPECT_EQ(worldreader::readFile(std::filesystem::path(db->backupMade()) / "level.dat"), original);
}

TEST(TagTreeScreen, RefusedOrCancelledTextWritesNothing) {
  TreeOnScreen s;
  s.show(typesLevel());
  s.editTo("b", "128");
  EXPECT_EQ(s.dismissAlert(), "128 is outside the range of a byte, -128 to 127.");
  EXPECT_TRUE(s.screen->promptShown()) << "kept, to be put right";
  s.press("Escape");
  s.editTo("i", "99", false);
  s.press("Escape");
  EXPECT_FALSE(s.screen->promptShown());
  EXPECT_EQ(s.screen->tree()->numberForKey("i").intValue(), 70000);
  EXPECT_EQ(s.commits, 0);
}

TEST(TagTreeScreen, TheButtonsAndKeysStartEachEditOfTheSelectedTag) {
  TreeOnScreen s;
  s.show(typesLevel());
  s.select("s");
  s.driver.tap(*s.screen->renameButton());
  s.driver.type(*s.window, "short", false);
  s.tap(*s.screen->promptBar()->okButton);
  EXPECT_EQ(s.onDisk().number("short"), 300);

  // A new child of the chosen type goes into the selected tag's compound.
  s.select("rules/keepinventory");
  s.driver.tap(*s.screen->addButton());
  s.press("Down");  // int -> long
  s.driver.type(*s.window, "spawnradius");
  EXPECT_EQ(s.onDisk().find("rules/spawnradius")->type, TestTag::Long);

  // An empty list asks for its entries' type; a list with entries adds one of theirs.
  s.select("empty");
  s.driver.tap(*s.screen->addButton());
  s.driver.tap(*s.screen->promptBar()->typeButton);  // int -> long
  s.press("Return");
  EXPECT_EQ(s.onDisk().find("empty")->elementType, TestTag::Long);
  s.select("Items");
  s.driver.tap(*s.screen->addButton());
  EXPECT_EQ(s.onDisk().list("Items").size(), 5u);

  // Removing asks first, naming what goes.
  s.select("Items/1");
  s.press("Delete");
  ASSERT_NE(s.shownAlert(), nullptr);
  EXPECT_EQ(s.shownAlert()->title(), "Remove entry 1 of \"Items\"?");
  s.press("Return");
  EXPECT_EQ(s.onDisk().list("Items").at(1).number("Slot"), 2);
  EXPECT_EQ(s.commits, 5);
}

TEST(TagTreeScreen, ARefusedWriteIsShownAndItsPromptKeptForAnotherTry) {
  TreeOnScreen s;
  s.show(typesLevel());
  s.refusing = true;
  s.select("empty");
  s.driver.tap(*s.screen->addButton());
  s.press("Return");
  ASSERT_NE(s.shownAlert(), nullptr);
  EXPECT_EQ(s.shownAlert()->title(), "Not Written");
  EXPECT_EQ(s.dismissAlert(), "The disk is full.");
  EXPECT_EQ(TBKNBT::serialise(*s.screen->tree()), TBKNBT::serialise(*typesLevel()));
  s.refusing = false;
  s.press("Return");
  EXPECT_FALSE(s.screen->promptShown());
  EXPECT_EQ(s.onDisk().list("empty").size(), 1u) << "the list the prompt was about, still in the tree";

  // Two tags of one name in a damaged compound: no prompt, no change.
  s.show(TBKNBT::parseCompound(std::string("\x0a\0\0\x01\x01\0a\x05\x01\x01\0a\x06\0", 14)));
  for (const char* keys : {"Return", "Delete"}) {
    s.screen->selectRow(1);
    s.press(keys);
    EXPECT_NE(s.dismissAlert().find("more than one tag named \"a\""), std::string::npos) << keys;
    EXPECT_FALSE(s.screen->promptShown());
  }
  EXPECT_EQ(s.commits, 1);
}

}  // namespace
