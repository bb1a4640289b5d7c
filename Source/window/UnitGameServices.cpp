// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: the window services the engine calls: status, progress and the options in force
// (the board's are in UnitGameBoard.cpp, the end of a game's in UnitGameEnd.cpp).
#include "gui/MapImage.h"
#include "window/GameStatus.h"
#include "window/UnitGame.h"

void TFormGame::SetStatus(const std::string& text) {
  status_->SetText(text);
}

void TFormGame::ClearGamerPanel() {
  status_->ClearGamer();
}

void TFormGame::SetProgressPosition(int position) {
  status_->SetPosition(position);
}

void TFormGame::SetProgressMax(int maximum) {
  status_->SetMaximum(maximum);
}

int TFormGame::GetProgressMax() {
  return status_->Maximum();
}

void TFormGame::StepProgress() {
  status_->Step();
}

void TFormGame::RepaintMap() {
  iMap_->repaint();
}

bool TFormGame::SkipTurn() {
  return state_.Option(soSkipTurn);
}
bool TFormGame::AutoTurnOption() {
  return state_.Option(soAutoTurn);
}
bool TFormGame::HallFameOnRecord() {
  return state_.Option(soHallFameOnRecord);
}
bool TFormGame::VictoryByArea() {
  return state_.VictoryByArea();
}

void TFormGame::Error(const std::string& text) {
  messages_->Error(text);
}
