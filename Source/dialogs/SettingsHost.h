// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings dialog asks of the main window, and nothing more: put the options in force
// and set the game mode. TFormGame implements it with the same operations it gives TGameHost.
#pragma once

#include "model/GameOptions.h"

class TSettingsHost {
 public:
  virtual ~TSettingsHost() = default;

  // Puts options in force (board, window, panels, music, flags); the file is not written. False
  // when the music could not be switched as asked.
  virtual bool ApplyOptions(const TGameOptions& options) = 0;
  // The game mode, with every place that shows it.
  virtual void SetGameMode(bool multiUser) = 0;
};
