// TFormGame: each profile's statistics: the finished game counted once, before its results are
// shown, and the statistics dialog, open only while no move is being made.
#include <QAction>

#include "window/UnitGame.h"
#include "dialogs/UnitStats.h"
#include "model/GameResults.h"
#include "config/GamerStats.h"
#include "config/IniFile.h"

void TFormGame::CountFinishedGame() {
  const TMorvikMachine& machine = *machine_;
  if (!machine.Map) return;
  // A refusal has been reported by the store; the game's end goes on regardless.
  RecordGameStats(*iniFile_, FinishedGameStats(machine, state_));
}

void TFormGame::UpdateStatsAction() {
  if (actMenuStats) actMenuStats->setEnabled(!machine_->Active || machine_->AwaitingHuman);
}

void TFormGame::actMenuStatsExecute() {
  if (!FormStats || (machine_->Active && !machine_->AwaitingHuman)) return;
  FormStats->exec();
}
