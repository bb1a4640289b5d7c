// SPDX-License-Identifier: GPL-3.0-or-later
// Colour choices: random, greedy, and the two look-ahead players.
//
// The look-ahead players are defined by captures on copies of the board: one capture of the
// candidate colour, then whole rings of free islands (territories are walls). A ring capture
// takes exactly the free islands one step further out, so after the candidate move and r rings
// the territory holds every free island whose breadth-first distance from the territory is at
// most r, where the islands of the candidate colour touching the territory count as distance 0.
// One search from the territory serves all seven candidates: an island at level L is at
// distance L - 1 for colour k when a shortest path to it starts at a first-ring island of
// colour k (the bit k of its mask), else at distance L. Same answers, no copies.
#include <algorithm>
#include <bit>
#include <limits>

#include "engine/UnitCore.h"
#include "engine/UnitCoreLists.h"

using namespace unitcore;

uint8_t TMorvikMachine::RandomColor() {
  if (std::none_of(FreeColors.begin() + 1, FreeColors.end(), [](bool f) { return f; }))
    throw EUnitCoreError("RandomColor with no free colour");
  uint8_t k;
  do k = static_cast<uint8_t>(Random(7) + 1);
  while (!FreeColors[k]);
  return k;
}

uint8_t TMorvikMachine::BrainEasy() {
  if (!Map) throw EUnitCoreError("BrainEasy with no board");
  const TMap& map = *Map;
  const bool byArea = Services().VictoryByArea();
  std::array<uint64_t, 8> value{};
  ForEachLive(map.Islands[GetGamerIsland(map, CurrentGamer)], [&](uint16_t id) {
    const TIsland& island = map.Islands[id];
    const auto size = static_cast<uint32_t>(island.Tiles.size());
    value[island.Color] += byArea ? size : Square(size);
  });
  uint8_t best = 0;
  uint64_t bestValue = 0;
  for (int k = 7; k >= 1; --k) {
    if (!FreeColors[k]) continue;
    Services().StepProgress();
    if (value[k] > bestValue) best = uint8_t(k), bestValue = value[k];
  }
  if (best == 0) best = RandomColor();
  Services().SetProgressPosition(0);
  return best;
}

void TMorvikMachine::RingLevels(const TMap& map, uint16_t territory, int maxLevel, int stopIsland) {
  EnsureFlatGraph();
  const size_t n = map.Islands.size();
  if (ringStamp_.size() < n) {
    ringStamp_.assign(n, 0);
    ringLevel_.assign(n, 0);
    ringMask_.assign(n, 0);
    ringStampNow_ = 0;
  }
  if (++ringStampNow_ == 0) {  // wrapped: start the stamps afresh
    std::fill(ringStamp_.begin(), ringStamp_.end(), 0);
    ringStampNow_ = 1;
  }
  const uint32_t now = ringStampNow_;
  levelArea_.assign(size_t(maxLevel) + 2, 0);
  levelPoints_.assign(size_t(maxLevel) + 2, 0);
  maskArea_.assign(size_t(maxLevel) + 2, {});
  maskPoints_.assign(size_t(maxLevel) + 2, {});
  // Territories are walls: stamped at level 0 they are never entered.
  for (const uint16_t t : Territories(map))
    if (t != NoIsland) ringStamp_[t] = now, ringLevel_[t] = 0;
  ringStamp_[territory] = now, ringLevel_[territory] = 0;

  ringQueue_.clear();
  ForEachLive(map.Islands[territory], [&](uint16_t id) {
    if (ringStamp_[id] == now || flatMerged_[id]) return;
    ringStamp_[id] = now;
    ringLevel_[id] = 1;
    ringMask_[id] = uint8_t(1u << flatColour_[id]);
    ringQueue_.push_back(id);
  });
  int limit = maxLevel;
  for (size_t head = 0; head < ringQueue_.size(); ++head) {
    const uint16_t x = ringQueue_[head];
    const int level = ringLevel_[x];
    if (level > limit) break;
    if (x == stopIsland) limit = std::min(limit, level + 1);
    // Levels are popped in order, so x's mask is complete here.
    const uint32_t size = flatSize_[x];
    const uint64_t sq = Square(size);
    levelArea_[level] += size;
    levelPoints_[level] += sq;
    const uint8_t mask = ringMask_[x];
    if (mask & (mask - 1)) {
      for (int k = 1; k <= 7; ++k)
        if (mask & (1u << k)) maskArea_[level][k] += size, maskPoints_[level][k] += sq;
    } else {
      const int k = std::countr_zero(unsigned(mask));
      maskArea_[level][k] += size, maskPoints_[level][k] += sq;
    }
    if (level >= limit) continue;
    const uint16_t next = uint16_t(level + 1);
    for (uint32_t e = flatStart_[x], end = flatStart_[x + 1]; e < end; ++e) {
      const uint16_t y = flatAdj_[e];
      if (ringStamp_[y] != now) {
        if (flatMerged_[y]) continue;
        ringStamp_[y] = now;
        ringLevel_[y] = next;
        ringMask_[y] = mask;
        ringQueue_.push_back(y);
      } else if (ringLevel_[y] == next) {
        ringMask_[y] |= mask;
      }
    }
  }
}

