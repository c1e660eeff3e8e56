#include "ui/Font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>

#include "QtConversions.h"
#include "ui/Application.h"
#include "ui/FileReader.h"

namespace ui {

QFont toQt(const Font& font) {
  QFont f;
  if (!font.face.empty()) f.setFamily(toQt(font.face));
  // Points here are the window's logical pixels, as on the phone.
  f.setPixelSize(std::max(1, int(font.size + 0.5)));
  f.setHintingPreference(QFont::PreferNoHinting);
  if (font.bold) f.setBold(true);
  // Named faces are the game's pixel font: smoothing would blur its texels.
  if (!font.face.empty()) f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

Size Font::measure(const std::string& text) const {
  QFontMetricsF metrics(toQt(*this));
  return Size{metrics.horizontalAdvance(toQt(text)), metrics.height()};
}

Size Font::measureWrapped(const std::string& text, double width) const {
  QFontMetricsF metrics(toQt(*this));
  QRectF r = metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, toQt(text));
  return Size{r.width(), r.height()};
}

double Font::ascent() const { return QFontMetricsF(toQt(*this)).ascent(); }

bool Font::isAvailable() const {
  return !face.empty() && QFontDatabase::families().contains(toQt(face), Qt::CaseInsensitive);
}

}  // namespace ui

bool GSFontAddFromFile(const char* path) {
  ui::Application::ensure();
  if (!path) return false;
  auto bytes = ui::readFile(path);
  if (!bytes) return false;
  return QFontDatabase::addApplicationFontFromData(QByteArray(bytes->data(), qsizetype(bytes->size()))) >= 0;
}
