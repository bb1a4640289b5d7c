// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file as a player's machine treats it: two copies of the game, odd line ends,
// files that are not files, edits behind the game's back, a full disk, a killed writer.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "ChildProcess.h"
#include "ScriptedMessages.h"
#include "TempFolder.h"
#include "config/IniFile.h"
#include "config/SafeFile.h"
#include "config/SettingsLock.h"
#include "config/StoreMessages.h"

namespace {

class StoreSafety : public TempFolderTest {
 protected:
  size_t Entries() const {
    return size_t(std::distance(std::filesystem::directory_iterator(dir_), {}));
  }
  TScriptedMessages msgs;
};

// Runs `body` in a child process that is killed if it takes longer than `seconds`: a store that
// waits on a FIFO fails the test instead of hanging it. True when the body returned true.
template <class F>
bool InChild(F body, unsigned seconds = 20) {
  pid_t pid = fork();
  if (pid == 0) {
    alarm(seconds);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A pipe to tell a child when to go on.
struct TSignal {
  int fds[2];
  TSignal() {
    if (pipe(fds) != 0) std::abort();
  }
  ~TSignal() {
    close(fds[0]);
    close(fds[1]);
  }
  void Send() {
    char c = 1;
    if (write(fds[1], &c, 1) != 1) std::abort();
  }
  // False when nothing came within ten seconds (a child that ended early sends nothing).
  bool Wait() {
    pollfd p{fds[0], POLLIN, 0};
    char c;
    return poll(&p, 1, 10000) == 1 && read(fds[0], &c, 1) == 1;
  }
};

TEST_F(StoreSafety, OneCopyOfTheGamePerSettingsFile) {
  const std::string text = "[GAMERS]\r\nAnn=Ann\r\n";
  Put(Path(), text);
  std::filesystem::create_directory(dir_ / "other");

  // The first copy: holds the file until told to end, or is killed.
  TSignal held, end;
  TChild first([&] {
    TScriptedMessages m;
    TSettingsLock lock;
    if (!ClaimSettingsFile(lock, Path(), m) || !m.shown.empty()) return false;
    held.Send();
    end.Wait();
    return true;
  });
  ASSERT_TRUE(held.Wait());

  // A second copy on the same file, even through a link, is told so and keeps off it. Tried in
  // a helper with a deadline: a lock that waited for the first copy would hang the test.
  std::filesystem::create_symlink(Path(), Path("link.ini"));
  for (const std::string& name : {Path(), Path("link.ini")}) {
    ASSERT_TRUE(InChild(
        [&] {
          TScriptedMessages second;
          TSettingsLock lock;
          return !ClaimSettingsFile(lock, name, second) && !lock.Held() &&
                 second.Texts("error") ==
                     std::vector<std::string>{"Morvik уже запущен с этим файлом настроек:\r\n" +
                                              name +
                                              "\r\nВторая копия игры закрывается, чтобы не "
                                              "испортить настройки первой."};
        },
        10))
        << "the lock " << TSettingsLock::LockPath(name)
        << " let a second copy in, said something else, or blocked for ten seconds";
  }
  EXPECT_EQ(Get(Path()), text);

  // A copy on a file of its own runs.
  {
    TSettingsLock lock;
    EXPECT_TRUE(ClaimSettingsFile(lock, (dir_ / "other" / "Morvik.ini").string(), msgs));
    EXPECT_TRUE(lock.Held());
  }

  // The first copy is killed: its lock file stays behind, and never blocks the next start.
  first.Stop();
  ASSERT_TRUE(std::filesystem::exists(TSettingsLock::LockPath(Path())));
  {
    TSettingsLock lock;
    EXPECT_TRUE(ClaimSettingsFile(lock, Path(), msgs));
    EXPECT_TRUE(lock.Held());
    EXPECT_EQ(Get(TSettingsLock::LockPath(Path())), std::to_string(getpid()) + "\n");
  }
  EXPECT_FALSE(std::filesystem::exists(TSettingsLock::LockPath(Path())));
  EXPECT_TRUE(msgs.shown.empty());

  // A folder where no lock can be made: the game runs as it always did.
  chmod(dir_.c_str(), 0755);
  std::filesystem::create_directory(dir_ / "locked");
  const std::string inLocked = (dir_ / "locked" / "Morvik.ini").string();
  Put(inLocked, text);
  chmod((dir_ / "locked").c_str(), 0555);
  EXPECT_TRUE(InChild([&] {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return false;
    TScriptedMessages m;
    TSettingsLock lock;
    return ClaimSettingsFile(lock, inLocked, m) && !lock.Held() && m.shown.empty();
  }));
  chmod((dir_ / "locked").c_str(), 0755);
}

// A lock file that is not a plain file of its own (a link, a FIFO, a folder), or a settings file
// with more names than the lock covers: the player is asked once, naming the file and the
// cause, whether to go on without the protection; "No" ends the game. A settings file that is
// not a regular file gets no lock file at all (the store refuses it with its own message).
TEST_F(StoreSafety, ALockThatCannotProtectTheFileIsNeverSilent) {
  const std::string lockPath = TSettingsLock::LockPath(Path());
  struct Case {
    std::string what;
    std::function<void()> make;
    std::string cause;  // empty: nothing to say
    bool held = false;
  } cases[] = {
      {"link", [&] { std::filesystem::create_symlink(Path("elsewhere"), lockPath); },
       "Файл блокировки " + lockPath + " — символическая ссылка, а не обычный файл."},
      {"fifo", [&] { mkfifo(lockPath.c_str(), 0644); },
       "Файл блокировки " + lockPath +
           " — не обычный файл.\r\nЭто именованный канал, а не обычный файл."},
      {"folder", [&] { std::filesystem::create_directory(lockPath); },
       "Файл блокировки " + lockPath + " — папка, а не обычный файл."},
      {"hard link", [&] { std::filesystem::create_hard_link(Path(), Path("twin.ini")); },
       "У файла настроек есть другие имена (жёстких ссылок: 2).\r\nКопия игры, запущенная под "
       "другим именем, не увидит эту блокировку, а первая же запись разделит имена на два "
       "разных файла.",
       true},
  };
  for (const Case& c : cases) {
    for (bool goOn : {false, true}) {
      std::filesystem::remove_all(dir_);
      std::filesystem::create_directory(dir_);
      Put(Path(), "[GAMERS]\r\n");
      c.make();
      EXPECT_TRUE(InChild(
          [&] {
            TScriptedMessages m;
            m.confirmDefault = goOn;
            TSettingsLock lock;
            return ClaimSettingsFile(lock, Path(), m) == goOn && lock.Held() == c.held &&
                   m.Texts("confirm") ==
                       std::vector<std::string>{LockProblemText(Path(), c.cause)} &&
                   m.shown.size() == 1;
          },
          10))
          << c.what << (goOn ? ", going on" : ", quitting");
    }
    EXPECT_FALSE(std::filesystem::exists(Path("elsewhere"))) << c.what;
  }

  // A settings file linked to a FIFO elsewhere: no lock file beside it, and nothing said here.
  std::filesystem::create_directory(dir_ / "dev");
  mkfifo(Path("dev/pipe").c_str(), 0644);
  std::filesystem::create_symlink(Path("dev/pipe"), Path("piped.ini"));
  EXPECT_TRUE(InChild(
      [&] {
        TScriptedMessages m;
        TSettingsLock lock;
        return ClaimSettingsFile(lock, Path("piped.ini"), m) && !lock.Held() && m.shown.empty();
      },
      10));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "dev"), {}), 1);
}

