"""The pastries of the cookbook, one picture per recipe (the picture key is the recipe's
name), drawn in a 100 × 100 design space standing on its base line at y 92, scaled to
96 × 96."""

import math

import cairo

from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, CREAM, LAVENDER,
                    LEMON, MILK_CHOCOLATE, MINT, OUTLINE, PISTACHIO, PISTACHIO_DARK, PISTACHIO_LIGHT,
                    RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, ROSE, SUGAR, darker, ellipse, glossy,
                    heart_path, hexrgb, lighter, new_surface, polygon, radial, rounded_rect,
                    rounded_star_path, save_png, vertical_gradient, with_alpha)

G_PASTRY = "Pastries (section \"scenegame\"; key = recipe name)"
SIZE = 96
BASE = 92

STRAWBERRY = hexrgb("E8413C")
CHERRY = hexrgb("A8173A")
BANANA = hexrgb("F2B93B")
SPONGE = hexrgb("F6D7A0")
PINK_CREAM = hexrgb("F9C3D2")
WHITE_CREAM = hexrgb("FFF8F2")
GLASS = (0.85, 0.93, 1.0, 0.35)


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def shadow(c, cx=50, w=38):
    ellipse(c, cx, BASE + 2, w, 5)
    c.set_source(radial(cx, BASE + 2, w, [(0, (0.25, 0.1, 0.05, 0.3)), (1, (0.25, 0.1, 0.05, 0))]))
    c.fill()


def berry(c, x, y, r=6, col=STRAWBERRY):
    def shape(cc):
        cc.new_path()
        cc.move_to(x, y + r * 1.1)
        cc.curve_to(x - r * 1.3, y + r * 0.2, x - r, y - r, x, y - r * 0.7)
        cc.curve_to(x + r, y - r, x + r * 1.3, y + r * 0.2, x, y + r * 1.1)
        cc.close_path()
    glossy(c, shape, col, (x - r, y - r, 2 * r, 2 * r), line=1.6, highlight=0.6)
    ellipse(c, x, y - r * 0.75, r * 0.6, r * 0.25)
    c.set_source_rgba(*PISTACHIO_DARK)
    c.fill()


def cherry(c, x, y, r=5.5):
    c.move_to(x, y - r)
    c.curve_to(x + 1, y - r - 6, x + 4, y - r - 9, x + 7, y - r - 11)
    stroke(c, PISTACHIO_DARK, 1.8)
    glossy(c, lambda cc: ellipse(cc, x, y, r, r), CHERRY, (x - r, y - r, 2 * r, 2 * r), line=1.6, highlight=0.7)


def drip_band(c, x0, x1, y, col, depth=6, n=7):
    c.new_path()
    c.move_to(x0, y - 3)
    c.line_to(x1, y - 3)
    c.line_to(x1, y + 2)
    for i in range(n, 0, -1):
        xa = x0 + (x1 - x0) * i / n
        xb = x0 + (x1 - x0) * (i - 1) / n
        d = depth * (0.6 + 0.4 * ((i * 37) % 5) / 4.0)
        c.curve_to(xa - 1, y + d + 3, xb + 1, y + d + 3, xb, y + 2)
    c.close_path()
    c.set_source_rgba(*col)
    c.fill_preserve()
    stroke(c, darker(col, 0.45), 1.4)


def layer_cake(c, cx, bottom, w, h, body, frosting, layers=2, filling=None):
    def shape(cc):
        rounded_rect(cc, cx - w / 2.0, bottom - h, w, h, 6)
    glossy(c, shape, body, (cx - w / 2.0, bottom - h, w, h), line=2.2, highlight=0.25)
    if filling:
        for i in range(1, layers):
            y = bottom - h * i / layers
            c.rectangle(cx - w / 2.0 + 1.2, y - 2, w - 2.4, 4)
            c.set_source_rgba(*filling)
            c.fill()
    drip_band(c, cx - w / 2.0, cx + w / 2.0, bottom - h + 3, frosting)


def plate(c, cx=50, w=42):
    ellipse(c, cx, BASE - 2, w, 6)
    c.set_source(vertical_gradient(BASE - 8, BASE + 4, [(0, SUGAR), (1, hexrgb("D9CFC8"))]))
    c.fill_preserve()
    stroke(c, hexrgb("A09088"), 1.5)


