// SPDX-License-Identifier: GPL-3.0-or-later
// Each profile's statistics, in section "STATS_" + name of the settings file: per mode (classic
// per computer level and board size, multi-user per number of seats) and in total, kept apart by
// victory rule (area and points are different measures) and with assisted games apart from the
// others. Keys are ASCII, values integers; a missing or damaged value reads as 0. Each group also
// keeps its last results for the progress chart, in one key of text (StatsHistory.h). No Qt.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "config/StatsHistory.h"

class TIniFile;
class TIniBatch;

// One group of counters, e.g. classic games against level 2 on board size 3, by area.
struct TStatsRecord {
  int32_t Games = 0;
  int32_t Wins = 0;
  int32_t Losses = 0;
  int32_t Best = 0;  // best result: area in tenths of a percent, or points
  int32_t Sum = 0;   // sum of the results, for the average
  int32_t Streak = 0;
  int32_t LongestStreak = 0;
  // Games stopped after the person had chosen a colour: counted in Games, with no result. Kept
  // under a key of its own, written only once a game was stopped.
  int32_t Stopped = 0;

  // Games played to their end.
  int32_t Finished() const { return Wins + Losses; }
  // Average result of the finished games, rounded half up; 0 before the first one.
  int32_t Average() const;
  // Whether the counters can come from real games together: wins, losses and stopped games
  // within the games,
  // the current streak within the longest and that within the wins, the best result within
  // what the rule allows (a share of the board is at most 100.0 %) and the sum between the best
  // and games x best. A hand-edited or damaged group fails and is shown as unknown.
  bool Possible(bool byArea) const;
  bool operator==(const TStatsRecord&) const = default;
};

// Names of the groups, as used in the keys ("<group>_<field>").
std::string ClassicStatsGroup(int level, int sizeIndex, bool byArea);  // level 1..4, size 0..4
std::string MultiStatsGroup(int seats, bool byArea);                   // seats 2..4
std::string TotalStatsGroup(bool byArea);
// Assisted games count in groups of their own: "Assisted_" + the group.
std::string AssistedStatsGroup(const std::string& group);

// A profile's section as read: key -> value, keys compared without regard to case.
class TGamerStats {
 public:
  TStatsRecord Record(const std::string& group) const;
  // Record(group).Possible with the group's own rule (its name ends in "_Area" or "_Points").
  bool Possible(const std::string& group) const;
  void SetRecord(const std::string& group, const TStatsRecord& record);
  // The group's last results, oldest first; none when the value is damaged or cannot belong to
  // the group's counters (they are not Possible, or it does not fit them).
  TStatsHistory History(const std::string& group) const;
  void SetHistory(const std::string& group, const TStatsHistory& history);
  // The keys of a group with their values, as they are written: seven, the stopped games' when
  // there are any, and the history when there is one.
  std::vector<std::pair<std::string, std::string>> Pairs(const std::string& group) const;

  // From "key=value" lines; a value that is not a non-negative integer reads as 0.
  static TGamerStats FromSectionValues(const std::vector<std::string>& lines);

 private:
  struct TLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  std::map<std::string, int32_t, TLess> values_;
  std::map<std::string, std::string, TLess> histories_;  // "<group>_History" -> its text
};

// A finished game as the results dialog sees it.
struct TStatsSeat {
  bool Occupied = false;
  bool Person = false;
  std::string Profile;    // the profile that plays a person's seat (its full name)
  int Team = 0;           // 0 none, 1..4
  int32_t Score = 0;      // the seat's own result by the game's victory rule
  bool Won = false;       // the seat's line, or its team's, came first
  bool Assisted = false;  // this seat asked for a hint or took a choice back
};
struct TStatsGame {
  std::array<TStatsSeat, 5> Seats{};  // [1..4]
  bool ByArea = true;
  bool MultiUser = false;
  int Level = 1;          // classic: the computer's level; 0 for one the caller does not know
  int SizeIndex = 1;      // classic: board-size preset 0..4
  bool Assisted = false;  // every person's seat counts as helped
  bool Stopped = false;   // stopped before its end: no winner, no results
};

// What one profile did in a game: a profile playing several seats counts once, winning when any
// of its seats won, with the best of their results, helped when any of them was helped.
struct TStatsOutcome {
  std::string Profile;
  bool Won = false;
  int32_t Result = 0;
  bool Assisted = false;
};
std::vector<TStatsOutcome> GameOutcomes(const TStatsGame& game);

// Adds a game to a profile's statistics: its mode's group and the total, by the game's rule; a
// stopped game counts as such and ends the winning streak, a finished one adds its result to the
// history. A group whose counters are not Possible starts afresh from this game, its history too.
// Returns the groups it changed (a mode out of range counts in the total only).
std::vector<std::string> CountGame(TGamerStats& stats, const TStatsGame& game,
                                   const TStatsOutcome& outcome);

// Counts the game for every person's profile and writes all their sections in one replacement
// of the file. False when the store refused (it has said why); the file is then unchanged.
bool RecordGameStats(TIniFile& ini, const TStatsGame& game);
// The same changes inside a batch, so that the end of a game can add its hall-of-fame record to
// the same replacement of the file.
void RecordGameStats(TIniBatch& batch, const TStatsGame& game);

TGamerStats ReadGamerStats(const TIniFile& ini, const std::string& profile);
