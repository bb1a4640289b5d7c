// SPDX-License-Identifier: GPL-3.0-or-later
// The computer players' strengths, one row each: what the machine calls them, what the settings
// page, the profile rules, the statistics and the arena call them, what the multi-user lists call
// them, and the number the settings file keeps. A new strength is one more row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TComputerLevel {
  uint8_t Value;              // TGamer::Level
  const char* Name;           // rgBrain, the statistics, the arena; no profile may take it
  const char* MultiUserName;  // cbComputer1..4
  int Stored;                 // "GameBrain" and "MultiUser_Computer" + n; the lists' index
};

// In the lists' order; the windows, the statistics and the arena offer the same strengths.
const std::vector<TComputerLevel>& ComputerLevels();
// The row of a machine level or of a stored number; null when there is none.
const TComputerLevel* LevelByValue(int value);
const TComputerLevel* LevelByStored(int stored);
// The machine level of a stored number; 0 for none.
uint8_t LevelOfStored(int stored);
// A strength's name on the settings page (exact spelling).
bool IsLevelName(const std::string& name);
