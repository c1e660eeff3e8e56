#include "equipment/ArmorViewController.h"

#include "app/RefusalAlert.h"
#include "equipment/ArmorCell.h"
#include "equipment/ItemLook.h"
#include "records/ItemIdentity.h"
#include "ui/Screen.h"

namespace {
const char* const cellIdentifier = "cell";
constexpr double barsHeight = 64;  // status bar and navigation bar, over the figure's top
}  // namespace

ArmorViewController::ArmorViewController(std::shared_ptr<EquipmentRecord> record) : record_(std::move(record)) {
  // Sized to the view in viewDidLoad.
  tableView = std::make_shared<ui::TableView>(ui::Rect(), ui::TableViewStyle::Grouped);
  tableView->registerClass<ArmorCell>(cellIdentifier);
  scrollView = std::make_shared<ui::ScrollView>();
  scrollView->setScrollEnabled(true);
  auto items = bvl_imageNamed("items-opaque", "png");
  bhelmetImage = bvl_subImageWithFrame(items, ui::Rect(224, 64, 16, 16));
  bchestplateImage = bvl_subImageWithFrame(items, ui::Rect(208, 64, 16, 16));
  bleggingsImage = bvl_subImageWithFrame(items, ui::Rect(240, 64, 16, 16));
  bbootsImage = bvl_subImageWithFrame(items, ui::Rect(192, 64, 16, 16));
}

void ArmorViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto root = view();
  double W = root->bounds().width();
  double H = root->bounds().height();
  root->setBackgroundColor(ui::Color::white(1));
  auto self = std::static_pointer_cast<ArmorViewController>(shared_from_this());
  tableView->setFrame(ui::Rect(0, 0, W * 0.5, H));
  tableView->setDataSource(self);
  tableView->setDelegate(self);
  // First, so that the navigation controller clears the bar over it.
  root->insertSubview(tableView, 0);
  scrollView->setFrame(ui::Rect(W * 0.5, 0, W * 0.5, H));
  root->addSubview(scrollView);
}

void ArmorViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!bhelmetView) buildFigure();
  updateArmorDispalys();
}

// Laid out once, with the view's size at the first appearance, centred in
// the right half below the bars.
void ArmorViewController::buildFigure() {
  double W = view()->bounds().width();
  double H = view()->bounds().height();
  double s = (H - barsHeight) * 0.25;
  double x = W * 0.25 - s * 0.5;
  auto at = [&](int k) { return std::make_shared<ui::ImageView>(ui::Rect(x, barsHeight + k * s, s, s)); };
  bhelmetView = at(0);
  bchestplateView = at(1);
  bleggingsView = at(2);
  bbootsView = at(3);
  helmetView = at(0);
  chestplateView = at(1);
  leggingsView = at(2);
  bootsView = at(3);
  for (auto& v :
       {bhelmetView, bchestplateView, bleggingsView, bbootsView, helmetView, chestplateView, leggingsView, bootsView}) {
    scrollView->addSubview(v);
  }
  auto empty = emptySlotImages();
  std::array<std::shared_ptr<ui::ImageView>, pieces> slots{bhelmetView, bchestplateView, bleggingsView, bbootsView};
  for (size_t k = 0; k < pieces; ++k) slots[k]->setImage(bvl_resize(empty[k], ui::Size{s, s}));
}

void ArmorViewController::updateArmorDispalys() {
  if (!helmetView) return;
  auto armor = record_->player()->listForKey("Armor");
  ui::Size size = helmetView->bounds().size;
  std::array<std::shared_ptr<ui::ImageView>, pieces> worn{helmetView, chestplateView, leggingsView, bootsView};
  for (size_t k = 0; k < pieces; ++k) {
    // A missing entry shows as no armor.
    auto entry = armor && k < armor->count() ? armor->compoundAtIndex(k) : nullptr;
    ItemIdentity piece = entry ? ItemIdentity::of(*entry) : ItemIdentity::numbered(0, 0);
    worn[k]->setImage(bvl_resize(itemPicture(piece.withDamage(0)), size));
  }
}

void ArmorViewController::setArmorForIndexPath(const ui::IndexPath& indexPath) {
  if (indexPath.section < 0 || static_cast<size_t>(indexPath.section) >= materials || indexPath.row < 0 ||
      static_cast<size_t>(indexPath.row) >= pieces) {
    return;
  }
  auto material = static_cast<size_t>(indexPath.section);
  auto piece = static_cast<size_t>(indexPath.row);
  showRefusal(record_->wearArmor(piece, definitions[material][piece], namedDefinitions[material][piece]));
  updateArmorDispalys();
}

long ArmorViewController::numberOfSectionsInTableView(ui::TableView&) { return static_cast<long>(definitions.size()); }

long ArmorViewController::numberOfRowsInSection(ui::TableView&, long) {
  return static_cast<long>(definitions[0].size());
}

std::string ArmorViewController::titleForHeaderInSection(ui::TableView&, long section) {
  return section >= 0 && static_cast<size_t>(section) < materials ? sections[static_cast<size_t>(section)] : "";
}

std::shared_ptr<ui::TableViewCell> ArmorViewController::cellForRowAtIndexPath(ui::TableView& table,
                                                                              const ui::IndexPath& indexPath) {
  auto cell = table.dequeueReusableCell(cellIdentifier, indexPath);
  auto material = static_cast<size_t>(indexPath.section);
  auto piece = static_cast<size_t>(indexPath.row);
  cell->textLabel()->setText(types[piece]);
  cell->imageView()->setImage(material == 0 ? emptySlotImages()[piece]
                                            : itemPicture(ItemIdentity::numbered(definitions[material][piece], 0)));
  return cell;
}

void ArmorViewController::didSelectRowAtIndexPath(ui::TableView& table, const ui::IndexPath& indexPath) {
  table.deselectRowAtIndexPath(indexPath, true);
  setArmorForIndexPath(indexPath);
}
