// SPDX-License-Identifier: GPL-3.0-or-later
// The profiles dialog: name rules, create, rename, delete, choice, close query and exit save.
#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "ProfilesFixture.h"
#include "dialogs/UnitGamers.h"

namespace {

class Gamers : public ProfilesWindow {
 protected:
  void SetUp() override {
    ProfilesWindow::SetUp();
    form =
        std::make_unique<TFormGamers>(Ini(), messages, State(), options, game->Setup(), platform);
  }
  void TearDown() override {
    form.reset();
    ProfilesWindow::TearDown();
  }
  // Profiles written into the file and the list, as the main window loads them.
  void Profiles(std::initializer_list<const char*> names) {
    for (const char* n : names) ASSERT_TRUE(Ini().WriteString("GAMERS", n, n));
    State().GamerList = Ini().ReadSection("GAMERS");
  }
  void Open() {
    form->show();
    QApplication::processEvents();
  }
  void Type(const std::string& text) { messages.inputAnswers.push_back({true, text}); }
  void Select(const std::string& name) {
    const auto items = form->lbGamers->findItems(QString::fromStdString(name), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name;
    form->lbGamers->setCurrentItem(items.front());
  }
  std::vector<std::string> Listed() {
    std::vector<std::string> out;
    for (int i = 0; i < form->lbGamers->count(); ++i)
      out.push_back(form->lbGamers->item(i)->text().toStdString());
    return out;
  }
  std::vector<std::string> Keys(const std::string& section) { return Ini().ReadSection(section); }

  std::unique_ptr<TFormGamers> form;
};

using Names = std::vector<std::string>;

TEST_F(Gamers, NameRulesInOrderWithTheirMessages) {
  Profiles({"Ann", "Аня"});
  struct Case {
    std::string name;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"ann", kMsgGamerDuplicate},    {"АНЯ", kMsgGamerDuplicate},
      {"Легкий", kMsgGamerComputer},  {"Умеренный", kMsgGamerComputer},
      {"Сложный", kMsgGamerComputer}, {"легкий", nullptr},
      {"Мастер", kMsgGamerComputer},  {"мастер", nullptr},
      {"a=b", kMsgGamerBadChars},     {"x]", kMsgGamerBadChars},
      {"[x", kMsgGamerBadChars},      {";x", kMsgGamerBadChars},
      {" Bob", kMsgGamerBadChars},    {"Bob ", kMsgGamerBadChars},
      {"a\r\nb", kMsgGamerBadChars},  {"a\nb", kMsgGamerBadChars},
      {"Боб 😀", kMsgGamerBadChars},   {"李", kMsgGamerBadChars},
      {"Bob;Ann", nullptr},           {"Евро €", nullptr},
      {"ANN ", kMsgGamerBadChars},  // blanks are a fault, but not a duplicate
  };
  for (const Case& c : cases) {
    messages.Clear();
    const bool ok = form->TestNameGamer(c.name);
    EXPECT_EQ(ok, c.message == nullptr) << c.name;
    if (c.message)
      EXPECT_EQ(Shown("error"), Names{c.message}) << c.name;
    else
      EXPECT_TRUE(messages.shown.empty()) << c.name;
  }
  // A duplicate that is also a computer's name only gets the first message.
  Profiles({"Сложный"});
  messages.Clear();
  EXPECT_FALSE(form->TestNameGamer("Сложный"));
  EXPECT_EQ(Shown("error"), Names{kMsgGamerDuplicate});
}

TEST_F(Gamers, ShowPreselectsTheLastLoginOrTheFirstEntry) {
  Profiles({"Carl", "bob", "Anna"});
  ASSERT_TRUE(Ini().WriteString("OTHER", "LastLogin", "BOB"));
  Open();
  EXPECT_EQ(Listed(), (Names{"Anna", "bob", "Carl"}));
  EXPECT_EQ(form->SelectedName(), "bob");
  EXPECT_EQ(form->focusWidget(), form->btnSelect);
  form->hide();
  ASSERT_TRUE(Ini().WriteString("OTHER", "LastLogin", "Gone"));
  Open();
  EXPECT_EQ(form->SelectedName(), "Anna");
}

TEST_F(Gamers, CreateWritesSortsSelectsAndAsksAgainAfterARefusal) {
  Profiles({"Борис", "виктор"});
  Open();
  Type("Виктор");  // refused: duplicate
  Type("Легкий");  // refused: a computer's name
  Type("Анна");
  form->btnCreateClick();
  ASSERT_EQ(messages.Texts("input").size(), 3u);
  EXPECT_EQ(messages.shown[0].title, "Создание игрока");
  EXPECT_EQ(messages.shown[0].text, "Введите имя:");
  EXPECT_EQ(messages.shown[0].initial, "");
  // After a refusal the box comes back with the text that was typed.
  EXPECT_EQ(messages.shown[2].initial, "Виктор");
  EXPECT_EQ(messages.shown[4].initial, "Легкий");
  EXPECT_EQ(Shown("error"), (Names{kMsgGamerDuplicate, kMsgGamerComputer}));

  EXPECT_EQ(Ini().ReadString("GAMERS", "Анна", ""), "Анна");
  EXPECT_EQ(State().GamerList, (Names{"Анна", "Борис", "виктор"}));
  EXPECT_EQ(Listed(), (Names{"Анна", "Борис", "виктор"}));
  EXPECT_EQ(form->SelectedName(), "Анна");
  EXPECT_TRUE(form->btnSelect->isEnabled());
  EXPECT_TRUE(form->btnErase->isEnabled());
}

TEST_F(Gamers, CreateCancelledOrEmptyChangesNothing) {
  Open();
  form->btnCreateClick();  // cancelled (no answer queued)
  Type("");
  form->btnCreateClick();
  EXPECT_TRUE(Shown("error").empty());
  EXPECT_TRUE(State().GamerList.empty());
  EXPECT_TRUE(Keys("GAMERS").empty());
  EXPECT_FALSE(form->btnSelect->isEnabled());
}

TEST_F(Gamers, CreateRefusesNamesTheFileCannotHold) {
  Open();
  Type("Ann=1");
  Type(" Ann");
  Type("Ann");
  form->btnCreateClick();
  EXPECT_EQ(Shown("error"), (Names{kMsgGamerBadChars, kMsgGamerBadChars}));
  EXPECT_EQ(Keys("GAMERS"), Names{"Ann"});
  EXPECT_EQ(Ini().ReadSections(), Names{"GAMERS"});
}

TEST_F(Gamers, CreateCutsTheNameTo255Characters) {
  Open();
  const QString longName = QString(300, QChar(0x0416));  // "Ж" x 300
  Type(longName.toStdString());
  form->btnCreateClick();
  ASSERT_EQ(State().GamerList.size(), 1u);
  EXPECT_EQ(QString::fromStdString(State().GamerList[0]).size(), 255);
  EXPECT_EQ(Keys("GAMERS"), State().GamerList);
}

TEST_F(Gamers, RenameMovesKeyOptionsAndRecords) {
  Profiles({"Ann", "Carl"});
  ASSERT_TRUE(Ini().WriteStrings(
      "OPTIONS_Ann", {{"GameSizeMap", "3"}, {"Volume", "70"}, {"Other_CodeGame", "417"}}));
  ASSERT_TRUE(Ini().WriteString("OPTIONS_Carl", "Volume", "5"));
  ASSERT_TRUE(WriteHallFame(Ini(), {"Anna=900", "Carl=500", "Ann and Ann=100"}, "MAP01"));
  ASSERT_TRUE(WriteHallFame(Ini(), {"Hannah=50"}, "MAP13"));
  State().ActiveGamer = "Carl";
  State().OptionsSection = "OPTIONS_Carl";
  Open();
  Select("Ann");
  Type("Bob");
  form->btnChangeClick();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].title, "Изменение игрока");
  EXPECT_EQ(messages.shown[0].initial, "Ann");

  EXPECT_EQ(Keys("GAMERS"), (Names{"Carl", "Bob"}));
  EXPECT_EQ(Ini().ReadString("GAMERS", "Bob", ""), "Bob");
  EXPECT_FALSE(Ini().SectionExists("OPTIONS_Ann"));
  EXPECT_EQ(Ini().ReadSectionValues("OPTIONS_Bob"),
            (Names{"GameSizeMap=3", "Volume=70", "Other_CodeGame=417"}));
  // The moved section follows the other profiles' sections.
  const Names sections = Ini().ReadSections();
  EXPECT_GT(std::find(sections.begin(), sections.end(), "OPTIONS_Bob"),
            std::find(sections.begin(), sections.end(), "OPTIONS_Carl"));
  EXPECT_EQ(State().GamerList, (Names{"Bob", "Carl"}));
  EXPECT_EQ(form->SelectedName(), "Bob");
  // Substrings, case-sensitive, every occurrence; checksums still hold (no reset message).
  EXPECT_EQ(Table("MAP01"), (Names{"Boba=900", "Carl=500", "Bob and Bob=100"}));
  EXPECT_EQ(Table("MAP13"), Names{"Hannah=50"});
  EXPECT_TRUE(Shown("info").empty());
  // Another profile was active: it stays so.
  EXPECT_EQ(State().ActiveGamer, "Carl");
  EXPECT_EQ(State().OptionsSection, "OPTIONS_Carl");
}

