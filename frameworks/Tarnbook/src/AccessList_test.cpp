#include "AccessList.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ActingForNobody.h"
#include "WholeFile.h"

namespace {

using namespace tbktest;

// A POSIX access list: the owner's, group's and other's bits with named
// entries between, stored as the kernel keeps it.
void setAccessList(const std::string& path, int owner, std::vector<std::pair<uid_t, int>> users, int group, int mask,
                   int other) {
  std::string bytes("\x02\0\0\0", 4);
  auto put = [&](uint16_t tag, uint16_t perm, uint32_t id) {
    bytes += worldreader::littleEndian(tag, 2) + worldreader::littleEndian(perm, 2) + worldreader::littleEndian(id, 4);
  };
  put(0x01, uint16_t(owner), 0xffffffff);
  for (auto [uid, perm] : users) put(0x02, uint16_t(perm), uid);
  put(0x04, uint16_t(group), 0xffffffff);
  put(0x10, uint16_t(mask), 0xffffffff);
  put(0x20, uint16_t(other), 0xffffffff);
  ASSERT_EQ(::setxattr(path.c_str(), "system.posix_acl_access", bytes.data(), bytes.size(), 0), 0) << path;
}

TEST(AccessList, TheKernelsBytesDecodeToEntriesAndAnythingElseToNone) {
  using tbk::AccessEntry;
  namespace tag = tbk::accessTag;
  struct Case {
    std::string bytes;
    std::optional<std::vector<AccessEntry>> entries;
  };
  const Case cases[] = {
      // What setfacl -m u:1000:rw writes on a file of 0640.
      {std::string("\x02\0\0\0"
                   "\x01\0\x06\0\xff\xff\xff\xff"
                   "\x02\0\x06\0\xe8\x03\0\0"
                   "\x04\0\x04\0\xff\xff\xff\xff"
                   "\x10\0\x06\0\xff\xff\xff\xff"
                   "\x20\0\0\0\xff\xff\xff\xff",
                   44),
       std::vector<AccessEntry>{{tag::userObject, R_OK | W_OK, 0xffffffff},
                                {tag::user, R_OK | W_OK, 1000},
                                {tag::groupObject, R_OK, 0xffffffff},
                                {tag::mask, R_OK | W_OK, 0xffffffff},
                                {tag::other, 0, 0xffffffff}}},
      {std::string("\x02\0\0\0", 4), std::vector<AccessEntry>{}},
      {std::string("\x01\0\0\0", 4), std::nullopt},                           // another version
      {std::string("\x02\0\x01\0", 4), std::nullopt},                         // version 65538
      {std::string("\x02\0\0\0\x01\0\x06\0\xff\xff\xff", 11), std::nullopt},  // an entry cut short
      {std::string("\x02\0", 2), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(tbk::decodeAccessList(c.bytes), c.entries) << c.bytes.size() << " bytes";
}

TEST(AccessList, RightsAreWeighedOwnerNamedUserGroupsThenOther) {
  namespace tag = tbk::accessTag;
  const tbk::RealUser user{nobody, nogroup, {otherGroup}};
  struct Case {
    const char* what;
    uid_t owner;
    gid_t group;
    mode_t mode;
    std::vector<tbk::AccessEntry> entries;
    int rights;
    bool held;
  };
  const uint32_t none = 0xffffffff;
  const Case cases[] = {
      {"the owner's bits, list or not", nobody, 0, 0600, {{tag::other, 0, none}}, R_OK | W_OK, true},
      {"a supplementary group's bits", 0, otherGroup, 0640, {}, R_OK, true},
      {"other's bits do not give write", 0, 0, 0604, {}, W_OK, false},
      {"a named entry capped by the mask", 0, 0, 0600, {{tag::user, 6, nobody}, {tag::mask, 4, none}}, W_OK, false},
      {"a named entry that shuts out", 0, 0, 0644, {{tag::user, 0, nobody}, {tag::other, 4, none}}, R_OK, false},
      {"a named group", 0, 0, 0600, {{tag::group, 4, otherGroup}, {tag::other, 0, none}}, R_OK, true},
      {"a matching group that grants nothing",
       0,
       otherGroup,
       0604,
       {{tag::groupObject, 0, none}, {tag::other, 4, none}},
       R_OK,
       false},
      {"other, when no entry matches",
       0,
       0,
       0600,
       {{tag::group, 7, someoneElse}, {tag::other, 5, none}},
       R_OK | X_OK,
       true},
  };
  for (const Case& c : cases) {
    struct stat info {};
    info.st_uid = c.owner;
    info.st_gid = c.group;
    info.st_mode = S_IFREG | c.mode;
    EXPECT_EQ(tbk::holdsRights(user, info, c.entries, c.rights), c.held) << c.what;
    EXPECT_TRUE(tbk::holdsRights({0, 0, {}}, info, c.entries, c.rights)) << c.what << ", for root";
  }
}

// The list the kernel keeps is the one weighed, on files and on the folders
// of the walk.
TEST_F(ActingForNobody, AccessListsAreReadFromTheKernel) {
  folder("acl", 0, 0, 0755);
  // Every other user may read it, but the list shuts nobody out.
  std::string shut = file("acl/shut", "root's\n", 0, 0, 0644);
  setAccessList(shut, 6, {{nobody, 0}}, 4, 4, 4);
  // Private to root, but the list lets nobody read it.
  std::string lent = file("acl/lent", "lent\n", 0, 0, 0600);
  setAccessList(lent, 6, {{nobody, 4}}, 0, 4, 0);
  // A private folder nobody may enter by the list.
  folder("acl/inner", 0, 0, 0700);
  std::string inner = file("acl/inner/file", "inner\n", 0, 0, 0644);
  setAccessList(at("acl/inner"), 7, {{nobody, 5}}, 0, 5, 0);

  EXPECT_NE(refusal([&] { tbk::readWholeFile(shut, 1024); }).find("may not read"), std::string::npos);
  EXPECT_EQ(tbk::readWholeFile(lent, 1024).value(), "lent\n");
  EXPECT_EQ(tbk::readWholeFile(inner, 1024).value(), "inner\n");
}

}  // namespace
