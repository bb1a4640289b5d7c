// Drawing speed: the whole board of the largest game a 1920 x 1080 screen allows (with and
// without the colours' signs), and the redraw of one highlighted island with its perspective.
#include <benchmark/benchmark.h>

#include "painter/MapPainter.h"

namespace {

struct Board {
  TNullWindowServices services;
  TMorvikMachine machine{&services};
  TMapPainter painter;

  Board(int w, int h, int s) {
    machine.SetSizeMap(uint8_t(w), uint8_t(h));
    machine.SetSizeTile(uint8_t(s));
    machine.SetGamer(1, gkHuman, 0, "Ann", 0);
    machine.SetGamer(4, gkComputer, 1, "Компьютер", 0);
    machine.OnChangeGamer = [](uint8_t) {};
    machine.OnChangeStateColor = [](uint8_t) {};
    machine.SetTileStyle(tsNeutral, stConvex);
    machine.SetTileStyle(tsOccupied, stCarved);
    machine.SetTileStyle(tsSelected, stCarved);
    machine.SetTileStyle(tsPressed, stConcave);
    machine.SetCodeGame(12345);
    machine.StartGame();
    const TWindowGeometry g = CalcSizeWindow(w, h, s, 7);
    painter.Resize(g.MapWidth, g.MapHeight);
  }
};

void BM_DrawMap_190x93_Tile10(benchmark::State& state) {
  Board b(190, 93, 10);
  for (auto _ : state) {
    b.painter.DrawMap(MakeBoardView(b.machine, true),
                      ServicesProgress(b.machine.Services(), state.range(0) != 0));
    benchmark::DoNotOptimize(b.painter.Bits());
  }
}
BENCHMARK(BM_DrawMap_190x93_Tile10)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same board with the colours' signs on every tile.
void BM_DrawMap_190x93_Tile10_Signs(benchmark::State& state) {
  Board b(190, 93, 10);
  b.painter.SetTileSigns(true);
  for (auto _ : state) {
    b.painter.DrawMap(MakeBoardView(b.machine, true),
                      ServicesProgress(b.machine.Services(), state.range(0) != 0));
    benchmark::DoNotOptimize(b.painter.Bits());
  }
}
BENCHMARK(BM_DrawMap_190x93_Tile10_Signs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A highlight: the pointed island and every island of its colour touching the territory.
void BM_HighlightRedraw(benchmark::State& state) {
  Board b(190, 93, 10);
  const TMap& map = *b.machine.Map;
  const uint16_t t = b.machine.GetGamerIsland(map, 1);
  const uint16_t first = map.Islands[t].Neighbours.front();
  const uint8_t k = map.Islands[first].Color;
  for (auto _ : state) {
    b.painter.DrawIsland(MakeBoardView(b.machine, true), first, tsSelected, false);
    for (uint16_t n : map.Islands[t].Neighbours)
      if (n != NoIsland && n != first && map.Islands[n].Color == k)
        b.painter.DrawIsland(MakeBoardView(b.machine, true), n, tsSelected, false);
    benchmark::DoNotOptimize(b.painter.Bits());
  }
}
BENCHMARK(BM_HighlightRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
