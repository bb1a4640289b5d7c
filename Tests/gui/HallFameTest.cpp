// SPDX-License-Identifier: GPL-3.0-or-later
// The hall-of-fame dialog: tables per tab and winning criterion, the reset, the selected row.
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "ProfilesFixture.h"
#include "dialogs/UnitHallFame.h"
#include "gui/QtText.h"

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
