#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the game board out of a screenshot (binary PPM, as ImageMagick writes it).

  board.py check SHOT [COLS ROWS TILE]   every tile shows one of the painter's seven fill
                                         colours; the grid lines between framed tiles are black
  board.py greedy SHOT [COLS ROWS TILE]  prints the colour key (1..7) that takes the most tiles
                                         for seat 1 (top-left), or 0 when none is free
  board.py colour SHOT [COLS ROWS TILE]  prints the colour index of seat 1's corner tile
  board.py locate SHOT [COLS ROWS TILE]  prints the board's top-left grid corner as X,Y
  board.py grid SHOT [COLS ROWS TILE]    prints every tile's colour index, one row a line
  board.py diff SHOT OTHER [COLS ROWS TILE]
                                         prints the colours (in OTHER) of the tiles whose pixels
                                         differ between the shots, then those tiles as row,col
  board.py signs SHOT PLAIN [COLS ROWS TILE]
                                         SHOT is the board of PLAIN with the colour signs on:
                                         every coloured tile differs from PLAIN by one mark
                                         inside it, the same for every tile of a colour and
                                         different for every two colours

BOARD_AT=X,Y in the environment skips the search (the window does not move during a game).

The board is found by its pattern: a black grid corner with a fill colour inside every tile.
"""
import os
import sys

# Fill shades of the seven colours: bit 0 red, bit 1 green, bit 2 blue, 160 where set.
FILL = {}
for index, mask in enumerate((0b001, 0b010, 0b011, 0b100, 0b101, 0b110, 0b111), start=1):
    FILL[(160 if mask & 1 else 0, 160 if mask & 2 else 0, 160 if mask & 4 else 0)] = index
BLACK = (0, 0, 0)


def read_ppm(path):
    with open(path, 'rb') as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maxval; comments start with '#'
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b'P6' or int(fields[3]) != 255:
        raise SystemExit('not an 8-bit binary PPM: %s' % path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


class Shot:
    def __init__(self, path):
        self.width, self.height, self.pixels = read_ppm(path)

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


def locate(shot, cols, rows, tile):
    """Top-left grid corner of the board, or None."""
    span_x, span_y = cols * tile, rows * tile
    half = tile // 2
    for y in range(0, shot.height - span_y):
        for x in range(0, shot.width - span_x):
            if shot.at(x, y) != BLACK or shot.at(x + span_x, y + span_y) != BLACK:
                continue
            # The seats' corners may still be black start tiles: look at the other two corners
            # and at the tiles beside the seats' corners.
            probes = [(x + span_x - tile + half, y + half), (x + half, y + span_y - tile + half),
                      (x + tile + half, y + half), (x + span_x - 2 * tile + half, y + span_y - tile + half)]
            if all(shot.at(cx, cy) in FILL for cx, cy in probes):
                return x, y
    return None


def tiles(shot, origin, cols, rows, tile):
    """Colour index of every tile: 1..7, 0 for a black start tile, -1 for anything else."""
    x0, y0 = origin
    half = tile // 2

    def index(pixel):
        return 0 if pixel == BLACK else FILL.get(pixel, -1)
    return [[index(shot.at(x0 + c * tile + half, y0 + r * tile + half)) for c in range(cols)]
            for r in range(rows)]


def flood(grid, start):
    rows, cols = len(grid), len(grid[0])
    colour = grid[start[0]][start[1]]
    seen, todo = {start}, [start]
    while todo:
        r, c = todo.pop()
        for nr, nc in ((r - 1, c), (r + 1, c), (r, c - 1), (r, c + 1)):
            if 0 <= nr < rows and 0 <= nc < cols and (nr, nc) not in seen and grid[nr][nc] == colour:
                seen.add((nr, nc))
                todo.append((nr, nc))
    return seen


def expand(grid, own, other, colour):
    """The territory after taking `colour`: every tile of it connected to the territory."""
    rows, cols = len(grid), len(grid[0])
    grown, todo = set(own), list(own)
    while todo:
        r, c = todo.pop()
        for nr, nc in ((r - 1, c), (r + 1, c), (r, c - 1), (r, c + 1)):
            if (0 <= nr < rows and 0 <= nc < cols and (nr, nc) not in grown
                    and (nr, nc) not in other and grid[nr][nc] == colour):
                grown.add((nr, nc))
                todo.append((nr, nc))
    return grown


def rings_to(grid, own, other, target):
    """Islands to cross from the territory to the target tile (0-1 search: a step within an
    island is free, a step into another island costs one)."""
    from collections import deque
    rows, cols = len(grid), len(grid[0])
    dist = {t: 0 for t in own}
    todo = deque(own)
    while todo:
        r, c = todo.popleft()
        d = dist[(r, c)]
        if (r, c) == target:
            return d
        for nr, nc in ((r - 1, c), (r + 1, c), (r, c - 1), (r, c + 1)):
            if not (0 <= nr < rows and 0 <= nc < cols) or (nr, nc) in other:
                continue
            step = 0 if (r, c) not in own and grid[nr][nc] == grid[r][c] else 1
            if (nr, nc) in own:
                step = 0
            if dist.get((nr, nc), 1 << 30) > d + step:
                dist[(nr, nc)] = d + step
                (todo.appendleft if step == 0 else todo.append)((nr, nc))
    return 1 << 30


def greedy(grid):
    """Seat 1's colour: while the centre tile is free, the one that brings the territory nearest
    to it; then the one that gives the largest territory two moves ahead (ties: the larger gain
    now, then the lower key)."""
    rows, cols = len(grid), len(grid[0])
    if grid[0][0] < 0:
        return 0  # not a board in play (being drawn, or covered)
    own = flood(grid, (0, 0))
    other = flood(grid, (rows - 1, cols - 1))
    taken = {grid[0][0], grid[rows - 1][cols - 1]}
    free = [k for k in range(1, 8) if k not in taken]
    centre = (rows // 2, cols // 2)
    if centre not in own and centre not in other:
        best, best_value = 0, None
        for colour in free:
            first = expand(grid, own, other, colour)
            value = (-rings_to(grid, first, other, centre), len(first))
            if best_value is None or value > best_value:
                best, best_value = colour, value
        return best
    best, best_value = 0, None
    for colour in free:
        first = expand(grid, own, other, colour)
        second = max((len(expand(grid, first, other, k)) for k in free if k != colour),
                     default=len(first))
        value = (second, len(first))
        if best_value is None or value > best_value:
            best, best_value = colour, value
    return best


def signs(shot, plain, origin, cols, rows, tile):
    """Compares the board with signs against the same board without them."""
    x0, y0 = origin
    grid = tiles(plain, origin, cols, rows, tile)
    marks = {}
    for r in range(rows):
        for c in range(cols):
            left, top = x0 + c * tile, y0 + r * tile
            # Inside the grid lines only: a redraw may leave the territory's boundary for later.
            mark = frozenset((dx, dy) for dy in range(1, tile) for dx in range(1, tile)
                             if shot.at(left + dx, top + dy) != plain.at(left + dx, top + dy))
            colour = grid[r][c]
            if colour <= 0:
                # A start tile has no colour and no sign.
                if mark:
                    print('tile %d,%d without a colour changed' % (c, r), file=sys.stderr)
                    return 1
                continue
            if not mark:
                print('tile %d,%d of colour %d has no sign' % (c, r, colour), file=sys.stderr)
                return 1
            if marks.setdefault(colour, mark) != mark:
                print('tiles of colour %d carry different marks' % colour, file=sys.stderr)
                return 1
    seen = sorted(marks)
    for i, a in enumerate(seen):
        for b in seen[i + 1:]:
            if marks[a] == marks[b]:
                print('colours %d and %d carry the same mark' % (a, b), file=sys.stderr)
                return 1
    print('signs on %d colours: %s' % (len(seen), ', '.join(
        '%d:%d px' % (k, len(marks[k])) for k in seen)))
    return 0


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    command, path = sys.argv[1], sys.argv[2]
    other_path = None
    if command == 'diff':
        other_path = sys.argv[3]
        del sys.argv[3]
    sizes = sys.argv[4:7] if command == 'signs' else sys.argv[3:6]
    cols, rows, tile = (int(v) for v in (sizes if len(sizes) == 3 else (50, 25, 15)))
    shot = Shot(path)
    at = os.environ.get('BOARD_AT')
    origin = tuple(int(v) for v in at.split(',')) if at else locate(shot, cols, rows, tile)
    if origin is None:
        print('board of %d x %d tiles of %d pixels not found' % (cols, rows, tile), file=sys.stderr)
        return 2
    grid = tiles(shot, origin, cols, rows, tile)
    if command == 'check':
        # Only a seat's corner may be black: its start tile before the first choice.
        corners = {(0, 0), (0, cols - 1), (rows - 1, 0), (rows - 1, cols - 1)}
        bad = [(r, c) for r in range(rows) for c in range(cols)
               if grid[r][c] < 0 or (grid[r][c] == 0 and (r, c) not in corners)]
        if bad:
            print('tiles without a painter colour: %s' % bad[:10], file=sys.stderr)
            return 1
        # Two neighbouring tiles of different colours are both framed (or one is a territory's):
        # somewhere on the board the grid line between such tiles must be black.
        lines = sum(1 for r in range(rows) for c in range(cols - 1)
                    if shot.at(origin[0] + (c + 1) * tile, origin[1] + r * tile + tile // 2) == BLACK)
        if lines == 0:
            print('no black grid line between tiles', file=sys.stderr)
            return 1
        used = sorted({v for row in grid for v in row} - {0})
        print('board at %d,%d: %d x %d tiles, colours %s, %d black grid lines'
              % (origin[0], origin[1], cols, rows, used, lines))
        return 0
    if command == 'greedy':
        print(greedy(grid))
        return 0
    if command == 'locate':
        print('%d,%d' % origin)
        return 0
    if command == 'colour':
        print(grid[0][0])
        return 0
    if command == 'grid':
        for row in grid:
            print(''.join(str(v) if v >= 0 else '?' for v in row))
        return 0
    if command == 'diff':
        other = Shot(other_path)
        x0, y0 = origin
        changed = []
        for r in range(rows):
            for c in range(cols):
                if any(shot.at(x0 + c * tile + dx, y0 + r * tile + dy)
                       != other.at(x0 + c * tile + dx, y0 + r * tile + dy)
                       for dy in range(tile + 1) for dx in range(tile + 1)):
                    changed.append((r, c))
        colours = sorted({tiles(other, origin, cols, rows, tile)[r][c] for r, c in changed})
        print(' '.join(str(k) for k in colours))
        print(' '.join('%d,%d' % t for t in changed))
        return 0
    if command == 'signs':
        return signs(shot, Shot(sys.argv[3]), origin, cols, rows, tile)
    raise SystemExit(__doc__)


if __name__ == '__main__':
    sys.exit(main())
