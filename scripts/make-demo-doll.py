#!/usr/bin/env python3
"""Draws the demo doll "Mira" and writes its CNF, KCF and CEL files.

Usage: scripts/make-demo-doll.py [OUTPUT_DIR] [--preview PREFIX]

Standard library only. The generated files are committed, so builds never
need Python; run this again after changing the art. With --preview it also
writes PREFIX-set0.png ... showing each set as a viewer would draw it.
"""
import math
import os
import struct
import sys
import zlib

W, H = 150, 300  # the canvas every cel of the figure is drawn on

# --- palettes -------------------------------------------------------------

# body.kcf: 16 colours, 12 bits per colour, two palette groups (day, evening).
BODY_DAY = [
    (0xe0, 0xee, 0xff),  # 0 background (transparent in cels)
    (0x55, 0x33, 0x33),  # 1 outline
    (0xff, 0xdd, 0xbb),  # 2 skin
    (0xee, 0xbb, 0x99),  # 3 skin shade
    (0x88, 0x44, 0x22),  # 4 hair
    (0xaa, 0x66, 0x33),  # 5 hair highlight
    (0x33, 0x66, 0xaa),  # 6 iris
    (0xff, 0xff, 0xff),  # 7 white
    (0xdd, 0x66, 0x77),  # 8 mouth, blush
    (0x66, 0xaa, 0xdd),  # 9 shirt
    (0x44, 0x77, 0xbb),  # 10 shirt shade
    (0xee, 0x77, 0x99),  # 11 skirt
    (0xbb, 0x44, 0x66),  # 12 skirt shade
    (0x99, 0x22, 0x33),  # 13 shoes
    (0xee, 0xee, 0xff),  # 14 underwear
    (0x77, 0x88, 0xaa),  # 15 border
]


def evening(c):
    r, g, b = c
    return (min(255, int(r * 0.85 + 30)), int(g * 0.7 + 10), int(b * 0.75 + 20))


BODY_EVENING = [evening(c) for c in BODY_DAY]
BODY_EVENING[0] = (0x44, 0x33, 0x66)

# dress.kcf: 256 colours, 24 bits per colour, two groups (lilac, teal).
DRESS_BASE = 2      # 2..129 dress shades, light to dark
HAT_BASE = 130      # 130..193 straw, light to dark
RIBBON_BASE = 194   # 194..255 ribbon, light to dark


def ramp(light, dark, n):
    return [tuple(int(light[k] + (dark[k] - light[k]) * i / (n - 1)) for k in range(3))
            for i in range(n)]


def dress_palette(dress_light, dress_dark, ribbon_light, ribbon_dark, background):
    colours = [background, (0x44, 0x2a, 0x3a)]
    colours += ramp(dress_light, dress_dark, 128)
    colours += ramp((0xf8, 0xe8, 0xa8), (0xa8, 0x80, 0x40), 64)
    colours += ramp(ribbon_light, ribbon_dark, 62)
    assert len(colours) == 256
    return colours


DRESS_LILAC = dress_palette((0xe8, 0xd0, 0xf8), (0x80, 0x50, 0xb0), (0x90, 0xe0, 0xa0),
                            (0x20, 0x80, 0x40), (0xe0, 0xee, 0xff))
DRESS_TEAL = dress_palette((0xc0, 0xf0, 0xe8), (0x20, 0x80, 0x88), (0xf8, 0xa0, 0xb0),
                           (0xb0, 0x30, 0x50), (0x44, 0x33, 0x66))

# --- drawing ----------------------------------------------------------------


class Canvas:
    """A W x H grid of palette indices (or RGBA tuples); 0 / None is empty."""

    def __init__(self, empty=0):
        self.empty = empty
        self.px = [[empty] * W for _ in range(H)]

    def fill(self, inside, value):
        for y in range(H):
            row = self.px[y]
            for x in range(W):
                if inside(x + 0.5, y + 0.5):
                    row[x] = value(x, y) if callable(value) else value

    def outline(self, colour):
        """Paints the pixels at the edge of the drawn shapes in `colour`."""
        edge = []
        for y in range(H):
            for x in range(W):
                if self.px[y][x] == self.empty:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    if not (0 <= nx < W and 0 <= ny < H) or self.px[ny][nx] == self.empty:
                        edge.append((x, y))
                        break
        for x, y in edge:
            self.px[y][x] = colour

    def bounds(self):
        xs = [x for y in range(H) for x in range(W) if self.px[y][x] != self.empty]
        ys = [y for y in range(H) for x in range(W) if self.px[y][x] != self.empty]
        return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            x1, y1 = points[i]
            x2, y2 = points[(i + 1) % n]
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    return inside


