#include "worlds/ChoiceTableViewController.h"

#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "external/Tarnbook.h"
#include "records/Refusal.h"
#include "ui/Font.h"
#include "worlds/WorldTableViewCell.h"

ChoiceTableViewController::ChoiceTableViewController(std::string title, std::function<std::vector<Choice>()> list,
                                                     std::string whenEmpty, std::function<void(const Choice&)> chosen)
    : list_(std::move(list)), chosen_(std::move(chosen)) {
  setTitle(title);
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tableView_->registerClass<WorldTableViewCell>("cell");
  tableViewBackground_ = std::make_shared<ui::ImageView>(
      ui::Rect(0, 0, 1, 1), WorldTableViewCell::spritesheetTile(ui::Rect(34, 43, 14, 14), 28, 6));
  ui::Size size = ui::Font::named("Minecraft", 16).measure(whenEmpty);
  emptyLabel = std::make_shared<BVLLabel>(ui::Rect(0, 0, size.width + 4, size.height + 4));
  emptyLabel->setStyle(BVLLabel::DetailStyle);
  emptyLabel->setText(whenEmpty);
}

std::shared_ptr<ChoiceTableViewController> ChoiceTableViewController::forUsersFiles(
    const std::string& title, std::function<std::vector<std::string>(const std::string&)> namesIn,
    const std::string& whenEmpty, std::function<void(const Choice&)> chosen) {
  auto list = [namesIn] {
    std::vector<Choice> choices;
    for (const auto& folder : {TBKFileSource::documentsFolder(), TBKFileSource::downloadsFolder()}) {
      Outcome unread = attempt([&] {
        for (auto& name : namesIn(folder)) choices.push_back({name, folder, folder + "/" + name});
      });
      if (unread) showError(unread->reason);
    }
    return choices;
  };
  return std::make_shared<ChoiceTableViewController>(title, list, whenEmpty, chosen);
}

std::shared_ptr<ChoiceTableViewController> ChoiceTableViewController::forArchives(
    std::function<void(const Choice&)> chosen) {
  return forUsersFiles("Import", TBKWorldArchive::archivesIn, "No .mcworld files in your documents or downloads.",
                       std::move(chosen));
}

std::shared_ptr<ChoiceTableViewController> ChoiceTableViewController::forStructureFiles(
    std::function<void(const Choice&)> chosen) {
  return forUsersFiles("Import a Structure", TBKStructures::filesIn,
                       "No .mcstructure files in your documents or downloads.", std::move(chosen));
}

std::shared_ptr<ChoiceTableViewController> ChoiceTableViewController::forDataFolders(
    std::vector<TBKDataFolder> folders, std::function<void(const Choice&)> chosen) {
  auto list = [folders] {
    std::vector<Choice> choices;
    for (const auto& folder : folders) {
      choices.push_back(
          {folder.whose == "Shared" ? "Shared by every user" : "User " + folder.whose, folder.path, folder.path});
    }
    return choices;
  };
  return std::make_shared<ChoiceTableViewController>("Whose Worlds", list, "", chosen);
}

void ChoiceTableViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<ChoiceTableViewController>(shared_from_this());
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);
  view()->insertSubviewBelow(tableViewBackground_, tableView_);
  view()->addSubview(emptyLabel);
}

void ChoiceTableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) layOut();
  choices_ = list_();
  emptyLabel->setHidden(!choices_.empty());
  tableView_->reloadData();
}

void ChoiceTableViewController::layOut() {
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  double H = root->bounds().height();
  tableView_->setFrame(ui::Rect(20, 12, W - 40, H - 24));
  tableViewBackground_->setFrame(ui::Rect(14, 6, W - 28, H - 12));
  ui::Rect label = emptyLabel->frame();
  emptyLabel->setFrame(ui::Rect((W - label.width()) / 2, 30, label.width(), label.height()));
}

void ChoiceTableViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void ChoiceTableViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

std::shared_ptr<ui::TableViewCell> ChoiceTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                    const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<WorldTableViewCell>(tableView.dequeueReusableCell("cell", indexPath));
  const auto& choice = choices_.at(size_t(indexPath.row));
  cell->configureWithTitle(choice.title, choice.detail);
  return cell;
}

void ChoiceTableViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
  if (indexPath.row < 0 || size_t(indexPath.row) >= choices_.size()) return;
  if (chosen_) chosen_(choices_[size_t(indexPath.row)]);
}
