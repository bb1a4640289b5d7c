// TFormGame: the music operations, forwarded to TMusic.
#include <QAction>

#include "window/UnitGame.h"
#include "sound/Music.h"

bool TFormGame::InitializeMusic(bool on) {
  return music_ ? music_->InitializeMusic(on) : !on;
}

void TFormGame::StartPlayTitle(bool restart) {
  if (music_) music_->StartPlayTitle(restart);
}

void TFormGame::StartPlayMain(bool restart) {
  if (music_) music_->StartPlayMain(restart);
}

void TFormGame::StartPlayDeveloper(bool restart) {
  if (music_) music_->StartPlayDeveloper(restart);
}

void TFormGame::SetMusicIcon(bool on) {
  // The action's icon is also its entry's in the "Настройки" menu.
  actSettingsMusic->setIcon(ilColor(on ? 20 : 21));
}
