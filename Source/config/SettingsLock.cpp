#include "config/SettingsLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "config/MessageService.h"
#include "config/SafeFile.h"

TSettingsLock::~TSettingsLock() {
  if (fd_ < 0) return;
  // Removed while still locked: a copy that opened it meanwhile sees it gone and starts over.
  unlink(path_.c_str());
  close(fd_);
}

std::string TSettingsLock::LockPath(const std::string& settingsFile) {
  std::string target = settingsFile;
  if (char* real = realpath(settingsFile.c_str(), nullptr)) {
    target = real;
    free(real);
  }
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  return dir + "/." + base + ".lock";
}

TSettingsLock::TResult TSettingsLock::Acquire(const std::string& settingsFile) {
  if (fd_ >= 0) return TResult::Held;
  const std::string path = LockPath(settingsFile);
  // The lock file of a copy that is just ending may vanish between open and flock: try again.
  for (int attempt = 0; attempt < 20; ++attempt) {
    // Non-blocking so that a FIFO put in its place cannot hold the start-up.
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | flags, 0644);
    // A read-only folder may still hold a lock file from earlier runs; flock works on it.
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
      fd = open(path.c_str(), O_RDONLY | flags);
    if (fd < 0) return TResult::Unavailable;
    struct stat held;
    if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
      close(fd);
      return TResult::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int err = errno;
      close(fd);
      return err == EWOULDBLOCK ? TResult::Busy : TResult::Unavailable;
    }
    struct stat named;
    if (stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      fd_ = fd;
      path_ = path;
      // For whoever looks: which process holds it.
      if (ftruncate(fd, 0) == 0) {
        const std::string pid = std::to_string(getpid()) + "\n";
        if (write(fd, pid.data(), pid.size()) < 0) {
          // The lock is what matters, not its text.
        }
      }
      return TResult::Held;
    }
    close(fd);
  }
  return TResult::Unavailable;
}

bool ClaimSettingsFile(TSettingsLock& lock, const std::string& settingsFile,
                       TMessageService& messages) {
  switch (lock.Acquire(settingsFile)) {
    case TSettingsLock::TResult::Busy: {
      const std::string format = kMsgAlreadyRunning;
      const size_t at = format.find("%s");
      messages.Error(format.substr(0, at) + settingsFile + format.substr(at + 2));
      return false;
    }
    case TSettingsLock::TResult::Held:
      RemoveStaleTemporaries(settingsFile);
      return true;
    case TSettingsLock::TResult::Unavailable:
      return true;
  }
  return true;
}
