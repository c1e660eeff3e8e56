#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ArchivePlan.h"

typedef struct zip zip_t;

// A zip archive read through a descriptor the caller opened (through the
// checked paths): libzip never opens a path here. A damaged or truncated
// archive raises TBKException (Format) naming it.
namespace tbk {

class ZipReader {
 public:
  // Reads the archive's directory from fd, which stays the caller's.
  ZipReader(int fd, std::string archiveName);
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  const std::vector<ArchiveEntry>& entries() const { return entries_; }

  // Inflates the entry, handing its bytes to `write` in pieces. The bytes
  // actually inflated are counted as they come: more than the entry claims,
  // more than the ratio allows or a checksum that does not match raises
  // (Format) before more is handed on. `keepGoing` is asked between pieces;
  // false stops and returns false.
  bool inflate(uint64_t index, const std::function<void(std::string_view)>& write,
               const std::function<bool(uint64_t bytes)>& keepGoing);

 private:
  void checkEntryCount(uint64_t count) const;
  [[noreturn]] void damaged(const std::string& what) const;

  zip_t* archive_ = nullptr;
  std::string archiveName_;
  std::vector<ArchiveEntry> entries_;
};

}  // namespace tbk
