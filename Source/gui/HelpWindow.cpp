// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/Platform.h"

THelpWindow::THelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Morvik — справка"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("tbHelp"));
  // The manual is local; nothing in it may reach the network.
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(680, 560);
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
  // The manual's own title once it is loaded.
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    if (!title.isEmpty()) setWindowTitle(title);
  });
}

bool THelpWindow::OpenContents(const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile() || !file.isReadable()) return false;
  QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
  url.setFragment(QString::fromLatin1(ContentsAnchor));
  // A fresh load each time: the file may have been replaced, and the history starts over.
  browser_->clearHistory();
  browser_->setSource(QUrl());
  browser_->setSource(url);
  browser_->verticalScrollBar()->setValue(0);
  browser_->scrollToAnchor(QString::fromLatin1(ContentsAnchor));
  show();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  return true;
}

THelpWindow* ShowHelpContents(QWidget* owner, TMessageService& messages, const QString& path,
                              const TPlatform& platform) {
  const QFileInfo file(path);
  const std::string name = QDir::toNativeSeparators(path).toStdString();
  if (!file.exists()) {
    messages.Error("Файл справки \"" + name + "\" не найден.");
    return nullptr;
  }
  if (!file.isFile() || !file.isReadable()) {
    messages.Error("Файл справки \"" + name + "\" не удается прочитать.");
    return nullptr;
  }
  auto* window = owner->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) {
    window = new THelpWindow(owner);
    CenterOnWindow(*window, owner->window(), platform);
  }
  if (!window->OpenContents(path)) {
    messages.Error("Файл справки \"" + name + "\" не удается прочитать.");
    return nullptr;
  }
  return window;
}
