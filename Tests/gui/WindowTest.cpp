// SPDX-License-Identifier: GPL-3.0-or-later
// The window as created: actions, menus, bars, status bar, settings file, geometry, panels.
#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QToolBar>

#include "GameFixture.h"
#include "config/IniFile.h"
#include "gui/MenuTips.h"

namespace {

QStringList Entries(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

}  // namespace

TEST_F(GameWindow, ActionTableAsBuilt) {
  struct Row {
    QAction* action;
    const char* caption;
    const char* hint;
    QKeySequence shortcut;
    int icon;
    bool enabled;
  };
  const Row rows[] = {
      {form->Action(TGameAction::MenuStartGame), "Старт", "Стартовать новую игру", Qt::Key_F2, 8,
       true},
      {form->Action(TGameAction::MenuStopGame), "Стоп", "Остановить текущую игру", Qt::Key_F3, 9,
       false},
      {form->Action(TGameAction::MenuGamers), "Игроки", "Игроки", Qt::Key_F5, 14, true},
      {form->Action(TGameAction::MenuHallOfFame), "Зал славы", "Зал славы", Qt::Key_F6, 13, true},
      {form->Action(TGameAction::MenuExit), "Выход", "Выход из программы", {}, 7, true},
      {form->Action(TGameAction::SettingsMusic), "Музыка", "Выключить музыку",
       QKeySequence("Ctrl+M"), 21, true},
      {form->Action(TGameAction::SettingsSetCodeGame), "Установить расклад",
       "Установить расклад для раунда", QKeySequence("Ctrl+R"), 16, true},
      {form->Action(TGameAction::MenuSettings), "Настройки", "Настройки игры", Qt::Key_F7, 10,
       true},
      {form->Action(TGameAction::MenuSettingsMultiUser), "Многопольз. игра",
       "Настройки многопользовательской игры", Qt::Key_F8, 19, true},
      {form->Action(TGameAction::HelpMaintenanse), "Содержание", "Справка по программе", Qt::Key_F1,
       11, true},
      // No mail address exists: the command is kept, hidden and disabled.
      {form->Action(TGameAction::HelpMail),
       "Написать письмо",
       "Написать письмо разработчику",
       {},
       24,
       false},
      {form->Action(TGameAction::HelpForum), "Форум \"Morvik\"", nullptr, {}, 25, false},
      {form->Action(TGameAction::MainBoss), "Босс",
       "Спрятать программу в трей\nВозврат - двойной клик на пустом месте",
       QKeySequence("Shift+Ctrl+F8"), 15, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.caption);
    EXPECT_EQ(r.action->text(), QString::fromUtf8(r.caption));
    if (r.hint) {
      EXPECT_EQ(r.action->toolTip(), QString::fromUtf8(r.hint));
    }
    EXPECT_EQ(r.action->shortcut(), r.shortcut);
    EXPECT_EQ(r.action->icon().cacheKey(), form->ilColor(r.icon).cacheKey());
    EXPECT_EQ(r.action->isEnabled(), r.enabled);
  }
  // The mode pair is exclusive, classic ticked.
  EXPECT_TRUE(form->Action(TGameAction::SettingsGameClassic)->isChecked());
  EXPECT_FALSE(form->Action(TGameAction::SettingsGameMultiUser)->isChecked());
  form->Action(TGameAction::SettingsGameMultiUser)->trigger();
  EXPECT_FALSE(form->Action(TGameAction::SettingsGameClassic)->isChecked());
  EXPECT_TRUE(form->State().MultiUserMode);
  form->Action(TGameAction::SettingsGameClassic)->trigger();
  EXPECT_FALSE(form->State().MultiUserMode);
  // The panel switches are ticked and toggle themselves.
  for (QAction* a :
       {form->Action(TGameAction::PanelMainBar), form->Action(TGameAction::PanelColorBar),
        form->Action(TGameAction::PanelStatusBar)}) {
    EXPECT_TRUE(a->isCheckable());
    EXPECT_TRUE(a->isChecked());
  }
  // Colour actions: captions, tags, icons 0..6, disabled between games, keys 1..7.
  const char* colours[] = {"Красный",    "Зеленый",   "Желтый", "Синий",
                           "Фиолетовый", "Бирюзовый", "Серый"};
  for (int k = 1; k <= 7; ++k) {
    QAction* a = form->Action(ColorAction(size_t(k)));
    EXPECT_EQ(a->text(), QString::fromUtf8(colours[k - 1]));
    EXPECT_EQ(a->objectName(), QStringLiteral("actColor%1").arg(k));
    EXPECT_EQ(a->data().toInt(), k);
    EXPECT_EQ(a->icon().cacheKey(), form->ilColor(k - 1).cacheKey());
    EXPECT_FALSE(a->isEnabled());
    EXPECT_EQ(a->shortcut(), QKeySequence(Qt::Key_0 + k));
  }
  // Every one of the 26 images exists.
  for (int i = 0; i < TFormGame::IconCount; ++i) EXPECT_FALSE(form->ilColor(i).isNull()) << i;
}

TEST_F(GameWindow, ColourIconsArePaintedFromTheShades) {
  const QImage red = form->ilColor(0).pixmap(16, 16).toImage();
  ASSERT_EQ(red.size(), QSize(16, 16));
  EXPECT_EQ(red.pixel(7, 7), GetTileColors(1).Fill);
  EXPECT_EQ(red.pixel(0, 0), ColorGrid);
  const QImage grey = form->ilColor(6).pixmap(16, 16).toImage();
  EXPECT_EQ(grey.pixel(7, 7), GetTileColors(7).Fill);
}

TEST_F(GameWindow, MenusAndBarsInOrder) {
  QStringList menus;
  for (QAction* a : form->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"Игра", "Настройки", "Помощь"}));
  EXPECT_EQ(Entries(form->findChild<QMenu*>(QStringLiteral("miGame"))->actions()),
            QStringList({"Старт", "Продолжить игру", "Стоп", "Подсказка", "Отменить ход", "-",
                         "Игроки", "Зал славы", "Статистика", "-", "Сохранить игру…",
                         "Открыть игру…", "-", "Выход"}));
  EXPECT_EQ(Entries(form->findChild<QMenu*>(QStringLiteral("miSettings"))->actions()),
            QStringList({"Классическая игра", "Многопользовательская игра", "-", "Музыка",
                         "Установить расклад", "-", "Настройки", "Многопольз. игра"}));
  EXPECT_EQ(Entries(form->findChild<QMenu*>(QStringLiteral("miHelp"))->actions()),
            QStringList({"Содержание", "Домашняя страница", "-", "Написать письмо",
                         "Форум \"&Morvik\"", "-", "О программе"}));
  EXPECT_EQ(Entries(form->findChild<QToolBar*>(QStringLiteral("atbGame"))->actions()),
            QStringList({"Старт",
                         "Стоп",
                         "-",
                         "Игроки",
                         "Зал славы",
                         "-",
                         "Классическая игра",
                         "Многопользовательская игра",
                         "-",
                         "Музыка",
                         "Установить расклад",
                         "-",
                         "Настройки",
                         "Многопольз. игра",
                         "-",
                         "Содержание",
                         "-",
                         "Подсказка",
                         "Отменить ход",
                         "Статистика"}));
  EXPECT_EQ(
      Entries(form->findChild<QToolBar*>(QStringLiteral("atbColor"))->actions()),
      QStringList({"Красный", "Зеленый", "Желтый", "Синий", "Фиолетовый", "Бирюзовый", "Серый"}));
  EXPECT_EQ(Entries(form->findChild<QMenu*>(QStringLiteral("pmColor"))->actions()),
            Entries(form->findChild<QToolBar*>(QStringLiteral("atbColor"))->actions()));
  EXPECT_EQ(Entries(form->findChild<QMenu*>(QStringLiteral("pmPanels"))->actions()),
            QStringList({"Управление", "Выбор цветов", "Статус"}));
  // "Босс" sits on no bar and no menu, yet its shortcut works.
  for (QMenu* m : {form->findChild<QMenu*>(QStringLiteral("miGame")),
                   form->findChild<QMenu*>(QStringLiteral("miSettings")),
                   form->findChild<QMenu*>(QStringLiteral("miHelp"))})
    EXPECT_FALSE(m->actions().contains(form->Action(TGameAction::MainBoss)));
  EXPECT_TRUE(form->actions().contains(form->Action(TGameAction::MainBoss)));
}

