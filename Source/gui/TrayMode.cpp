// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/TrayMode.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include "gui/Platform.h"

TTrayMode::TTrayMode(QWidget* window, const TPlatform& platform, const QIcon& icon,
                     const QString& tip)
    : QObject(window), window_(window), platform_(platform), image_(icon), tip_(tip) {
  setObjectName(QStringLiteral("TrayMode"));
}

TTrayMode::~TTrayMode() {
  if (icon_) {
    icon_->hide();
    icon_->setContextMenu(nullptr);  // the menu goes before the icon
  }
}

void TTrayMode::MakeIcon() {
  icon_ = new QSystemTrayIcon(image_, this);
  icon_->setObjectName(QStringLiteral("TrayIcon"));
  icon_->setToolTip(tip_);
  menu_ = std::make_unique<QMenu>();
  QAction* show = menu_->addAction(QStringLiteral("Показать"));
  show->setObjectName(QStringLiteral("actTrayShow"));
  connect(show, &QAction::triggered, this, &TTrayMode::Leave);
  icon_->setContextMenu(menu_.get());
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::DoubleClick) Leave();
  });
  // The icon never outlives the program, even if the window is not destroyed before the end.
  connect(qApp, &QCoreApplication::aboutToQuit, icon_, &QSystemTrayIcon::hide);
}

void TTrayMode::Enter() {
  if (active_) return;
  if (!platform_.SystemTrayAvailable()) {
    window_->showMinimized();
    return;
  }
  if (!icon_) MakeIcon();
  icon_->show();
  active_ = true;
  window_->hide();
}

void TTrayMode::Leave() {
  if (!active_) return;
  active_ = false;
  if (icon_) icon_->hide();
  window_->show();
  if (window_->isMinimized()) window_->showNormal();
  window_->raise();
  window_->activateWindow();
}
