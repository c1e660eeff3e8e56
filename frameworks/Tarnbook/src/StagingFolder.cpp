#include "StagingFolder.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "Folders.h"
#include "PathNames.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

constexpr const char* stagingPrefix = ".incomplete-";

// Removes what a process killed halfway left (the number after the last
// "-" is its process, and it is gone).
void clearAbandoned(const std::string& parent) {
  const std::string prefix = stagingPrefix;
  for (const auto& name : folderEntries(parent).value_or(std::vector<std::string>())) {
    if (name.rfind(prefix, 0) != 0) continue;
    long pid = std::strtol(name.c_str() + name.rfind('-') + 1, nullptr, 10);
    if (pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)) continue;
    try {
      removeTree(joinPath(parent, name));
    } catch (const TBKException&) {
      // Hidden, and tried again by the next one.
    }
  }
}

}  // namespace

std::string freshStagingFolder(const std::string& parent, const std::string& kind) {
  clearAbandoned(parent);
  std::string staging = joinPath(parent, stagingPrefix + kind + "-" + std::to_string(::getpid()));
  if (ownerOf(staging)) removeTree(staging);
  return staging;
}

}  // namespace tbk