TEST_F(GameWindow, StatusBarPanels) {
  const int widths[] = {40, 40, 40, 40, 140, 100, 50};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(form->Status().Panel(size_t(i))->width(), widths[i]) << i;
  EXPECT_EQ(form->Status().Bar()->height(), 20);
  EXPECT_EQ(form->Status().Progress()->parentWidget(), form->Status().Panel(5));
  EXPECT_EQ(form->Status().Progress()->size(), QSize(98, 18));
  form->Status().SetText("Генерация карты...");
  EXPECT_EQ(Panel(4), QStringLiteral("Генерация карты..."));
  // Progress maximum 0 is kept for the machine without turning the bar into a busy indicator.
  form->Machine().Services().SetProgressMax(0);
  EXPECT_EQ(form->Machine().Services().GetProgressMax(), 0);
  EXPECT_GT(form->Status().Progress()->maximum(), 0);
  form->Machine().Services().SetProgressMax(3);
  form->Machine().Services().SetProgressPosition(0);
  form->Machine().Services().StepProgress();
  form->Machine().Services().StepProgress();
  EXPECT_EQ(form->Status().Progress()->value(), 2);
}

TEST_F(GameWindow, SettingsFileCreatedAndGamerListLoaded) {
  EXPECT_TRUE(QFile::exists(dir.path() + "/morvik.ini"));
  EXPECT_TRUE(form->State().GamerList.empty());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Morvik 1.2 final."));
  EXPECT_EQ(form->State().PanelFlags(), 7);
  // A second window on a file with profiles loads them in file order.
  form->IniFile().WriteString("GAMERS", "Борис", "Борис");
  form->IniFile().WriteString("GAMERS", "Анна", "Анна");
  TTestGame second(&messages, platform);
  EXPECT_EQ(second.State().GamerList, (std::vector<std::string>{"Борис", "Анна"}));
}

