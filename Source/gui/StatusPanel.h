// SPDX-License-Identifier: GPL-3.0-or-later
// One panel of the status bar: a label inside a whole sunken frame, dark above and to the left,
// light below and to the right, whatever the widget style draws for a panel.
#pragma once

#include <QLabel>

class TStatusPanel : public QLabel {
 public:
  static constexpr int FrameWidth = 1;
  explicit TStatusPanel(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
