// SPDX-License-Identifier: GPL-3.0-or-later
// The options in force, the game mode and the layout number.
#include "window/GameSetup.h"

#include <QAction>
#include <climits>
#include <cstdlib>

#include "dialogs/UnitSettings.h"
#include "gui/Platform.h"
#include "sound/Music.h"
#include "window/GameBoard.h"
#include "window/GameRecords.h"
#include "window/UnitGame.h"

TGameSetup::TGameSetup(TFormGame& game, const TPlatform& platform)
    : game_(game), platform_(platform), icons_(MakeColorIcons()) {}

bool TGameSetup::ApplyOptions(const TGameOptions& wanted) {
  TProgramState& state = game_.State();
  TMorvikMachine& machine = game_.Machine();
  TGameBoard& board = game_.Board();
  TMusic* music = game_.Music();
  TGameOptions applied = wanted;
  bool musicOk = true;

  // 1. Music. A refusal of the sound system (it has told the player) keeps the music as it was.
  const bool musicOn = music && music->MusicEnabled();
  if (wanted.Music != musicOn) {
    if (music && music->SwitchMusic(wanted.Music, machine.Active, wanted.Volume)) {
      // Image 20 (on) or 21 (off), on the action and with it on its menu entry.
      game_.Action(TGameAction::SettingsMusic)->setIcon(game_.ilColor(wanted.Music ? 20 : 21));
    } else {
      applied.Music = musicOn;
      musicOk = false;
    }
  }
  if (music) music->SetVolume(wanted.Volume);

  // From here on the new flags, panels and victory rule are the ones in force: the panels,
  // the window size and the board below are drawn by them.
  const bool panelsChanged = wanted.PanelFlags != state.PanelFlags();
  const bool signsChanged = wanted.TileSigns != board.Painter().TileSigns();
  const bool outlineChanged =
      ((wanted.SelectOptions ^ state.SelectOptions()) & soSelectBoundary) != 0;
  state.Options = applied;

  // 2. Panels.
  if (panelsChanged) game_.ShowPanels();

  // 3. Tile looks.
  bool looksChanged = false;
  for (int s = tsNeutral; s <= tsPressed; ++s) {
    TTileStyle style = stFlat;
    if (!LookStyle(wanted.Looks[size_t(s)], style))
      game_.Messages().Error("Неизвестный стиль плитки.", "Error");
    if (machine.TileStyles[size_t(s)] != style) {
      machine.SetTileStyle(s, style);
      looksChanged = true;
    }
  }

  // Signs of the colours: the board, the colour buttons and with them the popup menu.
  if (signsChanged) {
    board.Painter().SetTileSigns(wanted.TileSigns);
    for (int k = 1; k <= 7; ++k) {
      icons_[size_t(k - 1)] = MakeColorIcon(uint8_t(k), wanted.TileSigns);
      game_.Action(ColorAction(k))->setIcon(icons_[size_t(k - 1)]);
    }
  }

  // 4. Tile size. A field that holds no size leaves the machine as it is.
  bool tileChanged = false;
  const int tile = wanted.TileSize();
  if (tile >= 0 && tile <= 255 && tile != machine.SizeTile) {
    machine.SetSizeTile(uint8_t(tile));
    tileChanged = true;
  }

  // 5. Option flags: in force above.

  // 6. Board size; never under a running game (the settings lock it then).
  bool mapChanged = false;
  const auto [width, height] = wanted.MapSize();
  if (!machine.Active && width >= 0 && height >= 0 && width <= 255 && height <= 255 &&
      (width != machine.Width || height != machine.Height)) {
    machine.SetSizeMap(uint8_t(width), uint8_t(height));
    mapChanged = true;
  }

  // 7, 8. The window follows the board; a running game is drawn again.
  if (mapChanged || tileChanged || panelsChanged) game_.SetSizeWindow();
  if (machine.Active &&
      (looksChanged || signsChanged || tileChanged || panelsChanged || outlineChanged))
    board.ShowPosition();
  if (&board.Shown() != &machine) board.ShowPosition();  // a watched game keeps its board
  // A new profile may have a kept game to continue.
  game_.UpdateActions();

  // 9. Victory: in force above.
  return musicOk;
}

void TGameSetup::ApplyDefaultOptions() {
  TMusic* music = game_.Music();
  TGameOptions options = DefaultGameOptions();
  // The music stays as it is until a profile's own options switch it.
  options.Music = music && music->MusicEnabled();
  ApplyOptions(options);
}

void TGameSetup::SetGameMode(bool multiUser) {
  game_.State().MultiUserMode = multiUser;
  game_.Action(TGameAction::SettingsGameClassic)->setChecked(!multiUser);
  game_.Action(TGameAction::SettingsGameMultiUser)->setChecked(multiUser);
  if (TFormSettings* settings = game_.Commands().SettingsDialog()) settings->ShowMode(multiUser);
}

int32_t TGameSetup::CodeGame() const {
  return game_.Machine().CodeGame;
}

void TGameSetup::SetCodeGame(int32_t code) {
  game_.Machine().SetCodeGame(code);
}

void TGameSetup::SetRandomGame() {
  SetRandSeed(platform_.ClockCounter());
  const int32_t seed = int32_t(GetRandSeed());
  // The one seed without a positive counterpart becomes the largest layout number.
  game_.Machine().SetCodeGame(seed == INT32_MIN ? INT32_MAX : std::abs(seed));
}

void TGameSetup::ProfileRenamed(const std::string& from, const std::string& to) {
  game_.Records().MoveKept(from, to);
}

void TGameSetup::ProfileErased(const std::string& name) {
  game_.Records().DiscardKept(name);
}
