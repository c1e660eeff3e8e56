#pragma once

#include <functional>
#include <memory>
#include <string>

#include "external/Bevel.h"
#include "ui/View.h"

// The tag tree's toolbar: the search field and the buttons that start an
// edit of the selected tag, at the frames TagTreeBarLayout::toolbar gives
// for the bar's width.
class TagTreeToolbar : public ui::View {
 public:
  // What the bar's controls do, as closures of its owner, so that the bar
  // holds nothing that holds it.
  struct Actions {
    std::function<void(const std::string&)> searchChanged;
    std::function<void()> searchReturned;
    std::function<void()> add;
    std::function<void()> rename;
    std::function<void()> remove;
  };

  explicit TagTreeToolbar(const Actions& actions);

  void layoutSubviews() override;

  const std::shared_ptr<BVLTextField> searchField;
  const std::shared_ptr<BVLButton> addButton;
  const std::shared_ptr<BVLButton> renameButton;
  const std::shared_ptr<BVLButton> removeButton;
};
