#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Tarnbook/TBKBackup.h"
#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKPlayerEntry.h"
#include "Tarnbook/TBKRecord.h"

class TBKWorldStore;

// One world of the game: its level.dat (the level tree) and its player
// record, kept in the world's LevelDB under "~local_player" or, in worlds
// from before the LevelDB format (no db/ folder), as the "Player" compound
// inside level.dat.
//
// Opening is lazy: making the object and reading levelData() touch nothing
// but level.dat. The database opens on the first player()/setPlayer() (or
// the first write, which backs the player record up) and closes when the
// last object using it goes away. Every failure raises a TBKException.
class TBKLevelDB {
 public:
  // The game lock: an exclusive advisory lock on the game's data folder,
  // held until unlockMinecraft() or the end of the process. Taking it twice
  // in one process is harmless; when another process holds it, raises
  // (LockFailure, "Another editor is using the game's data ...").
  static void lockMinecraft();
  static void unlockMinecraft();

  // Folder names under minecraftWorlds that hold a level.dat, sorted
  // bytewise so the order is the same on every call. No worlds folder: empty.
  static std::vector<std::string> worlds();

  // A new object for the world in minecraftWorlds/<name>, with backups kept
  // in gorvane-backups/<name>. Raises when no such world folder exists or
  // the name is not a plain folder name.
  static std::shared_ptr<TBKLevelDB> dbForWorldNamed(const std::string& name);

  // A world in any folder. worldName is used in reasons given to the user.
  // Backups go to backupFolder/<UTC time>/; an empty backupFolder makes none
  // (the demo generator writes fresh worlds).
  TBKLevelDB(std::string worldFolder, std::string worldName, std::string backupFolder);
  ~TBKLevelDB();
  TBKLevelDB(const TBKLevelDB&) = delete;
  TBKLevelDB& operator=(const TBKLevelDB&) = delete;

  // level.dat parsed afresh on every call; level.dat_old when level.dat is
  // damaged or missing and the old copy is whole. In an old-format world the
  // "Player" child is the tree player() returns.
  std::shared_ptr<TBKCompoundTag> levelData();
  // The player tree: the same object on every call, the one last handed to
  // setPlayer(). Raises when the world has no player record yet.
  std::shared_ptr<TBKCompoundTag> player();

  // Writes level.dat at once, atomically, with the storage version it was
  // read with; the previous level.dat (when whole) becomes level.dat_old,
  // and a string "LevelName" is also written to levelname.txt.
  void setLevelData(std::shared_ptr<TBKCompoundTag> level);
  // Stores the player tree at once with one synchronous write.
  void setPlayer(std::shared_ptr<TBKCompoundTag> player);

  // Every player of the world: the local player first (listed as missing
  // when there is no record yet), then each "player_<id>" pointer in key
  // order with the record its "ServerId" names, then the "player_server_"
  // records no pointer names (a server's save keeps them without one; they
  // are players all the same). A record is listed once, under its first
  // pointer. A pointer that names no record, names a key that is not a
  // player record, or cannot be read is listed with the reason in
  // `missing`; listing never raises for what one record holds. A world of
  // the older format lists its one player. Reads only the small pointer
  // records: the full records are read when asked for.
  std::vector<TBKPlayerEntry> players();
  // The tree of the record under key ("~local_player" or a
  // "player_server_" key), with player()'s guarantees: the same object on
  // every call, the one last handed to setPlayerForKey(). player() is
  // playerForKey("~local_player"). Raises for any other key, for a record
  // that is not there and for a damaged one.
  std::shared_ptr<TBKCompoundTag> playerForKey(const std::string& key);
  // Stores the tree under key with one synchronous write, after the
  // session's backup holds that record as it was (see backupMade()). Only
  // the two kinds of player key are written; any other raises and nothing
  // is written.
  void setPlayerForKey(const std::string& key, std::shared_ptr<TBKCompoundTag> player);

