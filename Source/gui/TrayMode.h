// SPDX-License-Identifier: GPL-3.0-or-later
// Tray mode ("Босс"): the window hides behind an icon in the notification area and comes back
// on a double click on the icon or through the icon's menu "Показать".
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <memory>

class QMenu;
class QSystemTrayIcon;
class QWidget;
class TPlatform;

class TTrayMode : public QObject {
  Q_OBJECT

 public:
  // Owned by `window` (a child object), so the icon goes when the window goes. `platform` says
  // whether there is a notification area, and must outlive the window.
  TTrayMode(QWidget* window, const TPlatform& platform, const QIcon& icon, const QString& tip);
  ~TTrayMode() override;

  // Hides the window behind the icon. Without a notification area the window is minimised
  // instead, so that it can always be brought back. Repeated calls change nothing.
  void Enter();
  // Shows the window again and removes the icon.
  void Leave();

  // The window is hidden behind the icon.
  bool Active() const { return active_; }
  // The icon; null until the first Enter with a notification area.
  QSystemTrayIcon* Icon() const { return icon_; }
  QMenu* Menu() const { return menu_.get(); }

 private:
  void MakeIcon();

  QWidget* window_;
  const TPlatform& platform_;
  QIcon image_;
  QString tip_;
  QSystemTrayIcon* icon_ = nullptr;
  std::unique_ptr<QMenu> menu_;  // a popup of no widget
  bool active_ = false;
};
