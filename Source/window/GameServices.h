// SPDX-License-Identifier: GPL-3.0-or-later
// What the machine asks of the main window while it runs a game: the status bar, the board, the
// end of a game and the options in force, each handed to the window part that owns it.
#pragma once

#include "engine/UnitCore.h"

class TFormGame;

class TGameServices final : public TWindowServices {
 public:
  explicit TGameServices(TFormGame& game) : game_(game) {}

  void SetStatus(const std::string& text) override;
  void ClearGamerPanel() override;
  void SetProgressPosition(int position) override;
  void SetProgressMax(int maximum) override;
  int GetProgressMax() override;
  void StepProgress() override;
  void RepaintMap() override;
  void ShowGamerArea(int seat) override;
  void DrawMap(bool showProgress) override;
  void DrawIsland(uint16_t island, TTileState state, bool framed) override;
  // The end of a game recorded (results, statistics, hall of fame), then its dialog.
  void ShowResults() override;
  bool RecordAdded() override;
  void ShowHallOfFame() override;
  void StopGameAtEnd() override;
  bool SkipTurn() override;
  bool AutoTurnOption() override;
  bool HallFameOnRecord() override;
  bool VictoryByArea() override;
  void Error(const std::string& text) override;

 private:
  TFormGame& game_;
};
