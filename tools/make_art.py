#!/usr/bin/env python3
"""Packs Orvanel's icons and link cursor into resources/ from resources/art/.

Run by hand from anywhere: python3 tools/make_art.py  (--check only compares)
Needs Python 3 and ImageMagick's `convert` (Debian package imagemagick) to
read the PNGs. Re-running it reproduces the committed files byte for byte.

The sources, all in resources/art/:
- pixels16.txt, pixels20.txt, pixels24.txt: hand-placed pictures for the
  small sizes, where anti-aliased shapes smear into grey mush. One letter a
  pixel; the letters are PIXEL_COLOURS below.
- <icon><size>.png for sizes 32, 40, 48 and 64: the larger pictures, RGBA.
- hand.txt: the link cursor.
resources/logo.jpg, the about box's picture, is itself the committed source.

Each icon holds 16, 32 and 48 px in 16 and 256 colours for old displays,
then 32-bit alpha images at every size; Windows picks the best match.
"""

import filecmp
import os
import shutil
import struct
import subprocess
import sys
import tempfile

RES = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "resources")
ART = os.path.join(RES, "art")

OUTLINE = (58, 61, 67)
PIXEL_COLOURS = {
    ".": None,
    ":": OUTLINE + (110,),  # soft corner pixel; drops out of the masked formats
    "O": OUTLINE,
    "H": (251, 252, 253),  # highlight
    "L": (222, 224, 228),  # body, light
    "M": (202, 204, 209),  # body, mid
    "D": (182, 185, 191),  # body, dark
    "E": (150, 153, 160),  # body's lower edge
    "S": (96, 100, 108),  # drive slot
    "G": (52, 214, 70),  # activity light
    "g": (18, 120, 36),  # its rim
    "C": (42, 44, 48),  # cable
    "c": (116, 120, 128),  # cable, lit side
    "R": (228, 38, 34),  # the red cross
    "r": (128, 10, 10),  # its rim
    "Y": (255, 214, 30),  # the yellow coupler
    "W": (255, 246, 170),  # its light
    "y": (226, 168, 10),  # its shade
    "o": (132, 92, 0),  # its edge
    "P": (226, 229, 234),  # pin
    "p": (92, 96, 104),  # pin edge
}

# The 16-colour Windows palette, in its usual index order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def text_lines(path):
    with open(path, encoding="ascii") as f:
        return [l.rstrip("\n") for l in f if l.strip() and not l.startswith(";")]


def rgba(colour):
    return (0, 0, 0, 0) if colour is None else (colour + (255,))[:4]


def pixel_maps(size):
    """{icon name: rows of (r, g, b, a)} from pixels<size>.txt."""
    maps, name = {}, None
    for line in text_lines(os.path.join(ART, "pixels%d.txt" % size)):
        if line.startswith("["):
            name = line.strip("[]")
            maps[name] = []
        else:
            maps[name].append([rgba(PIXEL_COLOURS[ch]) for ch in line])
    for name, rows in maps.items():
        if len(rows) != size or any(len(r) != size for r in rows):
            sys.exit("make_art: the %dpx %s map is not %dx%d" % (size, name, size, size))
    return maps


def png(name, size):
    raw = subprocess.run(["convert", os.path.join(ART, "%s%d.png" % (name, size)), "-depth", "8", "rgba:-"],
                         capture_output=True, check=True).stdout
    if len(raw) != size * size * 4:
        sys.exit("make_art: %s%d.png is not %dx%d" % (name, size, size, size))
    return [[tuple(raw[i:i + 4]) for i in range(y * size * 4, (y + 1) * size * 4, 4)] for y in range(size)]


def nearest(colour, palette):
    # Compare brightness and tint separately: plain RGB distance sends the
    # dark grey outline to navy in the 16-colour palette.
    def split(c):
        y = 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]
        return y, c[0] - y, c[2] - y
    y, u, v = split(colour)

    def distance(i):
        py, pu, pv = split(palette[i])
        return 2 * (y - py) ** 2 + (u - pu) ** 2 + (v - pv) ** 2
    return min(range(len(palette)), key=distance)


