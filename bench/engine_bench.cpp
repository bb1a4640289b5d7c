// SPDX-License-Identifier: GPL-3.0-or-later
// Engine speed: board generation, single computer moves, whole games, taking a choice back;
// and the literal copy-based players on the same positions, for the speed-up.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "ReferencePlayers.h"
#include "engine/UnitCore.h"

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::micro>(b - a).count();
}

// CPU time of this thread: on a shared 2-core machine a single move is often preempted, and
// the wall clock then measures the neighbours' work.
double ThreadMicros() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

double ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  double size = 0, resident = 0;
  statm >> size >> resident;
  return resident * double(sysconf(_SC_PAGESIZE)) / 1024.0;
}

// The end of a game is the window's business (results, stop): a game ends at the results.
struct BenchServices : TNullWindowServices {
  bool deferEnd = false, ended = false;
  void StopGameAtEnd() override {
    ended = true;
    if (!deferEnd) TNullWindowServices::StopGameAtEnd();
  }
};

struct Game {
  BenchServices services;
  TMorvikMachine m{&services};
  Game(int w, int h, std::array<int, 5> levels, int32_t layout, bool byArea = true) {
    services.machine = &m;
    services.victoryByArea = byArea;
    m.OnChangeGamer = [](uint8_t) {};
    m.OnChangeStateColor = [](uint8_t) {};
    m.SetSizeMap(uint8_t(w), uint8_t(h));
    m.SetSizeTile(1);
    for (int s = 1; s <= 4; ++s)
      m.SetGamer(s, levels[s] ? gkComputer : gkNone, uint8_t(levels[s]), "C", 0);
    m.SetCodeGame(layout);
  }
};

void BM_GenerateTilesAndIslands_255x255(benchmark::State& state) {
  Game g(255, 255, {0, 1, 0, 0, 1}, 12345);
  for (auto _ : state) {
    state.PauseTiming();
    g.m.Map.reset();  // releasing the previous board is not part of generating
    g.m.Map = std::make_unique<TMap>();
    state.ResumeTiming();
    g.m.GenerateTiles();
    g.m.GenerateIslands();
    benchmark::DoNotOptimize(g.m.Map->Islands.data());
  }
  state.counters["islands"] = double(g.m.Map->Islands.size());
}
BENCHMARK(BM_GenerateTilesAndIslands_255x255)->Unit(benchmark::kMillisecond);

// A whole game, start to final distribution.
void WholeGame(benchmark::State& state, int w, int h, std::array<int, 5> levels) {
  int32_t layout = 1000;
  size_t moves = 0;
  for (auto _ : state) {
    Game g(w, h, levels, layout++);
    g.m.OnMakeMove = [&](uint8_t, uint8_t) { ++moves; };
    g.m.StartGame();
    g.m.RunStartLoop();
  }
  state.counters["moves/game"] = double(moves) / double(state.iterations());
}

void BM_WholeGame_FourHard_255x255(benchmark::State& state) {
  WholeGame(state, 255, 255, {0, 3, 3, 3, 3});
}
BENCHMARK(BM_WholeGame_FourHard_255x255)->Unit(benchmark::kMillisecond);

