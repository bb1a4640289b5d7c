// SPDX-License-Identifier: GPL-3.0-or-later
// A real main window with the settings dialog and the multi-user setup on a 1024 x 768 screen,
// scripted messages and the settings file in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedMessages.h"
#include "TestPlatform.h"
#include "config/Catalogue.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitSettings.h"
#include "model/ComputerLevels.h"
#include "window/UnitGame.h"

class SettingsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    platform.SetFolder(dir.path());
    game = std::make_unique<TFormGame>(&messages, platform);
    settings = new TFormSettings(game->Setup(), game->IniFile(), messages, game->State(),
                                 game->Music(), platform, game.get());
    multi = new TFormMultiUserGame(game->IniFile(), messages, game->State(), game.get());
    TGameDialogs dialogs;
    dialogs.Settings = settings;
    dialogs.MultiUser = multi;
    game->SetDialogs(dialogs);
    Select("Тестер");
  }
  void TearDown() override { game.reset(); }

  // Makes `name` the active profile, as a profile choice does, without applying anything.
  void Select(const std::string& name) {
    game->State().ActiveGamer = name;
    game->State().OptionsSection = cfg::OptionsSection(name);
  }
  // A profile choice: read both dialogs, check, apply as "ОК" does.
  bool Choose(const std::string& name) {
    Select(name);
    settings->ReadParams();
    multi->ReadParams();
    if (!settings->TestCondition()) return false;
    settings->btnOkClick();
    messages.Clear();  // the music switched on reports the tracks missing here
    return true;
  }

  TIniFile& Ini() { return game->IniFile(); }
  std::string Section() { return game->State().OptionsSection; }
  void Write(const std::string& key, const std::string& value) {
    ASSERT_TRUE(Ini().WriteString(Section(), key, value));
  }
  std::string Read(const std::string& key) { return Ini().ReadString(Section(), key, "<none>"); }
  QString FileText() {
    QFile f(platform.SettingsFilePath());
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
  }

  // The error boxes shown since the last Clear, with their titles checked.
  std::vector<std::string> Errors() {
    std::vector<std::string> out;
    for (auto& s : messages.shown)
      if (s.kind == "error") out.push_back(s.text);
    return out;
  }
  // Runs `inside` once the modal dialog `dialog` is up, from its own loop.
  void WhenShown(QDialog* dialog, std::function<void()> inside) {
    QTimer::singleShot(0, dialog, [dialog, inside] {
      if (QApplication::activeModalWidget() != dialog) {
        ADD_FAILURE() << "dialog not modal";
        dialog->reject();
        return;
      }
      inside();
    });
  }

  QTemporaryDir dir;
  TTestPlatform platform;  // the screen is platform.screen
  TScriptedMessages messages;
  std::unique_ptr<TFormGame> game;
  TFormSettings* settings = nullptr;  // children of the window
  TFormMultiUserGame* multi = nullptr;
};
