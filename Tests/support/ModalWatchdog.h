// SPDX-License-Identifier: GPL-3.0-or-later
// Window tests fail fast instead of hanging: a modal dialog or message box that nobody answers
// (a faulty path, a timer that never came) is closed after a few seconds, and the running test
// fails with the dialog's title. Tests that answer their dialogs from timers finish long before.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <string>

class TModalWatchdog : public QObject {
 public:
  explicit TModalWatchdog(QObject* parent, int limitMs = 5000)
      : QObject(parent), limitMs_(limitMs) {
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start();
  }

  // A new test: whatever the last one left behind gets the whole time limit again.
  void Rearm() {
    watched_ = nullptr;
    fired_ = false;
  }

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      watched_ = nullptr;
      return;
    }
    if (modal != watched_) {
      watched_ = modal;
      since_.start();
    }
    // Once a test has had one dialog closed, it waits for no other: a faulty path that keeps
    // opening boxes still ends quickly.
    if (!fired_ && since_.elapsed() < limitMs_) return;
    fired_ = true;
    std::string what = "modal window \"" + modal->windowTitle().toStdString() + "\"";
    if (auto* box = qobject_cast<QMessageBox*>(modal))
      what += " saying \"" + box->text().toStdString() + "\"";
    ADD_FAILURE() << what << " was left open for " << since_.elapsed()
                  << " ms; the test watchdog closed it";
    watched_ = nullptr;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->done(QDialog::Rejected);
    else
      modal->close();
    if (modal->isVisible()) modal->hide();  // refused to close: its modal loop must end anyway
  }

  QTimer timer_;
  QPointer<QWidget> watched_;
  QElapsedTimer since_;
  const int limitMs_;
  bool fired_ = false;
};

// Rearms the watchdog at the start of every test.
class TModalWatchdogListener : public ::testing::EmptyTestEventListener {
 public:
  explicit TModalWatchdogListener(TModalWatchdog* dog) : dog_(dog) {}
  void OnTestStart(const ::testing::TestInfo&) override {
    if (dog_) dog_->Rearm();
  }

 private:
  QPointer<TModalWatchdog> dog_;
};

// Call once the application object exists; the watchdog lives as long as it does.
inline void InstallModalWatchdog(QApplication& app) {
  auto* dog = new TModalWatchdog(&app);
  ::testing::UnitTest::GetInstance()->listeners().Append(new TModalWatchdogListener(dog));
}
