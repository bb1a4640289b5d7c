// TFormGame: the pointer on the board: highlight of the island a click would take (and its
// perspective), the hand cursor, press, click and release.
#include <QCoreApplication>

#include "window/UnitGame.h"
#include "gui/MapImage.h"

bool TFormGame::IslandValid(int island) const {
  return machine_->Map && island >= 0 && size_t(island) < machine_->Map->Islands.size();
}

void TFormGame::MapMouseMove(int x, int y) {
  if (!machine_->Active || !machine_->Map) return;
  if (x < 0 || y < 0) {  // dragged off the board with the button held
    DropSelectedIsland();
    return;
  }
  const int s = machine_->SizeTile;
  if (s == 0) return;
  // Each tile owns the grid lines on its right and bottom; pixel 0 belongs to tile 0.
  const int c = int((x - 1) / double(s));
  const int r = int((y - 1) / double(s));
  if (c >= machine_->Width || r >= machine_->Height) {
    DropSelectedIsland();
    return;
  }
  const int p = machine_->Map->Tiles[size_t(r)][size_t(c)].Island;
  if (p == selectedIsland_ && !hintShown_) return;
  DropSelectedIsland();
  pointedIsland_ = p;
  SetSelectedIsland();
}

void TFormGame::SetSelectedIsland() {
  if (!machine_->Active || !IslandValid(pointedIsland_)) return;
  const TMap& map = *machine_->Map;
  const uint16_t territory = machine_->GetGamerIsland(map, machine_->CurrentGamer);
  if (!machine_->IsNeighbourIsland(map, pointedIsland_)) return;
  const uint8_t k = map.Islands[size_t(pointedIsland_)].Color;
  if (k < 1 || k > 7 || !machine_->FreeColors[k]) return;

  setCursor(Qt::PointingHandCursor);
  selectedIsland_ = pointedIsland_;
  TTileState state;
  if (mousePressed_)
    state = tsPressed;
  else if (state_.Option(soSelectIsland))
    state = tsSelected;
  else
    return;  // selectable, not highlighted
  DrawIsland(uint16_t(selectedIsland_), state, false);
  if (!state_.Option(soSelectPerspective) || territory >= map.Islands.size()) return;
  for (uint16_t n : map.Islands[territory].Neighbours) {
    if (n == NoIsland || n >= map.Islands.size()) continue;
    if (map.Islands[n].Color == k && n != selectedIsland_) DrawIsland(n, state, false);
  }
}

void TFormGame::DropSelectedIsland() {
  if (selectedIsland_ == -1) return;
  unsetCursor();
  if (machine_->Active && IslandValid(selectedIsland_)) {
    const TMap& map = *machine_->Map;
    const uint16_t territory = machine_->GetGamerIsland(map, machine_->CurrentGamer);
    const uint8_t k = map.Islands[size_t(selectedIsland_)].Color;
    if (territory < map.Islands.size()) {
      for (uint16_t n : map.Islands[territory].Neighbours) {
        if (n == NoIsland || n >= map.Islands.size()) continue;
        if (!machine_->IsGamerIsland(map, n) && map.Islands[n].Color == k)
          DrawIsland(n, tsNeutral, false);
      }
    }
  }
  selectedIsland_ = -1;
  pointedIsland_ = -1;
  EndHint();
}

void TFormGame::ResetSelection() {
  if (selectedIsland_ != -1) unsetCursor();
  hintShown_ = false;
  selectedIsland_ = -1;
  pointedIsland_ = -1;
}

void TFormGame::MapMouseDown() {
  if (!machine_->Active) return;
  if (hintShown_) {
    // A press where the pointer rests takes the island under it, never the hinted one.
    const int under = pointedIsland_;
    DropSelectedIsland();
    pointedIsland_ = under;
  }
  mousePressed_ = true;
  SetSelectedIsland();
}

void TFormGame::MapClick() {
  if (!machine_->Active || selectedIsland_ == -1) return;
  const int game = gameSerial_;
  // The pressed look reaches the screen first.
  QCoreApplication::processEvents();
  // The events may have stopped this game or started another: then the click takes nothing.
  if (!machine_->Active || game != gameSerial_ || !IslandValid(selectedIsland_)) return;
  SetColor(machine_->Map->Islands[size_t(selectedIsland_)].Color);
}

void TFormGame::MapMouseUp() {
  mousePressed_ = false;  // also when the game ended during the click
  if (!machine_->Active) return;
  SetSelectedIsland();
}
