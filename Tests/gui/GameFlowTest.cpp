// SPDX-License-Identifier: GPL-3.0-or-later
// A game through the window: start, colour choices by click, key and action, end, stop and start
// questions, re-entrant commands while computers move, and autostart.
#include <QAction>
#include <QLabel>
#include <QTimer>
#include <algorithm>

#include "GameFixture.h"

namespace {

const char* const StartQuestion = "Существует активная игра.\nОна будет утеряна.\nВы уверены?";
const char* const StopQuestion = "Игра будет остановлена.\nВы уверены?";

}  // namespace

class GameFlow : public GameWindow {
 protected:
  void ExpectColourActionsFollowFreeColors() {
    for (int k = 1; k <= 7; ++k)
      EXPECT_EQ(form->Action(ColorAction(size_t(k)))->isEnabled(), M().Active && M().FreeColors[k])
          << k;
  }
  // Counts the turns announced, per seat that has just moved, around the window's handler.
  void CountTurns() {
    M().OnChangeGamer = [this](uint8_t previous) {
      if (previous) ++turns[previous];
      if (onTurn) onTurn(previous);
      form->OnChangeGamer(previous);
    };
  }
  std::array<int, 5> turns{};
  std::function<void(uint8_t)> onTurn;
};

TEST_F(GameFlow, ClassicGamePlayedToItsEnd) {
  SetBoard(20, 10, 10);
  Option(soAutostart, false);
  form->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(M().Active);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Morvik 1.2 final. Расклад #12345"));
  EXPECT_EQ(M().Gamers[1].Kind, gkHuman);
  EXPECT_EQ(M().Gamers[1].Name, "Тестер");
  EXPECT_EQ(M().Gamers[4].Kind, gkComputer);
  EXPECT_EQ(M().Gamers[4].Name, "Компьютер");
  EXPECT_EQ(M().Gamers[4].Level, 1);
  EXPECT_TRUE(form->Action(TGameAction::MenuStopGame)->isEnabled());
  for (QAction* a :
       {form->Action(TGameAction::MenuGamers), form->Action(TGameAction::SettingsSetCodeGame),
        form->Action(TGameAction::SettingsGameClassic),
        form->Action(TGameAction::SettingsGameMultiUser)})
    EXPECT_FALSE(a->isEnabled());
  EXPECT_EQ(form->Board().Widget()->PopupMenu(),
            form->findChild<QMenu*>(QStringLiteral("pmColor")));
  EXPECT_EQ(Panel(0), QStringLiteral("0.5"));  // 1 tile of 200
  EXPECT_EQ(Panel(3), QStringLiteral("0.5"));
  EXPECT_EQ(Panel(4), QStringLiteral("Тестер"));

  int moves = 0;
  while (M().Active && moves < 400) {
    ASSERT_EQ(M().Gamers[M().CurrentGamer].Kind, gkHuman);
    ASSERT_TRUE(M().AwaitingHuman);
    ExpectColourActionsFollowFreeColors();
    const int area = M().Map->Scores[1].Area;
    const int island = Takeable();
    if (island >= 0 && moves % 3 == 0) {
      Click(TilePoint(island));
    } else {
      int colour = island >= 0 ? M().Map->Islands[size_t(island)].Color : 0;
      for (int k = 1; colour == 0 && k <= 7; ++k)
        if (M().FreeColors[k]) colour = k;
      if (moves % 3 == 1)
        QTest::keyClick(form.get(), char('0' + colour));
      else
        form->Action(ColorAction(size_t(colour)))->trigger();
    }
    ++moves;
    if (M().Active && island >= 0) {
      EXPECT_GT(M().Map->Scores[1].Area, area);
    }
  }
  EXPECT_FALSE(M().Active);
  EXPECT_GT(moves, 2);
  EXPECT_EQ(form->events, std::vector<std::string>{"results"});
  // Idle again.
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Morvik 1.2 final."));
  EXPECT_FALSE(form->Action(TGameAction::MenuStopGame)->isEnabled());
  EXPECT_TRUE(form->Action(TGameAction::MenuGamers)->isEnabled());
  EXPECT_EQ(form->Board().Widget()->PopupMenu(), nullptr);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Panel(i), QString()) << i;
  ExpectColourActionsFollowFreeColors();
  EXPECT_EQ(Pixel(100, 50), ColorIdle);
  EXPECT_FALSE(form->AutostartPending());
}

// A new layout number is the platform clock's reading taken as a signed number without its sign;
// the one reading with no positive counterpart becomes the largest number.
TEST_F(GameFlow, RandomLayoutComesFromThePlatformClock) {
  const struct {
    uint32_t reading;
    int32_t code;
  } cases[] = {
      {1000, 1000},    {0x7FFFFFFF, INT32_MAX}, {0x80000000, INT32_MAX}, {0x80000001, INT32_MAX},
      {0xFFFFFFFF, 1}, {0xFFFFFF00, 256}};
  for (const auto& c : cases) {
    platform.clock = c.reading - platform.clockStep;  // read once, after one step
    form->Setup().SetRandomGame();
    EXPECT_EQ(form->Setup().CodeGame(), c.code) << c.reading;
  }
}

