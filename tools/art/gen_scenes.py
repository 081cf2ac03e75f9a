"""Scene backgrounds (800 × 600 JPEG), twinkles, the pistachio dialog centre and tool
pictures (the trophies have a generator of their own)."""

import math
import random

import cairo

from common import (BLUEBERRY, CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, CREAM,
                    CREAM_DARK, LAVENDER, LEMON, MILK_CHOCOLATE, MINT, OUTLINE, PEACH, PISTACHIO,
                    PISTACHIO_DARK, PISTACHIO_LIGHT, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, ROSE,
                    SUGAR, TWILIGHT, darker, ellipse, glossy, heart_path, hexrgb, lighter, manifest, mix,
                    new_surface, out_path, plain_text, polygon, radial, rounded_rect, rounded_star_path,
                    save_frames, save_png, sprinkle_noise, star_path, vertical_gradient,
                    with_alpha)

G_BACK = "Scene backgrounds (800 × 600 JPEG)"
G_FX = "Effects"
G_TOOL = "Tools (section \"tools\")"


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def save_jpeg(surface, rel, purpose, group=G_BACK):
    from PIL import Image
    w, h = surface.get_width(), surface.get_height()
    im = Image.frombuffer("RGBA", (w, h), bytes(surface.get_data()), "raw", "BGRA", 0, 1).convert("RGB")
    path = out_path(rel)
    im.save(path, "JPEG", quality=86, optimize=True)
    manifest.add(path, purpose, "%d×%d" % (w, h), "1 frame, JPEG", group)


# ---------------------------------------------------------------- rooms

def wallpaper(c, w, h, base, stripe, motif, seed):
    c.set_source_rgba(*base)
    c.paint()
    for x in range(0, w, 40):
        c.rectangle(x, 0, 18, h)
        c.set_source_rgba(*with_alpha(stripe, 0.35))
        c.fill()
    rnd = random.Random(seed)
    for j, y in enumerate(range(30, h, 60)):
        for x in range(29 + (20 if j % 2 else 0), w, 40):
            if motif == "heart":
                heart_path(c, x, y, 4)
            elif motif == "star":
                rounded_star_path(c, x, y, 5, 2, 5)
            else:
                ellipse(c, x, y, 3, 3)
            c.set_source_rgba(*with_alpha(darker(base, 0.2), 0.35))
            c.fill()


def vignette(c, w, h, strength=0.35):
    c.set_source(radial(w / 2.0, h / 2.0, w * 0.75, [(0.55, (0, 0, 0, 0)), (1, (0.2, 0.08, 0.04, strength))]))
    c.paint()


def window(c, x, y, w, h, sky_top, sky_bottom):
    rounded_rect(c, x - 10, y - 10, w + 20, h + 20, 16)
    c.set_source_rgba(*CARAMEL)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 3)
    rounded_rect(c, x, y, w, h, 10)
    c.set_source(vertical_gradient(y, y + h, [(0, sky_top), (1, sky_bottom)]))
    c.fill()
    for k in range(3):
        ellipse(c, x + w * (0.25 + 0.3 * k), y + h * (0.3 + 0.15 * (k % 2)), w * 0.14, h * 0.06)
        c.set_source_rgba(1, 1, 1, 0.7)
        c.fill()
    c.move_to(x + w / 2.0, y)
    c.line_to(x + w / 2.0, y + h)
    c.move_to(x, y + h / 2.0)
    c.line_to(x + w, y + h / 2.0)
    stroke(c, CARAMEL_DARK, 5)
    # curtains
    for side in (0, 1):
        cx = x - 14 if side == 0 else x + w + 14
        c.new_path()
        c.move_to(cx, y - 16)
        c.curve_to(cx + (40 if side == 0 else -40), y + h * 0.3, cx + (10 if side == 0 else -10), y + h * 0.6,
                   cx + (30 if side == 0 else -30), y + h + 10)
        c.line_to(cx, y + h + 10)
        c.close_path()
        c.set_source(vertical_gradient(y, y + h, [(0, RASPBERRY_LIGHT), (1, RASPBERRY)]))
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 2)


