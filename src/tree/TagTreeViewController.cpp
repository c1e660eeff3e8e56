#include "tree/TagTreeViewController.h"

#include <algorithm>

#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "records/TagTreeEdits.h"
#include "records/TagValueText.h"
#include "tree/TagTreeBarLayout.h"
#include "tree/TagTreeTableViewCell.h"

namespace {

constexpr double rowHeight = 28;

bool isContainer(const TBKTag& tag) { return tag.type() == TBKTagType::Compound || tag.type() == TBKTagType::List; }

// How a row's tag is named to the user: "Difficulty", or "entry 3 of Inventory".
std::string describeRow(const TagTreeRow& row) {
  if (row.parent->type() == TBKTagType::List) {
    return "entry " + std::to_string(row.index) + " of \"" + std::string(row.parent->name()) + "\"";
  }
  return "\"" + std::string(row.tag->name()) + "\"";
}

TagTreeEdits::Place placeOf(const TagTreeRow& row) { return {.parent = row.parent, .index = row.index}; }

// A call of `action` on the screen while it lives: what its controls hold.
template <class Self>
std::function<void()> calling(const std::shared_ptr<Self>& self, void (Self::*action)()) {
  std::weak_ptr<Self> weak = self;
  return [weak, action] {
    if (auto screen = weak.lock()) (screen.get()->*action)();
  };
}

}  // namespace

TagTreeViewController::TagTreeViewController(const std::string& title, std::shared_ptr<TreeRecord> record)
    : record_(std::move(record)), rows_(record_->tree()) {
  setTitle(title);
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(), ui::TableViewStyle::Plain);
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setSeparatorColor(ui::Color::clear());
  tableView_->setRowHeight(rowHeight);
  tableView_->registerClass<TagTreeTableViewCell>("tag");
}

TagTreeViewController::~TagTreeViewController() = default;

std::shared_ptr<TagTreeViewController> TagTreeViewController::forLevel(const std::shared_ptr<TBKLevelDB>& db) {
  auto level = db->levelData();
  if (!db->hasDatabase()) {
    // A world of the older format keeps its player inside level.dat, and
    // the level write puts the database's player tree there. Showing that
    // very tree makes an edit under "Player" the one that is written.
    try {
      if (level->compoundForKey("Player")) level->setValueForKey(db->player());
    } catch (const TBKException&) {
      // A damaged player record: the level's copy is shown as read.
    }
  }
  return std::make_shared<TagTreeViewController>("Level Data", TreeRecord::level(db, level));
}

std::shared_ptr<TagTreeViewController> TagTreeViewController::forPlayer(const std::shared_ptr<TBKLevelDB>& db,
                                                                        const std::string& key,
                                                                        std::shared_ptr<TBKCompoundTag> player) {
  return std::make_shared<TagTreeViewController>("Player Data", TreeRecord::player(db, key, std::move(player)));
}

void TagTreeViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<TagTreeViewController>(shared_from_this());
  std::weak_ptr<TagTreeViewController> weak = self;
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);

  toolbar_ = std::make_shared<TagTreeToolbar>(TagTreeToolbar::Actions{
      .searchChanged =
          [weak](const std::string& text) {
            if (auto screen = weak.lock()) {
              screen->rows_.setSearch(text);
              screen->reloadKeepingSelection(screen->selected_);
            }
          },
      // Return leaves the search for the rows it found, the first one chosen.
      .searchReturned =
          [weak] {
            auto screen = weak.lock();
            if (screen && !screen->selectedRow()) screen->selectRow(0);
          },
      .add = calling(self, &TagTreeViewController::addToSelected),
      .rename = calling(self, &TagTreeViewController::renameSelected),
      .remove = calling(self, &TagTreeViewController::removeSelected),
  });
  view()->addSubview(toolbar_);

  promptBar_ = std::make_shared<TagTreePromptBar>(
      TagTreePromptBar::Actions{.confirm = calling(self, &TagTreeViewController::confirmPrompt),
                                .cancel = calling(self, &TagTreeViewController::cancelPrompt),
                                .nextType = [weak] {
                                  if (auto screen = weak.lock()) screen->promptBar_->cycleType(1);
                                }});
  promptBar_->setHidden(true);
  view()->addSubview(promptBar_);
}

void TagTreeViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) layOut();
  tableView_->reloadData();
}

void TagTreeViewController::layOut() {
  background_ = addTableScreenBackground(*view());
  auto frames = TagTreeBarLayout::screen(view()->bounds().size);
  toolbar_->setFrame(frames.bar);
  promptBar_->setFrame(frames.bar);
  tableView_->setFrame(frames.table);
}

void TagTreeViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  background_->pan();
}

void TagTreeViewController::viewDidDisappear(bool animated) {
  ViewController::viewDidDisappear(animated);
  background_->setShouldPan(false);
}

std::shared_ptr<ui::TableViewCell> TagTreeViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                const ui::IndexPath& indexPath) {
  auto cell = std::static_pointer_cast<TagTreeTableViewCell>(tableView.dequeueReusableCell("tag", indexPath));
  const TagTreeRow& row = rows_.rows().at(size_t(indexPath.row));
  cell->prepareWithRow(row, row.tag == selected_);
  return cell;
}

std::optional<size_t> TagTreeViewController::selectedRow() const {
  size_t row = rows_.rowOf(selected_);
  if (!selected_ || row == rows_.rows().size()) return std::nullopt;
  return row;
}

void TagTreeViewController::refreshRow(size_t row) {
  if (row >= rows_.rows().size()) return;
  if (auto cell = std::dynamic_pointer_cast<TagTreeTableViewCell>(
          tableView_->cellForRowAtIndexPath(ui::IndexPath{0, long(row)}))) {
    cell->prepareWithRow(rows_.rows()[row], rows_.rows()[row].tag == selected_);
  }
}

void TagTreeViewController::selectRow(size_t row) {
  if (row >= rows_.rows().size()) return;
  std::optional<size_t> before = selectedRow();
  selected_ = rows_.rows()[row].tag;
  if (before) refreshRow(*before);
  refreshRow(row);
  tableView_->scrollRectToVisible(tableView_->rectForRowAtIndexPath(ui::IndexPath{0, long(row)}), false);
}

void TagTreeViewController::setRowOpen(size_t row, bool open) {
  if (row >= rows_.rows().size()) return;
  rows_.setOpen(row, open);
  reloadKeepingSelection(selected_);
}

void TagTreeViewController::reloadKeepingSelection(const TBKTag* selected) {
  selected_ = selected;
  tableView_->reloadData();
  if (auto row = selectedRow()) {
    tableView_->scrollRectToVisible(tableView_->rectForRowAtIndexPath(ui::IndexPath{0, long(*row)}), false);
  }
}

void TagTreeViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, false);
  auto row = size_t(indexPath.row);
  if (row >= rows_.rows().size()) return;
  const TagTreeRow& tapped = rows_.rows()[row];
  bool wasSelected = tapped.tag == selected_;
  selectRow(row);
  // A compound or list opens and closes with a tap; a value is edited by
  // tapping its row again.
  if (isContainer(*tapped.tag)) {
    setRowOpen(row, !tapped.open);
  } else if (wasSelected) {
    editSelected();
  }
}

void TagTreeViewController::moveSelection(long step) {
  long count = long(rows_.rows().size());
  if (count == 0) return;
  std::optional<size_t> row = selectedRow();
  long next = row ? std::clamp(long(*row) + step, 0L, count - 1) : 0;
  selectRow(size_t(next));
}

