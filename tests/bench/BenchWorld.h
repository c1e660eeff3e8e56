#pragma once

#include <filesystem>

#include <benchmark/benchmark.h>

// The 50 MB world the benchmarks of whole-world walks share, built once per
// run in a folder of its own and removed at exit: 85 x 85 chunks of today's
// game, each with four sub-chunks of rock mixed too finely to compress under
// a surface sub-chunk of grass, sand and water; three creatures of their own
// records with the chunk's digest, and every tenth chunk an old-form value
// of two more; and a block-entity value of several roots as the game writes
// it: a chest with items, a furnace mid-smelt and a sign; every fourth chunk
// a double chest, every fifth a barrel holding a box of items (an elytra
// in every tenth such box).
namespace benchworld {

constexpr int chunksWide = 85;

struct Counts {
  int creatures = 0;   // of both forms
  int containers = 0;  // a double chest counted once
  int elytras = 0;     // places holding one
};

struct World {
  std::filesystem::path root;
  std::filesystem::path world;  // its db/ and level.dat
  Counts counts;
};

const World& world();
// The size of the world's db/ folder.
double databaseMB();

// The floor the walks are measured against: LevelDB itself reading every
// key and value of the world's database once per iteration.
void readEveryRecord(benchmark::State& state);

}  // namespace benchworld
