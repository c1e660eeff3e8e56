#include "TBKWorldStore.h"

#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <new>
#include <set>

#include <leveldb/db.h>
#include <leveldb/filter_policy.h>
#include <leveldb/write_batch.h>
#include <leveldb/zlib_compressor.h>

#include "Folders.h"
#include "OwnershipEnv.h"
#include "PathNames.h"
#include "ReadLimits.h"
#include "RealUser.h"
#include "Tarnbook/TBKException.h"

namespace {

// The game leaves no info log in a world; LevelDB writes a LOG file unless
// it is given a logger of its own.
class SilentLogger : public leveldb::Logger {
 public:
  void Logv(const char*, va_list) override {}
};

bool isEmptyFolder(const std::string& path) {
  auto names = tbk::folderEntries(path);
  return names && names->empty();
}

std::string canonical(const std::string& path) {
  // Acting for another user the game's folders are named without links
  // already, and a link below them is refused: root resolves nothing here.
  if (tbk::actingForAnotherUser()) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::mutex openStoresMutex;
std::map<std::string, std::weak_ptr<TBKWorldStore>>& openStores() {
  static auto* stores = new std::map<std::string, std::weak_ptr<TBKWorldStore>>();
  return *stores;
}
// Folders paused (TBKWorldStore::pause), under openStoresMutex.
std::set<std::string>& pausedStores() {
  static auto* paused = new std::set<std::string>();
  return *paused;
}

TBKException beingCopied(const std::string& worldName) {
  return TBKException(TBKException::Kind::WorldBusy,
                      "Gorvane is copying the world \"" + worldName + "\". Try again when that is done.");
}

}  // namespace

struct TBKWorldStore::Handle {
  // Declared in the order they must outlive one another: the database last,
  // so it closes before its environment, compressors and logger go.
  std::unique_ptr<tbk::OwnershipEnv> env;
  leveldb::ZlibCompressor zlib;
  leveldb::ZlibCompressorRaw rawDeflate;
  SilentLogger logger;
  std::unique_ptr<const leveldb::FilterPolicy> filter;
  leveldb::Options options;
  std::string folder;
  // Guards db, which pause() closes from another thread; closedReason says
  // why it is closed.
  std::recursive_mutex use;
  std::string closedReason;
  std::unique_ptr<leveldb::DB> db;

