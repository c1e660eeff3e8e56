#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// Zip archives made byte by byte for the tests, hostile ones included.
namespace tbktest {

struct ZipEntry {
  std::string name;
  std::string bytes;
  mode_t unixMode = 0;  // type and permission bits; 0 gives none
};

// The archive of the entries, deflated, in order.
std::string zipOf(const std::vector<ZipEntry>& entries);
// Every file below folder as an entry ("db/CURRENT"), under top + "/" when
// top is given.
std::vector<ZipEntry> entriesOfFolder(const std::string& folder, const std::string& top = "");
// The archive with the inflated size the entry claims (in its local header
// and in the directory) set to size.
std::string withClaimedSize(std::string archive, const std::string& name, uint32_t size);

}  // namespace tbktest
