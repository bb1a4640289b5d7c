// SPDX-License-Identifier: GPL-3.0-or-later
// The text format: what is read from a file and exactly which bytes a write produces.
#include <sys/stat.h>

#include <clocale>
#include <cwctype>

#include "ScriptedMessages.h"
#include "TempFolder.h"
#include "config/Catalogue.h"
#include "config/Cp1251.h"
#include "config/IniFile.h"

namespace {

class IniFormat : public TempFolderTest {
 protected:
  TScriptedMessages msgs;
};

TEST_F(IniFormat, FirstApplicationWritesTheSettingsKeysInTableOrder) {
  Put(Path(), "");
  TIniFile ini(Path(), &msgs);
  const std::string sec = cfg::OptionsSection("Аня");
  for (const cfg::TKeyInfo& k : cfg::SettingsKeys())
    ASSERT_TRUE(cfg::WriteKeyInt(ini, sec, k, cfg::ReadKeyInt(ini, sec, k)));
  EXPECT_EQ(Get(Path()),
            "[OPTIONS_\xC0\xED\xFF]\r\n"
            "GameSizeMap=1\r\nGameSizeTile=1\r\nGameWidth=50\r\nGameHeight=25\r\nGameTile=15\r\n"
            "GameBrain=0\r\nGameVictory=0\r\nTileNeutral=0\r\nTileOccuped=2\r\nTileSelected=2\r\n"
            "TilePressed=3\r\nSelectIsland=1\r\nSelectPerspective=1\r\nSelectBound=1\r\n"
            "SelectSkipTurn=1\r\nSelectAutostart=1\r\nSelectReplay=1\r\n"
            "SelectHallfameOnRecord=1\r\nSelectMusic=1\r\nVolume=20\r\nVisibleMainBar=1\r\n"
            "VisibleColorBar=1\r\nVisibleStatusBar=1\r\n");
  // A second application with one change rewrites only that line's value.
  std::string before = Get(Path());
  ASSERT_TRUE(ini.WriteInteger(sec, "volume", 35));
  before.replace(before.find("Volume=20"), 9, "Volume=35");
  EXPECT_EQ(Get(Path()), before);
  EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(IniFormat, RenameMovesTheSectionToTheEndWithItsKeysInOrder) {
  Put(Path(),
      "[GAMERS]\r\nAnn=Ann\r\nBob=Bob\r\n"
      "[OPTIONS_Ann]\r\nGameSizeMap=2\r\nVolume=0x1E\r\nMultiUser_Gamer1Name='Bob'\r\n"
      "[OTHER]\r\nLastLogin=Ann\r\n");
  TIniFile ini(Path(), &msgs);
  auto pairs = ini.ReadSectionValues("OPTIONS_Ann");
  ASSERT_EQ(pairs,
            (std::vector<std::string>{"GameSizeMap=2", "Volume=0x1E", "MultiUser_Gamer1Name=Bob"}));
  ini.DeleteKey("GAMERS", "Ann");
  ASSERT_TRUE(ini.WriteString("GAMERS", "Борис", "Борис"));
  ASSERT_TRUE(ini.EraseSection("OPTIONS_Ann"));
  for (auto& p : pairs) {
    size_t eq = p.find('=');
    ASSERT_TRUE(ini.WriteString("OPTIONS_Борис", p.substr(0, eq), p.substr(eq + 1)));
  }
  ini.UpdateFile();
  EXPECT_EQ(Get(Path()),
            "[GAMERS]\r\nBob=Bob\r\n\xC1\xEE\xF0\xE8\xF1=\xC1\xEE\xF0\xE8\xF1\r\n"
            "[OTHER]\r\nLastLogin=Ann\r\n"
            "[OPTIONS_\xC1\xEE\xF0\xE8\xF1]\r\nGameSizeMap=2\r\nVolume=0x1E\r\n"
            "MultiUser_Gamer1Name=Bob\r\n");
}

TEST_F(IniFormat, NamesCompareWithoutCaseForLatinAndCyrillic) {
  Put(Path(), "[OPTIONS_\xA8\xE6\xE8\xEA]\r\nGameSizeMap=3\r\n");  // OPTIONS_Ёжик
  TIniFile ini(Path(), &msgs);
  EXPECT_EQ(ini.ReadInteger("options_ёжик", "gamesizemap", 1), 3);
  EXPECT_EQ(ini.ReadInteger("OPTIONS_ЁЖИК", "GAMESIZEMAP", 1), 3);
  EXPECT_EQ(ini.ReadInteger("OPTIONS_Ежик", "GameSizeMap", 1), 1);  // Е is not Ё
  EXPECT_TRUE(ini.SectionExists("Options_ЁжиК"));
  ASSERT_TRUE(ini.WriteInteger("options_ёжик", "GAMESIZEMAP", 4));
  EXPECT_EQ(Get(Path()), "[OPTIONS_\xA8\xE6\xE8\xEA]\r\nGameSizeMap=4\r\n");
  // The dialog's own spelling of the hall-of-fame key meets the writer's.
  ASSERT_TRUE(ini.WriteBool("X", cfg::key::SelectHallfameOnRecord, false));
  EXPECT_FALSE(ini.ReadBool("x", cfg::key::SelectHallFameOnRecordRead, true));
  EXPECT_TRUE(SameTextCI("Ёлка Ўў Ґ", "ёЛКА ўЎ ґ"));
  EXPECT_FALSE(SameTextCI("Ann", "Anna"));
  // Я closes the main block of capitals: it folds like the rest, and only onto я.
  Put(Path(), "[GAMERS]\r\n\xDF\xED\xE0=\xDF\xED\xE0\r\n");  // Яна=Яна
  EXPECT_EQ(ini.ReadString("gamers", "яна", "-"), "Яна");
  EXPECT_EQ(ini.ReadString("GAMERS", "ЯНА", "-"), "Яна");
  EXPECT_EQ(ini.ReadString("GAMERS", "Юна", "-"), "-");
  ASSERT_TRUE(ini.WriteString("GAMERS", "яНа", "Яна"));
  EXPECT_EQ(Get(Path()), "[GAMERS]\r\n\xDF\xED\xE0=\xDF\xED\xE0\r\n");
  EXPECT_TRUE(SameTextCI("ЯЯ", "яя"));
}

// Duplicates in a file of the game's own encoding: the first key of the first block answers
// and takes the write; the later ones stay as they were.
TEST_F(IniFormat, TheFirstOfDuplicateKeysWins) {
  Put(Path(),
      "[OTHER]\r\nLastLogin=Ann\r\nLASTLOGIN=Bob\r\n[OTHER]\r\nLastLogin=Eve\r\n"
      "[S]\r\nn=1\r\nN=2\r\n");
  TIniFile ini(Path(), &msgs);
  EXPECT_EQ(ini.ReadString("OTHER", "lastlogin", "-"), "Ann");
  EXPECT_EQ(ini.ReadInteger("s", "N", 0), 1);
  ASSERT_TRUE(ini.WriteString("other", "LastLogin", "Вера"));
  ASSERT_TRUE(ini.WriteInteger("S", "n", 7));
  EXPECT_EQ(Get(Path()),
            "[OTHER]\r\nLastLogin=\xC2\xE5\xF0\xE0\r\nLASTLOGIN=Bob\r\n[OTHER]\r\nLastLogin=Eve\r\n"
            "[S]\r\nn=7\r\nN=2\r\n");
  EXPECT_EQ(ini.ReadString("OTHER", "LastLogin", "-"), "Вера");
}

// The fold table must agree with the C library's own case mapping on every byte.
TEST(Cp1251, FoldTableAgreesWithTheLibraryCaseMapping) {
  if (!std::setlocale(LC_CTYPE, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale";
  for (int b = 0; b < 256; ++b) {
    if (b == 0 || b == 0x98) continue;
    std::string u = Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
    std::mbstate_t st{};
    wchar_t wc = 0;
    ASSERT_GT(std::mbrtowc(&wc, u.data(), u.size(), &st), 0u) << b;
    wchar_t lower = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(wc)));
    char buf[8];
    st = {};
    size_t n = std::wcrtomb(buf, lower, &st);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1251(std::string(buf, n), back)) << b;
    EXPECT_EQ(Cp1251Fold(static_cast<unsigned char>(b)), static_cast<unsigned char>(back[0]))
        << "byte " << b;
  }
  std::setlocale(LC_CTYPE, "C");
}

TEST_F(IniFormat, IntegersAndBooleans) {
  Put(Path(),
      "[S]\r\nhex=0x1E\r\nHEX2=0X1e\r\ndollar=$1E\r\nletters=abc\r\ntail=12abc\r\n"
      "neg=-5\r\nbig=2147483648\r\nmin=-2147483648\r\nall=$FFFFFFFF\r\nwide=0x100000000\r\n"
      "empty=\r\nblank=  7  \r\nquoted='8'\r\nb2=2\r\nb0=0\r\nspace=1 2\r\n");
  TIniFile ini(Path(), &msgs);
  EXPECT_EQ(ini.ReadInteger("S", "hex", 20), 30);
  EXPECT_EQ(ini.ReadInteger("S", "hex2", 20), 30);
  EXPECT_EQ(ini.ReadInteger("S", "dollar", 20), 30);
  EXPECT_EQ(ini.ReadInteger("S", "letters", 20), 20);
  EXPECT_EQ(ini.ReadInteger("S", "tail", 20), 20);
  EXPECT_EQ(ini.ReadInteger("S", "neg", 20), -5);
  EXPECT_EQ(ini.ReadInteger("S", "big", 20), 20);
  EXPECT_EQ(ini.ReadInteger("S", "min", 20), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("S", "all", 20), -1);
  EXPECT_EQ(ini.ReadInteger("S", "wide", 20), 20);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 20), 20);
  EXPECT_EQ(ini.ReadInteger("S", "blank", 20), 7);
  EXPECT_EQ(ini.ReadInteger("S", "quoted", 20), 8);
  EXPECT_EQ(ini.ReadInteger("S", "space", 20), 20);
  EXPECT_EQ(ini.ReadInteger("S", "missing", 20), 20);
  EXPECT_TRUE(ini.ReadBool("S", "b2", false));
  EXPECT_FALSE(ini.ReadBool("S", "b0", true));
  EXPECT_TRUE(ini.ReadBool("S", "letters", true));
  EXPECT_FALSE(ini.ReadBool("S", "missing", false));
  ASSERT_TRUE(ini.WriteInteger("S", "neg", -123));
  ASSERT_TRUE(ini.WriteBool("S", "b2", true));
  EXPECT_EQ(ini.ReadString("S", "neg", ""), "-123");
  EXPECT_EQ(ini.ReadString("S", "b2", ""), "1");
}

