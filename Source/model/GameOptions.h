// The options of a profile as one value: what the settings dialog's controls hold, what the file
// stores under the 23 settings keys, and what the main window applies. The defaults come from the
// catalogue, the one place that names them.
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

struct TGameOptions {
  int SizeMap = 1;              // rgSizeMap: 0..3 the presets, 4 "Особая"
  int Width = 50, Height = 25;  // the board in tiles; -1 when the custom field holds no size
  int SizeTile = 1;             // rgSizeTile: 0..3 the presets, 4 "Особая"
  int Tile = 15;                // tile edge in pixels; -1 likewise
  int Brain = 0;                // rgBrain: 0 easy .. 2 hard
  int Victory = 0;              // rgVictory: 0 by area, 1 by points
  std::array<int, 4> Looks{};   // tile-look list index per tile state
  uint8_t SelectOptions = 0;    // soXxx flags
  uint8_t PanelFlags = 0;       // pfXxx flags
  bool Music = true;
  int Volume = 20;
  bool TileSigns = false;  // a sign of its colour on every tile, button and look picture

  bool operator==(const TGameOptions&) const = default;
  // Strength of the classic game's computer seat: 1..3, 0 for no valid choice.
  uint8_t ComputerLevel() const { return Brain >= 0 && Brain <= 2 ? uint8_t(Brain + 1) : 0; }
};

// The options of a fresh profile, from the catalogue's defaults (chkbAutoTurn, which has no key,
// is on).
TGameOptions DefaultGameOptions();

// Presets of the board and tile sizes.
std::pair<int, int> SizeMapPreset(int index);  // (0, 0) outside 0..3
int SizeTilePreset(int index);                 // 0 outside 0..3

// The tile style of a tile-look list index (convex, flat, carved, concave); false outside 0..3.
bool LookStyle(int index, TTileStyle& style);
