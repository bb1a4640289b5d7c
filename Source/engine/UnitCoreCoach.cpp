// SPDX-License-Identifier: GPL-3.0-or-later
// Help for a player who is learning: the master level's advice, and taking a choice back.
//
// A position is never stored: a game is its layout plus its moves, so an earlier position is
// rebuilt by generating the board again and replaying the captures up to it. Replaying the same
// captures in the same order reproduces every list, flag and index exactly, which a board copy
// per move would also do at the price of memory that grows with the game.
#include <algorithm>

#include "engine/UnitCore.h"

namespace {

// Keeps the options the players read and drops everything the window would show, so that
// advice and rebuilding leave the status line and the progress bar alone.
class TQuietServices : public TNullWindowServices {
 public:
  explicit TQuietServices(TWindowServices& real) {
    skipTurn = real.SkipTurn();
    autoTurn = real.AutoTurnOption();
    hallFameOnRecord = real.HallFameOnRecord();
    victoryByArea = real.VictoryByArea();
  }
};

// Restores a value when the scope ends, also when an internal error leaves it early.
template <class T>
class TRestore {
 public:
  explicit TRestore(T& place) : place_(place), saved_(place) {}
  ~TRestore() { place_ = saved_; }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

 private:
  T& place_;
  T saved_;
};

}  // namespace

THint TMorvikMachine::Hint(uint8_t seat) {
  THint hint;
  if (!Active || !Map || seat < 1 || seat > 4 || Gamers[seat].Kind == gkNone) return hint;
  if (hinting_) return hint;  // asked again while the first one is being thought out
  std::shared_ptr<TMasterThought> thought;
  {
    TQuietServices quiet(Services());
    TRestore<TWindowServices*> services(services_);
    TRestore<uint8_t> current(CurrentGamer);
    const uint32_t seed = GetRandSeed();
    services_ = &quiet;
    CurrentGamer = seat;
    thought = PrepareMaster();
    SetRandSeed(seed);
  }
  if (ThinkMaster) {
    // Thought out where the window's events go on. A move, a take-back or another game
    // meanwhile leaves the advice without its position: it is dropped.
    const uint32_t serial = gameSerial_;
    const size_t moves = MovesPlayed();
    TRestore<bool> busy(hinting_);
    hinting_ = true;
    hint.Color = ThinkMaster(thought, [this, serial, moves] {
      return Active && Map && AwaitingHuman && serial == gameSerial_ && MovesPlayed() == moves;
    });
    if (hint.Color == 0) {
      thought->Cancel();
      return THint{};
    }
  } else {
    hint.Color = thought->Think();
  }
  MasterPositions = thought->Positions();
  // What Capture would take: live entries of that colour, in list order.
  const TMap& map = *Map;
  for (const uint16_t id : map.Islands[GetGamerIsland(map, seat)].Neighbours)
    if (id != NoIsland && !map.Islands[id].Merged && map.Islands[id].Color == hint.Color)
      hint.Islands.push_back(id);
  Assisted = true;
  AssistedSeats[seat] = true;
  return hint;
}

bool TMorvikMachine::SeatHasChosen(uint8_t seat) const {
  return std::any_of(record_.Choices.begin(), record_.Choices.end(),
                     [seat](const TChoice& c) { return c.Seat == seat; });
}

bool TMorvikMachine::CanHint() const {
  return Active && Map && AwaitingHuman && !hinting_ && CurrentGamer >= 1 && CurrentGamer <= 4 &&
         Gamers[CurrentGamer].Kind == gkHuman;
}

bool TMorvikMachine::CanTakeBack() const {
  if (!Active || !Map || !AwaitingHuman || record_.Choices.empty()) return false;
  const auto people = std::count_if(record_.Gamers.begin() + 1, record_.Gamers.end(),
                                    [](const TGamer& g) { return g.Kind == gkHuman; });
  return people == 1 && CurrentGamer == record_.Choices.back().Seat;
}

bool TMorvikMachine::TakeBack() {
  if (!CanTakeBack()) return false;
  const TChoice choice = record_.Choices.back();
  record_.Choices.pop_back();
  record_.Moves.resize(choice.Move);
  {
    // The board of this game, whatever was configured for the next one meanwhile.
    TQuietServices quiet(Services());
    TRestore<TWindowServices*> services(services_);
    TRestore<int32_t> code(CodeGame);
    TRestore<uint8_t> width(Width), height(Height);
    TRestore<std::array<TGamer, 5>> gamers(Gamers);
    services_ = &quiet;
    CodeGame = record_.CodeGame;
    Width = record_.Width;
    Height = record_.Height;
    Gamers = record_.Gamers;
    Map->Scores = {};
    BuildBoard(std::move(Map->Islands));
    FreeColors.fill(true);
    FreeColors[0] = false;
    for (const TPlayedMove& move : record_.Moves) {
      CurrentGamer = move.Seat;
      const uint8_t old = GetGamerColor(*Map);
      Capture(*Map, move.Color, false);
      if (old != 0) FreeColors[old] = true;
      FreeColors[move.Color] = false;
    }
  }
  CurrentGamer = choice.Seat;
  SetRandSeed(choice.Seed);
  NewGameStarted = choice.NewGameStarted;
  AwaitingHuman = true;
  Assisted = true;
  AssistedSeats[choice.Seat] = true;
  const uint32_t serial = gameSerial_;
  for (int k = 1; k <= 7; ++k) {
    if (OnChangeStateColor) OnChangeStateColor(uint8_t(k));
    if (serial != gameSerial_ || !Map) break;  // a handler ended or replaced the game
  }
  return true;
}
