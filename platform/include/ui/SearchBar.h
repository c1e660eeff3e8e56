#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/View.h"

namespace ui {

class Control;
class SearchDisplayController;
class TextField;

// A search field in the phone's look: a rounded white field with a
// magnifier on a light grey bar, and a Cancel button while a search is on.
// Unlike a plain text field it reports the text after every edit, which is
// how a search display controller follows the search string.
class SearchBar : public View {
 public:
  explicit SearchBar(const Rect& frame = {});
  ~SearchBar() override;

  std::string text() const;
  // Reports nothing.
  void setText(const std::string& text);
  std::string placeholder() const;
  void setPlaceholder(const std::string& placeholder);
  bool showsCancelButton() const { return showsCancel_; }
  void setShowsCancelButton(bool shows);
  // The field inside, to focus or type into.
  std::shared_ptr<TextField> textField() const { return field_; }

  // Closures, copied before they run.
  std::function<void(SearchBar&)> onBeginEditing;
  std::function<void(SearchBar&, const std::string&)> onTextChanged;
  std::function<void(SearchBar&)> onCancel;

  void layoutSubviews() override;
  void draw(GraphicsContext& context, const Rect& dirty) override;
  // Escape presses Cancel while it shows.
  bool performKeyCommand(KeyCommand command) override;

 private:
  friend class SearchDisplayController;
  void cancel();

  std::shared_ptr<TextField> field_;
  std::shared_ptr<Control> cancelButton_;
  bool showsCancel_ = false;
  // Set while a display controller drives this bar; it clears it when it goes.
  SearchDisplayController* displayController_ = nullptr;
};

}  // namespace ui
