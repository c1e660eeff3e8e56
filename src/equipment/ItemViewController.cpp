#include "equipment/ItemViewController.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "equipment/InventoryViewController.h"
#include "equipment/ItemIdentity.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"

namespace {

constexpr double rowHeight = 36;
constexpr double rowGap = 10;
constexpr double columnGap = 10;  // between a field and its button

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

int64_t ItemViewController::parseNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Gathered as a negative number: the negative range is the larger one.
  int64_t value = 0;
  constexpr int64_t lowest = std::numeric_limits<int64_t>::min();
  bool saturated = false;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    int digit = text[i] - '0';
    if (value < (lowest + digit) / 10) {
      saturated = true;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return saturated ? lowest : value;
  if (saturated || value == lowest) return std::numeric_limits<int64_t>::max();
  return -value;
}

std::shared_ptr<TBKCompoundTag> ItemViewController::entry() const {
  if (!entries_) return nullptr;
  auto shown = InventoryViewController::gridEntries(*entries_);
  if (_slot >= shown.size()) return nullptr;
  return entries_->compoundAtIndex(shown[_slot]);
}

void ItemViewController::reloadData() {
  auto root = view();
  double W = root->bounds().width();
  double H = root->bounds().height();
  // Opened from the grid the entry exists; should the list have lost it
  // meanwhile, there is nothing to show or write.
  auto item = entry();
  if (!item) return;
  ItemIdentity identity = ItemIdentity::of(*item);
  uint8_t count = item->numberForKey("Count").unsignedCharValue();
  uint8_t slot = item->numberForKey("Slot").unsignedCharValue();
  int slotOffset = InventoryViewController::slotOffset(*entries_);

  if (itemView) {
    itemView->removeFromSuperview();
    itemView.reset();
  }
  itemView = identity.viewWithFrame(ui::Rect(20, 84, H - 104, H - 104));
  root->addSubview(itemView);
  if (!nameLabel) buildWidgets(item, W, H);

  nameLabel->setText("Name:");
  nameLabel2->setText(identity.name());
  countLabel->setText("Count:");
  countField->setText(std::to_string(count));
  damageLabel->setText("Damage:");
  damageField->setText(std::to_string(identity.damage()));
  slotLabel->setText("Slot:");
  // Signed: an early entry of the hotbar's slot numbers shows below zero.
  slotLabel2->setText(std::to_string(static_cast<int>(slot) - slotOffset));
  idLabel->setText("ID:");
  idField->setText(identity.idText());
  if (identity.isNamed()) fitNameField(identity.identifier());
}

// A name is far longer than a number: its field takes the row from the
// caption's text to the button, and its text the largest size at which the
// whole name fits there, down to the size of the grid's counts.
void ItemViewController::fitNameField(const std::string& name) {
  constexpr double largest = 16, smallest = 8;
  ui::Rect row = idField->frame();
  double left = idLabel->frame().x() + ui::Font::named("Minecraft", largest).measure(idLabel->text()).width + columnGap;
  double right = idSelectButton->frame().x() - columnGap;
  idField->setFrame(ui::Rect(left, row.y(), right - left, row.height()));
  ui::EdgeInsets insets = idField->textInsets();
  double room = right - left - insets.left - insets.right;
  double measured = ui::Font::named("Minecraft", largest).measure(name).width;
  double size = measured <= room ? largest : std::max(smallest, std::floor(largest * room / measured));
  idField->setFont(ui::Font::named("Minecraft", size));
}

void ItemViewController::commit(TBKCompoundTag& item, const std::function<bool(TBKCompoundTag&)>& change) {
  if (change(item)) record_->save();
  reloadData();
}

// Every callback writes into the entry found on this first redraw.
void ItemViewController::buildWidgets(const std::shared_ptr<TBKCompoundTag>& item, double W, double H) {
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
    return storingText([store](TBKCompoundTag& e, const std::string& text) { return store(e, parseNumber(text)); });
  };

  double x0 = H - 104 + 20 + 20;
  double y = 84;
  auto caption = [&] { return std::make_shared<BVLLabel>(ui::Rect(x0, y, W - x0 - 20, rowHeight)); };
  auto rightLabel = [&] { return std::make_shared<BVLLabel>(ui::Rect(W - 220, y, 200, rowHeight)); };
  auto field = [&](BVLTextField::Callback callback) {
    return std::make_shared<BVLTextField>(ui::Rect(W - 220, y, 120, rowHeight), std::move(callback));
  };
  auto button = [&](const char* title, BVLButton::Callback callback) {
    auto made = std::make_shared<BVLButton>(ui::Rect(W - 90, y, 75, rowHeight), std::move(callback));
    made->setTitle(title, ui::ControlState::Normal);
    return made;
  };
  auto nextRow = [&](const std::shared_ptr<BVLLabel>& captionLabel) { y += captionLabel->bounds().height() + rowGap; };

  nameLabel = caption();
  nameLabel2 = rightLabel();
  root->addSubview(nameLabel);
  root->addSubview(nameLabel2);
  nextRow(nameLabel);

  countLabel = caption();
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
  nextRow(countLabel);

  damageLabel = caption();
  damageField = field(storingTyped(
      [](TBKCompoundTag& e, int64_t value) { return ItemIdentity::of(e).withDamage(low16(value)).writeTo(e); }));
  damageNoneButton =
      button("None", storing([](TBKCompoundTag& e) { return ItemIdentity::of(e).withDamage(0).writeTo(e); }));
  root->addSubview(damageLabel);
  root->addSubview(damageField);
  root->addSubview(damageNoneButton);
  nextRow(damageLabel);

  slotLabel = caption();
  slotLabel2 = rightLabel();
  root->addSubview(slotLabel);
  root->addSubview(slotLabel2);
  nextRow(slotLabel);

  idLabel = caption();
  // A named entry's field holds its name, and what is typed there is the
  // new name (an add-on's item too); an early entry's holds its number.
  idField = field(storingText([](TBKCompoundTag& e, const std::string& text) {
    ItemIdentity current = ItemIdentity::of(e);
    ItemIdentity typed = current.isNamed() ? ItemIdentity::named(trimmed(text), current.damage())
                                           : ItemIdentity::numbered(low16(parseNumber(text)), current.damage());
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
