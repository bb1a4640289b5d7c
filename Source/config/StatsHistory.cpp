// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/StatsHistory.h"

#include <algorithm>
#include <limits>

#include "config/GamerStats.h"

namespace {

constexpr int64_t kMaxResult = std::numeric_limits<int32_t>::max();
constexpr int32_t kWholeBoard = 1000;  // tenths of a percent

}  // namespace

std::string EncodeStatsHistory(const TStatsHistory& history) {
  const size_t first =
      history.size() > kStatsHistoryLength ? history.size() - kStatsHistoryLength : 0;
  std::string text;
  for (size_t i = first; i < history.size(); ++i) {
    if (i > first) text += ',';
    text += history[i].Won ? 'W' : 'L';
    text += std::to_string(std::max<int32_t>(0, history[i].Result));
  }
  return text;
}

std::optional<TStatsHistory> DecodeStatsHistory(std::string_view text) {
  TStatsHistory history;
  if (text.empty()) return history;
  size_t pos = 0;
  while (true) {
    if (history.size() == kStatsHistoryLength) return std::nullopt;
    if (pos >= text.size() || (text[pos] != 'W' && text[pos] != 'L')) return std::nullopt;
    const bool won = text[pos++] == 'W';
    int64_t value = 0;
    size_t digits = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, ++digits) {
      value = value * 10 + (text[pos] - '0');
      if (value > kMaxResult) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    history.push_back({won, int32_t(value)});
    if (pos == text.size()) return history;
    if (text[pos++] != ',') return std::nullopt;
  }
}

void AppendStatsHistory(TStatsHistory& history, const TStatsResult& result) {
  history.push_back(result);
  if (history.size() > kStatsHistoryLength)
    history.erase(history.begin(), history.end() - ptrdiff_t(kStatsHistoryLength));
}

bool StatsHistoryFits(const TStatsHistory& history, const TStatsRecord& record, bool byArea) {
  const auto wins =
      std::count_if(history.begin(), history.end(), [](const TStatsResult& r) { return r.Won; });
  const auto losses = int64_t(history.size()) - wins;
  if (wins > record.Wins || losses > record.Losses) return false;
  const int32_t top = byArea ? std::min(record.Best, kWholeBoard) : record.Best;
  return std::all_of(history.begin(), history.end(),
                     [top](const TStatsResult& r) { return r.Result >= 0 && r.Result <= top; });
}

TStatsHistorySummary SummarizeStatsHistory(const TStatsHistory& history) {
  TStatsHistorySummary s;
  int64_t sum = 0;
  for (const TStatsResult& r : history) {
    (r.Won ? s.Wins : s.Losses)++;
    sum += r.Result;
    s.Top = std::max(s.Top, r.Result);
    s.RunningAverage.push_back(double(sum) / double(s.RunningAverage.size() + 1));
  }
  if (!history.empty()) {
    const int64_t n = int64_t(history.size());
    s.Average = int32_t((sum * 2 + n) / (n * 2));
  }
  return s;
}