TEST_F(GameWindow, GeometryFollowsBoardAndPanels) {
  SetBoard(20, 10, 10);
  EXPECT_EQ(form->Board().MapImage().size(), QSize(201, 101));
  EXPECT_EQ(form->Board().Widget()->size(), QSize(201, 101));
  QApplication::processEvents();
  EXPECT_EQ(form->Board().Widget()->mapTo(form.get(), QPoint(0, 0)), QPoint(8, 89));
  // The image wraps the painter's buffer: no copy.
  EXPECT_EQ(form->Board().MapImage().constBits(),
            reinterpret_cast<const uchar*>(form->Board().Painter().Bits()));
  EXPECT_EQ(Pixel(0, 0), ColorGrid);
  EXPECT_EQ(Pixel(100, 50), ColorIdle);
  const QSize full = form->size();
  EXPECT_EQ(full, QSize(222, 243));

  form->State().Options.PanelFlags = pfColorBar | pfStatusBar;
  form->ShowPanels();
  form->SetSizeWindow();
  EXPECT_FALSE(form->findChild<QToolBar*>(QStringLiteral("atbGame"))->isVisible());
  EXPECT_EQ(form->size().height(), full.height() - 27);
  form->State().Options.PanelFlags = pfColorBar;
  form->ShowPanels();
  form->SetSizeWindow();
  EXPECT_FALSE(form->Status().Bar()->isVisible());
  EXPECT_FALSE(form->Status().Progress()->isVisibleTo(form.get()));
  EXPECT_EQ(form->size().height(), full.height() - 27 - 20);
  // The board keeps its place under the bars that are shown.
  QApplication::processEvents();
  EXPECT_EQ(form->Board().Widget()->mapTo(form.get(), QPoint(0, 0)).y(), 89 - 27);
}

