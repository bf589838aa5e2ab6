#!/usr/bin/python3
"""Draws Snapdisc's skin, icons, cursor and splash picture.

Everything here is procedural: shapes are drawn supersampled with PIL and
reduced for smooth edges, then written with our own little-endian BMP, ICO
and CUR writers so the files look exactly as Windows expects them.

    python3 res/art/make_art.py             write the files into res/ and check them
    python3 res/art/make_art.py --preview   also write the preview PNGs into res/art/

The output is deterministic: running it twice gives the same bytes.
"""

import math
import os
import struct
import sys

try:
    from PIL import Image, ImageChops, ImageDraw, ImageEnhance, ImageFilter, ImageFont
except ImportError:
    sys.exit("make_art: python3-pil is missing (apt-get install python3-pil)")

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.dirname(HERE)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
FONT_BOOK = os.path.join(FONT_DIR, "DejaVuSans.ttf")

# The window outline is cut where the face has exactly this colour.
KEY = (255, 0, 255)
FACE_W, FACE_H = 550, 425
# Rows 0..188 are the top part; the lower panel starts at this row.
SPLIT = 189

SS = 4  # supersampling factor for smooth shapes

# Elements of the main window: name, push button?, x, y, width, height.
ELEMENTS = [
    ("help", True, 385, 3, 37, 29),
    ("min", True, 465, 3, 37, 29),
    ("exit", True, 503, 3, 36, 29),
    ("new", True, 152, 43, 74, 90),
    ("load", True, 252, 43, 74, 90),
    ("save", True, 352, 43, 74, 90),
    ("start", True, 452, 43, 74, 90),
    ("about", True, 425, 3, 37, 29),
    ("bird", False, 1, 42, 106, 140),
    ("language", True, 108, 131, 35, 35),
    ("setup", True, 504, 166, 35, 24),
    ("first", True, 294, 231, 46, 44),
    ("prev", True, 294, 275, 46, 44),
    ("next", True, 294, 319, 46, 43),
    ("last", True, 294, 362, 46, 44),
    ("play", True, 414, 372, 28, 28),
    ("stop", True, 448, 372, 28, 28),
    ("add", True, 48, 373, 30, 26),
    ("del", True, 78, 373, 27, 26),
    ("delall", True, 105, 373, 30, 26),
    ("delay", True, 219, 373, 24, 26),
    ("delayedit", False, 149, 380, 62, 15),
    ("piclist", False, 16, 239, 261, 133),
    ("picstatic", False, 355, 206, 187, 175),
    ("status", False, 165, 141, 354, 20),
    ("devices", False, 13, 200, 266, 50),
    ("listnum", False, 13, 405, 268, 17),
]
RECT = {e[0]: e[2:] for e in ELEMENTS}
PUSH = [e[0] for e in ELEMENTS if e[1]]

# Colours the program draws over the face; the face is chosen to suit them.
TEXT_STATUS = (124, 123, 205)
TEXT_LISTNUM = (193, 196, 254)
PREVIEW_BG = (185, 183, 245)

# The outline: the top part and the lower panel ("drawer") below it, which
# is a little narrower so the top part keeps its own rounded corners.
TOP_BOX = (1, 1, 549, SPLIT)
TOP_RADII = (15, 15, 6, 6)          # top-left, top-right, bottom-right, bottom-left
DRAWER_BOX = (6, 150, 546, 424)
DRAWER_RADII = (0, 0, 10, 10)

# Palette of the face.
RIM = (8, 7, 28)
BODY_TOP = (64, 62, 152)
BODY_BOT = (40, 38, 110)
TITLE_TOP = (40, 38, 104)
TITLE_BOT = (22, 20, 62)
DRAWER_TOP = (42, 40, 112)
DRAWER_BOT = (30, 28, 84)
EDGE_LIGHT = (132, 130, 226)
EDGE_DARK = (20, 19, 56)


# --------------------------------------------------------------------------
# Small drawing toolkit
# --------------------------------------------------------------------------

def rgba(c, a=None):
    if len(c) == 4:
        return tuple(c) if a is None else (c[0], c[1], c[2], a)
    return (c[0], c[1], c[2], 255 if a is None else a)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def at_stops(stops, t):
    t = max(0.0, min(1.0, t))
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(rgba(c0), rgba(c1), 0.0 if t1 == t0 else (t - t0) / (t1 - t0))
    return rgba(stops[-1][1])


class Grad:
    """A linear colour ramp between two coordinates (in 1x pixels)."""

    def __init__(self, a, b, stops, horizontal=False):
        if not isinstance(stops[0][1], tuple):      # just two colours
            stops = [(0.0, stops[0]), (1.0, stops[1])]
        self.a, self.b, self.stops, self.horizontal = a, b, stops, horizontal

    def image(self, box, ss):
        x0, y0, x1, y1 = box
        n = (x1 - x0) if self.horizontal else (y1 - y0)
        start = x0 if self.horizontal else y0
        line = [at_stops(self.stops, ((start + i + 0.5) / ss - self.a) / (self.b - self.a))
                for i in range(n)]
        strip = Image.new("RGBA", (n, 1) if self.horizontal else (1, n))
        strip.putdata(line)
        return strip.resize((x1 - x0, y1 - y0), Image.NEAREST)


def rrect_points(x0, y0, x1, y1, radii, steps=24):
    """Outline of a rectangle whose corners have their own radii."""
    rtl, rtr, rbr, rbl = radii
    pts = []

    def corner(cx, cy, r, a0):
        if r <= 0:
            pts.append((cx, cy))
            return
        for i in range(steps + 1):
            a = math.radians(a0 + 90.0 * i / steps)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))

    corner(x0 + rtl, y0 + rtl, rtl, 180) if rtl else pts.append((x0, y0))
    corner(x1 - rtr, y0 + rtr, rtr, 270) if rtr else pts.append((x1, y0))
    corner(x1 - rbr, y1 - rbr, rbr, 0) if rbr else pts.append((x1, y1))
    corner(x0 + rbl, y1 - rbl, rbl, 90) if rbl else pts.append((x0, y1))
    return pts


def inside_rrect(px, py, box, radii):
    """Is the point inside the rounded rectangle?"""
    x0, y0, x1, y1 = box
    if not (x0 <= px <= x1 and y0 <= py <= y1):
        return False
    rtl, rtr, rbr, rbl = radii
    for cx, cy, r, sx, sy in ((x0 + rtl, y0 + rtl, rtl, -1, -1), (x1 - rtr, y0 + rtr, rtr, 1, -1),
                              (x1 - rbr, y1 - rbr, rbr, 1, 1), (x0 + rbl, y1 - rbl, rbl, -1, 1)):
        if r and (px - cx) * sx > 0 and (py - cy) * sy > 0:
            if (px - cx) ** 2 + (py - cy) ** 2 > r * r:
                return False
    return True


