// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/Icons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

#include "painter/MapPainter.h"

namespace {

// Colour k as a raised, framed tile, exactly as the board draws it.
QPixmap ColorTile(uint8_t color, int size, bool signs) {
  TMapPainter painter;
  painter.SetTileSigns(signs);
  painter.Resize(size, size);
  painter.DrawTile(0, 0, size - 1, color, stConvex, true);
  QImage image(reinterpret_cast<const uchar*>(painter.Bits()), size, size, size * 4,
               QImage::Format_RGB32);
  return QPixmap::fromImage(image.copy());
}

const QColor Ink(40, 40, 40);
const QColor Green(0, 150, 0);
const QColor Red(200, 0, 0);
const QColor Gold(230, 180, 0);
const QColor Blue(40, 90, 200);

using Drawing = std::function<void(QPainter&)>;

// Every drawing uses a 16 x 16 design grid; larger pixmaps scale it.
QPixmap Draw(int size, const Drawing& drawing) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(size / 16.0, size / 16.0);
  drawing(p);
  return pixmap;
}

void Person(QPainter& p, double x, double y, double scale, const QColor& color) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawEllipse(QPointF(x, y - 3.2 * scale), 2.2 * scale, 2.2 * scale);
  QPainterPath body;
  body.moveTo(x - 4 * scale, y + 4.5 * scale);
  body.cubicTo(x - 4 * scale, y - 1 * scale, x + 4 * scale, y - 1 * scale, x + 4 * scale,
               y + 4.5 * scale);
  body.closeSubpath();
  p.drawPath(body);
}

void Note(QPainter& p) {
  p.setPen(QPen(Ink, 1.4));
  p.drawLine(QPointF(6.5, 12), QPointF(6.5, 3));
  p.drawLine(QPointF(12.5, 10.5), QPointF(12.5, 1.8));
  p.setBrush(Ink);
  p.drawPolygon(
      QPolygonF({QPointF(6.5, 3), QPointF(12.5, 1.8), QPointF(12.5, 4), QPointF(6.5, 5.2)}));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(4.6, 12.2), 2.1, 1.7);
  p.drawEllipse(QPointF(10.6, 10.7), 2.1, 1.7);
}

