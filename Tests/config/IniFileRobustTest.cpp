// SPDX-License-Identifier: GPL-3.0-or-later
// What the file system does to writes: refusals, permissions, links, a process killed mid-write.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "ScriptedMessages.h"
#include "TempFolder.h"
#include "config/IniFile.h"

namespace {

class IniRobust : public TempFolderTest {
 protected:
  TScriptedMessages msgs;
};

// Runs `body` where a read-only folder really refuses writes: as root, in a child process that
// has given up its privileges. Returns the body's result.
template <class F>
bool RunUnprivileged(F body) {
  if (geteuid() != 0) return body();
  pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(IniRobust, AWriteIntoAReadOnlyFolderIsReportedAndChangesNothing) {
  const std::string text = "[GAMERS]\r\nAnn=Ann\r\n";
  Put(Path(), text);
  chmod(Path().c_str(), 0666);
  chmod(dir_.c_str(), 0555);
  const std::string path = Path();
  bool ok = RunUnprivileged([&] {
    TScriptedMessages m;
    TIniFile ini(path, &m);
    bool refused = !ini.WriteString("GAMERS", "Bob", "Bob") && !ini.EraseSection("GAMERS");
    auto errors = m.Texts("error");
    return refused && errors.size() == 2 &&
           errors[0] == "Unable to write to " + path + "\r\nНет прав доступа." &&
           errors[1] == errors[0] && Get(path) == text &&
           ini.ReadString("GAMERS", "Ann", "") == "Ann";
  });
  EXPECT_TRUE(ok);
  chmod(dir_.c_str(), 0700);
  EXPECT_EQ(Get(Path()), text);
  // Nothing was left behind in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

// A write that runs out of space half-way (a file size limit stands in for a full disk).
TEST_F(IniRobust, AWriteCutShortLeavesTheOldFile) {
  std::string text = "[GAMERS]\r\n";
  for (int i = 0; i < 100; ++i) text += "Gamer" + std::to_string(i) + "=x\r\n";
  Put(Path(), text);
  TIniFile ini(Path(), &msgs);
  struct rlimit old;
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = text.size() + 10;
  setrlimit(RLIMIT_FSIZE, &small);
  bool written = ini.WriteString("GAMERS", "Gamer5", std::string(100, 'y'));
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(msgs.Texts("error"),
            std::vector<std::string>{"Unable to write to " + Path() +
                                     "\r\nНет места для файла: превышен допустимый размер файла."});
  EXPECT_EQ(Get(Path()), text);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

// The game goes on with what it is told, for this run only: one message names the file and the
// cause, and the file that could not be read is never replaced.
TEST_F(IniRobust, AnUnreadableFileIsNeverReplaced) {
  Put(Path(), "[GAMERS]\r\nAnn=Ann\r\n");
  chmod(Path().c_str(), 0);
  chmod(dir_.c_str(), 0777);
  const std::string path = Path();
  bool ok = RunUnprivileged([&] {
    TScriptedMessages m;
    TIniFile ini(path, &m);
    const bool empty = ini.ReadSection("GAMERS").empty();
    const bool written = ini.WriteString("GAMERS", "Bob", "Bob") &&
                         ini.WriteString("OPTIONS_Bob", "Volume", "35") && ini.EraseSection("X");
    ini.UpdateFile();
    return empty && written && ini.SavingOff() &&
           ini.ReadSection("GAMERS") == std::vector<std::string>{"Bob"} &&
           ini.ReadInteger("OPTIONS_Bob", "Volume", 0) == 35 &&
           m.Texts("error") ==
               std::vector<std::string>{"Не удаётся прочитать файл настроек " + path +
                                        ".\r\nНет прав доступа.\r\nИгра продолжится, но ничего "
                                        "не будет сохранено."};
  });
  EXPECT_TRUE(ok);
  chmod(Path().c_str(), 0600);
  EXPECT_EQ(Get(Path()), "[GAMERS]\r\nAnn=Ann\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(IniRobust, WritesKeepPermissionsAndLinks) {
  Put(Path("real.ini"), "[A]\r\nk=1\r\n");
  chmod(Path("real.ini").c_str(), 0640);
  std::filesystem::create_symlink(Path("real.ini"), Path("link.ini"));
  TIniFile ini(Path("link.ini"), &msgs);
  ASSERT_TRUE(ini.WriteInteger("A", "k", 2));
  ini.UpdateFile();
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.ini")));
  EXPECT_EQ(Get(Path("real.ini")), "[A]\r\nk=2\r\n");
  struct stat st;
  stat(Path("real.ini").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 2);
}

// A child rewrites the file as fast as it can; killing it at any moment leaves a whole file.
TEST_F(IniRobust, AKilledWriterLeavesAWholeFile) {
  std::string text = "[GAMERS]\r\n";
  for (int i = 0; i < 200; ++i)
    text += "Gamer" + std::to_string(i) + "=Gamer" + std::to_string(i) + "\r\n";
  Put(Path(), text);
  int interrupted = 0;
  for (int round = 0; round < 8; ++round) {
    pid_t pid = fork();
    if (pid == 0) {
      TIniFile ini(Path(), nullptr);
      for (int i = 0;; ++i) {
        std::string value(100 + (i * 37) % 400, static_cast<char>('a' + i % 26));
        ini.WriteStrings("BURST", {{"Counter", std::to_string(i)}, {"Payload", value}});
        ini.WriteString("GAMERS", "Gamer" + std::to_string(i % 200), value.substr(0, 5));
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + round * 13));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    TIniFile ini(Path(), &msgs);
    EXPECT_EQ(ini.ReadSection("GAMERS").size(), 200u);
    std::string payload = ini.ReadString("BURST", "Payload", "");
    int counter = ini.ReadInteger("BURST", "Counter", -1);
    if (counter >= 0) {
      ++interrupted;
      EXPECT_EQ(payload.size(), 100u + (counter * 37) % 400) << round;
      EXPECT_EQ(payload.front(), 'a' + counter % 26);
    }
    std::string bytes = Get(Path());
    EXPECT_TRUE(bytes.ends_with("\r\n"));
  }
  EXPECT_GT(interrupted, 0);  // the writer did get going before it was killed
}

}  // namespace
