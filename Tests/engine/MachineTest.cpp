// SPDX-License-Identifier: GPL-3.0-or-later
// The game machine: start, moves, automatic turns, the end test and the turn cycle, including
// the re-entrant calls the window's event handling brings about.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace {

struct Machine : ::testing::Test {
  RecordingServices services;
  TMorvikMachine m{&services};
  std::vector<std::string> events;  // notifications in order
  std::vector<std::pair<int, int>> moves;

  void SetUp() override {
    services.machine = &m;
    m.OnChangeGamer = [this](uint8_t p) { events.push_back("gamer" + std::to_string(p)); };
    m.OnChangeStateColor = [this](uint8_t k) {
      events.push_back((m.FreeColors[k] ? "free" : "taken") + std::to_string(k));
    };
    m.OnMakeMove = [this](uint8_t s, uint8_t k) { moves.push_back({s, k}); };
    m.SetSizeTile(10);
  }
  void Configure(int w, int h, std::vector<std::pair<TGamerKind, int>> seats, int32_t code = 7) {
    m.SetSizeMap(uint8_t(w), uint8_t(h));
    for (int s = 1; s <= 4; ++s)
      m.SetGamer(s, seats[s - 1].first, uint8_t(seats[s - 1].second), "S", 0);
    m.SetCodeGame(code);
  }
};

TEST_F(Machine, StartRefusalsShowTheirMessageAndChangeNothing) {
  Configure(10, 10, {{gkHuman, 0}, {gkNone, 0}, {gkNone, 0}, {gkComputer, 1}});
  m.SetSizeTile(0);
  m.StartGame();
  m.SetSizeTile(10);
  m.OnChangeStateColor = nullptr;
  m.StartGame();
  m.OnChangeStateColor = [](uint8_t) {};
  m.OnChangeGamer = nullptr;
  m.StartGame();
  EXPECT_EQ(services.errors,
            (std::vector<std::string>{
                "Неправильно задана карта.",
                "Не задана процедура обработки смены цвета.\r\nСтарт игры невозможен.",
                "Не задана процедура обработки смены игрока.\r\nСтарт игры невозможен."}));
  EXPECT_FALSE(m.Active);
  EXPECT_FALSE(m.Map);
  EXPECT_TRUE(services.log.empty());
}

TEST_F(Machine, StartFreesEveryColourAndGivesEachSeatOneTile) {
  Configure(12, 10, {{gkNone, 0}, {gkHuman, 0}, {gkComputer, 2}, {gkNone, 0}});
  m.StartGame();
  ASSERT_TRUE(m.Active);
  EXPECT_TRUE(m.NewGameStarted);
  EXPECT_EQ(m.CurrentGamer, 2);
  EXPECT_EQ(events, (std::vector<std::string>{"gamer0", "free1", "free2", "free3", "free4", "free5",
                                              "free6", "free7"}));
  EXPECT_FALSE(m.FreeColors[0]);
  for (int s = 1; s <= 4; ++s) {
    const int expected = (s == 2 || s == 3) ? 1 : 0;
    EXPECT_EQ(m.Map->Scores[s].Area, expected) << s;
    EXPECT_EQ(m.Map->Scores[s].Points, expected) << s;
  }
  EXPECT_EQ(m.Map->Tiles[0][11].Color, 0);
  EXPECT_NE(m.Map->Tiles[0][0].Color, 0);
  // A second start ends the running game first.
  events.clear();
  m.StartGame();
  EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 7),
            (std::vector<std::string>{"taken1", "taken2", "taken3", "taken4", "taken5", "taken6",
                                      "taken7"}));
  EXPECT_EQ(events[7], "gamer0");
}

TEST_F(Machine, NextGamerSkipsEmptySeatsAndWraps) {
  Configure(10, 10, {{gkNone, 0}, {gkHuman, 0}, {gkNone, 0}, {gkHuman, 0}});
  m.StartGame();
  events.clear();
  m.NextGamer();
  EXPECT_EQ(m.CurrentGamer, 4);
  m.NextGamer();
  EXPECT_EQ(m.CurrentGamer, 2);
  EXPECT_EQ(events, (std::vector<std::string>{"gamer2", "gamer4"}));
}