def shelf(c, x, y, w, items):
    rounded_rect(c, x, y, w, 12, 4)
    c.set_source(vertical_gradient(y, y + 12, [(0, CARAMEL_LIGHT), (1, CARAMEL_DARK)]))
    c.fill_preserve()
    stroke(c, darker(CARAMEL_DARK, 0.4), 2)
    for i, (kind, col) in enumerate(items):
        ix = x + 24 + i * (w - 48) / max(1, len(items) - 1)
        if kind == "jar":
            rounded_rect(c, ix - 14, y - 40, 28, 40, 6)
            c.set_source_rgba(*with_alpha(lighter(col, 0.3), 0.9))
            c.fill_preserve()
            stroke(c, darker(col, 0.5), 2)
            rounded_rect(c, ix - 16, y - 46, 32, 8, 3)
            c.set_source_rgba(*RASPBERRY)
            c.fill()
        elif kind == "pot":
            ellipse(c, ix, y - 16, 18, 16)
            c.set_source_rgba(*col)
            c.fill_preserve()
            stroke(c, darker(col, 0.5), 2)
        elif kind == "cake":
            rounded_rect(c, ix - 20, y - 26, 40, 26, 5)
            c.set_source_rgba(*col)
            c.fill_preserve()
            stroke(c, darker(col, 0.5), 2)
            rounded_rect(c, ix - 20, y - 28, 40, 7, 3)
            c.set_source_rgba(*SUGAR)
            c.fill()


def floor(c, w, h, y, col_a, col_b):
    for i, x in enumerate(range(-40, w + 40, 40)):
        for j, yy in enumerate(range(y, h, 30)):
            rounded_rect(c, x + (20 if j % 2 else 0), yy, 40, 30, 2)
            c.set_source_rgba(*(col_a if (i + j) % 2 == 0 else col_b))
            c.fill()


def counter(c, w, y, h, top, front):
    rounded_rect(c, -10, y, w + 20, 18, 6)
    c.set_source(vertical_gradient(y, y + 18, [(0, lighter(top, 0.2)), (1, top)]))
    c.fill_preserve()
    stroke(c, darker(top, 0.5), 2)
    c.rectangle(0, y + 18, w, h)
    c.set_source(vertical_gradient(y + 18, y + 18 + h, [(0, front), (1, darker(front, 0.2))]))
    c.fill()
    for x in range(30, w, 120):
        rounded_rect(c, x, y + 34, 100, h - 30, 10)
        stroke(c, with_alpha(darker(front, 0.4), 0.6), 2.5)


def bg_selection():
    w, h = 800, 600
    s, c = new_surface(w, h)
    wallpaper(c, w, h, hexrgb("FBE3D6"), RASPBERRY_LIGHT, "heart", 1)
    # The wall leaves room for the career door (x 250) and the arcade door (x 450)
    # between the shelves and the window.
    window(c, 630, 70, 150, 170, hexrgb("9A7CC4"), hexrgb("FFC7A6"))
    shelf(c, 24, 200, 200, [("jar", LEMON), ("cake", PINK()), ("pot", MINT)])
    shelf(c, 24, 330, 200, [("pot", PEACH), ("jar", PISTACHIO_LIGHT), ("cake", LAVENDER)])
    floor(c, w, h, 470, hexrgb("E9D3BE"), hexrgb("D9BEA6"))
    counter(c, w, 430, 120, CARAMEL_LIGHT, hexrgb("F4CFC0"))
    vignette(c, w, h)
    return s


def PINK():
    return hexrgb("F9C3D2")


