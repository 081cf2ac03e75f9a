"""The front door: splash pictures, "splash/branding.xml" and the loading scene's title
artwork (four parallax layers, birds, logo, loading bar, click text, door, chimney smoke,
the chef and the shop-window pastries).

The loading scene pans the four layers upwards when loading ends; these pictures are drawn
for the end positions LAYER0 y -266, LAYER1 y 36, LAYER2 y -3, LAYER3 y -104 (start
positions -17, 468, 552, 618), so that the last view shows the bakery's shop front with the
logo in the sky above it."""

import math
import random

import cairo

from common import (BLUEBERRY, CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK,
                    CREAM, CREAM_DARK, FONT_SANS, FONT_SERIF, LAVENDER, LEMON, MILK_CHOCOLATE,
                    MINT, OUTLINE, PEACH, PISTACHIO, PISTACHIO_DARK, PISTACHIO_LIGHT, RASPBERRY,
                    RASPBERRY_DARK, RASPBERRY_LIGHT, ROSE, SUGAR, TWILIGHT, VANILLA, darker, ellipse,
                    fancy_text, glossy, heart_path, hexrgb, lighter, manifest, mix, new_surface,
                    out_path, plain_text, polygon, radial, rounded_rect, rounded_star_path, save_frames,
                    save_png, star_path, text_extents, vertical_gradient, with_alpha)

G_SPLASH = "Splash scene (read from disk, not through resources)"
G_LOAD = "Loading scene title artwork"

# layer end offsets (screen y = layer y + offset at the end of the pan)
L0, L1, L2, L3 = -266, 36, -3, -104


def line_path(c, pts):
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)


def stroke(c, col, width):
    c.set_source_rgba(*col)
    c.set_line_width(width)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def cloud(c, x, y, w, col, alpha=0.85):
    rnd = random.Random(int(x * 7 + y * 13))
    c.save()
    c.push_group()
    n = 5
    for i in range(n):
        px = x + w * (i + 0.5) / n
        r = w / n * rnd.uniform(0.8, 1.25)
        ellipse(c, px, y - r * 0.35 * (1 + math.sin(i * 1.7)), r, r * 0.8)
    ellipse(c, x + w / 2.0, y + w * 0.05, w / 2.0, w * 0.12)
    c.set_source(vertical_gradient(y - w * 0.3, y + w * 0.15, [(0, lighter(col, 0.6)), (1, col)]))
    c.fill()
    c.pop_group_to_source()
    c.paint_with_alpha(alpha)
    c.restore()


# ---------------------------------------------------------------- layer 0: sky

def layer0():
    w, h = 800, 880
    s, c = new_surface(w, h)
    c.set_source(vertical_gradient(0, h, [
        (0.0, hexrgb("262760")), (0.22, hexrgb("4A4392")), (0.42, hexrgb("9A7CC4")),
        (0.58, hexrgb("F2A7BE")), (0.74, hexrgb("FFC7A6")), (1.0, hexrgb("FFEBC9"))]))
    c.paint()
    rnd = random.Random(7)
    for _ in range(140):
        x, y = rnd.uniform(0, w), rnd.uniform(0, 380)
        a = max(0.0, 1.0 - y / 420.0) * rnd.uniform(0.4, 1.0)
        r = rnd.uniform(0.6, 1.6)
        ellipse(c, x, y, r, r)
        c.set_source_rgba(1, 1, 0.9, a)
        c.fill()
    for x, y, r in ((120, 70, 5), (300, 150, 4), (520, 40, 5.5), (720, 250, 4), (60, 260, 3.5)):
        rounded_star_path(c, x, y, r * 1.6, r * 0.55, 4)
        c.set_source_rgba(1, 1, 0.88, 0.9)
        c.fill()
    # the crescent moon with a soft halo
    mx, my = 712, 120
    ellipse(c, mx, my, 90, 90)
    c.set_source(radial(mx, my, 90, [(0, (1, 0.95, 0.8, 0.35)), (1, (1, 0.95, 0.8, 0))]))
    c.fill()
    c.save()
    c.push_group()
    ellipse(c, mx, my, 44, 44)
    c.set_source(radial(mx - 10, my - 12, 50, [(0, hexrgb("FFF8D8")), (1, hexrgb("F6D77A"))]))
    c.fill()
    c.set_operator(cairo.OPERATOR_CLEAR)
    ellipse(c, mx + 22, my - 14, 38, 38)
    c.fill()
    c.pop_group_to_source()
    c.paint()
    c.restore()
    # pink clouds lower down, lit from below by the dawn
    for x, y, cw, col, a in ((-40, 430, 260, hexrgb("F7B7CB"), 0.7), (520, 470, 300, hexrgb("FAC3C9"), 0.75),
                             (180, 560, 220, hexrgb("FFD3BE"), 0.8), (620, 640, 240, hexrgb("FFDCC0"), 0.8),
                             (-30, 690, 280, hexrgb("FFE2C6"), 0.85), (360, 760, 260, hexrgb("FFE9CE"), 0.8)):
        cloud(c, x, y, cw, col, a)
    return s


# ---------------------------------------------------------------- layer 1: the far town

def layer1():
    w, h = 800, 600
    s, c = new_surface(w, h)
    far = hexrgb("B7A6D8")
    # a slender spire on the right whose tip already shows while loading
    spire_x = 700

    def spire(cc):
        polygon(cc, [(spire_x - 20, 260), (spire_x - 20, 120), (spire_x, 52), (spire_x + 20, 120), (spire_x + 20, 260)], 0.05)
    spire(c)
    c.set_source(vertical_gradient(52, 260, [(0, lighter(far, 0.25)), (1, far)]))
    c.fill_preserve()
    stroke(c, darker(far, 0.3), 2)
    ellipse(c, spire_x, 150, 7, 9)
    c.set_source_rgba(*with_alpha(LEMON, 0.9))
    c.fill()
    rounded_star_path(c, spire_x, 44, 9, 3.5, 4)
    c.set_source_rgba(*LEMON)
    c.fill()
    # hills
    c.move_to(0, 240)
    c.curve_to(150, 180, 300, 230, 420, 210)
    c.curve_to(560, 190, 680, 230, 800, 200)
    c.line_to(800, h)
    c.line_to(0, h)
    c.close_path()
    c.set_source(vertical_gradient(180, h, [(0, mix(far, PEACH, 0.25)), (1, mix(far, CREAM, 0.3))]))
    c.fill()
    # rows of little houses in haze
    rnd = random.Random(11)
    x = -10
    while x < w:
        hw = rnd.randint(34, 60)
        hh = rnd.randint(40, 90)
        base = 260 + rnd.randint(-10, 20)
        col = mix(far, rnd.choice([ROSE, PEACH, MINT, CREAM]), 0.35)
        top = base - hh
        polygon(c, [(x, base + 60), (x, top), (x + hw / 2.0, top - hw * 0.45), (x + hw, top), (x + hw, base + 60)], 0.04)
        c.set_source_rgba(*col)
        c.fill_preserve()
        stroke(c, darker(far, 0.25), 1.5)
        for wy in range(int(top + 10), int(base), 18):
            for wx in (x + hw * 0.3, x + hw * 0.7):
                rounded_rect(c, wx - 4, wy, 8, 10, 2)
                c.set_source_rgba(1.0, 0.9, 0.6, 0.75)
                c.fill()
        x += hw + rnd.randint(-6, 8)
    c.rectangle(0, 300, w, h - 300)
    c.set_source(vertical_gradient(300, h, [(0, with_alpha(mix(far, PEACH, 0.4), 0.9)), (1, mix(far, CREAM, 0.4))]))
    c.fill()
    return s


