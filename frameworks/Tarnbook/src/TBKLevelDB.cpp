#include "Tarnbook/TBKLevelDB.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "FileAccess.h"
#include "TBKTagBuilder.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "Tarnbook/TBKLevelFile.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKStringTag.h"
#include "WorldBackup.h"
#include "WorldsFolderWatch.h"

namespace {

constexpr const char* playerKey = TBKPlayerEntry::localKey;

std::mutex gameLockMutex;
int gameLockDescriptor = -1;

std::mutex worldsMutex;
tbk::WorldsFolderWatch worldsWatch;

bool isFormatFailure(const TBKException& error) { return error.name() == TBKException::FormatFailure; }

// A copy of level whose "Player" child is player (renamed "Player" if need
// be): the children are shared, only the list of them is new, so the
// caller's tree is left as it was.
std::shared_ptr<TBKCompoundTag> withPlayer(const TBKCompoundTag& level, const std::shared_ptr<TBKCompoundTag>& player) {
  auto copy = std::make_shared<TBKCompoundTag>(level.name());
  for (const auto& child : level.value()) TBKTagBuilder::append(*copy, child);
  copy->setObjectForKeyedSubscript(player, "Player");
  return copy;
}

bool isServerKey(std::string_view key) {
  std::string_view prefix = TBKPlayerEntry::serverPrefix;
  return key.size() > prefix.size() && key.substr(0, prefix.size()) == prefix;
}

// A record's key as a file name of the backup: a key comes from the world's
// own data, so anything but letters, digits, '-' and '_' is written as %XX
// and no key can reach outside the backup's folder.
std::string backupFileName(std::string_view key) {
  static const char hex[] = "0123456789ABCDEF";
  std::string name;
  for (unsigned char c : key) {
    if (std::isalnum(c) || c == '-' || c == '_') {
      name += char(c);
    } else {
      name += '%';
      name += hex[c >> 4];
      name += hex[c & 15];
    }
  }
  return name + ".nbt";
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
    throw TBKException(TBKException::FileFailure,
                       "The game's data folder " + folder + " cannot be opened. " + error.reason());
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      throw TBKException(TBKException::LockFailure, "Another editor is using the game's data (" + folder +
                                                        "). Close it, then start this one again.");
    }
    throw TBKException(TBKException::FileFailure,
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
    throw TBKException(TBKException::UsageFailure, "There is no world named \"" + name + "\" in " + root + ".");
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
  std::string problem;
  std::string levelPath = tbk::joinPath(folder_, "level.dat");
  if (auto bytes = tbk::readWholeFile(levelPath)) {
    try {
      return LevelRead{TBKLevelFile::parse(*bytes), std::move(*bytes)};
    } catch (const TBKException& error) {
      if (!isFormatFailure(error)) throw;
      problem = "its level.dat is damaged (" + error.reason() + ")";
    }
  } else {
    problem = "it has no level.dat";
  }
  std::string oldPath = tbk::joinPath(folder_, "level.dat_old");
  auto old = tbk::readWholeFile(oldPath);
  if (!old) problem += " and there is no level.dat_old";
  if (old) {
    try {
      return LevelRead{TBKLevelFile::parse(*old), std::move(*old)};
    } catch (const TBKException& error) {
      if (!isFormatFailure(error)) throw;
      problem += " and its level.dat_old is damaged too (" + error.reason() + ")";
    }
  }
  throw TBKException(TBKException::FormatFailure, "The world \"" + name_ + "\" cannot be read: " + problem +
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
  if (hasDatabase()) {
    auto record = store().get(playerKey);
    if (!record) {
      throw TBKException(TBKException::FormatFailure, "The world \"" + name_ +
                                                          "\" has no player yet (its database holds no " + playerKey +
                                                          " record). Play the world in the game once, then quit to the "
                                                          "title screen.");
    }
    try {
      player_ = TBKNBT::parseCompound(*record);
    } catch (const TBKException& error) {
      if (!isFormatFailure(error)) throw;
      throw TBKException(TBKException::FormatFailure,
                         "The player record of the world \"" + name_ + "\" is damaged (" + error.reason() + ").");
    }
    return player_;
  }
  LevelRead read = readLevel();
  auto player = read.file.root()->compoundForKey("Player");
  if (!player) {
    throw TBKException(TBKException::FormatFailure,
                       "The world \"" + name_ +
                           "\" has no player yet (its level.dat holds no Player "
                           "compound). Play the world in the game once, then quit to the title screen.");
  }
  if (storageVersion_ == 0) storageVersion_ = read.file.storageVersion();
  player_ = player;
  return player_;
}

void TBKLevelDB::setLevelData(std::shared_ptr<TBKCompoundTag> level) {
  if (!level) throw TBKException(TBKException::UsageFailure, "No level data was given to save.");
  backUpOnce();
  if (player_ && !hasDatabase()) level = withPlayer(*level, player_);
  writeLevel(level, true);
}

void TBKLevelDB::setPlayer(std::shared_ptr<TBKCompoundTag> player) {
  if (!player) throw TBKException(TBKException::UsageFailure, "No player data was given to save.");
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

std::vector<TBKPlayerEntry> TBKLevelDB::players() {
  std::vector<TBKPlayerEntry> list;
  TBKPlayerEntry local{playerKey, "", ""};
  const char* notYet = "This world has no player of its own yet: play it in the game once.";
  if (!hasDatabase()) {
    if (!player_ && !readLevel().file.root()->compoundForKey("Player")) local.missing = notYet;
    list.push_back(std::move(local));
    return list;
  }
  if (!player_ && !store().get(playerKey)) local.missing = notYet;
  list.push_back(std::move(local));

  std::vector<std::pair<std::string, std::string>> pointers;  // id, the pointer's bytes
  std::set<std::string, std::less<>> records;
  std::string_view idPrefix = TBKPlayerEntry::idPrefix;
  store().forEachWithPrefix(idPrefix, [&](std::string_view key, std::string_view value) {
    if (isServerKey(key)) {
      records.emplace(key);
    } else {
      pointers.emplace_back(std::string(key.substr(idPrefix.size())), std::string(value));
    }
  });

  std::set<std::string, std::less<>> listed;
  for (auto& [id, bytes] : pointers) {
    TBKPlayerEntry entry{"", id, ""};
    std::string pointer = std::string(idPrefix) + id;
    try {
      entry.key = TBKNBT::parseCompound(bytes)->stringForKey("ServerId");
      if (entry.key.empty()) {
        entry.missing = "Its record " + pointer + " names no player record (it has no ServerId).";
      } else if (!isServerKey(entry.key)) {
        entry.missing = "Its record " + pointer + " names " + entry.key + ", which is not a player record.";
      } else if (!records.count(entry.key)) {
        entry.missing = "Its record " + pointer + " names the player record " + entry.key +
                        ", which is not in the world's database.";
      } else if (!listed.insert(entry.key).second) {
        continue;
      }
    } catch (const TBKException& error) {
      if (!isFormatFailure(error)) throw;
      entry.missing = "Its record " + pointer + " is damaged (" + error.reason() + ").";
    }
    list.push_back(std::move(entry));
  }
  for (const auto& key : records) {
    if (!listed.count(key)) list.push_back(TBKPlayerEntry{key, "", ""});
  }
  return list;
}

std::shared_ptr<TBKCompoundTag> TBKLevelDB::playerForKey(const std::string& key) {
  if (key == playerKey) return player();
  if (!isServerKey(key) || !hasDatabase()) {
    throw TBKException(TBKException::UsageFailure,
                       "\"" + key + "\" is not the key of a player record of the world \"" + name_ + "\".");
  }
  auto known = others_.find(key);
  if (known != others_.end()) return known->second;
  auto record = store().get(key);
  if (!record) {
    throw TBKException(TBKException::FormatFailure, "The world \"" + name_ + "\" holds no player record " + key + ".");
  }
  try {
    return others_[key] = TBKNBT::parseCompound(*record);
  } catch (const TBKException& error) {
    if (!isFormatFailure(error)) throw;
    throw TBKException(TBKException::FormatFailure, "The player record " + key + " of the world \"" + name_ +
                                                        "\" is damaged (" + error.reason() + ").");
  }
}

void TBKLevelDB::setPlayerForKey(const std::string& key, std::shared_ptr<TBKCompoundTag> player) {
  if (key == playerKey) return setPlayer(std::move(player));
  if (!player) throw TBKException(TBKException::UsageFailure, "No player data was given to save.");
  if (!isServerKey(key) || !hasDatabase()) {
    throw TBKException(TBKException::UsageFailure,
                       "\"" + key + "\" is not the key of a player record of the world \"" + name_ + "\".");
  }
  std::string record = TBKNBT::serialise(*player);
  backUpOnce();
  backUpRecord(key);
  others_[key] = std::move(player);
  store().put(key, record);
}

void TBKLevelDB::writeLevel(const std::shared_ptr<TBKCompoundTag>& level, bool writeName) {
  std::string levelPath = tbk::joinPath(folder_, "level.dat");
  std::optional<std::string> current = tbk::readWholeFile(levelPath);
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
  std::vector<tbk::BackupFile> files;
  if (auto level = tbk::readWholeFile(tbk::joinPath(folder_, "level.dat"))) {
    files.push_back({"level.dat", std::move(*level)});
  }
  if (auto old = tbk::readWholeFile(tbk::joinPath(folder_, "level.dat_old"))) {
    files.push_back({"level.dat_old", std::move(*old)});
  }
  if (auto name = tbk::readWholeFile(tbk::joinPath(folder_, "levelname.txt"))) {
    files.push_back({"levelname.txt", std::move(*name)});
  }
  if (hasDatabase()) {
    if (auto record = store().get(playerKey)) files.push_back({"local_player.nbt", std::move(*record)});
  }
  // Backups belong to whoever owns the world, like the world's own files.
  tbk::FileOwner owner = tbk::ownerForFile(tbk::joinPath(folder_, "level.dat"), folder_);
  backupMade_ = tbk::writeBackup(backupFolder_, files, owner);
  recordsBackedUp_.insert(playerKey);
}

// Added to the session's backup before the record's first write; a record
// that is not there yet has nothing to keep.
void TBKLevelDB::backUpRecord(const std::string& key) {
  if (backupFolder_.empty() || recordsBackedUp_.count(key)) return;
  if (auto record = store().get(key)) {
    std::string path = tbk::joinPath(backupMade_, backupFileName(key));
    tbk::writeFileAtomically(path, *record, tbk::ownerForFile(tbk::joinPath(folder_, "level.dat"), folder_));
  }
  recordsBackedUp_.insert(key);
}
