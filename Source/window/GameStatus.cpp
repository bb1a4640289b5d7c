// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's status bar.
#include "window/GameStatus.h"

#include <QLocale>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>
#include <cmath>

#include "engine/UnitCore.h"

#include "gui/StatusPanel.h"

TGameStatus::TGameStatus(QMainWindow& window) {
  bar_ = new QStatusBar(&window);
  bar_->setObjectName(QStringLiteral("sbMain"));
  bar_->setSizeGripEnabled(false);
  bar_->setFixedHeight(20);
  bar_->setContentsMargins(0, 0, 0, 0);
  window.setStatusBar(bar_);
  // The panels are placed by hand, edge to edge over the bar's full height: the bar's own layout
  // would add spacing between them and cut their frames at the top and bottom.
  static const int widths[7] = {40, 40, 40, 40, 140, 100, 50};
  int left = 0;
  for (int i = 0; i < 7; ++i) {
    auto* panel = new TStatusPanel(bar_);
    panel->setObjectName(QStringLiteral("sbPanel%1").arg(i));
    panel->setGeometry(left, 0, widths[i], 20);
    left += widths[i];
    panels_[size_t(i)] = panel;
  }
  // The computer's progress lies over the sixth panel, two pixels in from its top-left corner.
  progress_ = new QProgressBar(panels_[5]);
  progress_->setObjectName(QStringLiteral("pbBrain"));
  progress_->setTextVisible(false);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  progress_->setGeometry(2, 2, 98, 18);
}

void TGameStatus::RepaintNow() const {
  // Shown at once: the text names long work that runs before the next event loop pass.
  if (bar_->isVisible()) bar_->repaint();
}

void TGameStatus::SetText(const std::string& text) {
  panels_[4]->setText(QString::fromStdString(text));
  RepaintNow();
}

void TGameStatus::ClearGamer() {
  panels_[0]->clear();
  RepaintNow();
}

void TGameStatus::ShowScore(const TMorvikMachine& machine, bool byArea, int seat) const {
  if (seat < 1 || seat > 4) return;
  QString text;
  const TGamer& gamer = machine.Gamers[size_t(seat)];
  if (gamer.Kind != gkNone && machine.Map) {
    const TGamerScore& score = machine.Map->Scores[size_t(seat)];
    if (byArea) {
      const double tiles = double(machine.Width) * double(machine.Height);
      const double share = tiles > 0 ? std::trunc(score.Area * 10000.0 / tiles) / 100.0 : 0.0;
      QLocale locale = QLocale::system();
      locale.setNumberOptions(QLocale::OmitGroupSeparator);
      text = locale.toString(share, 'g', QLocale::FloatingPointShortest);
    } else {
      text = QString::number(score.Points);
    }
  }
  panels_[size_t(seat - 1)]->setText(text);
}

void TGameStatus::ShowScores(const TMorvikMachine& machine, bool byArea) const {
  for (int seat = 1; seat <= 4; ++seat) ShowScore(machine, byArea, seat);
}

void TGameStatus::ClearScores() const {
  for (size_t i = 0; i < 4; ++i) panels_[i]->clear();
}

void TGameStatus::SetPosition(int position) {
  position_ = position;
  progress_->setValue(std::clamp(position, 0, progress_->maximum()));
}

void TGameStatus::SetMaximum(int maximum) {
  maximum_ = maximum;
  progress_->setRange(0, std::max(1, maximum));
  SetPosition(position_);
}

void TGameStatus::Step() {
  int next = position_ + 1;
  if (next > maximum_) next = 0;
  SetPosition(next);
}
