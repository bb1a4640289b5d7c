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
class TPlatform;

class TGameWatch : public QObject {
 public:
  TGameWatch(TFormGame& form, const TPlatform& platform);
  ~TGameWatch() override;

  // Shows the record's game from its first move (a game being watched gives way). A board too
  // large for the screen at the window's tile size is drawn with the largest tile size the
  // settings allow that fits; with none, the player is told and nothing changes (false).
  bool Start(TGameRecord record);
  // The tile size a board of `width` x `height` tiles is watched with: the window's own when it
  // fits the screen, else the largest smaller one the settings allow that fits, else 0.
  int WatchTile(int width, int height) const;
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
  // The narrowest tile the settings accept.
  static constexpr int MinWatchTile = 10;
  void Faster(bool faster);
  int Interval() const { return timer_.interval(); }

 private:
  void Show();
  void ClearSeatPanels();

  TFormGame& form_;
  const TPlatform& platform_;
  std::unique_ptr<TGameReplay> replay_;
  QTimer timer_;
  std::vector<QShortcut*> keys_;
  QString caption_;    // the window's caption before watching
  int watchTile_ = 0;  // a tile size of the watched board's own, or 0 for the window's
};
