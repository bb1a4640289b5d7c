// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/GameOptions.h"

#include "model/ComputerLevels.h"
#include "model/OptionTable.h"

std::pair<int, int> SizeMapPreset(int index) {
  static constexpr std::pair<int, int> presets[4] = {{20, 10}, {50, 25}, {75, 37}, {100, 50}};
  return index >= 0 && index < 4 ? presets[index] : std::pair<int, int>{0, 0};
}

int SizeTilePreset(int index) {
  static constexpr int presets[4] = {10, 15, 20, 25};
  return index >= 0 && index < 4 ? presets[index] : 0;
}

bool LookStyle(int index, TTileStyle& style) {
  static constexpr TTileStyle styles[4] = {stConvex, stFlat, stCarved, stConcave};
  if (index < 0 || index > 3) return false;
  style = styles[index];
  return true;
}

std::pair<int, int> TGameOptions::MapSize() const {
  if (SizeMap >= 0 && SizeMap < 4) return SizeMapPreset(SizeMap);
  return {CustomWidth, CustomHeight};
}

int TGameOptions::TileSize() const {
  return SizeTile >= 0 && SizeTile < 4 ? SizeTilePreset(SizeTile) : CustomTile;
}

uint8_t TGameOptions::ComputerLevel() const {
  return LevelOfStored(Brain);
}

TGameOptions DefaultGameOptions() {
  TGameOptions o;
  for (const TOptionInfo& option : OptionTable()) option.Set(o, option.Default);
  return o;
}
