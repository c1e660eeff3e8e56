#include "UserPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <deque>
#include <vector>

#include "CheckedPath.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

// As the kernel allows (MAXSYMLINKS).
constexpr int mostLinks = 40;

void appendNames(const std::string& path, std::deque<std::string>& names, bool atFront) {
  std::vector<std::string> parts;
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  if (atFront) {
    names.insert(names.begin(), parts.begin(), parts.end());
  } else {
    names.insert(names.end(), parts.begin(), parts.end());
  }
}

std::string joined(const std::vector<std::string>& names) {
  std::string path;
  for (const auto& name : names) path += "/" + name;
  return path.empty() ? "/" : path;
}

[[noreturn]] void refused(const std::string& reason) { throw TBKException(TBKException::Kind::File, reason); }

}  // namespace

std::string resolvedAsRealUser(const std::string& path) {
  std::deque<std::string> left;
  if (path.empty() || path.front() != '/') {
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) refused("The current folder cannot be named, so " + path + " cannot be found.");
    appendNames(cwd, left, false);
  }
  appendNames(path, left, false);
  // Always a path without links: ".." can then simply drop the last name.
  std::vector<std::string> resolved;
  int links = 0;
  while (!left.empty()) {
    std::string name = std::move(left.front());
    left.pop_front();
    if (name == ".") continue;
    if (name == "..") {
      if (!resolved.empty()) resolved.pop_back();
      continue;
    }
    resolved.push_back(name);
    std::string candidate = joined(resolved);
    struct stat info;
    std::string target;
    bool inProcesses = false;
    FileStatus inspected = inspectEntry(candidate, info, target, inProcesses);
    if (inProcesses) {
      refused(path + " leads into " + joined({resolved.begin(), resolved.end() - 1}) +
              ", among the system's processes, where Gorvane does not look.");
    }
    if (inspected.error() == EACCES || inspected.error() == ELOOP) inspected.raise();
    if (!inspected.ok()) break;  // missing, or not a folder: the rest as written
    if (!S_ISLNK(info.st_mode)) continue;
    if (++links > mostLinks) refused(path + " leads through more than " + std::to_string(mostLinks) + " links.");
    resolved.pop_back();
    if (!target.empty() && target.front() == '/') resolved.clear();
    appendNames(target, left, true);
  }
  std::string result = joined(resolved);
  for (const auto& name : left) result += "/" + name;
  return result;
}

}  // namespace tbk
