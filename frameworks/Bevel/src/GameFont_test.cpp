// The demo game's font, read twice: its advances straight from the file's
// tables, and its measured text through the platform, which must agree.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "TestBundle.h"
#include "ui/Font.h"
#include "ui/TestDriver.h"

namespace {

// The little of a TrueType file that gives advances: the units per em, the
// character map (format 4, the Basic Multilingual Plane) and the horizontal
// metrics.
class FontFile {
 public:
  explicit FontFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    for (unsigned i = 0, n = u16(4); i < n; ++i) {
      size_t record = 12 + 16 * i;
      tables_[bytes_.substr(record, 4)] = u32(record + 8);
    }
  }

  bool readable() const {
    return tables_.count("head") && tables_.count("hhea") && tables_.count("hmtx") && tables_.count("cmap");
  }
  unsigned unitsPerEm() const { return u16(tables_.at("head") + 18); }

  // The advance in font units of the glyph the character maps to; none when
  // the font has no glyph for it.
  std::optional<unsigned> advance(char16_t c) const {
    unsigned glyph = glyphOf(c);
    if (glyph == 0) return std::nullopt;
    unsigned metrics = u16(tables_.at("hhea") + 34);
    unsigned entry = glyph < metrics ? glyph : metrics - 1;
    return u16(tables_.at("hmtx") + 4 * entry);
  }

 private:
  unsigned glyphOf(char16_t c) const {
    size_t cmap = tables_.at("cmap");
    for (unsigned i = 0, n = u16(cmap + 2); i < n; ++i) {
      size_t sub = cmap + u32(cmap + 4 + 8 * i + 4);
      if (u16(sub) != 4) continue;
      unsigned segments = u16(sub + 6) / 2;
      size_t ends = sub + 14, starts = ends + 2 * segments + 2, deltas = starts + 2 * segments,
             offsets = deltas + 2 * segments;
      for (unsigned s = 0; s < segments; ++s) {
        if (c > u16(ends + 2 * s)) continue;
        if (c < u16(starts + 2 * s)) return 0;
        unsigned delta = u16(deltas + 2 * s), offset = u16(offsets + 2 * s);
        if (offset == 0) return (c + delta) & 0xFFFF;
        unsigned glyph = u16(offsets + 2 * s + offset + 2 * (c - u16(starts + 2 * s)));
        return glyph ? (glyph + delta) & 0xFFFF : 0;
      }
    }
    return 0;
  }
  unsigned u16(size_t at) const {
    return at + 2 <= bytes_.size() ? unsigned(uint8_t(bytes_[at])) << 8 | uint8_t(bytes_[at + 1]) : 0;
  }
  unsigned u32(size_t at) const { return u16(at) << 16 | u16(at + 2); }

  std::string bytes_;
  std::map<std::string, unsigned> tables_;
};

struct GameFont : ::testing::Test {
  ui::TestDriver driver;
  FontFile file{bevel::testing::demoBundle() + "/minecraft.ttf"};
  ui::Font font = ui::Font::named("Minecraft", 16);
  void SetUp() override {
    ASSERT_TRUE(file.readable());
    ASSERT_TRUE(GSFontAddFromFile((bevel::testing::demoBundle() + "/minecraft.ttf").c_str()));
    ASSERT_TRUE(font.isAvailable());
  }
  // The width the file's advances give `text` (ASCII) at 16 points.
  double advancesOf(const std::string& text) const {
    double units = 0;
    for (char c : text) units += file.advance(char16_t(c)).value_or(0);
    return units * 16 / file.unitsPerEm();
  }
};

TEST_F(GameFont, EveryPrintableCharacterHasItsOwnAdvanceAndTheLettersDiffer) {
  for (char c = 0x20; c < 0x7f; ++c) {
    std::string one(1, c);
    SCOPED_TRACE(one);
    auto advance = file.advance(char16_t(c));
    ASSERT_TRUE(advance.has_value());
    EXPECT_GT(*advance, 0u);
    // Measured in the face itself, not in a fallback.
    EXPECT_EQ(font.measure(one).width, advancesOf(one));
  }
  for (char16_t c : std::u16string(u"ÀÉÎõüçßÆØÿ")) EXPECT_TRUE(file.advance(c).has_value()) << int(c);
  // As in a block game's font: narrow letters and signs take less room.
  EXPECT_LT(*file.advance(u'i'), *file.advance(u'm'));
  for (char16_t narrow : std::u16string(u"ilt.,:!"))
    EXPECT_LT(*file.advance(narrow), *file.advance(u'n')) << char(narrow);
  EXPECT_EQ(*file.advance(u'm'), *file.advance(u'W'));
}

TEST_F(GameFont, MeasuredTextIsTheSumOfItsAdvances) {
  for (const char* text : {"Edit...", "Survival", "Gorvane", "Level Name: Lake, 1.5"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(font.measure(text).width, advancesOf(text));
  }
  // 6 + 6 + 2 + 4 + 3 x 2 texels of 2 points.
  EXPECT_EQ(font.measure("Edit...").width, 48);
  // A line is 8 texels up and 1 down; a capital stands 7 texels high.
  EXPECT_EQ(font.measure("Edit...").height, 18);
  EXPECT_DOUBLE_EQ(font.ascent(), 16);
}

}  // namespace
