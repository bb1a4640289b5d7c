// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: the commands that lead out of the game: the dialogs (settings, multi-user setup,
// profiles, hall of fame, statistics, About with its music), the layout number, the panel
// switches, help, the tray mode and the exit.
#include <QAction>
#include <QString>
#include <cstdint>
#include <optional>

#include "dialogs/UnitAbout.h"
#include "dialogs/UnitGamers.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitSettings.h"
#include "dialogs/UnitStats.h"
#include "gui/HelpWindow.h"
#include "gui/Platform.h"
#include "gui/TrayMode.h"
#include "sound/Music.h"
#include "window/UnitGame.h"

namespace {

// A layout number as typed: an optional sign and decimal digits, blanks around them allowed;
// the result is the absolute value. Anything else, and -2147483648 (whose absolute value is no
// 32-bit number), is refused.
std::optional<int32_t> ParseCodeGame(const QString& typed) {
  const QString text = typed.trimmed();
  qsizetype i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > INT32_MAX) return std::nullopt;
  }
  return int32_t(value);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Layout number.

void TFormGame::actSettingsSetCodeGameExecute() {
  // Between games only: the action is disabled during a game, but a direct call must not change
  // the number of the board being played.
  if (machine_->Active) return;
  std::string text;
  if (!messages_->InputQuery("Morvik", "Введите номер расклада:", text)) return;
  const std::optional<int32_t> code = ParseCodeGame(QString::fromStdString(text));
  if (!code) {
    messages_->Error("Некорректно введен номер расклада.");
    return;
  }
  machine_->SetCodeGame(*code);
  ShowCodeGameCaption();
}

// ---------------------------------------------------------------------------------------------
// Panels: the three switches of the menu bar's right-click menu.

void TFormGame::pmPanelsPopup() {
  // The switches mirror the settings' check boxes.
  const uint8_t panels = FormSettings->CheckedPanels();
  actPanelMainBar->setChecked(panels & pfMainBar);
  actPanelColorBar->setChecked(panels & pfColorBar);
  actPanelStatusBar->setChecked(panels & pfStatusBar);
}

// Each switch goes through the settings (its check box, then the options applied and stored with
// the profile).
void TFormGame::actPanelMainBarExecute() {
  FormSettings->SwitchPanel(pfMainBar, actPanelMainBar->isChecked());
}

void TFormGame::actPanelColorBarExecute() {
  FormSettings->SwitchPanel(pfColorBar, actPanelColorBar->isChecked());
}

void TFormGame::actPanelStatusBarExecute() {
  FormSettings->SwitchPanel(pfStatusBar, actPanelStatusBar->isChecked());
}

// ---------------------------------------------------------------------------------------------
// Help.

void TFormGame::actHelpMaintenanseExecute() {
  ShowHelpContents(this, *messages_, platform_.HelpFilePath());
}

// The game has no home page and no mail address: these two commands are on no menu or bar and
// stay disabled, rather than lead to an address nobody reads.
void TFormGame::actHelpHomePageExecute() {}

void TFormGame::actHelpMailExecute() {}

// ---------------------------------------------------------------------------------------------
// Tray mode.

void TFormGame::actMainBossExecute() {
  auto* tray = findChild<TTrayMode*>(QString(), Qt::FindDirectChildrenOnly);
  if (!tray) {
    const QIcon icon = windowIcon().isNull() ? ilColor(15) : windowIcon();
    tray = new TTrayMode(this, icon, QStringLiteral("Morvik\nДвойной щелчок — показать окно"));
  }
  tray->Enter();
}

void TFormGame::actMenuExitExecute() {
  close();
}

void TFormGame::actHelpForumExecute() {}

// ---------------------------------------------------------------------------------------------
// Dialogs.

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

void TFormGame::actMenuGamersExecute() {
  // Offered only between games; whichever profile is active afterwards plays on, and the caption
  // names its layout rather than the previous profile's.
  if (!FormGamers) return;
  const int32_t code = machine_->CodeGame;
  FormGamers->exec();
  if (machine_->CodeGame != code) ShowCodeGameCaption();
}

void TFormGame::actMenuHallOfFameExecute() {
  if (!FormHallFame) return;
  FormHallFame->exec();
  // A new record is highlighted once; the next showing starts from the top.
  FormHallFame->SetSelectedRow(1);
}

void TFormGame::actMenuStatsExecute() {
  // Open only between games or while a person is to choose.
  if (!FormStats || (machine_->Active && !machine_->AwaitingHuman)) return;
  FormStats->exec();
}

void TFormGame::actHelpAboutProgramExecute() {
  if (!FormAbout) return;
  const bool running = machine_->Active;
  if (music_) music_->AboutOpening(running);
  FormAbout->exec();
  if (music_) music_->AboutClosed(running);
}

void TFormGame::SaveActiveProfile() {
  if (FormGamers) FormGamers->CloseProfile();
}