class Pen:
    """Draws a coverage mask at SS times the size, in 1x coordinates.

    Coordinates are pixel edges: a rectangle (0, 0, 2, 2) covers four pixels.
    """

    def __init__(self, w, h, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.im = Image.new("L", (int(round(w * ss)), int(round(h * ss))), 0)
        self.d = ImageDraw.Draw(self.im)

    def _b(self, x0, y0, x1, y1):
        s = self.ss
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    def rect(self, x0, y0, x1, y1, v=255):
        self.d.rectangle(self._b(x0, y0, x1, y1), fill=v)
        return self

    def rrect(self, x0, y0, x1, y1, r, v=255):
        if isinstance(r, (int, float)):
            r = (r, r, r, r)
        return self.poly(rrect_points(x0, y0, x1, y1, r), v)

    def ellipse(self, x0, y0, x1, y1, v=255):
        self.d.ellipse(self._b(x0, y0, x1, y1), fill=v)
        return self

    def circle(self, cx, cy, r, v=255):
        return self.ellipse(cx - r, cy - r, cx + r, cy + r, v)

    def ring(self, cx, cy, r, width, v=255):
        """A circular band whose outer radius is r."""
        s = self.ss
        self.d.ellipse(self._b(cx - r, cy - r, cx + r, cy + r), outline=v, width=max(1, round(width * s)))
        return self

    def poly(self, pts, v=255):
        s = self.ss
        self.d.polygon([(x * s, y * s) for x, y in pts], fill=v)
        return self

    def line(self, pts, width, v=255, caps=True):
        s = self.ss
        self.d.line([(x * s, y * s) for x, y in pts], fill=v, width=max(1, round(width * s)), joint="curve")
        if caps:
            for x, y in (pts[0], pts[-1]):
                self.circle(x, y, width / 2.0, v)
        return self

    def pieslice(self, cx, cy, r, a0, a1, v=255):
        self.d.pieslice(self._b(cx - r, cy - r, cx + r, cy + r), a0, a1, fill=v)
        return self

    def arc(self, cx, cy, r, a0, a1, width, v=255):
        s = self.ss
        self.d.arc(self._b(cx - r, cy - r, cx + r, cy + r), a0, a1, fill=v, width=max(1, round(width * s)))
        return self


def m_and(a, b):
    return ImageChops.multiply(a, b)


def m_sub(a, b):
    return ImageChops.subtract(a, b)


def m_shift(m, dx, dy):
    out = Image.new("L", m.size, 0)
    out.paste(m, (int(round(dx)), int(round(dy))))
    return out


def m_scale(m, k):
    return m.point(lambda v: int(v * k + 0.5))


class Sprite:
    """An RGBA picture drawn at SS times its size and reduced at the end."""

    def __init__(self, w, h, ss=SS, bg=(0, 0, 0, 0)):
        self.w, self.h, self.ss = w, h, ss
        self.im = Image.new("RGBA", (w * ss, h * ss), rgba(bg, bg[3] if len(bg) == 4 else 255))

    def pen(self):
        return Pen(self.w, self.h, self.ss)

    def mask(self, m):
        return m.im if isinstance(m, Pen) else m

    def fill(self, m, paint, alpha=1.0, blur=0.0, dx=0.0, dy=0.0):
        m = self.mask(m)
        if dx or dy:
            m = m_shift(m, dx * self.ss, dy * self.ss)
        if blur:
            m = m.filter(ImageFilter.GaussianBlur(blur * self.ss))
        if alpha != 1.0:
            m = m_scale(m, alpha)
        box = m.getbbox()
        if not box:
            return
        size = (box[2] - box[0], box[3] - box[1])
        if isinstance(paint, Grad):
            layer = paint.image(box, self.ss)
        else:
            layer = Image.new("RGBA", size, rgba(paint))
        layer.putalpha(m_and(layer.getchannel("A"), m.crop(box)))
        self.im.alpha_composite(layer, dest=box[:2])

    def cut(self, m):
        """Makes the masked area transparent."""
        a = m_sub(self.im.getchannel("A"), self.mask(m))
        self.im.putalpha(a)

    def paste(self, other, x, y):
        """Composites another sprite of the same scale at (x, y) in 1x pixels."""
        self.im.alpha_composite(other.im, dest=(int(round(x * self.ss)), int(round(y * self.ss))))

    def out(self):
        return self.im.resize((self.w, self.h), Image.BOX)


def over(base, top, x=0, y=0):
    """Composites the RGBA `top` onto RGBA `base` at (x, y); returns base."""
    base.alpha_composite(top, dest=(x, y))
    return base


def tint(im, colour, alpha=1.0, blur=0.0, dx=0, dy=0, pad=0):
    """A coloured copy of the silhouette of `im` (an RGBA picture)."""
    a = im.getchannel("A")
    if pad:
        big = Image.new("L", (a.width + 2 * pad, a.height + 2 * pad), 0)
        big.paste(a, (pad, pad))
        a = big
    if blur:
        a = a.filter(ImageFilter.GaussianBlur(blur))
    if alpha != 1.0:
        a = m_scale(a, alpha)
    out = Image.new("RGBA", a.size, rgba(colour))
    out.putalpha(a)
    if dx or dy:
        moved = Image.new("RGBA", a.size, (0, 0, 0, 0))
        moved.paste(out, (dx, dy))
        out = moved
    return out


def brighten(im, k):
    rgb = ImageEnhance.Brightness(im.convert("RGB")).enhance(k)
    rgb.putalpha(im.getchannel("A"))
    return rgb


# --------------------------------------------------------------------------
# Glyphs: one-colour symbols drawn as masks, centred on (cx, cy), size s
# --------------------------------------------------------------------------

def g_question(p, cx, cy, s):
    w = s * 0.17
    r = s * 0.21
    ox, oy = cx, cy - s * 0.17
    pts = []
    for i in range(0, 23):
        a = math.radians(180 + i * 10)
        pts.append((ox + r * math.cos(a), oy + r * math.sin(a)))
    pts.append((cx + s * 0.02, cy + s * 0.05))
    pts.append((cx, cy + s * 0.14))
    p.line(pts, w)
    p.circle(cx, cy + s * 0.36, w * 0.62)


def g_info(p, cx, cy, s):
    w = s * 0.18
    p.circle(cx, cy - s * 0.33, w * 0.62)
    p.rrect(cx - w / 2, cy - s * 0.14, cx + w / 2, cy + s * 0.43, w * 0.3)
    p.rect(cx - w * 1.2, cy - s * 0.14, cx, cy - s * 0.14 + w * 0.55)
    p.rect(cx - w * 1.2, cy + s * 0.43 - w * 0.55, cx + w * 1.2, cy + s * 0.43)


def g_minimise(p, cx, cy, s):
    p.rrect(cx - s * 0.3, cy + s * 0.2, cx + s * 0.3, cy + s * 0.36, s * 0.05)


def g_close(p, cx, cy, s):
    d = s * 0.26
    w = s * 0.16
    p.line([(cx - d, cy - d), (cx + d, cy + d)], w)
    p.line([(cx - d, cy + d), (cx + d, cy - d)], w)


def g_globe(p, cx, cy, s):
    r = s * 0.44
    w = s * 0.085
    p.ring(cx, cy, r, w)
    inner = Pen(p.w, p.h, p.ss)
    inner.circle(cx, cy, r - w * 0.5)
    lines = Pen(p.w, p.h, p.ss)
    lines.d.ellipse(lines._b(cx - r * 0.45, cy - r, cx + r * 0.45, cy + r), outline=255,
                    width=max(1, round(w * p.ss)))
    lines.rect(cx - w / 2, cy - r, cx + w / 2, cy + r)
    lines.rect(cx - r, cy - w / 2, cx + r, cy + w / 2)
    for k in (-0.52, 0.52):
        y = cy + r * k
        lines.rect(cx - r, y - w * 0.45, cx + r, y + w * 0.45)
    p.im.paste(255, (0, 0), m_and(lines.im, inner.im))


def g_chevron(p, cx, cy, s, up=False):
    k = -1 if up else 1
    w = s * 0.17
    p.line([(cx - s * 0.28, cy - k * s * 0.13), (cx, cy + k * s * 0.15), (cx + s * 0.28, cy - k * s * 0.13)], w)


def g_triangle(p, cx, cy, s, direction):
    """A solid triangle; cy is its middle."""
    hw, hh = s * 0.34, s * 0.19
    if direction == "up":
        pts = [(cx, cy - hh), (cx + hw, cy + hh), (cx - hw, cy + hh)]
    elif direction == "down":
        pts = [(cx - hw, cy - hh), (cx + hw, cy - hh), (cx, cy + hh)]
    else:  # right
        hw, hh = s * 0.36, s * 0.40
        pts = [(cx - hw * 0.75, cy - hh), (cx + hw, cy), (cx - hw * 0.75, cy + hh)]
    # Softly rounded corners: draw the triangle and trace its edge thickly.
    p.poly(pts)
    p.line(pts + [pts[0]], s * 0.06, caps=False)


def g_move(p, cx, cy, s, direction, double):
    if double:
        g_triangle(p, cx, cy - s * 0.17, s, direction)
        g_triangle(p, cx, cy + s * 0.17, s, direction)
    else:
        g_triangle(p, cx, cy, s, direction)
    # A bar marks "all the way" for the double arrows.
    if double:
        y = cy - s * 0.47 if direction == "up" else cy + s * 0.47
        p.rrect(cx - s * 0.34, y - s * 0.06, cx + s * 0.34, y + s * 0.06, s * 0.03)


def g_square(p, cx, cy, s):
    d = s * 0.3
    p.rrect(cx - d, cy - d, cx + d, cy + d, s * 0.07)


def g_plus(p, cx, cy, s):
    d, w = s * 0.32, s * 0.085
    p.rrect(cx - d, cy - w, cx + d, cy + w, w * 0.4)
    p.rrect(cx - w, cy - d, cx + w, cy + d, w * 0.4)


def g_minus(p, cx, cy, s):
    d, w = s * 0.32, s * 0.085
    p.rrect(cx - d, cy - w, cx + d, cy + w, w * 0.4)


def g_trash(p, cx, cy, s):
    # Lid, handle and a slightly tapered bin with two slots.
    p.rrect(cx - s * 0.36, cy - s * 0.30, cx + s * 0.36, cy - s * 0.2, s * 0.03)
    p.rrect(cx - s * 0.12, cy - s * 0.40, cx + s * 0.12, cy - s * 0.26, s * 0.04)
    p.rrect(cx - s * 0.12 + s * 0.06, cy - s * 0.35, cx + s * 0.12 - s * 0.06, cy - s * 0.29, 0, v=0)
    p.poly([(cx - s * 0.29, cy - s * 0.14), (cx + s * 0.29, cy - s * 0.14),
            (cx + s * 0.23, cy + s * 0.42), (cx - s * 0.23, cy + s * 0.42)])
    for dx in (-0.1, 0.1):
        p.rrect(cx + s * (dx - 0.035), cy - s * 0.06, cx + s * (dx + 0.035), cy + s * 0.33, s * 0.02, v=0)


def g_stopwatch(p, cx, cy, s):
    r = s * 0.33
    ox, oy = cx - s * 0.05, cy + s * 0.06
    p.ring(ox, oy, r, s * 0.1)
    p.rrect(ox - s * 0.07, oy - r - s * 0.13, ox + s * 0.07, oy - r + s * 0.02, s * 0.02)
    p.rrect(ox - s * 0.14, oy - r - s * 0.19, ox + s * 0.14, oy - r - s * 0.1, s * 0.03)
    p.line([(ox, oy), (ox, oy - r * 0.6)], s * 0.08)
    p.line([(ox, oy), (ox + r * 0.45, oy - r * 0.3)], s * 0.08)


def check_points(cx, cy, s):
    return [(cx + s * 0.08, cy + s * 0.28), (cx + s * 0.2, cy + s * 0.4), (cx + s * 0.44, cy + s * 0.12)]


GLYPHS = {
    "help": lambda p, cx, cy, s: g_question(p, cx, cy, s),
    "about": lambda p, cx, cy, s: g_info(p, cx, cy, s),
    "min": lambda p, cx, cy, s: g_minimise(p, cx, cy, s),
    "exit": lambda p, cx, cy, s: g_close(p, cx, cy, s),
    "language": lambda p, cx, cy, s: g_globe(p, cx, cy, s),
    "setup": lambda p, cx, cy, s: g_chevron(p, cx, cy, s, up=False),
    "setup_up": lambda p, cx, cy, s: g_chevron(p, cx, cy, s, up=True),
    "first": lambda p, cx, cy, s: g_move(p, cx, cy, s, "up", True),
    "prev": lambda p, cx, cy, s: g_move(p, cx, cy, s, "up", False),
    "next": lambda p, cx, cy, s: g_move(p, cx, cy, s, "down", False),
    "last": lambda p, cx, cy, s: g_move(p, cx, cy, s, "down", True),
    "play": lambda p, cx, cy, s: g_triangle(p, cx + s * 0.05, cy, s, "right"),
    "stop": lambda p, cx, cy, s: g_square(p, cx, cy, s),
    "add": lambda p, cx, cy, s: g_plus(p, cx, cy, s),
    "del": lambda p, cx, cy, s: g_minus(p, cx, cy, s),
    "delall": lambda p, cx, cy, s: g_trash(p, cx, cy, s),
    "delay": lambda p, cx, cy, s: g_stopwatch(p, cx, cy, s),
}

GLYPH_TOP = (246, 247, 255)
GLYPH_BOT = (194, 198, 246)
CHECK_GREEN = (120, 232, 150)


def glyph_picture(name, w, h, cx, cy, s, state):
    """The glyph of a button as an RGBA picture of the button's size."""
    spr = Sprite(w, h)
    p = spr.pen()
    GLYPHS[name](p, cx, cy, s)
    check = None
    if name == "delay":
        # The stopwatch gets a green tick; clear a gap around it first.
        pts = check_points(cx, cy, s)
        p.line(pts, s * 0.34, v=0)
        check = spr.pen().line(pts, s * 0.15)
    if state == "hover":
        top, bot = (255, 255, 255), (214, 226, 255)
    elif state == "pressed":
        top, bot = (196, 200, 246), (156, 160, 222)
    else:
        top, bot = GLYPH_TOP, GLYPH_BOT
    g = Grad(cy - s * 0.5, cy + s * 0.5, [top, bot])
    spr.fill(p, g)
    if check is not None:
        spr.fill(check, (170, 255, 190) if state == "hover" else CHECK_GREEN if state == "normal" else (98, 190, 124))
    return spr.out()


# --------------------------------------------------------------------------
# Colour pictures: the logo and the four big buttons
# --------------------------------------------------------------------------

def draw_disc(spr, cx, cy, r, hole=True, sheen=True):
    p = spr.pen().circle(cx, cy, r)
    spr.fill(p, (66, 70, 120))
    face = spr.pen().circle(cx, cy, r - max(0.6, r * 0.045))
    spr.fill(face, Grad(cy - r, cy + r, [(0, (246, 248, 255)), (0.55, (200, 206, 232)), (1, (150, 156, 196))]))
    if sheen:
        # Rainbow sheen in two opposite sectors, as light plays on a disc.
        for a0, a1, col in ((200, 228, (120, 214, 255)), (228, 252, (214, 150, 255)), (252, 270, (255, 170, 200)),
                            (20, 48, (255, 232, 120)), (48, 72, (140, 240, 190)), (72, 90, (120, 200, 255))):
            sec = spr.pen().pieslice(cx, cy, r * 0.96, a0, a1)
            spr.fill(m_and(sec.im, face.im), col, alpha=0.55, blur=r * 0.05)
        gl = spr.pen().pieslice(cx, cy, r * 0.92, 292, 318)
        spr.fill(m_and(gl.im, face.im), (255, 255, 255), alpha=0.75, blur=r * 0.06)
    hub = spr.pen().circle(cx, cy, r * 0.36)
    spr.fill(hub, (120, 126, 172))
    spr.fill(spr.pen().circle(cx, cy, r * 0.36 - max(0.6, r * 0.04)),
             Grad(cy - r * 0.36, cy + r * 0.36, [(236, 240, 252), (190, 196, 226)]))
    if hole:
        spr.fill(spr.pen().circle(cx, cy, r * 0.15 + max(0.6, r * 0.03)), (96, 100, 150))
        spr.cut(spr.pen().circle(cx, cy, r * 0.15))


def draw_photo(spr, cx, cy, w, h, angle, detail=True):
    """A snapshot with a white border, turned by `angle` degrees."""
    pad = int(max(w, h) * 0.3) + 2
    cw, ch = int(w + 2 * pad), int(h + 2 * pad)
    card = Sprite(cw, ch, spr.ss, bg=(250, 250, 255, 0))
    x0, y0 = pad, pad
    x1, y1 = pad + w, pad + h
    b = max(1.0, w * 0.07)
    card.fill(card.pen().rrect(x0, y0, x1, y1, max(0.5, w * 0.03)), Grad(y0, y1, [(255, 255, 255), (222, 226, 244)]))
    ix0, iy0, ix1, iy1 = x0 + b, y0 + b, x1 - b, y1 - b * (2.2 if detail else 1.0)
    win = card.pen().rect(ix0, iy0, ix1, iy1)
    card.fill(win, Grad(iy0, iy1, [(70, 132, 240), (176, 214, 255)]))
    iw, ih = ix1 - ix0, iy1 - iy0
    card.fill(m_and(card.pen().circle(ix0 + iw * 0.72, iy0 + ih * 0.3, ih * 0.17).im, win.im), (255, 214, 92))
    far = card.pen().poly([(ix0 - 1, iy1), (ix0 + iw * 0.3, iy0 + ih * 0.38), (ix0 + iw * 0.62, iy1)])
    card.fill(m_and(far.im, win.im), (98, 108, 196))
    near = card.pen().poly([(ix0 + iw * 0.22, iy1), (ix0 + iw * 0.62, iy0 + ih * 0.52), (ix1 + 1, iy0 + ih * 0.78),
                            (ix1 + 1, iy1)])
    card.fill(m_and(near.im, win.im), Grad(iy0 + ih * 0.5, iy1, [(84, 190, 120), (40, 128, 84)]))
    card.im = card.im.rotate(angle, resample=Image.BICUBIC, center=((x0 + w / 2) * spr.ss, (y0 + h / 2) * spr.ss))
    a = card.im.getchannel("A").filter(ImageFilter.GaussianBlur(max(1.0, w * 0.05) * spr.ss))
    shadow = Image.new("RGBA", card.im.size, (8, 6, 30, 255))
    shadow.putalpha(m_scale(a, 0.6))
    ox, oy = cx - w / 2 - pad, cy - h / 2 - pad
    sh = max(1, round(w * 0.04 * spr.ss))
    spr.im.alpha_composite(shadow, dest=(int(round(ox * spr.ss)) + sh, int(round(oy * spr.ss)) + sh))
    spr.im.alpha_composite(card.im, dest=(int(round(ox * spr.ss)), int(round(oy * spr.ss))))


def logo_sprite(size, ss=SS, small=False):
    """The Snapdisc mark: a disc with a snapshot leaning on it."""
    spr = Sprite(size, size, ss)
    s = float(size)
    if small:
        draw_disc(spr, s * 0.39, s * 0.39, s * 0.38)
        draw_photo(spr, s * 0.64, s * 0.665, s * 0.54, s * 0.44, 6)
    else:
        draw_disc(spr, s * 0.42, s * 0.41, s * 0.37)
        draw_photo(spr, s * 0.66, s * 0.69, s * 0.52, s * 0.44, 9)
    return spr


def drop_shadow(spr, mask, s):
    if getattr(spr, "shadows", True):
        spr.fill(mask, (8, 6, 30), alpha=0.5, blur=s * 0.04, dx=s * 0.03, dy=s * 0.05)


def icon_new(spr, cx, cy, s):
    x0, y0, x1, y1 = cx - s * 0.3, cy - s * 0.4, cx + s * 0.3, cy + s * 0.4
    f = s * 0.2
    page = [(x0, y0), (x1 - f, y0), (x1, y0 + f), (x1, y1), (x0, y1)]
    drop_shadow(spr, spr.pen().poly(page), s)
    spr.fill(spr.pen().poly(page), (80, 86, 150))
    inner = [(x0 + 1, y0 + 1), (x1 - f - 0.4, y0 + 1), (x1 - 1, y0 + f + 0.4), (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)]
    spr.fill(spr.pen().poly(inner), Grad(y0, y1, [(255, 255, 255), (214, 220, 248)]))
    fold = [(x1 - f, y0), (x1 - f, y0 + f), (x1, y0 + f)]
    spr.fill(spr.pen().poly(fold), (80, 86, 150))
    spr.fill(spr.pen().poly([(x1 - f + 1, y0 + 1.6), (x1 - f + 1, y0 + f - 1), (x1 - 1.6, y0 + f - 1)]),
             (190, 198, 236))
    # A bright star for "new".
    sx, sy, R = x0 + s * 0.02, y0 + s * 0.1, s * 0.2
    star = []
    for i in range(10):
        a = math.radians(-90 + i * 36)
        rr = R if i % 2 == 0 else R * 0.45
        star.append((sx + rr * math.cos(a), sy + rr * math.sin(a)))
    spr.fill(spr.pen().poly(star), (255, 240, 160), alpha=0.7, blur=s * 0.05)
    spr.fill(spr.pen().poly(star), (176, 104, 10))
    small = [(sx + (x - sx) * 0.82, sy + (y - sy) * 0.82) for x, y in star]
    spr.fill(spr.pen().poly(small), Grad(sy - R, sy + R, [(255, 246, 170), (255, 186, 40)]))


def icon_load(spr, cx, cy, s):
    x0, y0, x1, y1 = cx - s * 0.42, cy - s * 0.3, cx + s * 0.42, cy + s * 0.32
    back = spr.pen().rrect(x0, y0 + s * 0.08, x1, y1, s * 0.04)
    back.rrect(x0, y0, x0 + s * 0.32, y0 + s * 0.16, s * 0.04)
    drop_shadow(spr, back, s)
    spr.fill(back, (122, 70, 10))
    inner = spr.pen().rrect(x0 + 1, y0 + s * 0.08 + 1, x1 - 1, y1 - 1, s * 0.03)
    inner.rrect(x0 + 1, y0 + 1, x0 + s * 0.32 - 1, y0 + s * 0.16, s * 0.03)
    spr.fill(inner, Grad(y0, y1, [(236, 164, 50), (196, 118, 24)]))
    # A photo peeking out of the folder.
    sheet = spr.pen().rect(x0 + s * 0.12, y0 + s * 0.02, x1 - s * 0.1, y1 - s * 0.16)
    spr.fill(sheet, (120, 120, 170))
    spr.fill(spr.pen().rect(x0 + s * 0.12 + 1, y0 + s * 0.02 + 1, x1 - s * 0.1 - 1, y1 - s * 0.16),
             (252, 252, 255))
    spr.fill(spr.pen().rect(x0 + s * 0.16, y0 + s * 0.06, x1 - s * 0.14, y1 - s * 0.2),
             Grad(y0, y1, [(90, 150, 240), (170, 210, 255)]))
    front = [(x0 + s * 0.12, y0 + s * 0.24), (x1 + s * 0.06, y0 + s * 0.24), (x1 - s * 0.06, y1), (x0, y1)]
    spr.fill(spr.pen().poly(front), (140, 80, 10))
    f2 = [(x0 + s * 0.12 + 1.2, y0 + s * 0.24 + 1), (x1 + s * 0.06 - 1.6, y0 + s * 0.24 + 1),
          (x1 - s * 0.06 - 0.8, y1 - 1), (x0 + 1.4, y1 - 1)]
    spr.fill(spr.pen().poly(f2), Grad(y0 + s * 0.24, y1, [(255, 226, 120), (248, 176, 52)]))
    spr.fill(spr.pen().rect(x0 + s * 0.12 + 1.5, y0 + s * 0.24 + 1, x1 + s * 0.06 - 2, y0 + s * 0.24 + 2),
             (255, 246, 200), alpha=0.8)


def icon_save(spr, cx, cy, s):
    d = s * 0.4
    x0, y0, x1, y1 = cx - d, cy - d, cx + d, cy + d
    c = s * 0.12
    body = [(x0, y0), (x1 - c, y0), (x1, y0 + c), (x1, y1), (x0, y1)]
    drop_shadow(spr, spr.pen().poly(body), s)
    spr.fill(spr.pen().rrect(x0, y0, x1, y1, s * 0.05).poly(body), (22, 40, 110))
    spr.fill(spr.pen().poly([(x0 + 1, y0 + 1), (x1 - c - 0.4, y0 + 1), (x1 - 1, y0 + c + 0.4), (x1 - 1, y1 - 1),
                             (x0 + 1, y1 - 1)]), Grad(y0, y1, [(96, 150, 248), (48, 88, 200)]))
    # Metal shutter with its window.
    sx0, sx1, sy1 = x0 + s * 0.2, x1 - s * 0.16, y0 + s * 0.3
    spr.fill(spr.pen().rect(sx0, y0 + 1, sx1, sy1), (60, 70, 110))
    spr.fill(spr.pen().rect(sx0 + 1, y0 + 1, sx1 - 1, sy1 - 1), Grad(y0, sy1, [(244, 246, 252), (170, 176, 198)]))
    spr.fill(spr.pen().rect(sx1 - s * 0.2, y0 + s * 0.05, sx1 - s * 0.08, sy1 - s * 0.05), (40, 52, 104))
    # The label.
    lx0, lx1, ly0 = x0 + s * 0.12, x1 - s * 0.12, y0 + s * 0.44
    spr.fill(spr.pen().rrect(lx0, ly0, lx1, y1 - 1, s * 0.03), (30, 50, 120))
    spr.fill(spr.pen().rrect(lx0 + 1, ly0 + 1, lx1 - 1, y1 - 1, s * 0.02), Grad(ly0, y1, [(255, 255, 255), (220, 226, 246)]))
    for k in (0.58, 0.7):
        y = y0 + s * k
        spr.fill(spr.pen().rect(lx0 + s * 0.07, y, lx1 - s * 0.07, y + max(1.0, s * 0.03)), (150, 170, 220))


def flame_points(cx, by, h, lean=0.0):
    """A flame (a tear drop) standing on (cx, by), h high."""
    r = h * 0.42
    pts = []
    for i in range(49):
        t = 2 * math.pi * i / 48
        x = r * math.sin(t) * math.sin(t / 2) ** 1.2
        y = -r * math.cos(t)                      # tip at the top
        y = y * (h / 2) / r - h / 2
        pts.append((cx + x + lean * (y / h), by + y + h * 0.04))
    return pts


def icon_start(spr, cx, cy, s):
    r = s * 0.38
    dx, dy = cx - s * 0.06, cy - s * 0.04
    drop_shadow(spr, spr.pen().circle(dx, dy, r), s)
    draw_disc(spr, dx, dy, r)
    # The flame of burning.
    fx, fy, fh = cx + s * 0.26, cy + s * 0.46, s * 0.5
    outline = spr.pen().poly(flame_points(fx, fy, fh * 1.08, 0.06 * s))
    spr.fill(outline, (255, 150, 60), alpha=0.8, blur=s * 0.06)
    spr.fill(outline, (150, 30, 10))
    spr.fill(spr.pen().poly(flame_points(fx, fy - 1, fh, 0.06 * s)),
             Grad(fy - fh, fy, [(255, 170, 40), (232, 56, 20)]))
    spr.fill(spr.pen().poly(flame_points(fx + s * 0.01, fy - 1.5, fh * 0.55, 0.03 * s)),
             Grad(fy - fh * 0.6, fy, [(255, 250, 200), (255, 200, 60)]))


ICONS = {"new": icon_new, "load": icon_load, "save": icon_save, "start": icon_start}


# --------------------------------------------------------------------------
# Buttons
# --------------------------------------------------------------------------

# name: (shape, inset, radius, glyph size, glyph centre offset)
STYLE = {
    "help": ("rect", 1, 6, 17, (0, 0)),
    "about": ("rect", 1, 6, 17, (0, 0)),
    "min": ("rect", 1, 6, 17, (0, 0)),
    "exit": ("rect", 1, 6, 17, (0, 0)),
    "new": ("rect", 1, 10, 54, (0, -7)),
    "load": ("rect", 1, 10, 54, (0, -7)),
    "save": ("rect", 1, 10, 54, (0, -7)),
    "start": ("rect", 1, 10, 54, (0, -7)),
    "language": ("round", 1, 0, 22, (0, 0)),
    "setup": ("rect", 1, 5, 17, (0, -1.5)),
    "first": ("rect", 1, 6, 25, (0, 0)),
    "prev": ("rect", 1, 6, 25, (0, 0)),
    "next": ("rect", 1, 6, 25, (0, 0)),
    "last": ("rect", 1, 6, 25, (0, 0)),
    "play": ("round", 1, 0, 14, (0, 0)),
    "stop": ("round", 1, 0, 14, (0, 0)),
    "add": ("rect", 1, 5, 17, (0, 0)),
    "del": ("rect", 1, 5, 17, (0, 0)),
    "delall": ("rect", 1, 5, 17, (0, 0)),
    "delay": ("rect", 1, 5, 19, (0, 0)),
}

BODY = {
    "normal": dict(border=(14, 13, 46), top=(102, 100, 204), bot=(58, 56, 146), rim=(178, 178, 250), rim_a=0.75),
    "hover": dict(border=(120, 176, 255), top=(136, 136, 238), bot=(80, 80, 190), rim=(214, 226, 255), rim_a=0.9),
    "pressed": dict(border=(8, 7, 28), top=(30, 28, 82), bot=(52, 50, 128), rim=(70, 68, 150), rim_a=0.5),
}
EXIT_HOVER = dict(border=(255, 160, 170), top=(238, 92, 108), bot=(168, 34, 60), rim=(255, 206, 212), rim_a=0.9)


def body_box(name, w, h):
    shape, inset, radius, _, _ = STYLE[name]
    x0, y0, x1, y1 = inset, inset, w - inset, h - inset
    if name == "setup":
        y1 = h - 4            # stay above the bottom edge of the top part
    if shape == "round":
        d = min(x1 - x0, y1 - y0)
        cx, cy = w / 2.0, (y0 + y1) / 2.0
        x0, y0, x1, y1 = cx - d / 2, cy - d / 2, cx + d / 2, cy + d / 2
        radius = d / 2.0
    return x0, y0, x1, y1, radius


def button_picture(name, state, base, glyph=None):
    """The whole rectangle of a push element in one state, over `base`."""
    x, y, w, h = RECT[name]
    pic = base.crop((x, y, x + w, y + h)).convert("RGBA")
    x0, y0, x1, y1, r = body_box(name, w, h)
    st = EXIT_HOVER if (name == "exit" and state == "hover") else BODY[state]

    spr = Sprite(w, h)
    outer = spr.pen().rrect(x0, y0, x1, y1, r)
    inner = spr.pen().rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, max(0, r - 1))
    if state == "normal":
        spr.fill(outer, (4, 4, 20), alpha=0.45, blur=0.8, dy=1)
    elif state == "hover":
        spr.fill(outer, st["border"], alpha=0.55, blur=1.0)
    spr.fill(outer, st["border"])
    spr.fill(inner, Grad(y0, y1, [st["top"], st["bot"]]))
    # Lit upper edge inside the border.
    lip = m_sub(inner.im, m_shift(inner.im, 0, 1.2 * SS))
    spr.fill(lip, st["rim"], alpha=st["rim_a"])
    if state == "pressed":
        # Pushed in: a shadow falls from the upper left edge.
        shade = m_sub(inner.im, m_shift(inner.im, 2 * SS, 2.5 * SS))
        spr.fill(shade, (0, 0, 12), alpha=0.7, blur=1.4)
        spr.fill(m_and(shade, inner.im), (0, 0, 12), alpha=0.35)
    else:
        # Gloss over the upper half.
        gloss = m_and(inner.im, spr.pen().rect(0, 0, w, y0 + (y1 - y0) * 0.48).im)
        spr.fill(gloss, Grad(y0, y0 + (y1 - y0) * 0.5, [(255, 255, 255, 60), (255, 255, 255, 14)]))
        if state == "hover":
            spr.fill(inner, (160, 200, 255), alpha=0.25, blur=0)
            halo = m_sub(inner.im, inner.im.filter(ImageFilter.MinFilter(9)))
            spr.fill(halo, (200, 226, 255), alpha=0.3, blur=1.0)
    over(pic, spr.out())

    # The symbol.
    _, _, _, size, (ox, oy) = STYLE[name]
    cx, cy = (x0 + x1) / 2.0 + ox, (y0 + y1) / 2.0 + oy
    shift = 1 if state == "pressed" else 0
    if name in ICONS:
        isp = Sprite(w, h)
        ICONS[name](isp, cx, cy, size)
        icon = isp.out()
        bare = Sprite(w, h)
        bare.shadows = False
        ICONS[name](bare, cx, cy, size)
        bare = bare.out()
        if state == "hover":
            icon, bare = brighten(icon, 1.12), brighten(bare, 1.12)
        elif state == "pressed":
            icon = brighten(icon, 0.82)
        if state != "pressed":
            # A faint reflection on the "floor" of the button.
            bot = bare.getchannel("A").point(lambda v: 255 if v > 160 else 0).getbbox()[3]
            refl = bare.transpose(Image.FLIP_TOP_BOTTOM).crop((0, h - bot, w, h))
            fade = Image.new("L", refl.size, 0)
            fd = ImageDraw.Draw(fade)
            span = 16
            for i in range(span):
                fd.line([(0, i), (w, i)], fill=int(92 * (1 - i / span) ** 1.4))
            refl.putalpha(m_and(refl.getchannel("A"), fade))
            floor = Image.new("RGBA", (w, h), (0, 0, 0, 0))
            floor.alpha_composite(refl, dest=(0, bot + 1))
            floor.putalpha(m_and(floor.getchannel("A"), inner.im.resize((w, h), Image.BOX)))
            over(pic, floor)
        if state == "hover":
            over(pic, tint(bare, (170, 210, 255), alpha=0.9, blur=3.0))
        moved = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        moved.alpha_composite(icon, dest=(shift, shift))
        over(pic, moved)
    else:
        g = glyph or name
        pic_g = glyph_picture(g, w, h, cx + shift, cy + shift, size, state)
        if state != "pressed":
            over(pic, tint(pic_g, (2, 2, 24), alpha=0.7, blur=0.7, dy=1))
        if state == "hover":
            glow_col = (255, 220, 226) if name == "exit" else (170, 214, 255)
            over(pic, tint(pic_g, glow_col, alpha=0.9, blur=2.0))
        over(pic, pic_g)
    return pic.convert("RGB")


