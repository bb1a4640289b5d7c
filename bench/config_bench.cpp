// The store rewrites the whole file on every write and keeps the parsed text while the file is
// unchanged. These measure the heavy moments on a well-used file (100 profiles with all their
// keys and ten full hall-of-fame tables, about 190 KB) and on a huge one (100,000 profiles,
// about 49 MB); the ones with /sync:0 show what syncing each write to the disk costs.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "config/Catalogue.h"
#include "config/Cp1251.h"
#include "config/GamerFile.h"
#include "config/HallFame.h"
#include "config/IniFile.h"

namespace {

struct TBigFile {
  std::filesystem::path dir;
  std::string path;
  TBigFile() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "morvik-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    dir = tmpl;
    path = (dir / "Morvik.ini").string();
    TIniFile ini(path, nullptr);
    std::vector<std::pair<std::string, std::string>> gamers;
    for (int i = 0; i < 100; ++i) gamers.emplace_back(Name(i), Name(i));
    ini.WriteStrings(cfg::kSectionGamers, gamers);
    ini.WriteString(cfg::kSectionOther, cfg::kKeyLastLogin, Name(0));
    for (int i = 0; i < 100; ++i) {
      std::vector<std::pair<std::string, std::string>> keys;
      for (auto& k : cfg::SettingsKeys()) keys.emplace_back(k.key, std::to_string(k.def));
      for (auto& k : cfg::AllMultiUserKeys())
        keys.emplace_back(k.key, k.type == cfg::TKeyType::String ? Name(i) : "0");
      for (auto& k : cfg::OtherKeys()) keys.emplace_back(k.key, "12345");
      ini.WriteStrings(cfg::OptionsSection(Name(i)), keys);
    }
    for (int v = 0; v < 2; ++v)
      for (int s = 0; s < 5; ++s) {
        std::vector<std::string> records;
        for (int r = 0; r < 10; ++r)
          records.push_back(Name(r * 7 + s) + "=" + std::to_string(990 - r));
        WriteHallFame(ini, records, HallFameSection(v, s));
      }
  }
  ~TBigFile() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  static std::string Name(int i) { return "Игрок" + std::to_string(100 + i); }
};

// 100,000 profiles, each with its settings (written when it was first chosen), one in a hundred
// also with its multi-user setup and closing keys, and ten full hall-of-fame tables: written as
// text in one go (through the store it would take hours).
struct THugeFile {
  static constexpr int kProfiles = 100000;
  std::filesystem::path dir;
  std::string path;
  THugeFile() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "morvik-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    dir = tmpl;
    path = (dir / "Morvik.ini").string();
    std::string text = "[GAMERS]\r\n";
    for (int i = 0; i < kProfiles; ++i) text += Disk(Name(i)) + "=" + Disk(Name(i)) + "\r\n";
    text += "[OTHER]\r\nLastLogin=" + Disk(Name(0)) + "\r\n";
    for (int i = 0; i < kProfiles; ++i) {
      text += "[" + Disk(cfg::OptionsSection(Name(i))) + "]\r\n";
      for (auto& k : cfg::SettingsKeys())
        text += std::string(k.key) + "=" + std::to_string(k.def) + "\r\n";
      if (i % 100 != 0) continue;
      for (auto& k : cfg::AllMultiUserKeys())
        text += std::string(k.key) + "=" +
                (k.type == cfg::TKeyType::String ? Disk(Name(i)) : std::string("0")) + "\r\n";
      for (auto& k : cfg::OtherKeys()) text += std::string(k.key) + "=12345\r\n";
    }
    std::ofstream(path, std::ios::binary) << text;
    TIniFile ini(path, nullptr);
    for (int v = 0; v < 2; ++v)
      for (int s = 0; s < 5; ++s) {
        std::vector<std::string> records;
        for (int r = 0; r < 10; ++r)
          records.push_back(Name(r * 7 + s) + "=" + std::to_string(990 - r));
        WriteHallFame(ini, records, HallFameSection(v, s));
      }
  }
  ~THugeFile() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  static std::string Name(int i) { return "Игрок" + std::to_string(100000 + i); }
  static std::string Disk(const std::string& utf8) {
    std::string out;
    if (!Utf8ToCp1251(utf8, out)) std::abort();
    return out;
  }
};

// Choosing a profile in the profiles dialog: "LastLogin" written, the profile's settings and
// multi-user keys, mode and layout read, then its settings applied (written in one go).
void ChooseProfile(TIniFile& ini, const std::string& name) {
  const std::string sec = cfg::OptionsSection(name);
  ini.WriteString(cfg::kSectionOther, cfg::kKeyLastLogin, name);
  int64_t sum = 0;
  for (auto& k : cfg::SettingsKeys()) sum += ini.ReadInteger(sec, k.key, k.def);
  for (auto& k : cfg::AllMultiUserKeys())
    if (k.type == cfg::TKeyType::String)
      sum += int64_t(ini.ReadString(sec, k.key, "").size());
    else
      sum += ini.ReadInteger(sec, k.key, k.def);
  std::vector<std::pair<std::string, std::string>> pairs;
  for (auto& k : cfg::SettingsKeys()) pairs.emplace_back(k.key, std::to_string(k.def));
  ini.WriteStrings(sec, pairs);
  sum += ini.ReadBool(sec, cfg::kKeyClassicMode, true);
  sum += ini.ReadInteger(sec, cfg::kKeyCodeGame, 0);
  benchmark::DoNotOptimize(sum);
}

