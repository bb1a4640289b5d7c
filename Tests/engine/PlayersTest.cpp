// SPDX-License-Identifier: GPL-3.0-or-later
// The colour choices, and whole games checked against the literal copy-based players.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "EngineTestSupport.h"
#include "ReferencePlayers.h"

namespace {

// After seat 1 takes colour 1 its territory touches: colour 2 (one island of 2 tiles),
// colour 3 (two single tiles), colour 4 and colour 6 (one tile each).
struct Touching : ::testing::Test {
  RecordingServices services;
  TMorvikMachine m{&services};
  void SetUp() override {
    m.SetGamer(1, gkComputer, 3, "A", 0);
    m.SetGamer(4, gkComputer, 1, "B", 0);
    HandBoard(m, {{0, 1, 1, 1, 1, 1}, {2, 2, 3, 4, 3, 6}, {5, 5, 6, 7, 5, 0}});
    m.CurrentGamer = 1;
    m.Capture(*m.Map, 1, false);
    m.FreeColors[1] = false;
  }
};

TEST_F(Touching, BrainEasyTiesGoToTheHigherColourAndPointsBreakThem) {
  services.victoryByArea = true;
  EXPECT_EQ(m.BrainEasy(), 3);  // 2 tiles against 2 tiles
  services.victoryByArea = false;
  EXPECT_EQ(m.BrainEasy(), 2);  // 4 points against 2
}

TEST_F(Touching, ComputerTurnReportsOneStepPerFreeColourAndResetsTheBar) {
  services.steps = 0;
  services.positions.clear();
  m.ComputerTurn();
  EXPECT_EQ(services.progressMax, 6);  // colours 2..7
  EXPECT_EQ(services.steps, 6);
  EXPECT_EQ(services.positions, (std::vector<int>{0}));
}

TEST_F(Touching, PlayersLeaveTheBoardAndTheMachineAlone) {
  TMap before = reference::Copy(*m.Map);
  const auto free = m.FreeColors;
  for (auto area : {true, false}) {
    services.victoryByArea = area;
    m.BrainEasy();
    m.BrainModerate();
    m.BrainHard();
  }
  TMap after = reference::Copy(*m.Map);
  after.Scores = before.Scores = m.Map->Scores;
  ExpectSameBoard(after, before);
  EXPECT_EQ(m.FreeColors, free);
  EXPECT_EQ(m.CurrentGamer, 1);
}

TEST(Players, ModeratePlaysLikeEasyOnceTheCentreBelongsToATerritory) {
  TMorvikMachine m;
  m.SetGamer(1, gkComputer, 2, "A", 0);
  m.SetGamer(4, gkComputer, 2, "B", 0);
  HandBoard(m, {{0, 1, 2, 6}, {1, 1, 3, 7}, {4, 5, 2, 0}});
  m.CurrentGamer = 1;
  m.Capture(*m.Map, 1, false);  // the centre (2, 1) is not yet taken ...
  m.FreeColors[1] = false;
  EXPECT_EQ(m.BrainModerate(), 3);  // ... colour 3 reaches it in one step
  m.Capture(*m.Map, 3, false);
  m.FreeColors[1] = true, m.FreeColors[3] = false;
  for (uint32_t seed : {1u, 2u, 3u}) {
    SetRandSeed(seed);
    const uint8_t easy = m.BrainEasy();
    SetRandSeed(seed);
    EXPECT_EQ(m.BrainModerate(), easy);
  }
}

// ----- Whole games against the reference -----------------------------------------------------

struct GameSpec {
  int w, h;
  std::array<int, 5> levels;  // 0: empty seat
  bool byArea;
  int32_t code;
};

struct GameStats {
  int positions = 0, games = 0;
};

// Plays a whole game of computers; before every move the reference chooses on the same
// position with the same generator state, and after every move a literal board follows along.
void PlayAgainstReference(const GameSpec& g, GameStats& stats, bool followBoard, int sampleEvery) {
  RecordingServices services;
  TMorvikMachine m{&services};
  services.machine = &m;
  services.victoryByArea = g.byArea;
  NoHandlers(m);
  m.SetSizeMap(uint8_t(g.w), uint8_t(g.h));
  m.SetSizeTile(10);
  for (int s = 1; s <= 4; ++s)
    m.SetGamer(s, g.levels[s] ? gkComputer : gkNone, uint8_t(g.levels[s]), "C", 0);
  m.SetCodeGame(g.code);
  std::vector<std::pair<int, int>> moves;
  m.OnMakeMove = [&](uint8_t s, uint8_t k) { moves.push_back({s, k}); };
  bool ended = false;
  services.onShowResults = [&] {
    ended = true;
    CheckInvariants(m, *m.Map);
    size_t live = 0, area = 0, occupied = 0;
    for (const auto& x : m.Map->Islands) live += !x.Merged;
    for (int s = 1; s <= 4; ++s)
      if (g.levels[s]) area += m.Map->Scores[s].Area, ++occupied;
    EXPECT_EQ(live, occupied);
    EXPECT_EQ(area, size_t(g.w) * g.h);
  };
  m.StartGame();
  ASSERT_TRUE(m.Active);
  TMap board = reference::Copy(*m.Map);
  board.Scores = m.Map->Scores;
  int move = 0;
  while (m.Active) {
    ASSERT_LT(move, 20000) << "game does not end";
    const bool sample = move % sampleEvery == 0;
    const int seat = m.CurrentGamer;
    const uint32_t seed = GetRandSeed();
    uint8_t expected = 0;
    uint32_t seedAfter = 0;
    if (sample) {
      expected = reference::ComputerChoice(m, *m.Map, g.byArea);
      seedAfter = GetRandSeed();
      SetRandSeed(seed);
      ++stats.positions;
    }
    moves.clear();
    m.ComputerTurn();
    ASSERT_FALSE(moves.empty());
    ASSERT_EQ(moves[0].first, seat);
    if (sample) {
      ASSERT_EQ(int(moves[0].second), int(expected))
          << "layout " << g.code << " " << g.w << "x" << g.h << " move " << move << " level "
          << g.levels[seat] << (g.byArea ? " area" : " points");
    }
    if (followBoard) {
      reference::Capture(m, board, seat, moves[0].second, false);
      ASSERT_EQ(reference::Settled(m, board), !m.Active) << "end test, move " << move;
    }
    if (!m.Active) break;
    if (sample) {
      ASSERT_EQ(GetRandSeed(), seedAfter);
    }
    if (followBoard) {
      ASSERT_NO_FATAL_FAILURE(ExpectSameBoard(*m.Map, board)) << "move " << move;
    }
    if (sample) {
      ASSERT_NO_FATAL_FAILURE(CheckInvariants(m, *m.Map));
    }
    m.NextGamer();
    ++move;
  }
  EXPECT_TRUE(ended);
  ++stats.games;
}

GameSpec RandomSpec(std::mt19937& rng, int maxW, int maxH) {
  GameSpec g{};
  g.w = std::uniform_int_distribution<int>(10, maxW)(rng);
  g.h = std::uniform_int_distribution<int>(10, maxH)(rng);
  const int seats = std::uniform_int_distribution<int>(2, 4)(rng);
  std::array<int, 4> order = {1, 2, 3, 4};
  std::shuffle(order.begin(), order.end(), rng);
  for (int i = 0; i < seats; ++i)
    g.levels[order[i]] = std::uniform_int_distribution<int>(1, 3)(rng);
  g.byArea = rng() & 1;
  g.code = int32_t(rng() & 0x7FFFFFFF);
  return g;
}

int EnvCount(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v ? std::atoi(v) : fallback;
}

TEST(ReferenceEquivalence, ThousandsOfPositionsOnSmallAndMediumBoards) {
  std::mt19937 rng(20261208);
  GameStats stats;
  const int games = EnvCount("MORVIK_PROPERTY_GAMES", 150);
  for (int i = 0; i < games; ++i) {
    const bool medium = i % 10 == 9;
    const GameSpec g = medium ? RandomSpec(rng, 100, 50) : RandomSpec(rng, 40, 25);
    ASSERT_NO_FATAL_FAILURE(PlayAgainstReference(g, stats, true, 1));
  }
  EXPECT_GE(stats.positions, 2000);
  std::printf("%d games, %d positions compared\n", stats.games, stats.positions);
}

TEST(ReferenceEquivalence, SampledPositionsOfLargestBoards) {
  std::mt19937 rng(255255);
  GameStats stats;
  const int games = EnvCount("MORVIK_PROPERTY_LARGE_GAMES", 2);
  for (int i = 0; i < games; ++i) {
    GameSpec g = RandomSpec(rng, 255, 255);
    g.w = g.h = 255;
    ASSERT_NO_FATAL_FAILURE(PlayAgainstReference(g, stats, false, 150));
  }
  std::printf("%d games, %d positions compared\n", stats.games, stats.positions);
}

}  // namespace
