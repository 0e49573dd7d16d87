#!/usr/bin/env python3
"""Checks for access_e2e.sh.

contrast PPM X Y W H [X Y W H ...]: in each region of a screenshot (binary PPM), the text's
  strongest contrast to the region's ground (its commonest colour); fails under 4.5:1.
names NAME=ROLE...: waits (up to 20 s) until the program's AT-SPI tree holds an object of each
  name with a role containing ROLE; prints the tree on failure.
description REGEX: waits until an object's description matches REGEX.
matching REGEX...: waits until, for each REGEX, an object's name matches it.
"""
import re
import sys
import time
from collections import Counter


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos : pos + 1].isspace():
            pos += 1
        if data[pos : pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", "not an 8-bit P6 picture"
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1 :]


def luminance(rgb):
    def channel(v):
        s = v / 255.0
        return s / 12.92 if s <= 0.03928 else ((s + 0.055) / 1.055) ** 2.4

    r, g, b = rgb
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b)


def ratio(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def contrast(args):
    width, _, pixels = read_ppm(args[0])
    regions = [tuple(map(int, args[i : i + 4])) for i in range(1, len(args), 4)]
    worst = None
    for x, y, w, h in regions:
        colours = Counter()
        for row in range(y, y + h):
            for col in range(x, x + w):
                at = (row * width + col) * 3
                colours[tuple(pixels[at : at + 3])] += 1
        ground = colours.most_common(1)[0][0]
        best = max(ratio(ground, c) for c in colours)
        print(f"region {x},{y} {w}x{h}: ground #{bytes(ground).hex()}, text contrast {best:.2f}:1")
        worst = best if worst is None else min(worst, best)
    return worst is not None and worst >= 4.5


def tree():
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi

    found = []

    def walk(obj, depth):
        if obj is None or depth > 30:
            return
        try:
            found.append((obj.get_name() or "", obj.get_role_name() or "",
                          obj.get_description() or "", depth))
            for i in range(obj.get_child_count()):
                walk(obj.get_child_at_index(i), depth + 1)
        except Exception:  # an object that went away while being read
            pass

    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and "surftally" in (app.get_name() or "").lower():
            walk(app, 0)
    return found


def wait_for(test):
    deadline = time.monotonic() + 20
    while True:
        found = tree()
        if test(found):
            return True
        if time.monotonic() > deadline:
            for name, role, description, depth in found:
                print("  " * depth + f"[{role}] {name!r} {description!r}")
            return False
        time.sleep(0.2)


def names(args):
    wanted = [a.split("=", 1) for a in args]

    def test(found):
        missing = [(n, r) for n, r in wanted
                   if not any(fn == n and r in role for fn, role, _, _ in found)]
        if missing:
            test.missing = missing
        return not missing

    ok = wait_for(test)
    if not ok:
        print("missing:", getattr(test, "missing", wanted))
    return ok


def description(args):
    return wait_for(lambda found: any(re.search(args[0], d) for _, _, d, _ in found))


def matching(args):
    return wait_for(lambda found: all(any(re.search(a, n) for n, _, _, _ in found) for a in args))


if __name__ == "__main__":
    command, rest = sys.argv[1], sys.argv[2:]
    checks = {"contrast": contrast, "names": names, "description": description,
              "matching": matching}
    sys.exit(0 if checks[command](rest) else 1)
