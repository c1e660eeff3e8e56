// Prints a world's name and game mode as the tests' own reader sees them, for
// scripts that check a world edited by the installed program.
#include <cstdio>
#include <exception>

#include "WorldReader.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: print_level <world folder>\n");
    return 2;
  }
  try {
    auto level = worldreader::readLevelDat(std::filesystem::path(argv[1]) / "level.dat");
    std::printf("LevelName=%s\nGameType=%lld\n", level.root.string("LevelName").c_str(),
                static_cast<long long>(level.root.number("GameType")));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "print_level: %s\n", error.what());
    return 1;
  }
}
