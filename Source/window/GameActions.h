// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's actions as one constant table: name, caption, tool tip, keys, icon, initial
// state, the rule that enables it and the command it runs. The menus, the tool bars and the
// enabling of every action are built from this table and the two layouts below it.
#pragma once

#include <QKeyCombination>
#include <QString>
#include <array>
#include <cstdint>
#include <span>

class QAction;
class QActionGroup;
class QIcon;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class TGameCommands;

enum class TGameAction : uint8_t {
  MenuStartGame,
  MenuContinueGame,
  MenuStopGame,
  MenuHint,
  MenuUndo,
  MenuGamers,
  MenuHallOfFame,
  MenuStats,
  MenuSaveGame,
  MenuOpenGame,
  MenuExit,
  SettingsGameClassic,
  SettingsGameMultiUser,
  SettingsMusic,
  SettingsSetCodeGame,
  MenuSettings,
  MenuSettingsMultiUser,
  HelpMaintenanse,
  HelpHomePage,
  HelpMail,
  HelpForum,
  HelpAboutProgram,
  MainBoss,
  PanelMainBar,
  PanelColorBar,
  PanelStatusBar,
  Color1,  // Color1..Color7 in colour order
  Color7 = Color1 + 6,
  Count
};
inline constexpr size_t GameActionCount = size_t(TGameAction::Count);
// The action of colour 1..7.
constexpr TGameAction ColorAction(int color) {
  return TGameAction(int(TGameAction::Color1) + color - 1);
}

// When an action may be used.
enum class TActionRule : uint8_t {
  Always,
  Never,
  BetweenGames,  // while no game holds the settings
  InGame,        // while a game holds the settings (from its start until the window is idle)
  Hint,          // the machine may give a hint now
  TakeBack,      // the machine may take a choice back now
  Stats,         // between games, or while a person is to choose
  Save,          // there is a game to save
  ContinueKept,  // between games, with a kept game of the active profile
  FreeColor,     // the colour is free; set as the machine reports each colour, never otherwise
};

// What the rules are decided by.
struct TActionFacts {
  bool InGame = false;  // a game holds the settings
  bool Active = false;
  bool AwaitingHuman = false;
  bool CanHint = false;
  bool CanTakeBack = false;
  bool CanSave = false;
  bool HasKept = false;
};
// False for FreeColor, which the facts do not decide.
bool ActionAllowed(TActionRule rule, const TActionFacts& facts);

// Icons that are not in the indexed set.
enum : int16_t { NoIcon = -1, StatsIcon = -2, HintIcon = -3, UndoIcon = -4 };

struct TActionRow {
  TGameAction Id;
  const char* Name;     // object name
  const char* Caption;  // UTF-8
  const char* Tip;      // tool tip; null: none
  std::array<QKeyCombination, 2> Keys;
  int16_t Icon;  // index into the window's images, or one of the icons above
  bool Checkable;
  bool Hidden;  // on no menu or bar, never enabled
  TActionRule Rule;
  void (TGameCommands::*Run)();       // null: the colour actions, which run with their colour
  const char* MenuCaption = nullptr;  // on a menu, when it differs from the caption
};
std::span<const TActionRow> ActionTable();
const TActionRow& ActionRow(TGameAction id);

// The layouts: menus and tool bars as rows of actions; Separator between groups.
inline constexpr TGameAction Separator = TGameAction::Count;
struct TMenuLayout {
  const char* Title;
  std::span<const TGameAction> Entries;
};
std::span<const TMenuLayout> MenuLayout();
std::span<const TGameAction> MainBarLayout();

// The actions made from the table, owned by the window.
class TGameActions {
 public:
  // Makes every action as a child of `window` (so its keys work wherever it is shown), its
  // icon from `icons` (the indexed set) and its command run by `commands`.
  TGameActions(QMainWindow& window, std::span<const QIcon> icons, TGameCommands& commands);

  QAction* operator[](TGameAction id) const { return actions_[size_t(id)]; }

  // The menu bar's menus in the table's layout, and the two tool bars.
  void BuildMenus(QMenuBar& bar);
  QToolBar* BuildMainBar(QMainWindow& window);
  QToolBar* BuildColorBar(QMainWindow& window);
  QMenu* Menu(int index) const { return menus_[size_t(index)]; }

  // Every action whose rule the facts decide, enabled by its rule.
  void Update(const TActionFacts& facts);

 private:
  std::array<QAction*, GameActionCount> actions_{};
  std::array<QMenu*, 3> menus_{};
};

// What the status panel says while a hint for `color` is shown; short enough that the longest
// colour name stays whole in the 140-pixel panel.
QString HintStatusText(uint8_t color);