def tart_base(c, cx, y, w, h, crust=CARAMEL):
    c.new_path()
    c.move_to(cx - w / 2.0, y)
    c.line_to(cx + w / 2.0, y)
    c.line_to(cx + w / 2.0 - 5, y + h)
    c.line_to(cx - w / 2.0 + 5, y + h)
    c.close_path()
    c.set_source(vertical_gradient(y, y + h, [(0, lighter(crust, 0.2)), (1, darker(crust, 0.1))]))
    c.fill_preserve()
    stroke(c, darker(crust, 0.55), 2)
    for i in range(9):
        x = cx - w / 2.0 + 6 + i * (w - 12) / 8.0
        c.move_to(x, y + 2)
        c.line_to(x - 0.5, y + h - 2)
        stroke(c, with_alpha(darker(crust, 0.35), 0.6), 1.2)
    ellipse(c, cx, y, w / 2.0, 6)
    c.set_source_rgba(*lighter(crust, 0.15))
    c.fill_preserve()
    stroke(c, darker(crust, 0.55), 2)


def filling_top(c, cx, y, w, col):
    ellipse(c, cx, y, w / 2.0 - 4, 4.2)
    c.set_source(radial(cx - 6, y - 2, w / 2.0, [(0, lighter(col, 0.3)), (1, col)]))
    c.fill()


def glass_cup(c, cx, top, bottom, w_top, w_bot, fill_fn):
    def cup(cc):
        cc.new_path()
        cc.move_to(cx - w_top / 2.0, top)
        cc.line_to(cx + w_top / 2.0, top)
        cc.line_to(cx + w_bot / 2.0, bottom)
        cc.line_to(cx - w_bot / 2.0, bottom)
        cc.close_path()
    c.save()
    cup(c)
    c.clip()
    fill_fn(c)
    c.restore()
    cup(c)
    c.set_source_rgba(*GLASS)
    c.fill_preserve()
    stroke(c, hexrgb("7A8CA8"), 1.8)
    c.move_to(cx - w_top / 2.0 + 5, top + 4)
    c.line_to(cx - w_bot / 2.0 + 4, bottom - 4)
    stroke(c, (1, 1, 1, 0.7), 2.5)


def stem_foot(c, cx, y):
    c.rectangle(cx - 3, y, 6, 10)
    c.set_source_rgba(*with_alpha(hexrgb("C9D8EC"), 0.9))
    c.fill()
    ellipse(c, cx, BASE - 2, 16, 4)
    c.set_source_rgba(*with_alpha(hexrgb("C9D8EC"), 0.95))
    c.fill_preserve()
    stroke(c, hexrgb("7A8CA8"), 1.5)


def cream_dollop(c, x, y, r, col=WHITE_CREAM):
    def shape(cc):
        cc.new_path()
        cc.move_to(x - r, y)
        cc.curve_to(x - r, y - r * 1.1, x - r * 0.2, y - r * 1.2, x, y - r * 1.9)
        cc.curve_to(x + r * 0.2, y - r * 1.2, x + r, y - r * 1.1, x + r, y)
        cc.curve_to(x + r * 0.5, y + r * 0.4, x - r * 0.5, y + r * 0.4, x - r, y)
        cc.close_path()
    glossy(c, shape, col, (x - r, y - r * 1.9, 2 * r, r * 2.3), outline=hexrgb("A8848C"), line=1.5, highlight=0.4, shade=0.2)


def puff(c, x, y, r, col=CARAMEL_LIGHT):
    glossy(c, lambda cc: ellipse(cc, x, y, r, r * 0.88), col, (x - r, y - r, 2 * r, 2 * r), line=1.6, highlight=0.55)


# ---------------------------------------------------------------- recipes

def strawberrycake(c):
    shadow(c)
    plate(c)
    layer_cake(c, 50, 86, 66, 38, SPONGE, PINK_CREAM, 2, RASPBERRY_LIGHT)
    for x in (26, 38, 50, 62, 74):
        berry(c, x, 44, 6)


