// SPDX-License-Identifier: GPL-3.0-or-later
// Profile statistics as they reach the settings file: counting rules against a model kept as the
// history of games, hot-seat games, rename and delete, and values damaged by hand.
#include <map>
#include <optional>
#include <random>

#include "ScriptedMessages.h"
#include "TempFolder.h"
#include "config/Catalogue.h"
#include "config/GamerFile.h"
#include "config/GamerStats.h"
#include "config/IniFile.h"

namespace {

class GamerStats : public TempFolderTest {
 protected:
  TScriptedMessages msgs;
};

// A classic game: Ann in seat 1 against the computer in seat 4; a tie goes to seat 1, as the
// results dialog ranks.
TStatsGame Classic(int32_t ann, int32_t computer, int level = 2, int size = 1, bool byArea = true) {
  TStatsGame g;
  g.Seats[1] = {true, true, "Ann", 0, ann};
  g.Seats[4] = {true, false, "", 0, computer};
  g.Seats[1].Won = ann >= computer;
  g.Seats[4].Won = !g.Seats[1].Won;
  g.Level = level;
  g.SizeIndex = size;
  g.ByArea = byArea;
  return g;
}

TEST_F(GamerStats, CountsFollowTheHistoryOfGamesInEveryGroup) {
  Put(Path(), "");
  TIniFile ini(Path(), &msgs);
  struct TPlayed {
    bool won;
    int32_t result;
    bool stopped;
  };
  std::map<std::string, std::vector<TPlayed>> history;  // the model: every game per group
  std::mt19937 rng(17);
  for (int i = 0; i < 320; ++i) {
    const int level = 1 + int(rng() % 3), size = int(rng() % 5);
    const bool byArea = rng() % 2, assisted = rng() % 5 == 0, stopped = rng() % 6 == 0;
    // Help is asked for by the game as a whole or by Ann's own seat.
    const bool seatAssisted = assisted && rng() % 2;
    const int32_t ann = int32_t(rng() % 1000), computer = int32_t(rng() % 1000);
    TStatsGame g = Classic(ann, computer, level, size, byArea);
    g.Assisted = assisted && !seatAssisted;
    g.Seats[1].Assisted = seatAssisted;
    g.Stopped = stopped;
    ASSERT_TRUE(RecordGameStats(ini, g));
    std::string mode = ClassicStatsGroup(level, size, byArea), total = TotalStatsGroup(byArea);
    if (assisted) mode = AssistedStatsGroup(mode), total = AssistedStatsGroup(total);
    for (const std::string& group : {mode, total})
      history[group].push_back({ann >= computer, ann, stopped});
  }
  const TGamerStats stats = ReadGamerStats(ini, "Ann");
  // Groups nobody played read as zeros; the two victory rules never share a group.
  EXPECT_EQ(stats.Record("Multi3_Area"), TStatsRecord{});
  EXPECT_EQ(stats.Record(MultiStatsGroup(2, true)), TStatsRecord{});
  ASSERT_GT(history.size(), 40u);
  size_t longest = 0;
  for (const auto& [group, games] : history) {
    TStatsRecord expected;
    int run = 0;
    for (const TPlayed& p : games) {
      ++expected.Games;
      if (p.stopped) {  // no result, and the end of a winning streak
        ++expected.Stopped;
        run = 0;
        continue;
      }
      (p.won ? expected.Wins : expected.Losses)++;
      expected.Best = std::max(expected.Best, p.result);
      expected.Sum += p.result;
      run = p.won ? run + 1 : 0;
      expected.LongestStreak = std::max(expected.LongestStreak, run);
    }
    expected.Streak = run;
    EXPECT_EQ(stats.Record(group), expected) << group;
    EXPECT_TRUE(stats.Possible(group)) << group;  // real games never look damaged
    const int finished = expected.Games - expected.Stopped;
    const double average = finished ? double(expected.Sum) / finished : 0;
    EXPECT_LE(std::abs(stats.Record(group).Average() - average), 0.5) << group;
    // The stopped games' key is there exactly when there are any.
    EXPECT_EQ(ini.ReadString(cfg::StatsSection("Ann"), group + "_Stopped", "none"),
              expected.Stopped ? std::to_string(expected.Stopped) : "none")
        << group;
    // The history: the last 100 finished games, in order.
    TStatsHistory last;
    for (const TPlayed& p : games)
      if (!p.stopped) last.push_back({p.won, p.result});
    if (last.size() > kStatsHistoryLength) last.erase(last.begin(), last.end() - 100);
    EXPECT_EQ(stats.History(group), last) << group;
    longest = std::max(longest, games.size());
  }
  EXPECT_GT(longest, kStatsHistoryLength + 10);  // the cap was reached
  // Only ASCII keys and plain numbers reach the file.
  for (const std::string& line : ini.ReadSectionValues(cfg::StatsSection("Ann")))
    for (char c : line) ASSERT_TRUE(c > ' ' && c < 127) << line;
}

TEST_F(GamerStats, TiesPeopleTeamsAndSharedProfilesByTheirSeats) {
  Put(Path(), "[GAMERS]\r\nAnn=Ann\r\nBob=Bob\r\n");
  TIniFile ini(Path(), &msgs);
  // A tie in a classic game: the person in seat 1 ranks first and wins.
  ASSERT_TRUE(RecordGameStats(ini, Classic(400, 400)));
  EXPECT_EQ(ReadGamerStats(ini, "Ann").Record("Classic2_Size1_Area").Wins, 1);

  // Hot seat by points: Ann in seat 1 and Bob in seat 3, a computer in seat 2; a tie between
  // seat 1 and seat 3 goes to seat 1. Each profile's own section is counted.
  TStatsGame g;
  g.MultiUser = true;
  g.ByArea = false;
  g.Seats[1] = {true, true, "Ann", 0, 120};
  g.Seats[2] = {true, false, "", 0, 50};
  g.Seats[3] = {true, true, "bob", 0, 120};  // profile names compare without case
  g.Seats[1].Won = true;
  ASSERT_TRUE(RecordGameStats(ini, g));
  const TStatsRecord ann = ReadGamerStats(ini, "Ann").Record("Multi3_Points");
  const TStatsRecord bob = ReadGamerStats(ini, "Bob").Record("Multi3_Points");
  EXPECT_EQ(ann, (TStatsRecord{1, 1, 0, 120, 120, 1, 1}));
  EXPECT_EQ(bob, (TStatsRecord{1, 0, 1, 120, 120, 0, 0}));
  EXPECT_EQ(ReadGamerStats(ini, "Bob").Record("Total_Points").Games, 1);

  // Teams: Ann and Bob in team 2 beat the computer's line although seat 2 scored most alone;
  // both win, each with their own result.
  g.Seats[1].Team = g.Seats[3].Team = 2;
  g.Seats[1].Score = 70;
  g.Seats[3].Score = 60;
  g.Seats[2].Score = 100;
  g.Seats[1].Won = g.Seats[3].Won = true;
  ASSERT_TRUE(RecordGameStats(ini, g));
  EXPECT_EQ(ReadGamerStats(ini, "Ann").Record("Multi3_Points"),
            (TStatsRecord{2, 2, 0, 120, 190, 2, 2}));
  EXPECT_EQ(ReadGamerStats(ini, "Bob").Record("Multi3_Points"),
            (TStatsRecord{2, 1, 1, 120, 180, 1, 1}));

  // One profile in two seats counts one game: won when either seat won, with the better result.
  g.Seats[3].Profile = "Ann";
  g.Seats[1].Team = g.Seats[3].Team = 0;
  g.Seats[1].Won = false;
  ASSERT_TRUE(RecordGameStats(ini, g));
  EXPECT_EQ(ReadGamerStats(ini, "Ann").Record("Multi3_Points"),
            (TStatsRecord{3, 3, 0, 120, 260, 3, 3}));

  // Several profiles are written in one replacement: a name the file cannot hold refuses the
  // whole game, and the other profile's counts stay as they were.
  const std::string before = Get(Path());
  g.Seats[1].Profile = "Eve]";
  EXPECT_FALSE(RecordGameStats(ini, g));
  EXPECT_EQ(Get(Path()), before);
  // Nobody's person seat: nothing to write, and no error.
  msgs.shown.clear();
  g.Seats[1].Person = g.Seats[3].Person = false;
  EXPECT_TRUE(RecordGameStats(ini, g));
  EXPECT_EQ(Get(Path()), before);
}

// A profile in two seats, in every order of winning and losing: one outcome, a win when either
// seat won, with the better of the two results, whichever seat came first.
TEST(GameOutcomes, AProfileInTwoSeatsWinsWhenEitherSeatWon) {
  for (int earlierWon = 0; earlierWon <= 1; ++earlierWon)
    for (int laterWon = 0; laterWon <= 1; ++laterWon)
      for (const bool earlierBetter : {false, true}) {
        TStatsGame g;
        g.MultiUser = true;
        g.Seats[1] = {true, true, "Ann", 0, earlierBetter ? 70 : 30};
        g.Seats[2] = {true, false, "", 0, 50};
        g.Seats[3] = {true, true, "ANN", 0, earlierBetter ? 30 : 70};
        g.Seats[1].Won = earlierWon, g.Seats[3].Won = laterWon;
        const auto outcomes = GameOutcomes(g);
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes[0].Profile, "Ann");
        EXPECT_EQ(outcomes[0].Won, earlierWon || laterWon) << earlierWon << laterWon;
        EXPECT_EQ(outcomes[0].Result, 70);
      }
}

