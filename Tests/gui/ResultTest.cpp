// SPDX-License-Identifier: GPL-3.0-or-later
// The results dialog: totals, ranking, places, the hall-of-fame record and the replay choice.
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

#include "FinishedBoard.h"
#include "ProfilesFixture.h"
#include "dialogs/UnitHallFame.h"
#include "dialogs/UnitResult.h"
#include "gui/QtText.h"

namespace {

using Names = std::vector<std::string>;

class Results : public ProfilesWindow {
 protected:
  void SetUp() override {
    ProfilesWindow::SetUp();
    State().ActiveGamer = "Ann";
    State().OptionsSection = "OPTIONS_Ann";
    State().Options.SelectOptions = soReplay | soHallFameOnRecord;
    hallFame = std::make_unique<TFormHallFame>(Ini(), messages, State(), platform);
    State().GameVictory = 0;  // a game by area on the medium board
    State().GameSizeMap = 1;
    form = new TFormResult(
        game->Machine(), State(), Ini(), messages, game->Setup(),
        [this](int rank) { hallFame->SetSelectedRow(rank); }, game.get());
    game->Machine().SetCodeGame(555);
  }
  void TearDown() override {
    hallFame.reset();
    ProfilesWindow::TearDown();
  }
  // A classic game of Ann (seat 1) against the computer (seat 4), by area on 50 x 25.
  void Classic(uint16_t ann, uint16_t computer, const std::string& name = "Ann") {
    Finish(game->Machine(), 50, 25,
           {{gkHuman, name, 0, ann}, {}, {}, {gkComputer, "Компьютер", 0, computer}});
  }
  // The end of the game recorded, then the dialog shown and closed.
  void ShowAndClose() {
    form->SetRecord(game->RecordGameEnd());
    form->show();
    form->btnClose->click();
    ASSERT_FALSE(form->isVisible());
  }
  QString Text(const char* name, int n) {
    auto* label = form->findChild<QLabel*>(QString::fromLatin1(name) + QString::number(n));
    return label ? label->text() : QStringLiteral("<missing>");
  }
  bool PlaceEnabled(int n) {
    return form->findChild<QLabel*>(QStringLiteral("stPlace") + QString::number(n))->isEnabled();
  }

