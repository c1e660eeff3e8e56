#pragma once

#include <ostream>
#include <string>
#include <vector>

// gorvane-world's subcommands, each given the arguments after its name.
// Exit status: 0 done, 1 refused or failed (the reason on err), 2 wrong
// usage (the command's usage on err). Each that only reads a world reads a
// private copy of it (WorldCopy), so it never writes a world, even one the
// game holds.

// dump WORLD: level.dat's header and level tree, the player tree, one tag a
// line with its type, and the world's other players, one a line.
int dumpCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// restore BACKUP WORLD: the world put back as a backup Gorvane kept holds
// it, as the Backups screen does (the world as it is now backed up first
// when it lies in the game's minecraftWorlds folder).
int restoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// restore-player RECORD.nbt WORLD: a player record saved in a backup stored
// back under its own key (local_player.nbt, player_server_<uuid>.nbt).
int restorePlayerCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// containers WORLD [--json]: every container, per dimension; with --json
// one object a line: dimension, x, y, z, id, name, items (slot, name, count).
int containersCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// find WORLD ITEM [--json]: every place the item lies (ITEM a name such as
// minecraft:elytra or elytra, or an early item's number); with --json one
// object a line.
int findCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// entities WORLD [--json]: every entity (creature, dropped item, minecart)
// in both forms, in the database's key order; with --json one object a
// line: dimension, id (as remove-entity takes it), identifier, name, x, y,
// z, health (null for a thing without any), listed (false for a record no
// chunk's digest names). A damaged record is named on err and skipped.
int entitiesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// remove-entity WORLD ID: the entity of that id (as entities prints it)
// removed with its id out of its chunk's digest, or its root out of its
// chunk's old-form value, in one write; backed up first as the editor
// does for a world in the game's minecraftWorlds folder.
int removeEntityCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
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
// ("mystructure:" added to a name without a namespace), the world's backup
// keeping what it replaces.
int importStructureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// map WORLD [--dimension overworld|nether|end] --png FILE
//
// Draws every saved chunk of one dimension of the world in the folder
// WORLD from above, one pixel per block (north up, the smallest x and z at
// the top left), and writes it to FILE as a PNG; unsaved chunks stay clear.
// Says on `out` which blocks the picture's top-left pixel stands for, how
// many chunks were drawn and which block names had no colour. Returns the
// exit status: 0 when the picture was written, 1 otherwise (the reason on
// `err`).
int mapCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
