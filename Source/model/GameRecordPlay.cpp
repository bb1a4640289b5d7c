// SPDX-License-Identifier: GPL-3.0-or-later
// Watching a record (replay to any move), continuing an unfinished one, and recording a game
// as the machine plays it.
#include <algorithm>

#include "model/GameRecordPlay.h"

using namespace record_play;

struct TGameReplay::TState {
  TReplayServices services;
  TMorvikMachine machine{&services};
};

TGameReplay::TGameReplay(TGameRecord record)
    : record_(std::move(record)), state_(std::make_unique<TState>()) {
  SetRules(state_->services, record_);
  state_->machine.OnChangeGamer = [](uint8_t) {};
  state_->machine.OnChangeStateColor = [](uint8_t) {};
  Configure(state_->machine, record_);
  position_ = SIZE_MAX;
  Seek(0);
}

TGameReplay::~TGameReplay() = default;

const TMorvikMachine& TGameReplay::Machine() const {
  return state_->machine;
}

bool TGameReplay::Ended() const {
  return state_->services.ended;
}

bool TGameReplay::Seek(size_t moves) {
  moves = std::min(moves, record_.Moves.size());
  if (moves == position_) return true;
  TSeedGuard outer;
  TMorvikMachine& m = state_->machine;
  try {
    if (position_ == SIZE_MAX || moves < position_ || !m.Active) {
      state_->services.ended = false;
      m.StartGame();  // a fresh board of the layout; the old one goes
      position_ = 0;
      if (!m.Active) {
        Error = "Игру нельзя начать.";
        position_ = SIZE_MAX;
        return false;
      }
    } else {
      SetRandSeed(seed_);
    }
    for (; position_ < moves; ++position_)
      if (auto why = PlayMove(m, state_->services, record_.Moves[position_])) {
        Error = "Ход " + std::to_string(position_ + 1) + " невозможен: " + *why + ".";
        m.EndGame();
        position_ = SIZE_MAX;
        return false;
      }
  } catch (const std::exception&) {
    Error = "Ходы не воспроизводятся.";
    position_ = SIZE_MAX;
    return false;
  }
  seed_ = GetRandSeed();
  return true;
}

// ---------------------------------------------------------------------------------------------

std::optional<std::string> ContinueGame(TMorvikMachine& m, const TGameRecord& record) {
  if (record.Finished) return "Игра окончена, продолжать нечего.";
  TReplayServices quiet;
  SetRules(quiet, record);
  TWindowServices* real = &m.Services();
  auto onColor = std::move(m.OnChangeStateColor);
  auto onGamer = std::move(m.OnChangeGamer);
  m.OnChangeStateColor = [](uint8_t) {};
  m.OnChangeGamer = [](uint8_t) {};
  m.SetServices(&quiet);
  std::optional<std::string> error;
  const uint32_t outer = GetRandSeed();
  try {
    Configure(m, record);
    m.StartGame();
    if (!m.Active) error = "Игру нельзя начать.";
    for (size_t i = 0; !error && i < record.Moves.size(); ++i)
      if (auto why = PlayMove(m, quiet, record.Moves[i]))
        error = "Ход " + std::to_string(i + 1) + " невозможен: " + *why + ".";
    if (!error && quiet.ended) error = "Игра окончена, продолжать нечего.";
  } catch (const std::exception&) {
    error = "Ходы не воспроизводятся.";
  }
  if (error && m.Active) m.EndGame();
  m.SetServices(real);
  m.OnChangeStateColor = std::move(onColor);
  m.OnChangeGamer = std::move(onGamer);
  if (error) {
    SetRandSeed(outer);
    return error;
  }
  m.NewGameStarted = true;
  m.AwaitingHuman = false;
  for (int k = 1; k <= 7; ++k)
    if (m.OnChangeStateColor) m.OnChangeStateColor(uint8_t(k));
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------------

TGameRecorder::TGameRecorder(TMorvikMachine& machine)
    : machine_(machine), previous_(std::move(machine.OnMakeMove)) {
  machine_.OnMakeMove = [this](uint8_t seat, uint8_t color) { Moved(seat, color); };
}

TGameRecorder::~TGameRecorder() {
  machine_.OnMakeMove = std::move(previous_);
}

void TGameRecorder::GameStarted(bool victoryByArea, bool skipTurn, bool autoTurn) {
  game_.VictoryByArea = victoryByArea;
  game_.SkipTurn = skipTurn;
  game_.AutoTurn = autoTurn;
  Snapshot();
  taps_.resize(std::min(taps_.size(), machine_.MovesPlayed()));
}

void TGameRecorder::Snapshot() {
  game_.CodeGame = machine_.CodeGame;
  game_.Width = machine_.Width;
  game_.Height = machine_.Height;
  for (int s = 1; s <= 4; ++s) {
    const TGamer& g = machine_.Gamers[size_t(s)];
    game_.Seats[size_t(s)] =
        g.Kind == gkNone ? TRecordSeat{} : TRecordSeat{g.Kind, g.Level, g.Name, g.Team};
  }
  // The generator right after the board: what every later draw continues from.
  TSeedGuard guard;
  SetRandSeed(uint32_t(game_.CodeGame));
  for (int i = 0; i < int(game_.Width) * int(game_.Height); ++i) Random(7);
  startSeed_ = GetRandSeed();
}

void TGameRecorder::MarkAssisted(int seat) {
  if (seat >= 1 && seat <= 4) game_.Seats[size_t(seat)].Assisted = true;
}

void TGameRecorder::Moved(uint8_t seat, uint8_t color) {
  const size_t n = machine_.MovesPlayed();
  if (n == 0) Snapshot();  // a game's first move: its layout and seats are the machine's now
  taps_.resize(std::min(n, taps_.size()));  // a take-back shortened the game
  const uint32_t before = taps_.empty() ? startSeed_ : taps_.back().Seed;
  const uint32_t now = GetRandSeed();
  taps_.push_back({{seat, color, now != before}, now});
  if (previous_) previous_(seat, color);
}

TGameRecord TGameRecorder::Record(bool finished) const {
  TGameRecord r = game_;
  size_t n = taps_.size();
  if (machine_.Active) n = std::min(n, machine_.MovesPlayed());
  for (size_t i = 0; i < n; ++i) r.Moves.push_back(taps_[i].Move);
  if (machine_.Assisted && std::none_of(r.Seats.begin() + 1, r.Seats.end(),
                                        [](const TRecordSeat& s) { return s.Assisted; }))
    for (int s = 1; s <= 4; ++s)
      if (r.Seats[size_t(s)].Kind == gkHuman) r.Seats[size_t(s)].Assisted = true;
  r.Finished = finished && machine_.Map;
  if (r.Finished) {
    for (int s = 1; s <= 4; ++s)
      if (r.Seats[size_t(s)].Kind != gkNone) {
        r.Seats[size_t(s)].Area = machine_.Map->Scores[size_t(s)].Area;
        r.Seats[size_t(s)].Points = machine_.Map->Scores[size_t(s)].Points;
      }
    const auto places = RecordPlaces(r);
    for (int s = 1; s <= 4; ++s) r.Seats[size_t(s)].Place = places[size_t(s)];
  }
  return r;
}
