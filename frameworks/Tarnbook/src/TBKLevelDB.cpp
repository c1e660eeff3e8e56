#include "Tarnbook/TBKLevelDB.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "Folders.h"
#include "PathNames.h"
#include "ReadLimits.h"
#include "TBKTagBuilder.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "Tarnbook/TBKLevelFile.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKStringTag.h"
#include "WholeFile.h"
#include "WorldBackup.h"
#include "WorldRestore.h"
#include "WorldsFolderWatch.h"

namespace {

constexpr const char* playerKey = TBKPlayerEntry::localKey;

std::mutex gameLockMutex;
int gameLockDescriptor = -1;

std::mutex worldsMutex;
tbk::WorldsFolderWatch worldsWatch;

bool isFormatFailure(const TBKException& error) { return error.kind() == TBKException::Kind::Format; }

// A copy of level whose "Player" child is player (renamed "Player" if need
// be): the children are shared, only the list of them is new, so the
// caller's tree is left as it was.
std::shared_ptr<TBKCompoundTag> withPlayer(const TBKCompoundTag& level, const std::shared_ptr<TBKCompoundTag>& player) {
  auto copy = std::make_shared<TBKCompoundTag>(level.name());
  for (const auto& child : level.value()) TBKTagBuilder::append(*copy, child);
  copy->setObjectForKeyedSubscript(player, "Player");
  return copy;
}

}  // namespace

struct TBKLevelDB::LevelRead {
  TBKLevelFile file;
  std::string bytes;
};

void TBKLevelDB::lockMinecraft() {
  std::lock_guard<std::mutex> guard(gameLockMutex);
  if (gameLockDescriptor >= 0) return;
  std::string folder = TBKFileSource::sharedSource().gameDataFolder();
  int fd;
  try {
    fd = tbk::openFolder(folder);
  } catch (const TBKException& error) {
    throw TBKException(TBKException::Kind::File,
                       "The game's data folder " + folder + " cannot be opened. " + error.reason());
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      throw TBKException(TBKException::Kind::Lock, "Another editor is using the game's data (" + folder +
                                                       "). Close it, then start this one again.");
    }
    throw TBKException(TBKException::Kind::File,
                       "The game's data folder " + folder + " cannot be locked: " + std::strerror(error) + ".");
  }
  gameLockDescriptor = fd;
}

void TBKLevelDB::unlockMinecraft() {
  std::lock_guard<std::mutex> guard(gameLockMutex);
  if (gameLockDescriptor < 0) return;
  ::flock(gameLockDescriptor, LOCK_UN);
  ::close(gameLockDescriptor);
  gameLockDescriptor = -1;
}

std::vector<std::string> TBKLevelDB::worlds() {
  std::string root = TBKFileSource::sharedSource().worldsFolder();
  std::lock_guard<std::mutex> guard(worldsMutex);
  return worldsWatch.list(root, [](const std::string& root, const tbk::WorldsFolderWatch::WatchFolder& watch) {
    std::vector<std::string> names;
    for (auto& name : tbk::folderEntries(root).value_or(std::vector<std::string>())) {
      // A hidden folder is work in progress (an import being unpacked).
      if (name[0] == '.') continue;
      std::string world = tbk::joinPath(root, name);
      watch(world);
      // A world folder that is a link is not offered: nothing in it would
      // be read or written anyway while acting for another user.
      if (tbk::isRegularFile(tbk::joinPath(world, "level.dat"))) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
  });
}

std::shared_ptr<TBKLevelDB> TBKLevelDB::dbForWorldNamed(const std::string& name) {
  const TBKFileSource& source = TBKFileSource::sharedSource();
  std::string root = source.worldsFolder();
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos || !tbk::ownerOf(tbk::joinPath(root, name)) ||
      !tbk::isDirectory(tbk::joinPath(root, name))) {
    throw TBKException(TBKException::Kind::Usage, "There is no world named \"" + name + "\" in " + root + ".");
  }
  return std::make_shared<TBKLevelDB>(tbk::joinPath(root, name), name, tbk::joinPath(source.backupsFolder(), name));
}

TBKLevelDB::TBKLevelDB(std::string worldFolder, std::string worldName, std::string backupFolder)
    : folder_(std::move(worldFolder)), name_(std::move(worldName)), backupFolder_(std::move(backupFolder)) {}

