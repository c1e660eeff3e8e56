#include "app/ProgressAlert.h"

#include <cmath>
#include <vector>

#include "ui/Exception.h"

std::shared_ptr<ProgressAlert> ProgressAlert::start(const std::string& title, const std::string& subject,
                                                    std::function<void(const ui::BackgroundTask::Progress&)> work,
                                                    std::function<void()> finished) {
  std::shared_ptr<ProgressAlert> progress(new ProgressAlert());
  progress->subject_ = subject;
  progress->alert_ =
      std::make_shared<ui::AlertView>(title, subject + ": 0%", progress, "Cancel", std::vector<std::string>{});
  try {
    progress->alert_->show();
  } catch (const ui::Exception&) {
    // No window to show it in: the work runs all the same.
  }
  std::weak_ptr<ProgressAlert> weak = progress;
  progress->task_ = ui::BackgroundTask::start(
      std::move(work),
      [weak](double done) {
        if (auto self = weak.lock()) self->showProgress(done);
      },
      // Held until the end: the alert's delegate is weak.
      [progress, finished = std::move(finished)] {
        progress->alert_->dismissWithClickedButtonIndex(0, false);
        if (finished) finished();
      });
  return progress;
}

void ProgressAlert::cancel() {
  if (task_) task_->cancel();
}

void ProgressAlert::clickedButtonAtIndex(ui::AlertView&, long) { cancel(); }

void ProgressAlert::showProgress(double done) {
  if (!alert_->isVisible() || (task_ && task_->isCancelled())) return;
  alert_->setMessage(subject_ + ": " + std::to_string(int(std::floor(done * 100))) + "%");
}
