#include "Tarnbook/TBKStructures.h"

#include "Folders.h"
#include "OwnerPolicy.h"
#include "RealUser.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKNBT.h"
#include "WholeFile.h"

namespace {

// A structure file is read whole: far more than the game's largest
// structure (a few million blocks, two ints each) needs.
constexpr size_t structureFileLimit = size_t(64) << 20;

}  // namespace

// A name without a namespace is the default one's, as the game's.
std::string TBKStructures::keptName(const std::string& name) {
  if (name.empty() || name.size() > 256) {
    throw TBKException(TBKException::Kind::Usage, "A structure needs a name of 1 to 256 bytes.");
  }
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7f) {
      throw TBKException(TBKException::Kind::Usage, "A structure's name cannot hold control characters.");
    }
  }
  return name.find(':') == std::string::npos ? "mystructure:" + name : name;
}

std::vector<std::string> TBKStructures::filesIn(const std::string& folder) {
  return tbk::filesEndingIn(folder, ".mcstructure");
}

std::vector<std::string> TBKStructures::names(TBKLevelDB& db) {
  std::vector<std::string> names;
  for (auto& key : db.keysWithPrefix(keyPrefix)) names.push_back(key.substr(keyPrefix.size()));
  return names;
}

std::string TBKStructures::fileName(const std::string& name) {
  std::string file;
  for (unsigned char c : name) file += (c < 0x20 || c == 0x7f || c == '/' || c == ':') ? '_' : static_cast<char>(c);
  if (!file.empty() && file[0] == '.') file[0] = '_';
  return file + ".mcstructure";
}

void TBKStructures::exportStructure(TBKLevelDB& db, const std::string& name, const std::string& path, bool replace) {
  auto bytes = db.record(std::string(keyPrefix) + name);
  if (!bytes) {
    throw TBKException(TBKException::Kind::Usage,
                       "The world \"" + db.worldName() + "\" holds no structure named \"" + name + "\".");
  }
  // Looked at first, not at the rename: a file the user makes in their own
  // folder meanwhile is the most that is replaced.
  if (!replace && tbk::ownerOf(path)) {
    throw TBKException(TBKException::Kind::File, path + " exists already. Nothing was written.");
  }
  // The user's own file, whoever runs this: never root's.
  const tbk::RealUser& user = tbk::realUser();
  tbk::writeFileAtomically(path, *bytes, tbk::FileOwner{user.uid, user.gid, 0644});
}

std::string TBKStructures::importStructure(TBKLevelDB& db, const std::string& path, const std::string& name) {
  std::string kept = keptName(name);
  auto bytes = tbk::readWholeFile(path, structureFileLimit);
  if (!bytes) throw TBKException(TBKException::Kind::File, "There is no file " + path + ".");
  if (std::string problem = shapeProblem(*bytes); !problem.empty()) {
    throw TBKException(TBKException::Kind::Format, path + " is not a structure: " + problem + ". Nothing was written.");
  }
  db.writeRecords({{std::string(keyPrefix) + kept, std::move(*bytes)}});
  return kept;
}
