// The results dialog: totals per seat and team, the four places, the hall-of-fame record of a
// person who won a classic game, and on close the choice between a replay and a new layout.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/GameResults.h"

class QFrame;
class QLabel;
class QPushButton;
class TFormHallFame;
class TGameHost;
class TIniFile;
class TMessageService;
class TMorvikMachine;
struct TProgramState;

class TFormResult : public QDialog {
  Q_OBJECT

 public:
  // A child window of `parent` (the main window), centred on it. Reads the finished game from
  // `machine`, the hall-of-fame table from the state (the game's start), writes records to `ini`.
  TFormResult(const TMorvikMachine& machine, TProgramState& state, TIniFile& ini,
              TMessageService& messages, TGameHost& host, QWidget* parent);

  // The hall-of-fame dialog, whose selected row follows a new record (created after this one).
  TFormHallFame* FormHallFame = nullptr;

  // Ranked result list of the last showing.
  TResultList ResultList;
  // The hall-of-fame table was written at the last showing (a person won a classic game).
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
  // Totals, ranking, display and record (the state's RecordAdded is set here).
  void FormShow();
  // Replay question or a new random layout; runs however the dialog closes.
  void FormClose();
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void StoreRecord();

  const TMorvikMachine& machine_;
  TProgramState& state_;
  TIniFile& ini_;
  TMessageService& messages_;
  TGameHost& host_;
};
