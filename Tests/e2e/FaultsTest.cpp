// SPDX-License-Identifier: GPL-3.0-or-later
// Faults around the program: a settings file that cannot be written, one full of random bytes,
// a hall-of-fame table edited by hand, a missing Music folder, no sound device. Each gives a
// message, the program goes on, and no stored profile or record is lost.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDialog>
#include <QListWidget>
#include <random>

#include "ProgramFixture.h"
#include "config/HallFame.h"
#include "config/IniFile.h"

namespace {

// Makes a file or a folder refuse writes. Permissions stop everyone but root; for root the
// immutable attribute does it. Undone on destruction.
class TWriteProtect {
 public:
  explicit TWriteProtect(const QString& path) : path_(path.toStdString()) {
    struct stat st {};
    if (stat(path_.c_str(), &st) != 0) return;
    mode_ = st.st_mode & 07777;
    chmod(path_.c_str(), mode_ & ~mode_t(0222));
    if (access(path_.c_str(), W_OK) != 0) {
      protected_ = true;
      return;
    }
    const int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return;
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags |= FS_IMMUTABLE_FL;
      immutable_ = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    protected_ = immutable_ && access(path_.c_str(), W_OK) != 0;
  }
  ~TWriteProtect() {
    if (immutable_) {
      const int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK);
      int flags = 0;
      if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags &= ~FS_IMMUTABLE_FL;
        ioctl(fd, FS_IOC_SETFLAGS, &flags);
      }
      if (fd >= 0) close(fd);
    }
    chmod(path_.c_str(), mode_);
  }
  bool Protected() const { return protected_; }

 private:
  std::string path_;
  mode_t mode_ = 0644;
  bool immutable_ = false;
  bool protected_ = false;
};

class Faults : public ProgramTest {
 protected:
  // Two profiles and two hall-of-fame tables, the way the program writes them.
  void StoreTwoProfilesAndRecords() {
    WriteIni(
        "[GAMERS]\nAnna=Anna\nBoris=Boris\n[OTHER]\nLastLogin=Anna\n"
        "[OPTIONS_Anna]\nGameSizeMap=0\nGameSizeTile=2\nSelectMusic=0\nOther_CodeGame=1234\n"
        "[OPTIONS_Boris]\nGameSizeMap=2\nSelectMusic=0\nOther_CodeGame=99\n");
    TIniFile ini(iniPath.toStdString(), nullptr);
    ASSERT_TRUE(WriteHallFame(ini, {"Anna=700", "Boris=500"}, "MAP00"));
    ASSERT_TRUE(WriteHallFame(ini, {"Boris=40", "Anna=12"}, "MAP11"));
  }
  std::vector<std::string> Records(const std::string& section) {
    TIniFile ini(iniPath.toStdString(), nullptr);
    TScriptedMessages quiet;
    std::vector<std::string> list;
    ReadHallFame(ini, &quiet, list, section);
    EXPECT_TRUE(quiet.shown.empty()) << section << ": " << quiet.shown.front().text;
    return list;
  }
  void ExpectProfilesAndRecordsKept() {
    TIniFile ini(iniPath.toStdString(), nullptr);
    EXPECT_EQ(ini.ReadSection("GAMERS"), (std::vector<std::string>{"Anna", "Boris"}));
    EXPECT_EQ(ini.ReadInteger("OPTIONS_Boris", "GameSizeMap", -1), 2);
    EXPECT_EQ(Records("MAP00"), (std::vector<std::string>{"Anna=700", "Boris=500"}));
    EXPECT_EQ(Records("MAP11"), (std::vector<std::string>{"Boris=40", "Anna=12"}));
  }
  // Every error shown is the store's refusal of this file, with the cause on its second line.
  void ExpectOnlyWriteRefusals(const std::string& cause) {
    const std::string refusal = "Unable to write to " + iniPath.toStdString();
    const auto errors = messages.Texts("error");
    EXPECT_FALSE(errors.empty()) << "a refused write went unreported";
    for (const std::string& text : errors) EXPECT_EQ(text, refusal + "\r\n" + cause);
  }
  // Closes every modal dialog that shows, until stopped.
  void CloseModals(QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
    });
    timer.start(20);
  }
};

}  // namespace

