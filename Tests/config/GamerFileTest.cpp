// A profile rename as it reaches the file, and batches of changes.
#include "config/GamerFile.h"
#include "config/HallFame.h"
#include "config/IniFile.h"
#include "ScriptedMessages.h"
#include "TempFolder.h"

namespace {

class GamerFile : public TempFolderTest {
 protected:
  TScriptedMessages msgs;
};

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
