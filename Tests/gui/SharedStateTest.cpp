// SPDX-License-Identifier: GPL-3.0-or-later
// The state several windows share (the active profile, the options in force, the game mode)
// stays one: the faults players met when one window changed it behind another's back, and a
// model-based run of random player commands checked against the settings file after each one.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <random>

#include "ProfilesFixture.h"
#include "app/UnitStartUp.h"
#include "dialogs/UnitGamers.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitResult.h"
#include "dialogs/UnitSettings.h"
#include "model/OptionTable.h"
#include "sound/Music.h"

namespace {

using Names = std::vector<std::string>;

// Profiles: A plays the small board in the classic mode; M the medium board in the multi-user
// mode; B and C have options that fail the check (a custom width of 5).
constexpr char kFile[] =
    "[GAMERS]\r\nA=A\r\nB=B\r\nC=C\r\nM=M\r\n"
    "[OTHER]\r\nLastLogin=A\r\n"
    "[OPTIONS_A]\r\nGameSizeMap=0\r\nGameSizeTile=3\r\nSelectMusic=0\r\nSelectAutostart=0\r\n"
    "Other_ClassicMode=1\r\nOther_CodeGame=77\r\n"
    "[OPTIONS_B]\r\nGameSizeMap=4\r\nGameWidth=5\r\nGameHeight=12\r\nGameSizeTile=0\r\n"
    "SelectMusic=0\r\nOther_CodeGame=88\r\n"
    "[OPTIONS_C]\r\nGameSizeMap=4\r\nGameWidth=5\r\nGameHeight=12\r\nSelectMusic=0\r\n"
    "[OPTIONS_M]\r\nGameSizeMap=1\r\nGameSizeTile=0\r\nSelectMusic=0\r\nSelectAutostart=0\r\n"
    "Other_ClassicMode=0\r\nOther_CodeGame=99\r\n";

class SharedState : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    platform.SetFolder(dir.path());
    QFile f(platform.SettingsFilePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kFile);
    f.close();
    program = std::make_unique<TMorvikProgram>(messages, platform);
    // Every modal dialog is answered by whatever the running step asks for.
    connect = new QTimer;
    QObject::connect(connect, &QTimer::timeout, [this] { AnswerModal(); });
    connect->start(1);
    onSettings = [this] { Settings().reject(); };
    Choose("A");
    ASSERT_TRUE(program->StartUp());
    messages.Clear();
  }
  void TearDown() override {
    delete connect;
    program.reset();
  }

  TFormGame& Game() { return program->Game(); }
  TFormSettings& Settings() { return program->Settings(); }
  TFormGamers& Gamers() { return program->Gamers(); }
  TMorvikMachine& M() { return Game().Machine(); }
  TProgramState& State() { return Game().State(); }

  // The poller only schedules: a timer's own slot is never entered again by nested modal loops,
  // and the steps open such loops.
  void AnswerModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == scheduled) return;
    scheduled = modal;
    QTimer::singleShot(0, [this, modal] {
      scheduled = nullptr;
      if (QApplication::activeModalWidget() == modal) Answer(modal);
    });
  }
  void Answer(QWidget* modal) {
    if (modal == &Settings()) {
      auto step = onSettings;
      onSettings = [this] { Settings().reject(); };
      step();
    } else if (modal == &program->Result() || modal == &program->HallFame()) {
      static_cast<QDialog*>(modal)->accept();
    } else if (modal == &Gamers()) {
      onGamers();
    } else {
      failures.push_back("unexpected " + modal->objectName().toStdString());
      modal->close();
    }
  }
  // Marks `name` in the profiles list; the next profiles dialog picks it.
  void Choose(const std::string& name) {
    onGamers = [this, name] {
      Gamers().lbGamers->setCurrentItem(
          Gamers().lbGamers->findItems(QString::fromStdString(name), Qt::MatchExactly).value(0));
      Gamers().btnSelectClick();
      if (Gamers().isVisible()) Gamers().reject();  // a choice left pending is undone
    };
  }
  void PlayToTheEnd() {
    for (int guard = 0; M().Active && guard < 10000; ++guard) {
      if (!M().AwaitingHuman) {
        QApplication::processEvents();
        continue;
      }
      for (uint8_t c = 1; c <= 7; ++c)
        if (M().FreeColors[c]) {
          Game().SetColor(c);
          break;
        }
    }
  }

  // The options in force, the game mode and the caption agree with the profile's section of the
  // file, read afresh. Empty when they do.
  std::string Drift() {
    std::string out;
    auto expect = [&out](bool ok, const std::string& what) {
      if (!ok) out += what + "; ";
    };
    TScriptedMessages quiet;
    TIniFile ini(platform.SettingsFilePath().toStdString(), &quiet);
    const std::string section = cfg::OptionsSection(State().ActiveGamer);
    // The file's options, read key by key from the option table.
    TGameOptions file;
    for (const TOptionInfo& o : OptionTable())
      if (o.Key)
        o.Set(file, o.OnOff() ? int(ini.ReadBool(section, o.Key, o.Default != 0))
                              : ini.ReadInteger(section, o.Key, o.Default));
    const auto [w, h] = file.MapSize();
    expect(M().Width == w && M().Height == h, "board " + std::to_string(M().Width) + "x" +
                                                  std::to_string(M().Height) + " file " +
                                                  std::to_string(w) + "x" + std::to_string(h));
    expect(M().SizeTile == file.TileSize(), "tile");
    for (int s = 0; s < 4; ++s) {
      TTileStyle style = stFlat;
      LookStyle(file.Looks[size_t(s)], style);
      expect(M().TileStyles[size_t(s)] == style, "look " + std::to_string(s));
    }
    // chkbAutoTurn has no key.
    expect((State().SelectOptions() | soAutoTurn) == (file.SelectOptions | soAutoTurn), "flags");
    const uint8_t panels = file.PanelFlags;
    expect(State().PanelFlags() == panels, "panels");
    expect(Game().findChild<QToolBar*>(QStringLiteral("atbGame"))->isVisibleTo(&Game()) ==
               bool(panels & pfMainBar),
           "main bar shown");
    expect(State().VictoryByArea() == (file.Victory == 0), "victory");
    expect(Game().State().Options.ComputerLevel() == file.ComputerLevel(), "computer level");
    expect(Game().Music()->MusicEnabled() == file.Music, "music");
    expect(State().Options.Volume == file.Volume, "volume");
    const bool multi = State().MultiUserMode;
    expect(Game().Action(TGameAction::SettingsGameMultiUser)->isChecked() == multi &&
               Game().Action(TGameAction::SettingsGameClassic)->isChecked() == !multi,
           "mode actions");
    expect(Settings().rgMode->ItemIndex() == (multi ? 1 : 0), "rgMode");
    const QString title = Game().windowTitle();
    const qsizetype at = title.indexOf(QStringLiteral("#"));
    expect(at < 0 || title.mid(at + 1).toInt() == M().CodeGame, "caption");
    return out;
  }

  QTemporaryDir dir;
  TScriptedMessages messages;
  TTestPlatform platform;
  std::unique_ptr<TMorvikProgram> program;
  QTimer* connect = nullptr;
  QWidget* scheduled = nullptr;
  std::function<void()> onSettings, onGamers;
  Names failures;
};

