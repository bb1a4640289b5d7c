// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/UnitAbout.h"
#include "gui/Platform.h"

#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "gui/QtText.h"
#include "painter/MapPainter.h"

namespace {

QColor Color(uint32_t argb) {
  return QColor::fromRgb(argb);
}

// A sunken panel with a heading and caption / bold value rows.
QFrame* CreditsPanel(QWidget* parent, const char* name, const char* heading,
                     std::initializer_list<std::pair<const char*, const char*>> rows) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* grid = new QGridLayout(panel);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(2);
  auto* title = new QLabel(Q(heading), panel);
  grid->addWidget(title, 0, 0, 1, 2);
  int row = 1;
  for (const auto& [caption, value] : rows) {
    grid->addWidget(new QLabel(Q(caption), panel), row, 0, Qt::AlignRight);
    auto* v = new QLabel(Q(value), panel);
    QFont font = v->font();
    font.setBold(true);
    v->setFont(font);
    grid->addWidget(v, row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  return panel;
}

}  // namespace

QPixmap TFormAbout::MorvikPicture() {
  QPixmap picture(PictureWidth, PictureHeight);
  picture.fill(Color(ColorGrid));
  QPainter p(&picture);
  // Tiles of 13 pixels with the bevel of the board's raised look, colours in a fixed pattern.
  constexpr int tile = 13;
  for (int row = 0; row * tile < PictureHeight; ++row) {
    for (int col = 0; col * tile < PictureWidth; ++col) {
      const TTileColors c = GetTileColors(uint8_t(1 + (col * 3 + row * 5 + col / 4) % 7));
      const QRect r(col * tile + 1, row * tile + 1, tile - 1, tile - 1);
      p.fillRect(r, Color(c.Fill));
      p.setPen(Color(c.Light));
      p.drawLine(r.topLeft(), r.topRight());
      p.drawLine(r.topLeft(), r.bottomLeft());
      p.setPen(Color(c.Dark));
      p.drawLine(r.bottomLeft(), r.bottomRight());
      p.drawLine(r.topRight(), r.bottomRight());
    }
  }
  // The name on a dark band.
  p.fillRect(QRect(0, 14, PictureWidth, 37), QColor(0, 0, 0, 150));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(30);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Color(ColorBoundary));
  p.drawText(QRect(0, 14, PictureWidth, 37), Qt::AlignCenter, QStringLiteral("Morvik"));
  return picture;
}

TFormAbout::TFormAbout(const TPlatform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setObjectName(QStringLiteral("FormAbout"));
  setWindowTitle(Q("О программе..."));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon(QIcon(MorvikPicture().copy(0, 0, 40, 40)));  // a corner of the board

  iMorvik = new QLabel(this);
  iMorvik->setObjectName(QStringLiteral("iMorvik"));
  iMorvik->setPixmap(MorvikPicture());
  iMorvik->setFixedSize(PictureWidth, PictureHeight);

  lVersion = new QLabel(Q("Версия 1.2 final от 18.06.2005 г."), this);
  lVersion->setObjectName(QStringLiteral("lVersion"));
  lVersion->setAlignment(Qt::AlignCenter);

  // The game has no home page or mail address of its own, so it shows no links to them.
  Panel2 = CreditsPanel(this, "Panel2", "Создатель программы:",
                        {{"Группа:", "Команда Morvik"},
                         {"Страна:", "Клетчатая"},
                         {"Край:", "Семицветный"},
                         {"Город:", "Морвик"}});
  Panel1 = CreditsPanel(this, "Panel1", "Над игрой работали:",
                        {{"Менеджер проекта:", "Ведущий команды Morvik"},
                         {"Сценарист:", "Хранитель правил"},
                         {"Программист:", "Команда Morvik"},
                         {"Музыкант:", "Синтезатор Morvik"},
                         {"Хелп-мейкер:", "Составитель руководства"},
                         {"Тестировщики:", "Автотесты и первые игроки"}});

  lMaker = new QLabel(Q("© Команда Morvik"), this);
  lMaker->setObjectName(QStringLiteral("lMaker"));
  BitBtn1 = new QPushButton(Q("ОК"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);  // Esc rejects: also closes

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lMaker);
  bottom->addStretch(1);
  bottom->addWidget(BitBtn1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(iMorvik, 0, Qt::AlignHCenter);
  layout->addWidget(lVersion);
  layout->addWidget(Panel2);
  layout->addWidget(Panel1);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  CenterOnScreen(*this, platform_);
}
