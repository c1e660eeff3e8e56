#include "ZipBuilder.h"

#include <zip.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <tuple>

#include "WorldReader.h"

namespace tbktest {

std::string zipOf(const std::vector<ZipEntry>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  if (!archive) throw std::runtime_error("zip_open_from_source failed");
  zip_source_keep(buffer);
  for (const auto& entry : entries) {
    bool folder = !entry.name.empty() && entry.name.back() == '/';
    zip_int64_t index =
        folder ? zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_RAW)
               : zip_file_add(archive, entry.name.c_str(),
                              zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0), ZIP_FL_ENC_RAW);
    if (index < 0) throw std::runtime_error("zip_file_add failed: " + entry.name);
    if (entry.unixMode) {
      zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                       static_cast<zip_uint32_t>(entry.unixMode) << 16);
    }
  }
  if (zip_close(archive) != 0) throw std::runtime_error("zip_close failed");
  std::string bytes;
  zip_source_open(buffer);
  char chunk[65536];
  for (zip_int64_t count; (count = zip_source_read(buffer, chunk, sizeof chunk)) > 0;) {
    bytes.append(chunk, static_cast<size_t>(count));
  }
  zip_source_close(buffer);
  zip_source_free(buffer);
  return bytes;
}

std::vector<ZipEntry> entriesOfFolder(const std::string& folder, const std::string& top) {
  std::vector<ZipEntry> entries;
  for (const auto& file : std::filesystem::recursive_directory_iterator(folder)) {
    if (!file.is_regular_file()) continue;
    std::string name = std::filesystem::relative(file.path(), folder).string();
    entries.push_back({top.empty() ? name : top + "/" + name, worldreader::readFile(file.path())});
  }
  return entries;
}

std::string withClaimedSize(std::string archive, const std::string& name, uint32_t size) {
  auto field = [&](size_t at) { return uint32_t(uint8_t(archive[at])) | uint32_t(uint8_t(archive[at + 1])) << 8; };
  // Local headers (PK 3 4): name length at 26, name at 30, size at 22.
  // Directory headers (PK 1 2): name length at 28, name at 46, size at 24.
  for (auto [signature, lengthAt, nameAt, sizeAt] : {std::tuple{"PK\3\4", 26, 30, 22}, {"PK\1\2", 28, 46, 24}}) {
    for (size_t at = archive.find(signature); at != std::string::npos; at = archive.find(signature, at + 4)) {
      if (archive.compare(at + nameAt, field(at + lengthAt), name) != 0 || field(at + lengthAt) != name.size())
        continue;
      for (int i = 0; i < 4; ++i) archive[at + sizeAt + i] = static_cast<char>(size >> (8 * i));
    }
  }
  return archive;
}

}  // namespace tbktest
