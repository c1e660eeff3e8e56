#include "ZipWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "CheckedPath.h"
#include "LibZip.h"
#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

const LibZip& libzip() { return LibZip::get(); }

}  // namespace

// The archive file: libzip writes it through these commands, seeking back
// to complete each entry's header.
struct ZipWriter::Sink {
  int fd;
  uint64_t offset = 0;
  uint64_t length = 0;
  zip_error_t error;

  zip_int64_t fail(int code, int system = 0) {
    libzip().error_set(&error, code, system);
    return -1;
  }

  static zip_int64_t command(void* state, void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    auto* sink = static_cast<Sink*>(state);
    switch (cmd) {
      case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_WRITABLE;
      case ZIP_SOURCE_STAT: {
        // An empty file: the archive is made afresh.
        auto* info = static_cast<zip_stat_t*>(data);
        libzip().stat_init(info);
        info->size = 0;
        info->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
      }
      case ZIP_SOURCE_OPEN:
      case ZIP_SOURCE_CLOSE:
      case ZIP_SOURCE_FREE:
      case ZIP_SOURCE_BEGIN_WRITE:
      case ZIP_SOURCE_ROLLBACK_WRITE:
      case ZIP_SOURCE_REMOVE:
        return 0;
      case ZIP_SOURCE_READ:
        return 0;
      case ZIP_SOURCE_SEEK:
      case ZIP_SOURCE_TELL:
        return 0;
      case ZIP_SOURCE_COMMIT_WRITE:
        if (::ftruncate(sink->fd, static_cast<off_t>(sink->length)) != 0) return sink->fail(ZIP_ER_WRITE, errno);
        return 0;
      case ZIP_SOURCE_WRITE: {
        const char* bytes = static_cast<const char*>(data);
        zip_uint64_t left = length;
        while (left > 0) {
          ssize_t count = ::pwrite(sink->fd, bytes, left, static_cast<off_t>(sink->offset));
          if (count < 0) {
            if (errno == EINTR) continue;
            return sink->fail(ZIP_ER_WRITE, errno);
          }
          bytes += count;
          left -= static_cast<zip_uint64_t>(count);
          sink->offset += static_cast<uint64_t>(count);
        }
        if (sink->offset > sink->length) sink->length = sink->offset;
        return static_cast<zip_int64_t>(length);
      }
      case ZIP_SOURCE_SEEK_WRITE: {
        zip_int64_t at = libzip().source_seek_compute_offset(sink->offset, sink->length, data, length, &sink->error);
        if (at < 0) return -1;
        sink->offset = static_cast<uint64_t>(at);
        return 0;
      }
      case ZIP_SOURCE_TELL_WRITE:
        return static_cast<zip_int64_t>(sink->offset);
      case ZIP_SOURCE_ERROR:
        return libzip().error_to_data(&sink->error, data, length);
      default:
        return sink->fail(ZIP_ER_OPNOTSUPP);
    }
  }
};

namespace {

// One file of the world, opened through the checked paths when libzip
// comes to it and closed when it is done.
struct FileSource {
  std::string path;
  uint64_t size;
  time_t modified;
  FileDescriptor fd;
  zip_error_t error;

  zip_int64_t fail(int code, int system) {
    libzip().error_set(&error, code, system);
    return -1;
  }