// ---------------------------------------------------------------------------------------------
// The faults, each as a player met it.

TEST_F(SharedState, AMultiUserProfileKeepsItsModeThroughOkMusicAndPanels) {
  Choose("M");
  Game().Commands().Run(TGameAction::MenuGamers);
  ASSERT_EQ(State().ActiveGamer, "M");
  EXPECT_TRUE(State().MultiUserMode);
  EXPECT_EQ(Settings().rgMode->ItemIndex(), 1);
  // "ОК" in F7, Ctrl+M twice and a panel switch there and back: the mode stays.
  onSettings = [this] { Settings().btnOkClick(); };
  Game().Commands().Run(TGameAction::MenuSettings);
  Game().Commands().Run(TGameAction::SettingsMusic);
  Game().Commands().Run(TGameAction::SettingsMusic);
  Game().Commands().PanelsShowing();
  Game().Action(TGameAction::PanelColorBar)->trigger();
  Game().Commands().PanelsShowing();
  Game().Action(TGameAction::PanelColorBar)->trigger();
  EXPECT_TRUE(State().MultiUserMode);
  EXPECT_EQ(Drift(), "");
  // Back to the classic profile: the other way round.
  Choose("A");
  Game().Commands().Run(TGameAction::MenuGamers);
  onSettings = [this] { Settings().btnOkClick(); };
  Game().Commands().Run(TGameAction::MenuSettings);
  EXPECT_FALSE(State().MultiUserMode);
  Game().close();
  TIniFile ini(platform.SettingsFilePath().toStdString(), &messages);
  EXPECT_EQ(ini.ReadString("OPTIONS_M", "Other_ClassicMode", ""), "0");
  EXPECT_EQ(ini.ReadString("OPTIONS_A", "Other_ClassicMode", ""), "1");
}

