// SPDX-License-Identifier: GPL-3.0-or-later
// The game engine: board generation, islands, captures, the game machine and the computer
// players. Standard library only; it reaches the window through TWindowServices and two
// notifications, so it runs just as well headless (arena, benchmarks, tests).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Program-wide pseudo-random generator (one 32-bit state, shared by board generation, random
// colours of the computer players and new layout numbers).

// Random(n): state := state * 134775813 + 1 (mod 2^32); result := high 32 bits of state * n.
uint32_t Random(uint32_t n);
// Re-seeds the state from the clock (ReadClockCounter).
void Randomize();
uint32_t GetRandSeed();
void SetRandSeed(uint32_t seed);
// The one place the clock is read for seeding; tests may replace it.
extern std::function<uint32_t()> ReadClockCounter;

// ---------------------------------------------------------------------------------------------
// Board data.

constexpr uint16_t NoIsland = 0xFFFF;  // tile not yet assigned / removed neighbour entry
constexpr int ColorCount = 7;          // playable colours 1..7; 0 = start tile / no colour yet

struct TTile {
  uint8_t Color = 0;
  uint16_t Island = NoIsland;
};

using TTileMap = std::vector<std::vector<TTile>>;  // [row][column]

struct TTilePos {
  uint8_t Col = 0;
  uint8_t Row = 0;
};

// Engine-private look-up index of a long Neighbours list (a territory's): Pos[m] is 1 + the
// position of the live entry equal to m, or 0; Live holds the live entries in no particular
// order (plus removed ones until Stale says compacting is worth it). Absent while the list is
// short, which keeps the many small islands small; copied deeply with its island.
struct TNeighbourIndex {
  struct TData {
    std::vector<uint32_t> Pos;
    std::vector<uint16_t> Live;
    uint32_t Stale = 0;
  };
  std::unique_ptr<TData> Data;

  TNeighbourIndex() = default;
  TNeighbourIndex(const TNeighbourIndex& o)
      : Data(o.Data ? std::make_unique<TData>(*o.Data) : nullptr) {}
  TNeighbourIndex& operator=(const TNeighbourIndex& o) {
    if (this != &o) Data = o.Data ? std::make_unique<TData>(*o.Data) : nullptr;
    return *this;
  }
  TNeighbourIndex(TNeighbourIndex&&) noexcept = default;
  TNeighbourIndex& operator=(TNeighbourIndex&&) noexcept = default;
};

struct TIsland {
  uint8_t Color = 0;
  std::vector<TTilePos> Tiles;       // in the order the tiles joined the island
  std::vector<uint16_t> Neighbours;  // NoIsland marks a removed entry, kept in place
  bool Merged = false;
  // Kept only by the engine's own list operations; readers use the four fields above.
  TNeighbourIndex Index;
};

using TIslands = std::vector<TIsland>;

struct TGamerScore {
  int32_t Points = 0;
  uint16_t Area = 0;
};

struct TMap {
  TTileMap Tiles;
  TIslands Islands;
  std::array<TGamerScore, 5> Scores{};  // indexed by seat 1..4; [0] unused
};

enum TGamerKind : uint8_t { gkNone = 0, gkComputer = 1, gkHuman = 2 };

struct TGamer {
  TGamerKind Kind = gkNone;
  uint8_t Level = 0;  // 1 easy, 2 moderate, 3 hard, 4 master; 0 for a person
  std::string Name;   // at most 20 characters (UTF-8 text, cut by characters)
  uint8_t Team = 0;   // 0 none, 1..4
  uint8_t Col = 0;
  uint8_t Row = 0;
};

// What the master level would play for a seat: its colour and the islands that colour takes
// now, in the order of the territory's neighbour list. Color 0: no game to advise on.
struct THint {
  uint8_t Color = 0;
  std::vector<uint16_t> Islands;
};

// The four looks of a tile, and the hint's mark over the selected look (drawn, never stored).
enum TTileState : uint8_t {
  tsNeutral = 0,
  tsOccupied = 1,
  tsSelected = 2,
  tsPressed = 3,
  tsHinted = 4
};
enum TTileStyle : uint8_t { stFlat = 0, stConcave = 1, stConvex = 2, stCarved = 3 };

