// SPDX-License-Identifier: GPL-3.0-or-later
// The board painter: draws the board into a plain 32-bit pixel buffer (0xFFRRGGBB, the layout of
// QImage::Format_RGB32), pixel-exact, with 1-pixel lines that colour their start point and every
// pixel on the way to their end point but not the end point itself. No Qt.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/UnitCore.h"

constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

constexpr uint32_t ColorGrid = Rgb(0, 0, 0);
constexpr uint32_t ColorBoundary = Rgb(255, 255, 255);
constexpr uint32_t ColorIdle = Rgb(166, 202, 240);

// The hint's mark on a tile of edge `tile`, at (u, v) from its top-left grid corner: a band of
// dashes inside the island's outline, two pixels in from the grid, that never reaches the grid
// lines, the outer bevel or a colour sign. `open` says which sides face another island or the
// board's edge (THintSide bits, the diagonals for the inner corners of the outline). 0: no mark
// here, 1: a light dash, 2: a dark dash; dashes alternate along the outline in board coordinates
// (x, y), so they run on from tile to tile.
enum THintSide : uint8_t {
  hsLeft = 1,
  hsRight = 2,
  hsTop = 4,
  hsBottom = 8,
  hsTopLeft = 16,
  hsTopRight = 32,
  hsBottomLeft = 64,
  hsBottomRight = 128,
};
int HintMarkAt(int tile, uint8_t open, int u, int v, int x, int y);
constexpr uint32_t ColorHintLight = Rgb(255, 255, 255);
constexpr uint32_t ColorHintDark = Rgb(0, 0, 0);

struct TTileColors {
  uint32_t Light;
  uint32_t Fill;
  uint32_t Dark;
};

// Light, fill and dark shades of a colour index; anything outside 1..7 is black.
TTileColors GetTileColors(uint8_t color);

// Window geometry that follows the board: image top, image size and the window's outer size.
struct TWindowGeometry {
  int MapLeft = 8;
  int MapTop = 0;
  int MapWidth = 0;
  int MapHeight = 0;
  int WindowWidth = 0;
  int WindowHeight = 0;
};
TWindowGeometry CalcSizeWindow(int width, int height, int sizeTile, uint8_t panelFlags);

// What the painter needs of a game: the board, its size in tiles, the tile edge and the looks,
// the territories (drawn occupied) and the one territory that gets the white boundary.
struct TBoardView {
  const TMap* Map = nullptr;
  int Width = 0;
  int Height = 0;
  int SizeTile = 0;
  std::array<TTileStyle, 4> Looks{};
  std::array<uint16_t, 4> Territories{NoIsland, NoIsland, NoIsland, NoIsland};
  uint16_t Outlined = NoIsland;  // the territory of the seat to move, when outlining is on
};
// The view of the machine's live board; `outline` is the option that outlines the active
// territory.
TBoardView MakeBoardView(const TMorvikMachine& machine, bool outline);

using TPaintProgress = std::function<void(int done, int total)>;
// The progress of a whole-board drawing shown through the window services: "Вывод карты..."
// and the progress bar when `show`; the bar is emptied at the end either way.
TPaintProgress ServicesProgress(TWindowServices& services, bool show);

class TMapPainter {
 public:
  // Gives the bitmap a new size; its contents are undefined until drawn.
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  uint32_t* Bits() { return pixels_.data(); }
  const uint32_t* Bits() const { return pixels_.data(); }
  uint32_t Pixel(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }

  // The idle board: light blue with a black one-pixel border.
  void PresentShow();

  // Signs of the colours on every tile of colour 1..7 (see ColorSigns.h); off unless switched on.
  void SetTileSigns(bool on) { signs_ = on; }
  bool TileSigns() const { return signs_; }

  // One tile with its top-left grid corner at (x0, y0), edge s: fill, bevel of the style, the
  // colour's sign when signs are on and, when framed, the black grid lines. Also used for the
  // tile-look pictures of the settings and the colour icons.
  void DrawTile(int x0, int y0, int s, uint8_t color, TTileStyle style, bool framed);

  // Every tile of one island of the board. An island of colour 0 is always drawn as tsOccupied.
  // The white boundary is drawn when the island is the view's outlined territory. tsHinted
  // draws the selected look and the hint's mark along the island's outline; a state outside
  // these draws nothing.
  void DrawIsland(const TBoardView& view, uint16_t island, TTileState state, bool framed);

  // Every live island in index order, framed; territories occupied, the rest neutral. With
  // `progress`, it is told (0, islands) first and (k, islands) after each drawn island; it is
  // always told (0, 0) at the end.
  void DrawMap(const TBoardView& view, const TPaintProgress& progress = {});

 private:
  void Line(int x1, int y1, int x2, int y2, uint32_t color);
  void FillAndBevel(int x0, int y0, int s, uint8_t color, TTileStyle style);
  void Frame(int x0, int y0, int s);
  void HintMark(int x0, int y0, int s, uint8_t open);
  // The inside of a tile ((s - 1) x (s - 1) pixels) with fill, bevel and sign, made once per
  // colour, style and tile edge: a signed tile is then a copy of rows.
  const std::vector<uint32_t>& SignedInside(uint8_t color, TTileStyle style, int s);
  void Put(int x, int y, uint32_t color) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y) * width_ + x] = color;
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
  bool signs_ = false;
  int insideEdge_ = 0;                          // tile edge the cached insides were made for
  std::vector<std::vector<uint32_t>> insides_;  // [colour * 4 + style], empty until needed
};
