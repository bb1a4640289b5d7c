// SPDX-License-Identifier: GPL-3.0-or-later
// Board generation, the island build and Capture.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace {

struct Started {
  RecordingServices services;
  TMorvikMachine m{&services};
  Started(int w, int h, int32_t code, std::vector<int> seats = {1, 4}) {
    m.SetSizeMap(uint8_t(w), uint8_t(h));
    m.SetSizeTile(10);
    for (int s : seats) m.SetGamer(s, gkHuman, 0, "P", 0);
    m.SetCodeGame(code);
    NoHandlers(m);
    m.StartGame();
  }
  std::vector<int> Row(int r, int count) {
    std::vector<int> out;
    for (int c = 0; c < count; ++c) out.push_back(m.Map->Tiles[r][c].Color);
    return out;
  }
};

std::vector<int> Colours(int32_t code, int w, int h) {
  TMorvikMachine m;
  m.SetSizeMap(uint8_t(w), uint8_t(h));
  m.SetCodeGame(code);
  m.Map = std::make_unique<TMap>();
  m.GenerateTiles();
  std::vector<int> out;
  for (auto& row : m.Map->Tiles)
    for (auto& t : row) out.push_back(t.Color);
  return out;
}

TEST(Generator, FollowsTheLinearCongruenceAndScalesByTheHighWord) {
  SetRandSeed(0);
  EXPECT_EQ(Random(1u << 31), 0u);  // state 1: high word of 1 * 2^31
  EXPECT_EQ(GetRandSeed(), 1u);
  EXPECT_EQ(Random(7), uint32_t((uint64_t(134775814u) * 7) >> 32));
  ReadClockCounter = [] { return 4242u; };
  Randomize();
  EXPECT_EQ(GetRandSeed(), 4242u);
}

TEST(GenerateTiles, WorkedExamplesOfLayouts12345And0) {
  auto a = Colours(12345, 20, 10);
  EXPECT_EQ(std::vector<int>(a.begin(), a.begin() + 20),
            (std::vector<int>{3, 3, 1, 4, 5, 3, 4, 1, 1, 7, 7, 3, 2, 6, 4, 3, 6, 6, 6, 7}));
  auto b = Colours(0, 10, 1);
  EXPECT_EQ(b, (std::vector<int>{1, 1, 7, 2, 2, 5, 3, 2, 3, 3}));
  // StartGame blanks only the occupied corners.
  Started g(20, 10, 12345);
  EXPECT_EQ(g.Row(0, 3), (std::vector<int>{0, 3, 1}));
  EXPECT_EQ(g.m.Map->Tiles[0][19].Color, 7);
  EXPECT_EQ(g.m.Map->Tiles[9][19].Color, 0);
}

TEST(GenerateTiles, PureFunctionOfLayoutAndSize) {
  const auto first = Colours(777, 30, 12);
  SetRandSeed(99);
  Random(5);
  EXPECT_EQ(Colours(777, 30, 12), first);
  // Layout 1 is layout 0 shifted by one tile.
  const auto zero = Colours(0, 40, 1), one = Colours(1, 40, 1);
  EXPECT_TRUE(std::equal(one.begin(), one.end() - 1, zero.begin() + 1));
  // A lower board keeps the rows both have; a narrower one only the start of row 0.
  const auto low = Colours(777, 30, 5);
  EXPECT_TRUE(std::equal(low.begin(), low.end(), first.begin()));
  const auto narrow = Colours(777, 20, 12);
  EXPECT_TRUE(std::equal(narrow.begin(), narrow.begin() + 20, first.begin()));
  EXPECT_FALSE(std::equal(narrow.begin() + 20, narrow.begin() + 40, first.begin() + 30));
  for (int c : Colours(31337, 255, 255)) ASSERT_TRUE(c >= 1 && c <= 7);
}

TEST(GenerateIslands, WorkedExamplesOfLayout12345) {
  Started g(20, 10, 12345);
  const TMap& map = *g.m.Map;
  EXPECT_EQ(map.Islands.size(), 141u);
  EXPECT_EQ(g.m.GetGamerIsland(map, 1), 0);
  EXPECT_EQ(Live(map.Islands[0].Neighbours), (std::vector<int>{1, 16}));
  EXPECT_EQ(g.m.GetGamerIsland(map, 4), 140);
  EXPECT_EQ(Live(map.Islands[140].Neighbours), (std::vector<int>{139, 125}));
  CheckInvariants(g.m, map);
  Started big(50, 25, 12345);
  EXPECT_EQ(big.m.Map->Islands.size(), 917u);
  // Progress and status texts of the build, in order.
  const auto& log = g.services.log;
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
            (std::vector<std::string>{"status:Генерация карты...", "status:Генерация островов...",
                                      "status:Генерация соседей...", "draw+"}));
  EXPECT_EQ(g.services.steps, 3 * 200);
}

