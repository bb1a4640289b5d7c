// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/UnitStats.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "config/Catalogue.h"
#include "config/GamerStats.h"
#include "config/IniFile.h"
#include "config/MessageService.h"
#include "gui/Platform.h"
#include "gui/QtText.h"
#include "model/ComputerLevels.h"
#include "model/ProgramState.h"

namespace {

constexpr int ColumnWidths[TFormStats::ColCount] = {220, 50, 55, 75, 65, 65, 55, 95};
constexpr int RowHeight = 20;

enum TStatsTab { stClassic, stMulti, stTotal, stAssisted };

struct TGroupRow {
  std::string Group;
  QString Label;
};

QString RuleName(bool byArea) {
  return byArea ? Q("площадь") : Q("очки");
}

std::vector<TGroupRow> ClassicRows() {
  static const char* const sizes[] = {"Маленький", "Средний", "Большой", "Огромный", "Особый"};
  std::vector<TGroupRow> rows;
  for (bool byArea : {true, false})
    for (const TComputerLevel& level : ComputerLevels())
      for (int size = 0; size <= 4; ++size)
        rows.push_back({ClassicStatsGroup(level.Value, size, byArea),
                        Q(level.Name) + ", " + Q(sizes[size]) + ", " + RuleName(byArea)});
  return rows;
}

std::vector<TGroupRow> MultiRows() {
  std::vector<TGroupRow> rows;
  for (bool byArea : {true, false})
    for (int seats = 2; seats <= 4; ++seats)
      rows.push_back({MultiStatsGroup(seats, byArea),
                      QString::number(seats) + Q(" места, ") + RuleName(byArea)});
  return rows;
}

std::vector<TGroupRow> TotalRows() {
  std::vector<TGroupRow> rows;
  for (bool byArea : {true, false})
    rows.push_back({TotalStatsGroup(byArea), Q("Всего, ") + RuleName(byArea)});
  return rows;
}

std::vector<TGroupRow> TabRows(int tab) {
  switch (tab) {
    case stClassic:
      return ClassicRows();
    case stMulti:
      return MultiRows();
    case stTotal:
      return TotalRows();
    default: {
      std::vector<TGroupRow> rows;
      for (auto part : {ClassicRows, MultiRows, TotalRows})
        for (TGroupRow& row : part()) rows.push_back({AssistedStatsGroup(row.Group), row.Label});
      return rows;
    }
  }
}

// The group's name tells its rule: area is kept in tenths of a percent.
QString ResultText(const std::string& group, int32_t value) {
  if (group.ends_with("_Points")) return QString::number(value);
  return QString::number(value / 10) + "," + QString::number(value % 10) + " %";
}

QTableWidgetItem* Item(const QString& text, Qt::Alignment align) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(align | Qt::AlignVCenter);
  return item;
}

}  // namespace

