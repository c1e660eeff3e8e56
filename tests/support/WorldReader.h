#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The tests' own reader of the game's files, written apart from the library
// under test so that a fault in its parser or writer cannot hide itself:
// little-endian NBT, level.dat with its 8-byte header, and the player record
// read straight out of the world's LevelDB. Every function raises
// std::runtime_error, with what and where, on anything malformed or missing.

// One tag. Only the members that belong to its type are set; the values of
// Float, Double and the arrays are read past, not kept.
struct TestTag {
  enum Type : uint8_t {
    End,
    Byte,
    Short,
    Int,
    Long,
    Float,
    Double,
    ByteArray,
    String,
    List,
    Compound,
    IntArray,
    LongArray
  };

  Type type = End;
  std::string name;
  int64_t integer = 0;            // Byte, Short, Int, Long (sign-extended)
  std::string text;               // String
  Type elementType = End;         // List
  std::vector<TestTag> children;  // Compound children in file order, List entries
  // Where the value's bytes (after type and name) lie in the bytes parsed.
  size_t payloadOffset = 0;
  size_t payloadSize = 0;

  // A path of compound names and list indices separated by '/', such as
  // "abilities/mayfly" or "Inventory/3/id"; null when any step is absent.
  const TestTag* find(std::string_view path) const;
  bool has(std::string_view path) const { return find(path) != nullptr; }
  // The integer or text at path; raises when it is absent or of another kind.
  int64_t number(std::string_view path) const;
  const std::string& string(std::string_view path) const;
  // Entries of the list at path (raises when absent or not a list).
  const std::vector<TestTag>& list(std::string_view path) const;
};

namespace worldreader {

// One named root tag (a compound, as the game writes), the whole input used.
TestTag parseNBT(std::string_view bytes);
// Root compounds one after another, the whole input used (a chunk's block
// entities); each payloadOffset counts from the start of bytes.
std::vector<TestTag> parseRoots(std::string_view bytes);

struct LevelDat {
  TestTag root;
};
LevelDat readLevelDat(const std::filesystem::path& file);

// The bytes stored under `key` in the world's db/ folder, or nullopt when the
// key is absent. The database is copied aside and opened there, so reading
// never changes the world and works while the program under test holds it.
std::optional<std::string> readDatabaseValue(const std::filesystem::path& worldFolder, const std::string& key);
// Every key of the world's database, sorted as LevelDB sorts them.
std::vector<std::string> databaseKeys(const std::filesystem::path& worldFolder);
// Every key with its value, from one copy of the database.
std::map<std::string, std::string> databaseContents(const std::filesystem::path& worldFolder);

// The local player's compound: "~local_player" in db/, or else the "Player"
// compound of level.dat for worlds from before the database format.
TestTag readPlayer(const std::filesystem::path& worldFolder);

// `width` bytes of `value`, little-endian: the payload of a number tag.
std::string littleEndian(int64_t value, size_t width);
// The NBT `bytes` with the value of the tag at `path` (see TestTag::find)
// replaced by `payload`, and every other byte as it was: what a file must
// hold after an edit of that one tag. For level.dat (levelDat true) the
// 8-byte header's length follows the new size.
std::string withPayload(std::string_view bytes, std::string_view path, std::string_view payload, bool levelDat = false);
// The tag's value on one line as the game's commands write tags, such as
// {Slot:3b,id:1s,Name:"a",xp:7,t:5L,l:[0b]}; a float, double or array is ?.
std::string snbt(const TestTag& tag);
std::string readFile(const std::filesystem::path& file);
// Every file under `folder` with its bytes, and the folders themselves; a
// database below it is taken by what it holds, key by key: LevelDB rewrites
// its own files whenever anyone opens it, without changing a record.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder);
// "" when `after` holds what `before` did, else the first name written or
// removed.
std::string describeDifference(const std::map<std::string, std::string>& before,
                               const std::map<std::string, std::string>& after);

}  // namespace worldreader
