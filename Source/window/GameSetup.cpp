// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: the options in force and the game mode. Each has one operation that changes every
// place showing it, so the machine, the window, the music, the flags, the two mode actions and
// the settings dialog's mode cannot drift apart.
#include <QAction>

#include "dialogs/UnitSettings.h"
#include "gui/Icons.h"
#include "sound/Music.h"
#include "window/UnitGame.h"

bool TFormGame::ApplyOptions(const TGameOptions& wanted) {
  TGameOptions applied = wanted;
  bool musicOk = true;

  // 1. Music. A refusal of the sound system (it has told the player) keeps the music as it was.
  const bool musicOn = music_ && music_->MusicEnabled();
  if (wanted.Music != musicOn) {
    if (music_ && music_->SwitchMusic(wanted.Music, machine_->Active, wanted.Volume)) {
      // Image 20 (on) or 21 (off), on the action and with it on its menu entry.
      Action(TGameAction::SettingsMusic)->setIcon(ilColor(wanted.Music ? 20 : 21));
    } else {
      applied.Music = musicOn;
      musicOk = false;
    }
  }
  if (music_) music_->SetVolume(wanted.Volume);

  // From here on the new flags, panels and victory rule are the ones in force: the panels,
  // the window size and the board below are drawn by them.
  const bool panelsChanged = wanted.PanelFlags != state_.PanelFlags();
  const bool signsChanged = wanted.TileSigns != board_->Painter().TileSigns();
  const bool outlineChanged =
      ((wanted.SelectOptions ^ state_.SelectOptions()) & soSelectBoundary) != 0;
  state_.Options = applied;

  // 2. Panels.
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
  if (signsChanged) {
    board_->Painter().SetTileSigns(wanted.TileSigns);
    for (int k = 1; k <= 7; ++k) {
      icons_[size_t(k - 1)] = MakeColorIcon(uint8_t(k), wanted.TileSigns);
      Action(ColorAction(k))->setIcon(icons_[size_t(k - 1)]);
    }
  }

  // 4. Tile size. A field that holds no size leaves the machine as it is.
  bool tileChanged = false;
  const int tile = wanted.TileSize();
  if (tile >= 0 && tile <= 255 && tile != machine_->SizeTile) {
    machine_->SetSizeTile(uint8_t(tile));
    tileChanged = true;
  }

  // 5. Option flags: in force above.

  // 6. Board size; never under a running game (the settings lock it then).
  bool mapChanged = false;
  const auto [width, height] = wanted.MapSize();
  if (!machine_->Active && width >= 0 && height >= 0 && width <= 255 && height <= 255 &&
      (width != machine_->Width || height != machine_->Height)) {
    machine_->SetSizeMap(uint8_t(width), uint8_t(height));
    mapChanged = true;
  }

  // 7, 8. The window follows the board; a running game is drawn again.
  if (mapChanged || tileChanged || panelsChanged) SetSizeWindow();
  if (machine_->Active &&
      (looksChanged || signsChanged || tileChanged || panelsChanged || outlineChanged))
    board_->ShowPosition();
  if (&board_->Shown() != machine_.get()) board_->ShowPosition();  // a watched game keeps its board
  // A new profile may have a kept game to continue.
  UpdateActions();

  // 9. Victory: in force above.
  return musicOk;
}

void TFormGame::ApplyDefaultOptions() {
  TGameOptions options = DefaultGameOptions();
  // The music stays as it is until a profile's own options switch it.
  options.Music = music_ && music_->MusicEnabled();
  ApplyOptions(options);
}

void TFormGame::SetGameMode(bool multiUser) {
  state_.MultiUserMode = multiUser;
  Action(TGameAction::SettingsGameClassic)->setChecked(!multiUser);
  Action(TGameAction::SettingsGameMultiUser)->setChecked(multiUser);
  if (TFormSettings* settings = commands_->SettingsDialog()) settings->ShowMode(multiUser);
}

int32_t TFormGame::CodeGame() const {
  return machine_->CodeGame;
}

void TFormGame::SetCodeGame(int32_t code) {
  machine_->SetCodeGame(code);
}
