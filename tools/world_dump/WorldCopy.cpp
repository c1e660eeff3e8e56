#include "WorldCopy.h"

#include <stdlib.h>

#include "Tarnbook/TBKException.h"

namespace fs = std::filesystem;

WorldCopy::WorldCopy(const fs::path& world) {
  std::string pattern = (fs::temp_directory_path() / "gorvane-world.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw TBKException(TBKException::Kind::File, "Could not make a temporary folder.");
  root_ = pattern;
  world_ = root_ / world.filename();
  fs::create_directory(world_);
  // Links are not followed: a world's files are plain files and folders.
  for (const auto& entry : fs::recursive_directory_iterator(world)) {
    fs::path to = world_ / fs::relative(entry.path(), world);
    if (entry.is_directory() && !entry.is_symlink())
      fs::create_directory(to);
    else if (entry.is_regular_file() && !entry.is_symlink() && entry.path().filename() != "LOCK")
      fs::copy_file(entry.path(), to);
  }
}

WorldCopy::~WorldCopy() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}
