#include "equipment/ItemViewController.h"

#include <algorithm>
#include <cctype>

#include "app/RefusalAlert.h"
#include "equipment/EnchantmentsViewController.h"
#include "equipment/InventoryViewController.h"
#include "equipment/ItemEditorLayout.h"
#include "equipment/ItemLook.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "records/ItemGrid.h"
#include "records/ItemIdentity.h"
#include "records/ItemTag.h"
#include "records/WholeNumber.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"

namespace {

uint16_t low16(int64_t value) { return static_cast<uint16_t>(static_cast<uint64_t>(value)); }
uint8_t low8(int64_t value) { return static_cast<uint8_t>(static_cast<uint64_t>(value)); }

// Names have no spaces; those around a typed one are the typist's.
std::string trimmed(const std::string& text) {
  auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  size_t begin = 0, end = text.size();
  while (begin < end && space(text[begin])) ++begin;
  while (end > begin && space(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

ItemViewController::ItemViewController(std::shared_ptr<EquipmentRecord> record, std::shared_ptr<TBKListTag> entries,
                                       size_t slot)
    : record_(std::move(record)), entries_(std::move(entries)), _slot(slot) {
  ui::Rect screen = ui::Screen::main().bounds();
  _background = std::make_shared<BVLPanorama>(ui::Rect(0, 0, screen.width(), screen.height()));
  dimming_ = std::make_shared<ui::View>(_background->bounds());
  dimming_->setBackgroundColor(ui::Color::white(0, 0.5));
  _background->addSubview(dimming_);
  _background->setClipsToBounds(true);
}

void ItemViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  view()->setBackgroundColor(ui::Color::white(1));
  view()->insertSubview(_background, 0);
}

void ItemViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  reloadData();
}

void ItemViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  _background->pan();
}

void ItemViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  _background->setShouldPan(false);
}

std::shared_ptr<TBKCompoundTag> ItemViewController::entry() const {
  if (!entries_) return nullptr;
  auto shown = ItemGrid::gridEntries(*entries_);
  if (_slot >= shown.size()) return nullptr;
  return entries_->compoundAtIndex(shown[_slot]);
}

void ItemViewController::reloadData() {
  // Opened from the grid the entry exists; should the list have lost it
  // meanwhile, there is nothing to show or write.
  auto item = entry();
  if (!item) return;
  ItemIdentity identity = ItemIdentity::of(*item);
  uint8_t count = item->numberForKey("Count").unsignedCharValue();
  uint8_t slot = item->numberForKey("Slot").unsignedCharValue();
  int slotOffset = ItemGrid::slotOffset(*entries_);
  if (!nameLabel) buildWidgets(item);

  nameLabel->setText("Name:");
  nameLabel2->setText(itemName(identity));
  countLabel->setText("Count:");
  countField->setText(std::to_string(count));
  int durability = maxDurability(*item);
  if (durability > 0) {
    damageLabel->setText("Durability:");
    damageField->setText(std::to_string(durability - itemtag::spentUses(*item)) + " / " + std::to_string(durability));
    damageNoneButton->setTitle("Repair", ui::ControlState::Normal);
  } else {
    damageLabel->setText("Damage:");
    damageField->setText(std::to_string(identity.damage()));
    damageNoneButton->setTitle("None", ui::ControlState::Normal);
  }
  if (customNameField) {
    customNameLabel->setText("Custom Name:");
    customNameField->setText(itemtag::customName(*item));
    bool container = itemtag::isContainer(identity.identifier());
    slotButton->setTitle(container ? "Open" : "Enchant", ui::ControlState::Normal);
    auto ench = itemtag::enchantments(*item);
    if (!container && !ench.empty()) {
      slotButton->setTitle("Enchant (" + std::to_string(ench.size()) + ")", ui::ControlState::Normal);
    }
  }
  slotLabel->setText("Slot:");
  // Signed: an early entry of the hotbar's slot numbers shows below zero.
  slotLabel2->setText(std::to_string(static_cast<int>(slot) - slotOffset));
  idLabel->setText("ID:");
  idField->setText(identity.idText());
  layOut(identity);
}

