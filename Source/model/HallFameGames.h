// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame's games: the finished game of every record that enters a table from now on,
// kept beside the tables rather than in them. The settings file's tables stay exactly as they
// are (an older version reads and writes them as ever); the games live in a folder of their own:
//
//   <section>-<id>.morvik   one game record per kept game
//   <section>.index         the table's rows as they were last written here, best first:
//                             morvik-halloffame 1
//                             <id or -> <name>=<score>
//
// A row shows a game only when its line is found in the index, in the same order among the rows;
// a row that an older version added, edited or moved in the meantime has none. No Qt.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct TGameRecord;

class THallFameGames {
 public:
  // Index files larger than this are not read (ten rows take a few hundred bytes).
  static constexpr uint64_t IndexSizeLimit = 64 * 1024;

  explicit THallFameGames(std::filesystem::path folder);

  // The game file of each row of the table `section` holding `records` (the record lines as the
  // table reads, best first); an empty path where the row has none. Reads only.
  std::vector<std::filesystem::path> Games(const std::string& section,
                                           const std::vector<std::string>& records) const;

  // The table was written as `records` with the new record at `row` (from 0; the list may hold
  // more than ten lines, what is beyond the tenth is off the table): `game` is kept for the new
  // row, the other rows keep theirs, and the games of rows that fell off go. The message when
  // the game could not be kept; the table's other games stay.
  std::optional<std::string> Keep(const std::string& section,
                                  const std::vector<std::string>& records, size_t row,
                                  const TGameRecord& game);

  // The table now holds `records`: the games of rows no longer in it go (after a reset, all).
  void Follow(const std::string& section, const std::vector<std::string>& records);

  // A profile rename: every table's rows renamed as the settings file's are, so their games
  // follow them.
  void Rename(const std::string& oldName, const std::string& newName);

  const std::filesystem::path& Folder() const { return folder_; }

 private:
  struct TEntry {
    std::string Id;  // empty: the row has no game
    std::string Line;
  };
  std::vector<TEntry> ReadIndex(const std::string& section) const;
  bool WriteIndex(const std::string& section, const std::vector<TEntry>& entries) const;
  // The index entry of each of the table's rows, or none.
  std::vector<const TEntry*> Match(const std::vector<TEntry>& index,
                                   const std::vector<std::string>& records) const;
  // The table's rows with the games the index gives them, at most ten.
  std::vector<TEntry> Rows(const std::string& section,
                           const std::vector<std::string>& records) const;
  // Removes the section's game files that `entries` do not name.
  void Sweep(const std::string& section, const std::vector<TEntry>& entries) const;
  std::filesystem::path GamePath(const std::string& section, const std::string& id) const;
  std::filesystem::path IndexPath(const std::string& section) const;

  std::filesystem::path folder_;
};
