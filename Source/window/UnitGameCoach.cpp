// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: help for a player who is learning: the master's colour shown on the board,
// and taking the last choice back. The machine says when either is allowed; either makes the
// seat that asked an assisted one (the recorder keeps that; the results read the machine's).
#include <QProgressBar>

#include "window/GameRecords.h"
#include "window/GameStatus.h"
#include "window/UnitGame.h"

void TFormGame::ShowHint() {
  UpdateActions();
  if (!machine_->CanHint()) return;  // the key came while computers move
  // The master thinks off the window's thread, the progress bar showing how far; a move or a
  // stop meanwhile drops its advice.
  const int progress = status_->Progress()->value();
  const THint hint = machine_->Hint(machine_->CurrentGamer);
  status_->SetPosition(progress);
  UpdateActions();
  if (hint.Color < 1 || hint.Color > 7) return;
  // The pointer's highlight gives way; the hint is drawn as the pointer draws a colour with its
  // perspective, and ends the way that highlight ends.
  records_->Assisted(machine_->CurrentGamer);
  status_->SetText(HintStatusText(hint.Color).toStdString());
  board_->ShowHint(hint);
}

void TFormGame::TakeBackMove() {
  board_->ResetPointer();
  if (!machine_->TakeBack()) {
    UpdateActions();
    return;
  }
  records_->Assisted(machine_->CurrentGamer);
  board_->ShowPosition();
  status_->ShowScores(*machine_, state_.VictoryByArea());
  const int seat = machine_->CurrentGamer;
  if (seat >= 1 && seat <= 4) status_->SetText(machine_->Gamers[size_t(seat)].Name);
  UpdateActions();
}
