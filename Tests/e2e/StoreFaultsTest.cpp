// SPDX-License-Identifier: GPL-3.0-or-later
// What the player sees when the settings file is odd: a FIFO in its place and a file saved with
// CR-only line ends. The program starts, says what it must once, and plays.
#include <sys/stat.h>

#include <QListWidget>

#include "ProgramFixture.h"
#include "config/IniFile.h"

namespace {

class StoreFaults : public ProgramTest {};

TEST_F(StoreFaults, AFifoInPlaceOfTheSettingsFileIsReportedOnceAndTheGamePlaysUnsaved) {
  ASSERT_EQ(mkfifo(iniPath.toLocal8Bit().constData(), 0644), 0);
  CopyMusic();  // a new profile has music on
  Create();
  const bool started = StartUp([this](TFormGamers& gamers) {
    EXPECT_EQ(gamers.lbGamers->count(), 0);
    messages.inputAnswers.push_back({true, "Tester"});
    gamers.btnCreate->click();
    const auto found = gamers.lbGamers->findItems(QStringLiteral("Tester"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    gamers.lbGamers->setCurrentItem(found.front());
    gamers.btnSelect->click();
  });
  ASSERT_TRUE(started);
  EXPECT_EQ(program->Game().State().ActiveGamer, "Tester");
  PlayBriefly();
  CloseGame();
  EXPECT_EQ(messages.Texts("error"),
            std::vector<std::string>{"Не удаётся прочитать файл настроек " + iniPath.toStdString() +
                                     ".\r\nЭто именованный канал, а не обычный файл.\r\nИгра "
                                     "продолжится, но ничего не будет сохранено."});
  struct stat st;
  ASSERT_EQ(stat(iniPath.toLocal8Bit().constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList{QStringLiteral("morvik.ini")});
}

TEST_F(StoreFaults, ASettingsFileWithCrOnlyLineEndsKeepsItsProfiles) {
  WriteRaw(
      "[GAMERS]\rAnna=Anna\rBoris=Boris\r[OTHER]\rLastLogin=Boris\r"
      "[OPTIONS_Boris]\rGameSizeMap=0\rGameSizeTile=2\rSelectMusic=0\rOther_CodeGame=4321\r");
  Create();
  EXPECT_EQ(program->Game().State().GamerList, (std::vector<std::string>{"Anna", "Boris"}));
  ASSERT_TRUE(StartUpSelecting());
  EXPECT_EQ(program->Game().State().ActiveGamer, "Boris");
  EXPECT_EQ(program->Game().Machine().CodeGame, 4321);
  PlayBriefly();
  CloseGame();
  EXPECT_TRUE(messages.Texts("error").empty()) << messages.Texts("error").front();
  // The lines it had keep their own ends; the lines the program added end in CR LF.
  const QByteArray text = ReadIni();
  EXPECT_TRUE(text.startsWith("[GAMERS]\rAnna=Anna\rBoris=Boris\r[OTHER]\rLastLogin=Boris\r"));
  EXPECT_TRUE(text.contains("\rOther_CodeGame="));
  EXPECT_TRUE(text.contains("\r\nWindow_Top="));
}

}  // namespace
