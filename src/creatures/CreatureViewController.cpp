#include "creatures/CreatureViewController.h"

#include "app/RefusalAlert.h"
#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"
#include "equipment/InventoryViewController.h"
#include "records/WholeNumber.h"
#include "tree/TagTreeViewController.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"

namespace {

using Kind = LevelRowKind;

}  // namespace

CreatureViewController::CreatureViewController(std::shared_ptr<CreatureRecord> record) : record_(std::move(record)) {
  setTitle(record_->name().empty() ? record_->kind() : record_->name());
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->registerClass<LevelTableViewCell>("cell");
}

void CreatureViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<CreatureViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
  buildRows();
}

// Each row reads the creature's tree when it is shown, so a refused change
// shows what is stored.
void CreatureViewController::buildRows() {
  std::weak_ptr<CreatureViewController> weak = std::static_pointer_cast<CreatureViewController>(shared_from_this());
  auto record = record_;
  auto button = [weak](std::string title, std::function<void(CreatureViewController&)> action) {
    return [weak, title, action] {
      LevelRowBinding binding;
      binding.button = title;
      binding.open = [weak, action] {
        if (auto self = weak.lock()) action(*self);
      };
      return binding;
    };
  };
  Section creature{record_->kind(), {}};
  creature.rows.push_back({{.name = "Name", .kind = Kind::Text}, [weak, record] {
                             LevelRowBinding binding;
                             binding.text = record->name();
                             binding.type = [weak, record](const std::string& text) {
                               if (auto self = weak.lock()) self->written(record->setName(text));
                             };
                             return binding;
                           }});
  if (record_->health()) {
    creature.rows.push_back({{.name = "Health", .kind = Kind::WholeNumber}, [weak, record] {
                               LevelRowBinding binding;
                               binding.text = std::to_string(int(record->health().value_or(0)));
                               binding.type = [weak, record](const std::string& text) {
                                 auto health = float(WholeNumberFromText<int32_t>(text));
                                 if (auto self = weak.lock()) self->written(record->setHealth(health));
                               };
                               return binding;
                             }});
  }
  creature.rows.push_back({{.name = "Stays", .kind = Kind::Choice, .names = {"No", "Yes"}}, [weak, record] {
                             LevelRowBinding binding;
                             binding.segment = record->stays() ? 1 : 0;
                             binding.choose = [weak, record](long segment) {
                               if (auto self = weak.lock()) self->written(record->setStays(segment == 1));
                             };
                             return binding;
                           }});
  sections_.push_back(std::move(creature));

  Section items{"Items", {}};
  for (const auto& list : record_->itemLists()) {
    items.rows.push_back({{.name = list.title, .kind = Kind::InventoryButton},
                          button("Open...", [list](CreatureViewController& self) { self.openItems(list); })});
  }
  if (!items.rows.empty()) sections_.push_back(std::move(items));

  sections_.push_back(
      {"Actions",
       {
           {{.name = "Bring to the Player", .kind = Kind::InventoryButton},
            button("Bring", [](CreatureViewController& self) { self.bringHome(); })},
           {{.name = "Tags", .kind = Kind::PlayerTreeButton},
            button("",
                   [](CreatureViewController& self) {
                     if (auto navigation = self.navigationController()) {
                       navigation->pushViewController(
                           std::make_shared<TagTreeViewController>(self.title(), self.record_->treeRecord()), true);
                     }
                   })},
           {{.name = "Remove", .kind = Kind::InventoryButton},
            button("Remove...",
                   [](CreatureViewController& self) {
                     auto shared = std::static_pointer_cast<CreatureViewController>(self.shared_from_this());
                     std::make_shared<ui::AlertView>("Remove",
                                                     "Remove this " + self.record_->kind() + " from the world?", shared,
                                                     "Cancel", std::vector<std::string>{"Remove"})
                         ->show();
                   })},
       }});
}

void CreatureViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) {
    auto root = view();
    background_ = addTableScreenBackground(*root);
    tableView_->setFrame(ui::Rect(0, 0, root->bounds().width(), root->bounds().height()));
  }
  tableView_->reloadData();
}

void CreatureViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void CreatureViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

long CreatureViewController::numberOfRowsInSection(ui::TableView&, long section) {
  return long(sections_.at(size_t(section)).rows.size());
}

std::shared_ptr<ui::TableViewCell> CreatureViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                 const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<LevelTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  const Row& row = sections_.at(size_t(indexPath.section)).rows.at(size_t(indexPath.row));
  cell->makeReadyWithDefinition(row.definition, row.bind());
  return cell;
}

std::shared_ptr<ui::View> CreatureViewController::viewForHeaderInSection(ui::TableView& tableView, long section) {
  return makeSectionHeaderView(sections_.at(size_t(section)).title, tableView.frame().width());
}

void CreatureViewController::written(const Outcome& outcome) {
  showRefusal(outcome);
  setTitle(record_->name().empty() ? record_->kind() : record_->name());
  // The widget that reported is still on the stack; the rows are made
  // again once it has returned.
  std::weak_ptr<CreatureViewController> weak = std::static_pointer_cast<CreatureViewController>(shared_from_this());
  ui::Application::post([weak] {
    if (auto self = weak.lock()) self->tableView_->reloadData();
  });
}

void CreatureViewController::openItems(const CreatureRecord::ItemList& list) {
  auto entries = record_->tree()->listForKey(list.key);
  auto navigation = navigationController();
  if (!entries || !navigation) return;
  auto screen = std::make_shared<InventoryViewController>(record_->equipment(), entries);
  screen->setCapacity(list.capacity);
  screen->setTitle(list.title);
  navigation->pushViewController(screen, true);
}

void CreatureViewController::bringHome() { written(record_->bringToThePlayer()); }

void CreatureViewController::clickedButtonAtIndex(ui::AlertView&, long buttonIndex) {
  if (buttonIndex != 1) return;
  Outcome outcome = record_->remove();
  showRefusal(outcome);
  if (outcome) return;
  if (onRemoved) onRemoved(record_->entity());
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
