#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the program's icon (a pack page turning into an XML page) as a 256x256 PNG."""
import math
import struct
import sys
import zlib

N = 256


def blend(dst, src, a):
    return tuple(int(d * (1 - a) + s * a) for d, s in zip(dst, src))


def main(out):
    px = [[(0, 0, 0, 0)] * N for _ in range(N)]

    def put(x, y, rgb, a=1.0):
        if 0 <= x < N and 0 <= y < N:
            r, g, b, al = px[y][x]
            base = (r, g, b) if al else rgb
            na = min(1.0, al / 255 + a)
            px[y][x] = blend(base, rgb, a) + (int(na * 255),)

    def rounded_rect(x0, y0, x1, y1, rad, rgb):
        for y in range(y0, y1):
            for x in range(x0, x1):
                cx = min(max(x, x0 + rad), x1 - 1 - rad)
                cy = min(max(y, y0 + rad), y1 - 1 - rad)
                d = math.hypot(x - cx, y - cy)
                if d <= rad:
                    put(x, y, rgb, min(1.0, rad + 0.5 - d) if d > rad - 0.5 else 1.0)

    def rect(x0, y0, x1, y1, rgb):
        for y in range(y0, y1):
            for x in range(x0, x1):
                put(x, y, rgb)

    rounded_rect(8, 8, 248, 248, 40, (47, 93, 138))          # blue tile
    rounded_rect(30, 40, 120, 200, 8, (250, 250, 245))       # the format-4 page
    for i in range(6):
        rect(44, 62 + i * 20, 106, 70 + i * 20, (120, 130, 140))
    rounded_rect(136, 56, 226, 216, 8, (255, 255, 255))      # the XML page
    for i, w in enumerate((60, 44, 52, 36, 58, 40)):
        rect(150 + (i % 2) * 10, 78 + i * 20, 150 + (i % 2) * 10 + w, 86 + i * 20, (230, 140, 30))
    # the arrow between them
    for y in range(108, 148):
        for x in range(104, 152):
            dy = abs(y - 128)
            if (x < 130 and dy <= 8) or (x >= 130 and dy <= (152 - x)):
                put(x, y, (70, 190, 90))

    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in px)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", N, N, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(out, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tolvex.png")