TEST_F(GamerStats, RenameCarriesTheSectionAndDeleteErasesIt) {
  Put(Path(),
      "[GAMERS]\r\nAnn=Ann\r\nBob=Bob\r\n[OPTIONS_Ann]\r\nVolume=35\r\n"
      "[STATS_Ann]\r\nTotal_Area_Games=7\r\nTotal_Area_Wins=5\r\nTotal_Area_History=W700,L9\r\n"
      "[STATS_Eve]\r\nTotal_Area_Games=99\r\n[STATS_Bob]\r\nTotal_Area_Games=3\r\n");
  TIniFile ini(Path(), &msgs);
  // Eve's section was left behind by a profile deleted long ago: Ann's statistics replace it.
  ASSERT_TRUE(RenameGamerInFile(ini, &msgs, "Ann", "Eve"));
  EXPECT_FALSE(ini.SectionExists("STATS_Ann"));
  EXPECT_EQ(ini.ReadSectionValues("STATS_Eve"),
            (std::vector<std::string>{"Total_Area_Games=7", "Total_Area_Wins=5",
                                      "Total_Area_History=W700,L9"}));
  EXPECT_EQ(ini.ReadInteger("OPTIONS_Eve", "Volume", 0), 35);

  ASSERT_TRUE(DeleteGamerInFile(ini, "Eve"));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"GAMERS", "STATS_Bob"}));
  EXPECT_EQ(ini.ReadSection("GAMERS"), std::vector<std::string>{"Bob"});
  EXPECT_TRUE(msgs.shown.empty());
}

