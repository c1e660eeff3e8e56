#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "external/Tarnbook.h"
#include "records/Refusal.h"

// The backups Gorvane kept of one world or of the options file, as the
// screens list and restore them. A restore first keeps what is there now as
// a backup of its own, so it can be taken back; a refused one changes
// nothing. No call raises.
class BackupShelf {
 public:
  static BackupShelf ofWorld(std::shared_ptr<TBKLevelDB> db);
  // Found afresh on each call: the options file's place may change.
  static BackupShelf ofOptions();
  // The worlds deleted from the list, each kept whole; a restore brings one
  // back into the list (TBKWholeWorld).
  static BackupShelf ofDeletedWorlds();

  // What a restore brings back, finishing "Restore ... at <time>?": "the
  // world as it was", "the options as they were".
  const std::string& described() const { return described_; }
  // Said over an empty shelf.
  const std::string& whenEmpty() const { return whenEmpty_; }

  // Newest first. A shelf that cannot be read lists nothing and says why in
  // `refusal`.
  std::vector<TBKBackup> list(Outcome* refusal = nullptr) const;
  // The newest backup that can be restored; none when there is none.
  std::optional<TBKBackup> newestWhole() const;
  Outcome restore(const TBKBackup& backup) const;

 private:
  BackupShelf(std::string described, std::function<std::vector<TBKBackup>()> list,
              std::function<void(const TBKBackup&)> restore,
              std::string whenEmpty = "No backups yet: one is kept before the first change.");

  std::string described_;
  std::string whenEmpty_;
  std::function<std::vector<TBKBackup>()> list_;
  std::function<void(const TBKBackup&)> restore_;
};
