// SPDX-License-Identifier: GPL-3.0-or-later
// Forked helper processes for tests, each with a deadline.
#pragma once

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// A helper process that lives at most `seconds` and no longer than its test: it is killed and
// reaped when the test ends, passed or failed, so nothing outlives ctest or holds its output.
class TChild {
 public:
  template <class F>
  explicit TChild(F body, unsigned seconds = 20) {
    pid_ = fork();
    if (pid_ == 0) {
      alarm(seconds);
      _exit(body() ? 0 : 1);
    }
  }
  ~TChild() { Stop(); }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  pid_t Pid() const { return pid_; }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  // Waits for the child to end by itself (its deadline bounds the wait) and returns the wait
  // status; -1 when there is no child.
  int Wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
};