// Internal consistency failure of the engine (capture with no game, a computer seat of level 0).
class EUnitCoreError : public std::logic_error {
 public:
  explicit EUnitCoreError(const std::string& what) : std::logic_error("UnitCore: " + what) {}
};

// ---------------------------------------------------------------------------------------------
// What the engine needs of the window. The main window implements it; TNullWindowServices
// serves headless runs.

class TWindowServices {
 public:
  virtual ~TWindowServices() = default;

  virtual void SetStatus(const std::string& text) = 0;
  // Clear the first seat's score display and show it at once.
  virtual void ClearGamerPanel() = 0;
  // The progress of long work (board generation, a computer's move).
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetProgressMax(int maximum) = 0;
  virtual int GetProgressMax() = 0;
  virtual void StepProgress() = 0;
  virtual void RepaintMap() = 0;
  virtual void ShowGamerArea(int seat) = 0;
  virtual void DrawMap(bool showProgress) = 0;
  virtual void DrawIsland(uint16_t island, TTileState state, bool framed) = 0;
  // End of a game: results dialog (modal), its RecordAdded flag, hall of fame (modal), and the
  // window's StopGame for an end of game (noAutostart = false).
  virtual void ShowResults() = 0;
  virtual bool RecordAdded() = 0;
  virtual void ShowHallOfFame() = 0;
  virtual void StopGameAtEnd() = 0;
  // The options in force.
  virtual bool SkipTurn() = 0;          // a person without a capture skips the turn
  virtual bool AutoTurnOption() = 0;    // a seat with one possible colour moves by itself
  virtual bool HallFameOnRecord() = 0;  // the hall of fame opens after a record
  virtual bool VictoryByArea() = 0;
  // Error box with an OK button (start refusals).
  virtual void Error(const std::string& text) = 0;
};

// Does nothing; options as configured in its public fields.
class TMorvikMachine;
class TNullWindowServices : public TWindowServices {
 public:
  bool skipTurn = true, autoTurn = true, hallFameOnRecord = true, victoryByArea = true;
  int progressMax = 0;
  std::vector<std::string> errors;
  // When set, the end of a game ends it on this machine, as the window's StopGame would;
  // the machine's own headless services point at the machine.
  TMorvikMachine* machine = nullptr;

  void SetStatus(const std::string&) override {}
  void ClearGamerPanel() override {}
  void SetProgressPosition(int) override {}
  void SetProgressMax(int m) override { progressMax = m; }
  int GetProgressMax() override { return progressMax; }
  void StepProgress() override {}
  void RepaintMap() override {}
  void ShowGamerArea(int) override {}
  void DrawMap(bool) override {}
  void DrawIsland(uint16_t, TTileState, bool) override {}
  void ShowResults() override {}
  bool RecordAdded() override { return false; }
  void ShowHallOfFame() override {}
  void StopGameAtEnd() override;
  bool SkipTurn() override { return skipTurn; }
  bool AutoTurnOption() override { return autoTurn; }
  bool HallFameOnRecord() override { return hallFameOnRecord; }
  bool VictoryByArea() override { return victoryByArea; }
  void Error(const std::string& text) override { errors.push_back(text); }
};

// ---------------------------------------------------------------------------------------------
// A master move's search, taken out of the machine: TMorvikMachine::PrepareMaster reads the
// position at once, and the search then works on its own copy of it, so it may run on another
// thread while the machine and its board go on (or go away). Think answers what BrainMaster
// would answer in that position; Cancel (any thread) makes a running Think return soon with an
// answer that must be thrown away.

class TMasterThought {
 public:
  struct TData;  // the position and the search's bounds (UnitCoreMaster.cpp)
  explicit TMasterThought(std::unique_ptr<TData> data);
  ~TMasterThought();
  TMasterThought(const TMasterThought&) = delete;
  TMasterThought& operator=(const TMasterThought&) = delete;

  uint8_t Think();  // once
  // The colour the search expects from `seat` in the prepared position if that seat were a
  // computer of a classic `level` (1 to 3) to move: its level's own choice, or the only colour
  // that captures. How the master foresees such rivals; the machine's own brains must agree.
  uint8_t Foresee(int seat, int level) const;
  void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
  bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
  // Positions looked at so far, out of at most Budget(): how far the search has got.
  uint32_t Positions() const { return positions_.load(std::memory_order_relaxed); }
  uint32_t Budget() const;

