// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-user setup: reading and storing the seats, the check and its messages, the enabled
// states, and the seats a multi-user start takes from it.
#include "SettingsFixture.h"

namespace {

class MultiUser : public SettingsWindow {
 protected:
  void SetUp() override {
    SettingsWindow::SetUp();
    game->State().GamerList = {"Тестер", "Анна", "Boris"};
    multi->ReadParams();
    messages.Clear();
  }
  // Seat n takes part as a computer (strength index) or as profile `name`, in `team`.
  void Computer(int n, int team = 0, int level = 0) {
    multi->chkbGamer[size_t(n)]->setChecked(true);
    multi->rbComputer[size_t(n)]->setChecked(true);
    multi->cbComputer[size_t(n)]->setCurrentIndex(level);
    multi->cbCommand[size_t(n)]->setCurrentIndex(team);
  }
  void Human(int n, const char* name, int team = 0) {
    multi->chkbGamer[size_t(n)]->setChecked(true);
    multi->rbHuman[size_t(n)]->setChecked(true);
    multi->cbHuman[size_t(n)]->setCurrentIndex(
        multi->cbHuman[size_t(n)]->findText(QString::fromUtf8(name)));
    multi->cbCommand[size_t(n)]->setCurrentIndex(team);
  }
  std::string Check() {
    messages.Clear();
    if (multi->TestCondition()) return "ok";
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown.at(0).title, "Error");
    return messages.shown.at(0).text;
  }
  std::string Key(const char* prefix, int n, const char* suffix = "") {
    return prefix + std::to_string(n) + suffix;
  }
};

}  // namespace

TEST_F(MultiUser, NewProfileHasNoSeatAndCannotBeConfirmed) {
  for (int n = 1; n <= 4; ++n) {
    const size_t s = size_t(n);
    EXPECT_FALSE(multi->chkbGamer[s]->isChecked());
    EXPECT_TRUE(multi->rbComputer[s]->isChecked());
    EXPECT_FALSE(multi->rbHuman[s]->isChecked());
    EXPECT_EQ(multi->cbCommand[s]->currentText(), QString::fromUtf8("Нет"));
    EXPECT_EQ(multi->cbComputer[s]->currentText(), QString::fromUtf8("Легкий"));
    EXPECT_EQ(multi->cbHuman[s]->currentIndex(), -1);
    EXPECT_EQ(multi->cbHuman[s]->count(), 3);
    EXPECT_EQ(multi->gbGamer[s]->title(), QString::fromUtf8("       Игрок %1 ").arg(n));
    // Found by name, as the main window looks them up.
    EXPECT_EQ(multi->findChild<QCheckBox*>(QStringLiteral("chkbGamer%1").arg(n)),
              multi->chkbGamer[s]);
    EXPECT_EQ(multi->findChild<QComboBox*>(QStringLiteral("cbHuman%1").arg(n)), multi->cbHuman[s]);
  }
  multi->show();
  multi->btnOkClick();
  EXPECT_TRUE(multi->isVisible());
  EXPECT_EQ(messages.Texts("error"), std::vector<std::string>{"Количество игроков меньше двух."});
  EXPECT_FALSE(Ini().SectionExists(Section()));  // nothing stored
  multi->hide();
}

TEST_F(MultiUser, TeamsMakeSides) {
  Computer(1, 1);
  Computer(2, 1);
  EXPECT_EQ(Check(), "Количество противников меньше двух.");
  Computer(1, 0);  // alone against team 1
  EXPECT_EQ(Check(), "ok");
  Computer(2, 0);  // two seats without a team are two sides
  EXPECT_EQ(Check(), "ok");
  Computer(1, 2);
  Computer(2, 2);
  Computer(3, 3);
  EXPECT_EQ(Check(), "ok");
  Computer(3, 2);
  Computer(4, 2);
  EXPECT_EQ(Check(), "Количество противников меньше двух.");
  // Team 3 of the list is side 7, never the side of seat 3 without a team.
  Computer(1, 0);
  multi->chkbGamer[2]->setChecked(false);
  multi->chkbGamer[4]->setChecked(false);
  Computer(3, 3);
  EXPECT_EQ(Check(), "ok");
  multi->chkbGamer[1]->setChecked(false);
  EXPECT_EQ(Check(), "Количество игроков меньше двух.");
}

