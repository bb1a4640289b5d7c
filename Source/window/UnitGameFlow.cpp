// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: the flow of a game: start (with seat filling), the turn cycle's notifications,
// colour choices, the score panels, stop and the automatic next game; a recorded game continued.
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "dialogs/UnitGamers.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitSettings.h"
#include "gui/BackgroundWork.h"
#include "gui/MapImage.h"
#include "gui/Platform.h"
#include "gui/QtText.h"
#include "sound/Music.h"
#include "window/GameRecords.h"
#include "window/GameStatus.h"
#include "window/GameWatch.h"
#include "window/UnitGame.h"

// ---------------------------------------------------------------------------------------------
// Start.

bool TFormGame::StartNewGame(const TGameRecord* resume) {
  autostartPending_ = false;
  watch_->Leave();
  if (!resume && state_.MultiUserMode && !commands_->Routes().TestMultiUserCondition())
    return false;

  commands_->Routes().SettingsControlEnabled(false);
  inGame_ = true;
  UpdateActions();

  if (music_) music_->StopTitle();
  // Start step 5: all four seats; classic here, multi-user from the multi-user setup.
  if (!resume && state_.MultiUserMode) {
    commands_->Routes().FillMultiUserSeats(*machine_);
  } else if (!resume) {
    machine_->SetGamer(1, gkHuman, 0, state_.ActiveGamer, 0);
    machine_->SetGamer(2, gkNone, 0, std::string(), 0);
    machine_->SetGamer(3, gkNone, 0, std::string(), 0);
    machine_->SetGamer(4, gkComputer, state_.Options.ComputerLevel(), "Компьютер", 0);
  }
  // The record table is the board played, whatever the settings show later.
  state_.GameVictory = state_.Options.Victory;
  state_.GameSizeMap = state_.Options.SizeMap;
  ShowCodeGameCaption();
  // A highlight of the previous board names none of the new one's islands.
  board_->ResetPointer();
  const int serial = ++gameSerial_;

  records_->GameStarting();
  if (resume)
    records_->Resume(*resume);
  else
    machine_->StartGame();
  records_->GameStarted();
  UpdateActions();
  // Refused by the machine (with its own message), or stopped or replaced by a command handled
  // while the first seat was announced: that command has done all that is left to do.
  if (!machine_->Active || serial != gameSerial_) return true;

  status_->ShowScores(*machine_, state_.VictoryByArea());
  board_->Widget()->SetPopupMenu(colorMenu_);
  if (music_) music_->GameStarted(state_.Option(soAutostart));
  machine_->RunStartLoop();
  UpdateActions();
  return true;
}

void TFormGame::ShowCodeGameCaption() {
  setWindowTitle(Q(GameCaption) + Q(" Расклад #") + QString::number(machine_->CodeGame));
}

// ---------------------------------------------------------------------------------------------
// Turns.

void TFormGame::SetColor(uint8_t color) {
  if (color < 1 || color > 7 || !machine_->Active || !machine_->FreeColors[color]) return;
  // The machine takes the colour only while a turn loop waits for a person; a choice that
  // arrives while computers move (through the events let run between their moves) is dropped.
  board_->DropHint();
  machine_->TakeHumanColor(color);
  UpdateActions();
}

void TFormGame::OnChangeGamer(uint8_t previousSeat) {
  if (!machine_->Map) return;
  const TMap& map = *machine_->Map;
  if (previousSeat >= 1 && previousSeat <= 4) {
    status_->ShowScore(*machine_, state_.VictoryByArea(), previousSeat);
    board_->DrawIsland(machine_->GetGamerIsland(map, previousSeat), tsOccupied, true);
  }
  const int current = machine_->CurrentGamer;
  if (current >= 1 && current <= 4) {
    board_->DrawIsland(machine_->GetGamerIsland(map, current), tsOccupied, false);
    status_->SetText(machine_->Gamers[size_t(current)].Name);
  }
  UpdateActions();
  // Let the board and the status bar repaint and the player use the window between moves.
  QCoreApplication::processEvents();
}

uint8_t TFormGame::ThinkMaster(const std::shared_ptr<TMasterThought>& thought,
                               const std::function<bool()>& wanted) {
  // The bar keeps the machine's range (one step per free colour) and fills as the search
  // spends its position budget.
  const int64_t steps = status_->Maximum(), budget = std::max<uint32_t>(thought->Budget(), 1);
  const std::optional<int> colour =
      RunWhileEventsRun([thought] { return int(thought->Think()); }, wanted,
                        [&] { status_->SetPosition(int(steps * thought->Positions() / budget)); });
  return colour ? uint8_t(*colour) : 0;
}

// ---------------------------------------------------------------------------------------------
// Stop.

void TFormGame::StopGame(bool noAutostart) {
  autostartPending_ = false;
  const bool nextGameStarts = state_.Option(soAutostart) && !noAutostart;
  if (music_) music_->GameStopped(nextGameStarts);
  board_->ResetPointer();
  machine_->EndGame();
  records_->GameStopped();
  UpdateActions();
  status_->ClearScores();
  status_->SetText(std::string());
  if (nextGameStarts) {
    // The end of a game is detected inside the last move; starting the next game right here
    // would nest one game deeper per game. It starts once the move has unwound.
    QueueAutostart();
    return;
  }
  ShowIdle();
}

void TFormGame::QueueAutostart() {
  autostartPending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!autostartPending_) return;  // stopped or started meanwhile
        autostartPending_ = false;
        if (machine_->Active) return;
        if (!StartNewGame()) ShowIdle();  // the multi-user setup refused: back to idle
      },
      Qt::QueuedConnection);
}

void TFormGame::ShowIdle() {
  setWindowTitle(Q(GameCaption));
  board_->Widget()->SetPopupMenu(nullptr);
  board_->PresentShow();
  commands_->Routes().SettingsControlEnabled(true);
  inGame_ = false;
  UpdateActions();
  if (music_) music_->StopMain();  // also when an automatic start was refused
}

// ---------------------------------------------------------------------------------------------
// Recorded games continued, and the kept games of renamed and deleted profiles.

bool TFormGame::ContinueRecordedGame(const TGameRecord& record) {
  if (machine_->Active) return false;
  StartNewGame(&record);
  return machine_->Active;
}