def creampuff(c):
    shadow(c)
    plate(c)
    for x, y, r in ((32, 76, 13), (54, 78, 13), (72, 76, 12), (42, 58, 12), (62, 58, 12), (52, 41, 11)):
        puff(c, x, y, r)
    for x, y in ((42, 50), (62, 50), (52, 33)):
        ellipse(c, x, y, 7, 2.5)
        c.set_source_rgba(*WHITE_CREAM)
        c.fill()
    for x, y in ((36, 66), (58, 70), (48, 52)):
        ellipse(c, x, y, 1.2, 1.2)
        c.set_source_rgba(1, 1, 1, 0.9)
        c.fill()


def biscuitroll(c):
    shadow(c)
    plate(c)

    def roll(cc):
        rounded_rect(cc, 16, 52, 56, 34, 16)
    glossy(c, roll, CARAMEL_LIGHT, (16, 52, 56, 34), line=2.2, highlight=0.35)
    glossy(c, lambda cc: ellipse(cc, 72, 69, 14, 17), SPONGE, (58, 52, 28, 34), line=2.2, highlight=0.0)
    c.new_path()
    for i in range(120):
        a = i / 120.0 * 5.5 * math.pi
        r = 2 + i / 120.0 * 11
        x, y = 72 + r * math.cos(a) * 0.85, 69 + r * math.sin(a)
        c.line_to(x, y)
    stroke(c, RASPBERRY_LIGHT, 3)
    for x in (26, 40, 54):
        ellipse(c, x, 56, 1.5, 1.5)
        c.set_source_rgba(1, 1, 1, 0.9)
        c.fill()


def chocolatecake(c):
    shadow(c)
    plate(c)
    layer_cake(c, 50, 86, 66, 40, MILK_CHOCOLATE, CHOCOLATE, 3, hexrgb("E8C8A0"))
    for x in (30, 50, 70):
        cream_dollop(c, x, 46, 5)
    cherry(c, 50, 38, 4.5)


def birthdaycake(c):
    shadow(c)
    plate(c)
    layer_cake(c, 50, 86, 68, 40, PINK_CREAM, WHITE_CREAM, 2, RASPBERRY_LIGHT)
    rnd = [(22, 62, LEMON), (34, 72, PISTACHIO), (46, 64, hexrgb("6A8FE0")), (60, 74, LEMON), (72, 64, PISTACHIO),
           (28, 80, hexrgb("6A8FE0")), (66, 82, RASPBERRY)]
    for x, y, col in rnd:
        rounded_rect(c, x, y, 5, 2, 1)
        c.set_source_rgba(*col)
        c.fill()
    for i, x in enumerate((32, 44, 56, 68)):
        col = [hexrgb("6A8FE0"), LEMON, PISTACHIO, RASPBERRY_LIGHT][i]
        rounded_rect(c, x - 2.5, 26, 5, 20, 2)
        c.set_source_rgba(*col)
        c.fill_preserve()
        stroke(c, darker(col, 0.5), 1.2)
        ellipse(c, x, 21, 3, 5)
        c.set_source(radial(x, 22, 5, [(0, hexrgb("FFF7C0")), (1, hexrgb("F7A23A"))]))
        c.fill()


def cupcake(c):
    shadow(c, 50, 26)
    c.new_path()
    c.move_to(28, 56)
    c.line_to(72, 56)
    c.line_to(66, BASE)
    c.line_to(34, BASE)
    c.close_path()
    c.set_source(vertical_gradient(56, BASE, [(0, PISTACHIO_LIGHT), (1, PISTACHIO)]))
    c.fill_preserve()
    stroke(c, PISTACHIO_DARK, 2)
    for x in range(32, 70, 6):
        c.move_to(x, 58)
        c.line_to(34 + (x - 28) * 0.72, BASE - 1)
        stroke(c, with_alpha(PISTACHIO_DARK, 0.5), 1.2)

    def swirl(cc):
        ellipse(cc, 50, 54, 26, 10)
        ellipse(cc, 50, 42, 20, 9)
        ellipse(cc, 50, 31, 13, 8)
    c.push_group()
    swirl(c)
    stroke(c, RASPBERRY_DARK, 3.5)
    swirl(c)
    c.set_source(radial(44, 36, 30, [(0, hexrgb("FFE3EC")), (1, RASPBERRY_LIGHT)]))
    c.fill()
    c.pop_group_to_source()
    c.paint()
    cherry(c, 52, 20, 5)


