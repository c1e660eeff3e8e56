#pragma once

#include <functional>
#include <string>
#include <vector>

// A set-user-id start runs as root on behalf of an ordinary user, whose
// environment must not steer a root process: Qt loads plugins and reads
// files from paths named there, and the platform's debugging and benchmark
// switches live there. What a window and the game's paths need is kept
// (display, runtime folder, user, locale and time zone, the two game
// variables, a bare platform name and a scale factor), each only in a
// harmless form;
// everything else goes. Notably HOME goes too: through it the font
// configuration would read the user's own files as root, and those may tell
// it to write its caches into any folder.

// The entries ("NAME=value") of `environment` that stay. `isOwnFolder`
// answers whether a path is a folder of the real user's own (not a link).
std::vector<std::string> keptStartEnvironment(const std::vector<std::string>& environment,
                                              const std::function<bool(const std::string&)>& isOwnFolder);

// Replaces the process's environment by the kept entries, for the real user
// of the process (call it before becoming root). The X authority file,
// which libraries read by name, becomes a private copy of the file
// (XAUTHORITY, or ~/.Xauthority) read as the real user could read it, or is
// left out; the session bus is one that cannot be reached. A scale factor
// out of reason is dropped with a line in the log, and none is taken from
// the display server (QT_ENABLE_HIGHDPI_SCALING=0, QT_FONT_DPI=96).
void keepOnlyTheStartEnvironment();
