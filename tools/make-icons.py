#!/usr/bin/env python3
"""Draws every icon of Surftally from one drawing.

A rounded square in the colour of the connection state with a white clock face on it:
- the three notification-area icons in data/ (.ico, 32-bit colour with alpha, 16 to 64 pixels,
  so that scaled desktops get a sharp picture);
- the application icon (the LAN colour) in packaging/icons/hicolor/: PNGs for every size a
  desktop asks for and a scalable SVG.
Run: tools/make-icons.py [ROOT]   (ROOT: the repository, by default the one holding this script)
"""
import math
import os
import struct
import sys
import zlib

COLOURS = {  # RGB
    "Off-Line.ico": (0, 0, 128),  # navy
    "LAN.ico": (0, 128, 0),  # green
    "MODEM.ico": (128, 0, 0),  # maroon
}
APP_COLOUR = COLOURS["LAN.ico"]
WHITE = (255, 255, 255)
ICO_SIZES = (16, 20, 24, 32, 40, 48, 64)
PNG_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def geometry(size):
    """The drawing at a size: corner radius, clock ring radius, stroke width, hand ends.

    Below 32 pixels the ring and strokes are a little larger, so that they stay visible."""
    c = size / 2
    ring = size * (0.36 if size >= 32 else 0.38)
    stroke = size * (0.09 if size >= 32 else 0.13)
    # Hands at ten past ten: the minute hand up, the hour hand to the left and up.
    minute = (c, c - ring * 0.75)
    hour = (c - ring * 0.55 * math.cos(math.radians(30)), c - ring * 0.55 * math.sin(math.radians(30)))
    return {"corner": size * 0.22, "centre": c, "ring": ring, "stroke": stroke,
            "hands": (minute, hour)}


def inside_rounded_square(x, y, size, radius):
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def near_segment(px, py, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    qx, qy = ax + t * dx, ay + t * dy
    return (px - qx) ** 2 + (py - qy) ** 2 <= (width / 2) ** 2


def sample(x, y, size, g, colour):
    """Colour of one sub-sample, or None outside the icon."""
    if not inside_rounded_square(x, y, size, g["corner"]):
        return None
    c = g["centre"]
    if abs(math.hypot(x - c, y - c) - g["ring"]) <= g["stroke"] / 2:
        return WHITE
    for hx, hy in g["hands"]:
        if near_segment(x, y, c, c, hx, hy, g["stroke"]):
            return WHITE
    return colour


def render(size, colour):
    """Rows of (r, g, b, a), top row first, 4 x 4 supersampled."""
    n = 4
    g = geometry(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    s = sample(px + (sx + 0.5) / n, py + (sy + 0.5) / n, size, g, colour)
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


def svg(colour):
    """The same drawing as a scalable picture, in the proportions of the larger sizes."""
    size = 64
    g = geometry(size)
    c = g["centre"]
    fill = "#%02x%02x%02x" % colour
    hands = "".join(
        f'  <line x1="{c:g}" y1="{c:g}" x2="{x:.3f}" y2="{y:.3f}"/>\n' for x, y in g["hands"])
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
        f'viewBox="0 0 {size} {size}">\n'
        f' <rect width="{size}" height="{size}" rx="{g["corner"]:g}" fill="{fill}"/>\n'
        f' <g fill="none" stroke="#ffffff" stroke-width="{g["stroke"]:g}" stroke-linecap="round">\n'
        f'  <circle cx="{c:g}" cy="{c:g}" r="{g["ring"]:g}"/>\n'
        f"{hands}"
        " </g>\n"
        "</svg>\n")


def png(size, rows):
    """An 8-bit RGBA PNG, unfiltered."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


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
    images = [bmp_entry(s, render(s, colour)) for s in ICO_SIZES]
    out = struct.pack("<HHH", 0, 1, len(ICO_SIZES))
    offset = 6 + 16 * len(ICO_SIZES)
    for s, data in zip(ICO_SIZES, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def write(path, content):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(content)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for name, colour in COLOURS.items():
        write(os.path.join(root, "data", name), ico(colour))
    hicolor = os.path.join(root, "packaging", "icons", "hicolor")
    for size in PNG_SIZES:
        write(os.path.join(hicolor, f"{size}x{size}", "apps", "surftally.png"),
              png(size, render(size, APP_COLOUR)))
    write(os.path.join(hicolor, "scalable", "apps", "surftally.svg"), svg(APP_COLOUR).encode())


if __name__ == "__main__":
    main()
