#include "FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

[[noreturn]] void fileFailure(const std::string& action, const std::string& path, int error) {
    throw TBKException(TBKException::FileFailure,
                       "Could not " + action + " " + path + ": " + std::strerror(error) + ".");
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : _fd(fd) {}
    ~FileDescriptor() {
        if (_fd >= 0) ::close(_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return _fd; }
    int release() {
        int fd = _fd;
        _fd = -1;
        return fd;
    }

private:
    int _fd;
};

std::string parentFolder(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

void syncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) fileFailure("open the folder", folder, errno);
    if (::fsync(fd.get()) != 0 && errno != EINVAL) fileFailure("flush the folder", folder, errno);
}

std::optional<FileOwner> ownerOf(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        fileFailure("inspect", path, errno);
    }
    return FileOwner{info.st_uid, info.st_gid, static_cast<mode_t>(info.st_mode & 07777)};
}

FileOwner ownerForFile(const std::string& path, const std::string& folder) {
    if (auto existing = ownerOf(path)) return *existing;
    auto parent = ownerOf(folder);
    if (!parent) fileFailure("find the folder", folder, ENOENT);
    parent->mode &= 0666;
    return *parent;
}

void applyOwner(int fd, const FileOwner& owner, const std::string& path) {
    if (::fchown(fd, owner.uid, owner.gid) != 0 && (::geteuid() == 0 || errno != EPERM)) {
        fileFailure("set the owner of", path, errno);
    }
    if (::fchmod(fd, owner.mode) != 0) fileFailure("set the permissions of", path, errno);
}

void applyOwner(const std::string& path, const FileOwner& owner) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (fd.get() < 0) fileFailure("open", path, errno);
    applyOwner(fd.get(), owner, path);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return std::nullopt;
        fileFailure("open", path, errno);
    }
    struct stat info;
    if (::fstat(fd.get(), &info) != 0) fileFailure("inspect", path, errno);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            fileFailure("read", path, errno);
        }
        if (count == 0) break;
        bytes.append(buffer, static_cast<size_t>(count));
    }
    return bytes;
}

void writeFileAtomically(const std::string& path, std::string_view bytes, const FileOwner& owner) {
    std::string temporary = path + ".gorvane-tmp";
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (fd.get() < 0) fileFailure("create", temporary, errno);
    try {
        applyOwner(fd.get(), owner, temporary);
        const char* next = bytes.data();
        size_t left = bytes.size();
        while (left > 0) {
            ssize_t count = ::write(fd.get(), next, left);
            if (count < 0) {
                if (errno == EINTR) continue;
                fileFailure("write", temporary, errno);
            }
            next += count;
            left -= static_cast<size_t>(count);
        }
        if (::fsync(fd.get()) != 0) fileFailure("flush", temporary, errno);
        if (::close(fd.release()) != 0) fileFailure("close", temporary, errno);
        if (::rename(temporary.c_str(), path.c_str()) != 0) fileFailure("replace", path, errno);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    syncFolder(parentFolder(path));
}

void makeFolders(const std::string& path, const FileOwner& owner) {
    if (isDirectory(path)) return;
    std::string parent = parentFolder(path);
    if (parent != path && !isDirectory(parent)) makeFolders(parent, owner);
    if (::mkdir(path.c_str(), 0700) != 0) {
        if (errno == EEXIST && isDirectory(path)) return;
        fileFailure("create the folder", path, errno);
    }
    FileOwner folderOwner = owner;
    // A folder needs its search bits wherever its files are readable.
    folderOwner.mode |= (owner.mode & 0444) >> 2;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) fileFailure("open the folder", path, errno);
    applyOwner(fd.get(), folderOwner, path);
}

bool isDirectory(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string joinPath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    while (!name.empty() && name.front() == '/') name.remove_prefix(1);
    if (path.empty()) return std::string(name);
    if (path.back() != '/') path.push_back('/');
    path.append(name);
    return path;
}

}  // namespace tbk
