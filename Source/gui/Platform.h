// SPDX-License-Identifier: GPL-3.0-or-later
// The few things the windows read from the machine they run on: the screen, a clock, where the
// files are and who is logged in. The program passes the real one to every window that needs it;
// tests pass a double (a 1024 x 768 screen, a temporary folder, a clock that counts).
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

class QWidget;

class TPlatform {
 public:
  virtual ~TPlatform() = default;

  // Size of the whole screen in pixels (not the work area): the largest board that fits.
  virtual QSize ScreenSize() const = 0;
  // The part of the screen that windows may cover, on the screen where `window` is shown.
  virtual QRect WorkArea(const QWidget& window) const = 0;
  // A counter that keeps moving, read to seed the generator for a new layout number.
  virtual uint32_t ClockCounter() const = 0;
  // The settings file (created by the main window when missing).
  virtual QString SettingsFilePath() const = 0;
  // The folder holding the three music tracks.
  virtual QString MusicFolder() const = 0;
  // The manual; when it is missing, the path the message names.
  virtual QString HelpFilePath() const = 0;
  // Name of the person logged in.
  virtual QString UserName() const = 0;
  // The desktop has a notification area for the tray mode.
  virtual bool SystemTrayAvailable() const = 0;
  // Where the program keeps the games it looks after (an interrupted game per profile). By
  // default the settings file's folder.
  virtual QString DataFolder() const;
};

// The machine the program runs on.
class TSystemPlatform : public TPlatform {
 public:
  // `executableFolder` stands for the running executable's folder when given (the file layouts
  // can then be checked in a temporary folder).
  explicit TSystemPlatform(QString executableFolder = QString());

  // Folder of the executable, without a trailing separator.
  QString ExecutableFolder() const;

  QSize ScreenSize() const override;
  QRect WorkArea(const QWidget& window) const override;
  uint32_t ClockCounter() const override;
  // The executable's path + ".ini" when that file exists, or when the folder is writable and is
  // no installed bin/ folder (portable layout); else morvik.ini in the user's configuration
  // folder, $XDG_CONFIG_HOME/morvik or ~/.config/morvik (installed layout).
  QString SettingsFilePath() const override;
  // The "Music" folder beside the executable, or the installed data folder's.
  QString MusicFolder() const override;
  // Beside the executable under its name with ".html", else in the installed data folder; when
  // neither exists, the path beside the executable.
  QString HelpFilePath() const override;
  QString UserName() const override;
  bool SystemTrayAvailable() const override;
  // The executable's folder when the settings file lies beside it (portable layout); else
  // $XDG_DATA_HOME/morvik or ~/.local/share/morvik.
  QString DataFolder() const override;

 private:
  QString folder_;
};

// Moves a top-level window to the centre of the work area.
void CenterOnScreen(QWidget& window, const TPlatform& platform);
// Moves a dialog to the centre of `owner` while that window is shown, else of the work area.
void CenterOnWindow(QWidget& dialog, const QWidget* owner, const TPlatform& platform);
// Moves a top-level window the least distance that brings it whole into the work area (its
// top-left corner wins when it is larger than the work area).
void KeepOnScreen(QWidget& window, const TPlatform& platform);