// The clean-up of leftovers never takes the temporary file of a writer that still runs.
TEST_F(StoreSafety, ALiveWritersTemporaryFileIsLeftAlone) {
  Put(Path(), "[GAMERS]\r\n");
  TChild writer([] {
    pause();
    return true;
  });
  const std::string temporary = Path(".Morvik.ini.tmp" + std::to_string(writer.Pid()) + ".0");
  Put(temporary, "[GAMERS]\r\nAnn=");
  EXPECT_EQ(RemoveStaleTemporaries(Path()), 0);
  EXPECT_TRUE(std::filesystem::exists(temporary));
  writer.Stop();
  EXPECT_EQ(RemoveStaleTemporaries(Path()), 1);
  EXPECT_FALSE(std::filesystem::exists(temporary));
}

// The size limit is exact: a file of exactly 64 MiB is read, one byte more is refused.
TEST_F(StoreSafety, TheSizeLimitHoldsAtExactlyItsValue) {
  const uint64_t limit = uint64_t(64) << 20;
  for (uint64_t size : {limit, limit + 1}) {
    Put(Path(), "[GAMERS]\r\nAnn=Ann\r\n");
    std::filesystem::resize_file(Path(), size);  // sparse: no disk used
    TScriptedMessages m;
    TIniFile ini(Path(), &m);
    const bool read = ini.ReadSection("GAMERS") == std::vector<std::string>{"Ann"};
    EXPECT_EQ(read, size == limit) << size;
    EXPECT_EQ(m.shown.empty(), size == limit) << size;
  }
}

