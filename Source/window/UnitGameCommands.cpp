// TFormGame: the smaller commands of the main window: the layout number, the panel switches,
// help and the tray mode.
#include <QAction>
#include <QString>
#include <cstdint>
#include <optional>

#include "window/UnitGame.h"
#include "dialogs/UnitSettings.h"
#include "gui/HelpWindow.h"
#include "gui/Platform.h"
#include "gui/TrayMode.h"

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
