#include "app/UnitStartUp.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

#include "dialogs/UnitAbout.h"
#include "window/UnitGame.h"
#include "dialogs/UnitGamers.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitResult.h"
#include "dialogs/UnitSettings.h"
#include "dialogs/UnitStats.h"

bool TToolTipTime::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->toolTipDuration() < 0) widget->setToolTipDuration(msec_);
  }
  return false;  // the widget shows its tip itself
}

void TOptionDialogsLink::ReadParams() {
  Settings->ReadParams();
  MultiUser->ReadParams();
}

bool TOptionDialogsLink::TestCondition() {
  return Settings->TestCondition();
}

bool TOptionDialogsLink::ShowSettings() {
  // The settings dialog is a child of the main window and would be disabled with it.
  const bool disabled = !game_.isEnabled();
  if (disabled) game_.setEnabled(true);
  const bool ok = Settings->exec() == QDialog::Accepted;
  if (disabled) game_.setEnabled(false);
  return ok;
}

void TOptionDialogsLink::ApplyOptions() {
  Settings->ApplyChosenProfile();
}

TMorvikProgram::TMorvikProgram(TMessageService& messages) {
  auto created = [this](QWidget* w, const char* name) {
    if (w->objectName().isEmpty()) w->setObjectName(QString::fromLatin1(name));
    order_.push_back(w->objectName().toStdString());
  };
  game_ = std::make_unique<TFormGame>(&messages);
  created(game_.get(), "FormGame");
  options_ = std::make_unique<TOptionDialogsLink>(*game_);

  settings_ = new TFormSettings(*game_);
  options_->Settings = settings_;
  created(settings_, "FormSettings");

  TFormGame& game = *game_;
  result_ =
      new TFormResult(game.Machine(), game.State(), game.IniFile(), game.Messages(), game, &game);
  created(result_, "FormResult");

  multiUser_ = new TFormMultiUserGame(game.IniFile(), game.Messages(), game.State(), &game);
  game.FormMultiUserGame = multiUser_;
  options_->MultiUser = multiUser_;
  created(multiUser_, "FormMultiUserGame");

  hallFame_ = new TFormHallFame(game.IniFile(), game.Messages(), game.State(), &game);
  result_->FormHallFame = hallFame_;
  created(hallFame_, "FormHallFame");

  gamers_ =
      std::make_unique<TFormGamers>(game.IniFile(), game.Messages(), game.State(), *options_, game);
  created(gamers_.get(), "FormGamers");

  about_ = new TFormAbout(game_.get());
  created(about_, "FormAbout");

  stats_ = new TFormStats(game.IniFile(), game.Messages(), game.State(), &game);
  created(stats_, "FormStats");

  game_->FormResult = result_;
  game_->FormHallFame = hallFame_;
  game_->FormGamers = gamers_.get();
  game_->FormAbout = about_;
  game_->FormStats = stats_;
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
