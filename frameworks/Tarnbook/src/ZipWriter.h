#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

typedef struct zip zip_t;

// A new zip archive written into a descriptor the caller opened (through
// the checked paths): libzip never opens a path here, and each file added
// is opened through the checked paths only when its turn comes, so a world
// of thousands of files holds one open at a time. Failures raise
// TBKException (File) naming the archive.
namespace tbk {

class ZipWriter {
 public:
  // Writes into fd, an empty file, which stays the caller's.
  ZipWriter(int fd, std::string archivePath);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // The file at path, deflated, as entryName; size and modified are what
  // the file was when listed (the caller keeps it from changing). stored:
  // kept as it is, for a file already compressed (a database table), which
  // deflating again would only slow.
  void addFile(const std::string& entryName, const std::string& path, uint64_t size, time_t modified,
               bool stored = false);
  void addFolder(const std::string& entryName);

  // Writes the archive. progress gets the share written (0...1); false
  // from it stops, and finish() returns false with the file's contents
  // undefined. Either way nothing more may be added.
  bool finish(const std::function<bool(double)>& progress);

  struct Sink;

 private:
  [[noreturn]] void failed(const std::string& what);

  std::unique_ptr<Sink> sink_;
  zip_t* archive_ = nullptr;
  std::string archivePath_;
};

}  // namespace tbk
