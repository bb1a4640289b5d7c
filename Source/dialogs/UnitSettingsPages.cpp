// SPDX-License-Identifier: GPL-3.0-or-later
// TFormSettings: the window, its five pages with every control, caption, item and hint, and the
// pictures of the tile looks.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/UnitSettings.h"
#include "gui/QtText.h"
#include "model/ComputerLevels.h"
#include "painter/MapPainter.h"

namespace {

// The items of the four tile-look lists, in list order, with the style each one draws.
constexpr const char* kLookNames[4] = {"Выпуклая", "Плоская", "Резная", "Вогнутая"};
constexpr TTileStyle kLookStyles[4] = {stConvex, stFlat, stCarved, stConcave};
constexpr int kLookEdge = 20;  // pixels of a look's picture

// One tile of a look, drawn by the board painter, with its grid frame.
QIcon LookPicture(TTileStyle style, bool signs) {
  TMapPainter painter;
  painter.SetTileSigns(signs);
  painter.Resize(kLookEdge + 1, kLookEdge + 1);
  painter.PresentShow();
  painter.DrawTile(0, 0, kLookEdge, 4, style, true);
  QImage image(reinterpret_cast<const uchar*>(painter.Bits()), painter.Width(), painter.Height(),
               painter.Width() * 4, QImage::Format_RGB32);
  return QIcon(QPixmap::fromImage(image.copy()));
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const char* caption, const char* hint) {
  auto* box = new QCheckBox(Q(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  if (hint) box->setToolTip(Q(hint));
  return box;
}

TRadioGroup* RadioGroup(QWidget* parent, const char* name, const char* title,
                        const std::vector<const char*>& items) {
  QStringList list;
  for (const char* item : items) list << Q(item);
  auto* group = new TRadioGroup(Q(title), list, parent);
  group->setObjectName(QString::fromLatin1(name));
  return group;
}

QLineEdit* Field(QWidget* parent, const char* name, const char* hint) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setToolTip(Q(hint));
  field->setFixedWidth(48);
  return field;
}

}  // namespace

void TFormSettings::CreatePages() {
  setObjectName(QStringLiteral("FormSettings"));
  setWindowTitle(Q("Настройки"));
  // Fixed dialog border: no resizing, no help button.
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  pcOption = new QTabWidget(this);
  pcOption->setObjectName(QStringLiteral("pcOption"));
  pcGame = CreateGamePage();
  tsGame = CreateMapPage();
  tsTile = CreateTilePage();
  tsOption = CreateOptionPage();
  tsPanels = CreatePanelPage();
  pcOption->addTab(pcGame, Q("Игра"));
  pcOption->addTab(tsGame, Q("Карта"));
  pcOption->addTab(tsTile, Q("Плитки"));
  pcOption->addTab(tsOption, Q("Опции"));
  pcOption->addTab(tsPanels, Q("Панели"));

  auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(Q(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  btnOk = button("btnOk", "ОК");
  btnOk->setDefault(true);  // Enter presses it
  btnCancel = button("btnCancel", "Отмена");
  btnUse = button("btnUse", "Применить");
  btnUse->setEnabled(false);
  btnDefault = button("btnDefault", "По умолчанию");
  btnDefault->setToolTip(Q("Установить стандартные значения для текущей страницы"));

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {btnOk, btnCancel, btnUse, btnDefault}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(pcOption, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnOk, &QPushButton::clicked, this, &TFormSettings::btnOkClick);
  connect(btnUse, &QPushButton::clicked, this, &TFormSettings::btnUseClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);  // Esc presses it too
  connect(btnDefault, &QPushButton::clicked, this, &TFormSettings::btnDefaultClick);
}

QWidget* TFormSettings::CreateGamePage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("pcGame"));
  rgMode = RadioGroup(page, "rgMode", " Режим ", {"Классический", "Многопользовательский"});
  std::vector<const char*> levels;
  for (const TComputerLevel& level : ComputerLevels()) levels.push_back(level.Name);
  rgBrain = RadioGroup(page, "rgBrain", " Компьютер ", levels);
  rgVictory = RadioGroup(page, "rgVictory", " Победа ", {"По площади", "По очкам"});
  auto* layout = new QGridLayout(page);
  layout->addWidget(rgMode, 0, 0, 1, 2);
  layout->addWidget(rgBrain, 1, 0);
  layout->addWidget(rgVictory, 1, 1);
  layout->setRowStretch(2, 1);
  return page;
}

QWidget* TFormSettings::CreateMapPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsGame"));
  const auto sizes = {"Маленькая", "Средняя", "Большая", "Огромная", "Особая"};
  rgSizeMap = RadioGroup(page, "rgSizeMap", " Карта ", sizes);
  rgSizeTile = RadioGroup(page, "rgSizeTile", " Плитка ", sizes);
  eWidth = Field(page, "eWidth", "Ширина карты");
  eHeight = Field(page, "eHeight", "Высота карты");
  eTile = Field(page, "eTile", "Размер плитки");

  // The custom fields sit beside their groups' "Особая" items.
  auto* mapFields = new QHBoxLayout;
  mapFields->addWidget(eWidth);
  mapFields->addWidget(new QLabel(QStringLiteral("x"), page));
  mapFields->addWidget(eHeight);
  mapFields->addStretch(1);
  auto* tileFields = new QHBoxLayout;
  tileFields->addWidget(eTile);
  tileFields->addStretch(1);