// The 4 x 3 example: row 0: 0 2 2 5; row 1: 3 2 5 5; row 2: 3 3 1 0; seats 1 and 4.
struct SmallBoard : ::testing::Test {
  TMorvikMachine m;
  void SetUp() override {
    m.SetGamer(1, gkHuman, 0, "A", 0);
    m.SetGamer(4, gkComputer, 1, "B", 0);
    HandBoard(m, {{0, 2, 2, 5}, {3, 2, 5, 5}, {3, 3, 1, 0}});
    m.CurrentGamer = 1;
  }
  std::vector<std::pair<int, int>> TilesOf(int i) {
    std::vector<std::pair<int, int>> out;
    for (auto p : m.Map->Islands[i].Tiles) out.push_back({p.Col, p.Row});
    return out;
  }
};

TEST_F(SmallBoard, BuildGivesTheSixIslandsInScanOrder) {
  const auto& is = m.Map->Islands;
  ASSERT_EQ(is.size(), 6u);
  const std::vector<int> colours = {0, 2, 5, 3, 1, 0};
  const std::vector<std::vector<int>> lists = {{1, 3},    {0, 2, 3}, {1, 4, 5},
                                               {1, 0, 4}, {3, 5, 2}, {4, 2}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(is[i].Color, colours[i]) << i;
    EXPECT_EQ(Live(is[i].Neighbours), lists[i]) << i;
  }
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(TilesOf(1), (P{{1, 0}, {2, 0}, {1, 1}}));
  EXPECT_EQ(TilesOf(2), (P{{3, 0}, {3, 1}, {2, 1}}));
  EXPECT_EQ(TilesOf(3), (P{{0, 1}, {0, 2}, {1, 2}}));
}

TEST_F(SmallBoard, CaptureOfColour2ListByList) {
  m.Capture(*m.Map, 2, false);
  const auto& is = m.Map->Islands;
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(TilesOf(0), (P{{0, 0}, {1, 0}, {2, 0}, {1, 1}}));
  EXPECT_EQ(is[0].Color, 2);
  EXPECT_EQ(Live(is[0].Neighbours), (std::vector<int>{-1, 3, 2}));
  EXPECT_EQ(Live(is[2].Neighbours), (std::vector<int>{-1, 4, 5, 0}));
  EXPECT_EQ(Live(is[3].Neighbours), (std::vector<int>{-1, 0, 4}));
  EXPECT_TRUE(is[1].Merged);
  EXPECT_EQ(m.Map->Scores[1].Area, 4);
  EXPECT_EQ(m.Map->Scores[1].Points, 10);
  for (auto [c, r] : TilesOf(0)) EXPECT_EQ(m.Map->Tiles[r][c].Island, 0);
  CheckInvariants(m, *m.Map);
}

TEST_F(SmallBoard, CaptureOfAColourNobodyTouchesOnlyRecolours) {
  m.Capture(*m.Map, 6, false);
  EXPECT_EQ(m.Map->Islands[0].Color, 6);
  EXPECT_EQ(m.Map->Scores[1].Area, 1);
  EXPECT_EQ(m.Map->Scores[1].Points, 1);
  EXPECT_EQ(Live(m.Map->Islands[0].Neighbours), (std::vector<int>{1, 3}));
}

TEST_F(SmallBoard, RingCaptureTakesOneRingAndNeverATerritory) {
  m.Capture(*m.Map, 7, true);  // ring: islands 1 and 3, not 2 and 4 reached through them
  const auto& is = m.Map->Islands;
  EXPECT_TRUE(is[1].Merged && is[3].Merged);
  EXPECT_FALSE(is[2].Merged || is[4].Merged);
  EXPECT_EQ(m.Map->Scores[1].Area, 7);
  m.Capture(*m.Map, 7, true);  // ring 2: islands 2 and 4; territory 5 becomes a neighbour
  EXPECT_TRUE(is[2].Merged && is[4].Merged);
  EXPECT_FALSE(is[5].Merged);
  EXPECT_TRUE(m.IsNeighbourIsland(*m.Map, 5));
  EXPECT_EQ(Live(is[5].Neighbours), (std::vector<int>{-1, -1, 0}));
  EXPECT_EQ(m.Map->Scores[1].Area, 11);
  m.Capture(*m.Map, 7, true);
  EXPECT_EQ(m.Map->Scores[1].Area, 11);
  CheckInvariants(m, *m.Map);
}

