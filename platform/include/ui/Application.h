#pragma once

#include <functional>
#include <memory>

namespace ui {

class Application;

// What the phone calls the application delegate. Desktop mapping: the window
// gaining focus is "did become active", losing it "will resign active"; the
// window being closed, SIGTERM or SIGINT, or the desktop suspending or hiding
// the application is "did enter background"; coming back from a hidden state
// is "will enter foreground"; the loop ending is "will terminate".
class ApplicationDelegate {
 public:
  virtual ~ApplicationDelegate() = default;
  virtual bool applicationDidFinishLaunching(Application&) { return true; }
  virtual void applicationWillResignActive(Application&) {}
  virtual void applicationDidBecomeActive(Application&) {}
  virtual void applicationDidEnterBackground(Application&) {}
  virtual void applicationWillEnterForeground(Application&) {}
  virtual void applicationWillTerminate(Application&) {}
};

// The application object: runs the main loop and tells the delegate.
class Application {
 public:
  static Application* shared();
  ApplicationDelegate* delegate() const { return delegate_.get(); }

  // Runs `fn` on the main thread at the next turn of the event loop.
  static void post(std::function<void()> fn);

  // Creates the process's application object without a delegate, for tests
  // and tools that need windows, fonts or pictures without a main loop.
  static Application& ensure();

  // Runs the loop until quit() or the delegate ends the process.
  int run(std::unique_ptr<ApplicationDelegate> delegate);
  void quit(int status = 0);

  // Enters the background as the desktop would (also used by tests).
  void enterBackground();

 private:
  Application(int argc, char** argv);
  friend int runApplication(int, char**, std::unique_ptr<ApplicationDelegate> (*)());
  std::unique_ptr<ApplicationDelegate> delegate_;
  bool background_ = false;
};

int runApplication(int argc, char** argv, std::unique_ptr<ApplicationDelegate> (*makeDelegate)());

// Creates one delegate of class D and runs the main loop with it.
template <class D>
int applicationMain(int argc, char** argv) {
  return runApplication(argc, argv, [] { return std::unique_ptr<ApplicationDelegate>(std::make_unique<D>()); });
}

}  // namespace ui
