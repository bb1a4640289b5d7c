// SPDX-License-Identifier: GPL-3.0-or-later
#include "painter/MapPainter.h"

#include <algorithm>

#include "painter/ColorSigns.h"

TTileColors GetTileColors(uint8_t color) {
  if (color < 1 || color > 7) return {ColorGrid, ColorGrid, ColorGrid};
  // Bit 0 red, bit 1 green, bit 2 blue of the pure colour; grey (7) is all three.
  static constexpr uint8_t kMask[8] = {0, 0b001, 0b010, 0b011, 0b100, 0b101, 0b110, 0b111};
  const uint8_t m = kMask[color];
  auto shade = [m](uint8_t on) {
    return Rgb((m & 1) ? on : 0, (m & 2) ? on : 0, (m & 4) ? on : 0);
  };
  return {shade(255), shade(160), shade(128)};
}

TWindowGeometry CalcSizeWindow(int width, int height, int sizeTile, uint8_t panelFlags) {
  TWindowGeometry g;
  g.MapTop = 35;
  if (panelFlags & 1) g.MapTop += 27;
  if (panelFlags & 2) g.MapTop += 27;
  g.MapWidth = width * sizeTile + 1;
  g.MapHeight = height * sizeTile + 1;
  g.WindowWidth = g.MapLeft + g.MapWidth + 13;
  g.WindowHeight = g.MapTop + g.MapHeight + 33 + ((panelFlags & 4) ? 20 : 0);
  return g;
}

void TMapPainter::Resize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  pixels_.assign(size_t(width_) * size_t(height_), ColorIdle);
}

void TMapPainter::PresentShow() {
  std::fill(pixels_.begin(), pixels_.end(), ColorIdle);
  if (width_ == 0 || height_ == 0) return;
  for (int x = 0; x < width_; ++x) {
    Put(x, 0, ColorGrid);
    Put(x, height_ - 1, ColorGrid);
  }
  for (int y = 0; y < height_; ++y) {
    Put(0, y, ColorGrid);
    Put(width_ - 1, y, ColorGrid);
  }
}

// Colours the start point and every pixel up to, but not including, the end point. Every line
// the board needs is horizontal or vertical.
void TMapPainter::Line(int x1, int y1, int x2, int y2, uint32_t color) {
  const int dx = (x2 > x1) - (x2 < x1);
  const int dy = (y2 > y1) - (y2 < y1);
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    Put(x, y, color);
    if (x != x2) x += dx;
    if (y != y2) y += dy;
  }
}

void TMapPainter::FillAndBevel(int x0, int y0, int s, uint8_t color, TTileStyle style) {
  const TTileColors c = GetTileColors(color);

  const int left = std::max(x0 + 1, 0), right = std::min(x0 + s - 1, width_ - 1);
  const int top = std::max(y0 + 1, 0), bottom = std::min(y0 + s - 1, height_ - 1);
  // Clipped to the bitmap: a tile wholly or partly outside it is drawn only where it overlaps.
  for (int y = top; left <= right && y <= bottom; ++y) {
    uint32_t* row = pixels_.data() + size_t(y) * width_;
    std::fill(row + left, row + right + 1, c.Fill);
  }

  // A bevel path: bottom and right edges in `first`, then top and left in `second`.
  auto bevel = [&](int inset, uint32_t first, uint32_t second) {
    const int lo = inset, hi = s - inset;
    Line(x0 + lo, y0 + hi, x0 + hi, y0 + hi, first);
    Line(x0 + hi, y0 + hi, x0 + hi, y0 + lo, first);
    Line(x0 + hi, y0 + lo, x0 + lo, y0 + lo, second);
    Line(x0 + lo, y0 + lo, x0 + lo, y0 + hi, second);
  };
  switch (style) {
    case stFlat:
      break;
    case stConcave:
      bevel(1, c.Light, c.Dark);
      break;
    case stConvex:
      bevel(1, c.Dark, c.Light);
      break;
    case stCarved:
      bevel(1, c.Dark, c.Light);
      bevel(3, c.Light, c.Dark);
      break;
  }
}

namespace {

// Band of the hint's mark: from two pixels in (the first pixel inside the outer bevel) and as
// thick as a twelfth of the tile, but always short of the colour sign's box.
constexpr int kHintInset = 2;
int HintThickness(int tile) {
  return std::min(std::max(1, tile / 12), SignBoxOffset(tile) - kHintInset);
}

// (a, b) in the corner band of depth `depth`: the two strips that meet at an inner corner.
bool InCorner(int a, int b, int depth) {
  return a < depth && b < depth && (a >= kHintInset || b >= kHintInset);
}

}  // namespace

