#include "ui/BackgroundTask.h"

#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ui/TestDriver.h"

namespace ui {
namespace {

// What the work reports arrives on the main thread, in order, a hundredth
// apart at least, and the end after it; a cancel reaches the work, which
// then stops, and the end still comes.
TEST(BackgroundTask, ProgressAndTheEndReachTheMainThreadAndACancelReachesTheWork) {
  TestDriver driver;
  const auto mainThread = std::this_thread::get_id();
  std::vector<double> seen;
  std::vector<std::string> events;
  auto task = BackgroundTask::start(
      [](const BackgroundTask::Progress& progress) {
        for (double done : {0.25, 0.251, 0.5, 1.0}) progress(done);
      },
      [&](double done) {
        EXPECT_EQ(std::this_thread::get_id(), mainThread);
        seen.push_back(done);
      },
      [&] { events.push_back(std::this_thread::get_id() == mainThread ? "finished on main" : "finished elsewhere"); });
  driver.runUntilIdle(10);
  EXPECT_EQ(seen, (std::vector<double>{0.25, 0.5, 1.0}));
  EXPECT_EQ(events, std::vector<std::string>{"finished on main"});
  EXPECT_TRUE(task->isFinished());

  std::atomic<int> rounds{0};
  auto endless = BackgroundTask::start(
      [&](const BackgroundTask::Progress& progress) {
        while (progress(0) && rounds < 100000000) ++rounds;
      },
      nullptr, [&] { events.push_back("stopped"); });
  endless->cancel();
  driver.runUntilIdle(10);
  EXPECT_EQ(events.back(), "stopped");
  EXPECT_LT(rounds, 100000000);
}

}  // namespace
}  // namespace ui