TBKLevelDB::~TBKLevelDB() = default;

bool TBKLevelDB::hasDatabase() const {
  // ownerOf raises for a db/ that is a link, rather than taking the world
  // for one of the older format.
  std::string db = tbk::joinPath(folder_, "db");
  return tbk::ownerOf(db) && tbk::isDirectory(db);
}

TBKWorldStore& TBKLevelDB::store() {
  if (!store_) store_ = TBKWorldStore::open(tbk::joinPath(folder_, "db"), name_);
  return *store_;
}

TBKLevelDB::LevelRead TBKLevelDB::readLevel() {
  finishRestore();
  // A file far longer than the game writes is refused by the read, and
  // counts as damaged like one that does not parse.
  auto readAndParse = [](const std::string& path, std::string& problem) -> std::optional<LevelRead> {
    try {
      auto bytes = tbk::readWholeFile(path, tbk::readLimit::levelFile);
      if (!bytes) return std::nullopt;
      return LevelRead{TBKLevelFile::parse(*bytes), std::move(*bytes)};
    } catch (const TBKException& error) {
      if (!isFormatFailure(error)) throw;
      problem = error.reason();
      return std::nullopt;
    }
  };
  std::string problem, damage;
  if (auto read = readAndParse(tbk::joinPath(folder_, "level.dat"), damage)) return std::move(*read);
  problem = damage.empty() ? "it has no level.dat" : "its level.dat is damaged (" + damage + ")";
  std::string oldDamage;
  if (auto read = readAndParse(tbk::joinPath(folder_, "level.dat_old"), oldDamage)) return std::move(*read);
  problem += oldDamage.empty() ? " and there is no level.dat_old"
                               : " and its level.dat_old is damaged too (" + oldDamage + ")";
  throw TBKException(TBKException::Kind::Format, "The world \"" + name_ + "\" cannot be read: " + problem +
                                                     ". Its folder is " + folder_ +
                                                     "; a backup can be copied back into it.");
}

std::shared_ptr<TBKCompoundTag> TBKLevelDB::levelData() {
  LevelRead read = readLevel();
  storageVersion_ = read.file.storageVersion();
  std::shared_ptr<TBKCompoundTag> root = read.file.root();
  // In the older format the player lives inside level.dat; the tree the
  // screens edit through player() is the one that counts, so a level tree
  // handed back later cannot undo their changes with a stale copy.
  if (player_ && !hasDatabase()) root->setObjectForKeyedSubscript(player_, "Player");
  return root;
}

std::shared_ptr<TBKCompoundTag> TBKLevelDB::player() {
  if (player_) return player_;
  finishRestore();
  if (hasDatabase()) {
    auto record = store().get(playerKey);
    if (!record) {
      throw TBKException(TBKException::Kind::Format, "The world \"" + name_ +
                                                         "\" has no player yet (its database holds no " + playerKey +
                                                         " record). Play the world in the game once, then quit to the "
                                                         "title screen.");
    }
    try {
      player_ = TBKNBT::parseCompound(*record);
    } catch (const TBKException& error) {
      if (!isFormatFailure(error)) throw;
      throw TBKException(TBKException::Kind::Format,
                         "The player record of the world \"" + name_ + "\" is damaged (" + error.reason() + ").");
    }
    return player_;
  }
  LevelRead read = readLevel();
  auto player = read.file.root()->compoundForKey("Player");
  if (!player) {
    throw TBKException(TBKException::Kind::Format,
                       "The world \"" + name_ +
                           "\" has no player yet (its level.dat holds no Player "
                           "compound). Play the world in the game once, then quit to the title screen.");
  }
  if (storageVersion_ == 0) storageVersion_ = read.file.storageVersion();
  player_ = player;
  return player_;
}

void TBKLevelDB::setLevelData(std::shared_ptr<TBKCompoundTag> level) {
  if (!level) throw TBKException(TBKException::Kind::Usage, "No level data was given to save.");
  backUpOnce();
  if (player_ && !hasDatabase()) level = withPlayer(*level, player_);
  writeLevel(level, true);
}

