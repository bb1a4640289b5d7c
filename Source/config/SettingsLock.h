// One running copy of the game per settings file. Two copies on one file would overwrite each
// other's writes unseen, so the file gets a lock beside it (".<name>.lock"), held for the whole
// run. The lock is an flock() on that file: the kernel drops it when its process ends in any
// way, so a lock left by a killed copy is simply taken over.
#pragma once

#include <string>

class TMessageService;

inline constexpr char kMsgAlreadyRunning[] =
    "Morvik уже запущен с этим файлом настроек:\r\n%s\r\n"
    "Вторая копия игры закрывается, чтобы не испортить настройки первой.";

class TSettingsLock {
 public:
  enum class TResult {
    Held,         // this copy owns the file
    Busy,         // another running copy owns it
    Unavailable,  // no lock can be made here (a read-only folder): run without one
  };

  TSettingsLock() = default;
  ~TSettingsLock();
  TSettingsLock(const TSettingsLock&) = delete;
  TSettingsLock& operator=(const TSettingsLock&) = delete;

  TResult Acquire(const std::string& settingsFile);
  bool Held() const { return fd_ >= 0; }
  // The lock file of a settings file: beside the file it names, links resolved.
  static std::string LockPath(const std::string& settingsFile);

 private:
  int fd_ = -1;
  std::string path_;
};

// Start-up: takes the lock for the settings file. A second copy shows kMsgAlreadyRunning and
// gets false: it must end without touching the file. With the lock held, the temporary files
// that killed writers left beside the file are removed. Without a lock the game runs as before.
bool ClaimSettingsFile(TSettingsLock& lock, const std::string& settingsFile,
                       TMessageService& messages);
