#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "records/TreeRecord.h"
#include "tree/TagTreePromptBar.h"
#include "tree/TagTreeRows.h"
#include "tree/TagTreeToolbar.h"
#include "ui/AlertView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

// Every tag of one tree (a world's level, or a player record) as an
// indented table in the game's look, with a search field and the ways to
// change, add, rename and remove tags.
//
// Each change is one of TagTreeEdits, made through the screen's TreeRecord:
// written, or refused and shown with showRefusal, the tree left as it is on
// disk either way.
//
// Keys: Up and Down move the selection, Right opens and Left closes (or goes
// to the parent), Return edits (opens or closes a compound or list), Delete
// asks to remove, Escape leaves an edit unchanged.
class TagTreeViewController : public ui::ViewController,
                              public ui::TableViewDataSource,
                              public ui::TableViewDelegate,
                              public ui::AlertViewDelegate {
 public:
  TagTreeViewController(const std::string& title, std::shared_ptr<TreeRecord> record);
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
  std::shared_ptr<BVLTextField> searchField() const { return toolbar_->searchField; }
  std::shared_ptr<BVLTextField> promptField() const { return promptBar_->field; }
  // Its type button goes through the types a new tag may have, as Up and Down do.
  const std::shared_ptr<TagTreePromptBar>& promptBar() const { return promptBar_; }
  std::shared_ptr<BVLButton> addButton() const { return toolbar_->addButton; }
  std::shared_ptr<BVLButton> renameButton() const { return toolbar_->renameButton; }
  std::shared_ptr<BVLButton> removeButton() const { return toolbar_->removeButton; }

 private:
  enum class Prompt { None, Value, Rename, AddChild, ListType };

  void layOut();
  // Asks about `target` (the tag to change, or the compound or list to add
  // to); `text` is the field's, none when a list's type is asked for.
  void showPrompt(Prompt prompt, const std::string& question, const std::optional<std::string>& text,
                  const TBKTag* target);
  void closePrompt();
  // The rows after an edit: written, the tag `selectAfter` gives is
  // chosen; refused, the reason is shown. True when written.
  bool show(const Outcome& outcome, const std::function<const TBKTag*()>& selectAfter);
  void reloadKeepingSelection(const TBKTag* selected);
  void refreshRow(size_t row);
  void moveSelection(long step);

  std::shared_ptr<TreeRecord> record_;
  TagTreeRows rows_;
  const TBKTag* selected_ = nullptr;
  const TBKTag* pendingRemoval_ = nullptr;
  Prompt prompt_ = Prompt::None;
  const TBKTag* promptTarget_ = nullptr;

  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<BVLPanorama> background_;
  std::shared_ptr<TagTreeToolbar> toolbar_;
  std::shared_ptr<TagTreePromptBar> promptBar_;
};
