// SPDX-License-Identifier: GPL-3.0-or-later
// The last results of one statistics group, oldest first, for the progress chart. Kept in the
// profile's statistics section under "<group>_History", next to the group's counters, as one
// line of ASCII:
//
//   <group>_History=W601,L40,W350
//
// one entry per finished game, separated by commas, each "W" (won) or "L" (lost) followed by the
// game's result in the group's measure (area in tenths of a percent, or points) as plain decimal
// digits. At most 100 entries; the oldest go first. Stopped games have no result and are not
// listed. An empty value is the same as no key. A value that is not exactly this (another
// letter, a blank, a sign, a number over 2147483647, more than 100 entries, an empty entry) was
// not written by us: it reads as no history and is replaced by the next game's. No Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TStatsRecord;

struct TStatsResult {
  bool Won = false;
  int32_t Result = 0;
  bool operator==(const TStatsResult&) const = default;
};
using TStatsHistory = std::vector<TStatsResult>;

inline constexpr size_t kStatsHistoryLength = 100;

// The value as written; only the last kStatsHistoryLength entries are kept.
std::string EncodeStatsHistory(const TStatsHistory& history);
// The entries of a value, or nothing when it is damaged.
std::optional<TStatsHistory> DecodeStatsHistory(std::string_view text);
// Adds a game's result at the end, dropping the oldest beyond the cap.
void AppendStatsHistory(TStatsHistory& history, const TStatsResult& result);
// Whether the entries can be the last games of the group `record` counts: no more of them, of
// wins or of losses than counted, and no result above the best (nor above the whole board by
// area). A history that fails belongs to other counters and is not shown.
bool StatsHistoryFits(const TStatsHistory& history, const TStatsRecord& record, bool byArea);

// What the chart shows of a history.
struct TStatsHistorySummary {
  int Wins = 0;
  int Losses = 0;
  int32_t Average = 0;  // of all the entries, rounded half up; 0 for none
  int32_t Top = 0;      // the largest result
  // The average of the first i + 1 entries, for the average's line.
  std::vector<double> RunningAverage;
};
TStatsHistorySummary SummarizeStatsHistory(const TStatsHistory& history);
