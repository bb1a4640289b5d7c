// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer on the board: highlight and perspective, cursor, pressing, dragging off, clicks that
// must do nothing, and highlights that outlive their board.
#include <QAction>
#include <QTimer>

#include "GameFixture.h"

class Pointer : public GameWindow {
 protected:
  void SetUp() override {
    GameWindow::SetUp();
    SetBoard(20, 10, 10);
    Option(soAutostart, false);
    Option(soAutoTurn, false);  // the person's territory changes only by the pointer
    Option(soSkipTurn, false);
    form->Action(TGameAction::MenuStartGame)->trigger();
    ASSERT_TRUE(M().Active);
    ASSERT_TRUE(M().AwaitingHuman);
  }
  // The look of a tile by its style: carved has a light inner rim, concave a light bottom edge.
  TTileStyle StyleOf(int island) {
    const TTilePos p = Map().Islands[size_t(island)].Tiles.front();
    const int s = M().SizeTile, x0 = p.Col * s, y0 = p.Row * s;
    const TTileColors c = GetTileColors(Map().Islands[size_t(island)].Color);
    if (Pixel(x0 + 1, y0 + s - 1) == c.Light) return stConcave;
    if (Pixel(x0 + 3, y0 + s - 3) == c.Light) return stCarved;
    if (Pixel(x0 + 1, y0 + 1) == c.Light) return stConvex;
    return stFlat;
  }
  // Other neighbours of the territory with the same colour as `island`.
  std::vector<int> Perspective(int island) {
    std::vector<int> out;
    const uint16_t t = M().GetGamerIsland(Map(), M().CurrentGamer);
    for (uint16_t n : Map().Islands[t].Neighbours)
      if (n != NoIsland && int(n) != island && !M().IsGamerIsland(Map(), n) &&
          Map().Islands[n].Color == Map().Islands[size_t(island)].Color)
        out.push_back(n);
    return out;
  }
  // A takeable island whose colour has other islands touching the territory, if any.
  int TakeableWithPerspective() {
    const uint16_t t = M().GetGamerIsland(Map(), M().CurrentGamer);
    for (uint16_t n : Map().Islands[t].Neighbours)
      if (n != NoIsland && !M().IsGamerIsland(Map(), n) && M().FreeColors[Map().Islands[n].Color] &&
          !Perspective(n).empty())
        return n;
    return -1;
  }
};