TEST_F(GameWindow, DefaultOptions) {
  EXPECT_EQ(M().Width, 50);
  EXPECT_EQ(M().Height, 25);
  EXPECT_EQ(M().SizeTile, 15);
  EXPECT_EQ(M().TileStyles[tsNeutral], stConvex);
  EXPECT_EQ(M().TileStyles[tsOccupied], stCarved);
  EXPECT_EQ(M().TileStyles[tsSelected], stCarved);
  EXPECT_EQ(M().TileStyles[tsPressed], stConcave);
  EXPECT_EQ(form->State().SelectOptions(), 255);
  EXPECT_TRUE(form->State().VictoryByArea());
  EXPECT_EQ(form->State().Options.ComputerLevel(), 1);
  EXPECT_EQ(form->Board().MapImage().size(), QSize(751, 376));
}

TEST_F(GameWindow, ShareOfASeat) {
  form->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(M().Active);
  auto& scores = M().Map->Scores;
  const std::pair<int, const char*> cases[] = {{125, "10"},   {1, "0.08"}, {156, "12.48"},
                                               {1250, "100"}, {10, "0.8"}, {417, "33.36"}};
  for (auto [area, text] : cases) {
    scores[1].Area = uint16_t(area);
    form->Machine().Services().ShowGamerArea(1);
    EXPECT_EQ(Panel(0), QString::fromUtf8(text)) << area;
  }
  form->State().Options.Victory = 1;
  scores[4].Points = 4321;
  form->Machine().Services().ShowGamerArea(4);
  EXPECT_EQ(Panel(3), QStringLiteral("4321"));
  form->Machine().Services().ShowGamerArea(2);  // empty seat
  EXPECT_EQ(Panel(1), QString());
}

TEST_F(GameWindow, CloseQuery) {
  messages.confirmAnswers = {false};
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(messages.Texts("confirm").back(), "Выход из игры.\nВы уверены?");

  form->Action(TGameAction::MenuStartGame)->trigger();
  messages.confirmAnswers = {false};
  EXPECT_FALSE(form->close());
  EXPECT_EQ(messages.Texts("confirm").back(),
            "Существует активная игра.\nОна будет потеряна.\nВы уверены?");
  EXPECT_TRUE(M().Active);

  messages.confirmAnswers = {true};
  EXPECT_TRUE(form->close());
  EXPECT_FALSE(M().Active);  // a closed window leaves no game running
}

