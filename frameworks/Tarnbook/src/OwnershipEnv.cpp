#include "OwnershipEnv.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Tarnbook/TBKException.h"

namespace tbk {

OwnershipEnv::OwnershipEnv(leveldb::Env* target, FileOwner owner) : EnvWrapper(target), _owner(owner) {}

leveldb::Status OwnershipEnv::adopt(const std::string& name, leveldb::Status created, bool folder) {
    if (!created.ok()) return created;
    FileOwner owner = _owner;
    if (folder) owner.mode |= (owner.mode & 0444) >> 2;
    try {
        applyOwner(name, owner);
    } catch (const TBKException& error) {
        return leveldb::Status::IOError(name, error.reason());
    }
    return created;
}

leveldb::Status OwnershipEnv::NewWritableFile(const std::string& name, leveldb::WritableFile** result) {
    return adopt(name, target()->NewWritableFile(name, result));
}

leveldb::Status OwnershipEnv::NewAppendableFile(const std::string& name, leveldb::WritableFile** result) {
    return adopt(name, target()->NewAppendableFile(name, result));
}

leveldb::Status OwnershipEnv::LockFile(const std::string& name, leveldb::FileLock** lock) {
    // The owner is set before the lock is taken: closing any descriptor of a
    // file drops this process's fcntl locks on it, and setting it afterwards
    // would open and close the file under the lock.
    int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return leveldb::Status::IOError(name, std::strerror(errno));
    try {
        applyOwner(fd, _owner, name);
    } catch (const TBKException& error) {
        ::close(fd);
        return leveldb::Status::IOError(name, error.reason());
    }
    ::close(fd);
    return target()->LockFile(name, lock);
}

leveldb::Status OwnershipEnv::CreateDir(const std::string& name) {
    bool existed = isDirectory(name);
    leveldb::Status created = target()->CreateDir(name);
    if (existed) return created;
    return adopt(name, created, true);
}

leveldb::Status OwnershipEnv::NewLogger(const std::string& name, leveldb::Logger** result) {
    return adopt(name, target()->NewLogger(name, result));
}

}  // namespace tbk
