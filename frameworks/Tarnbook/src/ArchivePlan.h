#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// What a .mcworld archive's entries are to become, decided from its
// directory alone, before anything is written. An archive comes from anyone
// and Gorvane unpacks it as root: an entry is taken only as a plain file or
// folder inside the new world folder.
namespace tbk {

// One entry as the archive's central directory describes it.
struct ArchiveEntry {
  std::string name;
  mode_t unixType = 0;     // S_IFMT bits of Unix attributes; 0 when none
  bool dosFolder = false;  // MS-DOS attributes: a folder
  bool dosLink = false;    // MS-DOS attributes: a reparse point (a link)
  bool encrypted = false;
  uint64_t size = 0;            // inflated, as the archive claims
  uint64_t compressedSize = 0;  // as stored
};

// An entry to unpack: its index in the archive and its path inside the
// world folder ("db/000005.ldb"), without the one top folder some tools
// put the world's files in.
struct PlannedEntry {
  uint64_t index = 0;
  std::string path;
  bool folder = false;
};

// The entries to unpack, folders first in the order met, then files. Raises
// TBKException (Format), naming the archive and the entry, for a name with
// ".." or an absolute one, a link, a device, a FIFO or socket, an encrypted
// entry, a name that repeats (also once normalised: "a//b" and "a/./b" are
// "a/b", and "a" and "a/" are one name), more bytes than archiveLimit
// allows (ZipReader counts the entries), an entry whose claimed size is past the ratio, and
// for an archive without level.dat at its root or in its one top folder.
std::vector<PlannedEntry> planUnpacking(const std::vector<ArchiveEntry>& entries, const std::string& archiveName);

// "The archive <name> cannot be imported: <what>. Nothing was written."
std::string archiveRefusal(const std::string& archiveName, const std::string& what);

}  // namespace tbk
