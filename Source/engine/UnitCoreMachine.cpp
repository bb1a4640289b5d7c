// SPDX-License-Identifier: GPL-3.0-or-later
// The game machine: configuration, start and end of a game, moves, the end test and the turn
// cycle the window runs.
#include <algorithm>
#include <bit>

#include "engine/UnitCore.h"
#include "engine/UnitCoreLists.h"

using namespace unitcore;

void TNullWindowServices::StopGameAtEnd() {
  if (machine) machine->EndGame();
}

TMorvikMachine::TMorvikMachine(TWindowServices* services) : services_(nullptr) {
  SetServices(services);
}

TMorvikMachine::~TMorvikMachine() = default;

void TMorvikMachine::SetServices(TWindowServices* services) {
  if (services) {
    services_ = services;
    return;
  }
  if (!nullServices_) {
    nullServices_ = std::make_unique<TNullWindowServices>();
    nullServices_->machine = this;
  }
  services_ = nullServices_.get();
}

// ---------------------------------------------------------------------------------------------
// Configuration.

void TMorvikMachine::SetCodeGame(int32_t code) {
  CodeGame = code;
}

void TMorvikMachine::SetGamer(int seat, TGamerKind kind, uint8_t level, const std::string& name,
                              uint8_t team) {
  if (seat < 1 || seat > 4) throw EUnitCoreError("seat out of range");
  TGamer& g = Gamers[seat];
  g.Kind = kind;
  g.Level = level;
  g.Team = team;
  // At most 20 characters; the name is UTF-8, so count lead bytes, never split a character.
  size_t end = 0;
  int chars = 0;
  while (end < name.size()) {
    if ((static_cast<unsigned char>(name[end]) & 0xC0) != 0x80) {
      if (chars == 20) break;
      ++chars;
    }
    ++end;
  }
  g.Name = name.substr(0, end);
}

void TMorvikMachine::SetSizeMap(uint8_t width, uint8_t height) {
  Width = width;
  Height = height;
  const uint8_t right = width ? width - 1 : 0, bottom = height ? height - 1 : 0;
  Gamers[1].Col = 0, Gamers[1].Row = 0;
  Gamers[2].Col = right, Gamers[2].Row = 0;
  Gamers[3].Col = 0, Gamers[3].Row = bottom;
  Gamers[4].Col = right, Gamers[4].Row = bottom;
}

void TMorvikMachine::SetSizeTile(uint8_t size) {
  SizeTile = size;
}

void TMorvikMachine::SetTileStyle(int state, TTileStyle style) {
  if (state < 0 || state > 3) throw EUnitCoreError("tile state out of range");
  TileStyles[state] = style;
}

// ---------------------------------------------------------------------------------------------
// Game.

void TMorvikMachine::StartGame() {
  auto& s = Services();
  if (Width == 0 || Height == 0 || SizeTile == 0) {
    s.Error("Неправильно задана карта.");
    return;
  }
  if (!OnChangeStateColor) {
    s.Error("Не задана процедура обработки смены цвета.\r\nСтарт игры невозможен.");
    return;
  }
  if (!OnChangeGamer) {
    s.Error("Не задана процедура обработки смены игрока.\r\nСтарт игры невозможен.");
    return;
  }
  if (Active) EndGame();
  const uint32_t serial = ++gameSerial_;
  AwaitingHuman = false;
  Assisted = false;
  AssistedSeats = {};
  record_ = TGameRecord{CodeGame, Width, Height, Gamers, {}, {}};
  Map = std::make_unique<TMap>();
  BuildBoard();
  s.ClearGamerPanel();
  s.SetProgressMax(0);
  s.DrawMap(true);
  // The handlers may run window events and so end or restart the game from here on.
  auto superseded = [&] { return serial != gameSerial_ || !Map; };
  OnChangeGamer(0);
  if (superseded()) return;
  s.RepaintMap();
  for (int k = 1; k <= 7; ++k) {
    FreeColors[k] = true;
    OnChangeStateColor(uint8_t(k));
    if (superseded()) return;
  }
  Active = true;
  NewGameStarted = true;
}

void TMorvikMachine::BuildBoard(TIslands storage) {
  GenerateTiles();
  for (int seat = 4; seat >= 1; --seat) {
    TGamerScore& sc = Map->Scores[seat];
    if (Gamers[seat].Kind == gkComputer || Gamers[seat].Kind == gkHuman) {
      Map->Tiles[Gamers[seat].Row][Gamers[seat].Col].Color = 0;
      CurrentGamer = static_cast<uint8_t>(seat);
      sc.Area = 1;
      sc.Points = 1;
    } else {
      sc.Area = 0;
      sc.Points = 0;
    }
  }
  Map->Islands = std::move(storage);
  GenerateIslands();
  EnsureFlatGraph();  // built now rather than inside the first computer move
}

