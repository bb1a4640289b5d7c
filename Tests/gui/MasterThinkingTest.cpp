// SPDX-License-Identifier: GPL-3.0-or-later
// "Мастер" thinks off the window's thread: the window plays the same games as the machine alone,
// and a stop or a close handled while the master thinks ends the game at once and drops the
// answer.
#include <QAction>
#include <QProgressBar>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <stdexcept>

#include "GameFixture.h"
#include "gui/BackgroundWork.h"

namespace {

using TMoves = std::vector<std::pair<uint8_t, uint8_t>>;  // seat, colour

// Keeps every thread of the background pool busy until released, so that a thought queued meanwhile
// has not started (and cannot have finished) when the test acts.
class TPoolBlock {
 public:
  TPoolBlock() {
    for (int i = 0; i < BackgroundWorkPool().maxThreadCount(); ++i)
      BackgroundWorkPool().start([this] {
        while (!released_.load()) QThread::msleep(1);
      });
  }
  ~TPoolBlock() { Release(); }
  void Release() {
    released_.store(true);
    BackgroundWorkPool().waitForDone();
  }

 private:
  std::atomic<bool> released_{false};
};

}  // namespace

class MasterThinking : public GameWindow {
 protected:
  void SetUp() override {
    GameWindow::SetUp();
    Option(soAutostart, false);
    // Every thought the window is asked for passes through here.
    auto real = M().ThinkMaster;
    ASSERT_TRUE(real);
    M().ThinkMaster = [this, real](const std::shared_ptr<TMasterThought>& thought,
                                   const std::function<bool()>& wanted) {
      thoughts.push_back(thought);
      if (onThought) onThought();
      return real(thought, wanted);
    };
  }
  void Seats(std::array<uint8_t, 5> levels) {
    form->State().MultiUserMode = true;
    for (int s = 1; s <= 4; ++s)
      form->seats[size_t(s)] = {levels[size_t(s)] ? gkComputer : gkNone, levels[size_t(s)]};
  }
  std::vector<std::shared_ptr<TMasterThought>> thoughts;
  std::function<void()> onThought;
};

// Games with one to four masters on small boards, by area and by points: the window's moves are
// the machine's own, move for move.
TEST_F(MasterThinking, TheWindowPlaysTheGamesTheMachinePlaysAlone) {
  struct Case {
    int w, h;
    std::array<uint8_t, 5> levels;
    bool byArea;
    int32_t layout;
  };
  const Case cases[] = {{20, 10, {0, 4, 0, 0, 3}, true, 7},
                        {24, 12, {0, 2, 4, 1, 4}, false, 31},
                        {16, 10, {0, 4, 4, 4, 4}, true, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    SetBoard(c.w, c.h, 10);
    Seats(c.levels);
    form->State().Options.Victory = c.byArea ? 0 : 1;
    ASSERT_EQ(form->State().VictoryByArea(), c.byArea);
    TMoves window;
    M().OnMakeMove = [&](uint8_t seat, uint8_t colour) { window.emplace_back(seat, colour); };
    thoughts.clear();
    M().SetCodeGame(c.layout);
    form->Action(TGameAction::MenuStartGame)->trigger();  // computers only: plays the whole game
    ASSERT_FALSE(M().Active);
    EXPECT_FALSE(thoughts.empty());
    M().OnMakeMove = nullptr;

    TNullWindowServices services;
    TMorvikMachine alone(&services);
    services.machine = &alone;
    services.victoryByArea = c.byArea;
    TMoves machine;
    alone.OnMakeMove = [&](uint8_t seat, uint8_t colour) { machine.emplace_back(seat, colour); };
    alone.SetCodeGame(c.layout);
    alone.SetSizeMap(uint8_t(c.w), uint8_t(c.h));
    alone.SetSizeTile(10);
    alone.OnChangeGamer = [](uint8_t) {};
    alone.OnChangeStateColor = [](uint8_t) {};
    for (int s = 1; s <= 4; ++s)
      alone.SetGamer(s, c.levels[size_t(s)] ? gkComputer : gkNone, c.levels[size_t(s)], "K", 0);
    alone.StartGame();
    alone.RunStartLoop();
    EXPECT_TRUE(services.errors.empty());
    EXPECT_FALSE(alone.Active);
    EXPECT_EQ(window, machine);
  }
}

// While the master's thought waits for the pool, the window handles its events: a stop answered
// then ends the game at once, no move is made for it, and the thought is cancelled.
TEST_F(MasterThinking, StopOrCloseWhileThinkingEndsTheGameAtOnce) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close);
    SetBoard(20, 10, 10);
    Seats({0, 4, 0, 0, 1});
    thoughts.clear();
    TMoves moves;
    M().OnMakeMove = [&](uint8_t seat, uint8_t colour) { moves.emplace_back(seat, colour); };
    auto block = std::make_unique<TPoolBlock>();
    bool handled = false;
    onThought = [&] {
      QTimer::singleShot(0, form.get(), [&] {
        handled = true;
        if (close)
          form->close();
        else
          form->Action(TGameAction::MenuStopGame)->trigger();
      });
    };
    messages.Clear();
    messages.confirmAnswers = {true};
    form->Action(TGameAction::MenuStartGame)->trigger();  // returns once the loop has given up
    EXPECT_TRUE(handled);
    EXPECT_FALSE(M().Active);
    EXPECT_EQ(M().Map, nullptr);
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(form->isVisible(), !close);
    EXPECT_EQ(form->Status().Progress()->value(), 0);
    ASSERT_EQ(thoughts.size(), 1u);
    EXPECT_TRUE(thoughts[0]->Cancelled());
    block.reset();  // the dropped thought now runs out on its own copy of the board
    EXPECT_EQ(messages.Texts("confirm").size(), 1u);
    onThought = nullptr;
    M().OnMakeMove = nullptr;
    if (close) form->show();
  }
}

