// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: the board: its size, the idle board, drawing through the painter, the position
// drawn afresh, and the pointer on it (whose state is a TPointerState).
#include <QCoreApplication>
#include <QMenuBar>
#include <QToolBar>

#include "gui/MapImage.h"
#include "gui/Platform.h"
#include "window/GameServices.h"
#include "window/UnitGame.h"

void TFormGame::CreateBoard() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  iMap_ = new TMapImage(central);
  iMap_->setObjectName(QStringLiteral("iMap"));
  iMap_->move(8, 8);
  iMap_->OnMouseMove = [this](int x, int y) {
    AfterPointer(pointer_.Move(*machine_, Looks(), x, y, drawUnframed_));
  };
  iMap_->OnMouseDown = [this] { AfterPointer(pointer_.Press(*machine_, Looks(), drawUnframed_)); };
  iMap_->OnClick = [this] {
    if (!machine_->Active || pointer_.Selected() == -1) return;
    const int game = gameSerial_;
    // The pressed look reaches the screen first.
    QCoreApplication::processEvents();
    // The events may have stopped this game or started another: then the click takes nothing.
    if (!machine_->Active || game != gameSerial_) return;
    if (const uint8_t color = pointer_.ClickColor(*machine_)) SetColor(color);
  };
  iMap_->OnMouseUp = [this] {
    pointer_.Release(*machine_, Looks(), drawUnframed_);
    AfterPointer(false);
  };
}

TPointerLooks TFormGame::Looks() const {
  return {state_.Option(soSelectIsland), state_.Option(soSelectPerspective)};
}

void TFormGame::AfterPointer(bool hintEnded) {
  if (pointer_.HandCursor())
    setCursor(Qt::PointingHandCursor);
  else
    unsetCursor();
  // The hint's status text gives way to the name of the seat to move.
  const int seat = machine_->CurrentGamer;
  if (hintEnded && machine_->Active && seat >= 1 && seat <= 4)
    status_->SetText(machine_->Gamers[size_t(seat)].Name);
}

bool TFormGame::BoardFits() const {
  return painter_.Width() == Shown().Width * machine_->SizeTile + 1 &&
         painter_.Height() == Shown().Height * machine_->SizeTile + 1;
}

TBoardView TFormGame::BoardView() const {
  TBoardView view = MakeBoardView(Shown(), state_.Option(soSelectBoundary));
  // A watched game is drawn with the window's tile and looks.
  view.SizeTile = machine_->SizeTile;
  view.Looks = machine_->TileStyles;
  return view;
}

void TFormGame::ShowMachine(const TMorvikMachine* shown) {
  shown_ = shown == machine_.get() ? nullptr : shown;
  if (!BoardFits()) SetSizeWindow();
}

void TFormGame::SetSizeWindow() {
  const TWindowGeometry g =
      CalcSizeWindow(Shown().Width, Shown().Height, machine_->SizeTile, state_.PanelFlags());
  painter_.Resize(g.MapWidth, g.MapHeight);
  iMap_->SetBuffer(painter_.Bits(), painter_.Width(), painter_.Height());
  // The board sits at (MapLeft, MapTop) of the window; the bars above it are the menu (25) and
  // each shown tool bar (27), and the window takes the size the board and the panels call for.
  int barsHeight = menuBar_->height();
  if (state_.PanelFlags() & pfMainBar) barsHeight += mainBar_->height();
  if (state_.PanelFlags() & pfColorBar) barsHeight += colorBar_->height();
  iMap_->move(g.MapLeft, g.MapTop - barsHeight);
  setFixedSize(g.WindowWidth, g.WindowHeight);
  if (isVisible()) {
    // Unmoved by the player, the window stays centred (a smaller board brings it back from the
    // edge a larger one pushed it to); moved, it stays where it was put. Either way a larger
    // board must not push it off the screen.
    const bool ours = placedAt_ && pos() == *placedAt_;
    if (ours) CenterOnScreen(*this, platform_);
    KeepOnScreen(*this, platform_);
    if (ours) placedAt_ = pos();
  }
  PresentShow();
}

void TFormGame::PresentShow() {
  painter_.PresentShow();
  iMap_->update();
}

void TFormGame::DrawMap(bool showProgress) {
  if (!Shown().Map) return;
  if (!BoardFits()) SetSizeWindow();
  painter_.DrawMap(BoardView(), ServicesProgress(*services_, showProgress));
  iMap_->update();
}

void TFormGame::DrawIsland(uint16_t island, TTileState state, bool framed) {
  if (!Shown().Map || island >= Shown().Map->Islands.size() || !BoardFits()) return;
  painter_.DrawIsland(BoardView(), island, state, framed);
  iMap_->update();
}

void TFormGame::ShowPosition() {
  // Any highlight (the pointer's or the hint's) is wiped by the redraw; the next pointer move
  // brings the pointer's back.
  AfterPointer(pointer_.Drop(*machine_, [](uint16_t, TTileState) {}));
  DrawMap(false);
  // The seat to move, as the turn change leaves it: unframed, with its outline when asked.
  const TMorvikMachine& shown = Shown();
  const int seat = shown.CurrentGamer;
  if (shown.Active && shown.Map && seat >= 1 && seat <= 4)
    DrawIsland(shown.GetGamerIsland(*shown.Map, seat), tsOccupied, false);
}