uint8_t TMorvikMachine::BrainHard() {
  if (!Map) throw EUnitCoreError("BrainHard with no board");
  const TMap& map = *Map;
  const bool byArea = Services().VictoryByArea();
  const uint16_t t = GetGamerIsland(map, CurrentGamer);
  const uint64_t base = map.Islands[t].Tiles.size();
  constexpr int Rings = 5;
  RingLevels(map, t, Rings + 1, -1);
  uint64_t area = base, points = 0;
  for (int l = 1; l <= Rings; ++l) area += levelArea_[l], points += levelPoints_[l];
  uint8_t best = 0;
  uint64_t bestScore = 0, bestArea = 0;
  for (int k = 1; k <= 7; ++k) {
    if (!FreeColors[k]) continue;
    Services().StepProgress();
    const uint64_t a = base + maskArea_[1][k];
    const uint64_t score = byArea ? area + maskArea_[Rings + 1][k]
                                  : std::min<uint64_t>(points + maskPoints_[Rings + 1][k],
                                                       std::numeric_limits<int32_t>::max());
    if (score > bestScore || (score == bestScore && a > bestArea))
      best = uint8_t(k), bestScore = score, bestArea = a;
  }
  Services().SetProgressPosition(0);
  return best;
}

uint8_t TMorvikMachine::BrainModerate() {
  if (!Map) throw EUnitCoreError("BrainModerate with no board");
  const TMap& map = *Map;
  const uint16_t target = map.Tiles[Height / 2][Width / 2].Island;
  if (IsGamerIsland(map, target)) return BrainEasy();
  const uint16_t t = GetGamerIsland(map, CurrentGamer);
  const uint64_t base = map.Islands[t].Tiles.size();
  constexpr int MaxDepth = 255;
  RingLevels(map, t, MaxDepth, target);
  const bool reached = ringStamp_[target] == ringStampNow_ && ringLevel_[target] > 0;
  const int targetLevel = reached ? ringLevel_[target] : std::numeric_limits<int>::max();
  // prefix[r]: tiles of every island up to level r.
  std::array<uint64_t, MaxDepth + 2> prefix{};
  for (int l = 1; l <= MaxDepth + 1; ++l)
    prefix[l] = prefix[l - 1] + (l < int(levelArea_.size()) ? levelArea_[l] : 0);
  uint8_t best = 0;
  int bestSteps = 65535;
  uint64_t bestArea = 0;
  for (int k = 1; k <= 7; ++k) {
    if (!FreeColors[k]) continue;
    Services().StepProgress();
    int distance = targetLevel;
    if (reached && (ringMask_[target] & (1u << k))) --distance;
    const int steps = distance == 0 ? 1 : distance < MaxDepth ? distance : MaxDepth;
    const int rings = std::min(steps, MaxDepth - 1);
    const uint64_t a = base + prefix[rings] + maskArea_[rings + 1][k];
    if (steps < bestSteps || (steps == bestSteps && a > bestArea))
      best = uint8_t(k), bestSteps = steps, bestArea = a;
  }
  Services().SetProgressPosition(0);
  if (best == 0) return BrainEasy();
  return best;
}