TEST_F(Gamers, RenameRefusesTheSameNameAndCaseOnlyChanges) {
  Profiles({"Ann"});
  Open();
  Type("Ann");
  Type("ANN");
  form->btnChangeClick();  // the third query is cancelled
  EXPECT_EQ(Shown("error"), (Names{kMsgGamerDuplicate, kMsgGamerDuplicate}));
  EXPECT_EQ(Keys("GAMERS"), Names{"Ann"});
  EXPECT_EQ(Listed(), Names{"Ann"});
  messages.Clear();
  Type("Ann]");
  form->btnChangeClick();
  EXPECT_EQ(Shown("error"), Names{kMsgGamerBadChars});
  EXPECT_EQ(Keys("GAMERS"), Names{"Ann"});
}

TEST_F(Gamers, RenamingTheActiveProfileKeepsItActiveUnderTheNewName) {
  Profiles({"Ann"});
  State().ActiveGamer = "Ann";
  State().OptionsSection = "OPTIONS_Ann";
  ASSERT_TRUE(Ini().WriteString("OTHER", "LastLogin", "Ann"));
  ASSERT_TRUE(Ini().WriteString("OPTIONS_Ann", "Volume", "70"));
  // A section left under the new name by hand must not mix into the moved options.
  ASSERT_TRUE(Ini().WriteString("OPTIONS_Bob", "Other_CodeGame", "99"));
  Open();
  Type("Bob");
  form->btnChangeClick();
  EXPECT_EQ(State().ActiveGamer, "Bob");
  EXPECT_EQ(State().OptionsSection, "OPTIONS_Bob");
  EXPECT_EQ(Ini().ReadString("OTHER", "LastLogin", ""), "Bob");
  EXPECT_EQ(Ini().ReadSectionValues("OPTIONS_Bob"), Names{"Volume=70"});
  // The exit save follows the new name; nothing comes back under the old one.
  game->Machine().SetCodeGame(31337);
  form->CloseProfile();
  EXPECT_EQ(Ini().ReadInteger("OPTIONS_Bob", "Other_CodeGame", 0), 31337);
  EXPECT_FALSE(Ini().SectionExists("OPTIONS_Ann"));
  // Deleting it is refused as the active profile.
  form->btnEraseClick();
  EXPECT_EQ(Shown("error"), Names{kMsgGamerActive});
}

