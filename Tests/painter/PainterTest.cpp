// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "painter/ColorSigns.h"
#include "painter/MapPainter.h"

namespace {

constexpr uint32_t Red = Rgb(255, 0, 0), RedFill = Rgb(160, 0, 0), RedDark = Rgb(128, 0, 0);

TEST(TileColors, ShadesFollowThePureColour) {
  const uint32_t light[8] = {Rgb(0, 0, 0),     Rgb(255, 0, 0),    Rgb(0, 255, 0),
                             Rgb(255, 255, 0), Rgb(0, 0, 255),    Rgb(255, 0, 255),
                             Rgb(0, 255, 255), Rgb(255, 255, 255)};
  for (uint8_t k = 1; k <= 7; ++k) {
    const TTileColors c = GetTileColors(k);
    EXPECT_EQ(c.Light, light[k]) << int(k);
    // Fill replaces every 255 by 160, dark by 128.
    auto scale = [](uint32_t v, uint32_t to) {
      uint32_t out = 0xFF000000u;
      for (int shift : {16, 8, 0})
        if (((v >> shift) & 0xFF) == 255) out |= to << shift;
      return out;
    };
    EXPECT_EQ(c.Fill, scale(light[k], 160)) << int(k);
    EXPECT_EQ(c.Dark, scale(light[k], 128)) << int(k);
  }
  for (uint8_t k : {0, 8, 255}) {
    const TTileColors c = GetTileColors(k);
    EXPECT_EQ(c.Light, Rgb(0, 0, 0));
    EXPECT_EQ(c.Fill, Rgb(0, 0, 0));
    EXPECT_EQ(c.Dark, Rgb(0, 0, 0));
  }
}

// A painter prefilled with a marker colour, so untouched pixels are visible.
TMapPainter Canvas(int w, int h) {
  TMapPainter p;
  p.Resize(w, h);
  std::fill(p.Bits(), p.Bits() + w * h, Rgb(1, 2, 3));
  return p;
}
constexpr uint32_t Untouched = Rgb(1, 2, 3);

TEST(DrawTile, ConvexRedTileIsPixelExact) {
  TMapPainter p = Canvas(100, 100);
  p.DrawTile(2 * 15, 1 * 15, 15, 1, stConvex, false);
  // Bottom row 29 from x 31 to 43 and the right column 44 from y 29 up to 17: dark.
  for (int x = 31; x <= 43; ++x) EXPECT_EQ(p.Pixel(x, 29), RedDark) << x;
  for (int y = 29; y >= 17; --y) EXPECT_EQ(p.Pixel(44, y), RedDark) << y;
  // Top row 16 from x 44 to 32 and the left column 31 from y 16 to 28: light.
  for (int x = 44; x >= 32; --x) EXPECT_EQ(p.Pixel(x, 16), Red) << x;
  for (int y = 16; y <= 28; ++y) EXPECT_EQ(p.Pixel(31, y), Red) << y;
  // Inside: fill; the grid lines around stay untouched.
  for (int y = 17; y <= 28; ++y)
    for (int x = 32; x <= 43; ++x) EXPECT_EQ(p.Pixel(x, y), RedFill);
  for (int x = 30; x <= 45; ++x) {
    EXPECT_EQ(p.Pixel(x, 15), Untouched);
    EXPECT_EQ(p.Pixel(x, 30), Untouched);
  }
}

TEST(DrawTile, EveryStyle) {
  const int s = 15;
  // Flat: fill only.
  TMapPainter flat = Canvas(16, 16);
  flat.DrawTile(0, 0, s, 1, stFlat, false);
  for (int y = 1; y <= 14; ++y)
    for (int x = 1; x <= 14; ++x) ASSERT_EQ(flat.Pixel(x, y), RedFill);

  // Concave: bottom and right light, top and left dark; the corners follow the path order.
  TMapPainter concave = Canvas(16, 16);
  concave.DrawTile(0, 0, s, 1, stConcave, false);
  EXPECT_EQ(concave.Pixel(1, 14), Red);      // start of the light path
  EXPECT_EQ(concave.Pixel(14, 14), Red);     // bottom-right corner, light
  EXPECT_EQ(concave.Pixel(14, 1), RedDark);  // the dark path starts at the top-right corner
  EXPECT_EQ(concave.Pixel(1, 1), RedDark);
  EXPECT_EQ(concave.Pixel(1, 13), RedDark);
  EXPECT_EQ(concave.Pixel(7, 14), Red);
  EXPECT_EQ(concave.Pixel(7, 1), RedDark);

  // Carved: the convex rim plus a sunken inner path two pixels further in.
  TMapPainter carved = Canvas(16, 16);
  carved.DrawTile(0, 0, s, 1, stCarved, false);
  EXPECT_EQ(carved.Pixel(7, 14), RedDark);  // outer bottom, as convex
  EXPECT_EQ(carved.Pixel(7, 1), Red);       // outer top, as convex
  EXPECT_EQ(carved.Pixel(3, 12), Red);      // inner path starts light at (3, s - 3)
  EXPECT_EQ(carved.Pixel(12, 12), Red);
  EXPECT_EQ(carved.Pixel(12, 3), RedDark);
  EXPECT_EQ(carved.Pixel(3, 3), RedDark);
  EXPECT_EQ(carved.Pixel(3, 11), RedDark);
  EXPECT_EQ(carved.Pixel(7, 7), RedFill);
  EXPECT_EQ(carved.Pixel(2, 7), RedFill);
}

TEST(DrawTile, FrameCoversTheFourGridLinesOnly) {
  TMapPainter p = Canvas(30, 30);
  p.DrawTile(10, 10, 10, 2, stFlat, true);
  for (int i = 10; i <= 20; ++i) {
    EXPECT_EQ(p.Pixel(i, 10), ColorGrid);
    EXPECT_EQ(p.Pixel(i, 20), ColorGrid);
    EXPECT_EQ(p.Pixel(10, i), ColorGrid);
    EXPECT_EQ(p.Pixel(20, i), ColorGrid);
  }
  EXPECT_EQ(p.Pixel(9, 10), Untouched);
  EXPECT_EQ(p.Pixel(21, 20), Untouched);
  EXPECT_EQ(p.Pixel(15, 15), Rgb(0, 160, 0));
}

TEST(DrawTile, ClipsToTheBitmap) {
  TMapPainter p = Canvas(20, 20);
  p.DrawTile(40, 5, 10, 1, stCarved, true);     // wholly right of the bitmap
  p.DrawTile(-30, -30, 10, 1, stCarved, true);  // wholly above and left of it
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(p.Pixel(x, y), Untouched);
  p.DrawTile(15, 15, 10, 1, stFlat, true);  // partly inside: only the overlap
  EXPECT_EQ(p.Pixel(15, 15), ColorGrid);
  EXPECT_EQ(p.Pixel(19, 19), RedFill);
  EXPECT_EQ(p.Pixel(14, 14), Untouched);
}

TEST(PresentShow, IdleBoardWithBlackBorder) {
  TMapPainter p;
  p.Resize(201, 101);
  p.PresentShow();
  EXPECT_EQ(p.Pixel(0, 0), ColorGrid);
  EXPECT_EQ(p.Pixel(200, 50), ColorGrid);
  EXPECT_EQ(p.Pixel(100, 100), ColorGrid);
  EXPECT_EQ(p.Pixel(1, 1), ColorIdle);
  EXPECT_EQ(p.Pixel(199, 99), ColorIdle);
  EXPECT_EQ(ColorIdle, Rgb(166, 202, 240));
}

TEST(Geometry, WindowFollowsBoardTileAndPanels) {
  TWindowGeometry g = CalcSizeWindow(20, 10, 10, 7);
  EXPECT_EQ(g.MapLeft, 8);
  EXPECT_EQ(g.MapTop, 89);
  EXPECT_EQ(g.MapWidth, 201);
  EXPECT_EQ(g.MapHeight, 101);
  EXPECT_EQ(g.WindowWidth, 222);
  EXPECT_EQ(g.WindowHeight, 243);
  // Without the status bar the window is 20 pixels lower; without the main bar the board moves
  // 27 pixels up and the window shortens by 27.
  EXPECT_EQ(CalcSizeWindow(20, 10, 10, 3).WindowHeight, 223);
  TWindowGeometry noMain = CalcSizeWindow(20, 10, 10, 6);
  EXPECT_EQ(noMain.MapTop, 62);
  EXPECT_EQ(noMain.WindowHeight, 216);
  EXPECT_EQ(CalcSizeWindow(20, 10, 10, 0).MapTop, 35);
  // The largest board the data model holds.
  TWindowGeometry big = CalcSizeWindow(255, 255, 255, 7);
  EXPECT_EQ(big.MapWidth, 255 * 255 + 1);
}

// --- Drawing islands of a real board -------------------------------------------------------

struct RecordingServices : TNullWindowServices {
  std::vector<std::string> statuses;
  int steps = 0, lastPosition = -1;
  void SetStatus(const std::string& t) override { statuses.push_back(t); }
  void StepProgress() override { ++steps; }
  void SetProgressPosition(int p) override { lastPosition = p; }
};

// The 4 x 3 board: row 0: 0 2 2 5; row 1: 3 2 5 5; row 2: 3 3 1 0; seats 1 and 4.
struct SmallBoard : ::testing::Test {
  RecordingServices services;
  TMorvikMachine machine{&services};
  TMapPainter painter;