TEST_F(Faults, ReadOnlySettingsFileIsReportedAndLeftWhole) {
  StoreTwoProfilesAndRecords();
  const QByteArray before = ReadIni();
  TWriteProtect protect(iniPath);
  if (!protect.Protected()) GTEST_SKIP() << "no way to make a file read-only here";
  Create();
  ASSERT_TRUE(StartUpSelecting()) << "the profile could not be chosen";
  TFormGame& game = program->Game();
  EXPECT_TRUE(game.isEnabled());
  EXPECT_EQ(game.State().ActiveGamer, "Anna");
  EXPECT_EQ(game.Machine().CodeGame, 1234);
  PlayBriefly();
  CloseGame();
  EXPECT_FALSE(game.isVisible());
  ExpectOnlyWriteRefusals("Файл защищён от записи (только для чтения).");
  EXPECT_EQ(ReadIni(), before);
}

TEST_F(Faults, SettingsFileInAReadOnlyFolderIsReportedAndLeftWhole) {
  StoreTwoProfilesAndRecords();
  const QByteArray before = ReadIni();
  TWriteProtect protect(folder);
  if (!protect.Protected()) GTEST_SKIP() << "no way to make a folder read-only here";
  Create();
  ASSERT_TRUE(StartUpSelecting());
  EXPECT_EQ(program->Game().State().ActiveGamer, "Anna");
  PlayBriefly();
  CloseGame();
  ExpectOnlyWriteRefusals("Нет прав доступа.");
  EXPECT_EQ(ReadIni(), before);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("morvik.ini")})
      << "a temporary file was left behind";
}

TEST_F(Faults, SettingsPathThatCannotExistLeavesTheProfilesDialogUsable) {
  // A path below a regular file: nothing can be created there, not even by root.
  WriteFile(folder + QStringLiteral("/plain"), "not a folder\n");
  iniPath = folder + QStringLiteral("/plain/morvik.ini");
  Create();
  const bool started = StartUp([this](TFormGamers& gamers) {
    EXPECT_EQ(gamers.lbGamers->count(), 0);
    messages.inputAnswers.push_back({true, "Tester"});
    gamers.btnCreate->click();
    // Nothing could be stored: the program says so and stays in the dialog, which can be left.
    gamers.btnExit->click();
  });
  EXPECT_FALSE(started);
  EXPECT_FALSE(messages.Texts("error").empty()) << "a refused write went unreported";
  EXPECT_FALSE(QFileInfo::exists(iniPath));
}