def bitmap(picture, bpp, pixel):
    """Bottom-up DIB rows, each padded to 4 bytes; pixel(x, y) is the value."""
    h, w = len(picture), len(picture[0])
    stride = (w * bpp + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(h)):
        bits = 0
        for x in range(w):
            bits = bits << bpp | pixel(x, y)
        out += (bits << (stride * 8 - w * bpp)).to_bytes(stride, "big")
    return bytes(out)


def dib(rows, bpp):
    """One icon image: header, palette, colour bits and the AND mask."""
    def opaque(x, y):
        return rows[y][x][3] >= 128
    if bpp == 4:
        palette = VGA16
    elif bpp == 8:
        # Index 0 stays black: masked-out pixels point at it so the XOR pass
        # leaves the screen untouched.
        used = {px[:3] for row in rows for px in row if px[3] >= 128}
        palette = [(0, 0, 0)] + sorted(used - {(0, 0, 0)})
        if len(palette) > 256:
            sys.exit("make_art: a %dpx picture has more than 255 colours" % len(rows))
    if bpp == 32:
        def pixel(x, y):
            r, g, b, a = rows[y][x]
            return (b << 24 | g << 16 | r << 8 | a) if a else 0
        pal = b""
    else:
        index = {c: nearest(c, palette) for row in rows for c in (px[:3] for px in row)}
        def pixel(x, y):
            return index[rows[y][x][:3]] if opaque(x, y) else 0
        palette = palette + [(0, 0, 0)] * ((1 << bpp) - len(palette))
        pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    xor = bitmap(rows, bpp, pixel)
    mask = bitmap(rows, 1, lambda x, y: 0 if opaque(x, y) else 1)
    w, h = len(rows[0]), len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + pal + xor + mask


def write_icon_file(path, kind, entries):
    """entries: (width, height, colour count, planes or hot x, bpp or hot y, DIB) in order."""
    data = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(data) + 16 * len(entries)
    for w, h, colours, a, b, blob in entries:
        data += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, a, b, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(data + b"".join(e[5] for e in entries))


def write_cursor(out):
    lines = text_lines(os.path.join(ART, "hand.txt"))
    if len(lines) != 32 or any(len(l) != 32 for l in lines):
        sys.exit("make_art: hand.txt must be 32 lines of 32 pixels")
    hot = (5, 0)
    if lines[hot[1]][hot[0]] != "#" or "#" in lines[0][: hot[0]]:
        sys.exit("make_art: the fingertip is not at the hot spot")
    xor = bitmap(lines, 1, lambda x, y: lines[y][x] == "w")
    mask = bitmap(lines, 1, lambda x, y: lines[y][x] == ".")
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    blob = header + bytes((0, 0, 0, 0, 255, 255, 255, 0)) + xor + mask
    write_icon_file(os.path.join(out, "hand.cur"), 2, [(32, 32, 2, hot[0], hot[1], blob)])


def main():
    # --check: make everything in a scratch folder and compare, so a test
    # notices a changed source whose outputs were not remade.
    check = sys.argv[1:] == ["--check"]
    out = tempfile.mkdtemp() if check else RES
    small = {s: pixel_maps(s) for s in (16, 20, 24)}
    for kind in ("orvanel", "unmounted", "mounted"):
        pictures = {s: small[s][kind] for s in small}
        pictures.update({s: png(kind, s) for s in (32, 40, 48, 64)})
        images = [(s, bpp) for bpp in (4, 8) for s in (16, 32, 48)]
        images += [(s, 32) for s in (16, 20, 24, 32, 40, 48, 64)]
        write_icon_file(os.path.join(out, kind + ".ico"), 1,
                        [(s, s, 16 if bpp == 4 else 0, 1, bpp, dib(pictures[s], bpp)) for s, bpp in images])
    write_cursor(out)
    if check:
        stale = [f for f in sorted(os.listdir(out))
                 if not filecmp.cmp(os.path.join(out, f), os.path.join(RES, f), shallow=False)]
        shutil.rmtree(out)
        if stale:
            sys.exit("make_art: not remade from resources/art/: %s; run tools/make_art.py" % " ".join(stale))


if __name__ == "__main__":
    main()
