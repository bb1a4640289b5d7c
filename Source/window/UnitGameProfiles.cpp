// TFormGame: the routes into the players-and-records dialogs: profiles, hall of fame, About with
// its music, the results and hall of fame at the end of a game, and the exit save.
#include "dialogs/UnitAbout.h"
#include "window/UnitGame.h"
#include "dialogs/UnitGamers.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitResult.h"
#include "sound/Music.h"

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

void TFormGame::actHelpAboutProgramExecute() {
  if (!FormAbout) return;
  const bool running = machine_->Active;
  if (music_) music_->AboutOpening(running);
  FormAbout->exec();
  if (music_) music_->AboutClosed(running);
}

void TFormGame::ShowResults() {
  CountFinishedGame();
  if (FormResult) FormResult->exec();
}

void TFormGame::ShowHallOfFame() {
  if (FormHallFame) FormHallFame->exec();
}

void TFormGame::SaveActiveProfile() {
  if (FormGamers) FormGamers->CloseProfile();
}
