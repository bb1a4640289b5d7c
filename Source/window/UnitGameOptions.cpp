// TFormGame: the options in force and the game mode. Each has one operation that changes every
// place showing it, so the machine, the window, the music, the flags, the two mode actions and
// the settings dialog's mode cannot drift apart.
#include <QAction>

#include "window/UnitGame.h"
#include "dialogs/UnitSettings.h"
#include "gui/Icons.h"
#include "sound/Music.h"

bool TFormGame::ApplyOptions(const TGameOptions& wanted) {
  TGameOptions applied = wanted;
  bool musicOk = true;

  // 1. Music. A refusal of the sound system (it has told the player) keeps the music as it was.
  const bool musicOn = music_ && music_->MusicEnabled();
  if (wanted.Music != musicOn) {
    if (music_ && music_->SwitchMusic(wanted.Music, machine_->Active, wanted.Volume)) {
      SetMusicIcon(wanted.Music);
    } else {
      applied.Music = musicOn;
      musicOk = false;
    }
  }
  if (music_) music_->SetVolume(wanted.Volume);

  // 2. Panels.
  const bool panelsChanged = wanted.PanelFlags != state_.PanelFlags;
  state_.PanelFlags = wanted.PanelFlags;
  if (panelsChanged) ShowPanels();

  // 3. Tile looks.
  bool looksChanged = false;
  for (int s = tsNeutral; s <= tsPressed; ++s) {
    TTileStyle style = stFlat;
    if (!LookStyle(wanted.Looks[size_t(s)], style))
      messages_->Error("Неизвестный стиль плитки.", "Error");
    if (machine_->TileStyles[size_t(s)] != style) {
      machine_->SetTileStyle(s, style);
      looksChanged = true;
    }
  }

  // Signs of the colours: the board, the colour buttons and with them the popup menu.
  const bool signsChanged = wanted.TileSigns != painter_.TileSigns();
  if (signsChanged) {
    painter_.SetTileSigns(wanted.TileSigns);
    for (int k = 1; k <= 7; ++k) {
      icons_[size_t(k - 1)] = MakeColorIcon(uint8_t(k), wanted.TileSigns);
      actColor[size_t(k)]->setIcon(icons_[size_t(k - 1)]);
    }
  }

  // 4. Tile size. A field that holds no size leaves the machine as it is.
  bool tileChanged = false;
  if (wanted.Tile >= 0 && wanted.Tile <= 255 && wanted.Tile != machine_->SizeTile) {
    machine_->SetSizeTile(uint8_t(wanted.Tile));
    tileChanged = true;
  }
  applied.Tile = machine_->SizeTile;

  // 5. Option flags.
  const bool outlineChanged =
      ((wanted.SelectOptions ^ state_.SelectOptions) & soSelectBoundary) != 0;
  state_.SelectOptions = wanted.SelectOptions;

  // 6. Board size; never under a running game (the settings lock it then).
  bool mapChanged = false;
  if (!machine_->Active && wanted.Width >= 0 && wanted.Height >= 0 && wanted.Width <= 255 &&
      wanted.Height <= 255 &&
      (wanted.Width != machine_->Width || wanted.Height != machine_->Height)) {
    machine_->SetSizeMap(uint8_t(wanted.Width), uint8_t(wanted.Height));
    mapChanged = true;
  }
  applied.Width = machine_->Width;
  applied.Height = machine_->Height;

  // 7, 8. The window follows the board; a running game is drawn again.
  if (mapChanged || tileChanged || panelsChanged) SetSizeWindow();
  if (machine_->Active &&
      (looksChanged || signsChanged || tileChanged || panelsChanged || outlineChanged))
    ShowPosition();

  // 9. Victory.
  state_.VictoryByArea = wanted.Victory == 0;
  state_.Options = applied;
  return musicOk;
}

void TFormGame::ApplyDefaultOptions() {
  TGameOptions options = DefaultGameOptions();
  // The music stays as it is until a profile's own options switch it.
  options.Music = music_ && music_->MusicEnabled();
  ApplyOptions(options);
}

uint8_t TFormGame::ClassicComputerLevel() const {
  return state_.Options.ComputerLevel();
}

void TFormGame::SetGameMode(bool multiUser) {
  state_.MultiUserMode = multiUser;
  actSettingsGameClassic->setChecked(!multiUser);
  actSettingsGameMultiUser->setChecked(multiUser);
  if (FormSettings) FormSettings->ShowMode(multiUser);
}

void TFormGame::actSettingsGameClassicExecute() {
  SetGameMode(false);
}

void TFormGame::actSettingsGameMultiUserExecute() {
  SetGameMode(true);
}

int32_t TFormGame::CodeGame() const {
  return machine_->CodeGame;
}

void TFormGame::SetCodeGame(int32_t code) {
  machine_->SetCodeGame(code);
}
