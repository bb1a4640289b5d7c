#include "GamerFile.h"

#include <algorithm>
#include <vector>

#include "Catalogue.h"
#include "Cp1251.h"
#include "HallFame.h"
#include "IniFile.h"

bool RenameGamerInFile(TIniFile& ini, TMessageService* messages, const std::string& oldName,
                       const std::string& newName) {
  // A name the file cannot hold is refused before any table is touched.
  if (!IniCanHoldName(newName))  // the store's refusal of the name, with its message
    return ini.Batch([&](TIniBatch& b) { b.WriteString(cfg::kSectionGamers, newName, newName); });
  THallFameTables tables = RenamedHallFameTables(ini, messages, oldName, newName);
  const std::string from = cfg::OptionsSection(oldName), to = cfg::OptionsSection(newName);
  bool ok = ini.Batch([&](TIniBatch& b) {
    b.DeleteKey(cfg::kSectionGamers, oldName);
    b.WriteString(cfg::kSectionGamers, newName, newName);
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
    WriteHallFameTables(b, tables);
  });
  ini.UpdateFile();
  return ok;
}
