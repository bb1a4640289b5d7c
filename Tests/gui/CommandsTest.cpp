// SPDX-License-Identifier: GPL-3.0-or-later
// The smaller commands of the main window: the layout number, the panel switches, help and the
// tray mode.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTextBrowser>
#include <QToolBar>

#include "GameFixture.h"
#include "config/Catalogue.h"
#include "dialogs/UnitSettings.h"
#include "gui/HelpWindow.h"
#include "gui/TrayMode.h"
#include "painter/MapPainter.h"

namespace {

const std::string BadCode = "Некорректно введен номер расклада.";

QString Caption(int code) {
  return QStringLiteral("Morvik 1.2 final. Расклад #") + QString::number(code);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Layout number.

class LayoutNumber : public GameWindow {
 protected:
  // Answers the query with `typed` and runs the command.
  void Enter(const std::string& typed) {
    messages.Clear();
    messages.inputAnswers.push_back({true, typed});
    form->Action(TGameAction::SettingsSetCodeGame)->trigger();
  }
};

TEST_F(LayoutNumber, AsksWithTitlePromptAndEmptyText) {
  form->ShowCodeGameCaption();
  messages.inputAnswers.push_back({false, "999"});
  QTest::keyClick(form.get(), Qt::Key_R, Qt::ControlModifier);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].kind, "input");
  EXPECT_EQ(messages.shown[0].title, "Morvik");
  EXPECT_EQ(messages.shown[0].text, "Введите номер расклада:");
  EXPECT_EQ(messages.shown[0].initial, "");
  // Cancel changes nothing, whatever was typed.
  EXPECT_EQ(M().CodeGame, 12345);
  EXPECT_EQ(form->windowTitle(), Caption(12345));
}

TEST_F(LayoutNumber, AcceptedNumbersGiveTheirAbsoluteValue) {
  const std::pair<const char*, int> cases[] = {
      {"-417", 417},
      {"417", 417},
      {"0", 0},
      {"-0", 0},
      {"+42", 42},
      {"007", 7},
      {" 417 ", 417},
      {"\t-9\t", 9},
      {"2147483647", 2147483647},
      {"-2147483647", 2147483647},
      {"000000000000000000123", 123},
  };
  for (const auto& [typed, code] : cases) {
    SCOPED_TRACE(typed);
    M().SetCodeGame(12345);
    Enter(typed);
    EXPECT_TRUE(messages.Texts("error").empty());
    EXPECT_EQ(M().CodeGame, code);
    EXPECT_EQ(form->windowTitle(), Caption(code));
  }
}

TEST_F(LayoutNumber, RefusedTextsKeepNumberAndCaption) {
  const char* const cases[] = {
      "",     "   ", "abc",        "12a",         "4 17",
      "- 5",  "+",   "-",          "+-1",         "0x1F",
      "1e3",  "3.5", "2147483648", "-2147483648", "99999999999999999999",
      "１２",  // full-width digits are no decimal number here
  };
  form->ShowCodeGameCaption();
  for (const char* typed : cases) {
    SCOPED_TRACE(typed);
    Enter(typed);
    EXPECT_EQ(messages.Texts("error"), std::vector<std::string>{BadCode});
    EXPECT_EQ(M().CodeGame, 12345);
    EXPECT_EQ(form->windowTitle(), Caption(12345));
  }
}

TEST_F(LayoutNumber, NextGameIsGeneratedFromTheNumber) {
  Enter("-417");
  form->Action(TGameAction::MenuStartGame)->trigger();  // classic: waits for the person in seat 1
  ASSERT_TRUE(M().Active);
  EXPECT_EQ(M().CodeGame, 417);
  EXPECT_EQ(form->windowTitle(), Caption(417));
}

TEST_F(LayoutNumber, NotDuringAGame) {
  form->Action(TGameAction::MenuStartGame)
      ->trigger();  // classic: the person in seat 1 waits for a choice
  ASSERT_TRUE(M().Active);
  const int32_t code = M().CodeGame;
  messages.Clear();
  messages.inputAnswers.push_back({true, "5"});
  EXPECT_FALSE(form->Action(TGameAction::SettingsSetCodeGame)->isEnabled());
  QTest::keyClick(form.get(), Qt::Key_R, Qt::ControlModifier);
  form->Commands().Run(TGameAction::SettingsSetCodeGame);  // even called directly
  EXPECT_TRUE(messages.Texts("input").empty());
  EXPECT_EQ(M().CodeGame, code);
}

// ---------------------------------------------------------------------------------------------
// Panels.

