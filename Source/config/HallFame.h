// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame: one settings-file section per winning criterion and board size, holding
// up to ten records "Place<n>=name;score" and a "Check" line with their checksum.
// In memory a table is a record list: lines "name=score", best first.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TIniBatch;
class TIniFile;
class TMessageService;

inline constexpr uint32_t kHallFameMask = 0x6B1E2D94;
inline constexpr size_t kHallFameSize = 10;
inline constexpr char kHallFameCheckKey[] = "Check";
inline constexpr char kMsgHallFameChecksum[] =
    "Контрольная сумма рекордов не сходится.\r\nРекорды удалены.";
inline constexpr char kMsgHallFameTooMany[] = "Рекордов больше 10.\r\nРекорды удалены.";

// One record line of a table in memory, "name=score": the name ends at the last "=", so a
// hand-made name holding "=" survives. The one place such a line is taken apart or put together.
struct THallFameRecord {
  std::string Name;
  std::string Score;      // the text after the last "=", as stored
  bool HasScore = false;  // the line has an "="

  static THallFameRecord Parse(const std::string& line);
  static std::string Line(const std::string& name, int32_t score);
  // The score as a number; 0 when it is none.
  int32_t Value() const;
};

// "MAP" + victory digit + size digit.
std::string HallFameSection(int victory, int sizeMap);
// Every section starting with "MAP" (exact case) is a hall-of-fame table.
bool IsHallFameSection(const std::string& section);

// Sum of the Windows-1251 byte values of the lines (32-bit, wrapping).
uint32_t RecordSum(const std::vector<std::string>& lines, size_t count);

// Stored key=value lines into record lines: the value "name;score" is split at its last ";".
// "Check" lines stay as they are.
void ReorganizeRecord(std::vector<std::string>& list);

// Checks a list as ReorganizeRecord leaves it, with the "Check" line last. A "Check" value or a
// score that is not a decimal integer fails.
bool CheckCRC(const std::vector<std::string>& list);

// Fills `list` with the table's records; a table that fails its check or holds more than ten
// records is reset (stored as a "Check"-only section) and reported through `messages`.
void ReadHallFame(TIniFile& ini, TMessageService* messages, std::vector<std::string>& list,
                  const std::string& section);

// Why the tables cannot be read from the settings file, as a message naming the file and the
// cause; empty while the store reads the file. A store that once failed to read its file keeps
// to what it knew (see TIniFile::SavingOff): the cause is the file's state now, or, when it
// reads again, that it did not earlier in this run.
std::string HallFameReadProblem(const TIniFile& ini);

// Replaces the section with the first ten records of `list` and their checksum, then flushes.
// False when the store refused the write (it has reported it).
bool WriteHallFame(TIniFile& ini, const std::vector<std::string>& list, const std::string& section);

// A record line after a profile rename: every occurrence of `oldName` inside its name
// (case-sensitive) replaced by `newName`; the score stays.
std::string RenamedRecordLine(const std::string& line, const std::string& oldName,
                              const std::string& newName);

// The tables with the records of a profile rename: every occurrence of `oldName` inside a
// record's name (case-sensitive) replaced by `newName`. Reading them resets, with its message,
// a table that fails its check.
using THallFameTables = std::vector<std::pair<std::string, std::vector<std::string>>>;
THallFameTables RenamedHallFameTables(TIniFile& ini, TMessageService* messages,
                                      const std::string& oldName, const std::string& newName);
// Each table rewritten as WriteHallFame does it, inside a batch (no flush).
void WriteHallFameTables(TIniBatch& batch, const THallFameTables& tables);

// A profile rename: in every table, every occurrence of `oldName` inside a record's name
// (case-sensitive) becomes `newName`; scores stay. Tables failing their check are reset.
void RenameInHallFame(TIniFile& ini, TMessageService* messages, const std::string& oldName,
                      const std::string& newName);