  std::unique_ptr<TFormHallFame> hallFame;
  TFormResult* form = nullptr;  // a child of the main window
};

TEST_F(Results, PersonWinsClassicGame) {
  ASSERT_TRUE(WriteHallFame(Ini(), {"X=900", "Y=500", "Z=100"}, "MAP01"));
  Classic(375, 250);  // 300 and 200 tenths
  ShowAndClose();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Результаты игры"));
  EXPECT_EQ(Text("stPlace", 1), QStringLiteral("1 место"));
  EXPECT_EQ(Text("stName", 1), QStringLiteral("Ann"));
  EXPECT_EQ(Text("stScore", 1), QStringLiteral("300"));
  EXPECT_EQ(Text("stName", 2), QStringLiteral("Компьютер"));
  EXPECT_EQ(Text("stScore", 2), QStringLiteral("200"));
  EXPECT_TRUE(PlaceEnabled(1) && PlaceEnabled(2));
  EXPECT_FALSE(PlaceEnabled(3) || PlaceEnabled(4));
  EXPECT_EQ(Text("stName", 3), QString());
  EXPECT_EQ(Text("stScore", 4), QString());

  EXPECT_EQ(Table("MAP01"), (Names{"X=900", "Y=500", "Ann=300", "Z=100"}));
  EXPECT_TRUE(State().RecordAdded);
  EXPECT_TRUE(form->RecordSaved);
  EXPECT_EQ(hallFame->SelectedRow(), 3);
  // A win asks nothing and draws a new layout.
  EXPECT_TRUE(Shown("confirm").empty());
  EXPECT_NE(game->Machine().CodeGame, 555);
}

TEST_F(Results, ATieKeepsThePersonFirstAndCounts) {
  Classic(300, 300);
  ShowAndClose();
  EXPECT_EQ(Text("stName", 1), QStringLiteral("Ann"));
  EXPECT_EQ(Table("MAP01"), Names{"Ann=240"});
  EXPECT_TRUE(State().RecordAdded);
  // A table with no lower record: appended, the grid row stays.
  EXPECT_EQ(hallFame->SelectedRow(), 1);
}

TEST_F(Results, TheTableFollowsVictoryAndBoardSize) {
  State().GameVictory = 1;
  State().GameSizeMap = 4;  // custom board: a table no tab shows
  Finish(game->Machine(), 33, 17,
         {{gkHuman, "Ann", 0, 10, 4321}, {}, {}, {gkComputer, "Компьютер", 0, 500, 900}});
  ShowAndClose();
  EXPECT_EQ(Text("stScore", 1), QStringLiteral("4321"));
  EXPECT_EQ(Table("MAP14"), Names{"Ann=4321"});
  EXPECT_FALSE(Ini().SectionExists("MAP01"));
}

TEST_F(Results, ComputerWinAsksForAReplay) {
  Classic(100, 600);
  messages.confirmAnswers = {true};
  ShowAndClose();
  EXPECT_EQ(Text("stName", 1), QStringLiteral("Компьютер"));
  EXPECT_FALSE(State().RecordAdded);
  EXPECT_FALSE(Ini().SectionExists("MAP01"));
  EXPECT_EQ(Shown("confirm"), Names{"Раунд проигран.\r\nПереиграть?"});
  EXPECT_EQ(game->Machine().CodeGame, 555);  // the same board again

  messages.Clear();
  messages.confirmAnswers = {false};
  ShowAndClose();
  EXPECT_EQ(Shown("confirm").size(), 1u);
  EXPECT_NE(game->Machine().CodeGame, 555);

  // Without the replay option: no question, a new layout.
  State().Options.SelectOptions = 0;
  game->Machine().SetCodeGame(555);
  messages.Clear();
  ShowAndClose();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_NE(game->Machine().CodeGame, 555);
}

TEST_F(Results, AnAssistedWinEntersNoRecordAndSaysSoInOneLine) {
  ASSERT_TRUE(WriteHallFame(Ini(), {"X=900", "Z=100"}, "MAP01"));
  // The unassisted dialog first: the line is hidden and takes no room.
  Classic(100, 600);
  messages.confirmAnswers = {false};
  ShowAndClose();
  EXPECT_FALSE(form->stAssisted->isVisibleTo(form));
  const QSize plain = form->size();
  const QMargins m = form->layout()->contentsMargins();
  EXPECT_EQ(plain.height(), m.top() + form->Panel1->height() + form->layout()->spacing() +
                                form->btnClose->height() + m.bottom());

  QFile file(IniPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray stored = file.readAll();
  file.close();
  game->Machine().Assisted = true;
  Classic(375, 250);
  game->Machine().SetCodeGame(555);
  messages.Clear();
  ShowAndClose();
  EXPECT_EQ(Text("stName", 1), QStringLiteral("Ann"));
  EXPECT_EQ(Text("stScore", 1), QStringLiteral("300"));
  EXPECT_TRUE(form->stAssisted->isVisibleTo(form));
  EXPECT_EQ(form->stAssisted->text(),
            QStringLiteral("Игра с подсказками или отменой ходов не идёт в зал славы."));
  EXPECT_GT(form->height(), plain.height());
  EXPECT_FALSE(State().RecordAdded);
  EXPECT_FALSE(form->RecordSaved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), stored);
  file.close();
  // A won round all the same: no replay question, a new layout.
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_NE(game->Machine().CodeGame, 555);

  // Lost with help: the replay question as ever.
  Classic(100, 600);
  game->Machine().SetCodeGame(555);
  messages.confirmAnswers = {true};
  ShowAndClose();
  EXPECT_EQ(Shown("confirm"), Names{"Раунд проигран.\r\nПереиграть?"});
  EXPECT_EQ(game->Machine().CodeGame, 555);
}

TEST_F(Results, EscapeAlsoRunsTheCloseStep) {
  Classic(100, 600);
  messages.confirmAnswers = {true};
  form->show();
  form->reject();
  EXPECT_EQ(Shown("confirm").size(), 1u);
  EXPECT_EQ(game->Machine().CodeGame, 555);
}

TEST_F(Results, ProfileNamedLikeTheComputerNeverEntersTheHallOfFame) {
  Classic(600, 100, "Компьютерщик");
  ShowAndClose();
  EXPECT_FALSE(State().RecordAdded);
  EXPECT_FALSE(Ini().SectionExists("MAP01"));
  // Yet the round was won: no "round lost" question, a new layout.
  EXPECT_TRUE(Shown("confirm").empty());
  EXPECT_NE(game->Machine().CodeGame, 555);
}

TEST_F(Results, MultiUserGameShowsTeamsAndStoresNothing) {
  State().MultiUserMode = true;
  Finish(game->Machine(), 20, 10,
         {{gkHuman, "Ann", 1, 50},
          {gkHuman, "Bob", 1, 30},
          {gkComputer, "K3", 0, 60},
          {gkComputer, "K4", 0, 0}});
  game->Machine().Assisted = true;  // a hint says nothing about a hall of fame it never enters
  ShowAndClose();
  EXPECT_FALSE(form->stAssisted->isVisibleTo(form));
  EXPECT_EQ(Text("stName", 1), QStringLiteral("Команда1"));
  EXPECT_EQ(Text("stScore", 1), QStringLiteral("400"));
  EXPECT_EQ(Text("stName", 2), QStringLiteral("K3"));
  EXPECT_EQ(Text("stScore", 2), QStringLiteral("300"));
  EXPECT_FALSE(PlaceEnabled(3));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(State().RecordAdded);
  EXPECT_TRUE(Ini().ReadSections().empty());
  EXPECT_NE(game->Machine().CodeGame, 555);
}

TEST_F(Results, EleventhPlaceIsDroppedButStillCountsAsAdded) {
  Names ten;
  for (int i = 0; i < 10; ++i)
    ten.push_back("P" + std::to_string(i) + "=" + std::to_string(900 - i));
  ASSERT_TRUE(WriteHallFame(Ini(), ten, "MAP01"));
  hallFame->SetSelectedRow(5);
  Classic(300, 200);
  ShowAndClose();
  EXPECT_TRUE(State().RecordAdded);
  EXPECT_TRUE(form->RecordSaved);
  EXPECT_EQ(Table("MAP01"), ten);
  EXPECT_EQ(hallFame->SelectedRow(), 5);
  EXPECT_TRUE(Shown("confirm").empty());
}

// The settings file refuses the end of the game: the store says so, and the hall of fame keeps
// showing the table on disk with its row as it was, and does not open for a record it lacks.
TEST_F(Results, AWinTheFileRefusedAddsNoRecordAndMarksNoRow) {
  ASSERT_TRUE(WriteHallFame(Ini(), {"X=900"}, "MAP01"));
  hallFame->SetSelectedRow(4);
  ASSERT_TRUE(QFile::setPermissions(IniPath(), QFileDevice::ReadOwner));
  Classic(1000, 100);
  ShowAndClose();
  EXPECT_EQ(Shown("error").size(), 1u);
  EXPECT_FALSE(State().RecordAdded);
  EXPECT_FALSE(form->RecordSaved);
  EXPECT_EQ(hallFame->SelectedRow(), 4);
  hallFame->show();
  EXPECT_EQ(hallFame->Cell(1, 1), QStringLiteral("X"));
  EXPECT_EQ(hallFame->Cell(2, 1), QString());
  hallFame->close();
  EXPECT_TRUE(Shown("confirm").empty());  // a won round all the same: no replay question
}

TEST_F(Results, ACorruptedTableIsResetAndTheResultBecomesItsOnlyRecord) {
  ASSERT_TRUE(WriteHallFame(Ini(), {"X=900"}, "MAP01"));
  ASSERT_TRUE(Ini().WriteString("MAP01", "Place1", "X;999"));
  Classic(300, 200);
  ShowAndClose();
  EXPECT_EQ(Shown("info"), Names{kMsgHallFameChecksum});
  messages.Clear();
  EXPECT_EQ(Table("MAP01"), Names{"Ann=240"});
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace

// The widest name a seat can carry, in every place, shows whole in the bold cells.
TEST_F(Results, TheWidestNamesShowWhole) {
  const std::string widest = WidestSeatName().toStdString();
  Finish(game->Machine(), 50, 25,
         {{gkHuman, widest, 0, 600},
          {gkHuman, widest, 0, 500},
          {gkHuman, widest, 0, 400},
          {gkHuman, widest, 0, 300}});
  game->State().MultiUserMode = true;  // no record, no question
  form->show();
  for (int n = 1; n <= 4; ++n) {
    for (const char* cell : {"stPlace", "stName", "stScore"}) {
      auto* label = form->findChild<QLabel*>(QString::fromLatin1(cell) + QString::number(n));
      ASSERT_NE(label, nullptr);
      EXPECT_TRUE(label->font().bold());
      EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()),
                label->contentsRect().width())
          << cell << n << " " << label->text().toStdString();
    }
    EXPECT_EQ(Text("stName", n), WidestSeatName());
  }
  form->btnClose->click();
}