bool TagTreeViewController::performKeyCommand(ui::KeyCommand command) {
  using ui::KeyCommand;
  if (promptShown()) {
    bool typed = prompt_ == Prompt::AddChild || prompt_ == Prompt::ListType;
    if (command == KeyCommand::Cancel) {
      cancelPrompt();
    } else if (command == KeyCommand::Confirm) {
      confirmPrompt();
    } else if (typed && (command == KeyCommand::LineUp || command == KeyCommand::LineDown)) {
      promptBar_->cycleType(command == KeyCommand::LineDown ? 1 : -1);
    } else {
      return false;
    }
    return true;
  }
  std::optional<size_t> row = selectedRow();
  switch (command) {
    case KeyCommand::LineUp:
    case KeyCommand::LineDown:
      moveSelection(command == KeyCommand::LineDown ? 1 : -1);
      return true;
    case KeyCommand::LineRight:
      if (!row || !isContainer(*rows_.rows()[*row].tag)) return false;
      if (rows_.rows()[*row].open) {
        moveSelection(1);
      } else {
        setRowOpen(*row, true);
      }
      return true;
    case KeyCommand::LineLeft:
      if (!row) return false;
      if (rows_.rows()[*row].open) {
        setRowOpen(*row, false);
      } else if (size_t parent = rows_.parentRow(*row); parent < rows_.rows().size()) {
        selectRow(parent);
      }
      return true;
    case KeyCommand::Confirm:
      if (!row) return false;
      if (isContainer(*rows_.rows()[*row].tag)) {
        setRowOpen(*row, !rows_.rows()[*row].open);
      } else {
        editSelected();
      }
      return true;
    case KeyCommand::Delete:
      if (!row) return false;
      removeSelected();
      return true;
    default:
      return false;
  }
}

void TagTreeViewController::showPrompt(Prompt prompt, const std::string& question,
                                       const std::optional<std::string>& text, const TBKTag* target) {
  prompt_ = prompt;
  promptTarget_ = target;
  toolbar_->setHidden(true);
  promptBar_->setHidden(false);
  promptBar_->prepare(question, prompt == Prompt::AddChild || prompt == Prompt::ListType, text);
}

void TagTreeViewController::closePrompt() {
  prompt_ = Prompt::None;
  promptTarget_ = nullptr;
  promptBar_->setHidden(true);
  toolbar_->setHidden(false);
  if (promptBar_->field->isFirstResponder()) promptBar_->field->resignFirstResponder();
}

void TagTreeViewController::cancelPrompt() { closePrompt(); }

void TagTreeViewController::editSelected() {
  std::optional<size_t> row = selectedRow();
  if (!row || isContainer(*rows_.rows()[*row].tag)) return;
  const TagTreeRow& shown = rows_.rows()[*row];
  if (Outcome refused = TagTreeEdits::refusalToChange(placeOf(shown))) return showRefusal(refused);
  std::string label = (shown.parent->type() == TBKTagType::List ? "[" + std::to_string(shown.index) + "]"
                                                                : std::string(shown.tag->name())) +
                      " (" + TagValueText::typeName(*shown.tag) + "):";
  showPrompt(Prompt::Value, label, TagValueText::valueText(*shown.tag), shown.tag);
}

void TagTreeViewController::renameSelected() {
  std::optional<size_t> row = selectedRow();
  if (!row) return;
  if (Outcome refused = TagTreeEdits::refusalToRename(placeOf(rows_.rows()[*row]))) return showRefusal(refused);
  const TBKTag* tag = rows_.rows()[*row].tag;
  showPrompt(Prompt::Rename, "Rename \"" + std::string(tag->name()) + "\" to:", std::string(tag->name()), tag);
}

void TagTreeViewController::addToSelected() {
  std::optional<size_t> row = selectedRow();
  // The selected compound or list, else the one holding the selected tag.
  TBKTag* container = !row                                   ? rows_.root().get()
                      : isContainer(*rows_.rows()[*row].tag) ? const_cast<TBKTag*>(rows_.rows()[*row].tag)
                                                             : rows_.rows()[*row].parent;
  std::string name = container == rows_.root().get() ? "the top" : "\"" + std::string(container->name()) + "\"";
  if (container->type() == TBKTagType::Compound) {
    return showPrompt(Prompt::AddChild, "New tag in " + name + ":", "", container);
  }
  auto& list = static_cast<TBKListTag&>(*container);
  if (list.elementType() == TBKTagType::End) {
    return showPrompt(Prompt::ListType, "Entries of " + name + " are:", std::nullopt, container);
  }
  // A list's entries share its type: a new one starts empty, ready to edit.
  rows_.setOpen(rows_.rowOf(container), true);
  show(TagTreeEdits::addEntry(*record_, list, list.elementType()), [&list] { return list.value().back().get(); });
}

