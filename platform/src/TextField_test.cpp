#include "ui/TextField.h"

#include <gtest/gtest.h>

#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace ui {
namespace {

struct Fixture {
  // Declared first, so it outlives the window: a session still open when
  // the window goes reports into it.
  std::vector<std::string> reports;
  TestDriver driver;
  std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 320, 200));
  std::shared_ptr<TextField> field = std::make_shared<TextField>(Rect(10, 10, 200, 30));
  std::shared_ptr<View> elsewhere = std::make_shared<View>(Rect(10, 100, 100, 50));
  Point onNoView{300, 180};

  Fixture() {
    window->addSubview(field);
    window->addSubview(elsewhere);
    field->onEditingEnded = [this](TextField&, const std::string& text) { reports.push_back(text); };
  }
};

TEST(TextFieldEditing, ReportsOncePerSessionEndAndNeverOnSetText) {
  struct Case {
    const char* what;   // what ends the session, unless said otherwise
    const char* typed;  // into the tapped field; null: the field is not tapped
    std::function<void(Fixture&)> then;
    const char* typedAfter;  // then typed, and Return pressed; null: nothing more
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"Return", "abc", [](Fixture& f) { f.driver.pressReturn(*f.window); }, nullptr, {"abc"}},
      {"setText outside a session", nullptr, [](Fixture& f) { f.field->setText("zzz"); }, nullptr, {}},
      {"setText inside a session: reported at its end", "", [](Fixture& f) { f.field->setText("q"); }, "", {"q"}},
      {"a tap elsewhere", "1", [](Fixture& f) { f.driver.tap(*f.elsewhere); }, nullptr, {"1"}},
      {"a tap on no view", "2", [](Fixture& f) { f.driver.tap(*f.window, f.onNoView); }, nullptr, {"2"}},
      {"the window losing the desktop's focus", "8", [](Fixture& f) { f.driver.loseFocus(*f.window); }, nullptr, {"8"}},
      {"leaving the window", "3", [](Fixture& f) { f.field->removeFromSuperview(); }, nullptr, {"3"}},
      {"keys after Return do nothing", "4", [](Fixture& f) { f.driver.pressReturn(*f.window); }, "5", {"4"}},
      {"a second tap inside the field keeps the session", "6", [](Fixture& f) { f.driver.tap(*f.field); }, "7", {"67"}},
  };
  for (const Case& c : cases) {
    Fixture f;
    if (c.typed) {
      f.driver.tap(*f.field);
      f.driver.type(*f.window, c.typed, false);
    }
    c.then(f);
    if (c.typedAfter) f.driver.type(*f.window, c.typedAfter);
    EXPECT_EQ(f.reports, c.expected) << c.what;
    EXPECT_FALSE(f.field->isEditing()) << c.what;
  }
}

TEST(TextFieldLineBreaks, NeverEnterTheText) {
  struct Case {
    std::string input;
    std::string expected;
  };
  std::vector<Case> cases = {
      {"12\n", "12"}, {"\r\n12\r\n34\r\n", "12 34"}, {"a\n\n\nb", "a b"}, {"a\u2028b", "a b"}, {"plain", "plain"},
  };
  for (auto& c : cases) {
    Fixture f;
    f.field->setText(c.input);
    EXPECT_EQ(f.field->text(), c.expected) << "set " << c.input;

    // The same text through the clipboard, into an empty field.
    f.field->setText("seed");
    f.driver.tap(*f.field);
    f.driver.pressKeys(*f.window, "Ctrl+A");
    f.driver.pressKeys(*f.window, "Ctrl+C");  // puts "seed" on the clipboard
    f.field->setText(c.input);
    f.driver.pressKeys(*f.window, "Ctrl+A");
    f.driver.pressKeys(*f.window, "Ctrl+X");
    f.driver.pressKeys(*f.window, "Ctrl+V");
    f.driver.pressReturn(*f.window);
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0], c.expected) << "pasted " << c.input;
  }
}

TEST(TextFieldSelection, KeysAndMouseSelectAndTheClipboardCarriesIt) {
  Fixture f;
  f.field->setText("hello world");
  f.driver.tap(*f.field);  // the caret lands after the text, right of it
  for (int i = 0; i < 5; ++i) f.driver.pressKeys(*f.window, "Shift+Left");
  EXPECT_EQ(f.field->selectedText(), "world");
  f.driver.pressKeys(*f.window, "Ctrl+C");
  f.driver.type(*f.window, "there", false);  // typing replaces the selection
  EXPECT_EQ(f.field->text(), "hello there");
  f.driver.pressKeys(*f.window, "Home");
  f.driver.pressKeys(*f.window, "Ctrl+V");
  EXPECT_EQ(f.field->text(), "worldhello there");
  f.driver.pressKeys(*f.window, "Ctrl+Z");
  EXPECT_EQ(f.field->text(), "hello there");

  // A mouse drag across the whole field selects all of the text.
  f.driver.drag(*f.window, Point{11, 25}, Point{209, 25});
  EXPECT_EQ(f.field->selectedText(), "hello there");
  f.driver.pressReturn(*f.window);
  EXPECT_EQ(f.field->selectedText(), "");
  EXPECT_EQ(f.reports, std::vector<std::string>{"hello there"});
}

TEST(TextFieldSelection, AClickLandsInTheScrolledTextWhetherOrNotAPaintRan) {
  std::vector<std::string> texts;
  for (bool paint : {false, true}) {
    Fixture f;
    f.field->setText("0123456789012345678901234567890123456789012345678901234567890123456789");
    f.driver.tap(*f.field);
    f.driver.pressKeys(*f.window, "End");  // the line scrolls to show its end
    if (paint) f.window->snapshot(1);
    f.driver.tap(*f.window, Point{11, 25});
    f.driver.type(*f.window, "|");
    texts.push_back(f.field->text());
  }
  EXPECT_EQ(texts[0], texts[1]);
  EXPECT_NE(texts[0].front(), '|');  // not the start of the text: the click saw the scroll
}

}  // namespace
}  // namespace ui
