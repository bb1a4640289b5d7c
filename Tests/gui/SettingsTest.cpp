// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog: its checks, reading and storing, applying, defaults and enabled states.
#include <QDir>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "SettingsFixture.h"
#include "gui/Icons.h"
#include "model/OptionTable.h"
#include "painter/ColorSigns.h"
#include "sound/Music.h"

namespace {

const std::string kTail = "\r\nИсправьте настройки карты.";

}  // namespace

using SettingsCheck = SettingsWindow;

// A valid custom board: width x height tiles of `tile` pixels.
static void Custom(TFormSettings* s, int width, int height, int tile) {
  s->rgSizeMap->SetItemIndex(4);
  s->rgSizeTile->SetItemIndex(4);
  s->eWidth->setText(QString::number(width));
  s->eHeight->setText(QString::number(height));
  s->eTile->setText(QString::number(tile));
}

// Every option control on `page` (-1: on every page) shows its default from the option table.
static void ExpectDefaults(TFormSettings* s, int page = -1) {
  for (const TOptionInfo& o : OptionTable()) {
    if (page >= 0 && o.Page != page) continue;
    const QObject* c = s->findChild<QObject*>(QString::fromLatin1(o.Control));
    int shown = -2;
    if (auto* box = qobject_cast<const QCheckBox*>(c)) shown = box->isChecked();
    if (auto* group = qobject_cast<const TRadioGroup*>(c)) shown = group->ItemIndex();
    if (auto* field = qobject_cast<const QLineEdit*>(c)) shown = field->text().toInt();
    if (auto* list = qobject_cast<const QComboBox*>(c)) shown = list->currentIndex();
    if (auto* slider = qobject_cast<const QSlider*>(c)) shown = slider->value();
    EXPECT_EQ(shown, o.Default) << o.Control;
    EXPECT_TRUE(s->pcOption->widget(o.Page)->isAncestorOf(qobject_cast<const QWidget*>(c)))
        << o.Control;
  }
}

TEST_F(SettingsCheck, NewProfileReadsTheDefaultsAndPasses) {
  settings->ReadParams();
  ExpectDefaults(settings);
  EXPECT_EQ(settings->slVolume->toolTip(), QString::fromUtf8("Громкость 20%"));
  EXPECT_TRUE(settings->btnUse->isEnabled());
  EXPECT_EQ(settings->GetSizeMap(), std::make_pair(50, 25));
  EXPECT_EQ(settings->GetSizeTile(), 15);
  EXPECT_EQ(settings->CalcHeightBorder(), 143);
  EXPECT_TRUE(settings->TestCondition());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsCheck, EachCheckShowsItsMessageInABoxTitledError) {
  struct Case {
    std::function<void(TFormSettings*)> set;
    std::string text;
  };
  const std::vector<Case> cases = {
      {[](auto* s) { Custom(s, 40, 20, 9); },
       "Ширина плитки меньше 10.\r\nИсправьте настройки игры."},
      {[](auto* s) { Custom(s, 9, 20, 50); }, "Ширина игрового поля меньше 10." + kTail},
      {[](auto* s) {
         s->rgSizeMap->SetItemIndex(0);
         s->rgSizeTile->SetItemIndex(0);
       },
       "Ширина окна меньше минимально допустимой." + kTail},
      {[](auto* s) { s->rgSizeMap->SetItemIndex(3); }, "Ширина окна больше ширины экрана." + kTail},
      {[](auto* s) { Custom(s, 40, 9, 10); }, "Высота игрового поля меньше 10." + kTail},
      {[](auto* s) { Custom(s, 40, 63, 10); }, "Высота окна больше высоты экрана." + kTail},
      {[](auto* s) { s->rgSizeMap->SetItemIndex(-1); }, "Некорректный размер карты." + kTail},
      {[](auto* s) { s->rgSizeTile->SetItemIndex(-1); }, "Некорректный размер плитки." + kTail},
      {[](auto* s) { s->rgBrain->SetItemIndex(-1); },
       "Некорректный уровень игры компьютера." + kTail},
      {[](auto* s) { s->rgVictory->SetItemIndex(-1); },
       "Некорректный способ определения победы." + kTail},
      {[](auto* s) { s->cbTileNeutral->setCurrentIndex(-1); },
       "Не задан вид нейтральной плитки." + kTail},
      {[](auto* s) { s->cbTileOccuped->setCurrentIndex(-1); },
       "Не задан вид захваченной плитки плитки." + kTail},
      {[](auto* s) { s->cbTileSelected->setCurrentIndex(-1); },
       "Не задан вид выделенной плитки." + kTail},
      {[](auto* s) { s->cbTilePressed->setCurrentIndex(-1); },
       "Не задан вид нажатой плитки." + kTail},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    settings->ReadParams();  // the defaults: valid
    messages.Clear();
    cases[i].set(settings);
    EXPECT_FALSE(settings->TestCondition()) << "check " << i + 1;
    ASSERT_EQ(messages.shown.size(), 1u) << "check " << i + 1;
    EXPECT_EQ(messages.shown[0].kind, "error");
    EXPECT_EQ(messages.shown[0].text, cases[i].text) << "check " << i + 1;
    EXPECT_EQ(messages.shown[0].title, "Error");
  }
}

TEST_F(SettingsCheck, SeveralFailuresShowOnlyTheFirst) {
  settings->ReadParams();
  Custom(settings, 9, 9, 20);
  settings->rgBrain->SetItemIndex(-1);
  settings->cbTilePressed->setCurrentIndex(-1);
  EXPECT_FALSE(settings->TestCondition());
  EXPECT_EQ(Errors(), std::vector<std::string>{"Ширина игрового поля меньше 10." + kTail});
}