TEST_F(Machine, MovesFreeTheOldColourBeforeTakingTheNew) {
  Configure(20, 10, {{gkHuman, 0}, {gkNone, 0}, {gkNone, 0}, {gkHuman, 0}});
  m.StartGame();
  events.clear();
  m.MakeMove(3);
  EXPECT_EQ(events, (std::vector<std::string>{"taken3"}));
  events.clear();
  m.MakeMove(5);
  EXPECT_EQ(events, (std::vector<std::string>{"free3", "taken5"}));
  EXPECT_FALSE(m.FreeColors[5]);
  EXPECT_TRUE(m.FreeColors[3]);
  EXPECT_THROW(m.MakeMove(5), EUnitCoreError);
  EXPECT_THROW(m.MakeMove(0), EUnitCoreError);
}

TEST_F(Machine, EndGameTakesEveryColourAndFreesTheBoard) {
  Configure(10, 10, {{gkHuman, 0}, {gkNone, 0}, {gkNone, 0}, {gkHuman, 0}});
  m.StartGame();
  events.clear();
  m.EndGame();
  EXPECT_FALSE(m.Active);
  EXPECT_FALSE(m.Map);
  EXPECT_EQ(events.size(), 7u);
  for (int k = 0; k <= 7; ++k) EXPECT_FALSE(m.FreeColors[k]);
}

TEST_F(Machine, SeatNamesAreCutToTwentyCharactersNotBytes) {
  m.SetGamer(1, gkHuman, 0, "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", 3);  // 25 two-byte characters
  EXPECT_EQ(m.Gamers[1].Name, "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ");
  EXPECT_EQ(m.Gamers[1].Team, 3);
  m.SetGamer(2, gkHuman, 0, "abcdefghijklmnopqrstuvwxyz", 0);
  EXPECT_EQ(m.Gamers[2].Name, "abcdefghijklmnopqrst");
  m.SetSizeMap(30, 20);
  EXPECT_EQ(m.Gamers[4].Col, 29);
  EXPECT_EQ(m.Gamers[4].Row, 19);
  EXPECT_EQ(m.Gamers[2].Row, 0);
  EXPECT_EQ(m.Gamers[3].Col, 0);
}

// Boards by hand for AutoTurn and the end test.
struct HandMachine : Machine {
  void Board(std::vector<std::pair<TGamerKind, int>> seats,
             const std::vector<std::vector<int>>& rows) {
    for (int s = 1; s <= 4; ++s)
      m.SetGamer(s, seats[s - 1].first, uint8_t(seats[s - 1].second), "S", 0);
    HandBoard(m, rows);
  }
};

TEST_F(HandMachine, AutoTurnFollowsTheOptionsForPersonsAndAlwaysMovesComputers) {
  // Seat 1's only available colour is 2.
  Board({{gkHuman, 0}, {gkNone, 0}, {gkNone, 0}, {gkHuman, 0}}, {{0, 2, 3}, {2, 4, 0}});
  services.autoTurn = false;
  EXPECT_FALSE(m.AutoTurn());
  services.autoTurn = true;
  EXPECT_TRUE(m.AutoTurn());
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{1, 2}}));
  // Seat 1 now touches colours 3 and 4 only; with both held nothing is available.
  m.FreeColors[3] = m.FreeColors[4] = false;
  services.skipTurn = false;
  EXPECT_FALSE(m.AutoTurn());
  services.skipTurn = true;
  SetRandSeed(5);
  EXPECT_TRUE(m.AutoTurn());
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_TRUE(moves[1].second == 1 || moves[1].second >= 5);
  EXPECT_EQ(m.Map->Scores[1].Area, 3);  // the forced move captured nothing
}

