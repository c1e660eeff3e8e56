#include "ui/Application.h"

#include <sys/auxv.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <string>

#include "BusyCount.h"
#include "Guarded.h"
#include "ui/Exception.h"

namespace ui {
namespace {

Application* sharedApplication = nullptr;
std::atomic<int> busy{0};
bool instantAnimations = false;
int signalPipe[2] = {-1, -1};

// Qt's own chatter stays out of the log unless someone debugging asks for it
// (UI_QT_MESSAGES=1); a fatal one (no display to open, say) is the user's
// only clue and always gets through.
void qtMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  static const bool wanted = std::getenv("UI_QT_MESSAGES") != nullptr;
  if (!wanted && type != QtFatalMsg) return;
  fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  fflush(stderr);
}

// The last line of defence: anything thrown inside Qt's dispatch that our own
// guards did not see.
class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      terminateWithUncaughtException(std::current_exception());
    }
  }
};

// Started set-user-id, plugins come from Qt's own folder alone (which the
// qt.conf built into this library names, never one beside the program).
// Qt adds the program's own folder to its plugin folders while the
// application is made, and a hard link of the program can stand in a folder
// of anyone's; it leaves that folder out only when it was among the folders
// it knew before and setLibraryPaths() dropped it. So before the
// application is made it is told of that folder for a moment, and after,
// it is held to Qt's folder once more.
void onlyQtsOwnPlugins(bool beforeTheApplication) {
  QStringList qtsOwn = {QLibraryInfo::path(QLibraryInfo::PluginsPath)};
  if (beforeTheApplication) {
    char self[4096];
    ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string program(self, length > 0 ? size_t(length) : 0);
    ::setenv("QT_PLUGIN_PATH", program.substr(0, program.rfind('/')).c_str(), 1);
    QCoreApplication::libraryPaths();
    ::unsetenv("QT_PLUGIN_PATH");
  }
  QCoreApplication::setLibraryPaths(qtsOwn);
}

void onTerminate() {
  if (auto error = std::current_exception()) terminateWithUncaughtException(error);
  std::abort();
}

void onSignal(int) {
  char c = 1;
  [[maybe_unused]] auto n = ::write(signalPipe[1], &c, 1);
}

}  // namespace

void guarded(const std::function<void()>& fn) {
  try {
    fn();
  } catch (...) {
    terminateWithUncaughtException(std::current_exception());
  }
}

void beginBusy() { ++busy; }
void endBusy() { --busy; }
int busyCount() { return busy; }
bool animationsInstant() { return instantAnimations; }
void setAnimationsInstant(bool instant) { instantAnimations = instant; }

Application::Application(int argc, char** argv) {
  qInstallMessageHandler(qtMessageHandler);
  std::set_terminate(onTerminate);
  // QApplication keeps references to argc and argv for its whole life.
  static int storedArgc = argc;
  static char** storedArgv = argv;
  bool setUserId = ::getauxval(AT_SECURE) != 0;
  if (setUserId) onlyQtsOwnPlugins(true);
  new GuardedApplication(storedArgc, storedArgv);
  if (setUserId) onlyQtsOwnPlugins(false);
  QApplication::setApplicationName("Gorvane");
  QApplication::setQuitOnLastWindowClosed(false);
  sharedApplication = this;
  // From the first moment: a SIGTERM during launch is held until the loop
  // runs, then handled as any other trip to the background.
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [this] {
      char c;
      [[maybe_unused]] auto n = ::read(signalPipe[0], &c, 1);
      guarded([&] {
        enterBackground();
        quit(0);
      });
    });
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
  }
}

Application* Application::shared() { return sharedApplication; }

Application& Application::ensure() {
  if (!sharedApplication) {
    static char name[] = "gorvane";
    static char* argv[] = {name, nullptr};
    new Application(1, argv);
  }
  return *sharedApplication;
}

void Application::post(std::function<void()> fn) {
  ensure();
  beginBusy();
  QTimer::singleShot(0, qApp, [fn = std::move(fn)] {
    endBusy();
    guarded(fn);
  });
}

int Application::run(std::unique_ptr<ApplicationDelegate> delegate) {
  delegate_ = std::move(delegate);
  guarded([&] { delegate_->applicationDidFinishLaunching(*this); });

  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, qApp, [this](Qt::ApplicationState state) {
    guarded([&] {
      switch (state) {
        case Qt::ApplicationActive:
          if (background_) {
            background_ = false;
            delegate_->applicationWillEnterForeground(*this);
          }
          delegate_->applicationDidBecomeActive(*this);
          break;
        case Qt::ApplicationInactive:
          delegate_->applicationWillResignActive(*this);
          break;
        case Qt::ApplicationHidden:
        case Qt::ApplicationSuspended:
          enterBackground();
          break;
      }
    });
  });

  int status = 0;
  guarded([&] { status = QApplication::exec(); });
  guarded([&] { delegate_->applicationWillTerminate(*this); });
  return status;
}

void Application::quit(int status) { QApplication::exit(status); }

void Application::enterBackground() {
  if (background_ || !delegate_) return;
  background_ = true;
  delegate_->applicationDidEnterBackground(*this);
}

int runApplication(int argc, char** argv, std::unique_ptr<ApplicationDelegate> (*makeDelegate)()) {
  Application* app = Application::shared();
  if (!app) app = new Application(argc, argv);
  std::unique_ptr<ApplicationDelegate> delegate;
  guarded([&] { delegate = makeDelegate(); });
  return app->run(std::move(delegate));
}

}  // namespace ui
