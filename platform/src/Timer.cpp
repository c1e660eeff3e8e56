#include "ui/Timer.h"

#include <QElapsedTimer>
#include <QTimer>

#include "Guarded.h"
#include "ui/Application.h"

namespace ui {

struct Timer::Impl {
  QTimer timer;
  std::function<void(Timer&)> fire;
};

Timer::Timer(double interval, bool repeats, std::function<void(Timer&)> fire)
    : impl_(std::make_unique<Impl>()), interval_(interval) {
  impl_->fire = std::move(fire);
  impl_->timer.setSingleShot(!repeats);
  impl_->timer.setTimerType(Qt::PreciseTimer);
  impl_->timer.setInterval(int(interval * 1000 + 0.5));
}

std::shared_ptr<Timer> Timer::scheduled(double intervalSeconds, bool repeats, std::function<void(Timer&)> fire) {
  Application::ensure();
  std::shared_ptr<Timer> timer(new Timer(intervalSeconds, repeats, std::move(fire)));
  Timer* raw = timer.get();
  QObject::connect(&timer->impl_->timer, &QTimer::timeout, [raw] {
    guarded([raw] {
      auto fire = raw->impl_->fire;  // the closure may invalidate or drop the timer
      if (fire) fire(*raw);
    });
  });
  timer->impl_->timer.start();
  return timer;
}

Timer::~Timer() = default;

void Timer::invalidate() {
  impl_->timer.stop();
  impl_->fire = nullptr;
}

bool Timer::isValid() const { return impl_->timer.isActive(); }

double currentMediaTime() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return clock.nsecsElapsed() / 1e9;
}

}  // namespace ui
