"""Shared palette, drawing helpers and the manifest collector of the art generators.

Every generator draws with cairo (antialiased vector shapes and gradients) and
registers each written file with `manifest`, so tools/art_manifest.md always
lists exactly what the last run produced.
"""

import math
import os
import random

import cairo

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def hexrgb(value, alpha=1.0):
    value = value.lstrip("#")
    return (int(value[0:2], 16) / 255.0, int(value[2:4], 16) / 255.0,
            int(value[4:6], 16) / 255.0, alpha)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


def lighter(c, t=0.35):
    return mix(c, (1.0, 1.0, 1.0, c[3]), t)


def darker(c, t=0.45):
    return mix(c, (0.16, 0.07, 0.04, c[3]), t)


def with_alpha(c, a):
    return (c[0], c[1], c[2], a)


# The pâtisserie palette: every picture of the game draws from these.
CREAM = hexrgb("FFF4E0")
CREAM_DARK = hexrgb("F1D9B5")
VANILLA = hexrgb("FBE7B8")
RASPBERRY = hexrgb("D8396A")
RASPBERRY_LIGHT = hexrgb("F47A9E")
RASPBERRY_DARK = hexrgb("8C1C43")
PISTACHIO = hexrgb("93C566")
PISTACHIO_LIGHT = hexrgb("C9E6A2")
PISTACHIO_DARK = hexrgb("4A7430")
CARAMEL = hexrgb("D8893A")
CARAMEL_LIGHT = hexrgb("F4BE6E")
CARAMEL_DARK = hexrgb("8A5117")
CHOCOLATE = hexrgb("5C3322")
CHOCOLATE_DARK = hexrgb("361A10")
MILK_CHOCOLATE = hexrgb("8A5638")
LEMON = hexrgb("F6D54E")
BLUEBERRY = hexrgb("4F62C4")
LAVENDER = hexrgb("B7A3DF")
TWILIGHT = hexrgb("2E2F6B")
PEACH = hexrgb("FFC6A0")
MINT = hexrgb("BDE7D4")
ROSE = hexrgb("F8C8D4")
SUGAR = hexrgb("FFFDF8")
OUTLINE = hexrgb("3E1F14")
GREY = hexrgb("A89C94")

PALETTE = {
    "cream": CREAM, "cream_dark": CREAM_DARK, "vanilla": VANILLA,
    "raspberry": RASPBERRY, "raspberry_light": RASPBERRY_LIGHT, "raspberry_dark": RASPBERRY_DARK,
    "pistachio": PISTACHIO, "pistachio_light": PISTACHIO_LIGHT, "pistachio_dark": PISTACHIO_DARK,
    "caramel": CARAMEL, "caramel_light": CARAMEL_LIGHT, "caramel_dark": CARAMEL_DARK,
    "chocolate": CHOCOLATE, "chocolate_dark": CHOCOLATE_DARK, "milk_chocolate": MILK_CHOCOLATE,
    "lemon": LEMON, "blueberry": BLUEBERRY, "lavender": LAVENDER, "twilight": TWILIGHT,
    "peach": PEACH, "mint": MINT, "rose": ROSE, "sugar": SUGAR, "outline": OUTLINE,
}

FONT_SANS = "DejaVu Sans"
FONT_SERIF = "DejaVu Serif"


# ---------------------------------------------------------------- manifest

class Manifest:
    """Collects (path, purpose, size, layout) of every generated file."""

    def __init__(self):
        self.entries = []

    def add(self, path, purpose, size="", layout="", group="Other"):
        rel = os.path.relpath(path, ROOT)
        assert rel == rel.lower() or rel.startswith("splash/"), "media names must be lower case: " + rel
        self.entries.append((group, rel, purpose, size, layout))

    def write(self, path, intro):
        groups = []
        for entry in self.entries:
            if entry[0] not in groups:
                groups.append(entry[0])
        lines = [intro.rstrip(), ""]
        for group in groups:
            lines.append("## " + group)
            lines.append("")
            lines.append("| file | purpose | size (px) | frames / layout |")
            lines.append("|---|---|---|---|")
            for g, rel, purpose, size, layout in self.entries:
                if g == group:
                    lines.append("| `%s` | %s | %s | %s |" % (rel, purpose, size, layout))
            lines.append("")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))


manifest = Manifest()


def out_path(rel):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


# ---------------------------------------------------------------- surfaces

def new_surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    c = cairo.Context(s)
    c.set_antialias(cairo.ANTIALIAS_BEST)
    return s, c


