// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempFolder.h"
#include "config/Catalogue.h"
#include "config/IniFile.h"

namespace {

class Catalogue : public TempFolderTest {};

TEST_F(Catalogue, ANewProfileReadsEveryDefault) {
  Put(Path(), "");
  TIniFile ini(Path(), nullptr);
  const std::string sec = cfg::OptionsSection("Ann");
  std::vector<int> values;
  for (auto& k : cfg::SettingsKeys()) values.push_back(cfg::ReadKeyInt(ini, sec, k));
  EXPECT_EQ(values, (std::vector<int>{1, 1, 50, 25, 15, 0, 0, 0,  2, 2, 3, 1,
                                      1, 1, 1,  1,  1,  1, 1, 20, 1, 1, 1}));
  // Our own options start off and stay out of the 23 keys the settings dialog writes in order.
  ASSERT_EQ(cfg::OurSettingsKeys().size(), 1u);
  const cfg::TKeyInfo& signs = cfg::OurSettingsKeys()[0];
  EXPECT_EQ(signs.key, "TileSigns");
  EXPECT_EQ(signs.type, cfg::TKeyType::Boolean);
  EXPECT_FALSE(cfg::ReadKeyBool(ini, sec, signs));
  EXPECT_EQ(cfg::SettingsKey("TileSigns"), nullptr);
  for (auto& k : cfg::AllMultiUserKeys()) {
    if (k.type == cfg::TKeyType::String)
      EXPECT_EQ(cfg::ReadKeyString(ini, sec, k), "");
    else
      EXPECT_EQ(cfg::ReadKeyInt(ini, sec, k),
                k.key.starts_with("MultiUser_Computer") && k.key.ends_with("Checked") ? 1 : 0)
          << k.key;
  }
}

TEST_F(Catalogue, MultiUserKeysFollowTheSeatOrder) {
  std::vector<std::string> names, controls;
  for (auto& k : cfg::MultiUserKeys(2)) {
    names.push_back(k.key);
    controls.push_back(k.control);
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"MultiUser_Gamer2Checked", "MultiUser_Command2",
                                      "MultiUser_Computer2Checked", "MultiUser_Human2Checked",
                                      "MultiUser_Computer2", "MultiUser_Gamer2Name"}));
  EXPECT_EQ(controls, (std::vector<std::string>{"chkbGamer2", "cbCommand2", "rbComputer2",
                                                "rbHuman2", "cbComputer2", "cbHuman2"}));
  ASSERT_EQ(cfg::AllMultiUserKeys().size(), 24u);
  EXPECT_EQ(cfg::AllMultiUserKeys()[23].key, "MultiUser_Gamer4Name");
  ASSERT_NE(cfg::SettingsKey("Volume"), nullptr);
  EXPECT_EQ(cfg::SettingsKey("Volume")->max, 100);
  EXPECT_EQ(cfg::OtherKeys()[0].key, "Other_CodeGame");
}

}  // namespace
