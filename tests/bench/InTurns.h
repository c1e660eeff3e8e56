#pragma once

// Pieces of work timed in turns: a round of runs of each, one after the
// other, again and again. A load on the machine that comes and goes then
// weighs on all of them alike, so the ratio of one to another compares like
// with like. Each piece's benchmark then reports one round's mean per
// repetition: register it with inturns::inRounds.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace inturns {

// One run of a piece of work: the seconds it took. Work it does outside
// the clock (undoing what it made) is its own to leave out.
using Run = std::function<double()>;

// The seconds body takes.
template <typename Body>
double secondsOf(Body&& body) {
  auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// For each piece, the mean seconds of a run in each round.
inline std::vector<std::vector<double>> time(int rounds, int runsPerRound, const std::vector<Run>& pieces) {
  std::vector<std::vector<double>> means(pieces.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t piece = 0; piece < pieces.size(); ++piece) {
      double total = 0;
      for (int run = 0; run < runsPerRound; ++run) total += pieces[piece]();
      means[piece].push_back(total / runsPerRound);
    }
  }
  return means;
}

// Reports the next of seconds (one round's mean) as this repetition's time;
// repetition counts the repetitions so far of the benchmark calling it. A
// non-empty error (why the runs went wrong) skips the benchmark instead.
inline void report(benchmark::State& state, const std::vector<double>& seconds, size_t& repetition,
                   const std::string& error = {}) {
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) state.SetIterationTime(seconds[repetition++ % seconds.size()]);
}

// One repetition per round, each a single iteration timed by report:
// BENCHMARK(BM_X)->Apply(inturns::inRounds<rounds>).
template <int rounds>
void inRounds(benchmark::internal::Benchmark* benchmark) {
  benchmark->UseManualTime()->Iterations(1)->Repetitions(rounds)->ReportAggregatesOnly(true);
}

}  // namespace inturns
