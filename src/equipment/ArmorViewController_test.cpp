#include "equipment/ArmorViewController.h"

#include <gtest/gtest.h>

#include "MenuOnScreen.h"

namespace {

struct ArmorOnScreen : WorldOnScreen {
  std::shared_ptr<ArmorViewController> armor;

  explicit ArmorOnScreen(const std::function<void(TBKCompoundTag&)>& setUp = nullptr) {
    if (setUp) changePlayer(setUp);
    armor = std::make_shared<ArmorViewController>(std::make_shared<EquipmentRecord>(db, db->player()));
    push(armor);
  }
  void choose(long material, long piece) {
    auto cell = row(*armor->tableView, {material, piece});
    ASSERT_NE(cell, nullptr);
    tap(*cell);
  }
};

std::shared_ptr<ui::Image> cataloguePicture(uint16_t id, ui::Size size) {
  return bvl_resize(BVLItemIDSource::sharedSource()->basicImageForItemWithID(id, 0), size);
}

TEST(ArmorChoice, APieceIsWrittenOnceAndTheFigureShowsWhatTheWorldHolds) {
  ArmorOnScreen s;
  const std::shared_ptr<ui::ImageView> worn[] = {s.armor->helmetView, s.armor->chestplateView, s.armor->leggingsView,
                                                 s.armor->bootsView};
  ui::Size size = worn[0]->bounds().size;
  // On entry: iron helmet, iron chestplate, leather leggings, no boots.
  EXPECT_TRUE(samePicture(worn[2]->image(), cataloguePicture(300, size)));
  EXPECT_EQ(worn[3]->image(), nullptr) << "no piece: the empty slot shows";

  struct Case {
    long material, piece;
    int64_t id;
  };
  for (const Case& c : {Case{1, 1, 299}, Case{3, 1, 307}, Case{3, 1, 307}, Case{0, 3, 0}, Case{5, 3, 317}}) {
    SCOPED_TRACE(c.id);
    size_t writes = s.playerWrites();
    s.choose(c.material, c.piece);
    EXPECT_EQ(s.playerWrites(), writes + 1);
    auto entry = s.playerOnDisk().list("Armor").at(size_t(c.piece));
    EXPECT_EQ(entry.number("id"), c.id);
    EXPECT_EQ(entry.number("Damage"), 0);
    auto expected = c.id ? cataloguePicture(uint16_t(c.id), size) : nullptr;
    EXPECT_TRUE(samePicture(worn[size_t(c.piece)]->image(), expected));
  }
  auto armor = s.playerOnDisk().list("Armor");
  EXPECT_EQ(armor.at(0).number("id"), 306) << "the other pieces are as they were";
  EXPECT_EQ(armor.at(0).number("Damage"), 12);
}

TEST(ArmorChoice, AShortOrMissingListIsFilledWithEmptyEntriesUpToThePiece) {
  // Entries kept of the four; 5 stands for no list at all.
  for (size_t kept : {size_t(0), size_t(1), size_t(5)}) {
    SCOPED_TRACE(kept);
    ArmorOnScreen s([kept](TBKCompoundTag& player) {
      if (kept == 5) {
        player.removeObjectForKey("Armor");
        return;
      }
      auto old = player.listForKey("Armor");
      auto list = std::make_shared<TBKListTag>("Armor", TBKTagType::Compound);
      for (size_t i = 0; i < kept; ++i) list->setObjectAtIndexedSubscript(old->objectAtIndexedSubscript(i), i);
      player.setValueForKey(list);
    });
    s.choose(4, 2);  // diamond leggings
    auto armor = s.playerOnDisk().list("Armor");
    ASSERT_EQ(armor.size(), 3u);
    EXPECT_EQ(armor[0].number("id"), kept == 1 ? 306 : 0);
    EXPECT_EQ(armor[1].number("id"), 0);
    EXPECT_EQ(armor[1].number("Count"), 0);
    EXPECT_EQ(armor[2].number("id"), 312);
  }
}

}  // namespace
