// SPDX-License-Identifier: GPL-3.0-or-later
// The hall-of-fame dialog: tables per tab and winning criterion, the reset, the selected row, and
// the records' games.
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "GameFixture.h"
#include "ProfilesFixture.h"
#include "config/GamerFile.h"
#include "dialogs/UnitHallFame.h"
#include "gui/QtText.h"
#include "window/GameRecords.h"
#include "window/GameWatch.h"

namespace {

using Names = std::vector<std::string>;

class HallFame : public ProfilesWindow {
 protected:
  void SetUp() override {
    ProfilesWindow::SetUp();
    form = std::make_unique<TFormHallFame>(Ini(), messages, State(), platform);
  }
  void TearDown() override {
    form.reset();
    ProfilesWindow::TearDown();
  }
  void Open() {
    form->show();
    QApplication::processEvents();
  }
  void Close() { form->btnClose->click(); }
  Names Column(int col) {
    Names out;
    for (int r = 1; r <= 10; ++r) out.push_back(form->Cell(r, col).toStdString());
    return out;
  }
  Names Filled(int col) {
    Names out;
    for (const std::string& s : Column(col))
      if (!s.empty()) out.push_back(s);
    return out;
  }

  std::unique_ptr<TFormHallFame> form;
};

TEST_F(HallFame, AnEmptyTableShowsOnlyHeadersAndPlaces) {
  Open();
  EXPECT_EQ(form->tcTop10->currentIndex(), 1);  // "Средний" until another is chosen
  EXPECT_EQ(form->ShownSection, "MAP01");
  EXPECT_EQ(form->Cell(0, 2), QStringLiteral("Результат"));
  EXPECT_EQ(Column(0), (Names{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_TRUE(Filled(1).empty());
  EXPECT_FALSE(form->btnDropScore->isEnabled());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HallFame, ShowsTheTableOfTheBoardSizeAndVictoryMode) {
  ASSERT_TRUE(WriteHallFame(Ini(), {"Ann=900", "Bob;Jr=500"}, "MAP02"));
  ASSERT_TRUE(WriteHallFame(Ini(), {"Carl=77"}, "MAP12"));
  ASSERT_TRUE(WriteHallFame(Ini(), {"Dan=5"}, "MAP00"));
  State().Options.SizeMap = 2;
  Open();
  EXPECT_EQ(form->tcTop10->currentIndex(), 2);
  EXPECT_EQ(Filled(1), (Names{"Ann", "Bob;Jr"}));
  EXPECT_EQ(Filled(2), (Names{"900", "500"}));
  EXPECT_TRUE(form->btnDropScore->isEnabled());
  // Another tab: its own table; the previous names are gone.
  form->tcTop10->setCurrentIndex(0);
  EXPECT_EQ(form->ShownSection, "MAP00");
  EXPECT_EQ(Filled(1), Names{"Dan"});
  Close();
  // The other winning criterion shows the other tables.
  State().Options.Victory = 1;
  Open();
  EXPECT_EQ(form->ShownSection, "MAP12");
  EXPECT_EQ(Filled(1), Names{"Carl"});
  Close();
  // The custom size keeps the tab shown last.
  State().Options.SizeMap = 4;
  form->tcTop10->setCurrentIndex(3);
  Close();
  Open();
  EXPECT_EQ(form->tcTop10->currentIndex(), 3);
  EXPECT_EQ(form->ShownSection, "MAP13");
}

TEST_F(HallFame, ResetAsksAndErasesOnlyTheShownTable) {
  ASSERT_TRUE(WriteHallFame(Ini(), {"Ann=900"}, "MAP01"));
  ASSERT_TRUE(WriteHallFame(Ini(), {"Bob=800"}, "MAP00"));
  Open();
  messages.confirmAnswers = {false};
  form->btnDropScore->click();
  EXPECT_EQ(Shown("confirm"), Names{"Сброс результатов игроков.\r\nВы уверены"});
  EXPECT_EQ(Filled(1), Names{"Ann"});
  messages.confirmAnswers = {true};
  form->btnDropScore->click();
  EXPECT_FALSE(Ini().SectionExists("MAP01"));
  EXPECT_EQ(Ini().ReadSection("MAP01"), Names{});  // the "Check" line went too
  EXPECT_TRUE(Filled(1).empty());
  EXPECT_FALSE(form->btnDropScore->isEnabled());
  form->tcTop10->setCurrentIndex(0);
  EXPECT_EQ(Filled(1), Names{"Bob"});
}

TEST_F(HallFame, ACorruptedTableIsResetWithItsMessage) {
  ASSERT_TRUE(WriteHallFame(Ini(), {"Ann=900", "Bob=800"}, "MAP01"));
  ASSERT_TRUE(Ini().WriteString("MAP01", "Place2", "Bob;801"));
  Open();
  EXPECT_EQ(Shown("info"), Names{kMsgHallFameChecksum});
  EXPECT_TRUE(Filled(1).empty());
  EXPECT_FALSE(form->btnDropScore->isEnabled());
  EXPECT_EQ(Ini().ReadSection("MAP01"), Names{"Check"});
}

TEST_F(HallFame, SelectedRowIsKeptBetweenShowings) {
  EXPECT_EQ(form->SelectedRow(), 1);
  form->SetSelectedRow(3);
  Open();
  EXPECT_EQ(form->SelectedRow(), 3);
  Close();
  Open();
  EXPECT_EQ(form->SelectedRow(), 3);
  // Rows outside the places are not taken.
  form->SetSelectedRow(0);
  form->SetSelectedRow(11);
  EXPECT_EQ(form->SelectedRow(), 3);
  // The row's place number is not part of the selection.
  EXPECT_FALSE(form->sgScores->item(3, 0)->isSelected());
  EXPECT_TRUE(form->sgScores->item(3, 1)->isSelected());
}

}  // namespace

// A settings file the store cannot read (and has said so at start-up): the table is not the one
// on disk, so no row is marked, and each opening says once why, naming the file and the cause.
TEST_F(HallFame, AnUnreadableFileIsNamedWithItsCauseAndNoRowIsMarked) {
  struct TRow {
    const char* what;
    std::function<void(const std::string&)> make;
    std::string cause;
  };
  std::vector<TRow> rows = {
      {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); },
       "Это папка, а не файл."},
      {"too large",
       [](const std::string& p) {
         std::ofstream{p};
         std::filesystem::resize_file(p, TIniFile::kMaxFileSize + 1);
       },
       "Файл больше 64 МБ: это не файл настроек игры."}};
  if (geteuid() != 0)  // root reads whatever the permissions say
    rows.push_back({"no permission",
                    [](const std::string& p) {
                      std::ofstream{p} << "[MAP01]\r\nPlace1=Ann;900\r\n";
                      std::filesystem::permissions(p, std::filesystem::perms::none);
                    },
                    "Нет прав доступа."});
  for (const TRow& row : rows) {
    const std::string path = dir.filePath(QStringLiteral("unreadable.ini")).toStdString();
    row.make(path);
    TScriptedMessages told;
    TIniFile ini(path, &told);
    ini.ReadSections();  // the store's own report, as at start-up
    ASSERT_TRUE(ini.SavingOff()) << row.what;
    told.Clear();
    TFormHallFame dialog(ini, told, State(), platform);
    dialog.SetSelectedRow(3);  // as the results dialog marks a new record
    const Names expected = {"Не удаётся прочитать зал славы из файла настроек " + path + ".\r\n" +
                            row.cause +
                            "\r\nТаблица показывает только то, что игра знает с начала сеанса; "
                            "файл не изменяется."};
    for (int opening = 1; opening <= 2; ++opening) {
      dialog.show();
      QApplication::processEvents();
      dialog.tcTop10->setCurrentIndex(opening);  // another tab: no second box
      EXPECT_EQ(told.Texts("error"), expected) << row.what << " opening " << opening;
      EXPECT_EQ(dialog.SelectedRow(), -1) << row.what;
      EXPECT_TRUE(dialog.sgScores->selectedItems().isEmpty()) << row.what;
      dialog.btnClose->click();
      told.Clear();
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(path);
  }
}

// Every heading and the widest name a seat can carry show whole, in the rows' own font.
TEST_F(HallFame, HeadingsAndTheWidestNameFitTheirColumns) {
  ASSERT_TRUE(WriteHallFame(Ini(), {WidestSeatName().toStdString() + "=1000"}, "MAP01"));
  Open();
  QTableWidget* grid = form->sgScores;
  const int margin =
      2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
  auto fits = [&](int row, int col) {
    QTableWidgetItem* item = grid->item(row, col);
    const QFont font = item->data(Qt::FontRole).isValid() ? item->font() : grid->font();
    EXPECT_EQ(font, grid->font()) << row << "," << col;
    EXPECT_LE(QFontMetrics(font).horizontalAdvance(item->text()) + margin, grid->columnWidth(col))
        << item->text().toStdString();
  };
  for (int c = 0; c < TFormHallFame::ColCount; ++c) fits(0, c);
  ASSERT_EQ(form->Cell(1, 1), WidestSeatName());
  fits(1, 1);
  fits(1, 2);
  // The grid shows all its columns.
  int columns = 0;
  for (int c = 0; c < TFormHallFame::ColCount; ++c) columns += grid->columnWidth(c);
  EXPECT_LE(columns, grid->viewport()->width());
}

// The added button keeps the dialog whole: every button inside the width of the grid, none
// over another. MORVIK_SHOT_DIR keeps a picture of it (run once more with QT_SCALE_FACTOR=2).
TEST_F(HallFame, TheButtonsFitUnderTheGrid) {
  Open();
  TFormHallFame* dialog = form.get();
  const QRect grid = dialog->sgScores->geometry();
  QRect taken;
  for (QPushButton* b : {dialog->btnDropScore, dialog->btnClose, dialog->btnWatch}) {
    const QRect r = b->geometry();
    EXPECT_GE(r.left(), grid.left()) << b->text().toStdString();
    EXPECT_LE(r.right(), grid.right()) << b->text().toStdString();
    EXPECT_GE(r.width(), b->sizeHint().width()) << b->text().toStdString();
    EXPECT_FALSE(r.intersects(taken)) << b->text().toStdString();
    taken = taken.united(r);
  }
  EXPECT_EQ(dialog->btnWatch->text(), QStringLiteral("Смотреть"));
  if (const QString shots = qEnvironmentVariable("MORVIK_SHOT_DIR"); !shots.isEmpty())
    dialog->grab().save(shots +
                        QStringLiteral("/halloffame-x%1.png").arg(dialog->devicePixelRatio()));
}

// ---------------------------------------------------------------------------------------------
// The records' games: kept beside the table by a won game, shown by "Смотреть".

namespace {

class HallFameGames : public GameWindow {
 protected:
  void SetUp() override {
    GameWindow::SetUp();
    SetBoard(14, 10, 10);
    Option(soAutostart, false);
    form->State().MultiUserMode = false;
    form->onResults = [this] { finalBoard = form->Board().MapImage().copy(); };
  }
  std::filesystem::path Games() {
    return std::filesystem::path(dir.path().toStdString()) / "halloffame";
  }
  // Classic games from layout `code` on, the person taking the colour with the most tiles next
  // to its territory, until the person wins; the layout won on.
  int32_t Win(int32_t code = 1) {
    for (;; ++code) {
      M().SetCodeGame(code);
      form->Action(TGameAction::MenuStartGame)->trigger();
      while (M().Active) form->SetColor(BestColor());
      const auto& last = form->Records().LastFinished();
      if (last && last->Seats[1].Place == 1) return code;
      if (code >= 200) return code;  // fails the test: the table stays empty
    }
  }
  uint8_t BestColor() {
    const TMap& map = Map();
    std::array<size_t, 8> tiles{};
    for (uint16_t n : map.Islands[M().GetGamerIsland(map, M().CurrentGamer)].Neighbours)
      if (n != NoIsland && !M().IsGamerIsland(map, n))
        tiles[map.Islands[n].Color] += map.Islands[n].Tiles.size();
    uint8_t best = 0;
    for (uint8_t c = 1; c <= 7; ++c)
      if (M().FreeColors[c] && (best == 0 || tiles[c] > tiles[best])) best = c;
    return best;
  }
  std::string Section() {
    return HallFameSection(form->State().GameVictory, form->State().GameSizeMap);
  }
  // The table's lines exactly as the settings file holds them.
  std::string SectionBytes() {
    QFile f(platform.SettingsFilePath());
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const std::string text = f.readAll().toStdString();
    const size_t at = text.find("[" + Section() + "]");
    EXPECT_NE(at, std::string::npos);
    return text.substr(at, text.find("\n[", at) - at);
  }
  std::unique_ptr<TFormHallFame> Dialog(bool withGames = true) {
    auto d = std::make_unique<TFormHallFame>(form->IniFile(), messages, form->State(), platform,
                                             nullptr, withGames ? &form->Records() : nullptr);
    d->show();
    QApplication::processEvents();
    return d;
  }

  QImage finalBoard;
};

TEST_F(HallFameGames, KeepingTheGameLeavesTheTablesBytesAsTheyWouldBeWithoutIt) {
  // A won game where no game can be kept (a file has taken the folder's name): told, and the
  // table written all the same.
  std::ofstream(Games()) << "in the way";
  const int32_t code = Win();
  const std::string without = SectionBytes();
  const Names errors = messages.Texts("error");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].starts_with("Игру рекорда не удалось сохранить.")) << errors[0];
  // The same game on the same empty table, its game kept this time.
  ASSERT_TRUE(form->IniFile().EraseSection(Section()));
  std::filesystem::remove(Games());
  messages.Clear();
  EXPECT_EQ(Win(code), code);
  EXPECT_EQ(SectionBytes(), without);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Games()), {}), 2);  // game, index
  EXPECT_TRUE(messages.Texts("error").empty());
}