# --------------------------------------------------------------------------
# The face
# --------------------------------------------------------------------------

def outline_mask():
    """1 for pixels inside the window outline, by pixel centre."""
    m = Image.new("L", (FACE_W, FACE_H), 0)
    px = m.load()
    for y in range(FACE_H):
        for x in range(FACE_W):
            cx, cy = x + 0.5, y + 0.5
            if inside_rrect(cx, cy, TOP_BOX, TOP_RADII) or inside_rrect(cx, cy, DRAWER_BOX, DRAWER_RADII):
                px[x, y] = 255
    return m


def inset_box(box, k):
    return (box[0] + k, box[1] + k, box[2] - k, box[3] - k)


def inset_radii(radii, k):
    return tuple(max(0, r - k) for r in radii)


def slab(spr, box, radii, top, bot):
    """A raised plate: dark edge, a bevel ring, then the body."""
    p0 = spr.pen().rrect(*box, radii)
    spr.fill(p0, RIM)
    p1 = spr.pen().rrect(*inset_box(box, 1), inset_radii(radii, 1))
    spr.fill(p1, Grad(box[1], box[3], [(0, EDGE_LIGHT), (0.35, mix(top, EDGE_LIGHT, 0.45)), (1, EDGE_DARK)]))
    p2 = spr.pen().rrect(*inset_box(box, 2), inset_radii(radii, 2))
    spr.fill(p2, Grad(box[1], box[3], [top, bot]))
    return p2


