// SPDX-License-Identifier: GPL-3.0-or-later
// What reading, watching and continuing a game record share: replaying recorded moves on a
// machine with the engine's own move function. Internal to the model's record files.
#pragma once

#include <optional>
#include <string>

#include "model/GameRecord.h"

namespace record_play {

// A window that shows nothing; it notes the end of the game and keeps the final board (the
// real window frees it only after the results).
class TReplayServices : public TNullWindowServices {
 public:
  bool ended = false;
  void ShowResults() override { ended = true; }
  void StopGameAtEnd() override {}
};

inline void SetRules(TNullWindowServices& s, const TGameRecord& r) {
  s.victoryByArea = r.VictoryByArea;
  s.skipTurn = r.SkipTurn;
  s.autoTurn = r.AutoTurn;
  s.hallFameOnRecord = false;
}

inline void Configure(TMorvikMachine& m, const TGameRecord& r) {
  m.SetSizeMap(r.Width, r.Height);
  if (m.SizeTile == 0) m.SetSizeTile(1);
  m.SetCodeGame(r.CodeGame);
  for (int s = 1; s <= 4; ++s) {
    const TRecordSeat& seat = r.Seats[size_t(s)];
    m.SetGamer(s, seat.Kind, seat.Level, seat.Name, seat.Team);
  }
}

// One recorded move on a running replay; the reason in Russian when it is not legal.
inline std::optional<std::string> PlayMove(TMorvikMachine& m, const TReplayServices& s,
                                           const TRecordMove& move) {
  if (s.ended) return "игра уже окончена, ходов больше нет";
  if (!m.Active || !m.Map) return "игра не идёт";
  if (move.Seat != m.CurrentGamer)
    return "ходит игрок " + std::to_string(m.CurrentGamer) + ", а не игрок " +
           std::to_string(move.Seat);
  if (move.Color < 1 || move.Color > 7 || !m.FreeColors[move.Color])
    return "цвет " + std::to_string(move.Color) + " занят";
  if (move.Random && m.RandomColor() != move.Color)
    return "случайный ход не совпадает с генератором расклада";
  m.MakeMove(move.Color);
  if (!s.ended && m.Active) m.NextGamer();
  return std::nullopt;
}

// Keeps the program's generator as it was around a replay.
class TSeedGuard {
 public:
  TSeedGuard() : saved_(GetRandSeed()) {}
  ~TSeedGuard() { SetRandSeed(saved_); }
  TSeedGuard(const TSeedGuard&) = delete;
  TSeedGuard& operator=(const TSeedGuard&) = delete;

 private:
  uint32_t saved_;
};

}  // namespace record_play
