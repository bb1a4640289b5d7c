// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics dialog: the active profile's counts, one tab per kind of game (classic per
// computer level and board size, multi-user per number of seats, the totals, and games played
// with help), each row one group with games (damaged counters shown as "—"), the selected row's
// last results as a chart below the table, and a reset of the profile's statistics.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "config/GamerStats.h"

class QLabel;
class QPushButton;
class QTabBar;
class QTableWidget;
class TIniFile;
class TMessageService;
class TPlatform;
class TProgressChart;
struct TProgramState;

class TFormStats : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ColCount = 9;
  static constexpr int VisibleRows = 12;  // header + rows shown without scrolling

  // Reads and resets the counts in `ini` for the active profile of `state`; centred on the
  // window that opened it while that is shown, on the platform's screen otherwise.
  TFormStats(TIniFile& ini, TMessageService& messages, const TProgramState& state,
             const TPlatform& platform, QWidget* parent = nullptr);

  // Fills the grid for the selected tab from the active profile's section.
  void ShowStats();
  // Rows of the grid including the header; text of a cell (row 0 is the header).
  int RowCount() const;
  QString Cell(int row, int col) const;
  // The group of a row ("" for the header and the row saying there are no games).
  std::string RowGroup(int row) const;

  QLabel* lblGamer = nullptr;
  QTabBar* tcStats = nullptr;
  QTableWidget* sgStats = nullptr;
  TProgressChart* iProgress = nullptr;
  QPushButton* btnReset = nullptr;
  QPushButton* btnClose = nullptr;

 public slots:
  void tcStatsChange(int index);
  void sgStatsSelectionChanged();
  void btnResetClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Widens the columns (and the grid) to their texts.
  void FitColumns();

  TIniFile& ini_;
  TMessageService& messages_;
  const TProgramState& state_;
  const TPlatform& platform_;
  TGamerStats stats_;  // as last read, for the chart of the selected row
};
