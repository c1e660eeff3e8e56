#include "ui/BackgroundTask.h"

#include <thread>

#include "BusyCount.h"
#include "ui/Application.h"

namespace ui {

std::shared_ptr<BackgroundTask> BackgroundTask::start(std::function<void(const Progress&)> work,
                                                      std::function<void(double done)> progressed,
                                                      std::function<void()> finished) {
  std::shared_ptr<BackgroundTask> task(new BackgroundTask());
  Application::ensure();
  beginBusy();
  // The thread holds the task until its result is posted, and the posted
  // closure until it has run: nothing it touches can go away under it.
  std::thread([task, work = std::move(work), progressed = std::move(progressed),
               finished = std::move(finished)]() mutable {
    std::exception_ptr failure;
    try {
      work([&](double done) {
        int hundredths = int(done * 100);
        if (hundredths > task->posted_ && progressed) {
          task->posted_ = hundredths;
          Application::post([progressed, done] { progressed(done); });
        }
        return !task->cancelled_;
      });
    } catch (...) {
      failure = std::current_exception();
    }
    Application::post([task, finished = std::move(finished), failure] {
      endBusy();
      task->finished_ = true;
      if (failure) std::rethrow_exception(failure);
      if (finished) finished();
    });
  }).detach();
  return task;
}

BackgroundTask::~BackgroundTask() = default;

}  // namespace ui
