// SPDX-License-Identifier: GPL-3.0-or-later
// Hint and take-back through the window: when they may be used, what the board and the status
// show, and that a take-back leaves the window as a fresh drawing of the earlier position would.
#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "GameFixture.h"

namespace {

// What a player sees of a waiting position apart from the board.
struct TView {
  std::array<QString, 5> panels;  // the four scores and the status text
  std::array<bool, 8> colours{};
  bool operator==(const TView&) const = default;
};

}  // namespace

class Coach : public GameWindow {
 protected:
  void SetUp() override {
    GameWindow::SetUp();
    SetBoard(20, 10, 10);
    Option(soAutostart, false);
    Option(soAutoTurn, false);
    Option(soSkipTurn, false);
  }
  void Start() {
    form->Action(TGameAction::MenuStartGame)->trigger();
    ASSERT_TRUE(M().Active);
    ASSERT_TRUE(M().AwaitingHuman);
  }
  TView View() {
    TView v;
    for (int i = 0; i < 5; ++i) v.panels[size_t(i)] = Panel(i);
    for (int k = 1; k <= 7; ++k)
      v.colours[size_t(k)] = form->Action(ColorAction(size_t(k)))->isEnabled();
    return v;
  }
  QImage Board() { return form->Board().MapImage().copy(); }
  // The first colour that is free for the person, as a key press.
  uint8_t PlayAnyColour() {
    for (uint8_t k = 1; k <= 7; ++k) {
      if (!M().FreeColors[k]) continue;
      QTest::keyClick(form.get(), Qt::Key(Qt::Key_0 + k));
      return k;
    }
    return 0;
  }
  // Tiles of the given islands.
  std::vector<QRect> Tiles(const std::vector<uint16_t>& islands) {
    std::vector<QRect> out;
    const int s = M().SizeTile;
    for (uint16_t i : islands)
      for (const TTilePos& p : Map().Islands[i].Tiles)
        out.emplace_back(p.Col * s, p.Row * s, s + 1, s + 1);
    return out;
  }
};

TEST_F(Coach, CommandsAreEnabledOnlyWhenTheyCanBeUsed) {
  EXPECT_FALSE(form->Action(TGameAction::MenuHint)->isEnabled());
  EXPECT_FALSE(form->Action(TGameAction::MenuUndo)->isEnabled());
  EXPECT_EQ(form->Action(TGameAction::MenuHint)->shortcut(), QKeySequence(Qt::Key_F9));
  EXPECT_EQ(form->Action(TGameAction::MenuUndo)->shortcuts(),
            QList<QKeySequence>(
                {QKeySequence(QStringLiteral("Ctrl+Z")), QKeySequence(QStringLiteral("Ctrl+Я"))}));
  EXPECT_EQ(form->Action(TGameAction::MenuHint)->toolTip(), QStringLiteral("Подсказать цвет"));

  Start();
  EXPECT_TRUE(form->Action(TGameAction::MenuHint)->isEnabled());
  EXPECT_FALSE(form->Action(TGameAction::MenuUndo)->isEnabled());  // nothing chosen yet

  // While the computer moves both are off, and their keys do nothing.
  bool checked = false;
  QTimer::singleShot(0, form.get(), [&] {
    checked = true;
    EXPECT_FALSE(M().AwaitingHuman);
    EXPECT_FALSE(form->Action(TGameAction::MenuHint)->isEnabled());
    EXPECT_FALSE(form->Action(TGameAction::MenuUndo)->isEnabled());
    form->Commands().Run(TGameAction::MenuHint);
    form->Commands().Run(TGameAction::MenuUndo);
    EXPECT_FALSE(Panel(4).startsWith(QStringLiteral("Совет")));
  });
  PlayAnyColour();
  EXPECT_TRUE(checked);
  ASSERT_TRUE(M().AwaitingHuman);
  EXPECT_FALSE(M().Assisted);
  EXPECT_TRUE(form->Action(TGameAction::MenuHint)->isEnabled());
  EXPECT_TRUE(form->Action(TGameAction::MenuUndo)->isEnabled());

  QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(M().Assisted);
  EXPECT_EQ(Map().Scores[1].Area, 1);
  EXPECT_TRUE(form->Action(TGameAction::MenuHint)->isEnabled());
  EXPECT_FALSE(form->Action(TGameAction::MenuUndo)->isEnabled());  // back at the first choice

  // A game of two people at one keyboard offers hints but no take-back.
  messages.confirmAnswers = {true};
  form->State().MultiUserMode = true;
  form->seats = {{{}, {gkHuman, 0}, {gkHuman, 0}, {}, {}}};
  form->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(M().AwaitingHuman);
  EXPECT_FALSE(M().Assisted);
  PlayAnyColour();
  EXPECT_TRUE(form->Action(TGameAction::MenuHint)->isEnabled());
  EXPECT_FALSE(form->Action(TGameAction::MenuUndo)->isEnabled());

  messages.confirmAnswers = {true};
  form->Action(TGameAction::MenuStopGame)->trigger();
  EXPECT_FALSE(form->Action(TGameAction::MenuHint)->isEnabled());
  EXPECT_FALSE(form->Action(TGameAction::MenuUndo)->isEnabled());
}

