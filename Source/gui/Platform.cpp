#include "gui/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

std::function<QSize()> ReadScreenSize = [] {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1024, 768);
};

std::function<QString()> ExecutableFolder = [] { return QCoreApplication::applicationDirPath(); };

std::function<QString()> SettingsFilePath = [] {
  const QString folder = ExecutableFolder();
  if (QFileInfo(folder).isWritable()) {
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (name.isEmpty()) name = QStringLiteral("morvik");
    return folder + QLatin1Char('/') + name + QStringLiteral(".ini");
  }
  const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
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
