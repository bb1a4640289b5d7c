// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Catalogue.h"

#include "config/IniFile.h"

namespace cfg {

namespace {

TKeyInfo Int(const char* key, int32_t def, int32_t min, int32_t max, const char* control) {
  return TKeyInfo{key, TKeyType::Integer, def, {}, min, max, control};
}
TKeyInfo Bool(const char* key, bool def, const char* control) {
  return TKeyInfo{key, TKeyType::Boolean, def ? 1 : 0, {}, 0, 1, control};
}

}  // namespace

std::string OptionsSection(const std::string& gamer) {
  return kOptionsPrefix + gamer;
}

std::string StatsSection(const std::string& gamer) {
  return kStatsPrefix + gamer;
}

const std::vector<TKeyInfo>& SettingsKeys() {
  static const std::vector<TKeyInfo> keys = {
      Int(key::GameSizeMap, 1, 0, 4, "rgSizeMap"),
      Int(key::GameSizeTile, 1, 0, 4, "rgSizeTile"),
      Int(key::GameWidth, 50, 10, 255, "eWidth"),
      Int(key::GameHeight, 25, 10, 255, "eHeight"),
      Int(key::GameTile, 15, 10, 255, "eTile"),
      Int(key::GameBrain, 0, 0, 3, "rgBrain"),
      Int(key::GameVictory, 0, 0, 1, "rgVictory"),
      Int(key::TileNeutral, 0, 0, 3, "cbTileNeutral"),
      Int(key::TileOccuped, 2, 0, 3, "cbTileOccuped"),
      Int(key::TileSelected, 2, 0, 3, "cbTileSelected"),
      Int(key::TilePressed, 3, 0, 3, "cbTilePressed"),
      Bool(key::SelectIsland, true, "chkbSelectIsland"),
      Bool(key::SelectPerspective, true, "chkbSelectPerspective"),
      Bool(key::SelectBound, true, "chkbSelectBoundary"),
      Bool(key::SelectSkipTurn, true, "chkbSkipTurn"),
      Bool(key::SelectAutostart, true, "chkbAutostart"),
      Bool(key::SelectReplay, true, "chkbReplay"),
      Bool(key::SelectHallfameOnRecord, true, "chkbHallFameOnRecord"),
      Bool(key::SelectMusic, true, "chkbMusic"),
      Int(key::Volume, 20, 0, 100, "slVolume"),
      Bool(key::VisibleMainBar, true, "chkbMainBar"),
      Bool(key::VisibleColorBar, true, "chkbColorBar"),
      Bool(key::VisibleStatusBar, true, "chkbStatusBar"),
  };
  return keys;
}

const TKeyInfo* SettingsKey(const std::string& name) {
  for (const TKeyInfo& k : SettingsKeys())
    if (k.key == name) return &k;
  return nullptr;
}

const std::vector<TKeyInfo>& OurSettingsKeys() {
  static const std::vector<TKeyInfo> keys = {
      Bool(key::TileSigns, false, "chkbTileSigns"),
  };
  return keys;
}

std::vector<TKeyInfo> MultiUserKeys(int seat) {
  const std::string n = std::to_string(seat);
  std::vector<TKeyInfo> keys = {
      Bool("", false, ""), Int("", 0, 0, 4, ""), Bool("", true, ""),
      Bool("", false, ""), Int("", 0, 0, 3, ""), TKeyInfo{"", TKeyType::String, 0, "", 0, -1, ""},
  };
  const char* names[6][2] = {{"MultiUser_Gamer", "Checked"},    {"MultiUser_Command", ""},
                             {"MultiUser_Computer", "Checked"}, {"MultiUser_Human", "Checked"},
                             {"MultiUser_Computer", ""},        {"MultiUser_Gamer", "Name"}};
  const char* controls[6] = {"chkbGamer", "cbCommand",  "rbComputer",
                             "rbHuman",   "cbComputer", "cbHuman"};
  for (int i = 0; i < 6; ++i) {
    keys[i].key = names[i][0] + n + names[i][1];
    keys[i].control = controls[i] + n;
  }
  return keys;
}

const std::vector<TKeyInfo>& AllMultiUserKeys() {
  static const std::vector<TKeyInfo> keys = [] {
    std::vector<TKeyInfo> all;
    for (int seat = 1; seat <= 4; ++seat) {
      auto k = MultiUserKeys(seat);
      all.insert(all.end(), k.begin(), k.end());
    }
    return all;
  }();
  return keys;
}

const std::vector<TKeyInfo>& OtherKeys() {
  static const std::vector<TKeyInfo> keys = [] {
    std::vector<TKeyInfo> k = {
        Int(kKeyCodeGame, 0, 0, INT32_MAX, ""),
        Bool(kKeyClassicMode, true, ""),
        Int(kKeyWindowLeft, 0, 1, 0, ""),
        Int(kKeyWindowTop, 0, 1, 0, ""),
    };
    k[2].hasDefault = k[3].hasDefault = false;  // written at exit, never read
    return k;
  }();
  return keys;
}

int32_t ReadKeyInt(const TIniFile& ini, const std::string& section, const TKeyInfo& k) {
  return ini.ReadInteger(section, k.key, k.def);
}

bool ReadKeyBool(const TIniFile& ini, const std::string& section, const TKeyInfo& k) {
  return ini.ReadBool(section, k.key, k.def != 0);
}

std::string ReadKeyString(const TIniFile& ini, const std::string& section, const TKeyInfo& k) {
  return ini.ReadString(section, k.key, k.defText);
}

bool WriteKeyInt(TIniFile& ini, const std::string& section, const TKeyInfo& k, int32_t value) {
  if (k.type == TKeyType::Boolean) return ini.WriteBool(section, k.key, value != 0);
  return ini.WriteInteger(section, k.key, value);
}

}  // namespace cfg