TEST_F(Coach, HintLightsTheIslandsOfTheAdvisedColourUntilThePointerMoves) {
  Start();
  PlayAnyColour();
  ASSERT_TRUE(M().AwaitingHuman);
  const QImage before = Board();
  const TView view = View();
  const std::string name = M().Gamers[1].Name;

  // The advice of an independent machine on the same position.
  const uint8_t seat = M().CurrentGamer;
  QTest::keyClick(form.get(), Qt::Key_F9);
  EXPECT_TRUE(M().Assisted);
  const THint hint = M().Hint(seat);
  ASSERT_GE(hint.Color, 1);
  ASSERT_FALSE(hint.Islands.empty());
  EXPECT_EQ(Panel(4), QStringLiteral("Совет: ") + form->Action(ColorAction(hint.Color))->text());
  EXPECT_EQ(M().CurrentGamer, seat);
  EXPECT_TRUE(M().AwaitingHuman);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Panel(i), view.panels[size_t(i)]);

  // Exactly the advised islands change, each to the selected look of its own colour with the
  // hint's mark, which the pointer's highlight of the same islands lacks.
  const QImage lit = Board();
  for (uint16_t island : hint.Islands) form->Board().DrawIsland(island, tsSelected, false);
  EXPECT_NE(Board(), lit);
  for (uint16_t island : hint.Islands) form->Board().DrawIsland(island, tsHinted, false);
  EXPECT_EQ(Board(), lit);  // drawing them hinted again changes nothing
  const std::vector<QRect> tiles = Tiles(hint.Islands);
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x) {
      const bool inside =
          std::any_of(tiles.begin(), tiles.end(), [&](const QRect& r) { return r.contains(x, y); });
      if (!inside) {
        ASSERT_EQ(lit.pixel(x, y), before.pixel(x, y)) << x << "," << y;
      }
    }
  EXPECT_NE(lit, before);

  // The pointer moving onto the territory ends it as it ends its own highlight.
  Move(TerritoryPoint(seat));
  EXPECT_EQ(Board(), before);
  EXPECT_EQ(View(), view);
  // A click where the pointer rests (the territory) takes nothing, hint or not.
  QTest::keyClick(form.get(), Qt::Key_F9);
  EXPECT_NE(Board(), before);
  Press(TerritoryPoint(seat));
  Release(TerritoryPoint(seat));
  EXPECT_EQ(Board(), before);
  EXPECT_EQ(View(), view);
  EXPECT_EQ(Panel(4), QString::fromStdString(name));

  // Choosing a colour ends it too: no advised island keeps the selected look.
  QTest::keyClick(form.get(), Qt::Key_F9);
  uint8_t other = 0;
  for (uint8_t k = 1; k <= 7 && !other; ++k)
    if (M().FreeColors[k] && k != hint.Color) other = k;
  ASSERT_NE(other, 0);
  const std::vector<uint16_t> advised = hint.Islands;
  form->Action(ColorAction(other))->trigger();
  ASSERT_TRUE(M().Active);
  const QImage after = Board();
  for (uint16_t island : advised) {
    if (M().IsGamerIsland(Map(), island)) continue;
    form->Board().DrawIsland(island, tsNeutral, false);
    EXPECT_EQ(Board(), after) << island;
  }
}

