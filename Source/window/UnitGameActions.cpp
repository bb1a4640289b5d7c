// TFormGame: the commands of the menus and tool bars that lead elsewhere: dialogs, game mode and
// music; each dialog's route is filled in here. The layout number, help, panels and the tray are
// in UnitGameCommands.cpp.
#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "window/UnitGame.h"

void TFormGame::actMenuExitExecute() {
  close();
}

void TFormGame::actHelpForumExecute() {}

// ---------------------------------------------------------------------------------------------
// Routes into the dialogs that a game start, its end and the closing use.

