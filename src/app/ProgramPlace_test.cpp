#include "app/ProgramPlace.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

TEST(ProgramPlace, OnlyFilesAndFoldersNoOneButRootMayChangeAreSafe) {
  struct Case {
    uid_t owner;
    mode_t mode;
    bool folder;
    bool safe;
  };
  const Case cases[] = {
      {0, 0755, true, true},    {0, 04755, false, true},    {0, 0775, true, false},
      {0, 0757, true, false},   {1000, 0755, true, false},  {0, 01777, true, true},  // like /tmp
      {0, 01777, false, false}, {1000, 01777, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(onlyRootMayChange(c.owner, c.mode, c.folder), c.safe) << c.owner << " " << std::oct << c.mode;
  }
}

}  // namespace