TEST_F(SmallBoard, CopiesStartWithoutPointsAndLeaveTheLiveBoardAlone) {
  TMap copy;
  m.CopyMap(copy, *m.Map);
  m.Capture(copy, 2, false);
  EXPECT_EQ(copy.Scores[1].Points, 9);
  EXPECT_EQ(copy.Scores[1].Area, 4);
  EXPECT_FALSE(m.Map->Islands[1].Merged);
  EXPECT_EQ(m.Map->Scores[1].Points, 1);
  m.FreeMap(copy);
  EXPECT_TRUE(copy.Islands.empty() && copy.Tiles.empty());
}

TEST_F(SmallBoard, QueriesOnTheGraph) {
  EXPECT_TRUE(m.IsGamerIsland(*m.Map, 0));
  EXPECT_TRUE(m.IsGamerIsland(*m.Map, 5));
  EXPECT_FALSE(m.IsGamerIsland(*m.Map, 1));
  EXPECT_TRUE(m.IsNeighbourIsland(*m.Map, 3));
  EXPECT_FALSE(m.IsNeighbourIsland(*m.Map, 2));
  EXPECT_FALSE(m.IsNeighbourIsland(*m.Map, -1));
  EXPECT_EQ(m.GetGamerColor(*m.Map), 0);
}

TEST(Capture, WithNoGameRunningIsAnInternalError) {
  TMorvikMachine m;
  m.SetGamer(1, gkHuman, 0, "A", 0);
  m.SetGamer(4, gkHuman, 0, "B", 0);
  HandBoard(m, {{0, 1, 2}, {2, 1, 0}});
  m.Active = false;
  try {
    m.Capture(*m.Map, 1, false);
    FAIL() << "no failure";
  } catch (const EUnitCoreError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("UnitCore", 0), 0u);
  }
}

TEST(GenerateIslands, CornersDoNotConnectEdgesDoFromAnySide) {
  TMorvikMachine m;
  m.SetGamer(1, gkHuman, 0, "A", 0);
  m.SetGamer(4, gkHuman, 0, "B", 0);
  // The 1s in row 0 are reached only through row 1; the 2s on the diagonal stay apart.
  HandBoard(m, {{0, 1, 3, 1, 2},  //
                {4, 1, 1, 1, 5},
                {2, 6, 2, 6, 0}});
  const auto& t = m.Map->Tiles;
  EXPECT_EQ(t[0][1].Island, t[0][3].Island);
  EXPECT_EQ(m.Map->Islands[t[0][1].Island].Tiles.size(), 5u);
  EXPECT_NE(t[2][0].Island, t[2][2].Island);
  EXPECT_NE(t[0][4].Island, t[2][2].Island);
  CheckInvariants(m, *m.Map);
}

TEST(GenerateIslands, OneHugeIslandNeedsNoDeepRecursion) {
  TMorvikMachine m;
  m.SetGamer(1, gkHuman, 0, "A", 0);
  m.SetGamer(4, gkHuman, 0, "B", 0);
  std::vector<std::vector<int>> rows(255, std::vector<int>(255, 3));
  rows[0][0] = 0;
  rows[254][254] = 0;
  HandBoard(m, rows);
  ASSERT_EQ(m.Map->Islands.size(), 3u);
  EXPECT_EQ(m.Map->Islands[1].Tiles.size(), 255u * 255 - 2);
  // Points of a 65023-tile island do not wrap around in 16 bits.
  m.CurrentGamer = 1;
  m.Capture(*m.Map, 3, false);
  EXPECT_EQ(m.Map->Scores[1].Points, 0x7FFFFFFF);  // clamped, never wrapped
  EXPECT_EQ(m.Map->Scores[1].Area, 65024);
  EXPECT_EQ(TMorvikMachine::Square(300), 90000u);
}

}  // namespace
