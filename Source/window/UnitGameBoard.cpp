// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: the board's part made and a click on it taken as a colour choice, and the window's
// size and place following the shown board.
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
  board_ = std::make_unique<TGameBoard>(*this, *central, *machine_, state_, *status_, *services_,
                                        [this] { SetSizeWindow(); });
  board_->Widget()->OnClick = [this] {
    if (!machine_->Active || board_->Pointer().Selected() == -1) return;
    const int game = gameSerial_;
    // The pressed look reaches the screen first.
    QCoreApplication::processEvents();
    // The events may have stopped this game or started another: then the click takes nothing.
    if (!machine_->Active || game != gameSerial_) return;
    if (const uint8_t color = board_->Pointer().ClickColor(*machine_)) SetColor(color);
  };
}

void TFormGame::SetSizeWindow() {
  const TMorvikMachine& shown = board_->Shown();
  const TWindowGeometry g =
      CalcSizeWindow(shown.Width, shown.Height, board_->SizeTile(), state_.PanelFlags());
  board_->Resize(g.MapWidth, g.MapHeight);
  // The board sits at (MapLeft, MapTop) of the window; the bars above it are the menu (25) and
  // each shown tool bar (27), and the window takes the size the board and the panels call for.
  int barsHeight = menuBar_->height();
  if (state_.PanelFlags() & pfMainBar) barsHeight += mainBar_->height();
  if (state_.PanelFlags() & pfColorBar) barsHeight += colorBar_->height();
  board_->Widget()->move(g.MapLeft, g.MapTop - barsHeight);
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
  board_->PresentShow();
}
