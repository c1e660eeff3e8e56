#include <climits>
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "Bevel/BVLButton.h"
#include "Bevel/BVLSegmentedControl.h"
#include "Bevel/BVLSlider.h"
#include "Bevel/BVLSwitch.h"
#include "Bevel/BVLTextField.h"
#include "TestBundle.h"
#include "ui/TestDriver.h"
#include "ui/Window.h"

namespace {

struct Fixture {
  ui::TestDriver driver;
  std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>(ui::Rect(0, 0, 568, 320));
  std::shared_ptr<ui::View> elsewhere = std::make_shared<ui::View>(ui::Rect(0, 280, 100, 40));
  std::vector<std::string> reports;

  std::shared_ptr<BVLButton> button =
      std::make_shared<BVLButton>(ui::Rect(10, 10, 200, 40), [this](BVLButton&) { reports.push_back("button"); });
  std::shared_ptr<BVLSwitch> toggle = std::make_shared<BVLSwitch>(
      ui::Rect(10, 60, 76, 38), [this](BVLSwitch&, bool on) { reports.push_back(on ? "on" : "off"); });
  std::shared_ptr<BVLSegmentedControl> segments = std::make_shared<BVLSegmentedControl>(
      ui::Rect(10, 110, 300, 36), std::vector<std::string>{"Peaceful", "Easy", "Normal"},
      [this](BVLSegmentedControl&, long index) { reports.push_back("segment " + std::to_string(index)); });
  std::shared_ptr<BVLSlider> slider =
      std::make_shared<BVLSlider>(ui::Rect(10, 160, 216, 36), 0, [this](BVLSlider&, float position, long spot) {
        reports.push_back("slider " + std::to_string(int(position * 100 + 0.5)) + " " + std::to_string(spot));
      });
  std::shared_ptr<BVLTextField> field = std::make_shared<BVLTextField>(
      ui::Rect(10, 210, 200, 36),
      [this](BVLTextField&, const std::string& text) { reports.push_back("text " + text); });

  Fixture() {
    bevel::testing::useDemoBundle();
    window->addSubview(button);
    window->addSubview(toggle);
    window->addSubview(segments);
    window->addSubview(slider);
    window->addSubview(field);
    window->addSubview(elsewhere);
  }
  ui::Point at(const ui::View& view, double fx, double fy = 0.5) {
    ui::Rect f = view.frame();
    return ui::Point{f.x() + f.width() * fx, f.y() + f.height() * fy};
  }
};

TEST(Controls, ClosuresRunOnUserChangesOnlyNeverWhenTheProgramSetsAValue) {
  struct Case {
    const char* what;
    std::function<void(Fixture&)> act;
    std::vector<std::string> expected;
  } cases[] = {
      {"program sets every value",
       [](Fixture& f) {
         f.button->setTitle("Edit...", ui::ControlState::Normal);
         f.toggle->setOn(true);
         f.toggle->setOn(false);
         f.segments->setSelectedSegmentIndex(2);
         f.slider->setPosition(0.75f);
         f.field->setText("Steve");
       },
       {}},
      {"tap on the button", [](Fixture& f) { f.driver.tap(*f.button); }, {"button"}},
      {"press inside, release far outside",
       [](Fixture& f) {
         f.driver.drag(*f.window, f.at(*f.button, 0.5), ui::Point{500, 300});
       },
       {}},
      {"two taps on the switch",
       [](Fixture& f) {
         f.driver.tap(*f.toggle);
         f.driver.tap(*f.toggle);
       },
       {"on", "off"}},
      {"switch set on, then tapped",
       [](Fixture& f) {
         f.toggle->setOn(true);
         f.driver.tap(*f.toggle);
       },
       {"off"}},
      {"tap the segment the program chose",
       [](Fixture& f) {
         f.segments->setSelectedSegmentIndex(0);
         f.driver.tap(*f.window, f.at(*f.segments, 0.1));
         f.driver.tap(*f.window, f.at(*f.segments, 0.5));
       },
       {"segment 1"}},
      {"press one segment, release on another",
       [](Fixture& f) { f.driver.drag(*f.window, f.at(*f.segments, 0.1), f.at(*f.segments, 0.5)); },
       {"segment 1"}},
      {"drag the slider to its right end",
       [](Fixture& f) { f.driver.drag(*f.window, f.at(*f.slider, 0.02), f.at(*f.slider, 1.0)); },
       {"slider 100 0"}},
      {"tap the slider where its knob already is",
       [](Fixture& f) {
         f.slider->setPosition(0.5f);
         f.driver.tap(*f.window, f.at(*f.slider, 0.5));
       },
       {}},
      {"type into the field and press Return",
       [](Fixture& f) {
         f.driver.tap(*f.field);
         f.driver.type(*f.window, "Alex");
       },
       {"text Alex"}},
      {"edit, then tap elsewhere",
       [](Fixture& f) {
         f.field->setText("a");
         f.driver.tap(*f.field);
         f.driver.type(*f.window, "b", false);
         f.driver.tap(*f.elsewhere);
       },
       {"text ab"}},
      {"focus the field and leave it unchanged",
       [](Fixture& f) {
         f.field->setText("same");
         f.driver.tap(*f.field);
         f.driver.pressReturn(*f.window);
         f.driver.tap(*f.field);
         f.driver.tap(*f.elsewhere);
       },
       {}},
  };
  for (const Case& c : cases) {
    Fixture f;
    c.act(f);
    f.driver.runUntilIdle();
    EXPECT_EQ(f.reports, c.expected) << c.what;
  }
}

TEST(SegmentedControl, AnIndexOutsideTheSegmentsChoosesNone) {
  struct Case {
    long index;
    long shown;
  } cases[] = {{0, 0}, {2, 2}, {3, -1}, {-1, -1}, {-2, -1}, {100, -1}, {LONG_MAX, -1}, {LONG_MIN, -1}};
  for (const Case& c : cases) {
    BVLSegmentedControl control(ui::Rect(0, 0, 300, 36), {"A", "B", "C"}, nullptr);
    control.setSelectedSegmentIndex(1);
    control.setSelectedSegmentIndex(c.index);
    EXPECT_EQ(control.selectedSegmentIndex(), c.shown) << c.index;
  }
  BVLSegmentedControl empty(ui::Rect(0, 0, 300, 36), {}, nullptr);
  empty.setSelectedSegmentIndex(0);
  EXPECT_EQ(empty.selectedSegmentIndex(), -1);
  EXPECT_TRUE(empty.segmentFrames().empty());
}

TEST(Slider, PositionsClampAndSnapToStops) {
  struct Case {
    long spots;
    float set;
    float position;
    long spot;
  } cases[] = {
      {0, 0.3f, 0.3f, 0},  {0, -1.0f, 0.0f, 0}, {0, 7.0f, 1.0f, 0},  {0, NAN, 0.0f, 0},
      {5, 0.3f, 0.25f, 1}, {5, 0.38f, 0.5f, 2}, {5, 1.0f, 1.0f, 4},  {2, 0.49f, 0.0f, 0},
      {2, 0.51f, 1.0f, 1}, {1, 0.9f, 0.0f, 0},  {-3, 0.4f, 0.4f, 0},
  };
  for (const Case& c : cases) {
    BVLSlider slider(ui::Rect(0, 0, 200, 36), c.spots, nullptr);
    slider.setPosition(c.set);
    EXPECT_FLOAT_EQ(slider.position(), c.position) << c.spots << " " << c.set;
    EXPECT_EQ(slider.spot(), c.spot) << c.spots << " " << c.set;
  }
}

}  // namespace