TEST_F(Gamers, DeleteRefusesTheActiveAndAsksForOthers) {
  Profiles({"Ann", "Bob", "Carl", "Dan"});
  ASSERT_TRUE(Ini().WriteString("OPTIONS_Bob", "Volume", "70"));
  ASSERT_TRUE(Ini().WriteString("STATS_Bob", "Total_Area_Games", "4"));
  ASSERT_TRUE(Ini().WriteString("STATS_Carl", "Total_Area_Games", "2"));
  ASSERT_TRUE(WriteHallFame(Ini(), {"Bob=700"}, "MAP01"));
  State().ActiveGamer = "Ann";
  State().OptionsSection = "OPTIONS_Ann";
  Open();

  Select("Ann");
  form->btnEraseClick();
  EXPECT_EQ(Shown("error"), Names{kMsgGamerActive});
  EXPECT_TRUE(Shown("confirm").empty());
  EXPECT_EQ(Listed().size(), 4u);

  messages.Clear();
  Select("Bob");
  messages.confirmAnswers = {false};
  form->btnEraseClick();
  EXPECT_EQ(Shown("confirm"), Names{kMsgGamerDelete});
  EXPECT_EQ(Keys("GAMERS").size(), 4u);
  EXPECT_TRUE(Ini().SectionExists("OPTIONS_Bob"));
  EXPECT_TRUE(Ini().SectionExists("STATS_Bob"));

  messages.confirmAnswers = {true};
  form->btnEraseClick();
  EXPECT_EQ(Keys("GAMERS"), (Names{"Ann", "Carl", "Dan"}));
  EXPECT_FALSE(Ini().SectionExists("OPTIONS_Bob"));
  // The statistics go with the profile; another's stay.
  EXPECT_FALSE(Ini().SectionExists("STATS_Bob"));
  EXPECT_EQ(Ini().ReadSectionValues("STATS_Carl"), Names{"Total_Area_Games=2"});
  EXPECT_EQ(State().GamerList, (Names{"Ann", "Carl", "Dan"}));
  EXPECT_EQ(Listed(), (Names{"Ann", "Carl", "Dan"}));
  // The entry now at the deleted place is selected; the records stay.
  EXPECT_EQ(form->SelectedName(), "Carl");
  EXPECT_EQ(Table("MAP01"), Names{"Bob=700"});

  // Deleting the last entry selects the one before it and moves the focus to "Создать".
  Select("Dan");
  form->btnEraseClick();
  EXPECT_EQ(Listed(), (Names{"Ann", "Carl"}));
  EXPECT_EQ(form->SelectedName(), "Carl");
  EXPECT_EQ(form->focusWidget(), form->btnCreate);
  form->btnEraseClick();
  EXPECT_EQ(Listed(), Names{"Ann"});
  EXPECT_EQ(form->SelectedName(), "Ann");
  EXPECT_TRUE(form->btnErase->isEnabled());
}

