// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: the Russian manual, an HTML file shipped with the game, shown in a browser
// window of our own and opened at its contents.
#pragma once

#include <QString>
#include <QWidget>

#include "config/MessageService.h"

class QTextBrowser;
class TPlatform;

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  // A top-level window owned by `owner` (closed and destroyed with it).
  explicit THelpWindow(QWidget* owner);

  // Loads `path` and shows it at its contents, in front. False (and nothing shown) when the file
  // is missing or unreadable.
  bool OpenContents(const QString& path);

  QTextBrowser* Browser() const { return browser_; }

  // Anchor of the contents in the manual.
  static constexpr const char* ContentsAnchor = "contents";

 private:
  QTextBrowser* browser_;
};

// The help command: the owner's help window (made on first use, centred on the owner like the
// dialogs) opened at the manual `path`'s contents. A missing or unreadable manual is reported
// through `messages` and opens nothing; the result is then null.
THelpWindow* ShowHelpContents(QWidget* owner, TMessageService& messages, const QString& path,
                              const TPlatform& platform);
