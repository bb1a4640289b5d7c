// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM and SIGHUP (the session ending, a system shutting down, a terminal closed) reach the
// program as an ordinary event: the handler only writes the signal's number into a pipe, and the
// event loop reads it and runs the program's own closing. One object at a time.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

class TEndSignals : public QObject {
 public:
  // `onSignal` runs from the event loop with the signal's number, once per signal received.
  explicit TEndSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
  // The previous handlers come back.
  ~TEndSignals() override;

  // False when the pipe or the handlers could not be set up (the signals then end the program
  // at once, as they would without this object).
  bool Installed() const { return installed_; }

 private:
  void Read();

  std::function<void(int)> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
  bool installed_ = false;
};
