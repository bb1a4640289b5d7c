// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the sound tests: a private temp folder, the built tracks, the mixed PCM on disk.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace soundtest {

inline std::filesystem::path BuiltMusic() {
  return MORVIK_TEST_MUSIC_DIR;
}

// A fresh folder removed again at the end of the test.
struct TTempDir {
  std::filesystem::path path;
  TTempDir() {
    static int counter = 0;
    path = std::filesystem::temp_directory_path() /
           ("morvik-sound-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(path);
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

// Selects SDL's audio driver for the next Init. The disk driver writes what the mixer outputs
// to `file`, in real time unless delayMs says otherwise.
inline void UseDriver(const std::string& driver, const std::string& file = {},
                      const std::string& delayMs = {}) {
  setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
  if (!file.empty()) setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  if (delayMs.empty())
    unsetenv("SDL_DISKAUDIODELAY");
  else
    setenv("SDL_DISKAUDIODELAY", delayMs.c_str(), 1);
}

inline std::vector<int16_t> ReadPcm(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> pcm(bytes.size() / 2);
  std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
  return pcm;
}

}  // namespace soundtest
