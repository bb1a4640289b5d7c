// TFormGame: help for a player who is learning: the hard computer's colour shown on the board,
// and taking the last choice back. Either makes the game an assisted one (the machine keeps
// that flag; the results dialog reads it).
#include <QAction>
#include <QKeySequence>

#include "window/UnitGame.h"
#include "gui/Icons.h"
#include "gui/QtText.h"

void TFormGame::CreateCoachActions() {
  const std::array<QIcon, 2> icons = MakeCoachIcons();
  actMenuHint = new QAction(icons[0], Q("Подсказка"), this);
  actMenuHint->setObjectName(QStringLiteral("actMenuHint"));
  actMenuHint->setToolTip(Q("Подсказать цвет"));
  actMenuHint->setShortcut(Qt::Key_F9);
  connect(actMenuHint, &QAction::triggered, this, &TFormGame::actMenuHintExecute);

  actMenuUndo = new QAction(icons[1], Q("Отменить ход"), this);
  actMenuUndo->setObjectName(QStringLiteral("actMenuUndo"));
  actMenuUndo->setToolTip(Q("Отменить ход"));
  // The same physical key under the Russian layout, where it produces "Я".
  actMenuUndo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | QChar(0x042F).unicode())});
  connect(actMenuUndo, &QAction::triggered, this, &TFormGame::actMenuUndoExecute);

  for (QAction* a : {actMenuHint, actMenuUndo}) {
    a->setEnabled(false);
    addAction(a);  // the keys work with the bar hidden
  }
}

void TFormGame::UpdateCoachActions() {
  const TMorvikMachine& m = *machine_;
  const bool waiting = m.Active && m.Map && m.AwaitingHuman && m.CurrentGamer >= 1 &&
                       m.CurrentGamer <= 4 && m.Gamers[m.CurrentGamer].Kind == gkHuman;
  actMenuHint->setEnabled(waiting);
  actMenuUndo->setEnabled(machine_->CanTakeBack());
}

void TFormGame::actMenuHintExecute() {
  UpdateCoachActions();
  if (!actMenuHint->isEnabled()) return;  // the key came while computers move
  const uint8_t seat = machine_->CurrentGamer;
  const THint hint = machine_->Hint(seat);
  if (hint.Color < 1 || hint.Color > 7) return;
  // The pointer's highlight gives way; the hint is drawn as the pointer draws a colour with its
  // perspective, and ends the way that highlight ends.
  const int under = pointedIsland_;
  DropSelectedIsland();
  SetStatus("Подсказка: " + actColor[hint.Color]->text().toStdString());
  if (hint.Islands.empty()) return;
  for (uint16_t island : hint.Islands) DrawIsland(island, tsSelected, false);
  selectedIsland_ = hint.Islands.front();
  pointedIsland_ = under;  // the pointer still rests where it was
  hintShown_ = true;
}

void TFormGame::EndHint() {
  if (!hintShown_) return;
  hintShown_ = false;
  const int seat = machine_->CurrentGamer;
  if (machine_->Active && seat >= 1 && seat <= 4) SetStatus(machine_->Gamers[size_t(seat)].Name);
}

void TFormGame::actMenuUndoExecute() {
  ResetSelection();
  hintShown_ = false;
  if (!machine_->TakeBack()) {
    UpdateCoachActions();
    return;
  }
  DrawMap(false);
  for (int seat = 1; seat <= 4; ++seat) ShowGamerArea(seat);
  const int seat = machine_->CurrentGamer;
  if (seat >= 1 && seat <= 4) SetStatus(machine_->Gamers[size_t(seat)].Name);
  UpdateCoachActions();
}
