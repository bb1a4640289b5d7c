// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/HallFameGames.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "config/HallFame.h"
#include "config/SafeFile.h"
#include "model/GameRecord.h"

namespace fs = std::filesystem;

namespace {

constexpr char IndexHeader[] = "morvik-halloffame 1";
constexpr char NoGame[] = "-";

// Section names become file names: only letters and digits ("MAP01") are taken.
bool FileSafe(const std::string& section) {
  return !section.empty() && section.size() <= 16 &&
         std::all_of(section.begin(), section.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
         });
}

bool IdSafe(const std::string& id) {
  return !id.empty() && id.size() <= 32 && std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
  });
}

}  // namespace

THallFameGames::THallFameGames(fs::path folder) : folder_(std::move(folder)) {}

fs::path THallFameGames::GamePath(const std::string& section, const std::string& id) const {
  return folder_ / (section + "-" + id + ".morvik");
}

fs::path THallFameGames::IndexPath(const std::string& section) const {
  return folder_ / (section + ".index");
}

std::vector<THallFameGames::TEntry> THallFameGames::ReadIndex(const std::string& section) const {
  std::vector<TEntry> entries;
  if (folder_.empty() || !FileSafe(section)) return entries;
  std::string text;
  TFileStamp stamp;
  bool settled = false;
  if (!ReadRegularFile(IndexPath(section).string(), IndexSizeLimit, text, stamp, settled).Ok())
    return entries;
  size_t at = 0;
  bool header = true;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    if (header) {
      // An index of another version is not understood: its rows have no games here.
      if (line != IndexHeader) return {};
      header = false;
      continue;
    }
    const size_t space = line.find(' ');
    if (space == std::string::npos) return {};
    TEntry entry{line.substr(0, space), line.substr(space + 1)};
    if (entry.Id == NoGame)
      entry.Id.clear();
    else if (!IdSafe(entry.Id))
      return {};
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool THallFameGames::WriteIndex(const std::string& section,
                                const std::vector<TEntry>& entries) const {
  std::string text = std::string(IndexHeader) + "\n";
  for (const TEntry& e : entries) text += (e.Id.empty() ? NoGame : e.Id) + " " + e.Line + "\n";
  TFileStamp stamp;
  return ReplaceFile(IndexPath(section).string(), text, true, stamp).Ok();
}

std::vector<const THallFameGames::TEntry*> THallFameGames::Match(
    const std::vector<TEntry>& index, const std::vector<std::string>& records) const {
  // Rows and entries are matched in order: each row takes the next entry with its line, so an
  // entry never jumps back over another. A row nobody wrote here (or wrote differently) takes
  // none and leaves the entries for the rows below.
  std::vector<const TEntry*> matched(records.size(), nullptr);
  size_t next = 0;
  for (size_t r = 0; r < records.size(); ++r) {
    for (size_t e = next; e < index.size(); ++e) {
      if (index[e].Line == records[r]) {
        matched[r] = &index[e];
        next = e + 1;
        break;
      }
    }
  }
  return matched;
}

std::vector<THallFameGames::TEntry> THallFameGames::Rows(
    const std::string& section, const std::vector<std::string>& records) const {
  const std::vector<TEntry> index = ReadIndex(section);
  const std::vector<const TEntry*> matched = Match(index, records);
  std::vector<TEntry> rows;
  for (size_t r = 0; r < records.size() && r < kHallFameSize; ++r)
    rows.push_back({matched[r] ? matched[r]->Id : std::string(), records[r]});
  return rows;
}

std::vector<fs::path> THallFameGames::Games(const std::string& section,
                                            const std::vector<std::string>& records) const {
  std::vector<fs::path> games(records.size());
  const std::vector<TEntry> rows = Rows(section, records);
  for (size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].Id.empty()) continue;
    const fs::path path = GamePath(section, rows[r].Id);
    std::error_code error;
    if (fs::is_regular_file(path, error)) games[r] = path;
  }
  return games;
}

std::optional<std::string> THallFameGames::Keep(const std::string& section,
                                                const std::vector<std::string>& records, size_t row,
                                                const TGameRecord& game) {
  if (folder_.empty() || !FileSafe(section) || row >= records.size()) return std::nullopt;
  // The table before the insertion, with the games its rows had.
  std::vector<std::string> before = records;
  before.erase(before.begin() + ptrdiff_t(row));
  const std::vector<TEntry> index = ReadIndex(section);
  const std::vector<const TEntry*> matched = Match(index, before);
  std::error_code made;
  fs::create_directories(folder_, made);
  std::vector<TEntry> rows;
  std::optional<std::string> error;
  for (size_t r = 0; r < records.size() && r < kHallFameSize; ++r) {
    TEntry entry{std::string(), records[r]};
    if (r == row) {
      // A fresh id: the time in microseconds, stepped on past any file already there.
      auto id = uint64_t(std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count());
      char text[20];
      do {
        std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(id++));
      } while (fs::exists(GamePath(section, text), made));
      error = SaveGameRecord(GamePath(section, text).string(), game);
      if (!error) entry.Id = text;
    } else {
      const TEntry* had = matched[r < row ? r : r - 1];
      if (had) entry.Id = had->Id;
    }
    rows.push_back(std::move(entry));
  }
  if (!WriteIndex(section, rows)) {
    // The old index still names the old games: only the new game goes.
    if (row < rows.size() && !rows[row].Id.empty()) {
      std::error_code removed;
      fs::remove(GamePath(section, rows[row].Id), removed);
    }
    return error ? error : std::optional<std::string>("Игру рекорда не удалось сохранить.");
  }
  Sweep(section, rows);
  return error;
}

void THallFameGames::Follow(const std::string& section, const std::vector<std::string>& records) {
  if (folder_.empty() || !FileSafe(section)) return;
  std::error_code error;
  if (!fs::exists(IndexPath(section), error)) return;
  const std::vector<TEntry> rows = Rows(section, records);
  if (rows.empty()) {
    // A table reset or gone: nothing of it stays.
    Sweep(section, rows);
    fs::remove(IndexPath(section), error);
    return;
  }
  // Should the index not be replaced, the old one still names every game it had.
  if (WriteIndex(section, rows)) Sweep(section, rows);
}

void THallFameGames::Rename(const std::string& oldName, const std::string& newName) {
  std::error_code error;
  for (const fs::directory_entry& file : fs::directory_iterator(folder_, error)) {
    const fs::path& path = file.path();
    if (path.extension() != ".index") continue;
    const std::string section = path.stem().string();
    std::vector<TEntry> entries = ReadIndex(section);
    bool changed = false;
    for (TEntry& e : entries) {
      std::string renamed = RenamedRecordLine(e.Line, oldName, newName);
      changed = changed || renamed != e.Line;
      e.Line = std::move(renamed);
    }
    if (changed) WriteIndex(section, entries);
  }
}

void THallFameGames::Sweep(const std::string& section, const std::vector<TEntry>& entries) const {
  const std::string prefix = section + "-";
  std::error_code error;
  for (const fs::directory_entry& file : fs::directory_iterator(folder_, error)) {
    const std::string name = file.path().filename().string();
    if (!name.starts_with(prefix) || file.path().extension() != ".morvik") continue;
    const std::string id = name.substr(prefix.size(), name.size() - prefix.size() - 7);
    const bool named = std::any_of(entries.begin(), entries.end(),
                                   [&](const TEntry& e) { return !e.Id.empty() && e.Id == id; });
    std::error_code removed;
    if (!named) fs::remove(file.path(), removed);
  }
}