# ---------------------------------------------------------------- layer 2: trees and neighbours

def tree(c, x, y, r, col):
    c.rectangle(x - r * 0.12, y, r * 0.24, r * 1.2)
    c.set_source_rgba(*MILK_CHOCOLATE)
    c.fill()
    rnd = random.Random(int(x * 3 + y))

    def crown(cc):
        for i in range(6):
            a = i * math.pi / 3 + rnd.uniform(-0.2, 0.2)
            ellipse(cc, x + math.cos(a) * r * 0.45, y - r * 0.2 + math.sin(a) * r * 0.35, r * 0.55, r * 0.5)
        ellipse(cc, x, y - r * 0.2, r * 0.6, r * 0.55)
    c.push_group()
    crown(c)
    c.set_source_rgba(*darker(col, 0.4))
    c.set_line_width(4)
    c.stroke()
    crown(c)
    c.set_source(radial(x - r * 0.3, y - r * 0.6, r * 1.4, [(0, lighter(col, 0.35)), (0.6, col), (1, darker(col, 0.25))]))
    c.fill()
    c.pop_group_to_source()
    c.paint()


def chimney(c, cx, cy, cw, ch):
    rounded_rect(c, cx, cy, cw, ch, 3)
    c.set_source(vertical_gradient(cy, cy + ch, [(0, hexrgb("C9765A")), (1, hexrgb("9A4E3A"))]))
    c.fill_preserve()
    stroke(c, OUTLINE, 2)
    rounded_rect(c, cx - 4, cy - 4, cw + 8, 10, 3)
    c.set_source_rgba(*hexrgb("7D3C2C"))
    c.fill_preserve()
    stroke(c, OUTLINE, 2)


def house(c, x, y_base, w, h, wall, roof, seed, with_chimney=False):
    rnd = random.Random(seed)
    top = y_base - h
    if with_chimney:
        chimney(c, *CHIMNEY)
    rounded_rect(c, x, top, w, h + 400, 3)
    c.set_source(vertical_gradient(top, y_base, [(0, lighter(wall, 0.2)), (1, wall)]))
    c.fill_preserve()
    stroke(c, darker(wall, 0.5), 2)
    polygon(c, [(x - 10, top + 4), (x + w / 2.0, top - w * 0.42), (x + w + 10, top + 4)], 0.08)
    c.set_source(vertical_gradient(top - w * 0.4, top, [(0, lighter(roof, 0.2)), (1, roof)]))
    c.fill_preserve()
    stroke(c, darker(roof, 0.5), 2)
    for wy in range(int(top + 24), int(y_base) - 30, 64):
        for i in range(2):
            wx = x + w * (0.28 + 0.44 * i) - 13
            rounded_rect(c, wx, wy, 26, 34, 12)
            lit = rnd.random() < 0.6
            c.set_source_rgba(*(hexrgb("FFE7A0") if lit else hexrgb("8E7FB5")))
            c.fill_preserve()
            stroke(c, darker(wall, 0.55), 1.8)
            c.move_to(wx + 13, wy + 2)
            c.line_to(wx + 13, wy + 34)
            c.move_to(wx, wy + 18)
            c.line_to(wx + 26, wy + 18)
            stroke(c, with_alpha(darker(wall, 0.5), 0.8), 1.4)


def layer2():
    w, h = 800, 620
    s, c = new_surface(w, h)
    house(c, -30, 620, 170, 300, hexrgb("BFE3D2"), hexrgb("7E8FC8"), 1)
    house(c, 650, 620, 180, 330, hexrgb("FFD2B5"), RASPBERRY_DARK, 2, with_chimney=True)
    for x, y, r, col in ((150, 330, 70, PISTACHIO), (640, 345, 60, mix(PISTACHIO, MINT, 0.3)),
                         (90, 380, 55, mix(PISTACHIO, PISTACHIO_DARK, 0.3)), (720, 390, 56, PISTACHIO)):
        tree(c, x, y, r, col)
    return s


# ---------------------------------------------------------------- layer 3: the bakery

SHOP_X0, SHOP_X1 = 176, 624
ROOF_Y = 318            # layer y of the roof's top edge (screen 214 at the end)
AWNING_Y = 458
STREET_Y = 672          # layer y where the street begins (screen 568)
DOOR = (470, 508, 112, 164)    # x, y, w, h in layer 3 (screen y - 104)
WINDOW = (206, 522, 236, 122)
PASTRY_AT = (276, 526)  # where the shop-window pastry stands (layer 3)
# The chimney stands on the neighbour's roof at the right (LAYER2), clear of the logo, so its
# smoke never drifts over the title.
CHIMNEY = (762, 222, 26, 56)   # x, y, w, h in LAYER2


def awning(c, x0, x1, y, depth):
    stripes = 12
    sw = (x1 - x0) / stripes
    for i in range(stripes):
        col = RASPBERRY if i % 2 == 0 else SUGAR
        xa, xb = x0 + i * sw, x0 + (i + 1) * sw
        c.new_path()
        c.move_to(xa + (i - stripes / 2.0) * 1.2, y)
        c.line_to(xb + (i + 1 - stripes / 2.0) * 1.2, y)
        c.line_to(xb + (i + 1 - stripes / 2.0) * 3.0, y + depth)
        c.curve_to(xb + (i + 1 - stripes / 2.0) * 3.0, y + depth + 16, xa + (i - stripes / 2.0) * 3.0,
                   y + depth + 16, xa + (i - stripes / 2.0) * 3.0, y + depth)
        c.close_path()
        c.set_source(vertical_gradient(y, y + depth + 16, [(0, lighter(col, 0.15)), (1, darker(col, 0.12))]))
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 1.8)
    c.rectangle(x0 - 8, y - 8, x1 - x0 + 16, 12)
    c.set_source_rgba(*CARAMEL_DARK)
    c.fill()


