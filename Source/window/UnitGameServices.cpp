// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: the window services the engine calls: status, progress and the options in force
// (the board's are in UnitGameBoard.cpp, the end of a game's in UnitGameEnd.cpp).
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

#include "gui/MapImage.h"
#include "window/UnitGame.h"

void TFormGame::SetStatus(const std::string& text) {
  sbPanels[4]->setText(QString::fromStdString(text));
  // Shown at once: the text names long work that runs before the next event loop pass.
  if (sbMain->isVisible()) sbMain->repaint();
}

void TFormGame::ClearGamerPanel() {
  sbPanels[0]->clear();
  if (sbMain->isVisible()) sbMain->repaint();
}

// The bar keeps a range of at least one step so that a maximum of 0 never turns it into a busy
// indicator; the machine sees the maximum it set.
void TFormGame::SetProgressPosition(int position) {
  progressPosition_ = position;
  pbBrain->setValue(std::clamp(position, 0, pbBrain->maximum()));
}

void TFormGame::SetProgressMax(int maximum) {
  progressMax_ = maximum;
  pbBrain->setRange(0, std::max(1, maximum));
  SetProgressPosition(progressPosition_);
}

int TFormGame::GetProgressMax() {
  return progressMax_;
}

void TFormGame::StepProgress() {
  // Like a stepped progress bar: past the maximum it starts again from the beginning.
  int next = progressPosition_ + 1;
  if (next > progressMax_) next = 0;
  SetProgressPosition(next);
}

void TFormGame::RepaintMap() {
  iMap->repaint();
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
