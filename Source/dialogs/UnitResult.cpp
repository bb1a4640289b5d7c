// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/UnitResult.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "config/Cp1251.h"
#include "config/HallFame.h"
#include "config/IniFile.h"
#include "config/MessageService.h"
#include "dialogs/UnitHallFame.h"
#include "engine/UnitCore.h"
#include "gui/QtText.h"
#include "model/GameEnd.h"
#include "model/GameHost.h"
#include "model/ProgramState.h"

namespace {

// A framed bold cell at least `width` wide and wide enough for `widest` in its own font.
QLabel* Cell(QWidget* parent, const QString& name, Qt::Alignment align, int width,
             const QString& widest) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(align | Qt::AlignVCenter);
  label->setContentsMargins(4, 0, 4, 0);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  const int frame = 2 * label->frameWidth() + 8;  // the frame and the margins on both sides
  label->setFixedSize(std::max(width, QFontMetrics(font).horizontalAdvance(widest) + frame), 24);
  return label;
}

}  // namespace

TFormResult::TFormResult(const TMorvikMachine& machine, TProgramState& state, TIniFile& ini,
                         TMessageService& messages, TGameHost& host, TShowRecordRank showRank,
                         QWidget* parent)
    : QDialog(parent),
      machine_(machine),
      state_(state),
      ini_(ini),
      messages_(messages),
      host_(host),
      showRank_(std::move(showRank)) {
  setObjectName(QStringLiteral("FormResult"));
  setWindowTitle(Q("Результаты игры"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* grid = new QGridLayout(Panel1);
  grid->setSpacing(4);
  for (int n = 1; n <= 4; ++n) {
    const QString number = QString::number(n);
    const QString place = number + Q(" место");
    stPlace[size_t(n)] =
        Cell(Panel1, QStringLiteral("stPlace") + number, Qt::AlignHCenter, 70, place);
    stPlace[size_t(n)]->setText(place);
    stName[size_t(n)] =
        Cell(Panel1, QStringLiteral("stName") + number, Qt::AlignLeft, 200, WidestSeatName());
    stScore[size_t(n)] = Cell(Panel1, QStringLiteral("stScore") + number, Qt::AlignRight, 70,
                              QStringLiteral("999999"));
    grid->addWidget(stPlace[size_t(n)], n - 1, 0);
    grid->addWidget(stName[size_t(n)], n - 1, 1);
    grid->addWidget(stScore[size_t(n)], n - 1, 2);
  }

  btnClose = new QPushButton(Q("Закрыть"), this);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setDefault(true);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

  stAssisted = new QLabel(Q("Игра с подсказками или отменой ходов не идёт в зал славы."), this);
  stAssisted->setObjectName(QStringLiteral("stAssisted"));
  stAssisted->setAlignment(Qt::AlignHCenter);
  stAssisted->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Panel1);
  layout->addWidget(stAssisted);
  layout->addWidget(btnClose, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormResult::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Sized before centring: the assisted line adds a row. Multi-user games never enter the hall
  // of fame, helped or not: the line would suggest otherwise.
  stAssisted->setVisible(machine_.Assisted && !state_.MultiUserMode);
  layout()->activate();
  // Centred on the main window.
  if (const QWidget* window = parentWidget()) {
    QRect r = frameGeometry();
    r.moveCenter(window->frameGeometry().center());
    move(r.topLeft());
  }
  FormShow();
}

void TFormResult::SetRecord(const TGameEndRecord& record) {
  RecordSaved = record.RecordSaved;
  if (record.Rank > 0 && showRank_) showRank_(record.Rank);
}

void TFormResult::FormShow() {
  PersonWon = false;
  ResultList = RankedResults(machine_, state_.GameVictory == 0);

  for (int n = 1; n <= 4; ++n) {
    // Controls found by name, as the rows are laid out.
    const QString number = QString::number(n);
    auto* name = findChild<QLabel*>(QStringLiteral("stName") + number);
    auto* score = findChild<QLabel*>(QStringLiteral("stScore") + number);
    auto* place = findChild<QLabel*>(QStringLiteral("stPlace") + number);
    const TResultLine& line = ResultList[size_t(n - 1)];
    if (line.Number != 0) {
      name->setText(QString::fromStdString(line.Name));
      score->setText(QString::number(line.Number));
      place->setEnabled(true);
    } else {
      name->clear();
      score->clear();
      place->setEnabled(false);
    }
  }

  PersonWon = ::PersonWon(ResultList, machine_);
}

void TFormResult::FormClose() {
  const TProgramState& state = state_;
  bool newLayout = true;
  // A person who won without a record (a name that starts like the computer's) lost nothing.
  if (!state.MultiUserMode && !RecordSaved && !PersonWon && state.Option(soReplay))
    newLayout = !messages_.Confirm("Раунд проигран.\r\nПереиграть?");
  if (newLayout) host_.SetRandomGame();
}

void TFormResult::done(int result) {
  FormClose();
  QDialog::done(result);
}
