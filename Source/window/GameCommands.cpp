// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands.
#include "window/GameCommands.h"

#include <QAction>
#include <QString>
#include <cstdint>
#include <optional>

#include "dialogs/UnitAbout.h"
#include "dialogs/UnitGamers.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitResult.h"
#include "dialogs/UnitSettings.h"
#include "dialogs/UnitStats.h"
#include "gui/HelpWindow.h"
#include "gui/Platform.h"
#include "gui/TrayMode.h"
#include "sound/Music.h"
#include "window/GameRecords.h"
#include "window/GameWatch.h"
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

void TGameCommands::SetDialogs(const TGameDialogs& dialogs) {
  settings_ = dialogs.Settings;
  result_ = dialogs.Result;
  multiUser_ = dialogs.MultiUser;
  hallFame_ = dialogs.HallFame;
  gamers_ = dialogs.Gamers;
  routes_ = dialogs.Routes;
  about_ = dialogs.About;
  stats_ = dialogs.Stats;
}

TFormSettings* TGameCommands::SettingsDialog() const {
  return settings_;
}
TFormMultiUserGame* TGameCommands::MultiUserDialog() const {
  return multiUser_;
}
TFormResult* TGameCommands::ResultDialog() const {
  return result_;
}
TFormHallFame* TGameCommands::HallFameDialog() const {
  return hallFame_;
}
TFormGamers* TGameCommands::GamersDialog() const {
  return gamers_;
}

bool TGameCommands::TestMultiUserCondition() {
  return multiUser_ && multiUser_->TestCondition();
}

void TGameCommands::FillMultiUserSeats(TMorvikMachine& machine) {
  if (!multiUser_) return;
  for (int seat = 1; seat <= 4; ++seat) {
    const TSeatSetup s = multiUser_->SeatSetup(seat);
    machine.SetGamer(seat, s.Kind, s.Level, s.Name, s.Team);
  }
}

void TGameCommands::SettingsControlEnabled(bool enabled) {
  if (settings_) settings_->ControlEnabled(enabled);
}

void TGameCommands::SaveActiveProfile() {
  if (gamers_) gamers_->CloseProfile();
}

void TGameCommands::ShowResultsDialog(const TGameEndRecord& record) {
  if (!result_) return;
  result_->SetRecord(record);
  result_->exec();
}

bool TGameCommands::RecordAdded() {
  return game_.State().RecordAdded;
}

void TGameCommands::ShowHallOfFame() {
  if (hallFame_) hallFame_->exec();
}

void TGameCommands::Run(TGameAction id) {
  if (const auto run = ActionRow(id).Run) (this->*run)();
}

// ---------------------------------------------------------------------------------------------
// The game.

void TGameCommands::StartGame() {
  TMorvikMachine& machine = game_.Machine();
  if (machine.Active) {
    if (!game_.Messages().Confirm("Существует активная игра.\nОна будет утеряна.\nВы уверены?"))
      return;
    game_.CountStoppedGame();
    game_.Setup().SetRandomGame();
  }
  game_.StartNewGame();
}

void TGameCommands::StopGame() {
  if (!game_.Messages().Confirm("Игра будет остановлена.\nВы уверены?")) return;
  game_.CountStoppedGame();
  game_.StopGame(true);
  game_.Setup().SetRandomGame();
}

void TGameCommands::ContinueGame() {
  game_.Watch().Leave();
  game_.Records().ContinueKept();
  game_.UpdateActions();
}

void TGameCommands::Hint() {
  game_.ShowHint();
}

void TGameCommands::Undo() {
  game_.TakeBackMove();
}

void TGameCommands::SaveGame() {
  game_.Records().Save();
}

void TGameCommands::OpenGame() {
  game_.Records().Open();
  game_.UpdateActions();
}

void TGameCommands::Color(uint8_t color) {
  game_.SetColor(color);
}

void TGameCommands::GameClassic() {
  game_.Setup().SetGameMode(false);
}