TEST_F(IniFormat, HandEditedFilesAreReadAndNeverChangedByReading) {
  const std::string text =
      "\xEF\xBB\xBF; my settings\n\n  [ GAMERS ]  \nАня = Аня   \n"
      "garbage line\nАня=second\n=no key\n[OTHER]\r\nLastLogin=\"Аня\"\n"
      "[GAMERS]\nБорис=Борис";
  Put(Path(), text);
  struct stat before;
  stat(Path().c_str(), &before);
  TIniFile ini(Path(), &msgs);
  EXPECT_EQ(ini.ReadSection("gamers"), (std::vector<std::string>{"Аня", "Борис"}));
  EXPECT_EQ(ini.ReadString("GAMERS", "аня", "-"), "Аня");  // the first duplicate wins
  EXPECT_EQ(ini.ReadString("OTHER", "LastLogin", "-"), "Аня");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"GAMERS", "OTHER"}));
  EXPECT_EQ(ini.ReadSectionValues("GAMERS"),
            (std::vector<std::string>{"Аня=Аня", "Аня=second", "Борис=Борис"}));
  EXPECT_EQ(Get(Path()), text);
  struct stat after;
  stat(Path().c_str(), &after);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
  EXPECT_EQ(before.st_ino, after.st_ino);

  // The file keeps its encoding and its line ends; a new key follows the section's last key.
  ASSERT_TRUE(ini.WriteString("OTHER", "New", "Ёж"));
  ASSERT_TRUE(ini.WriteString("GAMERS", "Вера", "Вера"));
  EXPECT_EQ(Get(Path()),
            "\xEF\xBB\xBF; my settings\n\n  [ GAMERS ]  \nАня = Аня   \n"
            "garbage line\nАня=second\n=no key\n[OTHER]\r\nLastLogin=\"Аня\"\nNew=Ёж\r\n"
            "[GAMERS]\nБорис=Борис\r\nВера=Вера\r\n");
}

