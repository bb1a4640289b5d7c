// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/HallFame.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "config/Cp1251.h"
#include "config/IniFile.h"
#include "config/MessageService.h"
#include "config/SafeFile.h"
#include "config/StoreMessages.h"

namespace {

bool ParseDecimal(const std::string& s, uint64_t limit, uint64_t& out) {
  if (s.empty() || s.size() > 20) return false;
  uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > limit) return false;
  }
  out = v;
  return true;
}

std::string KeyOf(const std::string& line) {
  return line.substr(0, line.find('='));
}

bool IsCheckLine(const std::string& line) {
  return SameTextCI(KeyOf(line), kHallFameCheckKey);
}

// The score of a record line: the text after its last "=".
bool ScoreOf(const std::string& line, uint64_t& score) {
  const THallFameRecord r = THallFameRecord::Parse(line);
  return r.HasScore && ParseDecimal(r.Score, INT32_MAX, score);
}

}  // namespace

THallFameRecord THallFameRecord::Parse(const std::string& line) {
  THallFameRecord r;
  const size_t eq = line.rfind('=');
  r.HasScore = eq != std::string::npos;
  r.Name = line.substr(0, eq);
  if (r.HasScore) r.Score = line.substr(eq + 1);
  return r;
}

std::string THallFameRecord::Line(const std::string& name, int32_t score) {
  return name + "=" + std::to_string(score);
}

int32_t THallFameRecord::Value() const {
  int32_t value = 0;
  std::from_chars(Score.data(), Score.data() + Score.size(), value);
  return value;
}

std::string HallFameSection(int victory, int sizeMap) {
  return "MAP" + std::to_string(victory) + std::to_string(sizeMap);
}

bool IsHallFameSection(const std::string& section) {
  return section.starts_with("MAP");
}

uint32_t RecordSum(const std::vector<std::string>& lines, size_t count) {
  uint32_t sum = 0;
  for (size_t i = 0; i < count && i < lines.size(); ++i) {
    std::string bytes;
    if (!Utf8ToCp1251(lines[i], bytes)) bytes = lines[i];
    for (unsigned char c : bytes) sum += c;
  }
  return sum;
}

void ReorganizeRecord(std::vector<std::string>& list) {
  for (std::string& line : list) {
    if (IsCheckLine(line)) continue;
    size_t eq = line.find('=');
    std::string value = eq == std::string::npos ? line : line.substr(eq + 1);
    size_t semi = value.rfind(';');
    // A value without ";" has no score; the empty score then fails the check.
    if (semi == std::string::npos)
      line = value + "=";
    else
      line = value.substr(0, semi) + "=" + value.substr(semi + 1);
  }
}

bool CheckCRC(const std::vector<std::string>& list) {
  if (list.empty()) return true;
  const std::string& last = list.back();
  if (!IsCheckLine(last)) return false;
  uint64_t check;
  if (!ParseDecimal(last.substr(last.find('=') + 1), UINT32_MAX, check)) return false;
  uint32_t expected = static_cast<uint32_t>(check) ^ kHallFameMask;
  if (expected > INT32_MAX) return false;
  for (size_t i = 0; i + 1 < list.size(); ++i) {
    uint64_t score;
    if (!ScoreOf(list[i], score)) return false;
  }
  return RecordSum(list, list.size() - 1) == expected;
}

void ReadHallFame(TIniFile& ini, TMessageService* messages, std::vector<std::string>& list,
                  const std::string& section) {
  list.clear();
  if (!ini.SectionExists(section)) return;
  list = ini.ReadSectionValues(section);
  ReorganizeRecord(list);
  const char* reset = nullptr;
  if (!CheckCRC(list))
    reset = kMsgHallFameChecksum;
  else if (list.size() > kHallFameSize + 1)
    reset = kMsgHallFameTooMany;
  if (reset) {
    list.clear();
    WriteHallFame(ini, list, section);
    if (messages) messages->Information(reset);
    return;
  }
  if (!list.empty()) list.pop_back();
}

std::string HallFameReadProblem(const TIniFile& ini) {
  if (!ini.SavingOff()) return {};
  std::string bytes;
  TFileStamp stamp;
  bool settled = false;
  const TFileOutcome now =
      ReadRegularFile(ini.FileName(), TIniFile::kMaxFileSize, bytes, stamp, settled);
  const std::string cause =
      now.Ok() ? "Файл не читался, когда игра обратилась к нему; чтобы прочитать его снова, "
                 "перезапустите игру."
               : FileFaultCause(now);
  return HallFameUnreadableText(ini.FileName(), cause);
}

namespace {

// The stored pairs of a table: Place1..n with name;score, then Check.
std::vector<std::pair<std::string, std::string>> TablePairs(const std::vector<std::string>& list) {
  size_t n = std::min(list.size(), kHallFameSize);
  std::vector<std::pair<std::string, std::string>> pairs;
  pairs.reserve(n + 1);
  for (size_t i = 0; i < n; ++i) {
    const THallFameRecord r = THallFameRecord::Parse(list[i]);
    std::string value = r.Name + ";" + r.Score;
    pairs.emplace_back("Place" + std::to_string(i + 1), value);
  }
  pairs.emplace_back(kHallFameCheckKey, std::to_string(RecordSum(list, n) ^ kHallFameMask));
  return pairs;
}

}  // namespace

bool WriteHallFame(TIniFile& ini, const std::vector<std::string>& list,
                   const std::string& section) {
  // One replacement of the file: erasing and rewriting the table cannot stop half-way.
  bool ok = ini.ReplaceSection(section, TablePairs(list));
  ini.UpdateFile();
  return ok;
}

std::string RenamedRecordLine(const std::string& line, const std::string& oldName,
                              const std::string& newName) {
  THallFameRecord r = THallFameRecord::Parse(line);
  if (!r.HasScore || oldName.empty()) return line;
  for (size_t at = r.Name.find(oldName); at != std::string::npos;
       at = r.Name.find(oldName, at + newName.size())) {
    r.Name.replace(at, oldName.size(), newName);
  }
  return r.Name + "=" + r.Score;
}

THallFameTables RenamedHallFameTables(TIniFile& ini, TMessageService* messages,
                                      const std::string& oldName, const std::string& newName) {
  THallFameTables tables;
  for (const std::string& section : ini.ReadSections()) {
    if (!IsHallFameSection(section)) continue;
    std::vector<std::string> list;
    ReadHallFame(ini, messages, list, section);
    for (std::string& line : list) line = RenamedRecordLine(line, oldName, newName);
    tables.emplace_back(section, std::move(list));
  }
  return tables;
}

void WriteHallFameTables(TIniBatch& batch, const THallFameTables& tables) {
  for (auto& [section, list] : tables) {
    batch.EraseSection(section);
    for (auto& [k, v] : TablePairs(list)) batch.WriteString(section, k, v);
  }
}

void RenameInHallFame(TIniFile& ini, TMessageService* messages, const std::string& oldName,
                      const std::string& newName) {
  THallFameTables tables = RenamedHallFameTables(ini, messages, oldName, newName);
  // All tables in one replacement of the file.
  ini.Batch([&](TIniBatch& b) { WriteHallFameTables(b, tables); });
  ini.UpdateFile();
}