// The turn cycle with a person whose only neighbour has the other person's colour.
TEST_F(HandMachine, APersonWithNothingToTakeLosesTheTurnOnlyWithTheOption) {
  Board({{gkHuman, 0}, {gkHuman, 0}, {gkNone, 0}, {gkNone, 0}}, {{0, 3, 4, 0}, {3, 3, 5, 5}});
  services.autoTurn = false;
  m.CurrentGamer = 2;
  m.MakeMove(3);  // seat 2 holds 3 without touching seat 1
  m.NextGamer();
  ASSERT_EQ(m.CurrentGamer, 1);
  services.skipTurn = false;
  m.RunStartLoop();
  EXPECT_TRUE(m.AwaitingHuman);
  EXPECT_EQ(m.CurrentGamer, 1);
  EXPECT_EQ(moves.size(), 1u);

  services.skipTurn = true;
  m.RunStartLoop();
  // Seat 1 moved to some free colour, taking nothing; seat 2 has two colours to choose from.
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[1].first, 1);
  EXPECT_NE(moves[1].second, 3);
  EXPECT_EQ(m.Map->Scores[1].Area, 1);
  EXPECT_TRUE(m.Active);
  EXPECT_TRUE(m.AwaitingHuman);
  EXPECT_EQ(m.CurrentGamer, 2);
}

TEST_F(HandMachine, ComputerOfLevelZeroIsAnInternalError) {
  Board({{gkComputer, 0}, {gkNone, 0}, {gkNone, 0}, {gkHuman, 0}},
        {{0, 2, 2, 5}, {3, 2, 5, 5}, {3, 3, 1, 0}});
  m.CurrentGamer = 1;
  try {
    m.ComputerTurn();
    FAIL() << "no failure";
  } catch (const EUnitCoreError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("UnitCore", 0), 0u) << e.what();
  }
  EXPECT_TRUE(moves.empty());
}

TEST_F(HandMachine, NoContactNoEndHoweverFewIslandsRemain) {
  Board({{gkHuman, 0}, {gkHuman, 0}, {gkNone, 0}, {gkNone, 0}}, {{0, 1, 2, 3, 0}});
  m.CurrentGamer = 1;
  m.MakeMove(1);
  m.CurrentGamer = 2;
  m.MakeMove(3);
  EXPECT_TRUE(m.Active);
  EXPECT_EQ(services.results, 0);
  m.CurrentGamer = 1;
  m.MakeMove(2);  // now the two touch and nothing is left
  EXPECT_EQ(services.log.back(), "stop");
  EXPECT_FALSE(m.Active);
}

TEST_F(HandMachine, AnIslandTwoCapturesFromTheOtherTerritoryKeepsTheGameGoing) {
  // After seat 1 takes 5 the territories touch; island (2,1) borders seat 2 and touches
  // (1,1), which borders seat 1.
  Board({{gkHuman, 0}, {gkHuman, 0}, {gkNone, 0}, {gkNone, 0}}, {{0, 5, 0}, {1, 2, 3}});
  m.CurrentGamer = 1;
  m.MakeMove(5);
  EXPECT_TRUE(m.IsNeighbourIsland(*m.Map, m.GetGamerIsland(*m.Map, 2)));
  EXPECT_FALSE(m.TestGameOver());
  EXPECT_TRUE(m.Active);
}

// An island that touches only the mover's own territory is out of everyone else's reach, though
// that territory touches the other one.
TEST_F(HandMachine, AFreeIslandInsideTheOwnTerritoryDoesNotKeepTheGameGoing) {
  Board({{gkHuman, 0}, {gkHuman, 0}, {gkNone, 0}, {gkNone, 0}}, {{0, 2, 1, 0}, {1, 1, 1, 1}});
  m.CurrentGamer = 1;
  m.MakeMove(1);
  EXPECT_EQ(services.results, 1);
  EXPECT_FALSE(m.Active);
}

