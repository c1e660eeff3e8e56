#include "app/StartEnvironment.h"

#include <gtest/gtest.h>

namespace {

bool isRuntimeFolder(const std::string& path) { return path == "/run/user/1000"; }

TEST(StartEnvironment, KeepsWhatAWindowAndTheGameNeedInAHarmlessFormOnly) {
  struct Case {
    const char* entry;
    bool kept;
  };
  const Case cases[] = {
      {"TARNBOOK_GAME_APP=/home/steve/game/app", true},
      {"TARNBOOK_GAME_SANDBOX=/home/steve/game/sandbox", true},
      {"USER=steve", true},
      {"DISPLAY=:0", true},
      {"DISPLAY=localhost:10.0", true},
      {"DISPLAY=/run/dbus/system_bus_socket:0", false},  // root would connect where steve cannot
      {"WAYLAND_DISPLAY=wayland-0", true},
      {"WAYLAND_DISPLAY=/run/some/socket", false},
      {"XDG_RUNTIME_DIR=/run/user/1000", true},
      {"XDG_RUNTIME_DIR=/root", false},
      {"LANG=de_DE.UTF-8", true},
      {"LC_TIME=en_GB.UTF-8", true},
      {"LC_ALL=/tmp/mylocale", false},
      {"TZ=Europe/Berlin", true},
      {"TZ=:UTC", true},
      {"TZ=/etc/shadow", false},
      {"TZ=:../../../etc/shadow", false},
      {"QT_QPA_PLATFORM=offscreen", true},
      {"QT_QPA_PLATFORM=offscreen:configfile=/etc/shadow", false},
      {"QT_QPA_PLATFORM=myplatform", false},
      {"QT_SCALE_FACTOR=2;/tmp", false},
      {"QT_SCALE_FACTOR=0.5", true},
      {"QT_SCALE_FACTOR=4", true},
      {"QT_SCALE_FACTOR=0.499", false},
      {"QT_SCALE_FACTOR=4.001", false},  // a window of gigabytes at 99
      {"QT_SCALE_FACTOR=nan", false},
      // Only the names above are kept: plugin and library paths, the program's
      // own switches and the rest are not.
      {"QT_PLUGIN_PATH=/tmp/plugins", false},
      {"LD_PRELOAD=/tmp/evil.so", false},
      {"UI_BENCH_FIRST_FRAME=/etc/passwd", false},
      {"HOME=/home/steve", false},                    // the font configuration would read steve's files as root
      {"XAUTHORITY=/home/steve/.Xauthority", false},  // replaced by a private copy
      {"PATH=/tmp:/usr/bin", false},
  };
  for (const Case& c : cases) {
    auto kept = keptStartEnvironment({c.entry}, isRuntimeFolder);
    EXPECT_EQ(kept.size(), c.kept ? 1u : 0u) << c.entry;
  }
}

TEST(StartEnvironment, OfTwoEntriesOfOneNameTheFirstDecides) {
  // getenv answers with the first; a harmless second must not vouch for it.
  EXPECT_EQ(keptStartEnvironment({"TZ=/etc/shadow", "TZ=UTC"}, isRuntimeFolder), std::vector<std::string>{});
  EXPECT_EQ(keptStartEnvironment({"TZ=UTC", "TZ=/etc/shadow"}, isRuntimeFolder), std::vector<std::string>{"TZ=UTC"});
  EXPECT_EQ(keptStartEnvironment({"=x", "noequals", "USER=a"}, isRuntimeFolder), std::vector<std::string>{"USER=a"});
}

}  // namespace
