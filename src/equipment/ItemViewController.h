#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "records/EquipmentRecord.h"
#include "records/ItemIdentity.h"
#include "ui/ViewController.h"

// One inventory entry: a large picture of the item, its name, and its count,
// damage, slot and id (the number of an early world's item, the name of
// today's), of which count, damage and id are edited. Every change
// is stored into the entry, the whole player record saved, and
// the screen redrawn from the tree, so the fields always show what is stored
// in its canonical form ("300" typed as the count shows 44).
class ItemViewController : public ui::ViewController {
 public:
  // `slot` is the grid position: the entry edited is the one the grid of
  // `entries` shows there (list index slot + 9 in an early world's
  // inventory). The record and the list are the grid's (see there).
  ItemViewController(std::shared_ptr<EquipmentRecord> record, std::shared_ptr<TBKListTag> entries, size_t slot);

  // Builds the widgets the first time, then shows the entry's values.
  void reloadData();

  // The catalogue's maximum durability of a named item; 0 for none.
  static int maxDurability(const TBKCompoundTag& item);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  std::shared_ptr<BVLPanorama> background() const { return _background; }
  void setBackground(std::shared_ptr<BVLPanorama> background) { _background = std::move(background); }

  // What the first redraw built; null before it (itemView is replaced on
  // every redraw).
  std::shared_ptr<BVLItemView> itemView;
  std::shared_ptr<BVLLabel> nameLabel, nameLabel2, countLabel, damageLabel, slotLabel, slotLabel2, idLabel;
  std::shared_ptr<BVLTextField> countField, damageField, idField;
  std::shared_ptr<BVLButton> countMaxButton, damageNoneButton, idSelectButton;
  // A named item's further row, the custom name, and the button beside its
  // slot: "Enchant" (the enchantments) or, for a container, "Open" (its own
  // slots). Null for an early item. An item that wears shows "Durability:"
  // in the damage row, as remaining / maximum, and the button repairs it.
  std::shared_ptr<BVLLabel> customNameLabel;
  std::shared_ptr<BVLTextField> customNameField;
  std::shared_ptr<BVLButton> slotButton;

 private:
  // Builds the widgets and their callbacks; layOut gives them their frames.
  void buildWidgets(const std::shared_ptr<TBKCompoundTag>& item);
  void layOut(const ItemIdentity& identity);
  // Stores by `change` through the record, which writes when it stored
  // something (an entry takes no identity of the other kind); explains a
  // refusal; redraws what is stored.
  void commit(TBKCompoundTag& item, const std::function<bool(TBKCompoundTag&)>& change);
  void openPicker(const std::shared_ptr<TBKCompoundTag>& item);
  void openBeside(const std::shared_ptr<TBKCompoundTag>& item);

  std::shared_ptr<TBKCompoundTag> entry() const;

  std::shared_ptr<EquipmentRecord> record_;
  std::shared_ptr<TBKListTag> entries_;
  size_t _slot;
  std::shared_ptr<BVLPanorama> _background;
  std::shared_ptr<ui::View> dimming_;
};