class Panels : public GameWindow {
 protected:
  void SetUp() override {
    GameWindow::SetUp();
    settings = dialogs.Settings;
    settings->ReadParams();
    settings->chkbMusic->setChecked(false);
    settings->UseOption();
    messages.Clear();
  }
  // The right-click menu opens, then the player picks the entry.
  void Pick(QAction* action) {
    form->Commands().PanelsShowing();
    action->trigger();
    QApplication::processEvents();
  }
  int MapTop() { return form->Board().Widget()->mapTo(form.get(), QPoint(0, 0)).y(); }

  TFormSettings* settings = nullptr;
};

TEST_F(Panels, StatusBarHidesWithProgressAndWindowFollows) {
  QApplication::processEvents();
  const QSize full = form->size();
  const int top = MapTop();
  const int status = form->Status().Bar()->height();

  Pick(form->Action(TGameAction::PanelStatusBar));
  EXPECT_FALSE(form->Action(TGameAction::PanelStatusBar)->isChecked());
  EXPECT_FALSE(form->Status().Bar()->isVisible());
  EXPECT_FALSE(form->Status().Progress()->isVisibleTo(form.get()));
  EXPECT_EQ(form->State().PanelFlags(), pfMainBar | pfColorBar);
  EXPECT_EQ(form->size(), QSize(full.width(), full.height() - status));
  EXPECT_EQ(MapTop(), top);

  Pick(form->Action(TGameAction::PanelStatusBar));
  EXPECT_TRUE(form->Status().Bar()->isVisible());
  EXPECT_TRUE(form->Status().Progress()->isVisibleTo(form.get()));
  EXPECT_EQ(form->State().PanelFlags(), pfMainBar | pfColorBar | pfStatusBar);
  EXPECT_EQ(form->size(), full);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Panels, ToolBarsMoveTheBoardUp) {
  QApplication::processEvents();
  const QSize full = form->size();
  const int top = MapTop();
  const int bar = form->findChild<QToolBar*>(QStringLiteral("atbGame"))->height();

  Pick(form->Action(TGameAction::PanelMainBar));
  EXPECT_FALSE(form->findChild<QToolBar*>(QStringLiteral("atbGame"))->isVisible());
  EXPECT_EQ(form->size().height(), full.height() - bar);
  EXPECT_EQ(MapTop(), top - bar);

  Pick(form->Action(TGameAction::PanelColorBar));
  EXPECT_FALSE(form->findChild<QToolBar*>(QStringLiteral("atbColor"))->isVisible());
  EXPECT_EQ(form->State().PanelFlags(), pfStatusBar);
  EXPECT_EQ(form->size().height(), full.height() - 2 * bar);
  EXPECT_EQ(MapTop(), top - 2 * bar);
  // The board itself keeps its size and the idle picture.
  EXPECT_EQ(form->Board().Widget()->size(), QSize(751, 376));
  EXPECT_EQ(Pixel(100, 50), ColorIdle);

  Pick(form->Action(TGameAction::PanelMainBar));
  Pick(form->Action(TGameAction::PanelColorBar));
  EXPECT_EQ(form->size(), full);
  EXPECT_EQ(MapTop(), top);
}

TEST_F(Panels, DuringAGameTheBoardIsRedrawn) {
  form->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(M().Active);
  auto board = [this] {
    const TMapPainter& p = form->Board().Painter();
    return std::vector<uint32_t>(p.Bits(), p.Bits() + p.Width() * p.Height());
  };

  Pick(form->Action(TGameAction::PanelStatusBar));
  ASSERT_TRUE(M().Active);
  // The game, not the idle board that resizing leaves: exactly what a full redraw gives.
  EXPECT_NE(Pixel(15, 15), ColorIdle);
  const std::vector<uint32_t> after = board();
  form->Board().ShowPosition();  // outline of the seat to move included
  EXPECT_TRUE(after == board());
}

TEST_F(Panels, PopupTicksFollowTheSwitches) {
  // The dialog's check boxes hold the options, applied or not.
  settings->chkbMainBar->setChecked(false);
  settings->chkbStatusBar->setChecked(false);
  form->Commands().PanelsShowing();
  EXPECT_FALSE(form->Action(TGameAction::PanelMainBar)->isChecked());
  EXPECT_TRUE(form->Action(TGameAction::PanelColorBar)->isChecked());
  EXPECT_FALSE(form->Action(TGameAction::PanelStatusBar)->isChecked());
}

TEST_F(Panels, SwitchReachesTheOptions) {
  Pick(form->Action(TGameAction::PanelColorBar));
  EXPECT_FALSE(form->findChild<QToolBar*>(QStringLiteral("atbColor"))->isVisible());
  EXPECT_EQ(form->State().PanelFlags(), pfMainBar | pfStatusBar);
  // The settings' check box follows and the profile's options are stored at once.
  EXPECT_FALSE(settings->chkbColorBar->isChecked());
  const std::string section = form->State().OptionsSection;
  EXPECT_FALSE(form->IniFile().ReadBool(section, cfg::key::VisibleColorBar, true));
  EXPECT_TRUE(form->IniFile().ReadBool(section, cfg::key::VisibleMainBar, false));
  // A profile read back later shows the same panels.
  settings->ReadParams();
  EXPECT_FALSE(settings->chkbColorBar->isChecked());
}

