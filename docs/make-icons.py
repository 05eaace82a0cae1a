#!/usr/bin/env python3
"""Draws the grid's kind pictures: small shaded balls on white, saved as
15 x 15 24-bit BMP files in icon/ (green: node, blue: table and entry,
orange: leaf). Run from the top of the checkout."""
import math
import struct

SIZE = 15
COLOURS = {
    "green": (40, 170, 60),
    "blue": (40, 90, 210),
    "orange": (240, 140, 20),
}


def shade(base, x, y):
    """Colour of one point of the picture, (x, y) in pixels."""
    cx = cy = (SIZE - 1) / 2
    radius = SIZE / 2 - 0.7
    dx, dy = (x - cx) / radius, (y - cy) / radius
    d2 = dx * dx + dy * dy
    if d2 > 1:
        return None
    dz = math.sqrt(1 - d2)
    light = (-0.5, -0.6, 0.62)
    norm = math.sqrt(sum(c * c for c in light))
    diffuse = max(0.0, (dx * light[0] + dy * light[1] + dz * light[2]) / norm)
    specular = diffuse ** 12
    return tuple(min(255.0, c * (0.35 + 0.75 * diffuse) + 255 * 0.55 * specular) for c in base)


def pixel(base, px, py):
    """Average of 4 x 4 samples, on white where the ball does not cover."""
    total = [0.0, 0.0, 0.0]
    for sy in range(4):
        for sx in range(4):
            c = shade(base, px + (sx + 0.5) / 4 - 0.5, py + (sy + 0.5) / 4 - 0.5) or (255, 255, 255)
            for i in range(3):
                total[i] += c[i]
    return tuple(int(round(t / 16)) for t in total)


def bmp(base):
    row_size = (SIZE * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(SIZE)):  # BMP rows run bottom up
        row = bytearray()
        for x in range(SIZE):
            r, g, b = pixel(base, x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    return header + info + data


for name, colour in COLOURS.items():
    with open(f"icon/{name}.bmp", "wb") as out:
        out.write(bmp(colour))
