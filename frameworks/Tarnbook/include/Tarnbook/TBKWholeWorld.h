#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Tarnbook/TBKBackup.h"
#include "Tarnbook/TBKWorldArchive.h"

// A world of minecraftWorlds taken as a whole: copied, deleted, and brought
// back once deleted. A world never appears in the list half made, nor
// leaves it half gone: a copy is put together in a hidden folder and
// renamed into place when whole, and a delete is one rename out of the
// list. Files are read and written as the real user could (TBKFileSource.h)
// and what is made takes the worlds folder's owner. The world's database is
// held still meanwhile (this process's own handle closed, the game kept
// out), and a world the game holds raises WorldBusy. Failures raise
// TBKException with a reason naming the world.
class TBKWholeWorld {
 public:
  // Copies the world folder into a new folder beside it (in its
  // minecraftWorlds) of a fresh name like the game's, named "Copy of <level
  // name>" in level.dat and levelname.txt. Returns the new folder's name;
  // nullopt when stopped, with nothing left behind.
  static std::optional<std::string> copyWorld(const std::string& worldFolder, const TBKProgress& progress = {});

  // Takes minecraftWorlds/<folderName> out of the list, kept whole in
  // gorvane-backups/.deleted-worlds/<UTC time>/ (one rename: the world's
  // files stay as they were, nothing is copied), from where
  // restoreDeletedWorld brings it back. Returns that folder. A backups
  // folder on another file system than the worlds is refused, and the world
  // stays.
  static std::string deleteWorld(const std::string& folderName);

  // The deleted worlds kept, newest first, each with its level name
  // (TBKBackup::worldName) and what its folder holds; one without a
  // readable level.dat is listed as damaged.
  static std::vector<TBKBackup> deletedWorlds();

  // Moves a deleted world, as listed by deletedWorlds(), back into the list
  // under a fresh folder name, and returns that name. A damaged one, or a
  // folder that is not one of deletedWorlds(), raises and changes nothing.
  static std::string restoreDeletedWorld(const TBKBackup& deleted);
};
