// SPDX-License-Identifier: GPL-3.0-or-later
// A main window with scripted messages and the settings file in a temporary folder, and the
// option dialogs replaced by a recorder, for the profile, results and hall-of-fame dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedMessages.h"
#include "TestPlatform.h"
#include "config/Catalogue.h"
#include "config/HallFame.h"
#include "config/IniFile.h"
#include "dialogs/OptionDialogs.h"
#include "window/UnitGame.h"

struct TRecordedOptions : TOptionDialogs {
  std::vector<std::string> calls;
  bool condition = true;   // TestCondition's answer
  bool settingsOk = true;  // ShowSettings' answer

  void ReadParams() override { calls.push_back("ReadParams"); }
  bool TestCondition() override {
    calls.push_back("TestCondition");
    return condition;
  }
  bool ShowSettings() override {
    calls.push_back("ShowSettings");
    return settingsOk;
  }
  void ApplyOptions() override { calls.push_back("ApplyOptions"); }
};

class ProfilesWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    platform.SetFolder(dir.path());
    BeforeCreate();
    game = std::make_unique<TFormGame>(&messages, platform);
  }
  void TearDown() override { game.reset(); }
  // Runs before the main window is created (the settings file can be written here).
  virtual void BeforeCreate() {}

  QString IniPath() const { return platform.SettingsFilePath(); }
  TIniFile& Ini() { return game->IniFile(); }
  TProgramState& State() { return game->State(); }
  void WriteFile(const std::string& bytes) {
    QFile f(IniPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
  }
  // Texts of the boxes of one kind since the last Clear.
  std::vector<std::string> Shown(const std::string& kind) { return messages.Texts(kind); }
  std::vector<std::string> Table(const std::string& section) {
    std::vector<std::string> list;
    ReadHallFame(Ini(), &messages, list, section);
    return list;
  }

  QTemporaryDir dir;
  TScriptedMessages messages;
  TRecordedOptions options;
  TTestPlatform platform;
  std::unique_ptr<TFormGame> game;
};
