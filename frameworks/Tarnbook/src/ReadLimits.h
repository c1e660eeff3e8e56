#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How much of each kind of game file Gorvane reads at most. Gorvane reads
// as root, and a user can make a file of any length at no cost (a sparse
// file): without a limit, pointing the game's folders at one makes the root
// process hold gigabytes, or end for want of memory. The limits are many
// times what the game writes: a level.dat or a player record of a large
// world is well under a megabyte, an options file about 20 KB, a world name
// a few dozen bytes, the biggest picture of the game's bundle a few MB.
namespace tbk::readLimit {

constexpr size_t levelFile = size_t(64) << 20;       // level.dat, level.dat_old
constexpr size_t playerRecord = size_t(64) << 20;    // the player's database record
constexpr size_t playerPointer = size_t(64) << 10;   // a player_<id> record: a few ids
constexpr size_t databaseCurrent = size_t(4) << 10;  // db/CURRENT, read whole by LevelDB
constexpr size_t optionsFile = size_t(32) << 20;     // room for a stray line of 16 MB
constexpr size_t worldName = size_t(64) << 10;       // levelname.txt
constexpr size_t gameAsset = size_t(64) << 20;       // a picture or the font of the game's bundle
// The player records of one backup or restore journal, or of the backup a
// session makes before its first change, together: a world of a server
// keeps one record a player who joined, some kilobytes each.
constexpr size_t backupRecords = size_t(64) << 20;

}  // namespace tbk::readLimit

// What a .mcworld archive may hold at most before Gorvane unpacks it. A
// world the game exports is a few thousand entries (db/ grows by a table
// of about 2 MB at a time) and rarely more than a few GB; its tables are
// compressed already, so they hardly shrink in the archive again. An
// archive past these is refused before anything is written (an archive
// bomb would otherwise fill the disk with root's reserved blocks).
namespace tbk::archiveLimit {

constexpr size_t entries = 65536;
constexpr uint64_t totalBytes = uint64_t(8) << 30;  // all entries inflated
// An entry that inflates beyond ratioFloor may not inflate more than ratio
// times its compressed size; deflate's best is about 1030 to 1.
constexpr uint64_t ratio = 200;
constexpr uint64_t ratioFloor = uint64_t(1) << 20;
constexpr size_t nameBytes = 1024;  // one entry's path
// The central directory, read whole before the entries can be counted: a
// game's export of a few thousand entries has some hundreds of KB.
constexpr uint64_t directoryBytes = uint64_t(64) << 20;

}  // namespace tbk::archiveLimit

namespace tbk {

// Raises TBKException (FormatFailure) when `size` bytes of what is named
// are more than `maxBytes`, saying both.
void checkReadLimit(const std::string& what, uint64_t size, size_t maxBytes);

}  // namespace tbk
