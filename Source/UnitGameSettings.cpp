// TFormGame: the routes into the settings dialog and the multi-user setup: their two commands,
// the game-mode and music commands, the settings locked during a game, and the seats and the
// computer strength a start takes from them.
#include <QAction>
#include <QCheckBox>

#include "UnitGame.h"
#include "UnitMultiUserGame.h"
#include "UnitSettings.h"

void TFormGame::actMenuSettingsExecute() {
  if (FormSettings) FormSettings->ExecuteFromWindow();
}

void TFormGame::actMenuSettingsMultiUserExecute() {
  if (FormMultiUserGame) FormMultiUserGame->ExecuteFromWindow();
}

void TFormGame::actSettingsGameClassicExecute() {
  state_.MultiUserMode = false;
  if (FormSettings) FormSettings->SetMode(false);
}

void TFormGame::actSettingsGameMultiUserExecute() {
  state_.MultiUserMode = true;
  if (FormSettings) FormSettings->SetMode(true);
}

void TFormGame::actSettingsMusicExecute() {
  if (!FormSettings) return;
  FormSettings->chkbMusic->toggle();
  FormSettings->UseOption();
}

void TFormGame::SettingsControlEnabled(bool enabled) {
  if (FormSettings) FormSettings->ControlEnabled(enabled);
}

uint8_t TFormGame::ClassicComputerLevel() const {
  if (FormSettings) return FormSettings->ClassicComputerLevel();
  return uint8_t(defaultBrainIndex_ + 1);  // the default options' strength
}

bool TFormGame::TestMultiUserCondition() {
  return FormMultiUserGame && FormMultiUserGame->TestCondition();
}

void TFormGame::FillMultiUserSeats() {
  for (int seat = 1; seat <= 4; ++seat) {
    const TSeatSetup s = FormMultiUserGame ? FormMultiUserGame->SeatSetup(seat) : TSeatSetup{};
    machine_->SetGamer(seat, s.Kind, s.Level, s.Name, s.Team);
  }
}
