// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/UnitHallFame.h"
#include "gui/Platform.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "config/HallFame.h"
#include "config/IniFile.h"
#include "config/MessageService.h"
#include "gui/QtText.h"
#include "model/ProgramState.h"

namespace {

constexpr int ColumnWidths[TFormHallFame::ColCount] = {50, 204, 60};
constexpr int RowHeight = 20;
// Room a cell keeps on each side of its text (the item view's focus margin and a little air).
constexpr int CellPadding = 6;

QTableWidgetItem* FixedItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);  // never part of the row selection
  item->setBackground(QGuiApplication::palette().button());
  item->setTextAlignment(Qt::AlignCenter);
  return item;
}

}  // namespace

TFormHallFame::TFormHallFame(TIniFile& ini, TMessageService& messages, const TProgramState& state,
                             const TPlatform& platform, QWidget* parent, THallFameGameSource* games)
    : QDialog(parent),
      ini_(ini),
      messages_(messages),
      state_(state),
      platform_(platform),
      games_(games) {
  setObjectName(QStringLiteral("FormHallFame"));
  setWindowTitle(Q("Зал славы"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  tcTop10 = new QTabBar(this);
  tcTop10->setObjectName(QStringLiteral("tcTop10"));
  for (const char* tab : {"Маленький", "Средний", "Большой", "Огромный"}) tcTop10->addTab(Q(tab));
  tcTop10->setCurrentIndex(1);
  tcTop10->setExpanding(false);

  sgScores = new QTableWidget(RowCount, ColCount, this);
  sgScores->setObjectName(QStringLiteral("sgScores"));
  sgScores->horizontalHeader()->hide();
  sgScores->verticalHeader()->hide();
  sgScores->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgScores->setSelectionMode(QAbstractItemView::SingleSelection);
  sgScores->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgScores->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgScores->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgScores->setFocusPolicy(Qt::StrongFocus);

  // Header row, places and column widths. A column is never narrower than its heading or, for
  // the names, twenty of the widest letter in the grid's font: nothing is ever elided.
  const char* header[ColCount] = {"Место", "Игрок", "Результат"};
  sgScores->setTextElideMode(Qt::ElideNone);
  const QFontMetrics metrics(sgScores->font());
  const int padding = 2 * CellPadding;
  for (int c = 0; c < ColCount; ++c) {
    sgScores->setItem(0, c, FixedItem(Q(header[c])));
    int width = std::max(ColumnWidths[c], metrics.horizontalAdvance(Q(header[c])) + padding);
    if (c == 1) width = std::max(width, metrics.horizontalAdvance(WidestSeatName()) + padding);
    sgScores->setColumnWidth(c, width);
  }
  for (int r = 1; r < RowCount; ++r) {
    sgScores->setItem(r, 0, FixedItem(QString::number(r)));
    sgScores->setRowHeight(r, RowHeight);
    for (int c = 1; c < ColCount; ++c) {
      auto* item = new QTableWidgetItem;
      item->setTextAlignment(c == 2 ? Qt::AlignRight | Qt::AlignVCenter
                                    : Qt::AlignLeft | Qt::AlignVCenter);
      sgScores->setItem(r, c, item);
    }
  }
  sgScores->setRowHeight(0, RowHeight);
  const int frame = 2 * sgScores->frameWidth();
  int gridWidth = frame;
  for (int c = 0; c < ColCount; ++c) gridWidth += sgScores->columnWidth(c);
  sgScores->setFixedSize(gridWidth, RowCount * RowHeight + frame);
  SetSelectedRow(1);

  btnDropScore = new QPushButton(Q("Сброс"), this);
  btnDropScore->setObjectName(QStringLiteral("btnDropScore"));
  btnDropScore->setAutoDefault(false);
  btnClose = new QPushButton(Q("ОК"), this);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setDefault(true);
  btnWatch = new QPushButton(Q("Смотреть"), this);
  btnWatch->setObjectName(QStringLiteral("btnWatch"));
  btnWatch->setAutoDefault(false);
  btnWatch->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnDropScore);
  buttons->addStretch(1);
  buttons->addWidget(btnClose);
  buttons->addWidget(btnWatch);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(0);
  layout->addWidget(tcTop10);
  layout->addWidget(sgScores);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(tcTop10, &QTabBar::currentChanged, this, &TFormHallFame::tcTop10Change);
  connect(btnDropScore, &QPushButton::clicked, this, &TFormHallFame::btnDropScoreClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnWatch, &QPushButton::clicked, this, &TFormHallFame::btnWatchClick);
  connect(sgScores, &QTableWidget::currentCellChanged, this, [this] { UpdateWatch(); });
}

void TFormHallFame::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    // Centred on the screen, whatever window opened it.
    CenterOnScreen(*this, platform_);
    unreadableTold_ = false;
    FormShow();
  }
}

