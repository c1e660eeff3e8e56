#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tbk {

struct WorldFile {
  std::string relative;  // below the world's folder, parts joined by '/'
  std::string path;
  bool folder;
  uint64_t size;
  time_t modified;
};

// Every file and folder below `folder` as the real user could see them, in
// name order with each folder before what it holds. A link, or anything but
// a plain file or folder, raises TBKException (File) naming it ("The world
// "<worldName>" cannot be <done>: ..."): following it would take more than
// the world, leaving it out would lose part of it.
std::vector<WorldFile> listWorldFiles(const std::string& folder, const std::string& worldName, const char* done);

}  // namespace tbk
