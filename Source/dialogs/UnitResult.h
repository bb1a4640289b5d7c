// The results dialog: totals per seat and team, the four places, the hall-of-fame record of a
// person who won a classic game, and on close the choice between a replay and a new layout.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class TGameHost;
class TIniFile;
class TMessageService;
class TMorvikMachine;
struct TGameEndRecord;
struct TProgramState;

// One line of the result list: seats 1..4 on lines 1..4, teams 1..4 on lines 5..8.
struct TResultLine {
  std::string Name;
  int32_t Number = 0;
  int Seat = 0;  // 1..4 for a seat's line, 0 for a team's
  int Team = 0;  // 1..4 for a team's line, 0 for a seat's
};
using TResultList = std::array<TResultLine, 8>;

// Share of the board in tenths of a percent, rounded half up.
int32_t AreaScore(uint32_t tiles, int width, int height);
// The eight lines with every occupied seat's score added to its own line or to its team's.
TResultList ResultTotals(const TMorvikMachine& machine, bool byArea);
// Descending by number; equal numbers keep their order (seats before teams).
void RankResults(TResultList& list);
// Puts "name=score" before the first record with a strictly lower score. Returns the rank (from
// 1) of the first record equal to the new one (letter case aside), or 0 when it was appended.
int InsertRecord(std::vector<std::string>& records, const std::string& name, int32_t score);

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