def bg_map():
    w, h = 800, 600
    s, c = new_surface(w, h)
    c.set_source(vertical_gradient(0, h, [(0, hexrgb("BFE6F2")), (0.35, hexrgb("DFF2E0")), (1, hexrgb("CFE8B0"))]))
    c.paint()
    rnd = random.Random(5)
    # rolling hills
    for k, (y, col) in enumerate(((220, hexrgb("B9DD98")), (300, hexrgb("A9D488")), (400, hexrgb("9CCB78")), (500, hexrgb("8FC26C")))):
        c.move_to(0, y)
        for x in range(0, w + 80, 80):
            c.curve_to(x + 20, y - 30 - 10 * math.sin(x + k), x + 60, y - 30 + 10 * math.cos(x * 0.3 + k), x + 80, y)
        c.line_to(w, h)
        c.line_to(0, h)
        c.close_path()
        c.set_source(vertical_gradient(y - 40, h, [(0, lighter(col, 0.1)), (1, col)]))
        c.fill()
    # Trees stay on the far hills: the map's themes and road scroll over the rest.
    for _ in range(18):
        x, y = rnd.uniform(0, w), rnd.uniform(196, 246)
        r = rnd.uniform(8, 15)
        ellipse(c, x, y + r, r * 0.15, r * 0.2)
        glossy(c, lambda cc, x=x, y=y, r=r: ellipse(cc, x, y, r, r * 0.9), rnd.choice([PISTACHIO, hexrgb("7DB85A"), PISTACHIO_LIGHT]),
               (x - r, y - r, 2 * r, 2 * r), line=2, highlight=0.3)
    for _ in range(5):
        x, y = rnd.uniform(0, w), rnd.uniform(20, 140)
        for k in range(4):
            ellipse(c, x + k * 22, y - (8 if k % 2 else 0), 24, 16)
        c.set_source_rgba(1, 1, 1, 0.8)
        c.fill()
    vignette(c, w, h, 0.25)
    return s


def bg_game(exam=False):
    w, h = 800, 600
    s, c = new_surface(w, h)
    base = hexrgb("E7DDF3") if exam else hexrgb("FFF1DF")
    c.set_source_rgba(*base)
    c.paint()
    # tiled kitchen wall
    tile_col = hexrgb("D7CBEB") if exam else hexrgb("DDEFD2")
    for i, x in enumerate(range(0, w, 40)):
        for j, y in enumerate(range(0, 440, 40)):
            if (i + j) % 2 == 0:
                rounded_rect(c, x + 2, y + 2, 36, 36, 5)
                c.set_source_rgba(*with_alpha(tile_col, 0.9))
                c.fill()
    for x in range(0, w, 40):
        c.move_to(x, 0)
        c.line_to(x, 440)
    for y in range(0, 440, 40):
        c.move_to(0, y)
        c.line_to(w, y)
    stroke(c, with_alpha(SUGAR, 0.8), 2)
    # a window high on the right and hanging utensils on the left
    if exam:
        window(c, 600, 40, 160, 150, hexrgb("4A4392"), hexrgb("F2A7BE"))
    else:
        window(c, 600, 40, 160, 150, hexrgb("9ED4F0"), hexrgb("E8F6FF"))
    rounded_rect(c, 20, 40, 200, 10, 5)
    c.set_source_rgba(*CHOCOLATE)
    c.fill()
    for i, x in enumerate((50, 100, 150, 195)):
        c.move_to(x, 50)
        c.line_to(x, 80)
        stroke(c, hexrgb("8A8A96"), 2)
        if i % 2 == 0:
            ellipse(c, x, 100, 14, 20)
            stroke(c, hexrgb("A0A0AC"), 3)
        else:
            ellipse(c, x, 96, 16, 16)
            c.set_source_rgba(*hexrgb("C0C0CC"))
            c.fill_preserve()
            stroke(c, hexrgb("7A7A88"), 2)
            rounded_rect(c, x - 3, 112, 6, 30, 3)
            c.set_source_rgba(*CHOCOLATE)
            c.fill()
    if exam:
        for k, x in enumerate((260, 360)):
            rounded_rect(c, x, 60, 70, 90, 4)
            c.set_source_rgba(*SUGAR)
            c.fill_preserve()
            stroke(c, CARAMEL_DARK, 4)
            for line in range(4):
                c.move_to(x + 12, 80 + line * 14)
                c.line_to(x + 58, 80 + line * 14)
            stroke(c, with_alpha(CHOCOLATE, 0.4), 2)
            rounded_star_path(c, x + 35, 136, 8, 3.5, 5)
            c.set_source_rgba(*LEMON)
            c.fill()
    counter(c, w, 440, 160, hexrgb("F3E6D8") if not exam else hexrgb("E9E1F1"),
            hexrgb("C98A6A") if not exam else hexrgb("9A88B8"))
    vignette(c, w, h, 0.3)
    return s