TEST_F(SettingsCheck, WidthLimitsOnA1024By768Screen) {
  settings->ReadParams();
  settings->rgSizeMap->SetItemIndex(0);   // 20 x 10
  settings->rgSizeTile->SetItemIndex(0);  // 200 pixels: too narrow
  EXPECT_FALSE(settings->TestCondition());
  settings->rgSizeTile->SetItemIndex(2);  // 400
  EXPECT_TRUE(settings->TestCondition());

  settings->rgSizeMap->SetItemIndex(3);  // 100 tiles
  for (int tile : {1, 3}) {              // 15 and 25 pixels
    messages.Clear();
    settings->rgSizeTile->SetItemIndex(tile);
    EXPECT_FALSE(settings->TestCondition());
    EXPECT_EQ(Errors(), std::vector<std::string>{"Ширина окна больше ширины экрана." + kTail});
  }
  settings->rgSizeTile->SetItemIndex(0);  // 1000 <= 1024 - 22
  EXPECT_TRUE(settings->TestCondition());
  Custom(settings, 101, 20, 10);  // 1010
  EXPECT_FALSE(settings->TestCondition());
  // The exact pixel: 1000 pixels of board fit a 1022-wide screen, not a 1021-wide one.
  Custom(settings, 100, 20, 10);
  platform.screen = QSize(1022, 768);
  EXPECT_TRUE(settings->TestCondition());
  platform.screen = QSize(1021, 768);
  messages.Clear();
  EXPECT_FALSE(settings->TestCondition());
  EXPECT_EQ(Errors(), std::vector<std::string>{"Ширина окна больше ширины экрана." + kTail});
}

TEST_F(SettingsCheck, HeightLimitDependsOnThePanelsShown) {
  settings->ReadParams();
  Custom(settings, 40, 25, 25);  // 625 = 768 - 143
  EXPECT_TRUE(settings->TestCondition());
  Custom(settings, 40, 26, 24);  // 624
  EXPECT_TRUE(settings->TestCondition());
  Custom(settings, 40, 63, 10);  // 630
  EXPECT_FALSE(settings->TestCondition());
  for (QCheckBox* b : {settings->chkbMainBar, settings->chkbColorBar, settings->chkbStatusBar})
    b->setChecked(false);
  EXPECT_EQ(settings->CalcHeightBorder(), 67);
  EXPECT_TRUE(settings->TestCondition());  // room for 701
  Custom(settings, 40, 70, 10);
  EXPECT_TRUE(settings->TestCondition());
  Custom(settings, 40, 71, 10);
  EXPECT_FALSE(settings->TestCondition());
  // Products beyond a byte: 255 x 255 tiles of 255 pixels are far off any screen.
  platform.screen = QSize(100000, 100000);
  Custom(settings, 255, 255, 255);
  EXPECT_TRUE(settings->TestCondition());
  platform.screen = QSize(65000, 65000);
  EXPECT_FALSE(settings->TestCondition());
}

TEST_F(SettingsCheck, CustomFieldThatHoldsNoSize) {
  settings->ReadParams();
  const std::string width = "Ширина карты должна быть целым числом от 0 до 255." + kTail;
  const std::string height = "Высота карты должна быть целым числом от 0 до 255." + kTail;
  const std::string tile = "Размер плитки должен быть целым числом от 0 до 255." + kTail;
  const std::vector<std::tuple<QString, QString, QString, std::string>> cases = {
      {"4O", "20", "20", width},  {"", "20", "20", width},     {"256", "20", "20", width},
      {"-40", "20", "20", width}, {"40", "2.5", "20", height}, {"40", "20", "1e1", tile},
      {"40", "20", " ", tile},    {"40", "20", "+20", tile},
  };
  for (auto& [w, h, t, text] : cases) {
    messages.Clear();
    Custom(settings, 40, 20, 20);
    settings->eWidth->setText(w);
    settings->eHeight->setText(h);
    settings->eTile->setText(t);
    EXPECT_FALSE(settings->TestCondition()) << w.toStdString() << h.toStdString();
    EXPECT_EQ(Errors(), std::vector<std::string>{text});
    EXPECT_EQ(settings->pcOption->currentWidget(), settings->tsGame);
  }
  // Blanks around a number are harmless; under fixed presets the fields are not read at all.
  messages.Clear();
  Custom(settings, 40, 20, 20);
  settings->eWidth->setText(" 40 ");
  EXPECT_TRUE(settings->TestCondition());
  settings->eWidth->setText("junk");
  settings->eTile->setText("junk");
  settings->rgSizeMap->SetItemIndex(1);
  settings->rgSizeTile->SetItemIndex(1);
  EXPECT_TRUE(settings->TestCondition());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsCheck, TileLookSevenInTheFileFailsWhenTheProfileIsChosen) {
  Write(cfg::key::TileNeutral, "7");
  EXPECT_FALSE(Choose("Тестер"));
  EXPECT_EQ(settings->cbTileNeutral->currentIndex(), -1);
  EXPECT_EQ(Errors(), std::vector<std::string>{"Не задан вид нейтральной плитки." + kTail});
}

TEST_F(SettingsCheck, StoredValuesOutOfRangeAreKeptInRangeByTheControls) {
  Write(cfg::key::GameSizeMap, "9");
  Write(cfg::key::GameSizeTile, "-5");
  Write(cfg::key::GameBrain, "-1");
  Write(cfg::key::Volume, "250");
  Write(cfg::key::TilePressed, "0x2");
  Write(cfg::key::SelectAutostart, "2");
  Write(cfg::key::VisibleColorBar, "0");
  Write("selecthallfameonrecord", "0");
  settings->ReadParams();
  EXPECT_EQ(settings->rgSizeMap->ItemIndex(), 4);
  EXPECT_EQ(settings->rgSizeTile->ItemIndex(), -1);
  EXPECT_EQ(settings->rgBrain->ItemIndex(), -1);
  EXPECT_EQ(settings->slVolume->value(), 100);
  EXPECT_EQ(settings->cbTilePressed->currentIndex(), 2);
  EXPECT_TRUE(settings->chkbAutostart->isChecked());
  EXPECT_FALSE(settings->chkbColorBar->isChecked());
  EXPECT_FALSE(settings->chkbHallFameOnRecord->isChecked());
  EXPECT_EQ(settings->ClassicComputerLevel(), 0);
}

