#include "Tarnbook/TBKOutputFile.h"

#include "OwnerPolicy.h"
#include "WholeFile.h"

void TBKOutputFile::write(const std::string& path, std::string_view bytes) {
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  tbk::writeFileAtomically(path, bytes, tbk::ownerForFile(path, folder));
}
