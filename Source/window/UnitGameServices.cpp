// TFormGame: the window services the engine calls (status, progress, board, end of a game,
// options) and the board's sizing and drawing.
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

#include "window/UnitGame.h"
#include "gui/MapImage.h"
#include "gui/Platform.h"

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

bool TFormGame::RecordAdded() {
  return state_.RecordAdded;
}

void TFormGame::StopGameAtEnd() {
  StopGame(false);
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

// ---------------------------------------------------------------------------------------------
// Board.

bool TFormGame::BoardFits() const {
  return painter_.Width() == machine_->Width * machine_->SizeTile + 1 &&
         painter_.Height() == machine_->Height * machine_->SizeTile + 1;
}

void TFormGame::SetSizeWindow() {
  const TWindowGeometry g =
      CalcSizeWindow(machine_->Width, machine_->Height, machine_->SizeTile, state_.PanelFlags());
  painter_.Resize(g.MapWidth, g.MapHeight);
  iMap->SetBuffer(painter_.Bits(), painter_.Width(), painter_.Height());
  // The board sits at (MapLeft, MapTop) of the window; the bars above it are the menu (25) and
  // each shown tool bar (27), and the window takes the size the board and the panels call for.
  int barsHeight = accmMain->height();
  if (state_.PanelFlags() & pfMainBar) barsHeight += atbGame->height();
  if (state_.PanelFlags() & pfColorBar) barsHeight += atbColor->height();
  iMap->move(g.MapLeft, g.MapTop - barsHeight);
  setFixedSize(g.WindowWidth, g.WindowHeight);
  if (isVisible()) KeepOnScreen(*this);  // a larger board must not push the window off screen
  PresentShow();
}

void TFormGame::PresentShow() {
  painter_.PresentShow();
  iMap->update();
}

void TFormGame::DrawMap(bool showProgress) {
  if (!machine_->Map) return;
  if (!BoardFits()) SetSizeWindow();
  painter_.DrawMap(MakeBoardView(*machine_, state_.Option(soSelectBoundary)),
                   ServicesProgress(*this, showProgress));
  iMap->update();
}

void TFormGame::DrawIsland(uint16_t island, TTileState state, bool framed) {
  if (!machine_->Map || island >= machine_->Map->Islands.size() || !BoardFits()) return;
  painter_.DrawIsland(MakeBoardView(*machine_, state_.Option(soSelectBoundary)), island, state,
                      framed);
  iMap->update();
}
