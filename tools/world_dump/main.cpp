// gorvane-world: a world of the game from a terminal or a script, without
// the editor's screens. Subcommands are rows of the table below, each in a
// file of its own (Commands.h says what each does). It runs with the user's
// own rights and refuses to run set-user-id.
//
// The forms of the tool it grew from stay: `gorvane-world WORLD` dumps,
// `--restore` and `--restore-player` restore.
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

struct Subcommand {
  const char* name;
  const char* usage;
  int (*run)(const std::vector<std::string>&, std::ostream&, std::ostream&);
};

constexpr Subcommand subcommands[] = {
    {"dump", "dump WORLD                          the level and player trees, one tag a line", dumpCommand},
    {"containers", "containers WORLD [--json]           every container and what it holds", containersCommand},
    {"find", "find WORLD ITEM [--json]            every place an item lies", findCommand},
    {"entities", "entities WORLD [--json]             every creature and thing that moves", entitiesCommand},
    {"remove-entity", "remove-entity WORLD ID              one entity out of the world", removeEntityCommand},
    {"map", "map WORLD [--dimension D] --png FILE the world from above, a pixel a block", mapCommand},
    {"export", "export WORLD [FILE]                 the world as a .mcworld archive", exportCommand},
    {"import", "import FILE [DATA-FOLDER]           a .mcworld archive as a new world", importCommand},
    {"copy", "copy WORLD                          the world copied beside it as \"Copy of <name>\"", copyCommand},
    {"structures", "structures WORLD                    the world's saved structures", structuresCommand},
    {"export-structure", "export-structure WORLD NAME FILE    a structure as a .mcstructure file",
     exportStructureCommand},
    {"import-structure", "import-structure WORLD FILE NAME    a .mcstructure file stored under NAME",
     importStructureCommand},
    {"restore", "restore BACKUP-FOLDER WORLD         the world put back as a backup holds it", restoreCommand},
    {"restore-player", "restore-player RECORD.nbt WORLD     a player record put back from a backup",
     restorePlayerCommand},
};

int help(std::ostream& out) {
  out << "usage: gorvane-world COMMAND ARGUMENTS\n\n"
         "WORLD is a world's folder, or the name of a world in the game's data folder.\n\n"
         "commands:\n";
  for (const auto& command : subcommands) out << "  " << command.usage << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (::geteuid() != ::getuid() || ::getegid() != ::getgid()) {
    std::cerr << "gorvane-world runs with its user's own rights only; it must not be installed set-user-id.\n";
    return 1;
  }
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    help(std::cerr);
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") return help(std::cout);
  std::string name = args[0] == "--restore" ? "restore" : args[0] == "--restore-player" ? "restore-player" : args[0];
  for (const auto& command : subcommands) {
    if (name == command.name) return command.run({args.begin() + 1, args.end()}, std::cout, std::cerr);
  }
  if (args.size() == 1 && args[0].rfind("-", 0) != 0) return dumpCommand(args, std::cout, std::cerr);
  std::cerr << "gorvane-world: no command \"" << args[0] << "\"\n";
  help(std::cerr);
  return 2;
}