  // Every record of the world's database in key order, each seen once
  // without the walk holding it; visit returns false to stop (a cancel).
  // Returns whether the walk reached the end. progress (if given) hears now
  // and then how far the walk is, from 0 to 1, and 1 at the end. A world
  // without a database has none.
  bool forEachRecord(const std::function<bool(std::string_view key, std::string_view value)>& visit,
                     const std::function<void(double)>& progress = nullptr);
  // The keys of the database that begin with prefix, in its order; none
  // for a world without a database.
  std::vector<std::string> keysWithPrefix(std::string_view prefix);
  // The bytes of one record of the database, or nullopt when it has none.
  std::optional<std::string> record(std::string_view key);
  // Stores (a value) and removes (none) the records with one synchronous
  // database batch, after the session's backup holds each of them as it
  // was before its first change, absent for a record this adds: a restore
  // of that backup puts them back as the session found them. Raises for a
  // world without a database; when the backup cannot be written, nothing
  // is.
  void writeRecords(const std::vector<TBKRecord>& records);

  const std::string& worldFolder() const { return folder_; }
  const std::string& worldName() const { return name_; }
  // True for a world with a db/ folder, false for the older format.
  bool hasDatabase() const;
  // The storage version of the last level.dat read, or 0 before any read.
  int32_t storageVersion() const { return storageVersion_; }
  // The version a write uses when this object has read none (a new world).
  // Without it, a write keeps the version of the level.dat on disk, or else
  // uses 3 (the LevelDB format's) or 2 (the older format's).
  void setStorageVersion(int32_t version) { storageVersion_ = version; }
  // The folder of the backup this object made, or "" before its first write.
  // It holds level.dat, level.dat_old, levelname.txt, every player's record
  // (local_player.nbt, player_server_<uuid>.nbt) and, from the first
  // writeRecords() of each other record, that record as it was before.
  const std::string& backupMade() const { return backupMade_; }

  // The world's backups in its backup folder, newest first, each with what
  // it holds and, when it cannot be restored, why. A backup keeps level.dat,
  // level.dat_old, levelname.txt and the player records (~local_player and
  // the other players' player_server_...) as they were.
  std::vector<TBKBackup> backups();
  // Puts the world back as `backup` holds it: the three files replaced
  // atomically (one the backup lacks is removed), the player records
  // written with one database batch; records the backup lacks stay. First
  // the world as it is now is kept as a backup of its own (one of the ten
  // kept, so the oldest may go), which restores the same way; its folder is
  // returned. Everything is read and checked before anything is written:
  // a damaged backup, a world the game holds open, or records for a world
  // without a database raise and change nothing. Killed at any moment, the
  // world reads afterwards as the old one or the restored one (see
  // WorldRestore.h). The trees read before are stale afterwards: player()
  // reads the record again, and the next change backs the world up again.
  std::string restoreBackup(const TBKBackup& backup);

 private:
  struct LevelRead;
  LevelRead readLevel();
  void writeLevel(const std::shared_ptr<TBKCompoundTag>& level, bool writeName);
  void backUpOnce();
  std::string backUpNow(const std::vector<std::string>& recordKeys = {});
  void backUpRecords(const std::vector<TBKRecord>& records);
  // Raises when a backup would hold more record bytes than a restore reads.
  void checkBackupTotal(uint64_t total) const;
  std::vector<std::pair<std::string, std::string>> playerRecords();
  void finishRestore();
  TBKWorldStore& store();

  std::string folder_;
  std::string name_;
  std::string backupFolder_;
  std::shared_ptr<TBKWorldStore> store_;
  std::shared_ptr<TBKCompoundTag> player_;
  // Trees of the other players' records, by key, as player_ is the local one.
  std::map<std::string, std::shared_ptr<TBKCompoundTag>> others_;
  int32_t storageVersion_ = 0;
  std::string backupMade_;
  // The keys whose values as they were the session's backup already holds.
  std::set<std::string, std::less<>> backedUp_;
  uint64_t backedUpBytes_ = 0;  // what those records come to
};