// Two computers of level range(0) against each other.
void BM_WholeGame_TwoComputers_50x25(benchmark::State& state) {
  const int l = int(state.range(0));
  WholeGame(state, 50, 25, {0, l, 0, 0, l});
}
BENCHMARK(BM_WholeGame_TwoComputers_50x25)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// Every computer move of a whole 255 x 255 game of four seats of one level: median and slowest.
void BM_ComputerMove_255x255(benchmark::State& state) {
  const int l = int(state.range(0));
  int32_t layout = 2000;
  std::vector<double> all, wall;
  for (auto _ : state) {
    state.PauseTiming();
    Game g(255, 255, {0, l, l, l, l}, layout++);
    g.services.deferEnd = true;  // the move ends with the distribution and the results
    g.m.StartGame();
    state.ResumeTiming();
    while (!g.services.ended) {
      const auto a = Clock::now();
      const double c = ThreadMicros();
      g.m.ComputerTurn();
      all.push_back(ThreadMicros() - c);
      wall.push_back(Micros(a, Clock::now()));
      if (!g.services.ended) g.m.NextGamer();
    }
    state.PauseTiming();
    g.m.EndGame();
    state.ResumeTiming();
  }
  std::sort(all.begin(), all.end());
  std::sort(wall.begin(), wall.end());
  state.counters["cpu_median_us"] = all[all.size() / 2];
  state.counters["cpu_max_us"] = all.back();
  state.counters["wall_median_us"] = wall[wall.size() / 2];
  state.counters["wall_max_us"] = wall.back();
  state.counters["moves"] = double(all.size());
}
BENCHMARK(BM_ComputerMove_255x255)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// Every move of the master level ("Мастер", level 4) in whole games on one board size: CPU
// median and slowest move, and the most positions one move looked at. Other seats play too
// but are not timed.
void MasterMoves(benchmark::State& state, int w, int h, std::array<int, 5> levels, int games) {
  int32_t layout = 3000;
  std::vector<double> cpu;
  uint32_t positions = 0;
  for (auto _ : state) {
    for (int i = 0; i < games; ++i) {
      Game g(w, h, levels, layout++);
      g.services.deferEnd = true;
      g.m.StartGame();
      while (!g.services.ended) {
        const bool master = g.m.Gamers[g.m.CurrentGamer].Level == 4;
        const double c = ThreadMicros();
        g.m.ComputerTurn();
        if (master) cpu.push_back(ThreadMicros() - c);
        if (master) positions = std::max(positions, g.m.MasterPositions);
        if (!g.services.ended) g.m.NextGamer();
      }
      g.m.EndGame();
    }
  }
  std::sort(cpu.begin(), cpu.end());
  state.counters["cpu_median_us"] = cpu[cpu.size() / 2];
  state.counters["cpu_max_us"] = cpu.back();
  state.counters["moves"] = double(cpu.size());
  state.counters["max_positions"] = double(positions);
}
void BM_MasterMove_50x25(benchmark::State& state) {
  MasterMoves(state, 50, 25, {0, 4, 0, 0, 3}, 10);
}
BENCHMARK(BM_MasterMove_50x25)->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_MasterMove_100x50(benchmark::State& state) {
  MasterMoves(state, 100, 50, {0, 3, 0, 0, 4}, 10);
}
BENCHMARK(BM_MasterMove_100x50)->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_MasterMove_FourSeats_100x50(benchmark::State& state) {
  MasterMoves(state, 100, 50, {0, 2, 4, 2, 2}, 5);
}
BENCHMARK(BM_MasterMove_FourSeats_100x50)->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_MasterMove_255x255(benchmark::State& state) {
  MasterMoves(state, 255, 255, {0, 4, 0, 0, 3}, 1);
}
BENCHMARK(BM_MasterMove_255x255)->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_MasterMove_FourMasters_255x255(benchmark::State& state) {
  MasterMoves(state, 255, 255, {0, 4, 4, 4, 4}, 1);
}
BENCHMARK(BM_MasterMove_FourMasters_255x255)->Iterations(1)->Unit(benchmark::kMillisecond);

