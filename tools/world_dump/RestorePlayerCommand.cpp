#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Commands.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"
#include "WorldArgument.h"

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TBKException(TBKException::Kind::File, "Could not read " + path.string() + ".");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The record key a backup file stands for: its name without ".nbt", with
// the %XX the backup wrote for other characters turned back.
std::string keyOfBackup(const fs::path& record) {
  std::string name = record.stem().string();
  if (name == "local_player") return TBKPlayerEntry::localKey;
  std::string key;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '%' && i + 2 < name.size() && std::isxdigit(static_cast<unsigned char>(name[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(name[i + 2]))) {
      key += char(std::stoi(name.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      key += name[i];
    }
  }
  return key;
}

}  // namespace

int restorePlayerCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) {
    err << "usage: gorvane-world restore-player RECORD.nbt WORLD\n";
    return 2;
  }
  try {
    fs::path record = args[0];
    auto player = TBKNBT::parseCompound(readBytes(record));
    fs::path world = worldArgument(args[1]);
    TBKLevelDB db(world.string(), world.filename().string(), backupFolderFor(world));
    std::string key = keyOfBackup(record);
    db.setPlayerForKey(key.rfind(TBKPlayerEntry::serverPrefix, 0) == 0 ? key : TBKPlayerEntry::localKey, player);
    out << "Restored the player of " << world.string() << " from " << record.string() << "\n";
    if (!db.backupMade().empty()) out << "The replaced player was backed up in " << db.backupMade() << "\n";
  } catch (const TBKException& error) {
    err << error.reason() << "\n";
    return 1;
  }
  return 0;
}
