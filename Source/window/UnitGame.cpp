// SPDX-License-Identifier: GPL-3.0-or-later
// TFormGame: creation of the window, its actions, menus, tool bars and status bar, and closing.
#include "window/UnitGame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>

#include "config/GamerFile.h"
#include "dialogs/UnitAbout.h"
#include "dialogs/UnitGamers.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitResult.h"
#include "dialogs/UnitSettings.h"
#include "dialogs/UnitStats.h"
#include "gui/Icons.h"
#include "gui/MapImage.h"
#include "gui/MenuTips.h"
#include "gui/Platform.h"
#include "gui/QtText.h"
#include "gui/StatusPanel.h"
#include "sound/Music.h"
#include "window/GameRecords.h"
#include "window/GameServices.h"
#include "window/GameStatus.h"
#include "window/GameWatch.h"

TFormGame::TFormGame(TMessageService* messages, const TPlatform& platform, QWidget* parent)
    : QMainWindow(parent), messages_(messages), platform_(platform) {
  // Window creation: caption, settings file (created when missing), machine and its two
  // notifications, GamerList, all panels visible.
  setWindowTitle(Q(GameCaption));
  // A small interface font, 8 points, so that every status text fits its panel.
  QFont small = QApplication::font();
  small.setPointSize(8);
  setFont(small);
  QApplication::setApplicationName(QStringLiteral("Morvik"));

  iniFile_ = std::make_unique<TIniFile>(platform_.SettingsFilePath().toStdString(), messages_);
  iniFile_->CreateIfMissing();

  services_ = std::make_unique<TGameServices>(*this);
  machine_ = std::make_unique<TMorvikMachine>(services_.get());
  // The colour actions follow the machine's reports, never the other rules.
  machine_->OnChangeStateColor = [this](uint8_t color) {
    if (color >= 1 && color <= 7)
      Action(ColorAction(color))->setEnabled(machine_->FreeColors[color]);
  };
  machine_->OnChangeGamer = [this](uint8_t seat) { OnChangeGamer(seat); };
  machine_->ThinkMaster = [this](const auto& thought, const auto& wanted) {
    return ThinkMaster(thought, wanted);
  };

  state_.GamerList = ReadGamerNames(*iniFile_);  // case-twins included

  music_ = std::make_unique<TMusic>(platform_.MusicFolder().toStdString(), messages_);

  setup_ = std::make_unique<TGameSetup>(*this, platform_);
  records_ = std::make_unique<TGameRecords>(*this, platform_);
  watch_ = std::make_unique<TGameWatch>(*this, platform_);
  commands_ = std::make_unique<TGameCommands>(*this, platform_);
  actions_ = std::make_unique<TGameActions>(*this, setup_->Icons(), *commands_);
  CreateMenus();
  mainBar_ = actions_->BuildMainBar(*this);
  colorBar_ = actions_->BuildColorBar(*this);
  status_ = std::make_unique<TGameStatus>(*this);
  CreateBoard();

  // Single fixed border, no maximise button; the size follows the board (SetSizeWindow).
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(466, 340);
}

TFormGame::~TFormGame() {
  // The machine goes first, while every control it may still report to exists.
  machine_->OnChangeGamer = nullptr;
  machine_->OnChangeStateColor = nullptr;
  machine_->ThinkMaster = nullptr;
  watch_.reset();
  records_.reset();  // gives the machine's move tap back
  machine_.reset();
  music_.reset();
}

const QIcon& TFormGame::ilColor(int index) const {
  static const QIcon none;
  return index >= 0 && index < IconCount ? setup_->Icons()[size_t(index)] : none;
}

// ---------------------------------------------------------------------------------------------
// The menu bar, made from the action table, with its right-click menu of panel switches; and
// the board's popup of the seven colours (attached to the board only while a game runs).

void TFormGame::CreateMenus() {
  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName(QStringLiteral("accmMain"));
  menuBar_->setFixedHeight(25);
  setMenuBar(menuBar_);
  actions_->BuildMenus(*menuBar_);
  // The kept game may have come or gone with a change of profile.
  connect(actions_->Menu(0), &QMenu::aboutToShow, this, [this] { UpdateActions(); });

  panelMenu_ = new QMenu(this);
  panelMenu_->setObjectName(QStringLiteral("pmPanels"));
  for (TGameAction a :
       {TGameAction::PanelMainBar, TGameAction::PanelColorBar, TGameAction::PanelStatusBar})
    panelMenu_->addAction(Action(a));
  menuBar_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(menuBar_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    commands_->PanelsShowing();
    panelMenu_->exec(menuBar_->mapToGlobal(at));
  });

  colorMenu_ = new QMenu(this);
  colorMenu_->setObjectName(QStringLiteral("pmColor"));
  for (int k = 1; k <= 7; ++k) colorMenu_->addAction(Action(ColorAction(k)));
}

void TFormGame::UpdateActions() {
  TActionFacts facts;
  facts.InGame = inGame_;
  facts.Active = machine_->Active;
  facts.AwaitingHuman = machine_->AwaitingHuman;
  facts.CanHint = machine_->CanHint();
  facts.CanTakeBack = machine_->CanTakeBack();
  facts.CanSave = records_->CanSave();
  facts.HasKept = facts.Active ? false : records_->HasKept();
  actions_->Update(facts);
  // The kept game brought up to date whenever a person is to choose.
  records_->Waiting();
}

// ---------------------------------------------------------------------------------------------
// Options until the settings dialog applies a profile's own.

void TFormGame::ShowPanels() {
  mainBar_->setVisible(state_.PanelFlags() & pfMainBar);
  colorBar_->setVisible(state_.PanelFlags() & pfColorBar);
  status_->Bar()->setVisible(state_.PanelFlags() & pfStatusBar);
}

// ---------------------------------------------------------------------------------------------
// Placement and closing.

void TFormGame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (placed_ || event->spontaneous()) return;
  placed_ = true;
  CenterOnScreen(*this, platform_);
  placedAt_ = pos();
}

void TFormGame::closeEvent(QCloseEvent* event) {
  const char* question = machine_->Active
                             ? "Существует активная игра.\nОна будет потеряна.\nВы уверены?"
                             : "Выход из игры.\nВы уверены?";
  if (!closeUnasked_ && !messages_->Confirm(question)) {
    event->ignore();
    return;
  }
  // A turn loop may be running below us (the question came through pending events): end the
  // game so that it unwinds instead of playing on in a closed window.
  autostartPending_ = false;
  watch_->Leave();
  if (machine_->Active) {
    // The game is kept for the profile, to be continued at the next start; only a game that
    // could not be kept is over, and counts as stopped.
    records_->KeepInterrupted();
    board_->ResetPointer();
    if (!records_->HasKept()) CountStoppedGame();
    machine_->EndGame();
  }
  if (!state_.ActiveGamer.empty()) commands_->Routes().SaveActiveProfile();
  if (music_) music_->InitializeMusic(false);
  event->accept();
}

void TFormGame::SessionEnding(bool close) {
  if (close) {
    closeUnasked_ = true;
    QMainWindow::close();
    return;
  }
  if (machine_->Active) records_->KeepInterrupted();
  if (!state_.ActiveGamer.empty()) commands_->Routes().SaveActiveProfile();
}