 private:
  std::unique_ptr<TData> data_;
  std::atomic<uint32_t> positions_{0};
  std::atomic<bool> cancelled_{false};
};

// ---------------------------------------------------------------------------------------------
// The game machine.

class TMorvikMachine {
 public:
  explicit TMorvikMachine(TWindowServices* services = nullptr);
  ~TMorvikMachine();
  TMorvikMachine(const TMorvikMachine&) = delete;
  TMorvikMachine& operator=(const TMorvikMachine&) = delete;

  // nullptr selects the machine's own headless services.
  void SetServices(TWindowServices* services);
  TWindowServices& Services() { return *services_; }

  // Fields, read directly by the window and the dialogs.
  std::unique_ptr<TMap> Map;  // the live board; absent between games
  int32_t CodeGame = 0;
  std::array<TGamer, 5> Gamers{};  // seats 1..4; [0] unused
  uint8_t Width = 0;
  uint8_t Height = 0;
  uint8_t SizeTile = 0;
  bool Active = false;
  uint8_t CurrentGamer = 0;
  std::array<bool, 8> FreeColors{};  // [0] always false
  std::function<void(uint8_t)> OnChangeStateColor;
  std::function<void(uint8_t)> OnChangeGamer;
  // Tap for headless tools: called at the start of every MakeMove with the seat and colour.
  std::function<void(uint8_t seat, uint8_t color)> OnMakeMove;
  std::array<TTileStyle, 4> TileStyles{};
  bool NewGameStarted = false;
  // True only while a turn loop has left to wait for a person's colour; a colour choice is
  // taken only then (see TakeHumanColor).
  bool AwaitingHuman = false;
  // A hint or a take-back was used in the current game; cleared by StartGame.
  bool Assisted = false;
  // ... and by which seats: the one a hint was for, the one a take-back returned to.
  std::array<bool, 5> AssistedSeats{};

  // Configuration.
  void SetCodeGame(int32_t code);
  void SetGamer(int seat, TGamerKind kind, uint8_t level, const std::string& name, uint8_t team);
  void SetSizeMap(uint8_t width, uint8_t height);
  void SetSizeTile(uint8_t size);
  void SetTileStyle(int state, TTileStyle style);

  // Game.
  void StartGame();
  void NextGamer();
  void MakeMove(uint8_t color);
  bool AutoTurn();
  void ComputerTurn();
  void EndGame();
  bool TestGameOver();

  // The turn cycle the window runs. RunStartLoop: after StartGame, move until a person has to
  // choose. TakeHumanColor: the person's choice (NewGameStarted := false, MakeMove, then the
  // loop); ignored (returns false) unless AwaitingHuman.
  void RunStartLoop();
  bool TakeHumanColor(uint8_t color);

  // Help for a player who is learning (UnitCoreCoach.cpp).
  // Hint: BrainMaster's answer for the seat in the current position. Nothing moves: board,
  // scores, free colours, the current seat, the generator and the progress bar stay as they
  // are; only Assisted is set. With ThinkMaster set, the search runs through it (the window's
  // events go on) and an answer whose position has changed meanwhile is none (colour 0).
  THint Hint(uint8_t seat);
  // TakeBack: the game returns exactly to the moment before the person's last colour choice,
  // waiting for that person again. Only in a game with exactly one person, while it waits for
  // that person, after at least one choice. Notifies every colour through OnChangeStateColor;
  // redrawing the board and the score panels is the caller's.
  bool CanTakeBack() const;
  // A hint is given only while the game waits for a person's choice.
  bool CanHint() const;
  bool TakeBack();
  // Moves made in the current game so far (a take-back shortens it; 0 between games).
  size_t MovesPlayed() const { return record_.Moves.size(); }
  // Whether the seat has chosen a colour itself in the current game (a take-back undoes one).
  bool SeatHasChosen(uint8_t seat) const;

  // Board.
  void GenerateTiles();
  void GenerateIslands();
  void CopyMap(TMap& destination, const TMap& source);
  void FreeMap(TMap& map);
  void Capture(TMap& map, uint8_t color, bool all);
  static uint32_t Square(uint32_t count);  // wide: no 16-bit wrap-around
  uint16_t GetGamerIsland(const TMap& map, int seat) const;
  uint8_t GetGamerColor(const TMap& map) const;
  bool IsGamerIsland(const TMap& map, int island) const;
  bool IsNeighbourIsland(const TMap& map, int island) const;

