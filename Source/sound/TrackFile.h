// SPDX-License-Identifier: GPL-3.0-or-later
// Track files are read only when they are regular files (links followed) of bounded size: a FIFO
// would hold the game forever and a huge file would be decoded whole before being refused.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint64_t kMaxTrackBytes = uint64_t(32) << 20;

// The whole file in `bytes`; false with the cause, a Russian sentence, when it is no regular
// file, is larger than kMaxTrackBytes or cannot be read.
bool ReadTrackFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& cause);
// The same checks without reading the file.
bool CheckTrackFile(const std::string& path, std::string& cause);
