// SPDX-License-Identifier: GPL-3.0-or-later
// Watching a recorded game in the main window: the board after any move, stepped with the arrow
// keys, jumped with Home and End, played and paused with Space; Esc leaves. The position comes
// from the engine's replay, so memory stays that of one board however long the game, and each
// step is drawn by the window's own drawing path.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "model/GameRecord.h"

class QShortcut;
class TFormGame;

class TGameWatch : public QObject {
 public:
  explicit TGameWatch(TFormGame& form);
  ~TGameWatch() override;

  // Shows the record's game from its first move (a game being watched gives way).
  void Start(TGameRecord record);
  // Back to the idle board.
  void Leave();
  bool Active() const { return replay_ != nullptr; }

  // The position after `moves` moves (clamped to the game).
  void Seek(size_t moves);
  void Step(int delta);
  void PlayPause();
  bool Playing() const { return timer_.isActive(); }
  size_t Position() const;
  size_t Length() const;
  // The position in words: "Ход k из n", and the seat that made move k with its colour.
  QString StatusText() const;

  // Time between moves while playing: the middle one of three speeds at first; + and - choose.
  static constexpr int Speeds[] = {1000, 400, 150};
  static constexpr int StepMilliseconds = Speeds[1];
  void Faster(bool faster);
  int Interval() const { return timer_.interval(); }

 private:
  void Show();
  void ClearSeatPanels();

  TFormGame& form_;
  std::unique_ptr<TGameReplay> replay_;
  QTimer timer_;
  std::vector<QShortcut*> keys_;
  QString caption_;  // the window's caption before watching
};