// Measures the id row's texts for the layout, applies its frames, and draws
// the picture anew: the item may have changed.
void ItemViewController::layOut(const ItemIdentity& identity) {
  ui::Font measuring = ui::Font::named("Minecraft", ItemEditorLayout::measuredFontSize);
  auto frames = ItemEditorLayout::frames(view()->bounds().size, identity.isNamed(),
                                         {measuring.measure(idLabel->text()).width,
                                          measuring.measure(identity.identifier()).width, idField->textInsets()});
  if (itemView) itemView->removeFromSuperview();
  itemView = itemViewWithFrame(identity, frames.picture);
  view()->addSubview(itemView);
  auto place = [](const ItemEditorLayout::Row& row, ui::View& caption, ui::View& value, ui::View* button) {
    caption.setFrame(row.caption);
    value.setFrame(row.value);
    if (button) button->setFrame(row.button);
  };
  place(frames.name, *nameLabel, *nameLabel2, nullptr);
  place(frames.count, *countLabel, *countField, countMaxButton.get());
  place(frames.damage, *damageLabel, *damageField, damageNoneButton.get());
  if (customNameField) place(frames.customName, *customNameLabel, *customNameField, nullptr);
  place(frames.slot, *slotLabel, *slotLabel2, slotButton.get());
  place(frames.id, *idLabel, *idField, idSelectButton.get());
  idField->setFont(ui::Font::named("Minecraft", frames.idFontSize));
}

int ItemViewController::maxDurability(const TBKCompoundTag& item) {
  ItemIdentity identity = ItemIdentity::of(item);
  if (!identity.isNamed()) return 0;
  auto definition = BVLItemIDSource::sharedSource()->itemDefinitionWithName(identity.identifier(), identity.damage());
  return definition ? definition->durability : 0;
}

void ItemViewController::commit(TBKCompoundTag& item, const std::function<bool(TBKCompoundTag&)>& change) {
  showRefusal(record_->edit(item, change));
  reloadData();
}

// Every callback writes into the entry found on this first redraw.
void ItemViewController::buildWidgets(const std::shared_ptr<TBKCompoundTag>& item) {
  auto root = view();
  std::weak_ptr<ItemViewController> weakSelf = std::static_pointer_cast<ItemViewController>(shared_from_this());
  using Action = std::function<void(ItemViewController&, const std::shared_ptr<TBKCompoundTag>&)>;
  auto reach = [weakSelf, item](Action action) {
    return [weakSelf, item, action] {
      if (auto self = weakSelf.lock()) action(*self, item);
    };
  };
  auto storing = [reach](std::function<bool(TBKCompoundTag&)> change) {
    auto run = reach([change](ItemViewController& self, const std::shared_ptr<TBKCompoundTag>& entry) {
      self.commit(*entry, change);
    });
    return [run](BVLButton&) { run(); };
  };
  auto storingText = [reach](std::function<bool(TBKCompoundTag&, const std::string&)> store) {
    return [reach, store](BVLTextField&, const std::string& text) {
      reach([store, text](ItemViewController& self, const std::shared_ptr<TBKCompoundTag>& entry) {
        self.commit(*entry, [&](TBKCompoundTag& e) { return store(e, text); });
      })();
    };
  };
  auto storingTyped = [storingText](std::function<bool(TBKCompoundTag&, int64_t)> store) {
    return storingText(
        [store](TBKCompoundTag& e, const std::string& text) { return store(e, WholeNumberFromText<int64_t>(text)); });
  };

  auto field = [](BVLTextField::Callback callback) {
    return std::make_shared<BVLTextField>(ui::Rect(), std::move(callback));
  };
  auto button = [](const char* title, BVLButton::Callback callback) {
    auto made = std::make_shared<BVLButton>(ui::Rect(), std::move(callback));
    made->setTitle(title, ui::ControlState::Normal);
    return made;
  };
  auto label = [] { return std::make_shared<BVLLabel>(ui::Rect()); };
  bool named = ItemIdentity::of(*item).isNamed();

  nameLabel = label();
  nameLabel2 = label();
  root->addSubview(nameLabel);
  root->addSubview(nameLabel2);

  countLabel = label();
  countField = field(storingTyped([](TBKCompoundTag& e, int64_t value) {
    e.setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(low8(value))));
    return true;
  }));
  countMaxButton = button("Max", storing([](TBKCompoundTag& e) {
                            e.setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(0xff)));
                            return true;
                          }));
  root->addSubview(countLabel);
  root->addSubview(countField);
  root->addSubview(countMaxButton);

  damageLabel = label();
  // An item that wears shows what is left of it; what is typed there is what
  // is left, held to 0 .. maximum. Its data value stays as it is.
  damageField = field(storingTyped([](TBKCompoundTag& e, int64_t value) {
    if (int most = maxDurability(e); most > 0) {
      return itemtag::setSpentUses(e, static_cast<int32_t>(most - std::clamp<int64_t>(value, 0, most)));
    }
    return ItemIdentity::of(e).withDamage(low16(value)).writeTo(e);
  }));
  damageNoneButton = button("None", storing([](TBKCompoundTag& e) {
                              if (maxDurability(e) > 0) return itemtag::setSpentUses(e, 0);
                              return ItemIdentity::of(e).withDamage(0).writeTo(e);
                            }));
  root->addSubview(damageLabel);
  root->addSubview(damageField);
  root->addSubview(damageNoneButton);

  if (named) {
    customNameLabel = label();
    customNameField =
        field(storingText([](TBKCompoundTag& e, const std::string& text) { return itemtag::setCustomName(e, text); }));
    root->addSubview(customNameLabel);
    root->addSubview(customNameField);
  }

  slotLabel = label();
  slotLabel2 = label();
  root->addSubview(slotLabel);
  root->addSubview(slotLabel2);
  if (named) {
    auto open =
        reach([](ItemViewController& self, const std::shared_ptr<TBKCompoundTag>& entry) { self.openBeside(entry); });
    slotButton = button("Enchant", [open](BVLButton&) { open(); });
    root->addSubview(slotButton);
  }

  idLabel = label();
  // A named entry's field holds its name, and what is typed there is the
  // new name (an add-on's item too); an early entry's holds its number.
  idField = field(storingText([](TBKCompoundTag& e, const std::string& text) {
    ItemIdentity current = ItemIdentity::of(e);
    ItemIdentity typed = current.isNamed()
                             ? ItemIdentity::named(trimmed(text), current.damage())
                             : ItemIdentity::numbered(low16(WholeNumberFromText<int64_t>(text)), current.damage());
    return typed.writeTo(e);
  }));
  auto openPicker =
      reach([](ItemViewController& self, const std::shared_ptr<TBKCompoundTag>& entry) { self.openPicker(entry); });
  idSelectButton = button("Select", [openPicker](BVLButton&) { openPicker(); });
  root->addSubview(idLabel);
  root->addSubview(idField);
  root->addSubview(idSelectButton);
}

