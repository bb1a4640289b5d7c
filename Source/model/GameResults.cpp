// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/GameResults.h"

#include <algorithm>

#include "config/Cp1251.h"
#include "config/HallFame.h"
#include "engine/UnitCore.h"
#include "model/ComputerLevels.h"
#include "model/ProgramState.h"

int32_t AreaScore(uint32_t tiles, int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  return int32_t(double(tiles) * 1000.0 / (double(width) * double(height)) + 0.5);
}

int32_t SeatScore(const TMorvikMachine& machine, int seat, bool byArea) {
  if (!machine.Map) return 0;
  const TGamerScore& score = machine.Map->Scores[size_t(seat)];
  return byArea ? AreaScore(score.Area, machine.Width, machine.Height) : score.Points;
}

TResultList ResultTotals(const TMorvikMachine& machine, bool byArea) {
  TResultList list;
  for (int s = 1; s <= 4; ++s) {
    list[size_t(s - 1)].Name = machine.Gamers[size_t(s)].Name;
    list[size_t(s - 1)].Seat = s;
  }
  for (int t = 1; t <= 4; ++t) {
    list[size_t(t + 3)].Name = "Команда" + std::to_string(t);
    list[size_t(t + 3)].Team = t;
  }
  if (!machine.Map) return list;
  for (int s = 1; s <= 4; ++s) {
    const TGamer& gamer = machine.Gamers[size_t(s)];
    if (gamer.Kind == gkNone) continue;
    const size_t target =
        gamer.Team >= 1 && gamer.Team <= 4 ? size_t(gamer.Team + 3) : size_t(s - 1);
    list[target].Number += SeatScore(machine, s, byArea);
  }
  return list;
}

void RankResults(TResultList& list) {
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (size_t i = 0; i + 1 < list.size(); ++i) {
      if (list[i].Number < list[i + 1].Number) {
        std::swap(list[i], list[i + 1]);
        exchanged = true;
      }
    }
  }
}

TResultList RankedResults(const TMorvikMachine& machine, bool byArea) {
  TResultList list = ResultTotals(machine, byArea);
  RankResults(list);
  return list;
}

bool SeatWon(const TResultLine& first, int seat, int team) {
  if (team >= 1 && team <= 4) return first.Seat == 0 && first.Team == team;
  return first.Team == 0 && first.Seat == seat;
}

bool PersonWon(const TResultList& ranked, const TMorvikMachine& machine) {
  const int seat = ranked[0].Seat;
  return seat >= 1 && seat <= 4 && machine.Gamers[size_t(seat)].Kind == gkHuman;
}

bool EntersHallFame(bool multiUser, bool assisted, const std::string& winner) {
  // The first nine letters; the names are UTF-8, so compare the bytes of the whole word.
  return !multiUser && !assisted && winner.rfind("Компьютер", 0) != 0;
}

size_t InsertRow(const std::vector<std::string>& records, int32_t score) {
  for (size_t i = 0; i < records.size(); ++i)
    if (THallFameRecord::Parse(records[i]).Value() < score) return i;
  return records.size();
}

int InsertRecord(std::vector<std::string>& records, const std::string& name, int32_t score) {
  const std::string record = THallFameRecord::Line(name, score);
  const size_t i = InsertRow(records, score);
  records.insert(records.begin() + ptrdiff_t(i), record);
  if (i + 1 == records.size()) return 0;  // appended
  for (size_t k = 0; k < records.size(); ++k)
    if (SameTextCI(records[k], record)) return int(k) + 1;
  return int(i) + 1;
}

TStatsGame FinishedGameStats(const TMorvikMachine& machine, const TProgramState& state) {
  // The rule and board as the game was started, as the results dialog ranks them.
  const bool byArea = state.GameVictory == 0;
  TStatsGame game;
  game.ByArea = byArea;
  game.MultiUser = state.MultiUserMode;
  // A level the table does not know counts in the total only.
  game.Level = LevelByValue(machine.Gamers[4].Level) ? machine.Gamers[4].Level : 0;
  game.SizeIndex = state.GameSizeMap;
  // Help goes to the seats that asked for it; a machine that knows only that help was used
  // counts every person as helped.
  const bool seatsKnown = std::any_of(machine.AssistedSeats.begin(), machine.AssistedSeats.end(),
                                      [](bool a) { return a; });
  game.Assisted = machine.Assisted && !seatsKnown;
  const TResultList ranked = RankedResults(machine, byArea);
  for (int s = 1; s <= 4; ++s) {
    const TGamer& gamer = machine.Gamers[size_t(s)];
    TStatsSeat& seat = game.Seats[size_t(s)];
    seat.Occupied = gamer.Kind != gkNone;
    seat.Person = gamer.Kind == gkHuman;
    seat.Assisted = machine.AssistedSeats[size_t(s)];
    seat.Team = gamer.Team;
    seat.Score = SeatScore(machine, s, byArea);
    seat.Won = SeatWon(ranked[0], s, gamer.Team);
    // Only a seat played under an existing profile has statistics to add to.
    const auto& list = state.GamerList;
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const std::string& name) { return SameTextCI(name, gamer.Name); });
    if (seat.Person && it != list.end()) seat.Profile = *it;
  }
  return game;
}

TStatsGame StoppedGameStats(const TMorvikMachine& machine, const TProgramState& state) {
  TStatsGame game = FinishedGameStats(machine, state);
  game.Stopped = true;
  for (int s = 1; s <= 4; ++s) {
    TStatsSeat& seat = game.Seats[size_t(s)];
    seat.Won = false;
    seat.Score = 0;
    // A person who has not chosen yet has lost nothing by the stop.
    if (!machine.SeatHasChosen(uint8_t(s))) seat.Profile.clear();
  }
  return game;
}
