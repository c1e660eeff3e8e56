#include "equipment/ItemSelectorTableViewController.h"

#include <algorithm>

#include "external/Bevel.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/Text.h"

namespace {

const char* const cellIdentifier = "cell";

std::string nameOf(const BVLItemIDSource& catalogue, const std::string& item) {
  auto definition = catalogue.itemDefinitionWithStringRepresentation(item);
  return definition ? definition->name : std::string();
}

}  // namespace

ItemSelectorTableViewController::ItemSelectorTableViewController(Callback callback) : _callback(std::move(callback)) {
  listItems(BVLItemIDSource::sharedSource()->allItems());
}

ItemSelectorTableViewController::ItemSelectorTableViewController(NamedCallback callback)
    : namedCallback_(std::move(callback)) {
  listItems(BVLItemIDSource::sharedSource()->allNamedItems());
}

void ItemSelectorTableViewController::listItems(const std::vector<std::string>& items) {
  tableView_ = std::make_shared<ui::TableView>(ui::Screen::main().bounds(), ui::TableViewStyle::Plain);
  tableView_->registerClass<ui::TableViewCell>(cellIdentifier);
  auto catalogue = BVLItemIDSource::sharedSource();
  // Each name looked up once, not once a comparison.
  std::vector<std::pair<std::string, std::string>> named;
  for (auto& item : items) named.emplace_back(nameOf(*catalogue, item), item);
  std::stable_sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
    return ui::localizedCaseInsensitiveCompare(a.first, b.first) < 0;
  });
  allItems_.reserve(named.size());
  for (auto& [name, item] : named) allItems_.push_back(std::move(item));
}

void ItemSelectorTableViewController::loadView() { setView(tableView_); }

void ItemSelectorTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<ItemSelectorTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
}

void ItemSelectorTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (searchBar_) return;
  auto self = std::static_pointer_cast<ItemSelectorTableViewController>(shared_from_this());
  searchBar_ = std::make_shared<ui::SearchBar>(ui::Rect(0, 0, view()->frame().width(), 44));
  searchDisplayController_ = std::make_unique<ui::SearchDisplayController>(searchBar_, self);
  searchDisplayController_->setDelegate(self);
  searchDisplayController_->setSearchResultsDataSource(self);
  searchDisplayController_->searchResultsTableView()->registerClass<ui::TableViewCell>(cellIdentifier);
  searchDisplayController_->setSearchResultsDelegate(self);
  tableView_->setTableHeaderView(searchBar_);
  searchData_ = allItems_;
}

void ItemSelectorTableViewController::filterContentForSearchText(const std::string& text, const std::string&) {
  searchData_.clear();
  auto catalogue = BVLItemIDSource::sharedSource();
  for (const auto& item : allItems_) {
    auto found = ui::rangeOfStringCaseInsensitive(nameOf(*catalogue, item), text);
    if (found && found->location == 0 && found->length > 0) searchData_.push_back(item);
  }
}

bool ItemSelectorTableViewController::shouldReloadTableForSearchString(ui::SearchDisplayController&,
                                                                       const std::string& text) {
  filterContentForSearchText(text, std::string());
  return true;
}

const std::vector<std::string>& ItemSelectorTableViewController::itemsOf(const ui::TableView& tableView) const {
  return &tableView == tableView_.get() ? allItems_ : searchData_;
}

long ItemSelectorTableViewController::numberOfRowsInSection(ui::TableView& tableView, long) {
  return static_cast<long>(itemsOf(tableView).size());
}

std::shared_ptr<ui::TableViewCell> ItemSelectorTableViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, const ui::IndexPath& indexPath) {
  auto cell = tableView.dequeueReusableCell(cellIdentifier, indexPath);
  const auto& items = itemsOf(tableView);
  auto row = static_cast<size_t>(indexPath.row);
  if (row >= items.size()) return cell;
  auto catalogue = BVLItemIDSource::sharedSource();
  cell->imageView()->setImage(catalogue->basicImageForItemWithStringRepresentation(items[row]));
  cell->textLabel()->setText(nameOf(*catalogue, items[row]));
  return cell;
}

void ItemSelectorTableViewController::didSelectRowAtIndexPath(ui::TableView& tableView,
                                                              const ui::IndexPath& indexPath) {
  const auto& items = itemsOf(tableView);
  auto row = static_cast<size_t>(indexPath.row);
  if (chosen_ || row >= items.size()) return;
  chosen_ = true;
  auto definition = BVLItemIDSource::sharedSource()->itemDefinitionWithStringRepresentation(items[row]);
  // Held while it runs: the caller may drop this screen from inside it.
  auto self = shared_from_this();
  if (auto chosen = namedCallback()) {
    if (definition) chosen(definition->identifier, definition->identifierDamage);
  } else if (auto chosen = callback()) {
    chosen(definition ? definition->id : 0, definition ? definition->damage : 0);
  }
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