  void SetUp() override {
    machine.SetSizeMap(4, 3);
    machine.SetSizeTile(10);
    machine.SetGamer(1, gkHuman, 0, "Ann", 0);
    machine.SetGamer(4, gkComputer, 1, "Компьютер", 0);
    machine.Map = std::make_unique<TMap>();
    const uint8_t colours[3][4] = {{0, 2, 2, 5}, {3, 2, 5, 5}, {3, 3, 1, 0}};
    machine.Map->Tiles.assign(3, std::vector<TTile>(4));
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) machine.Map->Tiles[r][c].Color = colours[r][c];
    machine.GenerateIslands();
    machine.CurrentGamer = 1;
    painter.Resize(41, 31);
    std::fill(painter.Bits(), painter.Bits() + 41 * 31, Untouched);
  }

  // The tile beside (c, r) in direction (dc, dr) is off the board or of another island.
  bool Beyond(uint16_t island, int c, int r, int dc, int dr) const {
    c += dc, r += dr;
    return c < 0 || r < 0 || c >= 4 || r >= 3 || machine.Map->Tiles[r][c].Island != island;
  }

  // Draws the seat's territory with the option on, then checks the four sides of each of its
  // tiles: white exactly where another island lies beyond the side, never on the board's edge.
  // Corners are left out: the neighbouring tiles' lines share them.
  void ExpectBoundaryOnEverySide(uint8_t seat) {
    std::fill(painter.Bits(), painter.Bits() + 41 * 31, Untouched);
    machine.CurrentGamer = seat;
    const TMap& map = *machine.Map;
    const uint16_t t = machine.GetGamerIsland(map, seat);
    painter.DrawIsland(MakeBoardView(machine, true), t, tsOccupied, false);
    const int s = 10;
    for (const TTilePos& p : map.Islands[t].Tiles) {
      const int c = p.Col, r = p.Row, x0 = c * s, y0 = r * s;
      auto beyond = [&](int dc, int dr) {
        const int cc = c + dc, rr = r + dr;
        return cc >= 0 && cc < 4 && rr >= 0 && rr < 3 && map.Tiles[rr][cc].Island != t;
      };
      for (int i = 1; i < s; ++i) {
        const std::string at = " of tile " + std::to_string(c) + "," + std::to_string(r);
        EXPECT_EQ(painter.Pixel(x0 + i, y0) == ColorBoundary, beyond(0, -1)) << "top" << at;
        EXPECT_EQ(painter.Pixel(x0 + i, y0 + s) == ColorBoundary, beyond(0, 1)) << "bottom" << at;
        EXPECT_EQ(painter.Pixel(x0, y0 + i) == ColorBoundary, beyond(-1, 0)) << "left" << at;
        EXPECT_EQ(painter.Pixel(x0 + s, y0 + i) == ColorBoundary, beyond(1, 0)) << "right" << at;
      }
    }
  }
};