// "Подсказка" on 100 x 50: a person who always takes the hinted colour against a hard
// computer; CPU median and slowest hint over every choice of a few games.
void BM_Hint_100x50(benchmark::State& state) {
  std::vector<double> cpu;
  int32_t layout = 3000;
  for (auto _ : state) {
    for (int i = 0; i < 5; ++i) {
      Game g(100, 50, {0, 0, 0, 0, 3}, layout++);
      g.m.SetGamer(1, gkHuman, 0, "P", 0);
      g.m.StartGame();
      g.m.RunStartLoop();
      while (g.m.Active && g.m.AwaitingHuman) {
        const double c = ThreadMicros();
        const uint8_t k = g.m.Hint(g.m.CurrentGamer).Color;
        cpu.push_back(ThreadMicros() - c);
        g.m.TakeHumanColor(k);
      }
    }
  }
  std::sort(cpu.begin(), cpu.end());
  state.counters["cpu_median_us"] = cpu[cpu.size() / 2];
  state.counters["cpu_max_us"] = cpu.back();
  state.counters["hints"] = double(cpu.size());
}
BENCHMARK(BM_Hint_100x50)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same positions answered by the fast players and by the literal copy-based ones.
void ReferenceSpeedup(benchmark::State& state, int w, int h, int samples) {
  const int l = int(state.range(0));
  double fast = 0, literal = 0;
  int positions = 0;
  for (auto _ : state) {
    Game g(w, h, {0, l, 0, 0, l}, 3000);
    g.m.StartGame();
    int move = 0;
    const int every = w * h / 40 / samples + 1;
    while (g.m.Active) {
      if (move % every == 0) {
        const uint32_t seed = GetRandSeed();
        auto a = Clock::now();
        const uint8_t x = l == 1 ? g.m.BrainEasy() : l == 2 ? g.m.BrainModerate() : g.m.BrainHard();
        auto b = Clock::now();
        SetRandSeed(seed);
        const uint8_t y = l == 1   ? reference::BrainEasy(g.m, *g.m.Map, true)
                          : l == 2 ? reference::BrainModerate(g.m, *g.m.Map, true)
                                   : reference::BrainHard(g.m, *g.m.Map, true);
        auto c = Clock::now();
        SetRandSeed(seed);
        if (x != y) state.SkipWithError("fast and literal players disagree");
        fast += Micros(a, b);
        literal += Micros(b, c);
        ++positions;
      }
      g.m.ComputerTurn();
      if (g.m.Active) g.m.NextGamer();
      ++move;
    }
  }
  state.counters["positions"] = positions;
  state.counters["fast_us/position"] = fast / positions;
  state.counters["literal_us/position"] = literal / positions;
  state.counters["speedup"] = literal / std::max(fast, 1e-3);
}

void BM_ReferenceSpeedup_255x255(benchmark::State& state) {
  ReferenceSpeedup(state, 255, 255, 12);
}
BENCHMARK(BM_ReferenceSpeedup_255x255)
    ->DenseRange(1, 3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_ReferenceSpeedup_50x25(benchmark::State& state) {
  ReferenceSpeedup(state, 50, 25, 30);
}
BENCHMARK(BM_ReferenceSpeedup_50x25)
    ->DenseRange(1, 3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Taking back the person's last choice on 255 x 255: one person (playing the hard player's
// colours) against range(0) hard computers, taken back at range(1) per cent of the person's
// choices of the whole game, then chosen again untimed so that every iteration takes back the
// same choice.
void BM_TakeBack_255x255(benchmark::State& state) {
  const int computers = int(state.range(0)), percent = int(state.range(1));
  std::array<int, 5> levels{0, 0, 3, 3, 3};
  for (int s = computers + 1; s < 4; ++s) levels[size_t(s)] = 0;
  auto setUp = [&](Game& g) {
    g.m.SetGamer(1, gkHuman, 0, "P", 0);
    g.m.StartGame();
    g.m.RunStartLoop();
  };
  auto choose = [](Game& g) {
    const uint8_t k = g.m.Hint(g.m.CurrentGamer).Color;
    g.m.TakeHumanColor(k);
    return k;
  };
  int total = 0;
  {
    Game whole(255, 255, levels, 4000);
    setUp(whole);
    while (whole.m.Active) choose(whole), ++total;
  }
  Game g(255, 255, levels, 4000);
  size_t moves = 0;
  g.m.OnMakeMove = [&](uint8_t, uint8_t) { ++moves; };
  setUp(g);
  uint8_t last = 0;
  for (int i = 0; i < total * percent / 100; ++i) last = choose(g);
  const size_t movesBefore = moves;
  const double residentBefore = ResidentKiB();
  for (auto _ : state) {
    if (!g.m.TakeBack()) state.SkipWithError("nothing to take back");
    state.PauseTiming();
    g.m.TakeHumanColor(last);
    state.ResumeTiming();
  }
  int owned = 0;
  for (int s = 1; s <= 4; ++s) owned += g.m.Map->Scores[size_t(s)].Area;
  // Memory stays flat however often a choice is taken back and made again.
  state.counters["resident_growth_KiB"] = ResidentKiB() - residentBefore;
  state.counters["moves_replayed"] = double(movesBefore);
  state.counters["owned_%"] = 100.0 * owned / (255 * 255);
}
BENCHMARK(BM_TakeBack_255x255)
    ->Args({1, 50})
    ->Args({1, 95})
    ->Args({3, 50})
    ->Args({3, 95})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