def flower_box(c, x, y, w):
    rnd = random.Random(int(x))
    for i in range(int(w / 12)):
        px = x + 6 + i * 12 + rnd.uniform(-2, 2)
        ellipse(c, px, y - 6 + rnd.uniform(-3, 3), 8, 6)
        c.set_source_rgba(*mix(PISTACHIO, PISTACHIO_DARK, rnd.random() * 0.6))
        c.fill()
    for i in range(int(w / 18)):
        px = x + 9 + i * 18 + rnd.uniform(-3, 3)
        col = rnd.choice([RASPBERRY_LIGHT, LEMON, SUGAR, RASPBERRY])
        for k in range(5):
            a = k * 2 * math.pi / 5
            ellipse(c, px + math.cos(a) * 3.2, y - 12 + math.sin(a) * 3.2, 2.8, 2.8)
        c.set_source_rgba(*col)
        c.fill()
        ellipse(c, px, y - 12, 1.8, 1.8)
        c.set_source_rgba(*CARAMEL)
        c.fill()
    rounded_rect(c, x, y, w, 16, 4)
    c.set_source(vertical_gradient(y, y + 16, [(0, CARAMEL_LIGHT), (1, CARAMEL_DARK)]))
    c.fill_preserve()
    stroke(c, darker(CARAMEL_DARK, 0.4), 1.8)


def lamp(c, x, y_base):
    c.rectangle(x - 4, y_base - 190, 8, 190)
    c.set_source(vertical_gradient(0, 1, [(0, CHOCOLATE), (1, CHOCOLATE)]))
    c.set_source_rgba(*CHOCOLATE)
    c.fill()
    ellipse(c, x, y_base - 200, 40, 40)
    c.set_source(radial(x, y_base - 200, 40, [(0, (1, 0.92, 0.6, 0.55)), (1, (1, 0.92, 0.6, 0))]))
    c.fill()
    polygon(c, [(x - 14, y_base - 190), (x - 18, y_base - 214), (x + 18, y_base - 214), (x + 14, y_base - 190)], 0.1)
    c.set_source_rgba(*hexrgb("FFE9A8"))
    c.fill_preserve()
    stroke(c, CHOCOLATE_DARK, 2.2)
    polygon(c, [(x - 22, y_base - 212), (x, y_base - 228), (x + 22, y_base - 212)], 0.1)
    c.set_source_rgba(*CHOCOLATE)
    c.fill_preserve()
    stroke(c, CHOCOLATE_DARK, 2)
    rounded_rect(c, x - 9, y_base - 8, 18, 8, 2)
    c.set_source_rgba(*CHOCOLATE_DARK)
    c.fill()


def layer3():
    w, h = 800, 704
    s, c = new_surface(w, h)
    x0, x1 = SHOP_X0, SHOP_X1
    wall = hexrgb("FBE3D6")
    # facade
    rounded_rect(c, x0, ROOF_Y + 40, x1 - x0, STREET_Y - ROOF_Y - 40 + 4, 6)
    c.set_source(vertical_gradient(ROOF_Y, STREET_Y, [(0, lighter(wall, 0.3)), (1, wall)]))
    c.fill_preserve()
    stroke(c, darker(wall, 0.6), 2.5)
    # mansard roof with scalloped chocolate tiles
    roof_top, roof_bot = ROOF_Y, ROOF_Y + 70
    polygon(c, [(x0 - 16, roof_bot), (x0 + 26, roof_top), (x1 - 26, roof_top), (x1 + 16, roof_bot)], 0.06)
    c.set_source(vertical_gradient(roof_top, roof_bot, [(0, MILK_CHOCOLATE), (1, CHOCOLATE)]))
    c.fill_preserve()
    stroke(c, OUTLINE, 2.5)
    c.save()
    polygon(c, [(x0 - 16, roof_bot), (x0 + 26, roof_top), (x1 - 26, roof_top), (x1 + 16, roof_bot)], 0.06)
    c.clip()
    for row, yy in enumerate(range(roof_top + 12, roof_bot + 12, 14)):
        for xx in range(x0 - 30 + (10 if row % 2 else 0), x1 + 30, 20):
            c.arc(xx, yy, 10, 0, math.pi)
            stroke(c, with_alpha(CHOCOLATE_DARK, 0.7), 1.5)
    c.restore()
    # dormer window with warm light
    for dx in (300, 500):
        rounded_rect(c, dx - 22, roof_top + 12, 44, 48, 20)
        c.set_source(radial(dx, roof_top + 36, 30, [(0, hexrgb("FFF2B8")), (1, hexrgb("F7C46A"))]))
        c.fill_preserve()
        stroke(c, OUTLINE, 2.2)
        c.move_to(dx, roof_top + 14)
        c.line_to(dx, roof_top + 60)
        stroke(c, CHOCOLATE, 2)
    # cornice
    rounded_rect(c, x0 - 18, roof_bot - 4, x1 - x0 + 36, 16, 5)
    c.set_source(vertical_gradient(roof_bot - 4, roof_bot + 12, [(0, CARAMEL_LIGHT), (1, CARAMEL)]))
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 2)
    # sign board
    sy = roof_bot + 16
    rounded_rect(c, 250, sy, 300, 42, 14)
    c.set_source(vertical_gradient(sy, sy + 42, [(0, lighter(CHOCOLATE, 0.15)), (1, CHOCOLATE_DARK)]))
    c.fill_preserve()
    stroke(c, CARAMEL, 3)
    fancy_text(c, "Pâtisserie", 400, sy + 21, 27, hexrgb("FFF1C8"), CARAMEL_LIGHT, outline=CHOCOLATE_DARK,
               outline_w=1.5, face=FONT_SERIF, italic=True, shadow=False)
    for hx in (268, 532):
        heart_path(c, hx, sy + 21, 7)
        c.set_source_rgba(*RASPBERRY_LIGHT)
        c.fill()
    # awning over the window and door
    awning(c, x0 + 14, x1 - 14, AWNING_Y, 34)
    # shop window with shelves
    wx, wy, ww, wh = WINDOW
    rounded_rect(c, wx - 8, wy - 8, ww + 16, wh + 16, 10)
    c.set_source_rgba(*CARAMEL)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 2.2)
    rounded_rect(c, wx, wy, ww, wh, 6)
    c.set_source(radial(wx + ww * 0.4, wy + wh * 0.3, ww * 0.8, [(0, hexrgb("FFF6D9")), (1, hexrgb("F5C98E"))]))
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 2)
    for shelf_y in (wy + 76, wy + 114):
        rounded_rect(c, wx + 6, shelf_y, ww - 12, 7, 3)
        c.set_source_rgba(*MILK_CHOCOLATE)
        c.fill()
    # small treats on the lower shelf
    rnd = random.Random(5)
    for i in range(7):
        px = wx + 24 + i * 31
        col = [RASPBERRY_LIGHT, PISTACHIO_LIGHT, LEMON, LAVENDER, CARAMEL_LIGHT, MINT, ROSE][i]
        glossy(c, lambda cc, px=px: ellipse(cc, px, wy + 106, 11, 7), col, (px - 11, wy + 99, 22, 14), line=1.5)
        glossy(c, lambda cc, px=px: ellipse(cc, px, wy + 98, 11, 7), col, (px - 11, wy + 91, 22, 14), line=1.5)
    # glass shine
    c.save()
    rounded_rect(c, wx, wy, ww, wh, 6)
    c.clip()
    polygon(c, [(wx + 20, wy), (wx + 60, wy), (wx - 20, wy + wh), (wx - 60, wy + wh)])
    c.set_source_rgba(1, 1, 1, 0.22)
    c.fill()
    polygon(c, [(wx + 80, wy), (wx + 95, wy), (wx + 15, wy + wh), (wx, wy + wh)])
    c.set_source_rgba(1, 1, 1, 0.16)
    c.fill()
    c.restore()
    flower_box(c, wx - 4, wy + wh + 10, ww + 8)
    # doorway (the door itself is the DOOR button drawn over it)
    dx, dy, dw, dh = DOOR
    rounded_rect(c, dx - 10, dy - 10, dw + 20, dh + 10, 14)
    c.set_source_rgba(*CARAMEL)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 2.2)
    rounded_rect(c, dx, dy, dw, dh, 10)
    c.set_source(vertical_gradient(dy, dy + dh, [(0, hexrgb("FFE3A0")), (1, hexrgb("E89A50"))]))
    c.fill()
    # door step
    rounded_rect(c, dx - 18, STREET_Y - 6, dw + 36, 10, 3)
    c.set_source_rgba(*hexrgb("D9C2B0"))
    c.fill_preserve()
    stroke(c, darker(hexrgb("D9C2B0"), 0.5), 1.6)
    # street
    c.rectangle(0, STREET_Y, w, h - STREET_Y)
    c.set_source(vertical_gradient(STREET_Y, h, [(0, hexrgb("CDB8A8")), (1, hexrgb("A8907F"))]))
    c.fill()
    rnd = random.Random(3)
    for row, yy in enumerate(range(STREET_Y + 4, h, 10)):
        for xx in range(-10 + (9 if row % 2 else 0), w, 18):
            rounded_rect(c, xx + rnd.uniform(-1, 1), yy, 15, 8, 3.5)
            c.set_source_rgba(*with_alpha(hexrgb("E6D5C6"), 0.5 + 0.2 * rnd.random()))
            c.fill()
    # sidewalk kerb and lamps
    lamp(c, 120, STREET_Y + 6)
    lamp(c, 680, STREET_Y + 6)
    return s


