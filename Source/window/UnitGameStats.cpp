// TFormGame: each profile's statistics: the finished game counted once, before its results are
// shown, and the statistics dialog, open only while no move is being made.
#include <QAction>
#include <algorithm>

#include "window/UnitGame.h"
#include "dialogs/UnitResult.h"
#include "dialogs/UnitStats.h"
#include "config/Cp1251.h"
#include "config/GamerStats.h"
#include "config/IniFile.h"

void TFormGame::CountFinishedGame() {
  const TMorvikMachine& machine = *machine_;
  if (!machine.Map) return;
  // The rule and board as the game was started, as the results dialog ranks them.
  const bool byArea = state_.GameVictory == 0;
  TStatsGame game;
  game.ByArea = byArea;
  game.MultiUser = state_.MultiUserMode;
  game.Level = machine.Gamers[4].Level;
  game.SizeIndex = state_.GameSizeMap;
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
    const auto& list = state_.GamerList;
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const std::string& name) { return SameTextCI(name, gamer.Name); });
    if (seat.Person && it != list.end()) seat.Profile = *it;
  }
  TResultList ranking = ResultTotals(machine, byArea);
  RankResults(ranking);
  for (const TResultLine& line : ranking) game.Ranking.push_back({line.Seat, line.Team});
  // A refusal has been reported by the store; the game's end goes on regardless.
  RecordGameStats(*iniFile_, game);
}

void TFormGame::UpdateStatsAction() {
  if (actMenuStats) actMenuStats->setEnabled(!machine_->Active || machine_->AwaitingHuman);
}

void TFormGame::actMenuStatsExecute() {
  if (!FormStats || (machine_->Active && !machine_->AwaitingHuman)) return;
  FormStats->exec();
}
