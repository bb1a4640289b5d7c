// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's status bar: seven panels edge to edge (the four seats' scores, the status
// text, the computer's progress bar, one spare) and the progress the machine reports.
#pragma once

#include <QString>
#include <array>
#include <string>

class QLabel;
class QMainWindow;
class QProgressBar;
class QStatusBar;
class TMorvikMachine;

class TGameStatus {
 public:
  explicit TGameStatus(QMainWindow& window);

  QStatusBar* Bar() const { return bar_; }
  QLabel* Panel(size_t index) const { return panels_[index]; }
  const std::array<QLabel*, 7>& Panels() const { return panels_; }
  QProgressBar* Progress() const { return progress_; }

  // Status panel 4, repainted at once.
  void SetText(const std::string& text);
  void ClearGamer();  // panel 0, repainted at once
  // A seat's score as the victory rule counts it (area share in per cent, or points); empty for
  // an empty seat or without a board. Seats 1..4.
  void ShowScore(const TMorvikMachine& machine, bool byArea, int seat) const;
  void ShowScores(const TMorvikMachine& machine, bool byArea) const;
  void ClearScores() const;

  // The machine's progress. The bar keeps a range of at least one step so that a maximum of 0
  // never turns it into a busy indicator; the machine sees the maximum it set.
  void SetPosition(int position);
  void SetMaximum(int maximum);
  int Maximum() const { return maximum_; }
  void Step();  // past the maximum it starts again from the beginning

 private:
  void RepaintNow() const;

  QStatusBar* bar_ = nullptr;
  std::array<QLabel*, 7> panels_{};
  QProgressBar* progress_ = nullptr;
  int maximum_ = 0;
  int position_ = 0;
};