Drawing Glyph(int index) {
  switch (index) {
    case 7:  // exit: a door with an arrow
      return [](QPainter& p) {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(QColor(190, 150, 100));
        p.drawRect(QRectF(2.5, 1.5, 7, 13));
        p.setPen(QPen(Red, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(8, 8), QPointF(14.5, 8));
        p.drawPolyline(QPolygonF({QPointF(12, 5.5), QPointF(14.5, 8), QPointF(12, 10.5)}));
      };
    case 8:  // start: a green triangle
      return [](QPainter& p) {
        p.setPen(QPen(Green.darker(140), 1));
        p.setBrush(Green);
        p.drawPolygon(QPolygonF({QPointF(4, 2), QPointF(14, 8), QPointF(4, 14)}));
      };
    case 9:  // stop: a red square
      return [](QPainter& p) {
        p.setPen(QPen(Red.darker(140), 1));
        p.setBrush(Red);
        p.drawRoundedRect(QRectF(3, 3, 10, 10), 1.5, 1.5);
      };
    case 10:  // settings: a cog
      return [](QPainter& p) {
        QPainterPath cog;
        for (int i = 0; i < 8; ++i) {
          QTransform t;
          t.translate(8, 8);
          t.rotate(45.0 * i);
          cog.addPolygon(t.map(QPolygonF(
              {QPointF(-1.6, -7.2), QPointF(1.6, -7.2), QPointF(1.6, -4), QPointF(-1.6, -4)})));
        }
        cog.addEllipse(QPointF(8, 8), 5.2, 5.2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 110, 120));
        p.drawPath(cog.simplified());
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
      };
    case 11:  // help: a question mark in a blue disc
      return [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath q;
        q.moveTo(5.6, 6);
        q.cubicTo(5.6, 2.6, 10.6, 2.6, 10.4, 6);
        q.cubicTo(10.3, 7.6, 8, 7.8, 8, 9.6);
        p.drawPath(q);
        p.drawPoint(QPointF(8, 12.4));
      };
    case 12:  // belongs to no command: a plain grey tile
      return [](QPainter& p) {
        p.setPen(QPen(Ink, 1));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
      };
    case 13:  // hall of fame: a cup
      return [](QPainter& p) {
        p.setPen(QPen(Gold.darker(150), 1));
        p.setBrush(Gold);
        QPainterPath cup;
        cup.moveTo(3.5, 2);
        cup.lineTo(12.5, 2);
        cup.cubicTo(12.5, 7, 10.5, 9.5, 8, 9.5);
        cup.cubicTo(5.5, 9.5, 3.5, 7, 3.5, 2);
        p.drawPath(cup);
        p.drawRect(QRectF(7, 9.5, 2, 3));
        p.drawRect(QRectF(4.5, 12.5, 7, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(0.8, 2.5, 4, 4), 90 * 16, 180 * 16);
        p.drawArc(QRectF(11.2, 2.5, 4, 4), 270 * 16, 180 * 16);
      };
    case 14:  // players: two people
      return [](QPainter& p) {
        Person(p, 10.5, 8.5, 0.9, QColor(90, 120, 200));
        Person(p, 6, 9.5, 1.0, QColor(40, 70, 160));
      };
    case 15:  // boss: a window going down into the tray
      return [](QPainter& p) {
        p.setPen(QPen(Ink, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 10, 8));
        p.setBrush(Blue);
        p.drawRect(QRectF(1.5, 1.5, 10, 2));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(0.5, 13, 15, 2.5));
        p.setPen(QPen(Red, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(13, 4), QPointF(13, 11));
        p.drawPolyline(QPolygonF({QPointF(11, 9), QPointF(13, 11.2), QPointF(15, 9)}));
      };
    case 16:  // layout number: a hash sign
      return [](QPainter& p) {
        p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 2), QPointF(4.5, 14));
        p.drawLine(QPointF(11.5, 2), QPointF(10, 14));
        p.drawLine(QPointF(2.5, 5.8), QPointF(14, 5.8));
        p.drawLine(QPointF(2, 10.2), QPointF(13.5, 10.2));
      };
    case 17:  // classic game: one against one
      return [](QPainter& p) {
        Person(p, 4.5, 9, 0.85, QColor(40, 70, 160));
        Person(p, 11.5, 9, 0.85, QColor(160, 40, 40));
      };
    case 18:  // multi-user game: four seats
      return [](QPainter& p) {
        Person(p, 4.3, 5.2, 0.6, QColor(40, 70, 160));
        Person(p, 11.7, 5.2, 0.6, QColor(160, 40, 40));
        Person(p, 4.3, 12.2, 0.6, QColor(0, 130, 0));
        Person(p, 11.7, 12.2, 0.6, QColor(150, 0, 150));
      };
    case 19:  // multi-user settings: people and a cog mark
      return [](QPainter& p) {
        Person(p, 5.5, 8.5, 0.9, QColor(40, 70, 160));
        p.setPen(QPen(QColor(110, 110, 120), 1.2));
        p.setBrush(QColor(190, 190, 200));
        p.drawEllipse(QPointF(12, 11), 3, 3);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(12, 11), 1, 1);
      };
    case 20:  // music on
      return [](QPainter& p) { Note(p); };
    case 21:  // music off
      return [](QPainter& p) {
        Note(p);
        p.setPen(QPen(Red, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2, 2), QPointF(14, 14));
      };
    case 22:  // about: "i" in a disc
      return [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 130, 130));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 4.6), 1.3, 1.3);
        p.drawRoundedRect(QRectF(6.9, 7, 2.2, 6), 0.8, 0.8);
      };
    case 23:  // home page: a house
      return [](QPainter& p) {
        p.setPen(QPen(Ink, 1));
        p.setBrush(QColor(200, 70, 50));
        p.drawPolygon(QPolygonF({QPointF(1.5, 8), QPointF(8, 1.5), QPointF(14.5, 8)}));
        p.setBrush(QColor(240, 230, 200));
        p.drawRect(QRectF(3.5, 8, 9, 6.5));
        p.setBrush(QColor(120, 80, 40));
        p.drawRect(QRectF(7, 10.5, 2.5, 4));
      };
    case 24:  // mail: an envelope
      return [](QPainter& p) {
        p.setPen(QPen(Ink, 1));
        p.setBrush(QColor(250, 250, 235));
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawPolyline(QPolygonF({QPointF(1.5, 3.5), QPointF(8, 8.5), QPointF(14.5, 3.5)}));
      };
    case 25:  // forum: two speech bubbles
      return [](QPainter& p) {
        p.setPen(QPen(Ink, 1));
        p.setBrush(QColor(200, 220, 250));
        p.drawRoundedRect(QRectF(1, 1.5, 9, 6.5), 2, 2);
        p.setBrush(QColor(250, 230, 180));
        p.drawRoundedRect(QRectF(6, 7, 9, 6.5), 2, 2);
        p.drawPolygon(QPolygonF({QPointF(11, 13.4), QPointF(13, 15.5), QPointF(13, 13.4)}));
      };
    case 26:  // hint: a lit bulb
      return [](QPainter& p) {
        p.setPen(QPen(Gold.darker(160), 1));
        p.setBrush(QColor(255, 230, 90));
        QPainterPath bulb;
        bulb.moveTo(5.6, 10.5);
        bulb.cubicTo(2, 7.5, 3.5, 1, 8, 1);
        bulb.cubicTo(12.5, 1, 14, 7.5, 10.4, 10.5);
        bulb.closeSubpath();
        p.drawPath(bulb);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 120, 130));
        p.drawRect(QRectF(5.6, 11, 4.8, 1.6));
        p.drawRect(QRectF(6.2, 13.2, 3.6, 1.6));
        p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 4.5), QPointF(6.8, 3.4));
      };
    case 27:  // take back: an arrow turning back to the left
      return [](QPainter& p) {
        p.setPen(QPen(Blue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath arc;
        arc.moveTo(4, 6.5);
        arc.lineTo(9.5, 6.5);
        arc.cubicTo(15, 6.5, 15, 13.5, 9.5, 13.5);
        arc.lineTo(6, 13.5);
        p.drawPath(arc);
        p.setBrush(Blue);
        p.setPen(QPen(Blue, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolygon(QPolygonF({QPointF(1.5, 6.5), QPointF(5.5, 3), QPointF(5.5, 10)}));
      };
    default:
      return [](QPainter&) {};
  }
}

}  // namespace

QIcon MakeColorIcon(uint8_t color, bool signs) {
  QIcon icon;
  for (int size : {16, 24, 32}) icon.addPixmap(ColorTile(color, size, signs));
  return icon;
}

std::array<QIcon, ColorIconCount> MakeColorIcons(bool signs) {
  std::array<QIcon, ColorIconCount> icons;
  for (int k = 1; k <= 7; ++k) icons[k - 1] = MakeColorIcon(uint8_t(k), signs);
  for (int size : {16, 24, 32})
    for (int i = 7; i < ColorIconCount; ++i) icons[i].addPixmap(Draw(size, Glyph(i)));
  return icons;
}

QIcon MakeStatsIcon() {
  // A bar chart: three bars on a base line.
  const Drawing chart = [](QPainter& p) {
    p.setPen(QPen(Ink, 1));
    p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
    const struct {
      double x, top;
      QColor color;
    } bars[] = {{2.5, 8, Blue}, {6.5, 3, Green}, {10.5, 6, Gold}};
    for (const auto& bar : bars) {
      p.setBrush(bar.color);
      p.drawRect(QRectF(bar.x, bar.top, 3, 14.5 - bar.top));
    }
  };
  QIcon icon;
  for (int size : {16, 24, 32}) icon.addPixmap(Draw(size, chart));
  return icon;
}

std::array<QIcon, 2> MakeCoachIcons() {
  std::array<QIcon, 2> icons;
  for (int size : {16, 24, 32})
    for (int i = 0; i < 2; ++i) icons[size_t(i)].addPixmap(Draw(size, Glyph(ColorIconCount + i)));
  return icons;
}