# ---------------------------------------------------------------- animated pieces

def door_frames():
    dx, dy, dw, dh = DOOR
    frames = []
    for state in ("normal", "over", "pressed", "disabled"):
        s, c = new_surface(dw, dh)
        ajar = {"normal": 0.0, "over": 0.12, "pressed": 0.22, "disabled": 0.0}[state]
        # warm light behind the door
        rounded_rect(c, 0, 0, dw, dh, 10)
        c.set_source(vertical_gradient(0, dh, [(0, hexrgb("FFF4C8")), (1, hexrgb("FFC978"))]))
        c.fill()
        pw = dw * (1.0 - ajar)
        body = darker(RASPBERRY, 0.35) if state != "disabled" else darker(RASPBERRY, 0.45)
        if state == "over":
            body = darker(RASPBERRY, 0.25)

        def panel(cc):
            rounded_rect(cc, 0, 0, pw, dh, 10)
        glossy(c, panel, body, (0, 0, pw, dh), outline=OUTLINE, line=2.5, highlight=0.25)
        # glass pane with a heart
        rounded_rect(c, pw * 0.18, 14, pw * 0.64, 78, 30)
        c.set_source(radial(pw * 0.5, 50, 50, [(0, hexrgb("FFF6D5")), (1, hexrgb("F6C26A"))]))
        c.fill_preserve()
        stroke(c, OUTLINE, 2)
        heart_path(c, pw * 0.5, 54, 11)
        c.set_source_rgba(*with_alpha(RASPBERRY, 0.8))
        c.fill()
        rounded_rect(c, pw * 0.18, 108, pw * 0.64, 66, 8)
        stroke(c, darker(body, 0.35), 2)
        # knob
        glossy(c, lambda cc: ellipse(cc, pw - 14, 118, 6, 6), CARAMEL_LIGHT, (pw - 20, 112, 12, 12), line=1.5)
        if state == "over":
            rounded_rect(c, 1.5, 1.5, dw - 3, dh - 3, 10)
            stroke(c, with_alpha(hexrgb("FFF0A0"), 0.9), 3)
        frames.append(s)
    return frames


def smoke_frames(n=8, w=56, h=120):
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        t = i / float(n)
        for k in range(4):
            p = (t + k / 4.0) % 1.0
            y = h - 10 - p * (h - 24)
            x = w / 2.0 + math.sin(p * 5.0 + k) * 8 * p
            r = 7 + p * 14
            a = 0.8 * (1 - p) * min(1.0, p * 6)
            ellipse(c, x, y, r, r * 0.85)
            c.set_source(radial(x - r * 0.3, y - r * 0.3, r * 1.2, [(0, (1, 0.98, 0.97, a)), (1, (0.74, 0.68, 0.78, a * 0.8))]))
            c.fill()
        frames.append(s)
    return frames


def bird_frames(n=6, w=44, h=32, col=CHOCOLATE):
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        a = math.sin(i * 2 * math.pi / n)  # wing beat, -1 down ... 1 up
        cx, cy = w / 2.0, h / 2.0 + 2
        # body
        ellipse(c, cx, cy, 8, 4.5)
        c.set_source_rgba(*col)
        c.fill()
        ellipse(c, cx + 7, cy - 2, 3.8, 3.4)
        c.fill()
        polygon(c, [(cx + 10, cy - 2.5), (cx + 14, cy - 1), (cx + 10, cy - 0.5)])
        c.set_source_rgba(*CARAMEL)
        c.fill()
        polygon(c, [(cx - 7, cy), (cx - 15, cy - 3), (cx - 14, cy + 3)])
        c.set_source_rgba(*col)
        c.fill()
        # wings
        for side in (-1, 1):
            tip_y = cy - a * 12
            c.move_to(cx - 3, cy - 1)
            c.curve_to(cx - 4 + side * 2, tip_y - 4, cx - 10 + side * 4, tip_y, cx - 14 + side * 6, tip_y)
            c.curve_to(cx - 6, tip_y + 5, cx, cy, cx + 3, cy - 1)
            c.close_path()
            c.set_source_rgba(*(col if side > 0 else darker(col, 0.3)))
            c.fill()
        frames.append(s)
    return frames


