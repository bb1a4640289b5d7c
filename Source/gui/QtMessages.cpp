#include "gui/QtMessages.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

QString Title(const std::string& title) {
  return title.empty() ? QStringLiteral("Morvik") : QString::fromStdString(title);
}

}  // namespace

QWidget* TQtMessages::Parent() const {
  if (parent_ && parent_->isVisible()) return parent_;
  return QApplication::activeWindow();
}

void TQtMessages::Error(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Critical, Title(title), QString::fromStdString(text),
                  QMessageBox::Ok, Parent());
  box.exec();
}

bool TQtMessages::Confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, Title({}), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, Parent());
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void TQtMessages::Information(const std::string& text) {
  QMessageBox box(QMessageBox::Information, Title({}), QString::fromStdString(text),
                  QMessageBox::Ok, Parent());
  box.exec();
}

bool TQtMessages::InputQuery(const std::string& title, const std::string& prompt,
                             std::string& text) {
  bool ok = false;
  const QString typed =
      QInputDialog::getText(Parent(), Title(title), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString::fromStdString(text), &ok);
  if (ok) text = typed.toStdString();
  return ok;
}
