#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Tarnbook/TBKBackup.h"
#include "Tarnbook/TBKRecord.h"
#include "WorldBackup.h"

// Putting a world back as one of its backups holds it.
//
// A restore writes several files and the database, which no single rename
// covers, so it goes through a journal in the world folder: the whole set is
// first written to a folder whose name marks it unfinished, which is renamed
// to its journal name (from then on the restore counts as made) and only
// then copied into the world; the journal goes last. A process killed
// before the rename leaves the world as it was; one killed after it leaves a
// journal that finishRestore() completes, which every reader of the world
// calls first. So the world, as Gorvane reads it, is always either the old
// one or the restored one.
namespace tbk {

using Record = TBKRecord;

// The files and database records of a world as a backup keeps them: every
// player's record, and each other record as it was before its first change
// of the session (absent, for one the session added).
struct WorldState {
  std::vector<BackupFile> files;  // level.dat, and level.dat_old, levelname.txt when present
  std::vector<Record> records;
};

constexpr const char* localPlayerKey = "~local_player";

// The file a record is kept in, inside a backup: <key>.nbt for a player's,
// <key>.record for another's and <key>.absent (empty) for a record the
// world did not have, each key's bytes other than letters, digits, '_' and
// '-' written as %XX.
std::string recordFileName(const Record& record);

// The world's files as a backup keeps them (without the records).
std::vector<BackupFile> worldFiles(const std::string& worldFolder);

// Reads the backup (or journal) folder whole. Raises TBKException
// (FormatFailure) with a reason such as "its level.dat is damaged (...)"
// when it lacks level.dat, a file or record of it cannot be read back, or
// its records together are longer than readLimit::backupRecords (checked
// before any is read).
WorldState readWorldState(const std::string& folder);

// The reason for player records of `total` bytes, more than a backup keeps.
std::string tooManyRecordBytes(uint64_t total);

// Lists the folder as a backup: what it holds, and its damage if any.
TBKBackup describeWorldBackup(const std::string& folder);

// Writes state as the world's journal, then into the world: putRecords
// stores the records (one batch); files the state lacks are removed from
// the world. The caller has checked that the world can take the records.
void restoreWorld(const std::string& worldFolder, const WorldState& state,
                  const std::function<void(const std::vector<Record>&)>& putRecords);

// Completes a restore a killed process left; does nothing without one.
// putRecords as above.
void finishRestore(const std::string& worldFolder, const std::function<void(const std::vector<Record>&)>& putRecords);

// True while a restore of the world waits to be completed.
bool restorePending(const std::string& worldFolder);

}  // namespace tbk