TEST_F(SmallBoard, StartTileIsBlackInTheOccupiedStyleWhateverTheState) {
  machine.SetTileStyle(tsOccupied, stFlat);
  machine.SetTileStyle(tsSelected, stConvex);
  painter.DrawIsland(MakeBoardView(machine, false), 0, tsSelected, false);
  for (int y = 1; y <= 9; ++y)
    for (int x = 1; x <= 9; ++x) ASSERT_EQ(painter.Pixel(x, y), Rgb(0, 0, 0));
}

TEST_F(SmallBoard, BoundaryOnlyTowardsOtherIslandsAndNeverOnTheEdge) {
  // Seat 1 takes colour 2: its territory is (0,0), (1,0), (2,0), (1,1).
  machine.Active = true;
  machine.Capture(*machine.Map, 2, false);
  machine.SetTileStyle(tsOccupied, stFlat);
  painter.DrawIsland(MakeBoardView(machine, true), 0, tsOccupied, false);
  const uint32_t W = ColorBoundary;
  // Top edge of the board: no line (x = 30 starts the line right of (2,0)).
  for (int x = 0; x < 30; ++x) EXPECT_NE(painter.Pixel(x, 0), W) << x;
  // Between own tiles (0,0) and (1,0): the shared grid line x = 10 stays as it was.
  for (int y = 1; y <= 9; ++y) EXPECT_EQ(painter.Pixel(10, y), Untouched) << y;
  // Below (0,0) lies island 3: white from x 0 to 10 on y = 10.
  for (int x = 0; x <= 10; ++x) EXPECT_EQ(painter.Pixel(x, 10), W) << x;
  // Right of (2,0) lies (3,0), another island: white column x = 30 from y 0 to 10.
  for (int y = 0; y <= 10; ++y) EXPECT_EQ(painter.Pixel(30, y), W) << y;
  // Left of (1,1) lies island 3: the left side of a tile of column 1.
  for (int y = 10; y <= 20; ++y) EXPECT_EQ(painter.Pixel(10, y), W) << y;
  // Every side of both territories; seat 4's (2,1) has seat 1 above it and to its left.
  ExpectBoundaryOnEverySide(1);
  machine.CurrentGamer = 4;
  machine.Capture(*machine.Map, 5, false);
  ASSERT_EQ(machine.Map->Islands[machine.GetGamerIsland(*machine.Map, 4)].Tiles.size(), 4u);
  ExpectBoundaryOnEverySide(4);
  ExpectBoundaryOnEverySide(1);
  // Without the option no white anywhere.
  SetUp();
  machine.Active = true;
  machine.Capture(*machine.Map, 2, false);
  painter.DrawIsland(MakeBoardView(machine, false), 0, tsOccupied, false);
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 41; ++x) ASSERT_NE(painter.Pixel(x, y), W);
}

