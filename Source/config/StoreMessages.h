// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the settings store shows when the file cannot be read or written: the first line
// says what failed, the next one why, in words a player can act on.
#pragma once

#include <string>
#include <vector>

#include "config/SafeFile.h"

enum class TIniNameFault;

// "Unable to write to <file>" and, on the next line, the cause.
std::string WriteRefusalText(const std::string& fileName, const std::string& cause);
// The file could not be read: named with the cause; the game goes on without saving.
std::string ReadFailureText(const std::string& fileName, const std::string& cause);

// The hall of fame could not be read from the file: named with the cause; what the table then
// shows.
std::string HallFameUnreadableText(const std::string& fileName, const std::string& cause);

// The cause of a failed file operation, as a sentence.
std::string FileFaultCause(const TFileOutcome& outcome);
// The cause of a refused name or value: what it is ("section", "key", "value"), the text itself
// (shortened, control characters shown as "?") and what the file cannot hold in it.
std::string NameFaultCause(const std::string& what, const std::string& text, TIniNameFault fault);

// Profiles whose names differ only in letter case: the file cannot keep their options and
// statistics apart. Each group is named; the player is asked to rename one of each.
std::string CaseTwinsText(const std::vector<std::vector<std::string>>& groups);
// A listed profile whose name the file cannot hold: why it cannot be played, and whether to
// rename it now (a confirmation).
std::string UnholdableGamerText(const std::string& name);

// The settings file could not be locked: the file, the cause (one or more sentences) and what
// may follow; asked as a confirmation, Yes going on without the lock and No ending the game.
std::string LockProblemText(const std::string& fileName, const std::string& cause);
