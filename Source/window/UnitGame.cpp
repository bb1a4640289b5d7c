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

  machine_ = std::make_unique<TMorvikMachine>(this);
  machine_->OnChangeStateColor = [this](uint8_t color) { OnChangeStateColor(color); };
  machine_->OnChangeGamer = [this](uint8_t seat) { OnChangeGamer(seat); };
  machine_->ThinkMaster = [this](const auto& thought, const auto& wanted) {
    return ThinkMaster(thought, wanted);
  };

  state_.GamerList = ReadGamerNames(*iniFile_);  // case-twins included

  music_ = std::make_unique<TMusic>(platform_.MusicFolder().toStdString(), messages_);

  icons_ = MakeColorIcons();
  CreateActions();
  CreateRecordActions();
  CreateMenus();
  CreateToolBars();
  CreateBoard();
  CreateStatusBar();

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

void TFormGame::SetDialogs(const TGameDialogs& dialogs) {
  FormSettings = dialogs.Settings;
  FormResult = dialogs.Result;
  FormMultiUserGame = dialogs.MultiUser;
  FormHallFame = dialogs.HallFame;
  FormGamers = dialogs.Gamers;
  FormAbout = dialogs.About;
  FormStats = dialogs.Stats;
}

const QIcon& TFormGame::ilColor(int index) const {
  static const QIcon none;
  return index >= 0 && index < IconCount ? icons_[size_t(index)] : none;
}

const QImage& TFormGame::MapImage() const {
  return iMap->Image();
}

// ---------------------------------------------------------------------------------------------
// Actions: caption, hint, shortcut, icon, initial state, and the slot that executes each.

