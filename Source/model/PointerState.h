// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer on the board, apart from Qt: the island a click would take, the island last
// pointed at, the held button, and whether the highlight on the board is the hint's. It decides
// which islands are drawn in which state (a hint's islands in tsHinted);
// the window draws them (always unframed) and shows the hand cursor while HandCursor() holds.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/UnitCore.h"

// Draws one island unframed in the given state (tsNeutral..tsPressed, or tsHinted).
using TIslandDraw = std::function<void(uint16_t island, TTileState state)>;

// The two highlight options in force.
struct TPointerLooks {
  bool Island = false;       // highlight the island under the pointer
  bool Perspective = false;  // ... and the other islands the same colour would take
};

class TPointerState {
 public:
  int Selected() const { return selected_; }  // -1: none
  int Pointed() const { return pointed_; }    // -1: none
  bool Pressed() const { return pressed_; }
  bool HintShown() const { return hintShown_; }
  // The hand shows while a click would take an island (never over the hint's highlight).
  bool HandCursor() const { return selected_ != -1 && !hintShown_; }

  // The pointer at board pixel (x, y); negative or past the board only while dragging. Each
  // tile owns the grid lines on its right and bottom; pixel 0 belongs to tile 0. Returns true
  // when a hint's highlight ended.
  bool Move(const TMorvikMachine& m, const TPointerLooks& looks, int x, int y,
            const TIslandDraw& draw);
  // Left button down: a press where the pointer rests takes the island under it, never the
  // hinted one. Returns true when a hint's highlight ended.
  bool Press(const TMorvikMachine& m, const TPointerLooks& looks, const TIslandDraw& draw);
  void Release(const TMorvikMachine& m, const TPointerLooks& looks, const TIslandDraw& draw);
  // The colour a click takes now, or 0.
  uint8_t ClickColor(const TMorvikMachine& m) const;

  // Highlights the pointed island when the seat to move could take it.
  void Select(const TMorvikMachine& m, const TPointerLooks& looks, const TIslandDraw& draw);
  // Clears the highlight (the islands go back to neutral). Returns true when it was the hint's.
  bool Drop(const TMorvikMachine& m, const TIslandDraw& draw);
  // Forgets the highlight without drawing: the board it named is gone or drawn afresh.
  void Reset();
  // The hint's islands in the selected look with the hint's mark (tsHinted); the pointer still
  // rests where it was.
  void ShowHint(const TMorvikMachine& m, const THint& hint, const TIslandDraw& draw);

 private:
  int selected_ = -1;
  int pointed_ = -1;
  bool pressed_ = false;
  bool hintShown_ = false;
};
