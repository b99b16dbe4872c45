#!/usr/bin/env python3
"""Draws Orvanel's icons, link cursor and about-box logo into resources/.

Run from anywhere: python3 tools/make_art.py

Only the standard library is used, so anyone with Python can regenerate the
art; ImageMagick's `convert` is needed just to encode logo.jpg. Everything is
deterministic (no clocks, no randomness, sorted palettes), so re-running the
script reproduces the committed files byte for byte.

The larger icon sizes are drawn from the shapes below with supersampled
anti-aliasing, with every edge placed on whole pixels so outlines stay crisp.
16, 20 and 24 px are hand-placed pixel maps (resources/art/pixels*.txt),
because anti-aliased shapes smear into grey mush at those sizes.
"""

import math
import os
import shutil
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(os.path.dirname(HERE), "resources")
ART = os.path.join(RES, "art")

# --------------------------------------------------------------------------
# Colours shared by the pixel maps and the vector drawing, so every size of
# an icon looks like the same object.

OUTLINE = (58, 61, 67)
HILITE = (251, 252, 253)
BODY_TOP = (222, 224, 228)
BODY_BOTTOM = (176, 179, 186)
BODY_L = (222, 224, 228)
BODY_M = (202, 204, 209)
BODY_D = (182, 185, 191)
BODY_EDGE = (150, 153, 160)
LID_TOP = (252, 252, 253)
LID_BOTTOM = (236, 238, 241)
DIVIDER = (160, 164, 171)
SLOT = (96, 100, 108)
LED = (52, 214, 70)
LED_DARK = (18, 120, 36)
CABLE = (42, 44, 48)
CABLE_LIGHT = (116, 120, 128)
RED = (228, 38, 34)
RED_LIGHT = (246, 86, 72)
RED_DARK = (128, 10, 10)
YELLOW = (255, 214, 30)
YELLOW_LIGHT = (255, 246, 170)
YELLOW_SHADE = (226, 168, 10)
YELLOW_EDGE = (132, 92, 0)
PIN = (226, 229, 234)
PIN_EDGE = (92, 96, 104)

PIXEL_COLOURS = {
    ".": None,
    ":": OUTLINE + (110,),  # soft corner pixel; drops out of the masked formats
    "O": OUTLINE,
    "H": HILITE,
    "L": BODY_L,
    "M": BODY_M,
    "D": BODY_D,
    "E": BODY_EDGE,
    "S": SLOT,
    "G": LED,
    "g": LED_DARK,
    "C": CABLE,
    "c": CABLE_LIGHT,
    "R": RED,
    "r": RED_DARK,
    "Y": YELLOW,
    "W": YELLOW_LIGHT,
    "y": YELLOW_SHADE,
    "o": YELLOW_EDGE,
    "P": PIN,
    "p": PIN_EDGE,
}

# The 16-colour Windows palette, in its usual index order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def lerp(a, b, t):
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return tuple(x + (y - x) * t for x, y in zip(a, b))


# --------------------------------------------------------------------------
# A tiny rasteriser. Shapes answer "is this point inside?"; the canvas
# supersamples each pixel of a shape's bounding box to get its coverage.


class Rect:
    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.bbox = (x0, y0, x1, y1)

    def inside(self, x, y):
        return self.x0 <= x < self.x1 and self.y0 <= y < self.y1


class RRect:
    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.r = max(0.0, min(r, (x1 - x0) / 2, (y1 - y0) / 2))
        self.bbox = (x0, y0, x1, y1)

    def inside(self, x, y):
        if not (self.x0 <= x < self.x1 and self.y0 <= y < self.y1):
            return False
        r = self.r
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Ellipse:
    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.bbox = (cx - rx, cy - ry, cx + rx, cy + ry)

    def inside(self, x, y):
        return ((x - self.cx) / self.rx) ** 2 + ((y - self.cy) / self.ry) ** 2 <= 1.0


