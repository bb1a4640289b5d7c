// SPDX-License-Identifier: GPL-3.0-or-later
// The results dialog: totals per seat and team, the four places, the hall-of-fame record of a
// person who won a classic game, and on close the choice between a replay and a new layout.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/GameResults.h"

class QFrame;
class QLabel;
class QPushButton;
class TGameHost;
class TIniFile;
class TMessageService;
class TMorvikMachine;
struct TGameEndRecord;
struct TProgramState;

class TFormResult : public QDialog {
  Q_OBJECT

 public:
  // Where a new record's rank (1..10) is shown: the hall-of-fame dialog's selected row.
  using TShowRecordRank = std::function<void(int rank)>;

  // A child window of `parent` (the main window), centred on it. Reads the finished game from
  // `machine`, the hall-of-fame table from the state (the game's start), writes records to `ini`
  // and passes a new record's rank to `showRank` (may be empty).
  TFormResult(const TMorvikMachine& machine, TProgramState& state, TIniFile& ini,
              TMessageService& messages, TGameHost& host, TShowRecordRank showRank,
              QWidget* parent);

  // Ranked result list of the last showing.
  TResultList ResultList;
  // The hall-of-fame table was written for the game shown (a person won a classic game).
  bool RecordSaved = false;
  // The first place of the last showing went to a person's seat.
  bool PersonWon = false;

  QFrame* Panel1 = nullptr;
  std::array<QLabel*, 5> stPlace{};  // [1..4]
  std::array<QLabel*, 5> stName{};
  std::array<QLabel*, 5> stScore{};
  QPushButton* btnClose = nullptr;
  // Shown only after a game played with a hint or a take-back, which enters no record.
  QLabel* stAssisted = nullptr;

 public slots:
  // What the end of the game recorded, before the dialog is shown: whether the hall of fame was
  // written (the close step asks no replay then) and the row of the new record.
  void SetRecord(const TGameEndRecord& record);
  // Totals, ranking and display; the game's results are already recorded.
  void FormShow();
  // Replay question or a new random layout; runs however the dialog closes.
  void FormClose();
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const TMorvikMachine& machine_;
  TProgramState& state_;
  TIniFile& ini_;
  TMessageService& messages_;
  TGameHost& host_;
  TShowRecordRank showRank_;
};
