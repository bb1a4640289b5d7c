// SPDX-License-Identifier: GPL-3.0-or-later
// Generator, board generation, islands and captures.
#include "engine/UnitCore.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "engine/UnitCoreLists.h"

using namespace unitcore;

// ---------------------------------------------------------------------------------------------
// Generator.

namespace {
uint32_t RandSeed = 0;
}

std::function<uint32_t()> ReadClockCounter = [] {
  return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
};

uint32_t Random(uint32_t n) {
  RandSeed = RandSeed * 134775813u + 1u;
  return static_cast<uint32_t>((uint64_t(RandSeed) * n) >> 32);
}

void Randomize() {
  RandSeed = ReadClockCounter();
}
uint32_t GetRandSeed() {
  return RandSeed;
}
void SetRandSeed(uint32_t seed) {
  RandSeed = seed;
}

void unitcore::BuildNeighbourIndex(TIsland& island, size_t islandCount) {
  size_t size = islandCount;
  for (uint16_t id : island.Neighbours)
    if (id != NoIsland) size = std::max(size, size_t(id) + 1);
  auto x = std::make_unique<TNeighbourIndex::TData>();
  x->Pos.assign(size, 0);
  for (size_t i = 0; i < island.Neighbours.size(); ++i) {
    const uint16_t id = island.Neighbours[i];
    if (id != NoIsland && x->Pos[id] == 0) {
      x->Pos[id] = static_cast<uint32_t>(i + 1);
      x->Live.push_back(id);
    }
  }
  island.Index.Data = std::move(x);
}

void unitcore::CompactLiveNeighbours(TNeighbourIndex::TData& x) {
  std::erase_if(x.Live, [&](uint16_t id) { return x.Pos[id] == 0; });
  x.Stale = 0;
}

// ---------------------------------------------------------------------------------------------
// Board.

void TMorvikMachine::GenerateTiles() {
  if (!Map) throw EUnitCoreError("GenerateTiles without a board");
  TMap& map = *Map;
  map.Tiles.clear();
  map.Islands.clear();
  map.Tiles.assign(Height, std::vector<TTile>(Width));
  SetRandSeed(static_cast<uint32_t>(CodeGame));
  auto& s = Services();
  s.SetStatus("Генерация карты...");
  s.SetProgressPosition(0);
  s.SetProgressMax(int(Width) * int(Height));
  for (auto& row : map.Tiles)
    for (auto& tile : row) {
      s.StepProgress();
      tile.Color = static_cast<uint8_t>(Random(7) + 1);
      tile.Island = NoIsland;
    }
}