TEST_F(GameFlow, StopQuestionBothAnswers) {
  form->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(M().Active);
  messages.confirmAnswers = {false};
  form->Action(TGameAction::MenuStopGame)->trigger();
  EXPECT_EQ(messages.Texts("confirm").back(), StopQuestion);
  EXPECT_TRUE(M().Active);
  EXPECT_EQ(M().CodeGame, 12345);

  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStopGame)->trigger();
  EXPECT_FALSE(M().Active);
  EXPECT_EQ(M().Map, nullptr);
  EXPECT_NE(M().CodeGame, 12345);  // a new layout
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Morvik 1.2 final."));
  EXPECT_FALSE(form->Action(TGameAction::MenuStopGame)->isEnabled());
  QApplication::processEvents();
  EXPECT_FALSE(M().Active);  // a stop never starts the next game
}

TEST_F(GameFlow, StartQuestionBothAnswers) {
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_TRUE(messages.Texts("confirm").empty());  // idle: no question
  const uint16_t island = M().GetGamerIsland(Map(), 1);
  messages.confirmAnswers = {false};
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_EQ(messages.Texts("confirm").back(), StartQuestion);
  EXPECT_EQ(M().CodeGame, 12345);
  EXPECT_EQ(M().GetGamerIsland(Map(), 1), island);

  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_TRUE(M().Active);
  EXPECT_NE(M().CodeGame, 12345);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Morvik 1.2 final. Расклад #%1").arg(M().CodeGame));
}

TEST_F(GameFlow, MultiUserRefusalChangesNothing) {
  form->State().MultiUserMode = true;
  form->multiUserOk = false;
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_FALSE(M().Active);
  EXPECT_FALSE(form->Action(TGameAction::MenuStopGame)->isEnabled());
  EXPECT_TRUE(form->Action(TGameAction::MenuGamers)->isEnabled());
}

TEST_F(GameFlow, MultiUserSeatsReplaceEarlierClassicSeats) {
  form->Action(TGameAction::MenuStartGame)->trigger();  // classic: computer in seat 4
  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStopGame)->trigger();
  form->State().MultiUserMode = true;
  form->seats[1] = {gkHuman, 0};
  form->seats[3] = {gkHuman, 0};
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_EQ(M().Gamers[2].Kind, gkNone);
  EXPECT_EQ(M().Gamers[4].Kind, gkNone);
  EXPECT_EQ(Panel(3), QString());
}

// Keys, clicks and colour actions that arrive while computers move belong to nobody: they must
// not move for the computer that has the turn, nor skip a person's turn.
TEST_F(GameFlow, ColourChoicesWhileComputersMoveAreIgnored) {
  SetBoard(20, 10, 10);
  Option(soAutostart, false);
  form->State().MultiUserMode = true;
  form->seats[1] = {gkHuman, 0};
  form->seats[2] = {gkComputer, 1};
  form->seats[3] = {gkComputer, 1};
  form->seats[4] = {gkHuman, 0};
  Option(soAutoTurn, false);  // people move only by their own choice
  Option(soSkipTurn, false);
  CountTurns();
  int queued = 0;
  onTurn = [&](uint8_t) {
    // The seat about to move is a computer: queue every way of choosing a colour.
    if (M().Gamers[M().CurrentGamer].Kind != gkComputer) return;
    for (int k = 1; k <= 7; ++k) {
      QTimer::singleShot(0, form.get(), [this, k] { QTest::keyClick(form.get(), char('0' + k)); });
      QTimer::singleShot(0, form.get(),
                         [this, k] { form->Action(ColorAction(size_t(k)))->trigger(); });
    }
    queued += 14;
  };
  form->Action(TGameAction::MenuStartGame)->trigger();
  int humanMoves = 0;
  while (M().Active && humanMoves < 300) {
    ASSERT_TRUE(M().AwaitingHuman);
    ASSERT_EQ(M().Gamers[M().CurrentGamer].Kind, gkHuman);
    int colour = 0;
    for (int k = 1; colour == 0 && k <= 7; ++k)
      if (M().FreeColors[k]) colour = k;
    const int seat = M().CurrentGamer;
    const int before = turns[seat];
    form->SetColor(uint8_t(colour));
    ++humanMoves;
    EXPECT_EQ(turns[seat], before + 1);  // exactly one move for the person
  }
  EXPECT_GT(queued, 0);
  // In seat order every seat moved once per round: no seat moved twice or was skipped.
  const int most = *std::max_element(turns.begin() + 1, turns.end());
  const int least = *std::min_element(turns.begin() + 1, turns.end());
  EXPECT_LE(most - least, 1);
}