// ---------------------------------------------------------------------------------------------
// Help.

class Help : public GameWindow {
 protected:
  void BeforeCreate() override { helpPath = dir.path() + QStringLiteral("/manual.html"); }
  void WriteManual() {
    QFile file(helpPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray html =
        "<html><head><title>Справка для теста</title></head><body>"
        "<a name=\"contents\"></a><h1>Содержание</h1>";
    for (int i = 0; i < 300; ++i) html += "<p>Строка " + QByteArray::number(i) + "</p>";
    html += "<a name=\"end\"></a><p>Конец</p></body></html>";
    file.write(html);
  }
  THelpWindow* Window() {
    return form->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  }

  QString& helpPath = platform.helpPath;
};

TEST_F(Help, F1OpensTheManualAtItsContents) {
  WriteManual();
  QTest::keyClick(form.get(), Qt::Key_F1);
  THelpWindow* help = Window();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->isWindow());
  // Where the dialogs open: centred on the main window.
  EXPECT_LE((help->frameGeometry().center() - form->frameGeometry().center()).manhattanLength(), 8);
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Справка для теста"));
  QTextBrowser* browser = help->Browser();
  EXPECT_EQ(browser->source().toLocalFile(), helpPath);
  EXPECT_EQ(browser->source().fragment(), QStringLiteral("contents"));
  EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Строка 299")));

  // Wherever the reader went, the command comes back to the contents in the same window.
  QApplication::processEvents();
  const int atContents = browser->verticalScrollBar()->value();
  browser->scrollToAnchor(QStringLiteral("end"));
  QApplication::processEvents();
  ASSERT_GT(browser->verticalScrollBar()->value(), atContents + 100);
  help->hide();
  form->Action(TGameAction::HelpMaintenanse)->trigger();
  EXPECT_EQ(Window(), help);
  EXPECT_EQ(form->findChildren<THelpWindow*>().size(), 1);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(browser->verticalScrollBar()->value(), atContents);

  // Escape closes it; the game window stays.
  help->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(help));
  QTest::keyClick(browser, Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());
  EXPECT_TRUE(form->isVisible());
}

TEST_F(Help, MissingFileIsReported) {
  form->Action(TGameAction::HelpMaintenanse)->trigger();
  EXPECT_EQ(
      messages.Texts("error"),
      std::vector<std::string>{"Файл справки \"" +
                               QDir::toNativeSeparators(helpPath).toStdString() + "\" не найден."});
  EXPECT_EQ(Window(), nullptr);
  // A folder under the manual's name is no manual either.
  QDir().mkpath(helpPath);
  messages.Clear();
  form->Action(TGameAction::HelpMaintenanse)->trigger();
  ASSERT_EQ(messages.Texts("error").size(), 1u);
  EXPECT_EQ(Window(), nullptr);
}

TEST_F(Help, ManualFoundBesideTheExecutableOrInstalled) {
  const QString bin = dir.path() + QStringLiteral("/bin");
  const QString share = dir.path() + QStringLiteral("/share/morvik");
  QDir().mkpath(bin);
  QDir().mkpath(share);
  const TSystemPlatform system(bin);
  const QString beside = bin + QLatin1Char('/') +
                         QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                         QStringLiteral(".html");
  // Neither: the path beside the executable, which the message names.
  EXPECT_EQ(system.HelpFilePath(), beside);
  auto touch = [](const QString& path) { ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly)); };
  touch(share + QStringLiteral("/morvik.html"));
  EXPECT_EQ(system.HelpFilePath(), share + QStringLiteral("/morvik.html"));
  touch(beside);
  EXPECT_EQ(system.HelpFilePath(), beside);
}

TEST_F(Help, TheShippedManualHasItsContents) {
  helpPath = QStringLiteral(MORVIK_MANUAL);
  form->Action(TGameAction::HelpMaintenanse)->trigger();
  ASSERT_NE(Window(), nullptr);
  EXPECT_TRUE(messages.shown.empty());
  QTextBrowser* browser = Window()->Browser();
  EXPECT_EQ(browser->source().fragment(), QStringLiteral("contents"));
  const QString text = browser->toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("Содержание")));
  EXPECT_TRUE(text.contains(QStringLiteral("Некорректно введен номер расклада.")));
  EXPECT_FALSE(Window()->windowTitle().isEmpty());
}

