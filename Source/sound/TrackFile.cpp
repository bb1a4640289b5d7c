// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/TrackFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool Refuse(const struct stat& st, std::string& cause) {
  if (S_ISDIR(st.st_mode)) {
    cause = "Это папка, а не файл.";
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    cause = S_ISFIFO(st.st_mode) ? "Это именованный канал, а не обычный файл."
            : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "Это устройство, а не обычный файл."
                                                         : "Это не обычный файл.";
    return false;
  }
  if (uint64_t(st.st_size) > kMaxTrackBytes) {
    cause = "Файл больше 32 МБ.";
    return false;
  }
  return true;
}

void SystemCause(int err, std::string& cause) {
  cause = err == EACCES || err == EPERM ? "Нет прав доступа." : "Файл не удаётся прочитать.";
}

}  // namespace

bool CheckTrackFile(const std::string& path, std::string& cause) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    SystemCause(errno, cause);
    return false;
  }
  return Refuse(st, cause);
}

bool ReadTrackFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& cause) {
  bytes.clear();
  // Checked by name first (opening some devices does something), then on what was opened.
  if (!CheckTrackFile(path, cause)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    SystemCause(errno, cause);
    return false;
  }
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && Refuse(st, cause);
  if (ok) {
    bytes.resize(size_t(st.st_size));
    size_t got = 0;
    while (ok && got < bytes.size()) {
      const ssize_t r = read(fd, bytes.data() + got, bytes.size() - got);
      if (r < 0 && errno == EINTR) continue;
      if (r < 0) {
        SystemCause(errno, cause);
        ok = false;
      } else if (r == 0) {
        bytes.resize(got);  // it shrank meanwhile
        break;
      } else {
        got += size_t(r);
      }
    }
  }
  close(fd);
  if (!ok) bytes.clear();
  return ok;
}
