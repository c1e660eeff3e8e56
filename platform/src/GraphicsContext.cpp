#include "ui/GraphicsContext.h"

#include <QFontMetricsF>
#include <cmath>

#include "ImageData.h"
#include "NineSlice.h"
#include "PainterState.h"
#include "QtConversions.h"
#include "ui/Image.h"
#include "ui/Screen.h"

namespace ui {

void GraphicsContext::fillRect(const Rect& rect, const Color& color) {
  if (color.isClear()) return;
  painter_.painter.fillRect(toQt(rect), toQt(color));
}

void GraphicsContext::strokeRect(const Rect& rect, const Color& color, double lineWidth) {
  QPen pen(toQt(color));
  pen.setWidthF(lineWidth);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.painter.save();
  painter_.painter.setPen(pen);
  painter_.painter.setBrush(Qt::NoBrush);
  double h = lineWidth / 2;
  painter_.painter.drawRect(QRectF(rect.x() + h, rect.y() + h, rect.width() - lineWidth, rect.height() - lineWidth));
  painter_.painter.restore();
}

void GraphicsContext::strokeLine(Point from, Point to, const Color& color, double lineWidth) {
  QPen pen(toQt(color));
  pen.setWidthF(lineWidth);
  pen.setCapStyle(Qt::RoundCap);
  painter_.painter.save();
  painter_.painter.setRenderHint(QPainter::Antialiasing);
  painter_.painter.setPen(pen);
  painter_.painter.drawLine(toQt(from), toQt(to));
  painter_.painter.restore();
}

void GraphicsContext::drawImage(const Image& image, const Rect& rect) {
  QPainter& p = painter_.painter;
  const QImage& pixels = image.data().image;
  if (!image.isResizable()) {
    p.drawImage(toQt(rect), pixels, QRectF(pixels.rect()));
    return;
  }
  for (const ImagePiece& piece : nineSlicePieces(image.size(), image.scale(), image.capInsets(), rect)) {
    p.drawImage(toQt(piece.dest), pixels, toQt(piece.source));
  }
}

void GraphicsContext::drawTiledImage(const Image& image, const Rect& rect, Point origin) {
  QPainter& p = painter_.painter;
  const QImage& pixels = image.data().image;
  Size s = image.size();
  if (s.width <= 0 || s.height <= 0) return;
  p.save();
  p.setClipRect(toQt(rect), Qt::IntersectClip);
  double startX = origin.x - std::ceil((origin.x - rect.x()) / s.width) * s.width;
  double startY = origin.y - std::ceil((origin.y - rect.y()) / s.height) * s.height;
  for (double y = startY; y < rect.maxY(); y += s.height) {
    for (double x = startX; x < rect.maxX(); x += s.width) {
      p.drawImage(QRectF(x, y, s.width, s.height), pixels, QRectF(pixels.rect()));
    }
  }
  p.restore();
}

void GraphicsContext::drawText(const std::string& text, const Rect& rect, const Font& font, const Color& color,
                               TextAlignment alignment) {
  QPainter& p = painter_.painter;
  QFont qfont = toQt(font);
  QFontMetricsF metrics(qfont);
  QString s = toQt(text);
  double width = metrics.horizontalAdvance(s);
  double x = rect.x();
  if (alignment == TextAlignment::Center) x += (rect.width() - width) / 2;
  if (alignment == TextAlignment::Right) x += rect.width() - width;
  p.save();
  p.setFont(qfont);
  p.setPen(toQt(color));
  p.drawText(QPointF(x, rect.y() + metrics.ascent()), s);
  p.restore();
}

void GraphicsContext::drawWrappedText(const std::string& text, const Rect& rect, const Font& font, const Color& color,
                                      TextAlignment alignment) {
  QPainter& p = painter_.painter;
  Qt::Alignment align = alignment == TextAlignment::Center  ? Qt::AlignHCenter
                        : alignment == TextAlignment::Right ? Qt::AlignRight
                                                            : Qt::AlignLeft;
  p.save();
  p.setFont(toQt(font));
  p.setPen(toQt(color));
  p.setClipRect(toQt(rect), Qt::IntersectClip);
  p.drawText(toQt(rect), int(align | Qt::AlignTop | Qt::TextWordWrap), toQt(text));
  p.restore();
}

void GraphicsContext::fillRoundedRect(const Rect& rect, double radius, const Color& color) {
  if (color.isClear()) return;
  QPainter& p = painter_.painter;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(toQt(color));
  p.drawRoundedRect(toQt(rect), radius, radius);
  p.restore();
}

void GraphicsContext::strokeRoundedRect(const Rect& rect, double radius, const Color& color, double lineWidth) {
  if (color.isClear()) return;
  QPainter& p = painter_.painter;
  QPen pen(toQt(color));
  pen.setWidthF(lineWidth);
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  double h = lineWidth / 2;
  p.drawRoundedRect(QRectF(rect.x() + h, rect.y() + h, rect.width() - lineWidth, rect.height() - lineWidth), radius,
                    radius);
  p.restore();
}

void GraphicsContext::save() { painter_.painter.save(); }
void GraphicsContext::restore() { painter_.painter.restore(); }
void GraphicsContext::translate(double dx, double dy) { painter_.painter.translate(dx, dy); }
void GraphicsContext::clipToRect(const Rect& rect) { painter_.painter.setClipRect(toQt(rect), Qt::IntersectClip); }
void GraphicsContext::setOpacity(double opacity) { painter_.painter.setOpacity(painter_.painter.opacity() * opacity); }
double GraphicsContext::opacity() const { return painter_.painter.opacity(); }

struct ImageContext::Impl {
  QImage image;
  QPainter painter;
  PainterState state{painter};
  GraphicsContext context{state};
  double scale;

  void begin() {
    if (painter.isActive()) return;
    // Beginning again after image() detaches from the picture handed out.
    painter.begin(&image);
    painter.scale(scale, scale);
  }
};

ImageContext::ImageContext(Size size, bool opaque, double scale) : impl_(std::make_unique<Impl>()) {
  if (scale <= 0) scale = Screen::main().scale();
  impl_->scale = scale;
  int w = std::max(1, int(std::lround(size.width * scale)));
  int h = std::max(1, int(std::lround(size.height * scale)));
  impl_->image = QImage(w, h, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
  impl_->image.fill(opaque ? Qt::black : Qt::transparent);
  impl_->begin();
}

ImageContext::~ImageContext() {
  if (impl_->painter.isActive()) impl_->painter.end();
}

GraphicsContext& ImageContext::context() {
  impl_->begin();
  return impl_->context;
}

// The pixels are shared with the picture, not copied: an opaque context's
// picture stays opaque, so drawing it later is a plain copy of pixels.
std::shared_ptr<Image> ImageContext::image() {
  if (impl_->painter.isActive()) impl_->painter.end();
  return std::make_shared<Image>(std::make_shared<ImageData>(impl_->image), impl_->scale);
}

}  // namespace ui
