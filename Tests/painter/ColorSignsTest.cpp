// SPDX-License-Identifier: GPL-3.0-or-later
// Signs of the colours, as a player sees them: each tile is drawn with signs off and on, and the
// pixels that changed are the sign.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "painter/ColorSigns.h"
#include "painter/MapPainter.h"

namespace {

constexpr uint32_t Marker = Rgb(1, 2, 3);
constexpr TTileStyle Styles[4] = {stFlat, stConcave, stConvex, stCarved};

std::array<double, 3> Linear(uint32_t c) {
  auto lin = [](uint32_t v) {
    const double x = double(v & 0xFF) / 255.0;
    return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  return {lin(c >> 16), lin(c >> 8), lin(c)};
}

double Luminance(const std::array<double, 3>& rgb) {
  return 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
}

double ContrastRatio(const std::array<double, 3>& a, const std::array<double, 3>& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A tile of edge s drawn at (1, 1) of an (s + 3)-pixel canvas, so that no edge of the bitmap
// clips it.
int CanvasWidth(int s) {
  return s + 3;
}
std::vector<uint32_t> Tile(int s, uint8_t color, TTileStyle style, bool signs) {
  TMapPainter p;
  p.Resize(CanvasWidth(s), CanvasWidth(s));
  std::fill(p.Bits(), p.Bits() + p.Width() * p.Height(), Marker);
  p.SetTileSigns(signs);
  p.DrawTile(1, 1, s, color, style, true);
  return {p.Bits(), p.Bits() + p.Width() * p.Height()};
}

struct Sign {
  std::vector<uint8_t> mask;  // over the whole canvas
  uint32_t shade = 0;
  int count = 0;
};

// The pixels a sign changed; all of them must be one shade.
Sign SignOf(int s, uint8_t color, TTileStyle style) {
  const std::vector<uint32_t> off = Tile(s, color, style, false), on = Tile(s, color, style, true);
  Sign sign;
  sign.mask.assign(on.size(), 0);
  const int w = CanvasWidth(s);
  for (size_t i = 0; i < on.size(); ++i) {
    if (on[i] == off[i]) continue;
    const int x = int(i) % w - 1, y = int(i) / w - 1;
    EXPECT_TRUE(x >= 2 && y >= 2 && x <= s - 2 && y <= s - 2)
        << "a sign leaves the rim of the tile alone: s " << s << " colour " << int(color);
    if (sign.count++ == 0) sign.shade = on[i];
    EXPECT_EQ(on[i], sign.shade) << "one shade per sign";
    sign.mask[i] = 1;
  }
  return sign;
}

int Difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

int Union(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] || b[i];
  return n;
}

// Canvas indices of the carved look's inner rim: the square path two pixels inside the bevel.
std::vector<size_t> InnerRim(int s) {
  std::vector<size_t> rim;
  for (int y = 3; y <= s - 3; ++y)
    for (int x = 3; x <= s - 3; ++x)
      if (x == 3 || y == 3 || x == s - 3 || y == s - 3)
        rim.push_back(size_t(y + 1) * CanvasWidth(s) + x + 1);
  return rim;
}

// Every look on the small tiles and a spread of larger ones; the carved look on every size.
bool AllLooks(int s) {
  return s <= 40 || s % 26 == 21 || s == 255;
}

// Every tile size the settings allow. Per size: the seven masks differ pairwise in at least a
// third of the pixels either covers, each sign keeps 3:1 luminance contrast with its tile (so it
// reads in greyscale), the shape is the same in every look and symmetric, and the carved rim that
// marks captured tiles stays visible: wholly from tile 12 on, at least two thirds of it below.
TEST(ColorSigns, SevenDistinctCentredSignsThatStandOutAndKeepTheCarvedRimAtEveryTileSize) {
  double worstShape = 1, worstContrast = 100;
  for (int s = 10; s <= 255; ++s) {
    const int w = CanvasWidth(s);
    std::array<std::vector<uint8_t>, 8> masks;
    double sizeContrast = 100;
    for (uint8_t k = 1; k <= 7; ++k) {
      const TTileColors c = GetTileColors(k);
      for (TTileStyle style : {stCarved, stFlat, stConcave, stConvex}) {
        if (style != stCarved && !AllLooks(s)) break;
        const Sign sign = SignOf(s, k, style);
        ASSERT_GT(sign.count, 0) << "s " << s << " colour " << int(k);
        if (style == stCarved) masks[k] = sign.mask;
        ASSERT_EQ(sign.mask, masks[k]) << "s " << s << " colour " << int(k) << " look " << style;
        sizeContrast = std::min(sizeContrast, ContrastRatio(Linear(sign.shade), Linear(c.Fill)));
        EXPECT_TRUE(sign.shade != c.Light && sign.shade != c.Dark && sign.shade != c.Fill);
      }
      for (int y = 1; y <= s + 1; ++y)
        for (int x = 1; x <= s + 1; ++x)
          ASSERT_EQ(masks[k][size_t(y) * w + x], masks[k][size_t(y) * w + (s + 2 - x)])
              << "s " << s << " colour " << int(k);
      // A captured tile against a neutral one: the rim of the carved look shows around the sign.
      const std::vector<size_t> rim = InnerRim(s);
      int hidden = 0;
      for (size_t i : rim) hidden += masks[k][i];
      if (s >= 12) {
        EXPECT_EQ(hidden, 0) << "s " << s << " colour " << int(k);
      } else {
        EXPECT_LE(3 * hidden, int(rim.size())) << "s " << s << " colour " << int(k);
      }
    }
    double sizeShape = 1;
    for (uint8_t a = 1; a <= 7; ++a)
      for (uint8_t b = a + 1; b <= 7; ++b) {
        const int diff = Difference(masks[a], masks[b]), both = Union(masks[a], masks[b]);
        sizeShape = std::min(sizeShape, double(diff) / both);
        EXPECT_GE(3 * diff, both) << "s " << s << ": colours " << int(a) << " and " << int(b);
      }
    EXPECT_GE(sizeContrast, 3.0) << "s " << s;
    worstShape = std::min(worstShape, sizeShape);
    worstContrast = std::min(worstContrast, sizeContrast);
    if (s == 10 || s == 15 || s == 20 || s == 25 || s == 40 || s == 64 || s == 128 || s == 255)
      std::printf("tile %3d: box %3d, least pairwise difference %.3f, least contrast %.2f:1\n", s,
                  SignBoxSize(s), sizeShape, sizeContrast);
    // A start tile has no colour and no sign.
    if (AllLooks(s)) {
      for (TTileStyle style : Styles) EXPECT_EQ(Tile(s, 0, style, true), Tile(s, 0, style, false));
    }
  }
  std::printf("tiles 10..255: least pairwise difference %.3f, least contrast %.2f:1\n", worstShape,
              worstContrast);
}

// Colour vision deficiencies simulated in linear RGB (Machado, Oliveira and Fernandes 2009,
// severity 1.0). Under each, some colours become one hue; the signs must still show and differ.
TEST(ColorSigns, SignsKeepEveryPairApartForProtanDeutanAndTritanVision) {
  using M = std::array<std::array<double, 3>, 3>;
  const std::pair<const char*, M> deficiencies[] = {
      {"protanopia",
       {{{0.152286, 1.052583, -0.204868},
         {0.114503, 0.786281, 0.099216},
         {-0.003882, -0.048116, 1.051998}}}},
      {"deuteranopia",
       {{{0.367322, 0.860646, -0.227968},
         {0.280085, 0.672501, 0.047413},
         {-0.011820, 0.042940, 0.968881}}}},
      {"tritanopia",
       {{{1.255528, -0.076749, -0.178779},
         {-0.078411, 0.930809, 0.147602},
         {0.004733, 0.691367, 0.303900}}}},
  };
  auto simulate = [](const M& m, const std::array<double, 3>& v) {
    std::array<double, 3> out{};
    for (int i = 0; i < 3; ++i)
      out[i] = std::clamp(m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2], 0.0, 1.0);
    return out;
  };
  // Angle between two colours seen as vectors: 0 when they differ in lightness only.
  auto hueAngle = [](const std::array<double, 3>& a, const std::array<double, 3>& b) {
    const double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    const double na = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
    const double nb = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
    return std::acos(std::clamp(dot / (na * nb), -1.0, 1.0)) * 180.0 / 3.14159265358979;
  };
  const int s = 10;  // the smallest tile, where signs are hardest to tell apart
  std::array<Sign, 8> signs;
  for (uint8_t k = 1; k <= 7; ++k) signs[k] = SignOf(s, k, stFlat);

  for (const auto& [name, m] : deficiencies) {
    double closest = 180;
    for (uint8_t a = 1; a <= 7; ++a) {
      const auto fill = simulate(m, Linear(GetTileColors(a).Fill));
      EXPECT_GE(ContrastRatio(simulate(m, Linear(signs[a].shade)), fill), 3.0)
          << name << ": the sign of colour " << int(a) << " fades into its tile";
      for (uint8_t b = a + 1; b <= 7; ++b) {
        closest = std::min(closest, hueAngle(fill, simulate(m, Linear(GetTileColors(b).Fill))));
        EXPECT_GE(Difference(signs[a].mask, signs[b].mask), 3) << name;
      }
    }
    // The simulation does merge hues (seven pure colours are at least 35 degrees apart).
    EXPECT_LT(closest, 10.0) << name;
  }
}

TEST(ColorSigns, IconsShowTheBoardsSignsAndClippedTilesKeepThem) {
  for (int s : {15, 20, 23, 31}) {
    for (uint8_t k = 1; k <= 7; ++k) {
      // An icon buffer of one framed tile, as the colour buttons use.
      std::vector<uint32_t> icon(size_t(s + 1) * (s + 1), Marker);
      DrawColorSign(icon.data(), s + 1, s + 1, 0, 0, s, k);
      const Sign sign = SignOf(s, k, stConvex);
      const int w = CanvasWidth(s);
      for (int y = 0; y <= s; ++y)
        for (int x = 0; x <= s; ++x) {
          const bool board = sign.mask[size_t(y + 1) * w + x + 1] != 0;
          ASSERT_EQ(icon[size_t(y) * (s + 1) + x] != Marker, board) << s << " " << int(k);
          if (board) {
            ASSERT_EQ(icon[size_t(y) * (s + 1) + x], sign.shade);
          }
        }
    }
  }
  // A tile hanging over the bitmap's corner shows exactly the part of the whole tile inside.
  const int s = 17;
  const std::vector<uint32_t> whole = Tile(s, 4, stCarved, true);
  TMapPainter p;
  p.Resize(12, 9);
  std::fill(p.Bits(), p.Bits() + 12 * 9, Marker);
  p.SetTileSigns(true);
  p.DrawTile(-6, -9, s, 4, stCarved, true);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) {
      const int wx = x + 6, wy = y + 9;
      const uint32_t expected =
          wx <= s && wy <= s ? whole[size_t(wy + 1) * CanvasWidth(s) + wx + 1] : Marker;
      ASSERT_EQ(p.Pixel(x, y), expected) << x << "," << y;
    }
}