void TBKLevelDB::setPlayer(std::shared_ptr<TBKCompoundTag> player) {
  if (!player) throw TBKException(TBKException::Kind::Usage, "No player data was given to save.");
  backUpOnce();
  if (hasDatabase()) {
    std::string record = TBKNBT::serialise(*player);
    player_ = std::move(player);
    store().put(playerKey, record);
    return;
  }
  LevelRead read = readLevel();
  if (storageVersion_ == 0) storageVersion_ = read.file.storageVersion();
  std::shared_ptr<TBKCompoundTag> level = withPlayer(*read.file.root(), player);
  player_ = std::move(player);
  writeLevel(level, false);
}

void TBKLevelDB::writeLevel(const std::shared_ptr<TBKCompoundTag>& level, bool writeName) {
  std::string levelPath = tbk::joinPath(folder_, "level.dat");
  std::optional<std::string> current = tbk::readWholeFile(levelPath, tbk::readLimit::levelFile);
  std::optional<int32_t> currentVersion;
  if (current) {
    try {
      currentVersion = TBKLevelFile::parse(*current).storageVersion();
    } catch (const TBKException& error) {
      if (!isFormatFailure(error)) throw;
    }
  }
  int32_t version = storageVersion_ ? storageVersion_ : currentVersion ? *currentVersion : hasDatabase() ? 3 : 2;
  std::string bytes = TBKLevelFile(version, level).serialise();

  // A damaged level.dat is not kept as level.dat_old: that would replace
  // the whole copy the world was just read from.
  if (currentVersion) {
    std::string oldPath = tbk::joinPath(folder_, "level.dat_old");
    tbk::writeFileAtomically(oldPath, *current, tbk::ownerForFile(oldPath, folder_));
  }
  tbk::writeFileAtomically(levelPath, bytes, tbk::ownerForFile(levelPath, folder_));

  if (writeName) {
    if (auto name = std::dynamic_pointer_cast<TBKStringTag>(level->objectForKeyedSubscript("LevelName"))) {
      std::string namePath = tbk::joinPath(folder_, "levelname.txt");
      tbk::writeFileAtomically(namePath, name->value(), tbk::ownerForFile(namePath, folder_));
    }
  }
}

void TBKLevelDB::backUpOnce() {
  if (backupFolder_.empty() || !backupMade_.empty()) return;
  finishRestore();
  backupMade_ = backUpNow();
}

// The world's files and every player's record and, for a restore about to
// write them, the records under recordKeys as they are now; what it holds
// becomes what the session's backup holds.
std::string TBKLevelDB::backUpNow(const std::vector<std::string>& recordKeys) {
  std::vector<tbk::BackupFile> files = tbk::worldFiles(folder_);
  std::set<std::string, std::less<>> kept;
  uint64_t total = 0;
  for (auto& [key, record] : playerRecords()) {
    total += record.size();
    files.push_back({tbk::recordFileName({key, record}), std::move(record)});
    kept.insert(key);
  }
  for (const auto& key : recordKeys) {
    if (!kept.insert(key).second) continue;
    tbk::Record now{key, store().get(key)};
    total += now.value ? now.value->size() : 0;
    checkBackupTotal(total);
    files.push_back({tbk::recordFileName(now), now.value.value_or("")});
  }
  // Backups belong to whoever owns the world, like the world's own files.
  tbk::FileOwner owner = tbk::ownerForFile(tbk::joinPath(folder_, "level.dat"), folder_);
  std::string folder = tbk::writeBackup(backupFolder_, files, owner);
  backedUp_ = std::move(kept);
  backedUpBytes_ = total;
  return folder;
}

void TBKLevelDB::backUpRecords(const std::vector<TBKRecord>& records) {
  if (backupMade_.empty()) return;
  tbk::FileOwner owner = tbk::ownerForFile(tbk::joinPath(folder_, "level.dat"), folder_);
  // All are read and weighed first: a backup grown past what a restore
  // reads back would be one that can never be restored.
  std::vector<tbk::Record> before;
  uint64_t total = backedUpBytes_;
  for (const auto& record : records) {
    if (backedUp_.count(record.key) ||
        std::any_of(before.begin(), before.end(), [&](const tbk::Record& r) { return r.key == record.key; })) {
      continue;
    }
    before.push_back({record.key, store().get(record.key)});
    total += before.back().value ? before.back().value->size() : 0;
    checkBackupTotal(total);
  }
  if (before.empty()) return;
  for (const auto& record : before) {
    tbk::writeFileAtomically(tbk::joinPath(backupMade_, tbk::recordFileName(record)), record.value.value_or(""), owner);
  }
  // Only once the backup's folder holds them for good may the records change.
  tbk::syncFolder(backupMade_);
  for (auto& record : before) backedUp_.insert(std::move(record.key));
  backedUpBytes_ = total;
}

