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
      {"LOGNAME=steve", true},
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
      {"QT_QPA_PLATFORM=xcb", true},
      {"QT_QPA_PLATFORM=offscreen:configfile=/etc/shadow", false},
      {"QT_QPA_PLATFORM=myplatform", false},
      // Plugin, font and library paths; the platform's own switches.
      {"QT_PLUGIN_PATH=/tmp/plugins", false},
      {"QT_QPA_PLATFORM_PLUGIN_PATH=/tmp/plugins", false},
      {"QT_QPA_FONTDIR=/tmp/fonts", false},
      {"QT_DEBUG_PLUGINS=1", false},
      {"QT_SCALE_FACTOR=2", true},
      {"QT_SCALE_FACTOR=1.5", true},
      {"QT_SCALE_FACTOR=2;/tmp", false},
      {"QT_SCALE_FACTOR=0.5", true},
      {"QT_SCALE_FACTOR=4", true},
      {"QT_SCALE_FACTOR=0.499", false},
      {"QT_SCALE_FACTOR=4.001", false},
      {"QT_SCALE_FACTOR=99.999", false},  // a window of gigabytes
      {"QT_SCALE_FACTOR=0", false},       // no window at all
      {"QT_SCALE_FACTOR=-1", false},
      {"QT_SCALE_FACTOR=nan", false},
      {"LD_PRELOAD=/tmp/evil.so", false},
      {"LD_LIBRARY_PATH=/tmp", false},
      {"FONTCONFIG_FILE=/tmp/fonts.conf", false},
      {"UI_BENCH_FIRST_FRAME=/etc/passwd", false},
      {"UI_SCREEN_SIZE=10x10", false},
      {"UI_QT_MESSAGES=1", false},
      {"HOME=/home/steve", false},  // the font configuration would read steve's files as root
      {"XDG_CONFIG_HOME=/home/steve/.config", false},
      {"XAUTHORITY=/home/steve/.Xauthority", false},  // replaced by a private copy
      {"DBUS_SESSION_BUS_ADDRESS=unix:path=/tmp/bus", false},
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