std::vector<std::pair<std::string, std::string>> fileCalls;
void RecordFileCall(const char* call, const std::string& path) {
  fileCalls.emplace_back(call, path);
}

// A replacement reaches the disk before it is renamed over the file, and the folder after: a
// power cut soon after a write leaves the old file or the new one, never an empty one.
TEST_F(StoreSafety, AReplacementIsSyncedBeforeItsRename) {
  Put(Path(), "[GAMERS]\r\n");
  TIniFile ini(Path(), &msgs);
  SetFileCallProbe(RecordFileCall);
  fileCalls.clear();
  const bool written = ini.WriteString("GAMERS", "Ann", "Ann");
  ini.SetSyncWrites(false);
  const bool unsynced = ini.WriteString("GAMERS", "Bob", "Bob");
  SetFileCallProbe(nullptr);
  ASSERT_TRUE(written && unsynced);
  ASSERT_EQ(fileCalls.size(), 4u);
  const std::string temporary = fileCalls[0].second;
  EXPECT_TRUE(temporary.starts_with(Path(".Morvik.ini.tmp"))) << temporary;
  EXPECT_EQ(fileCalls[0], std::make_pair(std::string("fsync"), temporary));
  EXPECT_EQ(fileCalls[1], std::make_pair(std::string("rename"), temporary));
  EXPECT_EQ(fileCalls[2], std::make_pair(std::string("fsync-folder"), dir_.string()));
  EXPECT_EQ(fileCalls[3].first, "rename");  // measured without syncing: nothing else
  EXPECT_EQ(Get(Path()), "[GAMERS]\r\nAnn=Ann\r\nBob=Bob\r\n");
}

// A writer killed while its temporary file exists (here by the file size limit, mid-write)
// leaves the old file whole; the next start removes the leftover.
TEST_F(StoreSafety, TheNextStartRemovesWhatAKilledWriterLeft) {
  std::string text = "[GAMERS]\r\n";
  for (int i = 0; i < 200; ++i) text += "Gamer" + std::to_string(i) + "=x\r\n";
  Put(Path(), text);
  Put(Path(".Morvik.ini.tmp.txt"), "not ours");
  Put(Path(".Other.ini.tmp1.1"), "another file's");
  for (int round = 0; round < 3; ++round) {
    pid_t writer = fork();
    if (writer == 0) {
      struct rlimit none = {0, 0}, small = {text.size() / 2, text.size() / 2};
      setrlimit(RLIMIT_CORE, &none);
      signal(SIGXFSZ, SIG_DFL);
      setrlimit(RLIMIT_FSIZE, &small);
      TIniFile ini(Path(), nullptr);
      ini.WriteString("GAMERS", "Gamer1", "y");
      _exit(0);
    }
    int status = 0;
    waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer was not stopped mid-write";
  }
  EXPECT_EQ(Entries(), 6u);  // three leftovers beside the file and the two foreign files
  EXPECT_EQ(Get(Path()), text);

  TSettingsLock lock;
  ASSERT_TRUE(ClaimSettingsFile(lock, Path(), msgs));
  std::vector<std::string> names;
  for (auto& e : std::filesystem::directory_iterator(dir_)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".Morvik.ini.lock", ".Morvik.ini.tmp.txt",
                                             ".Other.ini.tmp1.1", "Morvik.ini"}));
  EXPECT_EQ(Get(Path()), text);
}

