#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

namespace ui {

// Long work (an archive packed, a world copied) on a worker thread of its
// own, never inside a frame. What it reports reaches the main thread: each
// progress call posts the share done to `progressed` (only when it has
// grown by a hundredth, so a fast loop does not flood the event queue), and
// `finished` runs there once the work has returned. Until then the task
// counts as busy work, which the test driver waits for.
//
// The work is handed a progress function that returns false once cancel()
// was called: the work is expected to stop soon after. The closures are
// kept by the task until `finished` has run; a screen that may go away
// first is captured weakly by whoever makes them. An exception the work
// lets escape is raised again on the main thread (the uncaught-exception
// path: a programming error).
class BackgroundTask {
 public:
  using Progress = std::function<bool(double done)>;

  static std::shared_ptr<BackgroundTask> start(std::function<void(const Progress&)> work,
                                               std::function<void(double done)> progressed,
                                               std::function<void()> finished);
  ~BackgroundTask();
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Asks the work to stop; `finished` still runs.
  void cancel() { cancelled_ = true; }
  bool isCancelled() const { return cancelled_; }
  // True once `finished` has run.
  bool isFinished() const { return finished_; }

 private:
  BackgroundTask() = default;

  std::atomic<bool> cancelled_{false};
  bool finished_ = false;
  // The share last posted, in hundredths; touched by the worker only.
  int posted_ = -1;
};

}  // namespace ui
