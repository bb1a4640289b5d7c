// SPDX-License-Identifier: GPL-3.0-or-later
// The hint and the take-back, as a model: a person plays, asks for hints and takes choices back
// at random; every take-back must land exactly on the position seen before that choice, and a
// game rebuilt from scratch with the surviving choices must be the same game from there on.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <sstream>

#include "EngineTestSupport.h"
#include "ReferencePlayers.h"

namespace {

// Everything that decides how a game goes on from a moment where a person is to choose, field
// by field (the engine's private neighbour index included), flattened into one array of words
// so that keeping thousands of positions costs little; Marks[i] is where island i begins.
struct TPosition {
  std::vector<uint32_t> Words;
  std::vector<uint32_t> Marks;
};

TPosition Snapshot(const TMorvikMachine& m) {
  TPosition p;
  auto& w = p.Words;
  auto list = [&](const auto& v) {
    w.push_back(uint32_t(v.size()));
    w.insert(w.end(), v.begin(), v.end());
  };
  if (m.Map) w.reserve(size_t(m.Width) * m.Height * 12);
  w.push_back(GetRandSeed());
  w.push_back(m.CurrentGamer);
  w.push_back(m.Active | m.AwaitingHuman << 1 | m.NewGameStarted << 2);
  for (const bool f : m.FreeColors) w.push_back(f);
  if (!m.Map) return p;
  const TMap& map = *m.Map;
  for (int s = 1; s <= 4; ++s) {
    w.push_back(uint32_t(map.Scores[s].Points));
    w.push_back(map.Scores[s].Area);
  }
  w.push_back(uint32_t(map.Tiles.size()));
  for (const auto& row : map.Tiles) {
    w.push_back(uint32_t(row.size()));
    for (const TTile& t : row) w.push_back(uint32_t(t.Color) << 16 | t.Island);
  }
  w.push_back(uint32_t(map.Islands.size()));
  for (const TIsland& x : map.Islands) {
    p.Marks.push_back(uint32_t(w.size()));
    w.push_back(x.Color | x.Merged << 8);
    w.push_back(uint32_t(x.Tiles.size()));
    for (const TTilePos& t : x.Tiles) w.push_back(uint32_t(t.Col) << 8 | t.Row);
    list(x.Neighbours);
    const auto* index = x.Index.Data.get();
    w.push_back(index != nullptr);
    if (index) {  // Pos is mostly zeros: its length and its other entries say it all
      w.push_back(uint32_t(index->Pos.size()));
      for (size_t id = 0; id < index->Pos.size(); ++id)
        if (index->Pos[id]) w.push_back(uint32_t(id)), w.push_back(index->Pos[id]);
      list(index->Live);
      w.push_back(index->Stale);
    }
  }
  return p;
}

::testing::AssertionResult SamePosition(const TPosition& want, const TMorvikMachine& m) {
  const TPosition now = Snapshot(m);
  const auto& a = want.Words;
  const auto& b = now.Words;
  const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (at.first == a.end() && at.second == b.end()) return ::testing::AssertionSuccess();
  const auto word = uint32_t(at.first - a.begin());
  const auto mark = std::upper_bound(want.Marks.begin(), want.Marks.end(), word);
  if (mark == want.Marks.begin())
    return ::testing::AssertionFailure() << "machine, scores or tiles differ at word " << word;
  return ::testing::AssertionFailure()
         << "island " << (mark - want.Marks.begin() - 1) << " differs";
}

struct TScenario {
  int width, height;
  int32_t layout;
  std::array<int, 5> seats{};  // -1 person, 0 empty, 1..3 computer level
  bool byArea = true, skipTurn = false, autoTurn = false;
  int people = 0;
  std::string Describe() const {
    std::ostringstream o;
    o << width << "x" << height << " layout " << layout << " seats";
    for (int s = 1; s <= 4; ++s) o << " " << seats[s];
    o << (byArea ? " area" : " points") << " skip " << skipTurn << " auto " << autoTurn;
    return o.str();
  }
};

TScenario RandomScenario(std::mt19937& r, int width, int height) {
  TScenario sc{width, height, int32_t(r() & 0x7FFFFFFF)};
  std::array<int, 4> order = {1, 2, 3, 4};
  std::shuffle(order.begin(), order.end(), r);
  const int computers = 1 + int(r() % 3);
  sc.people = r() % 10 == 0 ? 2 : 1;  // now and then two people: no take-back then
  for (int i = 0; i < sc.people; ++i) sc.seats[order[i]] = -1;
  for (int i = 0; i < computers && sc.people + i < 4; ++i)
    sc.seats[order[sc.people + i]] = 1 + int(r() % 3);
  sc.byArea = r() % 2, sc.skipTurn = r() % 2, sc.autoTurn = r() % 2;
  return sc;
}

struct TGame {
  RecordingServices services;
  TMorvikMachine m{&services};
  std::vector<std::pair<int, int>> moves;
  std::vector<int> notified;
  int takenBackInside = 0;
  explicit TGame(const TScenario& sc) {
    services.machine = &m;
    services.victoryByArea = sc.byArea;
    services.skipTurn = sc.skipTurn;
    services.autoTurn = sc.autoTurn;
    // The window lets commands run inside this notification: a take-back asked for while the
    // turn passes between seats must be refused.
    m.OnChangeGamer = [this](uint8_t) { takenBackInside += m.TakeBack(); };
    m.OnChangeStateColor = [this](uint8_t k) { notified.push_back(k); };
    m.OnMakeMove = [this](uint8_t s, uint8_t k) { moves.push_back({s, k}); };
    m.SetSizeMap(uint8_t(sc.width), uint8_t(sc.height));
    m.SetSizeTile(4);
    for (int s = 1; s <= 4; ++s) {
      const int v = sc.seats[s];
      m.SetGamer(s, v < 0 ? gkHuman : v ? gkComputer : gkNone, uint8_t(std::max(v, 0)), "P", 0);
    }
    m.SetCodeGame(sc.layout);
    m.StartGame();
    m.RunStartLoop();
  }
  // The person plays the hint for up to `choices` choices; returns every move made meanwhile.
  std::vector<std::pair<int, int>> PlayOnWithHints(int choices) {
    moves.clear();
    for (int i = 0; i < choices && m.Active; ++i) {
      const THint h = m.Hint(m.CurrentGamer);
      m.TakeHumanColor(h.Color);
    }
    return moves;
  }
};

// The hint for one seat: the master level's colour for that seat (the generator left alone),
// the islands a capture of that colour takes, and nothing else touched.
void CheckHint(TGame& g, int seat, bool literal) {
  TMorvikMachine& m = g.m;
  const TPosition before = Snapshot(m);
  const int steps = g.services.steps;
  const size_t positions = g.services.positions.size(), log = g.services.log.size();
  const bool byArea = g.services.victoryByArea;
  const THint h = m.Hint(uint8_t(seat));
  ASSERT_TRUE(SamePosition(before, m)) << "hint for seat " << seat;
  EXPECT_EQ(g.services.steps, steps);
  EXPECT_EQ(g.services.positions.size(), positions);
  EXPECT_EQ(g.services.log.size(), log);
  EXPECT_TRUE(m.Assisted);
  ASSERT_GE(h.Color, 1);
  ASSERT_LE(h.Color, 7);
  EXPECT_TRUE(m.FreeColors[h.Color]);
  if (!literal) return;
  const uint8_t current = m.CurrentGamer;
  m.CurrentGamer = uint8_t(seat);
  // The master's own search, asked again, on the smaller boards (it costs most on the large ones).
  if (m.Width * m.Height <= 1250) {
    const uint32_t seed = GetRandSeed();
    EXPECT_EQ(h.Color, m.BrainMaster()) << "seat " << seat << (byArea ? " area" : " points");
    EXPECT_EQ(GetRandSeed(), seed);
  }
  TMap copy = reference::Copy(*m.Map);
  reference::Capture(m, copy, seat, h.Color, false);
  m.CurrentGamer = current;
  std::vector<uint16_t> taken;
  for (size_t i = 0; i < copy.Islands.size(); ++i)
    if (copy.Islands[i].Merged && !m.Map->Islands[i].Merged) taken.push_back(uint16_t(i));
  std::vector<uint16_t> said = h.Islands;
  std::sort(said.begin(), said.end());
  EXPECT_EQ(said, taken) << "seat " << seat;
}

struct TWalkStats {
  int takeBacks = 0, compared = 0, hints = 0, replays = 0;
};

// One game: choices, hints and take-backs at random. Positions before each choice are kept
// from `keepFrom` choices on (large boards keep only the last few).
void Walk(const TScenario& sc, std::mt19937& r, int maxChoices, int keepFrom, int hintEvery,
          int playOn, TWalkStats& stats) {
  SCOPED_TRACE(sc.Describe());
  TGame g(sc);
  TMorvikMachine& m = g.m;
  EXPECT_FALSE(m.Assisted);
  std::vector<std::optional<TPosition>> before;  // one per choice still in the game
  std::vector<uint8_t> choices;
  bool helped = false;
  int made = 0;
  while (m.Active && made < maxChoices) {
    ASSERT_TRUE(m.AwaitingHuman);
    ASSERT_EQ(m.Gamers[m.CurrentGamer].Kind, gkHuman);
    ASSERT_EQ(m.CanTakeBack(), sc.people == 1 && !before.empty());
    ASSERT_EQ(m.Assisted, helped);
    if (hintEvery && r() % hintEvery == 0) {
      int seat;
      do seat = 1 + int(r() % 4);
      while (sc.seats[seat] == 0);
      CheckHint(g, seat, sc.width * sc.height <= 1000);
      helped = true;
      ++stats.hints;
    }
    if (made >= keepFrom && !before.empty() && r() % 3 == 0) {
      if (sc.people != 1) {
        const TPosition now = Snapshot(m);
        ASSERT_FALSE(m.TakeBack());
        ASSERT_TRUE(SamePosition(now, m));
        continue;
      }
      g.notified.clear();
      ASSERT_TRUE(m.TakeBack());
      helped = true;
      ++stats.takeBacks;
      EXPECT_EQ(g.notified, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
      if (before.back()) {
        ASSERT_TRUE(SamePosition(*before.back(), m)) << "after taking back choice " << made;
        ++stats.compared;
      }
      before.pop_back();
      choices.pop_back();
      continue;
    }
    uint8_t k;
    if (r() % 2) {
      do k = uint8_t(1 + r() % 7);
      while (!m.FreeColors[k]);
    } else {  // strong play now and then, so that games reach their late stage
      const uint32_t seed = GetRandSeed();
      k = m.BrainHard();
      SetRandSeed(seed);
    }
    before.push_back(made + 1 >= keepFrom ? std::optional<TPosition>(Snapshot(m)) : std::nullopt);
    choices.push_back(k);
    ASSERT_TRUE(m.TakeHumanColor(k));
    ++made;
  }
  EXPECT_EQ(g.takenBackInside, 0);
  if (!m.Active) {
    EXPECT_FALSE(m.CanTakeBack());
    EXPECT_FALSE(m.TakeBack());
    return;
  }
  // The same game rebuilt from its layout and the choices that stand.
  const TPosition now = Snapshot(m);
  const auto restA = g.PlayOnWithHints(playOn);
  TGame fresh(sc);
  EXPECT_FALSE(fresh.m.Assisted);
  for (const uint8_t k : choices) ASSERT_TRUE(fresh.m.TakeHumanColor(k));
  ASSERT_TRUE(SamePosition(now, fresh.m)) << "rebuilt from " << choices.size() << " choices";
  EXPECT_EQ(fresh.PlayOnWithHints(playOn), restA);
  ++stats.replays;
}

TEST(Coach, TakeBackReturnsExactlyToTheChoiceAndHintsAreTheMasters) {
  std::mt19937 r(20240611);
  TWalkStats stats;
  // Sizes from 10 x 10 to 100 x 50, small ones more often (they end sooner and cost less).
  auto skewed = [&](int low, int high) {
    const double u = double(r() % 1001) / 1000.0;
    return low + int((high - low) * u * u + 0.5);
  };
  // Sixty walks reach every stage of the game on every board shape; the sanitized run walks a
  // quarter of them: it looks for memory faults, not for rare positions, and every search there
  // runs several times slower.
  const int walks = MORVIK_SANITIZED ? 15 : 60, share = 120 / walks;
  for (int i = 0; i < walks; ++i) {
    const int w = skewed(10, 100), h = skewed(10, 50);
    Walk(RandomScenario(r, w, h), r, 40, 0, 4, 1000, stats);
    if (HasFatalFailure()) return;
  }
  // The largest board, taking back from the hundredth choice or so on.
  for (int i = 0; i < (MORVIK_SANITIZED ? 1 : 2); ++i) {
    Walk(RandomScenario(r, 255, 255), r, 120, 112, 8, 20, stats);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(stats.compared, 1500 / share);
  EXPECT_GT(stats.hints, 1000 / share);
  EXPECT_GT(stats.replays, 60 / share);
  RecordProperty("positions", stats.compared);
  RecordProperty("hints", stats.hints);
}

TEST(Coach, HelpMarksTheGameAndANewGameStartsUnassisted) {
  TScenario sc{20, 10, 12345};
  sc.seats = {0, -1, 0, 0, 3};
  sc.people = 1, sc.byArea = true;
  TGame g(sc);
  TMorvikMachine& m = g.m;
  EXPECT_FALSE(m.CanTakeBack());  // the person has not chosen yet
  EXPECT_FALSE(m.TakeBack());
  EXPECT_FALSE(m.Assisted);
  EXPECT_FALSE(m.SeatHasChosen(1));
  ASSERT_TRUE(m.TakeHumanColor(m.FreeColors[1] ? 1 : 2));
  EXPECT_TRUE(m.SeatHasChosen(1));
  EXPECT_FALSE(m.Assisted);
  ASSERT_TRUE(m.TakeBack());
  EXPECT_TRUE(m.Assisted);
  // The help is the seat's that took its choice back, and that choice is undone.
  EXPECT_EQ(m.AssistedSeats, (std::array<bool, 5>{false, true, false, false, false}));
  EXPECT_FALSE(m.SeatHasChosen(1));
  EXPECT_FALSE(m.CanTakeBack());  // back at the first choice
  m.StartGame();
  m.RunStartLoop();
  EXPECT_FALSE(m.Assisted);
  EXPECT_EQ(m.AssistedSeats, (std::array<bool, 5>{}));
  EXPECT_EQ(m.Hint(0).Color, 0);  // no such seat: no advice, no mark
  EXPECT_EQ(m.Hint(2).Color, 0);
  EXPECT_FALSE(m.Assisted);
  EXPECT_NE(m.Hint(4).Color, 0);
  EXPECT_TRUE(m.Assisted);
  EXPECT_EQ(m.AssistedSeats, (std::array<bool, 5>{false, false, false, false, true}));
  m.EndGame();
  EXPECT_EQ(m.Hint(1).Color, 0);
  EXPECT_FALSE(m.TakeBack());
}

}  // namespace
