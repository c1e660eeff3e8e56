#include "level/StructureImportViewController.h"

#include <algorithm>

#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "records/Refusal.h"
#include "ui/NavigationController.h"

StructureImportViewController::StructureImportViewController(std::shared_ptr<TBKLevelDB> db, std::string file)
    : db_(std::move(db)), file_(std::move(file)) {
  setTitle("Structure Name");
  setEdgesForExtendedLayout(ui::RectEdge::None);
}

void StructureImportViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  std::weak_ptr<StructureImportViewController> weak =
      std::static_pointer_cast<StructureImportViewController>(shared_from_this());
  fileLabel_ = std::make_shared<BVLLabel>(ui::Rect());
  fileLabel_->setStyle(BVLLabel::DetailStyle);
  std::string offered = file_.substr(file_.rfind('/') + 1);
  fileLabel_->setText("From " + offered);
  nameLabel_ = std::make_shared<BVLLabel>(ui::Rect());
  nameLabel_->setText("Name");
  nameField_ = std::make_shared<BVLTextField>(ui::Rect(), nullptr);
  // The file's own name, without ".mcstructure", to start from.
  nameField_->setText(offered.substr(0, offered.size() - std::min(offered.size(), std::string(".mcstructure").size())));
  importButton_ = std::make_shared<BVLButton>(ui::Rect(), [weak](BVLButton&) {
    if (auto self = weak.lock()) self->import();
  });
  importButton_->setTitle("Import", ui::ControlState::Normal);
  for (const std::shared_ptr<ui::View>& shown :
       std::initializer_list<std::shared_ptr<ui::View>>{fileLabel_, nameLabel_, nameField_, importButton_}) {
    view()->addSubview(shown);
  }
}

void StructureImportViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (background_) return;
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  fileLabel_->setFrame(ui::Rect(24, 20, W - 48, 20));
  nameLabel_->setFrame(ui::Rect(24, 56, W - 48, 24));
  nameField_->setFrame(ui::Rect(24, 84, W - 48, 36));
  importButton_->setFrame(ui::Rect((W - 200) / 2, 140, 200, 40));
}

void StructureImportViewController::import() {
  std::string kept;
  Outcome outcome = attempt([&] {
    kept = TBKStructures::keptName(nameField_->text());
    auto names = TBKStructures::names(*db_);
    if (std::find(names.begin(), names.end(), kept) != names.end()) {
      throw TBKException(TBKException::Kind::Usage,
                         "This world keeps a structure named \"" + kept + "\" already. Choose another name.");
    }
    kept = TBKStructures::importStructure(*db_, file_, nameField_->text());
  });
  showRefusal(outcome);
  if (outcome) return;
  showNotice("Imported", "Kept as \"" + kept + "\".");
  // Back past the file chooser to the structures, which list it.
  auto navigation = navigationController();
  for (int screens = 0; navigation && screens < 2; ++screens) navigation->popViewControllerAnimated(true);
}
