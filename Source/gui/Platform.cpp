// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>
#include <chrono>

namespace {

// An installed game: the executable in bin/ or games/ with its data in ../share/morvik, and no
// portable data beside it. Root can write to /usr/bin, so the folder's permissions alone do not
// tell.
bool InstalledLayout(const QString& folder) {
  return QFileInfo(folder + QStringLiteral("/../share/morvik")).isDir() &&
         !QFileInfo(folder + QStringLiteral("/Music")).isDir();
}

// $XDG_CONFIG_HOME/morvik, or ~/.config/morvik when it is unset or not an absolute path.
QString UserConfigFolder() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/morvik");
}

// The executable's name without its extension; "morvik" when there is none.
QString ExecutableName() {
  QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  if (name.isEmpty()) name = QStringLiteral("morvik");
  return name;
}

}  // namespace

TSystemPlatform::TSystemPlatform(QString executableFolder) : folder_(std::move(executableFolder)) {}

QString TSystemPlatform::ExecutableFolder() const {
  return folder_.isEmpty() ? QCoreApplication::applicationDirPath() : folder_;
}

QSize TSystemPlatform::ScreenSize() const {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1024, 768);
}

QRect TSystemPlatform::WorkArea(const QWidget& window) const {
  QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(QPoint(0, 0), ScreenSize());
}

uint32_t TSystemPlatform::ClockCounter() const {
  return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

QString TSystemPlatform::SettingsFilePath() const {
  const QString folder = ExecutableFolder();
  const QString beside = folder + QLatin1Char('/') + ExecutableName() + QStringLiteral(".ini");
  // A file already beside the executable keeps the player's profiles: it stays the settings
  // file even when its folder has become read-only (writes then report their failure).
  if (QFileInfo::exists(beside)) return beside;
  if (!InstalledLayout(folder) && QFileInfo(folder).isWritable()) return beside;
  const QString config = UserConfigFolder();
  QDir().mkpath(config);
  return config + QStringLiteral("/morvik.ini");
}

QString TSystemPlatform::MusicFolder() const {
  const QString beside = ExecutableFolder() + QStringLiteral("/Music");
  if (QFileInfo(beside).isDir()) return beside;
  const QString installed = ExecutableFolder() + QStringLiteral("/../share/morvik/Music");
  if (QFileInfo(installed).isDir()) return QDir::cleanPath(installed);
  return beside;
}

QString TSystemPlatform::HelpFilePath() const {
  const QString beside =
      ExecutableFolder() + QLatin1Char('/') + ExecutableName() + QStringLiteral(".html");
  if (QFileInfo(beside).isFile()) return beside;
  const QString installed = ExecutableFolder() + QStringLiteral("/../share/morvik/morvik.html");
  if (QFileInfo(installed).isFile()) return QDir::cleanPath(installed);
  return beside;
}

bool TSystemPlatform::SystemTrayAvailable() const {
  return QSystemTrayIcon::isSystemTrayAvailable();
}

QString TSystemPlatform::UserName() const {
  QString name = qEnvironmentVariable("USER");
  if (name.isEmpty()) name = qEnvironmentVariable("USERNAME");
  if (name.isEmpty()) name = QStringLiteral("Игрок");
  return name;
}

QString TPlatform::DataFolder() const {
  return QFileInfo(SettingsFilePath()).absolutePath();
}

QString TSystemPlatform::DataFolder() const {
  const QString settings = SettingsFilePath();
  if (QFileInfo(settings).absolutePath() == QFileInfo(ExecutableFolder()).absoluteFilePath())
    return ExecutableFolder();
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.local/share");
  return base + QStringLiteral("/morvik");
}

void CenterOnScreen(QWidget& window, const TPlatform& platform) {
  const QRect area = platform.WorkArea(window);
  if (area.isEmpty()) return;
  QRect r = window.frameGeometry();
  r.moveCenter(area.center());
  window.move(r.topLeft());
}

void CenterOnWindow(QWidget& dialog, const QWidget* owner, const TPlatform& platform) {
  if (!owner || !owner->isVisible()) {
    CenterOnScreen(dialog, platform);
    return;
  }
  QRect r = dialog.frameGeometry();
  r.moveCenter(owner->frameGeometry().center());
  dialog.move(r.topLeft());
  KeepOnScreen(dialog, platform);
}

void KeepOnScreen(QWidget& window, const TPlatform& platform) {
  const QRect area = platform.WorkArea(window);
  if (area.isEmpty()) return;
  QRect r = window.frameGeometry();
  if (r.right() > area.right()) r.moveRight(area.right());
  if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
  if (r.left() < area.left()) r.moveLeft(area.left());
  if (r.top() < area.top()) r.moveTop(area.top());
  if (r.topLeft() != window.frameGeometry().topLeft()) window.move(r.topLeft());
}
