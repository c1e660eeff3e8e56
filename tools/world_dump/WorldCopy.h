#pragma once

#include <filesystem>

// A private copy of a world's files to read from: LevelDB rewrites a
// database whenever it opens one (it moves its log into a table), and a
// command that only reads must leave the world exactly as it found it,
// even one the game has open. Removed when the object goes.
class WorldCopy {
 public:
  explicit WorldCopy(const std::filesystem::path& world);
  ~WorldCopy();
  WorldCopy(const WorldCopy&) = delete;
  WorldCopy& operator=(const WorldCopy&) = delete;
  const std::filesystem::path& world() const { return world_; }

 private:
  std::filesystem::path root_;
  std::filesystem::path world_;
};
