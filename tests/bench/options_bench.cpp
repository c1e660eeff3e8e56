// One change on the options screen: the whole options file read, one value
// replaced, the file replaced atomically. Beside it, the floor any atomic
// replacement pays on the same disk: the bare write, fsync and rename of the
// same number of bytes. The budget is 1 ms a change; read the median.
// Each runs on the disk of the temporary folder, where the fsyncs cost what
// the disk makes them cost.
//
// Today's game keeps 400 to 520 keys: a change to a 520-key file, which is
// read whole into its settings before it is written, beside the bare
// atomic write (with the folder's fsync) of the same bytes, in turns.
//
//   build/bin/options_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "InTurns.h"
#include "TodaysOptions.h"
#include "records/OptionsFile.h"

namespace fs = std::filesystem;

namespace {

// An early game's file of about 4 KB: the game's usual keys and enough
// others after them, the edited key first as in the game's file.
std::string earlyFile() {
  std::string text = "mp_username:Steve\ngame_difficulty:2\ngame_thirdperson:0\nctrl_sensitivity:0.5\n";
  for (int i = 0; text.size() < 4096 - 64; ++i)
    text += "option_number_" + std::to_string(i) + ":" + std::to_string(i % 7) + "\n";
  const std::string last = "zz_padding:";
  text += last + std::string(4096 - text.size() - last.size() - 1, 'x') + "\n";
  return text;
}

// A sandbox holding an options file.
class OptionsSandbox {
 public:
  explicit OptionsSandbox(std::string text = earlyFile()) {
    std::string pattern = (fs::temp_directory_path() / "gorvane-options-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
    folder_ = root_ / "Documents/games/com.mojang/minecraftpe";
    fs::create_directories(folder_);
    text_ = text;
    std::ofstream(folder_ / "options.txt", std::ios::binary) << text;
    ::setenv("TARNBOOK_GAME_SANDBOX", root_.c_str(), 1);
  }
  ~OptionsSandbox() {
    ::unsetenv("TARNBOOK_GAME_SANDBOX");
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  const fs::path& folder() const { return folder_; }
  const std::string& text() const { return text_; }

 private:
  fs::path root_;
  fs::path folder_;
  std::string text_;
};

void BM_OptionsChange(benchmark::State& state) {
  OptionsSandbox sandbox;
  // The first change of a run also keeps a backup; the screen pays that once.
  const OptionsFile options;
  if (options.write("mp_username", "Alex", OptionsFile::Edit::Early)) state.SkipWithError("the value was not written");
  bool other = false;
  for (auto _ : state) {
    other = !other;
    if (options.write("mp_username", other ? "Builder" : "Alex", OptionsFile::Edit::Early)) {
      state.SkipWithError("the value was not written");
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sandbox.text().size()));
}

// The bare write, fsync and rename of bytes as folder's options file.
// syncFolder adds the fsync of the folder that makes the rename itself
// durable, which a change also pays. False when any step failed.
bool replaceBare(const fs::path& folder, const std::string& bytes, bool syncFolder) {
  std::string path = (folder / "options.txt").string();
  std::string temporary = path + ".tmp";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool written = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) && ::fsync(fd) == 0;
  if (fd >= 0) ::close(fd);
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) return false;
  if (!syncFolder) return true;
  int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  bool synced = handle >= 0 && ::fsync(handle) == 0;
  if (handle >= 0) ::close(handle);
  return synced;
}

void BM_BareAtomicWrite4KB(benchmark::State& state) {
  OptionsSandbox sandbox;
  for (auto _ : state) {
    if (!replaceBare(sandbox.folder(), sandbox.text(), false)) state.SkipWithError("the bare write failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sandbox.text().size()));
}

// A change to today's 520-key file beside the bare atomic write of the same
// bytes, timed in turns. Difficulty goes from Normal to Hard and back, in
// the middle of the file's first settings, as the screen writes it.
struct TodaysChange {
  std::string error;
  std::vector<double> change, bare;
};

constexpr int todaysRounds = 9;

const TodaysChange& todaysChangeInTurns() {
  static const TodaysChange result = [] {
    TodaysChange made;
    OptionsSandbox bare(todaysOptionsFile(520));
    // Made last, so it is the file the options find.
    OptionsSandbox changed(todaysOptionsFile(520));
    const OptionsFile options;
    bool other = false;
    auto change = [&] {
      other = !other;
      return inturns::secondsOf([&] {
        if (options.write("game_difficulty_new", other ? "2" : "3", OptionsFile::Edit::Checked)) {
          made.error = "the value was not written";
        }
      });
    };
    auto write = [&] {
      return inturns::secondsOf([&] {
        if (!replaceBare(bare.folder(), bare.text(), true)) made.error = "the bare write failed";
      });
    };
    // The first change of a run also keeps a backup; the screen pays that once.
    change();
    auto means = inturns::time(todaysRounds, 20, {write, change});
    made.bare = std::move(means[0]);
    made.change = std::move(means[1]);
    return made;
  }();
  return result;
}

void reportTodays(benchmark::State& state, const std::vector<double> TodaysChange::*side, size_t& repetition) {
  const TodaysChange& runs = todaysChangeInTurns();
  inturns::report(state, runs.*side, repetition, runs.error);
}

void BM_TodaysOptionsChange520Keys(benchmark::State& state) {
  static size_t repetition = 0;
  reportTodays(state, &TodaysChange::change, repetition);
}
void BM_BareAtomicWrite520KeysAndFolderSync(benchmark::State& state) {
  static size_t repetition = 0;
  reportTodays(state, &TodaysChange::bare, repetition);
}

BENCHMARK(BM_OptionsChange)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BareAtomicWrite4KB)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_TodaysOptionsChange520Keys)->Apply(inturns::inRounds<todaysRounds>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareAtomicWrite520KeysAndFolderSync)
    ->Apply(inturns::inRounds<todaysRounds>)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
