// Worlds made to cost memory, each read in a child of its own that says
// what it found and how much memory it held at its peak: the reading must
// end in a listing or a refusal, never in the end of the process, and stay
// under 256 MB however large the world claims to be.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <iostream>

#include <gtest/gtest.h>
#include <leveldb/db.h>
#include <leveldb/write_batch.h>

#include "ContainerWorld.h"
#include "GameDatabase.h"
#include "Tarnbook/TBKBlockEntities.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"
#include "TarnbookTestWorld.h"

namespace {

struct ChildResult {
  std::string said;
  long peakKilobytes = 0;
  int status = -1;
};

// Runs work in a child (which starts small: nothing big is made here) and
// returns what it wrote, its peak resident size and how it ended.
ChildResult inChild(const std::function<std::string()>& work) {
  int out[2];
  if (::pipe(out) != 0) return {};
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(out[0]);
    std::string said;
    try {
      said = work();
    } catch (const std::exception& error) {
      said = std::string("raised: ") + error.what();
    }
    (void)!::write(out[1], said.data(), said.size());
    ::_exit(0);
  }
  ::close(out[1]);
  ChildResult result;
  char buffer[4096];
  for (ssize_t count; (count = ::read(out[0], buffer, sizeof buffer)) > 0;) result.said.append(buffer, size_t(count));
  ::close(out[0]);
  rusage usage{};
  ::wait4(pid, &result.status, 0, &usage);
  result.peakKilobytes = usage.ru_maxrss;
  return result;
}

// What listing the worlds shows: each world's name, or why it is not read.
std::string listing() {
  std::string shown;
  for (const auto& name : TBKLevelDB::worlds()) {
    try {
      shown += TBKLevelDB::dbForWorldNamed(name)->levelData()->stringForKey("LevelName") + "; ";
    } catch (const TBKException& error) {
      shown += name + " refused; ";
    }
  }
  return shown;
}

// The containers of a world: how many, and how many chunks were damaged.
std::string containers(const std::string& world) {
  TBKLevelDB db(world, "many", "");
  size_t count = 0, damaged = 0;
  TBKBlockEntities::forEach(db, [&](const TBKBlockEntity&) { return ++count, true; },
                            [&](const TBKBlockEntities::Damage&) { ++damaged; });
  return std::to_string(count) + " containers, " + std::to_string(damaged) + " damaged";
}

TEST(HostileWorldMemory, EachWorldIsListedOrRefusedWithinItsBound) {
  tbktest::TestSandbox sandbox;
  tbktest::writeWorld(sandbox.worldFolder("lake"), "Lakeside Survival", true);
  const std::string bomb = sandbox.worldFolder("bomb"), many = sandbox.worldFolder("many");
  struct Case {
    const char* name;
    std::function<void()> make;  // in a child of its own: what it costs is not the reader's
    std::function<std::string()> read;
    std::string said;
  } cases[] = {
      {"level.dat: a sparse list of 16 million empty compounds",
       [&] {
         tbktest::writeWorld(bomb, "Bomb", false);
         std::string head("\x0a\x00\x00\x09\x01\x00x\x0a\x00\x00\x00\x01", 12);  // count 1 << 24
         std::string file = std::string("\x0a\x00\x00\x00", 4) + std::string(4, '\0') + head;
         uint32_t length = uint32_t(head.size() + (1 << 24) + 1);
         for (int i = 0; i < 4; ++i) file[4 + i] = char(length >> 8 * i);
         tbktest::writeFile(bomb + "/level.dat", file);
         EXPECT_EQ(::truncate((bomb + "/level.dat").c_str(), off_t(8 + length)), 0);
       },
       listing, "bomb refused; Lakeside Survival; "},
      {"a million block-entity records, one damaged",
       [&] {
         tbktest::writeWorld(many, "Many", true);
         std::string chest = TBKNBT::serialise(*tbktest::containerChunks().front().roots.front());
         auto db = gamedatabase::open(many + "/db");
         for (int32_t x = 0; x < 1000; ++x) {
           leveldb::WriteBatch batch;
           for (int32_t z = 0; z < 1000; ++z) {
             batch.Put(tbktest::chunkKey(x, z).bytes(), x == 500 && z == 500 ? std::string("\x0a\x00", 2) : chest);
           }
           db->Write(leveldb::WriteOptions(), &batch);
         }
       },
       [&] { return containers(many); }, "999999 containers, 1 damaged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChildResult made = inChild([&] { return c.make(), std::string(); });
    ASSERT_EQ(made.status, 0) << made.said;
    ChildResult read = inChild(c.read);
    EXPECT_EQ(read.status, 0) << "the reader ended abnormally";
    EXPECT_EQ(read.said, c.said);
    EXPECT_LT(read.peakKilobytes, 256 * 1024) << "kilobytes at the reader's peak";
    std::cout << c.name << ": " << read.peakKilobytes / 1024 << " MB at the peak\n";
  }
}

}  // namespace
