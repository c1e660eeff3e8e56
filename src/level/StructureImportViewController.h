#pragma once

#include <memory>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/ViewController.h"

// The last step of importing a structure, once its file is chosen: the name
// to keep it under, typed with the game's keyboard (the file's name is
// offered), and "Import", which stores it as the command line does
// (TBKStructures::importStructure). A name refused, a name the world
// already keeps, a file that is not a structure: each is shown with its
// reason and nothing is written. Once stored, the screen goes back to the
// structures, which list it.
class StructureImportViewController : public ui::ViewController {
 public:
  StructureImportViewController(std::shared_ptr<TBKLevelDB> db, std::string file);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool prefersStatusBarHidden() const override { return false; }

  std::shared_ptr<BVLTextField> nameField() const { return nameField_; }
  std::shared_ptr<BVLButton> importButton() const { return importButton_; }

 private:
  void import();

  std::shared_ptr<TBKLevelDB> db_;
  std::string file_;
  std::shared_ptr<BVLPanorama> background_;
  std::shared_ptr<BVLLabel> fileLabel_, nameLabel_;
  std::shared_ptr<BVLTextField> nameField_;
  std::shared_ptr<BVLButton> importButton_;
};