TEST(ColorSigns, EveryTileOfADrawnBoardCarriesTheSignOfItsColour) {
  TNullWindowServices services;
  TMorvikMachine machine{&services};
  machine.SetSizeMap(20, 10);
  machine.SetSizeTile(10);
  machine.SetGamer(1, gkHuman, 0, "Ann", 0);
  machine.SetGamer(4, gkComputer, 1, "Компьютер", 0);
  machine.OnChangeGamer = [](uint8_t) {};
  machine.OnChangeStateColor = [](uint8_t) {};
  machine.SetTileStyle(tsNeutral, stConvex);
  machine.SetTileStyle(tsOccupied, stCarved);
  machine.SetCodeGame(4242);
  machine.StartGame();
  TMapPainter signed_, plain;
  for (TMapPainter* p : {&signed_, &plain}) {
    p->Resize(201, 101);
  }
  signed_.SetTileSigns(true);
  signed_.DrawMap(MakeBoardView(machine, true), ServicesProgress(machine.Services(), false));
  plain.DrawMap(MakeBoardView(machine, true), ServicesProgress(machine.Services(), false));
  const int box = SignBoxSize(10), at = SignBoxOffset(10);
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 20; ++c) {
      const uint8_t k = machine.Map->Tiles[r][c].Color;
      const std::vector<uint8_t> mask = SignMask(k, box);
      for (int y = 1; y < 10; ++y)
        for (int x = 1; x < 10; ++x) {
          const int px = c * 10 + x, py = r * 10 + y;
          const int mx = x - at, my = y - at;
          const bool inSign = !mask.empty() && mx >= 0 && my >= 0 && mx < box && my < box &&
                              mask[size_t(my) * box + mx];
          ASSERT_EQ(signed_.Pixel(px, py), inSign ? SignShade(k) : plain.Pixel(px, py))
              << "tile " << c << "," << r << " colour " << int(k);
        }
    }
}

}  // namespace
