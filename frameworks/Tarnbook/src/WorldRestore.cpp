#include "WorldRestore.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "CheckedPath.h"
#include "FileStatus.h"
#include "Folders.h"
#include "OwnerPolicy.h"
#include "PathNames.h"
#include "ReadLimits.h"
#include "RecordShape.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelFile.h"
#include "WholeFile.h"

namespace tbk {

namespace {

constexpr const char* journalName = ".gorvane-restore";
// Begins like every name the backups and the reliability checks take for
// unfinished work.
constexpr const char* unfinishedPrefix = ".incomplete-restore-";
constexpr std::string_view playerSuffix = ".nbt";
constexpr std::string_view recordSuffix = ".record";
constexpr std::string_view absentSuffix = ".absent";
// The order the files are put back in; level.dat last, so that a world read
// by hand halfway through (without finishing the journal) most likely
// still shows its old name and level together.
const char* const worldFileNames[] = {"level.dat_old", "levelname.txt", "level.dat"};

bool plainKeyByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool isPlayerKey(std::string_view key) { return key == localPlayerKey || key.substr(0, 7) == "player_"; }

struct RecordFile {
  std::string key;
  bool present;
};

// The record a file of a backup stands for, or nullopt for a file that is
// not one.
std::optional<RecordFile> recordFile(std::string_view fileName) {
  bool present = true;
  std::string_view encoded;
  for (std::string_view suffix : {playerSuffix, recordSuffix, absentSuffix}) {
    if (fileName.size() > suffix.size() && fileName.substr(fileName.size() - suffix.size()) == suffix) {
      encoded = fileName.substr(0, fileName.size() - suffix.size());
      present = suffix != absentSuffix;
    }
  }
  if (encoded.empty()) return std::nullopt;
  if (encoded == "local_player") return RecordFile{localPlayerKey, present};
  std::string key;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      key += encoded[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= encoded.size() || std::sscanf(std::string(encoded.substr(i + 1, 2)).c_str(), "%2x", &value) != 1) {
      return std::nullopt;
    }
    key += char(value);
    i += 2;
  }
  return RecordFile{std::move(key), present};
}

TBKException damaged(const std::string& reason) { return TBKException(TBKException::Kind::Format, reason); }

void checkLevelFile(const std::string& name, const std::string& bytes) {
  try {
    TBKLevelFile::parse(bytes);
  } catch (const TBKException& error) {
    if (error.kind() != TBKException::Kind::Format) throw;
    throw damaged("its " + name + " is damaged (" + error.reason() + ")");
  }
}

void applyState(const std::string& worldFolder, const WorldState& state,
                const std::function<void(const std::vector<Record>&)>& putRecords) {
  if (!state.records.empty()) putRecords(state.records);
  for (const char* name : worldFileNames) {
    std::string path = joinPath(worldFolder, name);
    auto kept =
        std::find_if(state.files.begin(), state.files.end(), [&](const BackupFile& f) { return f.name == name; });
    if (kept != state.files.end()) {
      writeFileAtomically(path, kept->bytes, ownerForFile(path, worldFolder));
    } else if (ownerOf(path)) {
      // The world as it was had no such file: one left now would not match.
      removeChecked(path, false).raiseIfFailed();
    }
  }
  syncFolder(worldFolder);
}

// The journal is renamed out of its name before it is taken apart: a
// journal half removed must never be completed.
void retireJournal(const std::string& worldFolder) {
  std::string journal = joinPath(worldFolder, journalName);
  std::string done = joinPath(worldFolder, unfinishedPrefix + std::string("done-") + std::to_string(::getpid()));
  if (FileStatus status = renameChecked(journal, done); !status.ok()) {
    throw TBKException(TBKException::Kind::File,
                       "Could not finish the restore in " + worldFolder + ". " + status.reason());
  }
  syncFolder(worldFolder);
  removeTree(done);
}

}  // namespace

std::string recordFileName(const Record& record) {
  const std::string& key = record.key;
  std::string_view suffix = !record.value ? absentSuffix : isPlayerKey(key) ? playerSuffix : recordSuffix;
  if (key == localPlayerKey) return "local_player" + std::string(suffix);
  std::string name;
  for (char c : key) {
    // A key that is "local_player" itself starts escaped, so that only
    // "~local_player" comes back under that name.
    if (plainKeyByte(c) && !(name.empty() && key == "local_player")) {
      name += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", unsigned(static_cast<unsigned char>(c)));
      name += escaped;
    }
  }
  return name + std::string(suffix);
}

std::vector<BackupFile> worldFiles(const std::string& worldFolder) {
  std::vector<BackupFile> files;
  for (const char* name : {"level.dat", "level.dat_old", "levelname.txt"}) {
    size_t limit = std::string_view(name) == "levelname.txt" ? readLimit::worldName : readLimit::levelFile;
    if (auto bytes = readWholeFile(joinPath(worldFolder, name), limit)) files.push_back({name, std::move(*bytes)});
  }
  return files;
}

