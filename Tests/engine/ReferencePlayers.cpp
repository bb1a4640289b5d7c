// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferencePlayers.h"

#include <algorithm>
#include <limits>

namespace reference {
namespace {

uint16_t Home(const TMorvikMachine& m, const TMap& map, int seat) {
  return map.Tiles[m.Gamers[seat].Row][m.Gamers[seat].Col].Island;
}

bool IsGamerIsland(const TMorvikMachine& m, const TMap& map, uint16_t id) {
  for (int s = 1; s <= 4; ++s)
    if (m.Gamers[s].Kind != gkNone && Home(m, map, s) == id) return true;
  return false;
}

bool Contains(const std::vector<uint16_t>& list, uint16_t id) {
  return std::find(list.begin(), list.end(), id) != list.end();
}

uint8_t StepsToTile(const TMorvikMachine& m, TMap& copy, int depth) {
  if (depth >= 255) return 255;
  Capture(m, copy, m.CurrentGamer, 1, true);
  if (copy.Tiles[m.Height / 2][m.Width / 2].Island == Home(m, copy, m.CurrentGamer))
    return uint8_t(depth);
  return StepsToTile(m, copy, depth + 1);
}

}  // namespace

TMap Copy(const TMap& source) {
  TMap map;
  map.Tiles = source.Tiles;
  map.Islands.resize(source.Islands.size());
  for (size_t i = 0; i < source.Islands.size(); ++i) {
    const TIsland& s = source.Islands[i];
    TIsland& d = map.Islands[i];
    d.Color = s.Color;
    d.Tiles = s.Tiles;
    d.Neighbours = s.Neighbours;
    d.Merged = s.Merged;
  }
  return map;
}

void Capture(const TMorvikMachine& m, TMap& map, int seat, uint8_t color, bool all) {
  const uint16_t t = Home(m, map, seat);
  uint64_t score = 0;
  const size_t n = map.Islands[t].Neighbours.size();
  for (size_t k = 0; k < n; ++k) {
    const uint16_t id = map.Islands[t].Neighbours[k];
    if (id == NoIsland || map.Islands[id].Merged) continue;
    const bool taken = all ? !IsGamerIsland(m, map, id) : map.Islands[id].Color == color;
    if (!taken) continue;
    TIsland& nIsland = map.Islands[id];
    score += uint64_t(nIsland.Tiles.size()) * nIsland.Tiles.size();
    for (const TTilePos& p : nIsland.Tiles) {
      map.Tiles[p.Row][p.Col].Island = t;
      map.Islands[t].Tiles.push_back(p);
    }
    const std::vector<uint16_t> around = nIsland.Neighbours;
    for (const uint16_t mId : around) {
      if (mId == NoIsland || mId == t) continue;
      auto& mList = map.Islands[mId].Neighbours;
      if (!Contains(map.Islands[t].Neighbours, mId)) {
        map.Islands[t].Neighbours.push_back(mId);
        mList.push_back(t);
      }
      auto it = std::find(mList.begin(), mList.end(), id);
      if (it != mList.end()) *it = NoIsland;
    }
    nIsland.Merged = true;
    map.Islands[t].Neighbours[k] = NoIsland;
  }
  map.Islands[t].Color = color;
  map.Scores[seat].Area = uint16_t(map.Islands[t].Tiles.size());
  map.Scores[seat].Points = int32_t(std::min<int64_t>(int64_t(map.Scores[seat].Points) + score,
                                                      std::numeric_limits<int32_t>::max()));
}

uint8_t RandomColor(const TMorvikMachine& m) {
  uint8_t k;
  do k = uint8_t(Random(7) + 1);
  while (!m.FreeColors[k]);
  return k;
}

uint8_t BrainEasy(const TMorvikMachine& m, const TMap& live, bool byArea) {
  const TIsland& t = live.Islands[Home(m, live, m.CurrentGamer)];
  uint8_t best = 0;
  uint64_t bestValue = 0;
  for (int k = 7; k >= 1; --k) {
    if (!m.FreeColors[k]) continue;
    uint64_t value = 0;
    for (const uint16_t id : t.Neighbours) {
      if (id == NoIsland || live.Islands[id].Color != k) continue;
      const uint64_t size = live.Islands[id].Tiles.size();
      value += byArea ? size : size * size;
    }
    if (value > bestValue) best = uint8_t(k), bestValue = value;
  }
  return best ? best : RandomColor(m);
}

uint8_t BrainModerate(const TMorvikMachine& m, const TMap& live, bool byArea) {
  const uint16_t target = live.Tiles[m.Height / 2][m.Width / 2].Island;
  if (IsGamerIsland(m, live, target)) return BrainEasy(m, live, byArea);
  uint8_t best = 0;
  int bestSteps = 65535;
  uint64_t bestArea = 0;
  for (int k = 1; k <= 7; ++k) {
    if (!m.FreeColors[k]) continue;
    TMap copy = Copy(live);
    Capture(m, copy, m.CurrentGamer, uint8_t(k), false);
    const int steps = StepsToTile(m, copy, 1);
    const uint64_t a = copy.Scores[m.CurrentGamer].Area;
    if (steps < bestSteps || (steps == bestSteps && a > bestArea))
      best = uint8_t(k), bestSteps = steps, bestArea = a;
  }
  return best ? best : BrainEasy(m, live, byArea);
}

uint8_t BrainHard(const TMorvikMachine& m, const TMap& live, bool byArea) {
  uint8_t best = 0;
  uint64_t bestScore = 0, bestArea = 0;
  for (int k = 1; k <= 7; ++k) {
    if (!m.FreeColors[k]) continue;
    TMap copy = Copy(live);
    Capture(m, copy, m.CurrentGamer, uint8_t(k), false);
    const uint64_t a = copy.Scores[m.CurrentGamer].Area;
    for (int i = 0; i < 5; ++i) Capture(m, copy, m.CurrentGamer, uint8_t(k), true);
    const auto& sc = copy.Scores[m.CurrentGamer];
    const uint64_t score = byArea ? uint64_t(sc.Area) : uint64_t(sc.Points);
    if (score > bestScore || (score == bestScore && a > bestArea))
      best = uint8_t(k), bestScore = score, bestArea = a;
  }
  return best;
}

bool Settled(const TMorvikMachine& m, const TMap& map) {
  bool contact = false;
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 4; ++j)
      if (i != j && m.Gamers[i].Kind != gkNone && m.Gamers[j].Kind != gkNone &&
          Contains(map.Islands[Home(m, map, i)].Neighbours, Home(m, map, j)))
        contact = true;
  if (!contact) return false;
  for (int i = 1; i <= 4; ++i) {
    if (m.Gamers[i].Kind == gkNone) continue;
    const uint16_t t = Home(m, map, i);
    auto other = [&](uint16_t id) {
      for (int j = 1; j <= 4; ++j)
        if (j != i && m.Gamers[j].Kind != gkNone && Home(m, map, j) == id) return true;
      return false;
    };
    for (const uint16_t e : map.Islands[t].Neighbours) {
      if (e == NoIsland || IsGamerIsland(m, map, e)) continue;
      for (const uint16_t f : map.Islands[e].Neighbours) {
        if (f == t) continue;
        if (other(f)) return false;
        if (f == NoIsland) continue;
        for (const uint16_t g : map.Islands[f].Neighbours)
          if (g != NoIsland && other(g)) return false;
      }
    }
  }
  return true;
}

uint8_t ComputerChoice(const TMorvikMachine& m, const TMap& live, bool byArea) {
  unsigned colours = 0;
  for (const uint16_t id : live.Islands[Home(m, live, m.CurrentGamer)].Neighbours)
    if (id != NoIsland && !live.Islands[id].Merged && m.FreeColors[live.Islands[id].Color])
      colours |= 1u << live.Islands[id].Color;
  const int count = __builtin_popcount(colours);
  if (count == 0) return RandomColor(m);
  if (count == 1) return BrainEasy(m, live, byArea);
  switch (m.Gamers[m.CurrentGamer].Level) {
    case 1:
      return BrainEasy(m, live, byArea);
    case 2:
      return BrainModerate(m, live, byArea);
    default:
      return BrainHard(m, live, byArea);
  }
}

}  // namespace reference
