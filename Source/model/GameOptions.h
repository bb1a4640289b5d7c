// SPDX-License-Identifier: GPL-3.0-or-later
// The options of a profile as one value: what the settings dialog's controls hold, what the file
// stores under the settings keys, and what the main window applies. Which control and key each
// field belongs to, and its default, is the option table's business (OptionTable.h).
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "engine/UnitCore.h"

// Flags of SelectOptions.
enum : uint8_t {
  soSelectIsland = 1,
  soSelectPerspective = 2,
  soSkipTurn = 4,
  soAutoTurn = 8,
  soAutostart = 16,
  soSelectBoundary = 32,
  soReplay = 64,
  soHallFameOnRecord = 128,
};

// Flags of PanelFlags.
enum : uint8_t { pfMainBar = 1, pfColorBar = 2, pfStatusBar = 4 };

// The member values are the program's before any options are applied: no option flag, every
// panel shown. DefaultGameOptions() gives a fresh profile's.
struct TGameOptions {
  int SizeMap = 1;                          // rgSizeMap: 0..3 the presets, 4 "Особая"
  int CustomWidth = 50, CustomHeight = 25;  // eWidth, eHeight; -1 when the field holds no size
  int SizeTile = 1;                         // rgSizeTile: 0..3 the presets, 4 "Особая"
  int CustomTile = 15;                      // eTile; -1 likewise
  int Brain = 0;                            // rgBrain: the stored number of a computer level
  int Victory = 0;                          // rgVictory: 0 by area, 1 by points
  std::array<int, 4> Looks{};               // tile-look list index per tile state
  uint8_t SelectOptions = 0;                // soXxx flags
  uint8_t PanelFlags = pfMainBar | pfColorBar | pfStatusBar;  // pfXxx flags
  bool Music = true;
  int Volume = 20;
  bool TileSigns = false;  // a sign of its colour on every tile, button and look picture

  bool operator==(const TGameOptions&) const = default;
  // The board in tiles: the preset, or the custom fields for "Особая" or no choice.
  std::pair<int, int> MapSize() const;
  // The tile edge in pixels, likewise.
  int TileSize() const;
  // Strength of the classic game's computer seat; 0 for no valid choice.
  uint8_t ComputerLevel() const;
};

// The options of a fresh profile: every option at its table default.
TGameOptions DefaultGameOptions();

// Presets of the board and tile sizes.
std::pair<int, int> SizeMapPreset(int index);  // (0, 0) outside 0..3
int SizeTilePreset(int index);                 // 0 outside 0..3

// The tile style of a tile-look list index (convex, flat, carved, concave); false outside 0..3.
bool LookStyle(int index, TTileStyle& style);
