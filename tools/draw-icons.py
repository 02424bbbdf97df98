#!/usr/bin/env python3
"""Draws Corvane's icons and its link cursor, and writes them as Windows .ico/.cur files.

Run from anywhere: tools/draw-icons.py [output folder, default src/win32/res].
With --preview=FOLDER it also writes enlarged PNG pictures there (needs ImageMagick's
`convert`) to look at.

Every picture is drawn in a 32-unit square and rasterised at each size by testing pixel
centres, so edges stay crisp (no anti-aliasing) as 16-colour icons should be. Colours are the
16 of the standard Windows palette, so the icons look the same on a 16-colour screen.
"""

import math
import os
import struct
import subprocess
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)


class Canvas:
    """A square of palette indexes; None is transparent."""

    def __init__(self, size):
        self.size = size
        self.scale = size / 32.0
        self.pixels = [[None] * size for _ in range(size)]

    def centres(self):
        for y in range(self.size):
            for x in range(self.size):
                yield x, y, (x + 0.5) / self.scale, (y + 0.5) / self.scale

    def mask(self, inside):
        """The pixels whose centre, in units, satisfies `inside(u, v)`."""
        return {(x, y) for x, y, u, v in self.centres() if inside(u, v)}

    def paint(self, pixels, colour, outline=None):
        """Fills `pixels`; with `outline`, their edge pixels (those next to a pixel outside)
        get that colour instead, one pixel wide at every size."""
        for x, y in pixels:
            edge = outline is not None and any(
                (x + dx, y + dy) not in pixels for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            self.pixels[y][x] = outline if edge else colour

    def shape(self, inside, colour, outline=None):
        pixels = self.mask(inside)
        self.paint(pixels, colour, outline)
        return pixels

    def px(self, units):
        """A length in units as whole pixels, at least one."""
        return max(1, round(units * self.scale))


# ---- shapes, in units ----

def rect(x0, y0, x1, y1):
    return lambda u, v: x0 <= u < x1 and y0 <= v < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(u, v):
        if not (x0 <= u < x1 and y0 <= v < y1):
            return False
        cx = min(max(u, x0 + r), x1 - r)
        cy = min(max(v, y0 + r), y1 - r)
        return (u - cx) ** 2 + (v - cy) ** 2 <= r * r
    return inside


def disc(cx, cy, r):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def ring_sector(cx, cy, r0, r1, a0, a1):
    """The part of a ring between two angles, in degrees, counter-clockwise from east
    (screen y grows downwards, so angles are measured with y flipped)."""
    def inside(u, v):
        d = math.hypot(u - cx, v - cy)
        if not (r0 <= d <= r1):
            return False
        a = math.degrees(math.atan2(cy - v, u - cx)) % 360
        return (a - a0) % 360 <= (a1 - a0) % 360
    return inside


def polygon(points):
    def inside(u, v):
        result = False
        n = len(points)
        for i in range(n):
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
            if (y0 > v) != (y1 > v) and u < x0 + (v - y0) * (x1 - x0) / (y1 - y0):
                result = not result
        return result
    return inside


def thick_line(x0, y0, x1, y1, half_width):
    def inside(u, v):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((u - x0) * dx + (v - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(u - (x0 + t * dx), v - (y0 + t * dy)) <= half_width
    return inside


def union(*shapes):
    return lambda u, v: any(s(u, v) for s in shapes)


def minus(shape, *holes):
    return lambda u, v: shape(u, v) and not any(h(u, v) for h in holes)


# ---- the pictures ----

def memory_module(c, x0, y0, x1, y1, chips):
    """A memory module seen from the front: green board, black chips, gold contacts."""
    board = c.shape(rect(x0, y0, x1, y1), GREEN, outline=BLACK)
    # Light along the top edge of the board, just inside its outline.
    top = c.mask(rect(x0, y0, x1, y0 + 2 / c.scale))
    c.paint({p for p in top if p in board and c.pixels[p[1]][p[0]] == GREEN}, LIME)
    # Gold contacts along the bottom edge, with the keying notch in the middle.
    contacts_top = y1 - 3.2
    notch = (x0 + x1) / 2
    step = 2.0
    x = x0 + 1.5
    while x + 1 <= x1 - 1.2:
        if abs(x + 0.5 - notch) > 1.2:
            c.shape(rect(x, contacts_top, x + 1.05, y1 - 0.9), YELLOW)
        x += step
    c.shape(rect(notch - 0.9, y1 - 2.2, notch + 0.9, y1 + 0.1), None)
    # The chips, evenly spread, each with a grey glint on its top edge.
    width = (x1 - x0 - 2) / chips
    for i in range(chips):
        cx0 = x0 + 1.5 + i * width
        cx1 = cx0 + width - 1.2
        chip = c.shape(rect(cx0, y0 + 2.2, cx1, contacts_top - 1.2), BLACK)
        glint = c.mask(rect(cx0 + 0.8, y0 + 2.2, cx1 - 0.8, y0 + 2.2 + 1 / c.scale))
        c.paint({p for p in glint if p in chip}, GRAY)


def gauge(c, cx, cy, r, value):
    """A round dial: white face, coloured scale from green to red, a red needle at `value`
    (0 to 1 along the scale, which runs over the upper 240 degrees)."""
    c.shape(disc(cx, cy, r), WHITE, outline=BLACK)
    band0, band1 = r * 0.58, r * 0.86
    # The scale runs clockwise from lower left (210 degrees) to lower right (-30 degrees).
    c.shape(ring_sector(cx, cy, band0, band1, 90, 210), LIME)
    c.shape(ring_sector(cx, cy, band0, band1, 30, 90), YELLOW)
    c.shape(ring_sector(cx, cy, band0, band1, -30, 30), RED)
    angle = math.radians(210 - 240 * value)
    tip = (cx + math.cos(angle) * r * 0.8, cy - math.sin(angle) * r * 0.8)
    c.shape(thick_line(cx, cy, tip[0], tip[1], 0.55 if c.size >= 32 else 0.8), MAROON)
    c.shape(disc(cx, cy, max(r * 0.2, 1.0 / c.scale)), BLACK)


# Letters of the pixel maps.
COLOURS = {"K": BLACK, "M": MAROON, "G": GREEN, "O": OLIVE, "N": NAVY, "T": TEAL, "S": SILVER,
           "A": GRAY, "R": RED, "L": LIME, "Y": YELLOW, "B": BLUE, "W": WHITE}


def pixel_map(c, rows, x0=0, y0=0):
    """Paints a map of letters (see COLOURS) pixel for pixel; blanks leave what is there."""
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != " ":
                c.pixels[y0 + y][x0 + x] = COLOURS[ch]


# The window icon at 16 pixels, where shapes scaled down lose their parts: the same module
# and gauge, placed by hand.
SMALL_MODULE = [
    "KKKKKKKKKKKKKK",
    "KLLLLLLLLLLLLK",
    "KGKKKGKKKGKKGK",
    "KGKKKGKKKGKKGK",
    "KGKKKGKKKGKKGK",
    "KGGGGGGGGGGGGK",
    "KYGYGYGYGYGYGK",
    "KKKKKKKKKKKKKK",
]
SMALL_GAUGE = [
    "   KKKKK   ",
    " KKLYYYRKK ",
    " KLWWWWWRK ",
    "KLWWWWWWMRK",
    "KLWWWWWMWRK",
    "KLWWWKMWWWK",
    "KWWWWWWWWWK",
    "KWWWWWWWWWK",
    " KWWWWWWWK ",
    " KKWWWWWKK ",
    "   KKKKK   ",
]


def window_icon(c):
    """The program: a memory module watched by a gauge."""
    if c.size == 16:
        pixel_map(c, SMALL_MODULE, 0, 1)
        pixel_map(c, SMALL_GAUGE, 5, 5)
        return
    memory_module(c, 1.5, 6.5, 30.5, 20.5, chips=3)
    gauge(c, 22.5, 22.5, 8.8, 0.72)


def swap_arrows(c, turn):
    """Two curved arrows chasing each other round a chip: memory pages going out to the swap
    file and coming back. `turn` is in degrees; the picture repeats every 180."""
    cx = cy = 16.0
    r0, r1 = 9.6, 13.2
    for k in range(2):
        start = turn + k * 180 + 20
        end = start + 125
        body = ring_sector(cx, cy, r0, r1, start, end)
        # Arrowhead at the leading end (counter-clockwise), wider than the body.
        a = math.radians(end)
        b = math.radians(end + 38)
        mid = (r0 + r1) / 2
        head = polygon([
            (cx + math.cos(a) * (r0 - 2.2), cy - math.sin(a) * (r0 - 2.2)),
            (cx + math.cos(a) * (r1 + 2.2), cy - math.sin(a) * (r1 + 2.2)),
            (cx + math.cos(b) * mid, cy - math.sin(b) * mid),
        ])
        colour = BLUE if k == 0 else GREEN
        c.shape(union(body, head), colour, outline=NAVY)
    # The chip: a black square with grey legs on every side (grey, not silver, so that they
    # show on a silver button face) and its pin-1 mark.
    half = 4.6
    leg = 1.6
    for i in range(3):
        t = cy - half + 1.5 + i * 2.6
        c.shape(rect(cx - half - leg, t, cx - half, t + 1.1), GRAY)
        c.shape(rect(cx + half, t, cx + half + leg, t + 1.1), GRAY)
        c.shape(rect(t, cy - half - leg, t + 1.1, cy - half), GRAY)
        c.shape(rect(t, cy + half, t + 1.1, cy + half + leg), GRAY)
    c.shape(rect(cx - half, cy - half, cx + half, cy + half), BLACK)
    c.shape(disc(cx - half + 2.2, cy - half + 2.2, 0.9), GRAY)


def animation_frame(index):
    def draw(c):
        # The arrows point counter-clockwise and turn that way: four steps of 45 degrees bring
        # each to where the other one started, so the loop has no jump.
        swap_arrows(c, 45 * index)
    return draw


def about_icon(c):
    """The About window's picture: the program's module and gauge, with the swap arrows'
    colours on a memory page going out to the disk."""
    memory_module(c, 1.5, 3.5, 30.5, 17.5, chips=4)
    # A hard disk below the module, its platter and arm seen from above.
    c.shape(rounded_rect(1.5, 19.5, 18.5, 30.5, 1.5), SILVER, outline=BLACK)
    c.shape(disc(8.5, 25.0, 4.3), GRAY, outline=BLACK)
    c.shape(disc(8.5, 25.0, 1.0), WHITE)
    c.shape(thick_line(16.2, 21.5, 10.8, 26.5, 0.45), NAVY)
    c.shape(disc(16.2, 21.5, 0.9), NAVY)
    c.shape(disc(15.8, 28.6, 0.7), LIME)
    gauge(c, 24.0, 24.5, 7.2, 0.72)


# The link cursor: a pointing hand, drawn pixel by pixel. "#" black, "." white, blank
# transparent. The hot spot is the tip of the index finger.
HAND = [
    "      ##",
    "     #..#",
    "     #..#",
    "     #..#",
    "     #..#",
    "     #..###",
    "     #..#..###",
    "     #..#..#..##",
    "  ## #..#..#..#.#",
    " #..##........#..#",
    " #...#...........#",
    "  #..............#",
    "   #.............#",
    "   #.............#",
    "    #...........#",
    "    #...........#",
    "     #.........#",
    "     #.........#",
    "     ###########",
]
HAND_HOTSPOT = (6, 0)


# ---- file formats ----

def four_bit_image(c):
    """One 4-bit image of an .ico: header, palette, colour rows, mask rows (bottom-up)."""
    size = c.size
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour_rows = b""
    mask_rows = b""
    for y in reversed(range(size)):
        row = c.pixels[y]
        nibbles = [p if p is not None else 0 for p in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour_rows += line + b"\0" * (-len(line) % 4)
        bits = 0
        mask = b""
        for x, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if x % 8 == 7:
                mask += bytes([bits])
                bits = 0
        mask_rows += mask + b"\0" * (-len(mask) % 4)
    return header + palette + colour_rows + mask_rows


def monochrome_image(rows, size=32):
    """A 1-bit cursor image: black and white inside, transparent around."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    grid = [(row + " " * size)[:size] for row in rows] + [" " * size] * (size - len(rows))
    xor = b""
    andm = b""
    for y in reversed(range(size)):
        xbits = abits = 0
        xrow = arow = b""
        for x, ch in enumerate(grid[y]):
            xbits = (xbits << 1) | (1 if ch == "." else 0)
            abits = (abits << 1) | (1 if ch == " " else 0)
            if x % 8 == 7:
                xrow += bytes([xbits])
                arow += bytes([abits])
                xbits = abits = 0
        xor += xrow + b"\0" * (-len(xrow) % 4)
        andm += arow + b"\0" * (-len(arow) % 4)
    return header + palette + xor + andm


def icon_file(images, kind=1, hotspot=None, colours=16):
    """An .ico (kind 1) or .cur (kind 2) holding `images`, given as (size, bytes)."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        planes, bits = (1, 4) if kind == 1 else hotspot
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, planes, bits,
                           len(data), offset + len(body))
        body += data
    return out + body


def render(draw, size):
    c = Canvas(size)
    draw(c)
    return c


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    preview = next((a.split("=", 1)[1] for a in sys.argv[1:] if a.startswith("--preview=")), None)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "src", "win32", "res")
    os.makedirs(out, exist_ok=True)

    icons = {
        "corvane.ico": (window_icon, [32, 16]),
        "about.ico": (about_icon, [64, 32]),
    }
    for i in range(4):
        icons["animation%d.ico" % (i + 1)] = (animation_frame(i), [32])
    canvases = {}
    for name, (draw, sizes) in icons.items():
        rendered = [render(draw, s) for s in sizes]
        canvases[name] = rendered
        with open(os.path.join(out, name), "wb") as f:
            f.write(icon_file([(c.size, four_bit_image(c)) for c in rendered]))
    with open(os.path.join(out, "link.cur"), "wb") as f:
        f.write(icon_file([(32, monochrome_image(HAND))], kind=2, hotspot=HAND_HOTSPOT, colours=2))

    if preview:
        os.makedirs(preview, exist_ok=True)
        hand = Canvas(32)
        pixel_map(hand, [row.replace("#", "K").replace(".", "W") for row in HAND])
        canvases["link.cur"] = [hand]
        write_preview(preview, canvases)


def write_preview(out, canvases):
    """Enlarged sheets to look at: every image on a light and a dark background."""
    for name, rendered in canvases.items():
        for c in rendered:
            for background, tag in ((SILVER, "light"), (TEAL, "dark")):
                ppm = "P3 %d %d 255\n" % (c.size, c.size)
                for row in c.pixels:
                    ppm += " ".join("%d %d %d" % PALETTE[background if p is None else p]
                                    for p in row) + "\n"
                target = os.path.join(out, "preview-%s-%d-%s.png" % (name.split(".")[0],
                                                                      c.size, tag))
                subprocess.run(["convert", "ppm:-", "-scale", "%d" % (256 if c.size <= 32 else 384),
                                target], input=ppm.encode(), check=True)


if __name__ == "__main__":
    main()
