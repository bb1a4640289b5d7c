// The settings dialog and the multi-user setup as the profile, results and hall-of-fame dialogs
// use them. The program binds this to the two real dialogs (TOptionDialogsLink); tests give a
// recorder, so those dialogs can be tested apart from the settings pages.
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
  // What the settings dialog's OK button applies: engine, window, music, flags, file.
  virtual void ApplyOptions() = 0;
  // rgVictory index: 0 by area, 1 by points.
  virtual int Victory() const = 0;
  // rgSizeMap index: 0..3 the standard sizes, 4 the custom one.
  virtual int SizeMap() const = 0;
};