TEST_F(HandMachine, SettledGameSharesOutTheRestBeforeTheResults) {
  // Seat 2 is walled in by the corridor of colour 1; seat 1 takes it and touches seat 2, and
  // the free islands of row 0 are three captures away from seat 2.
  Board({{gkHuman, 0}, {gkHuman, 0}, {gkNone, 0}, {gkNone, 0}},
        {{0, 2, 3, 4, 5, 6, 7, 1, 0}, {1, 1, 1, 1, 1, 1, 1, 1, 1}});
  int liveAtResults = -1;
  services.onShowResults = [&] {
    liveAtResults = int(std::count_if(m.Map->Islands.begin(), m.Map->Islands.end(),
                                      [](const TIsland& x) { return !x.Merged; }));
    EXPECT_EQ(m.Map->Scores[1].Area, 17);
    EXPECT_EQ(m.Map->Scores[2].Area, 1);
    EXPECT_EQ(m.Map->Scores[1].Points, 1 + 100 + 6);
    CheckInvariants(m, *m.Map);
  };
  m.CurrentGamer = 1;
  m.MakeMove(1);
  EXPECT_EQ(liveAtResults, 2);
  EXPECT_FALSE(m.Active);
  EXPECT_FALSE(m.Map);
  const std::vector<std::string> tail(services.log.end() - 4, services.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"status:", "draw", "results", "stop"}));
}

TEST_F(HandMachine, HallOfFameOnlyWithARecordAndTheOption) {
  struct Services : RecordingServices {
    bool record = true;
    int hall = 0;
    bool RecordAdded() override { return record; }
    void ShowHallOfFame() override { ++hall; }
  } s;
  s.machine = &m;
  m.SetServices(&s);
  for (bool option : {false, true}) {
    s.hallFameOnRecord = option;
    Board({{gkHuman, 0}, {gkHuman, 0}, {gkNone, 0}, {gkNone, 0}}, {{0, 1, 0}});
    m.CurrentGamer = 1;
    m.MakeMove(1);
    EXPECT_FALSE(m.Active);
  }
  EXPECT_EQ(s.hall, 1);
}

// ----- The turn cycle --------------------------------------------------------------------------

TEST_F(Machine, ComputersPlayTheWholeGameInTheStartLoop) {
  Configure(30, 15, {{gkComputer, 1}, {gkComputer, 2}, {gkComputer, 3}, {gkNone, 0}});
  m.StartGame();
  m.RunStartLoop();
  EXPECT_FALSE(m.Active);
  EXPECT_EQ(services.results, 1);
  EXPECT_FALSE(m.AwaitingHuman);
  EXPECT_GT(moves.size(), 10u);
}

TEST_F(Machine, PersonChoosesOnlyWhenAskedAndOnlyAFreeColour) {
  Configure(10, 10, {{gkHuman, 0}, {gkNone, 0}, {gkNone, 0}, {gkComputer, 3}});
  services.autoTurn = false;
  services.skipTurn = false;
  m.StartGame();
  EXPECT_FALSE(m.TakeHumanColor(1));  // no loop has asked yet
  m.RunStartLoop();
  ASSERT_TRUE(m.AwaitingHuman);
  EXPECT_EQ(m.CurrentGamer, 1);
  EXPECT_FALSE(m.TakeHumanColor(0));
  EXPECT_FALSE(m.TakeHumanColor(8));
  int guard = 0;
  while (m.Active && guard++ < 500) {
    ASSERT_TRUE(m.AwaitingHuman);
    ASSERT_EQ(m.CurrentGamer, 1);
    int taken = 1;
    while (!m.FreeColors[taken]) ++taken;
    const auto before = moves.size();
    ASSERT_TRUE(m.TakeHumanColor(uint8_t(taken)));
    ASSERT_GE(moves.size(), before + 1);
    EXPECT_EQ(moves[before], (std::pair<int, int>{1, taken}));
  }
  EXPECT_FALSE(m.Active);
  EXPECT_FALSE(m.AwaitingHuman);
  EXPECT_EQ(services.results, 1);
}

