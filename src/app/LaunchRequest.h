#pragma once

#include <string>
#include <vector>

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

  // From the arguments after the program's name. A path ending in
  // ".mcworld" (any case) is an archive, any other a folder; only one of
  // each is taken. From another option on, the arguments are the
  // platform's.
  static LaunchRequest parse(const std::vector<std::string>& arguments);

  // The request of this run, set once by main before the application starts.
  static const LaunchRequest& current();
  static void setCurrent(LaunchRequest request);
};