  static zip_int64_t command(void* state, void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    auto* source = static_cast<FileSource*>(state);
    switch (cmd) {
      case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_READABLE;
      case ZIP_SOURCE_OPEN: {
        FileStatus opened = openChecked(source->path, O_RDONLY, 0, source->fd);
        return opened.ok() ? 0 : source->fail(ZIP_ER_OPEN, opened.error());
      }
      case ZIP_SOURCE_READ: {
        for (;;) {
          ssize_t count = ::read(source->fd.get(), data, length);
          if (count >= 0) return count;
          if (errno != EINTR) return source->fail(ZIP_ER_READ, errno);
        }
      }
      case ZIP_SOURCE_CLOSE:
        source->fd.reset(-1);
        return 0;
      case ZIP_SOURCE_STAT: {
        auto* info = static_cast<zip_stat_t*>(data);
        libzip().stat_init(info);
        info->size = source->size;
        info->mtime = source->modified;
        info->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
      }
      case ZIP_SOURCE_ERROR:
        return libzip().error_to_data(&source->error, data, length);
      case ZIP_SOURCE_FREE:
        libzip().error_fini(&source->error);
        delete source;
        return 0;
      default:
        return source->fail(ZIP_ER_OPNOTSUPP, 0);
    }
  }
};

}  // namespace

ZipWriter::ZipWriter(int fd, std::string archivePath)
    : sink_(std::make_unique<Sink>()), archivePath_(std::move(archivePath)) {
  sink_->fd = fd;
  libzip().error_init(&sink_->error);
  zip_error_t error;
  libzip().error_init(&error);
  zip_source_t* source = libzip().source_function_create(Sink::command, sink_.get(), &error);
  if (source) {
    archive_ = libzip().open_from_source(source, ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive_) libzip().source_free(source);
  }
  std::string reason = libzip().error_strerror(&error);
  libzip().error_fini(&error);
  if (!archive_) failed(reason);
}

ZipWriter::~ZipWriter() {
  if (archive_) libzip().discard(archive_);
  libzip().error_fini(&sink_->error);
}

void ZipWriter::failed(const std::string& what) {
  throw TBKException(TBKException::Kind::File, "Could not write the archive " + archivePath_ + ": " + what + ".");
}

void ZipWriter::addFile(const std::string& entryName, const std::string& path, uint64_t size, time_t modified,
                        bool stored) {
  auto* state = new FileSource{path, size, modified, FileDescriptor(), {}};
  libzip().error_init(&state->error);
  zip_source_t* source = libzip().source_function(archive_, FileSource::command, state);
  if (!source) {
    libzip().error_fini(&state->error);
    delete state;
    failed(libzip().strerror(archive_));
  }
  zip_int64_t index = libzip().file_add(archive_, entryName.c_str(), source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    libzip().source_free(source);
    failed(libzip().strerror(archive_));
  }
  if (stored && libzip().set_file_compression(archive_, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) != 0) {
    failed(libzip().strerror(archive_));
  }
  // Unix attributes, as the game's own export and every unzip read them.
  libzip().file_set_external_attributes(archive_, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                        static_cast<zip_uint32_t>(S_IFREG | 0644) << 16);
}

void ZipWriter::addFolder(const std::string& entryName) {
  zip_int64_t index = libzip().dir_add(archive_, entryName.c_str(), ZIP_FL_ENC_UTF_8);
  if (index < 0) failed(libzip().strerror(archive_));
  libzip().file_set_external_attributes(archive_, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                        static_cast<zip_uint32_t>(S_IFDIR | 0755) << 16);
}

bool ZipWriter::finish(const std::function<bool(double)>& progress) {
  bool cancelled = false;
  struct Watch {
    const std::function<bool(double)>* progress;
    double done = 0;
    bool* cancelled;
  } watch{&progress, 0, &cancelled};
  libzip().register_progress_callback_with_state(
      archive_, 0.01, [](zip_t*, double done, void* state) { static_cast<Watch*>(state)->done = done; }, nullptr,
      &watch);
  libzip().register_cancel_callback_with_state(
      archive_,
      [](zip_t*, void* state) {
        auto* w = static_cast<Watch*>(state);
        if (!(*w->progress)(w->done)) *w->cancelled = true;
        return *w->cancelled ? 1 : 0;
      },
      nullptr, &watch);
  if (libzip().close(archive_) == 0) {
    archive_ = nullptr;
    return true;
  }
  if (cancelled) return false;
  failed(libzip().strerror(archive_));
}

}  // namespace tbk
