// Gorvane installed as a user gets it: into a prefix, set-user-id root, and
// started by an ordinary user (nobody) who tries to make the root process
// act for them beyond their own rights.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "DemoGame.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned nobody = 65534;

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Every file below folder with its owner, mode and content: what must not
// change when an attack is refused.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    struct stat info;
    lstat(entry.path().c_str(), &info);
    std::string state = std::to_string(info.st_uid) + " " + std::to_string(info.st_mode);
    if (entry.is_regular_file()) state += " " + contentOf(entry.path());
    files[entry.path()] = state;
  }
  return files;
}

// One install of this build into a scratch prefix under a folder everyone
// may enter, shared by the tests of this file.
class InstalledProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (getuid() != 0) return;
    char pattern[] = "/tmp/gorvane-install-XXXXXX";
    if (!mkdtemp(pattern)) return;
    scratch = pattern;
    fs::permissions(scratch, fs::perms(0755));
    std::string command = std::string(GORVANE_CMAKE) + " --install " + GORVANE_BINARY_DIR + " --prefix " +
                          (scratch / "prefix").string() + " > " + (scratch / "install.log").string() + " 2>&1";
    installStatus = std::system(command.c_str());
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    if (!scratch.empty()) fs::remove_all(scratch, ignored);
  }
  void SetUp() override {
    if (getuid() != 0) GTEST_SKIP() << "needs root: installs set-user-id root and starts it as another user";
    ASSERT_EQ(installStatus, 0) << contentOf(scratch / "install.log");
  }

  static fs::path app() { return scratch / "prefix/Gorvane.app"; }
  static fs::path program() { return app() / "gorvane"; }

  // A folder of root's: a file in it, 0755 folders and 0644 files.
  static fs::path rootsFolder(const std::string& name) {
    fs::path folder = scratch / name;
    fs::create_directories(folder);
    std::ofstream(folder / "precious") << "root's own\n";
    return folder;
  }

  // The user's plugin folder, holding a plugin Qt would load for PNG files.
  static fs::path hostilePlugins() {
    fs::path folder = scratch / "plugins";
    fs::create_directories(folder / "imageformats");
    fs::copy(fs::path(GORVANE_BINARY_DIR) / "hostile-plugins/imageformats/libhostile_image_plugin.so",
             folder / "imageformats", fs::copy_options::overwrite_existing);
    for (const auto& path : {folder, folder / "imageformats", folder / "imageformats/libhostile_image_plugin.so"}) {
      EXPECT_EQ(chown(path.c_str(), nobody, nobody), 0);
    }
    return folder;
  }

  static inline fs::path scratch;
  static inline int installStatus = -1;
};

