#include "ArchivePlan.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "ReadLimits.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

constexpr size_t componentBytes = 255;  // NAME_MAX

[[noreturn]] void refuse(const std::string& archiveName, const ArchiveEntry& entry, const std::string& what) {
  throw TBKException(TBKException::Kind::Format,
                     archiveRefusal(archiveName, "its entry \"" + entry.name + "\" " + what));
}

// The entry's path inside the world folder, its components joined by "/",
// or the reason it has none. "" with no reason: the archive's root itself.
std::string normalised(const ArchiveEntry& entry, std::string& refusal) {
  // Archives made on Windows may separate with backslashes; "..\\x" must
  // be seen for what it is.
  std::string name = entry.name;
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.size() > archiveLimit::nameBytes) {
    refusal = "has a name longer than " + std::to_string(archiveLimit::nameBytes) + " bytes";
    return "";
  }
  if (name.empty()) {
    refusal = "has no name";
    return "";
  }
  bool drive = name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
  if (name[0] == '/' || drive) {
    refusal = "has an absolute path";
    return "";
  }
  std::string path;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string component = name.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      refusal = "leads out of the world folder (\"..\")";
      return "";
    }
    if (component.size() > componentBytes) {
      refusal = "has a name longer than " + std::to_string(componentBytes) + " bytes";
      return "";
    }
    path += (path.empty() ? "" : "/") + component;
  }
  return path;
}

// Why an entry of this type is not unpacked, or "" for a file or folder.
std::string typeRefusal(const ArchiveEntry& entry) {
  if (entry.dosLink) return "is a link";
  switch (entry.unixType) {
    case 0:
    case S_IFREG:
    case S_IFDIR:
      break;
    case S_IFLNK:
      return "is a link";
    case S_IFCHR:
    case S_IFBLK:
      return "is a device";
    case S_IFIFO:
      return "is a FIFO";
    default:
      return "is neither a file nor a folder";
  }
  return entry.encrypted ? "is encrypted" : "";
}

}  // namespace

std::string archiveRefusal(const std::string& archiveName, const std::string& what) {
  return "The archive " + archiveName + " cannot be imported: " + what + ". Nothing was written.";
}

std::vector<PlannedEntry> planUnpacking(const std::vector<ArchiveEntry>& entries, const std::string& archiveName) {
  std::vector<PlannedEntry> planned;
  std::map<std::string, size_t> byPath;  // path -> index in planned
  uint64_t total = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const ArchiveEntry& entry = entries[i];
    std::string refusal = typeRefusal(entry);
    std::string path = refusal.empty() ? normalised(entry, refusal) : "";
    if (!refusal.empty()) refuse(archiveName, entry, refusal);
    bool folder = entry.unixType == S_IFDIR || entry.dosFolder || entry.name.back() == '/' || entry.name.back() == '\\';
    if (path.empty()) {
      if (folder) continue;
      refuse(archiveName, entry, "has no name");
    }
    if (auto seen = byPath.find(path); seen != byPath.end()) {
      refuse(archiveName, entry, "repeats the entry \"" + entries[planned[seen->second].index].name + "\"");
    }
    byPath[path] = planned.size();
    if (!folder) {
      total += entry.size;
      if (total > archiveLimit::totalBytes) {
        refuse(archiveName, entry,
               "brings the archive past " + std::to_string(archiveLimit::totalBytes >> 30) + " GB unpacked");
      }
      if (entry.size > archiveLimit::ratioFloor && entry.size / archiveLimit::ratio > entry.compressedSize) {
        refuse(archiveName, entry,
               "inflates " + std::to_string(entry.compressedSize) + " bytes to " + std::to_string(entry.size) +
                   ", more than " + std::to_string(archiveLimit::ratio) + " times (an archive bomb)");
      }
    }
    planned.push_back({i, path, folder});
  }
  // A file may not stand where another entry needs a folder.
  for (const auto& entry : planned) {
    for (size_t slash = entry.path.find('/'); slash != std::string::npos; slash = entry.path.find('/', slash + 1)) {
      auto above = byPath.find(entry.path.substr(0, slash));
      if (above == byPath.end() || planned[above->second].folder) continue;
      refuse(archiveName, entries[planned[above->second].index],
             "is a file, and also the folder of \"" + entries[entry.index].name + "\"");
    }
  }

  // level.dat at the root, or in the one folder that holds everything.
  std::string top;
  auto isFile = [&](const std::string& path) {
    auto found = byPath.find(path);
    return found != byPath.end() && !planned[found->second].folder;
  };
  if (!isFile("level.dat")) {
    top = planned.empty() ? "" : planned.front().path.substr(0, planned.front().path.find('/'));
    bool oneTop = !top.empty() && std::all_of(planned.begin(), planned.end(), [&](const PlannedEntry& p) {
      return p.path == top || p.path.rfind(top + "/", 0) == 0;
    });
    if (!oneTop || !isFile(top + "/level.dat")) {
      throw TBKException(TBKException::Kind::Format,
                         archiveRefusal(archiveName,
                                        "it holds no level.dat, at its root or in one folder, so it is "
                                        "not a world"));
    }
  }
  std::vector<PlannedEntry> result;
  for (auto& entry : planned) {
    if (!top.empty()) {
      if (entry.path == top) continue;
      entry.path = entry.path.substr(top.size() + 1);
    }
    result.push_back(std::move(entry));
  }
  std::stable_partition(result.begin(), result.end(), [](const PlannedEntry& p) { return p.folder; });
  std::sort(result.begin(), std::find_if(result.begin(), result.end(), [](const PlannedEntry& p) { return !p.folder; }),
            [](const PlannedEntry& a, const PlannedEntry& b) { return a.path < b.path; });
  return result;
}

}  // namespace tbk
