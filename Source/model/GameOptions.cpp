#include "model/GameOptions.h"

#include "config/Catalogue.h"

namespace {

int Def(const char* key) {
  return cfg::SettingsKey(key)->def;
}

}  // namespace

std::pair<int, int> SizeMapPreset(int index) {
  static constexpr std::pair<int, int> presets[4] = {{20, 10}, {50, 25}, {75, 37}, {100, 50}};
  return index >= 0 && index < 4 ? presets[index] : std::pair<int, int>{0, 0};
}

int SizeTilePreset(int index) {
  static constexpr int presets[4] = {10, 15, 20, 25};
  return index >= 0 && index < 4 ? presets[index] : 0;
}

bool LookStyle(int index, TTileStyle& style) {
  static constexpr TTileStyle styles[4] = {stConvex, stFlat, stCarved, stConcave};
  if (index < 0 || index > 3) return false;
  style = styles[index];
  return true;
}

TGameOptions DefaultGameOptions() {
  using namespace cfg::key;
  TGameOptions o;
  o.SizeMap = Def(GameSizeMap);
  const auto [w, h] = SizeMapPreset(o.SizeMap);
  o.Width = o.SizeMap == 4 ? Def(GameWidth) : w;
  o.Height = o.SizeMap == 4 ? Def(GameHeight) : h;
  o.SizeTile = Def(GameSizeTile);
  o.Tile = o.SizeTile == 4 ? Def(GameTile) : SizeTilePreset(o.SizeTile);
  o.Brain = Def(GameBrain);
  o.Victory = Def(GameVictory);
  o.Looks = {Def(TileNeutral), Def(TileOccuped), Def(TileSelected), Def(TilePressed)};
  const std::pair<const char*, uint8_t> flags[] = {{SelectIsland, soSelectIsland},
                                                   {SelectPerspective, soSelectPerspective},
                                                   {SelectSkipTurn, soSkipTurn},
                                                   {SelectAutostart, soAutostart},
                                                   {SelectBound, soSelectBoundary},
                                                   {SelectReplay, soReplay},
                                                   {SelectHallfameOnRecord, soHallFameOnRecord}};
  o.SelectOptions = soAutoTurn;
  for (const auto& [key, flag] : flags)
    if (Def(key)) o.SelectOptions |= flag;
  o.PanelFlags =
      uint8_t((Def(VisibleMainBar) ? pfMainBar : 0) | (Def(VisibleColorBar) ? pfColorBar : 0) |
              (Def(VisibleStatusBar) ? pfStatusBar : 0));
  o.Music = Def(SelectMusic) != 0;
  o.Volume = Def(Volume);
  for (const cfg::TKeyInfo& k : cfg::OurSettingsKeys())
    if (k.key == TileSigns) o.TileSigns = k.def != 0;
  return o;
}
