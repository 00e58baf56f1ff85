#!/usr/bin/env python3
"""Draws the Talvo application icon and writes it as talvo.ico and talvo-256.png.

The icon is a white bold capital T centred on a rounded square of #357F87, on a
transparent background. Every size is drawn on its own pixel grid rather than
scaled down from the largest one, so the letter's edges fall on whole pixels
and the small sizes stay sharp. Only the standard library is used: the PNG
chunks and the ICO directory are written by hand.

Usage: resources/gen_icon.py [output folder]   (default: the folder of this file)
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
TILE_RGB = (0x35, 0x7F, 0x87)
LETTER_RGB = (0xFF, 0xFF, 0xFF)

MARGIN = 1 / 16          # transparent border, share of the icon side
CORNER_RADIUS = 0.22     # share of the square's side
CAP_HEIGHT = 0.58        # height of the T, share of the square's side
BAR_WIDTH = 0.86         # width of the cross bar, share of the cap height
STEM_WIDTH = 0.25        # width of the stem, share of the cap height
BAR_THICKNESS = 0.22     # height of the cross bar, share of the cap height
SUBSAMPLES = 16          # samples per pixel side along the rounded corners


def whole(x):
    """Rounds half up: Python's round() goes to the even neighbour."""
    return math.floor(x + 0.5)


def even(x):
    """The even whole number nearest to x, at least 2."""
    return max(2, 2 * whole(x / 2))


def layout(size):
    """Pixel geometry of one size: the square's edges and the T's two rectangles.

    Every edge of the T falls on a pixel edge. The stem and the bar share their
    parity, so the letter stays symmetric; an odd stem sits half a pixel off the
    icon's middle, which is less visible than a blurred stem.
    """
    margin = max(1, whole(size * MARGIN))
    side = size - 2 * margin
    cap = even(side * CAP_HEIGHT)
    stem = max(2, whole(cap * STEM_WIDTH))
    overhang = max(1, whole((cap * BAR_WIDTH - stem) / 2))
    bar_height = max(2, whole(cap * BAR_THICKNESS))
    left = (size - stem) // 2
    top = (size - cap) // 2
    return {
        "square": (margin, margin, size - margin, size - margin),
        "radius": side * CORNER_RADIUS,
        # Rectangles as (left, top, right, bottom) in pixel edges.
        "bar": (left - overhang, top, left + stem + overhang, top + bar_height),
        "stem": (left, top, left + stem, top + cap),
    }


def inside_rounded(x, y, square, radius):
    """Whether a point of the square's bounding box lies inside its rounded corners."""
    left, top, right, bottom = square
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def square_coverage(px, py, square, radius):
    """Share of pixel (px, py) covered by the rounded square. The straight edges lie
    on pixel edges, so only pixels in the corner boxes need sampling."""
    left, top, right, bottom = square
    if not (left <= px < right and top <= py < bottom):
        return 0.0
    in_corner_x = px < left + radius or px + 1 > right - radius
    in_corner_y = py < top + radius or py + 1 > bottom - radius
    if not (in_corner_x and in_corner_y):
        return 1.0
    hits = 0
    for j in range(SUBSAMPLES):
        y = py + (j + 0.5) / SUBSAMPLES
        for i in range(SUBSAMPLES):
            if inside_rounded(px + (i + 0.5) / SUBSAMPLES, y, square, radius):
                hits += 1
    return hits / (SUBSAMPLES * SUBSAMPLES)


def overlap(px, py, rect):
    """Exact area of pixel (px, py) inside an axis-aligned rectangle."""
    left, top, right, bottom = rect
    w = min(px + 1, right) - max(px, left)
    h = min(py + 1, bottom) - max(py, top)
    return max(0.0, w) * max(0.0, h)


def letter_coverage(px, py, bar, stem):
    both = (max(bar[0], stem[0]), max(bar[1], stem[1]),
            min(bar[2], stem[2]), min(bar[3], stem[3]))
    return min(1.0, overlap(px, py, bar) + overlap(px, py, stem) - overlap(px, py, both))


def render(size):
    """Straight (not premultiplied) RGBA rows, top row first."""
    g = layout(size)
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            alpha = square_coverage(px, py, g["square"], g["radius"])
            ink = letter_coverage(px, py, g["bar"], g["stem"]) if alpha > 0 else 0.0
            rgb = (whole(t + (l - t) * ink) for t, l in zip(TILE_RGB, LETTER_RGB))
            row += bytes(rgb) + bytes([whole(alpha * 255)])
        rows.append(bytes(row))
    return rows


def filtered(rows, kind):
    """PNG scanlines with one filter for every row: 0 none, 1 sub, 2 up."""
    out = bytearray()
    previous = bytes(len(rows[0]))
    for row in rows:
        out.append(kind)
        if kind == 0:
            out += row
        elif kind == 1:
            out += bytes(row[i] if i < 4 else (row[i] - row[i - 4]) & 0xFF for i in range(len(row)))
        else:
            out += bytes((a - b) & 0xFF for a, b in zip(row, previous))
        previous = row
    return bytes(out)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(size, rows):
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    data = min((zlib.compress(filtered(rows, k), 9) for k in (0, 1, 2)), key=len)
    signature = b"\x89PNG\r\n\x1a\n"
    return signature + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def ico(images):
    """An icon file whose entries are PNG images; (size, png bytes) pairs, smallest first."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = size if size < 256 else 0  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    images = [(size, png(size, render(size))) for size in SIZES]
    with open(os.path.join(folder, "talvo.ico"), "wb") as f:
        f.write(ico(images))
    with open(os.path.join(folder, "talvo-256.png"), "wb") as f:
        f.write(dict(images)[256])
    total = sum(len(data) for _, data in images)
    print(f"talvo.ico: {len(images)} images, {total} bytes of PNG")


if __name__ == "__main__":
    main()
