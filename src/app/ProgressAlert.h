#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/AlertView.h"
#include "ui/BackgroundTask.h"

// Long work the user waits for (an export, an import, a copy): run on a
// worker thread (ui::BackgroundTask) under an alert titled `title` whose
// message is `subject` and the share done ("Modern World: 42%"), with a
// "Cancel" button. Cancel, or cancel() from the screen that started it
// (when that screen goes), asks the work to stop. When the work has
// returned, the alert goes and `finished` runs on the main thread. The
// alert keeps itself alive until then.
class ProgressAlert : public ui::AlertViewDelegate, public std::enable_shared_from_this<ProgressAlert> {
 public:
  static std::shared_ptr<ProgressAlert> start(const std::string& title, const std::string& subject,
                                              std::function<void(const ui::BackgroundTask::Progress&)> work,
                                              std::function<void()> finished);

  void cancel();
  bool isFinished() const { return task_ && task_->isFinished(); }
  std::shared_ptr<ui::AlertView> alert() const { return alert_; }

  void clickedButtonAtIndex(ui::AlertView& alert, long buttonIndex) override;

 private:
  ProgressAlert() = default;
  void showProgress(double done);

  std::string subject_;
  std::shared_ptr<ui::AlertView> alert_;
  std::shared_ptr<ui::BackgroundTask> task_;
};