void TMorvikMachine::GenerateIslands() {
  if (!Map) throw EUnitCoreError("GenerateIslands without a board");
  TMap& map = *Map;
  auto& tiles = map.Tiles;
  auto& islands = map.Islands;
  // Entries already present (a board built again in place) are refilled: their lists keep
  // their storage, which spares tens of thousands of allocations on the largest boards.
  size_t used = 0;
  auto newIsland = [&]() -> TIsland& {
    if (used == islands.size()) islands.emplace_back();
    TIsland& x = islands[used++];
    x.Tiles.clear();
    x.Neighbours.clear();
    x.Merged = false;
    x.Index.Data.reset();
    return x;
  };
  const int w = Width, h = Height;
  islands.reserve(size_t(w) * h * 3 / 4 + 16);  // random boards have about 0.72 islands a tile
  auto& s = Services();
  s.SetStatus("Генерация островов...");
  s.SetProgressPosition(0);
  s.SetProgressMax(w * h);

  // Depth-first fill in the order left, right, up, down; an explicit stack keeps the order of
  // the recursive fill without its depth limit.
  struct Frame {
    uint8_t col, row, dir;
  };
  std::vector<Frame> stack;
  std::vector<TTilePos> filled;
  static constexpr int dc[4] = {-1, 1, 0, 0};
  static constexpr int dr[4] = {0, 0, -1, 1};
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) {
      s.StepProgress();
      if (tiles[row][col].Island != NoIsland) continue;
      const auto a = static_cast<uint16_t>(used);
      const uint8_t colour = tiles[row][col].Color;
      TIsland& island = newIsland();
      island.Color = colour;
      filled.clear();  // collected first so that each tile list is allocated once
      auto visit = [&](int c, int r) {
        filled.push_back({uint8_t(c), uint8_t(r)});
        tiles[r][c].Island = a;
        stack.push_back({uint8_t(c), uint8_t(r), 0});
      };
      visit(col, row);
      while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.dir == 4) {
          stack.pop_back();
          continue;
        }
        const int d = f.dir++;
        const int c = f.col + dc[d], r = f.row + dr[d];
        if (c < 0 || c >= w || r < 0 || r >= h) continue;
        const TTile& t = tiles[r][c];
        if (t.Island == NoIsland && t.Color == colour) visit(c, r);
      }
      island.Tiles.assign(filled.begin(), filled.end());
    }
  islands.resize(used);

  s.SetStatus("Генерация соседей...");
  s.SetProgressPosition(0);
  s.SetProgressMax(w * h);
  for (int i = w * h; i > 0; --i) s.StepProgress();
  // Each island's list is in the order a row-by-row scan of its own tiles first meets each
  // neighbour, so build it island by island from its tiles in scan order: one exact allocation
  // per list instead of growing every list across the whole scan.
  const size_t count = islands.size();
  std::vector<uint32_t> order;
  std::vector<uint16_t> found;
  std::vector<uint32_t> seenBy(count, 0);  // 1 + the island whose list already holds it
  for (size_t a = 0; a < count; ++a) {
    TIsland& island = islands[a];
    found.clear();
    auto look = [&](int c, int r) {
      const uint16_t b = tiles[r][c].Island;
      if (b != a && seenBy[b] != a + 1) {
        seenBy[b] = uint32_t(a + 1);
        found.push_back(b);
      }
    };
    auto lookAround = [&](int col, int row) {
      if (col > 0) look(col - 1, row);
      if (col < w - 1) look(col + 1, row);
      if (row > 0) look(col, row - 1);
      if (row < h - 1) look(col, row + 1);
    };
    if (island.Tiles.size() == 1) {
      lookAround(island.Tiles[0].Col, island.Tiles[0].Row);
    } else {
      order.clear();
      for (const TTilePos& p : island.Tiles) order.push_back(uint32_t(p.Row) << 8 | p.Col);
      std::sort(order.begin(), order.end());
      for (const uint32_t key : order) lookAround(int(key & 0xFF), int(key >> 8));
    }
    island.Neighbours.assign(found.begin(), found.end());
    if (found.size() > IndexThreshold) BuildNeighbourIndex(island, count);
  }
  ++islandsBuild_;
  flatMap_ = nullptr;
}

void TMorvikMachine::EnsureFlatGraph() {
  const TMap& map = *Map;
  const size_t n = map.Islands.size();
  if (flatMap_ == &map && flatBuild_ == islandsBuild_ && flatSize_.size() == n) return;
  flatMap_ = &map;
  flatBuild_ = islandsBuild_;
  flatStart_.assign(n + 1, 0);
  flatSize_.resize(n);
  flatColour_.resize(n);
  flatMerged_.resize(n);
  flatAdj_.clear();
  for (size_t i = 0; i < n; ++i) {
    const TIsland& x = map.Islands[i];
    flatSize_[i] = static_cast<uint16_t>(std::min<size_t>(x.Tiles.size(), 0xFFFF));
    flatColour_[i] = x.Color;
    flatMerged_[i] = x.Merged;
    for (const uint16_t y : x.Neighbours)
      if (y != NoIsland) flatAdj_.push_back(y);
    flatStart_[i + 1] = static_cast<uint32_t>(flatAdj_.size());
  }
}

void TMorvikMachine::CopyMap(TMap& destination, const TMap& source) {
  destination.Tiles = source.Tiles;
  destination.Islands = source.Islands;
}

void TMorvikMachine::FreeMap(TMap& map) {
  TTileMap().swap(map.Tiles);
  TIslands().swap(map.Islands);
}

uint32_t TMorvikMachine::Square(uint32_t count) {
  return count * count;
}

uint16_t TMorvikMachine::GetGamerIsland(const TMap& map, int seat) const {
  if (seat < 1 || seat > 4) throw EUnitCoreError("seat out of range");
  const TGamer& g = Gamers[seat];
  return map.Tiles[g.Row][g.Col].Island;
}

uint8_t TMorvikMachine::GetGamerColor(const TMap& map) const {
  return map.Islands[GetGamerIsland(map, CurrentGamer)].Color;
}