void TMorvikMachine::NextGamer() {
  const uint8_t previous = CurrentGamer;
  int seat = CurrentGamer;
  for (int i = 0; i < 4; ++i) {
    seat = seat % 4 + 1;
    if (Gamers[seat].Kind != gkNone) {
      CurrentGamer = static_cast<uint8_t>(seat);
      if (OnChangeGamer) OnChangeGamer(previous);
      return;
    }
  }
  throw EUnitCoreError("NextGamer with no occupied seat");
}

void TMorvikMachine::MakeMove(uint8_t color) {
  if (!Active || !Map) throw EUnitCoreError("MakeMove with no game running");
  if (color < 1 || color > 7 || !FreeColors[color])
    throw EUnitCoreError("MakeMove with a colour that is not free");
  if (OnMakeMove) OnMakeMove(CurrentGamer, color);
  record_.Moves.push_back({CurrentGamer, color});
  const uint32_t serial = gameSerial_;
  auto live = [&] { return Active && Map && serial == gameSerial_; };
  auto& s = Services();
  const uint8_t old = GetGamerColor(*Map);
  Capture(*Map, color, false);
  if (old != 0) {
    FreeColors[old] = true;
    if (OnChangeStateColor) OnChangeStateColor(old);
    if (!live()) return;
  }
  FreeColors[color] = false;
  if (OnChangeStateColor) OnChangeStateColor(color);
  if (!live()) return;
  if (!TestGameOver() || !live()) return;
  s.DrawMap(false);
  if (!live()) return;
  s.ShowResults();
  if (!live()) return;
  if (s.RecordAdded() && s.HallFameOnRecord()) {
    s.ShowHallOfFame();
    if (!live()) return;
  }
  s.StopGameAtEnd();
}

bool TMorvikMachine::AutoTurn() {
  if (!Active || !Map) return false;
  const TMap& map = *Map;
  unsigned colours = 0;
  ForEachLive(map.Islands[GetGamerIsland(map, CurrentGamer)], [&](uint16_t id) {
    const TIsland& island = map.Islands[id];
    if (!island.Merged && FreeColors[island.Color]) colours |= 1u << island.Color;
  });
  const int count = std::popcount(colours);
  const TGamerKind kind = Gamers[CurrentGamer].Kind;
  const bool computer = kind == gkComputer, human = kind == gkHuman;
  if (count == 0 && (computer || (human && Services().SkipTurn()))) {
    MakeMove(RandomColor());
    return true;
  }
  if (count == 1 && (computer || (human && Services().AutoTurnOption()))) {
    MakeMove(BrainEasy());
    return true;
  }
  return false;
}

void TMorvikMachine::ComputerTurn() {
  const uint32_t serial = gameSerial_;
  if (AutoTurn()) return;
  if (!Active || !Map || serial != gameSerial_) return;
  auto& s = Services();
  s.SetProgressMax(0);
  for (int k = 1; k <= 7; ++k)
    if (FreeColors[k]) s.SetProgressMax(s.GetProgressMax() + 1);
  const uint8_t level = Gamers[CurrentGamer].Level;
  if (level == 0)
    throw EUnitCoreError("computer seat " + std::to_string(CurrentGamer) + " has level 0");
  uint8_t colour = 0;
  if (level == 1)
    colour = BrainEasy();
  else if (level == 2)
    colour = BrainModerate();
  else if (level == 3)
    colour = BrainHard();
  else if (level == 4 && !ThinkMaster)
    colour = BrainMaster();
  else if (level == 4)
    colour = MasterElsewhere(serial);
  if (colour != 0 && Active && Map && serial == gameSerial_) MakeMove(colour);
}

uint8_t TMorvikMachine::MasterElsewhere(uint32_t serial) {
  const std::shared_ptr<TMasterThought> thought = PrepareMaster();
  const uint8_t colour =
      ThinkMaster(thought, [this, serial] { return Active && Map && serial == gameSerial_; });
  if (colour == 0)
    thought->Cancel();  // nobody waits for its answer any more
  else
    MasterPositions = thought->Positions();
  Services().SetProgressPosition(0);
  return colour;
}

void TMorvikMachine::EndGame() {
  const uint32_t serial = gameSerial_;
  for (int k = 1; k <= 7; ++k) {
    FreeColors[k] = false;
    if (OnChangeStateColor) OnChangeStateColor(uint8_t(k));
    if (serial != gameSerial_) return;  // a handler started a new game: leave its board alone
  }
  Active = false;
  AwaitingHuman = false;
  record_ = TGameRecord{};
  Services().ClearGamerPanel();
  if (Map) {
    FreeMap(*Map);
    Map.reset();
  }
}

