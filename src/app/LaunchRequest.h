#pragma once

#include <string>
#include <vector>

#include "external/Tarnbook.h"

// What the command line asks of Gorvane: `gorvane FILE.mcworld` imports
// the archive and opens the new world; `gorvane FOLDER` opens the game's
// data from another device's folder, or one world's folder;
// `--export-to=FOLDER` is where the level screen's export writes instead of
// the user's documents. The paths are the user's say-so: they are only ever
// reached through the library's checked paths, as the real user could.
struct LaunchRequest {
  std::string archive;
  std::string folder;
  std::string exportFolder;
  // Why the arguments were not understood, or "".
  std::string problem;
  // The game's data folders found in `folder` (TBKFileSource::dataFoldersIn):
  // one, or one per user of another device for the user to choose from.
  std::vector<TBKDataFolder> dataFolders;

  // From the arguments after the program's name. A path ending in
  // ".mcworld" (any case) is an archive, any other a folder; only one of
  // each is taken. From another option on, the arguments are the
  // platform's.
  static LaunchRequest parse(const std::vector<std::string>& arguments);

  // parse(), with each path made absolute from `workingFolder` and the
  // data folders looked for in `folder` as the real user could; none there,
  // or a folder the user may not look into, is a problem.
  static LaunchRequest fromArguments(const std::vector<std::string>& arguments, const std::string& workingFolder);

  // The request of this run, set once by main before the application starts.
  static const LaunchRequest& current();
  static void setCurrent(LaunchRequest request);
};
