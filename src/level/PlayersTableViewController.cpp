#include "level/PlayersTableViewController.h"

#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"
#include "level/LevelTableViewController.h"
#include "level/PlayerTableViewCell.h"
#include "ui/AlertView.h"
#include "ui/NavigationController.h"

PlayersTableViewController::PlayersTableViewController(std::shared_ptr<TBKLevelDB> db) : _db(std::move(db)) {
  setTitle("Players");
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->registerClass<PlayerTableViewCell>("cell");
}

void PlayersTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<PlayersTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
}

void PlayersTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) {
    auto root = view();
    background_ = addTableScreenBackground(*root);
    tableView_->setFrame(ui::Rect(0, 0, root->bounds().width(), root->bounds().height()));
  }
  try {
    players = _db->players();
  } catch (const TBKException& error) {
    players.clear();
    std::make_shared<ui::AlertView>("Error", error.reason(), nullptr, "Okay", std::vector<std::string>{})->show();
  }
  tableView_->reloadData();
}

void PlayersTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void PlayersTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

std::shared_ptr<ui::TableViewCell> PlayersTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                     const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<PlayerTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  std::weak_ptr<PlayersTableViewController> weakSelf =
      std::static_pointer_cast<PlayersTableViewController>(shared_from_this());
  const TBKPlayerEntry& entry = players.at(size_t(indexPath.row));
  // The place is read from the record (its dimension and "Pos").
  std::string problem = entry.missing;
  std::string place;
  if (problem.empty()) {
    try {
      place = PlayerTableViewCell::placeOf(*_db->playerForKey(entry.key));
    } catch (const TBKException& error) {
      problem = error.reason();
    }
  }
  cell->makeReadyWithPlayer(entry, place, problem, [weakSelf](const TBKPlayerEntry& entry) {
    if (auto self = weakSelf.lock()) self->open(entry);
  });
  return cell;
}

std::shared_ptr<ui::View> PlayersTableViewController::viewForHeaderInSection(ui::TableView& tableView, long) {
  return makeSectionHeaderView("Players", tableView.frame().width());
}

void PlayersTableViewController::open(const TBKPlayerEntry& entry) {
  std::shared_ptr<LevelTableViewController> screen;
  try {
    screen = std::make_shared<LevelTableViewController>(_db, entry.key);
  } catch (const TBKException& error) {
    std::make_shared<ui::AlertView>("Error", error.reason(), nullptr, "Okay", std::vector<std::string>{})->show();
    return;
  }
  screen->setTitle(PlayerTableViewCell::shortName(entry));
  if (auto navigation = navigationController()) navigation->pushViewController(screen, true);
}
