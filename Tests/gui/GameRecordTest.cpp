// SPDX-License-Identifier: GPL-3.0-or-later
// Games as files in the main window: every game recorded, saved and opened again, watched step by
// step on the window's own board, and continued after the program was closed in the middle.
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <csignal>
#include <map>

#include "GameFixture.h"
#include "config/GamerStats.h"
#include "gui/EndSignals.h"
#include "model/GameRecord.h"
#include "window/GameRecords.h"
#include "window/GameWatch.h"

namespace {

class GameRecordWindow : public GameWindow {
 protected:
  void SetUp() override {
    GameWindow::SetUp();
    SetBoard(14, 10, 10);
    Option(soAutostart, false);
    // The file dialog answers with the next prepared path.
    form->Records().ChooseFile = [this](bool, const QString&) { return chosen; };
  }
  // The program closed and started again on the same folder.
  void Restart() {
    form->close();
    form.reset();
    GameWindow::SetUp();
    SetBoard(14, 10, 10);
    Option(soAutostart, false);
    form->Records().ChooseFile = [this](bool, const QString&) { return chosen; };
  }
  // A person's choice: the lowest free colour. Boards are noted whenever a person is to choose,
  // and at the end.
  void PlayPerson(size_t untilMoves = SIZE_MAX) {
    while (M().Active && M().MovesPlayed() < untilMoves) {
      boards[M().MovesPlayed()] = form->Board().MapImage().copy();
      int c = 1;
      while (!M().FreeColors[size_t(c)]) ++c;
      form->SetColor(uint8_t(c));
    }
    if (M().Active) boards[M().MovesPlayed()] = form->Board().MapImage().copy();
  }
  void NoteEnd() {
    form->onResults = [this] { boards[M().MovesPlayed()] = form->Board().MapImage().copy(); };
  }
  QString Path(const char* name) { return dir.filePath(QString::fromLatin1(name)); }

