#!/usr/bin/env python3
"""Draw Glyvex's artwork: the program icon, the About close button and the
title banner.

Only the standard library is used; shapes are described as point-in-shape
tests, rasterised with supersampling and written out as PNG files next to
this script:

    icon.png    32 x 32, 4-bit indexed colour (16 entries)
    icon-N.png  the same icon drawn N x N in full colour with alpha, for
                N in 16, 22, 24, 48, 64, 128, 256 (window icons on dense
                screens, the desktop's icon theme)
    close.png   32 x 32, 4-bit indexed colour (16 entries)
    banner.png  231 x 69, 8-bit RGB

Run it again after changing a drawing; the output is deterministic.
Pass --preview DIR to also write enlarged copies for inspection.
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


# --------------------------------------------------------------------------
# PNG writing
# --------------------------------------------------------------------------

def _chunk(kind, data):
    body = kind + data
    return (struct.pack(">I", len(data)) + body
            + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))


def _png(width, height, colour_type, bit_depth, rows, extra=b""):
    ihdr = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type,
                       0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr) + extra
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def write_indexed4(path, width, height, indices, palette):
    """indices: row-major list of palette indices (0..15);
    palette: list of (r, g, b, a) with 8-bit components."""
    assert len(palette) <= 16
    rows = []
    for y in range(height):
        row = bytearray()
        line = indices[y * width:(y + 1) * width]
        if width % 2:
            line = line + [0]
        for x in range(0, len(line), 2):
            row.append((line[x] << 4) | line[x + 1])
        rows.append(bytes(row))
    plte = b"".join(bytes(c[:3]) for c in palette)
    extra = _chunk(b"PLTE", plte)
    alphas = [c[3] for c in palette]
    last = max((i for i, a in enumerate(alphas) if a < 255), default=-1)
    if last >= 0:
        extra += _chunk(b"tRNS", bytes(alphas[:last + 1]))
    with open(path, "wb") as f:
        f.write(_png(width, height, 3, 4, rows, extra))


def _write_direct(path, width, height, pixels, colour_type):
    rows = []
    for y in range(height):
        rows.append(bytes(c for p in pixels[y * width:(y + 1) * width]
                          for c in p))
    with open(path, "wb") as f:
        f.write(_png(width, height, colour_type, 8, rows))


def write_rgb(path, width, height, pixels):
    """pixels: row-major list of (r, g, b) with 8-bit components."""
    _write_direct(path, width, height, pixels, 2)


def write_rgba(path, width, height, pixels):
    """pixels: row-major list of (r, g, b, a) with 8-bit components."""
    _write_direct(path, width, height, pixels, 6)


def write_preview(path, width, height, rgba, scale):
    """Enlarged copy over a checkerboard, for eyeballing small pictures."""
    out = []
    for y in range(height * scale):
        for x in range(width * scale):
            r, g, b, a = rgba[(y // scale) * width + x // scale]
            check = 96 if ((x // 8) + (y // 8)) % 2 else 160
            k = a / 255.0
            out.append(tuple(int(round(c * k + check * (1 - k)))
                             for c in (r, g, b)))
    write_rgb(path, width * scale, height * scale, out)


# --------------------------------------------------------------------------
# Geometry: every shape is an object with a bounding box and inside(x, y)
# --------------------------------------------------------------------------

class Shape:
    box = (-1e9, -1e9, 1e9, 1e9)

    def hit(self, x, y):
        x0, y0, x1, y1 = self.box
        return x0 <= x <= x1 and y0 <= y <= y1 and self.inside(x, y)

    def __or__(self, other):
        return Union([self, other])

    def __sub__(self, other):
        return Difference(self, other)


class Polygon(Shape):
    def __init__(self, points):
        self.points = [(float(x), float(y)) for x, y in points]
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        self.box = (min(xs), min(ys), max(xs), max(ys))

    def inside(self, x, y):
        # even-odd crossing test
        pts = self.points
        hit = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y):
                if x < xi + (y - yi) * (xj - xi) / (yj - yi):
                    hit = not hit
            j = i
        return hit


def rect(x0, y0, x1, y1):
    return Polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])


def chamfered(x0, y0, x1, y1, tl=0, tr=0, br=0, bl=0):
    pts = []
    pts += [(x0, y0 + tl), (x0 + tl, y0)] if tl else [(x0, y0)]
    pts += [(x1 - tr, y0), (x1, y0 + tr)] if tr else [(x1, y0)]
    pts += [(x1, y1 - br), (x1 - br, y1)] if br else [(x1, y1)]
    pts += [(x0 + bl, y1), (x0, y1 - bl)] if bl else [(x0, y1)]
    return Polygon(pts)


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.box = (cx - rx, cy - ry, cx + rx, cy + ry)

    def inside(self, x, y):
        dx = (x - self.cx) / self.rx
        dy = (y - self.cy) / self.ry
        return dx * dx + dy * dy <= 1.0


class RoundedRect(Shape):
    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r
        self.box = (x0, y0, x1, y1)

    def inside(self, x, y):
        r = self.r
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Capsule(Shape):
    """A thick line segment with round ends."""

    def __init__(self, ax, ay, bx, by, width):
        self.a, self.b, self.r = (ax, ay), (bx, by), width / 2.0
        r = self.r
        self.box = (min(ax, bx) - r, min(ay, by) - r,
                    max(ax, bx) + r, max(ay, by) + r)

    def inside(self, x, y):
        (ax, ay), (bx, by) = self.a, self.b
        dx, dy = bx - ax, by - ay
        t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
        t = min(max(t, 0.0), 1.0)
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= self.r * self.r


class Union(Shape):
    def __init__(self, parts):
        flat = []
        for p in parts:
            flat.extend(p.parts if isinstance(p, Union) else [p])
        self.parts = flat
        self.box = (min(p.box[0] for p in flat), min(p.box[1] for p in flat),
                    max(p.box[2] for p in flat), max(p.box[3] for p in flat))

    def inside(self, x, y):
        return any(p.hit(x, y) for p in self.parts)


class Difference(Shape):
    def __init__(self, keep, cut):
        self.keep, self.cut = keep, cut
        self.box = keep.box

    def inside(self, x, y):
        return self.keep.hit(x, y) and not self.cut.hit(x, y)


class Intersection(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.box = (max(a.box[0], b.box[0]), max(a.box[1], b.box[1]),
                    min(a.box[2], b.box[2]), min(a.box[3], b.box[3]))

    def inside(self, x, y):
        return self.a.hit(x, y) and self.b.hit(x, y)


class Transformed(Shape):
    """Shape moved by (dx, dy) and sheared: x += shear * (base - y)."""

    def __init__(self, shape, dx=0.0, dy=0.0, shear=0.0, base=0.0):
        self.shape, self.dx, self.dy = shape, dx, dy
        self.shear, self.base = shear, base
        x0, y0, x1, y1 = shape.box
        s0 = shear * (base - y0)
        s1 = shear * (base - y1)
        self.box = (x0 + dx + min(s0, s1, 0), y0 + dy,
                    x1 + dx + max(s0, s1, 0), y1 + dy)

    def inside(self, x, y):
        y -= self.dy
        x -= self.dx
        x -= self.shear * (self.base - y)
        return self.shape.hit(x, y)


class Scaled(Shape):
    """Shape drawn in design units, enlarged by factor to pixels."""

    def __init__(self, shape, factor):
        self.shape, self.factor = shape, factor
        self.box = tuple(v * factor for v in shape.box)

    def inside(self, x, y):
        return self.shape.hit(x / self.factor, y / self.factor)


def coverage(shape, width, height, n=6):
    """Fraction of each pixel covered by shape, using n x n samples."""
    out = [0.0] * (width * height)
    offs = [(i + 0.5) / n for i in range(n)]
    total = float(n * n)
    x0, y0, x1, y1 = shape.box
    for py in range(max(0, int(y0) - 1), min(height, int(y1) + 2)):
        for px in range(max(0, int(x0) - 1), min(width, int(x1) + 2)):
            hits = 0
            for oy in offs:
                for ox in offs:
                    if shape.hit(px + ox, py + oy):
                        hits += 1
            out[py * width + px] = hits / total
    return out


# --------------------------------------------------------------------------
# Colour helpers
# --------------------------------------------------------------------------

def hex_rgb(s):
    s = s.lstrip("#")
    return tuple(int(s[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def ramp(stops, t):
    """stops: list of (position, colour) sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


