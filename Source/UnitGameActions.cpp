// TFormGame: the commands of the menus and tool bars that lead elsewhere: dialogs, game mode,
// music, layout number, help, panels and the tray. Each dialog's route is filled in here.
#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "UnitGame.h"

void TFormGame::actMenuGamersExecute() {}

void TFormGame::actMenuHallOfFameExecute() {}

void TFormGame::actMenuExitExecute() {
  close();
}

void TFormGame::actSettingsSetCodeGameExecute() {}

void TFormGame::actHelpMaintenanseExecute() {}

void TFormGame::actHelpHomePageExecute() {}

void TFormGame::actHelpMailExecute() {}

void TFormGame::actHelpForumExecute() {}

void TFormGame::actHelpAboutProgramExecute() {}

void TFormGame::actMainBossExecute() {}

void TFormGame::actPanelMainBarExecute() {}

void TFormGame::actPanelColorBarExecute() {}

void TFormGame::actPanelStatusBarExecute() {}

void TFormGame::pmPanelsPopup() {
  actPanelMainBar->setChecked(state_.PanelFlags & pfMainBar);
  actPanelColorBar->setChecked(state_.PanelFlags & pfColorBar);
  actPanelStatusBar->setChecked(state_.PanelFlags & pfStatusBar);
}

// ---------------------------------------------------------------------------------------------
// Routes into the dialogs that a game start, its end and the closing use.

void TFormGame::SaveActiveProfile() {}
