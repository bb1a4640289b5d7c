// SPDX-License-Identifier: GPL-3.0-or-later
// Each profile's statistics through the windows: a finished game counted once, a stopped one not
// at all, a game played with help apart; the command's state and key; the dialog's tabs and
// reset; the selected row's chart; the tool bar still whole on the narrowest board.
#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "GameFixture.h"
#include "config/Catalogue.h"
#include "config/GamerStats.h"
#include "config/IniFile.h"
#include "dialogs/UnitStats.h"
#include "gui/ProgressChart.h"

namespace {

const char* const Gamer = "Тестер";

class Stats : public GameWindow {
 protected:
  void SetUp() override {
    GameWindow::SetUp();
    form->State().GamerList = {Gamer};
    Option(soAutostart, false);
    SetBoard(20, 10, 10);
    // The final areas kept to judge the recorded outcome independently.
    form->onResults = [this] {
      person = int(Map().Scores[1].Area);
      computer = int(Map().Scores[4].Area);
    };
    // While a seat is about to move, the statistics cannot be opened.
    M().OnChangeGamer = [this](uint8_t previous) {
      form->OnChangeGamer(previous);
      if (M().Active && !M().AwaitingHuman)
        movingWithStatsOn += form->Action(TGameAction::MenuStats)->isEnabled();
    };
  }
  void ChooseAnyColour() {
    ASSERT_TRUE(M().AwaitingHuman);
    EXPECT_TRUE(form->Action(TGameAction::MenuStats)->isEnabled());
    for (int k = 1; k <= 7; ++k)
      if (M().FreeColors[k]) return form->Action(ColorAction(size_t(k)))->trigger();
  }
  void PlayToEnd() {
    for (int moves = 0; M().Active && moves < 400; ++moves) ChooseAnyColour();
    ASSERT_FALSE(M().Active);
    EXPECT_TRUE(form->Action(TGameAction::MenuStats)->isEnabled());
  }
  TStatsRecord Record(const std::string& group) {
    return ReadGamerStats(form->IniFile(), Gamer).Record(group);
  }
  std::vector<std::string> Section() {
    return form->IniFile().ReadSectionValues(cfg::StatsSection(Gamer));
  }

