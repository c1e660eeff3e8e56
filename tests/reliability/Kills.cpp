#include "Kills.h"

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <iostream>

namespace {

pid_t startChild(const KillKind& kind, int round) {
  pid_t child = ::fork();
  if (child == 0) {
    int status = 0;
    try {
      kind.write(round);
    } catch (const std::exception& error) {
      std::cerr << kind.name << " round " << round << ": " << error.what() << "\n";
      status = 3;
    }
    ::_exit(status);  // no destructors, no atexit: the parent's objects are not ours
  }
  return child;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int countLeftovers(const std::filesystem::path& folder) {
  int count = 0;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    std::string name = it->path().filename().string();
    if (name.find(".gorvane-tmp") != std::string::npos || name.rfind(".incomplete-", 0) == 0) ++count;
  }
  return count;
}

}  // namespace

KillResult runKills(const KillKind& kind, int rounds, std::mt19937_64& random) {
  KillResult result;
  result.kind = kind.name;
  int round = 0;

  // How long one unhindered change takes, so the kills spread over all of it.
  std::vector<double> durations;
  for (int i = 0; i < 5; ++i, ++round) {
    auto start = std::chrono::steady_clock::now();
    pid_t child = startChild(kind, round);
    int status = 0;
    ::waitpid(child, &status, 0);
    durations.push_back(millisecondsSince(start));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      result.faults++;
      result.firstFaults.push_back("an unhindered change failed");
      return result;
    }
  }
  // The calibration's changes are the state the first kill starts from.
  std::string calibrated = kind.check(round - 1);
  if (!calibrated.empty()) {
    result.faults++;
    result.firstFaults.push_back("after the unhindered changes: " + calibrated);
    return result;
  }
  std::sort(durations.begin(), durations.end());
  result.childMilliseconds = durations[durations.size() / 2];
  std::uniform_real_distribution<double> delay(0, result.childMilliseconds * 1.1);

  for (int i = 0; i < rounds; ++i, ++round) {
    pid_t child = startChild(kind, round);
    double wait = delay(random);
    timespec pause{time_t(wait / 1000), long(std::fmod(wait, 1000.0) * 1e6)};
    ::nanosleep(&pause, nullptr);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.rounds++;
    if (WIFSIGNALED(status)) {
      result.killedMidway++;
    } else {
      result.finished++;
      if (WEXITSTATUS(status) != 0) {
        result.faults++;
        if (result.firstFaults.size() < 5)
          result.firstFaults.push_back("round " + std::to_string(round) + ": the change failed");
        continue;
      }
    }
    if (countLeftovers(kind.folder) > 0) result.leftovers++;
    std::string problem;
    try {
      problem = kind.check(round);
    } catch (const std::exception& error) {
      problem = error.what();
    }
    if (!problem.empty()) {
      result.faults++;
      if (result.firstFaults.size() < 5)
        result.firstFaults.push_back("round " + std::to_string(round) + ": " + problem);
    }
  }
  return result;
}
