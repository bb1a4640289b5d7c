// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/GameEnd.h"

#include "config/Catalogue.h"
#include "config/IniFile.h"

bool WriteGameEnd(TIniFile& ini, const TStatsGame& game, const THallFameTables& tables) {
  return ini.Batch([&](TIniBatch& b) {
    RecordGameStats(b, game);
    WriteHallFameTables(b, tables);
  });
}
