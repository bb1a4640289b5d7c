// The program entry: the application with Russian standard buttons, the main window, the active
// profile and the event loop.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QToolTip>
#include <QTranslator>

#include "UnitGame.h"
#include "gui/Platform.h"
#include "gui/QtMessages.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Morvik"));

  // The interface is Russian whatever the system language: "Да", "Нет", "Отмена".
  QTranslator qtbase;
  if (qtbase.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qtbase);

  TQtMessages messages;
  TFormGame formGame(&messages);
  messages.SetParent(&formGame);

  // The profile of the person logged in, with the options of a fresh profile.
  TProgramState& state = formGame.State();
  state.ActiveGamer = SystemUserName().toStdString();
  state.OptionsSection = "OPTIONS_" + state.ActiveGamer;
  formGame.ApplyDefaultOptions();
  formGame.SetRandomGame();
  formGame.ShowCodeGameCaption();

  formGame.show();
  return app.exec();
}