// The manual's menu tables name every command a menu offers, with its key, in the action
// table's words.
TEST(Manual, NamesEveryMenuCommandWithItsKey) {
  QFile file(QStringLiteral(MORVIK_MANUAL));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString manual = QString::fromUtf8(file.readAll());
  int named = 0;
  for (const TMenuLayout& menu : MenuLayout())
    for (TGameAction id : menu.Entries) {
      if (id == Separator) continue;
      const TActionRow& action = ActionRow(id);
      if (action.Hidden || action.Rule == TActionRule::Never) continue;
      const QString row =
          QStringLiteral("<tr><td>«%1»</td><td>").arg(QString::fromUtf8(action.Caption));
      const qsizetype at = manual.indexOf(row);
      EXPECT_GE(at, 0) << action.Caption;
      const QKeySequence key(action.Keys[0]);
      const QString keyCell = action.Keys[0].key() == Qt::Key_unknown
                                  ? QStringLiteral("—</td>")
                                  : QStringLiteral("<kbd>%1</kbd>").arg(key.toString());
      EXPECT_EQ(manual.mid(at + row.size(), keyCell.size()), keyCell) << action.Caption;
      ++named;
    }
  EXPECT_EQ(named, 19);
}

TEST_F(Help, NoHomePageOrMailCommands) {
  // Hidden and disabled: on no menu or bar, and no shortcut reaches them.
  for (QAction* action :
       {form->Action(TGameAction::HelpHomePage), form->Action(TGameAction::HelpMail)}) {
    EXPECT_FALSE(action->isVisible());
    EXPECT_FALSE(action->isEnabled());
    EXPECT_TRUE(action->shortcut().isEmpty());
  }
  // What the player sees in the help menu.
  QStringList entries;
  for (QAction* action : form->findChild<QMenu*>(QStringLiteral("miHelp"))->actions())
    if (action->isVisible())
      entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
  EXPECT_EQ(entries.join(u'|').toStdString(), "Содержание|-|Форум \"&Morvik\"|-|О программе");
}

// ---------------------------------------------------------------------------------------------
// Tray mode.

class Tray : public GameWindow {
 protected:
  TTrayMode* Mode() { return form->findChild<TTrayMode*>(); }
  QSystemTrayIcon* Icon() { return Mode() ? Mode()->Icon() : nullptr; }

  bool& trayAvailable = platform.trayAvailable;
};

TEST_F(Tray, HidesBehindAnIconAndADoubleClickBringsItBack) {
  form->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(M().Active);
  const int32_t code = M().CodeGame;
  const int seat = M().CurrentGamer;
  const QString caption = form->windowTitle();
  QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);

  QTest::keyClick(form.get(), Qt::Key_F8, Qt::ShiftModifier | Qt::ControlModifier);
  QApplication::processEvents();
  ASSERT_NE(Icon(), nullptr);
  EXPECT_TRUE(Mode()->Active());
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(Icon()->isVisible());
  EXPECT_FALSE(Icon()->icon().isNull());
  EXPECT_FALSE(Icon()->toolTip().isEmpty());
  EXPECT_EQ(lastClosed.count(), 0);  // hiding must not end the program
  // The game is untouched.
  EXPECT_TRUE(M().Active);
  EXPECT_EQ(M().CodeGame, code);
  EXPECT_EQ(M().CurrentGamer, seat);
  EXPECT_EQ(form->windowTitle(), caption);

  // A single click does nothing; a double click brings the window back and removes the icon.
  emit Icon()->activated(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(form->isVisible());
  emit Icon()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->isMinimized());
  EXPECT_FALSE(Icon()->isVisible());
  EXPECT_FALSE(Mode()->Active());
  EXPECT_TRUE(M().Active);
  EXPECT_EQ(M().CodeGame, code);
}

TEST_F(Tray, MenuShowBringsItBackAndTheModeRepeats) {
  form->Action(TGameAction::MainBoss)->trigger();
  ASSERT_NE(Icon(), nullptr);
  QMenu* menu = Icon()->contextMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Показать"));
  menu->actions()[0]->trigger();
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(Icon()->isVisible());

  // Again, with the same icon object, and a second command while hidden changes nothing.
  form->Action(TGameAction::MainBoss)->trigger();
  form->Action(TGameAction::MainBoss)->trigger();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(Icon()->isVisible());
  EXPECT_EQ(form->findChildren<TTrayMode*>().size(), 1);
  emit Icon()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(form->isVisible());
}

TEST_F(Tray, WithoutNotificationAreaTheWindowIsMinimised) {
  trayAvailable = false;
  form->Action(TGameAction::MainBoss)->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->isMinimized());
  EXPECT_EQ(Icon(), nullptr);
  EXPECT_FALSE(Mode() && Mode()->Active());
}
