// SPDX-License-Identifier: GPL-3.0-or-later
// What the profiles, settings and results dialogs set in the main window: the options in force,
// the game mode and the layout number. Each has one operation that changes every place showing
// it, so the machine, the window, the music, the flags, the two mode actions and the settings
// dialog's mode cannot drift apart. The indexed icons live here, since the colours' follow the
// signs option.
#pragma once

#include <QIcon>
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "dialogs/SettingsHost.h"
#include "gui/Icons.h"
#include "model/GameHost.h"

class TFormGame;
class TPlatform;

class TGameSetup final : public TGameHost, public TSettingsHost {
 public:
  TGameSetup(TFormGame& game, const TPlatform& platform);

  // Puts options in force, step by step: music, panels, tile looks and signs, tile size, flags,
  // board size (never under a running game), the window and a running game's board, victory.
  // False when the music could not be switched as asked (the rest is in force).
  // A size of -1 (a custom field without a size) leaves the machine's. The file is not written.
  bool ApplyOptions(const TGameOptions& options) override;
  // The catalogue's defaults for a fresh profile, until a profile's own options are applied;
  // the music stays as it is.
  void ApplyDefaultOptions();
  // MultiUserMode, both mode actions and the settings dialog's mode together.
  void SetGameMode(bool multiUser) override;
  int32_t CodeGame() const override;
  void SetCodeGame(int32_t code) override;
  void SetRandomGame() override;  // new layout number from the clock; the caption is not changed
  // A profile's kept game follows its rename and goes with it.
  void ProfileRenamed(const std::string& from, const std::string& to) override;
  void ProfileErased(const std::string& name) override;

  std::span<const QIcon> Icons() const { return icons_; }

 private:
  TFormGame& game_;
  const TPlatform& platform_;
  std::array<QIcon, ColorIconCount> icons_;
};
