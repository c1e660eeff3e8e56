#include "Tarnbook/TBKLevelFile.h"

#include <gtest/gtest.h>

#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "TarnbookTestWorld.h"

namespace {

std::string header(int32_t version, int32_t length) {
  return worldreader::littleEndian(version, 4) + worldreader::littleEndian(length, 4);
}

TEST(TBKLevelFileTest, EveryStorageVersionFromTwoUpRoundTrips) {
  std::string payload = TBKNBT::serialise(*tbktest::makeLevelTree("Versions"));
  for (int32_t version : {2, 3, 4, 5, 8, 10, 1000}) {
    SCOPED_TRACE(version);
    std::string file = header(version, static_cast<int32_t>(payload.size())) + payload;
    TBKLevelFile parsed = TBKLevelFile::parse(file);
    EXPECT_EQ(parsed.storageVersion(), version);
    EXPECT_TRUE(parsed.serialise() == file);
  }
}

TEST(TBKLevelFileTest, DamagedFilesAreRefused) {
  std::string payload = TBKNBT::serialise(*tbktest::makeLevelTree("Damaged"));
  auto size = static_cast<int32_t>(payload.size());
  struct Case {
    const char* why;
    std::string file;
  } cases[] = {
      {"empty", ""},
      {"header cut short", header(3, size).substr(0, 6)},
      {"version 1", header(1, size) + payload},
      {"negative version", header(-3, size) + payload},
      {"payload cut short", header(3, size) + payload.substr(0, payload.size() - 1)},
      {"length beyond the file", header(3, size + 1) + payload},
      {"bytes after the payload", header(3, size) + payload + "x"},
      {"negative length", header(3, -1) + payload},
      {"length agrees but data is cut", header(3, size - 1) + payload.substr(0, payload.size() - 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(tbktest::raisedKind([&] { TBKLevelFile::parse(c.file); }), TBKException::Kind::Format);
  }
}

}  // namespace
