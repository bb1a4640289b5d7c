// The few things the window reads from the machine it runs on, one function each, so tests can
// replace them (a 1024 x 768 screen, a temporary folder).
#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QWidget;

// Size of the whole screen in pixels (not the work area).
extern std::function<QSize()> ReadScreenSize;
// Folder of the executable, without a trailing separator.
extern std::function<QString()> ExecutableFolder;
// The settings file: the executable's path + ".ini" when that file exists, or when the folder is
// writable and is no installed bin/ folder (portable layout); else morvik.ini in the user's
// configuration folder, $XDG_CONFIG_HOME/morvik or ~/.config/morvik (installed layout).
extern std::function<QString()> SettingsFilePath;
// The "Music" folder beside the executable, or the installed data folder's.
extern std::function<QString()> MusicFolder;
// Name of the person logged in, for the default profile.
extern std::function<QString()> SystemUserName;

// Moves a top-level window to the centre of the primary screen's work area.
void CenterOnScreen(QWidget& window);
// Moves a dialog to the centre of `owner` while that window is shown, else of the screen.
void CenterOnWindow(QWidget& dialog, const QWidget* owner);
// Moves a top-level window the least distance that brings it whole into the screen's work area
// (its top-left corner wins when it is larger than the work area).
void KeepOnScreen(QWidget& window);