TEST_F(MultiUser, FirstSeatProblemWinsAndTakesTheFocus) {
  Computer(1);
  multi->chkbGamer[3]->setChecked(true);
  multi->rbHuman[3]->setChecked(true);  // no profile chosen
  multi->chkbGamer[4]->setChecked(true);
  multi->rbHuman[4]->setChecked(true);
  EXPECT_EQ(Check(), "Не выбран игрок.");
  EXPECT_EQ(multi->focusWidget(), multi->cbHuman[3]);
  // The same profile twice, and the active profile in no seat, are fine.
  Human(3, "Анна");
  Human(4, "Анна");
  EXPECT_EQ(Check(), "ok");
}

TEST_F(MultiUser, SeatOfNoTypeFailsOnlyWhenItTakesPart) {
  for (const char* key : {"MultiUser_Computer2Checked", "MultiUser_Human2Checked"}) Write(key, "0");
  multi->ReadParams();
  EXPECT_FALSE(multi->rbComputer[2]->isChecked());
  EXPECT_FALSE(multi->rbHuman[2]->isChecked());
  Computer(1);
  Computer(3);
  EXPECT_EQ(Check(), "ok");
  multi->chkbGamer[2]->setChecked(true);
  EXPECT_EQ(Check(), "У игрока №2не определено тип.");
}

TEST_F(MultiUser, ReadingTheRadioButtonsInOrder) {
  Write("MultiUser_Computer1Checked", "1");
  Write("MultiUser_Human1Checked", "1");  // both: a person
  Write("MultiUser_Computer2Checked", "0");
  Write("MultiUser_Human2Checked", "1");
  Write("MultiUser_Computer3Checked", "1");
  Write("MultiUser_Human3Checked", "0");
  multi->ReadParams();
  EXPECT_TRUE(multi->rbHuman[1]->isChecked());
  EXPECT_FALSE(multi->rbComputer[1]->isChecked());
  EXPECT_TRUE(multi->rbHuman[2]->isChecked());
  EXPECT_TRUE(multi->rbComputer[3]->isChecked());
  EXPECT_FALSE(multi->rbHuman[3]->isChecked());
}

TEST_F(MultiUser, TeamOrStrengthOutOfRangeReadsAsNoneAndEasy) {
  Write("MultiUser_Command1", "7");
  Write("MultiUser_Computer1", "5");
  Write("MultiUser_Command2", "-2");
  Write("MultiUser_Computer2", "-1");
  Write("MultiUser_Command3", "4");
  Write("MultiUser_Computer3", "2");
  Write("MultiUser_Computer4", "3");  // "Мастер", the last strength
  multi->ReadParams();
  EXPECT_EQ(multi->cbCommand[1]->currentIndex(), 0);
  EXPECT_EQ(multi->cbComputer[1]->currentIndex(), 0);
  EXPECT_EQ(multi->cbCommand[2]->currentIndex(), 0);
  EXPECT_EQ(multi->cbComputer[2]->currentIndex(), 0);
  EXPECT_EQ(multi->cbCommand[3]->currentIndex(), 4);
  EXPECT_EQ(multi->cbComputer[3]->currentIndex(), 2);
  EXPECT_EQ(multi->cbComputer[4]->currentText(), QString::fromUtf8("Мастер"));
  Computer(1, 0, 0);
  multi->chkbGamer[1]->setChecked(true);
  multi->chkbGamer[2]->setChecked(true);
  // Two seats without a team, both easy computers.
  EXPECT_EQ(Check(), "ok");
  EXPECT_EQ(multi->SeatSetup(2).Level, 1);
  EXPECT_EQ(multi->SeatSetup(2).Team, 0);
}

