// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include "Arena.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return RunArena(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
