// SPDX-License-Identifier: GPL-3.0-or-later
// The few program-wide values, in one place with one owner (the main window). Dialogs get a
// reference to it, never a global.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/GameOptions.h"

struct TProgramState {
  std::string ActiveGamer;             // empty until the first profile choice
  std::string OptionsSection;          // "OPTIONS_" + ActiveGamer
  std::vector<std::string> GamerList;  // profile names, section "GAMERS"
  bool MultiUserMode = false;          // false: classic game
  bool RecordAdded = false;

  // The options in force: set only by the main window's ApplyOptions. Before the first
  // application no option flag is set and every panel is shown.
  TGameOptions Options;
  // The hall-of-fame table of the running or last game (rgVictory and rgSizeMap indexes as the
  // game was started); -1 before the first game.
  int GameVictory = -1;
  int GameSizeMap = -1;

  // The option flags, panels and victory rule in force, read from Options.
  uint8_t SelectOptions() const { return Options.SelectOptions; }
  uint8_t PanelFlags() const { return Options.PanelFlags; }
  bool VictoryByArea() const { return Options.Victory == 0; }
  bool Option(uint8_t flag) const { return (SelectOptions() & flag) != 0; }
};
