// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/EndSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace {

constexpr int Signals[] = {SIGTERM, SIGHUP};
int pipeEnds[2] = {-1, -1};  // [0] read by the event loop, [1] written by the handler
struct sigaction previous[std::size(Signals)];

void Handler(int signal) {
  // Only what is safe inside a signal handler: one write, errno kept.
  const int saved = errno;
  const char byte = char(signal);
  [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &byte, 1);
  errno = saved;
}

}  // namespace

TEndSignals::TEndSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (pipeEnds[0] >= 0) return;  // another object has them
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) {
    pipeEnds[0] = pipeEnds[1] = -1;
    return;
  }
  notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TEndSignals::Read);
  struct sigaction action {};
  action.sa_handler = Handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < std::size(Signals); ++i) sigaction(Signals[i], &action, &previous[i]);
  installed_ = true;
}

TEndSignals::~TEndSignals() {
  if (!installed_) return;
  for (size_t i = 0; i < std::size(Signals); ++i) sigaction(Signals[i], &previous[i], nullptr);
  delete notifier_;
  close(pipeEnds[0]);
  close(pipeEnds[1]);
  pipeEnds[0] = pipeEnds[1] = -1;
}

void TEndSignals::Read() {
  char bytes[16];
  ssize_t n;
  while ((n = read(pipeEnds[0], bytes, sizeof bytes)) > 0)
    for (ssize_t i = 0; i < n; ++i)
      if (onSignal_) onSignal_(int(bytes[i]));
}
