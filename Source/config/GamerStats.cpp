// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/GamerStats.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string_view>

#include "config/Catalogue.h"
#include "config/Cp1251.h"
#include "config/IniFile.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Counters stop at the largest value the file's integers hold instead of wrapping negative.
int32_t Add(int32_t a, int32_t b) {
  return b > 0 && a > kMax - b ? kMax : a + b;
}

constexpr const char* kFields[8] = {"Games", "Wins",   "Losses",        "Best",
                                    "Sum",   "Streak", "LongestStreak", "Stopped"};
constexpr size_t kStoppedField = 7;
constexpr const char* kHistoryKey = "_History";

std::array<int32_t*, 8> Fields(TStatsRecord& r) {
  return {&r.Games, &r.Wins, &r.Losses, &r.Best, &r.Sum, &r.Streak, &r.LongestStreak, &r.Stopped};
}

std::string Rule(bool byArea) {
  return byArea ? "Area" : "Points";
}

// Only plain decimal digits that fit: anything else was not written by us.
int32_t ParseCount(const std::string& text) {
  if (text.empty() || text.size() > 10) return 0;
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + (c - '0');
  }
  return v <= kMax ? int32_t(v) : 0;
}

bool EndsWithCI(const std::string& text, std::string_view end) {
  return text.size() >= end.size() &&
         std::equal(end.begin(), end.end(), text.end() - ptrdiff_t(end.size()), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

int32_t TStatsRecord::Average() const {
  const int64_t finished = int64_t(Wins) + Losses;
  if (finished <= 0) return 0;
  return int32_t((int64_t(Sum) * 2 + finished) / (finished * 2));
}

bool TStatsRecord::Possible(bool byArea) const {
  constexpr int32_t kWholeBoard = 1000;  // tenths of a percent
  const int32_t all[] = {Games, Wins, Losses, Best, Sum, Streak, LongestStreak, Stopped};
  if (std::any_of(std::begin(all), std::end(all), [](int32_t v) { return v < 0; })) return false;
  const int64_t finished = int64_t(Wins) + Losses;
  if (finished + Stopped > Games) return false;
  if (Streak > LongestStreak || LongestStreak > Wins) return false;
  if (byArea && Best > kWholeBoard) return false;
  if (finished == 0) return Best == 0 && Sum == 0;
  // The best result is one of the results summed; none is above it. The sum stops at the top of
  // the file's integers, which stays within finished games x best whenever that product reaches
  // it.
  return Sum >= Best && int64_t(Sum) <= finished * Best;
}

std::string ClassicStatsGroup(int level, int sizeIndex, bool byArea) {
  return "Classic" + std::to_string(level) + "_Size" + std::to_string(sizeIndex) + "_" +
         Rule(byArea);
}

std::string MultiStatsGroup(int seats, bool byArea) {
  return "Multi" + std::to_string(seats) + "_" + Rule(byArea);
}

std::string TotalStatsGroup(bool byArea) {
  return "Total_" + Rule(byArea);
}

std::string AssistedStatsGroup(const std::string& group) {
  return "Assisted_" + group;
}

bool TGamerStats::TLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

TStatsRecord TGamerStats::Record(const std::string& group) const {
  TStatsRecord r;
  auto fields = Fields(r);
  for (size_t i = 0; i < fields.size(); ++i) {
    const auto it = values_.find(group + "_" + kFields[i]);
    *fields[i] = it == values_.end() ? 0 : it->second;
  }
  return r;
}

bool TGamerStats::Possible(const std::string& group) const {
  return Record(group).Possible(!group.ends_with("_Points"));
}

TStatsHistory TGamerStats::History(const std::string& group) const {
  const auto it = histories_.find(group + kHistoryKey);
  if (it == histories_.end() || !Possible(group)) return {};
  std::optional<TStatsHistory> history = DecodeStatsHistory(it->second);
  if (!history || !StatsHistoryFits(*history, Record(group), !group.ends_with("_Points")))
    return {};
  return *history;
}

void TGamerStats::SetHistory(const std::string& group, const TStatsHistory& history) {
  histories_[group + kHistoryKey] = EncodeStatsHistory(history);
}

void TGamerStats::SetRecord(const std::string& group, const TStatsRecord& record) {
  TStatsRecord r = record;
  auto fields = Fields(r);
  for (size_t i = 0; i < fields.size(); ++i)
    values_[group + "_" + kFields[i]] = std::max<int32_t>(0, *fields[i]);
}

std::vector<std::pair<std::string, std::string>> TGamerStats::Pairs(
    const std::string& group) const {
  TStatsRecord r = Record(group);
  auto fields = Fields(r);
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i < fields.size(); ++i)
    if (i != kStoppedField || r.Stopped != 0)
      pairs.emplace_back(group + "_" + kFields[i], std::to_string(*fields[i]));
  const TStatsHistory history = History(group);
  if (!history.empty()) pairs.emplace_back(group + kHistoryKey, EncodeStatsHistory(history));
  return pairs;
}

TGamerStats TGamerStats::FromSectionValues(const std::vector<std::string>& lines) {
  TGamerStats stats;
  for (const std::string& line : lines) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    // A repeated key reads as its first line, as the store reads it.
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (EndsWithCI(key, kHistoryKey))
      stats.histories_.emplace(key, value);
    else
      stats.values_.emplace(key, ParseCount(value));
  }
  return stats;
}

