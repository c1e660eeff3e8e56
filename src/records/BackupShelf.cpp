#include "records/BackupShelf.h"

#include <algorithm>

#include "records/OptionsFile.h"

BackupShelf::BackupShelf(std::string described, std::function<std::vector<TBKBackup>()> list,
                         std::function<void(const TBKBackup&)> restore, std::string whenEmpty)
    : described_(std::move(described)),
      whenEmpty_(std::move(whenEmpty)),
      list_(std::move(list)),
      restore_(std::move(restore)) {}

BackupShelf BackupShelf::ofWorld(std::shared_ptr<TBKLevelDB> db) {
  return BackupShelf(
      "the world as it was", [db] { return db->backups(); },
      [db](const TBKBackup& backup) { db->restoreBackup(backup); });
}

BackupShelf BackupShelf::ofOptions() {
  return BackupShelf(
      "the options as they were", [] { return OptionsFile::gameFile().backups(); },
      [](const TBKBackup& backup) { OptionsFile::gameFile().restoreBackup(backup); });
}

BackupShelf BackupShelf::ofDeletedWorlds() {
  return BackupShelf(
      "the deleted world as it was", [] { return TBKWholeWorld::deletedWorlds(); },
      [](const TBKBackup& deleted) { TBKWholeWorld::restoreDeletedWorld(deleted); }, "No world has been deleted.");
}

std::vector<TBKBackup> BackupShelf::list(Outcome* refusal) const {
  std::vector<TBKBackup> backups;
  Outcome outcome = attempt([&] { backups = list_(); });
  if (refusal) *refusal = outcome;
  return backups;
}

std::optional<TBKBackup> BackupShelf::newestWhole() const {
  auto backups = list();
  auto whole = std::find_if(backups.begin(), backups.end(), [](const TBKBackup& b) { return b.restorable(); });
  return whole == backups.end() ? std::nullopt : std::optional<TBKBackup>(*whole);
}

Outcome BackupShelf::restore(const TBKBackup& backup) const {
  return attempt([&] { restore_(backup); });
}