def well(spr, x0, y0, x1, y1, r, fill, depth=2.0):
    """A recessed panel: the area (x0, y0, x1, y1) sunk into the face."""
    lip = spr.pen().rrect(x0 - 1, y0 - 1, x1 + 1, y1 + 1, r + 1)
    spr.fill(lip, Grad(y0 - 1, y1 + 1, [(0, (10, 9, 32)), (0.6, (40, 38, 100)), (1, (120, 118, 214))]))
    inner = spr.pen().rrect(x0, y0, x1, y1, r)
    spr.fill(inner, fill)
    shade = m_sub(inner.im, m_shift(inner.im, 0, depth * SS))
    spr.fill(shade, (0, 0, 10), alpha=0.6, blur=depth * 0.6)
    return inner


def base_face():
    """Everything of the face that is the same in all three states."""
    spr = Sprite(FACE_W, FACE_H, bg=RIM)

    # The lower panel first; the top part casts a shadow on it.
    dbody = slab(spr, DRAWER_BOX, DRAWER_RADII, DRAWER_TOP, DRAWER_BOT)
    shadow = spr.pen().rect(0, SPLIT - 4, FACE_W, SPLIT + 2)
    spr.fill(m_and(shadow.im, dbody.im), (0, 0, 12), alpha=0.7, blur=3)

    tbody = slab(spr, TOP_BOX, TOP_RADII, BODY_TOP, BODY_BOT)

    # Title band.
    band = m_and(tbody.im, spr.pen().rect(0, 0, FACE_W, 36).im)
    spr.fill(band, Grad(3, 36, [(0, TITLE_TOP), (0.5, mix(TITLE_TOP, TITLE_BOT, 0.5)), (1, TITLE_BOT)]))
    spr.fill(m_and(band, spr.pen().rect(0, 0, FACE_W, 17).im),
             Grad(3, 17, [(255, 255, 255, 40), (255, 255, 255, 8)]))
    spr.fill(spr.pen().rect(3, 36, FACE_W - 3, 37), (10, 9, 32))
    spr.fill(spr.pen().rect(3, 37, FACE_W - 3, 38), (98, 96, 192))

    # Small mark at the left of the title band, with a groove trailing off.
    mark = logo_sprite(28)
    spr.paste(mark, 8, 4)
    groove = spr.pen().rrect(44, 17, 372, 19, 1)
    spr.fill(groove, Grad(44, 372, [(0, (10, 9, 32, 0)), (0.15, (10, 9, 32)), (1, (10, 9, 32, 0))], horizontal=True))
    spr.fill(m_shift(groove.im, 0, SS), Grad(44, 372, [(0, (96, 94, 190, 0)), (0.15, (96, 94, 190)),
                                                        (1, (96, 94, 190, 0))], horizontal=True))

    # Glow behind the big mark.
    glow = spr.pen().circle(54, 108, 40)
    spr.fill(glow, (128, 122, 240), alpha=0.35, blur=16)
    big = logo_sprite(100)
    spr.paste(big, 5, 60)

    # A shelf under the four big buttons.
    shelf = spr.pen().rrect(146, 40, 532, 137, 12)
    spr.fill(shelf, (12, 11, 40), alpha=0.22)
    spr.fill(m_sub(shelf.im, m_shift(shelf.im, 0, -1 * SS)), (120, 118, 220), alpha=0.35)

    # Status band.
    x, y, w, h = RECT["status"]
    well(spr, x, y, x + w, y + h, 5, Grad(y, y + h, [(14, 13, 42), (22, 21, 60)]))

    # Lower panel.
    x, y, w, h = RECT["devices"]
    well(spr, x, y, x + w, y + 22, 4, (22, 21, 60))
    x, y, w, h = RECT["piclist"]
    well(spr, x, y, x + w, y + h, 4, (20, 19, 56), depth=3)
    # The strip behind the four move buttons.
    fx, fy, _, _ = RECT["first"]
    _, ly, _, lh = RECT["last"]
    well(spr, fx - 1, fy - 1, fx + 47, ly + lh + 1, 8, (24, 23, 66))
    x, y, w, h = RECT["picstatic"]
    well(spr, x, y, x + w, y + h, 3, PREVIEW_BG, depth=2.5)
    x, y, w, h = RECT["delayedit"]
    well(spr, x, y, x + w, y + h, 3, (22, 21, 60))
    x, y, w, h = RECT["listnum"]
    well(spr, x, y, x + w, y + h, 5, Grad(y, y + h, [(14, 13, 42), (22, 21, 60)]))
    # Trays under the two button groups.
    ax, ay, _, ah = RECT["add"]
    dx, _, dw, _ = RECT["delall"]
    well(spr, ax - 1, ay - 1, dx + dw + 1, ay + ah + 1, 7, (24, 23, 66))
    face = spr.out().convert("RGB")
    return face


