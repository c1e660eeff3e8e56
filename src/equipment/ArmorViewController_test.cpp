#include "equipment/ArmorViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"

namespace {

// A tap writes its row's piece once, by number or by name as the world keeps
// its items (the entry's rules are EquipmentRecord's); the figure shows it.
TEST(ArmorChoice, APieceIsWrittenOnceAndTheFigureShowsWhatTheWorldHolds) {
  struct Case {
    const char* folder;
    long material, piece;
    const char* stored;          // the piece's entry on disk
    const char *before, *after;  // the piece shown, as the catalogue writes it; "": none
  } cases[] = {
      {"Lakeside Survival", 3, 2, "{id:308s,Count:1b,Damage:0s}", "300:0", "308:0"},
      {"Lakeside Survival", 0, 1, "{id:0s,Count:1b,Damage:0s}", "307:0", ""},
      {"bW9kZXJuAA==", 3, 2, R"({Count:1b,Damage:0s,Name:"minecraft:iron_leggings",WasPickedUp:0b})",
       "minecraft:chainmail_leggings", "minecraft:iron_leggings"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after);
    WorldOnScreen s(c.folder);
    auto armor = std::make_shared<ArmorViewController>(std::make_shared<EquipmentRecord>(s.db, s.player));
    s.push(armor);
    const std::shared_ptr<ui::ImageView> worn[] = {armor->helmetView, armor->chestplateView, armor->leggingsView,
                                                   armor->bootsView};
    auto shows = [&](const std::string& item) {
      auto picture = BVLItemIDSource::sharedSource()->basicImageForItemWithStringRepresentation(item);
      auto& view = *worn[size_t(c.piece)];
      return samePicture(view.image(), picture ? bvl_resize(picture, view.bounds().size) : nullptr);
    };
    EXPECT_TRUE(shows(c.before));
    size_t writes = s.playerWrites();
    s.tap(*s.row(*armor->tableView, {c.material, c.piece}));
    EXPECT_EQ(s.playerWrites(), writes + 1);
    EXPECT_EQ(worldreader::snbt(*s.playerOnDisk().find("Armor/" + std::to_string(c.piece))), c.stored);
    EXPECT_TRUE(shows(c.after));
  }
}

}  // namespace
