#include "tree/TagTreeToolbar.h"

#include "tree/TagTreeBarLayout.h"

namespace {

std::shared_ptr<BVLButton> button(const std::function<void()>& action) {
  return std::make_shared<BVLButton>(ui::Rect(), [action](BVLButton&) { action(); });
}

}  // namespace

TagTreeToolbar::TagTreeToolbar(const Actions& actions)
    : searchField(std::make_shared<BVLTextField>(ui::Rect(), nullptr)),
      addButton(button(actions.add)),
      renameButton(button(actions.rename)),
      removeButton(button(actions.remove)) {
  searchField->setPlaceholder("Search");
  addButton->setTitle("Add", ui::ControlState::Normal);
  renameButton->setTitle("Rename", ui::ControlState::Normal);
  removeButton->setTitle("Remove", ui::ControlState::Normal);
  searchField->onEditingChanged = [changed = actions.searchChanged](ui::TextField& field) { changed(field.text()); };
  searchField->onReturn = [returned = actions.searchReturned](ui::TextField&) { returned(); };
  for (const auto& view :
       std::initializer_list<std::shared_ptr<ui::View>>{searchField, addButton, renameButton, removeButton}) {
    addSubview(view);
  }
}

void TagTreeToolbar::layoutSubviews() {
  auto frames = TagTreeBarLayout::toolbar(bounds().width());
  searchField->setFrame(frames.search);
  addButton->setFrame(frames.add);
  renameButton->setFrame(frames.rename);
  removeButton->setFrame(frames.remove);
}
