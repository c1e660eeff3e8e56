#include "ZipReader.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <memory>

#include "ReadLimits.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

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
      zip_error_init_with_code(&error, code);
      std::string text = zip_error_strerror(&error);
      zip_error_fini(&error);
      return "it cannot be read (" + text + ")";
    }
  }
}

}  // namespace

ZipReader::ZipReader(int fd, std::string archiveName) : archiveName_(std::move(archiveName)) {
  int own = ::dup(fd);
  if (own < 0) damaged("it cannot be read");
  int code = 0;
  archive_ = zip_fdopen(own, ZIP_CHECKCONS, &code);
  if (!archive_) {
    ::close(own);
    damaged(openFailure(code));
  }
  zip_int64_t count = zip_get_num_entries(archive_, 0);
  if (count < 0) damaged("it cannot be read");
  if (static_cast<uint64_t>(count) > archiveLimit::entries) {
    damaged("it holds " + std::to_string(count) + " entries, more than the " + std::to_string(archiveLimit::entries) +
            " Gorvane unpacks");
  }
  entries_.reserve(static_cast<size_t>(count));
  for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
    zip_stat_t info;
    if (zip_stat_index(archive_, i, 0, &info) != 0 || !(info.valid & ZIP_STAT_NAME) || !(info.valid & ZIP_STAT_SIZE) ||
        !(info.valid & ZIP_STAT_COMP_SIZE)) {
      damaged("its entry " + std::to_string(i + 1) + " cannot be read");
    }
    ArchiveEntry entry;
    entry.name = info.name;
    entry.size = info.size;
    entry.compressedSize = info.comp_size;
    entry.encrypted = (info.valid & ZIP_STAT_ENCRYPTION_METHOD) && info.encryption_method != ZIP_EM_NONE;
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive_, i, 0, &system, &attributes) == 0) {
      if (system == ZIP_OPSYS_UNIX) entry.unixType = static_cast<mode_t>((attributes >> 16) & S_IFMT);
      entry.dosFolder = attributes & dosFolderBit;
      entry.dosLink = attributes & dosReparsePointBit;
    }
    entries_.push_back(std::move(entry));
  }
}

ZipReader::~ZipReader() {
  if (archive_) zip_discard(archive_);
}

void ZipReader::damaged(const std::string& what) const {
  throw TBKException(TBKException::Kind::Format, archiveRefusal(archiveName_, what));
}

bool ZipReader::inflate(uint64_t index, const std::function<void(std::string_view)>& write,
                        const std::function<bool(uint64_t)>& keepGoing) {
  const ArchiveEntry& entry = entries_.at(index);
  auto entryFailure = [&](const std::string& what) { damaged("its entry \"" + entry.name + "\" " + what); };
  std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen_index(archive_, index, 0), zip_fclose);
  if (!file) entryFailure("cannot be read (" + std::string(zip_strerror(archive_)) + ")");
  char buffer[65536];
  uint64_t total = 0;
  for (;;) {
    zip_int64_t count = zip_fread(file.get(), buffer, sizeof buffer);
    if (count < 0) entryFailure("is damaged (" + std::string(zip_file_strerror(file.get())) + ")");
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