void TBKLevelDB::checkBackupTotal(uint64_t total) const {
  if (total <= tbk::readLimit::backupRecords) return;
  throw TBKException(TBKException::Kind::Format,
                     "The world \"" + name_ +
                         "\" cannot be backed up, so it is left as it is: " + tbk::tooManyRecordBytes(total) + ".");
}

bool TBKLevelDB::forEachRecord(const std::function<bool(std::string_view, std::string_view)>& visit,
                               const std::function<void(double)>& progress) {
  finishRestore();
  if (!hasDatabase()) {
    if (progress) progress(1.0);
    return true;
  }
  return store().walk(visit, progress);
}

std::vector<std::string> TBKLevelDB::keysWithPrefix(std::string_view prefix) {
  finishRestore();
  if (!hasDatabase()) return {};
  return store().keysWithPrefix(prefix);
}

std::optional<std::string> TBKLevelDB::record(std::string_view key) {
  finishRestore();
  if (!hasDatabase()) return std::nullopt;
  return store().get(key);
}

void TBKLevelDB::writeRecords(const std::vector<TBKRecord>& records) {
  if (!hasDatabase()) {
    throw TBKException(TBKException::Kind::Usage,
                       "The world \"" + name_ + "\" is of the early format and keeps no database records.");
  }
  // Opening the database is what finds the game holding the world; that
  // refusal comes before any backup is made.
  TBKWorldStore& database = store();
  backUpOnce();
  backUpRecords(records);
  database.write(records);
}

// Every player's record: the local one and those of the players who joined
// this world on a server.
// Together they are held to what a backup keeps: more is refused before
// anything is written, the world left as it is.
std::vector<std::pair<std::string, std::string>> TBKLevelDB::playerRecords() {
  std::vector<std::pair<std::string, std::string>> records;
  if (!hasDatabase()) return records;
  uint64_t total = 0;
  auto take = [&](std::string key) {
    auto record = store().get(key);
    if (!record) return;
    total += record->size();
    checkBackupTotal(total);
    records.emplace_back(std::move(key), std::move(*record));
  };
  take(playerKey);
  for (auto& key : store().keysWithPrefix("player_server_")) take(std::move(key));
  return records;
}

void TBKLevelDB::finishRestore() {
  if (!tbk::restorePending(folder_)) return;
  tbk::finishRestore(folder_, [this](const std::vector<tbk::Record>& records) { store().write(records); });
}

std::vector<TBKBackup> TBKLevelDB::backups() {
  std::vector<TBKBackup> list;
  if (backupFolder_.empty()) return list;
  for (const auto& name : tbk::listBackups(backupFolder_)) {
    list.push_back(tbk::describeWorldBackup(tbk::joinPath(backupFolder_, name)));
  }
  return list;
}

std::string TBKLevelDB::restoreBackup(const TBKBackup& backup) {
  finishRestore();
  tbk::WorldState state;
  try {
    state = tbk::readWorldState(backup.folder);
  } catch (const TBKException& error) {
    throw TBKException(error.kind(), "This backup of the world \"" + name_ +
                                         "\" cannot be restored: " + error.reason() + ". The world was left as it is.");
  }
  bool database = hasDatabase();
  if (!state.records.empty() && !database) {
    throw TBKException(TBKException::Kind::Format, "This backup holds player records for a database, but the world \"" +
                                                       name_ + "\" has none. The world was left as it is.");
  }
  // Opening the database is what finds the game holding the world; it
  // comes before the first write.
  if (database) store();
  std::vector<std::string> keys;
  for (const auto& record : state.records) keys.push_back(record.key);
  // The records the restore writes are kept too, so the restore can be undone.
  std::string before = backupFolder_.empty() ? "" : backUpNow(keys);
  tbk::restoreWorld(folder_, state, [this](const std::vector<tbk::Record>& records) { store().write(records); });
  player_ = nullptr;
  others_.clear();
  storageVersion_ = 0;
  backupMade_.clear();
  backedUp_.clear();
  backedUpBytes_ = 0;
  return before;
}
