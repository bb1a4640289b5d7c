// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace {

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The file a path names, links resolved, so that a replacement lands on the linked file.
std::string ResolvedPath(const std::string& path) {
  std::string target = path;
  if (char* real = realpath(path.c_str(), nullptr)) {
    target = real;
    free(real);
  }
  return target;
}

void SplitPath(const std::string& path, std::string& dir, std::string& base) {
  size_t slash = path.rfind('/');
  dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  base = slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TemporaryPrefix(const std::string& base) {
  return "." + base + ".tmp";
}

// A change within the clock's granularity of the last one can leave every field of the stamp
// as it was. Fine-grained file systems tick in milliseconds at worst; those that keep whole
// seconds (FAT keeps two) get a margin of their own.
bool RecentlyChanged(const TFileStamp& stamp) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const int64_t marginNs = stamp.ctime.tv_nsec == 0 ? 2'100'000'000 : 50'000'000;
  const int64_t ageNs = (int64_t(now.tv_sec) - int64_t(stamp.ctime.tv_sec)) * 1'000'000'000 +
                        (int64_t(now.tv_nsec) - int64_t(stamp.ctime.tv_nsec));
  return ageNs < marginNs && ageNs > -marginNs;
}

std::atomic<TFileCallProbe> probe = nullptr;

void Probe(const char* call, const std::string& path) {
  if (TFileCallProbe p = probe.load()) p(call, path);
}

// The calls a replacement relies on, each reported to the probe once it has succeeded.
int SyncData(int fd, const std::string& path) {
  const int r = fsync(fd);
  if (r == 0) Probe("fsync", path);
  return r;
}

int RenameOver(const std::string& from, const std::string& to) {
  const int r = rename(from.c_str(), to.c_str());
  if (r == 0) Probe("rename", from);
  return r;
}

void SyncFolder(const std::string& dir) {
  int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return;
  if (fsync(dfd) == 0) Probe("fsync-folder", dir);
  close(dfd);
}

TFileOutcome Failed(TFileFault fault, int err = 0, mode_t mode = 0) {
  return TFileOutcome{fault, err, mode};
}

TFileOutcome SystemFault(int err) {
  if (err == ENOENT || err == ENOTDIR) return Failed(TFileFault::Missing, err);
  return Failed(TFileFault::System, err);
}

// Removes the temporary file unless the write got as far as renaming it.
class TTemporary {
 public:
  explicit TTemporary(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  ~TTemporary() {
    if (fd_ >= 0) close(fd_);
    if (!renamed_) unlink(path_.c_str());
  }
  TTemporary(const TTemporary&) = delete;
  TTemporary& operator=(const TTemporary&) = delete;
  int Fd() const { return fd_; }
  const std::string& Path() const { return path_; }
  void Renamed() { renamed_ = true; }
  int Close() {
    int r = close(fd_);
    fd_ = -1;
    return r;
  }

 private:
  std::string path_;
  int fd_;
  bool renamed_ = false;
};

}  // namespace

TFileStamp TFileStamp::Of(const struct stat& st) {
  TFileStamp s;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = st.st_size;
  s.mtime = st.st_mtim;
  s.ctime = st.st_ctim;
  return s;
}

bool TFileStamp::operator==(const TFileStamp& o) const {
  return dev == o.dev && ino == o.ino && size == o.size && SameTime(mtime, o.mtime) &&
         SameTime(ctime, o.ctime);
}

TFileOutcome StampOf(const std::string& path, TFileStamp& stamp) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return SystemFault(errno);
  stamp = TFileStamp::Of(st);
  return {};
}

TFileOutcome ReadRegularFile(const std::string& path, uint64_t limit, std::string& bytes,
                             TFileStamp& stamp, bool& settled) {
  bytes.clear();
  settled = false;
  // Decided on the name first: merely opening some devices does something.
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return SystemFault(errno);
  if (!S_ISREG(st.st_mode)) return Failed(TFileFault::NotRegular, 0, st.st_mode & S_IFMT);
  if (uint64_t(st.st_size) > limit) return Failed(TFileFault::TooLarge);
  // Non-blocking, in case a FIFO took the file's place since: opening it must not wait.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return SystemFault(errno);
  struct stat before;
  if (fstat(fd, &before) != 0) {
    int err = errno;
    close(fd);
    return Failed(TFileFault::System, err);
  }
  if (!S_ISREG(before.st_mode)) {
    close(fd);
    return Failed(TFileFault::NotRegular, 0, before.st_mode & S_IFMT);
  }
  if (uint64_t(before.st_size) > limit) {
    close(fd);
    return Failed(TFileFault::TooLarge);
  }
  bytes.reserve(size_t(before.st_size));
  char buf[65536];
  for (;;) {
    ssize_t r = read(fd, buf, sizeof buf);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      int err = errno;
      close(fd);
      bytes.clear();
      return Failed(TFileFault::System, err);
    }
    if (r == 0) break;
    bytes.append(buf, size_t(r));
    if (bytes.size() > limit) {  // it grows while it is read
      close(fd);
      bytes.clear();
      return Failed(TFileFault::TooLarge);
    }
  }
  struct stat after;
  bool same = fstat(fd, &after) == 0 && TFileStamp::Of(before) == TFileStamp::Of(after) &&
              uint64_t(after.st_size) == bytes.size();
  close(fd);
  stamp = TFileStamp::Of(before);
  settled = same && !RecentlyChanged(stamp);
  return {};
}

