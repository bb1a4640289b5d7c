// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file as the operating system sees it: reading only regular files of bounded size
// (a FIFO, a device or a folder is refused at once, never waited on or read without end),
// replacing a file through a synced temporary file, and removing the temporaries that killed
// writers left behind. No Qt.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <string>

// What identifies one version of a file on disk: an edit in place changes the size or a time, a
// replacement changes the inode.
struct TFileStamp {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{};
  timespec ctime{};

  static TFileStamp Of(const struct stat& st);
  bool operator==(const TFileStamp& o) const;
};

enum class TFileFault {
  None,
  Missing,     // no such file (or no such folder)
  System,      // the call failed with `err`
  NotRegular,  // a folder, FIFO, device or socket (`mode` says which)
  TooLarge,    // bigger than the limit
  ReadOnly,    // a file without any write permission bit: left alone, whoever runs the game
};

struct TFileOutcome {
  TFileFault fault = TFileFault::None;
  int err = 0;      // errno for System
  mode_t mode = 0;  // file type for NotRegular
  bool Ok() const { return fault == TFileFault::None; }
};

// Reads the whole file into `bytes` when it is a regular file (after following links) of at most
// `limit` bytes. `stamp` describes what was read; `settled` is false when the file changed while
// it was read or so recently that a further change could leave the stamp as it is.
TFileOutcome ReadRegularFile(const std::string& path, uint64_t limit, std::string& bytes,
                             TFileStamp& stamp, bool& settled);

// The stamp of the file a path names now (links followed); Missing when there is none.
TFileOutcome StampOf(const std::string& path, TFileStamp& stamp);

// Replaces the file by `data` through a temporary file beside it renamed over it, so that a crash
// leaves the old or the new file. The original keeps its permissions; a symbolic link keeps
// pointing at the file it names. With `sync`, the temporary file reaches the disk before the
// rename and the folder after it. A file without write permission bits is never replaced. The
// temporary file never outlives the call. `stamp` describes the new file.
TFileOutcome ReplaceFile(const std::string& path, const std::string& data, bool sync,
                         TFileStamp& stamp);

// Watches the calls that make a replacement durable, in the order they are made: "fsync" of the
// temporary file, "rename" of it over the file, "fsync-folder". `path` is the temporary file's
// for the first two, the folder's for the last. For tests; null (the default) watches nothing.
using TFileCallProbe = void (*)(const char* call, const std::string& path);
void SetFileCallProbe(TFileCallProbe probe);

// Makes the file and its folder entry durable.
void SyncFile(const std::string& path);

// Temporary files of `path` ("." + name + ".tmp" + pid + "." + n beside it) whose writing
// process no longer runs; removed, and their number returned. Meant for start-up, while no other
// copy of the game writes the file.
int RemoveStaleTemporaries(const std::string& path);
