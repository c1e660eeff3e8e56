#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Color.h"
#include "ui/Control.h"
#include "ui/Font.h"
#include "ui/GraphicsContext.h"

namespace ui {

// One line of editable text: focus, caret, selection by mouse and by
// shift+arrows, the desktop clipboard, undo.
//
// An editing session starts when the field becomes first responder (a tap on
// it) and ends on Return or when the focus goes elsewhere (a tap on another
// view, the window losing focus, the field leaving its window). The end of a
// session is reported exactly once, through `onEditingEnded`, with the text
// as it then stands; `setText` never reports anything.
//
// The text never holds a line break: pasted or programmatic text has line
// breaks at its ends dropped and each inner line break replaced by a space,
// so a value copied with its trailing newline pastes as typed.
class TextField : public Control {
 public:
  explicit TextField(const Rect& frame = {});
  ~TextField() override;

  std::string text() const;
  // Replaces the text and puts the caret at its end; reports nothing.
  void setText(const std::string& text);
  // Shown in grey while the text is empty.
  const std::string& placeholder() const { return placeholder_; }
  void setPlaceholder(const std::string& placeholder);
  const Font& font() const { return font_; }
  void setFont(const Font& font);
  Color textColor() const { return textColor_; }
  void setTextColor(const Color& color);
  // Caret colour; the selection is drawn in it, faded.
  Color tintColor() const { return tintColor_; }
  void setTintColor(const Color& color);
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  // Space between the bounds and the text, in points.
  EdgeInsets textInsets() const { return textInsets_; }
  void setTextInsets(const EdgeInsets& insets);

  bool isEditing() const { return editing_; }
  std::string selectedText() const;
  void selectAll();

  // Closures are copied before they run, so one may replace itself.
  std::function<void(TextField&)> onEditingBegan;
  // After every change the user makes while editing (typing, paste, cut, undo).
  std::function<void(TextField&)> onEditingChanged;
  // Return pressed while editing, just before that ends the session; the
  // only way to tell Return from the focus moving away.
  std::function<void(TextField&)> onReturn;
  // Once per editing session, with the final text.
  std::function<void(TextField&, const std::string&)> onEditingEnded;

  bool canBecomeFirstResponder() const override;
  void didBecomeFirstResponder() override;
  void didResignFirstResponder() override;
  bool handlePlatformEvent(PlatformEvent& event) override;

  void touchesBegan(const Touch& touch) override;
  void touchesMoved(const Touch& touch) override;
  void touchesEnded(const Touch& touch) override;
  void touchesCancelled(const Touch& touch) override;
  void draw(GraphicsContext& context, const Rect& dirty) override;

 private:
  struct Engine;
  // Caret index (UTF-16 units of the text) nearest to a point in bounds.
  int indexAt(Point point) const;
  // Moves a long line just far enough to show the caret; run after every
  // change to the text, the caret or the editing state.
  void settleScroll();
  void afterEdit(const std::string& before);
  void restartBlink();

  std::unique_ptr<Engine> engine_;
  std::string placeholder_;
  Font font_ = Font::system(17);
  Color textColor_ = Color::black();
  Color tintColor_ = Color::rgba(0, 122 / 255.0, 1);
  TextAlignment alignment_ = TextAlignment::Left;
  EdgeInsets textInsets_;
  bool editing_ = false;
  bool caretVisible_ = true;
  int dragAnchor_ = -1;
  double scrollX_ = 0;  // how far long text is shifted left, as last settled
};

}  // namespace ui
