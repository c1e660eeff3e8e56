#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKException.h"
#include "WorldReader.h"

// Shared helpers of the Tarnbook tests: throwaway folders, a game sandbox
// the library finds through its environment variables, and worlds written
// the way the game writes them.
namespace tbktest {

class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A sandbox with Documents/games/com.mojang/{minecraftWorlds,minecraftpe},
// named by TARNBOOK_GAME_SANDBOX and TARNBOOK_GAME_APP while it lives.
class TestSandbox {
 public:
  TestSandbox();
  ~TestSandbox();
  std::string worldsFolder() const;
  std::string gameDataFolder() const;
  std::string worldFolder(const std::string& name) const;

 private:
  TemporaryFolder root_;
};

std::shared_ptr<TBKCompoundTag> makeLevelTree(const std::string& levelName);
// A 0.9-era player: abilities, a 45-entry inventory (9 hotbar links, 36
// items), 4 armor entries, position and motion lists of floats and doubles.
std::shared_ptr<TBKCompoundTag> makePlayerTree();

// Writes a world through the library: level.dat, levelname.txt, and the
// player in db/ (withDatabase) or inside level.dat as "Player".
void writeWorld(const std::string& folder, const std::string& levelName, bool withDatabase, int32_t storageVersion = 3);

// bytes copied to end where a page that cannot be read begins: a reader
// that looks even one byte past its input faults at once.
class BytesAtPageEnd {
 public:
  explicit BytesAtPageEnd(std::string_view bytes);
  ~BytesAtPageEnd();
  BytesAtPageEnd(const BytesAtPageEnd&) = delete;
  BytesAtPageEnd& operator=(const BytesAtPageEnd&) = delete;
  std::string_view view() const { return view_; }

 private:
  void* pages_;
  size_t length_;
  std::string_view view_;
};

using worldreader::readFile;
// What action raised, or an exception with no reason when it returned: a
// test expecting a refusal then fails on the reason.
TBKException raised(const std::function<void()>& action);
// The kind of what action raised; none when it returned.
std::optional<TBKException::Kind> raisedKind(const std::function<void()>& action);
void writeFile(const std::string& path, const std::string& bytes);
// The names in folder, sorted; none when it is missing.
std::vector<std::string> folderNames(const std::string& folder);

}  // namespace tbktest
