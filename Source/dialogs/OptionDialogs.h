// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog and the multi-user setup as the profiles dialog uses them. The program binds
// this to the two real dialogs (TOptionDialogsLink); tests give a recorder, so that dialog can be
// tested apart from the settings pages.
#pragma once

class TOptionDialogs {
 public:
  virtual ~TOptionDialogs() = default;

  // Both dialogs read their controls from the active profile's options section (the multi-user
  // setup also refills its person lists from GamerList).
  virtual void ReadParams() = 0;
  // The settings dialog's validation; shows its own message and returns false on a fault.
  virtual bool TestCondition() = 0;
  // The settings dialog, modal; true when it was closed with OK.
  virtual bool ShowSettings() = 0;
  // As the settings dialog's OK pressed in code: pending options applied (engine, window, music,
  // flags, file), "Применить" off.
  virtual void ApplyOptions() = 0;
};
