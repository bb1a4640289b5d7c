// SPDX-License-Identifier: GPL-3.0-or-later
// A main window for tests: scripted messages, settings in a temporary folder, a clock that counts,
// and the routes into later dialogs replaced by recorders.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedMessages.h"
#include "TestPlatform.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitSettings.h"
#include "engine/UnitCore.h"
#include "gui/MapImage.h"
#include "window/UnitGame.h"

struct TSeat {
  TGamerKind Kind = gkNone;
  uint8_t Level = 0;
};

// The routes into the later dialogs are the window's own recorders.
class TTestGame : public TFormGame, public TGameRoutes {
 public:
  using TFormGame::TFormGame;

  bool multiUserOk = true;
  std::array<TSeat, 5> seats{};        // multi-user seats 1..4
  std::vector<std::string> events;     // "start", "results", "halloffame"
  std::vector<uintptr_t> startFrames;  // stack address at each multi-user start
  std::function<void()> onStart;       // runs at each multi-user start
  bool recordAdded = false;

  bool TestMultiUserCondition() override { return multiUserOk; }
  void FillMultiUserSeats(TMorvikMachine& machine) override {
    volatile char marker = 0;
    startFrames.push_back(reinterpret_cast<uintptr_t>(&marker));
    events.push_back("start");
    for (int s = 1; s <= 4; ++s) {
      const TSeat& seat = seats[size_t(s)];
      std::string name;
      if (seat.Kind == gkComputer) name = "Компьютер №" + std::to_string(s);
      if (seat.Kind == gkHuman) name = "Человек " + std::to_string(s);
      machine.SetGamer(s, seat.Kind, seat.Level, name, 0);
    }
    if (onStart) onStart();
  }
  // Runs at the end of each game in place of the results dialog, the board still there and the
  // game already recorded.
  std::function<void()> onResults;
  void ShowResultsDialog(const TGameEndRecord&) override {
    events.push_back("results");
    if (onResults) onResults();
  }
  bool RecordAdded() override { return recordAdded; }
  void ShowHallOfFame() override { events.push_back("halloffame"); }
  // The settings dialog and the profiles as the program has them.
  void SettingsControlEnabled(bool enabled) override { Commands().SettingsControlEnabled(enabled); }
  void SaveActiveProfile() override { Commands().SaveActiveProfile(); }
};

class GameWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    platform.SetFolder(dir.path());
    BeforeCreate();
    form = std::make_unique<TTestGame>(&messages, platform);
    // The dialogs the window works with, as the program creates them.
    TFormGame& game = *form;
    dialogs.Settings = new TFormSettings(game.Setup(), game.IniFile(), messages, game.State(),
                                         game.Music(), platform, &game);
    dialogs.MultiUser = new TFormMultiUserGame(game.IniFile(), messages, game.State(), &game);
    dialogs.Routes = form.get();
    form->SetDialogs(dialogs);
    form->State().ActiveGamer = "Тестер";
    form->State().OptionsSection = "OPTIONS_Тестер";
    form->Setup().ApplyDefaultOptions();
    form->Machine().SetCodeGame(12345);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  void TearDown() override { form.reset(); }
  virtual void BeforeCreate() {}

  TMorvikMachine& M() { return form->Machine(); }
  const TMap& Map() { return *form->Machine().Map; }

  void SetBoard(int width, int height, int tile) {
    M().SetSizeMap(uint8_t(width), uint8_t(height));
    M().SetSizeTile(uint8_t(tile));
    form->SetSizeWindow();
  }
  void Option(uint8_t flag, bool on) {
    auto& o = form->State().Options.SelectOptions;
    o = on ? uint8_t(o | flag) : uint8_t(o & ~flag);
  }
  void ComputersOnly(int count, uint8_t level = 1) {
    form->State().MultiUserMode = true;
    for (int s = 1; s <= 4; ++s) form->seats[size_t(s)] = {s <= count ? gkComputer : gkNone, level};
  }

  // An island the current seat could take (touches its territory, colour free), or -1.
  int Takeable(int skip = -1) {
    const TMap& map = Map();
    const uint16_t t = M().GetGamerIsland(map, M().CurrentGamer);
    for (uint16_t n : map.Islands[t].Neighbours) {
      if (n == NoIsland || int(n) == skip || M().IsGamerIsland(map, n)) continue;
      if (M().FreeColors[map.Islands[n].Color]) return n;
    }
    return -1;
  }
  // Widget position of the middle of an island's first tile.
  QPoint TilePoint(int island) {
    const TTilePos p = Map().Islands[size_t(island)].Tiles.front();
    const int s = M().SizeTile;
    return QPoint(p.Col * s + s / 2, p.Row * s + s / 2);
  }
  QPoint TerritoryPoint(int seat) { return TilePoint(M().GetGamerIsland(Map(), seat)); }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), form->Board().Widget()->mapToGlobal(QPointF(at)), button,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(form->Board().Widget(), &event);
  }
  void Move(QPoint at, bool held = false) {
    Mouse(QEvent::MouseMove, at, Qt::NoButton, held ? Qt::LeftButton : Qt::NoButton);
  }
  void Press(QPoint at) { Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
  void Release(QPoint at) { Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
  void Click(QPoint at) {
    Move(at);
    Press(at);
    Release(at);
  }

  QString Panel(int i) { return form->Status().Panel(size_t(i))->text(); }
  uint32_t Pixel(int x, int y) { return form->Board().Painter().Pixel(x, y); }

  QTemporaryDir dir;
  TScriptedMessages messages;
  TTestPlatform platform;  // its clock counts from 1000
  std::unique_ptr<TTestGame> form;
  TGameDialogs dialogs;  // the settings and the multi-user setup; a test may add more
};
