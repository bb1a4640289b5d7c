// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a finished game, in one place for the results dialog, the statistics and the
// arena: each seat's score, the totals of seats and teams, their ranking, who won, and where a
// result enters the hall of fame.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/GamerStats.h"

class TMorvikMachine;
struct TProgramState;

// One line of the result list: seats 1..4 on lines 1..4, teams 1..4 on lines 5..8.
struct TResultLine {
  std::string Name;
  int32_t Number = 0;
  int Seat = 0;  // 1..4 for a seat's line, 0 for a team's
  int Team = 0;  // 1..4 for a team's line, 0 for a seat's
};
using TResultList = std::array<TResultLine, 8>;

// Share of the board in tenths of a percent, rounded half up.
int32_t AreaScore(uint32_t tiles, int width, int height);
// A seat's score by the victory rule: its area share, or its points.
int32_t SeatScore(const TMorvikMachine& machine, int seat, bool byArea);
// The eight lines with every occupied seat's score added to its own line or to its team's.
TResultList ResultTotals(const TMorvikMachine& machine, bool byArea);
// Descending by number; equal numbers keep their order (seats before teams).
void RankResults(TResultList& list);
// Totals, ranked.
TResultList RankedResults(const TMorvikMachine& machine, bool byArea);

// The seat won when the first line of the ranking is its team's line, or its own when it plays
// in no team.
bool SeatWon(const TResultLine& first, int seat, int team);
// The first place went to a person's own seat.
bool PersonWon(const TResultList& ranked, const TMorvikMachine& machine);
// Only a classic game played without help enters the hall of fame, and only when its winner is
// no computer.
bool EntersHallFame(bool multiUser, bool assisted, const std::string& winner);
// Puts "name=score" before the first record with a strictly lower score. Returns the rank (from
// 1) of the first record equal to the new one (letter case aside), or 0 when it was appended.
int InsertRecord(std::vector<std::string>& records, const std::string& name, int32_t score);
// The row (from 0) InsertRecord puts a record with `score` on.
size_t InsertRow(const std::vector<std::string>& records, int32_t score);

// The finished game as the statistics count it, by the rule and board it was started with.
TStatsGame FinishedGameStats(const TMorvikMachine& machine, const TProgramState& state);
// A game stopped before its end, for the persons who had chosen a colour in it.
TStatsGame StoppedGameStats(const TMorvikMachine& machine, const TProgramState& state);
