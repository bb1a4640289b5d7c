// TFormGame: the end of a game, as the machine runs it: the results, the statistics and the hall
// of fame recorded in that order and written in one replacement of the settings file; then the
// results dialog (display and the replay question only), the hall of fame after a record, and
// the stop.
#include <algorithm>

#include "config/Cp1251.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitResult.h"
#include "window/UnitGame.h"

namespace {

// The game as the statistics count it, ranked as the results rank it.
TStatsGame StatsOfGame(const TMorvikMachine& machine, const TProgramState& state,
                       const TResultList& ranking) {
  const bool byArea = state.GameVictory == 0;
  TStatsGame game;
  game.ByArea = byArea;
  game.MultiUser = state.MultiUserMode;
  game.Level = machine.Gamers[4].Level;
  game.SizeIndex = state.GameSizeMap;
  game.Assisted = machine.Assisted;
  for (int s = 1; s <= 4; ++s) {
    const TGamer& gamer = machine.Gamers[size_t(s)];
    TStatsSeat& seat = game.Seats[size_t(s)];
    seat.Occupied = gamer.Kind != gkNone;
    seat.Person = gamer.Kind == gkHuman;
    seat.Team = gamer.Team;
    const TGamerScore& score = machine.Map->Scores[size_t(s)];
    seat.Score = byArea ? AreaScore(score.Area, machine.Width, machine.Height) : score.Points;
    // Only a seat played under an existing profile has statistics to add to.
    const auto& list = state.GamerList;
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const std::string& name) { return SameTextCI(name, gamer.Name); });
    if (seat.Person && it != list.end()) seat.Profile = *it;
  }
  for (const TResultLine& line : ranking) game.Ranking.push_back({line.Seat, line.Team});
  return game;
}

}  // namespace

TGameEndRecord TFormGame::RecordGameEnd() {
  TGameEndRecord record;
  state_.RecordAdded = false;
  const TMorvikMachine& machine = *machine_;
  if (!machine.Map) return record;
  // 1. Results: the rule and the board as the game was started.
  TResultList ranking = ResultTotals(machine, state_.GameVictory == 0);
  RankResults(ranking);
  // 2. Statistics of every person's profile.
  const TStatsGame stats = StatsOfGame(machine, state_, ranking);
  // 3. The hall of fame: a classic game won without help by someone not named like the
  // computer. Even a result that falls off the end of the table counts as added.
  THallFameTables tables;
  const TResultLine& first = ranking[0];
  if (!state_.MultiUserMode && !machine.Assisted && first.Name.rfind("Компьютер", 0) != 0 &&
      state_.GameVictory >= 0 && state_.GameSizeMap >= 0) {
    const std::string section = HallFameSection(state_.GameVictory, state_.GameSizeMap);
    std::vector<std::string> records;
    ReadHallFame(*iniFile_, messages_, records, section);
    record.Rank = InsertRecord(records, first.Name, first.Number);
    record.RecordAdded = record.RecordSaved = true;
    tables.emplace_back(section, std::move(records));
  }
  state_.RecordAdded = record.RecordAdded;
  // One write: a refusal has been reported by the store, and the game's end goes on regardless.
  WriteGameEnd(*iniFile_, stats, tables);
  return record;
}

void TFormGame::ShowResults() {
  ShowResultsDialog(RecordGameEnd());
}

void TFormGame::ShowResultsDialog(const TGameEndRecord& record) {
  if (!FormResult) return;
  FormResult->SetRecord(record);
  FormResult->exec();
}

bool TFormGame::RecordAdded() {
  return state_.RecordAdded;
}

void TFormGame::ShowHallOfFame() {
  if (FormHallFame) FormHallFame->exec();
}

void TFormGame::StopGameAtEnd() {
  StopGame(false);
}
