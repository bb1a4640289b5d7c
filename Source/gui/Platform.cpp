#include "gui/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

std::function<QSize()> ReadScreenSize = [] {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1024, 768);
};

std::function<QString()> ExecutableFolder = [] { return QCoreApplication::applicationDirPath(); };

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

}  // namespace

std::function<QString()> SettingsFilePath = [] {
  const QString folder = ExecutableFolder();
  QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  if (name.isEmpty()) name = QStringLiteral("morvik");
  const QString beside = folder + QLatin1Char('/') + name + QStringLiteral(".ini");
  // A file already beside the executable keeps the player's profiles: it stays the settings
  // file even when its folder has become read-only (writes then report their failure).
  if (QFileInfo::exists(beside)) return beside;
  if (!InstalledLayout(folder) && QFileInfo(folder).isWritable()) return beside;
  const QString config = UserConfigFolder();
  QDir().mkpath(config);
  return config + QStringLiteral("/morvik.ini");
};

std::function<QString()> MusicFolder = [] {
  const QString beside = ExecutableFolder() + QStringLiteral("/Music");
  if (QFileInfo(beside).isDir()) return beside;
  const QString installed = ExecutableFolder() + QStringLiteral("/../share/morvik/Music");
  if (QFileInfo(installed).isDir()) return QDir::cleanPath(installed);
  return beside;
};

std::function<QString()> SystemUserName = [] {
  QString name = qEnvironmentVariable("USER");
  if (name.isEmpty()) name = qEnvironmentVariable("USERNAME");
  if (name.isEmpty()) name = QStringLiteral("Игрок");
  return name;
};

void CenterOnScreen(QWidget& window) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect r = window.frameGeometry();
    r.moveCenter(screen->availableGeometry().center());
    window.move(r.topLeft());
  }
}

void CenterOnWindow(QWidget& dialog, const QWidget* owner) {
  if (!owner || !owner->isVisible()) {
    CenterOnScreen(dialog);
    return;
  }
  QRect r = dialog.frameGeometry();
  r.moveCenter(owner->frameGeometry().center());
  dialog.move(r.topLeft());
  KeepOnScreen(dialog);
}

void KeepOnScreen(QWidget& window) {
  QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  QRect r = window.frameGeometry();
  if (r.right() > area.right()) r.moveRight(area.right());
  if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
  if (r.left() < area.left()) r.moveLeft(area.left());
  if (r.top() < area.top()) r.moveTop(area.top());
  if (r.topLeft() != window.frameGeometry().topLeft()) window.move(r.topLeft());
}
