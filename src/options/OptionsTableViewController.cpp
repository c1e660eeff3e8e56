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

const OptionsTable& OptionsTableViewController::earlyTable() {
  static const OptionsTable table{{"General", "Graphics", "Controls", "Sounds", "Developer"},
                                  {
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
                                  }};
  return table;
}

namespace {

// Today's rows, each checked: today's files are long and are edited by
// other tools too, so a row writes only into a file it reads whole.
OptionDefinition checked(OptionDefinition row) {
  row.checked = true;
  return row;
}
OptionDefinition textRow(const char* name, const char* key) { return checked({name, key, text}); }
OptionDefinition switchRow(const char* name, const char* key) { return checked({name, key, toggle}); }
OptionDefinition choiceRow(const char* name, const char* key, std::vector<std::string> names) {
  return checked({name, key, OptionTableViewCell::ChoiceType, std::move(names)});
}
// The file holds a decimal from `minimum` to `maximum`, set in `steps` a unit.
OptionDefinition sliderRow(const char* name, const char* key, float minimum, float maximum, int steps) {
  return checked({name, key, OptionTableViewCell::RangeSliderType, {}, minimum, maximum, steps});
}
// The file holds `scale` times a whole number from `minimum` to `maximum`.
OptionDefinition wholeRow(const char* name, const char* key, float minimum, float maximum, int scale,
                          std::string zeroName = {}) {
  return checked({name, key, OptionTableViewCell::WholeSliderType, {}, minimum, maximum, 1, scale, zeroName});
}
// A decimal from 0 to 1, set in hundredths.
OptionDefinition fractionRow(const char* name, const char* key) { return sliderRow(name, key, 0, 1, 100); }

}  // namespace

const OptionsTable& OptionsTableViewController::todaysTable() {
  static const OptionsTable table{
      {"General", "Video", "Controls", "Audio"},
      {
          {"General",
           {textRow("Username", "mp_username"),
            choiceRow("Difficulty", "game_difficulty_new", {"Peaceful", "Easy", "Normal", "Hard"}),
            choiceRow("Camera", "game_thirdperson", {"First Person", "Third Person Back", "Third Person Front"}),
            switchRow("Visible to LAN Players", "mp_server_visible")}},
          {"Video",
           {wholeRow("Render Distance", "gfx_viewdistance", 4, 96, 16),
            sliderRow("Field of View", "gfx_field_of_view", 30, 110, 1),
            sliderRow("Brightness", "gfx_gamma", 0, 1, 100), switchRow("Fancy Skies", "gfx_fancyskies"),
            switchRow("Smooth Lighting", "gfx_smoothlighting"), switchRow("Fancy Leaves", "gfx_transparentleaves"),
            switchRow("View Bobbing", "gfx_viewbobbing"), switchRow("VSync", "gfx_vsync"),
            switchRow("Fullscreen", "gfx_fullscreen"),
            wholeRow("Max Framerate", "gfx_max_framerate", 0, 250, 1, "Unlimited")}},
          {"Controls",
           {fractionRow("Mouse Sensitivity", "ctrl_sensitivity2_mouse"),
            fractionRow("Touch Sensitivity", "ctrl_sensitivity2_touch"),
            fractionRow("Controller Sensitivity", "ctrl_sensitivity2_gamepad"),
            switchRow("Invert Mouse", "ctrl_invertmouse_mouse"), switchRow("Auto Jump", "ctrl_autojump_mouse")}},
          {"Audio",
           {fractionRow("Main Volume", "audio_main"), fractionRow("Music", "audio_music"),
            fractionRow("Sound", "audio_sound"), fractionRow("Ambient/Environment", "audio_ambient"),
            fractionRow("Blocks", "audio_block"), fractionRow("Hostile Creatures", "audio_hostile"),
            fractionRow("Friendly Creatures", "audio_neutral"), fractionRow("Players", "audio_player"),
            fractionRow("Jukebox/Note Blocks", "audio_record"), fractionRow("Weather", "audio_weather")}},
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
  table_ = OptionTableViewCell::fileIsTodays() ? &todaysTable() : &earlyTable();
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

long OptionsTableViewController::numberOfSectionsInTableView(ui::TableView&) { return long(sections().size()); }

long OptionsTableViewController::numberOfRowsInSection(ui::TableView&, long section) {
  return long(definitions().at(sections().at(size_t(section))).size());
}

std::shared_ptr<ui::TableViewCell> OptionsTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                     const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<OptionTableViewCell>(tableView.dequeueReusableCell(cellIdentifier, indexPath));
  return cell->makeReadyWithIndexPath(indexPath, sections(), definitions());
}

std::shared_ptr<ui::View> OptionsTableViewController::viewForHeaderInSection(ui::TableView& tableView, long section) {
  return makeSectionHeaderView(sections().at(size_t(section)), tableView.frame().width());
}
