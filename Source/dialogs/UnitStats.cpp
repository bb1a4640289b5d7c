// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/UnitStats.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "config/Catalogue.h"
#include "config/GamerStats.h"
#include "config/IniFile.h"
#include "config/MessageService.h"
#include "gui/Platform.h"
#include "gui/ProgressChart.h"
#include "gui/QtText.h"
#include "model/ComputerLevels.h"
#include "model/ProgramState.h"

namespace {

constexpr int ColumnWidths[TFormStats::ColCount] = {220, 50, 55, 75, 75, 65, 65, 55, 95};
constexpr int RowHeight = 20;
// Room a cell keeps on each side of its text (the item view's focus margin and a little air).
constexpr int CellPadding = 6;
// Shown instead of the numbers of a group whose counters cannot all be true.
const char* const Unknown = "—";

enum TStatsTab { stClassic, stMulti, stTotal, stAssisted };

struct TGroupRow {
  std::string Group;
  QString Label;
};

QString RuleName(bool byArea) {
  return byArea ? Q("по площади") : Q("по очкам");
}

// The board named as the settings name it, so that a row never reads as two levels.
std::vector<TGroupRow> ClassicRows() {
  static const char* const sizes[] = {"Маленькая", "Средняя", "Большая", "Огромная", "Особая"};
  std::vector<TGroupRow> rows;
  for (bool byArea : {true, false})
    for (const TComputerLevel& level : ComputerLevels())
      for (int size = 0; size <= 4; ++size)
        rows.push_back(
            {ClassicStatsGroup(level.Value, size, byArea),
             Q(level.Name) + Q(", карта ") + Q(sizes[size]).toLower() + ", " + RuleName(byArea)});
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
bool ByArea(const std::string& group) {
  return !group.ends_with("_Points");
}

QString ResultText(const std::string& group, int32_t value) {
  return StatsResultText(value, ByArea(group));
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
  FitColumns();

  iProgress = new TProgressChart(this);

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
  layout->addWidget(iProgress);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(tcStats, &QTabBar::currentChanged, this, &TFormStats::tcStatsChange);
  connect(sgStats, &QTableWidget::itemSelectionChanged, this, &TFormStats::sgStatsSelectionChanged);
  connect(btnReset, &QPushButton::clicked, this, &TFormStats::btnResetClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormStats::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    // Filled first: the columns fit their texts, and the dialog is centred at its final size,
    // on the main window that opened it.
    ShowStats();
    layout()->activate();
    CenterOnWindow(*this, parentWidget() ? parentWidget()->window() : nullptr, platform_);
  }
}

void TFormStats::ShowStats() {
  lblGamer->setText(Q("Игрок: ") + QString::fromStdString(state_.ActiveGamer));
  // The row shown in the chart stays selected when its group is listed again.
  const QList<QTableWidgetItem*> selected = sgStats->selectedItems();
  const std::string selectedGroup = selected.empty() ? "" : RowGroup(selected.front()->row());
  stats_ = ReadGamerStats(ini_, state_.ActiveGamer);
  const TGamerStats& stats = stats_;

  const QSignalBlocker quiet(sgStats);
  sgStats->clearContents();
  sgStats->setRowCount(1);
  sgStats->setRowHeight(0, RowHeight);
  static const char* const header[ColCount] = {"Игра",      "Игр",      "Побед",
                                               "Поражений", "Прервано", "Лучший",
                                               "Средний",   "Серия",    "Лучшая серия"};
  for (int c = 0; c < ColCount; ++c) {
    auto* item = Item(Q(header[c]), Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled);  // never part of the row selection
    item->setBackground(QGuiApplication::palette().button());
    sgStats->setItem(0, c, item);
  }

  bool any = false;
  for (const TGroupRow& row : TabRows(tcStats->currentIndex())) {
    const TStatsRecord r = stats.Record(row.Group);
    const bool possible = stats.Possible(row.Group);
    if (r.Games <= 0 && possible) continue;
    const int n = sgStats->rowCount();
    sgStats->insertRow(n);
    sgStats->setRowHeight(n, RowHeight);
    QTableWidgetItem* label = Item(row.Label, Qt::AlignLeft);
    label->setData(Qt::UserRole, QString::fromStdString(row.Group));
    sgStats->setItem(n, 0, label);
    const QString numbers[] = {QString::number(r.Games),      QString::number(r.Wins),
                               QString::number(r.Losses),     QString::number(r.Stopped),
                               ResultText(row.Group, r.Best), ResultText(row.Group, r.Average()),
                               QString::number(r.Streak),     QString::number(r.LongestStreak)};
    // Damaged counters say nothing true: none of them is shown.
    for (int c = 1; c < ColCount; ++c)
      sgStats->setItem(n, c, Item(possible ? numbers[c - 1] : Q(Unknown), Qt::AlignRight));
    any = true;
  }
  if (!any) {
    sgStats->insertRow(1);
    sgStats->setRowHeight(1, RowHeight);
    sgStats->setItem(1, 0, Item(Q("Нет сыгранных игр"), Qt::AlignLeft));
  }
  FitColumns();
  int select = any ? 1 : -1;
  for (int r = 1; r < sgStats->rowCount(); ++r)
    if (!selectedGroup.empty() && RowGroup(r) == selectedGroup) select = r;
  sgStats->clearSelection();
  if (select > 0) sgStats->selectRow(select);
  sgStatsSelectionChanged();
  // Whatever tab is shown, the reset is for the whole profile: it is offered when the profile
  // has any statistics stored, damaged ones included.
  btnReset->setEnabled(ini_.SectionExists(cfg::StatsSection(state_.ActiveGamer)));
}

void TFormStats::FitColumns() {
  // A column is as wide as its widest text with room on both sides, and never narrower than
  // its usual width; the dialog grows with it, so no cell is ever cut.
  const QFontMetrics metrics(sgStats->font());
  int width = 0;
  for (int c = 0; c < ColCount; ++c) {
    int column = ColumnWidths[c];
    for (int r = 0; r < sgStats->rowCount(); ++r)
      column = std::max(column, metrics.horizontalAdvance(Cell(r, c)) + 2 * CellPadding);
    sgStats->setColumnWidth(c, column);
    width += column;
  }
  const int frame = 2 * sgStats->frameWidth();
  const int scrollBar = sgStats->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  sgStats->setFixedSize(width + frame + scrollBar, VisibleRows * RowHeight + frame);
}

int TFormStats::RowCount() const {
  return sgStats->rowCount();
}

QString TFormStats::Cell(int row, int col) const {
  const QTableWidgetItem* item = sgStats->item(row, col);
  return item ? item->text() : QString();
}

std::string TFormStats::RowGroup(int row) const {
  const QTableWidgetItem* item = row > 0 ? sgStats->item(row, 0) : nullptr;
  return item ? item->data(Qt::UserRole).toString().toStdString() : std::string();
}

void TFormStats::sgStatsSelectionChanged() {
  const QList<QTableWidgetItem*> selected = sgStats->selectedItems();
  const std::string group = selected.empty() ? "" : RowGroup(selected.front()->row());
  iProgress->SetHistory(group.empty() ? TStatsHistory{} : stats_.History(group), ByArea(group));
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
