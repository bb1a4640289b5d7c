// SPDX-License-Identifier: GPL-3.0-or-later
// What a game's start and end, and the program's close, ask of the dialogs. The window's
// commands answer with the program's dialogs; a test or a benchmark hands in its own answers
// (TGameDialogs::Routes).
#pragma once

struct TGameEndRecord;
class TMorvikMachine;

class TGameRoutes {
 public:
  virtual ~TGameRoutes() = default;

  // Start step 2: in multi-user mode the multi-user setup checks its seats (showing its own
  // message); false refuses the start.
  virtual bool TestMultiUserCondition() = 0;
  // Start step 5 in multi-user mode: the four seats from the multi-user setup.
  virtual void FillMultiUserSeats(TMorvikMachine& machine) = 0;
  // The settings that a running game must not change: locked at a start, released when idle.
  virtual void SettingsControlEnabled(bool enabled) = 0;
  // On close, when a profile is active: store its layout number and game mode.
  virtual void SaveActiveProfile() = 0;
  // The end of a game, already recorded: the results dialog, modal (display and the replay
  // question only); whether it added a record (State().RecordAdded); the hall of fame, modal.
  virtual void ShowResultsDialog(const TGameEndRecord& record) = 0;
  virtual bool RecordAdded() = 0;
  virtual void ShowHallOfFame() = 0;
};
