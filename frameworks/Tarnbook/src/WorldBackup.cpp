#include "WorldBackup.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

constexpr const char* stagingPrefix = ".incomplete-";

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

// Removes the backups beyond the newest `keep`, and what a backup killed
// halfway left behind.
void prune(const std::string& root, size_t keep) {
    std::vector<std::string> backups;
    std::vector<std::string> abandoned;
    if (DIR* folder = ::opendir(root.c_str())) {
        while (dirent* entry = ::readdir(folder)) {
            std::string name = entry->d_name;
            if (!isDirectory(joinPath(root, name))) continue;
            if (isBackupName(name)) backups.push_back(name);
            if (name.rfind(stagingPrefix, 0) == 0) abandoned.push_back(name);
        }
        ::closedir(folder);
    }
    for (const auto& name : abandoned) {
        std::error_code ignored;
        std::filesystem::remove_all(joinPath(root, name), ignored);
    }
    if (backups.size() <= keep) return;
    std::sort(backups.begin(), backups.end(), olderThan);
    for (size_t i = 0; i + keep < backups.size(); ++i) {
        // Renamed out of the backups' names first: removal killed halfway
        // must not leave a backup that lacks files.
        std::string doomed = joinPath(root, stagingPrefix + backups[i]);
        if (::rename(joinPath(root, backups[i]).c_str(), doomed.c_str()) != 0) {
            throw TBKException(TBKException::FileFailure, "Could not remove the old backup " +
                                                              joinPath(root, backups[i]) + ": " +
                                                              std::strerror(errno) + ".");
        }
        std::error_code error;
        std::filesystem::remove_all(doomed, error);
        if (error) {
            throw TBKException(TBKException::FileFailure, "Could not remove the old backup " +
                                                              joinPath(root, backups[i]) + ": " +
                                                              error.message() + ".");
        }
    }
}

}  // namespace

std::string writeBackup(const std::string& root, const std::vector<BackupFile>& files, const FileOwner& owner,
                        size_t keep) {
    FileOwner folderOwner = owner;
    folderOwner.mode |= (owner.mode & 0444) >> 2;
    makeFolders(root, owner);

    // The files are gathered in a folder whose name is never a backup's and
    // only then renamed into place: a process killed halfway leaves no folder
    // that looks like a whole backup but misses files.
    std::string stamp = utcTimeName();
    std::string staging = joinPath(root, stagingPrefix + stamp + "-" + std::to_string(::getpid()));
    if (::mkdir(staging.c_str(), 0700) != 0) {
        throw TBKException(TBKException::FileFailure,
                           "Could not create the backup folder " + staging + ": " + std::strerror(errno) + ".");
    }
    std::string folder;
    try {
        applyOwner(staging, folderOwner);
        for (const auto& file : files) writeFileAtomically(joinPath(staging, file.name), file.bytes, owner);
        std::string base = joinPath(root, stamp);
        folder = base;
        for (int attempt = 2; ::renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, folder.c_str(), RENAME_NOREPLACE) != 0;
             ++attempt) {
            if (errno != EEXIST && errno != ENOTEMPTY) {
                throw TBKException(TBKException::FileFailure, "Could not name the backup folder " + folder + ": " +
                                                                  std::strerror(errno) + ".");
            }
            folder = base + "-" + std::to_string(attempt);
        }
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(staging, ignored);
        throw;
    }
    syncFolder(root);
    prune(root, keep);
    return folder;
}

}  // namespace tbk