TEST_F(SettingsCheck, UnknownTileStyleAndNoSizeChoice) {
  EXPECT_EQ(settings->NumberToStyle(4), stFlat);
  EXPECT_EQ(settings->NumberToStyle(-1), stFlat);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, "Неизвестный стиль плитки.");
  EXPECT_EQ(messages.shown[0].title, "Error");
  // No choice of a size: the custom fields.
  settings->rgSizeTile->SetItemIndex(-1);
  settings->eTile->setText("33");
  EXPECT_EQ(settings->GetSizeTile(), 33);
  settings->rgSizeMap->SetItemIndex(2);
  EXPECT_EQ(settings->GetSizeMap(), std::make_pair(75, 37));
}

// ---------------------------------------------------------------------------------------------
// Storing.

using SettingsStore = SettingsWindow;

TEST_F(SettingsStore, ApplyWritesThe23KeysInOrder) {
  ASSERT_TRUE(Choose("Тестер"));
  std::vector<std::string> expected;
  for (auto& k : cfg::SettingsKeys()) expected.push_back(k.key);
  ASSERT_EQ(expected.size(), 23u);
  expected.push_back(cfg::key::TileSigns);  // ours, after them, in the same write
  EXPECT_EQ(Ini().ReadSection(Section()), expected);
  EXPECT_EQ(Read(cfg::key::GameSizeMap), "1");
  EXPECT_EQ(Read(cfg::key::GameWidth), "50");
  EXPECT_EQ(Read(cfg::key::TileOccuped), "2");
  EXPECT_EQ(Read(cfg::key::SelectMusic), "1");
  EXPECT_EQ(Read(cfg::key::Volume), "20");
  EXPECT_FALSE(settings->btnUse->isEnabled());

  // One change still writes every key, in place.
  settings->chkbReplay->setChecked(false);
  settings->btnUseClick();
  EXPECT_EQ(Ini().ReadSection(Section()), expected);
  EXPECT_EQ(Read(cfg::key::SelectReplay), "0");
}

TEST_F(SettingsStore, OkWithoutChangesChecksAndClosesWithoutStoring) {
  ASSERT_TRUE(Choose("Тестер"));
  Write(cfg::key::Volume, "77");  // would be overwritten by a store
  settings->show();
  settings->btnOkClick();
  EXPECT_FALSE(settings->isVisible());
  EXPECT_EQ(settings->result(), QDialog::Accepted);
  EXPECT_EQ(Read(cfg::key::Volume), "77");
}

TEST_F(SettingsStore, FailingCheckKeepsTheDialogOpenAndStoresNothing) {
  ASSERT_TRUE(Choose("Тестер"));
  settings->show();
  settings->rgSizeTile->SetItemIndex(0);
  settings->rgSizeMap->SetItemIndex(0);
  settings->btnOkClick();
  EXPECT_TRUE(settings->isVisible());
  EXPECT_TRUE(settings->btnUse->isEnabled());
  EXPECT_EQ(Read(cfg::key::GameSizeMap), "1");
  EXPECT_EQ(game->Machine().Width, 50);
  settings->hide();
}

TEST_F(SettingsStore, CustomFieldsKeepWholeNumbersAndGarbageKeepsTheLastValidNumber) {
  ASSERT_TRUE(Choose("Тестер"));
  Custom(settings, 40, 30, 20);
  settings->rgSizeMap->SetItemIndex(0);
  settings->rgSizeTile->SetItemIndex(2);
  settings->eWidth->setText("4x");
  settings->eHeight->setText("");
  settings->eTile->setText("999");
  settings->btnUseClick();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Read(cfg::key::GameWidth), "40");
  EXPECT_EQ(Read(cfg::key::GameHeight), "30");
  // A whole number is the field's content even when it is no size: kept as typed.
  EXPECT_EQ(Read(cfg::key::GameTile), "999");
  // The fields show what was stored, and showing it is no new change.
  EXPECT_EQ(settings->eWidth->text(), "40");
  EXPECT_EQ(settings->eHeight->text(), "30");
  EXPECT_EQ(settings->eTile->text(), "999");
  EXPECT_FALSE(settings->btnUse->isEnabled());

  // Whole numbers outside 0..255 in the file survive an apply under a preset, fields untouched.
  Write(cfg::key::GameWidth, "300");
  Write(cfg::key::GameHeight, "-5");
  Write(cfg::key::GameTile, "0x100");
  settings->ReadParams();
  const QString tileShown = settings->eTile->text();
  settings->btnUseClick();
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Read(cfg::key::GameWidth), "300");
  EXPECT_EQ(Read(cfg::key::GameHeight), "-5");
  EXPECT_EQ(Read(cfg::key::GameTile), tileShown.toStdString());
  EXPECT_EQ(settings->eWidth->text(), "300");
  EXPECT_EQ(settings->eHeight->text(), "-5");

  // Read back as the field already shows it, a stored number is the last valid one.
  settings->eWidth->setText("40");
  settings->btnUseClick();
  settings->ReadParams();
  settings->eWidth->setText("4x");
  settings->btnUseClick();
  EXPECT_EQ(Read(cfg::key::GameWidth), "40");
}

TEST_F(SettingsStore, CancelAfterUnappliedChangesReloadsTheStoredValues) {
  ASSERT_TRUE(Choose("Тестер"));
  settings->slVolume->setValue(30);
  settings->btnUseClick();  // applied and stored
  WhenShown(settings, [this] {
    settings->slVolume->setValue(80);
    settings->chkbAutostart->setChecked(false);
    settings->pcOption->setCurrentIndex(1);
    settings->rgSizeTile->SetItemIndex(3);
    EXPECT_EQ(game->Music()->Sound().StreamVolume(), 80);  // heard at once
    QTest::mouseClick(settings->btnCancel, Qt::LeftButton);
  });
  EXPECT_EQ(settings->ExecuteFromWindow(), QDialog::Rejected);
  EXPECT_EQ(settings->slVolume->value(), 30);
  EXPECT_EQ(game->Music()->Sound().StreamVolume(), 30);
  EXPECT_TRUE(settings->chkbAutostart->isChecked());
  EXPECT_EQ(settings->rgSizeTile->ItemIndex(), 1);
  EXPECT_EQ(Read(cfg::key::Volume), "30");
  EXPECT_EQ(game->Machine().SizeTile, 15);
}

