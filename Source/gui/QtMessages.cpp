// SPDX-License-Identifier: GPL-3.0-or-later
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
  QInputDialog dialog(Parent());
  dialog.setWindowTitle(Title(title));
  dialog.setLabelText(QString::fromStdString(prompt));
  dialog.setInputMode(QInputDialog::TextInput);
  // The field takes no more than a name may hold: longer typing stops at the limit instead of
  // being cut silently afterwards.
  if (auto* field = dialog.findChild<QLineEdit*>()) field->setMaxLength(InputQueryMaxLength);
  dialog.setTextValue(QString::fromStdString(text));
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.textValue().toStdString();
  return true;
}
