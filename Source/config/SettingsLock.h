// SPDX-License-Identifier: GPL-3.0-or-later
// One running copy of the game per settings file. Two copies on one file would overwrite each
// other's writes unseen, so the file gets a lock beside it (".<name>.lock"), held for the whole
// run. The lock is an flock() on that file: the kernel drops it when its process ends in any
// way, so a lock left by a killed copy is simply taken over.
//
// The lock belongs to the file, not to the name it was started with: links are resolved and the
// lock file lies beside the file that is really written. It is made only for a regular settings
// file, and is itself only ever a regular file (never followed through a link). When no lock can
// be had, or when it cannot cover every name of the file (hard links), the player is told why.
#pragma once

#include <string>

class TMessageService;

inline constexpr char kMsgAlreadyRunning[] =
    "Morvik уже запущен с этим файлом настроек:\r\n%s\r\n"
    "Вторая копия игры закрывается, чтобы не испортить настройки первой.";

class TSettingsLock {
 public:
  enum class TResult {
    Held,       // this copy owns the file (Problem() may still name a gap: hard links)
    Busy,       // another running copy owns it
    Failed,     // no lock could be taken; Problem() says why
    NotNeeded,  // this copy cannot write the file at all (a read-only folder, not a regular
                // file): the store refuses and reports that itself
  };

  TSettingsLock() = default;
  ~TSettingsLock();
  TSettingsLock(const TSettingsLock&) = delete;
  TSettingsLock& operator=(const TSettingsLock&) = delete;

  // Creates the settings file when it is missing (as start-up does anyway), then locks it.
  TResult Acquire(const std::string& settingsFile);
  bool Held() const { return fd_ >= 0; }
  // Why the lock does not protect the file, in sentences for the player; empty when it does.
  const std::string& Problem() const { return problem_; }
  // The lock file of a settings file: beside the file it names, links resolved.
  static std::string LockPath(const std::string& settingsFile);

 private:
  TResult Fail(std::string problem);

  int fd_ = -1;
  std::string path_;
  std::string problem_;
};

// Start-up: takes the lock for the settings file. A second copy shows kMsgAlreadyRunning and
// gets false: it must end without touching the file. When the lock cannot protect the file the
// player is asked once (LockProblemText) whether to go on without it; false when they would
// rather quit. With the lock held, the temporary files that killed writers left beside the file
// are removed.
bool ClaimSettingsFile(TSettingsLock& lock, const std::string& settingsFile,
                       TMessageService& messages);
