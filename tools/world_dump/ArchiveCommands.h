#pragma once

#include <ostream>
#include <string>
#include <vector>

// tarnbook_dump's subcommands for worlds in and out, each given the
// arguments after its name. Exit status: 0 done, 1 refused (the reason on
// err), 2 wrong usage.

// export WORLD [FILE]: the world folder as a .mcworld archive, into FILE
// (a folder, or the archive's name) or the current folder.
int exportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// import FILE [DATA-FOLDER]: the archive as a new world of DATA-FOLDER (the
// game's com.mojang folder; by default the one Gorvane finds).
int importCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// copy WORLD: the world folder copied beside it under a fresh folder name,
// named "Copy of <level name>".
int copyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// structures WORLD: the names of the world's saved structures, one a line.
int structuresCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// export-structure WORLD NAME FILE: the structure as a .mcstructure file.
int exportStructureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// import-structure WORLD FILE NAME: a .mcstructure file stored under NAME
// ("mystructure:" added to a name without a namespace).
int importStructureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
