#include "config/GamerFile.h"

#include <algorithm>
#include <vector>

#include "config/Catalogue.h"
#include "config/Cp1251.h"
#include "config/HallFame.h"
#include "config/IniFile.h"

namespace {

// The pairs of `from`, in their order, written into `to` (at the end of the file).
void MoveSection(TIniBatch& b, const std::string& from, const std::string& to) {
  auto pairs = b.ReadSectionValues(from);
  b.EraseSection(from);
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

bool RenameGamerInFile(TIniFile& ini, TMessageService* messages, const std::string& oldName,
                       const std::string& newName) {
  // A name the file cannot hold is refused before any table is touched.
  if (!IniCanHoldName(newName))  // the store's refusal of the name, with its message
    return ini.Batch([&](TIniBatch& b) { b.WriteString(cfg::kSectionGamers, newName, newName); });
  THallFameTables tables = RenamedHallFameTables(ini, messages, oldName, newName);
  bool ok = ini.Batch([&](TIniBatch& b) {
    b.DeleteKey(cfg::kSectionGamers, oldName);
    b.WriteString(cfg::kSectionGamers, newName, newName);
    MoveSection(b, cfg::OptionsSection(oldName), cfg::OptionsSection(newName));
    // Statistics left under the new name by someone else must not add to the profile's own.
    const std::string stats = cfg::StatsSection(newName);
    if (!SameTextCI(oldName, newName)) b.EraseSection(stats);
    MoveSection(b, cfg::StatsSection(oldName), stats);
    WriteHallFameTables(b, tables);
  });
  ini.UpdateFile();
  return ok;
}

bool DeleteGamerInFile(TIniFile& ini, const std::string& name) {
  return ini.Batch([&](TIniBatch& b) {
    b.EraseSection(cfg::OptionsSection(name));
    b.EraseSection(cfg::StatsSection(name));
    b.DeleteKey(cfg::kSectionGamers, name);
  });
}
