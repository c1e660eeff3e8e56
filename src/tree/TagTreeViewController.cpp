#include "tree/TagTreeViewController.h"

#include <algorithm>

#include "app/RefusalAlert.h"
#include "app/TableScreenBackground.h"
#include "tree/TagTreeTableViewCell.h"
#include "tree/TagValueText.h"
#include "ui/Font.h"

namespace {

constexpr double barHeight = 40;
constexpr double rowHeight = 28;

// The order the type button goes through.
const TBKTagType addableTypes[] = {
    TBKTagType::Byte,  TBKTagType::Short,     TBKTagType::Int,      TBKTagType::Long,
    TBKTagType::Float, TBKTagType::Double,    TBKTagType::String,   TBKTagType::Compound,
    TBKTagType::List,  TBKTagType::ByteArray, TBKTagType::IntArray, TBKTagType::LongArray,
};

bool isContainer(const TBKTag& tag) { return tag.type() == TBKTagType::Compound || tag.type() == TBKTagType::List; }

// How a row's tag is named to the user: "Difficulty", or "entry 3 of Inventory".
std::string describeRow(const TagTreeRow& row) {
  if (row.parent->type() == TBKTagType::List) {
    return "entry " + std::to_string(row.index) + " of \"" + row.parent->name() + "\"";
  }
  return "\"" + row.tag->name() + "\"";
}

// A compound from a damaged file may hold two children of one name. The
// library's edits by name would reach the first of them, whichever row was
// chosen, so neither is edited.
bool nameIsShared(const TagTreeRow& row) {
  if (row.parent->type() != TBKTagType::Compound) return false;
  const auto& children = static_cast<const TBKCompoundTag&>(*row.parent).value();
  return std::count_if(children.begin(), children.end(),
                       [&](const auto& child) { return child->name() == row.tag->name(); }) > 1;
}

std::string sharedNameReason(const TagTreeRow& row) {
  return "The compound holds more than one tag named \"" + row.tag->name() +
         "\": they are left as they are, since a change could reach the wrong one.";
}

template <class Self>
std::function<void(BVLButton&)> tapping(const std::shared_ptr<Self>& self, void (Self::*action)()) {
  std::weak_ptr<Self> weak = self;
  return [weak, action](BVLButton&) {
    if (auto screen = weak.lock()) (screen.get()->*action)();
  };
}

}  // namespace

TagTreeViewController::TagTreeViewController(const std::string& title, std::shared_ptr<TBKCompoundTag> tree, Save save)
    : rows_(std::move(tree)), save_(std::move(save)) {
  setTitle(title);
  setEdgesForExtendedLayout(ui::RectEdge::None);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect(0, barHeight, 320, 440), ui::TableViewStyle::Plain);
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
  return std::make_shared<TagTreeViewController>(
      "Level Data", level, [db](const std::shared_ptr<TBKCompoundTag>& tree) { db->setLevelData(tree); });
}

std::shared_ptr<TagTreeViewController> TagTreeViewController::forPlayer(const std::shared_ptr<TBKLevelDB>& db,
                                                                        const std::string& key,
                                                                        std::shared_ptr<TBKCompoundTag> player) {
  return std::make_shared<TagTreeViewController>(
      "Player Data", std::move(player),
      [db, key](const std::shared_ptr<TBKCompoundTag>& tree) { db->setPlayerForKey(key, tree); });
}

void TagTreeViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  auto self = std::static_pointer_cast<TagTreeViewController>(shared_from_this());
  std::weak_ptr<TagTreeViewController> weak = self;
  tableView_->setDataSource(self);
  tableView_->setDelegate(self);
  view()->addSubview(tableView_);

  toolbar_ = std::make_shared<ui::View>();
  searchField_ = std::make_shared<BVLTextField>(ui::Rect(), nullptr);
  searchField_->setPlaceholder("Search");
  searchField_->onEditingChanged = [weak](ui::TextField& field) {
    auto screen = weak.lock();
    if (!screen) return;
    screen->rows_.setSearch(field.text());
    screen->reloadKeepingSelection(screen->selected_);
  };
  // Return leaves the search for the rows it found, the first one chosen.
  searchField_->onReturn = [weak](ui::TextField&) {
    auto screen = weak.lock();
    if (screen && !screen->selectedRow()) screen->selectRow(0);
  };
  addButton_ = std::make_shared<BVLButton>(ui::Rect(), tapping(self, &TagTreeViewController::addToSelected));
  addButton_->setTitle("Add", ui::ControlState::Normal);
  renameButton_ = std::make_shared<BVLButton>(ui::Rect(), tapping(self, &TagTreeViewController::renameSelected));
  renameButton_->setTitle("Rename", ui::ControlState::Normal);
  removeButton_ = std::make_shared<BVLButton>(ui::Rect(), tapping(self, &TagTreeViewController::removeSelected));
  removeButton_->setTitle("Remove", ui::ControlState::Normal);
  for (const auto& item :
       std::initializer_list<std::shared_ptr<ui::View>>{searchField_, addButton_, renameButton_, removeButton_}) {
    toolbar_->addSubview(item);
  }
  view()->addSubview(toolbar_);

  promptBar_ = std::make_shared<ui::View>();
  promptBar_->setHidden(true);
  promptLabel_ = std::make_shared<BVLLabel>(ui::Rect());
  promptLabel_->setClipsToBounds(true);
  // Typing is only written on Return or OK: leaving the field to choose a
  // type, or to press Cancel, must not write.
  promptField_ = std::make_shared<BVLTextField>(ui::Rect(), nullptr);
  promptField_->onReturn = [weak](ui::TextField&) {
    if (auto screen = weak.lock()) screen->confirmPrompt();
  };
  typeButton_ = std::make_shared<BVLButton>(ui::Rect(), [weak](BVLButton&) {
    if (auto screen = weak.lock()) screen->cycleType(1);
  });
  okButton_ = std::make_shared<BVLButton>(ui::Rect(), tapping(self, &TagTreeViewController::confirmPrompt));
  okButton_->setTitle("OK", ui::ControlState::Normal);
  cancelButton_ = std::make_shared<BVLButton>(ui::Rect(), tapping(self, &TagTreeViewController::cancelPrompt));
  cancelButton_->setTitle("Cancel", ui::ControlState::Normal);
  for (const auto& item : std::initializer_list<std::shared_ptr<ui::View>>{promptLabel_, promptField_, typeButton_,
                                                                           okButton_, cancelButton_}) {
    promptBar_->addSubview(item);
  }
  view()->addSubview(promptBar_);
}

void TagTreeViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (!background_) layOut();
  tableView_->reloadData();
}

