// The start-up: windows in their order, the tool-tip time, the profile choice before the main
// window, "Выход", and a second run that finds everything as the first left it.
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "ProfilesFixture.h"
#include "UnitAbout.h"
#include "UnitGamers.h"
#include "UnitGamersStartUp.h"
#include "UnitHallFame.h"
#include "UnitSettings.h"

namespace {

using Names = std::vector<std::string>;

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    savedSettings = SettingsFilePath;
    savedMusic = MusicFolder;
    savedScreen = ReadScreenSize;
    SettingsFilePath = [this] { return dir.path() + QStringLiteral("/morvik.ini"); };
    MusicFolder = [this] { return dir.path() + QStringLiteral("/Music"); };
    ReadScreenSize = [] { return QSize(1024, 768); };
  }
  void TearDown() override {
    program.reset();
    SettingsFilePath = savedSettings;
    MusicFolder = savedMusic;
    ReadScreenSize = savedScreen;
  }
  void WriteFile(const std::string& text) {
    QFile f(SettingsFilePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
  }
  QByteArray FileBytes() {
    QFile f(SettingsFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void Create() { program = std::make_unique<TMorvikProgram>(messages); }
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
  std::unique_ptr<TMorvikProgram> program;
  std::function<QString()> savedSettings, savedMusic;
  std::function<QSize()> savedScreen;
  std::vector<std::string> failures;
};

TEST_F(StartUp, WindowsAreCreatedInTheirOrder) {
  Create();
  EXPECT_EQ(program->CreationOrder(),
            (Names{"FormGame", "FormSettings", "FormResult", "FormMultiUserGame", "FormHallFame",
                   "FormGamers", "FormAbout"}));
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
  EXPECT_TRUE(QFileInfo::exists(SettingsFilePath()));
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
    // Cancelled: the dialog stays; "Выбор" again closes it without applying.
    EXPECT_TRUE(gamers.isVisible());
    EXPECT_FALSE(Game().isEnabled());
    gamers.btnSelect->click();
  });
  ASSERT_TRUE(program->StartUp());
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(messages.Texts("error"),
            Names{"Ширина игрового поля меньше 10.\r\nИсправьте настройки карты."});
  EXPECT_EQ(Game().State().ActiveGamer, "Ann");
}

}  // namespace
