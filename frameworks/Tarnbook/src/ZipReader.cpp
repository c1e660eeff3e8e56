#include "ZipReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "LibZip.h"
#include "ReadLimits.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

const LibZip& libzip() { return LibZip::get(); }

}  // namespace

namespace {

// MS-DOS attribute bits, which every maker of zip archives fills in.
constexpr uint32_t dosFolderBit = 0x10;
constexpr uint32_t dosReparsePointBit = 0x400;

std::string openFailure(int code) {
  switch (code) {
    case ZIP_ER_NOZIP:
      return "it is not a zip archive, or it is cut short";
    case ZIP_ER_INCONS:
      return "it is damaged (its directory does not match its entries)";
    case ZIP_ER_MEMORY:
      return "it does not fit in memory";
    default: {
      zip_error_t error;
      libzip().error_init_with_code(&error, code);
      std::string text = libzip().error_strerror(&error);
      libzip().error_fini(&error);
      return "it cannot be read (" + text + ")";
    }
  }
}

uint64_t littleEndian(std::string_view bytes, size_t at, size_t width) {
  uint64_t value = 0;
  for (size_t i = width; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

std::string readAt(int fd, uint64_t offset, size_t length) {
  std::string bytes(length, '\0');
  ssize_t count = ::pread(fd, bytes.data(), length, static_cast<off_t>(offset));
  bytes.resize(count > 0 ? static_cast<size_t>(count) : 0);
  return bytes;
}

struct DirectoryClaim {
  uint64_t entries = 0;
  uint64_t bytes = 0;
};

// What the end of the archive says of its directory: libzip reads the whole
// directory before it tells the count, so the claim is weighed first. The
// end record is the last "PK\5\6" whose comment reaches the file's end;
// its zip64 form, when there is one, is named by the locator just before.
// nullopt when there is none: libzip then says what is wrong.
std::optional<DirectoryClaim> directoryClaim(int fd) {
  constexpr size_t endRecord = 22, locator = 20, zip64Record = 56;
  struct stat info;
  if (::fstat(fd, &info) != 0 || info.st_size < off_t(endRecord)) return std::nullopt;
  uint64_t size = static_cast<uint64_t>(info.st_size);
  uint64_t tailStart = size - std::min<uint64_t>(size, endRecord + 0xFFFF);
  std::string tail = readAt(fd, tailStart, static_cast<size_t>(size - tailStart));
  for (size_t at = tail.size() >= endRecord ? tail.size() - endRecord + 1 : 0; at-- > 0;) {
    if (tail.compare(at, 4, "PK\5\6") != 0 || at + endRecord + littleEndian(tail, at + 20, 2) != tail.size()) continue;
    DirectoryClaim claim{littleEndian(tail, at + 10, 2), littleEndian(tail, at + 12, 4)};
    uint64_t end = tailStart + at;
    if (end < locator) return claim;
    std::string found = readAt(fd, end - locator, locator);
    if (found.size() != locator || found.compare(0, 4, "PK\6\7") != 0) return claim;
    std::string record = readAt(fd, littleEndian(found, 8, 8), zip64Record);
    if (record.size() != zip64Record || record.compare(0, 4, "PK\6\6") != 0) return claim;
    return DirectoryClaim{littleEndian(record, 32, 8), littleEndian(record, 40, 8)};
  }
  return std::nullopt;
}

}  // namespace

ZipReader::ZipReader(int fd, std::string archiveName) : archiveName_(std::move(archiveName)) {
  if (auto claim = directoryClaim(fd)) {
    checkEntryCount(claim->entries);
    if (claim->bytes > archiveLimit::directoryBytes) {
      damaged("its directory is " + std::to_string(claim->bytes) + " bytes, more than the " +
              std::to_string(archiveLimit::directoryBytes >> 20) + " MB Gorvane reads");
    }
  }
  int own = ::dup(fd);
  if (own < 0) damaged("it cannot be read");
  int code = 0;
  archive_ = libzip().fdopen(own, ZIP_CHECKCONS, &code);
  if (!archive_) {
    ::close(own);
    damaged(openFailure(code));
  }
  zip_int64_t count = libzip().get_num_entries(archive_, 0);
  if (count < 0) damaged("it cannot be read");
  checkEntryCount(static_cast<uint64_t>(count));
  entries_.reserve(static_cast<size_t>(count));
  for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
    zip_stat_t info;
    if (libzip().stat_index(archive_, i, 0, &info) != 0 || !(info.valid & ZIP_STAT_NAME) ||
        !(info.valid & ZIP_STAT_SIZE) || !(info.valid & ZIP_STAT_COMP_SIZE)) {
      damaged("its entry " + std::to_string(i + 1) + " cannot be read");
    }
    ArchiveEntry entry;
    entry.name = info.name;
    entry.size = info.size;
    entry.compressedSize = info.comp_size;
    entry.encrypted = (info.valid & ZIP_STAT_ENCRYPTION_METHOD) && info.encryption_method != ZIP_EM_NONE;
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (libzip().file_get_external_attributes(archive_, i, 0, &system, &attributes) == 0) {
      if (system == ZIP_OPSYS_UNIX) entry.unixType = static_cast<mode_t>((attributes >> 16) & S_IFMT);
      entry.dosFolder = attributes & dosFolderBit;
      entry.dosLink = attributes & dosReparsePointBit;
    }
    entries_.push_back(std::move(entry));
  }
}

ZipReader::~ZipReader() {
  if (archive_) libzip().discard(archive_);
}

void ZipReader::checkEntryCount(uint64_t count) const {
  if (count <= archiveLimit::entries) return;
  damaged("it holds " + std::to_string(count) + " entries, more than the " + std::to_string(archiveLimit::entries) +
          " Gorvane unpacks");
}

void ZipReader::damaged(const std::string& what) const {
  throw TBKException(TBKException::Kind::Format, archiveRefusal(archiveName_, what));
}

bool ZipReader::inflate(uint64_t index, const std::function<void(std::string_view)>& write,
                        const std::function<bool(uint64_t)>& keepGoing) {
  const ArchiveEntry& entry = entries_.at(index);
  auto entryFailure = [&](const std::string& what) { damaged("its entry \"" + entry.name + "\" " + what); };
  std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(libzip().fopen_index(archive_, index, 0), libzip().fclose);
  if (!file) entryFailure("cannot be read (" + std::string(libzip().strerror(archive_)) + ")");
  char buffer[65536];
  uint64_t total = 0;
  for (;;) {
    zip_int64_t count = libzip().fread(file.get(), buffer, sizeof buffer);
    if (count < 0) entryFailure("is damaged (" + std::string(libzip().file_strerror(file.get())) + ")");
    if (count == 0) break;
    total += static_cast<uint64_t>(count);
    // What the directory claimed was checked before; what inflates is
    // checked here, so a claim that lies gains nothing.
    if (total > entry.size) {
      entryFailure("inflates to more than the " + std::to_string(entry.size) + " bytes it claims");
    }
    if (total > archiveLimit::ratioFloor && total / archiveLimit::ratio > entry.compressedSize) {
      entryFailure("inflates more than " + std::to_string(archiveLimit::ratio) + " times (an archive bomb)");
    }
    write(std::string_view(buffer, static_cast<size_t>(count)));
    if (!keepGoing(static_cast<uint64_t>(count))) return false;
  }
  if (total != entry.size) entryFailure("is cut short");
  return true;
}

}  // namespace tbk