  // Colour choices.
  uint8_t RandomColor();
  uint8_t BrainEasy();
  uint8_t BrainModerate();
  uint8_t BrainHard();
  // Level 4, "Мастер": a look-ahead over every seat's replies (UnitCoreMaster.cpp), bounded by
  // a position budget that depends only on the board, never on the clock.
  uint8_t BrainMaster();
  // BrainMaster in two halves: the position now, the search whenever (see TMasterThought).
  std::shared_ptr<TMasterThought> PrepareMaster();
  // Set by a window that keeps handling its events while the master thinks: runs the thought
  // away from the window's thread and returns its colour, or 0 once `wanted` has turned false
  // (the game was stopped or replaced meanwhile). Unset, ComputerTurn thinks in place.
  std::function<uint8_t(const std::shared_ptr<TMasterThought>& thought,
                        const std::function<bool()>& wanted)>
      ThinkMaster;
  static constexpr uint64_t MasterWorkBudget = 2'000'000;  // island visits per move
  static constexpr uint32_t MasterMinPositions = 60, MasterMaxPositions = 2500;
  static uint32_t MasterPositionBudget(size_t liveIslands);
  uint32_t MasterPositions = 0;  // positions the last BrainMaster looked at

 private:
  // A master move through ThinkMaster for the game numbered `serial`; 0 when it was given up.
  uint8_t MasterElsewhere(uint32_t serial);
  // Territory of every occupied seat (NoIsland for empty seats), taken from a board.
  std::array<uint16_t, 5> Territories(const TMap& map) const;
  // Breadth-first ring distances over free islands from the current territory, the base of
  // the copy-free computer players (UnitCoreBrain.cpp).
  void RingLevels(const TMap& map, uint16_t territory, int maxLevel, int stopIsland);

  // StartGame's board: tiles, home tiles, first scores and seat, islands (built over the
  // entries of `storage`, when given, to reuse their memory).
  void BuildBoard(TIslands storage = {});

  TWindowServices* services_;
  std::unique_ptr<TNullWindowServices> nullServices_;
  bool hinting_ = false;     // a hint is being thought out through ThinkMaster
  uint32_t gameSerial_ = 0;  // bumped by every StartGame: loops notice a game started meanwhile

  // The current game as its layout and moves, enough to rebuild any earlier position: the
  // configuration it started with, every MakeMove, and each colour choice of a person with
  // what the cycle looked like just before it.
  struct TPlayedMove {
    uint8_t Seat, Color;
  };
  struct TChoice {
    uint32_t Move;  // index of the chosen move in Moves
    uint32_t Seed;  // generator state before the choice
    uint8_t Seat;
    bool NewGameStarted;
  };
  struct TGameRecord {
    int32_t CodeGame = 0;
    uint8_t Width = 0, Height = 0;
    std::array<TGamer, 5> Gamers{};
    std::vector<TPlayedMove> Moves;
    std::vector<TChoice> Choices;
  };
  TGameRecord record_;

  // Flat copy of the live board's island graph for the players' searches: free-to-free
  // adjacency only shrinks during a game, so the lists as built stay valid with the Merged
  // flags mirrored in flatMerged_ (kept by Capture on the live board).
  void EnsureFlatGraph();
  const TMap* flatMap_ = nullptr;
  uint32_t flatBuild_ = 0, islandsBuild_ = 0;
  std::vector<uint32_t> flatStart_;
  std::vector<uint16_t> flatAdj_, flatSize_;
  std::vector<uint8_t> flatColour_, flatMerged_;
  size_t lastCaptured_ = 0;  // islands taken by the last Capture
  std::vector<uint32_t> captureScratch_;

  // Scratch of RingLevels, kept between moves to avoid allocations.
  std::vector<uint32_t> ringStamp_;
  std::vector<uint16_t> ringLevel_;
  std::vector<uint8_t> ringMask_;
  std::vector<uint16_t> ringQueue_;
  uint32_t ringStampNow_ = 0;
  std::vector<uint64_t> levelArea_, levelPoints_;               // per level
  std::vector<std::array<uint64_t, 8>> maskArea_, maskPoints_;  // per level and colour
};