# Where the tool shop's shelves and counter stand (the shop's layout places
# the tools on the shelves and the vendor behind the counter).
TOOLSHOP_SHELVES = (146, 290)
TOOLSHOP_COUNTER_Y = 470
TOOLSHOP_COUNTER_H = 110


def toolshop_counter(c, w):
    counter(c, w, TOOLSHOP_COUNTER_Y, TOOLSHOP_COUNTER_H, CARAMEL_LIGHT, hexrgb("A8C890"))


def bg_toolshop():
    w, h = 800, 600
    s, c = new_surface(w, h)
    wallpaper(c, w, h, hexrgb("E6F2DA"), PISTACHIO, "star", 3)
    # bare shelves: the tools stand on them
    for y in TOOLSHOP_SHELVES:
        shelf(c, 40, y, 720, [])
    floor(c, w, h, 560, hexrgb("E9D3BE"), hexrgb("D9BEA6"))
    toolshop_counter(c, w)
    # bunting
    c.move_to(0, 30)
    c.curve_to(200, 70, 600, 70, 800, 30)
    stroke(c, CHOCOLATE, 2)
    for i in range(16):
        t = (i + 0.5) / 16
        x = t * 800
        y = 30 + 40 * math.sin(t * math.pi) * 0.9
        polygon(c, [(x - 16, y), (x + 16, y), (x, y + 28)], 0.1)
        c.set_source_rgba(*[RASPBERRY, SUGAR, PISTACHIO, LEMON][i % 4])
        c.fill_preserve()
        stroke(c, OUTLINE, 1.5)
    vignette(c, w, h, 0.3)
    return s


def bg_arcade():
    w, h = 800, 600
    s, c = new_surface(w, h)
    c.set_source(vertical_gradient(0, h, [(0, hexrgb("5A2A5E")), (1, hexrgb("8E3A62"))]))
    c.paint()
    for i, x in enumerate(range(-60, w + 60, 60)):
        c.save()
        c.move_to(w / 2.0, -200)
        c.line_to(x, h)
        c.line_to(x + 60, h)
        c.close_path()
        c.set_source_rgba(*(RASPBERRY if i % 2 == 0 else hexrgb("FBE3D6")))
        c.fill()
        c.restore()
    c.set_source(radial(w / 2.0, 120, 500, [(0, (1, 0.95, 0.8, 0.55)), (1, (1, 0.95, 0.8, 0))]))
    c.paint()
    for x in range(20, w, 48):
        glossy(c, lambda cc, x=x: ellipse(cc, x, 24, 9, 9), LEMON, (x - 9, 15, 18, 18), line=1.5, highlight=0.7)
    counter(c, w, 450, 150, CARAMEL_LIGHT, hexrgb("8A5AB8"))
    vignette(c, w, h, 0.35)
    return s


# ---------------------------------------------------------------- twinkles, ice centre

def twinkle(size):
    s, c = new_surface(size, size)
    cx = cy = size / 2.0
    ellipse(c, cx, cy, size / 2.0, size / 2.0)
    c.set_source(radial(cx, cy, size / 2.0, [(0, (1, 1, 0.9, 0.8)), (0.4, (1, 0.95, 0.7, 0.3)), (1, (1, 0.9, 0.6, 0))]))
    c.fill()
    star_path(c, cx, cy, size * 0.48, size * 0.07, 4)
    c.set_source_rgba(1, 1, 0.95, 1)
    c.fill()
    star_path(c, cx, cy, size * 0.26, size * 0.05, 4, math.pi / 4 - math.pi / 2)
    c.set_source_rgba(1, 1, 0.95, 0.9)
    c.fill()
    return s