def cherrytart(c):
    shadow(c)
    tart_base(c, 50, 66, 76, 22)
    filling_top(c, 50, 66, 76, CHERRY)
    for x, y in ((30, 64), (42, 62), (54, 62), (66, 64), (36, 70), (50, 70), (62, 70)):
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y, 5, 4.5), CHERRY, (x - 5, y - 5, 10, 9), line=1.3, highlight=0.7)


def flan_shape(c, top_col, body_col):
    shadow(c)
    plate(c)

    def body(cc):
        cc.new_path()
        cc.move_to(26, 50)
        cc.line_to(74, 50)
        cc.curve_to(78, 70, 82, 84, 82, 86)
        cc.line_to(18, 86)
        cc.curve_to(18, 84, 22, 70, 26, 50)
        cc.close_path()
    glossy(c, body, body_col, (18, 50, 64, 36), line=2.2, highlight=0.35)
    ellipse(c, 50, 50, 24, 6)
    c.set_source_rgba(*top_col)
    c.fill_preserve()
    stroke(c, darker(top_col, 0.5), 1.6)
    drip_band(c, 27, 73, 53, top_col, 5, 5)


def flan(c):
    flan_shape(c, CARAMEL, hexrgb("F8DC8E"))


def lemonflan(c):
    flan_shape(c, LEMON, hexrgb("FFF0B0"))
    for x in (40, 60):
        ellipse(c, x, 46, 5, 2)
        c.set_source_rgba(*PISTACHIO)
        c.fill()


def lemontart(c):
    shadow(c)
    tart_base(c, 50, 64, 76, 24)
    filling_top(c, 50, 64, 76, LEMON)
    for x, y in ((32, 62), (50, 60), (68, 62), (41, 68), (59, 68)):
        cream_dollop(c, x, y, 4.5)
    c.save()
    c.translate(50, 56)
    ellipse(c, 0, 0, 9, 3.5)
    c.set_source_rgba(*PISTACHIO)
    c.fill()
    c.restore()


def lovecake(c):
    shadow(c)
    plate(c)

    def side(cc):
        cc.new_path()
        cc.move_to(14, 52)
        cc.line_to(14, 70)
        cc.curve_to(20, 78, 40, 84, 50, 90)
        cc.curve_to(60, 84, 80, 78, 86, 70)
        cc.line_to(86, 52)
        cc.close_path()
    glossy(c, side, RASPBERRY_LIGHT, (14, 52, 72, 38), line=2.2, highlight=0.2)
    c.save()
    c.translate(50, 36)
    c.scale(1.0, 0.55)
    heart_path(c, 0, 8, 38)
    c.restore()
    c.set_source(radial(40, 34, 40, [(0, hexrgb("FFD6E2")), (1, RASPBERRY_LIGHT)]))
    c.fill_preserve()
    stroke(c, RASPBERRY_DARK, 2)
    c.save()
    c.translate(50, 42)
    heart_path(c, 0, 0, 9)
    c.restore()
    c.set_source_rgba(*RASPBERRY)
    c.fill()


def heartcookie(c):
    shadow(c)
    plate(c)
    for x, y, s, col in ((34, 70, 16, CARAMEL_LIGHT), (64, 72, 16, CARAMEL_LIGHT), (50, 50, 18, CARAMEL_LIGHT)):
        glossy(c, lambda cc, x=x, y=y, s=s: heart_path(cc, x, y, s), col, (x - s, y - s, 2 * s, 2 * s),
               outline=CARAMEL_DARK, line=2, highlight=0.3)
        heart_path(c, x, y, s * 0.7)
        c.set_source_rgba(*(RASPBERRY_LIGHT if x == 50 else WHITE_CREAM))
        c.fill()


def chocolatemousse(c):
    shadow(c, 50, 24)
    stem_foot(c, 50, 76)

    def fill(cc):
        cc.rectangle(0, 46, 100, 40)
        cc.set_source(vertical_gradient(46, 80, [(0, MILK_CHOCOLATE), (1, CHOCOLATE_DARK)]))
        cc.fill()
        cc.rectangle(0, 56, 100, 4)
        cc.set_source_rgba(*hexrgb("E8C8A0"))
        cc.fill()
    glass_cup(c, 50, 42, 78, 56, 30, fill)
    cream_dollop(c, 50, 44, 12)
    for x, y in ((44, 34), (54, 30), (58, 38)):
        rounded_rect(c, x, y, 4, 2, 1)
        c.set_source_rgba(*CHOCOLATE)
        c.fill()


