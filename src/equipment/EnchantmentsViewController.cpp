#include "equipment/EnchantmentsViewController.h"

#include "app/RefusalAlert.h"
#include "equipment/ItemViewController.h"
#include "records/ItemIdentity.h"
#include "records/ItemTag.h"
#include "records/WholeNumber.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/TableViewCell.h"

namespace {

constexpr double rowHeight = 36, rowGap = 8;
constexpr int highestLevel = 255;  // what the game accepts from a command
const char* const cellIdentifier = "Enchantment";

std::string enchantKinds(const TBKCompoundTag& item) {
  ItemIdentity identity = ItemIdentity::of(item);
  auto definition = BVLItemIDSource::sharedSource()->itemDefinitionWithName(identity.identifier(), identity.damage());
  return definition ? definition->enchantKinds : std::string();
}

}  // namespace

EnchantmentsViewController::EnchantmentsViewController(std::shared_ptr<EquipmentRecord> record,
                                                       std::shared_ptr<TBKCompoundTag> item)
    : record_(std::move(record)), item_(std::move(item)) {
  scroll_ = std::make_shared<ui::ScrollView>(ui::Screen::main().bounds());
}

void EnchantmentsViewController::loadView() { setView(scroll_); }

void EnchantmentsViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  scroll_->setBackgroundColor(ui::Color::white(38.0 / 255.0));
  std::weak_ptr<EnchantmentsViewController> weakSelf =
      std::static_pointer_cast<EnchantmentsViewController>(shared_from_this());
  plusButton_ = std::make_shared<ui::BarButtonItem>(ui::SystemItem::Add, [weakSelf] {
    auto self = weakSelf.lock();
    auto navigation = self ? self->navigationController() : nullptr;
    if (!navigation) return;
    auto picker = std::make_shared<EnchantmentPickerViewController>(*self->item_, [weakSelf](const BVLEnchantment& e) {
      if (auto self = weakSelf.lock()) {
        self->change([&](TBKCompoundTag& item) {
          return itemtag::addEnchantment(item, {static_cast<int16_t>(e.id), static_cast<int16_t>(e.maxLevel)});
        });
      }
    });
    picker->setTitle("Add Enchantment");
    navigation->pushViewController(picker, true);
  });
  setRightBarButtonItem(plusButton_);
}

void EnchantmentsViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  reloadData();
}

std::string EnchantmentsViewController::rowText(int id, int level) {
  const BVLEnchantment* known = BVLEnchantments::shared().withID(id);
  std::string text = known ? known->title : "Enchantment " + std::to_string(id);
  text += " " + BVLEnchantments::levelText(level);
  if (known && level > known->maxLevel) text += " (above " + BVLEnchantments::levelText(known->maxLevel) + ")";
  return text;
}

void EnchantmentsViewController::change(const std::function<bool(TBKCompoundTag&)>& edit) {
  showRefusal(record_->edit(*item_, edit));
  reloadData();
}

void EnchantmentsViewController::reloadData() {
  for (auto& views : {std::vector<std::shared_ptr<ui::View>>(labels.begin(), labels.end()),
                      std::vector<std::shared_ptr<ui::View>>(levelFields.begin(), levelFields.end()),
                      std::vector<std::shared_ptr<ui::View>>(removeButtons.begin(), removeButtons.end())}) {
    for (auto& view : views) view->removeFromSuperview();
  }
  labels.clear();
  levelFields.clear();
  removeButtons.clear();
  std::weak_ptr<EnchantmentsViewController> weakSelf =
      std::static_pointer_cast<EnchantmentsViewController>(shared_from_this());
  double W = scroll_->bounds().width();
  double y = 16;
  auto list = itemtag::enchantments(*item_);
  for (size_t i = 0; i < list.size(); ++i) {
    auto label = std::make_shared<BVLLabel>(ui::Rect(20, y, W - 250, rowHeight));
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setText(rowText(list[i].id, list[i].level));
    auto field = std::make_shared<BVLTextField>(
        ui::Rect(W - 220, y, 60, rowHeight), [weakSelf, i](BVLTextField&, const std::string& text) {
          if (auto self = weakSelf.lock()) {
            int64_t typed = WholeNumberFromText(text, 1, highestLevel);
            self->change([&](TBKCompoundTag& item) { return itemtag::setLevel(item, i, static_cast<int16_t>(typed)); });
          }
        });
    field->setText(std::to_string(list[i].level));
    auto remove = std::make_shared<BVLButton>(ui::Rect(W - 150, y, 130, rowHeight), [weakSelf, i](BVLButton&) {
      if (auto self = weakSelf.lock()) {
        self->change([&](TBKCompoundTag& item) { return itemtag::removeEnchantment(item, i); });
      }
    });
    remove->setTitle("Remove", ui::ControlState::Normal);
    for (const std::shared_ptr<ui::View>& view :
         std::initializer_list<std::shared_ptr<ui::View>>{label, field, remove}) {
      scroll_->addSubview(view);
    }
    labels.push_back(label);
    levelFields.push_back(field);
    removeButtons.push_back(remove);
    y += rowHeight + rowGap;
  }
  scroll_->setContentSize(ui::Size{W, y});
}

EnchantmentPickerViewController::EnchantmentPickerViewController(const TBKCompoundTag& item,
                                                                 std::function<void(const BVLEnchantment&)> chosen)
    : chosen_(std::move(chosen)) {
  const auto& table = BVLEnchantments::shared();
  std::string kinds = enchantKinds(item);
  auto on = itemtag::enchantments(item);
  auto describe = [&](const BVLEnchantment& e) {
    std::string text = e.title;
    for (const auto& present : on) {
      const BVLEnchantment* other = table.withID(present.id);
      if (other && other->id != e.id && other->conflictsWith(e)) return text + " (excluded by " + other->title + ")";
    }
    return text;
  };
  for (bool applying : {true, false}) {
    for (const auto& e : table.all()) {
      if (e.appliesTo(kinds) == applying) choices_.push_back({&e, describe(e)});
    }
  }
  tableView_ = std::make_shared<ui::TableView>(ui::Screen::main().bounds(), ui::TableViewStyle::Plain);
  tableView_->registerClass<ui::TableViewCell>(cellIdentifier);
}

void EnchantmentPickerViewController::loadView() { setView(tableView_); }

void EnchantmentPickerViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<EnchantmentPickerViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
}

long EnchantmentPickerViewController::numberOfRowsInSection(ui::TableView&, long) {
  return static_cast<long>(choices_.size());
}

std::shared_ptr<ui::TableViewCell> EnchantmentPickerViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, const ui::IndexPath& indexPath) {
  auto cell = tableView.dequeueReusableCell(cellIdentifier, indexPath);
  auto row = static_cast<size_t>(indexPath.row);
  if (row < choices_.size()) cell->textLabel()->setText(choices_[row].text);
  return cell;
}

void EnchantmentPickerViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
  auto row = static_cast<size_t>(indexPath.row);
  if (done_ || row >= choices_.size()) return;
  done_ = true;
  auto self = shared_from_this();
  if (chosen_) chosen_(*choices_[row].enchantment);
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
