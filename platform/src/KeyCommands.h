#pragma once

#include <optional>

#include "ui/View.h"

class QKeyEvent;

namespace ui {

// The command a key stands for, if any.
std::optional<KeyCommand> keyCommandFor(const QKeyEvent& event);
// Commands a focused text field never sees: leaving the screen or the field.
bool goesPastFocusedField(KeyCommand command);

}  // namespace ui
