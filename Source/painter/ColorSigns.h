// SPDX-License-Identifier: GPL-3.0-or-later
// A sign per colour (dot, cross, bar, ring, triangle, diamond, square), drawn in the middle of a
// tile so that the seven colours can be told apart by shape, for players who cannot tell them
// apart by hue. The sign is a shade of the tile's own colour far from its fill in lightness:
// light on the dark colours, dark on the light ones, so it reads in greyscale too. No Qt.
#pragma once

#include <cstdint>
#include <vector>

// Edge in pixels of the square box a sign fills on a tile of edge `tile`; 0 when the tile is too
// small to carry one. The box has the parity of the tile's inside (tile - 1), so it sits exactly
// in the middle; it never reaches the outer bevel, and from tile 12 on it stays inside the inner
// rim of the carved look, so captured tiles keep their mark.
int SignBoxSize(int tile);

// Offset of the sign box from the tile's top-left grid corner, in both directions.
int SignBoxOffset(int tile);

// The sign of colour 1..7 in a box of edge `box`: box x box entries, row by row, 1 where the
// sign is. Empty for any other colour (a seat's start tile has no colour and no sign).
std::vector<uint8_t> SignMask(uint8_t color, int box);

// The shade a sign of this colour is drawn in (0xFFRRGGBB).
uint32_t SignShade(uint8_t color);

// Draws the sign of `color` for a tile of edge `tile` whose top-left grid corner is (x0, y0),
// into any 32-bit buffer of width x height pixels (stride = width), clipped to it. For icons:
// colour buttons, menu entries, tile-look pictures. Draws nothing for colours outside 1..7.
void DrawColorSign(uint32_t* bits, int width, int height, int x0, int y0, int tile, uint8_t color);
