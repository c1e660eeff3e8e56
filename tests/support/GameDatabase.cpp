#include "GameDatabase.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include <leveldb/env.h>
#include <leveldb/zlib_compressor.h>

namespace gamedatabase {

namespace {

class QuietLogger : public leveldb::Logger {
 public:
  void Logv(const char*, va_list) override {}
};

}  // namespace

std::unique_ptr<leveldb::DB> open(const std::filesystem::path& folder, int onlyCompressorId, bool create) {
  // LevelDB keeps these pointers for the database's life; they hold no state.
  static leveldb::ZlibCompressor zlib;
  static leveldb::ZlibCompressorRaw rawDeflate;
  static QuietLogger quiet;
  leveldb::Options options;
  options.create_if_missing = create;
  options.info_log = &quiet;
  options.compressors[0] = onlyCompressorId == 4 ? static_cast<leveldb::Compressor*>(&rawDeflate) : &zlib;
  if (onlyCompressorId == 0) options.compressors[1] = &rawDeflate;
  leveldb::DB* db = nullptr;
  leveldb::Status status = leveldb::DB::Open(options, folder.string(), &db);
  if (!status.ok()) throw std::runtime_error("LevelDB cannot open " + folder.string() + ": " + status.ToString());
  return std::unique_ptr<leveldb::DB>(db);
}

pid_t holdInChild(const std::function<void()>& body) {
  int ready[2];
  if (::pipe(ready) != 0) throw std::runtime_error("pipe failed");
  pid_t child = ::fork();
  if (child == 0) {
    ::close(ready[0]);
    char status = 'y';
    try {
      body();
    } catch (...) {
      status = 'n';
    }
    (void)!::write(ready[1], &status, 1);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char status = 0;
  bool told = ::read(ready[0], &status, 1) == 1;
  ::close(ready[0]);
  if (!told || status != 'y') {
    endChild(child);
    throw std::runtime_error("the child could not take its hold");
  }
  return child;
}

void endChild(pid_t child) {
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
}

pid_t holdGameLock(const std::filesystem::path& worldFolder) {
  return holdInChild([&] {
    int fd = ::open((worldFolder / "db" / "LOCK").c_str(), O_RDWR | O_CREAT, 0644);
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (fd < 0 || ::fcntl(fd, F_SETLK, &lock) != 0) throw std::runtime_error("the lock is taken");
  });
}

}  // namespace gamedatabase
