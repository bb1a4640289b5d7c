// SPDX-License-Identifier: GPL-3.0-or-later
// One settings file in a private temporary folder, rewritten for every fuzz input.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "config/MessageService.h"

inline const std::string& FuzzFilePath() {
  static const std::string path = [] {
    // A memory file system when there is one: the hall-of-fame writes flush, and a disk would
    // make every run wait for it.
    std::error_code ec;
    std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0
            ? std::filesystem::path("/dev/shm")
            : std::filesystem::temp_directory_path();
    std::string tmpl = (base / "morvik-fuzz-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    static std::string dir = tmpl;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(dir, ec);
    });
    return tmpl + "/Morvik.ini";
  }();
  return path;
}

inline void FuzzPutFile(const uint8_t* data, size_t size) {
  FILE* f = std::fopen(FuzzFilePath().c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

// Counts what the store shows; the fuzz targets assert on it.
struct TCountingMessages : TMessageService {
  int errors = 0, infos = 0;
  void Error(const std::string&, const std::string& = std::string()) override { ++errors; }
  bool Confirm(const std::string&) override { return true; }
  void Information(const std::string&) override { ++infos; }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
};

#define FUZZ_CHECK(cond)                                                     \
  do {                                                                       \
    if (!(cond)) {                                                           \
      std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__); \
      std::abort();                                                          \
    }                                                                        \
  } while (0)