void TFormHallFame::FormShow() {
  // The custom board size has no tab: the dialog then stays on the tab it showed last.
  const int size = state_.Options.SizeMap;
  if (size >= 0 && size < tcTop10->count()) {
    const QSignalBlocker block(tcTop10);
    tcTop10->setCurrentIndex(size);
  }
  ShowTop10();
}

void TFormHallFame::ShowTop10() {
  for (int r = 1; r < RowCount; ++r)
    for (int c = 1; c < ColCount; ++c) sgScores->item(r, c)->setText(QString());

  ShownSection = HallFameSection(state_.Options.Victory, tcTop10->currentIndex());
  std::vector<std::string> records;
  const bool knownUnreadable = ini_.SavingOff();
  ReadHallFame(ini_, &messages_, records, ShownSection);
  if (ini_.SavingOff()) {
    // A marked row would pass for a record on disk. A store that found the file unreadable
    // during this very read has just said so itself.
    sgScores->clearSelection();
    sgScores->setCurrentCell(-1, -1);
    if (knownUnreadable && !unreadableTold_) messages_.Error(HallFameReadProblem(ini_));
    unreadableTold_ = true;
  }
  for (size_t i = 0; i < records.size() && i + 1 < size_t(RowCount); ++i) {
    const THallFameRecord r = THallFameRecord::Parse(records[i]);
    const int row = int(i) + 1;
    sgScores->item(row, 1)->setText(QString::fromStdString(r.Name));
    if (r.HasScore) sgScores->item(row, 2)->setText(QString::fromStdString(r.Score));
  }
  btnDropScore->setEnabled(!records.empty());
  hasGame_ = games_ ? games_->HallFameGames(ShownSection, records) : std::vector<bool>();
  records_ = std::move(records);
  UpdateWatch();
}

std::optional<size_t> TFormHallFame::WatchableRow() const {
  const int row = SelectedRow();
  if (row < 1 || size_t(row) > hasGame_.size() || !hasGame_[size_t(row) - 1]) return std::nullopt;
  return size_t(row) - 1;
}

void TFormHallFame::UpdateWatch() {
  btnWatch->setEnabled(WatchableRow().has_value());
}

void TFormHallFame::btnWatchClick() {
  const std::optional<size_t> row = WatchableRow();
  if (!row || !games_) return;
  accept();
  games_->WatchHallFameGame(ShownSection, records_, *row);
}

void TFormHallFame::tcTop10Change(int) {
  ShowTop10();
}

void TFormHallFame::btnDropScoreClick() {
  if (messages_.Confirm("Сброс результатов игроков.\r\nВы уверены") &&
      ini_.EraseSection(ShownSection) && games_)
    games_->HallFameTableReset(ShownSection);
  ShowTop10();
}

void TFormHallFame::SetSelectedRow(int row) {
  if (row < 1 || row >= RowCount) return;
  sgScores->setCurrentCell(row, 1);
  sgScores->selectRow(row);
  if (btnWatch) UpdateWatch();
}

int TFormHallFame::SelectedRow() const {
  return sgScores->currentRow();
}

QString TFormHallFame::Cell(int row, int col) const {
  const QTableWidgetItem* item = sgScores->item(row, col);
  return item ? item->text() : QString();
}
