// SPDX-License-Identifier: GPL-3.0-or-later
// Window tests run under Qt's offscreen platform unless a display is given; a watchdog ends any
// modal dialog a test leaves open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "ModalWatchdog.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
  QTemporaryDir runtime;
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
  }
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  InstallModalWatchdog(app);
  return RUN_ALL_TESTS();
}