int HintMarkAt(int tile, uint8_t open, int u, int v, int x, int y) {
  const int s = tile, t = HintThickness(tile);
  if (t < 1 || u < 1 || v < 1 || u > s - 1 || v > s - 1) return 0;
  const int i = kHintInset, depth = i + t;
  // Mirrored coordinates: the distance from the right and the bottom grid line.
  const int ur = s - u, vb = s - v;
  const bool inside = (!(open & hsLeft) || u >= i) && (!(open & hsRight) || ur >= i) &&
                      (!(open & hsTop) || v >= i) && (!(open & hsBottom) || vb >= i);
  if (!inside) return 0;
  const bool side = ((open & hsLeft) && u < depth) || ((open & hsRight) && ur < depth) ||
                    ((open & hsTop) && v < depth) || ((open & hsBottom) && vb < depth);
  // Inner corners of the outline: both sides belong to the island, the diagonal does not.
  auto inner = [open](uint8_t diagonal, uint8_t a, uint8_t b) {
    return (open & diagonal) && !(open & a) && !(open & b);
  };
  const bool corner = (inner(hsTopLeft, hsTop, hsLeft) && InCorner(u, v, depth)) ||
                      (inner(hsTopRight, hsTop, hsRight) && InCorner(ur, v, depth)) ||
                      (inner(hsBottomLeft, hsBottom, hsLeft) && InCorner(u, vb, depth)) ||
                      (inner(hsBottomRight, hsBottom, hsRight) && InCorner(ur, vb, depth));
  if (!side && !corner) return 0;
  const int dash = std::max(2, s / 5);
  return ((x + y) / dash) % 2 ? 2 : 1;
}

void TMapPainter::HintMark(int x0, int y0, int s, uint8_t open) {
  const int depth = kHintInset + HintThickness(s);
  if (depth <= kHintInset) return;
  auto put = [&](int u, int v) {
    const int x = x0 + u, y = y0 + v;
    if (const int m = HintMarkAt(s, open, u, v, x, y))
      Put(x, y, m == 1 ? ColorHintLight : ColorHintDark);
  };
  // Only the strips along the sides can carry the mark; the middle of the tile is left alone.
  for (int v = 1; v < s; ++v) {
    const bool nearRow = v < depth || s - v < depth;
    for (int u = 1; u < s; ++u)
      if (nearRow || u < depth || s - u < depth) put(u, v);
  }
}

void TMapPainter::Frame(int x0, int y0, int s) {
  Line(x0, y0 + s, x0 + s, y0 + s, ColorGrid);
  Line(x0 + s, y0 + s, x0 + s, y0, ColorGrid);
  Line(x0 + s, y0, x0, y0, ColorGrid);
  Line(x0, y0, x0, y0 + s, ColorGrid);
}

const std::vector<uint32_t>& TMapPainter::SignedInside(uint8_t color, TTileStyle style, int s) {
  if (insideEdge_ != s || insides_.empty()) {
    insides_.assign(8 * 4, {});
    insideEdge_ = s;
  }
  std::vector<uint32_t>& inside = insides_[size_t(color) * 4 + size_t(style)];
  if (inside.empty()) {
    TMapPainter tile;
    tile.Resize(s + 1, s + 1);
    tile.FillAndBevel(0, 0, s, color, style);
    DrawColorSign(tile.Bits(), tile.Width(), tile.Height(), 0, 0, s, color);
    const int n = s - 1;
    inside.resize(size_t(n) * size_t(n));
    for (int y = 0; y < n; ++y)
      std::copy_n(tile.Bits() + size_t(y + 1) * (s + 1) + 1, n, inside.data() + size_t(y) * n);
  }
  return inside;
}

void TMapPainter::DrawTile(int x0, int y0, int s, uint8_t color, TTileStyle style, bool framed) {
  if (signs_ && color >= 1 && color <= 7 && s >= 2 && style >= stFlat && style <= stCarved) {
    const std::vector<uint32_t>& inside = SignedInside(color, style, s);
    const int n = s - 1;
    const int left = std::max(x0 + 1, 0), right = std::min(x0 + s - 1, width_ - 1);
    const int top = std::max(y0 + 1, 0), bottom = std::min(y0 + s - 1, height_ - 1);
    for (int y = top; left <= right && y <= bottom; ++y)
      std::copy(inside.data() + size_t(y - y0 - 1) * n + (left - x0 - 1),
                inside.data() + size_t(y - y0 - 1) * n + (right - x0),
                pixels_.data() + size_t(y) * width_ + left);
  } else {
    FillAndBevel(x0, y0, s, color, style);
  }
  if (framed) Frame(x0, y0, s);
}

