// SPDX-License-Identifier: GPL-3.0-or-later
// A small picture of a statistics group's last results: one marker per finished game in the order
// played (a win filled and green, a loss hollow and red), the running average as a line, and
// above them the same summary in words that screen readers get as the widget's name. Lines and
// markers are placed on whole device pixels, so the picture stays sharp at any scale.
#pragma once

#include <QString>
#include <QWidget>

#include "config/StatsHistory.h"

// A result as the statistics show it: area in tenths of a percent ("47,6 %"), or points.
QString StatsResultText(int32_t value, bool byArea);
// "Последние 5 игр: 3 победы, 2 поражения, средний результат 47,6 %"; empty for no games.
QString ProgressSummary(const TStatsHistory& history, bool byArea);

class TProgressChart : public QWidget {
  Q_OBJECT

 public:
  static constexpr int ChartHeight = 130;

  explicit TProgressChart(QWidget* parent = nullptr);

  // Shows a group's history; none shows the empty state.
  void SetHistory(const TStatsHistory& history, bool byArea);
  const TStatsHistory& History() const { return history_; }
  // The text of the empty state, shown when there is no history.
  static QString EmptyText();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The top of the scale: the whole board by area, a round number above the best by points.
  int64_t ScaleTop() const;

  TStatsHistory history_;
  bool byArea_ = true;
};