TEST_F(IniFormat, WritesReplaceInPlaceAndKeepEveryOtherByte) {
  const std::string text =
      "[A]\nk1 = old \n; comment\nk2=x\n\n[B]\r\nz=1\r\nweird \x98 line\r\n[A]\nk3=y\n";
  Put(Path(), text);
  TIniFile ini(Path(), &msgs);
  ASSERT_TRUE(ini.WriteString("a", "K1", "new"));
  ASSERT_TRUE(ini.WriteString("A", "k4", "4"));  // after the last key of the section
  ASSERT_TRUE(ini.WriteString("C", "c", "Ц"));   // a new section at the end
  EXPECT_EQ(Get(Path()),
            "[A]\nk1 =new\n; comment\nk2=x\n\n[B]\r\nz=1\r\nweird \x98 line\r\n[A]\nk3=y\n"
            "k4=4\r\n[C]\r\nc=\xD6\r\n");
  EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"k1", "k2", "k3", "k4"}));
  // Writing a value that is already there leaves the file alone.
  struct stat before, after;
  stat(Path().c_str(), &before);
  ASSERT_TRUE(ini.WriteString("A", "k2", "x"));
  stat(Path().c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);
  // Erasing removes every block of the section; deleting a key removes its duplicates too.
  Put(Path(), "[A]\r\nk=1\r\n[B]\r\nk=2\r\nk=3\r\n[a]\r\nj=4\r\n[C]\r\nc=5");
  ASSERT_TRUE(ini.EraseSection("A"));
  ini.DeleteKey("B", "K");
  EXPECT_EQ(Get(Path()), "[B]\r\n[C]\r\nc=5");
  EXPECT_FALSE(ini.SectionExists("B"));
  EXPECT_TRUE(ini.SectionExists("C"));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"B", "C"}));
  ASSERT_TRUE(ini.WriteString("B", "n", "1"));
  EXPECT_EQ(Get(Path()), "[B]\r\nn=1\r\n[C]\r\nc=5");
  ASSERT_TRUE(ini.WriteString("C", "d", "6"));  // the last line gains its line break
  EXPECT_EQ(Get(Path()), "[B]\r\nn=1\r\n[C]\r\nc=5\r\nd=6\r\n");
}