TFormStats::TFormStats(TIniFile& ini, TMessageService& messages, const TProgramState& state,
                       const TPlatform& platform, QWidget* parent)
    : QDialog(parent), ini_(ini), messages_(messages), state_(state), platform_(platform) {
  setObjectName(QStringLiteral("FormStats"));
  setWindowTitle(Q("Статистика"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  lblGamer = new QLabel(this);
  lblGamer->setObjectName(QStringLiteral("lblGamer"));

  tcStats = new QTabBar(this);
  tcStats->setObjectName(QStringLiteral("tcStats"));
  for (const char* tab : {"Классическая", "Многопользовательская", "Всего", "С помощью"})
    tcStats->addTab(Q(tab));
  tcStats->setExpanding(false);

  sgStats = new QTableWidget(1, ColCount, this);
  sgStats->setObjectName(QStringLiteral("sgStats"));
  sgStats->horizontalHeader()->hide();
  sgStats->verticalHeader()->hide();
  sgStats->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgStats->setSelectionMode(QAbstractItemView::SingleSelection);
  sgStats->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgStats->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgStats->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  sgStats->setTextElideMode(Qt::ElideNone);
  int width = 0;
  for (int c = 0; c < ColCount; ++c) {
    sgStats->setColumnWidth(c, ColumnWidths[c]);
    width += ColumnWidths[c];
  }
  const int frame = 2 * sgStats->frameWidth();
  const int scrollBar = sgStats->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  sgStats->setFixedSize(width + frame + scrollBar, VisibleRows * RowHeight + frame);

  btnReset = new QPushButton(Q("Сброс"), this);
  btnReset->setObjectName(QStringLiteral("btnReset"));
  btnReset->setAutoDefault(false);
  btnClose = new QPushButton(Q("Закрыть"), this);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnReset);
  buttons->addStretch(1);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(0);
  layout->addWidget(lblGamer);
  layout->addSpacing(4);
  layout->addWidget(tcStats);
  layout->addWidget(sgStats);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(tcStats, &QTabBar::currentChanged, this, &TFormStats::tcStatsChange);
  connect(btnReset, &QPushButton::clicked, this, &TFormStats::btnResetClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormStats::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    CenterOnScreen(*this, platform_);
    ShowStats();
  }
}

void TFormStats::ShowStats() {
  lblGamer->setText(Q("Игрок: ") + QString::fromStdString(state_.ActiveGamer));
  const TGamerStats stats = ReadGamerStats(ini_, state_.ActiveGamer);

  sgStats->clearContents();
  sgStats->setRowCount(1);
  sgStats->setRowHeight(0, RowHeight);
  static const char* const header[ColCount] = {"Игра",   "Игр",     "Побед", "Поражений",
                                               "Лучший", "Средний", "Серия", "Лучшая серия"};
  for (int c = 0; c < ColCount; ++c) {
    auto* item = Item(Q(header[c]), Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled);  // never part of the row selection
    item->setBackground(QGuiApplication::palette().button());
    sgStats->setItem(0, c, item);
  }

  bool any = false;
  for (const TGroupRow& row : TabRows(tcStats->currentIndex())) {
    const TStatsRecord r = stats.Record(row.Group);
    if (r.Games <= 0) continue;
    const int n = sgStats->rowCount();
    sgStats->insertRow(n);
    sgStats->setRowHeight(n, RowHeight);
    sgStats->setItem(n, 0, Item(row.Label, Qt::AlignLeft));
    const QString numbers[] = {QString::number(r.Games),           QString::number(r.Wins),
                               QString::number(r.Losses),          ResultText(row.Group, r.Best),
                               ResultText(row.Group, r.Average()), QString::number(r.Streak),
                               QString::number(r.LongestStreak)};
    for (int c = 1; c < ColCount; ++c) sgStats->setItem(n, c, Item(numbers[c - 1], Qt::AlignRight));
    any = true;
  }
  if (!any) {
    sgStats->insertRow(1);
    sgStats->setRowHeight(1, RowHeight);
    sgStats->setItem(1, 0, Item(Q("Нет сыгранных игр"), Qt::AlignLeft));
  }
  // Whatever tab is shown, the reset is for the whole profile: it is offered when any group
  // has games.
  bool stored = false;
  for (int tab = stClassic; tab <= stAssisted && !stored; ++tab)
    for (const TGroupRow& row : TabRows(tab))
      if (stats.Record(row.Group).Games > 0) {
        stored = true;
        break;
      }
  btnReset->setEnabled(stored);
}

int TFormStats::RowCount() const {
  return sgStats->rowCount();
}

QString TFormStats::Cell(int row, int col) const {
  const QTableWidgetItem* item = sgStats->item(row, col);
  return item ? item->text() : QString();
}

void TFormStats::tcStatsChange(int) {
  ShowStats();
}

void TFormStats::btnResetClick() {
  if (state_.ActiveGamer.empty()) return;
  // One reset for the whole profile: every tab, the games with help among them.
  if (messages_.Confirm("Сброс всей статистики игрока " + state_.ActiveGamer +
                        " на всех вкладках.\r\nВы уверены?"))
    ini_.EraseSection(cfg::StatsSection(state_.ActiveGamer));
  ShowStats();
}
