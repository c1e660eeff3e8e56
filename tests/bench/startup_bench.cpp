// Start-up to the first painted frame on the offscreen platform, each run a
// fresh process: a bare Qt window (the baseline), the platform with one view,
// and Gorvane up to its menu on a copy of the demo game. Each program writes
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
    if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("UI_BENCH_FIRST_FRAME=", 0) != 0) env.push_back(entry);
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

void measure(benchmark::State& state, const fs::path& program, const std::vector<std::string>& args,
             const std::vector<std::string>& env) {
  if (!fs::exists(program)) {
    state.SkipWithError(("not built: " + program.string()).c_str());
    return;
  }
  long rss = 0;
  for (auto _ : state) {
    double seconds = runToFirstFrame(program, args, env, rss);
    if (seconds < 0) {
      state.SkipWithError("the program did not reach its first frame");
      return;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["rss_MiB"] = double(rss) / 1024.0;
}

void BM_EmptyQtWindow(benchmark::State& state) {
  fs::path font = sourceDirectory() / "demo/app/minecraft.ttf";
  measure(state, binDirectory() / "empty_qt_window_probe", {font.string()}, {});
}

void BM_PlatformOneView(benchmark::State& state) { measure(state, binDirectory() / "one_view_probe", {}, {}); }

void BM_GorvaneToMenu(benchmark::State& state) {
  fs::path scratch = fs::temp_directory_path() / ("gorvane-bench-" + std::to_string(getpid()));
  fs::remove_all(scratch);
  fs::copy(sourceDirectory() / "demo", scratch, fs::copy_options::recursive);
  // The program itself with the probes' first-frame report linked in; the
  // shipped gorvane has no such report.
  measure(
      state, binDirectory() / "gorvane_startup_probe", {},
      {"TARNBOOK_GAME_APP=" + (scratch / "app").string(), "TARNBOOK_GAME_SANDBOX=" + (scratch / "sandbox").string()});
  fs::remove_all(scratch);
}

}  // namespace

BENCHMARK(BM_EmptyQtWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PlatformOneView)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_GorvaneToMenu)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
