#include "OwnerPolicy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "ActingForNobody.h"
#include "Folders.h"
#include "WholeFile.h"

namespace {

using namespace tbktest;

TEST_F(ActingForNobody, WhatIsMadeForTheUserIsTheirsAndNeverSetUserId) {
  tbk::setRealUser({nobody, nogroup, {otherGroup}});
  std::string shared = folder("shared", someoneElse, otherGroup, 0770);
  std::string tool = file("shared/tool", "#!/bin/sh\n", someoneElse, otherGroup, 0775);
  ASSERT_EQ(::chmod(tool.c_str(), 06775), 0);

  // New: nobody's own, though the folder's owner was asked for.
  std::string fresh = shared + "/new.txt";
  tbk::writeFileAtomically(fresh, "x", tbk::ownerForFile(fresh, shared));
  tbk::makeFolders(shared + "/backups/1", tbk::ownerForFile(fresh + "2", shared));
  // Replaced: its owner stays, as a write in place would leave it.
  tbk::writeFileAtomically(tool, "#!/bin/sh\necho mine\n", tbk::ownerForFile(tool, shared));

  struct Expected {
    std::string path;
    uid_t uid;
    mode_t mode;
  };
  for (const Expected& e : {Expected{fresh, nobody, 0660}, Expected{shared + "/backups", nobody, 0770},
                            Expected{shared + "/backups/1", nobody, 0770}, Expected{tool, someoneElse, 0775}}) {
    struct stat info;
    ASSERT_EQ(::stat(e.path.c_str(), &info), 0) << e.path;
    EXPECT_EQ(info.st_uid, e.uid) << e.path;
    EXPECT_EQ(info.st_gid, otherGroup) << e.path;
    EXPECT_EQ(info.st_mode & 07777, e.mode) << e.path;
  }
}

}  // namespace