TEST_F(SharedState, AnAbandonedChoiceBringsTheProfileBeforeBackWhole) {
  ASSERT_EQ(M().Width, 20);
  // B fails the check; in its settings another board and the multi-user mode are applied, then
  // "Отмена"; the profiles dialog is left.
  onSettings = [this] {
    Settings().rgSizeMap->SetItemIndex(3);
    Settings().rgMode->SetItemIndex(1);
    emit Settings().rgMode->UserClick();
    Settings().btnUseClick();
    Settings().reject();
  };
  Choose("B");
  Game().Commands().Run(TGameAction::MenuGamers);
  EXPECT_EQ(State().ActiveGamer, "A");
  EXPECT_EQ(M().CodeGame, 77);
  EXPECT_FALSE(State().MultiUserMode);
  EXPECT_EQ(Drift(), "");
  // Two failed choices in a row, B then C, and the dialog left: back to A, not to B. ("Применить"
  // above stored B's new board: B is broken again by hand.)
  Game().IniFile().WriteStrings("OPTIONS_B", {{"GameSizeMap", "4"}, {"GameWidth", "5"}});
  onGamers = [this] {
    for (const char* name : {"B", "C"}) {
      onSettings = [this] { Settings().reject(); };
      Gamers().lbGamers->setCurrentItem(Gamers().lbGamers->findItems(name, Qt::MatchExactly)[0]);
      Gamers().btnSelectClick();
      EXPECT_EQ(State().ActiveGamer, name) << "the choice is pending";
    }
    Gamers().reject();
  };
  Game().Commands().Run(TGameAction::MenuGamers);
  EXPECT_EQ(State().ActiveGamer, "A");
  EXPECT_EQ(M().CodeGame, 77);
  EXPECT_FALSE(State().MultiUserMode);
  EXPECT_EQ(Drift(), "");
  // F2 plays A's board, and A's win is filed under that board.
  Game().Commands().Run(TGameAction::MenuStartGame);
  ASSERT_TRUE(M().Active);
  EXPECT_EQ(M().Width, 20);
  EXPECT_EQ(State().GameSizeMap, 0);
  EXPECT_TRUE(failures.empty());
}

TEST_F(SharedState, AChosenProfileLeavesNothingToApply) {
  Choose("M");
  Game().Commands().Run(TGameAction::MenuGamers);
  EXPECT_FALSE(Settings().btnUse->isEnabledTo(&Settings()));
}

TEST_F(SharedState, TheRecordGoesToTheTableOfTheBoardPlayed) {
  Game().Commands().Run(TGameAction::MenuStartGame);
  ASSERT_TRUE(M().Active);
  // The settings show another size while the game runs (the tile page stays usable, and a
  // control may be set in code); the record still follows the board played.
  Settings().rgSizeMap->SetItemIndex(3);
  PlayToTheEnd();
  ASSERT_FALSE(M().Active);
  EXPECT_EQ(State().GameSizeMap, 0);
  TIniFile ini(platform.SettingsFilePath().toStdString(), &messages);
  EXPECT_FALSE(ini.SectionExists("MAP03"));
  EXPECT_TRUE(failures.empty());
}

// ---------------------------------------------------------------------------------------------
// A model of the player: random commands, the shared state checked after each.

