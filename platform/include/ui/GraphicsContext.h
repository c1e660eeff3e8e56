#pragma once

#include <memory>
#include <string>

#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Geometry.h"

namespace ui {

class Image;
class PainterState;  // the underlying painter; defined inside the platform

enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

// Drawing in points into a view, a window or a bitmap. Coordinates are those
// of whoever hands the context out (a view's own bounds while it draws).
class GraphicsContext {
 public:
  explicit GraphicsContext(PainterState& painter) : painter_(painter) {}

  void fillRect(const Rect& rect, const Color& color);
  void strokeRect(const Rect& rect, const Color& color, double lineWidth = 1);
  void strokeLine(Point from, Point to, const Color& color, double lineWidth = 1);
  // A resizable image is drawn as nine slices: corners as they are, edges and
  // middle tiled. Others are scaled to the rectangle, nearest neighbour.
  void drawImage(const Image& image, const Rect& rect);
  // Tiles the image from `origin` across `rect`.
  void drawTiledImage(const Image& image, const Rect& rect, Point origin);
  // One line of text, its top-left at the rectangle's origin, aligned inside it.
  void drawText(const std::string& text, const Rect& rect, const Font& font, const Color& color,
                TextAlignment alignment = TextAlignment::Left);

  // Text wrapped at word boundaries to the rectangle's width, lines aligned
  // inside it, starting at its top; what falls below its bottom is cut off.
  void drawWrappedText(const std::string& text, const Rect& rect, const Font& font, const Color& color,
                       TextAlignment alignment = TextAlignment::Left);
  // Antialiased rounded rectangles (alerts, grouped tables, scroll bars).
  void fillRoundedRect(const Rect& rect, double radius, const Color& color);
  void strokeRoundedRect(const Rect& rect, double radius, const Color& color, double lineWidth = 1);

  void save();
  void restore();
  void translate(double dx, double dy);
  void clipToRect(const Rect& rect);
  void setOpacity(double opacity);  // multiplies the current opacity
  double opacity() const;

  PainterState& painter() { return painter_; }

 private:
  PainterState& painter_;
};

// A bitmap to draw into: size in points, scale 0 means the main screen's.
class ImageContext {
 public:
  ImageContext(Size size, bool opaque, double scale);
  ~ImageContext();
  ImageContext(const ImageContext&) = delete;
  ImageContext& operator=(const ImageContext&) = delete;

  GraphicsContext& context();
  // The picture drawn so far; the context stays usable.
  std::shared_ptr<Image> image();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
