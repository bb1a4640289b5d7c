#include "model/GameEnd.h"

#include "config/Catalogue.h"
#include "config/IniFile.h"

bool WriteGameEnd(TIniFile& ini, const TStatsGame& game, const THallFameTables& tables) {
  const std::vector<TStatsOutcome> outcomes = GameOutcomes(game);
  if (outcomes.empty() && tables.empty()) return true;
  return ini.Batch([&](TIniBatch& b) {
    for (const TStatsOutcome& o : outcomes) {
      const std::string section = cfg::StatsSection(o.Profile);
      TGamerStats stats = TGamerStats::FromSectionValues(b.ReadSectionValues(section));
      for (const std::string& g : CountGame(stats, game, o))
        for (const auto& [key, value] : stats.Pairs(g)) b.WriteString(section, key, value);
    }
    WriteHallFameTables(b, tables);
  });
}
