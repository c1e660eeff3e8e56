#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "external/Tarnbook.h"
#include "records/EquipmentRecord.h"
#include "ui/ImageView.h"
#include "ui/ScrollView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// The four pieces of armor the player wears. The left half is a grouped
// table, one section per material and one row per piece; tapping a row puts
// that piece on and writes the player tree at once. The right half shows the
// figure: the empty-slot pictures, helmet to boots, each covered by the piece
// worn. The player tree is the record's, shared with the level screen.
class ArmorViewController : public ui::ViewController, public ui::TableViewDataSource, public ui::TableViewDelegate {
 public:
  static constexpr size_t materials = 6;
  static constexpr size_t pieces = 4;

  explicit ArmorViewController(std::shared_ptr<EquipmentRecord> record);

  // Shows the pieces the record's player tree wears.
  void updateArmorDispalys();
  // Puts on piece indexPath.row of material indexPath.section (see
  // EquipmentRecord::wearArmor), explains a refusal and refreshes the figure.
  void setArmorForIndexPath(const ui::IndexPath& indexPath);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  long numberOfSectionsInTableView(ui::TableView&) override;
  long numberOfRowsInSection(ui::TableView& tableView, long section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::string titleForHeaderInSection(ui::TableView&, long section) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

  std::shared_ptr<ui::TableView> tableView;
  std::shared_ptr<ui::ScrollView> scrollView;
  const std::array<std::string, materials> sections{"Nothing", "Leather", "Chain", "Iron", "Diamond", "Gold"};
  const std::array<std::string, pieces> types{"Helmet", "Chestplate", "Leggings", "Boots"};
  // Item ids by material, then piece; 0 is no armor.
  const std::array<std::array<uint16_t, pieces>, materials> definitions{{{0, 0, 0, 0},
                                                                         {298, 299, 300, 301},
                                                                         {302, 303, 304, 305},
                                                                         {306, 307, 308, 309},
                                                                         {310, 311, 312, 313},
                                                                         {314, 315, 316, 317}}};
  // The same pieces as today's game names them; "" is an empty slot.
  const std::array<std::array<const char*, pieces>, materials> namedDefinitions{
      {{"", "", "", ""},
       {"minecraft:leather_helmet", "minecraft:leather_chestplate", "minecraft:leather_leggings",
        "minecraft:leather_boots"},
       {"minecraft:chainmail_helmet", "minecraft:chainmail_chestplate", "minecraft:chainmail_leggings",
        "minecraft:chainmail_boots"},
       {"minecraft:iron_helmet", "minecraft:iron_chestplate", "minecraft:iron_leggings", "minecraft:iron_boots"},
       {"minecraft:diamond_helmet", "minecraft:diamond_chestplate", "minecraft:diamond_leggings",
        "minecraft:diamond_boots"},
       {"minecraft:golden_helmet", "minecraft:golden_chestplate", "minecraft:golden_leggings",
        "minecraft:golden_boots"}}};
  std::shared_ptr<ui::Image> bhelmetImage, bchestplateImage, bleggingsImage, bbootsImage;
  // Null until the first appearance.
  std::shared_ptr<ui::ImageView> bhelmetView, bchestplateView, bleggingsView, bbootsView;
  std::shared_ptr<ui::ImageView> helmetView, chestplateView, leggingsView, bootsView;

 private:
  void buildFigure();
  std::array<std::shared_ptr<ui::Image>, pieces> emptySlotImages() const {
    return {bhelmetImage, bchestplateImage, bleggingsImage, bbootsImage};
  }

  std::shared_ptr<EquipmentRecord> record_;
};
