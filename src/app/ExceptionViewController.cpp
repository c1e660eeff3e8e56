#include "app/ExceptionViewController.h"

#include "ui/View.h"

ExceptionViewController::ExceptionViewController(std::exception_ptr exception) : _exception(std::move(exception)) {}

void ExceptionViewController::viewDidLoad() {
  ViewController::viewDidLoad();
  view()->setBackgroundColor(ui::Color::white(1));
}

void ExceptionViewController::viewDidAppear(bool animated) {
  ViewController::viewDidAppear(animated);
  auto alert = std::make_shared<ui::AlertView>(
      "Error",
      "An error has occured, if you forgot to Quit to Title in Minecraft, do that. Otherwise, report this to me at "
      "@Harrowby on twitter, install CrashReporter, and send me the crash report.",
      std::static_pointer_cast<ui::AlertViewDelegate>(
          std::static_pointer_cast<ExceptionViewController>(shared_from_this())),
      "Okay", std::vector<std::string>{});
  alert->show();
}

void ExceptionViewController::clickedButtonAtIndex(ui::AlertView&, long) {
  // The very object caught at launch, not a copy.
  std::rethrow_exception(_exception);
}