TEST_F(SmallBoard, FramedRedrawPaintsTheBoundaryBlackAgain) {
  machine.SetTileStyle(tsOccupied, stFlat);
  painter.DrawIsland(MakeBoardView(machine, true), 0, tsOccupied, false);
  EXPECT_EQ(painter.Pixel(5, 10), ColorBoundary);
  machine.CurrentGamer = 4;  // the turn passed
  painter.DrawIsland(MakeBoardView(machine, true), 0, tsOccupied, true);
  EXPECT_EQ(painter.Pixel(5, 10), ColorGrid);
  EXPECT_EQ(painter.Pixel(10, 5), ColorGrid);
}

TEST_F(SmallBoard, DrawMapDrawsLiveIslandsWithProgress) {
  machine.SetTileStyle(tsNeutral, stFlat);
  machine.SetTileStyle(tsOccupied, stFlat);
  services.statuses.clear();
  services.steps = 0;
  painter.DrawMap(MakeBoardView(machine, false), ServicesProgress(machine.Services(), true));
  ASSERT_EQ(services.statuses.size(), 1u);
  EXPECT_EQ(services.statuses[0], "Вывод карты...");
  EXPECT_EQ(services.progressMax, 6);
  EXPECT_EQ(services.steps, 6);
  EXPECT_EQ(services.lastPosition, 0);
  // Every pixel of the bitmap is drawn: fills and grid lines.
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 41; ++x) ASSERT_NE(painter.Pixel(x, y), Untouched) << x << "," << y;
  EXPECT_EQ(painter.Pixel(15, 5), Rgb(0, 160, 0));   // island 1, green
  EXPECT_EQ(painter.Pixel(25, 25), Rgb(160, 0, 0));  // island 4, red
  EXPECT_EQ(painter.Pixel(35, 25), Rgb(0, 0, 0));    // seat 4's start tile

  // After a capture the merged island is skipped: one step fewer, no status without progress.
  machine.Active = true;
  machine.Capture(*machine.Map, 2, false);
  services.steps = 0;
  painter.DrawMap(MakeBoardView(machine, false), ServicesProgress(machine.Services(), false));
  EXPECT_EQ(services.steps, 0);
  EXPECT_EQ(services.statuses.size(), 1u);
  EXPECT_EQ(painter.Pixel(15, 5), Rgb(0, 160, 0));  // now seat 1's territory, colour 2
}