void TFormGame::CreateActions() {
  auto make = [this](const char* caption, const char* hint, QKeySequence shortcut, int icon,
                     void (TFormGame::*slot)()) {
    auto* action = new QAction(Q(caption), this);
    // Hints are tool tips only: a status tip would hide the seven panels behind its text.
    if (hint) action->setToolTip(Q(hint));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (icon >= 0) action->setIcon(ilColor(icon));
    if (slot) connect(action, &QAction::triggered, this, slot);
    addAction(action);  // shortcuts work even when the action is on no visible bar
    return action;
  };

  actMenuStartGame =
      make("Старт", "Стартовать новую игру", Qt::Key_F2, 8, &TFormGame::actMenuStartGameExecute);
  actMenuStopGame =
      make("Стоп", "Остановить текущую игру", Qt::Key_F3, 9, &TFormGame::actMenuStopGameExecute);
  actMenuStopGame->setEnabled(false);
  actMenuGamers = make("Игроки", "Игроки", Qt::Key_F5, 14, &TFormGame::actMenuGamersExecute);
  actMenuHallOfFame =
      make("Зал славы", "Зал славы", Qt::Key_F6, 13, &TFormGame::actMenuHallOfFameExecute);
  actMenuStats = make("Статистика", "Статистика", Qt::Key_F4, -1, &TFormGame::actMenuStatsExecute);
  actMenuStats->setIcon(MakeStatsIcon());
  actMenuExit = make("Выход", "Выход из программы", {}, 7, &TFormGame::actMenuExitExecute);

  actSettingsGameClassic = make("Классическая игра", "Классическая игра", {}, 17,
                                &TFormGame::actSettingsGameClassicExecute);
  actSettingsGameMultiUser = make("Многопользовательская игра", "Многопользовательская игра", {},
                                  18, &TFormGame::actSettingsGameMultiUserExecute);
  agGameMode = new QActionGroup(this);
  agGameMode->setExclusive(true);
  for (QAction* a : {actSettingsGameClassic, actSettingsGameMultiUser}) {
    a->setCheckable(true);
    agGameMode->addAction(a);
  }
  actSettingsGameClassic->setChecked(true);

  actSettingsMusic = make("Музыка", "Выключить музыку", QKeySequence(Qt::CTRL | Qt::Key_M), 21,
                          &TFormGame::actSettingsMusicExecute);
  actSettingsSetCodeGame =
      make("Установить расклад", "Установить расклад для раунда",
           QKeySequence(Qt::CTRL | Qt::Key_R), 16, &TFormGame::actSettingsSetCodeGameExecute);
  actMenuSettings =
      make("Настройки", "Настройки игры", Qt::Key_F7, 10, &TFormGame::actMenuSettingsExecute);
  actMenuSettingsMultiUser = make("Многопольз. игра", "Настройки многопользовательской игры",
                                  Qt::Key_F8, 19, &TFormGame::actMenuSettingsMultiUserExecute);

  actHelpMaintenanse = make("Содержание", "Справка по программе", Qt::Key_F1, 11,
                            &TFormGame::actHelpMaintenanseExecute);
  actHelpHomePage = make("Домашняя страница", nullptr, {}, 23, &TFormGame::actHelpHomePageExecute);
  actHelpMail = make("Написать письмо", "Написать письмо разработчику", {}, 24,
                     &TFormGame::actHelpMailExecute);
  // No home page or mail address exists: both commands stay off every menu and bar.
  for (QAction* a : {actHelpHomePage, actHelpMail}) {
    a->setVisible(false);
    a->setEnabled(false);
  }
  actHelpForum = make("Форум \"Morvik\"", nullptr, {}, 25, &TFormGame::actHelpForumExecute);
  actHelpForum->setEnabled(false);
  actHelpAboutProgram =
      make("О программе", nullptr, {}, 22, &TFormGame::actHelpAboutProgramExecute);

  actMainBoss =
      make("Босс", "Спрятать программу в трей\nВозврат - двойной клик на пустом месте",
           QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F8), 15, &TFormGame::actMainBossExecute);

  actPanelMainBar = make("Управление", nullptr, {}, -1, &TFormGame::actPanelMainBarExecute);
  actPanelColorBar = make("Выбор цветов", nullptr, {}, -1, &TFormGame::actPanelColorBarExecute);
  actPanelStatusBar = make("Статус", nullptr, {}, -1, &TFormGame::actPanelStatusBarExecute);
  for (QAction* a : {actPanelMainBar, actPanelColorBar, actPanelStatusBar}) {
    a->setCheckable(true);  // toggles itself
    a->setChecked(true);
  }

  static const char* const colorNames[] = {"Красный",    "Зеленый",   "Желтый", "Синий",
                                           "Фиолетовый", "Бирюзовый", "Серый"};
  for (int k = 1; k <= 7; ++k) {
    auto* action = make(colorNames[k - 1], colorNames[k - 1], {}, k - 1, nullptr);
    action->setObjectName(QStringLiteral("actColor%1").arg(k));
    action->setData(k);  // the tag: the colour index
    // Keys 1..7, also from the keypad.
    action->setShortcuts(
        {QKeySequence(Qt::Key_0 + k), QKeySequence(Qt::KeypadModifier | (Qt::Key_0 + k))});
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, k] { actColorExecute(k); });
    actColor[size_t(k)] = action;
  }

  const std::pair<QAction*, const char*> names[] = {
      {actMenuStartGame, "actMenuStartGame"},
      {actMenuStopGame, "actMenuStopGame"},
      {actMenuGamers, "actMenuGamers"},
      {actMenuHallOfFame, "actMenuHallOfFame"},
      {actMenuStats, "actMenuStats"},
      {actMenuExit, "actMenuExit"},
      {actSettingsGameClassic, "actSettingsGameClassic"},
      {actSettingsGameMultiUser, "actSettingsGameMultiUser"},
      {actSettingsMusic, "actSettingsMusic"},
      {actSettingsSetCodeGame, "actSettingsSetCodeGame"},
      {actMenuSettings, "actMenuSettings"},
      {actMenuSettingsMultiUser, "actMenuSettingsMultiUser"},
      {actHelpMaintenanse, "actHelpMaintenanse"},
      {actHelpHomePage, "actHelpHomePage"},
      {actHelpMail, "actHelpMail"},
      {actHelpForum, "actHelpForum"},
      {actHelpAboutProgram, "actHelpAboutProgram"},
      {actMainBoss, "actMainBoss"},
      {actPanelMainBar, "actPanelMainBar"},
      {actPanelColorBar, "actPanelColorBar"},
      {actPanelStatusBar, "actPanelStatusBar"},
  };
  for (auto& [action, name] : names) action->setObjectName(QString::fromLatin1(name));

  // Help for a learner: the hard computer's colour, and taking the last choice back.
  const std::array<QIcon, 2> coach = MakeCoachIcons();
  actMenuHint =
      make("Подсказка", "Подсказать цвет", Qt::Key_F9, -1, &TFormGame::actMenuHintExecute);
  actMenuHint->setIcon(coach[0]);
  actMenuHint->setObjectName(QStringLiteral("actMenuHint"));
  actMenuUndo = make("Отменить ход", "Отменить ход", {}, -1, &TFormGame::actMenuUndoExecute);
  actMenuUndo->setIcon(coach[1]);
  actMenuUndo->setObjectName(QStringLiteral("actMenuUndo"));
  // The same physical key under the Russian layout, where it produces "Я".
  actMenuUndo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | QChar(0x042F).unicode())});
  for (QAction* a : {actMenuHint, actMenuUndo}) a->setEnabled(false);
}

