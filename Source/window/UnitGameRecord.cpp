// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: games as files: the commands that save and open a record and continue the kept
// game, and a recorded game continued as the running one. The work is TGameRecords' and
// TGameWatch's.
#include <QAction>
#include <QChar>

#include "gui/MapImage.h"
#include "model/GameRecord.h"
#include "sound/Music.h"
#include "window/GameRecords.h"
#include "window/GameWatch.h"
#include "window/UnitGame.h"

void TFormGame::CreateRecordActions() {
  records_ = std::make_unique<TGameRecords>(*this, platform_);
  watch_ = std::make_unique<TGameWatch>(*this);
  auto make = [this](const char* caption, const char* name, void (TFormGame::*slot)()) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setToolTip(action->text());
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
    return action;
  };
  actMenuContinueGame =
      make("Продолжить игру", "actMenuContinueGame", &TFormGame::actMenuContinueGameExecute);
  actMenuSaveGame = make("Сохранить игру…", "actMenuSaveGame", &TFormGame::actMenuSaveGameExecute);
  actMenuOpenGame = make("Открыть игру…", "actMenuOpenGame", &TFormGame::actMenuOpenGameExecute);
  // The same physical keys under the Russian layout as well ("Ы" and "Щ").
  actMenuSaveGame->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::CTRL | QChar(0x042B).unicode())});
  actMenuOpenGame->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_O), QKeySequence(Qt::CTRL | QChar(0x0429).unicode())});
  actMenuContinueGame->setEnabled(false);
  actMenuSaveGame->setEnabled(false);
}

void TFormGame::actMenuContinueGameExecute() {
  watch_->Leave();
  records_->ContinueKept();
  UpdateActions();
}

void TFormGame::actMenuSaveGameExecute() {
  records_->Save();
}

void TFormGame::actMenuOpenGameExecute() {
  records_->Open();
  UpdateActions();
}

void TFormGame::ProfileRenamed(const std::string& from, const std::string& to) {
  records_->MoveKept(from, to);
}

void TFormGame::ProfileErased(const std::string& name) {
  records_->DiscardKept(name);
}

bool TFormGame::ContinueRecordedGame(const TGameRecord& record) {
  if (machine_->Active) return false;
  StartNewGame(&record);
  return machine_->Active;
}
