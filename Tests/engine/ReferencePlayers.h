// SPDX-License-Identifier: GPL-3.0-or-later
// The literal, copy-based engine operations, kept as the yardstick for the fast ones: captures
// scan plain lists, and the look-ahead players try every colour on a deep copy of the board.
// Used by the engine tests and by the engine benchmark.
#pragma once

#include <cstdint>

#include "engine/UnitCore.h"

namespace reference {

// A deep copy of tiles and islands without any look-up index; scores start at 0.
TMap Copy(const TMap& source);
void Capture(const TMorvikMachine& m, TMap& map, int seat, uint8_t color, bool all);
uint8_t RandomColor(const TMorvikMachine& m);
uint8_t BrainEasy(const TMorvikMachine& m, const TMap& live, bool byArea);
uint8_t BrainModerate(const TMorvikMachine& m, const TMap& live, bool byArea);
uint8_t BrainHard(const TMorvikMachine& m, const TMap& live, bool byArea);
// The end test without its distribution: the territories touch and are settled.
bool Settled(const TMorvikMachine& m, const TMap& map);
// What ComputerTurn would play for the current seat (AutoTurn first, then the level).
uint8_t ComputerChoice(const TMorvikMachine& m, const TMap& live, bool byArea);

}  // namespace reference
