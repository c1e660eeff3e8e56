#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Long work reports the share done (0...1) now and then; returning false
// asks it to stop, and it then ends leaving nothing behind.
using TBKProgress = std::function<bool(double done)>;

// A world as one file a player can carry: the .mcworld archive, a zip of a
// world folder's contents (level.dat, levelname.txt, db/, the icon, packs
// and their lists) as the game makes and reads them. Every file is read and
// written as the real user could (TBKFileSource.h), the archive is read
// only through a descriptor opened that way, and what is made belongs to
// that user. Failures raise TBKException with a reason naming the file.
class TBKWorldArchive {
 public:
  // levelName as a file name: "/", control characters and a leading "."
  // become "_", and ".mcworld" is added; an empty name is "world".
  static std::string archiveFileName(const std::string& levelName);

  // The names of the .mcworld files (any case) directly in folder, sorted,
  // as the real user could list them; none when it does not exist. Only
  // plain files: a link is not offered.
  static std::vector<std::string> archivesIn(const std::string& folder);

  // Writes the world folder's contents into folder/fileName, by default
  // archiveFileName(worldName) ("<name> (2).mcworld" and so on when that
  // is taken: nothing is
  // replaced), owned by the real user, through a temporary name renamed at
  // the end. This process's own handle of the world's database is closed
  // meanwhile and the world's files held still; a world the game holds
  // raises WorldBusy. Returns the archive's path; nullopt when stopped.
  static std::optional<std::string> exportWorld(const std::string& worldFolder, const std::string& worldName,
                                                const std::string& folder, const TBKProgress& progress = {},
                                                const std::string& fileName = "");

  // Unpacks the archive into a new folder of worldsFolder under a fresh
  // name like the game's (12 characters, never one that exists), and
  // returns that name; nullopt when stopped. The archive is hostile until
  // proven otherwise: its whole directory is checked first (ArchivePlan.h)
  // and refused, naming the entry, with nothing written. The files are
  // unpacked into a hidden folder (.incomplete-import-<pid>) without a
  // level.dat until the last, flushed, and renamed into place only when
  // whole: a kill at any moment leaves no half world for Gorvane or the
  // game to list, and the next import clears what it left.
  static std::optional<std::string> importWorld(const std::string& archive, const std::string& worldsFolder,
                                                const TBKProgress& progress = {});
};