def chef(c, cx, base_y, wave, lean=0.0, scale=1.0):
    """The chef: tall toque, white jacket with raspberry buttons, round face, curly moustache.
    `wave` is the angle of his raised right arm in radians."""
    c.save()
    c.translate(cx, base_y)
    c.scale(scale, scale)
    c.rotate(lean)
    skin = hexrgb("FFD3B0")
    white = hexrgb("FFFFFA")
    # legs and shoes
    for lx in (-14, 14):
        rounded_rect(c, lx - 9, -46, 18, 40, 5)
        c.set_source_rgba(*hexrgb("4B3A5A"))
        c.fill_preserve()
        stroke(c, OUTLINE, 2)
        ellipse(c, lx + 2, -6, 13, 6)
        c.set_source_rgba(*CHOCOLATE_DARK)
        c.fill()
    # jacket
    def jacket(cc):
        polygon(cc, [(-34, -40), (-38, -110), (-22, -128), (22, -128), (38, -110), (34, -40)], 0.25)
    glossy(c, jacket, white, (-38, -128, 76, 88), outline=OUTLINE, line=2.5, highlight=0.3, shade=0.2)
    # apron
    polygon(c, [(-26, -84), (26, -84), (30, -40), (-30, -40)], 0.12)
    c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.95))
    c.fill_preserve()
    stroke(c, RASPBERRY_DARK, 1.8)
    for by in (-118, -104):
        for bx in (-8, 8):
            ellipse(c, bx, by, 2.8, 2.8)
            c.set_source_rgba(*RASPBERRY)
            c.fill()
    # left arm resting
    c.save()
    c.translate(-34, -118)
    c.rotate(0.25)
    rounded_rect(c, -9, 0, 18, 52, 9)
    c.set_source_rgba(*white)
    c.fill_preserve()
    stroke(c, OUTLINE, 2)
    ellipse(c, 0, 56, 8, 8)
    c.set_source_rgba(*skin)
    c.fill_preserve()
    stroke(c, OUTLINE, 1.8)
    c.restore()
    # right arm waving
    c.save()
    c.translate(34, -118)
    c.rotate(-wave)
    rounded_rect(c, -9, 0, 18, 50, 9)
    c.set_source_rgba(*white)
    c.fill_preserve()
    stroke(c, OUTLINE, 2)
    ellipse(c, 0, 55, 8.5, 8.5)
    c.set_source_rgba(*skin)
    c.fill_preserve()
    stroke(c, OUTLINE, 1.8)
    c.restore()
    # scarf
    rounded_rect(c, -20, -134, 40, 12, 6)
    c.set_source_rgba(*RASPBERRY)
    c.fill_preserve()
    stroke(c, RASPBERRY_DARK, 1.8)
    # head
    glossy(c, lambda cc: ellipse(cc, 0, -156, 24, 24), skin, (-24, -180, 48, 48), outline=OUTLINE, line=2.2, highlight=0.3, shade=0.2)
    ellipse(c, -23, -156, 5, 7)
    ellipse(c, 23, -156, 5, 7)
    c.set_source_rgba(*skin)
    c.fill()
    for ex in (-9, 9):
        ellipse(c, ex, -160, 3, 3.6)
        c.set_source_rgba(*OUTLINE)
        c.fill()
        ellipse(c, ex + 1, -161.5, 1, 1)
        c.set_source_rgba(1, 1, 1, 1)
        c.fill()
    for ex in (-14, 14):
        ellipse(c, ex, -149, 5, 3)
        c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.55))
        c.fill()
    ellipse(c, 0, -152, 4.5, 4)
    c.set_source_rgba(*darker(skin, 0.15))
    c.fill()
    # moustache
    c.move_to(0, -146)
    c.curve_to(-6, -150, -14, -150, -18, -142)
    c.curve_to(-12, -144, -6, -141, 0, -143)
    c.curve_to(6, -141, 12, -144, 18, -142)
    c.curve_to(14, -150, 6, -150, 0, -146)
    c.close_path()
    c.set_source_rgba(*CHOCOLATE)
    c.fill()
    c.arc(0, -140, 5, 0.2, math.pi - 0.2)
    stroke(c, OUTLINE, 1.8)
    # toque
    def toque(cc):
        cc.new_path()
        cc.move_to(-20, -176)
        cc.line_to(-22, -196)
        cc.curve_to(-40, -200, -36, -232, -16, -226)
        cc.curve_to(-14, -246, 14, -246, 16, -226)
        cc.curve_to(36, -232, 40, -200, 22, -196)
        cc.line_to(20, -176)
        cc.close_path()
    glossy(c, toque, white, (-38, -246, 76, 70), outline=OUTLINE, line=2.2, highlight=0.35, shade=0.15)
    c.move_to(-20, -186)
    c.line_to(20, -186)
    stroke(c, with_alpha(GREY_LINE, 0.8), 1.5)
    c.restore()


GREY_LINE = hexrgb("C8BDB4")


def henri_frames(n=8, w=120, h=200):
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        t = i / float(n - 1)
        # steps out of the doorway, waves twice, leans back
        wave = 2.3 + 0.5 * math.sin(t * 4 * math.pi)
        appear = min(1.0, t * 3)
        c.push_group()
        chef(c, w / 2.0, h - 2, wave, lean=0.05 * math.sin(t * 2 * math.pi), scale=0.78)
        c.pop_group_to_source()
        c.paint_with_alpha(0.35 + 0.65 * appear)
        frames.append(s)
    return frames


def pastry_frames(w=100, h=84):
    frames = []
    drawers = [cake_strawberry, tart_lemon, macaron_tower, eclair, cupcake, cream_puff]
    for fn in drawers:
        s, c = new_surface(w, h)
        # cake stand
        ellipse(c, w / 2.0, h - 14, 40, 7)
        c.set_source(vertical_gradient(h - 21, h - 7, [(0, SUGAR), (1, hexrgb("D8CCC4"))]))
        c.fill_preserve()
        stroke(c, hexrgb("9C8A80"), 1.6)
        rounded_rect(c, w / 2.0 - 5, h - 12, 10, 10, 2)
        c.set_source_rgba(*hexrgb("D8CCC4"))
        c.fill_preserve()
        stroke(c, hexrgb("9C8A80"), 1.4)
        fn(c, w / 2.0, h - 18)
        frames.append(s)
    return frames