void TGameCommands::GameMultiUser() {
  game_.Setup().SetGameMode(true);
}

void TGameCommands::SetCodeGame() {
  // Between games only: the action is disabled during a game, but a direct call must not change
  // the number of the board being played.
  TMorvikMachine& machine = game_.Machine();
  if (machine.Active) return;
  std::string text;
  if (!game_.Messages().InputQuery("Morvik", "Введите номер расклада:", text)) return;
  const std::optional<int32_t> code = ParseCodeGame(QString::fromStdString(text));
  if (!code) {
    game_.Messages().Error("Некорректно введен номер расклада.");
    return;
  }
  machine.SetCodeGame(*code);
  game_.ShowCodeGameCaption();
}

void TGameCommands::Exit() {
  game_.close();
}

// ---------------------------------------------------------------------------------------------
// Dialogs.

void TGameCommands::Gamers() {
  // Offered only between games; whichever profile is active afterwards plays on, and the caption
  // names its layout rather than the previous profile's.
  if (!gamers_) return;
  const int32_t code = game_.Machine().CodeGame;
  gamers_->exec();
  if (game_.Machine().CodeGame != code) game_.ShowCodeGameCaption();
}

void TGameCommands::HallOfFame() {
  if (!hallFame_) return;
  hallFame_->exec();
  // A new record is highlighted once; the next showing starts from the top.
  hallFame_->SetSelectedRow(1);
}

void TGameCommands::Stats() {
  const TMorvikMachine& machine = game_.Machine();
  if (!stats_ || (machine.Active && !machine.AwaitingHuman)) return;
  stats_->exec();
}

void TGameCommands::Settings() {
  if (settings_) settings_->ExecuteFromWindow();
}

void TGameCommands::SettingsMultiUser() {
  if (multiUser_) multiUser_->ExecuteFromWindow();
}

void TGameCommands::Music() {
  if (settings_) settings_->SwitchMusic();
}

void TGameCommands::About() {
  if (!about_) return;
  const bool running = game_.Machine().Active;
  TMusic* music = game_.Music();
  if (music) music->AboutOpening(running);
  about_->exec();
  if (music) music->AboutClosed(running);
}

void TGameCommands::HelpContents() {
  ShowHelpContents(&game_, game_.Messages(), platform_.HelpFilePath(), platform_);
}

// ---------------------------------------------------------------------------------------------
// The window.

void TGameCommands::Boss() {
  auto* tray = game_.findChild<TTrayMode*>(QString(), Qt::FindDirectChildrenOnly);
  if (!tray) {
    const QIcon icon = game_.windowIcon().isNull() ? game_.ilColor(15) : game_.windowIcon();
    tray = new TTrayMode(&game_, platform_, icon,
                         QStringLiteral("Morvik\nДвойной щелчок — показать окно"));
  }
  tray->Enter();
}

void TGameCommands::PanelsShowing() {
  if (!settings_) return;
  const uint8_t panels = settings_->CheckedPanels();
  game_.Action(TGameAction::PanelMainBar)->setChecked(panels & pfMainBar);
  game_.Action(TGameAction::PanelColorBar)->setChecked(panels & pfColorBar);
  game_.Action(TGameAction::PanelStatusBar)->setChecked(panels & pfStatusBar);
}

// Each switch goes through the settings (its check box, then the options applied and stored with
// the profile).
void TGameCommands::SwitchPanel(uint8_t flag, TGameAction action) {
  if (settings_) settings_->SwitchPanel(flag, game_.Action(action)->isChecked());
}

void TGameCommands::PanelMainBar() {
  SwitchPanel(pfMainBar, TGameAction::PanelMainBar);
}

void TGameCommands::PanelColorBar() {
  SwitchPanel(pfColorBar, TGameAction::PanelColorBar);
}

void TGameCommands::PanelStatusBar() {
  SwitchPanel(pfStatusBar, TGameAction::PanelStatusBar);
}
