#include "AccessList.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "LittleEndian.h"

namespace tbk {

namespace {

constexpr size_t headerSize = 4, entrySize = 8;
constexpr int allRights = R_OK | W_OK | X_OK;
// The rights of access(2) are the bits of each of the mode's three triples.
static_assert(R_OK == S_IROTH && W_OK == S_IWOTH && X_OK == S_IXOTH);

}  // namespace

std::optional<std::vector<AccessEntry>> decodeAccessList(std::string_view bytes) {
  if (bytes.size() < headerSize || (bytes.size() - headerSize) % entrySize != 0) return std::nullopt;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (readLittleEndian<uint32_t>(data) != 2) return std::nullopt;
  std::vector<AccessEntry> entries;
  for (size_t at = headerSize; at < bytes.size(); at += entrySize) {
    entries.push_back({readLittleEndian<uint16_t>(data + at), readLittleEndian<uint16_t>(data + at + 2),
                       readLittleEndian<uint32_t>(data + at + 4)});
  }
  return entries;
}

bool holdsRights(const RealUser& user, const struct stat& info, const std::vector<AccessEntry>& entries, int rights) {
  if (user.uid == 0) return true;
  auto grants = [rights](int granted) { return (granted & rights) == rights; };
  if (info.st_uid == user.uid) return grants((info.st_mode & S_IRWXU) >> 6);
  if (entries.empty()) {
    return grants(user.isInGroup(info.st_gid) ? (info.st_mode & S_IRWXG) >> 3 : info.st_mode & S_IRWXO);
  }
  int mask = allRights;
  for (const auto& e : entries) {
    if (e.tag == accessTag::mask) mask = e.perm;
  }
  for (const auto& e : entries) {
    if (e.tag == accessTag::user && e.id == user.uid) return grants(e.perm & mask);
  }
  bool inAGroup = false;
  for (const auto& e : entries) {
    bool matches = (e.tag == accessTag::groupObject && user.isInGroup(info.st_gid)) ||
                   (e.tag == accessTag::group && user.isInGroup(e.id));
    if (!matches) continue;
    if (grants(e.perm & mask)) return true;
    inAGroup = true;
  }
  if (inAGroup) return false;
  for (const auto& e : entries) {
    if (e.tag == accessTag::other) return grants(e.perm);
  }
  return false;
}

bool realUserHolds(const struct stat& info, int rights, int fd) {
  const RealUser& user = realUser();
  if (user.uid == 0) return true;
  // Through /proc, which also serves descriptors opened only as paths.
  std::string self = "/proc/self/fd/" + std::to_string(fd);
  char buffer[headerSize + entrySize * 64];
  ssize_t size = ::getxattr(self.c_str(), "system.posix_acl_access", buffer, sizeof buffer);
  if (size < 0) {
    if (errno != ENODATA && errno != ENOTSUP) return false;
    return holdsRights(user, info, {}, rights);
  }
  auto entries = decodeAccessList(std::string_view(buffer, static_cast<size_t>(size)));
  return entries && holdsRights(user, info, *entries, rights);
}

}  // namespace tbk
