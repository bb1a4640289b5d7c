// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a game as it is kept: every person's statistics and the winner's hall-of-fame
// table, written in one replacement of the settings file, so that a program killed meanwhile
// leaves all of it or none of it.
#pragma once

#include "config/GamerStats.h"
#include "config/HallFame.h"

class TIniFile;

// What the recording leaves for the results display and the hall of fame.
struct TGameEndRecord {
  bool RecordAdded = false;  // the winner's result went into the hall-of-fame list
  bool RecordSaved = false;  // ... and its table was written
  int Rank = 0;              // the new record's row (from 1); 0 when appended or none
};

// Counts the game for every person's profile and replaces the given hall-of-fame tables, in one
// write. False when the store refused (it has said why); the file is then unchanged.
bool WriteGameEnd(TIniFile& ini, const TStatsGame& game, const THallFameTables& tables);
