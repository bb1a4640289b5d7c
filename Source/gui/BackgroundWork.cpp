// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/BackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>
#include <exception>
#include <memory>

QThreadPool& BackgroundWorkPool() {
  static QPointer<QThreadPool> pool;
  if (!pool) pool = new QThreadPool(QCoreApplication::instance());
  return *pool;
}

std::optional<int> RunWhileEventsRun(std::function<int()> work, const std::function<bool()>& wanted,
                                     const std::function<void()>& tick, int tickMs) {
  // The promise is shared with the pool's thread: a wait given up leaves it to the work alone.
  auto promise = std::make_shared<QPromise<int>>();
  QFuture<int> future = promise->future();
  promise->start();
  BackgroundWorkPool().start([promise, work = std::move(work)] {
    try {
      promise->addResult(work());
    } catch (...) {
      promise->setException(std::current_exception());
    }
    promise->finish();
  });

  QEventLoop loop;
  QFutureWatcher<int> watcher;
  QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
  watcher.setFuture(future);
  bool givenUp = false;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
    if (!wanted()) {
      givenUp = true;
      loop.quit();
      return;
    }
    tick();
  });
  timer.start(tickMs);
  if (!future.isFinished()) loop.exec();
  timer.stop();
  if (givenUp || !wanted()) return std::nullopt;
  future.waitForFinished();  // the loop was told to quit early: the answer is still wanted
  return future.result();    // rethrows the work's exception
}