TBoardView MakeBoardView(const TMorvikMachine& machine, bool outline) {
  TBoardView v;
  v.Map = machine.Map.get();
  v.Width = machine.Width;
  v.Height = machine.Height;
  v.SizeTile = machine.SizeTile;
  v.Looks = machine.TileStyles;
  if (!v.Map) return v;
  for (int seat = 1; seat <= 4; ++seat)
    if (machine.Gamers[size_t(seat)].Kind != gkNone)
      v.Territories[size_t(seat - 1)] = machine.GetGamerIsland(*v.Map, seat);
  if (outline && machine.CurrentGamer >= 1 && machine.CurrentGamer <= 4)
    v.Outlined = machine.GetGamerIsland(*v.Map, machine.CurrentGamer);
  return v;
}

TPaintProgress ServicesProgress(TWindowServices& services, bool show) {
  return [&services, show](int done, int total) {
    if (total == 0) {
      services.SetProgressPosition(0);
    } else if (show && done == 0) {
      services.SetStatus("Вывод карты...");
      services.SetProgressPosition(0);
      services.SetProgressMax(total);
    } else if (show) {
      services.StepProgress();
    }
  };
}

void TMapPainter::DrawIsland(const TBoardView& view, uint16_t island, TTileState state,
                             bool framed) {
  if (!view.Map || island >= view.Map->Islands.size()) return;
  const TMap& map = *view.Map;
  const TIsland& is = map.Islands[island];
  if (is.Color == 0) state = tsOccupied;
  const bool hinted = state == tsHinted;
  if (hinted) state = tsSelected;
  if (state > tsPressed) return;
  const TTileStyle style = view.Looks[state];
  const int s = view.SizeTile;

  const bool boundary = view.Outlined == island;
  const int w = view.Width, h = view.Height;
  auto other = [&](int c, int r) { return map.Tiles[r][c].Island != island; };
  // Off the board counts as another island: the hint's outline closes along the edge.
  auto open = [&](int c, int r) { return c < 0 || r < 0 || c >= w || r >= h || other(c, r); };

  for (const TTilePos& p : is.Tiles) {
    const int c = p.Col, r = p.Row;
    const int x0 = c * s, y0 = r * s;
    DrawTile(x0, y0, s, is.Color, style, framed);
    if (hinted) {
      const uint8_t sides = uint8_t(
          (open(c - 1, r) ? hsLeft : 0) | (open(c + 1, r) ? hsRight : 0) |
          (open(c, r - 1) ? hsTop : 0) | (open(c, r + 1) ? hsBottom : 0) |
          (open(c - 1, r - 1) ? hsTopLeft : 0) | (open(c + 1, r - 1) ? hsTopRight : 0) |
          (open(c - 1, r + 1) ? hsBottomLeft : 0) | (open(c + 1, r + 1) ? hsBottomRight : 0));
      HintMark(x0, y0, s, sides);
    }
    if (!boundary) continue;
    if (r + 1 < h && other(c, r + 1)) Line(x0, y0 + s, x0 + s + 1, y0 + s, ColorBoundary);
    if (r > 0 && other(c, r - 1)) Line(x0, y0, x0 + s + 1, y0, ColorBoundary);
    if (c + 1 < w && other(c + 1, r)) Line(x0 + s, y0, x0 + s, y0 + s + 1, ColorBoundary);
    if (c > 0 && other(c - 1, r)) Line(x0, y0, x0, y0 + s + 1, ColorBoundary);
  }
}

void TMapPainter::DrawMap(const TBoardView& view, const TPaintProgress& progress) {
  if (!view.Map) return;
  const TIslands& islands = view.Map->Islands;
  const int total = int(islands.size());
  if (progress) progress(0, total);
  int done = 0;
  for (size_t i = 0; i < islands.size(); ++i) {
    if (islands[i].Merged) continue;
    if (progress) progress(++done, total);
    const auto& t = view.Territories;
    const bool territory = std::find(t.begin(), t.end(), uint16_t(i)) != t.end();
    DrawIsland(view, uint16_t(i), territory ? tsOccupied : tsNeutral, true);
  }
  if (progress) progress(0, 0);
}
