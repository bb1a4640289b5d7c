// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PointerState.h"

namespace {

bool Valid(const TMorvikMachine& m, int island) {
  return m.Map && island >= 0 && size_t(island) < m.Map->Islands.size();
}

// Every live neighbour of the territory of the seat to move, in list order.
template <typename F>
void ForTerritoryNeighbours(const TMorvikMachine& m, F&& f) {
  const TMap& map = *m.Map;
  const uint16_t territory = m.GetGamerIsland(map, m.CurrentGamer);
  if (territory >= map.Islands.size()) return;
  for (uint16_t n : map.Islands[territory].Neighbours)
    if (n != NoIsland && n < map.Islands.size()) f(n);
}

}  // namespace

bool TPointerState::Move(const TMorvikMachine& m, const TPointerLooks& looks, int x, int y,
                         const TIslandDraw& draw) {
  if (!m.Active || !m.Map) return false;
  if (x < 0 || y < 0) return Drop(m, draw);  // dragged off the board with the button held
  const int s = m.SizeTile;
  if (s == 0) return false;
  const int c = int((x - 1) / double(s));
  const int r = int((y - 1) / double(s));
  if (c >= m.Width || r >= m.Height) return Drop(m, draw);
  const int p = m.Map->Tiles[size_t(r)][size_t(c)].Island;
  if (p == selected_ && !hintShown_) return false;
  const bool hintEnded = Drop(m, draw);
  pointed_ = p;
  Select(m, looks, draw);
  return hintEnded;
}

bool TPointerState::Press(const TMorvikMachine& m, const TPointerLooks& looks,
                          const TIslandDraw& draw) {
  if (!m.Active) return false;
  bool hintEnded = false;
  if (hintShown_) {
    const int under = pointed_;
    hintEnded = Drop(m, draw);
    pointed_ = under;
  }
  pressed_ = true;
  Select(m, looks, draw);
  return hintEnded;
}

void TPointerState::Release(const TMorvikMachine& m, const TPointerLooks& looks,
                            const TIslandDraw& draw) {
  pressed_ = false;  // also when the game ended during the click
  if (m.Active) Select(m, looks, draw);
}

uint8_t TPointerState::ClickColor(const TMorvikMachine& m) const {
  if (!m.Active || !Valid(m, selected_)) return 0;
  return m.Map->Islands[size_t(selected_)].Color;
}

void TPointerState::Select(const TMorvikMachine& m, const TPointerLooks& looks,
                           const TIslandDraw& draw) {
  if (!m.Active || !Valid(m, pointed_)) return;
  const TMap& map = *m.Map;
  if (!m.IsNeighbourIsland(map, pointed_)) return;
  const uint8_t k = map.Islands[size_t(pointed_)].Color;
  if (k < 1 || k > 7 || !m.FreeColors[k]) return;
  selected_ = pointed_;
  TTileState state;
  if (pressed_)
    state = tsPressed;
  else if (looks.Island)
    state = tsSelected;
  else
    return;  // selectable, not highlighted
  draw(uint16_t(selected_), state);
  if (!looks.Perspective) return;
  ForTerritoryNeighbours(m, [&](uint16_t n) {
    if (map.Islands[n].Color == k && n != selected_) draw(n, state);
  });
}

bool TPointerState::Drop(const TMorvikMachine& m, const TIslandDraw& draw) {
  if (selected_ == -1) return false;
  if (m.Active && Valid(m, selected_)) {
    const TMap& map = *m.Map;
    const uint8_t k = map.Islands[size_t(selected_)].Color;
    ForTerritoryNeighbours(m, [&](uint16_t n) {
      if (!m.IsGamerIsland(map, n) && map.Islands[n].Color == k) draw(n, tsNeutral);
    });
  }
  const bool hintEnded = hintShown_;
  Reset();
  return hintEnded;
}

void TPointerState::Reset() {
  selected_ = -1;
  pointed_ = -1;
  hintShown_ = false;
}

void TPointerState::ShowHint(const TMorvikMachine& m, const THint& hint, const TIslandDraw& draw) {
  const int under = pointed_;
  Drop(m, draw);
  if (hint.Islands.empty()) return;
  // The selected look with the hint's mark: once the pointer moves on, the player can still tell
  // the advice from the pointer's own highlight. Any drop draws the islands neutral again.
  for (uint16_t island : hint.Islands) draw(island, tsHinted);
  selected_ = hint.Islands.front();
  pointed_ = under;
  hintShown_ = true;
}