TEST_F(SettingsStore, EscCancelsAndEnterPressesOk) {
  ASSERT_TRUE(Choose("Тестер"));
  WhenShown(settings, [this] {
    EXPECT_EQ(settings->focusWidget(), settings->btnOk);
    QTest::keyClick(settings, Qt::Key_Escape);
  });
  EXPECT_EQ(settings->ExecuteFromWindow(), QDialog::Rejected);
  WhenShown(settings, [this] {
    settings->chkbReplay->setChecked(false);
    QTest::keyClick(settings->btnOk, Qt::Key_Return);
  });
  EXPECT_EQ(settings->ExecuteFromWindow(), QDialog::Accepted);
  EXPECT_EQ(Read(cfg::key::SelectReplay), "0");
  EXPECT_FALSE(game->State().Option(soReplay));
}

// ---------------------------------------------------------------------------------------------
// Applying.

using SettingsApply = SettingsWindow;

TEST_F(SettingsApply, OptionsReachTheMachineAndTheSharedFlags) {
  ASSERT_TRUE(Choose("Тестер"));
  TMorvikMachine& m = game->Machine();
  EXPECT_EQ(m.TileStyles, (std::array<TTileStyle, 4>{stConvex, stCarved, stCarved, stConcave}));
  EXPECT_EQ(m.SizeTile, 15);
  EXPECT_EQ(m.Width, 50);
  EXPECT_EQ(m.Height, 25);
  EXPECT_EQ(game->State().SelectOptions(), 255);
  EXPECT_TRUE(game->State().VictoryByArea());

  settings->cbTileNeutral->setCurrentIndex(3);
  settings->cbTilePressed->setCurrentIndex(1);
  Custom(settings, 60, 30, 12);
  settings->rgVictory->SetItemIndex(1);
  settings->chkbSkipTurn->setChecked(false);
  settings->chkbReplay->setChecked(false);
  settings->btnUseClick();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(m.TileStyles, (std::array<TTileStyle, 4>{stConcave, stCarved, stCarved, stFlat}));
  EXPECT_EQ(m.SizeTile, 12);
  EXPECT_EQ(m.Width, 60);
  EXPECT_EQ(m.Height, 30);
  EXPECT_EQ(game->State().SelectOptions(), 255 - soSkipTurn - soReplay);
  EXPECT_FALSE(game->State().VictoryByArea());
  // The window follows the board.
  EXPECT_EQ(game->Board().Painter().Width(), 60 * 12 + 1);
  EXPECT_EQ(game->Board().Painter().Height(), 30 * 12 + 1);
}

TEST_F(SettingsApply, HidingTheStatusBarHidesTheProgressBarAndShortensTheWindow) {
  ASSERT_TRUE(Choose("Тестер"));
  game->show();
  const int height = game->height();
  settings->chkbStatusBar->setChecked(false);
  settings->btnUseClick();
  EXPECT_EQ(game->State().PanelFlags(), pfMainBar | pfColorBar);
  EXPECT_FALSE(game->Status().Bar()->isVisible());
  EXPECT_FALSE(game->Status().Progress()->isVisible());
  EXPECT_EQ(game->height(), height - 20);
  settings->chkbMainBar->setChecked(false);
  settings->btnUseClick();
  EXPECT_FALSE(game->findChild<QToolBar*>(QStringLiteral("atbGame"))->isVisible());
  EXPECT_TRUE(game->findChild<QToolBar*>(QStringLiteral("atbColor"))->isVisible());
  EXPECT_EQ(game->State().PanelFlags(), pfColorBar);
  EXPECT_EQ(Read(cfg::key::VisibleMainBar), "0");
}

TEST_F(SettingsApply, ChangesDuringAGameRedrawTheBoard) {
  ASSERT_TRUE(Choose("Тестер"));
  game->show();
  settings->ControlEnabled(false);
  game->Machine().SetGamer(1, gkHuman, 0, "Тестер", 0);
  game->Machine().SetGamer(2, gkNone, 0, "", 0);
  game->Machine().SetGamer(3, gkNone, 0, "", 0);
  game->Machine().SetGamer(4, gkComputer, 1, "Компьютер", 0);
  game->Machine().SetCodeGame(77);
  game->Machine().StartGame();
  ASSERT_TRUE(game->Machine().Active);
  settings->rgSizeTile->SetItemIndex(0);
  settings->cbTileNeutral->setCurrentIndex(1);
  settings->btnUseClick();
  EXPECT_EQ(game->Machine().SizeTile, 10);
  EXPECT_EQ(game->Board().Painter().Width(), 50 * 10 + 1);
  // The board is drawn, not the idle picture: a tile corner away from the outlined start tile
  // of the seat to move is the black grid.
  EXPECT_EQ(game->Board().Painter().Pixel(20, 20), ColorGrid);
  EXPECT_NE(game->Board().Painter().Pixel(15, 15), ColorIdle);
  game->Machine().EndGame();
}

TEST_F(SettingsApply, ChoosingAModeInTheDialogSwitchesTheGameMode) {
  ASSERT_TRUE(Choose("Тестер"));
  WhenShown(settings, [this] {
    QTest::mouseClick(settings->rgMode->Button(1), Qt::LeftButton);
    EXPECT_FALSE(settings->rgBrain->isEnabled());
    EXPECT_TRUE(settings->btnUse->isEnabled());
    settings->btnOkClick();
  });
  settings->ExecuteFromWindow();
  EXPECT_TRUE(game->State().MultiUserMode);
  EXPECT_TRUE(game->Action(TGameAction::SettingsGameMultiUser)->isChecked());
  EXPECT_FALSE(game->Action(TGameAction::SettingsGameClassic)->isChecked());

  // Chosen and cancelled: forgotten.
  WhenShown(settings, [this] {
    QTest::mouseClick(settings->rgMode->Button(0), Qt::LeftButton);
    settings->reject();
  });
  settings->ExecuteFromWindow();
  EXPECT_TRUE(game->State().MultiUserMode);
  EXPECT_EQ(settings->rgMode->ItemIndex(), 1);

  // The defaults of the page bring the classic mode back.
  settings->btnUseClick();
  settings->pcOption->setCurrentIndex(0);
  settings->btnDefaultClick();
  settings->btnUseClick();
  EXPECT_FALSE(game->State().MultiUserMode);
  EXPECT_TRUE(game->Action(TGameAction::SettingsGameClassic)->isChecked());

  // Set from the program's side it is no pending change.
  settings->ShowMode(true);
  EXPECT_FALSE(settings->btnUse->isEnabled());
}

