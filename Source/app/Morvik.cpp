// SPDX-License-Identifier: GPL-3.0-or-later
// The program entry: application settings, the windows in their fixed order, the profile
// choice, then the event loop until the main window closes.
#include <QApplication>
#include <QIcon>
#include <QSessionManager>
#include <QTimer>

#include "app/UnitStartUp.h"
#include "config/SettingsLock.h"
#include "gui/EndSignals.h"
#include "gui/Platform.h"
#include "gui/QtMessages.h"
#include "window/GameRecords.h"
#include "window/UnitGame.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  SetUpApplication(app);
  // Every window and the tray icon show the game's icon.
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/morvik-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);

  TQtMessages messages;
  const TSystemPlatform platform;
  // A second copy on the same settings file says so and ends before touching the file.
  TSettingsLock lock;
  if (!ClaimSettingsFile(lock, platform.SettingsFilePath().toStdString(), messages)) return 1;
  TMorvikProgram program(messages, platform);
  messages.SetParent(&program.Game());

  // "Выход" in the profiles dialog ends the program here, before any closing step.
  if (!program.StartUp()) return 0;
  // The session ends: at a logout the running game is kept (the logout itself goes on), and a
  // termination signal closes the program as "Выход" does, keeping the game, without asking.
  TFormGame& game = program.Game();
  QObject::connect(
      &app, &QGuiApplication::commitDataRequest, &game,
      [&game](QSessionManager&) { game.SessionEnding(false); }, Qt::DirectConnection);
  const TEndSignals endSignals([&game](int) {
    game.SessionEnding(true);
    QCoreApplication::quit();  // also ends any dialog's loop
  });
  // A game record named on the command line (a file manager opening one) opens once the window
  // runs, as "Открыть игру…" would open it.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1 && !arguments[1].startsWith(QLatin1Char('-')))
    QTimer::singleShot(0, &program.Game(), [&program, path = arguments[1]] {
      program.Game().Records().OpenFile(path);
      program.Game().activateWindow();
    });
  return app.exec();
}
