#include "level/LevelTableViewController.h"

#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"

namespace {

using Row = LevelSettingDefinition;

const std::vector<std::string> levelSections = {"Player", "General", "Spawn", "Tags"};

const std::map<std::string, std::vector<Row>> levelDefinitions = {
    {"Player",
     {
         {"Armor", "_", Row::ArmorButton, {}},
         {"Inventory", "_", Row::InventoryButton, {}},
     }},
    {"General",
     {
         {"Level Name", "LevelName", Row::Text, {}},
         {"Game Type", "GameType", Row::Choice, {"Survival", "Creative"}},
     }},
    {"Spawn",
     {
         {"Spawn X", "SpawnX", Row::WholeNumber, {}},
         {"Spawn Y", "SpawnY", Row::WholeNumber, {}},
         {"Spawn Z", "SpawnZ", Row::WholeNumber, {}},
     }},
    // Every tag of the level and of the player, for what the rows above
    // do not show.
    {"Tags",
     {
         {"Level Data", "_", Row::LevelTreeButton, {}},
         {"Player Data", "_", Row::PlayerTreeButton, {}},
     }},
};

}  // namespace

LevelTableViewController::LevelTableViewController(std::shared_ptr<TBKLevelDB> db)
    : sections(levelSections), definitions(levelDefinitions), _db(std::move(db)) {
  level = _db->levelData();
  try {
    player = _db->player();
  } catch (const TBKException& error) {
    // No player record yet (the world was never played) or a damaged one:
    // the level can still be edited, and the armor and inventory rows say
    // why they open nothing. Anything else (the game holding the world, a
    // refused file) stops the screen from opening.
    if (error.name() != TBKException::FormatFailure) throw;
  }
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->registerClass<LevelTableViewCell>("cell");
}

LevelTableViewController::~LevelTableViewController() = default;

void LevelTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<LevelTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
}

void LevelTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  // Laid out once, with the view's size at the first appearance; before
  // the rows are filled, so that they are filled at their final width.
  if (!background_) layOut();
  level = _db->levelData();
  tableView_->reloadData();
}

void LevelTableViewController::layOut() {
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  double H = root->bounds().height();
  tableView_->setFrame(ui::Rect(0, 0, W, H));
}

void LevelTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void LevelTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

const LevelSettingDefinition& LevelTableViewController::definitionAt(const ui::IndexPath& indexPath) const {
  return definitions.at(sections.at(size_t(indexPath.section))).at(size_t(indexPath.row));
}

long LevelTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  return long(definitions.at(sections.at(size_t(section))).size());
}

std::shared_ptr<ui::TableViewCell> LevelTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                   const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<LevelTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  cell->makeReadyWithDefinition(definitionAt(indexPath), _db, level, player);
  return cell;
}

std::shared_ptr<ui::View> LevelTableViewController::viewForHeaderInSection(ui::TableView& tableView, long section) {
  return makeSectionHeaderView(sections.at(size_t(section)), tableView.frame().width());
}