void TFormGame::SetMusicIcon(bool on) {
  // The action's icon is also its entry's in the "Настройки" menu.
  actSettingsMusic->setIcon(ilColor(on ? 20 : 21));
}

void TFormGame::CreateMenus() {
  accmMain = new QMenuBar(this);
  accmMain->setObjectName(QStringLiteral("accmMain"));
  accmMain->setFixedHeight(25);
  setMenuBar(accmMain);

  miGame = accmMain->addMenu(Q("Игра"));
  miGame->addActions(
      {actMenuStartGame, actMenuContinueGame, actMenuStopGame, actMenuHint, actMenuUndo});
  miGame->addSeparator();
  miGame->addActions({actMenuGamers, actMenuHallOfFame, actMenuStats});
  miGame->addSeparator();
  miGame->addActions({actMenuSaveGame, actMenuOpenGame});
  miGame->addSeparator();
  miGame->addAction(actMenuExit);

  miSettings = accmMain->addMenu(Q("Настройки"));
  miSettings->addActions({actSettingsGameClassic, actSettingsGameMultiUser});
  miSettings->addSeparator();
  miSettings->addActions({actSettingsMusic, actSettingsSetCodeGame});
  miSettings->addSeparator();
  miSettings->addActions({actMenuSettings, actMenuSettingsMultiUser});

  miHelp = accmMain->addMenu(Q("Помощь"));
  miHelp->addActions({actHelpMaintenanse, actHelpHomePage});
  miHelp->addSeparator();
  miHelp->addAction(actHelpMail);
  // On the menu the product name carries the accelerator.
  QAction* forumEntry = miHelp->addAction(actHelpForum->icon(), Q("Форум \"&Morvik\""));
  forumEntry->setEnabled(false);
  connect(actHelpForum, &QAction::changed, forumEntry,
          [this, forumEntry] { forumEntry->setEnabled(actHelpForum->isEnabled()); });
  connect(forumEntry, &QAction::triggered, actHelpForum, &QAction::trigger);
  miHelp->addSeparator();
  miHelp->addAction(actHelpAboutProgram);
  // A menu entry's tool tip shows beside the menu, never over the entry below it.
  for (QMenu* menu : {miGame, miSettings, miHelp}) PlaceMenuTipsBeside(menu);
  // The kept game may have come or gone with a change of profile.
  connect(miGame, &QMenu::aboutToShow, this, [this] { UpdateActions(); });

  // Right click on the menu bar: the three panel switches.
  pmPanels = new QMenu(this);
  pmPanels->addActions({actPanelMainBar, actPanelColorBar, actPanelStatusBar});
  accmMain->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(accmMain, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    pmPanelsPopup();
    pmPanels->exec(accmMain->mapToGlobal(at));
  });

  // The board's popup: the seven colours (attached to iMap only while a game runs).
  pmColor = new QMenu(this);
  for (int k = 1; k <= 7; ++k) pmColor->addAction(actColor[size_t(k)]);
}

