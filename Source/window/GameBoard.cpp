// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's board.
#include "window/GameBoard.h"

#include <QWidget>

#include "gui/MapImage.h"
#include "window/GameStatus.h"

TGameBoard::TGameBoard(QWidget& window, QWidget& parent, TMorvikMachine& machine,
                       const TProgramState& state, TGameStatus& status, TWindowServices& services,
                       std::function<void()> resize)
    : window_(window),
      machine_(machine),
      state_(state),
      status_(status),
      services_(services),
      resize_(std::move(resize)) {
  image_ = new TMapImage(&parent);
  image_->setObjectName(QStringLiteral("iMap"));
  image_->move(8, 8);
  image_->OnMouseMove = [this](int x, int y) {
    AfterPointer(pointer_.Move(machine_, Looks(), x, y, drawUnframed_));
  };
  image_->OnMouseDown = [this] { AfterPointer(pointer_.Press(machine_, Looks(), drawUnframed_)); };
  image_->OnMouseUp = [this] {
    pointer_.Release(machine_, Looks(), drawUnframed_);
    AfterPointer(false);
  };
}

const QImage& TGameBoard::MapImage() const {
  return image_->Image();
}

TPointerLooks TGameBoard::Looks() const {
  return {state_.Option(soSelectIsland), state_.Option(soSelectPerspective)};
}

void TGameBoard::AfterPointer(bool hintEnded) {
  if (pointer_.HandCursor())
    window_.setCursor(Qt::PointingHandCursor);
  else
    window_.unsetCursor();
  // The hint's status text gives way to the name of the seat to move.
  const int seat = machine_.CurrentGamer;
  if (hintEnded && machine_.Active && seat >= 1 && seat <= 4)
    status_.SetText(machine_.Gamers[size_t(seat)].Name);
}

void TGameBoard::ResetPointer() {
  pointer_.Reset();
  AfterPointer(false);
}

void TGameBoard::DropHint() {
  if (pointer_.HintShown()) AfterPointer(pointer_.Drop(machine_, drawUnframed_));
}

void TGameBoard::ShowHint(const THint& hint) {
  pointer_.ShowHint(machine_, hint, drawUnframed_);
  AfterPointer(false);
}

int TGameBoard::SizeTile() const {
  return shownTile_ > 0 ? shownTile_ : machine_.SizeTile;
}

bool TGameBoard::Fits() const {
  return painter_.Width() == Shown().Width * SizeTile() + 1 &&
         painter_.Height() == Shown().Height * SizeTile() + 1;
}

TBoardView TGameBoard::View() const {
  TBoardView view = MakeBoardView(Shown(), state_.Option(soSelectBoundary));
  // A watched game is drawn with the window's tile and looks.
  view.SizeTile = SizeTile();
  view.Looks = machine_.TileStyles;
  return view;
}

void TGameBoard::ShowMachine(const TMorvikMachine* shown, int tile) {
  shown_ = shown == &machine_ ? nullptr : shown;
  shownTile_ = shown_ ? tile : 0;
  if (!Fits()) resize_();
}

void TGameBoard::Resize(int width, int height) {
  painter_.Resize(width, height);
  image_->SetBuffer(painter_.Bits(), painter_.Width(), painter_.Height());
}

void TGameBoard::PresentShow() {
  painter_.PresentShow();
  image_->update();
}

void TGameBoard::DrawMap(bool showProgress) {
  if (!Shown().Map) return;
  if (!Fits()) resize_();
  painter_.DrawMap(View(), ServicesProgress(services_, showProgress));
  image_->update();
}

void TGameBoard::DrawIsland(uint16_t island, TTileState state, bool framed) {
  if (!Shown().Map || island >= Shown().Map->Islands.size() || !Fits()) return;
  painter_.DrawIsland(View(), island, state, framed);
  image_->update();
}

void TGameBoard::ShowPosition() {
  // Any highlight (the pointer's or the hint's) is wiped by the redraw; the next pointer move
  // brings the pointer's back.
  AfterPointer(pointer_.Drop(machine_, [](uint16_t, TTileState) {}));
  DrawMap(false);
  // The seat to move, as the turn change leaves it: unframed, with its outline when asked.
  const TMorvikMachine& shown = Shown();
  const int seat = shown.CurrentGamer;
  if (shown.Active && shown.Map && seat >= 1 && seat <= 4)
    DrawIsland(shown.GetGamerIsland(*shown.Map, seat), tsOccupied, false);
}
