// SPDX-License-Identifier: GPL-3.0-or-later
// The hall-of-fame tables: stored form, checksum, resets and their messages.
#include <memory>

#include "ScriptedMessages.h"
#include "TempFolder.h"
#include "config/HallFame.h"
#include "config/IniFile.h"

namespace {

class HallFame : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    Put(Path(), "[GAMERS]\r\nAnn=Ann\r\n");
    ini = std::make_unique<TIniFile>(Path(), &msgs);
  }
  std::vector<std::string> Read(const std::string& section = "MAP01") {
    std::vector<std::string> list{"junk"};
    ReadHallFame(*ini, &msgs, list, section);
    return list;
  }
  TScriptedMessages msgs;
  std::unique_ptr<TIniFile> ini;
};

const std::string kEmptyCheck = std::to_string(kHallFameMask);  // 1797139860

TEST(HallFameSum, AddsTheWindows1251BytesOfEveryLine) {
  EXPECT_EQ(RecordSum({"abc"}, 1), 294u);
  EXPECT_EQ(RecordSum({"Я=1", ""}, 2), 0xDFu + '=' + '1');
  EXPECT_EQ(HallFameSection(1, 3), "MAP13");
  EXPECT_TRUE(IsHallFameSection("MAP01"));
  EXPECT_FALSE(IsHallFameSection("map01"));
}

TEST_F(HallFame, TenRecordsAreWrittenAsSpecifiedAndReadBackUnchanged) {
  std::vector<std::string> list;
  for (int i = 0; i < 10; ++i)
    list.push_back("Игрок;" + std::to_string(i) + "=" + std::to_string(900 - i));
  ASSERT_TRUE(WriteHallFame(*ini, list, "MAP01"));
  EXPECT_EQ(Read(), list);
  EXPECT_TRUE(msgs.shown.empty());
  // The stored form: Place keys with name;score, the Check line last.
  std::string expected = "[GAMERS]\r\nAnn=Ann\r\n[MAP01]\r\n";
  uint32_t sum = 0;
  for (int i = 0; i < 10; ++i) {
    std::string name = "\xC8\xE3\xF0\xEE\xEA;" + std::to_string(i);
    std::string line = name + "=" + std::to_string(900 - i);
    for (unsigned char c : line) sum += c;
    expected +=
        "Place" + std::to_string(i + 1) + "=" + name + ";" + std::to_string(900 - i) + "\r\n";
  }
  expected += "Check=" + std::to_string(sum ^ kHallFameMask) + "\r\n";
  EXPECT_EQ(Get(Path()), expected);
}

TEST_F(HallFame, OnlyTheFirstTenLinesAreWrittenAndSummed) {
  std::vector<std::string> list;
  for (int i = 0; i < 11; ++i) list.push_back("P" + std::to_string(i) + "=5");
  ASSERT_TRUE(WriteHallFame(*ini, list, "MAP00"));
  list.pop_back();
  EXPECT_EQ(Read("MAP00"), list);
  EXPECT_FALSE(ini->ReadSectionValues("MAP00").back().find("Place11") == 0);
  EXPECT_EQ(ini->ReadSection("MAP00").size(), 11u);
}

