#pragma once

#include <string>

// Where the game lives on this machine. The desktop stands in for the
// device's application folders with two environment variables, read afresh
// on every call:
//   TARNBOOK_GAME_APP      the game's application bundle (minecraft.ttf, data/)
//   TARNBOOK_GAME_SANDBOX  the game's data container (Documents/games/com.mojang)
// A variable that is unset, or names no folder, raises TBKException
// (SetupFailure) whose reason names the variable to set.
class TBKFileSource {
public:
    static TBKFileSource& sharedSource();

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
