// SPDX-License-Identifier: GPL-3.0-or-later
// Track files that are not tracks: a FIFO, a device, a huge file. Each is refused at once with
// the file's name and the reason, the other tracks still load, and nothing waits or fills memory.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "ScriptedMessages.h"
#include "SoundTestSupport.h"
#include "sound/Music.h"
#include "sound/SoundSystem.h"

using namespace soundtest;

namespace {

TEST(TrackFiles, OnlyRegularFilesOfBoundedSizeAreDecoded) {
  UseDriver("dummy");
  struct Case {
    std::function<void(const std::filesystem::path&)> make;
    std::string cause;
  } cases[] = {
      {[](const std::filesystem::path& p) { mkfifo(p.c_str(), 0644); },
       "Это именованный канал, а не обычный файл."},
      {[](const std::filesystem::path& p) { std::filesystem::create_symlink("/dev/zero", p); },
       "Это устройство, а не обычный файл."},
      {[](const std::filesystem::path& p) {
         // A real track padded past the limit: sparse, so it costs no disk.
         std::filesystem::copy_file(BuiltMusic() / "About.mp3", p);
         std::filesystem::resize_file(p, (32u << 20) + 1);
       },
       "Файл больше 32 МБ."},
  };
  const char* tracks[] = {"Title.mp3", "InGame.mp3", "About.mp3"};
  for (size_t bad = 0; bad < 3; ++bad) {
    TTempDir dir;
    for (size_t i = 0; i < 3; ++i) {
      if (i == bad)
        cases[i].make(dir.path / tracks[i]);
      else
        std::filesystem::copy_file(BuiltMusic() / tracks[i], dir.path / tracks[i]);
    }
    // In a child with a deadline and a memory ceiling: waiting on the FIFO or decoding the
    // device would end it.
    pid_t pid = fork();
    if (pid == 0) {
      alarm(30);
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer reserves far more address space
      struct rlimit memory = {size_t(1) << 31, size_t(1) << 31};
      setrlimit(RLIMIT_AS, &memory);
#endif
      TScriptedMessages messages;
      TMusic music(dir.path.string(), &messages);
      const bool on = music.SwitchMusic(true, false, 20);
      bool ok =
          on && messages.Texts("error") ==
                    std::vector<std::string>{"Некорректный файл \"" + std::string(tracks[bad]) +
                                             "\".\r\n" + cases[bad].cause};
      for (size_t i = 0; i < 3; ++i) ok = ok && music.Loaded(TMusicTrack(i)) == (i != bad);
      // The sound layer refuses it by itself as well.
      ok = ok && music.Sound().StreamCreateFile((dir.path / tracks[bad]).string()) == 0;
      _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << tracks[bad];
  }
}

}  // namespace
