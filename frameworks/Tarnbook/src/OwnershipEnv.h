#pragma once

#include <functional>

#include <leveldb/env.h>

#include "OwnerPolicy.h"

namespace tbk {

// LevelDB's file system, except that every file and folder it creates is
// given the owner and mode of the world's database files, so a database
// written by a root process stays writable by the game. Renames keep what
// was set at creation, which covers CURRENT being replaced.
//
// While acting for another user (see CheckedPath.h) every file operation
// goes through Tarnbook's checked file access instead of LevelDB's own, so
// the database is held to the same rules as every other file: no link is
// followed and nothing is touched that the real user could not touch.
class OwnershipEnv : public leveldb::EnvWrapper {
 public:
  OwnershipEnv(leveldb::Env* target, FileOwner owner);

  leveldb::Status NewSequentialFile(const std::string& name, leveldb::SequentialFile** result) override;
  leveldb::Status NewRandomAccessFile(const std::string& name, leveldb::RandomAccessFile** result) override;
  leveldb::Status NewWritableFile(const std::string& name, leveldb::WritableFile** result) override;
  leveldb::Status NewAppendableFile(const std::string& name, leveldb::WritableFile** result) override;
  bool FileExists(const std::string& name) override;
  leveldb::Status GetChildren(const std::string& folder, std::vector<std::string>* result) override;
  leveldb::Status DeleteFile(const std::string& name) override;
  leveldb::Status CreateDir(const std::string& name) override;
  leveldb::Status DeleteDir(const std::string& name) override;
  leveldb::Status GetFileSize(const std::string& name, uint64_t* size) override;
  leveldb::Status RenameFile(const std::string& from, const std::string& to) override;
  leveldb::Status LockFile(const std::string& name, leveldb::FileLock** lock) override;
  leveldb::Status UnlockFile(leveldb::FileLock* lock) override;
  leveldb::Status NewLogger(const std::string& name, leveldb::Logger** result) override;

 private:
  leveldb::Status adopt(const std::string& name, leveldb::Status created, bool folder = false);
  leveldb::Status newWritable(const std::string& name, int flags, leveldb::WritableFile** result);
  // Runs a create of LevelDB's own environment born the owner's
  // (CreationIdentity.h), or as root where the owner may not create.
  leveldb::Status asOwner(const std::function<leveldb::Status()>& create, bool folder = false);

  FileOwner owner_;
};

}  // namespace tbk
