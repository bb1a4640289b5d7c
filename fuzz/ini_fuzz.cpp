// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a settings file: every read must cope, and writes must change exactly the
// key they name and nothing else.
#include <algorithm>
#include <cstdint>
#include <map>

#include "config/Cp1251.h"
#include "config/IniFile.h"
#include "config_fuzz_file.h"

namespace {

using TView = std::map<std::string, std::vector<std::string>>;

// What the reads see: each section's pairs, keyed by the folded name.
TView Snapshot(const TIniFile& ini, std::vector<std::string>& sections) {
  TView v;
  sections = ini.ReadSections();
  for (auto& s : sections) {
    std::string enc;
    if (!Utf8ToCp1251(s, enc)) continue;
    v[Cp1251FoldString(enc)] = ini.ReadSectionValues(s);
  }
  return v;
}

std::string Fold(const std::string& s) {
  std::string enc;
  return Utf8ToCp1251(s, enc) ? Cp1251FoldString(enc) : s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzPutFile(data, size);
  TCountingMessages msgs;
  TIniFile ini(FuzzFilePath(), &msgs);

  int lookups = 0;
  std::vector<std::string> sections;
  TView before = Snapshot(ini, sections);
  for (auto& s : sections) {
    auto keys = ini.ReadSection(s);
    auto pairs = ini.ReadSectionValues(s);
    FUZZ_CHECK(keys.size() <= pairs.size());
    FUZZ_CHECK(ini.SectionExists(s) == !pairs.empty());
    std::vector<std::string> seen;
    for (auto& p : pairs) {
      size_t eq = p.find('=');
      FUZZ_CHECK(eq != std::string::npos && eq > 0);
      std::string key = p.substr(0, eq), enc;
      if (!Utf8ToCp1251(key, enc) || !Utf8ToCp1251(s, enc)) continue;
      // A read sees the first line of a repeated key.
      std::string folded = Fold(key);
      if (std::find(seen.begin(), seen.end(), folded) != seen.end()) continue;
      if (++lookups > 40) break;  // each lookup reads the whole file: keep runs quick
      seen.push_back(folded);
      FUZZ_CHECK(ini.ReadString(s, key, "\x01") == p.substr(eq + 1));
      ini.ReadInteger(s, key, 0);
    }
  }

  // A write into the first section (or a new one) changes that key and nothing else.
  std::string target = "FUZZ";
  if (!sections.empty() && IniSectionFault(sections[0]) == TIniNameFault::None)
    target = sections[0];
  std::string value =
      size > 0 ? std::string(" \"v") + static_cast<char>('a' + data[0] % 26) + "\"" : "";
  FUZZ_CHECK(ini.WriteString(target, "FuzzKey", value));
  FUZZ_CHECK(msgs.errors == 0);
  FUZZ_CHECK(ini.ReadString(target, "fuzzkey", "\x01") == value);
  std::vector<std::string> after, fresh;
  TView now = Snapshot(ini, after);
  FUZZ_CHECK(after.size() >= sections.size());
  // The text the store keeps after its write is the text on disk.
  FUZZ_CHECK(Snapshot(TIniFile(FuzzFilePath(), nullptr), fresh) == now && fresh == after);
  for (auto& [name, pairs] : before) {
    if (name == Fold(target)) continue;
    FUZZ_CHECK(now[name] == pairs);
  }
  ini.DeleteKey(target, "FUZZKEY");
  FUZZ_CHECK(ini.ReadString(target, "FuzzKey", "\x01") == "\x01");

  // Erasing a section leaves the others as they were.
  if (!sections.empty()) {
    FUZZ_CHECK(ini.EraseSection(sections.back()));
    FUZZ_CHECK(!ini.SectionExists(sections.back()));
    TView rest = Snapshot(ini, after);
    for (auto& [name, pairs] : rest)
      if (name != Fold(target)) FUZZ_CHECK(before[name] == pairs);
  }
  return 0;
}