  int person = -1, computer = -1;
  int movingWithStatsOn = 0;
};

TEST_F(Stats, FinishedGamesCountOnceStoppedOnesNotAndHelpedOnesApart) {
  const std::string classic = ClassicStatsGroup(1, 1, true), total = TotalStatsGroup(true);
  EXPECT_TRUE(form->Action(TGameAction::MenuStats)->isEnabled());
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayToEnd();
  ASSERT_GE(person, 0);
  // Area in tenths of a percent of 200 tiles; a tie goes to seat 1, ranked first.
  const bool won = person >= computer;
  const TStatsRecord expected{1, won, !won, person * 5, person * 5, won, won};
  EXPECT_EQ(Record(classic), expected);
  EXPECT_EQ(Record(total), expected);
  // The mode's group and the total, nothing else: seven counters and the history each.
  EXPECT_EQ(Section().size(), 16u);
  const std::string result = (won ? "W" : "L") + std::to_string(person * 5);
  EXPECT_EQ(form->IniFile().ReadString(cfg::StatsSection(Gamer), total + "_History", ""), result);
  EXPECT_EQ(movingWithStatsOn, 0);

  // A game stopped before the person chose leaves the file as it was; stopped after a choice,
  // by any of the ways a game is left, it counts as stopped and ends the winning streak.
  const std::vector<std::string> before = Section();
  form->Action(TGameAction::MenuStartGame)->trigger();
  form->Action(TGameAction::MenuStopGame)->trigger();
  ASSERT_FALSE(M().Active);
  EXPECT_EQ(Section(), before);
  const std::pair<const char*, std::function<void()>> stops[] = {
      {"Стоп", [this] { form->Action(TGameAction::MenuStopGame)->trigger(); }},
      {"Старт", [this] { form->Action(TGameAction::MenuStartGame)->trigger(); }},
  };
  TStatsRecord stopped = expected;
  for (const auto& [how, stop] : stops) {
    form->Action(TGameAction::MenuStartGame)->trigger();
    ChooseAnyColour();
    ASSERT_TRUE(M().Active);
    stop();
    ++stopped.Games;
    ++stopped.Stopped;
    stopped.Streak = 0;
    EXPECT_EQ(Record(classic), stopped) << how;
    EXPECT_EQ(Record(total), stopped) << how;
  }
  form->Action(TGameAction::MenuStopGame)->trigger();  // the game "Старт" began, before any choice

  // A game with a hint or a take-back counts in its own groups only.
  form->Action(TGameAction::MenuStartGame)->trigger();
  ChooseAnyColour();
  M().Assisted = true;
  PlayToEnd();
  EXPECT_EQ(Record(classic), stopped);
  EXPECT_EQ(Record(total), stopped);
  EXPECT_EQ(Record(AssistedStatsGroup(total)).Games, 1);
  EXPECT_EQ(Record(AssistedStatsGroup(classic)).Best, person * 5);
  EXPECT_EQ(form->events, (std::vector<std::string>{"results", "results"}));
  EXPECT_EQ(movingWithStatsOn, 0);

  // Closing the window during a game keeps the game for the profile, to be continued: it is
  // not over, and no stop is counted.
  form->Action(TGameAction::MenuStartGame)->trigger();
  ChooseAnyColour();
  messages.confirmAnswers = {true};
  EXPECT_TRUE(form->close());
  EXPECT_EQ(Record(total).Stopped, 2);
}

TEST_F(Stats, DialogShowsEachTabAndResetsAfterConfirmation) {
  // A win by area on the small board against level 2, a loss by points, a three-seat
  // multi-user game and a helped game.
  auto game = [](bool byArea, bool multi, bool assisted, int32_t mine, int32_t theirs) {
    TStatsGame g;
    g.ByArea = byArea;
    g.MultiUser = multi;
    g.Level = 2;
    g.SizeIndex = 0;
    g.Assisted = assisted;
    g.Seats[1] = {true, true, Gamer, 0, mine};
    g.Seats[4] = {true, false, "", 0, theirs};
    if (multi) g.Seats[2] = {true, false, "", 0, 0};
    g.Seats[1].Won = mine >= theirs;
    g.Seats[4].Won = !g.Seats[1].Won;
    return g;
  };
  TIniFile& ini = form->IniFile();
  ASSERT_TRUE(RecordGameStats(ini, game(true, false, false, 601, 399)));
  ASSERT_TRUE(RecordGameStats(ini, game(false, false, false, 40, 90)));
  ASSERT_TRUE(RecordGameStats(ini, game(true, true, false, 350, 300)));
  ASSERT_TRUE(RecordGameStats(ini, game(true, false, true, 700, 300)));

  // F4 opens it, modal, over the idle window.
  dialogs.Stats = new TFormStats(ini, form->Messages(), form->State(), platform, form.get());
  form->SetDialogs(dialogs);
  TFormStats& stats = *dialogs.Stats;
  QWidget* opened = nullptr;
  QPoint off;
  form->show();
  form->move(form->pos() + QPoint(40, 30));  // off the screen's centre
  QApplication::processEvents();
  QTimer::singleShot(0, [&] {
    opened = QApplication::activeModalWidget();
    off = stats.frameGeometry().center() - form->frameGeometry().center();
    // A dialog wider than the room beside the window is kept on the screen.
    const QRect area = platform.WorkArea(stats);
    if (stats.frameGeometry().left() == area.left() ||
        stats.frameGeometry().right() == area.right())
      off.setX(0);
    stats.btnClose->click();
  });
  QTest::keyClick(form.get(), Qt::Key_F4);
  ASSERT_EQ(opened, &stats);
  EXPECT_LE(off.manhattanLength(), 2) << off.x() << "," << off.y();  // centred on the window
  EXPECT_EQ(stats.windowTitle(), QStringLiteral("Статистика"));

  stats.show();
  auto rows = [&stats] {
    QStringList out;
    for (int r = 1; r < stats.RowCount(); ++r) {
      QStringList cells;
      for (int c = 0; c < TFormStats::ColCount; ++c) cells << stats.Cell(r, c);
      out << cells.join('|');
    }
    return out;
  };
  ASSERT_EQ(stats.tcStats->count(), 4);
  EXPECT_EQ(stats.Cell(0, 0), QStringLiteral("Игра"));
  stats.tcStats->setCurrentIndex(0);
  EXPECT_EQ(rows(), QStringList({"Умеренный, карта маленькая, по площади|1|1|0|0|60,1 %|60,1 %|1|1",
                                 "Умеренный, карта маленькая, по очкам|1|0|1|0|40|40|0|0"}));
  stats.tcStats->setCurrentIndex(1);
  EXPECT_EQ(rows(), QStringList({"3 места, по площади|1|1|0|0|35,0 %|35,0 %|1|1"}));
  stats.tcStats->setCurrentIndex(2);
  // The total by area: 60.1 % and 35.0 %, a streak of two wins.
  EXPECT_EQ(rows(), QStringList({"Всего, по площади|2|2|0|0|60,1 %|47,6 %|2|2",
                                 "Всего, по очкам|1|0|1|0|40|40|0|0"}));
  stats.tcStats->setCurrentIndex(3);
  EXPECT_EQ(rows(), QStringList({"Умеренный, карта маленькая, по площади|1|1|0|0|70,0 %|70,0 %|1|1",
                                 "Всего, по площади|1|1|0|0|70,0 %|70,0 %|1|1"}));

  // Counters damaged by hand show as unknown, and the largest true ones stay whole: every cell
  // and heading fits its column, on every tab.
  const std::string section = cfg::StatsSection(Gamer);
  ASSERT_TRUE(ini.WriteStrings(section, {{"Multi4_Points_Games", "2147483647"},
                                         {"Multi4_Points_Wins", "2147483647"},
                                         {"Multi4_Points_Best", "2147483647"},
                                         {"Multi4_Points_Sum", "2147483647"},
                                         {"Multi4_Points_Streak", "2147483647"},
                                         {"Multi4_Points_LongestStreak", "2147483647"},
                                         {"Multi2_Area_Games", "5"},
                                         {"Multi2_Area_Wins", "50"},
                                         {"Multi2_Area_Best", "100000"}}));
  stats.tcStats->setCurrentIndex(1);
  EXPECT_EQ(rows().filter(QStringLiteral("2 места")),
            QStringList({"2 места, по площади|—|—|—|—|—|—|—|—"}));
  const QFontMetrics metrics(stats.sgStats->font());
  for (int tab = 0; tab < stats.tcStats->count(); ++tab) {
    stats.tcStats->setCurrentIndex(tab);
    for (int r = 0; r < stats.RowCount(); ++r)
      for (int c = 0; c < TFormStats::ColCount; ++c)
        EXPECT_LE(metrics.horizontalAdvance(stats.Cell(r, c)) + 8, stats.sgStats->columnWidth(c))
            << tab << " " << stats.Cell(r, c).toStdString();
  }
  int columns = 0;
  for (int c = 0; c < TFormStats::ColCount; ++c) columns += stats.sgStats->columnWidth(c);
  EXPECT_LE(columns, stats.sgStats->viewport()->width());
  ASSERT_TRUE(ini.EraseSection(section));
  ASSERT_TRUE(RecordGameStats(ini, game(true, false, true, 700, 300)));
  stats.ShowStats();  // the tab of games with help: two rows

  // "Сброс" asks first; "Нет" keeps everything, "Да" empties the profile's statistics only.
  ASSERT_TRUE(ini.WriteString(cfg::StatsSection("Другой"), "Total_Area_Games", "5"));
  ASSERT_TRUE(stats.btnReset->isEnabled());
  messages.confirmAnswers = {false, true};
  stats.btnReset->click();
  EXPECT_EQ(rows().size(), 2);
  stats.btnReset->click();
  EXPECT_EQ(messages.Texts("confirm"),
            (std::vector<std::string>(2, "Сброс всей статистики игрока " + std::string(Gamer) +
                                             " на всех вкладках.\r\nВы уверены?")));
  EXPECT_FALSE(ini.SectionExists(cfg::StatsSection(Gamer)));
  EXPECT_TRUE(ini.SectionExists(cfg::StatsSection("Другой")));
  EXPECT_EQ(rows(), QStringList({"Нет сыгранных игр||||||||"}));
  EXPECT_FALSE(stats.btnReset->isEnabled());
  stats.close();
}

// "Сброс" is offered for a profile with anything stored, on any tab: games of any kind alone,
// helped games alone, damaged counters alone; not for a profile with nothing.
TEST_F(Stats, ResetIsOfferedForAnyStoredStatisticsAndOnlyThen) {
  TIniFile& ini = form->IniFile();
  TFormStats stats(ini, form->Messages(), form->State(), platform, form.get());
  const std::string section = cfg::StatsSection(Gamer);
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"nothing", {}},
      {"classic only", {ClassicStatsGroup(2, 0, true) + "_Games=1"}},
      {"multi-user only", {MultiStatsGroup(3, false) + "_Games=1"}},
      {"helped games only",
       {AssistedStatsGroup(TotalStatsGroup(true)) + "_Games=1",
        AssistedStatsGroup(ClassicStatsGroup(1, 1, true)) + "_Games=1"}},
      {"damaged only", {TotalStatsGroup(true) + "_Wins=7"}},
      {"history only", {TotalStatsGroup(false) + "_History=W40"}},
  };
  for (const auto& [what, lines] : cases) {
    ASSERT_TRUE(ini.EraseSection(section));
    for (const std::string& line : lines) {
      const size_t eq = line.find('=');
      ASSERT_TRUE(ini.WriteString(section, line.substr(0, eq), line.substr(eq + 1)));
    }
    for (int tab = 0; tab < stats.tcStats->count(); ++tab) {
      stats.tcStats->setCurrentIndex(tab);
      stats.ShowStats();
      EXPECT_EQ(stats.btnReset->isEnabled(), !lines.empty()) << what << ", tab " << tab;
    }
  }
}

