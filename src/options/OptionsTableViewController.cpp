#include "options/OptionsTableViewController.h"

#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"
#include "backups/BackupsTableViewController.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"

namespace {

const char* const cellIdentifier = "cell";

const long text = OptionTableViewCell::TextFieldType;
const long toggle = OptionTableViewCell::SwitchType;
const long slider = OptionTableViewCell::SliderType;

}  // namespace

OptionsTableViewController::OptionsTableViewController()
    : sections{"General", "Graphics", "Controls", "Sounds", "Developer"},
      definitions{
          {"General",
           {{"Username", "mp_username", text},
            {"Difficulty", "game_difficulty", text},
            {"Third Person", "game_thirdperson", toggle},
            {"Server Visible", "game_server_visible", toggle},
            {"Limit World Size", "game_limitworldsize", toggle}}},
          {"Graphics",
           {{"Render Distance", "gfx_renderdistance_new", text},
            {"Fancy Graphics", "gfx_fancygraphics", toggle},
            {"Pixel Density", "gfx_pixeldensity", text}}},
          {"Controls", {{"Sensitivity", "ctrl_sensitivity", slider}}},
          {"Sounds", {}},
          {"Developer",
           {{"Automatically Load Level", "dev_autoloadlevel", toggle},
            {"Show Chunk Map", "dev_showchunkmap", toggle},
            {"Disable File System", "dev_disablefilesystem", toggle},
            {"Flat World Layers", "game_flatworldlayers", text}}},
      } {
  setEdgesForExtendedLayout(ui::RectEdge::None);
  // A provisional frame; the first appearance gives the real one.
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->registerClass<OptionTableViewCell>(cellIdentifier);
}

void OptionsTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<OptionsTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
}

void OptionsTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  // The table takes its real size before it reloads: rows prepared at the
  // provisional width would keep their widgets there.
  if (!background_) buildBackground();
  // Every showing reads every value again: the game may have changed them.
  tableView_->reloadData();
}

void OptionsTableViewController::buildBackground() {
  auto root = view();
  double W = root->bounds().width();
  double H = root->bounds().height();
  background_ = addTableScreenBackground(*root);
  tableView_->setFrame(ui::Rect(0, 0, W, H));
  addBackupsRow(W);
}

// A row above the table, apart from its definitions, laid out like a row of
// it: the title, and a button that opens the options file's backups.
void OptionsTableViewController::addBackupsRow(double width) {
  auto row = std::make_shared<ui::View>(ui::Rect(0, 0, width, 46));
  ui::Size size = ui::Font::named("Minecraft", 16).measure("Backups");
  auto title = std::make_shared<BVLLabel>(ui::Rect(40, 15, size.width, size.height));
  title->setText("Backups");
  title->setStyle(BVLLabel::DetailStyle);
  row->addSubview(title);
  std::weak_ptr<ui::ViewController> weakSelf = weak_from_this();
  auto button = std::make_shared<BVLButton>(ui::Rect(width - 220, 5, 200, 36), [weakSelf](BVLButton&) {
    auto self = weakSelf.lock();
    auto navigation = self ? self->navigationController() : nullptr;
    if (navigation) navigation->pushViewController(BackupsTableViewController::forOptions(), true);
  });
  button->setTitle("Restore...", ui::ControlState::Normal);
  row->addSubview(button);
  tableView_->setTableHeaderView(row);
}

void OptionsTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void OptionsTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

long OptionsTableViewController::numberOfSectionsInTableView(ui::TableView&) { return long(sections.size()); }

long OptionsTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  return long(definitions.at(sections.at(size_t(section))).size());
}

std::shared_ptr<ui::TableViewCell> OptionsTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                     const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<OptionTableViewCell>(tableView.dequeueReusableCell(cellIdentifier, indexPath));
  return cell->makeReadyWithIndexPath(indexPath, sections, definitions);
}

std::shared_ptr<ui::View> OptionsTableViewController::viewForHeaderInSection(ui::TableView& tableView, long section) {
  return makeSectionHeaderView(sections.at(size_t(section)), tableView.frame().width());
}