TFileOutcome ReplaceFile(const std::string& path, const std::string& data, bool sync,
                         TFileStamp& stamp) {
  const std::string target = ResolvedPath(path);
  std::string dir, base;
  SplitPath(target, dir, base);

  struct stat st;
  const bool exists = stat(target.c_str(), &st) == 0;
  if (exists) {
    if (!S_ISREG(st.st_mode)) return Failed(TFileFault::NotRegular, 0, st.st_mode & S_IFMT);
    // Permission bits say "leave it alone" even to root, whom access() never refuses.
    if ((st.st_mode & 0222) == 0) return Failed(TFileFault::ReadOnly);
    if (access(target.c_str(), W_OK) != 0) return SystemFault(errno);
  }

  static std::atomic<unsigned> counter = 0;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = dir + "/" + TemporaryPrefix(base) + std::to_string(getpid()) + "." +
          std::to_string(counter++);
    fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return SystemFault(errno);
  }
  if (fd < 0) return Failed(TFileFault::System, EEXIST);
  TTemporary temp(tmp, fd);

  if (exists) {
    if (fchown(fd, st.st_uid, st.st_gid) != 0) {
      // Only possible for the owner's own group or as root; the mode matters more.
    }
    if (fchmod(fd, st.st_mode & 07777) != 0) return Failed(TFileFault::System, errno);
  }
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t w = write(fd, p, left);
    if (w < 0 && errno == EINTR) continue;
    if (w < 0) return Failed(TFileFault::System, errno);
    if (w == 0) return Failed(TFileFault::System, ENOSPC);
    p += w;
    left -= size_t(w);
  }
  // Without this a power cut soon after the rename can leave an empty file on some file systems.
  if (sync && SyncData(fd, tmp) != 0) return Failed(TFileFault::System, errno);
  if (RenameOver(tmp, target) != 0) return Failed(TFileFault::System, errno);
  temp.Renamed();
  struct stat now;
  if (fstat(fd, &now) == 0) stamp = TFileStamp::Of(now);
  if (temp.Close() != 0) return Failed(TFileFault::System, errno);
  if (sync) SyncFolder(dir);
  return {};
}

void SetFileCallProbe(TFileCallProbe p) {
  probe.store(p);
}

void SyncFile(const std::string& path) {
  const std::string target = ResolvedPath(path);
  int fd = open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd >= 0) {
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) fsync(fd);
    close(fd);
  }
  std::string dir, base;
  SplitPath(target, dir, base);
  int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
}

int RemoveStaleTemporaries(const std::string& path) {
  std::string dir, base;
  SplitPath(ResolvedPath(path), dir, base);
  const std::string prefix = TemporaryPrefix(base);
  DIR* d = opendir(dir.c_str());
  if (!d) return 0;
  int removed = 0;
  while (dirent* e = readdir(d)) {
    std::string_view name = e->d_name;
    if (!name.starts_with(prefix)) continue;
    // pid "." counter, digits only: anything else is not ours.
    std::string_view rest = name.substr(prefix.size());
    size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == rest.size() || dot > 10) continue;
    bool digits = true;
    for (size_t i = 0; i < rest.size(); ++i)
      if (i != dot && (rest[i] < '0' || rest[i] > '9')) digits = false;
    if (!digits) continue;
    long pid = std::strtol(std::string(rest.substr(0, dot)).c_str(), nullptr, 10);
    if (pid <= 0 || pid == long(getpid())) continue;
    // A process that still runs may be writing it (EPERM: it runs under another user).
    if (kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
    struct stat st;
    if (fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
      continue;
    if (unlinkat(dirfd(d), e->d_name, 0) == 0) ++removed;
  }
  closedir(d);
  return removed;
}
