#pragma once

#include <string>

#include "FileDescriptor.h"

// Keeps a world's database from changing while Gorvane copies its files,
// for as long as this lives: this process's own handle is closed
// (TBKWorldStore::pause) and the database's LOCK file is locked as LevelDB
// locks it, so the game cannot open the world meanwhile. A world the game
// holds raises TBKException (WorldBusy), as for every write. A world
// without a database (the older format) is held by nothing but the game lock.
namespace tbk {

class WorldHold {
 public:
  WorldHold(const std::string& worldFolder, const std::string& worldName);
  ~WorldHold();
  WorldHold(const WorldHold&) = delete;
  WorldHold& operator=(const WorldHold&) = delete;

 private:
  std::string dbFolder_;
  FileDescriptor lock_;
};

}  // namespace tbk