void TagTreeViewController::layOut() {
  auto root = view();
  background_ = addTableScreenBackground(*root);
  double W = root->bounds().width();
  double H = root->bounds().height();
  toolbar_->setFrame(ui::Rect(0, 0, W, barHeight));
  promptBar_->setFrame(ui::Rect(0, 0, W, barHeight));
  double buttonWidth = 100;
  double buttonsX = W - 3 * (buttonWidth + 4) - 4;
  searchField_->setFrame(ui::Rect(8, 4, buttonsX - 12, 32));
  addButton_->setFrame(ui::Rect(buttonsX, 4, buttonWidth, 32));
  renameButton_->setFrame(ui::Rect(buttonsX + buttonWidth + 4, 4, buttonWidth, 32));
  removeButton_->setFrame(ui::Rect(buttonsX + 2 * (buttonWidth + 4), 4, buttonWidth, 32));
  tableView_->setFrame(ui::Rect(0, barHeight, W, H - barHeight));
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
    switch (command) {
      case KeyCommand::Cancel:
        cancelPrompt();
        return true;
      case KeyCommand::Confirm:
        confirmPrompt();
        return true;
      case KeyCommand::LineUp:
      case KeyCommand::LineDown:
        if (prompt_ == Prompt::AddChild || prompt_ == Prompt::ListType) {
          cycleType(command == KeyCommand::LineDown ? 1 : -1);
          return true;
        }
        return false;
      default:
        return false;
    }
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

void TagTreeViewController::showPrompt(Prompt prompt, const std::string& label, const std::string& text) {
  prompt_ = prompt;
  promptTarget_ = selected_;
  toolbar_->setHidden(true);
  promptBar_->setHidden(false);
  double W = promptBar_->frame().width();
  bool withType = prompt == Prompt::AddChild || prompt == Prompt::ListType;
  bool withField = prompt != Prompt::ListType;
  double labelWidth = std::min(W * 0.35, ui::Font::named("Minecraft", 16).measure(label).width + 4);
  double x = 8;
  promptLabel_->setFrame(ui::Rect(x, 4, labelWidth, 32));
  promptLabel_->setText(label);
  x += labelWidth + 6;
  double buttonsX = W - 2 * 104 - 4;
  typeButton_->setHidden(!withType);
  if (withType) {
    typeButton_->setFrame(ui::Rect(x, 4, 120, 32));
    typeButton_->setTitle(TagValueText::typeName(promptType_), ui::ControlState::Normal);
    x += 126;
  }
  promptField_->setHidden(!withField);
  promptField_->setFrame(ui::Rect(x, 4, std::max(40.0, buttonsX - x - 6), 32));
  promptField_->setText(text);
  promptField_->setPlaceholder(prompt == Prompt::AddChild ? "name" : "");
  okButton_->setFrame(ui::Rect(buttonsX, 4, 100, 32));
  cancelButton_->setFrame(ui::Rect(buttonsX + 104, 4, 100, 32));
  if (withField && promptField_->becomeFirstResponder()) promptField_->selectAll();
}

void TagTreeViewController::closePrompt() {
  prompt_ = Prompt::None;
  promptTarget_ = nullptr;
  promptBar_->setHidden(true);
  toolbar_->setHidden(false);
  if (promptField_->isFirstResponder()) promptField_->resignFirstResponder();
}

void TagTreeViewController::cancelPrompt() { closePrompt(); }

void TagTreeViewController::cycleType(int step) {
  const long count = long(std::size(addableTypes));
  long at = std::find(std::begin(addableTypes), std::end(addableTypes), promptType_) - std::begin(addableTypes);
  promptType_ = addableTypes[size_t(((at + step) % count + count) % count)];
  typeButton_->setTitle(TagValueText::typeName(promptType_), ui::ControlState::Normal);
}

void TagTreeViewController::editSelected() {
  std::optional<size_t> row = selectedRow();
  if (!row || isContainer(*rows_.rows()[*row].tag)) return;
  const TagTreeRow& shown = rows_.rows()[*row];
  if (nameIsShared(shown)) {
    refuse(sharedNameReason(shown));
    return;
  }
  std::string label =
      (shown.parent->type() == TBKTagType::List ? "[" + std::to_string(shown.index) + "]" : shown.tag->name()) + " (" +
      TagValueText::typeName(*shown.tag) + "):";
  showPrompt(Prompt::Value, label, TagValueText::valueText(*shown.tag));
}

void TagTreeViewController::renameSelected() {
  std::optional<size_t> row = selectedRow();
  if (!row) return;
  if (rows_.rows()[*row].parent->type() == TBKTagType::List) {
    refuse("Entries of a list have no names: only tags in a compound can be renamed.");
    return;
  }
  if (nameIsShared(rows_.rows()[*row])) {
    refuse(sharedNameReason(rows_.rows()[*row]));
    return;
  }
  showPrompt(Prompt::Rename, "Rename \"" + rows_.rows()[*row].tag->name() + "\" to:", rows_.rows()[*row].tag->name());
}

TBKTag* TagTreeViewController::containerForAdding() const {
  std::optional<size_t> row = selectedRow();
  if (!row) return rows_.root().get();
  const TagTreeRow& shown = rows_.rows()[*row];
  return isContainer(*shown.tag) ? const_cast<TBKTag*>(shown.tag) : shown.parent;
}

void TagTreeViewController::addToSelected() {
  TBKTag* container = containerForAdding();
  std::string name = container == rows_.root().get() ? "the top" : "\"" + container->name() + "\"";
  promptType_ = TBKTagType::Int;
  if (container->type() == TBKTagType::Compound) {
    showPrompt(Prompt::AddChild, "New tag in " + name + ":", "");
    promptTarget_ = container;
    return;
  }
  auto& list = static_cast<TBKListTag&>(*container);
  if (list.elementType() == TBKTagType::End) {
    showPrompt(Prompt::ListType, "Entries of " + name + " are:", "");
    promptTarget_ = container;
    return;
  }
  // A list's entries share its type: a new one starts empty, ready to edit.
  auto entry = TagValueText::emptyTag(list.elementType(), "");
  size_t at = list.count();
  rows_.setOpen(rows_.rowOf(container), true);
  write({[&list, entry, at] { list.setObjectAtIndexedSubscript(entry, at); },
         [&list, at] { list.removeObjectAtIndex(at); }},
        entry.get());
}

void TagTreeViewController::removeSelected() {
  std::optional<size_t> row = selectedRow();
  if (!row) return;
  const TagTreeRow& shown = rows_.rows()[*row];
  if (nameIsShared(shown)) {
    refuse(sharedNameReason(shown));
    return;
  }
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
  if (shown.parent->type() == TBKTagType::Compound) {
    auto& compound = static_cast<TBKCompoundTag&>(*shown.parent);
    auto tag = compound.value().at(shown.index);
    write({[&compound, tag] { compound.removeObjectForKey(tag->name()); },
           [&compound, tag, at = shown.index] { compound.insertValueAtIndex(tag, at); }},
          next);
  } else {
    auto& list = static_cast<TBKListTag&>(*shown.parent);
    auto tag = list.value().at(shown.index);
    write({[&list, at = shown.index] { list.removeObjectAtIndex(at); },
           [&list, tag, at = shown.index] { list.insertObjectAtIndex(tag, at); }},
          next);
  }
}

void TagTreeViewController::confirmPrompt() {
  if (!promptShown()) return;
  std::string text = promptField_->text();
  size_t row = rows_.rowOf(promptTarget_);
  bool inRows = promptTarget_ && row < rows_.rows().size();
  switch (prompt_) {
    case Prompt::Value: {
      if (!inRows) break;
      TagTreeRow shown = rows_.rows()[row];
      // Text left as shown writes nothing: a float is never re-rounded.
      if (text == TagValueText::valueText(*shown.tag)) break;
      TagValueText::Parsed parsed = TagValueText::parse(shown.tag->type(), shown.tag->name(), text);
      if (!parsed.tag) {
        refuse(parsed.reason);
        return;
      }
      std::shared_ptr<TBKTag> old;
      std::function<void(std::shared_ptr<TBKTag>)> put;
      if (shown.parent->type() == TBKTagType::Compound) {
        auto& compound = static_cast<TBKCompoundTag&>(*shown.parent);
        old = compound.value().at(shown.index);
        put = [&compound](std::shared_ptr<TBKTag> tag) { compound.setValueForKey(std::move(tag)); };
      } else {
        auto& list = static_cast<TBKListTag&>(*shown.parent);
        old = list.value().at(shown.index);
        put = [&list, at = shown.index](std::shared_ptr<TBKTag> tag) { list.setObjectAtIndexedSubscript(tag, at); };
      }
      auto made = parsed.tag;
      if (!write({[put, made] { put(made); }, [put, old] { put(old); }}, made.get())) return;
      break;
    }
    case Prompt::Rename: {
      if (!inRows) break;
      TagTreeRow shown = rows_.rows()[row];
      auto& compound = static_cast<TBKCompoundTag&>(*shown.parent);
      std::string from = shown.tag->name();
      if (text == from) break;
      if (compound.objectForKeyedSubscript(text)) {
        refuse("\"" + text + "\" is taken: the compound already holds a tag of that name.");
        return;
      }
      if (!write({[&compound, from, text] { compound.renameKey(from, text); },
                  [&compound, from, text] { compound.renameKey(text, from); }},
                 shown.tag)) {
        return;
      }
      break;
    }
    case Prompt::AddChild: {
      auto& compound = static_cast<TBKCompoundTag&>(*const_cast<TBKTag*>(promptTarget_));
      if (text.empty()) {
        refuse("A new tag needs a name.");
        return;
      }
      if (compound.objectForKeyedSubscript(text)) {
        refuse("\"" + text + "\" is taken: the compound already holds a tag of that name.");
        return;
      }
      auto tag = TagValueText::emptyTag(promptType_, text);
      if (promptTarget_ != rows_.root().get()) rows_.setOpen(row, true);
      if (!write({[&compound, tag] { compound.insertValueAtIndex(tag, compound.count()); },
                  [&compound, text] { compound.removeObjectForKey(text); }},
                 tag.get())) {
        return;
      }
      break;
    }
    case Prompt::ListType: {
      auto& list = static_cast<TBKListTag&>(*const_cast<TBKTag*>(promptTarget_));
      if (promptType_ == TBKTagType::End) break;
      auto entry = TagValueText::emptyTag(promptType_, "");
      // Emptied again, the list would keep the type just chosen: taking the
      // change back puts an empty list of the type it was read with in its
      // place, so that it is written back as read.
      std::function<void()> takeBack = [&list] { list.removeObjectAtIndex(0); };
      if (inRows) {
        TagTreeRow shown = rows_.rows()[row];
        auto asRead = std::make_shared<TBKListTag>(list.name(), list.elementType());
        if (shown.parent->type() == TBKTagType::Compound) {
          auto& compound = static_cast<TBKCompoundTag&>(*shown.parent);
          takeBack = [&compound, asRead] { compound.setValueForKey(asRead); };
        } else {
          auto& outer = static_cast<TBKListTag&>(*shown.parent);
          takeBack = [&outer, asRead, at = shown.index] { outer.setObjectAtIndexedSubscript(asRead, at); };
        }
        rows_.setOpen(row, true);
      }
      if (!write({[&list, entry] { list.setObjectAtIndexedSubscript(entry, 0); }, takeBack}, entry.get())) return;
      break;
    }
    case Prompt::None:
      break;
  }
  closePrompt();
}

bool TagTreeViewController::write(const Change& change, const TBKTag* selectAfter) {
  const TBKTag* before = selected_;
  try {
    change.apply();
  } catch (const TBKException& error) {
    refuse(error.reason());
    return false;
  }
  try {
    save_(rows_.root());
  } catch (const TBKException& error) {
    change.revert();
    rows_.rebuild();
    reloadKeepingSelection(before);
    refuse(error.reason());
    return false;
  }
  rows_.rebuild();
  reloadKeepingSelection(selectAfter);
  return true;
}

void TagTreeViewController::refuse(const std::string& reason) { showRefusal(Refusal{reason}); }