def save_png(surface, rel, purpose, layout="1 frame", group="Other", size=None):
    path = out_path(rel)
    surface.flush()
    surface.write_to_png(path)
    if size is None:
        size = "%d×%d" % (surface.get_width(), surface.get_height())
    manifest.add(path, purpose, size, layout, group)
    return path


def stack_frames(frames, horizontal=False):
    """Puts equally sized frame surfaces one above the other (the frame layout of sprites)."""
    fw, fh = frames[0].get_width(), frames[0].get_height()
    if horizontal:
        s, c = new_surface(fw * len(frames), fh)
    else:
        s, c = new_surface(fw, fh * len(frames))
    for i, f in enumerate(frames):
        if horizontal:
            c.set_source_surface(f, i * fw, 0)
        else:
            c.set_source_surface(f, 0, i * fh)
        c.paint()
    return s


def save_frames(frames, rel, purpose, group="Other", extra=""):
    fw, fh = frames[0].get_width(), frames[0].get_height()
    s = stack_frames(frames)
    layout = "%d frames stacked vertically, %d×%d each" % (len(frames), fw, fh)
    if extra:
        layout += "; " + extra
    return save_png(s, rel, purpose, layout, group, size="%d×%d" % (fw, fh * len(frames)))


# ---------------------------------------------------------------- paths

def rounded_rect(c, x, y, w, h, r):
    r = max(0.0, min(r, w / 2.0, h / 2.0))
    c.new_sub_path()
    c.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    c.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    c.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    c.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    c.close_path()


def ellipse(c, cx, cy, rx, ry):
    c.save()
    c.translate(cx, cy)
    c.scale(rx, ry)
    c.new_sub_path()
    c.arc(0, 0, 1, 0, 2 * math.pi)
    c.restore()


def star_path(c, cx, cy, r_out, r_in, points=5, rot=-math.pi / 2):
    c.new_sub_path()
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rot + i * math.pi / points
        if i == 0:
            c.move_to(cx + r * math.cos(a), cy + r * math.sin(a))
        else:
            c.line_to(cx + r * math.cos(a), cy + r * math.sin(a))
    c.close_path()


def rounded_star_path(c, cx, cy, r_out, r_in, points=5, rot=-math.pi / 2):
    """A star with softened tips, for the candy look."""
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rot + i * math.pi / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    n = len(pts)
    c.new_sub_path()
    for i in range(n):
        p0 = pts[i - 1]
        p1 = pts[i]
        p2 = pts[(i + 1) % n]
        a = (p1[0] + (p0[0] - p1[0]) * 0.18, p1[1] + (p0[1] - p1[1]) * 0.18)
        b = (p1[0] + (p2[0] - p1[0]) * 0.18, p1[1] + (p2[1] - p1[1]) * 0.18)
        if i == 0:
            c.move_to(*a)
        else:
            c.line_to(*a)
        c.curve_to(p1[0], p1[1], p1[0], p1[1], b[0], b[1])
    c.close_path()


def heart_path(c, cx, cy, s):
    c.new_sub_path()
    c.move_to(cx, cy + s * 0.9)
    c.curve_to(cx - s * 1.25, cy + s * 0.05, cx - s * 0.85, cy - s * 1.0, cx, cy - s * 0.35)
    c.curve_to(cx + s * 0.85, cy - s * 1.0, cx + s * 1.25, cy + s * 0.05, cx, cy + s * 0.9)
    c.close_path()


def polygon(c, pts, smooth=0.0):
    """Closed polygon; with smooth > 0 its corners are rounded by that fraction."""
    n = len(pts)
    c.new_sub_path()
    if smooth <= 0:
        c.move_to(*pts[0])
        for p in pts[1:]:
            c.line_to(*p)
        c.close_path()
        return
    for i in range(n):
        p0, p1, p2 = pts[i - 1], pts[i], pts[(i + 1) % n]
        a = (p1[0] + (p0[0] - p1[0]) * smooth, p1[1] + (p0[1] - p1[1]) * smooth)
        b = (p1[0] + (p2[0] - p1[0]) * smooth, p1[1] + (p2[1] - p1[1]) * smooth)
        if i == 0:
            c.move_to(*a)
        else:
            c.line_to(*a)
        c.curve_to(p1[0], p1[1], p1[0], p1[1], b[0], b[1])
    c.close_path()


# ---------------------------------------------------------------- fills

def vertical_gradient(y0, y1, stops):
    g = cairo.LinearGradient(0, y0, 0, y1)
    for off, col in stops:
        g.add_color_stop_rgba(off, *col)
    return g


def radial(cx, cy, r, stops, fx=None, fy=None):
    g = cairo.RadialGradient(cx if fx is None else fx, cy if fy is None else fy, 0, cx, cy, r)
    for off, col in stops:
        g.add_color_stop_rgba(off, *col)
    return g