TEST_F(IniFormat, ValuesReadBackExactlyWhateverTheirBlanksAndQuotes) {
  Put(Path(), "[S]\r\nq1=\"quoted\"\r\nq2='single'\r\nq3=\"half\r\nq4=\"mixed'\r\n");
  TIniFile ini(Path(), &msgs);
  EXPECT_EQ(ini.ReadString("S", "q1", ""), "quoted");
  EXPECT_EQ(ini.ReadString("S", "q2", ""), "single");
  EXPECT_EQ(ini.ReadString("S", "q3", ""), "\"half");
  EXPECT_EQ(ini.ReadString("S", "q4", ""), "\"mixed'");
  for (std::string v : {" lead", "trail\t", "\"both\"", "'x'", "\"\"", "\"", "", "a \"b\" c"}) {
    ASSERT_TRUE(ini.WriteString("S", "v", v)) << v;
    EXPECT_EQ(ini.ReadString("S", "v", "?"), v);
    EXPECT_EQ(ini.ReadSectionValues("S").back(), "v=" + v);
  }
  // Empty value is not a missing key.
  ASSERT_TRUE(ini.WriteString("S", "v", ""));
  EXPECT_EQ(ini.ReadString("S", "v", "def"), "");
}

TEST_F(IniFormat, ValuesAreReadUpTo2047Characters) {
  Put(Path(), "[S]\r\nlong=" + std::string(3000, '\xE9') + "\r\n");
  TIniFile ini(Path(), &msgs);
  std::string v = ini.ReadString("S", "long", "");
  EXPECT_EQ(v.size(), 2047u * 2);  // й is two bytes in UTF-8
  std::string ok(2047, 'x');
  EXPECT_TRUE(ini.WriteString("S", "w", ok));
  EXPECT_EQ(ini.ReadString("S", "w", ""), ok);
  EXPECT_FALSE(ini.WriteString("S", "w", ok + "x"));  // would not read back whole
  EXPECT_EQ(ini.ReadString("S", "w", ""), ok);
}

