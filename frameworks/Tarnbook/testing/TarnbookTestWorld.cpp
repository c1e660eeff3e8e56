#include "TarnbookTestWorld.h"

#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace tbktest {

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarnbook-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

TestSandbox::TestSandbox() {
  std::filesystem::create_directories(worldsFolder());
  std::filesystem::create_directories(gameDataFolder() + "/minecraftpe");
  ::setenv("TARNBOOK_GAME_SANDBOX", root_.path().c_str(), 1);
  ::setenv("TARNBOOK_GAME_APP", root_.path().c_str(), 1);
}

TestSandbox::~TestSandbox() {
  ::unsetenv("TARNBOOK_GAME_SANDBOX");
  ::unsetenv("TARNBOOK_GAME_APP");
}

std::string TestSandbox::gameDataFolder() const { return root_.path() + "/Documents/games/com.mojang"; }
std::string TestSandbox::worldsFolder() const { return gameDataFolder() + "/minecraftWorlds"; }
std::string TestSandbox::worldFolder(const std::string& name) const { return worldsFolder() + "/" + name; }

std::shared_ptr<TBKCompoundTag> makeLevelTree(const std::string& levelName) {
  auto level = std::make_shared<TBKCompoundTag>("");
  level->setValueForKey(TBKNumberTag::intTag("GameType", 0));
  level->setValueForKey(TBKNumberTag::longTag("LastPlayed", 1404172800));
  level->setValueForKey(std::make_shared<TBKStringTag>("LevelName", levelName));
  level->setValueForKey(TBKNumberTag::intTag("SpawnX", 128));
  level->setValueForKey(TBKNumberTag::intTag("SpawnY", 64));
  level->setValueForKey(TBKNumberTag::byteTag("spawnMobs", 1));
  return level;
}

namespace {

std::shared_ptr<TBKCompoundTag> item(int slot, int id, int count, int damage) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::shortTag("id", static_cast<int16_t>(id)));
  entry->setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(count)));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", static_cast<int16_t>(damage)));
  return entry;
}

}  // namespace

std::shared_ptr<TBKCompoundTag> makePlayerTree() {
  auto player = std::make_shared<TBKCompoundTag>("");
  auto abilities = std::make_shared<TBKCompoundTag>("abilities");
  for (const char* flag : {"flying", "instabuild", "invulnerable", "lightning", "mayfly", "mayBuild", "mineable"})
    abilities->setValueForKey(TBKNumberTag::byteTag(flag, 0));
  abilities->setValueForKey(TBKNumberTag::floatTag("flySpeed", 0.05f));
  abilities->setValueForKey(TBKNumberTag::floatTag("walkSpeed", 0.1f));
  player->setValueForKey(abilities);

  auto armor = std::make_shared<TBKListTag>("Armor", TBKTagType::Compound);
  int armorIds[] = {302, 303, 0, 317};
  for (int i = 0; i < 4; ++i)
    armor->setObjectAtIndexedSubscript(item(100 + i, armorIds[i], armorIds[i] ? 1 : 0, i * 7), armor->count());
  player->setValueForKey(armor);
  player->setValueForKey(TBKNumberTag::shortTag("Health", 20));

  auto inventory = std::make_shared<TBKListTag>("Inventory", TBKTagType::Compound);
  for (int i = 0; i < 9; ++i) inventory->setObjectAtIndexedSubscript(item(i, -1, 255, 0), inventory->count());
  for (int i = 0; i < 36; ++i)
    inventory->setObjectAtIndexedSubscript(item(i + 9, 1 + i * 7, 1 + i, i % 3), inventory->count());
  player->setValueForKey(inventory);

  using Tags = std::vector<std::shared_ptr<TBKTag>>;
  player->setValueForKey(std::make_shared<TBKListTag>(
      "Motion", TBKTagType::Float,
      Tags{TBKNumberTag::floatTag("", 0), TBKNumberTag::floatTag("", -0.0784f), TBKNumberTag::floatTag("", 0)}));
  player->setValueForKey(
      std::make_shared<TBKListTag>("Pos", TBKTagType::Double,
                                   Tags{TBKNumberTag::doubleTag("", 128.5), TBKNumberTag::doubleTag("", 65.62),
                                        TBKNumberTag::doubleTag("", -39.5)}));
  player->setValueForKey(TBKNumberTag::longTag("UniqueID", -4294967295LL));
  return player;
}

void writeWorld(const std::string& folder, const std::string& levelName, bool withDatabase, int32_t storageVersion) {
  std::filesystem::create_directories(withDatabase ? folder + "/db" : folder);
  TBKLevelDB world(folder, levelName, "");
  world.setStorageVersion(storageVersion);
  auto level = makeLevelTree(levelName);
  if (!withDatabase) {
    auto player = makePlayerTree();
    level->setObjectForKeyedSubscript(player, "Player");
  }
  world.setLevelData(level);
  if (withDatabase) world.setPlayer(makePlayerTree());
}

BytesAtPageEnd::BytesAtPageEnd(std::string_view bytes) {
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size_t readable = (bytes.size() + page - 1) / page * page;
  length_ = readable + page;
  pages_ = mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages_ == MAP_FAILED) throw std::runtime_error("no memory for the guarded bytes");
  auto* start = static_cast<char*>(pages_);
  if (mprotect(start + readable, page, PROT_NONE) != 0) throw std::runtime_error("the guard page cannot be set");
  char* at = start + readable - bytes.size();
  std::copy(bytes.begin(), bytes.end(), at);
  view_ = std::string_view(at, bytes.size());
}

BytesAtPageEnd::~BytesAtPageEnd() { munmap(pages_, length_); }

TBKException raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const TBKException& error) {
    return error;
  }
  return TBKException(TBKException::Kind::Usage, "");
}

std::optional<TBKException::Kind> raisedKind(const std::function<void()>& action) {
  try {
    action();
  } catch (const TBKException& error) {
    return error.kind();
  }
  return std::nullopt;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> folderNames(const std::string& folder) {
  std::vector<std::string> names;
  if (std::filesystem::exists(folder)) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tbktest