def compose_face(base, state, setup_glyph="setup"):
    face = base.copy()
    for name in PUSH:
        glyph = setup_glyph if name == "setup" else None
        face.paste(button_picture(name, state, base, glyph), RECT[name][:2])
    return face


def apply_key(face, mask):
    """Key colour outside the outline; make sure it never shows inside."""
    out = face.copy()
    px = out.load()
    mp = mask.load()
    for y in range(FACE_H):
        for x in range(FACE_W):
            if not mp[x, y]:
                px[x, y] = KEY
            elif px[x, y] == KEY:
                px[x, y] = (254, 0, 255)
    return out


# --------------------------------------------------------------------------
# The splash picture
# --------------------------------------------------------------------------

def load_font(path, size):
    if not os.path.isfile(path):
        sys.exit("make_art: font %s is missing (apt-get install fonts-dejavu-core)" % path)
    return ImageFont.truetype(path, size)


def splash():
    W, H = 370, 250
    spr = Sprite(W, H, bg=(20, 18, 56))
    spr.fill(spr.pen().rect(0, 0, W, H), Grad(0, H, [(0, (50, 48, 130)), (0.6, (30, 28, 84)), (1, (16, 14, 46))]))
    spr.fill(spr.pen().circle(84, 104, 74), (120, 112, 240), alpha=0.45, blur=34)
    spr.fill(spr.pen().circle(300, 40, 60), (90, 140, 255), alpha=0.18, blur=40)
    # Film strip with a row of snapshots along the bottom.
    fy0, fy1 = 186, 228
    spr.fill(spr.pen().rect(0, fy0, W, fy1), (6, 5, 22), alpha=0.75)
    holes = spr.pen()
    for i in range(-1, 34):
        hx = 6 + i * 11.5
        holes.rrect(hx, fy0 + 3, hx + 6, fy0 + 8, 1)
        holes.rrect(hx, fy1 - 8, hx + 6, fy1 - 3, 1)
    spr.fill(holes, (150, 148, 220), alpha=0.55)
    skies = [((250, 170, 120), (255, 226, 170)), ((70, 132, 240), (176, 214, 255)), ((40, 40, 120), (120, 100, 200)),
             ((90, 190, 230), (200, 240, 255)), ((230, 120, 160), (255, 200, 190)), ((70, 132, 240), (176, 214, 255))]
    for i, (top, bot) in enumerate(skies):
        x0 = 8 + i * 60
        win = spr.pen().rect(x0, fy0 + 11, x0 + 52, fy1 - 11)
        spr.fill(win, Grad(fy0 + 11, fy1 - 11, [top, bot]))
        hill = spr.pen().poly([(x0, fy1 - 11), (x0 + 18 + (i * 7) % 20, fy0 + 17 + (i * 3) % 6), (x0 + 52, fy1 - 15),
                               (x0 + 52, fy1 - 11)])
        spr.fill(m_and(hill.im, win.im), (40 + i * 8, 110 + (i * 23) % 60, 100), alpha=0.9)
        spr.fill(m_and(spr.pen().circle(x0 + 40 - (i * 9) % 24, fy0 + 17, 3.2).im, win.im), (255, 236, 150), alpha=0.9)
    spr.fill(spr.pen().rect(0, fy0, W, fy1), Grad(0, W, [(0, (20, 18, 56, 230)), (0.25, (20, 18, 56, 0)),
                                                          (0.75, (20, 18, 56, 0)), (1, (20, 18, 56, 230))],
                                                   horizontal=True))
    spr.paste(logo_sprite(112), 14, 46)
    img = spr.out()

    # Name and tag line: the largest type that fits right of the mark.
    d = ImageDraw.Draw(img)
    tx, right = 134, W - 16
    size = 60
    while load_font(FONT_BOLD, size).getbbox("Snapdisc")[2] > right - tx:
        size -= 1
    title = load_font(FONT_BOLD, size)
    tsize = 16
    while load_font(FONT_BOOK, tsize).getbbox("Photo slideshows on Video CD")[2] > right - tx - 2:
        tsize -= 1
    tag = load_font(FONT_BOOK, tsize)
    ty = 112 - title.getbbox("Snapdisc")[3]
    text_mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(text_mask).text((tx, ty), "Snapdisc", font=title, fill=255)
    bbox = text_mask.getbbox()
    sh = Image.new("RGBA", (W, H), (4, 3, 20, 255))
    sh.putalpha(m_scale(m_shift(text_mask, 1, 3).filter(ImageFilter.GaussianBlur(3)), 0.8))
    img.alpha_composite(sh)
    glow = Image.new("RGBA", (W, H), (140, 150, 255, 255))
    glow.putalpha(m_scale(text_mask.filter(ImageFilter.GaussianBlur(6)), 0.45))
    img.alpha_composite(glow)
    fill = Grad(bbox[1], bbox[3], [(0, (255, 255, 255)), (0.55, (226, 228, 255)), (1, (170, 176, 250))]).image(
        (0, 0, W, H), 1)
    fill.putalpha(text_mask)
    img.alpha_composite(fill)
    d.line([(tx + 2, bbox[3] + 10), (bbox[2], bbox[3] + 10)], fill=(110, 108, 210), width=1)
    d.text((tx + 2, bbox[3] + 18), "Photo slideshows on Video CD", font=tag, fill=TEXT_LISTNUM)

    # A thin frame.
    d.rectangle([0, 0, W - 1, H - 1], outline=(8, 7, 28))
    d.rectangle([1, 1, W - 2, H - 2], outline=(96, 94, 190))
    return img.convert("RGB")


