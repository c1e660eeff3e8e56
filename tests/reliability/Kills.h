#pragma once

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

// Kills a writer at random moments and judges what it left behind.
//
// One kind of write is run `kills` times, each time in a fresh child process
// that makes exactly one change and exits. The parent sends SIGKILL after a
// random delay, uniform over the time an unhindered child takes (measured
// first), then asks `check` whether the files are in a state the change
// allows: the old one or the new one, whole.
struct KillKind {
  std::string name;
  // Runs in the child: makes change number `round`.
  std::function<void(int round)> write;
  // Runs in the parent after each round; returns "" when what is on disk is
  // the state before round `round` or after it, else what is wrong.
  std::function<std::string(int round)> check;
  // Where leftovers of an interrupted write could lie (searched recursively).
  std::filesystem::path folder;
};

struct KillResult {
  std::string kind;
  int rounds = 0;
  int killedMidway = 0;  // killed before the child finished
  int finished = 0;      // the child was done before the kill
  int faults = 0;
  int leftovers = 0;  // rounds after which a temporary file was left
  double childMilliseconds = 0;
  std::vector<std::string> firstFaults;
};

KillResult runKills(const KillKind& kind, int rounds, std::mt19937_64& random);