TEST_F(Pointer, HighlightPerspectiveAndCursor) {
  // Find a layout whose first position offers an island with perspective.
  int island = TakeableWithPerspective();
  for (int code = 1; island < 0 && code < 200; ++code) {
    messages.confirmAnswers = {true};
    M().SetCodeGame(code);
    form->StopGame(true);
    form->Action(TGameAction::MenuStartGame)->trigger();
    island = TakeableWithPerspective();
  }
  ASSERT_GE(island, 0);
  const std::vector<int> others = Perspective(island);
  EXPECT_EQ(StyleOf(island), stConvex);
  EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);

  Move(TilePoint(island));
  EXPECT_EQ(form->Board().Pointer().Selected(), island);
  EXPECT_EQ(form->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(StyleOf(island), stCarved);  // tsSelected
  for (int n : others) EXPECT_EQ(StyleOf(n), stCarved) << n;

  Press(TilePoint(island));
  EXPECT_TRUE(form->Board().Pointer().Pressed());
  EXPECT_EQ(StyleOf(island), stConcave);  // tsPressed
  for (int n : others) EXPECT_EQ(StyleOf(n), stConcave) << n;

  // Dragged off the board (left, then past the bottom): the highlight goes.
  Move(QPoint(-3, 5), true);
  EXPECT_EQ(form->Board().Pointer().Selected(), -1);
  EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(StyleOf(island), stConvex);
  for (int n : others) EXPECT_EQ(StyleOf(n), stConvex) << n;
  Move(TilePoint(island), true);
  EXPECT_EQ(StyleOf(island), stConcave);
  Move(QPoint(50, 101 + 4), true);
  EXPECT_EQ(form->Board().Pointer().Selected(), -1);
  Release(QPoint(50, 105));  // released outside: no click
  EXPECT_FALSE(form->Board().Pointer().Pressed());
  EXPECT_EQ(M().Map->Scores[1].Area, 1);

  // Without the perspective option only the island lights up.
  Option(soSelectPerspective, false);
  Move(TilePoint(island));
  EXPECT_EQ(StyleOf(island), stCarved);
  for (int n : others) EXPECT_EQ(StyleOf(n), stConvex) << n;
  Move(QPoint(-1, -1));
  // Without the island option nothing lights up, yet the cursor shows a click would take it.
  Option(soSelectIsland, false);
  Option(soSelectPerspective, true);
  Move(TilePoint(island));
  EXPECT_EQ(form->Board().Pointer().Selected(), island);
  EXPECT_EQ(form->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(StyleOf(island), stConvex);
  Press(TilePoint(island));
  EXPECT_EQ(StyleOf(island), stConcave);
  for (int n : others) EXPECT_EQ(StyleOf(n), stConcave) << n;
  const uint8_t colour = Map().Islands[size_t(island)].Color;
  Release(TilePoint(island));
  EXPECT_EQ(M().GetGamerColor(Map()) == colour || M().CurrentGamer != 1, true);
  EXPECT_GT(M().Map->Scores[1].Area, 1);
}

TEST_F(Pointer, MovingBetweenTakeableIslands) {
  const int first = Takeable();
  int second = -1;
  for (int candidate = 0; candidate < int(Map().Islands.size()); ++candidate)
    if (candidate != first && M().IsNeighbourIsland(Map(), candidate) &&
        M().FreeColors[Map().Islands[size_t(candidate)].Color] &&
        Map().Islands[size_t(candidate)].Color != Map().Islands[size_t(first)].Color)
      second = candidate;
  ASSERT_GE(first, 0);
  ASSERT_GE(second, 0);
  Move(TilePoint(first));
  EXPECT_EQ(StyleOf(first), stCarved);
  Move(TilePoint(second));
  EXPECT_EQ(StyleOf(first), stConvex);
  EXPECT_EQ(StyleOf(second), stCarved);
  EXPECT_EQ(form->Board().Pointer().Selected(), second);
  const uint8_t colour = Map().Islands[size_t(second)].Color;
  Press(TilePoint(second));
  Release(TilePoint(second));
  // The second island's colour was taken (seat 1 may already have changed colour again only by
  // its own later choice, which needs input: so it is that colour now).
  EXPECT_EQ(M().Gamers[1].Kind, gkHuman);
  const TMap& map = Map();
  EXPECT_EQ(map.Islands[M().GetGamerIsland(map, 1)].Color, colour);
}

TEST_F(Pointer, ClicksThatDoNothing) {
  // Own territory, an island that does not touch it, the opponent's territory.
  for (QPoint at : {TerritoryPoint(1), TerritoryPoint(4), QPoint(100, 50)}) {
    const int area = M().Map->Scores[1].Area;
    const uint8_t colour = M().GetGamerColor(Map());
    Click(at);
    if (form->Board().Pointer().Selected() != -1)
      continue;  // the middle of the board may touch nothing
    EXPECT_EQ(M().Map->Scores[1].Area, area);
    EXPECT_EQ(M().GetGamerColor(Map()), colour);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
  }
  // Between games the board takes nothing and has no popup.
  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStopGame)->trigger();
  Click(QPoint(15, 5));
  EXPECT_FALSE(M().Active);
  EXPECT_EQ(form->Board().Widget()->PopupMenu(), nullptr);
  EXPECT_EQ(Pixel(15, 5), ColorIdle);
}

TEST_F(Pointer, KeysOutsideTheColours) {
  const int area = M().Map->Scores[1].Area;
  for (char key : {'8', '9', '0'}) QTest::keyClick(form.get(), key);
  EXPECT_EQ(M().Map->Scores[1].Area, area);
  EXPECT_TRUE(M().AwaitingHuman);
  EXPECT_EQ(M().GetGamerColor(Map()), 0);
}