# --------------------------------------------------------------------------
# Icons and the cursor
# --------------------------------------------------------------------------

# The 16 colours of the small 4-bit icons and of the cursor.
PALETTE16 = [
    (0, 0, 0),        # 0  black (also under transparent pixels)
    (26, 24, 72),     # 1  deep indigo
    (60, 58, 150),    # 2  indigo
    (104, 112, 214),  # 3  blue
    (170, 176, 238),  # 4  lavender
    (226, 230, 246),  # 5  silver, light
    (168, 172, 200),  # 6  silver
    (104, 108, 140),  # 7  slate
    (255, 255, 255),  # 8  white
    (150, 28, 14),    # 9  dark red
    (232, 70, 26),    # 10 red orange
    (255, 150, 40),   # 11 orange
    (255, 224, 80),   # 12 yellow
    (255, 250, 200),  # 13 pale yellow
    (110, 200, 255),  # 14 sky
    (70, 170, 100),   # 15 green
]


def disc_pixels(cx, cy, R, hole, sheen=True):
    """Palette indices of a small disc drawn pixel by pixel, keyed by (x, y)."""
    def dist(x, y):
        return math.hypot(x + 0.5 - cx, y + 0.5 - cy)

    def on(x, y):
        return hole <= dist(x, y) <= R

    out = {}
    for y in range(16):
        for x in range(16):
            if not on(x, y):
                continue
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = dist(x, y)
            ang = math.degrees(math.atan2(dy, dx)) % 360
            near = [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
            if any(dist(*n) > R for n in near):
                c = 7                                  # outer edge
            elif any(dist(*n) < hole for n in near):
                c = 7                                  # ring round the hole
            elif d < R * 0.42:
                c = 8 if dx + dy < 0 else 5            # clear hub
            elif sheen and 200 <= ang < 236:
                c = 14                                 # rainbow sheen
            elif sheen and 20 <= ang < 56:
                c = 13
            else:
                c = 5 if dx + dy < 1.5 else 6
            out[(x, y)] = c
    return out


def burn_frame(k):
    """Frame k (0..3) of the burning animation: a laser spot going round a disc."""
    px = disc_pixels(8.0, 8.0, 7.95, 1.0, sheen=False)
    a = -90 + 90 * k                       # clockwise: top, right, bottom, left
    sx = 8.0 + 5.0 * math.cos(math.radians(a))
    sy = 8.0 + 5.0 * math.sin(math.radians(a))
    for (x, y), c in list(px.items()):
        dx, dy = x + 0.5 - 8.0, y + 0.5 - 8.0
        d = math.hypot(dx, dy)
        behind = (a - math.degrees(math.atan2(dy, dx))) % 360
        if c != 7 and 3.2 < d < 7.0 and 40 <= behind < 120:
            px[(x, y)] = 4                     # the freshly written track is darker
        if c != 7 and 4.0 < d < 6.1 and 0 < behind < 50:
            px[(x, y)] = 11 if behind < 30 else 10   # glowing trail of the spot
        sd = math.hypot(x + 0.5 - sx, y + 0.5 - sy)
        if sd < 1.0:
            px[(x, y)] = 13
        elif sd < 1.6:
            px[(x, y)] = 12
        elif sd < 2.2:
            px[(x, y)] = 10 if c == 7 else 11
    return [px.get((x, y)) for y in range(16) for x in range(16)]


SMALL_CARD = [
    "2222222222",
    "2888888882",
    "28333c3382",
    "28ee2eee82",
    "28e222ef82",
    "28ffffff82",
    "2888888882",
    "2888888882",
    "2222222222",
]


def small_logo():
    """The Snapdisc mark drawn pixel by pixel at 16x16."""
    px = disc_pixels(6.0, 6.0, 5.95, 1.0)
    for j, row in enumerate(SMALL_CARD):
        for i, ch in enumerate(row):
            px[(6 + i, 7 + j)] = int(ch, 16)
    return [px.get((x, y)) for y in range(16) for x in range(16)]


def tray_picture():
    return small_logo()


def program_icon(size):
    if size == 16:
        return indices_to_rgba(small_logo(), 16, 16)
    return logo_sprite(size, ss=8, small=True).out()


def cursor_move():
    """32x32 palette picture of the "move row" cursor, hot spot (16, 14)."""
    T = None
    px = [[T] * 32 for _ in range(32)]

    def put(x, y, c):
        if 0 <= x < 32 and 0 <= y < 32:
            px[y][x] = c

    def shape(cells, fill):
        for (x, y) in cells:
            put(x, y, fill)

    def outline(cells, colour=0):
        cs = set(cells)
        for (x, y) in cs:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    if (x + dx, y + dy) not in cs and px[y + dy][x + dx] is None:
                        put(x + dx, y + dy, colour)

    cx, cy = 16, 14
    arrows = []
    # Up arrow: tip at y=2, head 9 wide, shaft 3 wide down to the row.
    for i in range(5):
        for x in range(cx - i, cx + i + 1):
            arrows.append((x, 2 + i))
            arrows.append((x, 2 * cy - 2 - i))
    for y in range(7, 10):
        for x in range(cx - 1, cx + 2):
            arrows.append((x, y))
            arrows.append((x, 2 * cy - y))
    row = [(x, y) for x in range(cx - 10, cx + 11) for y in range(cy - 3, cy + 4)]
    outline(arrows + row)
    shape(arrows, 8)
    shape(row, 3)
    # The row: a light top edge, a thumbnail and two text lines.
    for x in range(cx - 9, cx + 10):
        put(x, cy - 3, 4)
    for x in range(cx - 8, cx - 4):
        for y in range(cy - 2, cy + 2):
            put(x, y, 14)
    for x in range(cx - 8, cx - 4):
        put(x, cy + 1, 15)
    for x in range(cx - 3, cx + 8):
        put(x, cy - 1, 8)
    for x in range(cx - 3, cx + 4):
        put(x, cy + 1, 5)
    for x in range(cx - 9, cx + 10):
        put(x, cy + 3, 2)
    return px


# --------------------------------------------------------------------------
# File writers (little-endian, as Windows reads them)
# --------------------------------------------------------------------------

def bmp24_bytes(img):
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    rows = []
    data = img.tobytes()
    for y in range(h - 1, -1, -1):      # bottom-up
        line = bytearray(data[y * w * 3:(y + 1) * w * 3])
        line[0::3], line[2::3] = line[2::3], line[0::3]   # RGB -> BGR
        rows.append(bytes(line) + b"\0" * (stride - w * 3))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def and_mask_rows(w, h, transparent):
    stride = ((w + 31) // 32) * 4
    out = b""
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if transparent(x, y):
                row[x >> 3] |= 0x80 >> (x & 7)
        out += bytes(row)
    return out


def dib_4bpp(indices, w, h, palette):
    """Icon/cursor image: header, 16-colour palette, XOR bits, AND mask."""
    stride = ((w * 4 + 31) // 32) * 4
    xor = b""
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            i = indices[y * w + x]
            v = 0 if i is None else i
            row[x >> 1] |= (v << 4) if x % 2 == 0 else v
        xor += bytes(row)
    mask = and_mask_rows(w, h, lambda x, y: indices[y * w + x] is None)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    return info + pal + xor + mask


def dib_32bpp(img):
    img = img.convert("RGBA")
    w, h = img.size
    px = img.load()
    xor = b""
    for y in range(h - 1, -1, -1):
        xor += b"".join(struct.pack("<BBBB", px[x, y][2], px[x, y][1], px[x, y][0], px[x, y][3]) for x in range(w))
    mask = and_mask_rows(w, h, lambda x, y: px[x, y][3] < 100)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def icon_file(images, kind=1, hotspot=(0, 0)):
    """images: list of (width, height, colours, bits per pixel, dib bytes)."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = b""
    for (w, h, colours, bpp, dib) in images:
        if kind == 2:
            planes, bits = hotspot
        else:
            planes, bits = 1, bpp
        out += struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, colours, 0, planes, bits, len(dib), offset)
        offset += len(dib)
        blobs += dib
    return out + blobs


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


# --------------------------------------------------------------------------
# Checks and previews
# --------------------------------------------------------------------------

def check_faces(faces, mask):
    problems = []
    for fname, face in faces.items():
        px = face.load()
        if px[0, 0] != KEY:
            problems.append("%s: (0,0) is not the key colour" % fname)
        # Flood fill over key pixels from (0,0).
        seen = set([(0, 0)])
        todo = [(0, 0)]
        while todo:
            x, y = todo.pop()
            for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if 0 <= nx < FACE_W and 0 <= ny < FACE_H and (nx, ny) not in seen and px[nx, ny] == KEY:
                    seen.add((nx, ny))
                    todo.append((nx, ny))
        keys = [(x, y) for y in range(FACE_H) for x in range(FACE_W) if px[x, y] == KEY]
        holes = [k for k in keys if k not in seen]
        if holes:
            problems.append("%s: %d key pixels not reachable from (0,0), e.g. %s" % (fname, len(holes), holes[:3]))
        mp = mask.load()
        bad = [(x, y) for (x, y) in keys if mp[x, y]]
        if bad:
            problems.append("%s: key colour inside the outline at %s" % (fname, bad[:3]))
        for name in PUSH:
            x, y, w, h = RECT[name]
            for yy in range(y, y + h):
                for xx in range(x, x + w):
                    if px[xx, yy] == KEY:
                        problems.append("%s: push element %s reaches outside the outline" % (fname, name))
                        break
                else:
                    continue
                break
    # Push elements must not overlap.
    for i, a in enumerate(PUSH):
        ax, ay, aw, ah = RECT[a]
        for b in PUSH[i + 1:]:
            bx, by, bw, bh = RECT[b]
            if ax < bx + bw and bx < ax + aw and ay < by + bh and by < ay + ah:
                problems.append("push elements %s and %s overlap" % (a, b))
    # Same outside the push elements, different inside each.
    inside = Image.new("L", (FACE_W, FACE_H), 0)
    for name in PUSH:
        x, y, w, h = RECT[name]
        inside.paste(255, (x, y, x + w, y + h))
    names = list(faces)
    n = faces[names[0]]
    for other in names[1:]:
        diff = ImageChops.difference(n, faces[other]).convert("L").point(lambda v: 255 if v else 0)
        outside = m_sub(diff, inside)
        if outside.getbbox():
            problems.append("%s differs from %s outside the push elements at %s" % (other, names[0], outside.getbbox()))
        for name in PUSH:
            x, y, w, h = RECT[name]
            if not diff.crop((x, y, x + w, y + h)).getbbox():
                problems.append("%s is the same as %s inside %s" % (other, names[0], name))
    return problems


def check_bmp(path, w, h):
    with open(path, "rb") as f:
        data = f.read()
    magic, size, _, _, off = struct.unpack("<2sIHHI", data[:14])
    hs, bw, bh, planes, bpp, comp = struct.unpack("<IiiHHI", data[14:34])
    ok = (magic == b"BM" and size == len(data) and off == 54 and hs == 40 and (bw, bh) == (w, h)
          and planes == 1 and bpp == 24 and comp == 0)
    return [] if ok else ["%s: not a %dx%d 24-bit bottom-up BMP with a 40-byte header" % (path, w, h)]


def check_icons(paths):
    problems = []
    for path, want in paths:
        try:
            im = Image.open(path)
            sizes = sorted(im.info.get("sizes", {im.size}))
            if sorted(want) != sizes:
                problems.append("%s: sizes %s, wanted %s" % (path, sizes, sorted(want)))
            im.load()
        except Exception as e:      # noqa: BLE001 - report anything PIL cannot read
            problems.append("%s: PIL cannot read it (%s)" % (path, e))
    return problems


def checker(w, h, cell=6):
    im = Image.new("RGB", (w, h), (200, 200, 200))
    d = ImageDraw.Draw(im)
    for y in range(0, h, cell):
        for x in range(0, w, cell):
            if (x // cell + y // cell) % 2:
                d.rectangle([x, y, x + cell - 1, y + cell - 1], fill=(150, 150, 150))
    return im


def show_key(face):
    bg = checker(*face.size)
    m = Image.new("L", face.size, 0)
    fp, mp = face.load(), m.load()
    for y in range(face.height):
        for x in range(face.width):
            if fp[x, y] != KEY:
                mp[x, y] = 255
    bg.paste(face, (0, 0), m)
    return bg


def previews(faces, extra):
    n, hv, pr = (show_key(faces[k]) for k in ("normal", "hover", "pressed"))
    gap = 12
    sheet = Image.new("RGB", (FACE_W * 2 + gap * 3, FACE_H * 2 + gap * 3), (60, 60, 60))
    sheet.paste(n, (gap, gap))
    sheet.paste(hv, (FACE_W + 2 * gap, gap))
    sheet.paste(pr, (gap, FACE_H + 2 * gap))
    cut = show_key(faces["normal"].crop((0, 0, FACE_W, SPLIT)))
    sheet.paste(cut, (FACE_W + 2 * gap, FACE_H + 2 * gap))
    sheet.save(os.path.join(HERE, "preview.png"))

    # Debug view: sample texts in the program's colours and every element's
    # rectangle (green: push, yellow: passive).
    dbg = n.copy()
    d = ImageDraw.Draw(dbg)
    small = load_font(FONT_BOOK, 11)
    x, y, w, h = RECT["status"]
    d.text((x + 6, y + 3), "Ready.", font=small, fill=TEXT_STATUS)
    d.text((x + 60, y + 3), "A scrolling line of news goes here", font=small, fill=(255, 255, 255))
    x, y, w, h = RECT["listnum"]
    d.text((x + 6, y + 2), "12 photos", font=small, fill=TEXT_LISTNUM)
    for name, push, x, y, w, h in ELEMENTS:
        d.rectangle([x, y, x + w - 1, y + h - 1], outline=(0, 255, 0) if push else (255, 255, 0))
    dbg = dbg.resize((FACE_W * 2, FACE_H * 2), Image.NEAREST)
    dbg.save(os.path.join(HERE, "preview_debug.png"))

    # Close-ups of the buttons in their three states, 3x.
    tiles = []
    for name in PUSH:
        x, y, w, h = RECT[name]
        row = [faces[k].crop((x, y, x + w, y + h)) for k in ("normal", "hover", "pressed")]
        if name == "setup":
            row += [extra["setup_shown"], extra["setup_shown_hover"]]
        tiles.append(row)
    # Lay the buttons out in two columns to keep the sheet compact.
    half = (len(tiles) + 1) // 2
    cols = [tiles[:half], tiles[half:]]
    colw = max(sum(t.width + 4 for t in row) for row in tiles)
    colh = max(sum(max(t.height for t in row) + 4 for row in c) for c in cols)
    sheet = Image.new("RGB", (colw * 2 + 8, colh), (60, 60, 60))
    for ci, c in enumerate(cols):
        yy = 0
        for row in c:
            xx = ci * (colw + 8)
            for t in row:
                sheet.paste(show_key(t), (xx, yy))
                xx += t.width + 4
            yy += max(t.height for t in row) + 4
    sheet = sheet.resize((sheet.width * 3, sheet.height * 3), Image.NEAREST)
    sheet.save(os.path.join(HERE, "preview_buttons.png"))

    # Icons and cursor, 8x, over a light and a dark ground.
    pics = extra["icons"]
    scale = 8
    widths = [p.width * scale for p in pics]
    sheet = Image.new("RGB", (sum(widths) + 16 * (len(pics) + 1), (32 * scale + 16) * 2 + 16), (60, 60, 60))
    for gi, ground in enumerate(((236, 236, 236), (40, 40, 70))):
        xx = 16
        for p in pics:
            big = p.resize((p.width * scale, p.height * scale), Image.NEAREST)
            bg = Image.new("RGBA", big.size, rgba(ground))
            bg.alpha_composite(big)
            sheet.paste(bg.convert("RGB"), (xx, 16 + gi * (32 * scale + 16)))
            xx += big.width + 16
    sheet.save(os.path.join(HERE, "preview_icons.png"))

    s = extra["splash"]
    s.resize((s.width * 2, s.height * 2), Image.LANCZOS).save(os.path.join(HERE, "preview_splash.png"))


def indices_to_rgba(indices, w, h, palette=PALETTE16):
    im = Image.new("RGBA", (w, h))
    im.putdata([(0, 0, 0, 0) if i is None else rgba(palette[i]) for i in indices])
    return im


# --------------------------------------------------------------------------

def main():
    want_preview = "--preview" in sys.argv[1:]
    for path in (FONT_BOLD, FONT_BOOK):
        if not os.path.isfile(path):
            sys.exit("make_art: font %s is missing (apt-get install fonts-dejavu-core)" % path)

    mask = outline_mask()
    base = base_face()
    faces = {}
    for state in ("normal", "hover", "pressed"):
        faces[state] = apply_key(compose_face(base, state), mask)
    write(os.path.join(RES, "face_normal.bmp"), bmp24_bytes(faces["normal"]))
    write(os.path.join(RES, "face_hover.bmp"), bmp24_bytes(faces["hover"]))
    write(os.path.join(RES, "face_pressed.bmp"), bmp24_bytes(faces["pressed"]))

    # The setup element while the lower panel is shown: an up chevron.
    shown = button_picture("setup", "normal", base, "setup_up")
    shown_hover = button_picture("setup", "hover", base, "setup_up")
    write(os.path.join(RES, "setup_shown.bmp"), bmp24_bytes(shown))
    write(os.path.join(RES, "setup_shown_hover.bmp"), bmp24_bytes(shown_hover))

    sp = splash()
    write(os.path.join(RES, "splash.bmp"), bmp24_bytes(sp))

    # Program icon: 32x32 and 16x16 with alpha.
    i32, i16 = program_icon(32), program_icon(16)
    write(os.path.join(RES, "snapdisc.ico"),
          icon_file([(32, 32, 0, 32, dib_32bpp(i32)), (16, 16, 0, 32, dib_32bpp(i16))]))

    # Tray and burning icons: 16 colours.
    tray = tray_picture()
    write(os.path.join(RES, "tray.ico"), icon_file([(16, 16, 16, 4, dib_4bpp(tray, 16, 16, PALETTE16))]))
    burns = []
    for k in range(4):
        q = burn_frame(k)
        burns.append(q)
        write(os.path.join(RES, "burn%d.ico" % (k + 1)), icon_file([(16, 16, 16, 4, dib_4bpp(q, 16, 16, PALETTE16))]))

    cur = cursor_move()
    flat = [c for row in cur for c in row]
    write(os.path.join(RES, "move.cur"), icon_file([(32, 32, 16, 4, dib_4bpp(flat, 32, 32, PALETTE16))],
                                                   kind=2, hotspot=(16, 14)))

    problems = check_faces(faces, mask)
    for name in ("face_normal", "face_hover", "face_pressed"):
        problems += check_bmp(os.path.join(RES, name + ".bmp"), FACE_W, FACE_H)
    problems += check_bmp(os.path.join(RES, "setup_shown.bmp"), 35, 24)
    problems += check_bmp(os.path.join(RES, "setup_shown_hover.bmp"), 35, 24)
    problems += check_bmp(os.path.join(RES, "splash.bmp"), 370, 250)
    problems += check_icons([(os.path.join(RES, "snapdisc.ico"), [(16, 16), (32, 32)]),
                             (os.path.join(RES, "tray.ico"), [(16, 16)])] +
                            [(os.path.join(RES, "burn%d.ico" % k), [(16, 16)]) for k in range(1, 5)] +
                            [(os.path.join(RES, "move.cur"), [(32, 32)])])

    if want_preview:
        icons = [i32, i16, indices_to_rgba(tray, 16, 16)] + [indices_to_rgba(b, 16, 16) for b in burns] + \
                [indices_to_rgba(flat, 32, 32)]
        previews(faces, {"setup_shown": shown, "setup_shown_hover": shown_hover, "icons": icons, "splash": sp})

    if problems:
        for p in problems:
            print("make_art: " + p, file=sys.stderr)
        sys.exit(1)
    print("make_art: all files written and checked")


if __name__ == "__main__":
    main()
