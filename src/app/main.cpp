#include <unistd.h>

#include <cstdlib>

#include "app/AppDelegate.h"
#include "app/GorvaneUncaughtExceptionHandler.h"
#include "ui/Application.h"
#include "ui/Log.h"

// Gorvane reads and writes inside the game's own data folder, which belongs to
// the game's user: it makes itself the superuser before anything else.
int main(int argc, char* argv[]) {
  const char* user = std::getenv("USER");
  ui::log("Pre-uid User: %s", user);
  ui::log("uid: %d", int(getuid()));
  [[maybe_unused]] int uidResult = setuid(0);
  [[maybe_unused]] int gidResult = setgid(0);
  // The report names the original program's check, wherever this line is.
  if (getuid() != 0) ui::assertionFailed("getuid() == 0", "main", "main", 23);
  ui::log("Post-uid User: %s", user);
  ui::setUncaughtExceptionHandler(GorvaneUncaughtExceptionHandler);
  return ui::applicationMain<AppDelegate>(argc, argv);
}