void TagTreeViewController::removeSelected() {
  std::optional<size_t> row = selectedRow();
  if (!row) return;
  const TagTreeRow& shown = rows_.rows()[*row];
  if (Outcome refused = TagTreeEdits::refusalToChange(placeOf(shown))) return showRefusal(refused);
  pendingRemoval_ = shown.tag;
  std::string what = TagValueText::typeName(*shown.tag) + " " + TagValueText::valueText(*shown.tag, 40);
  auto alert = std::make_shared<ui::AlertView>("Remove " + describeRow(shown) + "?",
                                               "The " + what + " goes from the file, with everything in it.",
                                               std::static_pointer_cast<TagTreeViewController>(shared_from_this()),
                                               "Cancel", std::vector<std::string>{"Remove"});
  alert->show();
}

void TagTreeViewController::clickedButtonAtIndex(ui::AlertView& alert, long buttonIndex) {
  const TBKTag* removing = pendingRemoval_;
  pendingRemoval_ = nullptr;
  if (buttonIndex == alert.cancelButtonIndex() || !removing) return;
  size_t row = rows_.rowOf(removing);
  if (row == rows_.rows().size()) return;
  TagTreeRow shown = rows_.rows()[row];
  // The selection goes to the row that takes its place, else the one above.
  const TBKTag* next = row + 1 < rows_.rows().size() && rows_.rows()[row + 1].depth == shown.depth
                           ? rows_.rows()[row + 1].tag
                       : row > 0 ? rows_.rows()[row - 1].tag
                                 : nullptr;
  show(TagTreeEdits::remove(*record_, placeOf(shown)), [next] { return next; });
}

void TagTreeViewController::confirmPrompt() {
  if (!promptShown()) return;
  std::string text = promptBar_->field->text();
  size_t row = rows_.rowOf(promptTarget_);
  bool written = true;
  switch (prompt_) {
    case Prompt::Value:
    case Prompt::Rename: {
      if (row == rows_.rows().size()) break;
      TagTreeEdits::Place place = placeOf(rows_.rows()[row]);
      if (prompt_ == Prompt::Rename) {
        written = show(TagTreeEdits::rename(*record_, place, text), [tag = promptTarget_] { return tag; });
      } else {
        written =
            show(TagTreeEdits::setValue(*record_, place, text), [place] { return TagTreeEdits::tagAt(place).get(); });
      }
      break;
    }
    case Prompt::AddChild: {
      auto& compound = static_cast<TBKCompoundTag&>(*const_cast<TBKTag*>(promptTarget_));
      rows_.setOpen(row, true);
      written = show(TagTreeEdits::addChild(*record_, compound, promptBar_->type(), text),
                     [&compound] { return compound.value().back().get(); });
      break;
    }
    case Prompt::ListType: {
      auto& list = static_cast<TBKListTag&>(*const_cast<TBKTag*>(promptTarget_));
      rows_.setOpen(row, true);
      written = show(TagTreeEdits::addEntry(*record_, list, promptBar_->type()),
                     [&list] { return list.value().back().get(); });
      break;
    }
    case Prompt::None:
      break;
  }
  // A refused edit keeps the prompt, its text ready to be put right.
  if (written) closePrompt();
}

bool TagTreeViewController::show(const Outcome& outcome, const std::function<const TBKTag*()>& selectAfter) {
  rows_.rebuild();
  reloadKeepingSelection(outcome ? selected_ : selectAfter());
  showRefusal(outcome);
  return !outcome;
}
