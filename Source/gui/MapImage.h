// SPDX-License-Identifier: GPL-3.0-or-later
// The board image iMap: shows the painter's pixel buffer through a QImage that wraps it (no
// copy), 1:1 and never smoothed; on a high-DPI screen each board pixel becomes a whole number of
// device pixels. Reports pointer events in board pixels.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>

class QMenu;

class TMapImage : public QWidget {
  Q_OBJECT

 public:
  explicit TMapImage(QWidget* parent = nullptr);

  // Wraps `bits` (width x height, 0xFFRRGGBB, rows packed); the buffer must outlive the next
  // SetBuffer call. Resizes the widget to fit.
  void SetBuffer(uint32_t* bits, int width, int height);
  const QImage& Image() const { return image_; }

  // The popup menu shown on a right click, or null for none (between games).
  void SetPopupMenu(QMenu* menu) { popup_ = menu; }
  QMenu* PopupMenu() const { return popup_; }

  // Board pixel under a widget position (may be negative or past the image while dragging).
  QPoint ToImage(const QPointF& position) const;
  // Device pixels per board pixel (1 on ordinary screens).
  int PixelScale() const;

  std::function<void(int x, int y)> OnMouseMove;
  std::function<void()> OnMouseDown;  // left button
  std::function<void()> OnClick;      // left button pressed and released inside the image
  std::function<void()> OnMouseUp;    // left button

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void FitSize();

  QImage image_;
  QMenu* popup_ = nullptr;
  bool leftDown_ = false;
};
