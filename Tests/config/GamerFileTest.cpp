// SPDX-License-Identifier: GPL-3.0-or-later
// A profile rename as it reaches the file, and batches of changes.
#include <functional>

#include "ScriptedMessages.h"
#include "TempFolder.h"
#include "config/Cp1251.h"
#include "config/GamerFile.h"
#include "config/GamerStats.h"
#include "config/HallFame.h"
#include "config/IniFile.h"
#include "config/StoreMessages.h"

namespace {

class GamerFile : public TempFolderTest {
 protected:
  TScriptedMessages msgs;
};

std::string Cp(const std::string& utf8) {
  std::string out;
  EXPECT_TRUE(Utf8ToCp1251(utf8, out));
  return out;
}

// Two profiles whose names differ only in letter case, each with its own line, options,
// statistics and records: whatever is done to one leaves every byte of the other's.
TEST_F(GamerFile, ACaseTwinKeepsItsLineAndSections) {
  const std::string lower = "Игрок", upper = "ИГРОК";
  auto sections = [](const std::string& name, const std::string& volume) {
    return Cp("[OPTIONS_" + name + "]\r\nVolume=" + volume + "\r\n[STATS_" + name +
              "]\r\nTotal_Area_Games=" + volume + "\r\nTotal_Area_History=W" + volume + "\r\n");
  };
  const std::string twinLine = Cp(upper + "=" + upper + "\r\n");
  const std::string text = Cp("[GAMERS]\r\n" + lower + "=" + lower + "\r\n") + twinLine +
                           "Bob=Bob\r\n" + sections(lower, "11") + sections(upper, "22");
  struct Case {
    const char* what;
    std::function<bool(TIniFile&)> act;
    std::vector<std::string> gamers;  // "GAMERS" afterwards, every spelling
  } cases[] = {
      {"delete", [&](TIniFile& ini) { return DeleteGamerInFile(ini, lower); }, {upper, "Bob"}},
      {"rename",
       [&](TIniFile& ini) { return RenameGamerInFile(ini, &msgs, lower, "Вера"); },
       {upper, "Bob", "Вера"}},
  };
  for (const Case& c : cases) {
    Put(Path(), text);
    TIniFile ini(Path(), &msgs);
    EXPECT_EQ(GamerCaseTwins(ini), (std::vector<std::vector<std::string>>{{lower, upper}}));
    ASSERT_TRUE(c.act(ini)) << c.what;
    const std::string after = Get(Path());
    EXPECT_NE(after.find(twinLine), std::string::npos) << c.what;
    EXPECT_NE(after.find(sections(upper, "22")), std::string::npos) << c.what;
    EXPECT_EQ(after.find(Cp("_" + lower + "]")), std::string::npos) << c.what;
    EXPECT_EQ(ReadGamerNames(ini), c.gamers) << c.what;
    EXPECT_TRUE(GamerCaseTwins(ini).empty()) << c.what;
    if (c.gamers.back() == "Вера") {
      EXPECT_EQ(ini.ReadInteger("OPTIONS_Вера", "Volume", 0), 11);
      EXPECT_EQ(ini.ReadString("STATS_Вера", "Total_Area_History", ""), "W11");
    }
  }
  EXPECT_TRUE(msgs.shown.empty());
  EXPECT_EQ(CaseTwinsText({{lower, upper}}),
            "Имена игроков различаются только регистром букв:\r\n«Игрок» и «ИГРОК»\r\nФайл "
            "настроек не различает такие имена, и настройки и статистика этих игроков "
            "смешиваются.\r\nПереименуйте одного из них кнопкой «Изменить».");
}

// A rename that changes only letter case moves the profile whole: nothing of its own is taken
// for "someone else's section under the new name" and erased.
TEST_F(GamerFile, ACaseOnlyRenameKeepsOptionsStatisticsAndRecords) {
  Put(Path(),
      "[GAMERS]\r\nAnn=Ann\r\n[OPTIONS_Ann]\r\nVolume=35\r\n"
      "[STATS_Ann]\r\nTotal_Area_Games=7\r\nTotal_Area_Wins=5\r\nTotal_Area_Losses=2\r\n");
  TIniFile ini(Path(), &msgs);
  ASSERT_TRUE(WriteHallFame(ini, {"Ann=700"}, "MAP01"));
  ASSERT_TRUE(RenameGamerInFile(ini, &msgs, "Ann", "ANN"));
  EXPECT_EQ(ReadGamerNames(ini), std::vector<std::string>{"ANN"});
  EXPECT_EQ(ini.ReadInteger("OPTIONS_ANN", "Volume", 0), 35);
  const TStatsRecord total = ReadGamerStats(ini, "ANN").Record("Total_Area");
  EXPECT_EQ(total.Games, 7);
  EXPECT_EQ(total.Wins, 5);
  std::vector<std::string> records;
  ReadHallFame(ini, &msgs, records, "MAP01");
  EXPECT_EQ(records, std::vector<std::string>{"ANN=700"});
  const std::string after = Get(Path());
  EXPECT_NE(after.find("[STATS_ANN]\r\nTotal_Area_Games=7"), std::string::npos);
  EXPECT_EQ(after.find("_Ann"), std::string::npos);
  EXPECT_TRUE(msgs.shown.empty());
}

// A profile line the file cannot hold as a name ("]" ends a section name): it can be renamed or
// deleted, but nothing is ever written under it.
TEST_F(GamerFile, ANameTheFileCannotHoldIsNeverWrittenUnder) {
  for (const char* bad : {"a]b", "[x"}) EXPECT_FALSE(GamerNameHoldable(bad)) << bad;
  for (const char* good : {"Ann", "Ёжик €", "a;b"}) EXPECT_TRUE(GamerNameHoldable(good)) << good;
  EXPECT_EQ(UnholdableGamerText("a]b"),
            "Игроком «a]b» играть нельзя: файл настроек не может хранить это имя, потому что в "
            "нём есть знак «]».\r\nНастройки и результаты этого игрока не сохранились бы.\r\n"
            "Изменить имя сейчас?");

  const std::string text = "[GAMERS]\r\na]b=a]b\r\nBob=Bob\r\n[OPTIONS_a]\r\nVolume=5\r\n";
  Put(Path(), text);
  TIniFile ini(Path(), &msgs);
  EXPECT_FALSE(ini.WriteInteger("OPTIONS_a]b", "Volume", 7));
  EXPECT_FALSE(ini.Batch([](TIniBatch& b) { b.WriteInteger("STATS_a]b", "Total_Area_Games", 1); }));
  EXPECT_EQ(Get(Path()), text);
  EXPECT_EQ(msgs.Texts("error").size(), 2u);
  msgs.Clear();
  // "[OPTIONS_a]b]" would read as profile "a"'s section: the rename leaves that one alone.
  ASSERT_TRUE(RenameGamerInFile(ini, &msgs, "a]b", "ab"));
  EXPECT_EQ(Get(Path()), "[GAMERS]\r\nBob=Bob\r\nab=ab\r\n[OPTIONS_a]\r\nVolume=5\r\n");
  EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(GamerFile, RenameMovesOptionsToTheEndAndRenamesRecords) {
  Put(Path(),
      "[GAMERS]\r\nAnn=Ann\r\nBob=Bob\r\n[OPTIONS_Ann]\r\nGameSizeMap=2\r\nVolume=35\r\n"
      "volume=99\r\n"
      "[OTHER]\r\nLastLogin=Ann\r\n");
  TIniFile ini(Path(), &msgs);
  ASSERT_TRUE(WriteHallFame(ini, {"Anna=700", "Bob=600"}, "MAP01"));
  ASSERT_TRUE(RenameGamerInFile(ini, &msgs, "Ann", "Вера"));
  const std::string vera = "\xC2\xE5\xF0\xE0";
  std::string rec1 = "Вераa=700", rec2 = "Bob=600";
  EXPECT_EQ(Get(Path()), "[GAMERS]\r\nBob=Bob\r\n" + vera + "=" + vera +
                             "\r\n[OTHER]\r\nLastLogin=Ann\r\n[OPTIONS_" + vera +
                             "]\r\nGameSizeMap=2\r\nVolume=35\r\n[MAP01]\r\nPlace1=" + vera +
                             "a;700\r\nPlace2=Bob;600\r\nCheck=" +
                             std::to_string(RecordSum({rec1, rec2}, 2) ^ kHallFameMask) + "\r\n");
  EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(GamerFile, ARefusedRenameChangesNothing) {
  const std::string text = "[GAMERS]\r\nAnn=Ann\r\n[OPTIONS_Ann]\r\nVolume=35\r\n";
  Put(Path(), text);
  TIniFile ini(Path(), &msgs);
  EXPECT_FALSE(RenameGamerInFile(ini, &msgs, "Ann", "a=b"));
  EXPECT_EQ(Get(Path()), text);
  EXPECT_EQ(
      msgs.Texts("error"),
      std::vector<std::string>{"Unable to write to " + Path() +
                               "\r\nФайл не может хранить имя ключа «a=b»: в нём есть знак «=»."});
}

TEST_F(GamerFile, BatchReadsSeeItsOwnChangesAndRefusalWritesNothing) {
  Put(Path(), "[A]\r\nk=1\r\n");
  TIniFile ini(Path(), &msgs);
  ASSERT_TRUE(ini.Batch([](TIniBatch& b) {
    b.WriteInteger("A", "k", 2);
    b.WriteBool("B", "flag", true);
    EXPECT_EQ(b.ReadSectionValues("a"), std::vector<std::string>{"k=2"});
    EXPECT_TRUE(b.SectionExists("b"));
    b.EraseSection("A");
    EXPECT_FALSE(b.SectionExists("A"));
  }));
  EXPECT_EQ(Get(Path()), "[B]\r\nflag=1\r\n");
  EXPECT_FALSE(ini.Batch([](TIniBatch& b) {
    b.WriteString("B", "x", "1");
    b.WriteString("B", "y", "line\nbreak");
    b.WriteString("B", "z", "3");
  }));
  EXPECT_EQ(Get(Path()), "[B]\r\nflag=1\r\n");
}

}  // namespace