TEST_F(MultiUser, EnabledStatesFollowTheSeatBox) {
  const size_t s = 2;
  EXPECT_FALSE(multi->rbComputer[s]->isEnabled());
  EXPECT_FALSE(multi->rbHuman[s]->isEnabled());
  EXPECT_FALSE(multi->cbCommand[s]->isEnabled());
  EXPECT_FALSE(multi->cbComputer[s]->isEnabled());
  EXPECT_FALSE(multi->cbHuman[s]->isEnabled());
  EXPECT_TRUE(multi->chkbGamer[s]->isEnabled());
  multi->chkbGamer[s]->setChecked(true);
  EXPECT_TRUE(multi->rbComputer[s]->isEnabled());
  EXPECT_TRUE(multi->rbHuman[s]->isEnabled());
  EXPECT_TRUE(multi->cbCommand[s]->isEnabled());
  EXPECT_TRUE(multi->cbComputer[s]->isEnabled());
  EXPECT_FALSE(multi->cbHuman[s]->isEnabled());
  QTest::mouseClick(multi->rbHuman[s], Qt::LeftButton);
  EXPECT_TRUE(multi->rbHuman[s]->isChecked());
  EXPECT_FALSE(multi->rbComputer[s]->isChecked());
  EXPECT_FALSE(multi->cbComputer[s]->isEnabled());
  EXPECT_TRUE(multi->cbHuman[s]->isEnabled());
  multi->chkbGamer[s]->setChecked(false);
  for (QWidget* w :
       std::initializer_list<QWidget*>{multi->rbComputer[s], multi->rbHuman[s], multi->cbCommand[s],
                                       multi->cbComputer[s], multi->cbHuman[s]})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  multi->chkbGamer[s]->setChecked(true);
  EXPECT_TRUE(multi->cbHuman[s]->isEnabled());
  EXPECT_FALSE(multi->cbComputer[s]->isEnabled());
}

TEST_F(MultiUser, ConfirmStoresTheSixKeysPerSeatInOrder) {
  Computer(1, 2, 1);
  Human(3, "Boris", 0);
  multi->cbHuman[4]->setCurrentIndex(1);  // a choice in a seat that does not take part is kept
  multi->show();
  multi->btnOkClick();
  EXPECT_FALSE(multi->isVisible());
  EXPECT_EQ(multi->result(), QDialog::Accepted);
  std::vector<std::string> expected;
  for (auto& k : cfg::AllMultiUserKeys()) expected.push_back(k.key);
  ASSERT_EQ(expected.size(), 24u);
  EXPECT_EQ(Ini().ReadSection(Section()), expected);
  EXPECT_EQ(Read("MultiUser_Gamer1Checked"), "1");
  EXPECT_EQ(Read("MultiUser_Command1"), "2");
  EXPECT_EQ(Read("MultiUser_Computer1Checked"), "1");
  EXPECT_EQ(Read("MultiUser_Human1Checked"), "0");
  EXPECT_EQ(Read("MultiUser_Computer1"), "1");
  EXPECT_EQ(Read("MultiUser_Gamer1Name"), "");
  EXPECT_EQ(Read("MultiUser_Gamer3Name"), "Boris");
  EXPECT_EQ(Read("MultiUser_Human3Checked"), "1");
  EXPECT_EQ(Read("MultiUser_Gamer2Checked"), "0");
  EXPECT_EQ(Read("MultiUser_Gamer4Name"), "Анна");

  // Read back into fresh controls.
  multi->chkbGamer[1]->setChecked(false);
  multi->ReadParams();
  EXPECT_TRUE(multi->chkbGamer[1]->isChecked());
  EXPECT_EQ(multi->cbCommand[1]->currentIndex(), 2);
  EXPECT_EQ(multi->cbHuman[3]->currentText(), "Boris");
}

TEST_F(MultiUser, ProfileNamesMatchWithoutCaseAndVanishWhenDeleted) {
  Write("MultiUser_Gamer1Name", "АННА");
  Write("MultiUser_Gamer2Name", "boris");
  Write("MultiUser_Gamer3Name", "Никто");
  multi->ReadParams();
  EXPECT_EQ(multi->cbHuman[1]->currentText(), QString::fromUtf8("Анна"));
  EXPECT_EQ(multi->cbHuman[2]->currentText(), "Boris");
  EXPECT_EQ(multi->cbHuman[3]->currentIndex(), -1);

  // A profile renamed and another deleted while the program runs: showing refills the lists.
  game->State().GamerList = {"Тестер", "Борис2", "Анна", "Новый"};
  multi->show();
  EXPECT_EQ(multi->cbHuman[1]->count(), 4);
  EXPECT_EQ(multi->cbHuman[1]->currentText(), QString::fromUtf8("Анна"));
  EXPECT_EQ(multi->cbHuman[2]->currentIndex(), -1);
  multi->hide();
}

