// Neighbour-list operations shared by the engine's files. Lists keep their documented order and
// removed entries in place; long lists (territories) carry a position index so that membership
// and "first entry equal to" are constant-time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "UnitCore.h"

namespace unitcore {

constexpr size_t NotFound = static_cast<size_t>(-1);
// Lists up to this length are scanned; free islands stay far below it.
constexpr size_t IndexThreshold = 24;

inline size_t FindNeighbour(const TIsland& island, uint16_t id) {
  if (!island.NeighbourPos.empty()) {
    if (id >= island.NeighbourPos.size()) return NotFound;
    const uint32_t p = island.NeighbourPos[id];
    return p ? p - 1 : NotFound;
  }
  const auto& list = island.Neighbours;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == id) return i;
  return NotFound;
}

void BuildNeighbourIndex(TIsland& island, size_t islandCount);

inline void AppendNeighbour(TIsland& island, uint16_t id, size_t islandCount) {
  island.Neighbours.push_back(id);
  if (!island.NeighbourPos.empty()) {
    if (id >= island.NeighbourPos.size()) island.NeighbourPos.resize(size_t(id) + 1, 0);
    island.NeighbourPos[id] = static_cast<uint32_t>(island.Neighbours.size());
    island.LiveNeighbours.push_back(id);
  } else if (island.Neighbours.size() > IndexThreshold) {
    BuildNeighbourIndex(island, islandCount);
  }
}

void CompactLiveNeighbours(TIsland& island);

// Marks entry pos removed (NoIsland), keeping its place.
inline void RemoveNeighbourAt(TIsland& island, size_t pos) {
  const uint16_t id = island.Neighbours[pos];
  island.Neighbours[pos] = NoIsland;
  if (!island.NeighbourPos.empty() && id != NoIsland && id < island.NeighbourPos.size() &&
      island.NeighbourPos[id] == pos + 1) {
    island.NeighbourPos[id] = 0;
    if (++island.StaleLive > 32 && island.StaleLive * 2 > island.LiveNeighbours.size())
      CompactLiveNeighbours(island);
  }
}

// Calls f(id) for every live entry; in list order only for short lists.
template <class F>
inline void ForEachLive(const TIsland& island, F&& f) {
  if (!island.NeighbourPos.empty()) {
    for (const uint16_t id : island.LiveNeighbours)
      if (island.NeighbourPos[id]) f(id);
  } else {
    for (const uint16_t id : island.Neighbours)
      if (id != NoIsland) f(id);
  }
}

}  // namespace unitcore
