#!/usr/bin/env python3
"""Draws Taverell's icon: a scatter plot going to a diagonal, as a run of a
sort leaves it (value 0 at the top, a shuffled cloud on the left settling
onto the sorted diagonal on the right), black dots on white as the program
draws them, on a dark blue tile.

Writes, into OUT_DIR: taverell.svg, taverell-SIZE.png for the sizes desktops
use, and taverell.ico (PNG entries) for the Windows executables. One
geometry serves all three; the PNGs are rasterised here, with the standard
library only, so the output is the same on every machine. The files in
packaging/icons are this script's output (a test checks they are current).

Usage: draw_icon.py OUT_DIR
"""
import os
import struct
import sys
import zlib

VIEW = 256
PNG_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
ICO_SIZES = [16, 24, 32, 48, 64, 256]
TILE = "#1f3a5f"
PAPER = "#ffffff"
INK = "#000000"

# The tile, the plot area on it, and the dots (centre x, centre y, radius).
TILE_RECT = (8, 8, 248, 248, 40)     # left, top, right, bottom, corner radius
PAPER_RECT = (32, 32, 224, 224, 16)
DOT_RADIUS = 8


def dots():
    # Columns left to right, each dot drawn from a height of its own (the
    # shuffled cloud) towards its place on the diagonal, the more so the
    # farther right. The heights are fixed, so the drawing never changes.
    heights = [0.85, 0.1, 0.55, 0.95, 0.3, 0.75, 0.05, 0.6, 0.2, 0.9, 0.4,
               0.8, 0.5, 0.7, 0.85, 0.95]
    count = len(heights)
    low, high = 48, 208
    result = []
    for i, height in enumerate(heights):
        x = low + (high - low) * i / (count - 1)
        settled = (i / (count - 1)) ** 1.5
        y = x + (1 - settled) * (low + (high - low) * height - x)
        result.append((x, y, DOT_RADIUS))
    return result


def svg():
    l, t, r, b, c = TILE_RECT
    pl, pt, pr, pb, pc = PAPER_RECT
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
        'viewBox="0 0 256 256">',
        '  <title>Taverell</title>',
        f'  <rect x="{l}" y="{t}" width="{r - l}" height="{b - t}" rx="{c}" '
        f'fill="{TILE}"/>',
        f'  <rect x="{pl}" y="{pt}" width="{pr - pl}" height="{pb - pt}" '
        f'rx="{pc}" fill="{PAPER}"/>',
    ]
    for x, y, radius in dots():
        parts.append(f'  <circle cx="{x:.2f}" cy="{y:.2f}" r="{radius}" '
                     f'fill="{INK}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def rgb(colour):
    return tuple(int(colour[k:k + 2], 16) for k in (1, 3, 5))


def in_rounded(x, y, rect):
    l, t, r, b, c = rect
    if x < l or x >= r or y < t or y >= b:
        return False
    cx = min(max(x, l + c), r - c)
    cy = min(max(y, t + c), b - c)
    return (x - cx) ** 2 + (y - cy) ** 2 <= c * c


def shapes():
    """(inside(x, y), colour) in drawing order."""
    result = [(lambda x, y: in_rounded(x, y, TILE_RECT), rgb(TILE)),
              (lambda x, y: in_rounded(x, y, PAPER_RECT), rgb(PAPER))]
    for cx, cy, radius in dots():
        result.append((lambda x, y, cx=cx, cy=cy, r=radius:
                       (x - cx) ** 2 + (y - cy) ** 2 <= r * r, rgb(INK)))
    return result


def raster(size, samples=4):
    """RGBA rows; each pixel averages samples x samples points."""
    drawing = shapes()
    scale = VIEW / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            total = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    colour = None
                    for inside, fill in drawing:
                        if inside(x, y):
                            colour = fill
                    if colour:
                        total[0] += colour[0]
                        total[1] += colour[1]
                        total[2] += colour[2]
                        total[3] += 255
            n = samples * samples
            covered = total[3] // 255
            if covered:
                row += bytes([total[0] // covered, total[1] // covered,
                              total[2] // covered, total[3] // n])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def png(size):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in raster(size))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(images):
    """An .ico of PNG entries (Windows Vista and later read those)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        dimension = 0 if size == 256 else size  # 0 means 256
        entries += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32,
                               len(image), offset + len(data))
        data += image
    return header + entries + data


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "taverell.svg"), "w") as f:
        f.write(svg())
    pngs = {size: png(size) for size in PNG_SIZES}
    for size, image in pngs.items():
        with open(os.path.join(out, f"taverell-{size}.png"), "wb") as f:
            f.write(image)
    with open(os.path.join(out, "taverell.ico"), "wb") as f:
        f.write(ico([(size, pngs[size]) for size in ICO_SIZES]))


if __name__ == "__main__":
    main()
