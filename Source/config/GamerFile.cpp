#include "GamerFile.h"

#include "Catalogue.h"
#include "HallFame.h"
#include "IniFile.h"

bool RenameGamerInFile(TIniFile& ini, TMessageService* messages, const std::string& oldName,
                       const std::string& newName) {
  const std::string from = cfg::OptionsSection(oldName), to = cfg::OptionsSection(newName);
  bool ok = ini.Batch([&](TIniBatch& b) {
    b.DeleteKey(cfg::kSectionGamers, oldName);
    b.WriteString(cfg::kSectionGamers, newName, newName);
    auto pairs = b.ReadSectionValues(from);
    b.EraseSection(from);
    for (const std::string& p : pairs) {
      size_t eq = p.find('=');
      b.WriteString(to, p.substr(0, eq), p.substr(eq + 1));
    }
  });
  ini.UpdateFile();
  if (!ok) return false;
  RenameInHallFame(ini, messages, oldName, newName);
  return true;
}
