// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: help for a player who is learning: the hard computer's colour shown on the board,
// and taking the last choice back. The machine says when either is allowed; either makes the
// game an assisted one (the machine keeps that flag; the results read it).
#include <QAction>

#include "window/GameRecords.h"
#include "window/UnitGame.h"

void TFormGame::UpdateActions() {
  actMenuHint->setEnabled(machine_->CanHint());
  actMenuUndo->setEnabled(machine_->CanTakeBack());
  // The statistics open between games or while a person is to choose.
  actMenuStats->setEnabled(!machine_->Active || machine_->AwaitingHuman);
  // Games as files: saving while there is a game; the kept game between games; and the kept
  // game brought up to date whenever a person is to choose.
  actMenuSaveGame->setEnabled(records_->CanSave());
  actMenuContinueGame->setEnabled(!machine_->Active && records_->HasKept());
  records_->Waiting();
}

// Short enough that the longest colour name stays whole in the 140-pixel status panel.
QString TFormGame::HintStatusText(uint8_t color) const {
  if (color < 1 || color > 7) return QString();
  return QStringLiteral("Совет: ") + actColor[color]->text();
}

void TFormGame::actMenuHintExecute() {
  UpdateActions();
  if (!machine_->CanHint()) return;  // the key came while computers move
  const THint hint = machine_->Hint(machine_->CurrentGamer);
  if (hint.Color < 1 || hint.Color > 7) return;
  // The pointer's highlight gives way; the hint is drawn as the pointer draws a colour with its
  // perspective, and ends the way that highlight ends.
  records_->Assisted(machine_->CurrentGamer);
  SetStatus(HintStatusText(hint.Color).toStdString());
  pointer_.ShowHint(*machine_, hint, drawUnframed_);
  AfterPointer(false);
}

void TFormGame::actMenuUndoExecute() {
  pointer_.Reset();
  AfterPointer(false);
  if (!machine_->TakeBack()) {
    UpdateActions();
    return;
  }
  records_->Assisted(machine_->CurrentGamer);
  ShowPosition();
  for (int seat = 1; seat <= 4; ++seat) ShowGamerArea(seat);
  const int seat = machine_->CurrentGamer;
  if (seat >= 1 && seat <= 4) SetStatus(machine_->Gamers[size_t(seat)].Name);
  UpdateActions();
}