TEST_F(Machine, AColourChosenWhileComputersPlayIsIgnored) {
  Configure(16, 12, {{gkHuman, 0}, {gkComputer, 1}, {gkComputer, 3}, {gkComputer, 2}});
  services.autoTurn = false;
  services.skipTurn = false;
  int attempts = 0, accepted = 0;
  m.OnChangeGamer = [&](uint8_t) {
    // The window runs pending events here: a click on a colour while the computers think.
    if (m.Active && m.Gamers[m.CurrentGamer].Kind == gkComputer) {
      for (int k = 1; k <= 7; ++k) {
        ++attempts;
        accepted += m.TakeHumanColor(uint8_t(k));
      }
    }
  };
  m.StartGame();
  m.RunStartLoop();
  int guard = 0;
  while (m.Active && guard++ < 500) {
    ASSERT_TRUE(m.AwaitingHuman);
    int k = 1;
    while (!m.FreeColors[k]) ++k;
    ASSERT_TRUE(m.TakeHumanColor(uint8_t(k)));
  }
  EXPECT_GT(attempts, 0);
  EXPECT_EQ(accepted, 0);
  for (size_t i = 1; i < moves.size(); ++i) {
    if (moves[i].first == 1) {
      EXPECT_NE(moves[i - 1].first, 1) << "two moves of the person";
    }
  }
}

TEST_F(Machine, StoppingFromInsideTheNotificationLeavesTheLoop) {
  Configure(40, 20, {{gkComputer, 3}, {gkComputer, 2}, {gkNone, 0}, {gkComputer, 1}});
  int calls = 0;
  m.OnChangeGamer = [&](uint8_t) {
    if (++calls == 9) m.EndGame();
  };
  m.StartGame();
  m.RunStartLoop();
  EXPECT_FALSE(m.Active);
  EXPECT_FALSE(m.Map);
  EXPECT_EQ(services.results, 0);
  EXPECT_EQ(moves.size(), 8u);
}

TEST_F(Machine, StartingFromInsideTheNotificationsPlaysTheNewGameSafely) {
  Configure(40, 20, {{gkComputer, 3}, {gkComputer, 2}, {gkNone, 0}, {gkComputer, 1}});
  int calls = 0, colourCalls = 0;
  m.OnChangeGamer = [&](uint8_t) {
    if (++calls == 5) {
      m.SetCodeGame(99);
      m.StartGame();
    }
  };
  m.OnChangeStateColor = [&](uint8_t) {
    if (++colourCalls == 40) {
      m.SetCodeGame(100);
      m.StartGame();  // inside a move, between its two colour notifications
    }
  };
  m.StartGame();
  m.RunStartLoop();
  EXPECT_FALSE(m.Active);
  EXPECT_EQ(m.CodeGame, 100);
  EXPECT_EQ(services.results, 1);  // only the last game reached its end
}

TEST_F(Machine, AutostartAtTheEndKeepsTheNewGameWaitingForItsFirstPerson) {
  // Two persons and a computer; the end of a game starts the next at once, whose own start
  // loop waits for seat 1. The older loop must not pass seat 1's turn on to seat 2.
  Configure(10, 10, {{gkHuman, 0}, {gkHuman, 0}, {gkNone, 0}, {gkComputer, 1}});
  services.autoTurn = false;
  services.skipTurn = false;
  struct Autostart : RecordingServices {
    TMorvikMachine* game = nullptr;
    int starts = 0;
    void StopGameAtEnd() override {
      game->EndGame();
      if (++starts == 1) {
        game->StartGame();
        game->RunStartLoop();
      }
    }
  } s;
  s.game = &m;
  s.autoTurn = s.skipTurn = false;
  m.SetServices(&s);
  m.StartGame();
  m.RunStartLoop();
  int guard = 0;
  while (s.starts == 0 && guard++ < 1000) {
    ASSERT_TRUE(m.AwaitingHuman);
    int k = 1;
    while (!m.FreeColors[k]) ++k;
    ASSERT_TRUE(m.TakeHumanColor(uint8_t(k)));
  }
  ASSERT_EQ(s.starts, 1);
  ASSERT_TRUE(m.Active);
  EXPECT_TRUE(m.NewGameStarted);
  EXPECT_TRUE(m.AwaitingHuman);
  EXPECT_EQ(m.CurrentGamer, 1);
  EXPECT_EQ(m.Map->Scores[1].Area, 1);
}

}  // namespace