def glossy(c, path_fn, base, bbox, outline=None, line=2.0, highlight=0.55, shade=0.35,
           light_from=(0.35, 0.25)):
    """Fills a shape the house way: a soft radial gradient lit from the upper left, a darker
    outline, and a light highlight ellipse near the top."""
    x, y, w, h = bbox
    if outline is None:
        outline = darker(base, 0.55)
    c.save()
    path_fn(c)
    c.set_source(radial(x + w * light_from[0], y + h * light_from[1], max(w, h) * 0.95,
                        [(0.0, lighter(base, 0.35)), (0.55, base), (1.0, darker(base, shade))]))
    c.fill_preserve()
    if line > 0:
        c.set_source_rgba(*outline)
        c.set_line_width(line)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.stroke()
    else:
        c.new_path()
    if highlight > 0:
        path_fn(c)
        c.clip()
        ellipse(c, x + w * 0.38, y + h * 0.24, w * 0.28, h * 0.14)
        c.set_source(radial(x + w * 0.38, y + h * 0.24, max(w * 0.28, 1),
                            [(0.0, (1, 1, 1, highlight)), (1.0, (1, 1, 1, 0.0))]))
        c.fill()
    c.restore()


def soft_shadow(c, path_fn, dx=0, dy=3, alpha=0.25, spread=(3, 2)):
    """A cheap blurred drop shadow: the shape stroked a few times with falling alpha."""
    c.save()
    c.translate(dx, dy)
    for i in range(spread[0], 0, -1):
        path_fn(c)
        c.set_source_rgba(0.2, 0.08, 0.04, alpha / (spread[0] + 1))
        c.set_line_width(i * spread[1] * 2)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.stroke()
    path_fn(c)
    c.set_source_rgba(0.2, 0.08, 0.04, alpha)
    c.fill()
    c.restore()


def text_extents(c, text, size, face=FONT_SANS, bold=True, italic=False):
    c.select_font_face(face, cairo.FONT_SLANT_ITALIC if italic else cairo.FONT_SLANT_NORMAL,
                       cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    c.set_font_size(size)
    return c.text_extents(text)


def fancy_text(c, text, cx, cy, size, fill_top, fill_bottom, outline=OUTLINE, outline_w=4.0,
               face=FONT_SANS, bold=True, italic=False, shadow=True, glow=None, highlight=True):
    """Centred title text: a gradient fill, a thick dark outline, a drop shadow and a thin
    light line along the top of the letters."""
    ext = text_extents(c, text, size, face, bold, italic)
    x = cx - ext.x_advance / 2.0
    y = cy - (ext.y_bearing + ext.height / 2.0)
    top = cy - ext.height / 2.0
    bottom = cy + ext.height / 2.0
    c.save()
    if glow is not None:
        c.move_to(x, y)
        c.text_path(text)
        c.set_source_rgba(*glow)
        c.set_line_width(outline_w * 3.2)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.stroke()
    if shadow:
        c.move_to(x + size * 0.03, y + size * 0.06)
        c.text_path(text)
        c.set_source_rgba(0.15, 0.05, 0.03, 0.35)
        c.set_line_width(outline_w * 1.6)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.stroke_preserve()
        c.fill()
    c.move_to(x, y)
    c.text_path(text)
    c.set_source_rgba(*outline)
    c.set_line_width(outline_w * 2)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.stroke_preserve()
    c.set_source(vertical_gradient(top, bottom, [(0.0, fill_top), (1.0, fill_bottom)]))
    c.fill()
    if highlight:
        c.move_to(x, y)
        c.text_path(text)
        c.clip()
        c.rectangle(x - 4, top - 4, ext.x_advance + 8, (bottom - top) * 0.42 + 4)
        c.set_source_rgba(1, 1, 1, 0.28)
        c.fill()
    c.restore()
    return ext


def plain_text(c, text, cx, cy, size, color, face=FONT_SANS, bold=True, italic=False):
    ext = text_extents(c, text, size, face, bold, italic)
    c.move_to(cx - ext.x_advance / 2.0, cy - (ext.y_bearing + ext.height / 2.0))
    c.set_source_rgba(*color)
    c.show_text(text)
    return ext


def sprinkle_noise(c, w, h, count, seed, colors, rmin=0.5, rmax=1.5):
    rnd = random.Random(seed)
    for _ in range(count):
        col = rnd.choice(colors)
        ellipse(c, rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(rmin, rmax), rnd.uniform(rmin, rmax))
        c.set_source_rgba(*col)
        c.fill()
