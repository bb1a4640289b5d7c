// SPDX-License-Identifier: GPL-3.0-or-later
// morvik-arena: plays whole games of computer seats without a window and prints them, as JSON
// lines for tools or as a readable demonstration (--show).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct TArenaOptions {
  std::optional<int32_t> layout;  // none: a random layout
  int width = 50, height = 25;
  std::array<int, 5> levels{0, 1, 0, 0, 1};  // per seat 1..4; 0 = empty
  bool byArea = true;
  int games = 1;
  bool islands = false;
  bool show = false;
};

// Parses the arguments (without the program name). On failure returns nothing and sets error
// to one line naming the fault.
std::optional<TArenaOptions> ParseArenaArguments(const std::vector<std::string>& args,
                                                 std::string& error);

struct TArenaSeat {
  int seat, level, area, points;
};

struct TArenaGame {
  int32_t layout;
  std::vector<std::pair<int, int>> moves;  // (seat, colour) of every MakeMove
  std::vector<TArenaSeat> seats;           // occupied seats after the final distribution
  int winner = 0;  // first place as the results dialog ranks it: lower seat on a tie
};

TArenaGame PlayArenaGame(const TArenaOptions& o, int32_t layout, std::ostream* show = nullptr);
std::string ArenaGameJson(const TArenaOptions& o, const TArenaGame& g);
// Island count and every occupied seat's territory with its neighbour list right after the
// start, as one JSON line.
std::string ArenaIslandsJson(const TArenaOptions& o, int32_t layout);

// The whole program; returns the exit code.
int RunArena(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
