// The few program-wide values, in one place with one owner (the main window). Dialogs get a
// reference to it, never a global.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

struct TProgramState {
  std::string ActiveGamer;               // empty until the first profile choice
  std::string OptionsSection;            // "OPTIONS_" + ActiveGamer
  std::vector<std::string> GamerList;    // profile names, section "GAMERS"
  bool MultiUserMode = false;            // false: classic game
  uint8_t SelectOptions = 0;             // set each time options are applied
  uint8_t PanelFlags = pfMainBar | pfColorBar | pfStatusBar;
  bool VictoryByArea = true;
  bool RecordAdded = false;

  bool Option(uint8_t flag) const { return (SelectOptions & flag) != 0; }
};
