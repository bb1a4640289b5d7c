// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/OptionTable.h"

namespace {

TOptionSlot Number(int TGameOptions::*field) {
  return {.Number = field};
}
TOptionSlot Flag(uint8_t TGameOptions::*flags, uint8_t bit) {
  return {.Flags = flags, .Bit = bit};
}
TOptionSlot Switch(bool TGameOptions::*field) {
  return {.Switch = field};
}
TOptionSlot Look(int state) {
  return {.Look = state};
}

constexpr auto so = &TGameOptions::SelectOptions;
constexpr auto pf = &TGameOptions::PanelFlags;

}  // namespace

int TOptionInfo::Get(const TGameOptions& o) const {
  if (Slot.Number) return o.*Slot.Number;
  if (Slot.Flags) return (o.*Slot.Flags & Slot.Bit) != 0;
  if (Slot.Switch) return o.*Slot.Switch;
  return o.Looks[size_t(Slot.Look)];
}

void TOptionInfo::Set(TGameOptions& o, int value) const {
  if (Slot.Number) {
    o.*Slot.Number = value;
  } else if (Slot.Flags) {
    o.*Slot.Flags = uint8_t(value ? o.*Slot.Flags | Slot.Bit : o.*Slot.Flags & ~Slot.Bit);
  } else if (Slot.Switch) {
    o.*Slot.Switch = value != 0;
  } else {
    o.Looks[size_t(Slot.Look)] = value;
  }
}

const std::vector<TOptionInfo>& OptionTable() {
  using O = TGameOptions;
  static const std::vector<TOptionInfo> table = {
      // key                     control                 page default locked slot
      {"GameSizeMap", "rgSizeMap", 1, 1, true, Number(&O::SizeMap)},
      {"GameSizeTile", "rgSizeTile", 1, 1, false, Number(&O::SizeTile)},
      {"GameWidth", "eWidth", 1, 50, true, Number(&O::CustomWidth)},
      {"GameHeight", "eHeight", 1, 25, true, Number(&O::CustomHeight)},
      {"GameTile", "eTile", 1, 15, false, Number(&O::CustomTile)},
      {"GameBrain", "rgBrain", 0, 0, true, Number(&O::Brain)},
      {"GameVictory", "rgVictory", 0, 0, true, Number(&O::Victory)},
      {"TileNeutral", "cbTileNeutral", 2, 0, false, Look(tsNeutral)},
      {"TileOccuped", "cbTileOccuped", 2, 2, false, Look(tsOccupied)},
      {"TileSelected", "cbTileSelected", 2, 2, false, Look(tsSelected)},
      {"TilePressed", "cbTilePressed", 2, 3, false, Look(tsPressed)},
      {"SelectIsland", "chkbSelectIsland", 3, 1, false, Flag(so, soSelectIsland)},
      {"SelectPerspective", "chkbSelectPerspective", 3, 1, false, Flag(so, soSelectPerspective)},
      {"SelectBound", "chkbSelectBoundary", 3, 1, false, Flag(so, soSelectBoundary)},
      {"SelectSkipTurn", "chkbSkipTurn", 3, 1, false, Flag(so, soSkipTurn)},
      {"SelectAutostart", "chkbAutostart", 3, 1, false, Flag(so, soAutostart)},
      {"SelectReplay", "chkbReplay", 3, 1, false, Flag(so, soReplay)},
      // Written with this spelling; read back as "SelectHallFameOnRecord" would find it too,
      // key names comparing without regard to case.
      {"SelectHallfameOnRecord", "chkbHallFameOnRecord", 3, 1, false, Flag(so, soHallFameOnRecord)},
      {"SelectMusic", "chkbMusic", 3, 1, false, Switch(&O::Music)},
      {"Volume", "slVolume", 3, 20, false, Number(&O::Volume)},
      {"VisibleMainBar", "chkbMainBar", 4, 1, false, Flag(pf, pfMainBar)},
      {"VisibleColorBar", "chkbColorBar", 4, 1, false, Flag(pf, pfColorBar)},
      {"VisibleStatusBar", "chkbStatusBar", 4, 1, false, Flag(pf, pfStatusBar)},
      // Ours, after the 23: a reader that knows only those finds them unchanged.
      {"TileSigns", "chkbTileSigns", 2, 0, false, Switch(&O::TileSigns)},
      // Not kept: on in every run.
      {nullptr, "chkbAutoTurn", 3, 1, false, Flag(so, soAutoTurn)},
  };
  return table;
}

const TOptionInfo* OptionByControl(const std::string& control) {
  for (const TOptionInfo& o : OptionTable())
    if (control == o.Control) return &o;
  return nullptr;
}

const TOptionInfo* OptionByKey(const std::string& key) {
  for (const TOptionInfo& o : OptionTable())
    if (o.Key && key == o.Key) return &o;
  return nullptr;
}

const TOptionInfo* OptionByFlag(uint8_t TGameOptions::*flags, uint8_t bit) {
  for (const TOptionInfo& o : OptionTable())
    if (o.Slot.Flags == flags && o.Slot.Bit == bit) return &o;
  return nullptr;
}
