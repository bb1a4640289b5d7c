// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitStartUp.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

#include "dialogs/UnitAbout.h"
#include "dialogs/UnitGamers.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitResult.h"
#include "dialogs/UnitSettings.h"
#include "dialogs/UnitStats.h"
#include "window/GameRecords.h"
#include "window/UnitGame.h"

bool TToolTipTime::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->toolTipDuration() < 0) widget->setToolTipDuration(msec_);
  }
  return false;  // the widget shows its tip itself
}

void TOptionDialogsLink::ReadParams() {
  settings_.ReadParams();
  multiUser_.ReadParams();
}

bool TOptionDialogsLink::TestCondition() {
  return settings_.TestCondition();
}

bool TOptionDialogsLink::ShowSettings() {
  // The settings dialog is a child of the main window and would be disabled with it.
  const bool disabled = !game_.isEnabled();
  if (disabled) game_.setEnabled(true);
  const bool ok = settings_.exec() == QDialog::Accepted;
  if (disabled) game_.setEnabled(false);
  return ok;
}

void TOptionDialogsLink::ApplyOptions() {
  settings_.ApplyChosenProfile();
}

TMorvikProgram::TMorvikProgram(TMessageService& messages, const TPlatform& platform) {
  auto created = [this](QWidget* w, const char* name) {
    if (w->objectName().isEmpty()) w->setObjectName(QString::fromLatin1(name));
    order_.push_back(w->objectName().toStdString());
  };
  game_ = std::make_unique<TFormGame>(&messages, platform);
  created(game_.get(), "FormGame");
  TFormGame& game = *game_;
  TIniFile& ini = game.IniFile();
  TProgramState& state = game.State();

  settings_ = new TFormSettings(game.Setup(), ini, messages, state, game.Music(), platform, &game);
  created(settings_, "FormSettings");

  // The hall of fame is created after the results dialog: a new record's rank reaches it here.
  result_ = new TFormResult(
      game.Machine(), state, ini, messages, game.Setup(),
      [this](int rank) {
        if (hallFame_) hallFame_->SetSelectedRow(rank);
      },
      &game);
  created(result_, "FormResult");

  multiUser_ = new TFormMultiUserGame(ini, messages, state, &game);
  created(multiUser_, "FormMultiUserGame");

  hallFame_ = new TFormHallFame(ini, messages, state, platform, &game, &game.Records());
  created(hallFame_, "FormHallFame");

  options_ = std::make_unique<TOptionDialogsLink>(game, *settings_, *multiUser_);
  gamers_ = std::make_unique<TFormGamers>(ini, messages, state, *options_, game.Setup(), platform);
  created(gamers_.get(), "FormGamers");

  about_ = new TFormAbout(platform, &game);
  created(about_, "FormAbout");

  stats_ = new TFormStats(ini, messages, state, platform, &game);
  created(stats_, "FormStats");

  game.SetDialogs({settings_, result_, multiUser_, hallFame_, gamers_.get(), about_, stats_});
}

TMorvikProgram::~TMorvikProgram() {
  // The profiles dialog refers to the main window: it goes first.
  gamers_.reset();
  game_.reset();
}

bool TMorvikProgram::StartUp() {
  // The profiles dialog is the only window until a profile is chosen; its closing must not end
  // the application before the main window is shown.
  const bool quitOnClose = QApplication::quitOnLastWindowClosed();
  QApplication::setQuitOnLastWindowClosed(false);
  game_->setEnabled(false);
  const int result = gamers_->exec();
  QApplication::setQuitOnLastWindowClosed(quitOnClose);
  if (result != QDialog::Accepted) return false;

  gamers_->EndStartUp();
  game_->setEnabled(true);
  game_->ShowCodeGameCaption();
  game_->show();
  return true;
}

void SetUpApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("Morvik"));
  // The interface is Russian whatever the system language: "Да", "Нет", "Отмена".
  auto* qtbase = new QTranslator(&app);
  if (qtbase->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(qtbase);
  app.installEventFilter(new TToolTipTime(ToolTipHideTime, &app));
}