def ice_centre(w=728, h=528):
    s, c = new_surface(w, h)
    c.set_source_rgba(*hexrgb("F3FAEE"))
    c.paint()
    sprinkle_noise(c, w, h, 700, 33, [with_alpha(PISTACHIO_LIGHT, 0.25), with_alpha(SUGAR, 0.9)], 0.6, 1.6)
    rnd = random.Random(34)
    for _ in range(40):
        x, y, r = rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(4, 9)
        for k in range(3):
            a = k * math.pi / 3
            c.move_to(x - r * math.cos(a), y - r * math.sin(a))
            c.line_to(x + r * math.cos(a), y + r * math.sin(a))
        stroke(c, with_alpha(PISTACHIO_LIGHT, 0.35), 1.2)
    return s


# ---------------------------------------------------------------- tools

def tool_glyph(c, i, cx, cy, r):
    """Fourteen kitchen tools, each a distinct silhouette."""
    if i == 0:  # ripening sun
        for k in range(10):
            a = k * math.pi / 5
            polygon(c, [(cx + r * 0.55 * math.cos(a - 0.2), cy + r * 0.55 * math.sin(a - 0.2)),
                        (cx + r * 0.95 * math.cos(a), cy + r * 0.95 * math.sin(a)),
                        (cx + r * 0.55 * math.cos(a + 0.2), cy + r * 0.55 * math.sin(a + 0.2))])
            c.set_source_rgba(*hexrgb("F7A23A"))
            c.fill()
        glossy(c, lambda cc: ellipse(cc, cx, cy, r * 0.55, r * 0.55), LEMON, (cx - r * 0.55, cy - r * 0.55, r * 1.1, r * 1.1), line=2)
    elif i == 1:  # speedy meter
        c.new_path()
        c.arc(cx, cy + r * 0.2, r * 0.8, math.pi, 2 * math.pi)
        c.close_path()
        glossy(c, lambda cc: (cc.new_path(), cc.arc(cx, cy + r * 0.2, r * 0.8, math.pi, 2 * math.pi), cc.close_path()),
               SUGAR, (cx - r * 0.8, cy - r * 0.6, r * 1.6, r * 0.8), line=2.5, highlight=0.2)
        c.move_to(cx, cy + r * 0.15)
        c.line_to(cx + r * 0.5, cy - r * 0.35)
        stroke(c, RASPBERRY, 4)
        ellipse(c, cx, cy + r * 0.15, 4, 4)
        c.set_source_rgba(*OUTLINE)
        c.fill()
    elif i == 2:  # golden whisk
        c.move_to(cx, cy + r * 0.9)
        c.line_to(cx, cy + r * 0.2)
        stroke(c, CARAMEL_DARK, 7)
        for k in (-1, -0.5, 0, 0.5, 1):
            c.move_to(cx, cy + r * 0.2)
            c.curve_to(cx + k * r * 0.9, cy - r * 0.2, cx + k * r * 0.7, cy - r * 0.9, cx, cy - r * 0.95)
            stroke(c, hexrgb("E8B838"), 3)
    elif i == 3:  # bonus jar
        glossy(c, lambda cc: rounded_rect(cc, cx - r * 0.6, cy - r * 0.5, r * 1.2, r * 1.3, 10), with_alpha(hexrgb("BFE3F2"), 1),
               (cx - r * 0.6, cy - r * 0.5, r * 1.2, r * 1.3), line=2.5, highlight=0.5)
        rounded_rect(c, cx - r * 0.7, cy - r * 0.8, r * 1.4, r * 0.35, 5)
        c.set_source_rgba(*RASPBERRY)
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 2)
        rounded_star_path(c, cx, cy + r * 0.15, r * 0.4, r * 0.18, 5)
        c.set_source_rgba(*LEMON)
        c.fill()
    elif i == 4:  # fruit basket
        c.new_path()
        c.arc_negative(cx, cy, r * 0.6, math.pi, 0)
        stroke(c, CARAMEL_DARK, 5)
        glossy(c, lambda cc: ellipse(cc, cx - r * 0.25, cy - r * 0.05, r * 0.25, r * 0.25), RASPBERRY, (cx - r * 0.5, cy - r * 0.3, r * 0.5, r * 0.5), line=2)
        glossy(c, lambda cc: ellipse(cc, cx + r * 0.25, cy - r * 0.05, r * 0.25, r * 0.22), LEMON, (cx, cy - r * 0.3, r * 0.5, r * 0.5), line=2)
        polygon(c, [(cx - r * 0.85, cy + r * 0.05), (cx + r * 0.85, cy + r * 0.05), (cx + r * 0.6, cy + r * 0.85), (cx - r * 0.6, cy + r * 0.85)], 0.12)
        c.set_source_rgba(*CARAMEL_LIGHT)
        c.fill_preserve()
        stroke(c, CARAMEL_DARK, 2.5)
    elif i == 5:  # cocoa spoon
        c.save()
        c.translate(cx, cy)
        c.rotate(-0.7)
        rounded_rect(c, -4, 0, 8, r * 1.0, 4)
        c.set_source_rgba(*CARAMEL)
        c.fill_preserve()
        stroke(c, CARAMEL_DARK, 2)
        glossy(c, lambda cc: ellipse(cc, 0, -r * 0.3, r * 0.38, r * 0.5), hexrgb("C0C0CC"), (-r * 0.38, -r * 0.8, r * 0.76, r), line=2.5)
        ellipse(c, 0, -r * 0.28, r * 0.26, r * 0.34)
        c.set_source_rgba(*MILK_CHOCOLATE)
        c.fill()
        c.restore()
    elif i == 6:  # star sprinkler
        rounded_rect(c, cx - r * 0.4, cy - r * 0.3, r * 0.8, r * 1.1, 8)
        c.set_source_rgba(*SUGAR)
        c.fill_preserve()
        stroke(c, OUTLINE, 2.5)
        ellipse(c, cx, cy - r * 0.35, r * 0.42, r * 0.18)
        c.set_source_rgba(*hexrgb("C0C0CC"))
        c.fill_preserve()
        stroke(c, OUTLINE, 2)
        for dx, dy in ((-0.5, -0.8), (0.1, -0.95), (0.6, -0.7)):
            rounded_star_path(c, cx + dx * r, cy + dy * r, r * 0.17, r * 0.07, 5)
            c.set_source_rgba(*LEMON)
            c.fill()
    elif i == 7:  # steady hand (oven mitt)
        def mitt(cc):
            cc.new_path()
            cc.move_to(cx - r * 0.45, cy + r * 0.8)
            cc.line_to(cx - r * 0.5, cy - r * 0.2)
            cc.curve_to(cx - r * 0.5, cy - r * 0.9, cx + r * 0.3, cy - r * 0.9, cx + r * 0.3, cy - r * 0.2)
            cc.curve_to(cx + r * 0.8, cy - r * 0.5, cx + r * 0.9, cy, cx + r * 0.4, cy + r * 0.2)
            cc.line_to(cx + r * 0.4, cy + r * 0.8)
            cc.close_path()
        glossy(c, mitt, RASPBERRY_LIGHT, (cx - r * 0.5, cy - r * 0.9, r * 1.4, r * 1.7), line=2.5)
        rounded_rect(c, cx - r * 0.5, cy + r * 0.55, r * 0.95, r * 0.3, 4)
        c.set_source_rgba(*SUGAR)
        c.fill_preserve()
        stroke(c, OUTLINE, 2)
    elif i == 8:  # magic spatula
        c.save()
        c.translate(cx, cy)
        c.rotate(0.6)
        rounded_rect(c, -4, 0, 8, r * 0.95, 4)
        c.set_source_rgba(*CHOCOLATE)
        c.fill()
        glossy(c, lambda cc: rounded_rect(cc, -r * 0.35, -r * 0.95, r * 0.7, r * 0.95, 10), PISTACHIO, (-r * 0.35, -r * 0.95, r * 0.7, r * 0.95), line=2.5)
        c.restore()
        rounded_star_path(c, cx - r * 0.55, cy - r * 0.6, r * 0.2, r * 0.08, 4)
        c.set_source_rgba(*LEMON)
        c.fill()
    elif i == 9:  # quick oven
        glossy(c, lambda cc: rounded_rect(cc, cx - r * 0.8, cy - r * 0.65, r * 1.6, r * 1.4, 8), hexrgb("C0C0CC"),
               (cx - r * 0.8, cy - r * 0.65, r * 1.6, r * 1.4), line=2.5, highlight=0.3)
        rounded_rect(c, cx - r * 0.6, cy - r * 0.25, r * 1.2, r * 0.85, 5)
        c.set_source(radial(cx, cy + r * 0.2, r, [(0, hexrgb("FFD070")), (1, hexrgb("E8702A"))]))
        c.fill_preserve()
        stroke(c, OUTLINE, 2)
        for k in range(3):
            ellipse(c, cx - r * 0.4 + k * r * 0.4, cy - r * 0.45, 3, 3)
            c.set_source_rgba(*OUTLINE)
            c.fill()
    elif i == 10:  # ice box
        glossy(c, lambda cc: rounded_rect(cc, cx - r * 0.7, cy - r * 0.6, r * 1.4, r * 1.3, 8), hexrgb("BFE3F2"),
               (cx - r * 0.7, cy - r * 0.6, r * 1.4, r * 1.3), line=2.5, highlight=0.5)
        for k in range(3):
            a = k * math.pi / 3
            c.move_to(cx - r * 0.4 * math.cos(a), cy + r * 0.05 - r * 0.4 * math.sin(a))
            c.line_to(cx + r * 0.4 * math.cos(a), cy + r * 0.05 + r * 0.4 * math.sin(a))
        stroke(c, SUGAR, 3.5)
    elif i == 11:  # helping hand
        glossy(c, lambda cc: ellipse(cc, cx, cy + r * 0.15, r * 0.5, r * 0.55), hexrgb("FFD3B0"), (cx - r * 0.5, cy - r * 0.4, r, r * 1.1), line=2.5)
        for k in range(4):
            rounded_rect(c, cx - r * 0.45 + k * r * 0.25, cy - r * 0.85, r * 0.2, r * 0.7, 5)
            c.set_source_rgba(*hexrgb("FFD3B0"))
            c.fill_preserve()
            stroke(c, OUTLINE, 2)
        heart_path(c, cx, cy + r * 0.2, r * 0.2)
        c.set_source_rgba(*RASPBERRY)
        c.fill()
    elif i == 12:  # recipe book
        glossy(c, lambda cc: rounded_rect(cc, cx - r * 0.65, cy - r * 0.8, r * 1.3, r * 1.6, 6), RASPBERRY,
               (cx - r * 0.65, cy - r * 0.8, r * 1.3, r * 1.6), line=2.5, highlight=0.3)
        rounded_rect(c, cx - r * 0.45, cy - r * 0.45, r * 0.9, r * 0.5, 4)
        c.set_source_rgba(*SUGAR)
        c.fill()
        heart_path(c, cx, cy - r * 0.22, r * 0.13)
        c.set_source_rgba(*RASPBERRY)
        c.fill()
    else:  # star catcher
        c.new_path()
        c.arc(cx, cy - r * 0.2, r * 0.55, 0, math.pi)
        c.close_path()
        glossy(c, lambda cc: (cc.new_path(), cc.arc(cx, cy - r * 0.2, r * 0.55, 0, math.pi), cc.close_path()),
               CARAMEL_LIGHT, (cx - r * 0.55, cy - r * 0.2, r * 1.1, r * 0.55), line=2.5)
        c.move_to(cx, cy + r * 0.35)
        c.line_to(cx, cy + r * 0.9)
        stroke(c, CARAMEL_DARK, 5)
        rounded_star_path(c, cx, cy - r * 0.5, r * 0.35, r * 0.15, 5)
        c.set_source_rgba(*LEMON)
        c.fill_preserve()
        stroke(c, CARAMEL_DARK, 2)


