#include "ui/Text.h"

#include <QLocale>
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "ui/Application.h"

namespace ui {
namespace {

TEST(TextCompare, SortsLikeWordsIgnoringCase) {
  Application::ensure();
  for (const char* name : {"C", "en_US", "de_DE"}) {
    QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    std::vector<std::string> names{"stone", "Bed", "apple", "Stone Sword", "Apple", "bed", "Äpfel", "cake"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return localizedCaseInsensitiveCompare(a, b) < 0; });
    // Names that differ only in case end up side by side, in word order.
    auto at = [&](const std::string& s) { return std::find(names.begin(), names.end(), s) - names.begin(); };
    EXPECT_EQ(std::abs(at("apple") - at("Apple")), 1) << name;
    EXPECT_EQ(std::abs(at("Bed") - at("bed")), 1) << name;
    EXPECT_LT(at("Apple"), at("Bed")) << name;
    EXPECT_LT(at("bed"), at("cake")) << name;
    EXPECT_LT(at("stone"), at("Stone Sword")) << name;
    EXPECT_LT(at("Äpfel"), at("Bed")) << name;  // an accent does not send a word to the end
    EXPECT_EQ(localizedCaseInsensitiveCompare("IRON", "iron"), 0) << name;
  }
  QLocale::setDefault(QLocale::system());
}

TEST(TextSearch, FindsTheFirstMatchIgnoringCase) {
  struct Case {
    std::string text, search;
    std::optional<TextRange> expected;
  };
  std::vector<Case> cases = {
      {"Diamond Sword", "dia", TextRange{0, 3}},
      {"Diamond Sword", "SWORD", TextRange{8, 5}},
      {"Sword of a sword", "sword", TextRange{0, 5}},
      {"Wooden Door", "door", TextRange{7, 4}},
      {"Äpfel und Äpfel", "äPFEL", TextRange{0, 6}},  // bytes: Ä takes two
      {"Grüne Äpfel", "äpfel", TextRange{7, 6}},
      {"Stone", "", std::nullopt},
      {"Stone", "stones", std::nullopt},
      {"", "a", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rangeOfStringCaseInsensitive(c.text, c.search), c.expected) << c.text << " / " << c.search;
  }
}

}  // namespace
}  // namespace ui
