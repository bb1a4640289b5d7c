// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the engine tests: recording services, boards by hand, invariant checks.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/UnitCore.h"

// Set by the build for the run under AddressSanitizer and UBSan, where long walks are shortened.
#ifndef MORVIK_SANITIZED
#define MORVIK_SANITIZED 0
#endif

// Records what the engine asks of the window.
struct RecordingServices : TNullWindowServices {
  std::vector<std::string> log;  // status texts and the end-of-game calls, in order
  int steps = 0, drawMaps = 0, results = 0;
  std::vector<int> positions;
  std::function<void()> onShowResults;

  void SetStatus(const std::string& t) override { log.push_back("status:" + t); }
  void StepProgress() override { ++steps; }
  void SetProgressPosition(int p) override { positions.push_back(p); }
  void DrawMap(bool progress) override {
    ++drawMaps;
    log.push_back(progress ? "draw+" : "draw");
  }
  void ShowResults() override {
    ++results;
    log.push_back("results");
    if (onShowResults) onShowResults();
  }
  void StopGameAtEnd() override {
    log.push_back("stop");
    TNullWindowServices::StopGameAtEnd();
  }
};

inline void NoHandlers(TMorvikMachine& m) {
  m.OnChangeGamer = [](uint8_t) {};
  m.OnChangeStateColor = [](uint8_t) {};
}

// A board from colour rows (start tiles included), islands built, game marked running.
inline void HandBoard(TMorvikMachine& m, const std::vector<std::vector<int>>& rows) {
  m.SetSizeMap(uint8_t(rows[0].size()), uint8_t(rows.size()));
  m.Map = std::make_unique<TMap>();
  m.Map->Tiles.assign(rows.size(), std::vector<TTile>(rows[0].size()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) m.Map->Tiles[r][c].Color = uint8_t(rows[r][c]);
  m.GenerateIslands();
  m.Active = true;
  for (int k = 1; k <= 7; ++k) m.FreeColors[k] = true;
  for (int s = 4; s >= 1; --s)
    if (m.Gamers[s].Kind != gkNone) {
      m.CurrentGamer = uint8_t(s);
      m.Map->Scores[s] = {1, 1};
      m.FreeColors[m.Map->Islands[m.GetGamerIsland(*m.Map, s)].Color] = false;
    }
  m.FreeColors[0] = false;
}

inline std::vector<int> Live(const std::vector<uint16_t>& list) {
  std::vector<int> out;
  for (uint16_t x : list) out.push_back(x == NoIsland ? -1 : int(x));
  return out;
}

// The invariants of a board in play, and the engine's private index agreeing with its lists.
inline void CheckInvariants(const TMorvikMachine& m, const TMap& map) {
  const size_t n = map.Islands.size();
  size_t tiles = 0;
  for (size_t r = 0; r < map.Tiles.size(); ++r)
    for (size_t c = 0; c < map.Tiles[r].size(); ++c) {
      const uint16_t id = map.Tiles[r][c].Island;
      ASSERT_LT(id, n);
      ASSERT_FALSE(map.Islands[id].Merged) << "tile " << c << "," << r;
      ++tiles;
    }
  size_t owned = 0;
  for (size_t i = 0; i < n; ++i) {
    const TIsland& x = map.Islands[i];
    if (x.Merged) continue;
    owned += x.Tiles.size();
    for (const TTilePos& p : x.Tiles) ASSERT_EQ(map.Tiles[p.Row][p.Col].Island, i);
    std::set<uint16_t> seen;
    for (size_t k = 0; k < x.Neighbours.size(); ++k) {
      const uint16_t y = x.Neighbours[k];
      if (y == NoIsland) continue;
      ASSERT_TRUE(seen.insert(y).second) << "duplicate " << y << " in " << i;
      ASSERT_FALSE(map.Islands[y].Merged) << i << " lists merged " << y;
      const auto& back = map.Islands[y].Neighbours;
      ASSERT_NE(std::find(back.begin(), back.end(), uint16_t(i)), back.end())
          << y << " does not list " << i;
      if (x.Index.Data) {
        ASSERT_EQ(x.Index.Data->Pos[y], k + 1);
      }
    }
    if (const auto* index = x.Index.Data.get()) {
      size_t live = 0;
      for (size_t y = 0; y < index->Pos.size(); ++y) {
        if (index->Pos[y]) {
          ASSERT_EQ(x.Neighbours[index->Pos[y] - 1], y);
          ++live;
        }
      }
      std::set<uint16_t> listed;
      for (uint16_t y : index->Live)
        if (index->Pos[y]) listed.insert(y);
      ASSERT_EQ(listed.size(), live);
    }
  }
  ASSERT_EQ(owned, tiles);
  for (int s = 1; s <= 4; ++s)
    if (m.Gamers[s].Kind != gkNone) {
      const uint16_t t = m.GetGamerIsland(map, s);
      ASSERT_FALSE(map.Islands[t].Merged);
      ASSERT_EQ(map.Scores[s].Area, map.Islands[t].Tiles.size());
    }
}

// Same islands, lists, tiles and scores (the private index aside).
inline void ExpectSameBoard(const TMap& a, const TMap& b) {
  ASSERT_EQ(a.Islands.size(), b.Islands.size());
  for (size_t i = 0; i < a.Islands.size(); ++i) {
    const TIsland &x = a.Islands[i], &y = b.Islands[i];
    ASSERT_EQ(x.Merged, y.Merged) << i;
    ASSERT_EQ(x.Color, y.Color) << i;
    ASSERT_EQ(x.Neighbours, y.Neighbours) << i;
    ASSERT_EQ(x.Tiles.size(), y.Tiles.size()) << i;
    for (size_t k = 0; k < x.Tiles.size(); ++k) {
      ASSERT_EQ(x.Tiles[k].Col, y.Tiles[k].Col);
      ASSERT_EQ(x.Tiles[k].Row, y.Tiles[k].Row);
    }
  }
  for (int s = 1; s <= 4; ++s) {
    ASSERT_EQ(a.Scores[s].Area, b.Scores[s].Area) << s;
    ASSERT_EQ(a.Scores[s].Points, b.Scores[s].Points) << s;
  }
}