TEST_F(Gamers, ChoiceActivatesReadsChecksAppliesAndRestores) {
  Profiles({"Ann", "Bob"});
  ASSERT_TRUE(
      Ini().WriteStrings("OPTIONS_Bob", {{"Other_ClassicMode", "0"}, {"Other_CodeGame", "4242"}}));
  Open();
  Select("Bob");
  form->btnSelectClick();
  EXPECT_EQ(options.calls, (Names{"ReadParams", "TestCondition", "ApplyOptions"}));
  EXPECT_EQ(State().ActiveGamer, "Bob");
  EXPECT_EQ(State().OptionsSection, "OPTIONS_Bob");
  EXPECT_EQ(Ini().ReadString("OTHER", "LastLogin", ""), "Bob");
  EXPECT_TRUE(State().MultiUserMode);
  EXPECT_TRUE(game->Action(TGameAction::SettingsGameMultiUser)->isChecked());
  EXPECT_EQ(game->Machine().CodeGame, 4242);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->result(), QDialog::Accepted);

  // A new profile: classic mode and a random layout.
  Open();
  Select("Ann");
  form->btnSelectClick();
  EXPECT_FALSE(State().MultiUserMode);
  EXPECT_TRUE(game->Action(TGameAction::SettingsGameClassic)->isChecked());
  EXPECT_GT(game->Machine().CodeGame, 0);

  // The active profile again: closes at once, nothing read.
  options.calls.clear();
  Open();
  Select("Ann");
  emit form->lbGamers->itemDoubleClicked(form->lbGamers->currentItem());
  EXPECT_TRUE(options.calls.empty());
  EXPECT_FALSE(form->isVisible());
}

TEST_F(Gamers, ANegativeLayoutNumberInTheFileDrawsANewOne) {
  Profiles({"Ann"});
  ASSERT_TRUE(Ini().WriteString("OPTIONS_Ann", "Other_CodeGame", "-5"));
  Open();
  form->btnSelectClick();
  EXPECT_GT(game->Machine().CodeGame, 0);
}

