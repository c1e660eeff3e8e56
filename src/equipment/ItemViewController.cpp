#include "equipment/ItemViewController.h"

#include <cctype>
#include <limits>

#include "equipment/ItemIdentity.h"
#include "equipment/ItemSelectorTableViewController.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"

namespace {

constexpr size_t hiddenEntries = 9;  // the grid offset of the inventory screen
constexpr double rowHeight = 36;
constexpr double rowGap = 10;

uint16_t low16(int64_t value) { return static_cast<uint16_t>(static_cast<uint64_t>(value)); }
uint8_t low8(int64_t value) { return static_cast<uint8_t>(static_cast<uint64_t>(value)); }

}  // namespace

ItemViewController::ItemViewController(const std::shared_ptr<TBKLevelDB>& db, size_t slot,
                                       const std::shared_ptr<TBKCompoundTag>& player)
    : _db(db), _slot(slot), player(player) {
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
  auto inventory = player->listForKey("Inventory");
  size_t index = _slot + hiddenEntries;
  if (!inventory || index >= inventory->count()) return nullptr;
  return inventory->compoundAtIndex(index);
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
  // Signed: an entry of the hotbar's slot numbers shows below zero.
  slotLabel2->setText(std::to_string(static_cast<int>(slot) - static_cast<int>(hiddenEntries)));
  idLabel->setText("ID:");
  idField->setText(std::to_string(identity.id()));
}

void ItemViewController::commit(TBKCompoundTag& item, const std::function<bool(TBKCompoundTag&)>& change) {
  if (change(item)) _db->setPlayer(player);
  reloadData();
}

// Every callback writes into the entry found on this first redraw.
void ItemViewController::buildWidgets(const std::shared_ptr<TBKCompoundTag>& item, double W, double H) {
  auto root = view();
  std::weak_ptr<ItemViewController> weakSelf =
      std::static_pointer_cast<ItemViewController>(shared_from_this());
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
  auto storingTyped = [reach](std::function<bool(TBKCompoundTag&, int64_t)> store) {
    return [reach, store](BVLTextField&, const std::string& text) {
      int64_t value = parseNumber(text);
      reach([store, value](ItemViewController& self, const std::shared_ptr<TBKCompoundTag>& entry) {
        self.commit(*entry, [&](TBKCompoundTag& e) { return store(e, value); });
      })();
    };
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
  damageField = field(storingTyped([](TBKCompoundTag& e, int64_t value) {
    return ItemIdentity::of(e).withDamage(low16(value)).writeTo(e);
  }));
  damageNoneButton = button("None", storing([](TBKCompoundTag& e) { return ItemIdentity::of(e).withDamage(0).writeTo(e); }));
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
  idField = field(storingTyped([](TBKCompoundTag& e, int64_t value) {
    return ItemIdentity::of(e).withID(low16(value)).writeTo(e);
  }));
  auto openPicker = reach([](ItemViewController& self, const std::shared_ptr<TBKCompoundTag>& entry) {
    self.openPicker(entry);
  });
  idSelectButton = button("Select", [openPicker](BVLButton&) { openPicker(); });
  root->addSubview(idLabel);
  root->addSubview(idField);
  root->addSubview(idSelectButton);
}

void ItemViewController::openPicker(const std::shared_ptr<TBKCompoundTag>& item) {
  auto navigation = navigationController();
  if (!navigation) return;
  std::weak_ptr<ItemViewController> weakSelf = std::static_pointer_cast<ItemViewController>(shared_from_this());
  auto picker = std::make_shared<ItemSelectorTableViewController>([weakSelf, item](uint16_t id, uint16_t damage) {
    auto self = weakSelf.lock();
    if (!self) return;
    self->commit(*item, [&](TBKCompoundTag& e) { return ItemIdentity::numbered(id, damage).writeTo(e); });
  });
  navigation->pushViewController(picker, true);
}
