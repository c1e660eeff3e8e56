#pragma once

#include <QEvent>

namespace ui {

// A desktop event handed to a view (a key or input-method event for the
// focused field); it belongs to Qt and lives only for the call.
class PlatformEvent {
 public:
  explicit PlatformEvent(QEvent& event) : event(event) {}
  QEvent& event;
};

}  // namespace ui
