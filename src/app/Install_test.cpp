// Gorvane installed as a user gets it: into a prefix, set-user-id root, and
// started by an ordinary user (nobody) who tries to make the root process
// act for them beyond their own rights.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <map>
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
// may enter and only root may change (not /tmp: anyone may put a link of
// the program there, so it does not run set-user-id from there), shared by
// the tests of this file.
class InstalledProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (getuid() != 0) return;
    char pattern[] = "/run/gorvane-install-XXXXXX";
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
    giveToNobody(game);
  }

  // Hands a game to nobody, as their own game would be (its scratch folder
  // opened for them to reach it).
  static void giveToNobody(const DemoGame& game) {
    fs::path root = game.sandbox().parent_path();
    fs::permissions(root, fs::perms(0755));
    ASSERT_EQ(chown(root.c_str(), nobody, nobody), 0);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      ASSERT_EQ(lchown(entry.path().c_str(), nobody, nobody), 0) << entry.path();
    }
  }

  static fs::path app() { return scratch / "prefix/Gorvane.app"; }
  static fs::path program() { return app() / "gorvane"; }

  // A folder of root's with `mode` and a 0644 file in it.
  static fs::path rootsFolder(const std::string& name, fs::perms mode = fs::perms(0755)) {
    fs::path folder = scratch / name;
    fs::create_directories(folder);
    std::ofstream(folder / "precious") << "root's own\n";
    fs::permissions(folder, mode);
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

  // The log line without its time and process, which differ from run to run.
  static std::string lastMessage(const ProgramRun& run) {
    auto out = run.errorLines();
    std::string last = out.empty() ? "" : out.back();
    return last.substr(last.find("] ") + 1);
  }
  // Runs the program as nobody until it holds the game lock (or ends).
  ProgramRun runUntilStarted(const fs::path& path, bool* started) {
    *started = false;
    return runProgram(
        path, game.environment(), int(nobody),
        [&] { return *started = *started || gameLockIsHeld(game.gameDataFolder()); }, 20);
  }

  static inline fs::path scratch;
  static inline int installStatus = -1;
  DemoGame game;  // nobody's
};