def truffle(c):
    shadow(c)
    plate(c)
    for x, y, col in ((32, 74, CHOCOLATE), (56, 76, MILK_CHOCOLATE), (74, 72, CHOCOLATE), (44, 56, MILK_CHOCOLATE),
                      (64, 56, CHOCOLATE)):
        c.new_path()
        c.move_to(x - 11, y + 2)
        c.line_to(x + 11, y + 2)
        c.line_to(x + 8, y + 12)
        c.line_to(x - 8, y + 12)
        c.close_path()
        c.set_source_rgba(*RASPBERRY_LIGHT)
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 1.4)
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y, 10, 9.5), col, (x - 10, y - 10, 20, 19), line=1.8, highlight=0.5)
        for k in range(3):
            ellipse(c, x - 4 + k * 4, y - 5 + (k % 2) * 2, 1.3, 1.3)
            c.set_source_rgba(*CREAM)
            c.fill()


def bananabread(c):
    shadow(c)
    plate(c)

    def loaf(cc):
        cc.new_path()
        cc.move_to(16, 86)
        cc.line_to(18, 58)
        cc.curve_to(20, 40, 80, 40, 82, 58)
        cc.line_to(84, 86)
        cc.close_path()
    glossy(c, loaf, hexrgb("C98A4A"), (16, 42, 68, 44), line=2.2, highlight=0.3)
    c.move_to(26, 52)
    c.curve_to(40, 44, 60, 44, 74, 52)
    stroke(c, with_alpha(CARAMEL_DARK, 0.6), 2)
    for x, y in ((34, 48), (50, 46), (66, 48)):
        ellipse(c, x, y, 6, 3.5)
        c.set_source_rgba(*hexrgb("FFF2C0"))
        c.fill_preserve()
        stroke(c, BANANA, 1.5)


def tropicaltart(c):
    shadow(c)
    tart_base(c, 50, 64, 76, 24)
    filling_top(c, 50, 64, 76, hexrgb("FFE8A8"))
    for x, y in ((32, 62), (46, 60), (60, 61), (38, 68), (54, 68), (68, 66)):
        ellipse(c, x, y, 5, 3)
        c.set_source_rgba(*hexrgb("FFF2C0"))
        c.fill_preserve()
        stroke(c, BANANA, 1.3)
    c.save()
    c.translate(50, 54)
    c.new_path()
    c.arc(0, 0, 9, math.pi, 2 * math.pi)
    c.close_path()
    c.set_source_rgba(*LEMON)
    c.fill_preserve()
    stroke(c, hexrgb("B09020"), 1.5)
    c.restore()
    for a in (-0.6, 0.6):
        c.save()
        c.translate(66, 52)
        c.rotate(a)
        ellipse(c, 0, -6, 3, 8)
        c.set_source_rgba(*PISTACHIO)
        c.fill()
        c.restore()


def redfruitpie(c):
    shadow(c)
    tart_base(c, 50, 62, 78, 26)
    filling_top(c, 50, 62, 78, RASPBERRY)
    c.save()
    ellipse(c, 50, 62, 35, 5.5)
    c.clip()
    for i in range(-4, 5):
        c.move_to(50 + i * 9 - 8, 54)
        c.line_to(50 + i * 9 + 8, 70)
        c.move_to(50 + i * 9 + 8, 54)
        c.line_to(50 + i * 9 - 8, 70)
    stroke(c, CARAMEL_LIGHT, 3)
    c.restore()
    berry(c, 40, 52, 5, STRAWBERRY)
    cherry(c, 58, 52, 4.5)


def cherrysundae(c):
    shadow(c, 50, 24)
    stem_foot(c, 50, 76)

    def fill(cc):
        for y0, col in ((46, PINK_CREAM), (58, WHITE_CREAM), (68, CHERRY)):
            cc.rectangle(0, y0, 100, 14)
            cc.set_source_rgba(*col)
            cc.fill()
    glass_cup(c, 50, 40, 78, 54, 30, fill)
    for x, y, r, col in ((38, 40, 10, PINK_CREAM), (60, 40, 10, WHITE_CREAM), (50, 32, 11, hexrgb("F6E2B0"))):
        glossy(c, lambda cc, x=x, y=y, r=r: ellipse(cc, x, y, r, r * 0.85), col, (x - r, y - r, 2 * r, 2 * r),
               outline=hexrgb("A8848C"), line=1.6, highlight=0.4)
    cherry(c, 52, 18, 5.5)