bool TMorvikMachine::IsGamerIsland(const TMap& map, int island) const {
  for (int seat = 1; seat <= 4; ++seat)
    if (Gamers[seat].Kind != gkNone && GetGamerIsland(map, seat) == island) return true;
  return false;
}

bool TMorvikMachine::IsNeighbourIsland(const TMap& map, int island) const {
  if (island < 0 || island >= NoIsland) return false;
  return FindNeighbour(map.Islands[GetGamerIsland(map, CurrentGamer)], uint16_t(island)) !=
         NotFound;
}

std::array<uint16_t, 5> TMorvikMachine::Territories(const TMap& map) const {
  std::array<uint16_t, 5> t;
  t.fill(NoIsland);
  for (int seat = 1; seat <= 4; ++seat)
    if (Gamers[seat].Kind != gkNone) t[seat] = GetGamerIsland(map, seat);
  return t;
}

void TMorvikMachine::Capture(TMap& map, uint8_t color, bool all) {
  if (!Active) throw EUnitCoreError("Capture with no game running");
  const int seat = CurrentGamer;
  const uint16_t t = GetGamerIsland(map, seat);
  const auto territories = Territories(map);
  auto isTerritory = [&](uint16_t id) {
    return std::find(territories.begin() + 1, territories.end(), id) != territories.end();
  };
  auto& islands = map.Islands;
  const size_t count = islands.size();
  const bool live = &map == Map.get() && flatMap_ == &map && flatBuild_ == islandsBuild_;
  auto taken = [&](uint16_t id) {
    return !islands[id].Merged && (all ? !isTerritory(id) : islands[id].Color == color);
  };
  // Positions k of the entries taken, in list order. Only entries present at the start are
  // visited, and nothing but the visit itself removes or merges them, so they can be chosen
  // up front; a long list is read through its live entries.
  const size_t n = islands[t].Neighbours.size();
  std::vector<uint32_t>& chosen = captureScratch_;
  chosen.clear();
  if (const auto* index = islands[t].Index.Data.get(); index && live && !all) {
    // A territory's long list is mostly merged islands and other colours: the flat mirror
    // rules those out from two small arrays, and only the rest is read from the islands.
    for (const uint16_t id : index->Live) {
      if (flatMerged_[id] || (flatColour_[id] != color && flatColour_[id] != 0)) continue;
      const uint32_t p = index->Pos[id];
      if (p != 0 && p - 1 < n && taken(id)) chosen.push_back(p - 1);
    }
    std::sort(chosen.begin(), chosen.end());
  } else if (index) {
    ForEachLive(islands[t], [&](uint16_t id) {
      const uint32_t k = index->Pos[id] - 1;
      if (k < n && taken(id)) chosen.push_back(k);
    });
    std::sort(chosen.begin(), chosen.end());
  } else {
    for (size_t k = 0; k < n; ++k) {
      const uint16_t id = islands[t].Neighbours[k];
      if (id != NoIsland && taken(id)) chosen.push_back(uint32_t(k));
    }
  }
  uint64_t score = 0;
  for (const uint32_t k : chosen) {
    const uint16_t id = islands[t].Neighbours[k];
    TIsland& nIsland = islands[id];
    TIsland& territory = islands[t];
    score += Square(static_cast<uint32_t>(nIsland.Tiles.size()));
    for (const TTilePos& p : nIsland.Tiles) {
      map.Tiles[p.Row][p.Col].Island = t;
      territory.Tiles.push_back(p);
    }
    for (const uint16_t m : nIsland.Neighbours) {
      if (m == NoIsland || m == t) continue;
      TIsland& other = islands[m];
      if (FindNeighbour(territory, m) == NotFound) {
        AppendNeighbour(territory, m, count);
        AppendNeighbour(other, t, count);
      }
      const size_t pos = FindNeighbour(other, id);
      if (pos != NotFound) RemoveNeighbourAt(other, pos);
    }
    nIsland.Merged = true;
    if (live) flatMerged_[id] = 1;
    RemoveNeighbourAt(territory, k);
  }
  lastCaptured_ = chosen.size();
  islands[t].Color = color;
  TGamerScore& sc = map.Scores[seat];
  sc.Area = static_cast<uint16_t>(islands[t].Tiles.size());
  const int64_t points = int64_t(sc.Points) + int64_t(score);
  sc.Points = static_cast<int32_t>(std::min<int64_t>(points, std::numeric_limits<int32_t>::max()));
}
