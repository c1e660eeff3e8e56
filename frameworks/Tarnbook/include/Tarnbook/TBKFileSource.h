#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A copy of the game's data found in a folder given by the user
// (TBKFileSource::dataFoldersIn).
struct TBKDataFolder {
  std::string path;   // the com.mojang folder
  std::string whose;  // the user folder it is in (an id, "Shared"), or ""
  std::string world;  // a world's folder name when one world was given, or ""
};

// Where the game lives on this machine, worked out afresh on every call.
//
// The game's data folder (the one the game calls games/com.mojang, holding
// minecraftWorlds and minecraftpe/options.txt):
//   TARNBOOK_GAME_SANDBOX, when set, names it in any of three ways: the
//   phone's data container (it holds Documents/games/com.mojang), a folder
//   holding games/com.mojang (a desktop launcher's data folder), or the
//   com.mojang folder itself.
//   Unset, it is looked for where a desktop player keeps it
//   (desktopDataFolders): the mobile edition's Linux launcher keeps it in
//   ~/.local/share/mcpelauncher/games/com.mojang. Acting for another user,
//   ~ is that user's home as the system knows it, not $HOME.
// The game's application bundle (minecraft.ttf, data/images/...):
//   TARNBOOK_GAME_APP, when set. Unset, the copy of the demo game's bundle
//   installed with Gorvane (installedBundleFolders), so that a user who has
//   only worlds still sees the game's pictures and lettering.
// Nothing found raises TBKException (SetupFailure) whose reason names every
// place that was searched and the variable to set.
//
// Gorvane becomes root to reach the game's files, but acts for the user who
// started it: rememberRealUser() notes that user (call it before becoming
// root; the library also notes the user when it is loaded, before main).
// While that user is not the effective one, the two folders are taken
// without links (resolved once here) and must be reachable by that user,
// and every file below them is read or written only as that user could,
// never through a symbolic link.
class TBKFileSource {
 public:
  static TBKFileSource& sharedSource();
  static void rememberRealUser();
  // The whole file at path, read as that user could read it (no link
  // below the game's folders, their permissions); nullopt when there is
  // no such file. A refusal, or a file longer than maxBytes (a picture or
  // the font of the game's bundle is far less than the 64 MB default),
  // raises TBKException with the reason.
  static std::optional<std::string> contentsOfFile(const std::string& path, size_t maxBytes = size_t(64) << 20);
  // Acting for that user, path with its links followed as they could follow
  // them (each folder on the way one they may search, nothing in /proc);
  // a refusal raises TBKException saying only what they could find out.
  // Otherwise path as it is.
  static std::string resolvedPath(const std::string& path);

  // Gorvane's own cache of what can be made again (pictures decoded at one
  // start for the next): ~/.cache/gorvane of the real user's home, found
  // as for the game's data folder; "" without a home.
  static std::string cacheFolder();
  // The cache's file `name` (a plain file name), read as the user could;
  // nullopt when there is none. A refusal, or a file longer than maxBytes,
  // raises TBKException with the reason.
  static std::optional<std::string> cachedFile(const std::string& name, size_t maxBytes);
  // Keeps bytes as the cache's file `name`, written atomically as the user
  // and theirs alone (folders 0700, the file 0600), the cache made as they
  // would make it. A refusal raises TBKException with the reason.
  static void keepCachedFile(const std::string& name, std::string_view bytes);

  std::string minecraftApp() const;
  // The folder the game's data folder sits in: <it>/Documents/games/com.mojang
  // on the phone's layout, <it>/games/com.mojang on a launcher's, the data
  // folder's parent when the variable names com.mojang elsewhere. Only the
  // phone's layout has the options file at
  // <it>/Documents/games/com.mojang/minecraftpe/options.txt; optionsFile()
  // is right in every layout.
  std::string minecraftSandbox() const;

  // The games/com.mojang folder, the one the game lock is held on.
  std::string gameDataFolder() const;
  // <game data>/minecraftWorlds
  std::string worldsFolder() const;
  // <game data>/gorvane-backups
  std::string backupsFolder() const;
  // <game data>/minecraftpe/options.txt
  std::string optionsFile() const;

  // The game's data folders (com.mojang) in a folder copied from another
  // device or given on the command line, looked at as the real user could:
  // the folder itself when it is one (or holds minecraftWorlds); one
  // world's folder (holding level.dat, inside minecraftWorlds), with that
  // world named; else whatever of these layouts it holds: a launcher's or
  // Windows' LocalState (games/com.mojang), the Windows package folder
  // (LocalState/games/com.mojang), the phone's (Documents/games/com.mojang),
  // Android's (Android/data/com.mojang.minecraftpe/files/games/com.mojang,
  // from the storage's root, Android/ or the app's own folder), and the
  // newer Windows layout with one data folder per user
  // (Users/<id>/games/com.mojang and Users/Shared/games/com.mojang, from the
  // folder above Users or from Users), each with whose it is. None found:
  // empty.
  static std::vector<TBKDataFolder> dataFoldersIn(const std::string& folder);
  // From now on the game's data folder is this one (a com.mojang folder
  // from dataFoldersIn), in place of TARNBOOK_GAME_SANDBOX's or the
  // desktop's; checked on every call as that variable is. The game lock is
  // the caller's to move.
  static void useDataFolder(const std::string& folder);

  // The real user's documents and downloads folders, where an exported
  // world goes and an archive to import is looked for: XDG_DOCUMENTS_DIR and
  // XDG_DOWNLOAD_DIR of their ~/.config/user-dirs.dirs (read as they could
  // read it; a value that is neither "$HOME/..." nor absolute is not used),
  // else ~/Documents and ~/Downloads. ~ is as for the game's data folder;
  // links are followed as the user could follow them. The folder may not
  // exist.
  static std::string documentsFolder();
  static std::string downloadsFolder();
  // What user-dirs.dirs gives for `key`, with home for $HOME; "" when it
  // gives nothing usable.
  static std::string userDirectory(const std::string& userDirs, const std::string& key, const std::string& home);

  // Where the game's data is looked for without TARNBOOK_GAME_SANDBOX, in
  // order: $XDG_DATA_HOME/mcpelauncher/games/com.mojang (when that is set
  // and not the default), ~/.local/share/mcpelauncher/games/com.mojang, and
  // the same launcher installed as a Flatpak,
  // ~/.var/app/io.mrarm.mcpelauncher/data/mcpelauncher/games/com.mojang.
  static std::vector<std::string> desktopDataFolders(const std::string& home, const std::string& xdgDataHome);
  // Where Gorvane's own copy of the game's bundle is looked for without
  // TARNBOOK_GAME_APP: the folder DemoGame beside the program (inside
  // Gorvane.app once installed). A bundle counts when it holds minecraft.ttf.
  static std::vector<std::string> installedBundleFolders(const std::string& programFolder);

 private:
  TBKFileSource() = default;
};
