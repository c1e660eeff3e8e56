#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <memory>

#include <leveldb/db.h>

// The game's database and the game's hold on it, as tests and benchmarks
// reach them without the library under test.
namespace gamedatabase {

// A world's db/ folder opened with LevelDB itself, reading tables compressed
// as the game compresses them (zlib, id 2; raw deflate, id 4) and writing
// zlib tables; with onlyCompressorId 2 or 4 it knows that compressor alone
// (and writes with it). LevelDB's own log stays quiet. Raises
// std::runtime_error with LevelDB's reason when the folder cannot be opened.
std::unique_ptr<leveldb::DB> open(const std::filesystem::path& folder, int onlyCompressorId = 0, bool create = false);

// Runs body in a child process that reports through a pipe once body has
// returned and then waits to be killed by endChild; returns the child's pid.
// Raises std::runtime_error when body raised in the child.
pid_t holdInChild(const std::function<void()>& body);
void endChild(pid_t child);

// Ends its child when it goes, so that a failed assertion leaves none behind.
class HeldChild {
 public:
  explicit HeldChild(pid_t child) : child_(child) {}
  ~HeldChild() { endChild(child_); }
  HeldChild(const HeldChild&) = delete;
  HeldChild& operator=(const HeldChild&) = delete;

 private:
  pid_t child_;
};

// A child holding the lock the game's LevelDB takes on db/LOCK while it plays
// the world, without opening (and so without writing) the database.
pid_t holdGameLock(const std::filesystem::path& worldFolder);

}  // namespace gamedatabase
