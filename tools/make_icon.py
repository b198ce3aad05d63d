#!/usr/bin/env python3
"""Draws the program icon (a small boat sailing across a sky-blue disc) and writes a Windows .ico
with an image in 32-bit colour with alpha for each size Windows asks for at the usual display scales: the
small icon (16, 20, 24, 32 px at 100, 125, 150, 200 %) and the large one (32, 40, 48, 64 px). The
images above 32 px are stored PNG-compressed, which Windows reads since Vista; they would otherwise add
about 28 KiB to each program. Usage: make_icon.py OUTPUT.ico"""
import math
import struct
import sys
import zlib

SUPERSAMPLE = 4
SIZES = (64, 48, 40, 32, 24, 20, 16)
LARGEST_BITMAP = 32


def inside_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((px, py), a, b), side((px, py), b, c), side((px, py), c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def shade(x, y):
    """Colour (r, g, b, a) of the point (x, y) in the unit square, y downwards."""
    cx, cy = x - 0.5, y - 0.5
    r = math.hypot(cx, cy)
    if r > 0.48:
        return (0, 0, 0, 0)
    if r > 0.44:
        return (24, 70, 140, 255)  # rim
    # sky: light at the top, deeper blue towards the sea line
    t = max(0.0, min(1.0, (y - 0.06) / 0.62))
    sky = (int(150 - 90 * t), int(205 - 70 * t), int(255 - 25 * t), 255)
    if y > 0.70:
        sea = (20, 90, 170, 255)
        if int(y * 40) % 4 == 0 and (x * 7) % 1 < 0.5:
            sea = (90, 160, 220, 255)
        return sea
    # sun
    if math.hypot(x - 0.74, y - 0.24) < 0.09:
        return (255, 214, 90, 255)
    # hull
    if 0.60 <= y <= 0.70 and 0.20 + (y - 0.60) * 1.2 <= x <= 0.80 - (y - 0.60) * 1.2:
        return (140, 60, 30, 255)
    # mast
    if 0.485 <= x <= 0.525 and 0.16 <= y <= 0.60:
        return (90, 50, 30, 255)
    # sails
    if inside_triangle(x, y, (0.50, 0.18), (0.50, 0.57), (0.24, 0.57)):
        return (255, 255, 255, 255)
    if inside_triangle(x, y, (0.53, 0.24), (0.53, 0.57), (0.72, 0.57)):
        return (240, 244, 250, 255)
    return sky


def render(size):
    pixels = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    r, g, b, a = shade((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = acc[3] / (n * n)
            if acc[3]:
                row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], int(round(a))))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def dib(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def png(size, pixels):
    rows = b"".join(b"\x00" + bytes(channel for pixel in row for channel in pixel) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


def main():
    images = []
    for size in SIZES:
        pixels = render(size)
        images.append((size, dib(size, pixels) if size <= LARGEST_BITMAP else png(size, pixels)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
