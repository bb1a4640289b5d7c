// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/ProgressChart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "gui/QtText.h"

namespace {

const QColor WinColor(0x2e, 0x7d, 0x32);
const QColor LossColor(0xc6, 0x28, 0x28);
const QColor AverageColor(0x15, 0x65, 0xc0);
const QColor GridColor(0xdc, 0xdc, 0xdc);

constexpr int Margin = 6;             // inside the frame, around everything
constexpr int MarkerSize = 7;         // a marker's width in logical pixels
constexpr int MaxStep = 20;           // the widest room per game, for short histories
constexpr int32_t WholeBoard = 1000;  // tenths of a percent

// Russian number agreement: 1 игра, 2 игры, 5 игр (and 21 игра, 11 игр).
const char* Plural(int n, const char* one, const char* few, const char* many) {
  const int last = n % 10, lastTwo = n % 100;
  if (last == 1 && lastTwo != 11) return one;
  if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) return few;
  return many;
}

// Device-pixel geometry: every length a whole number of device pixels, lines of odd width on
// pixel centres, so nothing is smeared over two pixels.
struct TDevice {
  qreal ratio;
  int Len(qreal logical) const { return std::max(1, int(std::lround(logical * ratio))); }
  int Pos(qreal logical) const { return int(std::lround(logical * ratio)); }
  // The centre of a line of `width` device pixels at logical position `logical`.
  qreal Line(qreal logical, int width) const { return Pos(logical) + (width % 2 ? 0.5 : 0.0); }
};

}  // namespace

QString StatsResultText(int32_t value, bool byArea) {
  if (!byArea) return QString::number(value);
  return QString::number(value / 10) + "," + QString::number(value % 10) + " %";
}

QString ProgressSummary(const TStatsHistory& history, bool byArea) {
  if (history.empty()) return {};
  const TStatsHistorySummary s = SummarizeStatsHistory(history);
  const int n = int(history.size());
  return Q(Plural(n, "Последняя ", "Последние ", "Последние ")) + QString::number(n) + " " +
         Q(Plural(n, "игра", "игры", "игр")) + ": " + QString::number(s.Wins) + " " +
         Q(Plural(s.Wins, "победа", "победы", "побед")) + ", " + QString::number(s.Losses) + " " +
         Q(Plural(s.Losses, "поражение", "поражения", "поражений")) + Q(", средний результат ") +
         StatsResultText(s.Average, byArea);
}

TProgressChart::TProgressChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("iProgress"));
  setFixedHeight(ChartHeight);
  setAccessibleDescription(
      Q("Результаты последних игр по порядку: победы закрашены, поражения пустые, линия — "
        "средний результат"));
  SetHistory({}, true);
}

QString TProgressChart::EmptyText() {
  return Q("Нет законченных игр для графика");
}

void TProgressChart::SetHistory(const TStatsHistory& history, bool byArea) {
  history_ = history;
  byArea_ = byArea;
  setAccessibleName(history_.empty() ? EmptyText() : ProgressSummary(history_, byArea_));
  update();
}

QSize TProgressChart::sizeHint() const {
  return {400, ChartHeight};
}

QSize TProgressChart::minimumSizeHint() const {
  return sizeHint();
}

int64_t TProgressChart::ScaleTop() const {
  if (byArea_) return WholeBoard;
  const int64_t top = std::max<int64_t>(1, SummarizeStatsHistory(history_).Top);
  // 1, 2 or 5 times a power of ten.
  for (int64_t power = 1;; power *= 10)
    for (int64_t step : {1, 2, 5})
      if (step * power >= top) return step * power;
}

void TProgressChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // Device pixels per logical pixel, taken from the painter so that a rendering into an image of
  // another scale is sharp too.
  const TDevice dev{std::max<qreal>(1.0, std::abs(p.deviceTransform().m11()))};
  const QFontMetrics metrics(font());
  const QRect whole = rect();
  p.fillRect(whole, palette().base());
  // The frame, one logical pixel on every side, drawn in device pixels.
  const int hair = dev.Len(1);
  p.save();
  p.scale(1 / dev.ratio, 1 / dev.ratio);
  p.setPen(QPen(palette().mid().color(), hair, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawRect(QRectF(hair / 2.0, hair / 2.0, dev.Pos(width()) - hair, dev.Pos(height()) - hair));
  p.restore();

  if (history_.empty()) {
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(whole, Qt::AlignCenter, EmptyText());
    return;
  }

  // The summary in words above, the legend beside it.
  const int textHeight = metrics.height();
  const QRect header(Margin, Margin / 2, width() - 2 * Margin, textHeight);
  p.setPen(palette().text().color());
  p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, ProgressSummary(history_, byArea_));
  struct TLegend {
    const char* text;
    int kind;  // 0 win, 1 loss, 2 average
  };
  const TLegend legend[] = {{"победа", 0}, {"поражение", 1}, {"среднее", 2}};
  std::vector<std::pair<int, int>> legendMarks;  // x of each sign, kind
  int x = header.right();
  for (auto it = std::rbegin(legend); it != std::rend(legend); ++it) {
    const QString text = Q(it->text);
    x -= metrics.horizontalAdvance(text);
    p.drawText(QRect(x, header.top(), metrics.horizontalAdvance(text), textHeight),
               Qt::AlignLeft | Qt::AlignVCenter, text);
    x -= MarkerSize + 4 + (it->kind == 2 ? 6 : 0);
    legendMarks.emplace_back(x, it->kind);
    x -= 12;
  }

  // The plot: the scale's labels on the left, half a text line of room above and below them.
  const int64_t top = ScaleTop();
  const QString labels[] = {StatsResultText(int32_t(top), byArea_),
                            StatsResultText(int32_t(top / 2), byArea_),
                            StatsResultText(0, byArea_)};
  int labelWidth = 0;
  for (const QString& l : labels) labelWidth = std::max(labelWidth, metrics.horizontalAdvance(l));
  const int plotTop = header.bottom() + 4 + textHeight / 2;
  const int plotBottom = height() - Margin - textHeight / 2;
  const int plotLeft = Margin + labelWidth + Margin;
  const int plotRight = width() - Margin - MarkerSize;
  auto yOf = [&](double value) {
    return plotBottom - (plotBottom - plotTop) * std::clamp(value / double(top), 0.0, 1.0);
  };
  for (int i = 0; i < 3; ++i) {
    const int y = int(std::lround(yOf(double(top) * (2 - i) / 2)));
    p.drawText(QRect(Margin, y - textHeight / 2, labelWidth, textHeight),
               Qt::AlignRight | Qt::AlignVCenter, labels[i]);
  }

  // From here on in device pixels.
  p.save();
  p.scale(1 / dev.ratio, 1 / dev.ratio);
  for (int i = 0; i < 3; ++i) {
    const qreal y = dev.Line(std::lround(yOf(double(top) * i / 2)), hair);
    p.setPen(QPen(i == 0 ? palette().mid().color() : GridColor, hair, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(dev.Pos(plotLeft), y), QPointF(dev.Pos(plotRight + MarkerSize), y));
  }

  const int n = int(history_.size());
  const double step = std::min<double>(MaxStep, double(plotRight - plotLeft) / n);
  const int diameter = dev.Len(MarkerSize);
  const qreal radius = diameter / 2.0;
  // Marker centres on pixel centres for an odd diameter, on pixel corners for an even one.
  auto centre = [&](double lx, double ly) {
    const qreal shift = diameter % 2 ? 0.5 : 0.0;
    return QPointF(dev.Pos(lx) + shift, dev.Pos(ly) + shift);
  };
  auto mark = [&](QPointF c, bool won) {
    if (won) {
      p.setPen(Qt::NoPen);
      p.setBrush(WinColor);
      p.drawEllipse(c, radius, radius);
    } else {
      p.setPen(QPen(LossColor, hair));
      p.setBrush(palette().base());
      p.drawEllipse(c, radius - hair / 2.0, radius - hair / 2.0);
    }
  };
  p.setRenderHint(QPainter::Antialiasing);

  const TStatsHistorySummary summary = SummarizeStatsHistory(history_);
  const QPen averagePen(AverageColor, dev.Len(1.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  QPainterPath average;
  for (int i = 0; i < n; ++i) {
    const QPointF c = centre(plotLeft + step * (i + 0.5), yOf(summary.RunningAverage[size_t(i)]));
    i == 0 ? average.moveTo(c) : average.lineTo(c);
  }
  if (n == 1) average.lineTo(average.currentPosition() + QPointF(dev.Len(step / 2), 0));
  p.setPen(averagePen);
  p.setBrush(Qt::NoBrush);
  p.drawPath(average);
  for (int i = 0; i < n; ++i)
    mark(centre(plotLeft + step * (i + 0.5), yOf(history_[size_t(i)].Result)),
         history_[size_t(i)].Won);

  const double legendY = header.top() + textHeight / 2.0;
  for (const auto& [lx, kind] : legendMarks) {
    if (kind == 2) {
      p.setPen(averagePen);
      const qreal y = dev.Line(legendY, dev.Len(1.5));
      p.drawLine(QPointF(dev.Pos(lx), y), QPointF(dev.Pos(lx + MarkerSize + 6), y));
    } else {
      mark(centre(lx + MarkerSize / 2.0, legendY), kind == 0);
    }
  }
  p.restore();
}
