// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up: the application settings, its windows created in their fixed order and
// kept for the whole run, and the profile choice before the main window can be used.
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/OptionDialogs.h"

class QApplication;
class TFormAbout;
class TFormGame;
class TFormGamers;
class TFormHallFame;
class TFormMultiUserGame;
class TFormResult;
class TFormSettings;
class TFormStats;
class TMessageService;
class TPlatform;
class QWidget;

// Time after which a tool tip hides itself.
inline constexpr int ToolTipHideTime = 60000;

// Qt has no application-wide tool-tip time: this filter gives every widget that has no time of
// its own the program's time just before the widget shows its tip.
class TToolTipTime : public QObject {
 public:
  explicit TToolTipTime(int msec, QObject* parent = nullptr) : QObject(parent), msec_(msec) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int msec_;
};

// The option dialogs as the profiles dialog sees them. `game` is the main window, whose child the
// settings dialog is.
class TOptionDialogsLink : public TOptionDialogs {
 public:
  TOptionDialogsLink(QWidget& game, TFormSettings& settings, TFormMultiUserGame& multiUser)
      : game_(game), settings_(settings), multiUser_(multiUser) {}

  void ReadParams() override;
  bool TestCondition() override;
  bool ShowSettings() override;
  void ApplyOptions() override;

 private:
  QWidget& game_;
  TFormSettings& settings_;
  TFormMultiUserGame& multiUser_;
};

// All windows of the program, created in this order: main window, settings, results, multi-user
// setup, hall of fame, profiles, About, then the statistics. Each dialog gets what it uses when
// it is created; the main window gets its dialogs once they all exist. The dialogs other than
// the profiles one are child windows of the main window; the profiles dialog stands alone, so
// that it stays usable while the main window is disabled. `messages` and `platform` must outlive
// the program.
class TMorvikProgram {
 public:
  TMorvikProgram(TMessageService& messages, const TPlatform& platform);
  ~TMorvikProgram();

  // Start-up: the main window disabled, the profiles dialog modal. False when it was left with
  // "Выход", Esc or its close box: the program then ends without the main window's closing
  // steps. True once a profile is chosen: "Выход" is gone, the main window is enabled, captioned
  // with the layout number and shown.
  bool StartUp();

  TFormGame& Game() { return *game_; }
  TFormSettings& Settings() { return *settings_; }
  TFormResult& Result() { return *result_; }
  TFormMultiUserGame& MultiUser() { return *multiUser_; }
  TFormHallFame& HallFame() { return *hallFame_; }
  TFormGamers& Gamers() { return *gamers_; }
  TFormAbout& About() { return *about_; }
  TFormStats& Stats() { return *stats_; }
  TOptionDialogs& Options() { return *options_; }

  // Object names of the windows in the order they were created.
  const std::vector<std::string>& CreationOrder() const { return order_; }

 private:
  std::unique_ptr<TFormGame> game_;
  TFormSettings* settings_ = nullptr;  // children of the main window
  TFormResult* result_ = nullptr;
  TFormMultiUserGame* multiUser_ = nullptr;
  TFormHallFame* hallFame_ = nullptr;
  std::unique_ptr<TFormGamers> gamers_;
  TFormAbout* about_ = nullptr;
  TFormStats* stats_ = nullptr;
  std::unique_ptr<TOptionDialogsLink> options_;
  std::vector<std::string> order_;
};

// Application-wide settings made before any window: Russian standard buttons and the tool-tip
// time. The translator and the filter become children of the application.
void SetUpApplication(QApplication& app);
