#include "options/OptionsTableViewController.h"

#include "app/SectionHeaderView.h"
#include "app/TableScreenBackground.h"
#include "backups/BackupsTableViewController.h"
#include "options/OptionTableViewCell.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"

namespace {

const char* const cellIdentifier = "cell";

}  // namespace

const OptionsTable& OptionsTableViewController::earlyTable() {
  static const OptionsTable table{
      .edit = OptionsFile::Edit::Early,
      .sections = {
          {.name = "General",
           .rows = {{.name = "Username", .setting = "mp_username", .kind = OptionKind::TextField},
                    {.name = "Difficulty", .setting = "game_difficulty", .kind = OptionKind::TextField},
                    {.name = "Third Person", .setting = "game_thirdperson", .kind = OptionKind::Switch},
                    {.name = "Server Visible", .setting = "game_server_visible", .kind = OptionKind::Switch},
                    {.name = "Limit World Size", .setting = "game_limitworldsize", .kind = OptionKind::Switch}}},
          {.name = "Graphics",
           .rows = {{.name = "Render Distance", .setting = "gfx_renderdistance_new", .kind = OptionKind::TextField},
                    {.name = "Fancy Graphics", .setting = "gfx_fancygraphics", .kind = OptionKind::Switch},
                    {.name = "Pixel Density", .setting = "gfx_pixeldensity", .kind = OptionKind::TextField}}},
          {.name = "Controls",
           .rows = {{.name = "Sensitivity", .setting = "ctrl_sensitivity", .kind = OptionKind::Slider}}},
          {.name = "Sounds", .rows = {}},
          {.name = "Developer",
           .rows = {{.name = "Automatically Load Level", .setting = "dev_autoloadlevel", .kind = OptionKind::Switch},
                    {.name = "Show Chunk Map", .setting = "dev_showchunkmap", .kind = OptionKind::Switch},
                    {.name = "Disable File System", .setting = "dev_disablefilesystem", .kind = OptionKind::Switch},
                    {.name = "Flat World Layers", .setting = "game_flatworldlayers", .kind = OptionKind::TextField}}},
      }};
  return table;
}