std::vector<TStatsOutcome> GameOutcomes(const TStatsGame& game) {
  std::vector<TStatsOutcome> outcomes;
  for (int s = 1; s <= 4; ++s) {
    const TStatsSeat& seat = game.Seats[size_t(s)];
    if (!seat.Occupied || !seat.Person || seat.Profile.empty()) continue;
    const bool won = seat.Won;
    auto same = [&](const TStatsOutcome& o) { return SameTextCI(o.Profile, seat.Profile); };
    auto it = std::find_if(outcomes.begin(), outcomes.end(), same);
    if (it == outcomes.end()) {
      outcomes.push_back({seat.Profile, won, std::max<int32_t>(0, seat.Score), seat.Assisted});
    } else {
      it->Won = it->Won || won;
      it->Result = std::max(it->Result, seat.Score);
      it->Assisted = it->Assisted || seat.Assisted;
    }
  }
  return outcomes;
}

std::vector<std::string> CountGame(TGamerStats& stats, const TStatsGame& game,
                                   const TStatsOutcome& outcome) {
  std::vector<std::string> groups;
  if (game.MultiUser) {
    int seats = 0;
    for (int s = 1; s <= 4; ++s) seats += game.Seats[size_t(s)].Occupied;
    if (seats >= 2) groups.push_back(MultiStatsGroup(seats, game.ByArea));
  } else if (game.Level >= 1 && game.SizeIndex >= 0 && game.SizeIndex <= 4) {
    groups.push_back(ClassicStatsGroup(game.Level, game.SizeIndex, game.ByArea));
  }
  groups.push_back(TotalStatsGroup(game.ByArea));
  if (game.Assisted || outcome.Assisted)
    for (std::string& g : groups) g = AssistedStatsGroup(g);

  for (const std::string& g : groups) {
    // Counters that cannot be true would make every figure built on them wrong: start afresh.
    TStatsRecord r = stats.Possible(g) ? stats.Record(g) : TStatsRecord{};
    TStatsHistory history = stats.History(g);  // none for counters started afresh
    r.Games = Add(r.Games, 1);
    if (game.Stopped) {
      r.Stopped = Add(r.Stopped, 1);
      r.Streak = 0;
    } else if (outcome.Won) {
      r.Wins = Add(r.Wins, 1);
      r.Streak = Add(r.Streak, 1);
      r.LongestStreak = std::max(r.LongestStreak, r.Streak);
    } else {
      r.Losses = Add(r.Losses, 1);
      r.Streak = 0;
    }
    if (!game.Stopped) {
      r.Best = std::max(r.Best, outcome.Result);
      r.Sum = Add(r.Sum, outcome.Result);
      AppendStatsHistory(history, {outcome.Won, outcome.Result});
    }
    stats.SetRecord(g, r);
    stats.SetHistory(g, history);
  }
  return groups;
}

bool RecordGameStats(TIniFile& ini, const TStatsGame& game) {
  const std::vector<TStatsOutcome> outcomes = GameOutcomes(game);
  if (outcomes.empty()) return true;
  return ini.Batch([&](TIniBatch& b) { RecordGameStats(b, game); });
}

void RecordGameStats(TIniBatch& b, const TStatsGame& game) {
  for (const TStatsOutcome& o : GameOutcomes(game)) {
    const std::string section = cfg::StatsSection(o.Profile);
    TGamerStats stats = TGamerStats::FromSectionValues(b.ReadSectionValues(section));
    for (const std::string& g : CountGame(stats, game, o)) {
      // A group started afresh loses the stopped games it had on file.
      if (stats.Record(g).Stopped == 0) b.DeleteKey(section, g + "_Stopped");
      // A damaged history is not carried on.
      if (stats.History(g).empty()) b.DeleteKey(section, g + kHistoryKey);
      for (const auto& [key, value] : stats.Pairs(g)) b.WriteString(section, key, value);
    }
  }
}

TGamerStats ReadGamerStats(const TIniFile& ini, const std::string& profile) {
  return TGamerStats::FromSectionValues(ini.ReadSectionValues(cfg::StatsSection(profile)));
}