def cake_strawberry(c, cx, by):
    def body(cc):
        rounded_rect(cc, cx - 30, by - 38, 60, 38, 8)
    glossy(c, body, hexrgb("FBE3C8"), (cx - 30, by - 38, 60, 38), line=2)
    c.rectangle(cx - 29, by - 22, 58, 6)
    c.set_source_rgba(*RASPBERRY_LIGHT)
    c.fill()
    for x in range(-24, 30, 12):
        glossy(c, lambda cc, x=x: ellipse(cc, cx + x, by - 40, 6, 5), RASPBERRY, (cx + x - 6, by - 45, 12, 10), line=1.4)
    ellipse(c, cx, by - 50, 4, 4)
    c.set_source_rgba(*SUGAR)
    c.fill()


def tart_lemon(c, cx, by):
    glossy(c, lambda cc: ellipse(cc, cx, by - 10, 32, 11), CARAMEL, (cx - 32, by - 21, 64, 22), line=2)
    ellipse(c, cx, by - 14, 26, 7)
    c.set_source(radial(cx - 6, by - 16, 26, [(0, hexrgb("FFF2A0")), (1, LEMON)]))
    c.fill()
    for x in (-12, 0, 12):
        rounded_star_path(c, cx + x, by - 18, 5, 2.5, 5)
        c.set_source_rgba(*SUGAR)
        c.fill()


def macaron_tower(c, cx, by):
    cols = [RASPBERRY_LIGHT, PISTACHIO_LIGHT, LAVENDER, LEMON, hexrgb("F4B48A")]
    rows = [(-24, 0), (0, 0), (24, 0), (-12, -15), (12, -15), (0, -30)]
    for i, (dx, dy) in enumerate(rows):
        col = cols[i % len(cols)]
        x, y = cx + dx, by - 8 + dy
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y + 3, 11, 4.5), col, (x - 11, y - 2, 22, 9), line=1.3)
        ellipse(c, x, y, 10, 2.2)
        c.set_source_rgba(*SUGAR)
        c.fill()
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y - 3, 11, 4.5), col, (x - 11, y - 8, 22, 9), line=1.3)


def eclair(c, cx, by):
    for k, dy in enumerate((0, -14)):
        def body(cc, dy=dy):
            rounded_rect(cc, cx - 34, by - 14 + dy, 68, 16, 8)
        glossy(c, body, CARAMEL_LIGHT, (cx - 34, by - 14 + dy, 68, 16), line=1.8)
        rounded_rect(c, cx - 32, by - 15 + dy, 64, 9, 5)
        c.set_source_rgba(*(CHOCOLATE if k == 0 else RASPBERRY_LIGHT))
        c.fill()
        rounded_rect(c, cx - 26, by - 13 + dy, 26, 2.5, 1.2)
        c.set_source_rgba(1, 1, 1, 0.4)
        c.fill()


def cupcake(c, cx, by):
    polygon(c, [(cx - 20, by - 26), (cx + 20, by - 26), (cx + 15, by), (cx - 15, by)], 0.1)
    c.set_source(vertical_gradient(by - 26, by, [(0, PISTACHIO_LIGHT), (1, PISTACHIO)]))
    c.fill_preserve()
    stroke(c, PISTACHIO_DARK, 1.8)
    for x in range(-14, 16, 7):
        c.move_to(cx + x, by - 25)
        c.line_to(cx + x * 0.78, by - 1)
        stroke(c, with_alpha(PISTACHIO_DARK, 0.5), 1.2)

    def swirl(cc):
        ellipse(cc, cx, by - 30, 24, 10)
        ellipse(cc, cx, by - 42, 18, 9)
        ellipse(cc, cx, by - 52, 11, 7)
    c.push_group()
    swirl(c)
    c.set_source_rgba(*RASPBERRY_DARK)
    c.set_line_width(3.6)
    c.stroke()
    swirl(c)
    c.set_source(radial(cx - 8, by - 48, 30, [(0, hexrgb("FFE0EA")), (1, RASPBERRY_LIGHT)]))
    c.fill()
    c.pop_group_to_source()
    c.paint()
    glossy(c, lambda cc: ellipse(cc, cx + 2, by - 61, 5, 5), RASPBERRY, (cx - 3, by - 66, 10, 10), line=1.3)


def cream_puff(c, cx, by):
    for dx, dy, r in ((-18, 0, 14), (18, 0, 14), (0, -4, 16), (0, -26, 13)):
        glossy(c, lambda cc, dx=dx, dy=dy, r=r: ellipse(cc, cx + dx, by - 12 + dy, r, r * 0.9), CARAMEL_LIGHT,
               (cx + dx - r, by - 12 + dy - r, 2 * r, 2 * r), line=1.8)
    c.move_to(cx - 30, by - 24)
    c.curve_to(cx - 10, by - 40, cx + 10, by - 8, cx + 30, by - 26)
    stroke(c, CHOCOLATE, 3)
    for x, y in ((-10, -40), (8, -36), (0, -18), (-20, -14), (18, -16)):
        ellipse(c, cx + x, by + y, 1.4, 1.4)
        c.set_source_rgba(*SUGAR)
        c.fill()


# ---------------------------------------------------------------- logo, bar, click text

def logo():
    w, h = 480, 200
    s, c = new_surface(w, h)
    for x, y, r in ((60, 40, 7), (110, 22, 4.5), (440, 130, 5), (30, 120, 4)):
        rounded_star_path(c, x, y, r * 1.6, r * 0.6, 4)
        c.set_source_rgba(*hexrgb("FFF2B0"))
        c.fill_preserve()
        stroke(c, with_alpha(CARAMEL_DARK, 0.8), 1.2)
    fancy_text(c, "Tortelune", w / 2.0, 98, 84, hexrgb("FF8FB0"), RASPBERRY_DARK, outline=OUTLINE,
               outline_w=4.5, face=FONT_SERIF, italic=True, glow=with_alpha(SUGAR, 0.9))
    # ribbon with the subtitle
    rx, ry, rw, rh = 110, 146, 260, 34
    for side in (-1, 1):
        ex = rx - 20 if side < 0 else rx + rw - 4
        polygon(c, [(ex, ry + 8), (ex + 24, ry + 8), (ex + 24, ry + rh + 6), (ex, ry + rh + 6),
                    ((ex + 10) if side < 0 else (ex + 14), ry + rh / 2.0 + 7)], 0.05)
        c.set_source_rgba(*CARAMEL_DARK)
        c.fill_preserve()
        stroke(c, OUTLINE, 2)

    def ribbon(cc):
        cc.new_path()
        cc.move_to(rx, ry)
        cc.curve_to(rx + rw * 0.3, ry + 8, rx + rw * 0.7, ry + 8, rx + rw, ry)
        cc.line_to(rx + rw, ry + rh)
        cc.curve_to(rx + rw * 0.7, ry + rh + 8, rx + rw * 0.3, ry + rh + 8, rx, ry + rh)
        cc.close_path()
    glossy(c, ribbon, CARAMEL, (rx, ry, rw, rh + 8), outline=OUTLINE, line=2.2, highlight=0.35)
    plain_text(c, "a pâtisserie puzzle", w / 2.0, ry + rh / 2.0 + 4, 18, SUGAR, FONT_SERIF, True, True)
    return s


