// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MapImage.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <cmath>

TMapImage::TMapImage(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);  // pointer moves without a button highlight islands
  setAttribute(Qt::WA_OpaquePaintEvent);
  setContextMenuPolicy(Qt::DefaultContextMenu);
}

void TMapImage::SetBuffer(uint32_t* bits, int width, int height) {
  if (bits && width > 0 && height > 0)
    image_ = QImage(reinterpret_cast<uchar*>(bits), width, height, width * 4, QImage::Format_RGB32);
  else
    image_ = QImage();
  FitSize();
  update();
}

int TMapImage::PixelScale() const {
  const double ratio = devicePixelRatioF();
  return std::max(1, int(std::floor(ratio + 1e-6)));
}

void TMapImage::FitSize() {
  // Logical size such that one board pixel covers PixelScale() device pixels exactly.
  const double ratio = devicePixelRatioF();
  const double factor = PixelScale() / ratio;
  const QSize size(int(std::lround(image_.width() * factor)),
                   int(std::lround(image_.height() * factor)));
  setFixedSize(size);
}

QPoint TMapImage::ToImage(const QPointF& position) const {
  const double perLogical = devicePixelRatioF() / PixelScale();
  return QPoint(int(std::floor(position.x() * perLogical)),
                int(std::floor(position.y() * perLogical)));
}

void TMapImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (image_.isNull()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  // The wrapped image is drawn at a whole-number scale: no filtering happens.
  QImage view = image_;  // shallow: shares the painter's buffer
  view.setDevicePixelRatio(devicePixelRatioF() / PixelScale());
  painter.drawImage(QPointF(0, 0), view);
}

void TMapImage::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) {
    const QPoint p = ToImage(event->position());
    OnMouseMove(p.x(), p.y());
  }
}

void TMapImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  leftDown_ = true;
  if (OnMouseDown) OnMouseDown();
}

void TMapImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !leftDown_) return;
  leftDown_ = false;
  const QPoint p = ToImage(event->position());
  const bool inside = p.x() >= 0 && p.y() >= 0 && p.x() < image_.width() && p.y() < image_.height();
  QPointer<TMapImage> self(this);
  if (inside && OnClick) OnClick();
  if (self && OnMouseUp) OnMouseUp();
}

void TMapImage::contextMenuEvent(QContextMenuEvent* event) {
  if (popup_) popup_->exec(event->globalPos());
}

bool TMapImage::event(QEvent* event) {
  // Moved to a screen with another pixel ratio: keep whole device pixels per board pixel.
  if (event->type() == QEvent::ScreenChangeInternal) FitSize();
  return QWidget::event(event);
}