def thick_line(x1, y1, x2, y2, width):
    length = math.hypot(x2 - x1, y2 - y1)

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x1) * (x2 - x1) + (y - y1) * (y2 - y1)) / (length * length)))
        px, py = x1 + t * (x2 - x1), y1 + t * (y2 - y1)
        return math.hypot(x - px, y - py) <= width / 2
    return inside


def rect(x1, y1, x2, y2):
    return lambda x, y: x1 <= x < x2 and y1 <= y < y2


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def shade_by_x(light, dark, split):
    """Left of `split` light, right of it dark: a simple light from the left."""
    return lambda x, y: light if x < split else dark


# --- the figure ---------------------------------------------------------------

CX = 75  # the figure's centre line

LEG_L = polygon([(56, 172), (75, 172), (71, 284), (61, 284)])
LEG_R = polygon([(75, 172), (94, 172), (89, 284), (79, 284)])
TORSO = polygon([(52, 94), (98, 94), (94, 178), (56, 178)])
ARM_L = thick_line(53, 99, 37, 178, 11)
ARM_R = thick_line(97, 99, 113, 178, 11)
HEAD = ellipse(CX, 50, 24, 28)


def draw_body():
    c = Canvas()
    c.fill(union(ellipse(CX, 60, 31, 42), rect(46, 60, 104, 122)), 4)        # long hair behind
    c.fill(union(LEG_L, LEG_R), shade_by_x(2, 3, 86))
    c.fill(union(ellipse(64, 289, 8, 5), ellipse(86, 289, 8, 5)), 2)        # feet
    c.fill(union(ARM_L, ARM_R, ellipse(37, 181, 6, 6), ellipse(113, 181, 6, 6)),
           shade_by_x(2, 3, 105))
    c.fill(TORSO, shade_by_x(2, 3, 88))
    c.fill(rect(68, 72, 82, 96), 3)                                          # neck
    c.fill(polygon([(54, 112), (96, 112), (95, 128), (55, 128)]), 14)        # top
    c.fill(polygon([(56, 160), (94, 160), (94, 178), (75, 190), (56, 178)]), 14)  # briefs
    c.fill(HEAD, 2)
    c.fill(union(ellipse(CX, 32, 26, 14), ellipse(55, 42, 7, 16), ellipse(95, 42, 7, 16)), 4)
    c.fill(ellipse(66, 28, 8, 3), 5)                                         # shine
    c.outline(1)
    # The face goes on after the outline so its details keep their colours.
    for ex in (65, 85):
        c.fill(ellipse(ex, 54, 5, 4.5), 7)
        c.fill(ellipse(ex, 54.5, 3, 3.5), 6)
        c.fill(ellipse(ex, 55, 1.5, 1.8), 1)
        c.fill(ellipse(ex - 1, 53, 0.9, 0.9), 7)
        c.fill(rect(ex - 5, 48, ex + 5, 49), 1)                              # brow
    c.fill(union(ellipse(58, 63, 4, 2), ellipse(92, 63, 4, 2)), 3)           # blush
    c.fill(polygon([(69, 67), (81, 67), (78, 70), (72, 70)]), 8)             # smile
    return c


def draw_blink():
    c = Canvas()
    for ex in (65, 85):
        c.fill(ellipse(ex, 54, 5.5, 5), 2)
    c.outline(2)
    for ex in (65, 85):
        c.fill(rect(ex - 5, 55, ex + 5, 56), 1)                              # closed lids
    return c


def draw_shirt():
    c = Canvas()
    body = polygon([(49, 91), (101, 91), (98, 150), (52, 150)])
    sleeves = union(thick_line(53, 98, 44, 128, 17), thick_line(97, 98, 106, 128, 17))
    c.fill(union(body, sleeves), shade_by_x(9, 10, 97))
    c.fill(ellipse(CX, 91, 9, 6), 0)                                         # neckline
    c.outline(1)
    c.fill(union(ellipse(CX, 118, 7, 6), ellipse(CX, 116, 9, 3)), 7)         # a small heart
    c.fill(polygon([(68, 116), (82, 116), (75, 125)]), 11)
    c.fill(union(ellipse(71.5, 115.5, 3.6, 3.2), ellipse(78.5, 115.5, 3.6, 3.2)), 11)
    return c


def draw_skirt():
    c = Canvas()
    c.fill(polygon([(53, 146), (97, 146), (110, 206), (40, 206)]), 11)
    c.outline(1)
    for i in range(1, 6):  # pleats
        top = 53 + 44 * i / 6
        bottom = 40 + 70 * i / 6
        c.fill(thick_line(top, 150, bottom, 203, 1.6), 12)
    c.fill(rect(53, 146, 97, 151), 12)                                       # waistband
    return c


def draw_shoes():
    c = Canvas()
    c.fill(union(ellipse(63, 289, 10, 6), ellipse(87, 289, 10, 6),
                 rect(55, 282, 71, 289), rect(79, 282, 95, 289)), 13)
    c.outline(1)
    c.fill(union(rect(57, 284, 69, 285), rect(81, 284, 93, 285)), 7)         # straps
    return c


