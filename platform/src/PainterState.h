#pragma once

#include <QPainter>

namespace ui {

// The painter behind a GraphicsContext; it belongs to whoever started the
// paint and outlives the context.
class PainterState {
 public:
  explicit PainterState(QPainter& painter) : painter(painter) {}
  QPainter& painter;
};

}  // namespace ui
