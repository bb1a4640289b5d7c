// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a game killed at any moment of its write: the settings file keeps the game counted
// together with its hall-of-fame record, or neither of them, and always parses.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <random>
#include <thread>

#include "ChildProcess.h"
#include "ScriptedMessages.h"
#include "TempFolder.h"
#include "config/IniFile.h"
#include "config/SafeFile.h"
#include "engine/UnitCore.h"
#include "model/GameEnd.h"
#include "model/GameResults.h"
#include "model/ProgramState.h"

namespace {

constexpr char kWinner[] = "Ann";
const std::string kTable = HallFameSection(0, 1);

// The end of a classic game by area on board size 1 that Ann won against the computer, recorded
// as the window does it: the statistics, the winner's record put into the table as it stands in
// the file, then the one write.
bool RecordWonGame(TIniFile& ini, TMessageService* messages) {
  TProgramState state;
  state.GamerList = {kWinner, "Bob"};
  state.GameVictory = 0;
  state.GameSizeMap = 1;
  TMorvikMachine m;
  m.SetSizeMap(20, 10);
  m.Map = std::make_unique<TMap>();
  m.SetGamer(1, gkHuman, 0, kWinner, 0);
  m.SetGamer(2, gkNone, 0, "", 0);
  m.SetGamer(3, gkNone, 0, "", 0);
  m.SetGamer(4, gkComputer, 1, "Computer", 0);
  m.Map->Scores[1] = {0, 120};
  m.Map->Scores[4] = {0, 80};

  const TResultList ranking = RankedResults(m, true);
  if (!EntersHallFame(state.MultiUserMode, m.Assisted, ranking[0].Name)) return false;
  std::vector<std::string> records;
  ReadHallFame(ini, messages, records, kTable);
  InsertRecord(records, ranking[0].Name, ranking[0].Number);
  return WriteGameEnd(ini, FinishedGameStats(m, state), {{kTable, records}});
}

// What the file holds for the winner, read with the store as the next start reads it.
struct TKept {
  int32_t games = -1;  // the winner's classic games (the total must agree)
  size_t records = 0;  // the winner's lines in the hall of fame
  bool whole = false;  // parsed without a word, the table's checksum holds
  bool operator==(const TKept&) const = default;
};
std::ostream& operator<<(std::ostream& o, const TKept& k) {
  return o << k.games << " games, " << k.records << " records" << (k.whole ? "" : ", damaged");
}

TKept Read(const std::string& path) {
  TScriptedMessages m;
  TIniFile ini(path, &m);
  const TGamerStats stats = ReadGamerStats(ini, kWinner);
  std::vector<std::string> table = ini.ReadSectionValues(kTable);
  ReorganizeRecord(table);
  TKept k;
  k.games = stats.Record(ClassicStatsGroup(1, 1, true)).Games;
  k.records = size_t(std::count_if(table.begin(), table.end(), [](const std::string& line) {
    return THallFameRecord::Parse(line).Name == kWinner;
  }));
  k.whole =
      CheckCRC(table) && m.shown.empty() && stats.Record(TotalStatsGroup(true)).Games == k.games;
  return k;
}

int gKillAfter = 0;  // the child kills itself after this many successful file calls
void KillAfterCalls(const char*, const std::string&) {
  if (--gKillAfter == 0) raise(SIGKILL);
}

std::vector<std::pair<std::string, std::string>> gCalls;
void NoteCall(const char* call, const std::string& path) {
  gCalls.emplace_back(call, path);
}

class GameEnd : public TempFolderTest {
 protected:
  // A child recording the game; `killAfter` > 0 makes it kill itself after that many of the
  // store's file calls (fsync, rename, fsync of the folder).
  TChild Writer(int killAfter) {
    return TChild(
        [this, killAfter] {
          gKillAfter = killAfter;
          if (killAfter > 0) SetFileCallProbe(KillAfterCalls);
          TScriptedMessages m;
          TIniFile ini(Path(), &m);
          return RecordWonGame(ini, &m) && m.shown.empty();
        },
        10);
  }
};

TEST_F(GameEnd, KilledAnywhereInItsWriteTheFileKeepsTheGameWithItsRecordOrNeither) {
  // Ann has won once before; Bob holds two records.
  Put(Path(), "[GAMERS]\r\nAnn=Ann\r\nBob=Bob\r\n");
  {
    TScriptedMessages m;
    TIniFile ini(Path(), &m);
    ASSERT_TRUE(WriteHallFame(ini, {"Bob=900", "Bob=100"}, kTable));
    // One replacement of the file, its temporary file on disk before the rename.
    gCalls.clear();
    SetFileCallProbe(NoteCall);
    const bool recorded = RecordWonGame(ini, &m);
    SetFileCallProbe(nullptr);
    ASSERT_TRUE(recorded);
    ASSERT_EQ(gCalls.size(), 3u);
    EXPECT_EQ(gCalls[0], std::make_pair(std::string("fsync"), gCalls[1].second));
    EXPECT_EQ(gCalls[1].first, "rename");
    EXPECT_EQ(gCalls[2].first, "fsync-folder");
  }
  const std::string before = Get(Path());
  const TKept untouched = Read(Path());

  // The whole write, timed: the random kills fall within it.
  const auto start = std::chrono::steady_clock::now();
  {
    TChild whole = Writer(0);
    const int status = whole.Wait();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
  const std::string after = Get(Path());
  const TKept complete = Read(Path());
  ASSERT_EQ(untouched, (TKept{1, 1, true}));
  ASSERT_EQ(complete, (TKept{2, 2, true}));

  // Half the runs kill the child after its n-th file call (n cycling past the calls one write
  // makes, so that a second write would be cut too), half after a random time.
  constexpr int kRuns = 120;
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<long> delay(0, long(span));
  int none = 0, all = 0, partial = 0;
  for (int run = 0; run < kRuns; ++run) {
    Put(Path(), before);
    const bool byCall = run % 2 == 0;
    {
      TChild writer = Writer(byCall ? run / 2 % 6 + 1 : 0);
      if (byCall) {
        writer.Wait();
      } else {
        std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
        writer.Stop();
      }
    }
    const std::string bytes = Get(Path());
    const TKept kept = Read(Path());
    if (kept == untouched && bytes == before) {
      ++none;
    } else if (kept == complete && bytes == after) {
      ++all;
    } else {
      ++partial;
      ADD_FAILURE() << "run " << run << (byCall ? " (killed by call)" : " (killed by time)")
                    << " left " << kept << ":\n"
                    << bytes;
    }
    // A killed writer's temporary file is what the next start clears away; nothing else is left.
    RemoveStaleTemporaries(Path());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1) << "run " << run;
  }
  std::cout << kRuns << " killed end-of-game writes (whole write " << span << " us): " << none
            << " untouched, " << all << " complete, " << partial << " partial\n";
  EXPECT_GT(none, 0);
  EXPECT_GT(all, 0);
}

}  // namespace
