// SPDX-License-Identifier: GPL-3.0-or-later
// Game records on the largest board: opening a four-seat 255 x 255 record (reading checks every
// move by replay) and jumping to its end, and one step back from the end (a replay from the
// layout).
#include <benchmark/benchmark.h>

#include "model/GameRecord.h"

namespace {

struct TBenchGame : TNullWindowServices {
  TMorvikMachine m{this};
  TGameRecorder recorder{m};
  TGameRecord record;
  void ShowResults() override { record = recorder.Record(true); }
};

// One seeded game of four computer seats, made once.
const std::string& LargeRecordText() {
  static const std::string text = [] {
    TBenchGame g;
    g.machine = &g.m;
    g.m.OnChangeGamer = [](uint8_t) {};
    g.m.OnChangeStateColor = [](uint8_t) {};
    g.m.SetSizeMap(255, 255);
    g.m.SetSizeTile(1);
    g.m.SetCodeGame(20240607);
    const uint8_t levels[5] = {0, 3, 2, 1, 3};
    for (int s = 1; s <= 4; ++s)
      g.m.SetGamer(s, gkComputer, levels[s], "Компьютер №" + std::to_string(s), 0);
    g.m.StartGame();
    g.recorder.GameStarted(true, true, true);
    g.m.RunStartLoop();
    return WriteGameRecord(g.record);
  }();
  return text;
}

void BM_OpenRecordAndJumpToEnd_255x255(benchmark::State& state) {
  const std::string& text = LargeRecordText();
  size_t moves = 0;
  for (auto _ : state) {
    TRecordRead read = ReadGameRecord(text, "large.morvik");
    if (!read.Record) state.SkipWithError(read.Error.c_str());
    TGameReplay replay(std::move(*read.Record));
    replay.Seek(SIZE_MAX);
    moves = replay.Position();
    benchmark::DoNotOptimize(replay.Machine().Map.get());
  }
  state.counters["moves"] = double(moves);
  state.counters["bytes"] = double(text.size());
}
BENCHMARK(BM_OpenRecordAndJumpToEnd_255x255)->Unit(benchmark::kMillisecond);

void BM_StepBackFromTheEnd_255x255(benchmark::State& state) {
  TRecordRead read = ReadGameRecord(LargeRecordText(), "large.morvik");
  TGameReplay replay(std::move(*read.Record));
  const size_t n = replay.Length();
  for (auto _ : state) {
    state.PauseTiming();
    replay.Seek(n);
    state.ResumeTiming();
    replay.Seek(n - 1);
  }
}
BENCHMARK(BM_StepBackFromTheEnd_255x255)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
