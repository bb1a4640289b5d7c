// SPDX-License-Identifier: GPL-3.0-or-later
// The master level (4): legal and repeatable answers, its work bound, and the forced cases it
// leaves to AutoTurn like every other level.
#include <gtest/gtest.h>

#include <bit>

#include "EngineTestSupport.h"

namespace {

struct Played {
  RecordingServices services;
  TMorvikMachine m{&services};
  std::vector<std::pair<int, int>> moves;
  Played(int w, int h, std::array<int, 5> levels, int32_t layout, bool byArea) {
    services.machine = &m;
    services.victoryByArea = byArea;
    NoHandlers(m);
    m.OnMakeMove = [this](uint8_t s, uint8_t c) { moves.emplace_back(s, c); };
    m.SetSizeMap(uint8_t(w), uint8_t(h));
    m.SetSizeTile(1);
    for (int s = 1; s <= 4; ++s)
      m.SetGamer(s, levels[s] ? gkComputer : gkNone, uint8_t(levels[s]), "C", 0);
    m.SetCodeGame(layout);
    m.StartGame();
  }
  // Plays computer turns until the game ends or `limit` moves were made; before each master
  // move calls check().
  template <class F>
  void Run(size_t limit, F&& check) {
    while (m.Active && moves.size() < limit) {
      if (m.Gamers[m.CurrentGamer].Level == 4) check();
      m.ComputerTurn();
      if (m.Active) m.NextGamer();
    }
  }
};

// Every answer in whole games of two, three and four seats (the master not always first), both
// victory rules: a free colour, the same when asked again, and the position untouched.
TEST(Master, AnswersAreFreeColoursAndRepeatable) {
  const struct {
    int w, h;
    std::array<int, 5> levels;
  } games[] = {{20, 10, {0, 4, 0, 0, 3}},
               {30, 15, {0, 2, 0, 0, 4}},
               {25, 25, {0, 4, 2, 3, 1}},
               {40, 12, {0, 1, 4, 4, 0}},
               {24, 12, {0, 2, 2, 4, 2}}};
  int checked = 0;
  for (const auto& g : games)
    for (const bool byArea : {true, false})
      for (int32_t layout = 1; layout <= 3; ++layout) {
        Played p(g.w, g.h, g.levels, layout, byArea);
        p.Run(100000, [&] {
          const auto free = p.m.FreeColors;
          const auto scores = p.m.Map->Scores;
          const uint32_t seed = GetRandSeed();
          const uint8_t c = p.m.BrainMaster();
          ASSERT_TRUE(c >= 1 && c <= 7 && p.m.FreeColors[c]) << int(c);
          ASSERT_EQ(p.m.BrainMaster(), c);
          ASSERT_EQ(p.m.FreeColors, free);
          ASSERT_EQ(GetRandSeed(), seed);
          ASSERT_EQ(p.m.Map->Scores[p.m.CurrentGamer].Area, scores[p.m.CurrentGamer].Area);
          ++checked;
        });
        EXPECT_FALSE(p.m.Active);
      }
  EXPECT_GT(checked, 300);
}

// The master foresees a computer of each classic level exactly: in every position of whole
// games (two to four seats, both victory rules), what it expects of the seat to move as a
// "Легкий", "Умеренный" or "Сложный" is what that level's own brain answers there, and the
// only capturing colour where AutoTurn moves instead.
TEST(Master, ForeseesTheClassicLevelsExactly) {
  const struct {
    int w, h;
    std::array<int, 5> levels;
  } games[] = {{30, 15, {0, 2, 0, 0, 3}},
               {25, 25, {0, 1, 2, 3, 2}},
               {50, 25, {0, 2, 2, 2, 2}},
               {16, 40, {0, 3, 1, 0, 2}}};
  std::array<int, 4> checked{};
  for (const auto& g : games)
    for (const bool byArea : {true, false})
      for (int32_t layout = 1; layout <= 4; ++layout) {
        Played p(g.w, g.h, g.levels, layout, byArea);
        while (p.m.Active) {
          TMorvikMachine& m = p.m;
          const TMap& map = *m.Map;
          unsigned capturing = 0;
          for (size_t i = 0; i < map.Islands.size(); ++i)
            if (!map.Islands[i].Merged && m.FreeColors[map.Islands[i].Color] &&
                m.IsNeighbourIsland(map, int(i)))
              capturing |= 1u << map.Islands[i].Color;
          if (capturing != 0) {
            const auto thought = m.PrepareMaster();
            const int seat = m.CurrentGamer;
            const bool forced = std::popcount(capturing) == 1;
            ASSERT_EQ(thought->Foresee(seat, 1), m.BrainEasy());
            ASSERT_EQ(thought->Foresee(seat, 2), forced ? m.BrainEasy() : m.BrainModerate())
                << g.w << "x" << g.h << " layout " << layout << " move " << p.moves.size();
            ASSERT_EQ(thought->Foresee(seat, 3), forced ? m.BrainEasy() : m.BrainHard())
                << g.w << "x" << g.h << " layout " << layout << " move " << p.moves.size();
            ++checked[forced ? 0 : m.Gamers[seat].Level];
          }
          m.ComputerTurn();
          if (m.Active) m.NextGamer();
        }
      }
  for (const int n : checked) EXPECT_GT(n, 100);
}

// Against three "Умеренный" the master may wall the middle island in: they are then foreseen to
// take nothing, and a master that also took nothing would let the game go round for ever (layout
// 385 did). Every game ends, the master in each seat.
TEST(Master, GamesAgainstFrozenRivalsEnd) {
  const struct {
    int w, h, seat;
    int32_t layout;
  } games[] = {{50, 25, 2, 385}, {20, 10, 1, 1}, {20, 10, 3, 2}, {24, 12, 4, 3}, {30, 12, 2, 4}};
  for (const auto& g : games)
    for (int32_t layout = g.layout; layout < g.layout + 6; ++layout) {
      std::array<int, 5> levels{0, 2, 2, 2, 2};
      levels[size_t(g.seat)] = 4;
      Played p(g.w, g.h, levels, layout, layout % 2 == 1);
      p.Run(size_t(g.w * g.h), [] {});
      EXPECT_FALSE(p.m.Active) << g.w << "x" << g.h << " layout " << layout;
    }
}

// The same layout played twice in one process (fresh machines, other games in between) gives
// the same moves.
TEST(Master, SameGameSameMoves) {
  Played a(30, 15, {0, 4, 0, 0, 4}, 9, false);
  a.Run(100000, [] {});
  Played other(20, 10, {0, 4, 4, 4, 4}, 3, true);
  other.Run(100000, [] {});
  Played b(30, 15, {0, 4, 0, 0, 4}, 9, false);
  b.Run(100000, [] {});
  EXPECT_EQ(a.moves, b.moves);
}

// On the largest board each move stays within its position budget, which depends on the
// board only.
TEST(Master, LargestBoardMovesStayWithinTheBudget) {
  Played p(255, 255, {0, 4, 4, 4, 4}, 42, true);
  uint32_t most = 0;
  p.Run(24, [&] {
    p.m.ComputerTurn();  // the master's own move; Run then passes the turn on
    size_t live = 0;
    for (const TIsland& x : p.m.Map->Islands) live += !x.Merged;
    EXPECT_LE(p.m.MasterPositions, TMorvikMachine::MasterPositionBudget(live) + 1);
    EXPECT_LE(p.m.MasterPositions, TMorvikMachine::MasterMaxPositions + 1);
    most = std::max(most, p.m.MasterPositions);
    p.m.NextGamer();
  });
  EXPECT_GT(most, TMorvikMachine::MasterMinPositions / 2);  // it did search
}

// A seat with one colour to take, or none, is moved by AutoTurn before any strategy: every
// level makes the same move there, the random one drawn from the shared generator.
TEST(Master, ForcedMovesAreTheSameAtEveryLevel) {
  struct Case {
    const char* name;
    std::vector<std::vector<int>> rows;
    int prepare;  // colour seat 2 plays first (0: none)
  } cases[] = {{"one colour", {{0, 2, 2, 0}, {2, 2, 5, 6}, {3, 4, 1, 7}}, 0},
               {"nothing to take", {{0, 3, 4, 0}, {3, 3, 5, 5}}, 3}};
  for (const Case& c : cases) {
    std::vector<int> answers;
    for (int level = 1; level <= 4; ++level) {
      RecordingServices services;
      TMorvikMachine m(&services);
      NoHandlers(m);
      std::vector<int> colours;
      m.OnMakeMove = [&](uint8_t, uint8_t k) { colours.push_back(k); };
      m.SetGamer(1, gkComputer, uint8_t(level), "A", 0);
      m.SetGamer(2, gkComputer, 1, "B", 0);
      HandBoard(m, c.rows);
      if (c.prepare) {
        m.CurrentGamer = 2;
        m.MakeMove(uint8_t(c.prepare));
      }
      m.CurrentGamer = 1;
      SetRandSeed(1234);
      services.steps = 0;
      m.ComputerTurn();
      ASSERT_EQ(colours.size(), c.prepare ? 2u : 1u) << c.name;
      // The colour and the progress steps (BrainEasy's, if any) are the same at every level.
      answers.push_back(colours.back() * 100 + services.steps);
    }
    EXPECT_EQ(answers, std::vector<int>(4, answers[0])) << c.name;
  }
}

}  // namespace
