// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window's actions do, one command each (the action table names them), and the
// dialogs they lead to. The commands work through the window's public operations; the dialogs
// are handed over once, after the program has made them.
#pragma once

#include <QPointer>
#include <cstdint>

#include "window/GameActions.h"
#include "window/GameRoutes.h"

class TFormAbout;
class TFormGame;
class TFormGamers;
class TFormHallFame;
class TFormMultiUserGame;
class TFormResult;
class TFormSettings;
class TFormStats;
class TPlatform;

// The dialogs the main window opens. The program creates them after the window, as its child
// windows, and hands them over once (TFormGame::SetDialogs); one left null is never opened.
struct TGameDialogs {
  TFormSettings* Settings = nullptr;
  TFormResult* Result = nullptr;
  TFormMultiUserGame* MultiUser = nullptr;
  TFormHallFame* HallFame = nullptr;
  TFormGamers* Gamers = nullptr;
  TFormAbout* About = nullptr;
  TFormStats* Stats = nullptr;
  TGameRoutes* Routes = nullptr;  // null: the dialogs above answer
};

class TGameCommands final : public TGameRoutes {
 public:
  TGameCommands(TFormGame& game, const TPlatform& platform) : game_(game), platform_(platform) {}

  void SetDialogs(const TGameDialogs& dialogs);
  // Each dialog, null until handed over and once it is gone.
  TFormSettings* SettingsDialog() const;
  TFormMultiUserGame* MultiUserDialog() const;
  TFormResult* ResultDialog() const;
  TFormHallFame* HallFameDialog() const;
  TFormGamers* GamersDialog() const;
  // Where a game's start and end go: the dialogs, unless other routes were handed in.
  TGameRoutes& Routes() { return routes_ ? *routes_ : *this; }

  // ---- The routes through the dialogs --------------------------------------------------------
  bool TestMultiUserCondition() override;
  void FillMultiUserSeats(TMorvikMachine& machine) override;
  void SettingsControlEnabled(bool enabled) override;
  void SaveActiveProfile() override;
  void ShowResultsDialog(const TGameEndRecord& record) override;
  bool RecordAdded() override;
  void ShowHallOfFame() override;

  // The command of an action, whether or not the action is enabled now (a command checks what
  // it needs itself).
  void Run(TGameAction id);

  // ---- The game ------------------------------------------------------------------------------
  void StartGame();     // after the running game's question
  void StopGame();      // after its question; the next layout is a new one
  void ContinueGame();  // the kept game
  void Hint();
  void Undo();
  void SaveGame();
  void OpenGame();
  void Color(uint8_t color);
  void GameClassic();
  void GameMultiUser();
  void SetCodeGame();  // between games only
  void Exit();

  // ---- Dialogs -------------------------------------------------------------------------------
  void Gamers();  // between games
  void HallOfFame();
  void Stats();  // between games or while a person is to choose
  void Settings();
  void SettingsMultiUser();
  void Music();
  void About();
  void HelpContents();

  // ---- The window ----------------------------------------------------------------------------
  void Boss();  // into the tray
  // The menu bar's right-click menu is about to open: its switches mirror the settings' boxes.
  void PanelsShowing();
  void PanelMainBar();
  void PanelColorBar();
  void PanelStatusBar();

 private:
  void SwitchPanel(uint8_t flag, TGameAction action);

  TFormGame& game_;
  const TPlatform& platform_;
  QPointer<TFormSettings> settings_;
  QPointer<TFormMultiUserGame> multiUser_;
  QPointer<TFormResult> result_;
  QPointer<TFormHallFame> hallFame_;
  QPointer<TFormGamers> gamers_;
  QPointer<TFormAbout> about_;
  QPointer<TFormStats> stats_;
  TGameRoutes* routes_ = nullptr;
};
