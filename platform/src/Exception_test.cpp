#include "ui/Exception.h"

#include <regex>

#include <gtest/gtest.h>

#include "ui/Log.h"
#include "ui/TestDriver.h"
#include "ui/Timer.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace ui {
namespace {

int handled = 0;
void countingHandler(const Exception& e) {
  ++handled;
  fprintf(stderr, "handled %d: %s\n", handled, e.description().c_str());
}

// A ui::Exception from an event and a standard one from a timer: each is
// reported by its reason, once.
TEST(UncaughtExceptionsDeathTest, AnExceptionInATapOrATimerReachesTheHandlerOnceThenAborts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setUncaughtExceptionHandler(countingHandler);
        TestDriver driver;
        auto window = std::make_shared<Window>(Rect(0, 0, 100, 100));
        auto view = std::make_shared<View>(Rect(0, 0, 100, 100));
        view->setTapHandler([] { raise("TestException", "tapped too hard"); });
        window->addSubview(view);
        driver.tap(*view);
        fprintf(stderr, "still running\n");
        std::exit(0);
      },
      testing::KilledBySignal(SIGABRT), "^handled 1: tapped too hard\n$");
  EXPECT_EXIT(
      {
        setUncaughtExceptionHandler(countingHandler);
        TestDriver driver;
        auto timer = Timer::scheduled(0, false, [](Timer&) { throw std::runtime_error("timer broke"); });
        driver.runUntilIdle(0.5);
        std::exit(0);
      },
      testing::KilledBySignal(SIGABRT), "^handled 1: timer broke\n$");
}

struct Thing : Describable {
  std::string description() const override { return "a thing"; }
};

TEST(Log, FormatsLikeTheFormattedLogOfThePhone) {
  Thing thing;
  const char* none = nullptr;
  EXPECT_EQ(formatLogMessage("Pre-uid User: %s", {none}), "Pre-uid User: (null)");
  EXPECT_EQ(formatLogMessage("uid: %d", {501}), "uid: 501");
  EXPECT_EQ(formatLogMessage("%@ and %s, %u%% %05.1f", {thing, "text", 7u, 3.14159}), "a thing and text, 7% 003.1");
  EXPECT_EQ(formatLogMessage("missing %d %@", {}), "missing 0 (null)");
  Exception e("Name", "the reason");
  EXPECT_EQ(formatLogMessage("Gorvane crashed with exception: %@", {e}), "Gorvane crashed with exception: the reason");
}

TEST(Log, WritesOneStampedLineToStandardError) {
  testing::internal::CaptureStderr();
  log("uid: %d", 0);
  std::string line = testing::internal::GetCapturedStderr();
  std::regex stamped(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} Gorvane\[\d+:\d+\] uid: 0\n$)");
  EXPECT_TRUE(std::regex_match(line, stamped)) << line;
}

}  // namespace
}  // namespace ui
