#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Tarnbook/TBKRecord.h"

// One open world database (the game's LevelDB in a world's db/ folder). Every
// object that asks for the same folder in this process shares one handle,
// since LevelDB allows one opening per process; it closes when the last user
// lets go. Failures raise TBKException with the world's name in the reason.
class TBKWorldStore {
 public:
  // Opens dbFolder. An empty folder gets a new database (a world the game
  // has not saved yet, or the demo generator's); a folder with files but no
  // database is refused rather than replaced. A database the game holds
  // raises WorldBusy.
  static std::shared_ptr<TBKWorldStore> open(const std::string& dbFolder, const std::string& worldName);

  // Closes this process's handle of dbFolder, when one is open, and lets
  // none open until resume(): while Gorvane copies a world, LevelDB must not
  // change its files. Meanwhile the store's calls, and open(), raise
  // WorldBusy. A folder paused already raises WorldBusy.
  static void pause(const std::string& dbFolder, const std::string& worldName);
  // Ends pause(): a handle that was open opens again; should that fail, its
  // calls raise with the reason.
  static void resume(const std::string& dbFolder);

  ~TBKWorldStore();
  TBKWorldStore(const TBKWorldStore&) = delete;
  TBKWorldStore& operator=(const TBKWorldStore&) = delete;

  std::optional<std::string> get(std::string_view key);
  // Calls visit for every record whose key begins with prefix, in key order.
  void forEachWithPrefix(std::string_view prefix,
                         const std::function<void(std::string_view key, std::string_view value)>& visit);
  // One synchronous write: on return the record is on disk.
  void put(std::string_view key, std::string_view value);
  // Calls visit for every record in key order until it returns false;
  // returns whether the walk reached the end. progress (if given) hears now
  // and then how far through the database's tables the walk is, from 0 to
  // 1. The walk does not fill the block cache: a listing of the whole world
  // must not evict what the screens read.
  bool walk(const std::function<bool(std::string_view key, std::string_view value)>& visit,
            const std::function<void(double)>& progress = nullptr);
  // Every key that begins with prefix, in the database's order.
  std::vector<std::string> keysWithPrefix(std::string_view prefix);
  // Stores and removes the records with one synchronous batch: after a
  // crash the database holds all of the changes or none.
  void write(const std::vector<TBKRecord>& records);

  struct Handle;

 private:
  TBKWorldStore(std::unique_ptr<Handle> handle, std::string worldName);

  std::unique_ptr<Handle> handle_;
  std::string worldName_;
};
