// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's games as files: the running game's record (made move by move as it is
// played), the last finished game's, saving and opening record files, and the game kept for each
// profile when the program closes in the middle of it, and the games of the hall of fame's records.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dialogs/UnitHallFame.h"
#include "model/GameRecord.h"
#include "model/HallFameGames.h"

class TFormGame;
class TPlatform;

class TGameRecords : public QObject, public THallFameGameSource {
 public:
  TGameRecords(TFormGame& form, const TPlatform& platform);
  ~TGameRecords() override;

  // ---- Hooks of the game flow ---------------------------------------------------------------
  // Before a game starts or is continued: a fresh recorder follows the machine, and the kept
  // game of the profile is discarded; unless it is the game continued, it counts as stopped.
  void GameStarting();
  // After StartGame or ContinueGame, when the game runs: the rules it is played by.
  void GameStarted();
  // In place of StartGame: the record's game continued on the machine and shown; on failure
  // its message, and the window back to idle.
  void Resume(const TGameRecord& record);
  // The results are being recorded: the finished game becomes the last one.
  void GameFinished();
  // The running game is gone (stopped, or finished and stopped).
  void GameStopped();
  // A hint or a take-back helped this seat.
  void Assisted(int seat);
  // The game waits for a person: the kept game is brought up to date once the event loop runs,
  // so the turn is not delayed by the write.
  void Waiting();
  // The window closes while a game runs: the kept game written now. False (with a message)
  // when it could not be written.
  bool KeepInterrupted();

  // ---- Commands -------------------------------------------------------------------------------
  // The game "Сохранить игру…" writes: the running one, else the last finished one.
  std::optional<TGameRecord> GameToSave() const;
  bool CanSave() const { return RunningRecorded() || last_.has_value(); }
  void Save();
  // Asks for a file and opens it.
  void Open();
  // Opens a record file: a finished game is watched; an unfinished one is continued or watched,
  // as the player chooses and its seats allow. A faulty file gives the reader's message.
  void OpenFile(const QString& path);
  // The active profile has a kept game.
  bool HasKept() const;
  // Continues the kept game (or shows why it can only be watched).
  void ContinueKept();
  // The kept game's file of a profile, by default the active one (empty without a profile).
  QString KeptPath() const;
  QString KeptPath(const std::string& profile) const;
  // A renamed profile keeps its game, and the kept games of others that seat it seat the new
  // name; a deleted one's game goes.
  void MoveKept(const std::string& from, const std::string& to);
  void DiscardKept(const std::string& profile);
  // Why the record cannot be continued here, or nothing; `record` gets its person seats filled
  // (a classic game's person becomes the active profile).
  std::optional<std::string> Continuable(TGameRecord& record) const;

  // The file chooser: `save` asks for a file to write, else one to read; `folder` is where it
  // starts. An empty answer cancels. Tests replace it.
  std::function<QString(bool save, const QString& folder)> ChooseFile;

  // ---- The hall of fame's games ----------------------------------------------------------------
  // The table `section` was written as `records` with the finished game's record at `row`: the
  // game is kept with it (a failure is told, the record stays).
  void KeepHallFameGame(const std::string& section, const std::vector<std::string>& records,
                        size_t row);
  THallFameGames HallFame() const;
  std::vector<bool> HallFameGames(const std::string& section,
                                  const std::vector<std::string>& records) const override;
  // Watching starts once the dialog and whatever opened it have returned to the event loop.
  void WatchHallFameGame(const std::string& section, const std::vector<std::string>& records,
                         size_t row) override;
  void HallFameTableReset(const std::string& section) override;

  // The last finished game, if any.
  const std::optional<TGameRecord>& LastFinished() const { return last_; }

 private:
  bool RunningRecorded() const;
  QString LastFolder() const;
  QString Choose(bool save) const;
  void Remember(const QString& path);
  void WriteKept();
  void CountKeptAsStopped();
  void DiscardKept();
  void Continue(TGameRecord record);

  TFormGame& form_;
  const TPlatform& platform_;
  std::unique_ptr<TGameRecorder> recorder_;
  std::optional<TGameRecord> last_;
  std::optional<TGameRecord> resumed_;  // the record being continued, until GameStarted
  size_t keptMoves_ = SIZE_MAX;         // moves of the last kept write of the running game
  bool keepQueued_ = false;
  bool continuingKept_ = false;  // the kept game is the one being continued
};
