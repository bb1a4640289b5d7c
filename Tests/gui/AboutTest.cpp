// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog: version, credits, and no links to addresses that do not exist.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "TestPlatform.h"
#include "dialogs/UnitAbout.h"

namespace {

QStringList Texts(const QWidget* w) {
  QStringList out;
  for (const QLabel* l : w->findChildren<QLabel*>()) out << l->text();
  return out;
}

TEST(About, PictureVersionAndCredits) {
  const TTestPlatform platform;
  TFormAbout form(platform);
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

}  // namespace
