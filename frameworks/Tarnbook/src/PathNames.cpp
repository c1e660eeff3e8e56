#include "PathNames.h"

namespace tbk {

std::string joinPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  if (path.empty()) return std::string(name);
  if (path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

std::string parentFolder(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseName(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace tbk
