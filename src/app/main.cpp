#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "app/GorvaneUncaughtExceptionHandler.h"
#include "app/LaunchRequest.h"
#include "app/ProgramPlace.h"
#include "app/StartEnvironment.h"
#include "external/Tarnbook.h"
#include "ui/Application.h"
#include "ui/FileReader.h"
#include "ui/Image.h"
#include "ui/Log.h"

// Gorvane reads and writes inside the game's own data folder, which belongs to
// the game's user: it makes itself the superuser before anything else.
int main(int argc, char* argv[]) {
  // Installed set-user-id root, it is started by an ordinary user and acts
  // for them: before anything reads the environment it is cut down to what
  // a window and the game need, and the user is remembered before the
  // process becomes root, so that the game's files are only touched as they
  // could touch them. A start from a root shell keeps everything.
  bool forAnotherUser = getuid() != 0;
  if (forAnotherUser && geteuid() == 0) {
    if (std::string problem = programPlaceProblem(); !problem.empty()) {
      ui::log("Gorvane does not run set-user-id from where it lies: %s. Start the copy installed by root.", problem);
      return 1;
    }
  }
  if (forAnotherUser) keepOnlyTheStartEnvironment();
  TBKFileSource::rememberRealUser();
  // What the command line asks (an archive to import, another device's
  // folder), looked at as the user could before anything starts.
  char workingFolder[4096];
  LaunchRequest request =
      LaunchRequest::fromArguments(std::vector<std::string>(argv + 1, argv + argc),
                                   ::getcwd(workingFolder, sizeof workingFolder) ? workingFolder : "/");
  if (!request.problem.empty()) {
    ui::log("%s", request.problem);
    return 2;
  }
  if (!request.dataFolders.empty()) TBKFileSource::useDataFolder(request.dataFolders[0].path);
  LaunchRequest::setCurrent(std::move(request));
  // The game's pictures and font are read as that user could, like its data.
  ui::setFileReader([](const std::string& path) -> std::optional<std::string> {
    try {
      return TBKFileSource::contentsOfFile(path);
    } catch (const TBKException&) {
      return std::nullopt;
    }
  });

  // Pictures decoded at one start are kept in the user's cache for the
  // next, written and read back as they could (the entries are checked
  // against the pictures' own bytes before use).
  ui::setDecodedPictureStore({[](const std::string& name) -> std::optional<std::string> {
                                try {
                                  return TBKFileSource::cachedFile(name, ui::Image::maximumPicturePixels * 4 + 4096);
                                } catch (const TBKException&) {
                                  return std::nullopt;
                                }
                              },
                              [](const std::string& name, const std::string& entry) {
                                try {
                                  TBKFileSource::keepCachedFile(name, entry);
                                } catch (const TBKException&) {
                                  // Not kept: decoded again next time.
                                }
                              }});

  const char* user = std::getenv("USER");
  ui::log("Pre-uid User: %s", user);
  ui::log("uid: %d", int(getuid()));
  [[maybe_unused]] int uidResult = setuid(0);
  [[maybe_unused]] int gidResult = setgid(0);
  // The report is fixed text (file main, line 23) wherever this line moves,
  // so whoever reads it always sees the same words.
  if (getuid() != 0) ui::assertionFailed("getuid() == 0", "main", "main", 23);
  ui::log("Post-uid User: %s", user);
  ui::setUncaughtExceptionHandler(GorvaneUncaughtExceptionHandler);
  // Qt takes options from the command line too (a plugin folder among
  // them); Gorvane reads none, and on another user's behalf passes none on.
  static char programName[] = "gorvane";
  static char* programOnly[] = {programName, nullptr};
  if (forAnotherUser) return ui::applicationMain<AppDelegate>(1, programOnly);
  return ui::applicationMain<AppDelegate>(argc, argv);
}