  auto* layout = new QGridLayout(page);
  layout->addWidget(rgSizeMap, 0, 0);
  layout->addWidget(rgSizeTile, 0, 1);
  layout->addLayout(mapFields, 1, 0);
  layout->addLayout(tileFields, 1, 1);
  layout->setRowStretch(2, 1);
  return page;
}

QComboBox* TFormSettings::CreateTileList(const char* name, const char* caption, QWidget* page,
                                         int row) {
  auto* list = new QComboBox(page);
  list->setObjectName(QString::fromLatin1(name));
  list->setIconSize(QSize(kLookEdge + 1, kLookEdge + 1));
  for (int i = 0; i < 4; ++i) list->addItem(LookPicture(kLookStyles[i], false), Q(kLookNames[i]));
  auto* label = new QLabel(Q(caption), page);
  label->setBuddy(list);
  auto* layout = static_cast<QGridLayout*>(page->layout());
  layout->addWidget(label, row, 0);
  layout->addWidget(list, row, 1);
  return list;
}

QWidget* TFormSettings::CreateTilePage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsTile"));
  auto* layout = new QGridLayout(page);
  cbTileNeutral = CreateTileList("cbTileNeutral", "Нейтральная:", page, 0);
  cbTileOccuped = CreateTileList("cbTileOccuped", "Захваченная:", page, 1);
  cbTileSelected = CreateTileList("cbTileSelected", "Выделенная:", page, 2);
  cbTilePressed = CreateTileList("cbTilePressed", "Нажатая:", page, 3);
  chkbTileSigns =
      CheckBox(page, "chkbTileSigns", "Знаки цветов", "Рисовать на плитках знак их цвета");
  layout->addWidget(chkbTileSigns, 4, 0, 1, 2);
  layout->setRowStretch(5, 1);
  return page;
}

void TFormSettings::chkbTileSignsClick() {
  const bool signs = chkbTileSigns->isChecked();
  for (QComboBox* list : {cbTileNeutral, cbTileOccuped, cbTileSelected, cbTilePressed})
    for (int i = 0; i < 4; ++i) list->setItemIcon(i, LookPicture(kLookStyles[i], signs));
}

QWidget* TFormSettings::CreateOptionPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsOption"));

  auto* select = new QGroupBox(Q(" Выделять "), page);
  chkbSelectIsland =
      CheckBox(select, "chkbSelectIsland", "Острова", "Смежные плитки одного цвета (острова)");
  chkbSelectPerspective = CheckBox(select, "chkbSelectPerspective", "Перспективу",
                                   "Все острова выделенного цвета, которые можно захватить");
  chkbSelectBoundary = CheckBox(select, "chkbSelectBoundary", "Границу",
                                "Территория активного игрока обводится границей");
  auto* selectLayout = new QVBoxLayout(select);
  for (QCheckBox* b : {chkbSelectIsland, chkbSelectPerspective, chkbSelectBoundary})
    selectLayout->addWidget(b);
  selectLayout->addStretch(1);

  auto* misc = new QGroupBox(Q(" Разное "), page);
  chkbSkipTurn = CheckBox(misc, "chkbSkipTurn", "Пропуск хода",
                          "Пропускать ход, если возможности захвата плиток нет");
  chkbAutoTurn = CheckBox(misc, "chkbAutoTurn", "Автоход",
                          "Автоматический выбор цвета, если доступен только один");
  chkbAutostart =
      CheckBox(misc, "chkbAutostart", "Автостарт", "Старт новой игры после завершения предыдущей");
  chkbReplay = CheckBox(misc, "chkbReplay", "Реплей проигрыша",
                        "Выдавать предложение переиграть раунд, если он проиграна");
  chkbHallFameOnRecord = CheckBox(misc, "chkbHallFameOnRecord", "Зал Славы при рекорде",
                                  "Открывать Зал Славы при установке рекорда");
  chkbMusic = CheckBox(misc, "chkbMusic", "Музыка", nullptr);
  slVolume = new QSlider(Qt::Horizontal, misc);
  slVolume->setObjectName(QStringLiteral("slVolume"));
  slVolume->setRange(0, 100);
  slVolume->setSingleStep(10);
  slVolume->setPageStep(10);
  auto* miscLayout = new QVBoxLayout(misc);
  for (QCheckBox* b :
       {chkbSkipTurn, chkbAutoTurn, chkbAutostart, chkbReplay, chkbHallFameOnRecord, chkbMusic})
    miscLayout->addWidget(b);
  miscLayout->addWidget(slVolume);

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(select, 0, Qt::AlignTop);
  layout->addWidget(misc);
  return page;
}

QWidget* TFormSettings::CreatePanelPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsPanels"));
  chkbMainBar =
      CheckBox(page, "chkbMainBar", "Вспомогательная панель", "Видимость дополнительной панели");
  chkbColorBar =
      CheckBox(page, "chkbColorBar", "Панель выбора цвета", "Видимость панели выбора цвета");
  chkbStatusBar = CheckBox(page, "chkbStatusBar", "Панель статуса", "Видимость панели статуса");
  auto* layout = new QVBoxLayout(page);
  for (QCheckBox* b : {chkbMainBar, chkbColorBar, chkbStatusBar}) layout->addWidget(b);
  layout->addStretch(1);
  return page;
}
