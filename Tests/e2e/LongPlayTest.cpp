// SPDX-License-Identifier: GPL-3.0-or-later
// Long play: a thousand games of four computers in a row with autostart, every results dialog
// answered as it shows. Nothing may crash, memory may grow only within a small bound, and a game
// started from the end of the previous one must not run one level deeper each time.
#include <unistd.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "ProgramFixture.h"
#include "dialogs/UnitResult.h"

// The sanitized build plays fewer games: each is several times slower there, and its allocator
// keeps freed memory in quarantine, so the resident size says nothing (LeakSanitizer watches
// the memory instead).
#ifndef MORVIK_LONG_PLAY_GAMES
#define MORVIK_LONG_PLAY_GAMES 1000
#endif
#ifndef MORVIK_SANITIZED
#define MORVIK_SANITIZED 0
#endif

namespace {

// Resident set size in bytes.
long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// Counts the showings of the results dialog and closes it each time.
class TResultsAnswer : public QObject {
 public:
  TResultsAnswer(TFormResult& dialog, std::string& seen) : dialog_(dialog), seen_(seen) {
    dialog.installEventFilter(this);
  }
  std::vector<uintptr_t> frames;  // address of a local at each showing

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &dialog_ && event->type() == QEvent::Show) {
      volatile char marker = 0;
      frames.push_back(reinterpret_cast<uintptr_t>(&marker));
      seen_ += 'R';
      QTimer::singleShot(0, &dialog_, [this] { dialog_.btnClose->click(); });
    }
    return false;
  }

 private:
  TFormResult& dialog_;
  std::string& seen_;
};

std::string FourComputers() {
  std::string options =
      // A custom 10 x 10 board: short games, and the window still passes its width check.
      "GameSizeMap=4\nGameWidth=10\nGameHeight=10\nGameSizeTile=4\nGameTile=39\n"
      "SelectMusic=0\nSelectAutostart=1\nSelectReplay=1\n"
      "Other_ClassicMode=0\nOther_CodeGame=4242\n";
  for (int seat = 1; seat <= 4; ++seat) {
    const std::string n = std::to_string(seat);
    options += "MultiUser_Gamer" + n + "Checked=1\nMultiUser_Command" + n + "=0\n" +
               "MultiUser_Computer" + n + "Checked=1\nMultiUser_Human" + n + "Checked=0\n" +
               "MultiUser_Computer" + n + "=" + std::to_string((seat - 1) % 3) + "\n";
  }
  return ProfileIni("Robot", options);
}

}  // namespace

TEST_F(ProgramTest, ThousandGamesOfFourComputersInARow) {
  constexpr int kGames = MORVIK_LONG_PLAY_GAMES;
  constexpr int kWarmUp = kGames / 10;
  WriteIni(FourComputers());
  Create();
  ASSERT_TRUE(StartUpSelecting());
  TFormGame& game = program->Game();
  TMorvikMachine& machine = game.Machine();
  ASSERT_TRUE(game.State().MultiUserMode);
  ASSERT_TRUE(game.State().Option(soAutostart));
  ASSERT_EQ(machine.Width, 10);

  // Each start announces its first seat with previous seat 0: note the stack there.
  std::vector<uintptr_t> startFrames;
  std::string seen;  // what the player sees, in order: S a game starts, R its results
  long warmRss = 0, endRss = 0;
  QElapsedTimer clock;
  qint64 warmTime = 0;
  const auto announce = machine.OnChangeGamer;
  machine.OnChangeGamer = [&](uint8_t previous) {
    if (previous == 0) {
      volatile char marker = 0;
      startFrames.push_back(reinterpret_cast<uintptr_t>(&marker));
      seen += 'S';
      const int started = int(startFrames.size());
      if (started == kWarmUp + 1) {
        warmRss = ResidentBytes();
        warmTime = clock.elapsed();
      }
      // The last game goes back to the idle board instead of starting another.
      if (started == kGames) game.State().Options.SelectOptions &= uint8_t(~soAutostart);
    }
    announce(previous);
  };

  TResultsAnswer answer(program->Result(), seen);
  QEventLoop loop;
  bool idle = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (int(startFrames.size()) >= kGames && !machine.Active && !game.AutostartPending()) {
      idle = true;
      loop.quit();
    }
  });
  poll.start(50);
  QTimer::singleShot(180000, &loop, &QEventLoop::quit);  // a guard; the run takes far less
  clock.start();
  QTimer::singleShot(0, game.Action(TGameAction::MenuStartGame), &QAction::trigger);
  loop.exec();
  const qint64 total = clock.elapsed();
  endRss = ResidentBytes();
  machine.OnChangeGamer = announce;

  ASSERT_TRUE(idle) << "only " << startFrames.size() << " games started in " << total << " ms";
  EXPECT_EQ(int(startFrames.size()), kGames);
  EXPECT_EQ(int(answer.frames.size()), kGames) << "the results dialog did not show at every end";
  EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().text;
  // Each game's results show before the next game starts, once.
  std::string expected;
  for (int i = 0; i < kGames; ++i) expected += "SR";
  EXPECT_EQ(seen.substr(0, 40), expected.substr(0, 40));
  EXPECT_TRUE(seen == expected)
      << "order broken at "
      << std::mismatch(seen.begin(), seen.end(), expected.begin(), expected.end()).first -
             seen.begin();

  // Memory: after the warm-up, games may not keep what they allocated.
  const double growthMiB = double(endRss - warmRss) / (1024.0 * 1024.0);
  // The stack: every game starts at the same depth as the second one (the first starts from
  // the start command itself).
  const auto [low, high] = std::minmax_element(startFrames.begin() + 1, startFrames.end());
  const long spread = long(*high - *low);
  std::printf(
      "long play: %d games in %lld ms (%.2f ms a game after the warm-up); RSS %.1f MiB after "
      "%d games, growth %.2f MiB over the next %d; stack spread at the starts %ld bytes\n",
      kGames, static_cast<long long>(total), double(total - warmTime) / double(kGames - kWarmUp),
      double(warmRss) / 1048576.0, kWarmUp, growthMiB, kGames - kWarmUp, spread);
  RecordProperty("rss_growth_kib", std::to_string((endRss - warmRss) / 1024));
  RecordProperty("stack_spread_bytes", std::to_string(spread));
  RecordProperty("total_ms", std::to_string(total));
  if (!MORVIK_SANITIZED) {
    EXPECT_LT(growthMiB, 4.0);
  }
  EXPECT_LT(spread, 4096) << "games nest deeper and deeper";
  EXPECT_FALSE(game.Action(TGameAction::MenuStopGame)->isEnabled());
  EXPECT_TRUE(game.Action(TGameAction::MenuStartGame)->isEnabled());
}
