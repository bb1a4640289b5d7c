// SPDX-License-Identifier: GPL-3.0-or-later
// morvik-arena: its fixed command-line interface and games that replay move for move.
#include <gtest/gtest.h>

#include <sstream>

#include "Arena.h"
#include "EngineTestSupport.h"
#include "model/ComputerLevels.h"

namespace {

struct ArenaRun {
  int code;
  std::string out, err;
};

// Two seats, the second at the first level past the table.
std::string NoLevel() {
  return "1," + std::to_string(ComputerLevels().size() + 1) + ",-,-";
}

ArenaRun RunArgs(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int code = RunArena(args, out, err);
  return {code, out.str(), err.str()};
}

TEST(Arena, BadArgumentsGiveOneLineOnStderrAndExitCode2) {
  const std::vector<std::vector<std::string>> bad = {{"--bogus"},
                                                     {"--size", "2x10"},
                                                     {"--size", "10x256"},
                                                     {"--size", "10"},
                                                     {"--size", "ax5"},
                                                     {"--size"},
                                                     {"--seats", "1,-,-,-"},
                                                     {"--seats", NoLevel()},
                                                     {"--seats", "1,0,-,-"},
                                                     {"--seats", "1,1,1"},
                                                     {"--seats", "1,1,1,1,"},
                                                     {"--layout", "-1"},
                                                     {"--layout", "2147483648"},
                                                     {"--layout", "12a"},
                                                     {"--victory", "score"},
                                                     {"--games", "0"},
                                                     {"--layout", "2147483647", "--games", "2"},
                                                     {"--show=1"},
                                                     {"layout"}};
  for (const auto& args : bad) {
    const ArenaRun r = RunArgs(args);
    EXPECT_EQ(r.code, 2) << args[0];
    EXPECT_TRUE(r.out.empty()) << args[0];
    ASSERT_FALSE(r.err.empty()) << args[0];
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
}

TEST(Arena, DefaultsAreARandomLayoutOn50x25WithTwoEasySeatsByArea) {
  std::string error;
  const auto o = ParseArenaArguments({}, error);
  ASSERT_TRUE(o);
  EXPECT_FALSE(o->layout);
  EXPECT_EQ(o->width, 50);
  EXPECT_EQ(o->height, 25);
  EXPECT_EQ(o->levels, (std::array<int, 5>{0, 1, 0, 0, 1}));
  EXPECT_TRUE(o->byArea);
  const ArenaRun r = RunArgs({});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("{\"layout\":", 0), 0u);
  EXPECT_NE(r.out.find("\"width\":50,\"height\":25,\"victory\":\"area\""), std::string::npos);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
}

TEST(Arena, IslandsOfTheWorkedExample) {
  const ArenaRun r = RunArgs({"--layout", "12345", "--size", "20x10", "--islands"});
  EXPECT_EQ(r.out,
            "{\"layout\":12345,\"width\":20,\"height\":10,\"islands\":141,\"seats\":["
            "{\"seat\":1,\"territory\":0,\"neighbours\":[1,16]},"
            "{\"seat\":4,\"territory\":140,\"neighbours\":[139,125]}]}\n");
}

TEST(Arena, GamesAreReproducibleAndTheSummaryCountsEveryGame) {
  const std::vector<std::string> args = {"--layout=77",      "--size=30x20", "--seats=2,3,1,-",
                                         "--victory=points", "--games",      "3"};
  const ArenaRun a = RunArgs(args), b = RunArgs(args);
  ASSERT_EQ(a.code, 0);
  std::istringstream lines(a.out);
  std::vector<std::string> all;
  for (std::string l; std::getline(lines, l);) all.push_back(l);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[1].rfind("{\"layout\":78,", 0), 0u);
  EXPECT_EQ(all[3].rfind("{\"games\":3,\"wins\":[", 0), 0u);
  // Same games; only the time may differ.
  EXPECT_EQ(a.out.substr(0, a.out.find("\"ms\"")), b.out.substr(0, b.out.find("\"ms\"")));
}

TEST(Arena, TheMoveListReplaysToTheSameScores) {
  TArenaOptions o;
  o.width = 40, o.height = 20;
  o.levels = {0, 3, 2, 0, 1};
  o.byArea = false;
  for (int32_t layout : {5, 6, 7}) {
    const TArenaGame g = PlayArenaGame(o, layout);
    RecordingServices services;
    TMorvikMachine m{&services};
    services.machine = &m;
    services.victoryByArea = false;
    std::array<TGamerScore, 5> final{};
    services.onShowResults = [&] { final = m.Map->Scores; };
    NoHandlers(m);
    m.SetSizeMap(40, 20);
    m.SetSizeTile(1);
    for (int s = 1; s <= 4; ++s) m.SetGamer(s, o.levels[s] ? gkHuman : gkNone, 0, "P", 0);
    m.SetCodeGame(layout);
    m.StartGame();
    for (const auto& [seat, colour] : g.moves) {
      ASSERT_TRUE(m.Active);
      ASSERT_EQ(m.CurrentGamer, seat);
      m.MakeMove(uint8_t(colour));
      if (m.Active) m.NextGamer();
    }
    EXPECT_FALSE(m.Active);
    for (const auto& s : g.seats) {
      EXPECT_EQ(final[s.seat].Area, s.area);
      EXPECT_EQ(final[s.seat].Points, s.points);
    }
  }
}

TEST(Arena, ShowPrintsBothBoardsAndTheMoves) {
  const ArenaRun r =
      RunArgs({"--size", "20x10", "--seats", "3,-,-,1", "--show", "--layout", "12345"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("  A3145341177326436667\n"), std::string::npos);
  EXPECT_NE(r.out.find("1. A (seat 1): 3 Желтый"), std::string::npos);
  EXPECT_NE(r.out.find("Board at the end"), std::string::npos);
  EXPECT_NE(r.out.find("Winner: "), std::string::npos);
}

}  // namespace