def loading_bar(full):
    w, h = 360, 30
    s, c = new_surface(w, h)

    def track(cc):
        rounded_rect(cc, 2, 2, w - 4, h - 4, (h - 4) / 2.0)
    if not full:
        track(c)
        c.set_source(vertical_gradient(0, h, [(0, darker(CREAM, 0.25)), (1, CREAM)]))
        c.fill_preserve()
        stroke(c, OUTLINE, 2.4)
        return s
    c.save()
    track(c)
    c.clip()
    c.set_source(vertical_gradient(0, h, [(0, RASPBERRY_LIGHT), (0.55, RASPBERRY), (1, RASPBERRY_DARK)]))
    c.paint()
    for x in range(-h, w + h, 22):
        polygon(c, [(x, h), (x + 10, h), (x + 10 + h, 0), (x + h, 0)])
        c.set_source_rgba(1, 1, 1, 0.22)
        c.fill()
    rounded_rect(c, 8, 5, w - 16, 8, 4)
    c.set_source_rgba(1, 1, 1, 0.45)
    c.fill()
    c.restore()
    track(c)
    stroke(c, OUTLINE, 2.4)
    return s


def click_plate():
    """A chocolate plate of its own under "Click to continue": the text fades in and out over it, so it
    reads against the plate and never against the busy shop front behind."""
    w, h = 372, 60
    s, c = new_surface(w, h)
    rounded_rect(c, 3, 4, w - 6, h - 6, (h - 6) / 2.0)
    c.set_source_rgba(*with_alpha(CHOCOLATE_DARK, 0.35))
    c.fill()
    rounded_rect(c, 3, 2, w - 6, h - 7, (h - 7) / 2.0)
    c.set_source(vertical_gradient(2, h - 5, [(0, hexrgb("5A2D1A")), (1, CHOCOLATE_DARK)]))
    c.fill_preserve()
    stroke(c, CARAMEL, 2.5)
    rounded_rect(c, 8, 6, w - 16, h - 16, (h - 16) / 2.0)
    stroke(c, with_alpha(CARAMEL_LIGHT, 0.35), 1.2)
    return s


def click_text():
    w, h = 340, 52
    s, c = new_surface(w, h)
    fancy_text(c, "Click to continue", w / 2.0, h / 2.0, 30, SUGAR, hexrgb("FFE3B0"), outline=RASPBERRY_DARK,
               outline_w=3.5, face=FONT_SANS, glow=with_alpha(CHOCOLATE_DARK, 0.25))
    return s


# ---------------------------------------------------------------- splash

def splash0():
    """The opening picture: the moon over a tart, with the game's name."""
    w, h = 800, 600
    s, c = new_surface(w, h)
    c.set_source(radial(400, 260, 520, [(0, hexrgb("FFF6E6")), (0.6, hexrgb("FBE3CF")), (1, hexrgb("E9B9A6"))]))
    c.paint()
    rnd = random.Random(17)
    for _ in range(60):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h)
        heart_path(c, x, y, rnd.uniform(3, 7))
        c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, rnd.uniform(0.06, 0.16)))
        c.fill()
    # emblem
    ellipse(c, 400, 250, 150, 150)
    c.set_source(radial(400, 220, 150, [(0, hexrgb("5B4FA0")), (1, TWILIGHT)]))
    c.fill_preserve()
    stroke(c, CARAMEL, 8)
    ellipse(c, 400, 250, 142, 142)
    stroke(c, with_alpha(CARAMEL_LIGHT, 0.9), 2)
    for _ in range(40):
        a, r = rnd.uniform(0, 2 * math.pi), rnd.uniform(0, 130)
        x, y = 400 + r * math.cos(a), 250 + r * math.sin(a) * 0.6 - 40
        ellipse(c, x, y, 1.2, 1.2)
        c.set_source_rgba(1, 1, 0.9, rnd.uniform(0.4, 1))
        c.fill()
    c.save()
    c.push_group()
    ellipse(c, 430, 180, 52, 52)
    c.set_source(radial(415, 165, 60, [(0, hexrgb("FFF8D6")), (1, hexrgb("F6D36E"))]))
    c.fill()
    c.set_operator(cairo.OPERATOR_CLEAR)
    ellipse(c, 456, 160, 46, 46)
    c.fill()
    c.pop_group_to_source()
    c.paint()
    c.restore()
    # the tart
    glossy(c, lambda cc: ellipse(cc, 400, 300, 96, 38), CARAMEL, (304, 262, 192, 76), line=3)
    for i in range(24):
        a = i * 2 * math.pi / 24
        ellipse(c, 400 + 90 * math.cos(a), 296 + 34 * math.sin(a), 9, 6)
        c.set_source_rgba(*with_alpha(CARAMEL_LIGHT, 0.9))
        c.fill()
    ellipse(c, 400, 292, 78, 26)
    c.set_source(radial(380, 286, 80, [(0, RASPBERRY_LIGHT), (1, RASPBERRY)]))
    c.fill()
    for x, y in ((350, 288), (380, 282), (410, 280), (440, 286), (365, 298), (395, 296), (425, 298), (452, 294), (340, 296)):
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y, 9, 8), RASPBERRY, (x - 9, y - 8, 18, 16), line=1.5, highlight=0.7)
    for x in (380, 415):
        ellipse(c, x, 272, 10, 4)
        c.set_source_rgba(*PISTACHIO)
        c.fill()
    fancy_text(c, "Tortelune", 400, 470, 78, hexrgb("FF8FB0"), RASPBERRY_DARK, outline=OUTLINE, outline_w=4,
               face=FONT_SERIF, italic=True, glow=with_alpha(SUGAR, 0.9))
    plain_text(c, "baked fresh every night", 400, 535, 20, with_alpha(CHOCOLATE, 0.85), FONT_SERIF, False, True)
    return s