  QString chosen;
  std::map<size_t, QImage> boards;  // the window's board after k moves
};

TEST_F(GameRecordWindow, FinishedGamesAreRecordedSavedAndReadBack) {
  struct TCase {
    int seats;
    uint8_t level;
    bool byPoints;
  };
  for (const TCase c : {TCase{2, 1, false}, TCase{3, 2, true}, TCase{4, 3, false}}) {
    SCOPED_TRACE(c.seats);
    ComputersOnly(c.seats, c.level);
    form->State().Options.Victory = c.byPoints ? 1 : 0;
    std::array<TGamerScore, 5> scores{};
    form->onResults = [&] { scores = M().Map->Scores; };
    form->Action(TGameAction::MenuStartGame)->trigger();
    ASSERT_FALSE(M().Active);
    const auto& last = form->Records().LastFinished();
    ASSERT_TRUE(last && last->Finished);
    EXPECT_EQ(last->VictoryByArea, !c.byPoints);
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(last->Seats[size_t(s)].Points, scores[size_t(s)].Points);
    ASSERT_TRUE(form->Action(TGameAction::MenuSaveGame)->isEnabled());
    chosen = Path("saved.morvik");
    form->Action(TGameAction::MenuSaveGame)->trigger();
    const TRecordRead read = LoadGameRecord(chosen.toStdString());
    ASSERT_TRUE(read.Record) << read.Error;
    EXPECT_EQ(*read.Record, *last);
  }
  EXPECT_TRUE(messages.Texts("error").empty());
}

TEST_F(GameRecordWindow, WatchingShowsTheGamesBoardAtEveryStepAndTheKeysDriveIt) {
  NoteEnd();
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayPerson();
  chosen = Path("game.morvik");
  form->Action(TGameAction::MenuSaveGame)->trigger();
  form->Action(TGameAction::MenuOpenGame)
      ->trigger();  // a finished game: watched from its first move
  TGameWatch& watch = form->Watch();
  ASSERT_TRUE(watch.Active());
  ASSERT_GE(boards.size(), 3u);
  for (const auto& [k, image] : boards) {
    watch.Seek(k);
    EXPECT_EQ(form->Board().MapImage(), image) << "move " << k;
  }
  watch.Seek(1);
  const TRecordMove first = form->Records().LastFinished()->Moves[0];
  EXPECT_EQ(Panel(4), QStringLiteral("Ход 1 из %1").arg(watch.Length()));
  EXPECT_TRUE(watch.StatusText().endsWith(form->Action(ColorAction(first.Color))->text()));
  EXPECT_FALSE(form->Status().Panel(size_t(first.Seat - 1))->pixmap().isNull());
  watch.Seek(0);
  EXPECT_EQ(Panel(4), QStringLiteral("Ход 0 из %1").arg(watch.Length()));
  const struct {
    Qt::Key key;
    size_t position;
  } keys[] = {{Qt::Key_Right, 1},
              {Qt::Key_Right, 2},
              {Qt::Key_Left, 1},
              {Qt::Key_End, watch.Length()},
              {Qt::Key_Home, 0}};
  for (const auto& k : keys) {
    QTest::keyClick(form.get(), k.key);
    EXPECT_EQ(watch.Position(), k.position);
  }
  form->Action(ColorAction(1))->trigger();  // the colour keys take nothing
  EXPECT_EQ(watch.Position(), 0u);
  for (auto [key, interval] : {std::pair{Qt::Key_Plus, 150},
                               {Qt::Key_Minus, 400},
                               {Qt::Key_Minus, 1000},
                               {Qt::Key_Minus, 1000},
                               {Qt::Key_Plus, 400}}) {
    QTest::keyClick(form.get(), key);
    EXPECT_EQ(watch.Interval(), interval);
  }
  QTest::keyClick(form.get(), Qt::Key_Space);
  EXPECT_TRUE(watch.Playing());
  QTest::qWait(TGameWatch::StepMilliseconds * 2 + 100);
  EXPECT_GE(watch.Position(), 1u);
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_FALSE(watch.Active());
  EXPECT_EQ(Panel(4), QString());
  form->Action(TGameAction::MenuOpenGame)->trigger();
  QTest::keyClick(form.get(), Qt::Key_F2);  // leaves and starts a game
  EXPECT_FALSE(watch.Active());
  EXPECT_TRUE(M().Active);
}

TEST_F(GameRecordWindow, ContinuingAfterACloseGivesTheUninterruptedGame) {
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayPerson();
  const TGameRecord whole = *form->Records().LastFinished();
  ASSERT_GT(whole.Moves.size(), 6u);
  EXPECT_FALSE(form->Action(TGameAction::MenuContinueGame)->isEnabled());

  M().SetCodeGame(12345);
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayPerson(whole.Moves.size() / 2);
  QCoreApplication::processEvents();  // the kept game follows every person's turn
  const QString kept = form->Records().KeptPath();
  TRecordRead read = LoadGameRecord(kept.toStdString());
  ASSERT_TRUE(read.Record) << read.Error;
  EXPECT_EQ(read.Record->Moves.size(), M().MovesPlayed());

  Restart();
  form->State().GamerList = {"Тестер"};
  const auto stopped = [this] {
    return ReadGamerStats(form->IniFile(), "Тестер").Record(TotalStatsGroup(true)).Stopped;
  };
  ASSERT_TRUE(form->Action(TGameAction::MenuContinueGame)->isEnabled());
  form->Action(TGameAction::MenuContinueGame)->trigger();
  ASSERT_TRUE(M().Active);
  EXPECT_FALSE(QFile::exists(kept));  // continuing discards the kept game
  PlayPerson();
  ASSERT_TRUE(form->Records().LastFinished());
  EXPECT_EQ(*form->Records().LastFinished(), whole);
  EXPECT_FALSE(form->Action(TGameAction::MenuContinueGame)->isEnabled());
  EXPECT_EQ(stopped(), 0);  // continued and finished: played, never stopped

  // Kept again, then replaced by a new game instead of continued: over, and stopped once.
  M().SetCodeGame(12345);
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayPerson(4);
  QCoreApplication::processEvents();
  Restart();
  form->State().GamerList = {"Тестер"};
  EXPECT_EQ(stopped(), 0);
  form->Action(TGameAction::MenuStartGame)->trigger();
  EXPECT_FALSE(QFile::exists(kept));
  EXPECT_EQ(stopped(), 1);
}

// The session's end keeps the game even where no turn has kept it yet: a logout writes it and
// the game goes on (the logout may be cancelled); a termination signal closes the window as
// "Выход" does, without its question, and the game continues after the next start.
TEST_F(GameRecordWindow, TheSessionsEndKeepsTheGame) {
  const QString kept = form->Records().KeptPath();
  auto keptMoves = [&] {
    const TRecordRead read = LoadGameRecord(kept.toStdString());
    EXPECT_TRUE(read.Record) << read.Error;
    return read.Record ? read.Record->Moves.size() : 0;
  };
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayPerson(4);
  QFile::remove(kept);
  form->SessionEnding(false);
  EXPECT_EQ(keptMoves(), M().MovesPlayed());
  EXPECT_TRUE(M().Active);

  for (const int signal : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    if (!M().Active) {
      M().SetCodeGame(12345);
      form->Action(TGameAction::MenuStartGame)->trigger();
    }
    PlayPerson(M().MovesPlayed() + 2);
    ASSERT_TRUE(M().Active);
    QCoreApplication::processEvents();
    QFile::remove(kept);
    const size_t moves = M().MovesPlayed();
    int received = 0;
    const TEndSignals ends([&](int s) {
      received = s;
      form->SessionEnding(true);
    });
    ASSERT_TRUE(ends.Installed());
    raise(signal);
    for (int i = 0; i < 100 && !received; ++i) QTest::qWait(10);
    EXPECT_EQ(received, signal);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(messages.Texts("confirm").empty());
    EXPECT_EQ(keptMoves(), moves);
    Restart();
    ASSERT_TRUE(form->Action(TGameAction::MenuContinueGame)->isEnabled());
    form->Action(TGameAction::MenuContinueGame)->trigger();
    EXPECT_EQ(M().MovesPlayed(), moves);
  }
}

// A record's board too large for the screen at the window's tile size is watched with the
// largest tile size the settings allow that fits; with none the player is told, the window keeps
// its size and nothing is watched. Leaving gives the window its own size back.
TEST_F(GameRecordWindow, ALargeRecordIsWatchedWithTilesThatFitTheScreen) {
  struct TCase {
    int width, height, tile;  // the record's board, the window's tile size
    QSize screen;
    int watched;  // the tile size it is watched with, 0 for none
  };
  const TCase cases[] = {
      {14, 10, 10, {1024, 768}, 10},    // a board that fits keeps the window's tiles
      {60, 40, 25, {1024, 768}, 15},    // the height decides
      {100, 50, 15, {1024, 768}, 10},   // the width decides
      {100, 50, 15, {1920, 1080}, 15},  // the same board on a larger screen
      {255, 255, 15, {1920, 1080}, 0}, {255, 255, 10, {1024, 768}, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    platform.screen = c.screen;
    SetBoard(14, 10, c.tile);
    const QSize own = form->size();
    TGameRecord record;
    record.Width = uint8_t(c.width), record.Height = uint8_t(c.height);
    record.Seats[1] = record.Seats[4] = {gkComputer, 1, "Компьютер"};
    messages.Clear();
    EXPECT_EQ(form->Watch().Start(record), c.watched > 0);
    const QImage& board = form->Board().MapImage();
    if (c.watched > 0) {
      EXPECT_EQ(board.size(), QSize(c.width * c.watched + 1, c.height * c.watched + 1));
      EXPECT_TRUE(QRect(QPoint(), c.screen).contains(QRect(QPoint(), form->size())));
      EXPECT_TRUE(messages.shown.empty());
      form->Watch().Leave();
    } else {
      EXPECT_EQ(messages.Texts("error"),
                std::vector<std::string>{"Игру на поле 255 x 255 нельзя показать: поле не "
                                         "помещается на экране даже с плитками наименьшей "
                                         "ширины (10)."});
    }
    EXPECT_FALSE(form->Watch().Active());
    EXPECT_EQ(form->size(), own);
  }
}

TEST_F(GameRecordWindow, UnfinishedFilesAreContinuedOrWatchedAsTheirSeatsAllow) {
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayPerson(4);
  chosen = Path("classic.morvik");
  form->Action(TGameAction::MenuSaveGame)->trigger();
  TGameRecord strangers = *LoadGameRecord(chosen.toStdString()).Record;
  form->StopGame(true);

  messages.confirmAnswers = {true};  // continue
  form->Action(TGameAction::MenuOpenGame)->trigger();
  ASSERT_TRUE(M().Active);
  EXPECT_EQ(M().MovesPlayed(), strangers.Moves.size());
  EXPECT_EQ(form->Board().MapImage(), boards[M().MovesPlayed()]);
  form->StopGame(true);

  // The same game with its person renamed and moved to seat 2: a multi-user game of a stranger.
  std::swap(strangers.Seats[1], strangers.Seats[2]);
  strangers.Seats[2].Name = "Незнакомец";
  for (TRecordMove& m : strangers.Moves)
    if (m.Seat == 1) m.Seat = 2;
  chosen = Path("stranger.morvik");
  ASSERT_FALSE(SaveGameRecord(chosen.toStdString(), strangers));
  messages.Clear();
  form->Action(TGameAction::MenuOpenGame)->trigger();
  EXPECT_TRUE(messages.Texts("error").empty()) << messages.Texts("error")[0];
  EXPECT_FALSE(M().Active);
  EXPECT_TRUE(form->Watch().Active());
  ASSERT_EQ(messages.Texts("info").size(), 1u);
  EXPECT_NE(messages.Texts("info")[0].find("Незнакомец"), std::string::npos);
}

TEST_F(GameRecordWindow, HostileFilesGiveTheReadersMessageAndChangeNothing) {
  const std::string valid = "morvik-game 1\nlayout 7\nwidth 14\nheight 10\n";
  const std::vector<std::string> texts = {
      "morvik-game 2\n",
      valid + "victory area\nskip-turn on\nauto-turn on\nseat1.kind human\n",
      std::string(GameRecordSizeLimit + 1, 'x'),
      "\xff\xfe garbage",
  };
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayPerson(2);
  const QImage board = form->Board().MapImage().copy();
  const size_t moves = M().MovesPlayed();
  QFile ini(platform.settingsPath);
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  const QByteArray iniBefore = ini.readAll();
  ini.close();
  for (const std::string& text : texts) {
    chosen = Path("hostile.morvik");
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), qint64(text.size()));
    file.close();
    messages.Clear();
    form->Action(TGameAction::MenuOpenGame)->trigger();
    const std::vector<std::string> errors = messages.Texts("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], LoadGameRecord(chosen.toStdString()).Error);
    EXPECT_NE(errors[0].find("«hostile.morvik»"), std::string::npos) << errors[0];
    EXPECT_TRUE(M().Active);
    EXPECT_EQ(M().MovesPlayed(), moves);
    EXPECT_FALSE(form->Watch().Active());
    EXPECT_EQ(form->Board().MapImage(), board);
  }
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  EXPECT_EQ(ini.readAll(), iniBefore);
}

TEST_F(GameRecordWindow, AKeptGameFollowsItsProfileThroughARenameAndGoesWithIt) {
  EXPECT_FALSE(form->Action(TGameAction::MenuSaveGame)->isEnabled());  // no game yet
  form->Action(TGameAction::MenuStartGame)->trigger();
  PlayPerson(2);
  form->close();
  const QString kept = form->Records().KeptPath("Тестер");
  ASSERT_TRUE(QFile::exists(kept));
  // Another profile's kept game seats the renamed person: it follows too.
  TRecordRead read = LoadGameRecord(kept.toStdString());
  ASSERT_TRUE(read.Record);
  const QString other = form->Records().KeptPath("Третий");
  ASSERT_FALSE(SaveGameRecord(other.toStdString(), *read.Record));
  form->Setup().ProfileRenamed("Тестер", "Другой");
  EXPECT_FALSE(QFile::exists(kept));
  ASSERT_TRUE(QFile::exists(form->Records().KeptPath("Другой")));
  for (const QString& path : {form->Records().KeptPath("Другой"), other})
    EXPECT_EQ(LoadGameRecord(path.toStdString()).Record->Seats[1].Name, "Другой");
  form->Setup().ProfileErased("Другой");
  EXPECT_FALSE(QFile::exists(form->Records().KeptPath("Другой")));
}

}  // namespace
