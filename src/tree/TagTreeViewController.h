#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "tree/TagTreeRows.h"
#include "ui/AlertView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// Every tag of one tree (a world's level, or a player record) as an
// indented table in the game's look, with a search field and the ways to
// change, add, rename and remove tags.
//
// Each change is made to the tree in place and then the whole tree is
// handed to `save`. When `save` raises TBKException the change is taken
// back out of the tree and the reason is shown: the tree on screen is
// always the one on disk. A typed value the tag's type cannot hold is
// refused with a reason before anything is written.
//
// Keys: Up and Down move the selection, Right opens and Left closes (or goes
// to the parent), Return edits (opens or closes a compound or list), Delete
// asks to remove, Escape leaves an edit unchanged.
class TagTreeViewController : public ui::ViewController,
                              public ui::TableViewDataSource,
                              public ui::TableViewDelegate,
                              public ui::AlertViewDelegate {
 public:
  using Save = std::function<void(const std::shared_ptr<TBKCompoundTag>&)>;

  TagTreeViewController(const std::string& title, std::shared_ptr<TBKCompoundTag> tree, Save save);
  ~TagTreeViewController() override;

  // The world's level tree, written with the world's level write. Raises
  // the library's TBKException when level.dat cannot be read.
  static std::shared_ptr<TagTreeViewController> forLevel(const std::shared_ptr<TBKLevelDB>& db);
  // The player record under `key`, written with the world's write of that
  // record: the tree as db->playerForKey(key) gives it.
  static std::shared_ptr<TagTreeViewController> forPlayer(const std::shared_ptr<TBKLevelDB>& db, const std::string& key,
                                                          std::shared_ptr<TBKCompoundTag> player);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool performKeyCommand(ui::KeyCommand command) override;

  long numberOfRowsInSection(ui::TableView&, long) override { return long(rows_.rows().size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
  void clickedButtonAtIndex(ui::AlertView& alert, long buttonIndex) override;

  const TagTreeRows& rows() const { return rows_; }
  const std::shared_ptr<TBKCompoundTag>& tree() const { return rows_.root(); }
  // The selected row, or none.
  std::optional<size_t> selectedRow() const;
  void selectRow(size_t row);
  // Opens or closes the row's compound or list.
  void setRowOpen(size_t row, bool open);

  // What the buttons and keys start. Each shows the prompt (or, for a
  // removal, a confirmation naming what goes); nothing is written until it
  // is confirmed.
  void editSelected();
  void renameSelected();
  void addToSelected();
  void removeSelected();
  // The prompt's Return (or OK) and Escape (or Cancel).
  void confirmPrompt();
  void cancelPrompt();
  bool promptShown() const { return prompt_ != Prompt::None; }

  std::shared_ptr<ui::TableView> tableView() const { return tableView_; }
  std::shared_ptr<BVLTextField> searchField() const { return searchField_; }
  std::shared_ptr<BVLTextField> promptField() const { return promptField_; }
  // The type a new tag will have; tapping it (or Up and Down) goes through them.
  std::shared_ptr<BVLButton> typeButton() const { return typeButton_; }
  std::shared_ptr<BVLButton> addButton() const { return addButton_; }
  std::shared_ptr<BVLButton> renameButton() const { return renameButton_; }
  std::shared_ptr<BVLButton> removeButton() const { return removeButton_; }

 private:
  enum class Prompt { None, Value, Rename, AddChild, ListType };
  struct Change {
    std::function<void()> apply;
    std::function<void()> revert;
  };

  void layOut();
  void showPrompt(Prompt prompt, const std::string& label, const std::string& text);
  void closePrompt();
  void cycleType(int step);
  // Applies, saves and shows; on a refused save, reverts and explains.
  bool write(const Change& change, const TBKTag* selectAfter);
  void refuse(const std::string& reason);
  void reloadKeepingSelection(const TBKTag* selected);
  void refreshRow(size_t row);
  void moveSelection(long step);
  TBKTag* containerForAdding() const;

  TagTreeRows rows_;
  Save save_;
  const TBKTag* selected_ = nullptr;
  const TBKTag* pendingRemoval_ = nullptr;
  Prompt prompt_ = Prompt::None;
  const TBKTag* promptTarget_ = nullptr;
  TBKTagType promptType_ = TBKTagType::Int;

  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
  std::shared_ptr<ui::View> toolbar_;
  std::shared_ptr<BVLTextField> searchField_;
  std::shared_ptr<BVLButton> addButton_;
  std::shared_ptr<BVLButton> renameButton_;
  std::shared_ptr<BVLButton> removeButton_;
  std::shared_ptr<ui::View> promptBar_;
  std::shared_ptr<BVLLabel> promptLabel_;
  std::shared_ptr<BVLTextField> promptField_;
  std::shared_ptr<BVLButton> typeButton_;
  std::shared_ptr<BVLButton> okButton_;
  std::shared_ptr<BVLButton> cancelButton_;
};
