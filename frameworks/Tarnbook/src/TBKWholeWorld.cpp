#include "Tarnbook/TBKWholeWorld.h"

#include <algorithm>
#include <cerrno>

#include "CheckedPath.h"
#include "FolderCopy.h"
#include "Folders.h"
#include "FreshWorldName.h"
#include "PathNames.h"
#include "ReadLimits.h"
#include "StagingFolder.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKFileSource.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKLevelFile.h"
#include "Tarnbook/TBKStringTag.h"
#include "WholeFile.h"
#include "WorldBackup.h"
#include "WorldHold.h"

namespace {

// Hidden, so that no world folder can share its name: the world list skips
// hidden folders, and each world's own backups sit beside it under the
// world's folder name.
constexpr const char* deletedWorldsName = ".deleted-worlds";

std::string deletedWorldsFolder() {
  return tbk::joinPath(TBKFileSource::sharedSource().backupsFolder(), deletedWorldsName);
}

// Renames a finished folder into minecraftWorlds under a fresh name.
std::string renameIntoWorlds(const std::string& folder, const std::string& worlds) {
  for (int attempt = 0;; ++attempt) {
    std::string name = tbk::freshWorldFolderName();
    tbk::FileStatus renamed = tbk::renameChecked(folder, tbk::joinPath(worlds, name), false);
    if (renamed.ok()) {
      tbk::syncFolder(worlds);
      return name;
    }
    if ((renamed.error() != EEXIST && renamed.error() != ENOTEMPTY) || attempt == 16) renamed.raise();
  }
}

TBKBackup describeDeleted(const std::string& folder) {
  TBKBackup backup;
  backup.folder = folder;
  backup.secondsSince1970 = tbk::backupTime(tbk::baseName(folder));
  try {
    backup.contents = tbk::folderEntries(folder).value_or(std::vector<std::string>());
    std::sort(backup.contents.begin(), backup.contents.end());
    auto level = tbk::readWholeFile(tbk::joinPath(folder, "level.dat"), tbk::readLimit::levelFile);
    if (!level) {
      backup.damage = "it has no level.dat";
    } else {
      backup.worldName = TBKLevelFile::parse(*level).root()->stringForKey("LevelName");
    }
  } catch (const TBKException& error) {
    backup.damage = error.reason();
  }
  return backup;
}

}  // namespace

std::optional<std::string> TBKWholeWorld::copyWorld(const std::string& worldFolder, const TBKProgress& progress) {
  std::string levelName =
      TBKLevelDB(worldFolder, tbk::baseName(worldFolder), "").levelData()->stringForKey("LevelName");
  std::string worlds = tbk::parentFolder(worldFolder);
  std::string staging = tbk::freshStagingFolder(worlds, "copy");
  try {
    {
      tbk::WorldHold hold(worldFolder, levelName);
      if (!tbk::copyFolder(worldFolder, staging, tbk::ownerForFile(staging, worlds), levelName, progress)) {
        tbk::removeTree(staging);
        return std::nullopt;
      }
    }
    // Named while still hidden: the copy is listed only with its own name.
    TBKLevelDB copy(staging, "Copy of " + levelName, "");
    auto level = copy.levelData();
    level->setObjectForKeyedSubscript(std::make_shared<TBKStringTag>("LevelName", "Copy of " + levelName), "LevelName");
    copy.setLevelData(level);
    return renameIntoWorlds(staging, worlds);
  } catch (...) {
    try {
      tbk::removeTree(staging);
    } catch (const TBKException&) {
      // Hidden, and cleared by the next copy.
    }
    throw;
  }
}

std::string TBKWholeWorld::deleteWorld(const std::string& folderName) {
  auto db = TBKLevelDB::dbForWorldNamed(folderName);
  std::string levelName = folderName;
  try {
    levelName = db->levelData()->stringForKey("LevelName");
  } catch (const TBKException&) {
    // A damaged world is deleted all the same, under its folder's name.
  }
  std::string deleted = deletedWorldsFolder();
  tbk::makeFolders(deleted, tbk::ownerForFile(deleted, TBKFileSource::sharedSource().worldsFolder()));
  tbk::WorldHold hold(db->worldFolder(), levelName);
  std::string stamp = tbk::joinPath(deleted, tbk::utcTimeName());
  for (int attempt = 2;; ++attempt) {
    std::string target = attempt == 2 ? stamp : stamp + "-" + std::to_string(attempt - 1);
    tbk::FileStatus renamed = tbk::renameChecked(db->worldFolder(), target, false);
    if (renamed.ok()) {
      try {
        tbk::syncFolder(deleted);
        tbk::syncFolder(TBKFileSource::sharedSource().worldsFolder());
      } catch (const TBKException&) {
        // The disk would not keep the move: the world goes back into the
        // list as it was, and the refusal is told rather than a delete that
        // a crash could take back.
        if (!tbk::renameChecked(target, db->worldFolder(), false).ok()) {
          throw TBKException(TBKException::Kind::File, "The disk would not confirm the delete of \"" + levelName +
                                                           "\"; the world is kept among the Deleted Worlds.");
        }
        throw;
      }
      return target;
    }
    if (renamed.error() == EXDEV) {
      throw TBKException(TBKException::Kind::File, "The world \"" + levelName +
                                                       "\" was not deleted: Gorvane keeps a deleted world in " +
                                                       deleted + ", which is on another disk than the world.");
    }
    if ((renamed.error() != EEXIST && renamed.error() != ENOTEMPTY) || attempt == 16) renamed.raise();
  }
}

std::vector<TBKBackup> TBKWholeWorld::deletedWorlds() {
  std::string deleted = deletedWorldsFolder();
  std::vector<TBKBackup> found;
  for (const auto& name : tbk::listBackups(deleted)) found.push_back(describeDeleted(tbk::joinPath(deleted, name)));
  return found;
}

std::string TBKWholeWorld::restoreDeletedWorld(const TBKBackup& deleted) {
  std::string root = deletedWorldsFolder();
  auto kept = tbk::listBackups(root);
  if (tbk::parentFolder(deleted.folder) != root ||
      std::find(kept.begin(), kept.end(), tbk::baseName(deleted.folder)) == kept.end()) {
    throw TBKException(TBKException::Kind::Usage, deleted.folder + " is not a deleted world Gorvane kept.");
  }
  TBKBackup now = describeDeleted(deleted.folder);
  if (!now.restorable()) {
    throw TBKException(TBKException::Kind::Format, "The deleted world cannot be brought back. " + now.damage);
  }
  std::string name = renameIntoWorlds(deleted.folder, TBKFileSource::sharedSource().worldsFolder());
  tbk::syncFolder(root);
  return name;
}
