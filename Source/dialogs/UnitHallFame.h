// SPDX-License-Identifier: GPL-3.0-or-later
// The hall-of-fame dialog: one table per standard board size (a tab each) for the winning
// criterion currently set, with a reset of the table shown.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QPushButton;
class QTabBar;
class QTableWidget;
class TIniFile;
class TMessageService;
class TPlatform;
struct TProgramState;

// What the dialog asks of the games kept with the records: which rows of a table have one,
// watching one in the main window, and letting a reset table's games go.
class THallFameGameSource {
 public:
  virtual ~THallFameGameSource() = default;
  // One flag per record of the table `section` (record lines as read, best first).
  virtual std::vector<bool> HallFameGames(const std::string& section,
                                          const std::vector<std::string>& records) const = 0;
  // Watching the game of the record at `row` (from 0); the dialog has closed.
  virtual void WatchHallFameGame(const std::string& section,
                                 const std::vector<std::string>& records, size_t row) = 0;
  virtual void HallFameTableReset(const std::string& section) = 0;
};

class TFormHallFame : public QDialog {
  Q_OBJECT

 public:
  static constexpr int RowCount = 11;  // header + ten places
  static constexpr int ColCount = 3;

  // Reads and resets the tables in `ini`; the winning criterion and board size come from
  // `state`; centred on the platform's screen. Without `games` no row has a game to watch.
  TFormHallFame(TIniFile& ini, TMessageService& messages, const TProgramState& state,
                const TPlatform& platform, QWidget* parent = nullptr,
                THallFameGameSource* games = nullptr);

  // Fills the grid for the selected tab from the table of the current winning criterion. When
  // the settings file cannot be read, the grid is not the table on disk: no row is marked, and
  // the player is told why once per opening.
  void ShowTop10();
  // The grid's selected row (1..10); the results dialog puts a new record's rank here, the
  // menu command puts it back on 1 after each showing.
  void SetSelectedRow(int row);
  int SelectedRow() const;
  // Text of a grid cell (row 0 and column 0 are the fixed header and places).
  QString Cell(int row, int col) const;

  // The table shown last: "MAP" + victory index + tab index. The reset acts on it.
  std::string ShownSection;

  QTabBar* tcTop10 = nullptr;
  QTableWidget* sgScores = nullptr;
  QPushButton* btnDropScore = nullptr;
  QPushButton* btnClose = nullptr;
  QPushButton* btnWatch = nullptr;  // "Смотреть": the selected record's game

 public slots:
  void FormShow();
  void tcTop10Change(int index);
  void btnDropScoreClick();
  void btnWatchClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TIniFile& ini_;
  TMessageService& messages_;
  const TProgramState& state_;  // the options in force: winning criterion and board size
  const TPlatform& platform_;
  bool unreadableTold_ = false;  // the file's read problem was shown during this opening
  THallFameGameSource* games_;
  std::vector<std::string> records_;  // the table shown
  std::vector<bool> hasGame_;         // per record of it

  // The selected row's record, from 0, when it has a game.
  std::optional<size_t> WatchableRow() const;
  void UpdateWatch();
};