void ItemViewController::openPicker(const std::shared_ptr<TBKCompoundTag>& item) {
  auto navigation = navigationController();
  if (!navigation) return;
  std::weak_ptr<ItemViewController> weakSelf = std::static_pointer_cast<ItemViewController>(shared_from_this());
  auto choose = [weakSelf, item](const ItemIdentity& chosen) {
    auto self = weakSelf.lock();
    if (!self) return;
    self->commit(*item, [&](TBKCompoundTag& e) { return chosen.writeTo(e); });
  };
  std::shared_ptr<ItemSelectorTableViewController> picker;
  if (ItemIdentity::takesNamed(*item, *record_->player())) {
    picker = std::make_shared<ItemSelectorTableViewController>(ItemSelectorTableViewController::NamedCallback(
        [choose](const std::string& identifier, uint16_t damage) { choose(ItemIdentity::named(identifier, damage)); }));
  } else {
    picker = std::make_shared<ItemSelectorTableViewController>(
        [choose](uint16_t id, uint16_t damage) { choose(ItemIdentity::numbered(id, damage)); });
  }
  navigation->pushViewController(picker, true);
}

// A container's own slots, or the enchantments of anything else.
void ItemViewController::openBeside(const std::shared_ptr<TBKCompoundTag>& item) {
  auto navigation = navigationController();
  if (!navigation) return;
  ItemIdentity identity = ItemIdentity::of(*item);
  if (itemtag::isContainer(identity.identifier())) {
    auto grid = std::make_shared<InventoryViewController>(record_, itemtag::madeItems(*item));
    grid->setCapacity(itemtag::containerSlots(identity.identifier()));
    grid->setTitle(itemName(identity));
    navigation->pushViewController(grid, true);
    return;
  }
  auto view = std::make_shared<EnchantmentsViewController>(record_, item);
  view->setTitle(itemName(identity));
  navigation->pushViewController(view, true);
}
