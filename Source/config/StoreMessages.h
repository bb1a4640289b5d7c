// The texts the settings store shows when the file cannot be read or written: the first line
// says what failed, the next one why, in words a player can act on.
#pragma once

#include <string>

#include "config/SafeFile.h"

enum class TIniNameFault;

// "Unable to write to <file>" and, on the next line, the cause.
std::string WriteRefusalText(const std::string& fileName, const std::string& cause);
// The file could not be read: named with the cause; the game goes on without saving.
std::string ReadFailureText(const std::string& fileName, const std::string& cause);

// The cause of a failed file operation, as a sentence.
std::string FileFaultCause(const TFileOutcome& outcome);
// The cause of a refused name or value: what it is ("section", "key", "value"), the text itself
// (shortened, control characters shown as "?") and what the file cannot hold in it.
std::string NameFaultCause(const std::string& what, const std::string& text, TIniNameFault fault);
