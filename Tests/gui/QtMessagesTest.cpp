// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt message service: modal boxes with Russian standard buttons.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include "gui/QtMessages.h"

namespace {

// Answers the next modal box by the button with `text`, recording what the box showed.
void AnswerWith(const QString& text, QStringList* seen) {
  QTimer::singleShot(0, [text, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons()) *seen << b->text();
    *seen << box->text();
    for (QAbstractButton* b : box->buttons())
      if (b->text() == text) b->click();
  });
}

}  // namespace

TEST(QtMessages, RussianButtonsAndAnswers) {
  QTranslator translator;
  ASSERT_TRUE(translator.load(QLocale(QLocale::Russian), "qtbase", "_",
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
  QApplication::installTranslator(&translator);
  TQtMessages messages;
  QStringList seen;
  AnswerWith(QStringLiteral("&Да"), &seen);
  EXPECT_TRUE(messages.Confirm("Игра будет остановлена.\nВы уверены?"));
  EXPECT_EQ(seen, QStringList({"&Да", "&Нет", "Игра будет остановлена.\nВы уверены?"}));
  seen.clear();
  AnswerWith(QStringLiteral("&Нет"), &seen);
  EXPECT_FALSE(messages.Confirm("Выход из игры.\nВы уверены?"));
  seen.clear();
  AnswerWith(QStringLiteral("OK"), &seen);
  messages.Error("Неправильно задана карта.");
  EXPECT_EQ(seen, QStringList({"OK", "Неправильно задана карта."}));
  QApplication::removeTranslator(&translator);
}

TEST(QtMessages, InputQuery) {
  TQtMessages messages;
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Morvik"));
    EXPECT_EQ(dialog->labelText(), QStringLiteral("Введите номер расклада:"));
    dialog->setTextValue(QStringLiteral("-417"));
    dialog->accept();
  });
  std::string text;
  EXPECT_TRUE(messages.InputQuery("", "Введите номер расклада:", text));
  EXPECT_EQ(text, "-417");
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  std::string kept = "abc";
  EXPECT_FALSE(messages.InputQuery("Создание игрока", "Введите имя:", kept));
  EXPECT_EQ(kept, "abc");
}

// The input box stops taking characters at 255, both typed and given as the starting text.
TEST(QtMessages, InputQueryTakesAtMost255Characters) {
  TQtMessages messages;
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* field = dialog->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text().size(), 255);  // the long starting text, cut at the limit
    field->clear();
    QTest::keyClicks(field, QString(260, QLatin1Char('W')));
    EXPECT_EQ(field->text().size(), 255);
    dialog->accept();
  });
  std::string text = QString(300, QChar(0x0416)).toStdString();
  EXPECT_TRUE(messages.InputQuery("Создание игрока", "Введите имя:", text));
  EXPECT_EQ(text, std::string(255, 'W'));
}
