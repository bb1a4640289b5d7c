// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up: windows in their order, the tool-tip time, the profile choice before the main
// window, "Выход", and a second run that finds everything as the first left it.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "ProfilesFixture.h"
#include "app/UnitStartUp.h"
#include "config/HallFame.h"
#include "dialogs/UnitAbout.h"
#include "dialogs/UnitGamers.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitMultiUserGame.h"
#include "dialogs/UnitResult.h"
#include "dialogs/UnitSettings.h"
#include "dialogs/UnitStats.h"
#include "sound/Music.h"

namespace {

using Names = std::vector<std::string>;

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    platform.SetFolder(dir.path());
  }
  void TearDown() override { program.reset(); }
  void WriteFile(const std::string& text) {
    QFile f(platform.SettingsFilePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
  }
  QByteArray FileBytes() {
    QFile f(platform.SettingsFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void Create() { program = std::make_unique<TMorvikProgram>(messages, platform); }
  TFormGame& Game() { return program->Game(); }
  TIniFile& Ini() { return Game().IniFile(); }
  // Runs `step` once the next modal dialog is up (checked to be `expected`).
  void WhenModal(QWidget* expected, std::function<void()> step) {
    QTimer::singleShot(0, [this, expected, step] {
      if (QApplication::activeModalWidget() != expected) {
        failures.push_back("unexpected modal window");
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
        return;
      }
      step();
    });
  }

  QTemporaryDir dir;
  TScriptedMessages messages;
  TTestPlatform platform;
  std::unique_ptr<TMorvikProgram> program;
  std::vector<std::string> failures;
};

TEST_F(StartUp, WindowsAreCreatedInTheirOrder) {
  Create();
  EXPECT_EQ(program->CreationOrder(),
            (Names{"FormGame", "FormSettings", "FormResult", "FormMultiUserGame", "FormHallFame",
                   "FormGamers", "FormAbout", "FormStats"}));
  // Every dialog but the profiles one belongs to the main window.
  EXPECT_EQ(program->Gamers().parent(), nullptr);
  EXPECT_EQ(program->HallFame().parent(), &Game());
  EXPECT_EQ(program->About().parent(), &Game());
}

TEST_F(StartUp, ToolTipsStayForAMinute) {
  TToolTipTime filter(ToolTipHideTime);
  QToolButton plain, own;
  plain.setToolTip(QStringLiteral("Старт"));
  own.setToolTip(QStringLiteral("Стоп"));
  own.setToolTipDuration(500);
  plain.installEventFilter(&filter);
  own.installEventFilter(&filter);
  QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
  QApplication::sendEvent(&plain, &event);
  QApplication::sendEvent(&own, &event);
  EXPECT_EQ(plain.toolTipDuration(), 60000);
  EXPECT_EQ(own.toolTipDuration(), 500);
}

TEST_F(StartUp, EmptyFileAndExitEndsWithoutClosingSteps) {
  Create();
  EXPECT_TRUE(QFileInfo::exists(platform.SettingsFilePath()));
  TFormGamers& gamers = program->Gamers();
  WhenModal(&gamers, [&] {
    EXPECT_FALSE(Game().isEnabled());
    EXPECT_EQ(gamers.lbGamers->count(), 0);
    EXPECT_TRUE(gamers.btnCreate->isEnabled());
    EXPECT_FALSE(gamers.btnSelect->isEnabled());
    gamers.btnExit->click();
  });
  EXPECT_FALSE(program->StartUp());
  EXPECT_TRUE(failures.empty());
  EXPECT_FALSE(Game().isVisible());
  EXPECT_TRUE(messages.shown.empty());  // no closing question
  EXPECT_TRUE(FileBytes().isEmpty());   // and no exit save
}

TEST_F(StartUp, ANewProfileStartsWithARandomLayoutInTheCaption) {
  WriteFile("[GAMERS]\r\nAnn=Ann\r\n");
  Create();
  TFormGamers& gamers = program->Gamers();
  WhenModal(&gamers, [&] {
    EXPECT_EQ(gamers.SelectedName(), "Ann");
    gamers.btnSelect->click();
  });
  ASSERT_TRUE(program->StartUp());
  EXPECT_TRUE(failures.empty());
  const int32_t code = Game().Machine().CodeGame;
  EXPECT_GT(code, 0);
  EXPECT_EQ(Game().windowTitle(), QStringLiteral("Morvik 1.2 final. Расклад #%1").arg(code));
  EXPECT_TRUE(Game().isEnabled());
  EXPECT_TRUE(Game().isVisible());
  EXPECT_TRUE(gamers.btnExit->isHidden());
  EXPECT_EQ(Game().State().ActiveGamer, "Ann");
  EXPECT_EQ(Ini().ReadString("OTHER", "LastLogin", ""), "Ann");
  // Applying the options stored the profile's settings.
  EXPECT_EQ(Ini().ReadInteger("OPTIONS_Ann", "GameSizeMap", -1), 1);
  EXPECT_FALSE(Game().State().MultiUserMode);
}

TEST_F(StartUp, InvalidOptionsOpenAUsableSettingsDialog) {
  WriteFile("[GAMERS]\r\nAnn=Ann\r\n[OPTIONS_Ann]\r\nGameSizeMap=4\r\nGameWidth=5\r\n");
  Create();
  TFormGamers& gamers = program->Gamers();
  TFormSettings& settings = program->Settings();
  WhenModal(&gamers, [&] {
    WhenModal(&settings, [&] {
      // A child of the disabled main window, yet it must take input.
      EXPECT_TRUE(settings.isEnabled());
      settings.reject();
    });
    gamers.btnSelect->click();
    // Cancelled: the dialog stays, and "Выбор" asks again until the options pass.
    EXPECT_TRUE(gamers.isVisible());
    EXPECT_FALSE(Game().isEnabled());
    WhenModal(&settings, [&] {
      settings.rgSizeMap->SetItemIndex(1);
      settings.btnOkClick();
    });
    gamers.btnSelect->click();
  });
  ASSERT_TRUE(program->StartUp());
  EXPECT_TRUE(failures.empty());
  const Names errors = messages.Texts("error");
  ASSERT_GE(errors.size(), 2u);  // then the music's, which this folder lacks
  EXPECT_EQ(Names(errors.begin(), errors.begin() + 2),
            (Names{"Ширина игрового поля меньше 10.\r\nИсправьте настройки карты.",
                   "Ширина игрового поля меньше 10.\r\nИсправьте настройки карты."}));
  EXPECT_EQ(Game().State().ActiveGamer, "Ann");
  // The window runs with the corrected options and a layout of its own.
  EXPECT_EQ(Game().Machine().Width, 50);
  EXPECT_EQ(Ini().ReadInteger("OPTIONS_Ann", "GameSizeMap", -1), 1);
  EXPECT_GT(Game().Machine().CodeGame, 0);
}

// ---- The main window's routes into the dialogs -------------------------------------------

class Running : public StartUp {
 protected:
  void SetUp() override {
    StartUp::SetUp();
    // The composed tracks, so that the music around the About dialog can be heard.
    const QString music = platform.MusicFolder();
    ASSERT_TRUE(QDir().mkpath(music));
    for (const char* f : {"Title.mp3", "InGame.mp3", "About.mp3"})
      ASSERT_TRUE(QFile::copy(QStringLiteral(MORVIK_TEST_MUSIC_DIR "/") + QLatin1String(f),
                              music + QLatin1Char('/') + QLatin1String(f)));
    WriteFile("[GAMERS]\r\nAnn=Ann\r\n");
    Create();
    WhenModal(&program->Gamers(), [this] { program->Gamers().btnSelect->click(); });
    ASSERT_TRUE(program->StartUp());
    ASSERT_TRUE(failures.empty());
  }
  bool Playing(TMusicTrack track) { return Game().Music() && Game().Music()->Playing(track); }
};

TEST_F(Running, ExitSaveAndASecondRunFindEverythingAsLeft) {
  const int32_t code = Game().Machine().CodeGame;
  Game().Action(TGameAction::SettingsGameMultiUser)->trigger();
  messages.confirmDefault = true;
  Game().close();
  EXPECT_FALSE(Game().isVisible());
  EXPECT_EQ(Ini().ReadInteger("OPTIONS_Ann", "Other_CodeGame", 0), code);
  EXPECT_FALSE(Ini().ReadBool("OPTIONS_Ann", "Other_ClassicMode", true));
  EXPECT_EQ(Ini().ReadInteger("OPTIONS_Ann", "Window_Left", -99999), program->Gamers().x());

  program.reset();
  Create();
  WhenModal(&program->Gamers(), [this] {
    EXPECT_EQ(program->Gamers().SelectedName(), "Ann");
    program->Gamers().btnSelect->click();
  });
  ASSERT_TRUE(program->StartUp());
  EXPECT_EQ(Game().Machine().CodeGame, code);
  EXPECT_TRUE(Game().State().MultiUserMode);
  EXPECT_TRUE(Game().Action(TGameAction::SettingsGameMultiUser)->isChecked());
  EXPECT_EQ(Game().windowTitle(), QStringLiteral("Morvik 1.2 final. Расклад #%1").arg(code));
}

TEST_F(Running, ProfilesCommandSwitchesToAnotherProfile) {
  ASSERT_TRUE(Ini().WriteString("GAMERS", "Bob", "Bob"));
  ASSERT_TRUE(Ini().WriteString("OPTIONS_Bob", "Other_CodeGame", "777"));
  Game().State().GamerList.push_back("Bob");
  WhenModal(&program->Gamers(), [&] {
    TFormGamers& gamers = program->Gamers();
    EXPECT_TRUE(gamers.btnExit->isHidden());
    gamers.lbGamers->setCurrentRow(1);
    gamers.btnSelect->click();
  });
  Game().Action(TGameAction::MenuGamers)->trigger();
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(Game().State().ActiveGamer, "Bob");
  EXPECT_EQ(Game().Machine().CodeGame, 777);
  EXPECT_EQ(Game().windowTitle(), QStringLiteral("Morvik 1.2 final. Расклад #777"));
  EXPECT_TRUE(Game().isVisible());
}

TEST_F(Running, HallOfFameCommandShowsTheNewRecordOnceThenRowOne) {
  TFormHallFame& hall = program->HallFame();
  hall.SetSelectedRow(3);
  int row = 0;
  WhenModal(&hall, [&] {
    row = hall.SelectedRow();
    hall.accept();
  });
  Game().Action(TGameAction::MenuHallOfFame)->trigger();
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(row, 3);
  EXPECT_EQ(hall.SelectedRow(), 1);
}

TEST_F(Running, AboutPlaysItsOwnMusicAndThenTheTitleAgain) {
  ASSERT_TRUE(Playing(TMusicTrack::mtTitle));
  bool aboutPlayed = false, titlePlayed = true;
  WhenModal(&program->About(), [&] {
    aboutPlayed = Playing(TMusicTrack::mtAbout);
    titlePlayed = Playing(TMusicTrack::mtTitle);
    program->About().accept();
  });
  Game().Action(TGameAction::HelpAboutProgram)->trigger();
  EXPECT_TRUE(failures.empty());
  EXPECT_TRUE(aboutPlayed);
  EXPECT_FALSE(titlePlayed);
  EXPECT_TRUE(Playing(TMusicTrack::mtTitle));
  EXPECT_FALSE(Playing(TMusicTrack::mtAbout));
}

// The program hands every dialog to the main window: each command opens its own, and a record's
// rank reaches the hall of fame, which is created after the results dialog.
TEST_F(Running, EveryCommandOpensTheDialogTheProgramMadeForIt) {
  TFormGame& game = Game();
  const std::pair<QAction*, QWidget*> routes[] = {
      {game.Action(TGameAction::MenuSettings), &program->Settings()},
      {game.Action(TGameAction::MenuSettingsMultiUser), &program->MultiUser()},
      {game.Action(TGameAction::MenuGamers), &program->Gamers()},
      {game.Action(TGameAction::MenuHallOfFame), &program->HallFame()},
      {game.Action(TGameAction::MenuStats), &program->Stats()},
      {game.Action(TGameAction::HelpAboutProgram), &program->About()},
  };
  for (auto [action, dialog] : routes) {
    WhenModal(dialog, [dialog] { dialog->close(); });
    action->trigger();
    EXPECT_TRUE(failures.empty()) << action->objectName().toStdString();
    failures.clear();
  }
  WriteHallFame(Ini(), {"Bob=900", "Eve=100"}, "MAP01");
  Game().State().GameVictory = 0;
  Game().State().GameSizeMap = 1;
  TMorvikMachine& m = game.Machine();
  m.SetSizeMap(50, 25);
  m.SetGamer(1, gkHuman, 0, "Ann", 0);
  m.SetGamer(4, gkComputer, 1, "Компьютер", 0);
  m.Map = std::make_unique<TMap>();
  m.Map->Scores[1].Area = 375;  // 300 tenths: between Bob and Eve
  m.Map->Scores[4].Area = 250;
  WhenModal(&program->Result(), [this] { program->Result().accept(); });
  game.Machine().Services().ShowResults();
  EXPECT_EQ(program->HallFame().SelectedRow(), 2);
  m.Map.reset();
}

TEST_F(Running, EndOfGameShowsResultsAndTheHallOfFameOnARecord) {
  // A classic game just won by Ann: 300 tenths against 200.
  TMorvikMachine& m = Game().Machine();
  m.SetSizeMap(50, 25);
  m.SetGamer(1, gkHuman, 0, "Ann", 0);
  m.SetGamer(2, gkNone, 0, "", 0);
  m.SetGamer(3, gkNone, 0, "", 0);
  m.SetGamer(4, gkComputer, 1, "Компьютер", 0);
  m.Map = std::make_unique<TMap>();
  m.Map->Scores[1].Area = 375;
  m.Map->Scores[4].Area = 250;
  Game().State().GameVictory = 0;  // as the game was started: by area, medium board
  Game().State().GameSizeMap = 1;
  std::vector<std::string> shown;
  WhenModal(&program->Result(), [&] {
    shown.push_back(program->Result().stName[1]->text().toStdString());
    program->Result().accept();
  });
  Game().Machine().Services().ShowResults();
  EXPECT_EQ(shown, Names{"Ann"});
  EXPECT_TRUE(Game().Machine().Services().RecordAdded());
  std::vector<std::string> table;
  ReadHallFame(Ini(), &messages, table, "MAP01");
  EXPECT_EQ(table, Names{"Ann=300"});
  int row = 0;
  WhenModal(&program->HallFame(), [&] {
    row = program->HallFame().SelectedRow();
    program->HallFame().accept();
  });
  Game().Machine().Services().ShowHallOfFame();
  EXPECT_EQ(row, 1);
  EXPECT_TRUE(failures.empty());
  m.Map.reset();
}

TEST_F(StartUp, AClassicGamePlayedToTheEnd) {
  WriteFile(
      "[GAMERS]\r\nAnn=Ann\r\n[OPTIONS_Ann]\r\nGameSizeMap=0\r\nGameSizeTile=3\r\n"
      "SelectAutostart=0\r\nSelectMusic=0\r\n");
  Create();
  WhenModal(&program->Gamers(), [this] { program->Gamers().btnSelect->click(); });
  ASSERT_TRUE(program->StartUp());

  // The dialogs of the end of the game are answered as they come up.
  std::vector<std::string> dialogs;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == &program->Result()) {
      dialogs.push_back("results");
      program->Result().accept();
    } else if (modal == &program->HallFame()) {
      dialogs.push_back("halloffame:" + std::to_string(program->HallFame().SelectedRow()));
      program->HallFame().accept();
    } else if (modal) {
      dialogs.push_back("unexpected:" + modal->objectName().toStdString());
      modal->close();
    }
  });
  watcher.start(5);
  messages.confirmDefault = false;  // no replay

  TMorvikMachine& m = Game().Machine();
  Game().Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(m.Active);
  QElapsedTimer clock;
  clock.start();
  while (m.Active && clock.elapsed() < 60000) {
    for (uint8_t c = 1; c <= 7; ++c)
      if (m.FreeColors[c] && m.AwaitingHuman) {
        Game().SetColor(c);
        break;
      }
    QApplication::processEvents();
  }
  ASSERT_FALSE(m.Active);
  ASSERT_FALSE(dialogs.empty());
  EXPECT_EQ(dialogs[0], "results");
  std::vector<std::string> table;
  ReadHallFame(Ini(), &messages, table, "MAP00");
  if (Game().State().RecordAdded) {
    EXPECT_EQ(dialogs, (Names{"results", "halloffame:1"}));
    ASSERT_EQ(table.size(), 1u);
    EXPECT_TRUE(table[0].starts_with("Ann="));
    EXPECT_TRUE(messages.Texts("confirm").empty());
  } else {
    EXPECT_EQ(dialogs, Names{"results"});
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(messages.Texts("confirm"), Names{"Раунд проигран.\r\nПереиграть?"});
  }
}

}  // namespace