TEST_F(HallFame, MissingAndCheckOnlyTablesAreEmptyWithoutMessage) {
  EXPECT_TRUE(Read("MAP44").empty());
  Put(Path(), "[MAP01]\r\n");
  EXPECT_TRUE(Read().empty());
  ASSERT_TRUE(WriteHallFame(*ini, {}, "MAP01"));
  EXPECT_EQ(Get(Path()), "[MAP01]\r\nCheck=" + kEmptyCheck + "\r\n");
  EXPECT_TRUE(Read().empty());
  EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(HallFame, OrderAndKeyNamesDoNotMatterToTheCheck) {
  ASSERT_TRUE(WriteHallFame(*ini, {"Ann=500", "Bob=400"}, "MAP01"));
  std::string text = Get(Path());
  text.replace(text.find("Place1=Ann;500"), 14, "Place1=Bob;400");
  text.replace(text.find("Place2=Bob;400"), 14, "place1=Ann;500");  // a repeated key counts too
  Put(Path(), text);
  EXPECT_EQ(Read(), (std::vector<std::string>{"Bob=400", "Ann=500"}));
  EXPECT_TRUE(msgs.shown.empty());
}

// Each tampering resets the table to a Check-only section with the checksum message.
TEST_F(HallFame, TamperedTablesAreResetWithTheChecksumMessage) {
  const std::vector<std::pair<std::string, std::string>> edits = {
      {"Place1=Ann;500", "Place1=Anm;500"},  // one character of a name
      {"Place2=Bob;400", "Place2=Bob;401"},  // one digit of a score
      {"Place2=Bob;400", "Place2=Bob;4O0"},  // a score that is not a number
      {"Place2=Bob;400", "Place2=Bob400"},   // no separator
      {"Check=", "Check=x"},                 // a Check value that is not a number
      {"Check=", "Check=-"},
  };
  for (auto& [from, to] : edits) {
    ASSERT_TRUE(WriteHallFame(*ini, {"Ann=500", "Bob=400"}, "MAP01"));
    std::string text = Get(Path());
    text.replace(text.find(from), from.size(), to);
    Put(Path(), text);
    msgs.Clear();
    EXPECT_TRUE(Read().empty()) << to;
    EXPECT_EQ(msgs.Texts("info"), std::vector<std::string>{kMsgHallFameChecksum}) << to;
    EXPECT_EQ(ini->ReadSectionValues("MAP01"), std::vector<std::string>{"Check=" + kEmptyCheck});
  }
  // A Check line that is not last, and a Check whose XOR with the mask is negative.
  for (std::string text :
       {"[MAP01]\r\nCheck=" + std::to_string(294 ^ kHallFameMask) + "\r\nPlace1=a;bc\r\n",
        "[MAP01]\r\nCheck=" + std::to_string(0x80000000u ^ kHallFameMask) + "\r\n"}) {
    Put(Path(), text);
    msgs.Clear();
    EXPECT_TRUE(Read().empty());
    EXPECT_EQ(msgs.Texts("info"), std::vector<std::string>{kMsgHallFameChecksum});
  }
}

TEST_F(HallFame, MoreThanTenRecordsAreReset) {
  std::string text = "[MAP12]\r\n";
  std::vector<std::string> lines;
  for (int i = 1; i <= 11; ++i) {
    text += "Place" + std::to_string(i) + "=P;" + std::to_string(i) + "\r\n";
    lines.push_back("P=" + std::to_string(i));
  }
  Put(Path(), text + "Check=" + std::to_string(RecordSum(lines, 11) ^ kHallFameMask) + "\r\n");
  EXPECT_TRUE(Read("MAP12").empty());
  EXPECT_EQ(msgs.Texts("info"), std::vector<std::string>{kMsgHallFameTooMany});
  // Both faults at once: only the checksum message.
  msgs.Clear();
  Put(Path(), text + "Check=1\r\n");
  EXPECT_TRUE(Read("MAP12").empty());
  EXPECT_EQ(msgs.Texts("info"), std::vector<std::string>{kMsgHallFameChecksum});
}

TEST_F(HallFame, NamesWithSemicolonsAndHandMadeEqualsSurvive) {
  ASSERT_TRUE(WriteHallFame(*ini, {"a;b;c=10", "x=y=5"}, "MAP01"));
  EXPECT_EQ(Read(), (std::vector<std::string>{"a;b;c=10", "x=y=5"}));
  EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(HallFame, RenameReplacesEverySubstringInEveryTable) {
  ASSERT_TRUE(WriteHallFame(*ini, {"Anna=900", "AnnAnn=800", "ann=700"}, "MAP01"));
  ASSERT_TRUE(WriteHallFame(*ini, {"Ann=50"}, "MAP14"));
  Put(Path(), Get(Path()) + "[MAP03]\r\nPlace1=Ann;1\r\nCheck=7\r\n");  // fails its check
  RenameInHallFame(*ini, &msgs, "Ann", "Bob");
  EXPECT_EQ(Read(), (std::vector<std::string>{"Boba=900", "BobBob=800", "ann=700"}));
  EXPECT_EQ(Read("MAP14"), std::vector<std::string>{"Bob=50"});
  EXPECT_EQ(ini->ReadSectionValues("MAP03"), std::vector<std::string>{"Check=" + kEmptyCheck});
  EXPECT_EQ(msgs.Texts("info"), std::vector<std::string>{kMsgHallFameChecksum});
}

TEST_F(HallFame, ARefusedWriteKeepsTheOldTable) {
  ASSERT_TRUE(WriteHallFame(*ini, {"Ann=500"}, "MAP01"));
  std::string before = Get(Path());
  EXPECT_FALSE(WriteHallFame(*ini, {"Ann=600", "Bad\nName=1"}, "MAP01"));
  EXPECT_EQ(Get(Path()), before);
  EXPECT_EQ(msgs.Texts("error").size(), 1u);
}

// What the hall of fame tells about a file the store cannot read: nothing while it reads, the
// file's cause while it stays unreadable, and that it was not read once it reads again.
TEST_F(HallFame, AReadProblemNamesTheFileAndItsCauseAsItIsNow) {
  EXPECT_EQ(HallFameReadProblem(*ini), "");
  std::filesystem::remove(Path());
  std::filesystem::create_directory(Path());
  ini->ReadSections();
  ASSERT_TRUE(ini->SavingOff());
  const std::string head = "Не удаётся прочитать зал славы из файла настроек " + Path() + ".\r\n";
  const std::string tail =
      "\r\nТаблица показывает только то, что игра знает с начала сеанса; файл не изменяется.";
  EXPECT_EQ(HallFameReadProblem(*ini), head + "Это папка, а не файл." + tail);
  std::filesystem::remove(Path());
  Put(Path(), "[GAMERS]\r\nAnn=Ann\r\n");
  EXPECT_EQ(HallFameReadProblem(*ini), head +
                                           "Файл не читался, когда игра обратилась к нему; чтобы "
                                           "прочитать его снова, перезапустите игру." +
                                           tail);
}

}  // namespace