TEST_F(Faults, SettingsFileOfRandomBytesStillGivesAWorkingProgram) {
  std::mt19937 random(20261208);
  QByteArray noise(16384, '\0');
  for (char& c : noise) c = char(random() & 0xFF);
  WriteRaw(noise);
  CopyMusic();  // a new profile has music on
  Create();
  const bool started = StartUp([this](TFormGamers& gamers) {
    messages.inputAnswers.push_back({true, "Tester"});
    gamers.btnCreate->click();
    const auto found = gamers.lbGamers->findItems(QStringLiteral("Tester"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    gamers.lbGamers->setCurrentItem(found.front());
    gamers.btnSelect->click();
  });
  ASSERT_TRUE(started);
  EXPECT_TRUE(messages.Texts("error").empty()) << messages.Texts("error").front();
  PlayBriefly();
  const int code = program->Game().Machine().CodeGame;
  CloseGame();

  // The next run finds the profile, preselected, with its layout.
  program.reset();
  messages.Clear();
  Create();
  ASSERT_TRUE(StartUpSelecting());
  EXPECT_EQ(program->Game().State().ActiveGamer, "Tester");
  EXPECT_EQ(program->Game().Machine().CodeGame, code);
}

TEST_F(Faults, NoiseAfterTheSettingsKeepsProfilesAndRecords) {
  StoreTwoProfilesAndRecords();
  std::mt19937 random(7);
  QByteArray noise("\r\n[NOISE]\r\n");
  for (int i = 0; i < 4096; ++i) noise += char(random() & 0xFF);
  noise += QByteArray("\x98\x00\r\r\n=\n[\n]=\n", 12);
  QFile file(iniPath);
  ASSERT_TRUE(file.open(QIODevice::Append));
  file.write(noise);
  file.close();
  Create();
  ASSERT_TRUE(StartUpSelecting());
  EXPECT_EQ(program->Game().State().ActiveGamer, "Anna");
  EXPECT_EQ(program->Game().State().GamerList, (std::vector<std::string>{"Anna", "Boris"}));
  PlayBriefly();
  CloseGame();
  EXPECT_TRUE(messages.Texts("error").empty()) << messages.Texts("error").front();
  ExpectProfilesAndRecordsKept();
}

TEST_F(Faults, HallOfFameEditedByHandIsResetAloneWithItsMessage) {
  StoreTwoProfilesAndRecords();
  QByteArray text = ReadIni();
  ASSERT_TRUE(text.contains("Anna;700"));
  text.replace("Anna;700", "Anna;999");  // a better score typed in by hand
  WriteRaw(text);
  Create();
  ASSERT_TRUE(StartUpSelecting());
  TFormGame& game = program->Game();
  // The hall of fame opens on the table of the profile's options: by area, small board.
  QTimer closer;
  CloseModals(closer);
  game.Action(TGameAction::MenuHallOfFame)->trigger();
  closer.stop();
  EXPECT_EQ(messages.Texts("info"), (std::vector<std::string>{kMsgHallFameChecksum}));
  EXPECT_TRUE(messages.Texts("error").empty());
  EXPECT_TRUE(game.isEnabled());
  PlayBriefly();
  CloseGame();
  // Only the edited table is gone; the other table and both profiles stay.
  EXPECT_TRUE(Records("MAP00").empty());
  EXPECT_EQ(Records("MAP11"), (std::vector<std::string>{"Boris=40", "Anna=12"}));
  TIniFile ini(iniPath.toStdString(), nullptr);
  EXPECT_EQ(ini.ReadSection("GAMERS"), (std::vector<std::string>{"Anna", "Boris"}));
}

TEST_F(Faults, MissingMusicFolderIsReportedAndTheGamePlaysOn) {
  StoreTwoProfilesAndRecords();
  QByteArray text = ReadIni();
  text.replace("[OPTIONS_Anna]\r\n", "[OPTIONS_Anna]\r\nSelectMusic=1\r\n");  // read first
  WriteRaw(text);
  ASSERT_FALSE(QFileInfo::exists(musicPath));
  Create();
  ASSERT_TRUE(StartUpSelecting());
  const auto errors = messages.Texts("error");
  ASSERT_FALSE(errors.empty()) << "no word about the missing tracks";
  EXPECT_EQ(errors.front(), "Файл \"\\Music\\Title.mp3\" не найден.");
  messages.Clear();
  PlayBriefly();
  CloseGame();
  ExpectProfilesAndRecordsKept();
}

TEST_F(Faults, NoSoundDeviceIsReportedAndTheGamePlaysOn) {
  StoreTwoProfilesAndRecords();
  QByteArray text = ReadIni();
  text.replace("[OPTIONS_Anna]\r\n", "[OPTIONS_Anna]\r\nSelectMusic=1\r\n");
  WriteRaw(text);
  CopyMusic();
  const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
  qputenv("SDL_AUDIODRIVER", "no-such-sound-device");
  Create();
  const bool started = StartUpSelecting();
  qputenv("SDL_AUDIODRIVER", driver);
  ASSERT_TRUE(started);
  const auto errors = messages.Texts("error");
  ASSERT_FALSE(errors.empty()) << "no word about the sound system";
  EXPECT_EQ(errors.front(), "Невозможно инициализировать звуковую систему.");
  messages.Clear();
  PlayBriefly();
  CloseGame();
  ExpectProfilesAndRecordsKept();
}
