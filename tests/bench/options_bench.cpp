// One change on the options screen: the whole options file read, one value
// replaced, the file replaced atomically. Beside it, the floor any atomic
// replacement pays on the same disk: the bare write, fsync and rename of the
// same number of bytes. The budget is 1 ms a change; read the median.
// Each runs on the disk of the temporary folder, where the fsyncs cost what
// the disk makes them cost.
//
// Today's game keeps 400 to 520 keys: a change to a 520-key file, which is
// read whole into its settings before it is written, beside the bare
// atomic write (with the folder's fsync) of the same bytes.
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

// syncFolder adds the fsync of the folder that makes the rename itself
// durable, which a change also pays.
void replaceBare(benchmark::State& state, bool syncFolder, std::string text = earlyFile()) {
  OptionsSandbox sandbox(std::move(text));
  std::string path = (sandbox.folder() / "options.txt").string();
  std::string temporary = path + ".tmp";
  const std::string& bytes = sandbox.text();
  for (auto _ : state) {
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || ::fsync(fd) != 0) {
      state.SkipWithError("write failed");
    }
    ::close(fd);
    if (::rename(temporary.c_str(), path.c_str()) != 0) state.SkipWithError("rename failed");
    if (syncFolder) {
      int folder = ::open(sandbox.folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (folder < 0 || ::fsync(folder) != 0) state.SkipWithError("folder fsync failed");
      ::close(folder);
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

// Difficulty goes from Normal to Hard and back, in the middle of the file's
// first settings, as the screen writes it.
void BM_TodaysOptionsChange520Keys(benchmark::State& state) {
  OptionsSandbox sandbox(todaysOptionsFile(520));
  const OptionsFile options;
  if (options.write("game_difficulty_new", "3", OptionsFile::Edit::Checked)) {
    state.SkipWithError("the value was not written");
  }
  bool other = false;
  for (auto _ : state) {
    other = !other;
    if (options.write("game_difficulty_new", other ? "2" : "3", OptionsFile::Edit::Checked)) {
      state.SkipWithError("the value was not written");
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sandbox.text().size()));
}

void BM_BareAtomicWrite520KeysAndFolderSync(benchmark::State& state) {
  replaceBare(state, true, todaysOptionsFile(520));
}
void BM_BareAtomicWrite4KB(benchmark::State& state) { replaceBare(state, false); }
BENCHMARK(BM_OptionsChange)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BareAtomicWrite4KB)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_TodaysOptionsChange520Keys)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BareAtomicWrite520KeysAndFolderSync)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
