// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program for tests: every window created as the entry creates them, scripted
// messages, the settings file, the music and the executable's folder in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>
#include <string>

#include "ScriptedMessages.h"
#include "TestPlatform.h"
#include "app/UnitStartUp.h"
#include "dialogs/UnitGamers.h"
#include "window/UnitGame.h"

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    folder = dir.path() + QStringLiteral("/game");
    ASSERT_TRUE(QDir().mkpath(folder));
    iniPath = folder + QStringLiteral("/morvik.ini");
    musicPath = folder + QStringLiteral("/Music");
    platform.SetFolder(folder);  // the manual too
  }
  void TearDown() override { program.reset(); }

  // The windows in their fixed order; the main window creates the settings file when missing.
  // The paths are taken as they stand now (a test may move the settings file first).
  void Create() {
    platform.settingsPath = iniPath;
    platform.musicFolder = musicPath;
    program = std::make_unique<TMorvikProgram>(messages, platform);
  }

  // Start-up with the profiles dialog answered by `answer` once it shows.
  bool StartUp(std::function<void(TFormGamers&)> answer) {
    TFormGamers& gamers = program->Gamers();
    // A dialog left open fails the start-up instead of hanging the test: after a while every
    // modal window still showing is named and closed.
    QTimer guard;
    guard.setInterval(5000);
    QObject::connect(&guard, &QTimer::timeout, [&gamers] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) modal = gamers.isVisible() ? &gamers : nullptr;
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        ADD_FAILURE() << "still open: " << dialog->windowTitle().toStdString();
        dialog->done(QDialog::Rejected);
      }
    });
    guard.start();
    QTimer::singleShot(0, &gamers, [&gamers, answer] { answer(gamers); });
    return program->StartUp();
  }
  // Start-up choosing the preselected profile.
  bool StartUpSelecting() {
    return StartUp([](TFormGamers& gamers) { gamers.btnSelect->click(); });
  }
  // Closes the main window as the player does (the confirmation is answered from the script).
  void CloseGame() {
    program->Game().close();
    QApplication::processEvents();
  }

  // Start a game and stop it again through the stop command (confirmed).
  void PlayBriefly() {
    TFormGame& game = program->Game();
    game.Action(TGameAction::MenuStartGame)->trigger();
    EXPECT_TRUE(game.Machine().Active);
    EXPECT_TRUE(game.Action(TGameAction::MenuStopGame)->isEnabled());
    messages.confirmAnswers.push_back(true);
    game.Action(TGameAction::MenuStopGame)->trigger();
    EXPECT_FALSE(game.Machine().Active);
  }

  // The settings file as bytes; `text` uses LF, written with CR LF. ASCII texts only.
  void WriteIni(const std::string& text) { WriteFile(iniPath, text); }
  static void WriteFile(const QString& path, const std::string& text) {
    std::string crlf;
    for (char c : text) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(crlf.data(), qint64(crlf.size()));
  }
  void WriteRaw(const QByteArray& bytes) {
    QFile file(iniPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }
  QByteArray ReadIni() const {
    QFile file(iniPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // Copies the tracks the build composed into the game folder's Music.
  void CopyMusic() {
    QDir().mkpath(musicPath);
    for (const char* track : {"Title.mp3", "InGame.mp3", "About.mp3"}) {
      const QString from = QStringLiteral(MORVIK_MUSIC_DIR "/") + QLatin1String(track);
      ASSERT_TRUE(QFile::copy(from, musicPath + QLatin1Char('/') + QLatin1String(track)))
          << from.toStdString();
    }
  }

  QTemporaryDir dir;
  QString folder, iniPath, musicPath;
  TScriptedMessages messages;
  TTestPlatform platform;  // everything in the game folder
  std::unique_ptr<TMorvikProgram> program;
};

// A profile section with the given extra keys (one "key=value" per line).
inline std::string ProfileIni(const std::string& name, const std::string& options) {
  return "[GAMERS]\n" + name + "=" + name + "\n[OTHER]\nLastLogin=" + name + "\n[OPTIONS_" + name +
         "]\n" + options;
}