// "Подсказка" is thought out the master's way: the window's events go on meanwhile, and a
// colour chosen, a take-back or a stop handled then leaves no advice, while a second F9 is ignored
// and the first advice is shown as the machine alone gives it.
TEST_F(MasterThinking, AHintThinksWhileTheWindowRunsAndIsDroppedWhenThePositionMovesOn) {
  enum class During { Nothing, HintAgain, Colour, TakeBack, Stop };
  for (const During during :
       {During::Nothing, During::HintAgain, During::Colour, During::TakeBack, During::Stop}) {
    SCOPED_TRACE(int(during));
    SetBoard(30, 15, 10);
    form->State().MultiUserMode = false;
    Option(soAutoTurn, false);
    Option(soSkipTurn, false);
    form->Action(TGameAction::MenuStartGame)->trigger();
    ASSERT_TRUE(M().AwaitingHuman);
    for (uint8_t k = 1; k <= 7; ++k)  // one choice, so that a take-back is possible
      if (M().FreeColors[k]) {
        form->Action(ColorAction(k))->trigger();
        break;
      }
    ASSERT_TRUE(M().AwaitingHuman);
    const auto think = M().ThinkMaster;
    M().ThinkMaster = nullptr;
    const THint alone = M().Hint(1);
    M().ThinkMaster = think;
    ASSERT_GE(alone.Color, 1);
    const int progress = form->Status().Progress()->value();

    thoughts.clear();
    auto block = std::make_unique<TPoolBlock>();
    bool handled = false;
    onThought = [&] {
      QTimer::singleShot(0, form.get(), [&] {
        handled = true;
        switch (during) {
          case During::Nothing:
            break;
          case During::HintAgain:
            QTest::keyClick(form.get(), Qt::Key_F9);
            break;
          case During::Colour:
            for (uint8_t k = 1; k <= 7; ++k)
              if (M().FreeColors[k]) {
                form->Action(ColorAction(k))->trigger();
                break;
              }
            break;
          case During::TakeBack:
            form->Action(TGameAction::MenuUndo)->trigger();
            break;
          case During::Stop:
            messages.confirmAnswers = {true};
            form->Action(TGameAction::MenuStopGame)->trigger();
            break;
        }
        block->Release();  // the thought may run now
      });
    };
    QTest::keyClick(form.get(), Qt::Key_F9);
    onThought = nullptr;
    EXPECT_TRUE(handled);
    ASSERT_EQ(thoughts.size(), 1u);
    const bool kept = during == During::Nothing || during == During::HintAgain;
    EXPECT_EQ(thoughts[0]->Cancelled(), !kept);
    EXPECT_EQ(form->Board().Pointer().HintShown(), kept);
    if (kept) {
      EXPECT_EQ(Panel(4),
                QStringLiteral("Совет: ") + form->Action(ColorAction(alone.Color))->text());
      EXPECT_EQ(form->Status().Progress()->value(), progress);
      EXPECT_TRUE(form->Action(TGameAction::MenuHint)->isEnabled());
    }
    block.reset();
    if (M().Active) {
      messages.confirmAnswers = {true};
      form->Action(TGameAction::MenuStopGame)->trigger();
    }
  }
}

// The helper itself: an error of the work reaches the caller, and a wait given up returns no
// answer without waiting for the work.
TEST(BackgroundWork, ErrorsReachTheCallerAndAGivenUpWaitReturnsNothing) {
  EXPECT_THROW(
      RunWhileEventsRun([]() -> int { throw EUnitCoreError("x"); }, [] { return true; }, [] {}),
      EUnitCoreError);
  EXPECT_EQ(RunWhileEventsRun([] { return 42; }, [] { return true; }, [] {}), 42);
  std::atomic<bool> release{false};
  int ticks = 0;
  const auto none = RunWhileEventsRun(
      [&] {
        while (!release.load()) QThread::msleep(1);
        return 1;
      },
      [&] { return ticks < 3; }, [&] { ++ticks; }, 1);
  EXPECT_FALSE(none.has_value());
  EXPECT_EQ(ticks, 3);
  release.store(true);
  BackgroundWorkPool().waitForDone();
}
