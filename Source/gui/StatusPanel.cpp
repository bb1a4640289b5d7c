// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/StatusPanel.h"

#include <qdrawutil.h>
#include <QPainter>

TStatusPanel::TStatusPanel(QWidget* parent) : QLabel(parent) {
  // The frame is drawn here, not by the style (some draw only part of a panel's edges); the
  // margins keep the text two pixels in from it.
  setFrameStyle(QFrame::NoFrame);
  setContentsMargins(FrameWidth + 2, FrameWidth, FrameWidth + 2, FrameWidth);
}

void TStatusPanel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  QPainter painter(this);
  qDrawShadePanel(&painter, rect(), palette(), true, FrameWidth);
}
