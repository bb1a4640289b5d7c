// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MenuTips.h"

#include <QAction>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>

namespace {

class TMenuTips : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu) return false;
    const QPoint at = MenuTipPosition(menu, static_cast<QHelpEvent*>(event)->pos());
    if (at.isNull()) {
      QToolTip::hideText();
    } else {
      QAction* action = menu->actionAt(static_cast<QHelpEvent*>(event)->pos());
      QToolTip::showText(at, action->toolTip(), menu, menu->actionGeometry(action));
    }
    return true;
  }
};

}  // namespace

void PlaceMenuTipsBeside(QMenu* menu) {
  menu->setToolTipsVisible(true);
  menu->installEventFilter(new TMenuTips(menu));
}

QPoint MenuTipPosition(const QMenu* menu, const QPoint& pos) {
  QAction* action = menu->actionAt(pos);
  if (!action || action->isSeparator() || action->toolTip().isEmpty()) return {};
  const QRect entry = menu->actionGeometry(action);
  // Just right of the menu's edge, at the entry's top.
  return menu->mapToGlobal(QPoint(menu->width() + 2, entry.top()));
}
