// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: the end of a game, as the machine runs it: the results, the statistics and the hall
// of fame recorded in that order and written in one replacement of the settings file. The
// results dialog and the hall of fame follow through the routes (TGameRoutes); a stopped game
// counts for the statistics.
#include "model/GameResults.h"
#include "window/GameRecords.h"
#include "window/UnitGame.h"

TGameEndRecord TFormGame::RecordGameEnd() {
  TGameEndRecord record;
  state_.RecordAdded = false;
  const TMorvikMachine& machine = *machine_;
  if (!machine.Map) return record;
  // 1. Results: the rule and the board as the game was started.
  const TResultList ranking = RankedResults(machine, state_.GameVictory == 0);
  // 2. Statistics of every person's profile.
  const TStatsGame stats = FinishedGameStats(machine, state_);
  // 3. The hall of fame: a classic game won without help by someone not named like the
  // computer. Even a result that falls off the end of the table counts as added.
  THallFameTables tables;
  size_t hallFameRow = 0;
  const TResultLine& first = ranking[0];
  if (EntersHallFame(state_.MultiUserMode, machine.Assisted, first.Name) &&
      state_.GameVictory >= 0 && state_.GameSizeMap >= 0) {
    const std::string section = HallFameSection(state_.GameVictory, state_.GameSizeMap);
    std::vector<std::string> records;
    ReadHallFame(*iniFile_, messages_, records, section);
    hallFameRow = InsertRow(records, first.Number);
    record.Rank = InsertRecord(records, first.Name, first.Number);
    record.RecordAdded = record.RecordSaved = true;
    tables.emplace_back(section, std::move(records));
  }
  records_->GameFinished();
  // One write: a refusal has been reported by the store, and the game's end goes on regardless.
  // A record that did not reach the file is none: the hall of fame neither opens for it nor
  // marks a row the table on disk does not hold.
  if (!WriteGameEnd(*iniFile_, stats, tables))
    record = TGameEndRecord{};
  else if (record.RecordAdded)  // the game goes with its record, beside the table
    records_->KeepHallFameGame(tables.front().first, tables.front().second, hallFameRow);
  state_.RecordAdded = record.RecordAdded;
  return record;
}

void TFormGame::CountStoppedGame() {
  if (!machine_->Active || !machine_->Map) return;
  // A refusal has been reported by the store; the stop goes on regardless.
  RecordGameStats(*iniFile_, StoppedGameStats(*machine_, state_));
}