TEST_F(MultiUser, CancelReloadsTheStoredSetup) {
  Computer(1);
  Computer(2, 0, 2);
  multi->btnOkClick();
  WhenShown(multi, [this] {
    multi->chkbGamer[2]->setChecked(false);
    multi->cbComputer[1]->setCurrentIndex(1);
    QTest::keyClick(multi, Qt::Key_Escape);
  });
  EXPECT_EQ(multi->ExecuteFromWindow(), QDialog::Rejected);
  EXPECT_TRUE(multi->chkbGamer[2]->isChecked());
  EXPECT_EQ(multi->cbComputer[2]->currentIndex(), 2);
  EXPECT_EQ(multi->cbComputer[1]->currentIndex(), 0);
}

TEST_F(MultiUser, SeatsAsAStartFillsThem) {
  // Every strength of the list, in its order.
  ASSERT_EQ(multi->cbComputer[1]->count(), int(ComputerLevels().size()));
  for (const TComputerLevel& level : ComputerLevels()) {
    Computer(1, 3, level.Stored);
    EXPECT_EQ(multi->cbComputer[1]->currentText(), QString::fromUtf8(level.MultiUserName));
    const TSeatSetup c = multi->SeatSetup(1);
    EXPECT_EQ(c.Kind, gkComputer);
    EXPECT_EQ(c.Level, level.Value);
    EXPECT_EQ(c.Name, "Компьютер №1");
    EXPECT_EQ(c.Team, 3);
  }
  Human(2, "Анна", 3);
  multi->chkbGamer[3]->setChecked(false);
  const TSeatSetup h = multi->SeatSetup(2);
  EXPECT_EQ(h.Kind, gkHuman);
  EXPECT_EQ(h.Level, 0);
  EXPECT_EQ(h.Name, "Анна");
  EXPECT_EQ(h.Team, 3);
  const TSeatSetup none = multi->SeatSetup(3);
  EXPECT_EQ(none.Kind, gkNone);
  EXPECT_EQ(none.Name, "");
  EXPECT_EQ(none.Team, 0);
}

// ---------------------------------------------------------------------------------------------
// The main window's command and a multi-user start.

TEST_F(MultiUser, F8ShowsTheSetupAndCancelReloads) {
  game->show();
  game->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(game.get()));
  bool shown = false;
  WhenShown(multi, [&] {
    shown = true;
    multi->chkbGamer[1]->setChecked(true);
    multi->reject();
  });
  QTest::keyClick(game.get(), Qt::Key_F8);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(multi->chkbGamer[1]->isChecked());
}

TEST_F(MultiUser, SeatsOneAndThreeLeaveTwoAndFourEmptyAfterAClassicGame) {
  settings->ReadParams();
  settings->chkbAutostart->setChecked(false);
  settings->btnOkClick();
  game->show();
  game->Action(TGameAction::MenuStartGame)->trigger();  // classic: a computer in seat 4
  ASSERT_TRUE(game->Machine().Active);
  ASSERT_EQ(game->Machine().Gamers[4].Kind, gkComputer);
  game->StopGame(true);

  Human(1, "Анна", 2);
  Computer(3, 1, 1);
  game->Action(TGameAction::SettingsGameMultiUser)->trigger();
  messages.Clear();
  game->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(game->Machine().Active) << (messages.shown.empty() ? "" : messages.shown[0].text);
  const auto& g = game->Machine().Gamers;
  EXPECT_EQ(g[1].Kind, gkHuman);
  EXPECT_EQ(g[1].Name, "Анна");
  EXPECT_EQ(g[1].Team, 2);
  EXPECT_EQ(g[2].Kind, gkNone);
  EXPECT_EQ(g[3].Kind, gkComputer);
  EXPECT_EQ(g[3].Name, "Компьютер №3");
  EXPECT_EQ(g[3].Level, 2);
  EXPECT_EQ(g[3].Team, 1);
  EXPECT_EQ(g[4].Kind, gkNone);
  game->StopGame(true);
}

TEST_F(MultiUser, RefusedSetupStartsNoGame) {
  settings->ReadParams();
  settings->btnOkClick();
  game->Action(TGameAction::SettingsGameMultiUser)->trigger();
  Computer(1);
  messages.Clear();
  game->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_FALSE(game->Machine().Active);
  EXPECT_EQ(messages.Texts("error"), std::vector<std::string>{"Количество игроков меньше двух."});
  EXPECT_FALSE(settings->Locked());
}
