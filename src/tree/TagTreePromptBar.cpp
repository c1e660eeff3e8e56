#include "tree/TagTreePromptBar.h"

#include <algorithm>
#include <iterator>

#include "records/TagValueText.h"
#include "tree/TagTreeBarLayout.h"

namespace {

// The order the type button goes through.
const TBKTagType addableTypes[] = {
    TBKTagType::Byte,  TBKTagType::Short,     TBKTagType::Int,      TBKTagType::Long,
    TBKTagType::Float, TBKTagType::Double,    TBKTagType::String,   TBKTagType::Compound,
    TBKTagType::List,  TBKTagType::ByteArray, TBKTagType::IntArray, TBKTagType::LongArray,
};

std::shared_ptr<BVLButton> button(const std::function<void()>& action) {
  return std::make_shared<BVLButton>(ui::Rect(), [action](BVLButton&) { action(); });
}

}  // namespace

TagTreePromptBar::TagTreePromptBar(const Actions& actions)
    : label(std::make_shared<BVLLabel>(ui::Rect())),
      field(std::make_shared<BVLTextField>(ui::Rect(), nullptr)),
      typeButton(button(actions.nextType)),
      okButton(button(actions.confirm)),
      cancelButton(button(actions.cancel)) {
  label->setClipsToBounds(true);
  okButton->setTitle("OK", ui::ControlState::Normal);
  cancelButton->setTitle("Cancel", ui::ControlState::Normal);
  field->onReturn = [confirm = actions.confirm](ui::TextField&) { confirm(); };
  for (const auto& view :
       std::initializer_list<std::shared_ptr<ui::View>>{label, field, typeButton, okButton, cancelButton}) {
    addSubview(view);
  }
}

void TagTreePromptBar::prepare(const std::string& question, bool withType, const std::optional<std::string>& text) {
  auto frames =
      TagTreeBarLayout::prompt(bounds().width(), label->font().measure(question).width, withType, text.has_value());
  label->setFrame(frames.label);
  label->setText(question);
  typeButton->setHidden(!withType);
  typeButton->setFrame(frames.type);
  type_ = TBKTagType::Int;
  cycleType(0);
  field->setHidden(!text);
  field->setFrame(frames.field);
  field->setText(text.value_or(""));
  field->setPlaceholder(withType && text ? "name" : "");
  okButton->setFrame(frames.ok);
  cancelButton->setFrame(frames.cancel);
  if (text && field->becomeFirstResponder()) field->selectAll();
}

void TagTreePromptBar::cycleType(int step) {
  const long count = long(std::size(addableTypes));
  long at = std::find(std::begin(addableTypes), std::end(addableTypes), type_) - std::begin(addableTypes);
  type_ = addableTypes[size_t(((at + step) % count + count) % count)];
  typeButton->setTitle(TagValueText::typeName(type_), ui::ControlState::Normal);
}
