// SPDX-License-Identifier: GPL-3.0-or-later
// The option table against the store's catalogue, the options it derives, and the level table.
#include <gtest/gtest.h>

#include <set>

#include "config/Catalogue.h"
#include "model/ComputerLevels.h"
#include "model/OptionTable.h"

namespace {

// The catalogue lists the same keys in the same order (the 23, then ours), with the same
// controls, defaults and types: a row added to one and not the other fails here.
TEST(OptionTable, AgreesWithTheCatalogue) {
  std::vector<cfg::TKeyInfo> keys = cfg::SettingsKeys();
  for (const cfg::TKeyInfo& k : cfg::OurSettingsKeys()) keys.push_back(k);
  std::vector<const TOptionInfo*> kept;
  for (const TOptionInfo& o : OptionTable())
    if (o.Key) kept.push_back(&o);
  ASSERT_EQ(kept.size(), keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    SCOPED_TRACE(keys[i].key);
    EXPECT_EQ(kept[i]->Key, keys[i].key);
    EXPECT_EQ(kept[i]->Control, keys[i].control);
    EXPECT_EQ(kept[i]->Default, keys[i].def);
    EXPECT_EQ(kept[i]->OnOff(), keys[i].type == cfg::TKeyType::Boolean);
  }
}

// Every control and every flag bit belongs to exactly one row, and each row's slot holds only
// its own value.
TEST(OptionTable, EachRowHasItsOwnControlAndSlot) {
  std::set<std::string> controls;
  uint8_t select = 0, panels = 0;
  for (const TOptionInfo& o : OptionTable()) {
    SCOPED_TRACE(o.Control);
    EXPECT_TRUE(controls.insert(o.Control).second);
    uint8_t& seen = o.Slot.Flags == &TGameOptions::SelectOptions ? select : panels;
    if (o.Slot.Flags) {
      EXPECT_EQ(seen & o.Slot.Bit, 0);
      seen |= o.Slot.Bit;
    }
    // Set a value no default has; only this row reads it back.
    const int value = o.OnOff() ? !o.Default : 77;
    TGameOptions options = DefaultGameOptions();
    o.Set(options, value);
    for (const TOptionInfo& other : OptionTable())
      EXPECT_EQ(other.Get(options), &other == &o ? value : other.Default) << other.Control;
  }
  EXPECT_EQ(select, 255);
  EXPECT_EQ(panels, pfMainBar | pfColorBar | pfStatusBar);
  EXPECT_EQ(OptionByFlag(&TGameOptions::PanelFlags, pfColorBar), OptionByControl("chkbColorBar"));
  EXPECT_EQ(OptionByKey("GameTile"), OptionByControl("eTile"));
}

TEST(OptionTable, DefaultsOfAFreshProfileAndOfTheProgramBeforeAnyProfile) {
  const TGameOptions d = DefaultGameOptions();
  EXPECT_EQ(d.MapSize(), std::make_pair(50, 25));
  EXPECT_EQ(d.TileSize(), 15);
  EXPECT_EQ(d.Looks, (std::array<int, 4>{0, 2, 2, 3}));
  EXPECT_EQ(d.SelectOptions, 255);  // chkbAutoTurn, which has no key, on as well
  EXPECT_EQ(d.PanelFlags, 7);
  EXPECT_EQ(d.ComputerLevel(), 1);
  EXPECT_FALSE(d.TileSigns);
  const TGameOptions before;  // no option applied yet: no flag, every panel
  EXPECT_EQ(before.SelectOptions, 0);
  EXPECT_EQ(before.PanelFlags, 7);
}

TEST(OptionTable, SizesComeFromThePresetOrTheCustomFields) {
  struct {
    int sizeMap, sizeTile;
    std::pair<int, int> map;
    int tile;
  } const cases[] = {{0, 0, {20, 10}, 10},
                     {2, 3, {75, 37}, 25},
                     {3, 2, {100, 50}, 20},
                     {4, 4, {60, 30}, 12},
                     {-1, 5, {60, 30}, 12}};
  for (const auto& c : cases) {
    TGameOptions o;
    o.SizeMap = c.sizeMap, o.SizeTile = c.sizeTile;
    o.CustomWidth = 60, o.CustomHeight = 30, o.CustomTile = 12;
    EXPECT_EQ(o.MapSize(), c.map) << c.sizeMap;
    EXPECT_EQ(o.TileSize(), c.tile) << c.sizeTile;
  }
}

TEST(ComputerLevels, StoredNumbersAreListPositionsAndUnknownOnesAreNoLevel) {
  const auto& levels = ComputerLevels();
  ASSERT_EQ(levels.size(), 4u);
  for (size_t i = 0; i < levels.size(); ++i) {
    EXPECT_EQ(levels[i].Stored, int(i));  // the lists show them in this order
    EXPECT_EQ(levels[i].Value, i + 1);
    EXPECT_EQ(LevelOfStored(int(i)), levels[i].Value);
    EXPECT_EQ(LevelByValue(levels[i].Value), &levels[i]);
    EXPECT_TRUE(IsLevelName(levels[i].Name));
  }
  EXPECT_EQ(LevelOfStored(-1), 0);
  EXPECT_EQ(LevelOfStored(int(levels.size())), 0);
  EXPECT_EQ(LevelByValue(0), nullptr);
  EXPECT_STREQ(levels[1].Name, "Умеренный");
  EXPECT_STREQ(levels[1].MultiUserName, "Средний");
  EXPECT_FALSE(IsLevelName("Средний"));  // a profile may take the multi-user spelling
  EXPECT_FALSE(IsLevelName("легкий"));
  // The fourth strength, ours, is named alike everywhere.
  EXPECT_STREQ(levels[3].Name, "Мастер");
  EXPECT_STREQ(levels[3].MultiUserName, "Мастер");
  // The file takes every stored number the lists show, and no more.
  EXPECT_EQ(cfg::SettingsKey(cfg::key::GameBrain)->max, levels.back().Stored);
  for (int seat = 1; seat <= 4; ++seat)
    EXPECT_EQ(cfg::MultiUserKeys(seat)[4].max, levels.back().Stored) << seat;
}

}  // namespace