TOOL_COLOURS = [LEMON, MINT, CARAMEL_LIGHT, hexrgb("BFE3F2"), PISTACHIO_LIGHT, hexrgb("E8C8A0"), LAVENDER,
                RASPBERRY_LIGHT, PISTACHIO_LIGHT, hexrgb("FFC6A0"), hexrgb("BFE3F2"), hexrgb("FFD3B0"), ROSE, LEMON]


def tool_icon(i, size):
    s, c = new_surface(size, size)
    k = size / 100.0
    c.scale(k, k)
    tool_glyph(c, i, 50, 52, 40)
    return s


def round_frame(i, state, size, shop):
    s, c = new_surface(size, size)
    k = size / 100.0
    c.scale(k, k)
    base = TOOL_COLOURS[i]
    if state == "over":
        base = lighter(base, 0.25)
    elif state == "pressed":
        base = darker(base, 0.15)
    elif state == "disabled":
        g = base[0] * 0.3 + base[1] * 0.59 + base[2] * 0.11
        base = (g, g, g, 1)
    off = 2 if state == "pressed" else 0
    rim = CARAMEL if not shop else RASPBERRY
    ellipse(c, 50, 52 + off, 46, 46)
    c.set_source_rgba(0.2, 0.08, 0.04, 0.25)
    c.fill()
    glossy(c, lambda cc: ellipse(cc, 50, 49 + off, 45, 45), rim, (5, 4, 90, 90), line=2.5, highlight=0.0)
    glossy(c, lambda cc: ellipse(cc, 50, 49 + off, 38, 38), base, (12, 11, 76, 76), line=2, highlight=0.5)
    c.save()
    c.translate(0, off - 3)
    if state == "disabled":
        c.push_group()
        tool_glyph(c, i, 50, 52, 30)
        c.pop_group_to_source()
        c.paint_with_alpha(0.45)
    else:
        tool_glyph(c, i, 50, 52, 30)
    c.restore()
    if state == "over":
        ellipse(c, 50, 49, 47, 47)
        stroke(c, with_alpha(hexrgb("FFF0A0"), 0.9), 3)
    return s


