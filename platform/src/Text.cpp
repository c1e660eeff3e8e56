#include "ui/Text.h"

#include <QCollator>
#include <QLocale>

#include "QtConversions.h"

namespace ui {
namespace {

// Building a collator is costly next to one comparison: keep one per locale.
QCollator& collator() {
  static QString localeName;
  static QCollator cached;
  QLocale locale;
  if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::AnyTerritory);
  if (locale.name() != localeName) {
    localeName = locale.name();
    cached = QCollator(locale);
    cached.setCaseSensitivity(Qt::CaseInsensitive);
  }
  return cached;
}

}  // namespace

int localizedCaseInsensitiveCompare(const std::string& a, const std::string& b) {
  int order = collator().compare(toQt(a), toQt(b));
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::optional<TextRange> rangeOfStringCaseInsensitive(const std::string& text, const std::string& search) {
  if (search.empty()) return std::nullopt;
  QString haystack = toQt(text), needle = toQt(search);
  qsizetype at = haystack.indexOf(needle, 0, Qt::CaseInsensitive);
  if (at < 0) return std::nullopt;
  size_t location = size_t(haystack.left(at).toUtf8().size());
  size_t length = size_t(haystack.mid(at, needle.size()).toUtf8().size());
  return TextRange{location, length};
}

}  // namespace ui
