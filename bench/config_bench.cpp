// The store reads and rewrites the whole file on every operation. These measure the two heavy
// moments on a well-used file: 100 profiles with all their keys and ten full hall-of-fame
// tables (about 190 KB).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "Catalogue.h"
#include "GamerFile.h"
#include "HallFame.h"
#include "IniFile.h"

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
  const std::string sec = cfg::OptionsSection(TBigFile::Name(50));
  int round = 0;
  for (auto _ : state) {
    ++round;
    ini.Batch([&](TIniBatch& b) {
      for (auto& k : cfg::SettingsKeys()) b.WriteInteger(sec, k.key, k.def + (round & 1));
    });
  }
}
BENCHMARK(BM_ApplySettingsBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
