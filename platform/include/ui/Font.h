#pragma once

#include <string>

#include "ui/Geometry.h"

// Registers a font file with the process's font system, as the phone's
// GraphicsServices does. Returns false when the file cannot be read as a font.
bool GSFontAddFromFile(const char* path);

namespace ui {

// A face by name and a size in points. A face that is not registered falls
// back to the system's default face, as the phone does.
struct Font {
  std::string face;
  double size = 17;
  bool bold = false;

  static Font named(const std::string& face, double size) { return Font{face, size, false}; }
  static Font system(double size) { return Font{"", size, false}; }
  static Font boldSystem(double size) { return Font{"", size, true}; }

  // One line of text: advance width and line height, in points.
  Size measure(const std::string& text) const;
  // Text wrapped at word boundaries to `width` (as drawWrappedText draws it):
  // the widest line and the height of all lines, in points.
  Size measureWrapped(const std::string& text, double width) const;
  double ascent() const;
  // Whether `face` is registered (the fallback is not).
  bool isAvailable() const;
  bool operator==(const Font&) const = default;
};

}  // namespace ui
