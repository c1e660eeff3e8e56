#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "RealUser.h"

namespace tbk {

// One entry of a POSIX access list.
struct AccessEntry {
  uint16_t tag;   // one of the accessTag values
  uint16_t perm;  // R_OK, W_OK and X_OK bits
  uint32_t id;    // the uid or gid of a named entry
  bool operator==(const AccessEntry&) const = default;
};

namespace accessTag {
constexpr uint16_t userObject = 0x01, user = 0x02, groupObject = 0x04, group = 0x08, mask = 0x10, other = 0x20;
}

// The access list as the kernel keeps it in the extended attribute
// system.posix_acl_access: little-endian, a version word of 2, then
// entries of tag (16 bits), permission bits (16) and id (32). nullopt when
// the bytes are not such a list.
std::optional<std::vector<AccessEntry>> decodeAccessList(std::string_view bytes);

// Whether user holds all of `rights` (R_OK, W_OK, X_OK) on a file whose
// status is info and whose access list is entries (empty: it has none),
// weighed as the kernel weighs them: owner, then named users under the
// mask, then the groups, then other.
bool holdsRights(const RealUser& user, const struct stat& info, const std::vector<AccessEntry>& entries, int rights);

// holdsRights for the real user on the file open as fd (a path-only
// descriptor serves), reading its access list. An access list that cannot
// be read allows nothing.
bool realUserHolds(const struct stat& info, int rights, int fd);

}  // namespace tbk
