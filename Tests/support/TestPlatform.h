// SPDX-License-Identifier: GPL-3.0-or-later
// The platform for tests: a 1024 x 768 screen (the work area the same), the settings file, the
// music and the manual in one folder, a fixed user name, and a clock that moves by a fixed step
// each time it is read. Every field can be changed between reads.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "gui/Platform.h"

class TTestPlatform : public TPlatform {
 public:
  explicit TTestPlatform(const QString& folder = QString()) { SetFolder(folder); }

  // The settings file, the music and the manual under `folder`.
  void SetFolder(const QString& folder) {
    settingsPath = folder + QStringLiteral("/morvik.ini");
    musicFolder = folder + QStringLiteral("/Music");
    helpPath = folder + QStringLiteral("/morvik.html");
  }

  QSize ScreenSize() const override { return screen; }
  QRect WorkArea(const QWidget&) const override {
    return workArea.isValid() ? workArea : QRect(QPoint(0, 0), screen);
  }
  uint32_t ClockCounter() const override { return clock += clockStep; }
  QString SettingsFilePath() const override { return settingsPath; }
  QString MusicFolder() const override { return musicFolder; }
  QString HelpFilePath() const override { return helpPath; }
  QString UserName() const override { return userName; }
  bool SystemTrayAvailable() const override { return trayAvailable; }

  QSize screen{1024, 768};
  QRect workArea;  // invalid: the whole screen
  mutable uint32_t clock = 1000;
  uint32_t clockStep = 7919;
  QString settingsPath, musicFolder, helpPath;
  QString userName = QStringLiteral("Тестер");
  bool trayAvailable = true;
};