TEST_F(Coach, TakeBacksRestoreWhatTheWindowShowedStepByStep) {
  Start();
  std::vector<TView> views;
  std::vector<std::array<TGamerScore, 5>> scores;
  for (int i = 0; i < 4 && M().AwaitingHuman; ++i) {
    views.push_back(View());
    scores.push_back(M().Map->Scores);
    PlayAnyColour();
  }
  ASSERT_EQ(views.size(), 4u);
  ASSERT_TRUE(M().AwaitingHuman);
  for (int i = 3; i >= 0; --i) {
    ASSERT_TRUE(form->Action(TGameAction::MenuUndo)->isEnabled()) << i;
    // Ctrl+Z and, as the Russian layout reports the same key, Ctrl+Я.
    if (i % 2)
      QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    else
      QTest::sendKeyEvent(QTest::Click, form.get(), Qt::Key(0x042F), QStringLiteral("я"),
                          Qt::ControlModifier);
    EXPECT_EQ(View(), views[size_t(i)]) << i;
    EXPECT_EQ(M().Map->Scores[1].Area, scores[size_t(i)][1].Area) << i;
    EXPECT_EQ(M().Map->Scores[4].Area, scores[size_t(i)][4].Area) << i;
    // The whole position drawn again, outline of the seat to move included.
    const QImage shown = Board();
    form->Board().ShowPosition();
    EXPECT_EQ(Board(), shown) << i;
  }
  EXPECT_FALSE(form->Action(TGameAction::MenuUndo)->isEnabled());
  EXPECT_EQ(M().Map->Scores[1].Area, 1);
}

TEST_F(Coach, CommandsSitAfterTheOthersAndTheBarFitsTheNarrowestWindow) {
  auto texts = [](const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
  };
  EXPECT_EQ(texts(form->findChild<QMenu*>(QStringLiteral("miGame"))->actions()),
            QStringList({"Старт", "Продолжить игру", "Стоп", "Подсказка", "Отменить ход", "-",
                         "Игроки", "Зал славы", "Статистика", "-", "Сохранить игру…",
                         "Открыть игру…", "-", "Выход"}));
  const QList<QAction*> bar = form->findChild<QToolBar*>(QStringLiteral("atbGame"))->actions();
  ASSERT_GE(bar.size(), 3);
  EXPECT_EQ(bar[bar.size() - 3], form->Action(TGameAction::MenuHint));
  EXPECT_EQ(bar[bar.size() - 2], form->Action(TGameAction::MenuUndo));
  EXPECT_EQ(bar.back(), form->Action(TGameAction::MenuStats));

  SetBoard(39, 10, 10);  // 390 pixels, the narrowest the settings allow
  QCoreApplication::processEvents();
  for (QAction* a : {form->Action(TGameAction::MenuHint), form->Action(TGameAction::MenuUndo)}) {
    QWidget* button = form->findChild<QToolBar*>(QStringLiteral("atbGame"))->widgetForAction(a);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    const QRect inWindow(button->mapTo(form.get(), QPoint(0, 0)), button->size());
    EXPECT_LE(inWindow.right(), form->width() - 1);
  }
}
