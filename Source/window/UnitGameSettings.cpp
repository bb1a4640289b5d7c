// TFormGame: the routes into the settings dialog and the multi-user setup: their two commands,
// the music command, the settings locked during a game, and the seats a start takes from them.
#include <QAction>

#include "window/UnitGame.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitSettings.h"

void TFormGame::actMenuSettingsExecute() {
  FormSettings->ExecuteFromWindow();
}

void TFormGame::actMenuSettingsMultiUserExecute() {
  FormMultiUserGame->ExecuteFromWindow();
}

void TFormGame::actSettingsMusicExecute() {
  FormSettings->SwitchMusic();
}

void TFormGame::SettingsControlEnabled(bool enabled) {
  FormSettings->ControlEnabled(enabled);
}

bool TFormGame::TestMultiUserCondition() {
  return FormMultiUserGame->TestCondition();
}

void TFormGame::FillMultiUserSeats() {
  for (int seat = 1; seat <= 4; ++seat) {
    const TSeatSetup s = FormMultiUserGame->SeatSetup(seat);
    machine_->SetGamer(seat, s.Kind, s.Level, s.Name, s.Team);
  }
}