// Every kind of line end reads the same; a write changes only its own line and ends new lines
// with CR LF; everything else comes back byte for byte.
TEST_F(StoreSafety, CrLfLfAndLoneCrAllEndALine) {
  std::mt19937 random(1408);
  const char* ends[] = {"\r\n", "\n", "\r"};
  for (int round = 0; round < 40; ++round) {
    std::string file, lfOnly;
    const int sections = 1 + int(random() % 4);
    for (int s = 0; s < sections; ++s) {
      std::string lines[] = {"[S" + std::to_string(s) + "]"};
      auto add = [&](const std::string& line) {
        const char* end = ends[random() % 3];
        file += line + end;
        lfOnly += line + "\n";
      };
      add(lines[0]);
      for (int k = 0; k < 4; ++k) add("k" + std::to_string(k) + "=v" + std::to_string(s * 10 + k));
      if (random() % 2) add("; a comment");
    }
    if (random() % 2) file.pop_back(), lfOnly.pop_back();  // no final line end, or half of one
    Put(Path(), file);
    Put(Path("lf.ini"), lfOnly);
    TIniFile ini(Path(), &msgs), reference(Path("lf.ini"), &msgs);
    ASSERT_EQ(ini.ReadSections(), reference.ReadSections()) << round;
    for (int s = 0; s < sections; ++s) {
      const std::string sec = "S" + std::to_string(s);
      ASSERT_EQ(ini.ReadSectionValues(sec), reference.ReadSectionValues(sec)) << round;
    }
    // Changing one value in place keeps every other byte.
    const int s = int(random() % unsigned(sections)), k = int(random() % 4);
    const std::string old = "k" + std::to_string(k) + "=v" + std::to_string(s * 10 + k);
    ASSERT_TRUE(ini.WriteString("S" + std::to_string(s), "k" + std::to_string(k), "new"));
    std::string expected = file;
    expected.replace(expected.find(old), old.size(), "k" + std::to_string(k) + "=new");
    EXPECT_EQ(Get(Path()), expected) << round;
    // A new key and a new section come with CR LF.
    ASSERT_TRUE(ini.WriteString("NEW", "key", "1"));
    EXPECT_TRUE(Get(Path()).ends_with("[NEW]\r\nkey=1\r\n"));
  }
  EXPECT_TRUE(msgs.shown.empty());
}

// A FIFO, a device, a folder or a huge file in the settings file's place: refused at once with
// one message naming the file and the cause, and the game goes on in memory.
TEST_F(StoreSafety, OnlyARegularFileOfBoundedSizeIsRead) {
  struct Case {
    std::string name, cause;
    std::function<void(const std::string&)> make;
  } cases[] = {
      {"fifo.ini", "Это именованный канал, а не обычный файл.",
       [](const std::string& p) { mkfifo(p.c_str(), 0644); }},
      {"zero.ini", "Это устройство, а не обычный файл.",
       [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); }},
      {"folder.ini", "Это папка, а не файл.",
       [](const std::string& p) { std::filesystem::create_directory(p); }},
      {"huge.ini", "Файл больше 64 МБ: это не файл настроек игры.",
       [](const std::string& p) {
         Put(p, "[GAMERS]\r\nAnn=Ann\r\n");
         std::filesystem::resize_file(p, (64u << 20) + 1);  // sparse: no disk used
       }},
  };
  for (auto& c : cases) {
    const std::string path = Path(c.name);
    c.make(path);
    struct stat before;
    ASSERT_EQ(lstat(path.c_str(), &before), 0);
    EXPECT_TRUE(InChild([&] {
      TScriptedMessages m;
      TIniFile ini(path, &m);
      const bool empty = ini.ReadSection("GAMERS").empty();
      const bool kept = ini.WriteString("GAMERS", "Bob", "Bob") &&
                        ini.ReadString("GAMERS", "Bob", "") == "Bob" && ini.SavingOff();
      ini.UpdateFile();
      return empty && kept &&
             m.Texts("error") == std::vector<std::string>{"Не удаётся прочитать файл настроек " +
                                                          path + ".\r\n" + c.cause +
                                                          "\r\nИгра продолжится, но ничего не "
                                                          "будет сохранено."};
    })) << c.name;
    struct stat after;
    ASSERT_EQ(lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << c.name;
    EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
    EXPECT_EQ(after.st_size, before.st_size) << c.name;
  }
  EXPECT_EQ(Entries(), 4u) << "something was left beside the files";
}

