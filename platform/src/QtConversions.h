#pragma once

// The only place Qt's value types meet ui::'s: one conversion each way.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <string>

#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Geometry.h"

namespace ui {

inline QRectF toQt(const Rect& r) { return QRectF(r.x(), r.y(), r.width(), r.height()); }
inline QPointF toQt(const Point& p) { return QPointF(p.x, p.y); }
inline Point fromQt(const QPointF& p) { return Point{p.x(), p.y()}; }
inline QColor toQt(const Color& c) { return QColor::fromRgbF(c.red, c.green, c.blue, c.alpha); }
inline QString toQt(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string fromQt(const QString& s) { return s.toUtf8().toStdString(); }
// Size in the window's logical pixels; the game's face unsmoothed (Font.cpp).
QFont toQt(const Font& font);

}  // namespace ui
