// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame's games follow their records through a table's life: insertions anywhere,
// records falling off, a profile rename, rows changed behind the game's back, and a reset.
#include <gtest/gtest.h>

#include <functional>

#include "TempFolder.h"
#include "config/HallFame.h"
#include "model/GameRecord.h"
#include "model/GameResults.h"
#include "model/HallFameGames.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class HallFameGamesFlow : public TempFolderTest {
 protected:
  // Each kept game is told apart by its layout number.
  TGameRecord Game(int tag) {
    TGameRecord game;
    game.CodeGame = tag;
    return game;
  }
  // A record won here: inserted as the window inserts it, its game kept.
  void Win(const std::string& name, int32_t score, int tag) {
    const size_t row = InsertRow(table, score);
    InsertRecord(table, name, score);
    EXPECT_EQ(games().Keep(section, table, row, Game(tag)), std::nullopt);
    if (table.size() > kHallFameSize) table.resize(kHallFameSize);
  }
  // Each row as "name=score", followed by "#tag" when it shows a game.
  Lines Shown(const std::string& of, const Lines& rows) {
    Lines out;
    const std::vector<fs::path> paths = games().Games(of, rows);
    EXPECT_EQ(paths.size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
      std::string line = rows[r];
      if (!paths[r].empty()) {
        const std::string text = Get(paths[r].string());
        const size_t at = text.find("\nlayout ") + 8;
        line += "#" + text.substr(at, text.find('\n', at) - at);
      }
      out.push_back(line);
    }
    return out;
  }
  size_t Files() {
    size_t n = 0;
    for (const auto& f : fs::directory_iterator(dir_ / "games"))
      n += f.path().extension() == ".morvik";
    return n;
  }
  THallFameGames games() { return THallFameGames(dir_ / "games"); }

  const std::string section = HallFameSection(0, 1);
  Lines table;
};

TEST_F(HallFameGamesFlow, GamesFollowTheirRowsThroughEveryChangeOfTheTable) {
  // Another table's game, which nothing below may touch.
  ASSERT_EQ(games().Keep("MAP12", {"Eve=5"}, 0, Game(99)), std::nullopt);

  struct TStep {
    const char* what;
    std::function<void()> act;
    const char* shown;  // the rows, "name=score#game" or "name=score" without a game
    size_t files;       // game files kept, the other table's included
  };
  const std::vector<TStep> steps = {
      {"first record", [&] { Win("Ann", 100, 1); }, "Ann=100#1", 2},
      {"at the top", [&] { Win("Bob", 200, 2); }, "Bob=200#2 Ann=100#1", 3},
      {"in the middle", [&] { Win("Cid", 150, 3); }, "Bob=200#2 Cid=150#3 Ann=100#1", 4},
      {"an equal record goes after", [&] { Win("Ann", 100, 4); },
       "Bob=200#2 Cid=150#3 Ann=100#1 Ann=100#4", 5},
      {"an older version adds a record without a game",
       [&] { table.insert(table.begin() + 2, "Dan=120"); },
       "Bob=200#2 Cid=150#3 Dan=120 Ann=100#1 Ann=100#4", 5},
      {"at the bottom, up to ten",
       [&] {
         for (int i = 0; i < 5; ++i) Win("L" + std::to_string(i), 50 - i, 10 + i);
       },
       "Bob=200#2 Cid=150#3 Dan=120 Ann=100#1 Ann=100#4 L0=50#10 L1=49#11 L2=48#12 L3=47#13 "
       "L4=46#14",
       10},
      {"the last one falls off", [&] { Win("Top", 300, 5); },
       "Top=300#5 Bob=200#2 Cid=150#3 Dan=120 Ann=100#1 Ann=100#4 L0=50#10 L1=49#11 L2=48#12 "
       "L3=47#13",
       10},
      {"a result below a full table keeps nothing", [&] { Win("Late", 1, 6); },
       "Top=300#5 Bob=200#2 Cid=150#3 Dan=120 Ann=100#1 Ann=100#4 L0=50#10 L1=49#11 L2=48#12 "
       "L3=47#13",
       10},
      {"a rename",
       [&] {
         for (std::string& line : table) line = RenamedRecordLine(line, "Ann", "Anna");
         games().Rename("Ann", "Anna");
       },
       "Top=300#5 Bob=200#2 Cid=150#3 Dan=120 Anna=100#1 Anna=100#4 L0=50#10 L1=49#11 L2=48#12 "
       "L3=47#13",
       10},
      {"rows changed by hand, their sum kept, lose their games",
       [&] {
         table[1] = "Bob=199";
         table[2] = "Cid=151";
       },
       "Top=300#5 Bob=199 Cid=151 Dan=120 Anna=100#1 Anna=100#4 L0=50#10 L1=49#11 L2=48#12 "
       "L3=47#13",
       10},
      {"rows exchanged by hand", [&] { std::swap(table[4], table[6]); },
       "Top=300#5 Bob=199 Cid=151 Dan=120 L0=50#10 Anna=100 Anna=100 L1=49#11 L2=48#12 L3=47#13",
       10},
      {"the next record sweeps the games of the changed rows", [&] { Win("Max", 400, 7); },
       "Max=400#7 Top=300#5 Bob=199 Cid=151 Dan=120 L0=50#10 Anna=100 Anna=100 L1=49#11 L2=48#12",
       6},
      {"a reset",
       [&] {
         table.clear();
         games().Follow(section, table);
       },
       "", 1},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    std::string shown;
    for (const std::string& row : Shown(section, table)) shown += (shown.empty() ? "" : " ") + row;
    EXPECT_EQ(shown, step.shown);
    EXPECT_EQ(Files(), step.files);
  }
  EXPECT_EQ(Shown("MAP12", {"Eve=5"}), Lines{"Eve=5#99"});
  EXPECT_EQ(Shown("MAP12", {"Eve=6"}), Lines{"Eve=6"});
}

TEST_F(HallFameGamesFlow, AForeignOrDamagedIndexGivesNoGames) {
  Win("Ann", 100, 1);
  const std::string index = (dir_ / "games" / (section + ".index")).string();
  const std::string good = Get(index);
  for (const std::string& bad :
       {std::string("morvik-halloffame 2\n") + good.substr(20), good + "../../etc Ann=100\n",
        good + "noid\n", std::string(THallFameGames::IndexSizeLimit + 1, 'x')}) {
    Put(index, bad);
    EXPECT_EQ(Shown(section, table), Lines{"Ann=100"}) << bad.substr(0, 40);
  }
  Put(index, good);
  EXPECT_EQ(Shown(section, table), Lines{"Ann=100#1"});
  // A section name that is no file name keeps nothing.
  EXPECT_EQ(games().Keep("../MAP", {"Ann=1"}, 0, Game(2)), std::nullopt);
  EXPECT_EQ(Shown("../MAP", {"Ann=1"}), Lines{"Ann=1"});
}

}  // namespace