TEST_F(IniFormat, ListingsStopAt16384BytesOfWholeNames) {
  std::string text = "[S]\r\n";
  for (int i = 0; i < 2000; ++i) text += "key" + std::to_string(10000 + i) + "=1\r\n";  // 9 bytes
  Put(Path(), text);
  TIniFile ini(Path(), &msgs);
  auto keys = ini.ReadSection("S");
  EXPECT_EQ(keys.size(), 16384u / 9);
  EXPECT_EQ(keys.back(), "key" + std::to_string(10000 + 16384 / 9 - 1));
  EXPECT_EQ(ini.ReadSectionValues("S").size(), 2000u);
}

TEST_F(IniFormat, TheUnassignedByteSurvivesReadingAndWriting) {
  Put(Path(),
      "[S]\r\nname=A\x98"
      "B\r\nother=1\r\n");
  TIniFile ini(Path(), &msgs);
  std::string v = ini.ReadString("S", "name", "");
  EXPECT_EQ(v,
            "A\xC2\x98"
            "B");
  ASSERT_TRUE(ini.WriteString("S", "copy", v));
  ASSERT_TRUE(ini.WriteInteger("S", "other", 2));
  EXPECT_EQ(Get(Path()),
            "[S]\r\nname=A\x98"
            "B\r\nother=2\r\ncopy=A\x98"
            "B\r\n");
}

