// SPDX-License-Identifier: GPL-3.0-or-later
// What the machine asks of the main window.
#include "window/GameServices.h"

#include "gui/MapImage.h"
#include "window/GameStatus.h"
#include "window/UnitGame.h"

void TGameServices::SetStatus(const std::string& text) {
  game_.Status().SetText(text);
}

void TGameServices::ClearGamerPanel() {
  game_.Status().ClearGamer();
}

void TGameServices::SetProgressPosition(int position) {
  game_.Status().SetPosition(position);
}

void TGameServices::SetProgressMax(int maximum) {
  game_.Status().SetMaximum(maximum);
}

int TGameServices::GetProgressMax() {
  return game_.Status().Maximum();
}

void TGameServices::StepProgress() {
  game_.Status().Step();
}

void TGameServices::RepaintMap() {
  game_.Board().Widget()->repaint();
}

void TGameServices::ShowGamerArea(int seat) {
  game_.Status().ShowScore(game_.Machine(), game_.State().VictoryByArea(), seat);
}

void TGameServices::DrawMap(bool showProgress) {
  game_.Board().DrawMap(showProgress);
}

void TGameServices::DrawIsland(uint16_t island, TTileState state, bool framed) {
  game_.Board().DrawIsland(island, state, framed);
}

void TGameServices::ShowResults() {
  const TGameEndRecord record = game_.RecordGameEnd();
  game_.Commands().Routes().ShowResultsDialog(record);
}

bool TGameServices::RecordAdded() {
  return game_.Commands().Routes().RecordAdded();
}

void TGameServices::ShowHallOfFame() {
  game_.Commands().Routes().ShowHallOfFame();
}

void TGameServices::StopGameAtEnd() {
  game_.StopGame(false);
}

bool TGameServices::SkipTurn() {
  return game_.State().Option(soSkipTurn);
}

bool TGameServices::AutoTurnOption() {
  return game_.State().Option(soAutoTurn);
}

bool TGameServices::HallFameOnRecord() {
  return game_.State().Option(soHallFameOnRecord);
}

bool TGameServices::VictoryByArea() {
  return game_.State().VictoryByArea();
}

void TGameServices::Error(const std::string& text) {
  game_.Messages().Error(text);
}