def eclair(c):
    shadow(c)
    plate(c)
    for k, dy in enumerate((0, -16)):
        def body(cc, dy=dy):
            rounded_rect(cc, 14, 66 + dy, 72, 18, 9)
        glossy(c, body, CARAMEL_LIGHT, (14, 66 + dy, 72, 18), line=2, highlight=0.3)
        rounded_rect(c, 16, 64 + dy, 68, 10, 5)
        c.set_source_rgba(*(CHOCOLATE if k == 0 else RASPBERRY_LIGHT))
        c.fill()
        rounded_rect(c, 22, 66 + dy, 30, 2.5, 1.2)
        c.set_source_rgba(1, 1, 1, 0.45)
        c.fill()


def meringue(c):
    shadow(c)
    plate(c)
    for x, y, r, col in ((30, 78, 12, WHITE_CREAM), (54, 80, 12, PINK_CREAM), (74, 78, 10, hexrgb("E8DDF8")),
                         (42, 58, 12, PINK_CREAM), (62, 58, 11, WHITE_CREAM), (52, 40, 10, hexrgb("E8DDF8"))):
        cream_dollop(c, x, y, r, col)


def bonbon(c):
    shadow(c)
    plate(c)
    for x, y, col in ((30, 76, RASPBERRY), (54, 78, PISTACHIO), (74, 74, LEMON), (42, 56, hexrgb("6A8FE0")),
                      (64, 54, CARAMEL)):
        for side in (-1, 1):
            polygon(c, [(x + side * 8, y), (x + side * 17, y - 7), (x + side * 17, y + 7)], 0.15)
            c.set_source_rgba(*lighter(col, 0.3))
            c.fill_preserve()
            stroke(c, darker(col, 0.5), 1.4)
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y, 9.5, 8), col, (x - 9.5, y - 8, 19, 16), line=1.6, highlight=0.6)
        c.move_to(x - 5, y - 2)
        c.curve_to(x - 2, y + 3, x + 2, y - 5, x + 5, y + 1)
        stroke(c, (1, 1, 1, 0.6), 1.4)


def fruitsalad(c):
    shadow(c)

    def bowl(cc):
        cc.new_path()
        cc.move_to(14, 58)
        cc.curve_to(16, 84, 84, 84, 86, 58)
        cc.close_path()
    for x, y, kind in ((30, 56, "s"), (44, 50, "c"), (58, 54, "b"), (70, 56, "l"), (50, 44, "s"), (38, 58, "l")):
        if kind == "s":
            berry(c, x, y, 7)
        elif kind == "c":
            cherry(c, x, y, 6)
        elif kind == "b":
            ellipse(c, x, y, 7, 4)
            c.set_source_rgba(*hexrgb("FFF2C0"))
            c.fill_preserve()
            stroke(c, BANANA, 1.5)
        else:
            c.new_path()
            c.arc(x, y, 7, math.pi, 2 * math.pi)
            c.close_path()
            c.set_source_rgba(*LEMON)
            c.fill_preserve()
            stroke(c, hexrgb("B09020"), 1.5)
    glossy(c, bowl, hexrgb("9AC8E8"), (14, 58, 72, 26), outline=hexrgb("3E6A8C"), line=2.2, highlight=0.4)
    ellipse(c, 50, BASE - 4, 14, 4)
    c.set_source_rgba(*hexrgb("7AA8C8"))
    c.fill()


def croquembouche(c):
    shadow(c)
    plate(c)
    rows = [(5, 80, 9), (4, 64, 8.5), (3, 49, 8), (2, 36, 7.5), (1, 24, 7)]
    for n, y, r in rows:
        for i in range(n):
            x = 50 + (i - (n - 1) / 2.0) * r * 1.8
            puff(c, x, y, r)
    c.new_path()
    for t in range(60):
        a = t / 60.0 * 6 * math.pi
        y = 84 - t
        w = 6 + (60 - t) * 0.55
        c.line_to(50 + w * math.sin(a), y)
    stroke(c, with_alpha(CARAMEL, 0.9), 1.5)
    rounded_star_path(c, 50, 13, 6, 2.5, 5)
    c.set_source_rgba(*LEMON)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 1.2)