TEST_F(IniFormat, NamesAndValuesTheFormatCannotHoldAreRefused) {
  const std::string text = "[S]\r\nk=v\r\n";
  Put(Path(), text);
  TIniFile ini(Path(), &msgs);
  // The specified line, then which name or value the file cannot hold and why.
  const std::string msg = "Unable to write to " + Path() + "\r\nФайл не может хранить ";
  struct Case {
    std::string section, key, value, cause;
  } cases[] = {
      {"S", "a=b", "v", "имя ключа «a=b»: в нём есть знак «=»."},
      {"S]x", "k", "v", "имя раздела «S]x»: в нём есть знак «]»."},
      {"S", "[k", "v", "имя ключа «[k»: оно начинается с «[» или «;»."},
      {"S", ";k", "v", "имя ключа «;k»: оно начинается с «[» или «;»."},
      {"S", " k", "v", "имя ключа « k»: в начале или в конце стоят пробелы."},
      {"S ", "k", "v", "имя раздела «S »: в начале или в конце стоят пробелы."},
      {"S", "k", "a\r\nb", "значение «a??b»: в нём есть перевод строки или нулевой символ."},
      {"S", "k\n", "v", "имя ключа «k?»: в нём есть перевод строки или нулевой символ."},
      {"S", "k", "smile \U0001F600",
       "значение «smile \U0001F600»: в нём есть символ, которого нет в кодировке Windows-1251."},
      {"S", "k", "\xFF\xFE",
       "значение «??»: в нём есть символ, которого нет в кодировке Windows-1251."},
      {"S", "", "v", "пустое имя ключа."},
      {"S", "k", std::string("a\0b", 3),
       "значение «a?b»: в нём есть перевод строки или нулевой символ."},
      {"S", "k", std::string(2048, 'x'),
       "значение «" + std::string(40, 'x') + "…»: оно длиннее 2047 символов."}};
  for (auto& c : cases) {
    msgs.Clear();
    EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value)) << c.key << c.value;
    EXPECT_EQ(msgs.Texts("error"), std::vector<std::string>{msg + c.cause});
    EXPECT_EQ(Get(Path()), text);
  }
  // One message for the whole refused operation, naming its first fault.
  msgs.Clear();
  EXPECT_FALSE(ini.WriteStrings("S", {{"fine", "1"}, {"bad=", "2"}, {"k", "a\nb"}}));
  EXPECT_EQ(msgs.Texts("error"),
            std::vector<std::string>{msg + "имя ключа «bad=»: в нём есть знак «=»."});
  EXPECT_EQ(Get(Path()), text);
  EXPECT_EQ(ini.ReadString("S", "fine", "none"), "none");

  EXPECT_EQ(IniNameFault("Аня"), TIniNameFault::None);
  EXPECT_EQ(IniNameFault("Ann;1"), TIniNameFault::None);
  EXPECT_EQ(IniNameFault(""), TIniNameFault::Empty);
  EXPECT_EQ(IniNameFault("a=b"), TIniNameFault::Equals);
  EXPECT_EQ(IniNameFault("a]b"), TIniNameFault::Bracket);
  EXPECT_EQ(IniNameFault("[ab"), TIniNameFault::LeadingMark);
  EXPECT_EQ(IniNameFault(";ab"), TIniNameFault::LeadingMark);
  EXPECT_EQ(IniNameFault(" ab"), TIniNameFault::Blanks);
  EXPECT_EQ(IniNameFault("a\nb"), TIniNameFault::LineBreak);
  EXPECT_EQ(IniNameFault("日本"), TIniNameFault::Encoding);
  EXPECT_TRUE(IniCanHoldName("Ёжик €"));
}

TEST_F(IniFormat, CreatingTheFileNeverTruncatesIt) {
  TIniFile ini(Path(), &msgs);
  ASSERT_TRUE(ini.CreateIfMissing());
  EXPECT_EQ(Get(Path()), "");
  Put(Path(), "[GAMERS]\r\nAnn=Ann\r\n");
  ASSERT_TRUE(ini.CreateIfMissing());
  EXPECT_EQ(Get(Path()), "[GAMERS]\r\nAnn=Ann\r\n");
  EXPECT_FALSE(TIniFile(Path("no/such/folder.ini"), nullptr).CreateIfMissing());
}

TEST_F(IniFormat, MissingFileReadsDefaultsAndIsCreatedByAWrite) {
  TIniFile ini(Path(), &msgs);
  EXPECT_TRUE(ini.ReadSections().empty());
  EXPECT_EQ(ini.ReadString("GAMERS", "x", "d"), "d");
  EXPECT_TRUE(ini.EraseSection("GAMERS"));
  EXPECT_FALSE(std::filesystem::exists(Path()));
  ASSERT_TRUE(ini.WriteString("GAMERS", "Ann", "Ann"));
  EXPECT_EQ(Get(Path()), "[GAMERS]\r\nAnn=Ann\r\n");
}

TEST_F(IniFormat, NoCacheBetweenStoreObjects) {
  Put(Path(), "");
  TIniFile a(Path(), &msgs), b(Path(), &msgs);
  ASSERT_TRUE(a.WriteInteger("S", "k", 1));
  EXPECT_EQ(b.ReadInteger("S", "k", 0), 1);
  ASSERT_TRUE(b.WriteInteger("S", "k", 2));
  EXPECT_EQ(a.ReadInteger("S", "k", 0), 2);
}

}  // namespace