// What the player sees of the status bar: seven sunken panels edge to edge over the bar's full
// height, the progress bar at (302, 2), every status text whole in its panel, and no hint ever
// taking the panels' place.
TEST_F(GameWindow, StatusBarShowsTheGameWholeAndHintsNeverCoverIt) {
  form->show();
  QApplication::processEvents();
  const int widths[] = {40, 40, 40, 40, 140, 100, 50};
  int left = 0;
  for (int i = 0; i < 7; ++i) {
    QLabel* panel = form->Status().Panel(size_t(i));
    EXPECT_EQ(QRect(panel->mapTo(form->Status().Bar(), QPoint(0, 0)), panel->size()),
              QRect(left, 0, widths[i], 20))
        << i;
    left += widths[i];
  }
  // Whole sunken frames: dark along the top and left edge, light along the bottom and right,
  // both unlike the bar's background (panel 6; panel 5's lower right lies under the progress).
  const QImage bar = form->Status().Bar()->grab().toImage();
  const QRgb background = form->Status().Bar()->palette().color(QPalette::Window).rgb();
  for (int i : {0, 1, 2, 3, 4, 6}) {
    const QRect r = form->Status().Panel(size_t(i))->geometry();
    for (int x = r.left(); x < r.right(); ++x) {
      EXPECT_EQ(bar.pixel(x, r.top()), bar.pixel(r.left(), r.top())) << i << " top " << x;
      EXPECT_EQ(bar.pixel(x + 1, r.bottom()), bar.pixel(r.right(), r.bottom())) << i << " bottom";
    }
    for (int y = r.top(); y < r.bottom(); ++y) {
      EXPECT_EQ(bar.pixel(r.left(), y), bar.pixel(r.left(), r.top())) << i << " left " << y;
      EXPECT_EQ(bar.pixel(r.right(), y + 1), bar.pixel(r.right(), r.bottom())) << i << " right";
    }
    EXPECT_NE(bar.pixel(r.left(), r.top()), background) << i;
    EXPECT_NE(bar.pixel(r.right(), r.bottom()), background) << i;
    EXPECT_NE(bar.pixel(r.left(), r.top()), bar.pixel(r.right(), r.bottom())) << i;
  }
  EXPECT_EQ(form->Status().Bar()->height(), 20);
  EXPECT_EQ(QRect(form->Status().Progress()->mapTo(form->Status().Bar(), QPoint(0, 0)),
                  form->Status().Progress()->size()),
            QRect(302, 2, 98, 18));

  EXPECT_EQ(form->font().pointSize(), 8);
  // Every text of ours the status panel can show: the long work's steps, the computer seats'
  // names announcing their turn, a watched game's step, and the hint for each of the seven
  // colours.
  QLabel* status = form->Status().Panel(4);
  const QFontMetrics metrics(status->font());
  QStringList texts{"Генерация карты...",
                    "Генерация островов...",
                    "Генерация соседей...",
                    "Вывод карты...",
                    "Распределение...",
                    "Компьютер",
                    "Тестер"};
  for (int seat = 1; seat <= 4; ++seat) texts << QStringLiteral("Компьютер №%1").arg(seat);
  texts << QStringLiteral("Ход 65025 из 65025");  // watching the longest game there can be
  for (uint8_t k = 1; k <= 7; ++k) {
    const QString hint = HintStatusText(k);
    EXPECT_TRUE(hint.endsWith(form->Action(ColorAction(k))->text())) << hint.toStdString();
    texts << hint;
  }
  for (const QString& text : texts) {
    form->Status().SetText(text.toStdString());
    EXPECT_LE(metrics.horizontalAdvance(status->text()), status->contentsRect().width())
        << text.toStdString();
  }
  // The seats' shares: a whole board's share is the widest.
  EXPECT_LE(
      QFontMetrics(form->Status().Panel(0)->font()).horizontalAdvance(QStringLiteral("99.99")),
      form->Status().Panel(0)->contentsRect().width());

  // Menu entries' tool tips show beside the menu, level with their entry: never over the entry
  // below. Tool buttons keep theirs.
  for (QMenu* menu : {form->findChild<QMenu*>(QStringLiteral("miGame")),
                      form->findChild<QMenu*>(QStringLiteral("miSettings")),
                      form->findChild<QMenu*>(QStringLiteral("miHelp"))}) {
    EXPECT_TRUE(menu->toolTipsVisible()) << menu->title().toStdString();
    menu->popup(QPoint(0, 0));
    for (QAction* action : menu->actions()) {
      if (action->isSeparator() || !action->isVisible()) continue;
      const QRect entry = menu->actionGeometry(action);
      const QPoint tip = MenuTipPosition(menu, entry.center());
      ASSERT_FALSE(tip.isNull()) << action->text().toStdString();
      EXPECT_GT(tip.x(), menu->mapToGlobal(QPoint(menu->width(), 0)).x());
      EXPECT_EQ(tip.y(), menu->mapToGlobal(entry.topLeft()).y());
    }
    menu->hide();
  }
  EXPECT_EQ(form->findChild<QToolBar*>(QStringLiteral("atbGame"))
                ->widgetForAction(form->Action(TGameAction::MenuStopGame))
                ->toolTip(),
            QStringLiteral("Остановить текущую игру"));

  // Hovering any entry or button (which shows its status text) leaves the panels in place.
  for (QAction* action : form->findChildren<QAction*>()) {
    EXPECT_TRUE(action->statusTip().isEmpty()) << action->text().toStdString();
    action->showStatusText(form.get());
    QApplication::processEvents();
    EXPECT_TRUE(form->Status().Bar()->currentMessage().isEmpty());
    for (QLabel* panel : form->Status().Panels()) EXPECT_TRUE(panel->isVisible());
  }
}

