// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ComputerLevels.h"

const std::vector<TComputerLevel>& ComputerLevels() {
  static const std::vector<TComputerLevel> levels = {
      {1, "Легкий", "Легкий", 0},
      {2, "Умеренный", "Средний", 1},
      {3, "Сложный", "Сложный", 2},
      {4, "Мастер", "Мастер", 3},
  };
  return levels;
}

const TComputerLevel* LevelByValue(int value) {
  for (const TComputerLevel& l : ComputerLevels())
    if (l.Value == value) return &l;
  return nullptr;
}

const TComputerLevel* LevelByStored(int stored) {
  for (const TComputerLevel& l : ComputerLevels())
    if (l.Stored == stored) return &l;
  return nullptr;
}

uint8_t LevelOfStored(int stored) {
  const TComputerLevel* l = LevelByStored(stored);
  return l ? l->Value : 0;
}

bool IsLevelName(const std::string& name) {
  for (const TComputerLevel& l : ComputerLevels())
    if (name == l.Name) return true;
  return false;
}