TEST_F(InstalledProgram, IsOneAppFolderWithItsFrameworksAndADesktopEntry) {
  struct stat info;
  ASSERT_EQ(stat(program().c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_EQ(info.st_mode & 07777, 04755u) << "set-user-id root, writable by root alone";
  for (const char* file :
       {"tarnbook_dump", "Frameworks/libTarnbook.so", "Frameworks/libBevel.so", "Frameworks/libgorvane-ui.so",
        "resources/menu_view_title.png", "DemoGame/minecraft.ttf", "DemoGame/data/images/gui/touchgui.png"}) {
    ASSERT_EQ(stat((app() / file).c_str(), &info), 0) << file;
    EXPECT_EQ(info.st_mode & 022, 0u) << file << " is writable by others";
  }
  std::string entry = contentOf(scratch / "prefix/share/applications/gorvane.desktop");
  EXPECT_NE(entry.find("\nExec=" + program().string() + "\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nIcon=gorvane\n"), std::string::npos) << entry;
  EXPECT_TRUE(fs::exists(scratch / "prefix/share/icons/hicolor/64x64/apps/gorvane.png"));
}

TEST_F(InstalledProgram, AnOrdinaryUserEditsTheirOwnGameAsRootAndNothingOfTheirEnvironmentSteersIt) {
  DemoGame game;
  game.giveTo(nobody);
  fs::path plugins = hostilePlugins();
  fs::path secrets = rootsFolder("secrets");
  std::vector<std::string> hostile = {
      "USER=nobody",
      "QT_PLUGIN_PATH=" + plugins.string(),
      "QT_QPA_PLATFORM_PLUGIN_PATH=" + plugins.string(),
      "QT_QPA_FONTDIR=" + plugins.string(),
      "UI_BENCH_FIRST_FRAME=" + (secrets / "precious").string(),
      "LD_LIBRARY_PATH=" + plugins.string(),
      "HOME=" + secrets.string(),
  };
  // Reached through a link above the game's folders, as a home folder may
  // be: that link is the system's business and is followed.
  fs::path via = scratch / "via-link";
  fs::remove(via);
  fs::create_directory_symlink(game.app().parent_path(), via);
  hostile.push_back("TARNBOOK_GAME_APP=" + (via / "app").string());
  hostile.push_back("TARNBOOK_GAME_SANDBOX=" + (via / "sandbox").string());

  // The same start from a root shell keeps its environment: the plugin is
  // one Qt loads, so its absence below means something.
  runProgram(
      program(), hostile, -1, [&] { return fs::exists(plugins / "LOADED"); }, 10);
  ASSERT_TRUE(fs::exists(plugins / "LOADED")) << "the hostile plugin is not one Qt would load";
  fs::remove(plugins / "LOADED");
  auto before = snapshot(secrets);

  int pid = 0;
  std::string ids;
  bool sawLock = false;
  ProgramRun run = runProgram(
      program(), hostile, int(nobody),
      [&] {
        sawLock = sawLock || gameLockIsHeld(game.gameDataFolder());
        if (sawLock && ids.empty()) {
          for (const auto& line : lines(contentOf("/proc/" + std::to_string(pid) + "/status"))) {
            if (line.rfind("Uid:", 0) == 0 || line.rfind("Gid:", 0) == 0) ids += line + "\n";
          }
        }
        return sawLock;
      },
      20, &pid);
  EXPECT_TRUE(sawLock) << run.standardError;
  EXPECT_EQ(ids, "Uid:\t0\t0\t0\t0\nGid:\t0\t0\t0\t0\n") << "the process is the superuser";
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitStatus, 0);
  auto out = lines(run.standardError);
  ASSERT_EQ(out.size(), 3u) << run.standardError;
  EXPECT_NE(out[0].find("Pre-uid User: nobody"), std::string::npos) << out[0];
  EXPECT_NE(out[1].find("uid: 65534"), std::string::npos) << out[1];
  EXPECT_NE(out[2].find("Post-uid User: nobody"), std::string::npos) << out[2];

  EXPECT_FALSE(fs::exists(plugins / "LOADED")) << contentOf(plugins / "LOADED");
  EXPECT_EQ(snapshot(secrets), before);
}

TEST_F(InstalledProgram, GameFoldersTheUserCouldNotUseAreRefusedWithTheReason) {
  struct Case {
    const char* what;
    bool linked;  // else the variables name root's game
    const char* reason;
  };
  const Case cases[] = {
      {"the game variables name root's private game", false, "may not look into"},
      {"the game's data folder is a link to root's", true, "is a symbolic link"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DemoGame game;
    fs::path roots = scratch / "roots-game";
    fs::remove_all(roots);
    fs::create_directories(roots);
    fs::copy(game.sandbox(), roots / "sandbox", fs::copy_options::recursive);
    std::vector<std::string> environment = game.environment();
    if (!c.linked) {
      fs::permissions(roots, fs::perms(0700));
      environment[1] = "TARNBOOK_GAME_SANDBOX=" + (roots / "sandbox").string();
    } else {
      fs::remove_all(game.gameDataFolder());
      fs::create_directory_symlink(roots / "sandbox/Documents/games/com.mojang", game.gameDataFolder());
    }
    game.giveTo(nobody);
    auto before = snapshot(roots);

    // The error screen waits for its "Okay" until the test gives up.
    ProgramRun run = runProgram(program(), environment, int(nobody), nullptr, 4);
    EXPECT_EQ(run.signal, SIGKILL);
    auto out = lines(run.standardError);
    ASSERT_EQ(out.size(), 4u) << run.standardError;
    EXPECT_NE(out[3].find("Initialization of Gorvane failed with exception: "), std::string::npos) << out[3];
    EXPECT_NE(out[3].find(c.reason), std::string::npos) << out[3];
    EXPECT_EQ(snapshot(roots), before);
    fs::remove_all(roots);
  }
}

}  // namespace
