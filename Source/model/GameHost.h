// SPDX-License-Identifier: GPL-3.0-or-later
// What the profile and results dialogs ask of the main window, and nothing more: the layout
// number, the game mode and the options in force. TFormGame implements it; each of these changes
// goes through the window's one operation for it.
#pragma once

#include <cstdint>
#include <string>

#include "model/GameOptions.h"

class TGameHost {
 public:
  virtual ~TGameHost() = default;

  virtual int32_t CodeGame() const = 0;
  // The layout number of the next game (the caption is the caller's business).
  virtual void SetCodeGame(int32_t code) = 0;
  // A new layout number from the clock; the caption is not changed.
  virtual void SetRandomGame() = 0;
  virtual void SetGameMode(bool multiUser) = 0;
  // Puts options in force (TFormGame::ApplyOptions); the file is not written.
  virtual bool ApplyOptions(const TGameOptions& options) = 0;
  // A profile was renamed or deleted in the file: what the window keeps for it follows.
  virtual void ProfileRenamed(const std::string& /*from*/, const std::string& /*to*/) {}
  virtual void ProfileErased(const std::string& /*name*/) {}
};
