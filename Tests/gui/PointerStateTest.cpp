// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer state without a window: over many random positions, what each pointer step
// selects and draws follows the rules of the board (only an island touching the territory of
// the seat to move, of a free colour, is taken; the looks decide what is drawn), and a drop puts
// every highlighted island back to neutral.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

#include "engine/UnitCore.h"
#include "model/PointerState.h"
#include "painter/MapPainter.h"

namespace {

struct TDrawn {
  std::map<uint16_t, TTileState> last;  // the state each island was last drawn in
  TIslandDraw Draw() {
    return [this](uint16_t island, TTileState state) { last[island] = state; };
  }
};

TEST(PointerState, SelectionAndDrawingFollowTheBoardOverRandomPositions) {
  std::mt19937 rng(77);
  int selections = 0;
  for (int layout = 0; layout < 20; ++layout) {
    TMorvikMachine m;
    m.SetSizeMap(uint8_t(8 + rng() % 20), uint8_t(6 + rng() % 12));
    m.SetSizeTile(10);
    m.SetCodeGame(int32_t(rng() % 100000));
    m.SetGamer(1, gkHuman, 0, "A", 0);
    m.SetGamer(4, gkHuman, 0, "B", 0);
    m.OnChangeGamer = [](uint8_t) {};
    m.OnChangeStateColor = [](uint8_t) {};
    m.StartGame();
    ASSERT_TRUE(m.Active);
    const TMap& map = *m.Map;
    for (int step = 0; step < 60; ++step) {
      TPointerState p;
      TDrawn drawn;
      const TPointerLooks looks{bool(rng() % 2), bool(rng() % 2)};
      // Half the steps aim at an island touching the territory, the rest anywhere.
      int c = int(rng() % m.Width), r = int(rng() % m.Height);
      const auto& near = map.Islands[m.GetGamerIsland(map, m.CurrentGamer)].Neighbours;
      if (rng() % 2 && !near.empty()) {
        const uint16_t n = near[rng() % near.size()];
        if (n != NoIsland) {
          const TTilePos t = map.Islands[n].Tiles[rng() % map.Islands[n].Tiles.size()];
          c = t.Col, r = t.Row;
        }
      }
      const bool press = rng() % 2;
      p.Move(m, looks, c * 10 + 5, r * 10 + 5, drawn.Draw());
      if (press) p.Press(m, looks, drawn.Draw());
      const int island = map.Tiles[size_t(r)][size_t(c)].Island;
      const uint8_t k = map.Islands[size_t(island)].Color;
      const bool takeable = m.IsNeighbourIsland(map, island) && k >= 1 && k <= 7 && m.FreeColors[k];
      EXPECT_EQ(p.Selected(), takeable ? island : -1);
      EXPECT_EQ(p.HandCursor(), takeable);
      EXPECT_EQ(p.ClickColor(m), takeable ? k : 0);
      const TTileState want = press ? tsPressed : tsSelected;
      const bool shown = takeable && (press || looks.Island);
      EXPECT_EQ(drawn.last.count(uint16_t(island)) == 1, shown);
      for (const auto& [n, state] : drawn.last) {
        EXPECT_EQ(state, want);
        EXPECT_EQ(map.Islands[n].Color, k);
        EXPECT_TRUE(n == island || looks.Perspective);
      }
      selections += takeable;
      // Dragged off the board: everything drawn goes back to neutral, nothing is selected.
      p.Move(m, looks, -1, 5, drawn.Draw());
      for (const auto& [n, state] : drawn.last) EXPECT_EQ(state, tsNeutral);
      EXPECT_EQ(p.Selected(), -1);
      EXPECT_FALSE(p.HandCursor());
    }
    // A hint draws its islands, and only them, with the hint's mark, keeps the hand away and
    // ends, every island drawn neutral again, on the next move elsewhere or on a press.
    const THint hint = m.Hint(m.CurrentGamer);
    const TTilePos home = map.Islands[m.GetGamerIsland(map, m.CurrentGamer)].Tiles.front();
    using TEnd = std::function<bool(TPointerState&, TDrawn&)>;
    const TEnd ends[] = {
        [&](TPointerState& p, TDrawn& d) {
          return p.Move(m, {}, home.Col * 10 + 5, home.Row * 10 + 5, d.Draw());
        },
        [&](TPointerState& p, TDrawn& d) {
          return p.Press(m, {true, true}, d.Draw());
        },
        [&](TPointerState& p, TDrawn& d) { return p.Drop(m, d.Draw()); },
    };
    for (const TEnd& end : ends) {
      TPointerState p;
      TDrawn drawn;
      p.ShowHint(m, hint, drawn.Draw());
      EXPECT_EQ(p.HintShown(), !hint.Islands.empty());
      EXPECT_FALSE(p.HandCursor());
      ASSERT_EQ(drawn.last.size(), hint.Islands.size());
      for (uint16_t n : hint.Islands) EXPECT_EQ(drawn.last[n], tsHinted);
      EXPECT_EQ(end(p, drawn), !hint.Islands.empty());
      EXPECT_FALSE(p.HintShown());
      for (uint16_t n : hint.Islands) EXPECT_EQ(drawn.last[n], tsNeutral);
    }
  }
  EXPECT_GT(selections, 200);
}

}  // namespace