// A stop answered while computers move ends the game at once; the loop that was moving them
// makes no further move and leaves no board behind.
TEST_F(GameFlow, StopDuringComputerMoves) {
  SetBoard(20, 10, 10);
  ComputersOnly(4);
  CountTurns();
  int total = 0;
  onTurn = [&](uint8_t) {
    if (++total == 6)
      QTimer::singleShot(0, form.get(),
                         [this] { form->Action(TGameAction::MenuStopGame)->trigger(); });
  };
  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_FALSE(M().Active);
  EXPECT_EQ(M().Map, nullptr);
  EXPECT_EQ(total, 6);  // the announcement that let the stop run was the last
  EXPECT_EQ(messages.Texts("confirm"), std::vector<std::string>{StopQuestion});
  EXPECT_FALSE(form->Action(TGameAction::MenuStopGame)->isEnabled());
  QApplication::processEvents();
  EXPECT_FALSE(M().Active);
  EXPECT_EQ(std::count(form->events.begin(), form->events.end(), "results"), 0);
}

// A start answered while computers move replaces the game; the old loop moves nothing of the new
// game, which its own loop plays.
TEST_F(GameFlow, StartDuringComputerMoves) {
  SetBoard(20, 10, 10);
  ComputersOnly(2);
  Option(soAutostart, false);
  CountTurns();
  int total = 0;
  int restartedAt = -1;
  onTurn = [&](uint8_t) {
    if (++total == 5) {
      restartedAt = total;
      QTimer::singleShot(0, form.get(),
                         [this] { form->Action(TGameAction::MenuStartGame)->trigger(); });
    }
  };
  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_EQ(messages.Texts("confirm"), std::vector<std::string>{StartQuestion});
  EXPECT_EQ(form->events,
            (std::vector<std::string>{"start", "start", "results"}));  // only the new game ended
  EXPECT_FALSE(M().Active);
  EXPECT_EQ(M().Map, nullptr);
  EXPECT_EQ(restartedAt, 5);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Morvik 1.2 final."));
}

// A stop handled while the first seat is announced leaves the machine idle, not active on a
// freed board.
TEST_F(GameFlow, StopDuringFirstAnnouncement) {
  SetBoard(20, 10, 10);
  ComputersOnly(2);
  form->onStart = [this] {
    messages.confirmAnswers = {true};
    QTimer::singleShot(0, form.get(),
                       [this] { form->Action(TGameAction::MenuStopGame)->trigger(); });
  };
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_FALSE(M().Active);
  EXPECT_EQ(M().Map, nullptr);
  for (int k = 1; k <= 7; ++k) EXPECT_FALSE(form->Action(ColorAction(size_t(k)))->isEnabled());
  QApplication::processEvents();
  EXPECT_FALSE(M().Active);
}

// Autostart: results, hall of fame on a record, then the next game, each started from the event
// loop at the same stack depth.
TEST_F(GameFlow, AutostartChainDoesNotNest) {
  SetBoard(20, 10, 10);
  ComputersOnly(4);
  Option(soAutostart, true);
  form->recordAdded = true;
  const int games = 6;
  form->onStart = [&] {
    if (int(form->startFrames.size()) == games) Option(soAutostart, false);
  };
  form->Action(TGameAction::MenuStartGame)->trigger();
  for (int i = 0; i < 2000 && (M().Active || form->AutostartPending()); ++i)
    QApplication::processEvents();
  ASSERT_EQ(form->startFrames.size(), size_t(games));
  EXPECT_FALSE(M().Active);
  EXPECT_FALSE(form->AutostartPending());
  std::vector<std::string> expected;
  for (int g = 0; g < games; ++g)
    expected.insert(expected.end(), {"start", "results", "halloffame"});
  EXPECT_EQ(form->events, expected);
  // Games 2.. start from the event loop, all at one depth.
  for (int g = 2; g < games; ++g)
    EXPECT_EQ(form->startFrames[size_t(g)], form->startFrames[1]) << g;
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Morvik 1.2 final."));
  EXPECT_FALSE(form->Action(TGameAction::MenuStopGame)->isEnabled());
}

// The automatic start waits for the event loop; a stop or a start handled before it wins.
TEST_F(GameFlow, QueuedAutostartYieldsToLaterCommands) {
  SetBoard(20, 10, 10);
  ComputersOnly(2);
  Option(soAutostart, true);
  form->Action(TGameAction::MenuStartGame)->trigger();  // plays to its end, next game queued
  ASSERT_FALSE(M().Active);
  ASSERT_TRUE(form->AutostartPending());
  EXPECT_TRUE(form->Action(TGameAction::MenuStopGame)->isEnabled());
  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStopGame)->trigger();
  EXPECT_FALSE(form->AutostartPending());
  QApplication::processEvents();
  EXPECT_FALSE(M().Active);
  EXPECT_EQ(std::count(form->events.begin(), form->events.end(), "start"), 1);
}
