// SPDX-License-Identifier: GPL-3.0-or-later
// The message service of the running program: modal Qt boxes (error: OK; confirmation: Yes/No;
// information: OK; input: one line). The only code that uses QMessageBox and QInputDialog.
#pragma once

#include "config/MessageService.h"

class QWidget;

// The most characters the one-line input box takes.
inline constexpr int InputQueryMaxLength = 255;

class TQtMessages : public TMessageService {
 public:
  // Boxes are centred on `parent` when it is given and visible (else on the screen).
  explicit TQtMessages(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Error(const std::string& text, const std::string& title = std::string()) override;
  bool Confirm(const std::string& text) override;
  void Information(const std::string& text) override;
  bool InputQuery(const std::string& title, const std::string& prompt, std::string& text) override;

 private:
  QWidget* Parent() const;
  QWidget* parent_;
};