// The window opens in the middle of the screen and a bigger board never pushes it off.
TEST_F(GameWindow, OpensCentredAndStaysOnTheScreen) {
  form->show();
  QApplication::processEvents();
  const QRect area = platform.WorkArea(*form);
  const QPoint off = form->frameGeometry().center() - area.center();
  EXPECT_LE(off.manhattanLength(), 2) << off.x() << "," << off.y();

  // Unmoved, the window is centred again after each size change: a board too large for the
  // screen puts it at the edge, and the next smaller one brings it back.
  const QPoint centred = form->pos();
  TGameOptions options = form->State().Options;
  for (int size : {3, 1}) {
    options.SizeMap = size;
    form->Setup().ApplyOptions(options);
    form->SetSizeWindow();
    QApplication::processEvents();
    EXPECT_TRUE(area.contains(form->frameGeometry().topLeft())) << size;
    const QPoint off = form->frameGeometry().center() - area.center();
    if (size == 1) {
      EXPECT_EQ(form->pos(), centred);
    }
    if (form->width() < area.width() && form->height() < area.height()) {
      EXPECT_LE(off.manhattanLength(), 2) << size;
    }
  }

  // Moved by the player, it stays where it was put, only kept on the screen.
  form->move(area.right() - 50, area.bottom() - 50);
  options.SizeMap = 0;  // the small board: the window fits the screen
  form->Setup().ApplyOptions(options);
  form->SetSizeWindow();
  QApplication::processEvents();
  EXPECT_TRUE(area.contains(form->frameGeometry())) << form->frameGeometry().x();
}

// Over the whole action table: no key reaches two actions, and every action with a command is
// reachable from a menu, a bar, the panel menu or its key (the tray mode has a key only).
TEST_F(GameWindow, EveryActionIsReachableAndNoKeyIsShared) {
  QSet<QString> keys;
  for (const TActionRow& row : ActionTable())
    for (const QKeySequence& key : form->Action(row.Id)->shortcuts()) {
      EXPECT_FALSE(keys.contains(key.toString())) << key.toString().toStdString();
      keys.insert(key.toString());
    }
  QSet<QAction*> placed;
  for (const QWidget* holder :
       {static_cast<QWidget*>(form->findChild<QMenu*>(QStringLiteral("miGame"))),
        static_cast<QWidget*>(form->findChild<QMenu*>(QStringLiteral("miSettings"))),
        static_cast<QWidget*>(form->findChild<QMenu*>(QStringLiteral("miHelp"))),
        static_cast<QWidget*>(form->findChild<QMenu*>(QStringLiteral("pmPanels"))),
        static_cast<QWidget*>(form->findChild<QToolBar*>(QStringLiteral("atbGame"))),
        static_cast<QWidget*>(form->findChild<QToolBar*>(QStringLiteral("atbColor")))})
    for (QAction* a : holder->actions()) placed.insert(a);
  for (const TActionRow& row : ActionTable())
    if (!row.Hidden && row.Rule != TActionRule::Never) {
      EXPECT_TRUE(placed.contains(form->Action(row.Id)) ||
                  !form->Action(row.Id)->shortcuts().isEmpty())
          << row.Caption;
    }
}
