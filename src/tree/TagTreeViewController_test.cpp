// The tag tree screen over worlds on disk, checked byte for byte with the
// tests' own reader: an edit changes exactly the bytes of its value.
#include "tree/TagTreeViewController.h"

#include <bit>

#include <gtest/gtest.h>

#include "MenuOnScreen.h"
#include "Tarnbook/TBKNBT.h"
#include "WorldReader.h"
#include "tree/TagValueText.h"

namespace {

using worldreader::littleEndian;

// One tag of every type, a float whose NaN payload must survive, a list of
// compounds, an empty list and a compound of rules.
std::shared_ptr<TBKCompoundTag> typesLevel() {
  auto level = std::make_shared<TBKCompoundTag>("");
  level->setValueForKey(std::make_shared<TBKStringTag>("LevelName", "Types"));
  level->setValueForKey(TBKNumberTag::byteTag("b", 5));
  level->setValueForKey(TBKNumberTag::shortTag("s", 300));
  level->setValueForKey(TBKNumberTag::intTag("i", 70000));
  level->setValueForKey(TBKNumberTag::longTag("l", 1LL << 40));
  level->setValueForKey(TBKNumberTag::floatTag("f", 0.1f));
  level->setValueForKey(TBKNumberTag::floatTag("nan", std::bit_cast<float>(0x7fc00123u)));
  level->setValueForKey(TBKNumberTag::doubleTag("d", 0.25));
  level->setValueForKey(std::make_shared<TBKStringTag>("str", "stone"));
  level->setValueForKey(std::make_shared<TBKByteArrayTag>("ba", std::vector<int8_t>{1, 2}));
  level->setValueForKey(std::make_shared<TBKIntArrayTag>("ia", std::vector<int32_t>{3}));
  level->setValueForKey(std::make_shared<TBKLongArrayTag>("la", std::vector<int64_t>{4}));
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

struct TreeOnScreen : MenuOnScreen {
  std::shared_ptr<TagTreeViewController> screen;

  void show(std::shared_ptr<TagTreeViewController> tree) {
    screen = std::move(tree);
    push(screen);
  }
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

// A world of its own ("types") whose level tree is on screen.
struct TypesOnScreen : TreeOnScreen {
  std::filesystem::path folder = world("types");
  std::shared_ptr<TBKLevelDB> db;

  TypesOnScreen() {
    std::filesystem::create_directories(folder / "db");
    TBKLevelDB(folder.string(), "types", "").setLevelData(typesLevel());
    db = TBKLevelDB::dbForWorldNamed("types");
    show(TagTreeViewController::forLevel(db));
  }
  std::string levelDat() const { return worldreader::readFile(folder / "level.dat"); }
  TestTag level() const { return worldreader::readLevelDat(folder / "level.dat").root; }
};

// Each type's text and bytes are TagValueText's; here the way to the disk,
// for a tag of a fixed size, one of variable size and one inside a list.
TEST(TagTreeScreen, AnEditWritesExactlyItsNewValue) {
  TypesOnScreen s;
  const std::string original = s.levelDat();
  struct Case {
    const char* path;
    const char* typed;
    std::string payload;
  } cases[] = {
      {"l", "-4294967296", littleEndian(-4294967296LL, 8)},
      {"str", "é§", littleEndian(4, 2) + "é§"},
      {"ia", "7 8", littleEndian(2, 4) + littleEndian(7, 4) + littleEndian(8, 4)},
      {"Items/2/Slot", "9", littleEndian(9, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string before = s.levelDat();
    s.editTo(c.path, c.typed);
    EXPECT_EQ(s.dismissAlert(), "");
    EXPECT_EQ(s.levelDat(), worldreader::withPayload(before, c.path, c.payload, true));
  }
  // The world as it was before the first write is kept.
  ASSERT_NE(s.db->backupMade(), "");
  EXPECT_EQ(worldreader::readFile(std::filesystem::path(s.db->backupMade()) / "level.dat"), original);
}

TEST(TagTreeScreen, RefusedUnchangedOrCancelledTextWritesNothing) {
  TypesOnScreen s;
  const std::string original = s.levelDat();
  s.editTo("b", "128");
  EXPECT_EQ(s.dismissAlert(), "128 is outside the range of a byte, -128 to 127.");
  s.press("Escape");
  // Shown as they are stored: the float is not re-rounded, nor the NaN's payload lost.
  s.editTo("f", "0.1");
  s.editTo("nan", "nan");
  s.editTo("i", "99", false);
  s.press("Escape");
  EXPECT_FALSE(s.screen->promptShown());
  EXPECT_EQ(s.screen->tree()->numberForKey("i").intValue(), 70000);
  EXPECT_EQ(s.levelDat(), original);
  EXPECT_EQ(s.db->backupMade(), "") << "nothing was written";
}

std::vector<std::string> names(const TestTag& compound) {
  std::vector<std::string> out;
  for (const auto& child : compound.children) out.push_back(child.name);
  return out;
}

TEST(TagTreeScreen, AddingRenamingAndRemovingKeepTheOtherTagsInOrder) {
  TypesOnScreen s;
  auto topNames = names(s.level());

  // Rename in place; a taken name is refused.
  s.select("s");
  s.driver.tap(*s.screen->renameButton());
  s.driver.type(*s.window, "i");
  EXPECT_EQ(s.dismissAlert(), "\"i\" is taken: the compound already holds a tag of that name.");
  s.screen->cancelPrompt();
  s.select("s");
  s.driver.tap(*s.screen->renameButton());
  s.driver.type(*s.window, "short");
  topNames[2] = "short";
  EXPECT_EQ(names(s.level()), topNames);
  EXPECT_EQ(s.level().number("short"), 300);

  // A new child of the chosen type goes last in its compound.
  s.select("rules/keepinventory");
  s.driver.tap(*s.screen->addButton());
  s.press("Down");  // int -> long
  s.driver.type(*s.window, "spawnradius");
  EXPECT_EQ(names(*s.level().find("rules")), (std::vector<std::string>{"keepinventory", "spawnradius"}));
  EXPECT_EQ(s.level().find("rules/spawnradius")->type, TestTag::Long);

  // An empty list asks for its entries' type; a list with entries adds one of theirs.
  s.select("empty");
  s.driver.tap(*s.screen->addButton());
  s.driver.tap(*s.screen->typeButton());  // int -> long
  s.press("Return");
  EXPECT_EQ(s.level().find("empty")->elementType, TestTag::Long);
  EXPECT_EQ(s.level().list("empty").size(), 1u);
  s.select("Items");
  s.driver.tap(*s.screen->addButton());
  EXPECT_EQ(s.level().list("Items").size(), 5u);
  EXPECT_TRUE(s.level().list("Items")[4].children.empty());

  // Removing asks first, naming what goes.
  s.select("Items/1");
  s.press("Delete");
  ASSERT_NE(s.shownAlert(), nullptr);
  EXPECT_EQ(s.shownAlert()->title(), "Remove entry 1 of \"Items\"?");
  s.press("Return");
  std::vector<int64_t> slots;
  const TestTag after = s.level();
  for (const auto& item : after.list("Items")) slots.push_back(item.has("Slot") ? item.number("Slot") : -1);
  EXPECT_EQ(slots, (std::vector<int64_t>{0, 2, 3, -1}));
}

TEST(TagTreeScreen, ASaveTheLibraryRefusesIsTakenBackAndADamagedCompoundIsLeftAlone) {
  TreeOnScreen s;
  s.show(std::make_shared<TagTreeViewController>("Level Data", typesLevel(), [](const auto&) {
    throw TBKException(TBKException::Kind::File, "The disk is full.");
  }));
  s.editTo("i", "5");
  EXPECT_EQ(s.dismissAlert(), "The disk is full.");
  s.press("Escape");
  s.select("Items/0");
  s.press("Delete");
  s.press("Return");
  EXPECT_EQ(s.dismissAlert(), "The disk is full.");
  s.select("empty");
  s.driver.tap(*s.screen->addButton());
  s.press("Return");
  EXPECT_EQ(s.dismissAlert(), "The disk is full.");
  EXPECT_EQ(TBKNBT::serialise(*s.screen->tree()), TBKNBT::serialise(*typesLevel()));

  // Two tags of one name in a damaged compound: no change is made at all.
  bool saved = false;
  s.show(std::make_shared<TagTreeViewController>(
      "Level Data", TBKNBT::parseCompound(std::string("\x0a\0\0\x01\x01\0a\x05\x01\x01\0a\x06\0", 14)),
      [&](const auto&) { saved = true; }));
  const std::string reason =
      "The compound holds more than one tag named \"a\": they are left as they are, since a change could reach the "
      "wrong one.";
  for (const char* keys : {"Return", "Delete"}) {
    s.screen->selectRow(1);
    s.press(keys);
    EXPECT_EQ(s.dismissAlert(), reason) << keys;
  }
  EXPECT_FALSE(saved);
}

}  // namespace
