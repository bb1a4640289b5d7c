// SPDX-License-Identifier: GPL-3.0-or-later
// The hall-of-fame dialog: one table per standard board size (a tab each) for the winning
// criterion currently set, with a reset of the table shown.
#pragma once

#include <QDialog>
#include <string>

class QPushButton;
class QTabBar;
class QTableWidget;
class TIniFile;
class TMessageService;
class TPlatform;
struct TProgramState;

class TFormHallFame : public QDialog {
  Q_OBJECT

 public:
  static constexpr int RowCount = 11;  // header + ten places
  static constexpr int ColCount = 3;

  // Reads and resets the tables in `ini`; the winning criterion and board size come from
  // `state`; centred on the platform's screen.
  TFormHallFame(TIniFile& ini, TMessageService& messages, const TProgramState& state,
                const TPlatform& platform, QWidget* parent = nullptr);

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

 public slots:
  void FormShow();
  void tcTop10Change(int index);
  void btnDropScoreClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TIniFile& ini_;
  TMessageService& messages_;
  const TProgramState& state_;  // the options in force: winning criterion and board size
  const TPlatform& platform_;
  bool unreadableTold_ = false;  // the file's read problem was shown during this opening
};
