#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/View.h"

namespace ui {

class AlertView;

// Hears which button dismissed an alert. Held weakly by the alert.
class AlertViewDelegate {
 public:
  virtual ~AlertViewDelegate() = default;
  // After the alert has gone. Index 0 is the cancel button when there is
  // one; the other buttons follow in the order given.
  virtual void clickedButtonAtIndex(AlertView&, long /*buttonIndex*/) {}
};

// A modal message with buttons, in the phone's look: a dimmed window with a
// centred rounded box, the title in bold, the message wrapped over as many
// lines as it needs, the buttons along the bottom (side by side when there
// are two, else one above the other). While shown, nothing under it can be
// touched. The window holds a shown alert; nobody else needs to.
class AlertView : public View {
 public:
  AlertView(const std::string& title, const std::string& message, const std::shared_ptr<AlertViewDelegate>& delegate,
            const std::string& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles);
  ~AlertView() override;

  const std::string& title() const { return title_; }
  const std::string& message() const { return message_; }
  // A new message, shown at once (work in progress telling how far it is).
  void setMessage(const std::string& message);
  std::shared_ptr<AlertViewDelegate> delegate() const { return delegate_.lock(); }
  // -1 without a cancel button.
  long cancelButtonIndex() const { return hasCancel_ ? 0 : -1; }
  long numberOfButtons() const { return long(buttonTitles_.size()); }
  std::string buttonTitleAtIndex(long index) const;
  // The button Return presses: the first one after the cancel button, or the
  // only one; -1 without buttons. Escape presses the cancel button (or the
  // only one).
  long preferredButtonIndex() const;
  // Before show(); returns the new button's index.
  long addButtonWithTitle(const std::string& title);
  // The button's view, to tap in tests; null for an index out of range or
  // before show().
  std::shared_ptr<View> buttonAtIndex(long index) const;

  // Floats the alert over the key window and ends any text editing there.
  // Raises an exception when there is no key window.
  void show();
  bool isVisible() const { return window() != nullptr; }
  // Takes the alert away without telling the delegate.
  void dismissWithClickedButtonIndex(long index, bool animated);

  // The box in bounds coordinates, for the current bounds.
  Rect boxRect() const;

  void layoutSubviews() override;
  void draw(GraphicsContext& context, const Rect& dirty) override;
  // Touches on the dimmed area stop here.
  void touchesBegan(const Touch&) override {}
  void touchesMoved(const Touch&) override {}
  void touchesEnded(const Touch&) override {}
  void touchesCancelled(const Touch&) override {}
  bool scrollWheel(double, double) override { return true; }
  // Return and Escape press their buttons; every key stops here.
  bool performKeyCommand(KeyCommand command) override;

 private:
  void buttonTapped(long index);
  double textHeight() const;
  double buttonsHeight() const;

  std::string title_;
  std::string message_;
  std::weak_ptr<AlertViewDelegate> delegate_;
  std::vector<std::string> buttonTitles_;
  bool hasCancel_;
  std::vector<std::shared_ptr<View>> buttons_;
};

}  // namespace ui