// Counters that cannot come from real games together, one fault each: such a group reads as not
// possible (shown as unknown) and starts afresh with the next game.
TEST_F(GamerStats, ImpossibleCountersAreFlaggedAndStartAfresh) {
  const TStatsRecord sound{5, 3, 2, 900, 2500, 1, 2};
  ASSERT_TRUE(sound.Possible(true));
  ASSERT_TRUE((TStatsRecord{}).Possible(true));
  struct Case {
    const char* what;
    TStatsRecord r;
    bool byArea = true;
  } cases[] = {
      {"wins over games", {5, 50, 0, 900, 2500, 1, 2}},
      {"losses over games", {5, 0, 6, 900, 2500, 0, 0}},
      {"wins and losses over games", {5, 3, 3, 900, 2500, 1, 2}},
      {"streak over longest", {5, 3, 2, 900, 2500, 3, 2}},
      {"longest over wins", {5, 3, 2, 900, 2500, 1, 4}},
      {"best over the whole board", {5, 3, 2, 100000, 2500, 1, 2}},
      {"average over the best", {5, 3, 2, 900, 4501, 1, 2}},
      {"average over the best, points", {5, 3, 2, 900, 4501, 1, 2}, false},
      {"sum under the best", {5, 3, 2, 900, 800, 1, 2}},
      {"results without games", {0, 0, 0, 0, 429496729, 0, 0}},
      {"negative", {5, 3, 2, -1, 2500, 1, 2}},
      {"stopped over games", {5, 3, 2, 900, 2500, 1, 2, 1}},
      {"results of stopped games only", {2, 0, 0, 900, 900, 0, 0, 2}},
  };
  Put(Path(), "");
  TIniFile ini(Path(), &msgs);
  for (const Case& c : cases) {
    EXPECT_FALSE(c.r.Possible(c.byArea)) << c.what;
    const std::string group = TotalStatsGroup(c.byArea);
    TGamerStats stats;
    stats.SetRecord(group, c.r);
    EXPECT_FALSE(stats.Possible(group)) << c.what;
    ASSERT_TRUE(ini.ReplaceSection(cfg::StatsSection("Ann"), stats.Pairs(group)));
    ASSERT_TRUE(RecordGameStats(ini, Classic(700, 100, 2, 1, c.byArea)));
    const TGamerStats after = ReadGamerStats(ini, "Ann");
    EXPECT_TRUE(after.Possible(group)) << c.what;
    EXPECT_EQ(after.Record(group), (TStatsRecord{1, 1, 0, 700, 700, 1, 1})) << c.what;
  }
  // A points result has no upper bound but the file's.
  EXPECT_TRUE((TStatsRecord{1, 1, 0, 2000000000, 2000000000, 1, 1}).Possible(false));
  EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(GamerStats, DamagedValuesReadAsZeroAndNeverStopTheCount) {
  Put(Path(),
      "[STATS_Ann]\r\nNote=kept as it is\r\nClassic2_Size1_Area_Games=abc\r\n"
      "Classic2_Size1_Area_Wins=-5\r\nClassic2_Size1_Area_Best=0x10\r\n"
      "Classic2_Size1_Area_Losses=99999999999\r\nclassic2_size1_area_streak=4\r\n"
      "Classic2_Size1_Area_Streak=8\r\nClassic2_Size1_Area_Sum=\r\n"
      "Total_Area_Games=2147483\r\nTotal_Area_Losses=2147483\r\nTotal_Area_Best=1000\r\n"
      "Total_Area_Sum=2147483000\r\n");
  TIniFile ini(Path(), &msgs);
  TStatsRecord damaged = ReadGamerStats(ini, "Ann").Record("Classic2_Size1_Area");
  EXPECT_EQ(damaged, (TStatsRecord{0, 0, 0, 0, 0, 4, 0}));  // the first of two lines counts
  // A streak of four without a game cannot be: the group starts afresh with the next game.
  EXPECT_FALSE(ReadGamerStats(ini, "Ann").Possible("Classic2_Size1_Area"));

  ASSERT_TRUE(RecordGameStats(ini, Classic(900, 100)));
  const TGamerStats stats = ReadGamerStats(ini, "Ann");
  EXPECT_EQ(stats.Record("Classic2_Size1_Area"), (TStatsRecord{1, 1, 0, 900, 900, 1, 1}));
  // A sum at the top of the file's integers stays there instead of turning negative.
  EXPECT_EQ(stats.Record("Total_Area").Sum, 2147483647);
  EXPECT_EQ(stats.Record("Total_Area").Games, 2147484);
  EXPECT_TRUE(stats.Possible("Total_Area"));
  EXPECT_EQ(ini.ReadString("STATS_Ann", "Note", ""), "kept as it is");
  EXPECT_TRUE(msgs.shown.empty());
}

// The history's text as a hand may leave it: what reads, what is damaged (read as none, and
// replaced by the next game's result alone), and what does not fit the group's counters.
TEST_F(GamerStats, HistoryReadsOnlyWhatWeWriteAndRepairsTheRest) {
  std::string many = "W5";
  TStatsHistory hundred(100, {false, 5});
  hundred[0].Won = true;
  for (int i = 0; i < 99; ++i) many += ",L5";
  const std::optional<TStatsHistory> none;
  struct Case {
    std::string text;
    std::optional<TStatsHistory> read;  // none: damaged
    bool fits = true;                   // against 60 wins, 140 losses, best 900 by area
  } cases[] = {
      {"", TStatsHistory{}},
      {"W601,L40,W0", TStatsHistory{{true, 601}, {false, 40}, {true, 0}}},
      {"L007", TStatsHistory{{false, 7}}},
      {many, hundred},
      {"W2147483647", TStatsHistory{{true, 2147483647}}, false},
      {"W901", TStatsHistory{{true, 901}}, false},  // above the best
      {many + ",W5", none},
      {"W2147483648", none},
      {"W99999999999999999999999", none},
      {"w601", none},
      {"W601,", none},
      {",W601", none},
      {"W601,,L3", none},
      {"W-3", none},
      {"W 3", none},
      {"W3;L4", none},
      {"W", none},
      {"601", none},
      {"W1\xffL2", none},
      {std::string("W1\0L2", 5), none},
      {std::string(5000, 'W'), none},
  };
  Put(Path(), "");
  TIniFile ini(Path(), &msgs);
  const std::string section = cfg::StatsSection("Ann"), group = TotalStatsGroup(true);
  const TStatsRecord record{200, 60, 140, 900, 50000, 0, 3};
  for (const Case& c : cases) {
    const std::string what = c.text.substr(0, 40);
    EXPECT_EQ(DecodeStatsHistory(c.text), c.read) << what;
    if (c.read) {
      EXPECT_EQ(DecodeStatsHistory(EncodeStatsHistory(*c.read)), c.read) << what;
      EXPECT_EQ(StatsHistoryFits(*c.read, record, true), c.fits) << what;
    }
    TGamerStats stats;
    stats.SetRecord(group, record);
    auto lines = stats.Pairs(group);
    lines.emplace_back(group + "_History", c.text);
    const bool shown = c.read && c.fits;
    std::vector<std::string> text;
    for (const auto& [k, v] : lines) text.push_back(k + "=" + v);
    EXPECT_EQ(TGamerStats::FromSectionValues(text).History(group),
              shown ? *c.read : TStatsHistory{})
        << what;
    // The next game adds to a history that reads, and replaces one that does not.
    if (c.text.size() > TIniFile::kMaxValueLength ||
        c.text.find_first_of(std::string("\0\xff", 2)) != std::string::npos)
      continue;  // the file cannot hold these: covered by the reading above
    ASSERT_TRUE(ini.ReplaceSection(section, lines));
    ASSERT_TRUE(RecordGameStats(ini, Classic(700, 100)));
    TStatsHistory expected = shown ? *c.read : TStatsHistory{};
    AppendStatsHistory(expected, {true, 700});
    EXPECT_EQ(ReadGamerStats(ini, "Ann").History(group), expected) << what;
    EXPECT_EQ(ini.ReadString(section, group + "_History", ""), EncodeStatsHistory(expected))
        << what;
  }
  // Counters that cannot be true take their history with them; one of no finished game holds
  // none.
  TGamerStats damaged = TGamerStats::FromSectionValues(
      {"Total_Area_Games=1", "Total_Area_Wins=5", "total_area_history=W10"});
  EXPECT_TRUE(damaged.History(group).empty());
  EXPECT_FALSE(StatsHistoryFits({{false, 0}}, TStatsRecord{1, 0, 0, 0, 0, 0, 0, 1}, true));
  EXPECT_TRUE(msgs.shown.empty());
}

TEST(StatsHistory, SummaryCountsAveragesAndKeepsTheCap) {
  TStatsHistory h;
  for (int i = 0; i < 130; ++i) AppendStatsHistory(h, {i % 3 == 0, int32_t(i)});
  ASSERT_EQ(h.size(), kStatsHistoryLength);
  EXPECT_EQ(h.front().Result, 30);  // the oldest thirty dropped
  const TStatsHistorySummary s = SummarizeStatsHistory(h);
  EXPECT_EQ(s.Wins + s.Losses, 100);
  EXPECT_EQ(s.Wins, 34);  // 30, 33, ..., 129
  EXPECT_EQ(s.Top, 129);
  EXPECT_EQ(s.Average, 80);  // 79.5 rounds up
  ASSERT_EQ(s.RunningAverage.size(), 100u);
  EXPECT_DOUBLE_EQ(s.RunningAverage[0], 30);
  EXPECT_DOUBLE_EQ(s.RunningAverage[1], 30.5);
  EXPECT_DOUBLE_EQ(s.RunningAverage[99], 79.5);
  // A longer list is written as its last hundred; the largest results do not overflow.
  TStatsHistory big(150, {true, 2147483647});
  EXPECT_EQ(DecodeStatsHistory(EncodeStatsHistory(big))->size(), kStatsHistoryLength);
  EXPECT_EQ(SummarizeStatsHistory(TStatsHistory(100, {true, 2147483647})).Average, 2147483647);
  EXPECT_EQ(SummarizeStatsHistory({}).Average, 0);
}

}  // namespace
