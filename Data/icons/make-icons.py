#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the Morvik icon: a small board whose red territory grows from the top-left corner.

Writes morvik.svg and morvik-<size>.png next to this script. Only the standard library is
used, so the PNGs can be regenerated on any machine: python3 Data/icons/make-icons.py
Every size has its own pixel-aligned layout, so the small renderings stay sharp instead of
being a blurred copy of the large one.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The game's shades of each colour: light, fill, dark.
SHADES = {
    'R': ((255, 0, 0), (160, 0, 0), (128, 0, 0)),
    'G': ((0, 255, 0), (0, 160, 0), (0, 128, 0)),
    'Y': ((255, 255, 0), (160, 160, 0), (128, 128, 0)),
    'B': ((0, 0, 255), (0, 0, 160), (0, 0, 128)),
    'M': ((255, 0, 255), (160, 0, 160), (128, 0, 128)),
    'C': ((0, 255, 255), (0, 160, 160), (0, 128, 128)),
    'W': ((255, 255, 255), (160, 160, 160), (128, 128, 128)),
}
TERRITORY = 'R'
FRAME = (0, 0, 0)
BOUNDARY = (255, 255, 255)

# Boards, rows from the top. No two touching tiles outside the territory share a colour.
BOARD3 = ['RRY',
          'RBG',
          'CMW']
BOARD4 = ['RRRC',
          'RRYB',
          'RGMY',
          'BWCG']

# size: (board, tile, gap, margin, bevel, boundary) in pixels of that size.
LAYOUTS = {
    16: (BOARD3, 4, 1, 1, 0, 0),
    32: (BOARD4, 6, 2, 1, 1, 0),
    48: (BOARD4, 9, 2, 3, 1, 1),
    64: (BOARD4, 13, 2, 3, 2, 1),
    128: (BOARD4, 26, 4, 6, 4, 2),
    256: (BOARD4, 52, 8, 12, 8, 4),
}
SVG_SIZE = 64  # the SVG uses the 64 px layout as its coordinate system


def shapes(size):
    """The icon as a list of (x0, y0, x1, y1, rgb) rectangles, painted in order, plus the
    radius of the rounded frame behind them."""
    board, tile, gap, margin, bevel, boundary = LAYOUTS[size]
    n = len(board)
    step = tile + gap
    out = []

    def cell(c, r):
        x, y = margin + c * step, margin + r * step
        return x, y, x + tile, y + tile

    def owned(c, r):
        return 0 <= c < n and 0 <= r < n and board[r][c] == TERRITORY

    # The territory is one island: its tiles and the gaps between them form one red area.
    def territory_rects(grow):
        rects = []
        for r in range(n):
            for c in range(n):
                if not owned(c, r):
                    continue
                x0, y0, x1, y1 = cell(c, r)
                if owned(c + 1, r):
                    x1 += gap
                if owned(c, r + 1):
                    y1 += gap
                rects.append((x0 - grow, y0 - grow, x1 + grow, y1 + grow))
        return rects

    if boundary:
        out += [rect + (BOUNDARY,) for rect in territory_rects(boundary)]
    light, fill, dark = SHADES[TERRITORY]
    out += [rect + (light,) for rect in territory_rects(0)]

    for r in range(n):
        for c in range(n):
            key = board[r][c]
            if key == TERRITORY:
                continue
            light, fill, dark = SHADES[key]
            x0, y0, x1, y1 = cell(c, r)
            if bevel:
                # A raised tile: light top and left edges, dark bottom and right edges.
                out.append((x0, y0, x1, y1, dark))
                out.append((x0, y0, x1 - bevel, y1 - bevel, light))
                out.append((x0 + bevel, y0 + bevel, x1 - bevel, y1 - bevel, fill))
            else:
                out.append((x0, y0, x1, y1, fill))
    radius = size * 8 / 64
    return out, radius


def render(size):
    rects, radius = shapes(size)
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    # Rounded black frame; its corners are sampled 16 x 16 per pixel for a smooth edge.
    for y in range(size):
        for x in range(size):
            px[y][x] = FRAME + (round(255 * frame_coverage(x, y, size, radius)),)
    for x0, y0, x1, y1, rgb in rects:
        for y in range(max(0, y0), min(size, y1)):
            for x in range(max(0, x0), min(size, x1)):
                px[y][x] = rgb + (255,)
    return px


def frame_coverage(x, y, size, radius):
    def inside(sx, sy):
        cx = min(max(sx, radius), size - radius)
        cy = min(max(sy, radius), size - radius)
        return (sx - cx) ** 2 + (sy - cy) ** 2 <= radius * radius

    near_corner = (x < radius or x + 1 > size - radius) and (y < radius or y + 1 > size - radius)
    if not near_corner:
        return 1.0
    k = 16
    hits = sum(inside(x + (i + 0.5) / k, y + (j + 0.5) / k) for i in range(k) for j in range(k))
    return hits / (k * k)


def write_png(path, px):
    height, width = len(px), len(px[0])
    raw = bytearray()
    for row in px:
        raw.append(0)
        for pixel in row:
            raw.extend(pixel)

    def chunk(tag, data):
        body = tag + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


def write_svg(path):
    rects, radius = shapes(SVG_SIZE)

    def hexrgb(rgb):
        return '#%02x%02x%02x' % rgb

    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<!-- Generated by make-icons.py; edit the script, not this file. -->',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SVG_SIZE}" height="{SVG_SIZE}" '
        f'viewBox="0 0 {SVG_SIZE} {SVG_SIZE}">',
        '  <title>Morvik</title>',
        f'  <rect x="0" y="0" width="{SVG_SIZE}" height="{SVG_SIZE}" rx="{radius:g}" '
        f'fill="{hexrgb(FRAME)}"/>',
        '  <g shape-rendering="crispEdges">',
    ]
    for x0, y0, x1, y1, rgb in rects:
        lines.append(f'    <rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" '
                     f'fill="{hexrgb(rgb)}"/>')
    lines += ['  </g>', '</svg>', '']
    with open(path, 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines))


def main():
    write_svg(os.path.join(HERE, 'morvik.svg'))
    for size in sorted(LAYOUTS):
        write_png(os.path.join(HERE, f'morvik-{size}.png'), render(size))


if __name__ == '__main__':
    main()