TEST_F(Gamers, InvalidOptionsKeepTheDialogUntilTheyPass) {
  Profiles({"Ann"});
  options.condition = false;
  options.settingsOk = false;
  game->Machine().SetCodeGame(77);
  Open();
  form->btnSelectClick();
  EXPECT_EQ(options.calls, (Names{"ReadParams", "TestCondition", "ShowSettings"}));
  EXPECT_TRUE(form->isVisible());
  // The profile is active all the same.
  EXPECT_EQ(State().ActiveGamer, "Ann");
  EXPECT_EQ(Ini().ReadString("OTHER", "LastLogin", ""), "Ann");
  EXPECT_EQ(game->Machine().CodeGame, 77);
  // A second "Выбор" does not slip past the check: the window would run with no options.
  form->btnSelectClick();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(options.calls.size(), 6u);
  // Settings dialog closed with OK: the options are applied and the dialog closes.
  options.calls.clear();
  options.settingsOk = true;
  form->btnSelectClick();
  EXPECT_EQ(options.calls, (Names{"ReadParams", "TestCondition", "ShowSettings", "ApplyOptions"}));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_GT(game->Machine().CodeGame, 0);
}

TEST_F(Gamers, LeavingWithAFailedChoiceGoesBackToTheProfileBefore) {
  Profiles({"Ann", "Bob"});
  State().ActiveGamer = "Bob";
  State().OptionsSection = "OPTIONS_Bob";
  ASSERT_TRUE(Ini().WriteString("OTHER", "LastLogin", "Bob"));
  form->EndStartUp();
  options.condition = false;
  options.settingsOk = false;
  Open();
  Select("Ann");
  form->btnSelectClick();
  EXPECT_EQ(State().ActiveGamer, "Ann");
  // Bob's options still drive the window: he cannot be deleted meanwhile.
  Select("Bob");
  form->btnEraseClick();
  EXPECT_EQ(Shown("error"), Names{kMsgGamerActive});
  options.calls.clear();
  form->reject();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(State().ActiveGamer, "Bob");
  EXPECT_EQ(State().OptionsSection, "OPTIONS_Bob");
  EXPECT_EQ(Ini().ReadString("OTHER", "LastLogin", ""), "Bob");
  // The dialogs hold Bob's options again, and they are in force again.
  EXPECT_EQ(options.calls, (Names{"ReadParams", "ApplyOptions"}));
}

TEST_F(Gamers, CloseQueryAfterStartUp) {
  form->EndStartUp();
  Open();
  EXPECT_FALSE(form->btnExit->isVisible());
  form->reject();  // Esc or the close box with no profile at all
  EXPECT_EQ(Shown("error"), Names{kMsgGamerNone});
  EXPECT_TRUE(form->isVisible());
  form->close();
  EXPECT_TRUE(form->isVisible());
  Type("Ann");
  form->btnCreateClick();
  messages.Clear();
  form->reject();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(form->isVisible());
}

TEST_F(Gamers, ExitSaveWritesLayoutModeAndPosition) {
  State().ActiveGamer = "Ann";
  State().OptionsSection = "OPTIONS_Ann";
  ASSERT_TRUE(Ini().WriteString("OPTIONS_Ann", "Volume", "70"));
  game->Machine().SetCodeGame(123456);
  State().MultiUserMode = true;
  form->move(140, 90);
  EXPECT_TRUE(form->CloseProfile());
  EXPECT_EQ(Ini().ReadSectionValues("OPTIONS_Ann"),
            (Names{"Volume=70", "Other_CodeGame=123456", "Other_ClassicMode=0",
                   "Window_Left=" + std::to_string(form->x()),
                   "Window_Top=" + std::to_string(form->y())}));
  State().MultiUserMode = false;
  form->CloseProfile();
  EXPECT_TRUE(Ini().ReadBool("OPTIONS_Ann", "Other_ClassicMode", false));
}

}  // namespace

// The Esc key between games (no "Выход" button to press) asks the close query like the close
// box: with no profile the dialog stays and says why; with one it closes.
TEST_F(Gamers, EscapeKeyBetweenGamesGoesThroughTheCloseQuery) {
  form->EndStartUp();
  Open();
  form->activateWindow();
  QTest::keyClick(form->lbGamers, Qt::Key_Escape);
  EXPECT_EQ(Shown("error"), Names{kMsgGamerNone});
  EXPECT_TRUE(form->isVisible());
  Type("Ann");
  form->btnCreateClick();
  messages.Clear();
  QTest::keyClick(form->focusWidget() ? form->focusWidget() : form.get(), Qt::Key_Escape);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(form->isVisible());
}