def splash1():
    """The second picture: a small card that asks for sound."""
    w, h = 420, 180
    s, c = new_surface(w, h)
    rounded_rect(c, 4, 4, w - 8, h - 8, 24)
    c.set_source_rgba(*with_alpha(SUGAR, 0.92))
    c.fill_preserve()
    stroke(c, CARAMEL, 4)
    # a note and a whisk
    c.move_to(86, 110)
    c.line_to(86, 46)
    c.line_to(124, 38)
    c.line_to(124, 100)
    stroke(c, CHOCOLATE, 5)
    for x, y in ((76, 112), (114, 102)):
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y, 12, 9), RASPBERRY, (x - 12, y - 9, 24, 18), line=2)
    plain_text(c, "Best enjoyed", 270, 70, 26, CHOCOLATE, FONT_SERIF, True, True)
    plain_text(c, "with the sound on", 270, 108, 22, RASPBERRY_DARK, FONT_SERIF, True, True)
    return s


def save_jpeg(surface, rel, purpose):
    from PIL import Image
    w, h = surface.get_width(), surface.get_height()
    data = bytes(surface.get_data())
    im = Image.frombuffer("RGBA", (w, h), data, "raw", "BGRA", 0, 1).convert("RGB")
    path = out_path(rel)
    im.save(path, "JPEG", quality=88, optimize=True)
    manifest.add(path, purpose, "%d×%d" % (w, h), "1 frame, JPEG (no alpha)", G_SPLASH)


def branding():
    path = out_path("splash/branding.xml")
    with open(path, "w") as f:
        f.write('<root>\n'
                '    <Integer id="SPLASH_FADE_TIME" value="500" />\n'
                '    <Integer id="SPLASH_DISPLAY_TIME" value="1700" />\n'
                '    <Boolean id="SHOW_LARKSPIRE_ANIMATION" value="false" />\n'
                '</root>\n')
    manifest.add(path, "splash timings: fade 500 ms, stand 1700 ms, no brand animation", "", "property XML", G_SPLASH)


def main():
    save_jpeg(splash0(), "splash/splash0.jpg", "first splash picture (full screen)")
    save_png(splash1(), "splash/splash1.png", "second splash picture, centred over the cover", "1 frame", G_SPLASH)
    branding()
    save_png(layer0(), "media/images/load/layer0.png",
             "\"LAYER0\" sky: twilight with the moon at the top, dawn clouds below; drawn at x 0, "
             "y -17 → -266", "1 frame, opaque", G_LOAD)
    save_png(layer1(), "media/images/load/layer1.png",
             "\"LAYER1\" far town and hills (spire tip visible while loading); y 468 → 36", "1 frame", G_LOAD)
    save_png(layer2(), "media/images/load/layer2.png",
             "\"LAYER2\" neighbouring houses and trees at both sides; y 552 → -3", "1 frame", G_LOAD)
    dx, dy, dw, dh = DOOR
    save_png(layer3(), "media/images/load/layer3.png",
             "\"LAYER3\" the bakery's shop front and the street; y 618 → -104. In layer coordinates: "
             "doorway at (%d, %d) %d×%d, shop window (%d, %d)" % (dx, dy, dw, dh, WINDOW[0], WINDOW[1]),
             "1 frame", G_LOAD)
    save_frames(door_frames(), "media/images/load/door.png",
                "\"DOOR\" button: the shop door; place at (%d, %d) in LAYER3 (screen (%d, %d) after the pan); "
                "suggested LOAD_PIVOT_X %d, LOAD_PIVOT_Y %d" % (dx, dy, dx, dy + L3, dx + dw // 2, dy + L3 + dh // 2),
                G_LOAD, "frame 0 closed, 1 ajar with warm light (over), 2 more ajar (pressed), 3 closed (disabled)")
    save_frames(smoke_frames(), "media/images/load/smoke.png",
                "\"SMOKE\" from the chimney on the right neighbour's roof (ModifierFrame 130 ms, looping); "
                "place at screen (%d, %d) after the pan (chimney top in LAYER2 at (%d, %d))" % (
                    CHIMNEY[0] + CHIMNEY[2] // 2 - 28, CHIMNEY[1] + L2 - 120, CHIMNEY[0] + CHIMNEY[2] // 2, CHIMNEY[1]),
                G_LOAD)
    save_frames(bird_frames(), "media/images/load/bird.png",
                "\"BIRD0\"..\"BIRD3\" (children of \"PANEL_BIRDS\"): one wing beat; suggested bird places in "
                "the panel (0, 0), (52, -26), (-40, 18), (96, 12)", G_LOAD, "6 frames (frame count 6)")
    save_frames(bird_frames(col=hexrgb("6A4A6E")), "media/images/load/bird2.png",
                "second bird colour (plum) for variety", G_LOAD, "6 frames (frame count 6)")
    save_frames(henri_frames(), "media/images/load/henri.png",
                "\"HENRI\": the chef stepping into the doorway and waving (ModifierFrame 75 ms); place at the "
                "doorway (%d, %d) in LAYER3, bottom aligned with the door" % (dx - 4, dy + dh - 200), G_LOAD)
    save_frames(pastry_frames(), "media/images/load/pastry.png",
                "\"PASTRY\" on a cake stand in the shop window; random frame shown; place at (%d, %d) in LAYER3" % (
                    PASTRY_AT[0] - 50 + 22, PASTRY_AT[1] - 84 + 52), G_LOAD,
                "frames: strawberry cake, lemon tart, macarons, éclairs, cupcake, cream puffs")
    save_png(logo(), "media/images/load/logo.png",
             "\"LOGO\": the game's name with the moon and the subtitle ribbon; suggested at screen (160, 14)",
             "1 frame", G_LOAD)
    save_png(loading_bar(False), "media/images/load/loading_bar_empty.png",
             "\"LOADING_BAR_EMPTY\": the empty track; suggested at screen (220, 540)", "1 frame", G_LOAD)
    save_png(loading_bar(True), "media/images/load/loading_bar_full.png",
             "\"LOADING_BAR_FULL\": the full bar drawn over the track, clipped to the progress; same place",
             "1 frame", G_LOAD)
    save_png(click_plate(), "media/images/load/click_plate.png",
             "\"CLICK_PLATE\": the plate under the blinking invitation; suggested at screen (214, 536)",
             "1 frame", G_LOAD)
    save_png(click_text(), "media/images/load/click_text.png",
             "\"CLICK_TEXT\": blinking invitation; suggested at screen (230, 540)", "1 frame", G_LOAD)


if __name__ == "__main__":
    main()
