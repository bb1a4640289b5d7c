// SPDX-License-Identifier: GPL-3.0-or-later
// Neighbour-list operations shared by the engine's files. Lists keep their documented order and
// removed entries in place; long lists (territories) carry a position index so that membership
// and "first entry equal to" are constant-time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/UnitCore.h"

namespace unitcore {

constexpr size_t NotFound = static_cast<size_t>(-1);
// Lists up to this length are scanned; free islands stay far below it.
constexpr size_t IndexThreshold = 24;

inline size_t FindNeighbour(const TIsland& island, uint16_t id) {
  if (const auto* x = island.Index.Data.get()) {
    if (id >= x->Pos.size()) return NotFound;
    const uint32_t p = x->Pos[id];
    return p ? p - 1 : NotFound;
  }
  const auto& list = island.Neighbours;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == id) return i;
  return NotFound;
}

void BuildNeighbourIndex(TIsland& island, size_t islandCount);
void CompactLiveNeighbours(TNeighbourIndex::TData& index);

inline void AppendNeighbour(TIsland& island, uint16_t id, size_t islandCount) {
  island.Neighbours.push_back(id);
  if (auto* x = island.Index.Data.get()) {
    if (id >= x->Pos.size()) x->Pos.resize(size_t(id) + 1, 0);
    x->Pos[id] = static_cast<uint32_t>(island.Neighbours.size());
    x->Live.push_back(id);
  } else if (island.Neighbours.size() > IndexThreshold) {
    BuildNeighbourIndex(island, islandCount);
  }
}

// Marks entry pos removed (NoIsland), keeping its place.
inline void RemoveNeighbourAt(TIsland& island, size_t pos) {
  const uint16_t id = island.Neighbours[pos];
  island.Neighbours[pos] = NoIsland;
  auto* x = island.Index.Data.get();
  if (x && id != NoIsland && id < x->Pos.size() && x->Pos[id] == pos + 1) {
    x->Pos[id] = 0;
    if (++x->Stale > 32 && x->Stale * 2 > x->Live.size()) CompactLiveNeighbours(*x);
  }
}

// Calls f(id) for every live entry; in list order only for short lists.
template <class F>
inline void ForEachLive(const TIsland& island, F&& f) {
  if (const auto* x = island.Index.Data.get()) {
    for (const uint16_t id : x->Live)
      if (x->Pos[id]) f(id);
  } else {
    for (const uint16_t id : island.Neighbours)
      if (id != NoIsland) f(id);
  }
}

}  // namespace unitcore
