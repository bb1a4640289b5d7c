// SPDX-License-Identifier: GPL-3.0-or-later
// Every option of the settings dialog, one row each: its key in the settings file, its control,
// the page it sits on, its default, whether a running game locks it, and where TGameOptions keeps
// it. The defaults, the dialog's page defaults, controls <-> options and the file's key order all
// follow from this table; the catalogue of the store lists the same keys (a test holds the two
// together). A new option is one row here plus its control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/GameOptions.h"

// Where TGameOptions keeps an option: a number, one bit of a flag set, a switch, or a tile look.
struct TOptionSlot {
  int TGameOptions::*Number = nullptr;
  uint8_t TGameOptions::*Flags = nullptr;
  uint8_t Bit = 0;
  bool TGameOptions::*Switch = nullptr;
  int Look = -1;  // tsNeutral..tsPressed
};

struct TOptionInfo {
  const char* Key;      // null: the file does not keep it
  const char* Control;  // object name of the settings dialog's control
  int Page;             // position of its page in pcOption
  int32_t Default;      // 1 or 0 for an on/off option
  bool GameLocked;      // fixed while a game runs
  TOptionSlot Slot;

  // On/off options are check boxes and booleans in the file; the rest are numbers.
  bool OnOff() const { return Slot.Flags || Slot.Switch; }
  int Get(const TGameOptions& o) const;
  void Set(TGameOptions& o, int value) const;
};

// In the order the keys are written: the 23 settings keys, then our own.
const std::vector<TOptionInfo>& OptionTable();
// The row of a control or of a key (exact spelling); null when there is none.
const TOptionInfo* OptionByControl(const std::string& control);
const TOptionInfo* OptionByKey(const std::string& key);
// The row whose bit `bit` of the flag set `flags` it is.
const TOptionInfo* OptionByFlag(uint8_t TGameOptions::*flags, uint8_t bit);
