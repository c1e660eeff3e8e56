#pragma once

#include <exception>

#include "ui/AlertView.h"
#include "ui/ViewController.h"

// The screen for a failed launch: a white screen and an alert saying what to
// do. Its one button raises the launch exception again, so the process ends
// through the uncaught-exception path and the crash report holds it.
class ExceptionViewController : public ui::ViewController, public ui::AlertViewDelegate {
 public:
  explicit ExceptionViewController(std::exception_ptr exception);

  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void clickedButtonAtIndex(ui::AlertView& alertView, long buttonIndex) override;

 private:
  std::exception_ptr _exception;
};