TEST_F(HallFameGames, WatchIsForRowsWithAGameAndShowsItWhereItWasWon) {
  Win();
  const QImage won = finalBoard;
  std::vector<std::string> table;
  ReadHallFame(form->IniFile(), &messages, table, Section());
  ASSERT_EQ(table.size(), 1u);
  // An older version puts a better record of its own above it, without a game.
  ASSERT_TRUE(WriteHallFame(form->IniFile(), {"Старый=9999", table[0]}, Section()));
  for (bool withGames : {false, true}) {
    auto dialog = Dialog(withGames);
    for (int row = 1; row <= 3; ++row) {
      dialog->SetSelectedRow(row);
      EXPECT_EQ(dialog->btnWatch->isEnabled(), withGames && row == 2) << row;
    }
  }
  // A renamed profile's record keeps its game.
  ASSERT_TRUE(RenameGamerInFile(form->IniFile(), &messages, "Тестер", "Тестер2"));
  form->Setup().ProfileRenamed("Тестер", "Тестер2");
  auto dialog = Dialog();
  dialog->SetSelectedRow(2);
  EXPECT_EQ(dialog->Cell(2, 1), QStringLiteral("Тестер2"));
  ASSERT_TRUE(dialog->btnWatch->isEnabled());
  dialog->btnWatch->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  QApplication::processEvents();  // watching starts once the dialog has returned
  TGameWatch& watch = form->Watch();
  ASSERT_TRUE(watch.Active());
  EXPECT_EQ(watch.Position(), watch.Length());
  EXPECT_EQ(form->Board().MapImage(), won);
  watch.Leave();
  // A reset lets the table's games go.
  messages.confirmAnswers = {true};
  dialog = Dialog();
  dialog->btnDropScore->click();
  EXPECT_FALSE(std::filesystem::exists(Games() / (Section() + ".index")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Games()), {}), 0);
}

}  // namespace
