// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a finished game: scores, totals, ranking, who won, the hall of fame's share.
#include <gtest/gtest.h>

#include "FinishedBoard.h"
#include "engine/UnitCore.h"
#include "model/GameResults.h"
#include "model/ProgramState.h"

namespace {

using Names = std::vector<std::string>;

std::vector<std::pair<std::string, int32_t>> Lines(const TResultList& list) {
  std::vector<std::pair<std::string, int32_t>> out;
  for (const TResultLine& l : list) out.emplace_back(l.Name, l.Number);
  return out;
}

TEST(ResultScore, AreaInTenthsOfAPercentRoundedHalfUp) {
  EXPECT_EQ(AreaScore(1, 100, 50), 0);          // 0.2 + 0.5 truncated
  EXPECT_EQ(AreaScore(3, 40, 20), 4);           // 3.75 + 0.5
  EXPECT_EQ(AreaScore(65025, 255, 255), 1000);  // the whole of the largest board
  EXPECT_EQ(AreaScore(7, 0, 10), 0);            // no board, no division
}

TEST(ResultRanking, TeamsSumTheirMembersAndEqualNumbersKeepTheirOrder) {
  TMorvikMachine m;
  Finish(m, 20, 10,
         {{gkHuman, "Ann", 2, 0, 40},
          {gkComputer, "Компьютер №2", 0, 0, 70},
          {gkHuman, "Bob", 2, 0, 30},
          {gkComputer, "Компьютер №4", 0, 0, 70}});
  TResultList list = ResultTotals(m, false);
  EXPECT_EQ(Lines(list), (std::vector<std::pair<std::string, int32_t>>{{"Ann", 0},
                                                                       {"Компьютер №2", 70},
                                                                       {"Bob", 0},
                                                                       {"Компьютер №4", 70},
                                                                       {"Команда1", 0},
                                                                       {"Команда2", 70},
                                                                       {"Команда3", 0},
                                                                       {"Команда4", 0}}));
  RankResults(list);
  // 70, 70, 70: seats in seat order, then the team.
  EXPECT_EQ(list[0].Name, "Компьютер №2");
  EXPECT_EQ(list[1].Name, "Компьютер №4");
  EXPECT_EQ(list[2].Name, "Команда2");
  EXPECT_EQ(list[3].Number, 0);
  for (size_t i = 3; i < list.size(); ++i) EXPECT_EQ(list[i].Number, 0);
  // Zeros keep their order too.
  EXPECT_EQ(list[3].Name, "Ann");
  EXPECT_EQ(list[4].Name, "Bob");
}

TEST(ResultRanking, AreaUsesTheBoardSizeAndEmptySeatsCountNothing) {
  TMorvikMachine m;
  Finish(m, 100, 50,
         {{gkHuman, "Ann", 0, 4000}, {gkNone, "", 0, 900}, {}, {gkComputer, "K", 0, 1}});
  TResultList list = ResultTotals(m, true);
  RankResults(list);
  EXPECT_EQ(list[0].Name, "Ann");
  EXPECT_EQ(list[0].Number, 800);
  EXPECT_EQ(list[1].Number, 0);  // 1 tile of 5000 is 0 tenths: not listed
}

TEST(ResultRecord, InsertedBeforeTheFirstStrictlyLowerScore) {
  Names records{"A=900", "B=500", "c=500", "D=100"};
  EXPECT_EQ(InsertRecord(records, "E", 500), 4);
  EXPECT_EQ(records, (Names{"A=900", "B=500", "c=500", "E=500", "D=100"}));
  // The rank is that of the first equal record, letter case aside.
  EXPECT_EQ(InsertRecord(records, "C", 500), 3);
  EXPECT_EQ(records[5], "D=100");
  Names low{"A=900"};
  EXPECT_EQ(InsertRecord(low, "Z", 900), 0);  // nothing lower: appended
  EXPECT_EQ(low, (Names{"A=900", "Z=900"}));
  Names none;
  EXPECT_EQ(InsertRecord(none, "Z", 5), 0);
  EXPECT_EQ(none, Names{"Z=5"});
}

// The first line decides: a team member wins with the team's line, anyone else with the seat's.
TEST(ResultWinner, TheFirstLineDecidesForSeatsAndTeams) {
  const TResultLine seat2{"B", 9, 2, 0}, team3{"Команда3", 9, 0, 3};
  struct {
    TResultLine first;
    int seat, team;
    bool won;
  } const cases[] = {{seat2, 2, 0, true},         {seat2, 1, 0, false}, {seat2, 2, 3, false},
                     {team3, 2, 3, true},         {team3, 3, 0, false}, {team3, 1, 2, false},
                     {TResultLine{}, 1, 0, false}};
  for (const auto& c : cases)
    EXPECT_EQ(SeatWon(c.first, c.seat, c.team), c.won) << c.first.Name << " " << c.seat;
}

TEST(ResultWinner, OnlyAClassicUnassistedGameWonByNoComputerEntersTheHallOfFame) {
  EXPECT_TRUE(EntersHallFame(false, false, "Ann"));
  EXPECT_TRUE(EntersHallFame(false, false, "Компьюте"));
  EXPECT_FALSE(EntersHallFame(false, false, "Компьютер №4"));
  EXPECT_FALSE(EntersHallFame(false, false, "Компьютерщик"));
  EXPECT_FALSE(EntersHallFame(true, false, "Ann"));
  EXPECT_FALSE(EntersHallFame(false, true, "Ann"));
}

// The statistics take the game as the results dialog ranks it: the tie between a person and a
// computer goes to the person, team members win together, an unknown level counts in no group.
TEST(ResultWinner, StatisticsSeeTheWinnerTheResultsDialogShows) {
  TMorvikMachine m;
  TProgramState state;
  state.GamerList = {"Ann", "Bob"};
  state.GameVictory = 1;
  state.GameSizeMap = 0;
  Finish(m, 20, 10, {{gkHuman, "ann", 0, 0, 50}, {}, {}, {gkComputer, "Компьютер", 0, 0, 50}});
  TStatsGame g = FinishedGameStats(m, state);
  EXPECT_TRUE(g.Seats[1].Won);
  EXPECT_EQ(g.Seats[1].Profile, "Ann");
  EXPECT_FALSE(g.Seats[4].Won);
  EXPECT_EQ(g.Level, 1);
  EXPECT_FALSE(g.ByArea);
  EXPECT_TRUE(PersonWon(RankedResults(m, false), m));

  Finish(m, 20, 10,
         {{gkHuman, "Bob", 1, 0, 10}, {gkComputer, "K", 0, 0, 30}, {gkHuman, "Ann", 1, 0, 25}});
  m.Gamers[4].Level = 9;
  state.MultiUserMode = true;
  g = FinishedGameStats(m, state);
  EXPECT_TRUE(g.Seats[1].Won && g.Seats[3].Won);
  EXPECT_FALSE(g.Seats[2].Won);
  EXPECT_EQ(g.Seats[3].Score, 25);
  EXPECT_EQ(g.Level, 0);
  EXPECT_FALSE(PersonWon(RankedResults(m, false), m));  // a team's line is no person's seat

  // Help counts for the seat that asked for it; a game only known to be helped, for everyone.
  m.Assisted = true;
  EXPECT_TRUE(FinishedGameStats(m, state).Assisted);
  m.AssistedSeats[3] = true;
  g = FinishedGameStats(m, state);
  EXPECT_FALSE(g.Assisted);
  EXPECT_TRUE(g.Seats[3].Assisted);
  EXPECT_FALSE(g.Seats[1].Assisted);
  ASSERT_EQ(GameOutcomes(g).size(), 2u);
  for (const TStatsOutcome& o : GameOutcomes(g)) EXPECT_EQ(o.Assisted, o.Profile == "Ann");
  // Stopped, nobody having chosen: no result, nobody's statistics.
  g = StoppedGameStats(m, state);
  EXPECT_TRUE(g.Stopped);
  EXPECT_TRUE(GameOutcomes(g).empty());
}

}  // namespace