void TFormGame::CreateToolBars() {
  auto bar = [this](const char* name) {
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QString::fromLatin1(name));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->setIconSize(QSize(16, 16));
    // Stacked bars overlap by one pixel on the classic desktop: each adds 27 to the board's top.
    toolBar->setFixedHeight(27);
    toolBar->toggleViewAction()->setVisible(false);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolBar);
    return toolBar;
  };
  atbGame = bar("atbGame");
  atbGame->addActions({actMenuStartGame, actMenuStopGame});
  atbGame->addSeparator();
  atbGame->addActions({actMenuGamers, actMenuHallOfFame});
  atbGame->addSeparator();
  atbGame->addActions({actSettingsGameClassic, actSettingsGameMultiUser});
  atbGame->addSeparator();
  atbGame->addActions({actSettingsMusic, actSettingsSetCodeGame});
  atbGame->addSeparator();
  atbGame->addActions({actMenuSettings, actMenuSettingsMultiUser});
  atbGame->addSeparator();
  atbGame->addAction(actHelpMaintenanse);
  atbGame->addSeparator();
  atbGame->addActions({actMenuHint, actMenuUndo});
  atbGame->addAction(actMenuStats);

  addToolBarBreak(Qt::TopToolBarArea);
  atbColor = bar("atbColor");
  for (int k = 1; k <= 7; ++k) atbColor->addAction(actColor[size_t(k)]);
}

void TFormGame::CreateStatusBar() {
  sbMain = new QStatusBar(this);
  sbMain->setObjectName(QStringLiteral("sbMain"));
  sbMain->setSizeGripEnabled(false);
  sbMain->setFixedHeight(20);
  sbMain->setContentsMargins(0, 0, 0, 0);
  setStatusBar(sbMain);
  // The panels are placed by hand, edge to edge over the bar's full height: the bar's own layout
  // would add spacing between them and cut their frames at the top and bottom.
  static const int widths[7] = {40, 40, 40, 40, 140, 100, 50};
  int left = 0;
  for (int i = 0; i < 7; ++i) {
    auto* panel = new TStatusPanel(sbMain);
    panel->setObjectName(QStringLiteral("sbPanel%1").arg(i));
    panel->setGeometry(left, 0, widths[i], 20);
    left += widths[i];
    sbPanels[size_t(i)] = panel;
  }
  // The computer's progress lies over the sixth panel, two pixels in from its top-left corner.
  pbBrain = new QProgressBar(sbPanels[5]);
  pbBrain->setObjectName(QStringLiteral("pbBrain"));
  pbBrain->setTextVisible(false);
  pbBrain->setRange(0, 1);  // a maximum of 0 would make a busy indicator
  pbBrain->setValue(0);
  pbBrain->setGeometry(2, 2, 98, 18);
}

// ---------------------------------------------------------------------------------------------
// Options until the settings dialog applies a profile's own.

void TFormGame::ShowPanels() {
  atbGame->setVisible(state_.PanelFlags() & pfMainBar);
  atbColor->setVisible(state_.PanelFlags() & pfColorBar);
  sbMain->setVisible(state_.PanelFlags() & pfStatusBar);
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
  if (!messages_->Confirm(question)) {
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
    pointer_.Reset();
    unsetCursor();
    if (!records_->HasKept()) CountStoppedGame();
    machine_->EndGame();
  }
  if (!state_.ActiveGamer.empty()) SaveActiveProfile();
  if (music_) music_->InitializeMusic(false);
  event->accept();
}