TEST_F(SharedState, RandomCommandsNeverLetTheCopiesDrift) {
  std::mt19937 random(20261209);
  auto pick = [&](int n) { return int(random() % uint32_t(n)); };
  const char* profiles[] = {"A", "B", "M"};
  // A random change of the settings dialog's controls, kept to small boards.
  auto change = [&] {
    TFormSettings& s = Settings();
    // What a running game locks (board size, mode, strength, victory) the player cannot touch.
    const int what = pick(8);
    if (s.Locked() && (what <= 1 || what == 5 || what == 6)) return;
    switch (what) {
      case 0:
        s.rgSizeMap->SetItemIndex(pick(2));
        s.rgSizeTile->SetItemIndex(3);
        break;
      case 1:
        s.rgSizeMap->SetItemIndex(4);
        s.eWidth->setText(QString::number(16 + pick(20)));
        s.eHeight->setText(pick(5) ? QString::number(10 + pick(10)) : QStringLiteral("x"));
        break;
      case 2:
        s.rgSizeTile->SetItemIndex(pick(5));
        s.eTile->setText(QString::number(8 + pick(30)));
        break;
      case 3:
        s.cbTileNeutral->setCurrentIndex(pick(4));
        s.cbTilePressed->setCurrentIndex(pick(4));
        break;
      case 4:
        s.chkbSkipTurn->toggle();
        s.chkbReplay->toggle();
        s.chkbAutostart->setChecked(false);
        break;
      case 5:
        s.rgVictory->SetItemIndex(pick(2));
        s.rgBrain->SetItemIndex(pick(s.rgBrain->Count()));
        break;
      case 6:
        s.rgMode->SetItemIndex(pick(2));
        emit s.rgMode->UserClick();
        break;
      default:
        s.slVolume->setValue(pick(101));
        s.chkbStatusBar->toggle();
        break;
    }
  };
  auto settingsStep = [&] {
    return [&] {
      for (int k = pick(3); k >= 0; --k) change();
      switch (pick(4)) {
        case 0:
          Settings().btnOkClick();
          if (Settings().isVisible()) Settings().reject();
          break;
        case 1:
          Settings().btnUseClick();
          Settings().reject();
          break;
        case 2:
          Settings().btnDefaultClick();
          Settings().btnOkClick();
          if (Settings().isVisible()) Settings().reject();
          break;
        default:
          Settings().reject();
          break;
      }
    };
  };

  for (int step = 0; step < 400; ++step) {
    std::string command;
    switch (pick(10)) {
      case 0:
      case 1: {
        const std::string name = profiles[pick(3)];
        command = "choose " + name;
        // B's options are broken again by hand now and then, so that choices stay pending.
        if (State().ActiveGamer != "B" && pick(2))
          Game().IniFile().WriteStrings("OPTIONS_B", {{"GameSizeMap", "4"}, {"GameWidth", "5"}});
        onSettings = settingsStep();
        if (pick(3) == 0) {
          command += " (applied, then cancelled)";
          onSettings = [this, &pick] {
            Settings().rgSizeMap->SetItemIndex(pick(2));
            Settings().rgSizeTile->SetItemIndex(3);
            Settings().btnUseClick();
            Settings().reject();
          };
        }
        Choose(name);
        if (!M().Active) Game().Commands().Run(TGameAction::MenuGamers);
        break;
      }
      case 2:
      case 3:
        command = "F7";
        onSettings = settingsStep();
        Game().Commands().Run(TGameAction::MenuSettings);
        break;
      case 4:
        command = "mode";
        if (!M().Active)
          (pick(2) ? Game().Action(TGameAction::SettingsGameClassic)
                   : Game().Action(TGameAction::SettingsGameMultiUser))
              ->trigger();
        break;
      case 5:
        command = "music";
        Game().Commands().Run(TGameAction::SettingsMusic);
        break;
      case 6: {
        command = "panel";
        QAction* panels[] = {Game().Action(TGameAction::PanelMainBar),
                             Game().Action(TGameAction::PanelColorBar),
                             Game().Action(TGameAction::PanelStatusBar)};
        Game().Commands().PanelsShowing();
        panels[pick(3)]->trigger();
        break;
      }
      case 7:
        command = "start";
        messages.confirmDefault = true;
        Game().Commands().Run(TGameAction::MenuStartGame);
        break;
      case 8:
        command = "stop";
        if (M().Active) Game().Commands().Run(TGameAction::MenuStopGame);
        break;
      default:
        command = "play";
        if (!M().Active) Game().Commands().Run(TGameAction::MenuStartGame);
        PlayToTheEnd();
        break;
    }
    QApplication::processEvents();
    const std::string drift = Drift();
    ASSERT_EQ(drift, "") << "after step " << step << ": " << command << " (profile "
                         << State().ActiveGamer << ")";
  }
  EXPECT_TRUE(failures.empty()) << failures.front();
}

}  // namespace