// The events let run before a click's move may stop the game or start another: the click then
// takes nothing.
TEST_F(Pointer, ClickWhosePendingEventsEndTheGame) {
  const int island = Takeable();
  ASSERT_GE(island, 0);
  Move(TilePoint(island));
  Press(TilePoint(island));
  messages.confirmAnswers = {true};
  QTimer::singleShot(0, form.get(), [this] { form->Action(TGameAction::MenuStopGame)->trigger(); });
  Release(TilePoint(island));
  EXPECT_FALSE(M().Active);
  EXPECT_EQ(form->Board().Pointer().Selected(), -1);

  form->Action(TGameAction::MenuStartGame)->trigger();
  const int again = Takeable();
  ASSERT_GE(again, 0);
  Move(TilePoint(again));
  Press(TilePoint(again));
  messages.confirmAnswers = {true};
  QTimer::singleShot(0, form.get(),
                     [this] { form->Action(TGameAction::MenuStartGame)->trigger(); });
  Release(TilePoint(again));
  ASSERT_TRUE(M().Active);
  EXPECT_TRUE(M().AwaitingHuman);
  EXPECT_EQ(M().Map->Scores[1].Area, 1);  // no move in the new game
  EXPECT_EQ(M().GetGamerColor(Map()), 0);
}

// A highlight of a big board never reaches into the smaller board of the next game.
TEST_F(Pointer, StaleHighlightAcrossGames) {
  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStopGame)->trigger();
  SetBoard(60, 30, 10);
  form->Action(TGameAction::MenuStartGame)->trigger();
  // An island with a high index, far from the start, touching nothing.
  const int last = int(Map().Islands.size()) - 1;
  Move(TilePoint(last));
  EXPECT_EQ(form->Board().Pointer().Selected(), -1);  // not takeable
  const int island = Takeable();
  Move(TilePoint(island));
  ASSERT_EQ(form->Board().Pointer().Selected(), island);
  // Stop and start on a small board: the old index is forgotten.
  form->StopGame(true);
  EXPECT_EQ(form->Board().Pointer().Selected(), -1);
  SetBoard(20, 10, 10);
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_EQ(form->Board().Pointer().Selected(), -1);
  Move(QPoint(5, 5));
  Move(TilePoint(Takeable()));
  EXPECT_GE(form->Board().Pointer().Selected(), 0);
  EXPECT_LT(form->Board().Pointer().Selected(), int(Map().Islands.size()));
}

TEST_F(Pointer, PopupOnlyDuringAGame) {
  EXPECT_EQ(form->Board().Widget()->PopupMenu(),
            form->findChild<QMenu*>(QStringLiteral("pmColor")));
  form->StopGame(true);
  EXPECT_EQ(form->Board().Widget()->PopupMenu(), nullptr);
}

// Two people at one machine: after a click the turn passes on while the pointer still rests on
// the island just taken, now part of the first person's territory. Moving on drops that
// highlight; where the two territories touch, the first one keeps its occupied look.
TEST_F(Pointer, HotSeatDropOfTheTakenIslandKeepsBothTerritories) {
  form->StopGame(true);
  form->State().MultiUserMode = true;
  form->seats[1] = {gkHuman, 0};
  form->seats[3] = {gkHuman, 0};
  form->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(M().AwaitingHuman);
  const TTileStyle occupied = M().TileStyles[tsOccupied];
  ASSERT_NE(occupied, M().TileStyles[tsNeutral]);
  int touching = 0;
  for (int turn = 0; turn < 300 && M().Active && touching < 3; ++turn) {
    const int seat = M().CurrentGamer;
    const int island = Takeable();
    if (island < 0) {  // walled in for now: a colour key, nothing is taken
      for (int k = 1; k <= 7; ++k)
        if (M().FreeColors[size_t(k)]) {
          form->Action(ColorAction(size_t(k)))->trigger();
          break;
        }
      continue;
    }
    Click(TilePoint(island));
    if (!M().Active) break;
    ASSERT_NE(M().CurrentGamer, seat);
    const uint16_t before = M().GetGamerIsland(Map(), seat);
    const uint16_t now = M().GetGamerIsland(Map(), M().CurrentGamer);
    const auto& n = Map().Islands[now].Neighbours;
    if (std::find(n.begin(), n.end(), before) != n.end()) ++touching;
    Move(TerritoryPoint(M().CurrentGamer));
    EXPECT_EQ(form->Board().Pointer().Selected(), -1);
    for (int s : {1, 3}) {
      const uint16_t t = M().GetGamerIsland(Map(), s);
      if (Map().Islands[t].Color != 0) {  // a start tile is black in any look
        EXPECT_EQ(StyleOf(t), occupied) << "seat " << s << ", turn " << turn;
      }
    }
  }
  EXPECT_GE(touching, 1);
}