void BM_HugeChooseProfile(benchmark::State& state) {
  THugeFile file;
  TIniFile ini(file.path, nullptr);
  ini.SetSyncWrites(state.range(0) != 0);
  ini.ReadSection(cfg::kSectionGamers);  // the profiles dialog lists them first
  // The first write of a run also pays for its buffers; measured apart from the steady state.
  ini.WriteString(cfg::kSectionOther, cfg::kKeyLastLogin, "");
  int round = 0;
  for (auto _ : state) ChooseProfile(ini, THugeFile::Name((round++ * 7919) % THugeFile::kProfiles));
  state.counters["MB"] = double(std::filesystem::file_size(file.path)) / 1e6;
}
BENCHMARK(BM_HugeChooseProfile)
    ->ArgName("sync")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One option changed from the main window (say Ctrl+M): one key written.
void BM_HugeOneOptionWrite(benchmark::State& state) {
  THugeFile file;
  TIniFile ini(file.path, nullptr);
  ini.SetSyncWrites(state.range(0) != 0);
  const std::string sec = cfg::OptionsSection(THugeFile::Name(THugeFile::kProfiles / 2));
  ini.WriteString(cfg::kSectionOther, cfg::kKeyLastLogin, "");  // as choosing the profile did
  int round = 0;
  for (auto _ : state) ini.WriteInteger(sec, cfg::key::Volume, 20 + (++round & 1));
}
BENCHMARK(BM_HugeOneOptionWrite)
    ->ArgName("sync")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A read when nothing changed on disk: a stat and a look-up, no parse.
void BM_HugeReadUnchanged(benchmark::State& state) {
  THugeFile file;
  TIniFile ini(file.path, nullptr);
  const std::string sec = cfg::OptionsSection(THugeFile::Name(THugeFile::kProfiles - 1));
  ini.ReadInteger(sec, cfg::key::Volume, 0);
  for (auto _ : state) benchmark::DoNotOptimize(ini.ReadInteger(sec, cfg::key::Volume, 0));
}
BENCHMARK(BM_HugeReadUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same choice in the well-used file.
void BM_ChooseProfile(benchmark::State& state) {
  TBigFile file;
  TIniFile ini(file.path, nullptr);
  ini.SetSyncWrites(state.range(0) != 0);
  int round = 0;
  for (auto _ : state) ChooseProfile(ini, TBigFile::Name(round++ % 100));
}
BENCHMARK(BM_ChooseProfile)
    ->ArgName("sync")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The settings dialog's OK: all 23 keys, every one of them changed.
void BM_ApplySettings(benchmark::State& state) {
  TBigFile file;
  TIniFile ini(file.path, nullptr);
  const std::string sec = cfg::OptionsSection(TBigFile::Name(50));
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (auto& k : cfg::SettingsKeys()) cfg::WriteKeyInt(ini, sec, k, k.def + (round & 1));
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file.path));
}
BENCHMARK(BM_ApplySettings)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with one key changed: the other 22 writes find their value in place.
void BM_ApplySettingsOneChange(benchmark::State& state) {
  TBigFile file;
  TIniFile ini(file.path, nullptr);
  const std::string sec = cfg::OptionsSection(TBigFile::Name(50));
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (auto& k : cfg::SettingsKeys())
      cfg::WriteKeyInt(ini, sec, k, k.def + (k.key == cfg::key::Volume ? (round & 1) : 0));
  }
}
BENCHMARK(BM_ApplySettingsOneChange)->Unit(benchmark::kMillisecond)->UseRealTime();

// A profile rename, one key at a time as the profiles dialog does it: the "GAMERS" key, the
// options section moved pair by pair to the end, a flush, then every hall-of-fame table
// rewritten with the new name (each with its own flush).
void BM_RenameProfile(benchmark::State& state) {
  TBigFile file;
  TIniFile ini(file.path, nullptr);
  std::string from = TBigFile::Name(7), to = "Переименован";
  for (auto _ : state) {
    auto pairs = ini.ReadSectionValues(cfg::OptionsSection(from));
    ini.DeleteKey(cfg::kSectionGamers, from);
    ini.WriteString(cfg::kSectionGamers, to, to);
    ini.EraseSection(cfg::OptionsSection(from));
    for (auto& p : pairs) {
      size_t eq = p.find('=');
      ini.WriteString(cfg::OptionsSection(to), p.substr(0, eq), p.substr(eq + 1));
    }
    ini.UpdateFile();
    RenameInHallFame(ini, nullptr, from, to);
    std::swap(from, to);
  }
}
BENCHMARK(BM_RenameProfile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same rename through RenameGamerInFile: "GAMERS" and the options section in one
// replacement of the file, then every hall-of-fame table in another.
void BM_RenameProfileBatch(benchmark::State& state) {
  TBigFile file;
  TIniFile ini(file.path, nullptr);
  std::string from = TBigFile::Name(7), to = "Переименован";
  for (auto _ : state) {
    RenameGamerInFile(ini, nullptr, from, to);
    std::swap(from, to);
  }
}
BENCHMARK(BM_RenameProfileBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

// The settings dialog's OK as one batch of 23 writes.
void BM_ApplySettingsBatch(benchmark::State& state) {
  TBigFile file;
  TIniFile ini(file.path, nullptr);
  ini.SetSyncWrites(state.range(0) != 0);
  const std::string sec = cfg::OptionsSection(TBigFile::Name(50));
  int round = 0;
  for (auto _ : state) {
    ++round;
    ini.Batch([&](TIniBatch& b) {
      for (auto& k : cfg::SettingsKeys()) b.WriteInteger(sec, k.key, k.def + (round & 1));
    });
  }
}
BENCHMARK(BM_ApplySettingsBatch)
    ->ArgName("sync")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
