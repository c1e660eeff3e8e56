#include "Tarnbook/TBKFileSource.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "RealUser.h"
#include "Tarnbook/TBKException.h"
#include "TarnbookTestWorld.h"

namespace fs = std::filesystem;

namespace {

// The environment the search reads, set for one test and put back after, and
// a throwaway root for the folders searched.
class TBKFileSourceSearch : public ::testing::Test {
 protected:
  ~TBKFileSourceSearch() override {
    for (const auto& [name, value] : saved_) set(name, value);
  }
  static void set(const char* name, const std::string& value) {
    value.empty() ? ::unsetenv(name) : ::setenv(name, value.c_str(), 1);
  }
  // The game's data folder, or the reason nothing was found.
  struct Found {
    std::string data;
    bool thrown = false;
  };
  Found search(const std::string& sandbox, const std::string& xdgDataHome) const {
    set("HOME", home);
    set("XDG_DATA_HOME", xdgDataHome);
    set("TARNBOOK_GAME_SANDBOX", sandbox);
    try {
      return {TBKFileSource::sharedSource().gameDataFolder()};
    } catch (const TBKException& error) {
      EXPECT_EQ(error.kind(), TBKException::Kind::Setup);
      return {error.reason(), true};
    }
  }

  tbktest::TemporaryFolder root;
  const std::string home = root.path() + "/home";

 private:
  std::vector<std::pair<const char*, std::string>> saved_ = [] {
    std::vector<std::pair<const char*, std::string>> saved;
    for (const char* name : {"HOME", "XDG_DATA_HOME", "TARNBOOK_GAME_SANDBOX", "TARNBOOK_GAME_APP"})
      saved.emplace_back(name, std::getenv(name) ? std::getenv(name) : "");
    return saved;
  }();
};

TEST_F(TBKFileSourceSearch, TheVariableFirstThenTheDesktopPlacesInOrderElseEveryPlaceIsNamed) {
  const std::string launcher = home + "/.local/share/mcpelauncher/games/com.mojang";
  const std::string flatpak = home + "/.var/app/io.mrarm.mcpelauncher/data/mcpelauncher/games/com.mojang";
  const std::string xdg = root.path() + "/xdg";
  const std::string phone = root.path() + "/phone";
  const std::string moved = root.path() + "/moved";
  const std::string bare = root.path() + "/elsewhere/com.mojang";
  const std::string empty = root.path() + "/empty";
  for (const std::string& folder : {home, xdg, phone + "/Documents/games/com.mojang/minecraftWorlds",
                                    moved + "/games/com.mojang/minecraftpe", bare, empty}) {
    fs::create_directories(folder);
  }
  struct Case {
    const char* what;
    std::vector<std::string> folders;  // made for this case only
    std::string sandbox, xdgDataHome;
    std::string expected;              // "" when nothing is found
    std::vector<std::string> named{};  // by the reason, then
  } cases[] = {
      {"the variable wins over a launcher's folder", {launcher}, phone, "", phone + "/Documents/games/com.mojang"},
      {"the variable may name a launcher's data folder", {}, moved, "", moved + "/games/com.mojang"},
      {"the variable may name com.mojang itself", {}, bare, "", bare},
      {"a trailing slash is the same folder", {}, phone + "/", "", phone + "/Documents/games/com.mojang"},
      {"unset: the Linux launcher's folder", {launcher, flatpak}, "", "", launcher},
      {"unset: the launcher as a Flatpak", {flatpak}, "", "", flatpak},
      {"unset: the launcher under XDG_DATA_HOME first",
       {launcher, xdg + "/mcpelauncher/games/com.mojang"},
       "",
       xdg,
       xdg + "/mcpelauncher/games/com.mojang"},
      {"XDG_DATA_HOME naming the default adds nothing", {launcher}, "", home + "/.local/share", launcher},
      {"nothing, though the launcher's games folder is there", {}, "", "", "", {launcher, flatpak}},
      {"nothing under XDG_DATA_HOME either", {}, "", xdg, "", {xdg + "/mcpelauncher/games/com.mojang", launcher}},
      {"nothing in the variable's folder",
       {},
       empty,
       "",
       "",
       {empty + "/Documents/games/com.mojang", empty + "/games/com.mojang"}},
      {"the variable's folder missing",
       {},
       root.path() + "/missing",
       "",
       "",
       {root.path() + "/missing/Documents/games/com.mojang"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& folder : c.folders) fs::create_directories(folder);
    Found found = search(c.sandbox, c.xdgDataHome);
    EXPECT_EQ(found.thrown ? "" : found.data, c.expected) << found.data;
    EXPECT_EQ(found.data.find("TARNBOOK_GAME_SANDBOX") != std::string::npos, found.thrown) << found.data;
    for (const auto& place : c.named) EXPECT_NE(found.data.find(place), std::string::npos) << found.data;
    for (const auto& folder : c.folders) fs::remove_all(folder);
  }
}

// After a set-user-id start: root searching for an ordinary user (nobody).
// Gorvane's cache holds pictures decoded for the next start: the user's
// alone, under plain names.
TEST_F(TBKFileSourceSearch, TheCacheIsTheUsersAloneUnderPlainNames) {
  set("HOME", home);
  fs::create_directories(home);
  TBKFileSource::keepCachedFile("a.picture", "pixels");
  EXPECT_EQ(TBKFileSource::cachedFile("a.picture", 64), "pixels");
  EXPECT_FALSE(TBKFileSource::cachedFile("b.picture", 64));
  EXPECT_THROW(TBKFileSource::cachedFile("a.picture", 5), TBKException);
  EXPECT_EQ(fs::status(home + "/.cache/gorvane").permissions(), fs::perms(0700));
  EXPECT_EQ(fs::status(home + "/.cache/gorvane/a.picture").permissions(), fs::perms(0600));
  for (const char* name : {"", ".hidden", "../escaped"}) {
    EXPECT_THROW(TBKFileSource::keepCachedFile(name, "x"), TBKException) << name;
  }
  EXPECT_FALSE(fs::exists(home + "/.cache/escaped"));
}

TEST_F(TBKFileSourceSearch, ForAnotherUserNoLinkBelowIsFollowedAndOnlyTheirHomeIsSearched) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: it searches for another user as Gorvane does";
  fs::permissions(root.path(), fs::perms(0755));
  mode_t savedMask = ::umask(022);
  tbk::RealUser saved = tbk::realUser();
  tbk::setRealUser({65534, 65534, {}});

  // HOME names a launcher's folder, but it is not nobody's home.
  fs::create_directories(home + "/.local/share/mcpelauncher/games/com.mojang");
  Found found = search("", "");
  EXPECT_TRUE(found.thrown) << found.data;
  EXPECT_EQ(found.data.find(home), std::string::npos) << found.data;
  const passwd* nobody = ::getpwuid(65534);
  if (nobody && nobody->pw_dir) {
    EXPECT_NE(found.data.find(nobody->pw_dir), std::string::npos) << found.data;
  }

  // Links are followed only as nobody could (UserPath's test); here, that the
  // search takes the checked way.
  const std::string data = root.path() + "/sandbox/Documents/games/com.mojang";
  fs::create_directories(root.path() + "/elsewhere/com.mojang");
  fs::create_directories(fs::path(data).parent_path());
  fs::create_directory_symlink(root.path() + "/elsewhere/com.mojang", data);
  found = search(root.path() + "/sandbox", "");
  EXPECT_TRUE(found.thrown);
  EXPECT_NE(found.data.find("symbolic link"), std::string::npos) << found.data;

  tbk::setRealUser(saved);
  ::umask(savedMask);
}

}  // namespace