def main():
    save_jpeg(bg_selection(), "media/images/selection/background.jpg", "\"SELECTION_BACKGROUND\": inside the bakery")
    save_jpeg(bg_map(), "media/images/map/background.jpg", "\"MAP_BACKGROUND\": rolling hills under a spring sky (the road scrolls with the themes)")
    save_jpeg(bg_game(False), "media/images/game/background.jpg", "\"GAME_BACKGROUND\": the kitchen, counter in the lower third")
    save_jpeg(bg_game(True), "media/images/game/exam_background.jpg", "\"EXAM_BACKGROUND\": the kitchen at dusk with diplomas")
    save_jpeg(bg_toolshop(), "media/images/toolshop/background.jpg", "\"TOOLSHOP_BACKGROUND\": shelves and bunting")
    save_jpeg(bg_arcade(), "media/images/arcade/background.jpg", "\"ARCADE_BACKGROUND\": candy-striped big top")
    save_png(twinkle(48), "media/images/effects/twinkle_large.png", "\"TWINKLE_LARGE\": four-point sparkle; pivot at its centre", "1 frame", G_FX)
    save_png(twinkle(24), "media/images/effects/twinkle_small.png", "\"TWINKLE_SMALL\"", "1 frame", G_FX)
    save_png(ice_centre(), "media/images/dialogs/frame_green_c.png",
             "\"DIALOG_ICE_C\": frosted pistachio centre for the green frame, drawn once at (36, 36)", "1 frame",
             "Dialog frames (painter pieces)")
    for i in range(14):
        save_png(tool_icon(i, 48), "media/images/tools/icon%d.png" % i, "\"TOOL_ICON%d\"" % i, "1 frame", G_TOOL)
        save_png(tool_icon(i, 128), "media/images/tools/icon%d_big.png" % i, "\"TOOL_ICON%d_BIG\"" % i, "1 frame", G_TOOL)
        save_frames([round_frame(i, st, 64, False) for st in ("normal", "over", "pressed", "disabled")],
                    "media/images/tools/button%d.png" % i, "\"TOOL_BUTTON%d\": tool slot button in play" % i, G_TOOL)
        save_frames([round_frame(i, st, 88, True) for st in ("normal", "over", "pressed", "disabled")],
                    "media/images/tools/button%d_shop.png" % i, "\"TOOL_BUTTON%d_SHOP\": the tool on the shop shelf" % i, G_TOOL)


if __name__ == "__main__":
    main()
