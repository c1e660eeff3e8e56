#pragma once

#include <optional>
#include <string>

// Where the game lives on this machine. The desktop stands in for the
// device's application folders with two environment variables, read afresh
// on every call:
//   TARNBOOK_GAME_APP      the game's application bundle (minecraft.ttf, data/)
//   TARNBOOK_GAME_SANDBOX  the game's data container (Documents/games/com.mojang)
// A variable that is unset, or names no folder, raises TBKException
// (SetupFailure) whose reason names the variable to set.
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
    // no such file. A refusal raises TBKException with the reason.
    static std::optional<std::string> contentsOfFile(const std::string& path);

    std::string minecraftApp() const;
    std::string minecraftSandbox() const;

    // <sandbox>/Documents/games/com.mojang, the folder the game lock is held on.
    std::string gameDataFolder() const;
    // <sandbox>/Documents/games/com.mojang/minecraftWorlds
    std::string worldsFolder() const;
    // <sandbox>/Documents/games/com.mojang/gorvane-backups
    std::string backupsFolder() const;

private:
    TBKFileSource() = default;
};
