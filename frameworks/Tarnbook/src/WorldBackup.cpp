#include "WorldBackup.h"

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

std::string utcTimeName() {
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm utc;
    ::gmtime_r(&now.tv_sec, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d-%02d-%02d.%03ldZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<long>(now.tv_nsec / 1000000) % 1000);
    return text;
}

// YYYY-MM-DDTHH-MM-SS.mmmZ, optionally followed by -N.
bool isBackupName(const std::string& name) {
    static const char pattern[] = "dddd-dd-ddTdd-dd-dd.dddZ";
    if (name.size() < sizeof pattern - 1) return false;
    for (size_t i = 0; i + 1 < sizeof pattern; ++i) {
        bool digit = name[i] >= '0' && name[i] <= '9';
        if (pattern[i] == 'd' ? !digit : name[i] != pattern[i]) return false;
    }
    return true;
}

// Sorts oldest first; a -N suffix comes after the plain name of the same time.
bool olderThan(const std::string& a, const std::string& b) {
    const size_t stamp = 24;
    int byTime = a.compare(0, stamp, b, 0, stamp);
    if (byTime != 0) return byTime < 0;
    auto suffix = [&](const std::string& name) {
        return name.size() > stamp + 1 ? std::strtol(name.c_str() + stamp + 1, nullptr, 10) : 1L;
    };
    return suffix(a) < suffix(b);
}

void prune(const std::string& root, size_t keep) {
    std::vector<std::string> backups;
    for (auto& name : folderEntries(root).value_or(std::vector<std::string>())) {
        if (isBackupName(name) && isDirectory(joinPath(root, name))) backups.push_back(std::move(name));
    }
    if (backups.size() <= keep) return;
    std::sort(backups.begin(), backups.end(), olderThan);
    for (size_t i = 0; i + keep < backups.size(); ++i) removeTree(joinPath(root, backups[i]));
}

}  // namespace

std::string writeBackup(const std::string& root, const std::vector<BackupFile>& files, const FileOwner& owner,
                        size_t keep) {
    makeFolders(root, owner);

    std::string base = joinPath(root, utcTimeName());
    std::string folder = base;
    for (int attempt = 2; !makeFolder(folder, owner); ++attempt) folder = base + "-" + std::to_string(attempt);
    for (const auto& file : files) writeFileAtomically(joinPath(folder, file.name), file.bytes, owner);
    prune(root, keep);
    return folder;
}

}  // namespace tbk
