// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/SettingsLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "config/MessageService.h"
#include "config/SafeFile.h"
#include "config/StoreMessages.h"

namespace {

// The file a path names, links resolved; the path itself when it cannot be resolved.
std::string Resolved(const std::string& path) {
  std::string target = path;
  if (char* real = realpath(path.c_str(), nullptr)) {
    target = real;
    free(real);
  }
  return target;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string SystemCause(int err) {
  return FileFaultCause(TFileOutcome{TFileFault::System, err, 0});
}

}  // namespace

TSettingsLock::~TSettingsLock() {
  if (fd_ < 0) return;
  // Removed while still locked: a copy that opened it meanwhile sees it gone and starts over.
  unlink(path_.c_str());
  close(fd_);
}

std::string TSettingsLock::LockPath(const std::string& settingsFile) {
  const std::string target = Resolved(settingsFile);
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  return dir + "/." + base + ".lock";
}

TSettingsLock::TResult TSettingsLock::Fail(std::string problem) {
  problem_ = std::move(problem);
  return TResult::Failed;
}

TSettingsLock::TResult TSettingsLock::Acquire(const std::string& settingsFile) {
  if (fd_ >= 0) return TResult::Held;
  problem_.clear();
  // Created here rather than after the lock: a link to a missing file must be resolved to the
  // file it will be, and the lock must lie beside that.
  const int created = open(settingsFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (created >= 0) close(created);
  const std::string target = Resolved(settingsFile);
  struct stat file;
  // Not a regular file, or none that can be made: the store reads nothing from it and never
  // writes it, so nothing needs a lock, and no lock file lands beside a device or in /dev.
  if (stat(target.c_str(), &file) != 0) {
    const int err = errno;
    if (access(FolderOf(target).c_str(), W_OK) != 0) return TResult::NotNeeded;
    return Fail("Не удаётся создать файл настроек.\r\n" + SystemCause(err));
  }
  if (!S_ISREG(file.st_mode)) return TResult::NotNeeded;

  const std::string path = LockPath(settingsFile);
  // The lock file of a copy that is just ending may vanish between open and flock: try again.
  for (int attempt = 0; attempt < 20; ++attempt) {
    // Never through a link, and non-blocking so that a FIFO in its place cannot hold the start.
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | flags, 0644);
    int err = errno;
    // A read-only folder may still hold a lock file from earlier runs; flock works on it.
    if (fd < 0 && (err == EACCES || err == EROFS || err == EPERM)) {
      fd = open(path.c_str(), O_RDONLY | flags);
      if (fd < 0 && access(FolderOf(target).c_str(), W_OK) != 0) {
        // Nor can this copy replace the settings file there: every write of it is refused, and
        // the store says so when it happens.
        return TResult::NotNeeded;
      }
      if (fd < 0) err = errno;
    }
    if (fd < 0) {
      if (err == ELOOP)
        return Fail("Файл блокировки " + path + " — символическая ссылка, а не обычный файл.");
      if (err == EISDIR) return Fail("Файл блокировки " + path + " — папка, а не обычный файл.");
      return Fail("Не удаётся открыть файл блокировки " + path + ".\r\n" + SystemCause(err));
    }
    struct stat held;
    if (fstat(fd, &held) != 0) {
      err = errno;
      close(fd);
      return Fail("Не удаётся проверить файл блокировки " + path + ".\r\n" + SystemCause(err));
    }
    if (!S_ISREG(held.st_mode)) {
      close(fd);
      return Fail("Файл блокировки " + path + " — не обычный файл.\r\n" +
                  FileFaultCause(TFileOutcome{TFileFault::NotRegular, 0, held.st_mode & S_IFMT}));
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      err = errno;
      close(fd);
      if (err == EWOULDBLOCK) return TResult::Busy;
      return Fail("Файловая система не даёт заблокировать файл " + path + ".\r\n" +
                  SystemCause(err));
    }
    struct stat named;
    if (lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
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
      // Another name of the same file (a hard link) has a lock file of its own; and the first
      // write replaces the file under this name only, splitting the names into two files.
      if (file.st_nlink > 1)
        problem_ =
            "У файла настроек есть другие имена (жёстких ссылок: " + std::to_string(file.st_nlink) +
            ").\r\nКопия игры, запущенная под другим именем, не увидит эту блокировку, а "
            "первая же запись разделит имена на два разных файла.";
      return TResult::Held;
    }
    close(fd);
  }
  return Fail("Файл блокировки " + path + " всё время исчезает: его удаляет кто-то другой.");
}

bool ClaimSettingsFile(TSettingsLock& lock, const std::string& settingsFile,
                       TMessageService& messages) {
  const TSettingsLock::TResult result = lock.Acquire(settingsFile);
  if (result == TSettingsLock::TResult::Busy) {
    const std::string format = kMsgAlreadyRunning;
    const size_t at = format.find("%s");
    messages.Error(format.substr(0, at) + settingsFile + format.substr(at + 2));
    return false;
  }
  if (!lock.Problem().empty() && !messages.Confirm(LockProblemText(settingsFile, lock.Problem())))
    return false;
  // Only with the lock held is no other copy writing: then its leftovers are stale.
  if (lock.Held()) RemoveStaleTemporaries(settingsFile);
  return true;
}
