// SPDX-License-Identifier: GPL-3.0-or-later
// The board shown after any operation equals the board drawn afresh for the same position and
// options: random layouts and board sizes, random sequences of moves, take-backs, option changes
// during the game, hints ended by the pointer, pointer highlights dropped, and a covered window
// painted again.
#include <QAction>
#include <random>

#include "GameFixture.h"

namespace {

class DrawingPath : public GameWindow {
 protected:
  // The position drawn by a painter of its own: every island, then the territory to move.
  QImage Fresh() {
    const TMapPainter& shown = form->Board().Painter();
    TMapPainter p;
    p.Resize(shown.Width(), shown.Height());
    p.SetTileSigns(shown.TileSigns());
    const TBoardView view = MakeBoardView(M(), form->State().Option(soSelectBoundary));
    p.DrawMap(view);
    p.DrawIsland(view, M().GetGamerIsland(Map(), M().CurrentGamer), tsOccupied, false);
    return QImage(reinterpret_cast<const uchar*>(p.Bits()), p.Width(), p.Height(),
                  QImage::Format_RGB32)
        .copy();
  }
  void ChooseColour(std::mt19937& rng) {
    std::vector<int> free;
    for (int k = 1; k <= 7; ++k)
      if (M().FreeColors[k]) free.push_back(k);
    if (!free.empty()) form->Action(ColorAction(free[rng() % free.size()]))->trigger();
  }
  void ChangeOptions(std::mt19937& rng) {
    TGameOptions o = form->State().Options;
    o.Looks[rng() % 4] = int(rng() % 4);
    o.TileSigns = rng() % 2;
    o.SizeTile = 4;  // "Особая"
    o.CustomTile = 8 + int(rng() % 8);
    o.SelectOptions = uint8_t(o.SelectOptions ^ (rng() % 2 ? soSelectBoundary : 0));
    form->Setup().ApplyOptions(o);
  }
  void RestAtTerritory() { Move(TerritoryPoint(M().CurrentGamer)); }
};

TEST_F(DrawingPath, EveryRouteShowsWhatAFreshDrawingShows) {
  constexpr int kLayouts = 10, kOperations = 40;
  std::mt19937 rng(5081);
  Option(soAutostart, false);
  int checked = 0;
  for (int layout = 0; layout < kLayouts; ++layout) {
    SetBoard(6 + int(rng() % 30), 5 + int(rng() % 20), 8 + int(rng() % 8));
    M().SetCodeGame(int32_t(rng() % 1000000));
    Option(soSelectBoundary, true);
    Option(soSelectIsland, rng() % 2);
    Option(soSelectPerspective, rng() % 2);
    form->Action(TGameAction::MenuStartGame)->trigger();
    for (int op = 0; op < kOperations && M().Active; ++op) {
      ASSERT_TRUE(M().AwaitingHuman);
      const unsigned kind = rng() % 6;
      switch (kind) {
        case 0:
          ChooseColour(rng);
          break;
        case 1:
          form->Action(TGameAction::MenuUndo)->trigger();
          break;
        case 2:
          ChangeOptions(rng);
          break;
        case 3:  // a hint, ended by the pointer
          form->Action(TGameAction::MenuHint)->trigger();
          RestAtTerritory();
          break;
        case 4:  // a highlight, dropped
          if (const int island = Takeable(); island >= 0) Move(TilePoint(island));
          RestAtTerritory();
          break;
        case 5: {  // the window covered and painted again
          form->Board().Widget()->repaint();
          const QImage painted =
              form->Board().Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
          ASSERT_EQ(painted.copy(0, 0, Fresh().width(), Fresh().height()), Fresh())
              << "layout " << layout << " operation " << op;
          break;
        }
      }
      if (!M().Active) break;
      ASSERT_EQ(form->Board().MapImage().convertToFormat(QImage::Format_RGB32), Fresh())
          << "layout " << layout << " operation " << op << " kind " << kind;
      ++checked;
    }
    if (M().Active) {
      messages.confirmAnswers = {true};
      form->Action(TGameAction::MenuStopGame)->trigger();
    }
  }
  EXPECT_GT(checked, kLayouts * kOperations / 2);
}

}  // namespace