TEST_F(SettingsApply, MusicSwitchesWithTheSliderVolume) {
  // Music starts off; a profile with music on switches it on, without track files too.
  ASSERT_TRUE(Choose("Тестер"));
  TMusic& music = *game->Music();
  EXPECT_TRUE(music.MusicEnabled());
  EXPECT_EQ(music.Sound().StreamVolume(), 20);
  EXPECT_EQ(game->Action(TGameAction::SettingsMusic)->icon().cacheKey(),
            game->ilColor(20).cacheKey());
  settings->chkbMusic->setChecked(false);
  EXPECT_FALSE(settings->slVolume->isEnabled());
  settings->btnUseClick();
  EXPECT_FALSE(music.MusicEnabled());
  EXPECT_EQ(game->Action(TGameAction::SettingsMusic)->icon().cacheKey(),
            game->ilColor(21).cacheKey());
  settings->slVolume->setValue(60);
  settings->chkbMusic->setChecked(true);
  settings->btnUseClick();
  EXPECT_TRUE(music.MusicEnabled());
  EXPECT_EQ(music.Sound().StreamVolume(), 60);
  EXPECT_EQ(Read(cfg::key::Volume), "60");
}

// Short silent tracks (the mixer takes a track by its content, whatever the file is called).
static void WriteTracks(const QString& folder) {
  QDir().mkpath(folder);
  const int frames = 44100;
  QByteArray wav;
  auto u32 = [&](quint32 v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](quint16 v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
  wav.append("RIFF");
  u32(36 + frames * 4);
  wav.append("WAVEfmt ");
  u32(16), u16(1), u16(2), u32(44100), u32(44100 * 4), u16(4), u16(16);
  wav.append("data");
  u32(frames * 4);
  wav.append(QByteArray(frames * 4, '\0'));
  for (const char* name : {"Title.mp3", "InGame.mp3", "About.mp3"}) {
    QFile f(folder + QLatin1Char('/') + QLatin1String(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(wav);
  }
}

TEST_F(SettingsApply, MusicSwitchedOnDuringAGamePlaysTheInGameTrackFromItsStart) {
  WriteTracks(platform.MusicFolder());
  settings->ReadParams();
  settings->chkbMusic->setChecked(false);
  settings->chkbAutostart->setChecked(false);
  settings->btnOkClick();
  TMusic& music = *game->Music();
  ASSERT_FALSE(music.MusicEnabled());
  game->show();
  game->Action(TGameAction::MenuStartGame)->trigger();
  ASSERT_TRUE(game->Machine().Active);

  settings->chkbMusic->setChecked(true);
  settings->slVolume->setValue(40);
  settings->btnUseClick();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(music.Playing(TMusicTrack::mtInGame));
  EXPECT_FALSE(music.Playing(TMusicTrack::mtTitle));
  EXPECT_EQ(music.Sound().StreamVolume(), 40);
  EXPECT_EQ(settings->slVolume->toolTip(), QString::fromUtf8("Громкость 40%"));

  // Off stops everything at once; the music command brings the track back from its start.
  const uint64_t fifth = 44100 / 5;
  EXPECT_TRUE(QTest::qWaitFor([&] { return music.PlayedFrames(TMusicTrack::mtInGame) > fifth; }));
  game->Action(TGameAction::SettingsMusic)->trigger();
  EXPECT_FALSE(music.Playing(TMusicTrack::mtInGame));
  game->Action(TGameAction::SettingsMusic)->trigger();
  EXPECT_TRUE(music.Playing(TMusicTrack::mtInGame));
  EXPECT_LT(music.PlayedFrames(TMusicTrack::mtInGame), fifth);
  game->StopGame(true);
  EXPECT_TRUE(music.Playing(TMusicTrack::mtTitle));
}

TEST_F(SettingsApply, MusicThatCannotStartTurnsTheBoxBackAndTheRestIsApplied) {
  settings->ReadParams();
  settings->chkbMusic->setChecked(true);
  settings->chkbReplay->setChecked(false);
  const QByteArray saved = qgetenv("SDL_AUDIODRIVER");
  qputenv("SDL_AUDIODRIVER", "no-such-driver");
  settings->btnUseClick();
  qputenv("SDL_AUDIODRIVER", saved);
  EXPECT_FALSE(game->Music()->MusicEnabled());
  EXPECT_FALSE(settings->chkbMusic->isChecked());
  EXPECT_FALSE(settings->slVolume->isEnabled());
  EXPECT_EQ(Errors(), std::vector<std::string>{"Невозможно инициализировать звуковую систему."});
  EXPECT_EQ(Read(cfg::key::SelectMusic), "0");
  EXPECT_EQ(Read(cfg::key::SelectReplay), "0");
  EXPECT_FALSE(game->State().Option(soReplay));
}

// ---------------------------------------------------------------------------------------------
// Defaults and enabled states.

using SettingsControls = SettingsWindow;

// The dialog sizes itself to its pages: no choice's text is cut, "Мастер" in the computer's
// group included.
TEST_F(SettingsControls, EveryChoiceShowsItsWholeText) {
  settings->ReadParams();
  settings->show();
  for (int page = 0; page < settings->pcOption->count(); ++page) {
    settings->pcOption->setCurrentIndex(page);
    QApplication::processEvents();
    for (QAbstractButton* b : settings->pcOption->widget(page)->findChildren<QAbstractButton*>())
      EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
  }
  EXPECT_EQ(settings->rgBrain->Count(), int(ComputerLevels().size()));
  settings->hide();
}

TEST_F(SettingsControls, DefaultsPerPage) {
  settings->ReadParams();
  auto defaults = [this](int page) {
    settings->pcOption->setCurrentIndex(page);
    settings->btnDefaultClick();
  };
  settings->rgMode->SetItemIndex(1);
  settings->rgBrain->SetItemIndex(2);
  settings->rgVictory->SetItemIndex(1);
  Custom(settings, 60, 30, 12);
  settings->cbTileNeutral->setCurrentIndex(3);
  settings->cbTilePressed->setCurrentIndex(-1);
  for (QCheckBox* b : settings->findChildren<QCheckBox*>()) b->setChecked(false);
  settings->slVolume->setValue(90);

  defaults(2);
  ExpectDefaults(settings, 2);
  EXPECT_EQ(settings->rgSizeMap->ItemIndex(), 4);  // other pages untouched
  EXPECT_FALSE(settings->chkbMusic->isChecked());

  defaults(3);
  ExpectDefaults(settings, 3);
  EXPECT_FALSE(settings->chkbMainBar->isChecked());

  defaults(4);
  ExpectDefaults(settings, 4);
  defaults(1);
  ExpectDefaults(settings, 1);
  defaults(0);
  ExpectDefaults(settings, 0);
  EXPECT_EQ(settings->rgMode->ItemIndex(), 0);
}

TEST_F(SettingsControls, DefaultsDuringAGameLeaveTheLockedControls) {
  settings->ReadParams();
  settings->rgBrain->SetItemIndex(2);
  settings->rgVictory->SetItemIndex(1);
  Custom(settings, 60, 30, 12);
  settings->ControlEnabled(false);
  settings->pcOption->setCurrentIndex(0);
  settings->btnDefaultClick();
  EXPECT_EQ(settings->rgBrain->ItemIndex(), 2);
  EXPECT_EQ(settings->rgVictory->ItemIndex(), 1);
  settings->pcOption->setCurrentIndex(1);
  settings->btnDefaultClick();
  EXPECT_EQ(settings->rgSizeMap->ItemIndex(), 4);
  EXPECT_EQ(settings->eWidth->text(), "60");
  EXPECT_EQ(settings->eHeight->text(), "30");
  EXPECT_EQ(settings->rgSizeTile->ItemIndex(), 1);
  EXPECT_EQ(settings->eTile->text(), "15");
}

TEST_F(SettingsControls, EnabledStatesFollowTheirRules) {
  settings->ReadParams();
  auto* s = settings;
  EXPECT_FALSE(s->eWidth->isEnabled());
  EXPECT_FALSE(s->eTile->isEnabled());
  s->rgSizeMap->SetItemIndex(4);
  s->rgSizeTile->SetItemIndex(4);
  EXPECT_TRUE(s->eWidth->isEnabled());
  EXPECT_TRUE(s->eHeight->isEnabled());
  EXPECT_TRUE(s->eTile->isEnabled());

  s->ControlEnabled(false);  // a game starts
  for (QWidget* w : std::initializer_list<QWidget*>{s->rgMode, s->rgSizeMap, s->rgBrain,
                                                    s->rgVictory, s->eWidth, s->eHeight})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(s->rgSizeTile->isEnabled());
  EXPECT_TRUE(s->eTile->isEnabled());
  s->rgSizeMap->SetItemIndex(1);
  s->rgSizeMap->SetItemIndex(4);
  EXPECT_FALSE(s->eWidth->isEnabled());

  s->ShowMode(true);
  s->ControlEnabled(true);  // it ends: as far as the rules allow
  EXPECT_TRUE(s->rgMode->isEnabled());
  EXPECT_TRUE(s->eWidth->isEnabled());
  EXPECT_FALSE(s->rgBrain->isEnabled());  // multi-user mode
  s->ShowMode(false);
  EXPECT_TRUE(s->rgBrain->isEnabled());

  s->chkbSelectIsland->setChecked(false);
  EXPECT_FALSE(s->chkbSelectPerspective->isEnabled());
  EXPECT_TRUE(s->chkbSelectPerspective->isChecked());  // still counts in SelectOptions
  s->chkbSelectIsland->setChecked(true);
  EXPECT_TRUE(s->chkbSelectPerspective->isEnabled());
}

TEST_F(SettingsControls, ApplyButtonFollowsChanges) {
  EXPECT_FALSE(settings->btnUse->isEnabled());  // at creation
  ASSERT_TRUE(Choose("Тестер"));
  EXPECT_FALSE(settings->btnUse->isEnabled());
  const std::vector<std::function<void()>> changes = {
      [this] { settings->rgVictory->SetItemIndex(1); },
      [this] { settings->eTile->setText("16"); },
      [this] { settings->cbTileSelected->setCurrentIndex(0); },
      [this] { settings->chkbAutoTurn->setChecked(false); },
      [this] { settings->slVolume->setValue(50); },
      [this] { settings->chkbStatusBar->setChecked(false); },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    changes[i]();
    EXPECT_TRUE(settings->btnUse->isEnabled()) << i;
    settings->btnUseClick();
    EXPECT_FALSE(settings->btnUse->isEnabled()) << i;
  }
}

TEST_F(SettingsControls, EveryTileLookHasItsOwnPicture) {
  for (int i = 0; i < 4; ++i) {
    const QImage image = settings->cbTileNeutral->itemIcon(i).pixmap(21, 21).toImage();
    EXPECT_FALSE(image.isNull());
    for (int j = 0; j < i; ++j)
      EXPECT_NE(image, settings->cbTileNeutral->itemIcon(j).pixmap(21, 21).toImage()) << i << j;
  }
}

// ---------------------------------------------------------------------------------------------
// The main window's commands.

using SettingsWiring = SettingsWindow;

TEST_F(SettingsWiring, F7ShowsTheDialogModallyAndCancelReloads) {
  ASSERT_TRUE(Choose("Тестер"));
  game->show();
  game->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(game.get()));
  bool shown = false;
  WhenShown(settings, [&] {
    shown = true;
    EXPECT_TRUE(settings->isEnabled());
    settings->chkbReplay->setChecked(false);
    settings->reject();
  });
  QTest::keyClick(game.get(), Qt::Key_F7);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(settings->isVisible());
  EXPECT_TRUE(settings->chkbReplay->isChecked());
  EXPECT_TRUE(game->isEnabled());
}

TEST_F(SettingsWiring, ModeCommandsSetTheModeGroup) {
  ASSERT_TRUE(Choose("Тестер"));
  game->Action(TGameAction::SettingsGameMultiUser)->trigger();
  EXPECT_TRUE(game->State().MultiUserMode);
  EXPECT_EQ(settings->rgMode->ItemIndex(), 1);
  EXPECT_FALSE(settings->rgBrain->isEnabled());
  EXPECT_FALSE(settings->btnUse->isEnabled());
  game->Action(TGameAction::SettingsGameClassic)->trigger();
  EXPECT_FALSE(game->State().MultiUserMode);
  EXPECT_EQ(settings->rgMode->ItemIndex(), 0);
  EXPECT_TRUE(settings->rgBrain->isEnabled());
}

TEST_F(SettingsWiring, MusicCommandTogglesTheBoxAndApplies) {
  ASSERT_TRUE(Choose("Тестер"));
  ASSERT_TRUE(game->Music()->MusicEnabled());
  game->Action(TGameAction::SettingsMusic)->trigger();
  EXPECT_FALSE(settings->chkbMusic->isChecked());
  EXPECT_FALSE(game->Music()->MusicEnabled());
  EXPECT_EQ(Read(cfg::key::SelectMusic), "0");
  EXPECT_EQ(game->Action(TGameAction::SettingsMusic)->icon().cacheKey(),
            game->ilColor(21).cacheKey());
  game->Action(TGameAction::SettingsMusic)->trigger();
  EXPECT_TRUE(game->Music()->MusicEnabled());
  EXPECT_EQ(Read(cfg::key::SelectMusic), "1");
}

TEST_F(SettingsWiring, AGameLocksTheSettingsAndTakesItsStrengthFromThem) {
  settings->ReadParams();
  settings->chkbAutostart->setChecked(false);
  game->show();
  ASSERT_EQ(settings->rgBrain->Count(), int(ComputerLevels().size()));
  for (const TComputerLevel& level : ComputerLevels()) {
    settings->rgBrain->SetItemIndex(level.Stored);
    EXPECT_EQ(settings->rgBrain->Button(level.Stored)->text(), QString::fromUtf8(level.Name));
    ASSERT_TRUE(settings->TestCondition());
    settings->btnOkClick();
    EXPECT_EQ(Read(cfg::key::GameBrain), std::to_string(level.Stored));
    game->Action(TGameAction::MenuStartGame)->trigger();
    ASSERT_TRUE(game->Machine().Active);
    EXPECT_TRUE(settings->Locked());
    EXPECT_FALSE(settings->rgSizeMap->isEnabled());
    EXPECT_FALSE(settings->rgBrain->isEnabled());
    EXPECT_EQ(game->Machine().Gamers[4].Kind, gkComputer);
    EXPECT_EQ(game->Machine().Gamers[4].Level, level.Value);
    game->StopGame(true);
    EXPECT_FALSE(settings->Locked());
    EXPECT_TRUE(settings->rgSizeMap->isEnabled());
    EXPECT_TRUE(settings->rgBrain->isEnabled());
  }
}

// ---------------------------------------------------------------------------------------------
// Signs of the colours.

using SettingsSigns = SettingsWindow;

namespace {

QImage Rgb32(const QIcon& icon, int size) {
  return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_RGB32);
}

// `plain` with the sign of `color` drawn on it for a tile of edge `tile` at the top left.
QImage WithSign(QImage plain, int tile, uint8_t color) {
  DrawColorSign(reinterpret_cast<uint32_t*>(plain.bits()), plain.width(), plain.height(), 0, 0,
                tile, color);
  return plain;
}

}  // namespace

TEST_F(SettingsSigns, OptionRoundTripsThroughTheFileTheDialogAndThePageDefault) {
  QCheckBox* box = settings->chkbTileSigns;
  EXPECT_EQ(box->text(), QString::fromUtf8("Знаки цветов"));
  EXPECT_EQ(box->toolTip(), QString::fromUtf8("Рисовать на плитках знак их цвета"));
  EXPECT_TRUE(settings->tsTile->isAncestorOf(box));

  ASSERT_TRUE(Choose("Тестер"));  // a fresh profile: off, and stored as off
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(Read(cfg::key::TileSigns), "0");
  EXPECT_FALSE(game->State().Options.TileSigns);
  EXPECT_FALSE(game->Board().Painter().TileSigns());

  box->setChecked(true);
  EXPECT_TRUE(settings->btnUse->isEnabled());
  settings->btnUseClick();
  EXPECT_EQ(Read(cfg::key::TileSigns), "1");
  EXPECT_TRUE(game->State().Options.TileSigns);
  EXPECT_TRUE(game->Board().Painter().TileSigns());

  // Another profile has its own value; coming back reads this one's from the file.
  ASSERT_TRUE(Choose("Другой"));
  EXPECT_FALSE(box->isChecked());
  EXPECT_FALSE(game->Board().Painter().TileSigns());
  ASSERT_TRUE(Choose("Тестер"));
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(game->Board().Painter().TileSigns());

  // Only the "Плитки" page's default resets it, and that counts as a change.
  settings->pcOption->setCurrentWidget(settings->tsOption);
  settings->btnDefaultClick();
  EXPECT_TRUE(box->isChecked());
  settings->btnUseClick();
  settings->pcOption->setCurrentWidget(settings->tsTile);
  settings->btnDefaultClick();
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(settings->btnUse->isEnabled());
  settings->btnOkClick();
  EXPECT_EQ(Read(cfg::key::TileSigns), "0");
  EXPECT_FALSE(game->Board().Painter().TileSigns());

  // A value written by hand is read like every boolean key.
  Write(cfg::key::TileSigns, "1");
  ASSERT_TRUE(Choose("Тестер"));
  EXPECT_TRUE(game->State().Options.TileSigns);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(SettingsSigns, ButtonsMenuAndLookPicturesCarryTheSignsOnlyWhileOn) {
  ASSERT_TRUE(Choose("Тестер"));
  QList<QAction*> menu = game->findChild<QMenu*>(QStringLiteral("pmColor"))->actions();
  const std::array<QComboBox*, 4> lists = {settings->cbTileNeutral, settings->cbTileOccuped,
                                           settings->cbTileSelected, settings->cbTilePressed};
  auto buttons = [&] {
    std::vector<QImage> out;
    for (int k = 1; k <= 7; ++k)
      for (int size : {16, 24, 32})
        out.push_back(Rgb32(game->Action(ColorAction(size_t(k)))->icon(), size));
    return out;
  };
  auto looks = [&] {
    std::vector<QImage> out;
    for (QComboBox* list : lists)
      for (int i = 0; i < 4; ++i) out.push_back(Rgb32(list->itemIcon(i), 21));
    return out;
  };
  // Off: the plain tiles, as they always were.
  const std::vector<QImage> plainButtons = buttons(), plainLooks = looks();
  const auto plainIcons = MakeColorIcons();
  for (int k = 1; k <= 7; ++k) {
    EXPECT_TRUE(menu.contains(game->Action(ColorAction(size_t(k))))) << k;
    for (int n = 0; n < 3; ++n)
      EXPECT_EQ(plainButtons[size_t((k - 1) * 3 + n)], Rgb32(plainIcons[size_t(k - 1)], 16 + 8 * n))
          << k;
  }

  settings->chkbTileSigns->setChecked(true);
  // The dialog's pictures follow the box at once: blue tiles (colour 4) of edge 20.
  const std::vector<QImage> signedLooks = looks();
  for (size_t i = 0; i < signedLooks.size(); ++i) {
    EXPECT_NE(signedLooks[i], plainLooks[i]) << i;
    EXPECT_EQ(signedLooks[i], WithSign(plainLooks[i], 20, 4)) << i;
  }
  EXPECT_EQ(buttons(), plainButtons);  // the window changes only when applied
  settings->btnUseClick();
  const std::vector<QImage> signedButtons = buttons();
  for (int k = 1; k <= 7; ++k) {
    QAction* a = game->Action(ColorAction(size_t(k)));
    EXPECT_EQ(a->icon().cacheKey(), game->ilColor(k - 1).cacheKey()) << k;
    for (int n = 0; n < 3; ++n) {
      const size_t i = size_t((k - 1) * 3 + n);
      EXPECT_NE(signedButtons[i], plainButtons[i]) << k;
      EXPECT_EQ(signedButtons[i], WithSign(plainButtons[i], 15 + 8 * n, uint8_t(k))) << k;
    }
  }

  // Off again: every pixel as before.
  settings->chkbTileSigns->setChecked(false);
  settings->btnUseClick();
  EXPECT_EQ(buttons(), plainButtons);
  EXPECT_EQ(looks(), plainLooks);
}

TEST_F(SettingsSigns, SwitchingDuringAGameRedrawsTheBoardAndOffRestoresIt) {
  ASSERT_TRUE(Choose("Тестер"));
  game->show();
  settings->ControlEnabled(false);
  game->Machine().SetGamer(1, gkHuman, 0, "Тестер", 0);
  game->Machine().SetGamer(2, gkNone, 0, "", 0);
  game->Machine().SetGamer(3, gkNone, 0, "", 0);
  game->Machine().SetGamer(4, gkComputer, 1, "Компьютер", 0);
  game->Machine().SetCodeGame(77);
  game->Machine().StartGame();
  ASSERT_TRUE(game->Machine().Active);
  const QImage first = game->Board().MapImage().copy();

  settings->chkbTileSigns->setChecked(true);
  settings->btnUseClick();
  const QImage withSigns = game->Board().MapImage().copy().convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(withSigns, first.convertToFormat(QImage::Format_RGB32));
  settings->chkbTileSigns->setChecked(false);
  settings->btnUseClick();
  const QImage plain = game->Board().MapImage().copy().convertToFormat(QImage::Format_RGB32);

  // Every tile of colour 1..7 carries its sign and nothing else changes: the signed board is the
  // plain one with the signs drawn on it.
  QImage expected = plain;
  const int s = game->Machine().SizeTile;
  const TMap& map = *game->Machine().Map;
  for (int r = 0; r < game->Machine().Height; ++r)
    for (int c = 0; c < game->Machine().Width; ++c) {
      const uint8_t color = map.Islands[map.Tiles[r][c].Island].Color;
      DrawColorSign(reinterpret_cast<uint32_t*>(expected.bits()), expected.width(),
                    expected.height(), c * s, r * s, s, color);
    }
  EXPECT_EQ(withSigns, expected);
  game->Machine().EndGame();
}

// At start-up (main window hidden) the dialog sits in the middle of the screen; later in the
// middle of the main window.
TEST_F(SettingsStore, OpensCentredOnTheMainWindowOrTheScreen) {
  ASSERT_TRUE(Choose("Тестер"));
  auto centred = [this](QRect on) {
    const QPoint off = settings->frameGeometry().center() - on.center();
    EXPECT_LE(off.manhattanLength(), 2) << off.x() << "," << off.y();
    settings->reject();
  };
  const QRect screenArea = platform.WorkArea(*settings);
  WhenShown(settings, [&] { centred(screenArea); });
  settings->exec();
  game->show();
  game->move(game->pos() + QPoint(40, 30));  // off the screen's centre
  QApplication::processEvents();
  WhenShown(settings, [&] { centred(game->frameGeometry()); });
  settings->exec();
}