// Today's rows are checked: today's files are long and are edited by other
// tools too, so a row writes only into a file it reads whole. A ranged
// slider without ends of its own runs from 0 to 1.
const OptionsTable& OptionsTableViewController::todaysTable() {
  static const OptionsTable table{
      .edit = OptionsFile::Edit::Checked,
      .sections = {
          {.name = "General",
           .rows = {{.name = "Username", .setting = "mp_username", .kind = OptionKind::TextField},
                    {.name = "Difficulty",
                     .setting = "game_difficulty_new",
                     .kind = OptionKind::Choice,
                     .names = {"Peaceful", "Easy", "Normal", "Hard"}},
                    {.name = "Camera",
                     .setting = "game_thirdperson",
                     .kind = OptionKind::Choice,
                     .names = {"First Person", "Third Person Back", "Third Person Front"}},
                    {.name = "Visible to LAN Players", .setting = "mp_server_visible", .kind = OptionKind::Switch}}},
          {.name = "Video",
           .rows = {{.name = "Render Distance",
                     .setting = "gfx_viewdistance",
                     .kind = OptionKind::WholeSlider,
                     .minimum = 4,
                     .maximum = 96,
                     .steps = 1,
                     .scale = 16},
                    {.name = "Field of View",
                     .setting = "gfx_field_of_view",
                     .kind = OptionKind::RangeSlider,
                     .minimum = 30,
                     .maximum = 110,
                     .steps = 1},
                    {.name = "Brightness", .setting = "gfx_gamma", .kind = OptionKind::RangeSlider, .steps = 100},
                    {.name = "Fancy Skies", .setting = "gfx_fancyskies", .kind = OptionKind::Switch},
                    {.name = "Smooth Lighting", .setting = "gfx_smoothlighting", .kind = OptionKind::Switch},
                    {.name = "Fancy Leaves", .setting = "gfx_transparentleaves", .kind = OptionKind::Switch},
                    {.name = "View Bobbing", .setting = "gfx_viewbobbing", .kind = OptionKind::Switch},
                    {.name = "VSync", .setting = "gfx_vsync", .kind = OptionKind::Switch},
                    {.name = "Fullscreen", .setting = "gfx_fullscreen", .kind = OptionKind::Switch},
                    {.name = "Max Framerate",
                     .setting = "gfx_max_framerate",
                     .kind = OptionKind::WholeSlider,
                     .minimum = 0,
                     .maximum = 250,
                     .steps = 1,
                     .zeroName = "Unlimited"}}},
          {.name = "Controls",
           .rows = {{.name = "Mouse Sensitivity",
                     .setting = "ctrl_sensitivity2_mouse",
                     .kind = OptionKind::RangeSlider,
                     .steps = 100},
                    {.name = "Touch Sensitivity",
                     .setting = "ctrl_sensitivity2_touch",
                     .kind = OptionKind::RangeSlider,
                     .steps = 100},
                    {.name = "Controller Sensitivity",
                     .setting = "ctrl_sensitivity2_gamepad",
                     .kind = OptionKind::RangeSlider,
                     .steps = 100},
                    {.name = "Invert Mouse", .setting = "ctrl_invertmouse_mouse", .kind = OptionKind::Switch},
                    {.name = "Auto Jump", .setting = "ctrl_autojump_mouse", .kind = OptionKind::Switch}}},
          {.name = "Audio",
           .rows = {{.name = "Main Volume", .setting = "audio_main", .kind = OptionKind::RangeSlider, .steps = 100},
                    {.name = "Music", .setting = "audio_music", .kind = OptionKind::RangeSlider, .steps = 100},
                    {.name = "Sound", .setting = "audio_sound", .kind = OptionKind::RangeSlider, .steps = 100},
                    {.name = "Ambient/Environment",
                     .setting = "audio_ambient",
                     .kind = OptionKind::RangeSlider,
                     .steps = 100},
                    {.name = "Blocks", .setting = "audio_block", .kind = OptionKind::RangeSlider, .steps = 100},
                    {.name = "Hostile Creatures",
                     .setting = "audio_hostile",
                     .kind = OptionKind::RangeSlider,
                     .steps = 100},
                    {.name = "Friendly Creatures",
                     .setting = "audio_neutral",
                     .kind = OptionKind::RangeSlider,
                     .steps = 100},
                    {.name = "Players", .setting = "audio_player", .kind = OptionKind::RangeSlider, .steps = 100},
                    {.name = "Jukebox/Note Blocks",
                     .setting = "audio_record",
                     .kind = OptionKind::RangeSlider,
                     .steps = 100},
                    {.name = "Weather", .setting = "audio_weather", .kind = OptionKind::RangeSlider, .steps = 100}}},
      }};
  return table;
}

OptionsTableViewController::OptionsTableViewController() {
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
  // Every showing reads the file again: the game may have changed it, or
  // been updated and written today's keys since.
  table_ = file_.isTodays() ? &todaysTable() : &earlyTable();
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

long OptionsTableViewController::numberOfSectionsInTableView(ui::TableView&) { return long(table_->sections.size()); }

long OptionsTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  return long(table_->sections.at(size_t(section)).rows.size());
}

std::shared_ptr<ui::TableViewCell> OptionsTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                     const ui::IndexPath& indexPath) {
  const OptionRow& row = table_->sections.at(size_t(indexPath.section)).rows.at(size_t(indexPath.row));
  auto cell = std::static_pointer_cast<OptionTableViewCell>(tableView.dequeueReusableCell(cellIdentifier, indexPath));
  // The file keeps nothing, so the cell may hold a copy of it.
  return cell->makeReady(
      row, [file = file_, key = row.setting, edit = table_->edit] { return file.value(key, edit); },
      [file = file_, key = row.setting, edit = table_->edit](const std::string& value) {
        return file.write(key, value, edit);
      });
}

std::shared_ptr<ui::View> OptionsTableViewController::viewForHeaderInSection(ui::TableView& tableView, long section) {
  return makeSectionHeaderView(table_->sections.at(size_t(section)).name, tableView.frame().width());
}
