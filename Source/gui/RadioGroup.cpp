// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    group_->addButton(button, i);
    layout->addWidget(button);
  }
  layout->addStretch(1);
  connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) emit Click();
  });
  connect(group_, &QButtonGroup::idClicked, this, [this](int) { emit UserClick(); });
}

int TRadioGroup::Count() const {
  return int(group_->buttons().size());
}

int TRadioGroup::ItemIndex() const {
  return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
  if (index >= Count()) index = Count() - 1;
  if (index < 0) {
    if (ItemIndex() < 0) return;
    // An exclusive group keeps one button checked; let go of it for a moment.
    group_->setExclusive(false);
    group_->checkedButton()->setChecked(false);
    group_->setExclusive(true);
    emit Click();
    return;
  }
  group_->button(index)->setChecked(true);
}

QRadioButton* TRadioGroup::Button(int index) const {
  return qobject_cast<QRadioButton*>(group_->button(index));
}
