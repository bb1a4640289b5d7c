// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's action table and the menus and tool bars made from it.
#include "window/GameActions.h"

#include <QAction>
#include <QActionGroup>
#include <QChar>
#include <QIcon>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "gui/Icons.h"
#include "gui/MenuTips.h"
#include "window/GameCommands.h"

namespace {

using A = TGameAction;
using R = TActionRule;
using C = TGameCommands;

constexpr QKeyCombination Key(Qt::Key key) {
  return QKeyCombination(key);
}
constexpr QKeyCombination Ctrl(int key) {
  return QKeyCombination(Qt::ControlModifier, Qt::Key(key));
}
constexpr std::array<QKeyCombination, 2> None{};

// Colour k: its caption is its tip; keys k, also from the keypad.
constexpr TActionRow ColorRow(int k, const char* caption) {
  const Qt::Key key = Qt::Key(Qt::Key_0 + k);
  return {ColorAction(k),
          nullptr,
          caption,
          caption,
          {Key(key), QKeyCombination(Qt::KeypadModifier, key)},
          int16_t(k - 1),
          false,
          false,
          R::FreeColor,
          nullptr};
}

// In the order of TGameAction. Hints are tool tips only: a status tip would hide the seven
// panels behind its text.
constexpr TActionRow Table[] = {
    {A::MenuStartGame,
     "actMenuStartGame",
     "Старт",
     "Стартовать новую игру",
     {Key(Qt::Key_F2)},
     8,
     false,
     false,
     R::Always,
     &C::StartGame},
    {A::MenuContinueGame, "actMenuContinueGame", "Продолжить игру", "Продолжить игру", None, NoIcon,
     false, false, R::ContinueKept, &C::ContinueGame},
    {A::MenuStopGame,
     "actMenuStopGame",
     "Стоп",
     "Остановить текущую игру",
     {Key(Qt::Key_F3)},
     9,
     false,
     false,
     R::InGame,
     &C::StopGame},
    {A::MenuHint,
     "actMenuHint",
     "Подсказка",
     "Подсказать цвет",
     {Key(Qt::Key_F9)},
     HintIcon,
     false,
     false,
     R::Hint,
     &C::Hint},
    // Ctrl+Я is the same physical key under the Russian layout.
    {A::MenuUndo,
     "actMenuUndo",
     "Отменить ход",
     "Отменить ход",
     {Ctrl(Qt::Key_Z), Ctrl(0x042F)},
     UndoIcon,
     false,
     false,
     R::TakeBack,
     &C::Undo},
    {A::MenuGamers,
     "actMenuGamers",
     "Игроки",
     "Игроки",
     {Key(Qt::Key_F5)},
     14,
     false,
     false,
     R::BetweenGames,
     &C::Gamers},
    {A::MenuHallOfFame,
     "actMenuHallOfFame",
     "Зал славы",
     "Зал славы",
     {Key(Qt::Key_F6)},
     13,
     false,
     false,
     R::Always,
     &C::HallOfFame},
    {A::MenuStats,
     "actMenuStats",
     "Статистика",
     "Статистика",
     {Key(Qt::Key_F4)},
     StatsIcon,
     false,
     false,
     R::Stats,
     &C::Stats},
    // Ctrl+Ы and Ctrl+Щ likewise.
    {A::MenuSaveGame,
     "actMenuSaveGame",
     "Сохранить игру…",
     "Сохранить игру…",
     {Ctrl(Qt::Key_S), Ctrl(0x042B)},
     NoIcon,
     false,
     false,
     R::Save,
     &C::SaveGame},
    {A::MenuOpenGame,
     "actMenuOpenGame",
     "Открыть игру…",
     "Открыть игру…",
     {Ctrl(Qt::Key_O), Ctrl(0x0429)},
     NoIcon,
     false,
     false,
     R::Always,
     &C::OpenGame},
    {A::MenuExit, "actMenuExit", "Выход", "Выход из программы", None, 7, false, false, R::Always,
     &C::Exit},
    {A::SettingsGameClassic, "actSettingsGameClassic", "Классическая игра", "Классическая игра",
     None, 17, true, false, R::BetweenGames, &C::GameClassic},
    {A::SettingsGameMultiUser, "actSettingsGameMultiUser", "Многопользовательская игра",
     "Многопользовательская игра", None, 18, true, false, R::BetweenGames, &C::GameMultiUser},
    {A::SettingsMusic,
     "actSettingsMusic",
     "Музыка",
     "Выключить музыку",
     {Ctrl(Qt::Key_M)},
     21,
     false,
     false,
     R::Always,
     &C::Music},
    {A::SettingsSetCodeGame,
     "actSettingsSetCodeGame",
     "Установить расклад",
     "Установить расклад для раунда",
     {Ctrl(Qt::Key_R)},
     16,
     false,
     false,
     R::BetweenGames,
     &C::SetCodeGame},
    {A::MenuSettings,
     "actMenuSettings",
     "Настройки",
     "Настройки игры",
     {Key(Qt::Key_F7)},
     10,
     false,
     false,
     R::Always,
     &C::Settings},
    {A::MenuSettingsMultiUser,
     "actMenuSettingsMultiUser",
     "Многопольз. игра",
     "Настройки многопользовательской игры",
     {Key(Qt::Key_F8)},
     19,
     false,
     false,
     R::Always,
     &C::SettingsMultiUser},
    {A::HelpMaintenanse,
     "actHelpMaintenanse",
     "Содержание",
     "Справка по программе",
     {Key(Qt::Key_F1)},
     11,
     false,
     false,
     R::Always,
     &C::HelpContents},
    // No home page or mail address exists: both commands stay off every menu and bar, rather
    // than lead to an address nobody reads; nor is there a forum.
    {A::HelpHomePage, "actHelpHomePage", "Домашняя страница", nullptr, None, 23, false, true,
     R::Never, nullptr},
    {A::HelpMail, "actHelpMail", "Написать письмо", "Написать письмо разработчику", None, 24, false,
     true, R::Never, nullptr},
    {A::HelpForum, "actHelpForum", "Форум \"Morvik\"", nullptr, None, 25, false, false, R::Never,
     nullptr, "Форум \"&Morvik\""},
    {A::HelpAboutProgram, "actHelpAboutProgram", "О программе", nullptr, None, 22, false, false,
     R::Always, &C::About},
    {A::MainBoss,
     "actMainBoss",
     "Босс",
     "Спрятать программу в трей\nВозврат - двойной клик на пустом месте",
     {QKeyCombination(Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_F8)},
     15,
     false,
     false,
     R::Always,
     &C::Boss},
    {A::PanelMainBar, "actPanelMainBar", "Управление", nullptr, None, NoIcon, true, false,
     R::Always, &C::PanelMainBar},
    {A::PanelColorBar, "actPanelColorBar", "Выбор цветов", nullptr, None, NoIcon, true, false,
     R::Always, &C::PanelColorBar},
    {A::PanelStatusBar, "actPanelStatusBar", "Статус", nullptr, None, NoIcon, true, false,
     R::Always, &C::PanelStatusBar},
    ColorRow(1, "Красный"),
    ColorRow(2, "Зеленый"),
    ColorRow(3, "Желтый"),
    ColorRow(4, "Синий"),
    ColorRow(5, "Фиолетовый"),
    ColorRow(6, "Бирюзовый"),
    ColorRow(7, "Серый"),
};
static_assert(std::size(Table) == GameActionCount);

constexpr bool InOrder() {
  for (size_t i = 0; i < std::size(Table); ++i)
    if (size_t(Table[i].Id) != i) return false;
  return true;
}
static_assert(InOrder(), "the table is indexed by TGameAction");

constexpr TGameAction GameMenu[] = {
    A::MenuStartGame, A::MenuContinueGame, A::MenuStopGame,   A::MenuHint,  A::MenuUndo,
    Separator,        A::MenuGamers,       A::MenuHallOfFame, A::MenuStats, Separator,
    A::MenuSaveGame,  A::MenuOpenGame,     Separator,         A::MenuExit};
constexpr TGameAction SettingsMenu[] = {A::SettingsGameClassic, A::SettingsGameMultiUser, Separator,
                                        A::SettingsMusic,       A::SettingsSetCodeGame,   Separator,
                                        A::MenuSettings,        A::MenuSettingsMultiUser};
constexpr TGameAction HelpMenu[] = {A::HelpMaintenanse, A::HelpHomePage, Separator,
                                    A::HelpMail,        A::HelpForum,    Separator,
                                    A::HelpAboutProgram};
constexpr TMenuLayout Menus[] = {
    {"Игра", GameMenu}, {"Настройки", SettingsMenu}, {"Помощь", HelpMenu}};

constexpr TGameAction MainBar[] = {A::MenuStartGame,
                                   A::MenuStopGame,
                                   Separator,
                                   A::MenuGamers,
                                   A::MenuHallOfFame,
                                   Separator,
                                   A::SettingsGameClassic,
                                   A::SettingsGameMultiUser,
                                   Separator,
                                   A::SettingsMusic,
                                   A::SettingsSetCodeGame,
                                   Separator,
                                   A::MenuSettings,
                                   A::MenuSettingsMultiUser,
                                   Separator,
                                   A::HelpMaintenanse,
                                   Separator,
                                   A::MenuHint,
                                   A::MenuUndo,
                                   A::MenuStats};

QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace

bool ActionAllowed(TActionRule rule, const TActionFacts& f) {
  switch (rule) {
    case R::Always:
      return true;
    case R::Never:
    case R::FreeColor:
      return false;
    case R::BetweenGames:
      return !f.InGame;
    case R::InGame:
      return f.InGame;
    case R::Hint:
      return f.CanHint;
    case R::TakeBack:
      return f.CanTakeBack;
    case R::Stats:
      return !f.Active || f.AwaitingHuman;
    case R::Save:
      return f.CanSave;
    case R::ContinueKept:
      return !f.Active && f.HasKept;
  }
  return false;
}

std::span<const TActionRow> ActionTable() {
  return Table;
}

const TActionRow& ActionRow(TGameAction id) {
  return Table[size_t(id)];
}

std::span<const TMenuLayout> MenuLayout() {
  return Menus;
}

std::span<const TGameAction> MainBarLayout() {
  return MainBar;
}

TGameActions::TGameActions(QMainWindow& window, std::span<const QIcon> icons,
                           TGameCommands& commands) {
  const std::array<QIcon, 2> coach = MakeCoachIcons();
  for (const TActionRow& row : Table) {
    auto* action = new QAction(Text(row.Caption), &window);
    action->setObjectName(QString::fromLatin1(row.Name ? row.Name : ""));
    if (row.Tip) action->setToolTip(Text(row.Tip));
    QList<QKeySequence> keys;
    // An unused place holds the default combination, Qt::Key_unknown.
    for (QKeyCombination key : row.Keys)
      if (key.key() != Qt::Key_unknown) keys << QKeySequence(key);
    action->setShortcuts(keys);
    if (row.Icon >= 0 && size_t(row.Icon) < icons.size()) action->setIcon(icons[row.Icon]);
    if (row.Icon == StatsIcon) action->setIcon(MakeStatsIcon());
    if (row.Icon == HintIcon) action->setIcon(coach[0]);
    if (row.Icon == UndoIcon) action->setIcon(coach[1]);
    action->setCheckable(row.Checkable);
    action->setVisible(!row.Hidden);
    action->setEnabled(ActionAllowed(row.Rule, TActionFacts{}));  // as between games
    if (row.Run) {
      QObject::connect(action, &QAction::triggered, &window,
                       [&commands, run = row.Run] { (commands.*run)(); });
    } else if (row.Rule == R::FreeColor) {
      const int color = int(row.Id) - int(TGameAction::Color1) + 1;
      action->setObjectName(QStringLiteral("actColor%1").arg(color));
      action->setData(color);  // the tag: the colour index
      QObject::connect(action, &QAction::triggered, &window,
                       [&commands, color] { commands.Color(uint8_t(color)); });
    }
    window.addAction(action);  // keys work even when the action is on no visible bar
    actions_[size_t(row.Id)] = action;
  }
  // The game modes exclude each other; the panel switches toggle themselves, all on at first.
  auto* modes = new QActionGroup(&window);
  modes->setExclusive(true);
  modes->addAction(actions_[size_t(A::SettingsGameClassic)]);
  modes->addAction(actions_[size_t(A::SettingsGameMultiUser)]);
  actions_[size_t(A::SettingsGameClassic)]->setChecked(true);
  for (A panel : {A::PanelMainBar, A::PanelColorBar, A::PanelStatusBar})
    actions_[size_t(panel)]->setChecked(true);
}

void TGameActions::BuildMenus(QMenuBar& bar) {
  static const char* const names[] = {"miGame", "miSettings", "miHelp"};
  size_t index = 0;
  for (const TMenuLayout& layout : Menus) {
    QMenu* menu = bar.addMenu(Text(layout.Title));
    menu->setObjectName(QString::fromLatin1(names[index]));
    for (TGameAction id : layout.Entries) {
      if (id == Separator) {
        menu->addSeparator();
        continue;
      }
      QAction* action = actions_[size_t(id)];
      const char* caption = ActionRow(id).MenuCaption;
      if (!caption) {
        menu->addAction(action);
        continue;
      }
      // An entry of its own that follows its action's enabled state and triggers it.
      QAction* entry = menu->addAction(action->icon(), Text(caption));
      entry->setEnabled(action->isEnabled());
      QObject::connect(action, &QAction::changed, entry,
                       [action, entry] { entry->setEnabled(action->isEnabled()); });
      QObject::connect(entry, &QAction::triggered, action, &QAction::trigger);
    }
    // A menu entry's tool tip shows beside the menu, never over the entry below it.
    PlaceMenuTipsBeside(menu);
    menus_[index++] = menu;
  }
}

namespace {

QToolBar* MakeBar(QMainWindow& window, const char* name) {
  auto* toolBar = new QToolBar(&window);
  toolBar->setObjectName(QString::fromLatin1(name));
  toolBar->setMovable(false);
  toolBar->setFloatable(false);
  toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  toolBar->setIconSize(QSize(16, 16));
  // Stacked bars overlap by one pixel on the classic desktop: each adds 27 to the board's top.
  toolBar->setFixedHeight(27);
  toolBar->toggleViewAction()->setVisible(false);
  toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  window.addToolBar(Qt::TopToolBarArea, toolBar);
  return toolBar;
}

}  // namespace

QToolBar* TGameActions::BuildMainBar(QMainWindow& window) {
  QToolBar* bar = MakeBar(window, "atbGame");
  for (TGameAction id : MainBar) {
    if (id == Separator)
      bar->addSeparator();
    else
      bar->addAction(actions_[size_t(id)]);
  }
  return bar;
}

QToolBar* TGameActions::BuildColorBar(QMainWindow& window) {
  window.addToolBarBreak(Qt::TopToolBarArea);
  QToolBar* bar = MakeBar(window, "atbColor");
  for (int k = 1; k <= 7; ++k) bar->addAction(actions_[size_t(ColorAction(k))]);
  return bar;
}

void TGameActions::Update(const TActionFacts& facts) {
  for (const TActionRow& row : Table)
    if (row.Rule != R::FreeColor)
      actions_[size_t(row.Id)]->setEnabled(ActionAllowed(row.Rule, facts));
}

QString HintStatusText(uint8_t color) {
  if (color < 1 || color > 7) return QString();
  return QStringLiteral("Совет: ") + Text(ActionRow(ColorAction(color)).Caption);
}
