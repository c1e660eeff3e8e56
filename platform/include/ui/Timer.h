#pragma once

#include <functional>
#include <memory>

namespace ui {

// A repeating or one-shot timer on the main loop. It runs only while
// scheduled: an invalidated timer costs nothing. The closure may invalidate
// the timer; it must not keep the timer's owner alive (capture weakly).
class Timer {
 public:
  static std::shared_ptr<Timer> scheduled(double intervalSeconds, bool repeats, std::function<void(Timer&)> fire);
  ~Timer();
  void invalidate();
  bool isValid() const;
  double interval() const { return interval_; }

 private:
  Timer(double interval, bool repeats, std::function<void(Timer&)> fire);
  struct Impl;
  std::unique_ptr<Impl> impl_;
  double interval_;
};

// Seconds on a monotonic clock, for animations.
double currentMediaTime();

}  // namespace ui