class Canvas:
    """Premultiplied RGBA float canvas."""

    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.w, self.h = width, height
        self.px = [tuple(background)] * (width * height)

    def paint(self, shape, colour_at, n=6):
        """Paint shape over the canvas; colour_at(x, y) gives straight RGB
        (or RGBA) for a pixel."""
        cov = coverage(shape, self.w, self.h, n)
        for i, c in enumerate(cov):
            if c <= 0.0:
                continue
            col = colour_at(i % self.w, i // self.w)
            a = c * (col[3] if len(col) > 3 else 1.0)
            r, g, b, da = self.px[i]
            self.px[i] = (col[0] * a + r * (1 - a), col[1] * a + g * (1 - a),
                          col[2] * a + b * (1 - a), a + da * (1 - a))
        return cov

    def straight8(self):
        out = []
        for r, g, b, a in self.px:
            if a <= 0.0:
                out.append((0, 0, 0, 0))
            else:
                out.append(tuple(int(round(min(1.0, v / a) * 255))
                                 for v in (r, g, b)) + (int(round(a * 255)),))
        return out


# --------------------------------------------------------------------------
# Reducing a small picture to 16 colours
# --------------------------------------------------------------------------

def quantise(canvas, seeds, matte=None, iterations=12):
    """Map the canvas onto a palette of at most 16 entries.  Index 0 is
    fully transparent.  Pixels are rounded to opaque or transparent; when
    a matte colour is given, partially covered edge pixels are blended
    against it (for pictures always shown on a known background).
    seeds: starting colours for the opaque entries, refined by k-means."""
    pixels = []
    for r, g, b, a in canvas.px:
        if a < 0.5:
            pixels.append(None)
        elif matte is not None:
            m = matte
            pixels.append((r + m[0] * (1 - a), g + m[1] * (1 - a),
                           b + m[2] * (1 - a)))
        else:
            pixels.append((r / a, g / a, b / a))

    centres = [tuple(s) for s in seeds][:15]

    def nearest(p):
        best, bd = 0, 1e9
        for k, c in enumerate(centres):
            d = ((p[0] - c[0]) * 0.30) ** 2 + ((p[1] - c[1]) * 0.59) ** 2 \
                + ((p[2] - c[2]) * 0.11) ** 2
            if d < bd:
                best, bd = k, d
        return best

    for _ in range(iterations):
        sums = [[0.0, 0.0, 0.0, 0] for _ in centres]
        for p in pixels:
            if p is None:
                continue
            s = sums[nearest(p)]
            s[0] += p[0]
            s[1] += p[1]
            s[2] += p[2]
            s[3] += 1
        centres = [(s[0] / s[3], s[1] / s[3], s[2] / s[3]) if s[3]
                   else c for s, c in zip(sums, centres)]

    palette = [(0, 0, 0, 0)] + [
        tuple(int(round(min(1.0, max(0.0, v)) * 255)) for v in c) + (255,)
        for c in centres]
    indices = [0 if p is None else nearest(p) + 1 for p in pixels]
    return indices, palette


def indexed_rgba(indices, palette):
    return [palette[i] for i in indices]


# --------------------------------------------------------------------------
# Program icon: a serif "Ag" on a blue tile
# --------------------------------------------------------------------------

ICON_SIZES = (16, 22, 24, 48, 64, 128, 256)


def icon_canvas(size, n=6):
    """The program icon drawn at size x size pixels. Its geometry is laid
    out on a 32-unit grid and scaled; at 32 it is drawn as designed."""
    factor = size / 32.0
    cv = Canvas(size, size)

    def paint(shape, colour_at):
        cv.paint(shape if size == 32 else Scaled(shape, factor), colour_at, n)

    def design_y(y):
        # pixel row to the design grid (the identity at 32)
        return (y + 0.5) / factor - 0.5

    tile = RoundedRect(1, 1, 31, 31, 6.5)
    inner = RoundedRect(2.2, 2.2, 29.8, 29.8, 5.3)
    border = hex_rgb("#0f1a4d")
    paint(tile, lambda x, y: border)
    # flat face with a bright lip along the top edge
    lip, face = hex_rgb("#7d9bff"), hex_rgb("#2f4fcf")
    paint(inner, lambda x, y: lip)
    paint(RoundedRect(2.2, 3.4, 29.8, 29.8, 5.3), lambda x, y: face)

    # Capital A: thin left stroke, heavy right stroke, slab serifs.
    base, cap = 25.0, 6.5
    a_shape = Union([
        Polygon([(9.0, cap), (11.2, cap), (6.1, base), (3.8, base)]),
        Polygon([(9.2, cap), (13.3, cap), (18.8, base), (14.6, base)]),
        rect(7.6, cap, 12.0, cap + 1.5),           # apex serif
        rect(6.2, 17.4, 14.0, 19.2),                # crossbar
        rect(2.0, base - 1.7, 8.0, base),           # foot serifs
        rect(12.8, base - 1.7, 20.0, base),
    ])
    white = hex_rgb("#ffffff")
    paint(a_shape, lambda x, y: white)

    # Single-storey g in gold, sitting on the same baseline.
    gx, xh = 24.4, 14.2
    bowl = Ellipse(gx, (xh + base) / 2, 4.1, (base - xh) / 2)
    hole = Ellipse(gx + 0.3, (xh + base) / 2, 2.0, (base - xh) / 2 - 2.0)
    stem = rect(26.6, xh, 28.7, base + 2.2)
    hook_outer = Ellipse(gx + 0.4, base + 1.6, 4.3, 3.0)
    hook_inner = Ellipse(gx + 0.4, base + 1.6, 2.3, 1.1)
    hook = Intersection(hook_outer - hook_inner,
                        rect(gx - 5, base + 1.6, gx + 5, base + 5))
    ear = rect(26.6, xh, 29.3, xh + 1.6)
    g_shape = Union([bowl - hole, stem, hook, ear])
    gold_top, gold_bottom = hex_rgb("#ffe27a"), hex_rgb("#ffb300")
    paint(g_shape, lambda x, y: mix(gold_top, gold_bottom,
                                    (design_y(y) - xh) / (base + 4 - xh)))
    return cv


def draw_icon():
    cv = icon_canvas(32)
    seeds = [hex_rgb(c) for c in (
        "#0f1a4d", "#7d9bff", "#2f4fcf", "#5673e0", "#1f3590",
        "#ffffff", "#dfe5fb", "#b4c2f3", "#8097ea", "#ffe27a", "#ffc93a",
        "#ffb300", "#d9b27a", "#a99196", "#6c6fa8")]
    return cv, quantise(cv, seeds)


# --------------------------------------------------------------------------
# Close button: a white cross on a dark round button
# --------------------------------------------------------------------------

def draw_close():
    size = 32
    cv = Canvas(size, size)
    c = 16.0
    rim = Ellipse(c, c, 14.6)
    face = Ellipse(c, c, 13.3)
    rim_top, rim_bottom = hex_rgb("#9a9aa6"), hex_rgb("#4a4a54")
    cv.paint(rim, lambda x, y: mix(rim_top, rim_bottom, (y - 1.4) / 29.2))
    face_top, face_bottom = hex_rgb("#3c3c46"), hex_rgb("#16161c")
    cv.paint(face, lambda x, y: mix(face_top, face_bottom, (y - 2.7) / 26.6))

    d = 6.0
    cross = Union([Capsule(c - d, c - d, c + d, c + d, 3.6),
                   Capsule(c - d, c + d, c + d, c - d, 3.6)])
    white = hex_rgb("#ffffff")
    cv.paint(cross, lambda x, y: white)

    seeds = [hex_rgb(s) for s in (
        "#9a9aa6", "#7a7a86", "#5a5a64", "#4a4a54", "#3c3c46", "#30303a",
        "#24242c", "#16161c", "#ffffff", "#e0e0e4", "#b8b8c0", "#8c8c96",
        "#60606a", "#0c0c0e", "#2a2a30")]
    return cv, quantise(cv, seeds, matte=(0.0, 0.0, 0.0))


# --------------------------------------------------------------------------
# Title banner: "GLYVEX" in chunky slanted letters
# --------------------------------------------------------------------------

CAP = 44.0      # letter height in banner pixels
STROKE = 9.0    # stroke thickness
CHAMFER = 8.0   # outer corner cut


def _letters():
    H, T, C = CAP, STROKE, CHAMFER
    ci = max(0.0, C - T * 0.414)      # inner chamfer matching the outer one
    diag = T * 1.22                   # horizontal width of a slanted stroke

    def letter_g():
        w = 30.0
        outer = chamfered(0, 0, w, H, C, C, C, C)
        hole = chamfered(T, T, w - T, H - T, ci, ci, ci, ci)
        mouth = rect(w - T - 0.5, T - 0.01, w + 1, H * 0.46)
        spur = rect(w * 0.48, H * 0.46, w, H * 0.46 + T * 0.85)
        return w, (outer - hole - mouth) | spur

    def letter_l():
        w = 24.0
        body = chamfered(0, 0, w, H, 0, 0, 0, C)
        cut = rect(T, -1, w + 1, H - T)
        return w, body - cut

    def letter_y():
        w = 32.0
        mx, join = w / 2, H * 0.52
        left = Polygon([(0, 0), (diag, 0), (mx + T / 2, join),
                        (mx - T / 2, join)])
        right = Polygon([(w - diag, 0), (w, 0), (mx + T / 2, join),
                         (mx - T / 2, join)])
        stem = rect(mx - T / 2, join - 1, mx + T / 2, H)
        return w, Union([left, right, stem])

    def letter_v():
        w = 32.0
        mx = w / 2
        left = Polygon([(0, 0), (diag, 0), (mx + T / 2, H), (mx - T / 2, H)])
        right = Polygon([(w - diag, 0), (w, 0), (mx + T / 2, H),
                         (mx - T / 2, H)])
        return w, left | right

    def letter_e():
        w = 26.0
        body = chamfered(0, 0, w, H, C, 0, 0, C)
        cut = rect(T, T, w + 1, H - T)
        bar = rect(T - 1, H / 2 - T * 0.45, w - 4, H / 2 + T * 0.45)
        return w, (body - cut) | bar

    def letter_x():
        w = 32.0
        a = Polygon([(0, 0), (diag, 0), (w, H), (w - diag, H)])
        b = Polygon([(w - diag, 0), (w, 0), (diag, H), (0, H)])
        return w, a | b

    return [letter_g(), letter_l(), letter_y(), letter_v(), letter_e(),
            letter_x()]


def _dilate(cov, w, h, radius):
    """Grow a coverage map by a disc of the given radius (in pixels)."""
    r = int(math.ceil(radius))
    offsets = []
    for dy in range(-r, r + 1):
        for dx in range(-r, r + 1):
            d = math.hypot(dx, dy)
            if d <= radius + 0.5:
                offsets.append((dx, dy, min(1.0, radius + 0.5 - d)))
    out = [0.0] * (w * h)
    for y in range(h):
        for x in range(w):
            best = 0.0
            for dx, dy, k in offsets:
                xx, yy = x + dx, y + dy
                if 0 <= xx < w and 0 <= yy < h:
                    v = cov[yy * w + xx] * k
                    if v > best:
                        best = v
            out[y * w + x] = best
    return out


def draw_banner():
    W, H = 231, 69
    shear = 0.18
    letters = _letters()
    # space after each letter; L and Y nest into each other
    gaps = [5.0, -1.0, 4.0, 4.0, 5.0, 0.0]
    span = sum(w for w, _ in letters) + sum(gaps) + shear * CAP
    depth = 4                                     # extrusion, down-right
    left = (W - span - depth) / 2.0
    top = (H - CAP - depth) / 2.0

    shapes = []
    x = left
    for (w, shape), gap in zip(letters, gaps):
        shapes.append(Transformed(shape, dx=x, dy=top, shear=shear,
                                  base=CAP))
        x += w + gap
    text = Union(shapes)

    fill = coverage(text, W, H, n=5)
    outline = _dilate(fill, W, H, 1.6)
    extrude = [0.0] * (W * H)
    for y in range(H):
        for x in range(W):
            best = 0.0
            for k in range(1, depth + 1):
                xx, yy = x - k, y - k
                if xx >= 0 and yy >= 0:
                    best = max(best, outline[yy * W + xx])
            extrude[y * W + x] = best

    body = [(0.0, hex_rgb("#fff7b0")), (0.30, hex_rgb("#ffd23a")),
            (0.55, hex_rgb("#ff9a1a")), (0.80, hex_rgb("#ff4f1f")),
            (1.0, hex_rgb("#c81e3c"))]
    edge_top, edge_bottom = hex_rgb("#ffffff"), hex_rgb("#ffc0a0")
    side_top, side_bottom = hex_rgb("#5a2a9c"), hex_rgb("#1e0c4a")
    shine = hex_rgb("#ffffff")

    pixels = []
    for y in range(H):
        t = min(1.0, max(0.0, (y - top) / CAP))
        col_body = ramp(body, t)
        col_edge = mix(edge_top, edge_bottom, t)
        col_side = mix(side_top, side_bottom,
                       min(1.0, max(0.0, (y - top) / (CAP + depth))))
        # a thin highlight band across the upper third of the letters
        band = max(0.0, 1.0 - abs(y - (top + CAP * 0.2)) / 1.6) * 0.35
        col_body = mix(col_body, shine, band)
        for x in range(W):
            i = y * W + x
            c = (0.0, 0.0, 0.0)
            c = mix(c, col_side, extrude[i])
            c = mix(c, col_edge, outline[i])
            c = mix(c, col_body, fill[i])
            pixels.append(tuple(int(round(v * 255)) for v in c))
    return W, H, pixels


# --------------------------------------------------------------------------

def main(argv):
    preview = None
    if len(argv) > 2 and argv[1] == "--preview":
        preview = argv[2]
        os.makedirs(preview, exist_ok=True)

    for name, draw in (("icon", draw_icon), ("close", draw_close)):
        cv, (indices, palette) = draw()
        path = os.path.join(HERE, name + ".png")
        write_indexed4(path, cv.w, cv.h, indices, palette)
        if preview:
            write_preview(os.path.join(preview, name + "_x8.png"), cv.w, cv.h,
                          indexed_rgba(indices, palette), 8)
            write_preview(os.path.join(preview, name + "_full_x8.png"),
                          cv.w, cv.h, cv.straight8(), 8)

    for size in ICON_SIZES:
        # fewer samples where a pixel is small against the strokes
        cv = icon_canvas(size, n=6 if size <= 64 else 4)
        write_rgba(os.path.join(HERE, "icon-%d.png" % size), size, size,
                   cv.straight8())
        if preview and size >= 128:
            write_rgba(os.path.join(preview, "icon-%d.png" % size), size,
                       size, cv.straight8())

    w, h, pixels = draw_banner()
    write_rgb(os.path.join(HERE, "banner.png"), w, h, pixels)
    if preview:
        big = [pixels[(y // 3) * w + x // 3]
               for y in range(h * 3) for x in range(w * 3)]
        write_rgb(os.path.join(preview, "banner_x3.png"), w * 3, h * 3, big)


if __name__ == "__main__":
    main(sys.argv)
