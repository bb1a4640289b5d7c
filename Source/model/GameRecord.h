// SPDX-License-Identifier: GPL-3.0-or-later
// A game as a file (".morvik"): its layout, rules, seats and every move, enough to rebuild any
// position by replaying the moves from the layout number, and how it ended. UTF-8 text, one field
// per line; docs/game-record.md describes it. No Qt.
//
// A record from elsewhere is untrusted: reading it checks every field and replays every move
// with the engine, and any fault comes back as a Russian message naming the file and the line.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/UnitCore.h"

// Records larger than this are refused before they are read.
constexpr uint64_t GameRecordSizeLimit = 1024 * 1024;
// The format version written in the first line; other versions are refused.
constexpr int GameRecordVersion = 1;
// Board sizes a record may name (the settings' own bounds).
constexpr int GameRecordMinSide = 10, GameRecordMaxSide = 255;

struct TRecordSeat {
  TGamerKind Kind = gkNone;
  uint8_t Level = 0;  // computer 1..4, person 0
  std::string Name;   // at most 20 characters
  uint8_t Team = 0;   // 0 none, 1..4
  bool Assisted = false;
  // A finished game's outcome: the place of the seat's line (its team's, in a team) in the
  // results, and its territory's area and points after the distribution.
  uint8_t Place = 0;
  int32_t Area = 0;
  int32_t Points = 0;

  bool operator==(const TRecordSeat&) const = default;
};

struct TRecordMove {
  uint8_t Seat = 0;
  uint8_t Color = 0;
  // The colour was drawn from the program's generator (a seat with nothing to take); replay
  // draws it again, so the generator stays in step with the game.
  bool Random = false;

  bool operator==(const TRecordMove&) const = default;
};

struct TGameRecord {
  int32_t CodeGame = 0;
  uint8_t Width = 50, Height = 25;
  bool VictoryByArea = true;
  bool SkipTurn = true;
  bool AutoTurn = true;
  std::array<TRecordSeat, 5> Seats{};  // [1..4]
  std::vector<TRecordMove> Moves;
  bool Finished = false;

  bool operator==(const TGameRecord&) const = default;
};

// What a read gives: the record, or the message that says why there is none.
struct TRecordRead {
  std::optional<TGameRecord> Record;
  std::string Error;
};

std::string WriteGameRecord(const TGameRecord& record);
// Parses `text` and replays it; `fileName` is what the messages call the file.
TRecordRead ReadGameRecord(std::string_view text, const std::string& fileName);
// Reads the file at `path` (a regular file of at most GameRecordSizeLimit bytes), then as above.
TRecordRead LoadGameRecord(const std::string& path);
// Replaces the file at `path` by the record through a temporary file; the message on failure.
std::optional<std::string> SaveGameRecord(const std::string& path, const TGameRecord& record);

// Places of the seats in the results, as the results dialog ranks them: every seat's score (area
// in tenths of a percent of the board, or points) on its own line or added to its team's, lines
// in descending order, equal numbers keeping seats before teams. [0] unused; 0 for empty seats.
std::array<uint8_t, 5> RecordPlaces(const TGameRecord& record);

// Watching: the record's game after any number of its moves, rebuilt on one machine of its own
// by replay from the layout. Stepping back replays from the start, so memory stays that of one
// board however long the game. The program's generator is left as it was.
class TGameReplay {
 public:
  // `record` must have been read (or made by TGameRecorder).
  explicit TGameReplay(TGameRecord record);
  ~TGameReplay();
  TGameReplay(const TGameReplay&) = delete;
  TGameReplay& operator=(const TGameReplay&) = delete;

  // The position after the first `moves` moves (clamped to the record's length); after the
  // last move of a finished game, the board after the distribution. False, with Error set, if
  // the record does not replay.
  bool Seek(size_t moves);
  size_t Position() const { return position_; }
  size_t Length() const { return record_.Moves.size(); }
  const TGameRecord& Record() const { return record_; }
  // The machine at the current position; its board is absent only after a failed Seek.
  const TMorvikMachine& Machine() const;
  // The generator state at the current position, as the game had it.
  uint32_t Seed() const { return seed_; }
  // True when the current position is the end of the game.
  bool Ended() const;
  std::string Error;

 private:
  struct TState;
  TGameRecord record_;
  std::unique_ptr<TState> state_;
  size_t position_ = 0;
  uint32_t seed_ = 0;
};

// Continuing an unfinished game: sets `machine` up for the record's game (layout, size, seats)
// and replays every move on it, with the machine's handlers and services kept quiet meanwhile
// (its OnMakeMove tap sees every move, so a recorder picks the game up). Afterwards the game runs
// with the seat to move current and the program's generator exactly as if the game had never
// stopped; the handlers are told every colour once, and the caller redraws the board and runs
// RunStartLoop. The rules of the record should be in force in the machine's services. A message
// when it cannot be continued (then no game runs). A game running on the machine ends first.
std::optional<std::string> ContinueGame(TMorvikMachine& machine, const TGameRecord& record);

// Follows the machine's game move by move through its OnMakeMove tap (a tap already set is still
// called) and makes its record on demand; it notes which moves drew from the generator. Made
// before the game starts, it sees every move; a take-back shortens its list with the machine's.
class TGameRecorder {
 public:
  explicit TGameRecorder(TMorvikMachine& machine);
  ~TGameRecorder();
  TGameRecorder(const TGameRecorder&) = delete;
  TGameRecorder& operator=(const TGameRecorder&) = delete;

  // Right after StartGame or ContinueGame: the game's layout, size and seats are taken from the
  // machine, the rules from the arguments (moves the machine has made so far are kept).
  void GameStarted(bool victoryByArea, bool skipTurn, bool autoTurn);
  // A hint or a take-back helped this seat.
  void MarkAssisted(int seat);
  // The game so far. With `finished` the machine's board must be the final one (the results are
  // being shown): the places and scores are taken from it.
  TGameRecord Record(bool finished) const;

 private:
  void Moved(uint8_t seat, uint8_t color);
  void Snapshot();
  struct TTap {
    TRecordMove Move;
    uint32_t Seed;  // the generator when MakeMove began
  };
  TMorvikMachine& machine_;
  std::function<void(uint8_t, uint8_t)> previous_;
  TGameRecord game_;
  uint32_t startSeed_ = 0;  // the generator right after the board was generated
  std::vector<TTap> taps_;
};
