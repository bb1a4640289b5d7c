// SPDX-License-Identifier: GPL-3.0-or-later
// The classic levels' choices on the master's island graph: what the machine's BrainEasy,
// BrainModerate and BrainHard (UnitCoreBrain.cpp) answer on the real board, from the rings of
// free nodes around a territory (territories are walls).
#include <algorithm>
#include <limits>

#include "engine/UnitCoreIslandGraph.h"

namespace unitcore {

TClassicForesight::TClassicForesight(const TGraph& g, bool byArea, uint32_t centre)
    : g_(g), byArea_(byArea), centre_(centre) {
  level_.assign(g.Count(), 0);
  mask_.assign(g.Count(), 0);
  stamp_.assign(g.Count(), 0);
}

uint8_t TClassicForesight::Answer(const TState& s, int seat, int level) {
  const unsigned held = HeldColours(s);
  std::array<uint64_t, 8> gain{};
  for (const uint32_t x : s.Front[size_t(seat)])
    if (s.Owner[x] == 0 && !(held & (1u << g_.Colour[x])))
      gain[g_.Colour[x]] += byArea_ ? g_.Size[x] : uint64_t(g_.Size[x]) * g_.Size[x];
  const auto capturing =
      std::count_if(gain.begin() + 1, gain.end(), [](uint64_t v) { return v > 0; });
  if (capturing == 0) {
    for (int c = 1; c <= 7; ++c)
      if (!(held & (1u << c))) return uint8_t(c);
    return s.Colour[size_t(seat)];
  }
  if (capturing > 1 && level == 3) return HardAnswer(s, seat, held);
  if (capturing > 1 && level == 2 && centre_ != UINT32_MAX && s.Owner[centre_] == 0)
    return ModerateAnswer(s, seat, held);
  // The greedy take ("Легкий", and "Умеренный" once the middle is taken): the largest gain,
  // the higher colour on a tie.
  uint8_t best = 0;
  uint64_t bestValue = 0;
  for (int c = 7; c >= 1; --c)
    if (gain[size_t(c)] > bestValue) best = uint8_t(c), bestValue = gain[size_t(c)];
  return best;
}

// "Сложный": the colour whose move and five rings after it hold the most.
uint8_t TClassicForesight::HardAnswer(const TState& s, int seat, unsigned held) {
  constexpr int Rings = 5;
  RingLevels(s, seat, Rings + 1, UINT32_MAX);
  const uint64_t base = uint64_t(s.Area[size_t(seat)]);
  uint64_t area = base, points = 0;
  for (int l = 1; l <= std::min(Rings, ringTop_); ++l)
    area += ringArea_[l], points += ringPoints_[l];
  uint8_t best = 0;
  uint64_t bestScore = 0, bestArea = 0;
  for (int c = 1; c <= 7; ++c) {
    if (held & (1u << c)) continue;
    const uint64_t a = base + RingMask(ringMaskArea_, 1, c);
    const uint64_t score =
        byArea_ ? area + RingMask(ringMaskArea_, Rings + 1, c)
                : std::min<uint64_t>(points + RingMask(ringMaskPoints_, Rings + 1, c),
                                     std::numeric_limits<int32_t>::max());
    if (score > bestScore || (score == bestScore && a > bestArea))
      best = uint8_t(c), bestScore = score, bestArea = a;
  }
  return best;
}

// "Умеренный" before the middle island is taken: the fewest moves to reach it, then the most
// tiles on the way.
uint8_t TClassicForesight::ModerateAnswer(const TState& s, int seat, unsigned held) {
  constexpr int MaxDepth = 255;
  const uint32_t target = centre_;
  RingLevels(s, seat, MaxDepth, target);
  const bool reached = stamp_[target] == now_;
  const int targetLevel = reached ? level_[target] : std::numeric_limits<int>::max();
  std::array<uint64_t, MaxDepth + 2> prefix{};
  for (int l = 1; l <= MaxDepth + 1; ++l)
    prefix[size_t(l)] = prefix[size_t(l) - 1] + (l <= ringTop_ ? ringArea_[l] : 0);
  const uint64_t base = uint64_t(s.Area[size_t(seat)]);
  uint8_t best = 0;
  int bestSteps = 65535;
  uint64_t bestArea = 0;
  for (int c = 1; c <= 7; ++c) {
    if (held & (1u << c)) continue;
    int distance = targetLevel;
    if (reached && (mask_[target] & (1u << c))) --distance;
    const int steps = distance == 0 ? 1 : distance < MaxDepth ? distance : MaxDepth;
    const int rings = std::min(steps, MaxDepth - 1);
    const uint64_t a = base + prefix[size_t(rings)] + RingMask(ringMaskArea_, rings + 1, c);
    if (steps < bestSteps || (steps == bestSteps && a > bestArea))
      best = uint8_t(c), bestSteps = steps, bestArea = a;
  }
  return best;
}

// Rings of free nodes around `seat`'s territory (territories are walls), as the classic
// levels count them: level 1 is the frontier, mask_ the colours of the first-ring nodes on
// a shortest way to the node, and the tiles and points per level and per such colour. The
// search stops at maxLevel, or one level past `stop`.
void TClassicForesight::RingLevels(const TState& s, int seat, int maxLevel, uint32_t stop) {
  if (++now_ == 0) std::fill(stamp_.begin(), stamp_.end(), 0), now_ = 1;
  ringTop_ = 0;
  queue_.clear();
  for (const uint32_t x : s.Front[size_t(seat)])
    if (s.Owner[x] == 0 && stamp_[x] != now_) {
      stamp_[x] = now_, level_[x] = 1, mask_[x] = uint8_t(1u << g_.Colour[x]);
      queue_.push_back(x);
    }
  int limit = maxLevel;
  for (size_t head = 0; head < queue_.size(); ++head) {
    const uint32_t x = queue_[head];
    const int level = level_[x];
    if (level > limit) break;
    if (x == stop) limit = std::min(limit, level + 1);
    while (ringTop_ < level) {  // a new level: its sums start from nothing
      ++ringTop_;
      ringArea_[ringTop_] = ringPoints_[ringTop_] = 0;
      ringMaskArea_[ringTop_].fill(0), ringMaskPoints_[ringTop_].fill(0);
    }
    const uint64_t size = g_.Size[x], sq = size * size;
    ringArea_[level] += size, ringPoints_[level] += sq;
    for (int c = 1; c <= 7; ++c)
      if (mask_[x] & (1u << c)) ringMaskArea_[level][c] += size, ringMaskPoints_[level][c] += sq;
    if (level >= limit) continue;
    const uint16_t next = uint16_t(level + 1);
    for (uint32_t e = g_.Start[x]; e < g_.Start[x + 1]; ++e) {
      const uint32_t y = g_.Adj[e];
      if (s.Owner[y] != 0) continue;
      if (stamp_[y] != now_) {
        stamp_[y] = now_, level_[y] = next, mask_[y] = mask_[x];
        queue_.push_back(y);
      } else if (level_[y] == next) {
        mask_[y] |= mask_[x];
      }
    }
  }
}

}  // namespace unitcore
