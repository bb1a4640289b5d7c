// SPDX-License-Identifier: GPL-3.0-or-later
// The island graph the master searches, and the three classic levels' choices played on it.
//
// The live board is reduced to its islands: every island that is not merged is a node with its
// colour, its tile count and its live neighbours; a position (TState) says which seat owns each
// node and which free nodes touch each territory (its frontier). TClassicForesight answers, for
// a seat and a classic level, the colour that level would choose in such a position, exactly as
// the machine's own BrainEasy, BrainModerate and BrainHard (with AutoTurn before them) do on the
// real board: the master foresees the classic levels with it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace unitcore {

struct TGraph {
  std::vector<uint32_t> Start, Adj;  // compressed adjacency
  std::vector<uint8_t> Colour;
  std::vector<uint32_t> Size;
  size_t Count() const { return Colour.size(); }
};

struct TState {
  std::vector<uint8_t> Owner;    // 0 free, else the seat
  std::vector<uint8_t> InFront;  // bit s: on seat s's frontier list
  std::array<std::vector<uint32_t>, 5> Front;
  std::array<uint8_t, 5> Colour{};
  std::array<int64_t, 5> Area{}, Points{};
};

// How the other seats choose: Level[seat] 1 to 3 for a computer of a classic level (its
// answers are predicted exactly), 0 for anybody else; Centre is the node holding the board's
// middle tile, the island "Умеренный" races for.
struct TRivals {
  std::array<uint8_t, 5> Level{};
  uint32_t Centre = UINT32_MAX;
};

// The colours held by territories (bit c for colour c): no seat may choose them.
inline unsigned HeldColours(const TState& s) {
  unsigned held = 0;
  for (int o = 1; o <= 4; ++o) held |= 1u << s.Colour[size_t(o)];
  return held;
}

class TClassicForesight {
 public:
  // `centre`: the node holding the board's middle tile.
  TClassicForesight(const TGraph& g, bool byArea, uint32_t centre);

  // The colour a computer of a classic level (1 to 3) takes for `seat`, as the machine chooses
  // it: the only capturing colour when there is one, the level's own rule when there are more.
  // With none the game picks a colour at random; the lowest free one stands in for it.
  uint8_t Answer(const TState& s, int seat, int level);

 private:
  static constexpr int RingLevelsMax = 257;  // ring levels a classic level counts: 1 to 256
  using TRingSums = std::array<std::array<uint64_t, 8>, RingLevelsMax>;  // by level and colour

  uint8_t HardAnswer(const TState& s, int seat, unsigned held);
  uint8_t ModerateAnswer(const TState& s, int seat, unsigned held);
  void RingLevels(const TState& s, int seat, int maxLevel, uint32_t stop);
  // A per-colour sum of RingLevels at `level`; levels it never reached hold nothing.
  uint64_t RingMask(const TRingSums& sums, int level, int c) const {
    return level <= ringTop_ ? sums[size_t(level)][size_t(c)] : 0;
  }

  const TGraph& g_;
  const bool byArea_;
  const uint32_t centre_;
  std::vector<uint16_t> level_;  // RingLevels' ring of each node reached
  std::vector<uint8_t> mask_;    // ... and the first-ring colours on its shortest ways
  std::vector<uint32_t> stamp_, queue_;
  uint32_t now_ = 0;
  // RingLevels' sums by level (0 unused; valid up to ringTop_, the deepest level reached).
  int ringTop_ = 0;
  std::array<uint64_t, RingLevelsMax> ringArea_{}, ringPoints_{};
  TRingSums ringMaskArea_{}, ringMaskPoints_{};
};

}  // namespace unitcore
