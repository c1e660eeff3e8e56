#include "WorldHold.h"

#include <fcntl.h>

#include <cerrno>

#include "CheckedPath.h"
#include "PathNames.h"
#include "TBKWorldStore.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

WorldHold::WorldHold(const std::string& worldFolder, const std::string& worldName) {
  std::string db = joinPath(worldFolder, "db");
  if (!isDirectory(db)) return;
  TBKWorldStore::pause(db, worldName);
  dbFolder_ = db;
  // Only after this process's own handle is closed: closing any descriptor
  // of the LOCK file ends every lock the process holds on it.
  std::string lockFile = joinPath(db, "LOCK");
  FileStatus opened = openChecked(lockFile, O_RDONLY, 0, lock_);
  if (opened.error() == ENOENT) return;  // never opened by LevelDB
  if (!opened.ok()) {
    TBKWorldStore::resume(db);
    opened.raise();
  }
  // A shared lock: the game's exclusive one (LevelDB's) conflicts with it
  // either way round, and a user who may only read the world may copy it.
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(lock_.get(), F_SETLK, &lock) != 0) {
    int error = errno;
    lock_.reset(-1);
    TBKWorldStore::resume(db);
    if (error == EAGAIN || error == EACCES) {
      throw TBKException(TBKException::Kind::WorldBusy, "The world \"" + worldName +
                                                            "\" is open in the game. Quit to the title screen in "
                                                            "the game first, then try again.");
    }
    FileStatus::failed("lock", lockFile, error).raise();
  }
}

WorldHold::~WorldHold() {
  if (dbFolder_.empty()) return;
  lock_.reset(-1);
  TBKWorldStore::resume(dbFolder_);
}

}  // namespace tbk
