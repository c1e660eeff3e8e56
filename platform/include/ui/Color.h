#pragma once

namespace ui {

// A colour as straight (not premultiplied) RGBA components in 0...1.
struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 0;

  static Color rgba(double r, double g, double b, double a = 1.0) { return {r, g, b, a}; }
  static Color white(double level, double alpha = 1.0) { return {level, level, level, alpha}; }
  static Color black() { return {0, 0, 0, 1}; }
  static Color clear() { return {0, 0, 0, 0}; }
  // 0xRRGGBB
  static Color hex(unsigned rgb, double alpha = 1.0) {
    return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha};
  }
  bool isClear() const { return alpha <= 0; }
  bool operator==(const Color&) const = default;
};

}  // namespace ui
