#pragma once

#include <leveldb/env.h>

#include "FileAccess.h"

namespace tbk {

// LevelDB's file system, except that every file and folder it creates is
// given the owner and mode of the world's database files, so a database
// written by a root process stays writable by the game. Renames keep what
// was set at creation, which covers CURRENT being replaced.
class OwnershipEnv : public leveldb::EnvWrapper {
public:
    OwnershipEnv(leveldb::Env* target, FileOwner owner);

    leveldb::Status NewWritableFile(const std::string& name, leveldb::WritableFile** result) override;
    leveldb::Status NewAppendableFile(const std::string& name, leveldb::WritableFile** result) override;
    leveldb::Status LockFile(const std::string& name, leveldb::FileLock** lock) override;
    leveldb::Status CreateDir(const std::string& name) override;
    leveldb::Status NewLogger(const std::string& name, leveldb::Logger** result) override;

private:
    leveldb::Status adopt(const std::string& name, leveldb::Status created, bool folder = false);

    FileOwner _owner;
};

}  // namespace tbk