def draw_dress():
    c = Canvas()
    bodice = polygon([(51, 100), (99, 100), (96, 150), (54, 150)])
    skirt = polygon([(54, 146), (96, 146), (120, 236), (30, 236)])
    straps = union(thick_line(58, 101, 62, 90, 4), thick_line(92, 101, 88, 90, 4))

    def shade(x, y):
        # Light from the upper left, with soft vertical folds in the skirt.
        t = (y - 90) / 150 + (x - 40) / 220
        if y > 150:
            t += 0.12 * math.sin((x - CX) / 6.0) ** 2
        return DRESS_BASE + max(0, min(127, int(t * 110)))
    c.fill(union(bodice, skirt, straps), shade)
    c.outline(1)
    c.fill(rect(54, 146, 97, 152), lambda x, y: RIBBON_BASE + 20 + (x - 54) // 3)  # sash
    c.fill(union(ellipse(92, 149, 6, 4), ellipse(102, 149, 6, 4)), RIBBON_BASE + 10)
    for hx in range(40, 112, 8):                                             # hem dots
        c.fill(ellipse(hx, 228, 1.6, 1.6), RIBBON_BASE + 40)
    return c


def draw_hat():
    c = Canvas()

    def straw(x, y):
        weave = ((x // 2) + (y // 2)) % 2
        return HAT_BASE + max(0, min(63, int((x - 25) / 2 + weave * 6)))
    c.fill(union(ellipse(CX, 26, 47, 10), ellipse(CX, 17, 25, 15)), straw)
    c.outline(1)
    c.fill(polygon([(51, 19), (99, 19), (100, 25), (50, 25)]),
           lambda x, y: RIBBON_BASE + 8 + (x - 50) // 2)
    c.fill(union(ellipse(104, 26, 5, 4), ellipse(110, 30, 3, 6)), RIBBON_BASE + 30)
    return c


def draw_glasses():
    c = Canvas(empty=None)
    frame = (0x30, 0x20, 0x20, 255)
    lens = (0x80, 0xc0, 0xff, 110)
    for ex in (65, 85):
        c.fill(ellipse(ex, 54, 8.5, 7.5), frame)
        c.fill(ellipse(ex, 54, 7, 6), lens)
        c.fill(ellipse(ex - 3, 51.5, 1.6, 1.2), (255, 255, 255, 200))       # glint
    c.fill(rect(73, 52, 77, 54), frame)
    return c

# --- file writers -----------------------------------------------------------


def kcf(colours_per_group, bits):
    groups = len(colours_per_group)
    count = len(colours_per_group[0])
    out = bytearray(b"KiSS" + bytes([0x10, bits, 0, 0]))
    out += struct.pack("<HH", count, groups) + bytes(20)
    for group in colours_per_group:
        for r, g, b in group:
            if bits == 24:
                out += bytes([r, g, b])
            else:
                out += bytes([(r >> 4) << 4 | (b >> 4), g >> 4])
    return bytes(out)


def cel(canvas, bits):
    left, top, right, bottom = canvas.bounds()
    width, height = right - left, bottom - top
    out = bytearray(b"KiSS" + bytes([0x21 if bits == 32 else 0x20, bits, 0, 0]))
    out += struct.pack("<HHHH", width, height, left, top) + bytes(16)
    for y in range(top, bottom):
        row = canvas.px[y][left:right]
        if bits == 4:
            padded = row + [0] * (len(row) % 2)
            out += bytes(padded[i] << 4 | padded[i + 1] for i in range(0, len(padded), 2))
        elif bits == 8:
            out += bytes(row)
        else:
            for p in row:
                r, g, b, a = p if p else (0, 0, 0, 0)
                out += bytes([b, g, r, a])
    return bytes(out), (left, top)


# name, drawing, bits per pixel, palette line, object, fix, set list, extension
CELS = [
    ("glasses.cel", draw_glasses, 32, 0, 5, 0, ":0 1 2", ""),
    ("hat.cel", draw_hat, 8, 1, 4, 0, ":0 1 2", "!summer"),
    ("blink.cel", draw_blink, 4, 0, 0, 0, "", "%u"),
    ("shoes.cel", draw_shoes, 4, 0, 3, 0, ":0 1 2", ""),
    ("skirt.cel", draw_skirt, 4, 0, 2, 0, ":0 2", "!casual"),
    ("shirt.cel", draw_shirt, 4, 0, 1, 0, ":0 2", "!casual"),
    ("dress.cel", draw_dress, 8, 1, 6, 0, ":0 1 2", "!summer"),
    ("body.cel", draw_body, 4, 0, 0, 30, "", ""),
]

BODY_AT = (60, 20)
# Object positions per set; None keeps the object where set 0 had it.
SETS = [
    # set 0: casual clothes on, dress, hat and glasses beside her
    {"group": 0, "pos": {0: BODY_AT, 1: BODY_AT, 2: BODY_AT, 3: BODY_AT, 4: (260, 250),
                         5: (245, 150), 6: (300, 40)}},
    # set 1: summer evening: dress, hat and glasses on
    {"group": 1, "pos": {0: BODY_AT, 1: (260, 40), 2: (300, 60), 3: BODY_AT, 4: BODY_AT,
                         5: BODY_AT, 6: BODY_AT}},
    # set 2: casual, in the evening colours
    {"group": 1, "pos": {0: (170, 20), 1: (170, 20), 2: (170, 20), 3: (170, 20), 4: (20, 250),
                         5: (10, 150), 6: (330, 40)}},
]

FKISS = """;@EventHandler
;@initialize()
;@ unmap("blink.cel")
;@begin()
;@ timer(1,2500)
;@alarm(1)
;@ map("blink.cel")
;@ timer(2,150)
;@alarm(2)
;@ unmap("blink.cel")
;@ timer(1,3200)
;@press("body.cel")
;@ map("blink.cel")
;@ timer(2,400)
;@release(#5)
;@ timer(2,10)
"""


def write_cnf(path, offsets):
    lines = [
        "; Mira, the demo doll of Lumadoll. Made by scripts/make-demo-doll.py;",
        "; free to use, change and share.",
        "(448,320)",
        "[15",
        "%body.kcf",
        "%dress.kcf",
        ";",
    ]
    for name, _, bits, palette, obj, fix, sets, ext in CELS:
        head = "#%d.%d" % (obj, fix) if fix else "#%d" % obj
        line = "%-8s %-12s *%d %s" % (head, name, palette, sets)
        comment = ext
        if name == "body.cel":
            comment = "she resists a few clicks before she moves"
        line = line.rstrip() + (" ;" + comment if comment else "")
        lines.append(line)
    lines.append(";")
    for n, s in enumerate(SETS):
        objects = max(s["pos"]) + 1
        tokens = []
        for o in range(objects):
            p = s["pos"].get(o)
            tokens.append("%d,%d" % p if p else "*")
        lines.append("$%d %s" % (s["group"], " ".join(tokens[:4])))
        lines.append("  " + " ".join(tokens[4:]))
    lines.append(";")
    lines += FKISS.rstrip("\n").split("\n")
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


def write_png(path, rows, width, height):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def preview(prefix, canvases):
    """Draws each set the way a viewer composes it: bottom cel line first."""
    palettes = {0: [BODY_DAY, BODY_EVENING], 1: [DRESS_LILAC, DRESS_TEAL]}
    pw, ph = 448, 320
    for n, s in enumerate(SETS):
        group = s["group"]
        bg = palettes[0][group][0]
        img = [[list(bg) for _ in range(pw)] for _ in range(ph)]
        for name, _, bits, palette, obj, _, sets, ext in reversed(CELS):
            if sets and str(n) not in sets.split()[0][1:] + "".join(sets.split()[1:]):
                continue
            if "%u" in ext:
                continue
            ox, oy = s["pos"].get(obj, SETS[0]["pos"][obj])
            c = canvases[name]
            for y in range(H):
                for x in range(W):
                    p = c.px[y][x]
                    if p in (0, None):
                        continue
                    tx, ty = ox + x, oy + y
                    if not (0 <= tx < pw and 0 <= ty < ph):
                        continue
                    if bits == 32:
                        r, g, b, a = p
                        d = img[ty][tx]
                        img[ty][tx] = [(r * a + d[k] * (255 - a)) // 255 if k == 0 else
                                       ((g if k == 1 else b) * a + d[k] * (255 - a)) // 255
                                       for k in range(3)]
                    else:
                        img[ty][tx] = list(palettes[palette][group][p])
        write_png("%s-set%d.png" % (prefix, n), img, pw, ph)


def main(argv):
    out = "samples/demo"
    prefix = None
    args = list(argv)
    if "--preview" in args:
        i = args.index("--preview")
        prefix = args[i + 1]
        del args[i:i + 2]
    if args:
        out = args[0]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "body.kcf"), "wb") as f:
        f.write(kcf([BODY_DAY, BODY_EVENING], 12))
    with open(os.path.join(out, "dress.kcf"), "wb") as f:
        f.write(kcf([DRESS_LILAC, DRESS_TEAL], 24))
    canvases = {}
    offsets = {}
    for name, draw, bits, *_ in CELS:
        canvases[name] = draw()
        data, offsets[name] = cel(canvases[name], bits)
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    write_cnf(os.path.join(out, "demo.cnf"), offsets)
    if prefix:
        preview(prefix, canvases)


if __name__ == "__main__":
    main(sys.argv[1:])
