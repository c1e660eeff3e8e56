#include "WorldFiles.h"

#include <sys/stat.h>

#include <algorithm>

#include "CheckedPath.h"
#include "Folders.h"
#include "PathNames.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

void listBelow(const std::string& folder, const std::string& relative, const std::string& worldName, const char* done,
               std::vector<WorldFile>& out) {
  auto names = folderEntries(folder).value_or(std::vector<std::string>());
  std::sort(names.begin(), names.end());
  for (const auto& name : names) {
    std::string path = joinPath(folder, name);
    struct stat info;
    std::string linkTarget;
    bool inProcesses = false;
    inspectEntry(path, info, linkTarget, inProcesses).raiseIfFailed();
    std::string entry = relative.empty() ? name : joinPath(relative, name);
    if (S_ISDIR(info.st_mode)) {
      out.push_back({entry, path, true, 0, info.st_mtime});
      listBelow(path, entry, worldName, done, out);
    } else if (S_ISREG(info.st_mode)) {
      out.push_back({entry, path, false, static_cast<uint64_t>(info.st_size), info.st_mtime});
    } else {
      throw TBKException(TBKException::Kind::File, "The world \"" + worldName + "\" cannot be " + done + ": " + path +
                                                       " is not a plain file or folder.");
    }
  }
}

}  // namespace

std::vector<WorldFile> listWorldFiles(const std::string& folder, const std::string& worldName, const char* done) {
  std::vector<WorldFile> files;
  listBelow(folder, "", worldName, done, files);
  return files;
}

}  // namespace tbk