namespace {

// The user's own documents and downloads: as their user-dirs.dirs names
// them, else the usual folders; a value that is relative or escaped is not
// guessed at.
TEST_F(TBKFileSourceSearch, DocumentsAndDownloadsAreTheUsersOwnAsTheirUserDirsNameThem) {
  struct Case {
    const char* userDirs;  // null: no file
    std::string documents, downloads;
  } cases[] = {
      {nullptr, home + "/Documents", home + "/Downloads"},
      {"# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Docs/\"\nXDG_DOWNLOAD_DIR=\"/srv/in\"\n",
       home + "/Docs", "/srv/in"},
      {"XDG_DOCUMENTS_DIR=\"docs\"\nXDG_DOWNLOAD_DIR=\"$HOME/a\\\\b\"\nXDG_DOWNLOAD_DIR_X=\"/x\"\n",
       home + "/Documents", home + "/Downloads"},
  };
  set("HOME", home);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.userDirs ? c.userDirs : "none");
    fs::remove_all(home + "/.config");
    if (c.userDirs) {
      fs::create_directories(home + "/.config");
      tbktest::writeFile(home + "/.config/user-dirs.dirs", c.userDirs);
    }
    EXPECT_EQ(TBKFileSource::documentsFolder(), c.documents);
    EXPECT_EQ(TBKFileSource::downloadsFolder(), c.downloads);
  }
}

}  // namespace

namespace {

// Another device's copy of the game's data is found from the folder a user
// would point at: each layout's com.mojang, every user's of the newer
// Windows layout with whose it is, one world's folder with that world.
TEST(TBKFileSourceDevices, EachDevicesLayoutLeadsToItsDataFoldersAndOneWorldToItself) {
  tbktest::TemporaryFolder root;
  const std::string r = root.path();
  for (const char* made :
       {"pkg/LocalState/games/com.mojang/minecraftWorlds", "bedrock/Users/2535/games/com.mojang/minecraftpe",
        "bedrock/Users/Shared/games/com.mojang/minecraftWorlds", "bedrock/logs",
        "phone/Android/data/com.mojang.minecraftpe/files/games/com.mojang", "desk/games/com.mojang/minecraftWorlds/w1",
        "empty/Users"}) {
    fs::create_directories(r + "/" + made);
  }
  tbktest::writeFile(r + "/desk/games/com.mojang/minecraftWorlds/w1/level.dat", "x");
  const std::string users = r + "/bedrock/Users";
  struct Case {
    std::string given;
    std::vector<std::string> found;  // path|whose|world
  } cases[] = {
      {r + "/pkg", {r + "/pkg/LocalState/games/com.mojang||"}},
      {r + "/bedrock", {users + "/2535/games/com.mojang|2535|", users + "/Shared/games/com.mojang|Shared|"}},
      {users + "/", {users + "/2535/games/com.mojang|2535|", users + "/Shared/games/com.mojang|Shared|"}},
      {r + "/phone", {r + "/phone/Android/data/com.mojang.minecraftpe/files/games/com.mojang||"}},
      {r + "/desk", {r + "/desk/games/com.mojang||"}},
      {r + "/desk/games/com.mojang/minecraftWorlds/w1", {r + "/desk/games/com.mojang||w1"}},
      {r + "/empty", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    std::vector<std::string> found;
    for (const auto& data : TBKFileSource::dataFoldersIn(c.given))
      found.push_back(data.path + "|" + data.whose + "|" + data.world);
    EXPECT_EQ(found, c.found);
  }
}

}  // namespace
