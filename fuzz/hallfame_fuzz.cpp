// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a settings file holding hall-of-fame tables: reading resets what fails,
// and whatever reads back writes and reads again unchanged, without a message.
#include <cstdint>

#include "config/Cp1251.h"
#include "config/HallFame.h"
#include "config/IniFile.h"
#include "config_fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The bytes as loose record lines, for the list operations alone.
  std::vector<std::string> lines;
  std::string text(reinterpret_cast<const char*>(data), size);
  for (size_t start = 0; start <= text.size();) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    lines.push_back(Cp1251ToUtf8(text.substr(start, nl - start)));
    start = nl + 1;
  }
  ReorganizeRecord(lines);
  CheckCRC(lines);

  FuzzPutFile(data, size);
  TCountingMessages msgs;
  TIniFile ini(FuzzFilePath(), &msgs);
  std::vector<std::string> sections = ini.ReadSections();
  sections.push_back("MAP01");
  for (auto& s : sections) {
    if (!IsHallFameSection(s) || IniSectionFault(s) != TIniNameFault::None) continue;
    std::vector<std::string> list;
    ReadHallFame(ini, &msgs, list, s);
    FUZZ_CHECK(list.size() <= kHallFameSize);
    bool holdable = true;
    for (auto& l : list) {
      FUZZ_CHECK(l.find('=') != std::string::npos);
      std::string enc;
      holdable = holdable && Utf8ToCp1251(l, enc) && IniValueFault(l) == TIniNameFault::None;
    }
    if (!holdable) continue;
    int infos = msgs.infos, errors = msgs.errors;
    FUZZ_CHECK(WriteHallFame(ini, list, s));
    std::vector<std::string> again;
    ReadHallFame(ini, &msgs, again, s);
    FUZZ_CHECK(again == list);
    FUZZ_CHECK(msgs.infos == infos && msgs.errors == errors);
  }
  return 0;
}