TEST_F(Stats, ToolBarStillWholeOnTheNarrowestBoard) {
  SetBoard(39, 10, 10);  // 390 pixels, the narrowest the settings allow
  QApplication::processEvents();
  QWidget* button = form->findChild<QToolBar*>(QStringLiteral("atbGame"))
                        ->widgetForAction(form->Action(TGameAction::MenuStats));
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isVisible());
  EXPECT_LE(button->geometry().right(),
            form->findChild<QToolBar*>(QStringLiteral("atbGame"))->contentsRect().right());
  EXPECT_LE(form->findChild<QToolBar*>(QStringLiteral("atbGame"))->sizeHint().width(),
            form->width());
  EXPECT_FALSE(form->Action(TGameAction::MenuStats)->icon().isNull());
  EXPECT_EQ(form->Action(TGameAction::MenuStats)->shortcut(), QKeySequence(Qt::Key_F4));
}

// The chart follows the selected row: its last results in order with their summary in words (the
// widget's accessible name), the empty state for a row without them, a reset clearing it; drawn
// below the table, as wide as it, with a win's marker in its colour and the baseline a sharp line
// of whole device pixels, at normal and double scale.
TEST_F(Stats, ChartShowsTheSelectedRowsResults) {
  TIniFile& ini = form->IniFile();
  // Area by tenths of a percent: two wins and a loss on the small board against level 2.
  for (int32_t mine : {601, 350, 550}) {
    TStatsGame g;
    g.Level = 2;
    g.SizeIndex = 0;
    g.Seats[1] = {true, true, Gamer, 0, mine, mine > 500};
    g.Seats[4] = {true, false, "", 0, 1000 - mine, mine <= 500};
    ASSERT_TRUE(RecordGameStats(ini, g));
  }
  // Counters written before the history was kept: a row with no chart.
  ASSERT_TRUE(ini.WriteStrings(cfg::StatsSection(Gamer), {{"Classic3_Size2_Area_Games", "1"},
                                                          {"Classic3_Size2_Area_Losses", "1"},
                                                          {"Classic3_Size2_Area_Best", "100"},
                                                          {"Classic3_Size2_Area_Sum", "100"}}));
  TFormStats stats(ini, form->Messages(), form->State(), platform, form.get());
  stats.show();
  TProgressChart& chart = *stats.iProgress;
  const TStatsHistory three{{true, 601}, {false, 350}, {true, 550}};
  EXPECT_EQ(chart.History(), three);  // the first row is selected
  EXPECT_EQ(chart.accessibleName(),
            QStringLiteral("Последние 3 игры: 2 победы, 1 поражение, средний результат 50,0 %"));
  EXPECT_GT(chart.geometry().top(), stats.sgStats->geometry().bottom());
  EXPECT_EQ(chart.width(), stats.sgStats->width());
  EXPECT_LE(stats.frameGeometry().height(), 768 - 40);  // the smallest screen, with a task bar

  for (const qreal ratio : {1.0, 1.5, 2.0}) {  // device pixels per logical pixel
    const int hair = int(std::lround(ratio));  // a line one logical pixel wide
    QImage picture(chart.size() * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    chart.render(&picture);
    int winPixels = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        winPixels += picture.pixel(x, y) == qRgb(0x2e, 0x7d, 0x32);
    EXPECT_GE(winPixels, 2 * 21 * hair * hair) << ratio;  // two whole disks, and the legend's
    std::vector<int> baseline;  // rows of the axis' colour across the plot, the frame's left out
    const QRgb axis = chart.palette().mid().color().rgb();
    for (int y = hair; y + hair < picture.height(); ++y)
      if (picture.pixel(picture.width() / 2, y) == axis &&
          picture.pixel(picture.width() / 3, y) == axis)
        baseline.push_back(y);
    ASSERT_EQ(baseline.size(), size_t(hair)) << ratio;
    EXPECT_EQ(baseline.back() - baseline.front(), hair - 1) << ratio;
  }

  // A row without results shows the empty state.
  ASSERT_EQ(stats.RowGroup(2), ClassicStatsGroup(3, 2, true));
  stats.sgStats->selectRow(2);
  EXPECT_TRUE(chart.History().empty());
  EXPECT_EQ(chart.accessibleName(), TProgressChart::EmptyText());
  // Read again (after a game), the selected row stays; another tab shows its first row; a reset
  // empties the chart.
  stats.ShowStats();
  EXPECT_EQ(stats.RowGroup(stats.sgStats->selectedItems().front()->row()),
            ClassicStatsGroup(3, 2, true));
  EXPECT_TRUE(chart.History().empty());
  stats.tcStats->setCurrentIndex(2);
  EXPECT_EQ(chart.History(), three);  // the total by area
  messages.confirmAnswers = {true};
  stats.btnReset->click();
  EXPECT_EQ(chart.accessibleName(), TProgressChart::EmptyText());
}

// The summary agrees in number with every count, as Russian does.
TEST(ProgressSummary, AgreesInNumber) {
  const std::pair<std::vector<int>, const char*> cases[] = {
      {{1, 0}, "Последняя 1 игра: 1 победа, 0 поражений, средний результат 1"},
      {{2, 3}, "Последние 5 игр: 2 победы, 3 поражения, средний результат 1"},
      {{11, 10}, "Последняя 21 игра: 11 побед, 10 поражений, средний результат 1"},
      {{21, 1}, "Последние 22 игры: 21 победа, 1 поражение, средний результат 1"},
      {{14, 0}, "Последние 14 игр: 14 побед, 0 поражений, средний результат 1"},
      {{52, 48}, "Последние 100 игр: 52 победы, 48 поражений, средний результат 1"},
  };
  for (const auto& [counts, text] : cases) {
    TStatsHistory h(size_t(counts[0]), {true, 1});
    h.resize(h.size() + size_t(counts[1]), {false, 1});
    EXPECT_EQ(ProgressSummary(h, false), QString::fromUtf8(text));
  }
  EXPECT_EQ(ProgressSummary({{true, 1000}, {false, 5}}, true),
            QStringLiteral("Последние 2 игры: 1 победа, 1 поражение, средний результат 50,3 %"));
  EXPECT_TRUE(ProgressSummary({}, true).isEmpty());
}

}  // namespace