class Poly:
    """Any simple polygon, filled by the even-odd rule."""

    def __init__(self, pts):
        self.pts = pts
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))

    def inside(self, x, y):
        pts = self.pts
        n = len(pts)
        odd = False
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                odd = not odd
            j = i
        return odd


class Both:
    """Intersection of shapes: used to clip a stroke to its owner."""

    def __init__(self, *shapes):
        self.shapes = shapes
        self.bbox = (
            max(s.bbox[0] for s in shapes), max(s.bbox[1] for s in shapes),
            min(s.bbox[2] for s in shapes), min(s.bbox[3] for s in shapes),
        )

    def inside(self, x, y):
        return all(s.inside(x, y) for s in self.shapes)


def band(x0, y0, x1, y1, width):
    """A straight stroke of the given width from (x0,y0) to (x1,y1), flat ends."""
    dx, dy = x1 - x0, y1 - y0
    n = math.hypot(dx, dy)
    ox, oy = -dy / n * width / 2, dx / n * width / 2
    return Poly([(x0 + ox, y0 + oy), (x1 + ox, y1 + oy), (x1 - ox, y1 - oy), (x0 - ox, y0 - oy)])


class Canvas:
    """RGBA floats 0..1, premultiplied, so 'over' compositing is one line."""

    def __init__(self, w, h, ss=4):
        self.w, self.h, self.ss = w, h, ss
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def fill(self, shape, paint, alpha=1.0):
        """paint is an (r,g,b) tuple 0..255 or a function (x, y) -> (r,g,b)."""
        ss = self.ss
        offs = [(i + 0.5) / ss for i in range(ss)]
        n = ss * ss
        bx0, by0, bx1, by1 = shape.bbox
        x0, y0 = max(0, int(math.floor(bx0))), max(0, int(math.floor(by0)))
        x1, y1 = min(self.w, int(math.ceil(bx1))), min(self.h, int(math.ceil(by1)))
        inside = shape.inside
        flat = None if callable(paint) else tuple(c / 255.0 for c in paint)
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for oy in offs:
                    y = py + oy
                    for ox in offs:
                        if inside(px + ox, y):
                            hits += 1
                if not hits:
                    continue
                a = alpha * hits / n
                col = flat or tuple(c / 255.0 for c in paint(px + 0.5, py + 0.5))
                p = self.px[py * self.w + px]
                k = 1.0 - a
                p[0] = col[0] * a + p[0] * k
                p[1] = col[1] * a + p[1] * k
                p[2] = col[2] * a + p[2] * k
                p[3] = a + p[3] * k

    def rgba(self):
        """Rows of straight-alpha (r, g, b, a) byte tuples."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                A = int(round(a * 255))
                if A == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append(tuple(min(255, int(round(c / a * 255))) for c in (r, g, b)) + (A,))
            rows.append(row)
        return rows


# --------------------------------------------------------------------------
# The icons' vector drawing, used from 32 px up.


def vertical(top, bottom, y0, y1):
    return lambda x, y: lerp(top, bottom, (y - y0) / (y1 - y0))


def cylinder(dark, mid, light, x0, x1):
    """Shading across a round cable or a moulded plug, lit from the upper left."""
    def paint(x, y):
        t = (x - x0) / (x1 - x0)
        glow = max(0.0, 1.0 - abs(t - 0.35) / 0.6)
        return lerp(dark, mid, glow * 2) if glow < 0.5 else lerp(mid, light, glow * 2 - 1)
    return paint


def box_metrics(s, kind):
    margin = s // 32
    width = s - 2 * margin
    height = round(s * 0.56)
    top = (s - height) // 2 if kind == "orvanel" else margin
    return margin, top, margin + width, top + height


def draw_box(cv, s, x0, y0, x1, y1):
    ow = 1 if s < 56 else 2
    r = s * 0.1
    h = y1 - y0
    cv.fill(RRect(x0, y0, x1, y1, r), OUTLINE)
    inner = RRect(x0 + ow, y0 + ow, x1 - ow, y1 - ow, r - ow)
    # A pale lid strip over the front face: reads as a solid case rather than
    # a flat card, and splits cleanly into white and silver in 16 colours.
    lid = y0 + ow + max(2, round(h * 0.2))
    cv.fill(inner, vertical(BODY_TOP, BODY_BOTTOM, lid, y1 - ow))
    cv.fill(Both(inner, Rect(x0, y0, x1, lid)), vertical(LID_TOP, LID_BOTTOM, y0 + ow, lid))
    cv.fill(Both(inner, Rect(x0, lid, x1, lid + 1)), DIVIDER)
    bev = max(1, s // 40)
    cv.fill(Both(inner, Rect(x0, y1 - ow - bev, x1, y1 - ow)), BODY_EDGE)
    # Drive slot: a dark groove with a lit lower lip.
    sy = lid + round((y1 - lid) * 0.3)
    sh = max(1, s // 24)
    sx0 = x0 + round(s * 0.12)
    sx1 = x0 + round(s * 0.6)
    cv.fill(RRect(sx0, sy, sx1, sy + sh, sh / 2 if sh > 1 else 0), SLOT)
    cv.fill(Rect(sx0 + (1 if sh > 1 else 0), sy + sh, sx1 - (1 if sh > 1 else 0), sy + sh + 1), HILITE)
    # Activity light, bottom right: the one splash of colour on the case.
    lw = max(3, round(s * 0.1))
    lh = max(2, round(s * 0.06))
    lx1 = x1 - ow - round(s * 0.1)
    ly1 = y1 - ow - bev - round(s * 0.08)
    cv.fill(RRect(lx1 - lw, ly1 - lh, lx1, ly1, lh / 2.5), LED_DARK)
    cv.fill(RRect(lx1 - lw + 0.7, ly1 - lh + 0.7, lx1 - 0.7, ly1 - 0.7, lh / 3), LED)


def cable_width(s):
    return max(2, 2 * round(s / 16))


def draw_cable(cv, s, y0, y1):
    cw = cable_width(s)
    cx0 = (s - cw) // 2
    cv.fill(Rect(cx0, y0, cx0 + cw, y1), cylinder(CABLE, lerp(CABLE, CABLE_LIGHT, 0.6), CABLE_LIGHT, cx0, cx0 + cw))


def draw_cross(cv, s):
    """The red X over the cable: 'not connected'."""
    size = 2 * round(s * 0.16)
    x0 = (s - size) // 2
    y1 = s - 1  # leave a row for the outline
    y0 = y1 - size
    w = size * 0.3
    square = Rect(x0, y0, x0 + size, y1)
    rim = Rect(x0 - 1, y0 - 1, x0 + size + 1, y1 + 1)
    arms = [(x0 - 2, y0 - 2, x0 + size + 2, y1 + 2), (x0 + size + 2, y0 - 2, x0 - 2, y1 + 2)]
    # Both rims first, so neither arm's rim cuts across the other arm.
    for arm in arms:
        cv.fill(Both(band(*arm, width=w + 2), rim), RED_DARK)
    for arm in arms:
        cv.fill(Both(band(*arm, width=w), square), vertical(RED_LIGHT, RED, y0, y1))


def draw_coupler(cv, s, box_bottom):
    """A yellow plug, pins first, meeting a wider socket: 'connected'."""
    span = s - box_bottom
    cw = cable_width(s)
    pw = cw + 2 * round(s * 0.07)  # plug body
    sw = pw + 2 * max(2, round(s * 0.06))  # socket block, visibly wider
    px0, sx0 = (s - pw) // 2, (s - sw) // 2
    top = box_bottom + max(1, round(span * 0.08))
    seam = top + round(span * 0.32)
    pins = seam + max(2, round(s / 20))  # the length of pin left showing
    bottom = s - max(1, round(span * 0.06))
    r = max(1.0, s / 20)
    draw_cable(cv, s, box_bottom - 1, top + 1)
    draw_cable(cv, s, bottom - 1, s)
    pin = max(1, round(s / 24))
    for cx in (s / 2 - pw * 0.24, s / 2 + pw * 0.24):
        x0 = round(cx - pin / 2)
        cv.fill(Rect(x0, seam, x0 + pin + 1, pins), PIN_EDGE)
        cv.fill(Rect(x0, seam, x0 + pin, pins), PIN)
    # Plug: rounded where the cable goes in, square where the pins come out.
    cv.fill(Both(RRect(px0, top, px0 + pw, seam + r, r * 1.4), Rect(0, 0, s, seam)), YELLOW_EDGE)
    cv.fill(Both(RRect(px0 + 1, top + 1, px0 + pw - 1, seam + r, r * 1.4 - 1), Rect(0, 0, s, seam - 1)),
            cylinder(YELLOW_SHADE, YELLOW, YELLOW_LIGHT, px0 + 1, px0 + pw - 1))
    # Socket block, its flat face taking the pins.
    cv.fill(RRect(sx0, pins, sx0 + sw, bottom, r), YELLOW_EDGE)
    cv.fill(RRect(sx0 + 1, pins + 1, sx0 + sw - 1, bottom - 1, r - 1),
            cylinder(YELLOW_SHADE, YELLOW, YELLOW_LIGHT, sx0 + 1, sx0 + sw - 1))
    cv.fill(Rect(sx0 + 1, pins + 1, sx0 + sw - 1, pins + 2), YELLOW_LIGHT, 0.8)


def render_vector(kind, s):
    cv = Canvas(s, s, ss=6)
    x0, y0, x1, y1 = box_metrics(s, kind)
    if kind == "orvanel":
        # Faint contact shadow so the lone box sits on something.
        cx, sy = s / 2, y1 + 0.5
        for i in range(5):
            k = i / 4
            cv.fill(Ellipse(cx, sy, s * 0.47 * (1 - 0.25 * k), max(1.5, s * 0.05) * (1 - 0.5 * k)), (0, 0, 0), 0.06)
    elif kind == "unmounted":
        draw_cable(cv, s, y1 - 1, s)
    draw_box(cv, s, x0, y0, x1, y1)
    if kind == "unmounted":
        draw_cross(cv, s)
    elif kind == "mounted":
        draw_coupler(cv, s, y1)
    return cv.rgba()


# --------------------------------------------------------------------------
# Hand-placed pixel maps for the smallest sizes.


def read_pixel_maps(path):
    maps, name = {}, None
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith(";"):
                continue
            if line.startswith("["):
                name = line.strip("[]")
                maps[name] = []
            else:
                maps[name].append(line)
    return maps


def pixel_map_rgba(lines, size):
    if len(lines) != size or any(len(l) != size for l in lines):
        sys.exit("make_art: a %dpx pixel map is not %dx%d" % (size, size, size))
    rows = []
    for line in lines:
        row = []
        for ch in line:
            c = PIXEL_COLOURS[ch]
            row.append((0, 0, 0, 0) if c is None else c if len(c) == 4 else c + (255,))
        rows.append(row)
    return rows


# --------------------------------------------------------------------------
# ICO / CUR writing.


def nearest(colour, palette):
    # Compare brightness and tint separately: plain RGB distance sends the
    # dark grey outline to navy in the 16-colour palette.
    def split(c):
        y = 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]
        return y, c[0] - y, c[2] - y
    y, u, v = split(colour)
    best, best_d = 0, None
    for i, p in enumerate(palette):
        py, pu, pv = split(p)
        d = 2 * (y - py) ** 2 + (u - pu) ** 2 + (v - pv) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def median_cut(colours, boxes):
    """colours: {rgb: count}. Returns up to `boxes` averaged colours."""
    groups = [sorted(colours.items())]
    while len(groups) < boxes:
        best, best_range, axis = None, 0, 0
        for gi, grp in enumerate(groups):
            if len(grp) < 2:
                continue
            for ch in range(3):
                vals = [c[ch] for c, _ in grp]
                rng = max(vals) - min(vals)
                if rng > best_range:
                    best, best_range, axis = gi, rng, ch
        if best is None:
            break
        grp = sorted(groups.pop(best), key=lambda e: (e[0][axis], e[0]))
        total = sum(n for _, n in grp)
        acc, cut = 0, 1
        for i, (_, n) in enumerate(grp):
            acc += n
            if acc * 2 >= total:
                cut = min(max(1, i + 1), len(grp) - 1)
                break
        groups.insert(best, grp[cut:])
        groups.insert(best, grp[:cut])
    out = []
    for grp in groups:
        total = sum(n for _, n in grp)
        out.append(tuple(int(round(sum(c[ch] * n for c, n in grp) / total)) for ch in range(3)))
    return out


def opaque(px):
    return px[3] >= 128


def build_palette(rows):
    counts = {}
    for row in rows:
        for px in row:
            if opaque(px):
                counts[px[:3]] = counts.get(px[:3], 0) + 1
    # Index 0 stays black: masked-out pixels point at it so the XOR pass
    # leaves the screen untouched.
    if len(counts) <= 255:
        colours = sorted(counts)
    else:
        colours = sorted(set(median_cut(counts, 255)))
    return [(0, 0, 0)] + [c for c in colours if c != (0, 0, 0)]


def and_mask(rows):
    w = len(rows[0])
    stride = (w + 31) // 32 * 4
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, px in enumerate(row):
            if not opaque(px):
                line[x >> 3] |= 0x80 >> (x & 7)
        out += line
    return bytes(out)


def dib(rows, bpp):
    h, w = len(rows), len(rows[0])
    palette = []
    if bpp == 4:
        palette = VGA16
    elif bpp == 8:
        palette = build_palette(rows)
    cache = {}

    def index(px):
        if not opaque(px):
            return 0
        if px[:3] not in cache:
            cache[px[:3]] = nearest(px[:3], palette)
        return cache[px[:3]]

    stride = (w * bpp + 31) // 32 * 4
    xor = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bpp == 32:
            for r, g, b, a in row:
                line += bytes((b, g, r, a)) if a else b"\0\0\0\0"
        elif bpp == 8:
            line += bytes(index(px) for px in row)
        elif bpp == 4:
            for x in range(0, w, 2):
                line.append(index(row[x]) << 4 | (index(row[x + 1]) if x + 1 < w else 0))
        xor += line.ljust(stride, b"\0")
    mask = and_mask(rows)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, len(xor) + len(mask), 0, 0, 0, 0)
    pal = b""
    if palette:
        full = list(palette) + [(0, 0, 0)] * ((1 << bpp) - len(palette))
        pal = b"".join(bytes((b, g, r, 0)) for r, g, b in full)
    return header + pal + bytes(xor) + mask


def write_ico(path, images):
    """images: list of (rows, bpp) in directory order."""
    blobs = [(rows, bpp, dib(rows, bpp)) for rows, bpp in images]
    head = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    entries, data = b"", b""
    for rows, bpp, blob in blobs:
        w, h = len(rows[0]), len(rows)
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 16 if bpp == 4 else 0, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
        data += blob
    with open(path, "wb") as f:
        f.write(head + entries + data)


def write_cur(path, lines, hot):
    h, w = len(lines), len(lines[0])
    stride = (w + 31) // 32 * 4
    xor, mask = bytearray(), bytearray()
    for line in reversed(lines):
        xl, ml = bytearray(stride), bytearray(stride)
        for x, ch in enumerate(line):
            bit = 0x80 >> (x & 7)
            if ch == "w":
                xl[x >> 3] |= bit
            elif ch == ".":
                ml[x >> 3] |= bit
        xor += xl
        mask += ml
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    pal = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    blob = header + pal + bytes(xor) + bytes(mask)
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w, h, 2, 0, hot[0], hot[1], len(blob), 6 + 16)
    with open(path, "wb") as f:
        f.write(head + entry + blob)


def make_cursor():
    with open(os.path.join(ART, "hand.txt"), encoding="ascii") as f:
        lines = [l.rstrip("\n") for l in f if l.strip() and not l.startswith(";")]
    if len(lines) != 32 or any(len(l) != 32 for l in lines):
        sys.exit("make_art: hand.txt must be 32 lines of 32 pixels")
    hot = (5, 0)
    if lines[hot[1]][hot[0]] != "#" or "#" in lines[0][: hot[0]]:
        sys.exit("make_art: the fingertip is not at the hot spot")
    write_cur(os.path.join(RES, "hand.cur"), lines, hot)


# --------------------------------------------------------------------------
# About-box logo. The dialog stretches it to 563x250 and prints the title,
# version and a statement on its left half, so that half stays dark and
# empty; the only picture is a quiet folder-onto-drive motif on the right.

LOGO_W, LOGO_H = 544, 246


def logo_background(x, y):
    t = (x / LOGO_W) ** 1.5
    base = lerp((8, 12, 25), (19, 32, 58), t)
    base = lerp(base, (5, 8, 17), (y / LOGO_H) ** 2 * 0.6)
    # Soft light behind the motif.
    d = math.hypot((x - 462) / 1.3, y - 112) / 190
    if d < 1:
        base = lerp(base, (40, 66, 110), (1 - d) ** 2 * 0.55)
    return base


def glow(cv, cx, cy, radius, colour, strength):
    col = tuple(c / 255.0 for c in colour)
    for py in range(max(0, int(cy - radius)), min(cv.h, int(cy + radius) + 1)):
        for px in range(max(0, int(cx - radius)), min(cv.w, int(cx + radius) + 1)):
            d = math.hypot(px + 0.5 - cx, py + 0.5 - cy) / radius
            if d < 1:
                a = strength * (1 - d) ** 2
                p = cv.px[py * cv.w + px]
                for i in range(3):
                    p[i] = min(1.0, p[i] + col[i] * a)  # additive: light, not paint


def outlined(cv, outer, inner, edge, fill, alpha=1.0):
    cv.fill(outer, edge, alpha)
    cv.fill(inner, fill, alpha)


def render_logo():
    cv = Canvas(LOGO_W, LOGO_H, ss=4)
    for y in range(LOGO_H):
        for x in range(LOGO_W):
            r, g, b = logo_background(x + 0.5, y + 0.5)
            cv.px[y * LOGO_W + x] = [r / 255.0, g / 255.0, b / 255.0, 1.0]
    edge = (104, 146, 206)
    # The folder, above and behind the drive.
    fx0, fy0, fx1, fy1 = 392, 44, 482, 114

    def folder(i):
        return Poly([(fx0 + i, fy1 - i), (fx0 + i, fy0 + 4 + i), (fx0 + 4 + i, fy0 + i),
                     (fx0 + 30 - i, fy0 + i), (fx0 + 36 - i, fy0 + 8 + i),
                     (fx1 - i, fy0 + 8 + i), (fx1 - i, fy1 - i)])
    outlined(cv, folder(0), folder(2), edge, vertical((40, 64, 106), (26, 42, 74), fy0, fy1), 0.6)
    front = Poly([(fx0 + 2, fy0 + 18), (fx1 - 2, fy0 + 18), (fx1 - 2, fy1 - 2), (fx0 + 2, fy1 - 2)])
    cv.fill(front, vertical((58, 88, 136), (32, 52, 88), fy0 + 18, fy1), 0.55)
    cv.fill(Rect(fx0 + 2, fy0 + 18, fx1 - 2, fy0 + 19), (150, 186, 236), 0.45)
    # A dotted path curving from the folder into the drive: the mapping.
    p0, c, p1 = (410, 122), (404, 168), (426, 168)
    n = 7
    for i in range(n):
        t = i / n
        x = (1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * c[0] + t * t * p1[0]
        y = (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * c[1] + t * t * p1[1]
        cv.fill(Ellipse(x, y, 1.8, 1.8), edge, 0.3 + 0.5 * t)
    cv.fill(Poly([(p1[0] - 4, p1[1] - 6), (p1[0] + 5, p1[1]), (p1[0] - 4, p1[1] + 6)]), edge, 0.85)
    # The drive box, the program's icon drawn large and dim.
    dx0, dy0, dx1, dy1 = 434, 136, 534, 198
    cv.fill(Ellipse((dx0 + dx1) / 2, dy1 + 6, 58, 6), (0, 0, 0), 0.35)
    outlined(cv, RRect(dx0, dy0, dx1, dy1, 9), RRect(dx0 + 2, dy0 + 2, dx1 - 2, dy1 - 2, 7),
             (128, 168, 224), vertical((62, 92, 140), (30, 48, 82), dy0, dy1), 0.85)
    cv.fill(Rect(dx0 + 3, dy0 + 15, dx1 - 3, dy0 + 16), (128, 168, 224), 0.45)
    cv.fill(RRect(dx0 + 14, dy0 + 30, dx0 + 62, dy0 + 33, 1.5), (12, 20, 38), 0.8)
    cv.fill(Rect(dx0 + 14, dy0 + 33, dx0 + 62, dy0 + 34), (128, 168, 224), 0.35)
    lx, ly = dx1 - 18, dy1 - 14
    glow(cv, lx, ly, 16, (40, 200, 80), 0.35)
    cv.fill(RRect(lx - 5, ly - 2.5, lx + 5, ly + 2.5, 2), (70, 230, 110))
    # A hairline of the title's gold along the bottom edge, fading to the left.
    cv.fill(Rect(0, LOGO_H - 2, LOGO_W, LOGO_H - 1),
            lambda x, y: lerp((8, 12, 25), (150, 118, 40), (x / LOGO_W) ** 2), 0.8)
    return cv


def write_logo():
    cv = render_logo()
    ppm = bytearray(b"P6\n%d %d\n255\n" % (LOGO_W, LOGO_H))
    # 4x4 ordered dither hides banding in the long dark gradient.
    bayer = [0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5]
    for y in range(LOGO_H):
        for x in range(LOGO_W):
            p = cv.px[y * LOGO_W + x]
            d = (bayer[(y & 3) * 4 + (x & 3)] + 0.5) / 16
            ppm += bytes(min(255, int(c * 255 + d)) for c in p[:3])
    convert = os.environ.get("CONVERT") or shutil.which("convert")
    if not convert:
        sys.exit("make_art: ImageMagick's convert is needed for logo.jpg")
    out = os.path.join(RES, "logo.jpg")
    subprocess.run([convert, "ppm:-", "-strip", "-sampling-factor", "1x1", "-quality", "90", "jpg:" + out],
                   input=bytes(ppm), check=True)


# --------------------------------------------------------------------------

SMALL = (16, 20, 24)
LARGE = (32, 40, 48, 64)
INDEXED = (16, 32, 48)
TRUE_COLOUR = (16, 20, 24, 32, 40, 48, 64)


def icon_images(kind):
    pictures = {}
    for s in SMALL:
        maps = read_pixel_maps(os.path.join(ART, "pixels%d.txt" % s))
        pictures[s] = pixel_map_rgba(maps[kind], s)
    for s in LARGE:
        pictures[s] = render_vector(kind, s)
    # Old formats first, 32-bit last; Windows picks the best match anyway.
    images = [(pictures[s], 4) for s in INDEXED]
    images += [(pictures[s], 8) for s in INDEXED]
    images += [(pictures[s], 32) for s in TRUE_COLOUR]
    return images


def main():
    for kind in ("orvanel", "unmounted", "mounted"):
        write_ico(os.path.join(RES, kind + ".ico"), icon_images(kind))
    make_cursor()
    write_logo()


if __name__ == "__main__":
    main()
