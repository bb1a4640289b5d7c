// SPDX-License-Identifier: GPL-3.0-or-later
// A finished board set up by hand, for the tests of the results and their dialog.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "engine/UnitCore.h"

// A finished board: per seat its kind, name, team and score (tiles and points).
struct TSeatResult {
  TGamerKind kind = gkNone;
  std::string name;
  uint8_t team = 0;
  uint16_t area = 0;
  int32_t points = 0;
};

void Finish(TMorvikMachine& m, int width, int height, std::initializer_list<TSeatResult> seats) {
  m.SetSizeMap(uint8_t(width), uint8_t(height));
  m.Map = std::make_unique<TMap>();
  int s = 1;
  for (const TSeatResult& r : seats) {
    m.SetGamer(s, r.kind, r.kind == gkComputer ? 1 : 0, r.name, r.team);
    m.Map->Scores[size_t(s)] = {r.points, r.area};
    ++s;
  }
  for (; s <= 4; ++s) m.SetGamer(s, gkNone, 0, "", 0);
}