def tiers(c, cols, frost, deco):
    shadow(c)
    plate(c, 50, 44)
    specs = [(86, 70, 24), (62, 52, 20), (42, 34, 18)]
    for (bottom, w, h), col in zip(specs, cols):
        layer_cake(c, 50, bottom, w, h, col, frost, 1)
    deco(c)


def showstopper(c):
    def deco(cc):
        for x in (24, 36, 50, 64, 76):
            berry(cc, x, 62, 4.5)
        for x in (34, 50, 66):
            cherry(cc, x, 44, 4)
        rounded_star_path(cc, 50, 16, 8, 3.2, 5)
        cc.set_source_rgba(*LEMON)
        cc.fill_preserve()
        stroke(cc, CARAMEL_DARK, 1.4)
    tiers(c, [MILK_CHOCOLATE, PINK_CREAM, PISTACHIO_LIGHT], hexrgb("FFF0D8"), deco)


def weddingcake(c):
    def deco(cc):
        for x, y in ((28, 66), (72, 66), (38, 46), (62, 46), (50, 28)):
            for k in range(5):
                a = k * 2 * math.pi / 5
                ellipse(cc, x + 3 * math.cos(a), y + 3 * math.sin(a), 3, 3)
            cc.set_source_rgba(*RASPBERRY_LIGHT)
            cc.fill()
            ellipse(cc, x, y, 2, 2)
            cc.set_source_rgba(*RASPBERRY_DARK)
            cc.fill()
        heart_path(cc, 44, 14, 5)
        heart_path(cc, 56, 14, 5)
        cc.set_source_rgba(*RASPBERRY)
        cc.fill()
    tiers(c, [WHITE_CREAM, WHITE_CREAM, WHITE_CREAM], SUGAR, deco)


RECIPES = [
    ("strawberrycake", strawberrycake, "strawberry cream cake"),
    ("creampuff", creampuff, "stack of cream puffs"),
    ("biscuitroll", biscuitroll, "rolled sponge with jam spiral"),
    ("chocolatecake", chocolatecake, "chocolate layer cake"),
    ("birthdaycake", birthdaycake, "pink cake with candles"),
    ("cupcake", cupcake, "cupcake with raspberry swirl"),
    ("cherrytart", cherrytart, "cherry tart"),
    ("flan", flan, "caramel flan"),
    ("lemonflan", lemonflan, "lemon flan"),
    ("lemontart", lemontart, "lemon meringue tart"),
    ("lovecake", lovecake, "heart-shaped cake"),
    ("heartcookie", heartcookie, "heart cookies"),
    ("chocolatemousse", chocolatemousse, "chocolate mousse in a glass"),
    ("truffle", truffle, "chocolate truffles in paper cups"),
    ("bananabread", bananabread, "banana bread loaf"),
    ("tropicaltart", tropicaltart, "banana and lemon tart"),
    ("redfruitpie", redfruitpie, "red fruit lattice pie"),
    ("cherrysundae", cherrysundae, "cherry sundae"),
    ("eclair", eclair, "chocolate and raspberry éclairs"),
    ("meringue", meringue, "meringue kisses"),
    ("bonbon", bonbon, "wrapped bonbons"),
    ("fruitsalad", fruitsalad, "bowl of fruit"),
    ("croquembouche", croquembouche, "tower of choux puffs"),
    ("showstopper", showstopper, "three-tier showpiece cake"),
    ("weddingcake", weddingcake, "white three-tier wedding cake"),
]


def pastry(fn, size=SIZE):
    s, c = new_surface(size, size)
    c.scale(size / 100.0, size / 100.0)
    fn(c)
    return s


def main():
    for name, fn, what in RECIPES:
        save_png(pastry(fn), "media/images/game/pastries/%s.png" % name,
                 "\"%s\": %s; stands on its bottom edge, centred" % (name, what), "1 frame", G_PASTRY)


if __name__ == "__main__":
    main()
