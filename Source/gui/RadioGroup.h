// SPDX-License-Identifier: GPL-3.0-or-later
// A framed group of radio buttons with one index: the chosen item, or -1 for no choice.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

  int Count() const;
  int ItemIndex() const;  // -1: no choice
  // Kept in range like a stored value: below 0 chooses nothing, past the end the last item.
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const;

 signals:
  void Click();      // the choice changed, by the user or in code
  void UserClick();  // the user clicked an item

 private:
  QButtonGroup* group_;
};
