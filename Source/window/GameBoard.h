// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's board: the image widget and the painter's buffer it shows, which machine's
// board is drawn (the window's own, or a watched game's), and the pointer on it. Every drawing
// goes through here, so a board drawn by any route equals the board drawn afresh.
#pragma once

#include <QImage>
#include <functional>

#include "engine/UnitCore.h"
#include "model/PointerState.h"
#include "model/ProgramState.h"
#include "painter/MapPainter.h"

class QWidget;
class TGameStatus;
class TMapImage;

class TGameBoard {
 public:
  // The widget is made inside `parent`; the cursor is the `window`'s. `resize` is called when the
  // shown board no longer fits the buffer (the window then sizes itself and calls Resize).
  TGameBoard(QWidget& window, QWidget& parent, TMorvikMachine& machine, const TProgramState& state,
             TGameStatus& status, TWindowServices& services, std::function<void()> resize);

  TMapImage* Widget() const { return image_; }
  TMapPainter& Painter() { return painter_; }
  const QImage& MapImage() const;  // the board as shown (wraps the painter's buffer)
  const TPointerState& Pointer() const { return pointer_; }
  // The machine whose board is shown.
  const TMorvikMachine& Shown() const { return shown_ ? *shown_ : machine_; }

  // Another machine's board (a game being watched), drawn with tiles of `tile` pixels (0: the
  // window's own tile size); with nullptr the window's own board.
  void ShowMachine(const TMorvikMachine* shown, int tile = 0);
  // The tile edge the shown board is drawn with.
  int SizeTile() const;
  // The buffer for a board of `width` x `height` pixels.
  void Resize(int width, int height);
  bool Fits() const;  // the buffer has the size of the shown board

  void PresentShow();  // the idle board
  void DrawMap(bool showProgress);
  void DrawIsland(uint16_t island, TTileState state, bool framed);
  // The position drawn afresh, as a turn change leaves it: every island, then the territory of
  // the seat to move unframed (with its outline when asked). A highlight on the board is dropped.
  void ShowPosition();

  // ---- The pointer ----------------------------------------------------------------------
  void ResetPointer();  // no highlight, no hint, the arrow cursor
  void DropHint();      // a hint shown goes (a colour is being chosen)
  void ShowHint(const THint& hint);

 private:
  TBoardView View() const;
  TPointerLooks Looks() const;
  // The cursor and, when a hint ended, the status text after a pointer operation.
  void AfterPointer(bool hintEnded);

  QWidget& window_;
  TMorvikMachine& machine_;
  const TProgramState& state_;
  TGameStatus& status_;
  TWindowServices& services_;
  std::function<void()> resize_;
  TMapImage* image_ = nullptr;
  TMapPainter painter_;
  TPointerState pointer_;
  const TMorvikMachine* shown_ = nullptr;
  int shownTile_ = 0;  // the watched board's own tile size, or 0
  TIslandDraw drawUnframed_ = [this](uint16_t island, TTileState state) {
    DrawIsland(island, state, false);
  };
};
