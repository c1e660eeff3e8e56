// Start-up of the platform alone: one window, one view, until the first frame.
#include "ui/Application.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace {
class Delegate : public ui::ApplicationDelegate {
 public:
  bool applicationDidFinishLaunching(ui::Application&) override {
    window_ = std::make_shared<ui::Window>(ui::Rect(0, 0, 568, 320));
    auto view = std::make_shared<ui::View>(ui::Rect(20, 20, 100, 100));
    view->setBackgroundColor(ui::Color::rgba(0.2, 0.4, 0.8));
    window_->addSubview(view);
    window_->makeKeyAndVisible();
    return true;
  }

 private:
  std::shared_ptr<ui::Window> window_;
};
}  // namespace

int main(int argc, char** argv) { return ui::applicationMain<Delegate>(argc, argv); }
