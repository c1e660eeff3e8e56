#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "external/Bevel.h"
#include "external/Tarnbook.h"
#include "ui/View.h"

// The bar the tag tree shows in place of its toolbar while it asks for one
// edit: what is asked, the type of a new tag, the text, OK and Cancel, at
// the frames TagTreeBarLayout::prompt gives.
class TagTreePromptBar : public ui::View {
 public:
  // What the bar's controls do, as closures of its owner, so that the bar
  // holds nothing that holds it. Return in the field confirms. Typing is
  // only taken on Return or OK: leaving the field to choose a type, or to
  // press Cancel, takes nothing.
  struct Actions {
    std::function<void()> confirm;
    std::function<void()> cancel;
    std::function<void()> nextType;
  };

  explicit TagTreePromptBar(const Actions& actions);

  // Lays the bar out across its width and fills it: `question`, the type
  // button (starting at int) when `withType`, and the field holding `text`,
  // all of it chosen to type over, when there is one (beside a type button
  // it asks for the new tag's name).
  void prepare(const std::string& question, bool withType, const std::optional<std::string>& text);

  // The type a new tag will have, and the next or previous one offered.
  TBKTagType type() const { return type_; }
  void cycleType(int step);

  const std::shared_ptr<BVLLabel> label;
  const std::shared_ptr<BVLTextField> field;
  const std::shared_ptr<BVLButton> typeButton;
  const std::shared_ptr<BVLButton> okButton;
  const std::shared_ptr<BVLButton> cancelButton;

 private:
  TBKTagType type_ = TBKTagType::Int;
};
