// libFuzzer target for the reader of .mcworld archives, the bytes a user
// hands a root process. Beyond not crashing: a path it plans to write never
// leaves the world folder, and no entry hands on more bytes than it claims.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "ArchivePlan.h"
#include "FileDescriptor.h"
#include "Tarnbook/TBKException.h"
#include "ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tbk::FileDescriptor fd(::memfd_create("archive", MFD_CLOEXEC));
  if (fd.get() < 0 || ::write(fd.get(), data, size) != static_cast<ssize_t>(size)) std::abort();
  try {
    tbk::ZipReader zip(fd.get(), "fuzz.mcworld");
    for (const auto& entry : tbk::planUnpacking(zip.entries(), "fuzz.mcworld")) {
      const std::string& path = entry.path;
      if (path.empty() || path[0] == '/' || path == ".." || path.rfind("../", 0) == 0 ||
          path.find("/../") != std::string::npos || path.find('\\') != std::string::npos) {
        std::abort();
      }
      if (entry.folder) continue;
      uint64_t handed = 0;
      zip.inflate(
          entry.index, [&](std::string_view bytes) { handed += bytes.size(); }, [](uint64_t) { return true; });
      if (handed != zip.entries()[entry.index].size) std::abort();
    }
  } catch (const TBKException&) {}
  return 0;
}
