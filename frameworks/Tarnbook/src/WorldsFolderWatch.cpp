#include "WorldsFolderWatch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tbk {

namespace {

// IN_ATTRIB too: while acting for another user, whether a world is listed
// depends on its rights.
constexpr uint32_t watchedEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                   IN_MOVE_SELF | IN_ATTRIB | IN_ONLYDIR;

}  // namespace

WorldsFolderWatch::~WorldsFolderWatch() { reset(); }

void WorldsFolderWatch::reset() {
    if (_fd >= 0) ::close(_fd);
    _fd = -1;
    _valid = false;
    _names.clear();
}

// True when no watched change has been reported; reading drains the queue.
bool WorldsFolderWatch::stillValid(const std::string& root, dev_t device, ino_t inode) {
    if (!_valid || _fd < 0 || root != _root || device != _device || inode != _inode) return false;
    alignas(inotify_event) char buffer[4096];
    ssize_t n = ::read(_fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    return false;
}

std::vector<std::string> WorldsFolderWatch::list(const std::string& root, const Scan& scan) {
    struct stat info;
    if (::stat(root.c_str(), &info) != 0) {
        reset();
        return scan(root, [](const std::string&) {});
    }
    if (stillValid(root, info.st_dev, info.st_ino)) return _names;

    // The watches go in before the scan looks, so a change during the scan
    // is reported on the next call rather than lost.
    reset();
    _fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    bool watching = _fd >= 0;
    auto watch = [&](const std::string& folder) {
        if (!watching || ::inotify_add_watch(_fd, folder.c_str(), watchedEvents) >= 0) return;
        // Not a folder (a link to a file, or gone already): nothing inside
        // it can become a world, and its own change shows in the root.
        if (errno != ENOTDIR && errno != ENOENT) watching = false;
    };
    watch(root);
    std::vector<std::string> names = scan(root, watch);
    if (!watching) {
        reset();
        return names;
    }
    _valid = true;
    _root = root;
    _device = info.st_dev;
    _inode = info.st_ino;
    _names = names;
    return names;
}

}  // namespace tbk
