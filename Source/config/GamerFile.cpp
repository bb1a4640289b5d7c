// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/GamerFile.h"

#include <algorithm>
#include <vector>

#include "config/Catalogue.h"
#include "config/Cp1251.h"
#include "config/HallFame.h"
#include "config/IniFile.h"

namespace {

// Exact when another profile's name differs from `name` only in letter case: its line and its
// sections must not be taken for this one's.
TIniCase MatchFor(const TIniBatch& b, const std::string& name) {
  for (const std::string& other : b.ReadKeySpellings(cfg::kSectionGamers))
    if (other != name && SameTextCI(other, name)) return TIniCase::Exact;
  return TIniCase::Any;
}

// The pairs of `from`, in their order, written into `to` (at the end of the file).
void MoveSection(TIniBatch& b, const std::string& from, const std::string& to, TIniCase match) {
  auto pairs = b.ReadSectionValues(from, match);
  b.EraseSection(from, match);
  std::vector<std::string> moved;
  for (const std::string& p : pairs) {
    // A repeated key moves with the value reads saw: the first one.
    std::string key = p.substr(0, p.find('='));
    if (std::any_of(moved.begin(), moved.end(),
                    [&](const std::string& k) { return SameTextCI(k, key); }))
      continue;
    moved.push_back(key);
    b.WriteString(to, key, p.substr(key.size() + 1));
  }
}

}  // namespace

std::vector<std::string> ReadGamerNames(const TIniFile& ini) {
  return ini.ReadKeySpellings(cfg::kSectionGamers);
}

std::vector<std::vector<std::string>> GamerCaseTwins(const TIniFile& ini) {
  std::vector<std::vector<std::string>> groups;
  for (const std::string& name : ReadGamerNames(ini)) {
    auto same = [&](const std::vector<std::string>& g) { return SameTextCI(g.front(), name); };
    auto it = std::find_if(groups.begin(), groups.end(), same);
    if (it == groups.end())
      groups.push_back({name});
    else
      it->push_back(name);
  }
  std::erase_if(groups, [](const std::vector<std::string>& g) { return g.size() < 2; });
  return groups;
}

bool GamerNameHoldable(const std::string& name) {
  return IniCanHoldName(name) &&
         IniSectionFault(cfg::OptionsSection(name)) == TIniNameFault::None &&
         IniSectionFault(cfg::StatsSection(name)) == TIniNameFault::None;
}

bool RenameGamerInFile(TIniFile& ini, TMessageService* messages, const std::string& oldName,
                       const std::string& newName) {
  // A name the file cannot hold is refused before any table is touched.
  if (!IniCanHoldName(newName))  // the store's refusal of the name, with its message
    return ini.Batch([&](TIniBatch& b) { b.WriteString(cfg::kSectionGamers, newName, newName); });
  THallFameTables tables = RenamedHallFameTables(ini, messages, oldName, newName);
  bool ok = ini.Batch([&](TIniBatch& b) {
    const TIniCase match = MatchFor(b, oldName);
    b.DeleteKey(cfg::kSectionGamers, oldName, match);
    b.WriteString(cfg::kSectionGamers, newName, newName);
    MoveSection(b, cfg::OptionsSection(oldName), cfg::OptionsSection(newName), match);
    // Statistics left under the new name by someone else must not add to the profile's own.
    const std::string stats = cfg::StatsSection(newName);
    if (!SameTextCI(oldName, newName)) b.EraseSection(stats);
    MoveSection(b, cfg::StatsSection(oldName), stats, match);
    WriteHallFameTables(b, tables);
  });
  ini.UpdateFile();
  return ok;
}

bool DeleteGamerInFile(TIniFile& ini, const std::string& name) {
  return ini.Batch([&](TIniBatch& b) {
    const TIniCase match = MatchFor(b, name);
    b.EraseSection(cfg::OptionsSection(name), match);
    b.EraseSection(cfg::StatsSection(name), match);
    b.DeleteKey(cfg::kSectionGamers, name, match);
  });
}
