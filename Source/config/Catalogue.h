// SPDX-License-Identifier: GPL-3.0-or-later
// Every section and key of the settings file, with its type and default. Descriptors are typed so
// that a dialog can loop over a group. The settings dialog's keys are the option table's too
// (model/OptionTable.h): a model test holds the two lists together.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TIniFile;

namespace cfg {

inline constexpr char kSectionGamers[] = "GAMERS";
inline constexpr char kSectionOther[] = "OTHER";
inline constexpr char kKeyLastLogin[] = "LastLogin";
inline constexpr char kOptionsPrefix[] = "OPTIONS_";
inline constexpr char kHallFamePrefix[] = "MAP";
inline constexpr char kStatsPrefix[] = "STATS_";

// "OPTIONS_" + profile name.
std::string OptionsSection(const std::string& gamer);
// "STATS_" + profile name: the profile's statistics (GamerStats.h); it moves with a rename and
// goes with a delete.
std::string StatsSection(const std::string& gamer);

enum class TKeyType { Integer, Boolean, String };

struct TKeyInfo {
  std::string key;
  TKeyType type;
  int32_t def = 0;      // integer and boolean keys (1 or 0)
  std::string defText;  // string keys
  int32_t min = 0;      // valid range of an integer key; min > max when unbounded
  int32_t max = -1;
  std::string control;  // the control that shows the value
  bool hasDefault = true;

  bool Bounded() const { return min <= max; }
};

// The 23 keys written by the settings dialog, in the order they are written.
const std::vector<TKeyInfo>& SettingsKeys();
// Settings key by name (exact spelling of the catalogue); null when unknown.
const TKeyInfo* SettingsKey(const std::string& key);

// Options of our own, in the same section, written after the 23 settings keys, so a reader that
// knows only those keys finds its own values unchanged and ignores these.
const std::vector<TKeyInfo>& OurSettingsKeys();

// The six keys of seat `seat` (1 to 4) of the multi-user setup, in the order they are written.
std::vector<TKeyInfo> MultiUserKeys(int seat);
// All 24, seat by seat.
const std::vector<TKeyInfo>& AllMultiUserKeys();

// The other keys of a profile section, in the order the exit save writes them.
inline constexpr char kKeyClassicMode[] = "Other_ClassicMode";
inline constexpr char kKeyCodeGame[] = "Other_CodeGame";
inline constexpr char kKeyWindowLeft[] = "Window_Left";
inline constexpr char kKeyWindowTop[] = "Window_Top";
const std::vector<TKeyInfo>& OtherKeys();  // Other_CodeGame, Other_ClassicMode, Window_Left, _Top

// Names of the settings keys, for code that needs one directly.
namespace key {
inline constexpr char GameSizeMap[] = "GameSizeMap";
inline constexpr char GameSizeTile[] = "GameSizeTile";
inline constexpr char GameWidth[] = "GameWidth";
inline constexpr char GameHeight[] = "GameHeight";
inline constexpr char GameTile[] = "GameTile";
inline constexpr char GameBrain[] = "GameBrain";
inline constexpr char GameVictory[] = "GameVictory";
inline constexpr char TileNeutral[] = "TileNeutral";
inline constexpr char TileOccuped[] = "TileOccuped";
inline constexpr char TileSelected[] = "TileSelected";
inline constexpr char TilePressed[] = "TilePressed";
inline constexpr char SelectIsland[] = "SelectIsland";
inline constexpr char SelectPerspective[] = "SelectPerspective";
inline constexpr char SelectBound[] = "SelectBound";
inline constexpr char SelectSkipTurn[] = "SelectSkipTurn";
inline constexpr char SelectAutostart[] = "SelectAutostart";
inline constexpr char SelectReplay[] = "SelectReplay";
// Written with this spelling; the settings dialog reads it as "SelectHallFameOnRecord", which
// finds the same line because key names compare without regard to case.
inline constexpr char SelectHallfameOnRecord[] = "SelectHallfameOnRecord";
inline constexpr char SelectHallFameOnRecordRead[] = "SelectHallFameOnRecord";
inline constexpr char SelectMusic[] = "SelectMusic";
inline constexpr char Volume[] = "Volume";
inline constexpr char VisibleMainBar[] = "VisibleMainBar";
inline constexpr char VisibleColorBar[] = "VisibleColorBar";
inline constexpr char VisibleStatusBar[] = "VisibleStatusBar";
// Our own options (OurSettingsKeys).
inline constexpr char TileSigns[] = "TileSigns";
}  // namespace key

// Typed access through a descriptor: the key's own default when it is missing.
int32_t ReadKeyInt(const TIniFile& ini, const std::string& section, const TKeyInfo& k);
bool ReadKeyBool(const TIniFile& ini, const std::string& section, const TKeyInfo& k);
std::string ReadKeyString(const TIniFile& ini, const std::string& section, const TKeyInfo& k);
// Writes `value` in the key's type ("1"/"0" for booleans, decimal for integers).
bool WriteKeyInt(TIniFile& ini, const std::string& section, const TKeyInfo& k, int32_t value);

}  // namespace cfg