TEST_F(InstalledProgram, IsSetUserIdRootAndNothingInItIsWritableByOthers) {
  struct stat info;
  ASSERT_EQ(stat(program().c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_EQ(info.st_mode & 07777, 04755u) << "set-user-id root, writable by root alone";
  for (const char* file : {"gorvane-world", "resources/menu_view_title.png", "DemoGame/minecraft.ttf",
                           "DemoGame/data/images/gui/touchgui.png"}) {
    ASSERT_EQ(stat((app() / file).c_str(), &info), 0) << file;
    EXPECT_EQ(info.st_mode & 022, 0u) << file << " is writable by others";
  }
}

TEST_F(InstalledProgram, AnOrdinaryUserEditsTheirOwnGameAsRootAndNothingOfTheirEnvironmentSteersIt) {
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
          std::istringstream status(contentOf("/proc/" + std::to_string(pid) + "/status"));
          for (std::string line; std::getline(status, line);) {
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
  auto out = run.errorLines();
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
    DemoGame own;
    fs::path roots = scratch / "roots-game";
    fs::remove_all(roots);
    fs::create_directories(roots);
    fs::copy(own.sandbox(), roots / "sandbox", fs::copy_options::recursive);
    std::vector<std::string> environment = own.environment();
    if (!c.linked) {
      fs::permissions(roots, fs::perms(0700));
      environment[1] = "TARNBOOK_GAME_SANDBOX=" + (roots / "sandbox").string();
    } else {
      fs::remove_all(own.gameDataFolder());
      fs::create_directory_symlink(roots / "sandbox/Documents/games/com.mojang", own.gameDataFolder());
    }
    giveToNobody(own);
    auto before = snapshot(roots);

    // The error screen waits for its "Okay" until the test gives up.
    ProgramRun run = runProgram(program(), environment, int(nobody), nullptr, 4);
    EXPECT_EQ(run.signal, SIGKILL);
    auto out = run.errorLines();
    ASSERT_EQ(out.size(), 4u) << run.standardError;
    EXPECT_NE(out[3].find("Initialization of Gorvane failed with exception: "), std::string::npos) << out[3];
    EXPECT_NE(out[3].find(c.reason), std::string::npos) << out[3];
    EXPECT_EQ(snapshot(roots), before);
    fs::remove_all(roots);
  }
}

TEST_F(InstalledProgram, GameVariablesLeadingWhereTheUserMayNotLookTellNothingOfWhatIsThere) {
  fs::path shut = rootsFolder("shut", fs::perms(0700));
  fs::create_directories(shut / "hidden-name");
  // A file this process, root's, holds open.
  int open = ::open((shut / "hidden-name/held").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(open, 0);
  std::string fds = "/proc/" + std::to_string(getpid()) + "/fd/";
  struct Case {
    std::string existing, missing;
    const char* reason;
  };
  const Case cases[] = {
      {fds + std::to_string(open), fds + std::to_string(open + 1000), "among the system's processes"},
      {(shut / "hidden-name").string(), (shut / "missing-name").string(), "may not look into"},
  };
  fs::path link = scratch / "game-link";
  for (const Case& c : cases) {
    std::string said[2];
    for (int missing = 0; missing < 2; ++missing) {
      fs::remove(link);
      fs::create_symlink(missing ? c.missing : c.existing, link);
      std::vector<std::string> environment = {game.environment()[0], "TARNBOOK_GAME_SANDBOX=" + link.string()};
      said[missing] = lastMessage(runProgram(program(), environment, int(nobody), nullptr, 4));
    }
    EXPECT_EQ(said[0], said[1]) << "whether the name exists shows";
    EXPECT_NE(said[0].find(c.reason), std::string::npos) << said[0];
    for (const char* hidden : {"hidden-name", "missing-name", "held"}) {
      EXPECT_EQ(said[0].find(hidden), std::string::npos) << said[0];
    }
  }
  ::close(open);
}

TEST_F(InstalledProgram, TheXAuthorityFileIsCopiedOnlyWhereTheUserCouldReadIt) {
  fs::path shut = rootsFolder("shut-authority", fs::perms(0700));
  for (const fs::path& folder : {game.sandbox().parent_path(), shut}) {
    // The user's own file either way; only the folder differs.
    fs::path file = folder / "Xauthority";
    std::ofstream(file) << "cookie";
    ASSERT_EQ(chown(file.c_str(), nobody, nobody), 0);
    int pid = 0;
    bool copied = false;
    std::vector<std::string> environment = game.environment();
    environment.push_back("XAUTHORITY=" + file.string());
    runProgram(
        program(), environment, int(nobody),
        [&] {
          if (!gameLockIsHeld(game.gameDataFolder())) return false;
          std::error_code error;
          for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
            copied = copied || fs::read_symlink(fd.path(), error).string().find("Xauthority") != std::string::npos;
          }
          return true;
        },
        20, &pid);
    EXPECT_EQ(copied, folder != shut) << folder;
  }
}

TEST_F(InstalledProgram, GameFilesOfGigabytesCostRootNoMemory) {
  // Sparse: nothing to the user. The font is read before the game lock.
  ASSERT_EQ(::truncate((game.app() / "minecraft.ttf").c_str(), off_t(1) << 30), 0);
  bool started = false;
  ProgramRun run = runUntilStarted(program(), &started);
  EXPECT_TRUE(started) << run.standardError;
  rusage children;
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
  EXPECT_LT(children.ru_maxrss, 200 * 1024) << "kilobytes, at the peak of the largest program this test ran";
}

TEST_F(InstalledProgram, ACopyElsewhereHeedsNothingBesideItAndRefusesAFolderOthersMayChange) {
  fs::path plugins = hostilePlugins();
  // Root's folder; a user's; root's sticky one everyone may write (like /tmp).
  for (auto [owner, mode] : {std::pair{0u, 0755}, {nobody, 0755}, {0u, 01777}}) {
    fs::path folder = scratch / ("copy-of-" + std::to_string(owner) + "-" + std::to_string(mode));
    fs::create_directories(folder);
    ASSERT_EQ(chown(folder.c_str(), owner, owner), 0);
    fs::permissions(folder, fs::perms(mode));
    fs::create_hard_link(program(), folder / "gorvane");
    std::ofstream(folder / "qt.conf") << "[Paths]\nPlugins=" << plugins.string() << "\n";
    for (const char* kind : {"imageformats", "platforms"}) {
      fs::create_directories(folder / kind);
      fs::copy(plugins / "imageformats/libhostile_image_plugin.so", folder / kind);
    }
    bool started = false;
    ProgramRun run = runUntilStarted(folder / "gorvane", &started);
    EXPECT_EQ(started, owner == 0 && mode == 0755) << run.standardError;
    if (!started) {
      EXPECT_NE(lastMessage(run).find("does not run set-user-id from where it lies: " + folder.string() + ", a folder"),
                std::string::npos)
          << run.standardError;
    }
    EXPECT_FALSE(fs::exists(folder / "LOADED")) << contentOf(folder / "LOADED");
    EXPECT_FALSE(fs::exists(plugins / "LOADED")) << contentOf(plugins / "LOADED");
  }
}

}  // namespace
