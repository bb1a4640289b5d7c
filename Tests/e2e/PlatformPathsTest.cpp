// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program looks for its settings file and its data: portable beside the executable,
// installed under share/morvik with the settings in the XDG configuration folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "gui/Platform.h"

namespace {

void Touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

// Sets an environment variable for the life of the object.
class TEnv {
 public:
  TEnv(const char* name, const QByteArray& value) : name_(name) {
    had_ = qEnvironmentVariableIsSet(name);
    old_ = qgetenv(name);
    if (value.isNull())
      qunsetenv(name);
    else
      qputenv(name, value);
  }
  ~TEnv() {
    if (had_)
      qputenv(name_, old_);
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

class Paths : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    iniName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
              QStringLiteral(".ini");
  }
  // The real platform with the executable in `folder`.
  TSystemPlatform System() const { return TSystemPlatform(folder); }

  // bin/ (or games/, as the package has it) with share/morvik/{Music, morvik.html} beside it.
  void Installed(const QString& bin = QStringLiteral("bin")) {
    const QString prefix = dir.path() + QStringLiteral("/usr");
    folder = prefix + QLatin1Char('/') + bin;
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/share/morvik/Music")));
    Touch(prefix + QStringLiteral("/share/morvik/morvik.html"));
  }
  QString Config() const { return dir.path() + QStringLiteral("/config"); }

  QTemporaryDir dir;
  QString folder;
  QString iniName;
};

}  // namespace

TEST_F(Paths, PortableFolderKeepsEverythingBesideTheExecutable) {
  folder = dir.path() + QStringLiteral("/portable");
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Music")));
  TEnv xdg("XDG_CONFIG_HOME", Config().toUtf8());
  EXPECT_EQ(System().SettingsFilePath(), folder + QLatin1Char('/') + iniName);
  EXPECT_EQ(System().MusicFolder(), folder + QStringLiteral("/Music"));
  EXPECT_EQ(System().DataFolder(), folder);  // the kept games too
  EXPECT_FALSE(QFileInfo::exists(Config() + QStringLiteral("/morvik")))
      << "a portable game must not create the configuration folder";
}

TEST_F(Paths, InstalledGameReadsShareAndWritesTheXdgConfigFolder) {
  for (const char* bin : {"bin", "games"}) {
    Installed(bin);
    TEnv xdg("XDG_CONFIG_HOME", Config().toUtf8());
    TEnv data("XDG_DATA_HOME", (dir.path() + QStringLiteral("/data")).toUtf8());
    EXPECT_EQ(System().DataFolder(), dir.path() + QStringLiteral("/data/morvik")) << bin;
    // Root may write to bin/: the layout, not the permission, makes it an installed game.
    EXPECT_EQ(System().SettingsFilePath(), Config() + QStringLiteral("/morvik/morvik.ini")) << bin;
    EXPECT_TRUE(QFileInfo(Config() + QStringLiteral("/morvik")).isDir());
    EXPECT_EQ(System().MusicFolder(), dir.path() + QStringLiteral("/usr/share/morvik/Music"));
    EXPECT_EQ(
        QFileInfo(System().HelpFilePath()).canonicalFilePath(),
        QFileInfo(dir.path() + QStringLiteral("/usr/share/morvik/morvik.html")).canonicalFilePath())
        << bin;
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + iniName));
  }
}

TEST_F(Paths, WithoutXdgConfigHomeTheSettingsGoToDotConfig) {
  Installed();
  const QString home = dir.path() + QStringLiteral("/home");
  ASSERT_TRUE(QDir().mkpath(home));
  TEnv homeEnv("HOME", home.toUtf8());
  for (const QByteArray& value : {QByteArray(), QByteArray(""), QByteArray("relative/config")}) {
    TEnv xdg("XDG_CONFIG_HOME", value);
    EXPECT_EQ(System().SettingsFilePath(), home + QStringLiteral("/.config/morvik/morvik.ini"))
        << "XDG_CONFIG_HOME=" << value.constData();
  }
}

TEST_F(Paths, ASettingsFileBesideTheExecutableIsNeverAbandoned) {
  // A player who kept a portable file next to an installed-looking layout keeps the profiles.
  Installed();
  Touch(folder + QLatin1Char('/') + iniName);
  TEnv xdg("XDG_CONFIG_HOME", Config().toUtf8());
  EXPECT_EQ(System().SettingsFilePath(), folder + QLatin1Char('/') + iniName);
}

TEST_F(Paths, UnwritableFolderFallsBackToTheConfigFolder) {
  // A folder below a regular file cannot be written, not even by root.
  Touch(dir.path() + QStringLiteral("/file"));
  folder = dir.path() + QStringLiteral("/file/bin");
  TEnv xdg("XDG_CONFIG_HOME", Config().toUtf8());
  EXPECT_EQ(System().SettingsFilePath(), Config() + QStringLiteral("/morvik/morvik.ini"));
}