namespace {

// Reads and checks the backup (or journal) folder: its files whole, then
// its records one at a time, each handed to keep once checked; all of their
// lengths are added up first, so a backup that holds more than any backup
// keeps is refused before one is read.
std::vector<BackupFile> readChecked(const std::string& folder, const std::function<void(Record&&)>& keep) {
  auto names = folderEntries(folder);
  if (!names) throw damaged("its folder " + folder + " is gone");
  std::sort(names->begin(), names->end());
  std::vector<BackupFile> files = worldFiles(folder);
  if (files.empty() || files.front().name != "level.dat") throw damaged("it has no level.dat");
  for (const auto& file : files) {
    if (file.name != "levelname.txt") checkLevelFile(file.name, file.bytes);
  }
  std::vector<std::pair<RecordFile, std::string>> records;  // what each stands for, its file name
  uint64_t total = 0;
  for (const auto& name : *names) {
    auto file = recordFile(name);
    if (!file) continue;
    auto size = wholeFileSize(joinPath(folder, name));
    if (!size) throw damaged("its " + name + " is gone");
    total += *size;
    records.emplace_back(std::move(*file), name);
  }
  if (total > readLimit::backupRecords) throw damaged(tooManyRecordBytes(total));
  for (auto& [file, name] : records) {
    auto bytes = readWholeFile(joinPath(folder, name), readLimit::playerRecord);
    if (!bytes) throw damaged("its " + name + " is gone");
    if (!file.present) {
      if (!bytes->empty()) throw damaged("its " + name + " should be empty");
      keep(Record{std::move(file.key), std::nullopt});
      continue;
    }
    if (auto damage = recordDamage(file.key, *bytes)) {
      throw damaged("its " + std::string(isPlayerKey(file.key) ? "player record " : "record of ") +
                    recordName(file.key) + " is damaged (" + *damage + ")");
    }
    keep(Record{std::move(file.key), std::move(*bytes)});
  }
  return files;
}

}  // namespace

std::string tooManyRecordBytes(uint64_t total) {
  return "its records come to at least " + std::to_string(total) + " bytes, more than the " +
         std::to_string(readLimit::backupRecords >> 20) + " MB a backup of Gorvane's holds";
}

WorldState readWorldState(const std::string& folder) {
  WorldState state;
  state.files = readChecked(folder, [&](Record&& record) { state.records.push_back(std::move(record)); });
  return state;
}

TBKBackup describeWorldBackup(const std::string& folder) {
  TBKBackup backup;
  backup.folder = folder;
  backup.secondsSince1970 = backupTime(folder.substr(folder.find_last_of('/') + 1));
  auto names = folderEntries(folder).value_or(std::vector<std::string>());
  std::sort(names.begin(), names.end());
  for (const char* name : {"level.dat", "level.dat_old", "levelname.txt"}) {
    if (std::find(names.begin(), names.end(), name) != names.end()) backup.contents.push_back(name);
  }
  for (const auto& name : names) {
    if (auto file = recordFile(name)) backup.contents.push_back(file->key);
  }
  // Whatever keeps this one backup from being read (damaged bytes, a FIFO
  // or a link where a file belongs) marks it alone: the others still list.
  // Each record is checked and let go: listing holds one at a time.
  try {
    readChecked(folder, [](Record&&) {});
  } catch (const TBKException& error) {
    backup.damage = error.reason();
  }
  return backup;
}

bool restorePending(const std::string& worldFolder) { return ownerOf(joinPath(worldFolder, journalName)).has_value(); }

void restoreWorld(const std::string& worldFolder, const WorldState& state,
                  const std::function<void(const std::vector<Record>&)>& putRecords) {
  for (const auto& name : folderEntries(worldFolder).value_or(std::vector<std::string>())) {
    if (name.rfind(unfinishedPrefix, 0) == 0) removeTree(joinPath(worldFolder, name));
  }
  FileOwner owner = ownerForFile(joinPath(worldFolder, "level.dat"), worldFolder);
  std::string staging = joinPath(worldFolder, unfinishedPrefix + std::to_string(::getpid()));
  if (!makeFolder(staging, owner)) {
    throw TBKException(TBKException::Kind::File, "Could not create " + staging + ": something of that name exists.");
  }
  for (const auto& file : state.files) writeFileAtomically(joinPath(staging, file.name), file.bytes, owner);
  for (const auto& record : state.records) {
    writeFileAtomically(joinPath(staging, recordFileName(record)), record.value.value_or(""), owner);
  }
  syncFolder(staging);
  std::string journal = joinPath(worldFolder, journalName);
  if (FileStatus status = renameChecked(staging, journal, false); !status.ok()) {
    removeTree(staging);
    throw TBKException(TBKException::Kind::File,
                       "Could not start the restore in " + worldFolder + ". " + status.reason());
  }
  syncFolder(worldFolder);
  applyState(worldFolder, state, putRecords);
  retireJournal(worldFolder);
}

void finishRestore(const std::string& worldFolder, const std::function<void(const std::vector<Record>&)>& putRecords) {
  if (!restorePending(worldFolder)) return;
  WorldState state;
  try {
    state = readWorldState(joinPath(worldFolder, journalName));
  } catch (const TBKException& error) {
    throw TBKException(error.kind(),
                       "An interrupted restore of " + worldFolder + " cannot be completed: " + error.reason() + ".");
  }
  applyState(worldFolder, state, putRecords);
  retireJournal(worldFolder);
}

}  // namespace tbk
