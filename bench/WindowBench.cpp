// SPDX-License-Identifier: GPL-3.0-or-later
// A game of four computers on the largest board a 1920 x 1080 screen allows (190 x 93, tile 10),
// played in the real window (offscreen): the gaps between two announcements of a turn (which let
// pending events run), and the longest time the event loop went without handling a timer that
// asks every millisecond (the master level thinks off the window's thread and lets events run
// while it thinks, so for it that gap is far shorter than a turn).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "ScriptedMessages.h"
#include "TestPlatform.h"
#include "dialogs/UnitSettings.h"
#include "window/UnitGame.h"

namespace {

// Four computers of one level in every multi-user game; the rest goes to the window's dialogs.
class TBenchGame : public TFormGame, public TGameRoutes {
 public:
  using TFormGame::TFormGame;
  uint8_t level = 1;

  bool TestMultiUserCondition() override { return true; }
  void FillMultiUserSeats(TMorvikMachine& machine) override {
    for (int s = 1; s <= 4; ++s)
      machine.SetGamer(s, gkComputer, level, "Компьютер №" + std::to_string(s), 0);
  }
  void SettingsControlEnabled(bool enabled) override { Commands().SettingsControlEnabled(enabled); }
  void SaveActiveProfile() override { Commands().SaveActiveProfile(); }
  void ShowResultsDialog(const TGameEndRecord& record) override {
    Commands().ShowResultsDialog(record);
  }
  bool RecordAdded() override { return Commands().RecordAdded(); }
  void ShowHallOfFame() override { Commands().ShowHallOfFame(); }
};

using Clock = std::chrono::steady_clock;

// CPU time of this thread: tells a gap the window's thread spent working from one it spent
// waiting for a core on a busy machine.
double ThreadMillis() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void BM_ComputerTurnGap(benchmark::State& state) {
  QTemporaryDir dir;
  const TTestPlatform platform(dir.path());
  TScriptedMessages messages;
  TBenchGame form(&messages, platform);
  // The window locks its options while a game runs, as in the program.
  TGameDialogs dialogs;
  dialogs.Settings = new TFormSettings(form.Setup(), form.IniFile(), messages, form.State(),
                                       form.Music(), platform, &form);
  dialogs.Routes = &form;
  form.SetDialogs(dialogs);
  form.level = uint8_t(state.range(0));
  form.Setup().ApplyDefaultOptions();
  form.State().Options.SelectOptions &= uint8_t(~soAutostart);
  form.State().MultiUserMode = true;
  form.Machine().SetSizeMap(190, 93);
  form.Machine().SetSizeTile(10);
  form.SetSizeWindow();
  form.show();

  std::vector<double> gaps;
  // Every pass of the event loop handles this timer once it is due.
  // The first turn also shows the whole new board for the first time: apart, the longest gap
  // from the second turn on.
  double loopGap = 0, playGap = 0, loopGapCpu = 0, lastCpu = 0;
  int longGaps = 0, longGapTurn = -1;  // gaps over 50 ms; the turn of the longest
  Clock::time_point lastTick;
  double startMs = 0;
  Clock::time_point last;
  bool first = true;
  Clock::time_point begin;
  form.Machine().OnChangeGamer = [&](uint8_t previous) {
    const auto now = Clock::now();
    if (first) {
      startMs = std::chrono::duration<double, std::milli>(now - begin).count();
      first = false;
      loopGap = playGap = 0, longGaps = 0, lastTick = now;  // the board is ready: play begins
      lastCpu = ThreadMillis();
    } else {
      gaps.push_back(std::chrono::duration<double, std::milli>(now - last).count());
    }
    form.OnChangeGamer(previous);  // draws the two territories and lets events run
    last = Clock::now();
  };
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const auto now = Clock::now();
    const double gap = std::chrono::duration<double, std::milli>(now - lastTick).count();
    const double cpu = ThreadMillis();
    if (gap > loopGap) loopGap = gap, longGapTurn = int(gaps.size()), loopGapCpu = cpu - lastCpu;
    lastCpu = cpu;
    if (gaps.size() >= 2) playGap = std::max(playGap, gap);
    longGaps += gap > 50;
    lastTick = now;
  });
  int code = 1;
  double endMs = 0;
  for (auto _ : state) {
    form.Machine().SetCodeGame(code++);
    first = true;
    begin = lastTick = Clock::now();
    lastCpu = ThreadMillis();
    ticker.start(1);
    form.Action(TGameAction::MenuStartGame)->trigger();  // plays the whole game
    // The last move, the sharing out of the rest and the stop run without a turn change.
    endMs = std::chrono::duration<double, std::milli>(Clock::now() - last).count();
    ticker.stop();
  }
  std::sort(gaps.begin(), gaps.end());
  state.counters["turns"] = double(gaps.size());
  state.counters["max_gap_ms"] = gaps.empty() ? 0 : gaps.back();
  state.counters["median_gap_ms"] = gaps.empty() ? 0 : gaps[gaps.size() / 2];
  state.counters["start_ms"] = startMs;
  state.counters["end_ms"] = endMs;
  // From the first turn to the stop, the last move and the sharing out of the rest included.
  state.counters["max_loop_gap_ms"] = loopGap;
  state.counters["max_loop_gap_turn"] = longGapTurn;
  state.counters["max_loop_gap_cpu_ms"] = loopGapCpu;  // of it, the window's thread working
  state.counters["max_loop_gap_from_turn_2_ms"] = playGap;
  state.counters["loop_gaps_over_50ms"] = longGaps;
}
BENCHMARK(BM_ComputerTurnGap)->DenseRange(1, 4)->Iterations(1)->Unit(benchmark::kMillisecond);

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
