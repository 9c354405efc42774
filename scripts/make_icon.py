#!/usr/bin/env python3
"""Draws the application icon, a fog cloud over drifting fog on a blue tile, as an RGBA
PNG of SIZE pixels square (default 256). Standard library only, so it runs anywhere
Python does. The shapes are laid out on a 256 grid and scaled.

    scripts/make_icon.py resources/kelo-configuration.png
    scripts/make_icon.py resources/kelo-configuration-48.png 48
"""
import math
import struct
import sys
import zlib

SIZE = 256  # the grid the shapes are drawn on
SAMPLES = 4  # per axis and grid pixel, for smooth edges

TILE = (24, 86, 140)
TILE_EDGE = (14, 56, 96)
CLOUD = (245, 248, 252)
FOG = (200, 222, 240)


def in_rounded_square(x, y, inset, radius):
    lo, hi = inset, SIZE - inset
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_cloud(x, y):
    puffs = ((92, 118, 38), (134, 96, 50), (176, 122, 34))
    if any((x - px) ** 2 + (y - py) ** 2 <= r * r for px, py, r in puffs):
        return True
    return in_capsule(x, y, 76, 190, 137, 19)


def in_capsule(x, y, x0, x1, cy, r):
    cx = min(max(x, x0), x1)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_fog(x, y):
    bands = ((60, 170, 180, 7), (90, 200, 204, 7), (48, 150, 228, 6))
    for x0, x1, cy, r in bands:
        wave = 4 * math.sin((x - x0) / 18.0)
        if in_capsule(x, y - wave, x0, x1, cy, r):
            return True
    return False


def sample(x, y):
    if in_cloud(x, y):
        return CLOUD + (255,)
    if in_fog(x, y):
        return FOG + (255,)
    if in_rounded_square(x, y, 12, 44):
        return TILE + (255,)
    if in_rounded_square(x, y, 6, 50):
        return TILE_EDGE + (255,)
    return (0, 0, 0, 0)


def pixel(px, py, size):
    # A smaller icon averages as many samples over each of its pixels as the grid's
    # pixels it covers take, so thin fog bands keep their weight.
    scale = SIZE / size
    samples = SAMPLES * math.ceil(scale)
    acc = [0, 0, 0, 0]
    for sy in range(samples):
        for sx in range(samples):
            r, g, b, a = sample((px + (sx + 0.5) / samples) * scale,
                                (py + (sy + 0.5) / samples) * scale)
            acc[0] += r * a
            acc[1] += g * a
            acc[2] += b * a
            acc[3] += a
    alpha = acc[3] / (samples * samples)
    if alpha == 0:
        return b"\0\0\0\0"
    return bytes(round(c / acc[3]) for c in acc[:3]) + bytes([round(alpha)])


def png(rows, size):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + row for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    size = int(sys.argv[2]) if len(sys.argv) > 2 else SIZE
    rows = [b"".join(pixel(x, y, size) for x in range(size)) for y in range(size)]
    with open(sys.argv[1], "wb") as out:
        out.write(png(rows, size))


if __name__ == "__main__":
    main()
