// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-user game setup "Настройки многопользовательской игры": four seats, each taking part
// or not, played by a profile or by the computer at one of its strengths, in a team or alone.
// Its controls hold the setup; the main window reads the seats from them at a multi-user start.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

#include "engine/UnitCore.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TIniFile;
class TMessageService;
struct TProgramState;

// What a multi-user start puts into one seat (TMorvikMachine::SetGamer).
struct TSeatSetup {
  TGamerKind Kind = gkNone;
  uint8_t Level = 0;  // 1..4 for a computer, 0 otherwise
  std::string Name;   // "Компьютер №" + seat, or the chosen profile
  uint8_t Team = 0;   // 0 none, 1..4
};

class TFormMultiUserGame : public QDialog {
  Q_OBJECT

 public:
  // Created once, hidden, as a child window of the main window (`parent`). Reads and writes the
  // active profile's section of `ini`; the profiles come from `state`.
  TFormMultiUserGame(TIniFile& ini, TMessageService& messages, const TProgramState& state,
                     QWidget* parent);
  ~TFormMultiUserGame() override;

  // Profile lists from GamerList, then the six keys of each seat from "OPTIONS_" + ActiveGamer,
  // then the enabled-state rules.
  void ReadParams();
  // The six keys of each seat, seats 1 to 4, into OptionsSection, in one write.
  void WriteParams();
  // True when the setup can start a game; otherwise the first failing check's message (box
  // titled "Error") and false.
  bool TestCondition();
  // Seat `seat` (1..4) as a multi-user start fills it.
  TSeatSetup SeatSetup(int seat) const;

  // OK: check, store, close. The main window's command: modal; a Cancel reloads the stored
  // setup. Returns the dialog's result.
  void btnOkClick();
  int ExecuteFromWindow();

  // ---- Controls (index 1..4; also found by name, e.g. "chkbGamer3") -----------------------
  std::array<QGroupBox*, 5> gbGamer{};
  std::array<QCheckBox*, 5> chkbGamer{};
  std::array<QRadioButton*, 5> rbComputer{};
  std::array<QRadioButton*, 5> rbHuman{};
  std::array<QComboBox*, 5> cbCommand{};
  std::array<QComboBox*, 5> cbComputer{};
  std::array<QComboBox*, 5> cbHuman{};
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow: profile lists refilled

 private:
  QGroupBox* CreateSeat(int seat);
  void FillProfileLists();
  void chkbGamerClick(int seat);
  void ControlClick(int seat);

  TIniFile& ini_;
  TMessageService& messages_;
  const TProgramState& state_;
};
