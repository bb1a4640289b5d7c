// SPDX-License-Identifier: GPL-3.0-or-later
// A game of four computers on the largest board a 1920 x 1080 screen allows (190 x 93, tile 10),
// played in the real window (offscreen): the longest time the window goes without handling its
// events is the longest gap between two announcements of a turn, which let pending events run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "ScriptedMessages.h"
#include "TestPlatform.h"
#include "dialogs/UnitSettings.h"
#include "window/UnitGame.h"

namespace {

class TBenchGame : public TFormGame {
 public:
  using TFormGame::TFormGame;
  uint8_t level = 1;

 protected:
  bool TestMultiUserCondition() override { return true; }
  void FillMultiUserSeats() override {
    for (int s = 1; s <= 4; ++s)
      Machine().SetGamer(s, gkComputer, level, "Компьютер №" + std::to_string(s), 0);
  }
};

using Clock = std::chrono::steady_clock;

void BM_ComputerTurnGap(benchmark::State& state) {
  QTemporaryDir dir;
  const TTestPlatform platform(dir.path());
  TScriptedMessages messages;
  TBenchGame form(&messages, platform);
  // The window locks its options while a game runs, as in the program.
  TGameDialogs dialogs;
  dialogs.Settings = new TFormSettings(form, form.IniFile(), messages, form.State(), form.Music(),
                                       platform, &form);
  form.SetDialogs(dialogs);
  form.level = uint8_t(state.range(0));
  form.ApplyDefaultOptions();
  form.State().Options.SelectOptions &= uint8_t(~soAutostart);
  form.State().MultiUserMode = true;
  form.Machine().SetSizeMap(190, 93);
  form.Machine().SetSizeTile(10);
  form.SetSizeWindow();
  form.show();

  std::vector<double> gaps;
  double startMs = 0;
  Clock::time_point last;
  bool first = true;
  Clock::time_point begin;
  form.Machine().OnChangeGamer = [&](uint8_t previous) {
    const auto now = Clock::now();
    if (first) {
      startMs = std::chrono::duration<double, std::milli>(now - begin).count();
      first = false;
    } else {
      gaps.push_back(std::chrono::duration<double, std::milli>(now - last).count());
    }
    form.OnChangeGamer(previous);  // draws the two territories and lets events run
    last = Clock::now();
  };
  int code = 1;
  double endMs = 0;
  for (auto _ : state) {
    form.Machine().SetCodeGame(code++);
    first = true;
    begin = Clock::now();
    form.actMenuStartGame->trigger();  // plays the whole game
    // The last move, the sharing out of the rest and the stop run without a turn change.
    endMs = std::chrono::duration<double, std::milli>(Clock::now() - last).count();
  }
  std::sort(gaps.begin(), gaps.end());
  state.counters["turns"] = double(gaps.size());
  state.counters["max_gap_ms"] = gaps.empty() ? 0 : gaps.back();
  state.counters["median_gap_ms"] = gaps.empty() ? 0 : gaps[gaps.size() / 2];
  state.counters["start_ms"] = startMs;
  state.counters["end_ms"] = endMs;
}
BENCHMARK(BM_ComputerTurnGap)->Arg(1)->Arg(2)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
