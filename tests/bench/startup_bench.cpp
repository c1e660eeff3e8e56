// Start-up to the first painted frame on the offscreen platform, each run a
// fresh process: a bare Qt window (the baseline), the platform with one view,
// and Gorvane up to its menu on a copy of the demo game, run in turns. Each program writes
// its resident memory to the file UI_BENCH_FIRST_FRAME names at its first
// frame and ends (the probes' first-frame report, platform/bench).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "InTurns.h"

extern char** environ;

namespace {
namespace fs = std::filesystem;

fs::path binDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

fs::path sourceDirectory() {
  const char* dir = std::getenv("GORVANE_SOURCE_DIR");
  return dir ? fs::path(dir) : binDirectory().parent_path().parent_path();
}

// Runs `program` until it reports its first frame; returns seconds and sets
// the resident memory it had then.
double runToFirstFrame(const fs::path& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& extraEnvironment, long& rssKb) {
  fs::path report = fs::temp_directory_path() / ("first-frame-" + std::to_string(getpid()));
  fs::remove(report);
  std::vector<std::string> env = extraEnvironment;
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("UI_BENCH_FIRST_FRAME=" + report.string());
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    bool given = entry.rfind("QT_QPA_PLATFORM=", 0) == 0 || entry.rfind("UI_BENCH_FIRST_FRAME=", 0) == 0;
    for (const auto& extra : extraEnvironment)
      given = given || entry.rfind(extra.substr(0, extra.find('=') + 1), 0) == 0;
    if (!given) env.push_back(entry);
  }
  std::vector<char*> envp, argv;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string name = program.string();
  argv.push_back(name.data());
  std::vector<std::string> argsCopy = args;
  for (auto& a : argsCopy) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  auto start = std::chrono::steady_clock::now();
  pid_t pid;
  if (posix_spawn(&pid, name.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  std::ifstream in(report);
  rssKb = 0;
  in >> rssKb;
  fs::remove(report);
  return (WIFEXITED(status) && WEXITSTATUS(status) == 0 && rssKb > 0) ? seconds : -1;
}

struct Program {
  fs::path path;
  std::vector<std::string> args, env;
};

struct Runs {
  std::string error;            // why a program did not reach its first frame
  std::vector<double> seconds;  // one per round
  long rssKb = 0;
};

constexpr int rounds = 20;

// Every program's runs, made once in turns (the bare window, the one view,
// Gorvane, then again): a load that comes and goes while the benchmark runs
// weighs on each alike, so their ratio compares like with like. Each
// benchmark then reports its own program's runs, one per repetition.
const std::vector<Runs>& runsInTurns() {
  static const std::vector<Runs> runs = [] {
    fs::path font = sourceDirectory() / "demo/app/minecraft.ttf";
    fs::path scratch = fs::temp_directory_path() / ("gorvane-bench-" + std::to_string(getpid()));
    fs::remove_all(scratch);
    fs::copy(sourceDirectory() / "demo", scratch, fs::copy_options::recursive);
    // Its own home, so the pictures the first round keeps for the next
    // (every start after a user's first) go with the scratch folder.
    fs::create_directories(scratch / "home");
    // Gorvane itself with the probes' first-frame report linked in; the
    // shipped gorvane has no such report.
    std::vector<Program> programs = {
        {binDirectory() / "empty_qt_window_probe", {font.string()}, {}},
        {binDirectory() / "one_view_probe", {}, {}},
        {binDirectory() / "gorvane_startup_probe",
         {},
         {"TARNBOOK_GAME_APP=" + (scratch / "app").string(), "TARNBOOK_GAME_SANDBOX=" + (scratch / "sandbox").string(),
          "HOME=" + (scratch / "home").string()}}};
    std::vector<Runs> result(programs.size());
    for (size_t p = 0; p < programs.size(); ++p) {
      if (!fs::exists(programs[p].path)) result[p].error = "not built: " + programs[p].path.string();
    }
    for (int round = 0; round < rounds; ++round) {
      for (size_t p = 0; p < programs.size(); ++p) {
        if (!result[p].error.empty()) continue;
        double seconds = runToFirstFrame(programs[p].path, programs[p].args, programs[p].env, result[p].rssKb);
        if (seconds < 0) result[p].error = "the program did not reach its first frame";
        result[p].seconds.push_back(seconds);
      }
    }
    fs::remove_all(scratch);
    return result;
  }();
  return runs;
}

void report(benchmark::State& state, size_t program) {
  const Runs& runs = runsInTurns()[program];
  static size_t repetition[3] = {};
  inturns::report(state, runs.seconds, repetition[program], runs.error);
  state.counters["rss_MiB"] = double(runs.rssKb) / 1024.0;
}

void BM_EmptyQtWindow(benchmark::State& state) { report(state, 0); }
void BM_PlatformOneView(benchmark::State& state) { report(state, 1); }
void BM_GorvaneToMenu(benchmark::State& state) { report(state, 2); }

}  // namespace

BENCHMARK(BM_EmptyQtWindow)->Apply(inturns::inRounds<rounds>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlatformOneView)->Apply(inturns::inRounds<rounds>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GorvaneToMenu)->Apply(inturns::inRounds<rounds>)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
