#!/usr/bin/env python3
"""Draws the three notification-area icons (16 and 32 pixels, 32-bit colour with alpha).

A rounded square in the colour of the connection state with a white clock face on it.
Run: tools/make-icons.py data/
"""
import math
import struct
import sys

COLOURS = {  # RGB
    "Off-Line.ico": (0, 0, 128),  # navy
    "LAN.ico": (0, 128, 0),  # green
    "MODEM.ico": (128, 0, 0),  # maroon
}
WHITE = (255, 255, 255)


def inside_rounded_square(x, y, size, radius):
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def near_segment(px, py, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    qx, qy = ax + t * dx, ay + t * dy
    return (px - qx) ** 2 + (py - qy) ** 2 <= (width / 2) ** 2


def sample(x, y, size, colour):
    """Colour and coverage of one sub-sample, or None outside the icon."""
    if not inside_rounded_square(x, y, size, size * 0.22):
        return None
    c = size / 2
    r = math.hypot(x - c, y - c)
    ring = size * (0.36 if size >= 32 else 0.38)
    stroke = size * (0.09 if size >= 32 else 0.13)
    if abs(r - ring) <= stroke / 2:
        return WHITE
    # Hands at ten past ten: the minute hand up, the hour hand to the left and up.
    if near_segment(x, y, c, c, c, c - ring * 0.75, stroke):
        return WHITE
    hx = c - ring * 0.55 * math.cos(math.radians(30))
    hy = c - ring * 0.55 * math.sin(math.radians(30))
    if near_segment(x, y, c, c, hx, hy, stroke):
        return WHITE
    return colour


def render(size, colour):
    """Rows of (r, g, b, a), top row first, 4 x 4 supersampled."""
    n = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    s = sample(px + (sx + 0.5) / n, py + (sy + 0.5) / n, size, colour)
                    if s is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += s[i]
            if hits:
                row.append(tuple(round(a / hits) for a in acc) + (round(255 * hits / (n * n)),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bmp_entry(size, rows):
    """A DIB as an icon directory entry expects it: header, BGRA bottom-up, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        line = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + pixels + mask


def ico(colour):
    sizes = (16, 32)
    images = [bmp_entry(s, render(s, colour)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "data"
    for name, colour in COLOURS.items():
        with open(f"{folder}/{name}", "wb") as f:
            f.write(ico(colour))


if __name__ == "__main__":
    main()