// The hint's mark over tile sizes, looks and signs. Drawn hinted, an island differs from its
// selected look only inside its own tiles, in light and dark dashes between the outer bevel and
// the sign; every side that faces another island or the board's edge carries both shades, a
// side within the island none. Drawn neutral again, the board is its fresh drawing.
TEST_F(SmallBoard, HintMarkFollowsTheOutlineAndGoesWithTheNextDrawing) {
  struct TRow {
    int tile;
    bool signs;
    TTileStyle look;
  };
  const TRow rows[] = {{10, false, stCarved}, {10, true, stCarved}, {11, true, stFlat},
                       {15, false, stConvex}, {25, true, stCarved}, {25, false, stConcave},
                       {64, true, stCarved},  {255, false, stFlat}};
  const TMap& map = *machine.Map;
  for (const TRow& row : rows) {
    const int s = row.tile, w = 4 * s + 1, h = 3 * s + 1;
    machine.SetSizeTile(uint8_t(s));
    machine.SetTileStyle(tsNeutral, stConvex);
    machine.SetTileStyle(tsSelected, row.look);
    const TBoardView view = MakeBoardView(machine, false);
    TMapPainter p;
    p.SetTileSigns(row.signs);
    p.Resize(w, h);
    p.DrawMap(view);
    auto copy = [&] { return std::vector<uint32_t>(p.Bits(), p.Bits() + size_t(w) * h); };
    const std::vector<uint32_t> fresh = copy();
    for (uint16_t i = 0; i < map.Islands.size(); ++i) {
      if (map.Islands[i].Color == 0) continue;
      const std::string at = "tile " + std::to_string(s) + " island " + std::to_string(i);
      p.DrawIsland(view, i, tsSelected, false);
      const std::vector<uint32_t> selected = copy();
      p.DrawIsland(view, i, tsHinted, false);
      const std::vector<uint32_t> hinted = copy();
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const size_t k = size_t(y) * w + size_t(x);
          if (hinted[k] == selected[k]) continue;
          const int u = x % s, v = y % s, c = x / s, r = y / s;
          ASSERT_TRUE(u != 0 && v != 0 && map.Tiles[r][c].Island == i) << at;
          // Distance from the island's outline: from the nearest side or corner beyond which
          // lies another island or the edge.
          int outline = s;
          for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc)
              if ((dc || dr) && Beyond(i, c, r, dc, dr))
                outline = std::min(outline, std::max(dc < 0   ? u
                                                     : dc > 0 ? s - u
                                                              : 0,
                                                     dr < 0   ? v
                                                     : dr > 0 ? s - v
                                                              : 0));
          ASSERT_TRUE(outline >= 2 && outline < SignBoxOffset(s)) << at << " at " << x << "," << y;
          ASSERT_TRUE(hinted[k] == ColorHintLight || hinted[k] == ColorHintDark) << at;
        }
      for (const TTilePos& t : map.Islands[i].Tiles) {
        const int x0 = t.Col * s, y0 = t.Row * s;
        // Each side: its line two pixels in, short of the corners. (dc, dr) points outwards.
        for (auto [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
          const bool open = Beyond(i, t.Col, t.Row, dc, dr);
          int light = 0, dark = 0, changed = 0;
          for (int along = 3; along <= s - 3; ++along) {
            const int u = dc ? (dc < 0 ? 2 : s - 2) : along, v = dr ? (dr < 0 ? 2 : s - 2) : along;
            const size_t k = size_t(y0 + v) * w + size_t(x0 + u);
            light += hinted[k] == ColorHintLight;
            dark += hinted[k] == ColorHintDark;
            changed += hinted[k] != selected[k];
          }
          const std::string side = at + " side " + std::to_string(dc) + "," + std::to_string(dr);
          if (open) {
            EXPECT_GT(light, 0) << side;
            EXPECT_GT(dark, 0) << side;
          } else {
            EXPECT_LT(changed, 2 * SignBoxOffset(s)) << side;  // only where a crossing side runs
          }
        }
      }
      p.DrawIsland(view, i, tsNeutral, false);
      ASSERT_TRUE(copy() == fresh) << at;
      p.DrawIsland(view, i, TTileState(tsHinted + 1), false);  // no look: nothing drawn
      ASSERT_TRUE(copy() == fresh) << at;
    }
  }
}

}  // namespace
