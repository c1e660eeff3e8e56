#include "app/StartEnvironment.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <set>

#include "external/Tarnbook.h"
#include "ui/Log.h"

extern char** environ;

namespace {

constexpr double smallestScale = 0.5, largestScale = 4;

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// A locale or zone name, never a path of the user's choosing.
bool isPlainName(const std::string& value) {
  std::string name = startsWith(value, ":") ? value.substr(1) : value;
  return !startsWith(name, "/") && name.find("..") == std::string::npos;
}

bool keeps(const std::string& name, const std::string& value,
           const std::function<bool(const std::string&)>& isOwnFolder) {
  if (name == "USER" || name == "LOGNAME" || name == "TARNBOOK_GAME_APP" || name == "TARNBOOK_GAME_SANDBOX") {
    return true;
  }
  // [host]:display[.screen]; a socket path would let the user pick what
  // root connects to.
  if (name == "DISPLAY") return std::regex_match(value, std::regex(R"([A-Za-z0-9.\-]*:\d+(\.\d+)?)"));
  if (name == "WAYLAND_DISPLAY") return !value.empty() && value.find('/') == std::string::npos;
  if (name == "XDG_RUNTIME_DIR") return isOwnFolder(value);
  // Only the name of one of Qt's own platforms: no arguments (which can
  // name files) and no plugin of the user's.
  if (name == "QT_QPA_PLATFORM") return value == "xcb" || value == "wayland" || value == "offscreen";
  if (name == "LANG" || name == "LANGUAGE" || startsWith(name, "LC_")) {
    return value.find('/') == std::string::npos && value.find("..") == std::string::npos;
  }
  if (name == "TZ") return isPlainName(value);
  // How large the window is drawn, a number: the user's eyes, not a path.
  // Within reason: at 99 the window alone takes gigabytes of root's memory,
  // at 0 there is none to see.
  if (name == "QT_SCALE_FACTOR") {
    return std::regex_match(value, std::regex(R"(\d{1,2}(\.\d{1,3})?)")) && std::stod(value) >= smallestScale &&
           std::stod(value) <= largestScale;
  }
  return false;
}

// A private copy of the real user's X authority file, named through this
// process's descriptor: X libraries open it by name, and the name can then
// no longer be swapped for a file of root's. It is read as the user could
// read it (their rights on every folder on the way, no link followed but
// those they could follow, no more than a megabyte).
std::string privateAuthority(const char* named, uid_t user) {
  std::string path;
  if (named && *named) {
    path = named;
  } else if (passwd* entry = ::getpwuid(user); entry && entry->pw_dir) {
    path = std::string(entry->pw_dir) + "/.Xauthority";
  }
  if (path.empty()) return "";
  std::string bytes;
  try {
    bytes = TBKFileSource::contentsOfFile(TBKFileSource::resolvedPath(path), size_t(1) << 20).value_or("");
  } catch (const TBKException&) {
    return "";
  }
  if (bytes.empty()) return "";
  int copy = ::memfd_create("Xauthority", 0);
  if (copy < 0) return "";
  if (::write(copy, bytes.data(), bytes.size()) != ssize_t(bytes.size())) {
    ::close(copy);
    return "";
  }
  return "/proc/self/fd/" + std::to_string(copy);
}

}  // namespace

std::vector<std::string> keptStartEnvironment(const std::vector<std::string>& environment,
                                              const std::function<bool(const std::string&)>& isOwnFolder) {
  std::vector<std::string> kept;
  std::set<std::string> seen;
  for (const auto& entry : environment) {
    auto equals = entry.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    std::string name = entry.substr(0, equals);
    // Of two entries of one name the first is the one getenv gives: it alone
    // is judged, and a later one is never taken in its place.
    if (!seen.insert(name).second) continue;
    if (keeps(name, entry.substr(equals + 1), isOwnFolder)) kept.push_back(entry);
  }
  return kept;
}

void keepOnlyTheStartEnvironment() {
  uid_t user = ::getuid();
  std::vector<std::string> environment;
  for (char** entry = environ; entry && *entry; ++entry) environment.emplace_back(*entry);
  auto isOwnFolder = [user](const std::string& path) {
    struct stat info;
    return startsWith(path, "/") && ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == user &&
           (info.st_mode & 077) == 0;
  };
  std::vector<std::string> kept = keptStartEnvironment(environment, isOwnFolder);
  if (const char* scale = std::getenv("QT_SCALE_FACTOR");
      scale && std::find(kept.begin(), kept.end(), std::string("QT_SCALE_FACTOR=") + scale) == kept.end()) {
    ui::log("QT_SCALE_FACTOR is not heeded: only a scale factor from 0.5 to 4 is.");
  }
  std::string authority = privateAuthority(std::getenv("XAUTHORITY"), user);

  ::clearenv();
  // The display server says how many pixels a point takes (Xft.dpi in the
  // user's own X resources, the screen's size in millimetres), and at
  // 9600 dpi the window alone would take gigabytes of root's memory. Qt is
  // told to take no scale from it and to size text at 96 dpi: the window
  // scales by its own zoom (ui::Screen, bounded) and a QT_SCALE_FACTOR
  // from 0.5 to 4 alone.
  ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  ::setenv("QT_FONT_DPI", "96", 1);
  for (const auto& entry : kept) {
    auto equals = entry.find('=');
    std::string name = entry.substr(0, equals);
    std::string value = entry.substr(equals + 1);
    // The game's folders by their real paths, as the user could follow
    // them: every reader then sees the same folders, and below them no link
    // is followed (a link above them, like a home folder that is one, is
    // the user's business). Where the user could not follow, the value
    // stays as given and the game's folders give the reason.
    if (name == "TARNBOOK_GAME_APP" || name == "TARNBOOK_GAME_SANDBOX") {
      try {
        value = TBKFileSource::resolvedPath(value);
      } catch (const TBKException&) {}
    }
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  if (!authority.empty()) ::setenv("XAUTHORITY", authority.c_str(), 1);
  // With no session bus named, the bus library would start one itself, asking
  // the X server (the user's choice) where it is, and then connect as root
  // to any address that server names, a program to run among them. Gorvane
  // needs no bus: it gets one that cannot be reached.
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null", 1);
}