bool TMorvikMachine::TestGameOver() {
  if (!Active || !Map) return false;
  const uint32_t serial = gameSerial_;
  TMap& map = *Map;
  const auto terr = Territories(map);
  auto& islands = map.Islands;

  // Contact: some two territories touch.
  bool contact = false;
  for (int i = 1; i <= 4 && !contact; ++i) {
    if (terr[i] == NoIsland) continue;
    for (int j = 1; j <= 4 && !contact; ++j)
      if (j != i && terr[j] != NoIsland && FindNeighbour(islands[terr[i]], terr[j]) != NotFound)
        contact = true;
  }
  if (!contact) return false;

  // Settled: no other seat reaches a free island bordering a territory within two captures.
  auto isTerritory = [&](uint16_t id) {
    return id != NoIsland && std::find(terr.begin() + 1, terr.end(), id) != terr.end();
  };
  for (int i = 1; i <= 4; ++i) {
    const uint16_t t = terr[i];
    if (t == NoIsland) continue;
    auto otherTerritory = [&](uint16_t id) { return id != t && isTerritory(id); };
    bool reachable = false;
    ForEachLive(islands[t], [&](uint16_t e) {
      if (reachable || isTerritory(e)) return;
      for (const uint16_t f : islands[e].Neighbours) {
        if (f == t) continue;
        if (otherTerritory(f)) reachable = true;
        if (reachable) break;
        if (f == NoIsland) continue;
        for (int j = 1; j <= 4 && !reachable; ++j)
          if (j != i && terr[j] != NoIsland && FindNeighbour(islands[f], terr[j]) != NotFound)
            reachable = true;
        if (reachable) break;
      }
    });
    if (reachable) return false;
  }

  // Distribution of the free islands left, ring by ring.
  auto& s = Services();
  s.SetStatus("Распределение...");
  int occupied = 0;
  for (int i = 1; i <= 4; ++i) occupied += terr[i] != NoIsland;
  // Counted once; each ring capture then reports how many islands it took.
  size_t live = size_t(std::count_if(map.Islands.begin(), map.Islands.end(),
                                     [](const TIsland& x) { return !x.Merged; }));
  while (live != size_t(occupied)) {
    for (int seat = 1; seat <= 4; ++seat) {
      if (terr[seat] == NoIsland) continue;
      CurrentGamer = static_cast<uint8_t>(seat);
      const uint8_t old = GetGamerColor(map);
      const uint8_t k = BrainEasy();
      Capture(map, k, true);
      live -= lastCaptured_;
      FreeColors[old] = true;
      FreeColors[k] = false;
      FreeColors[0] = false;
      s.DrawMap(false);
      if (!Active || serial != gameSerial_) return false;
    }
  }
  for (int seat = 1; seat <= 4; ++seat)
    if (terr[seat] != NoIsland) s.ShowGamerArea(seat);
  s.SetStatus("");
  return true;
}

// ---------------------------------------------------------------------------------------------
// The turn cycle. Handlers of OnChangeGamer run window events, so a colour, a stop or a new
// start may arrive inside any step: every step re-tests Active, and a loop leaves as soon as a
// loop nested inside it (a new game's start loop) is already waiting for a person.

void TMorvikMachine::RunStartLoop() {
  AwaitingHuman = false;
  while (Active) {
    const TGamerKind kind = Gamers[CurrentGamer].Kind;
    if (kind == gkComputer) {
      ComputerTurn();
    } else if (kind == gkHuman && !AutoTurn()) {
      if (Active && !AwaitingHuman) AwaitingHuman = true;
      return;
    }
    if (AwaitingHuman) return;
    if (Active) NextGamer();
    if (AwaitingHuman) return;
  }
}

bool TMorvikMachine::TakeHumanColor(uint8_t color) {
  if (!AwaitingHuman || !Active || !Map || color < 1 || color > 7 || !FreeColors[color] ||
      Gamers[CurrentGamer].Kind != gkHuman)
    return false;
  record_.Choices.push_back(
      {uint32_t(record_.Moves.size()), GetRandSeed(), CurrentGamer, NewGameStarted});
  AwaitingHuman = false;
  NewGameStarted = false;
  MakeMove(color);
  while (Active && !AwaitingHuman) {
    NextGamer();
    if (!Active || AwaitingHuman) break;
    const TGamerKind kind = Gamers[CurrentGamer].Kind;
    if (kind == gkHuman) {
      if (!AutoTurn()) {
        if (Active && !AwaitingHuman) AwaitingHuman = true;
        break;
      }
    } else if (kind == gkComputer) {
      if (!NewGameStarted) {
        ComputerTurn();
      } else if (std::none_of(Gamers.begin() + 1, Gamers.end(),
                              [](const TGamer& g) { return g.Kind == gkHuman; })) {
        // A game of computers started meanwhile and nobody drives it from here: passing the
        // turn on would never reach a person.
        break;
      }
    }
  }
  return true;
}