// Model check of the kept document: whatever changes the file behind the store's back (another
// store, an edit in place that keeps the size, a replacement, a deletion), every read answers
// what a store reading the file afresh answers.
TEST_F(StoreSafety, ReadsSeeEveryChangeOnDisk) {
  std::mt19937 random(20260517);
  Put(Path(), "[A]\r\nk0=aaaa\r\n");
  TIniFile ini(Path(), &msgs), other(Path(), &msgs);
  bool ownWriteLast = false;
  auto key = [&] { return "k" + std::to_string(random() % 6); };
  auto section = [&] { return std::string(1, char('A' + random() % 3)); };
  auto value = [&] { return std::string(4, char('a' + random() % 26)); };
  for (int step = 0; step < 400; ++step) {
    const unsigned op = random() % 7;
    if (op == 0) {
      ASSERT_TRUE(ini.WriteString(section(), key(), value()));
    } else if (op == 1) {
      ASSERT_TRUE(other.WriteString(section(), key(), value()));
    } else if (op == 2) {
      // An editor writing in place: same inode, same size, one value changed.
      std::string bytes = Get(Path());
      const size_t eq = bytes.find('=', random() % (bytes.size() / 2 + 1));
      if (eq == std::string::npos) continue;
      // Without fine-grained file times an edit within one clock tick of the store's own write
      // would keep the stamp; editors are not that quick.
      if (ownWriteLast) std::this_thread::sleep_for(std::chrono::milliseconds(15));
      bytes[eq + 1] = char(bytes[eq + 1] == 'z' ? 'a' : bytes[eq + 1] + 1);
      int fd = open(Path().c_str(), O_WRONLY);
      ASSERT_GE(fd, 0);
      ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), 0), ssize_t(bytes.size()));
      close(fd);
    } else if (op == 3 && random() % 4 == 0) {
      std::filesystem::remove(Path());
    } else if (op == 4) {
      ini.DeleteKey(section(), key());
    } else {
      const std::string s = section(), k = key();
      TIniFile fresh(Path(), &msgs);
      ASSERT_EQ(ini.ReadString(s, k, "-"), fresh.ReadString(s, k, "-")) << step;
      ASSERT_EQ(ini.ReadSections(), fresh.ReadSections()) << step;
      ASSERT_EQ(ini.ReadSectionValues(s), fresh.ReadSectionValues(s)) << step;
    }
    ownWriteLast = op == 0 || op == 4;
  }
  EXPECT_TRUE(msgs.shown.empty());
}

// A full disk, a file-system-wide read-only mount and a read-only file: each refusal keeps the
// old file, leaves nothing behind and says why; root included.
TEST_F(StoreSafety, RefusedWritesSayWhyAndKeepTheFile) {
  const std::string text = "[GAMERS]\r\nAnn=Ann\r\n";
  const std::string refusal = "Unable to write to " + Path() + "\r\n";

  // A file without write permission bits is left alone, whoever runs the game.
  Put(Path(), text);
  chmod(Path().c_str(), 0444);
  {
    TIniFile ini(Path(), &msgs);
    EXPECT_FALSE(ini.WriteString("GAMERS", "Bob", "Bob"));
    EXPECT_FALSE(ini.EraseSection("GAMERS"));
    EXPECT_EQ(ini.ReadSection("GAMERS"), std::vector<std::string>{"Ann"});
  }
  EXPECT_EQ(msgs.Texts("error"),
            std::vector<std::string>(2, refusal + "Файл защищён от записи (только для чтения)."));
  EXPECT_EQ(Get(Path()), text);
  EXPECT_EQ(Entries(), 1u);
  chmod(Path().c_str(), 0644);

  // A small memory file system of its own, where this process may mount one (exit code 77 when
  // it may not).
  pid_t child = fork();
  if (child == 0) {
    alarm(20);
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=64k") != 0)
      _exit(77);
    Put(Path(), text);
    TScriptedMessages m;
    TIniFile ini(Path(), &m);
    // Fill the disk, leaving less room than a second copy of the file needs.
    Put(Path("filler"), std::string(60 * 1024, 'x'));
    const bool full = !ini.WriteString("GAMERS", "Bob", std::string(2000, 'b')) &&
                      m.Texts("error") == std::vector<std::string>{refusal + "Нет места на диске."};
    const bool kept = Get(Path()) == text && Entries() == 2;
    // Read-only mount: the same store, another cause.
    std::filesystem::remove(Path("filler"));
    m.Clear();
    if (mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) _exit(77);
    const bool readOnly =
        !ini.WriteString("GAMERS", "Bob", "Bob") &&
        m.Texts("error") ==
            std::vector<std::string>{refusal + "Файловая система доступна только для чтения."};
    _exit(full ? (kept ? (readOnly ? 0 : 3) : 2) : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77)
    GTEST_SKIP() << "no tmpfs can be mounted here; the file size limit case covers a full disk";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: full disk not reported, 2: file not kept, "
                                       "3: read-only mount not reported";
}

}  // namespace
