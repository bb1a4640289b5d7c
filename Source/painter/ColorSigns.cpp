// SPDX-License-Identifier: GPL-3.0-or-later
#include "painter/ColorSigns.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "painter/MapPainter.h"

namespace {

// Relative luminance of an sRGB colour, as used for contrast ratios.
double Luminance(uint32_t c) {
  auto lin = [](uint32_t v) {
    const double x = double(v & 0xFF) / 255.0;
    return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(c >> 16) + 0.7152 * lin(c >> 8) + 0.0722 * lin(c);
}

double Contrast(uint32_t a, uint32_t b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour's pure components with `on` where the colour has light and `off` elsewhere.
uint32_t Mix(uint8_t color, uint8_t on, uint8_t off) {
  const uint32_t light = GetTileColors(color).Light;
  auto part = [&](int shift) { return ((light >> shift) & 0xFF) ? on : off; };
  return Rgb(part(16), part(8), part(0));
}

}  // namespace

// The sign lives inside the inner rim of the carved look (inset 4 to s - 4), so that a captured
// tile keeps its mark with the sign on, and leaves a gap of fill to that rim on larger tiles. On
// the two smallest tiles that area is 3 or 4 pixels, too small for seven shapes: there the box is
// 5 or 6 pixels and lies on the rim, and the small glyphs below keep most of the rim uncovered.
int SignBoxSize(int tile) {
  if (tile < 8) return 0;
  const int inside = tile - 1;
  const int smallest = 5 + (inside % 2 == 0);  // 5 or 6, with the parity of the inside
  const int inner = tile - 7;
  if (inner < smallest) return smallest;
  // About half the tile, with the inside's parity so the sign sits exactly in the middle.
  int box = int(std::lround(0.55 * inside));
  if ((box - inside) % 2) box += (0.55 * inside > box) ? 1 : -1;
  return std::clamp(box, smallest, inner);
}

int SignBoxOffset(int tile) {
  return 1 + (tile - 1 - SignBoxSize(tile)) / 2;
}

namespace {

// Hand-drawn signs for the 5- and 6-pixel boxes, where the shapes below would blur into each
// other: colours 1..7 in order, rows top to bottom.
constexpr const char* kGlyphs5[7][5] = {
    {".....", ".....", "..#..", ".....", "....."},  // dot
    {"..#..", "..#..", "#####", "..#..", "..#.."},  // cross
    {".....", ".....", "#####", ".....", "....."},  // bar
    {".....", "..#..", ".#.#.", "..#..", "....."},  // ring
    {".....", "..#..", ".###.", "#####", "....."},  // triangle
    {"..#..", ".#.#.", "#...#", ".#.#.", "..#.."},  // diamond
    {".....", ".###.", ".###.", ".###.", "....."},  // square
};
constexpr const char* kGlyphs6[7][6] = {
    {"......", "......", "..##..", "..##..", "......", "......"},  // dot
    {"..##..", "..##..", ".####.", ".####.", "..##..", "..##.."},  // cross
    {"......", "......", "######", "######", "......", "......"},  // bar
    {"......", "..##..", ".#..#.", ".#..#.", "..##..", "......"},  // ring
    {"......", "..##..", "..##..", ".####.", "######", "......"},  // triangle
    {"..##..", ".#..#.", ".#..#.", ".#..#.", ".#..#.", "..##.."},  // diamond
    {"......", ".####.", ".####.", ".####.", ".####.", "......"},  // square
};

}  // namespace

// Shapes in pixel units around the box's middle; strokes keep the box's parity so every shape
// stays symmetric at any size. Outlines (ring, diamond) and solids (dot, bar, triangle, square)
// differ in kind, and the square is solid so it never reads as the carved rim.
std::vector<uint8_t> SignMask(uint8_t color, int box) {
  if (color < 1 || color > 7 || box <= 0) return {};
  std::vector<uint8_t> mask(size_t(box) * size_t(box), 0);
  if (box == 5 || box == 6) {
    for (int y = 0; y < box; ++y)
      for (int x = 0; x < box; ++x) {
        const char* row = box == 5 ? kGlyphs5[color - 1][y] : kGlyphs6[color - 1][y];
        mask[size_t(y) * box + x] = row[x] == '#';
      }
    return mask;
  }
  const double mid = (box - 1) / 2.0;  // integral for odd boxes, half-integral for even ones
  auto parityWidth = [box](double w) {
    int n = std::max(1, int(std::lround(w)));
    if ((n - box) % 2) ++n;
    return (n - 1) / 2.0;  // half-width: |d| <= it selects n pixels
  };
  const double stroke = parityWidth(box / 7.0);
  const double bar = parityWidth(box * 0.36);
  const double outer = mid + 0.5;
  const double line = std::max(1.0, box * 0.12);  // pixels across an outline
  const double eps = 1e-9;
  for (int y = 0; y < box; ++y) {
    for (int x = 0; x < box; ++x) {
      const double dx = std::abs(x - mid), dy = std::abs(y - mid);
      const double d2 = dx * dx + dy * dy;
      bool on = false;
      switch (color) {
        case 1:  // dot: a small disc
          on = d2 <= (0.24 * box) * (0.24 * box) + eps;
          break;
        case 2:  // cross
          on = dx <= stroke + eps || dy <= stroke + eps;
          break;
        case 3:  // bar, lying
          on = dy <= bar + eps;
          break;
        case 4: {  // ring
          const double inner = outer - line;
          on = d2 <= outer * outer + eps && d2 > inner * inner + eps;
          break;
        }
        case 5:  // triangle, pointing up
          on = dx <= (y + 0.5) / 2.0 + eps;
          break;
        case 6:  // diamond outline; a diagonal stroke needs about 1.4 times the width across
          on = dx + dy <= outer + eps && dx + dy > outer - 1.4 * line + eps;
          break;
        case 7:  // solid square
          on = std::max(dx, dy) <= 0.35 * box + eps;
          break;
      }
      mask[size_t(y) * box + x] = on;
    }
  }
  return mask;
}

uint32_t SignShade(uint8_t color) {
  static const std::array<uint32_t, 8> shades = [] {
    std::array<uint32_t, 8> s{};
    for (uint8_t k = 1; k <= 7; ++k) {
      // A light tint or a dark shade of the colour, whichever stands further from the fill.
      const uint32_t fill = GetTileColors(k).Fill;
      const uint32_t light = Mix(k, 255, 170), dark = Mix(k, 48, 0);
      s[k] = Contrast(light, fill) >= Contrast(dark, fill) ? light : dark;
    }
    return s;
  }();
  return color >= 1 && color <= 7 ? shades[color] : ColorGrid;
}

void DrawColorSign(uint32_t* bits, int width, int height, int x0, int y0, int tile, uint8_t color) {
  const int box = SignBoxSize(tile);
  const std::vector<uint8_t> mask = SignMask(color, box);
  if (mask.empty()) return;
  const uint32_t shade = SignShade(color);
  const int left = x0 + SignBoxOffset(tile), top = y0 + SignBoxOffset(tile);
  for (int y = 0; y < box; ++y) {
    const int py = top + y;
    if (py < 0 || py >= height) continue;
    for (int x = 0; x < box; ++x) {
      const int px = left + x;
      if (px >= 0 && px < width && mask[size_t(y) * box + x]) bits[size_t(py) * width + px] = shade;
    }
  }
}
