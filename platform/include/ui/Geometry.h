#pragma once

// Geometry in points, as plain values. Frames are stored exactly as given and
// only turned into device pixels when painted.
namespace ui {

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  double width = 0;
  double height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  Point origin;
  Size size;

  constexpr Rect() = default;
  constexpr Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}
  constexpr Rect(Point o, Size s) : origin(o), size(s) {}

  double x() const { return origin.x; }
  double y() const { return origin.y; }
  double width() const { return size.width; }
  double height() const { return size.height; }
  double maxX() const { return origin.x + size.width; }
  double maxY() const { return origin.y + size.height; }
  bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
  // Half-open on the far edges, as a tap on the boundary belongs to one view only.
  bool contains(Point p) const { return p.x >= origin.x && p.y >= origin.y && p.x < maxX() && p.y < maxY(); }
  Rect offsetBy(double dx, double dy) const { return Rect(origin.x + dx, origin.y + dy, size.width, size.height); }
  Rect intersection(const Rect& other) const;
  bool operator==(const Rect&) const = default;
};

struct EdgeInsets {
  double top = 0;
  double left = 0;
  double bottom = 0;
  double right = 0;
  bool operator==(const EdgeInsets&) const = default;
};

inline Rect insetRect(const Rect& r, const EdgeInsets& i) {
  return Rect(r.x() + i.left, r.y() + i.top, r.width() - i.left - i.right, r.height() - i.top - i.bottom);
}

struct IndexPath {
  long section = 0;
  long row = 0;  // also the item number in a collection view
  bool operator==(const IndexPath&) const = default;
  auto operator<=>(const IndexPath&) const = default;
};

}  // namespace ui
