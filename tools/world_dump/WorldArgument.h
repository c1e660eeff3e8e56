#pragma once

#include <filesystem>
#include <string>

// The world a command names: a folder, wherever it lies
// (a copy, a backup), or else the name of a world in the game's worlds
// folder that Gorvane finds (its folder's name or the name in its
// levelname.txt). Raises TBKException (Usage) saying where it
// looked when neither is there.
std::filesystem::path worldArgument(const std::string& argument);

// Where Gorvane keeps the backups of a world in the game's minecraftWorlds
// folder; "" (no backup) for a world anywhere else.
std::string backupFolderFor(const std::filesystem::path& world);
