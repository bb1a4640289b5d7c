// The About dialog: picture, version, credits, and no links to addresses that do not exist.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <set>

#include "UnitAbout.h"
#include "painter/MapPainter.h"

namespace {

QStringList Texts(const QWidget* w) {
  QStringList out;
  for (const QLabel* l : w->findChildren<QLabel*>()) out << l->text();
  return out;
}

TEST(About, PictureVersionAndCredits) {
  TFormAbout form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("О программе..."));
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(form.iMorvik->size(), QSize(305, 65));
  EXPECT_EQ(form.lVersion->text(), QStringLiteral("Версия 1.2 final от 18.06.2005 г."));

  const QStringList maker = Texts(form.Panel2);
  for (const char* caption : {"Создатель программы:", "Группа:", "Страна:", "Край:", "Город:"})
    EXPECT_TRUE(maker.contains(QString::fromUtf8(caption))) << caption;
  const QStringList team = Texts(form.Panel1);
  for (const char* role : {"Над игрой работали:", "Менеджер проекта:", "Сценарист:", "Программист:",
                           "Музыкант:", "Хелп-мейкер:", "Тестировщики:"})
    EXPECT_TRUE(team.contains(QString::fromUtf8(role))) << role;
  // Each caption has its bold value beside it.
  int bold = 0;
  for (const QLabel* l : form.Panel1->findChildren<QLabel*>()) bold += l->font().bold() ? 1 : 0;
  EXPECT_EQ(bold, 6);

  // No home page or mail links: nothing opens an address.
  EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("lHomePage")), nullptr);
  EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("lEmail")), nullptr);
  for (const QLabel* l : form.findChildren<QLabel*>()) {
    EXPECT_FALSE(l->openExternalLinks());
    EXPECT_FALSE(l->text().contains(QStringLiteral("http"))) << l->text().toStdString();
    EXPECT_FALSE(l->text().contains(QLatin1Char('@'))) << l->text().toStdString();
  }
}

TEST(About, PictureShowsTheGameColoursAndItsName) {
  const QImage image = TFormAbout::MorvikPicture().toImage();
  ASSERT_EQ(image.size(), QSize(305, 65));
  std::set<QRgb> fills;
  for (uint8_t c = 1; c <= 7; ++c) fills.insert(GetTileColors(c).Fill & 0xFFFFFF);
  std::set<QRgb> seen;
  int white = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y) & 0xFFFFFF;
      if (fills.count(p)) seen.insert(p);
      if (p == 0xFFFFFF) ++white;
    }
  EXPECT_EQ(seen.size(), 7u);  // every colour of the board shows
  EXPECT_GT(white, 200);       // the name's letters
}

TEST(About, OkAndEscapeClose) {
  TFormAbout form;
  form.show();
  EXPECT_TRUE(form.BitBtn1->isDefault());
  form.BitBtn1->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

}  // namespace