  leveldb::DB& database() {
    if (!db) throw TBKException(TBKException::Kind::WorldBusy, closedReason);
    return *db;
  }
};

std::shared_ptr<TBKWorldStore> TBKWorldStore::open(const std::string& dbFolder, const std::string& worldName) {
  std::lock_guard<std::mutex> guard(openStoresMutex);
  std::string key = canonical(dbFolder);
  if (pausedStores().count(key)) throw beingCopied(worldName);
  if (auto existing = openStores()[key].lock()) return existing;

  std::string worldFolder = dbFolder.substr(0, dbFolder.find_last_of('/'));
  std::string current = tbk::joinPath(dbFolder, "CURRENT");
  bool fresh = isEmptyFolder(dbFolder);
  if (!fresh && !tbk::isRegularFile(current)) {
    throw TBKException(TBKException::Kind::Format,
                       "The world \"" + worldName + "\" cannot be opened: its database folder " + dbFolder +
                           " holds files but no CURRENT file. Restore the world from a copy.");
  }
  // Files LevelDB creates take the owner and mode of the game's own
  // database files; CURRENT is one the game always wrote.
  tbk::FileOwner owner = tbk::ownerForFile(current, tbk::isDirectory(dbFolder) ? dbFolder : worldFolder);

  auto handle = std::make_unique<Handle>();
  handle->env = std::make_unique<tbk::OwnershipEnv>(leveldb::Env::Default(), owner);
  handle->filter.reset(leveldb::NewBloomFilterPolicy(10));

  leveldb::Options& options = handle->options;
  handle->folder = dbFolder;
  options.env = handle->env.get();
  options.info_log = &handle->logger;
  options.create_if_missing = fresh;
  options.filter_policy = handle->filter.get();
  options.write_buffer_size = 4 << 20;
  // Index 0 compresses what is written: zlib (id 2), which every game
  // version with this format reads. Raw deflate (id 4) is read as well;
  // uncompressed blocks need no compressor.
  options.compressors[0] = &handle->zlib;
  options.compressors[1] = &handle->rawDeflate;

  leveldb::DB* db = nullptr;
  leveldb::Status status = leveldb::DB::Open(options, dbFolder, &db);
  if (!status.ok()) {
    std::string detail = status.ToString();
    if (status.IsIOError() && detail.find("lock ") != std::string::npos) {
      throw TBKException(TBKException::Kind::WorldBusy,
                         "The world \"" + worldName +
                             "\" is open in the game. Quit to the title screen in the game first, "
                             "then try again.");
    }
    throw TBKException(
        status.IsCorruption() ? TBKException::Kind::Format : TBKException::Kind::File,
        "The database of the world \"" + worldName + "\" (" + dbFolder + ") cannot be opened: " + detail + ".");
  }
  handle->db.reset(db);
  std::shared_ptr<TBKWorldStore> store(new TBKWorldStore(std::move(handle), worldName));
  openStores()[key] = store;
  return store;
}

TBKWorldStore::TBKWorldStore(std::unique_ptr<Handle> handle, std::string worldName)
    : handle_(std::move(handle)), worldName_(std::move(worldName)) {}

TBKWorldStore::~TBKWorldStore() = default;

void TBKWorldStore::pause(const std::string& dbFolder, const std::string& worldName) {
  std::lock_guard<std::mutex> guard(openStoresMutex);
  std::string key = canonical(dbFolder);
  if (!pausedStores().insert(key).second) throw beingCopied(worldName);
  if (auto store = openStores()[key].lock()) {
    std::lock_guard<std::recursive_mutex> use(store->handle_->use);
    store->handle_->closedReason = beingCopied(worldName).reason();
    store->handle_->db.reset();
  }
}

void TBKWorldStore::resume(const std::string& dbFolder) {
  std::lock_guard<std::mutex> guard(openStoresMutex);
  std::string key = canonical(dbFolder);
  pausedStores().erase(key);
  auto store = openStores()[key].lock();
  if (!store) return;
  Handle& handle = *store->handle_;
  std::lock_guard<std::recursive_mutex> use(handle.use);
  leveldb::DB* db = nullptr;
  leveldb::Status status = leveldb::DB::Open(handle.options, handle.folder, &db);
  if (!status.ok()) {
    handle.closedReason =
        "The database of the world \"" + store->worldName_ + "\" cannot be opened again: " + status.ToString() + ".";
    return;
  }
  handle.db.reset(db);
  handle.closedReason.clear();
}

std::optional<std::string> TBKWorldStore::get(std::string_view key) {
  leveldb::Slice wanted(key.data(), key.size());
  std::optional<std::string> value;
  leveldb::Status status;
  try {
    // Through an iterator rather than Get(), which copies the value before
    // its length can be looked at: the limit is checked on the length the
    // table gives, and only a value within it is copied.
    std::lock_guard<std::recursive_mutex> use(handle_->use);
    std::unique_ptr<leveldb::Iterator> it(handle_->database().NewIterator(leveldb::ReadOptions()));
    it->Seek(wanted);
    if (it->Valid() && it->key() == wanted) {
      tbk::checkReadLimit("The record " + std::string(key) + " of the world \"" + worldName_ + "\"", it->value().size(),
                          tbk::readLimit::playerRecord);
      value.emplace(it->value().data(), it->value().size());
    }
    status = it->status();
  } catch (const std::bad_alloc&) {
    // A table whose block claims more than memory holds: damaged, or made so.
    status = leveldb::Status::Corruption("a block of it is larger than memory");
  }
  if (!status.ok()) {
    throw TBKException(status.IsCorruption() ? TBKException::Kind::Format : TBKException::Kind::File,
                       "The record " + std::string(key) + " of the world \"" + worldName_ +
                           "\" cannot be read: " + status.ToString() + ".");
  }
  return value;
}

void TBKWorldStore::forEachWithPrefix(std::string_view prefix,
                                      const std::function<void(std::string_view, std::string_view)>& visit) {
  std::lock_guard<std::recursive_mutex> use(handle_->use);
  std::unique_ptr<leveldb::Iterator> it(handle_->database().NewIterator(leveldb::ReadOptions()));
  leveldb::Slice start(prefix.data(), prefix.size());
  for (it->Seek(start); it->Valid() && it->key().starts_with(start); it->Next()) {
    visit(std::string_view(it->key().data(), it->key().size()),
          std::string_view(it->value().data(), it->value().size()));
  }
  if (!it->status().ok()) {
    throw TBKException(
        it->status().IsCorruption() ? TBKException::Kind::Format : TBKException::Kind::File,
        "The records of the world \"" + worldName_ + "\" cannot be listed: " + it->status().ToString() + ".");
  }
}

void TBKWorldStore::put(std::string_view key, std::string_view value) {
  leveldb::WriteOptions options;
  options.sync = true;
  std::lock_guard<std::recursive_mutex> use(handle_->use);
  leveldb::Status status = handle_->database().Put(options, leveldb::Slice(key.data(), key.size()),
                                                   leveldb::Slice(value.data(), value.size()));
  if (!status.ok()) {
    throw TBKException(TBKException::Kind::File, "The record " + std::string(key) + " of the world \"" + worldName_ +
                                                     "\" cannot be saved: " + status.ToString() + ".");
  }
}

bool TBKWorldStore::walk(const std::function<bool(std::string_view, std::string_view)>& visit,
                         const std::function<void(double)>& progress) {
  leveldb::ReadOptions options;
  options.fill_cache = false;
  std::lock_guard<std::recursive_mutex> use(handle_->use);
  leveldb::DB& db = handle_->database();
  std::unique_ptr<leveldb::Iterator> it(db.NewIterator(options));
  // Sizes come from the tables' indexes, so they are asked for now and then,
  // not per record. A key of 0xff bytes longer than any key the game
  // writes lies past them all.
  const std::string end(64, '\xff');
  uint64_t total = 0;
  if (progress) {
    leveldb::Range everything("", end);
    db.GetApproximateSizes(&everything, 1, &total);
  }
  constexpr size_t progressEvery = 4096;
  bool whole = true;
  size_t seen = 0;
  for (it->SeekToFirst(); it->Valid(); it->Next()) {
    if (!visit(std::string_view(it->key().data(), it->key().size()),
               std::string_view(it->value().data(), it->value().size()))) {
      whole = false;
      break;
    }
    if (progress && total > 0 && ++seen % progressEvery == 0) {
      leveldb::Range before("", it->key());
      uint64_t done = 0;
      db.GetApproximateSizes(&before, 1, &done);
      progress(std::min(1.0, double(done) / double(total)));
    }
  }
  if (progress && whole) progress(1.0);
  if (!it->status().ok()) {
    throw TBKException(
        it->status().IsCorruption() ? TBKException::Kind::Format : TBKException::Kind::File,
        "The records of the world \"" + worldName_ + "\" cannot be listed: " + it->status().ToString() + ".");
  }
  return whole;
}

std::vector<std::string> TBKWorldStore::keysWithPrefix(std::string_view prefix) {
  std::vector<std::string> keys;
  std::lock_guard<std::recursive_mutex> use(handle_->use);
  std::unique_ptr<leveldb::Iterator> it(handle_->database().NewIterator(leveldb::ReadOptions()));
  leveldb::Slice start(prefix.data(), prefix.size());
  for (it->Seek(start); it->Valid() && it->key().starts_with(start); it->Next()) keys.push_back(it->key().ToString());
  if (!it->status().ok()) {
    throw TBKException(TBKException::Kind::Format, "The database of the world \"" + worldName_ +
                                                       "\" cannot be listed: " + it->status().ToString() + ".");
  }
  return keys;
}

void TBKWorldStore::write(const std::vector<TBKRecord>& records) {
  leveldb::WriteBatch batch;
  for (const auto& record : records) {
    if (record.value) {
      batch.Put(record.key, *record.value);
    } else {
      batch.Delete(record.key);
    }
  }
  leveldb::WriteOptions options;
  options.sync = true;
  std::lock_guard<std::recursive_mutex> use(handle_->use);
  leveldb::Status status = handle_->database().Write(options, &batch);
  if (!status.ok()) {
    throw TBKException(TBKException::Kind::File,
                       "The records of the world \"" + worldName_ + "\" cannot be saved: " + status.ToString() + ".");
  }
}
