"""Board art: the ingredient tiles (each with its own colour and its own silhouette, so
colour-blind players can tell them apart), unripe cherry and banana, the bonus tiles with
their arcade variants, hover pictures and the board overlays.

Tiles are drawn in a 100 × 100 design space and scaled to the cell size (CELL_WIDTH ×
CELL_HEIGHT = 50 × 50). Picture keys are the ingredient book's ids; the files are their
lower-case names."""

import math

import cairo

from common import (BLUEBERRY, CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK,
                    CREAM, LAVENDER, LEMON, MILK_CHOCOLATE, MINT, OUTLINE, PISTACHIO, PISTACHIO_DARK,
                    PISTACHIO_LIGHT, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, ROSE, SUGAR, TWILIGHT,
                    darker, ellipse, glossy, heart_path, hexrgb, lighter, new_surface, plain_text, polygon,
                    radial, rounded_rect, rounded_star_path, save_frames, save_png, star_path, text_extents,
                    vertical_gradient, with_alpha)

CELL = 50
G_TILE = "Board tiles (section \"scenegame\"; 50×50, the cell size)"
G_BONUS = "Bonus tiles (section \"scenegame\")"
G_OVER = "Board overlays (section \"scenegame\")"

STRAWBERRY_RED = hexrgb("E8413C")
CHERRY_RED = hexrgb("A8173A")
EGG_SHELL = hexrgb("DDB083")
BANANA_GOLD = hexrgb("F2B93B")
LEMON_YELLOW = hexrgb("F4E04A")
UNRIPE_GREEN = hexrgb("8FC45A")


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def shadow_under(c, cx=50, cy=88, rx=30, ry=6):
    ellipse(c, cx, cy, rx, ry)
    c.set_source(radial(cx, cy, rx, [(0, (0.25, 0.1, 0.05, 0.28)), (1, (0.25, 0.1, 0.05, 0))]))
    c.fill()


# ---------------------------------------------------------------- ingredients

def draw_egg(c, unripe=False):
    shadow_under(c, 50, 88, 24, 5)

    def shape(cc):
        cc.new_path()
        cc.move_to(50, 10)
        cc.curve_to(74, 10, 82, 52, 78, 66)
        cc.curve_to(74, 82, 62, 88, 50, 88)
        cc.curve_to(38, 88, 26, 82, 22, 66)
        cc.curve_to(18, 52, 26, 10, 50, 10)
        cc.close_path()
    glossy(c, shape, EGG_SHELL, (22, 10, 56, 78), line=3.5, highlight=0.7)
    for x, y in ((40, 60), (60, 46), (56, 70), (36, 42), (64, 62)):
        ellipse(c, x, y, 1.6, 1.3)
        c.set_source_rgba(*with_alpha(darker(EGG_SHELL, 0.4), 0.55))
        c.fill()


def draw_cream(c, unripe=False):
    shadow_under(c, 50, 88, 32, 6)
    white = hexrgb("FCEFF3")

    def tier(cc, y, w, h):
        cc.new_path()
        cc.move_to(50 - w, y)
        cc.curve_to(50 - w, y - h, 50 + w, y - h, 50 + w, y)
        cc.curve_to(50 + w * 0.6, y + h * 0.55, 50 - w * 0.6, y + h * 0.55, 50 - w, y)
        cc.close_path()
    # a whipped swirl: three stacked tiers and a pointed tip
    for y, w, h in ((78, 34, 22), (60, 26, 20), (43, 18, 17)):
        glossy(c, lambda cc, y=y, w=w, h=h: tier(cc, y, w, h), white, (50 - w, y - h, 2 * w, h * 1.5),
               outline=hexrgb("8E5A6C"), line=3.4, highlight=0.0, shade=0.3)
    c.new_path()
    c.move_to(40, 34)
    c.curve_to(42, 22, 52, 16, 56, 8)
    c.curve_to(60, 20, 62, 28, 60, 34)
    c.close_path()
    c.set_source(vertical_gradient(8, 34, [(0, SUGAR), (1, hexrgb("F4E4EA"))]))
    c.fill_preserve()
    stroke(c, hexrgb("8E5A6C"), 3.4)
    for y, w in ((70, 22), (53, 16), (37, 10)):
        c.move_to(50 - w, y)
        c.curve_to(50 - w * 0.3, y - 6, 50 + w * 0.3, y - 6, 50 + w, y - 2)
        stroke(c, (1, 1, 1, 0.9), 2.5)


def draw_strawberry(c, unripe=False):
    shadow_under(c, 50, 90, 24, 5)
    col = UNRIPE_GREEN if unripe else STRAWBERRY_RED

    def berry(cc):
        cc.new_path()
        cc.move_to(50, 90)
        cc.curve_to(30, 80, 14, 50, 22, 34)
        cc.curve_to(30, 20, 44, 24, 50, 26)
        cc.curve_to(56, 24, 70, 20, 78, 34)
        cc.curve_to(86, 50, 70, 80, 50, 90)
        cc.close_path()
    glossy(c, berry, col, (18, 22, 64, 68), line=3.5, highlight=0.55)
    for x, y in ((36, 42), (50, 40), (64, 42), (30, 54), (43, 54), (57, 54), (70, 54), (37, 66), (50, 67),
                 (63, 66), (44, 78), (56, 78)):
        ellipse(c, x, y, 1.8, 2.6)
        c.set_source_rgba(1.0, 0.92, 0.5, 0.95)
        c.fill()
    leaf = PISTACHIO_DARK if not unripe else darker(PISTACHIO_DARK, 0.2)
    for a in (-70, -35, 0, 35, 70):
        c.save()
        c.translate(50, 27)
        c.rotate(math.radians(a))
        ellipse(c, 0, -4, 6, 13)
        c.set_source(vertical_gradient(-16, 8, [(0, PISTACHIO), (1, leaf)]))
        c.fill_preserve()
        stroke(c, darker(leaf, 0.5), 2)
        c.restore()
    c.move_to(50, 20)
    c.line_to(52, 8)
    stroke(c, darker(leaf, 0.4), 4)


def draw_biscuit(c, unripe=False):
    shadow_under(c, 50, 86, 34, 6)
    col = CARAMEL_LIGHT

    def cookie(cc):
        # scalloped round cookie
        n = 12
        cc.new_path()
        for i in range(n * 8 + 1):
            a = 2 * math.pi * i / (n * 8)
            r = 36 + 3.2 * math.cos(a * n)
            x, y = 50 + r * math.cos(a), 50 + r * math.sin(a)
            if i == 0:
                cc.move_to(x, y)
            else:
                cc.line_to(x, y)
        cc.close_path()
    glossy(c, cookie, col, (11, 11, 78, 78), outline=CARAMEL_DARK, line=3.5, highlight=0.45)
    ellipse(c, 50, 50, 26, 26)
    stroke(c, with_alpha(CARAMEL_DARK, 0.5), 2)
    for x, y in ((40, 40), (60, 40), (50, 50), (40, 60), (60, 60)):
        ellipse(c, x, y, 2.8, 2.8)
        c.set_source_rgba(*with_alpha(CARAMEL_DARK, 0.8))
        c.fill()


def draw_chocolate(c, unripe=False):
    shadow_under(c, 50, 88, 32, 6)

    def bar(cc):
        rounded_rect(cc, 18, 16, 64, 68, 9)
    glossy(c, bar, MILK_CHOCOLATE, (18, 16, 64, 68), outline=CHOCOLATE_DARK, line=3.5, highlight=0.25)
    for gx in range(2):
        for gy in range(2):
            x, y = 24 + gx * 28, 22 + gy * 30
            rounded_rect(c, x, y, 24, 26, 5)
            c.set_source(vertical_gradient(y, y + 26, [(0, lighter(MILK_CHOCOLATE, 0.15)), (1, CHOCOLATE)]))
            c.fill_preserve()
            stroke(c, CHOCOLATE_DARK, 2)
            rounded_rect(c, x + 4, y + 3, 14, 5, 2.5)
            c.set_source_rgba(1, 1, 1, 0.3)
            c.fill()


def draw_cherry(c, unripe=False):
    shadow_under(c, 50, 90, 30, 5)
    col = UNRIPE_GREEN if unripe else CHERRY_RED
    stem = PISTACHIO_DARK
    c.move_to(34, 62)
    c.curve_to(38, 40, 50, 22, 58, 12)
    c.move_to(66, 66)
    c.curve_to(66, 44, 62, 26, 58, 12)
    stroke(c, darker(stem, 0.3), 4)
    c.save()
    c.translate(62, 16)
    c.rotate(-0.5)
    ellipse(c, 10, 0, 12, 5.5)
    c.set_source(vertical_gradient(-6, 6, [(0, PISTACHIO_LIGHT), (1, PISTACHIO)]))
    c.fill_preserve()
    stroke(c, darker(stem, 0.4), 2)
    c.restore()
    for x, y in ((33, 70), (67, 72)):
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y, 19, 18), col, (x - 19, y - 18, 38, 36), line=3.5, highlight=0.7)


def draw_lemon(c, unripe=False):
    shadow_under(c, 50, 84, 34, 6)

    def lemon(cc):
        cc.new_path()
        cc.move_to(10, 52)
        cc.curve_to(14, 46, 18, 46, 22, 40)
        cc.curve_to(34, 22, 66, 22, 78, 40)
        cc.curve_to(82, 46, 86, 46, 90, 52)
        cc.curve_to(86, 58, 82, 58, 78, 64)
        cc.curve_to(66, 82, 34, 82, 22, 64)
        cc.curve_to(18, 58, 14, 58, 10, 52)
        cc.close_path()
    glossy(c, lemon, LEMON_YELLOW, (10, 24, 80, 56), outline=hexrgb("9A7A12"), line=3.5, highlight=0.6)
    for x, y in ((36, 48), (46, 62), (60, 44), (66, 60), (52, 36)):
        ellipse(c, x, y, 1.3, 1.3)
        c.set_source_rgba(*with_alpha(hexrgb("C8A820"), 0.6))
        c.fill()
    c.save()
    c.translate(58, 26)
    c.rotate(-0.4)
    ellipse(c, 8, -4, 12, 5)
    c.set_source(vertical_gradient(-10, 2, [(0, PISTACHIO_LIGHT), (1, PISTACHIO)]))
    c.fill_preserve()
    stroke(c, PISTACHIO_DARK, 2)
    c.restore()


def draw_banana(c, unripe=False):
    shadow_under(c, 50, 86, 34, 6)
    col = UNRIPE_GREEN if unripe else BANANA_GOLD
    line = darker(col, 0.55)

    def banana(cc):
        cc.new_path()
        cc.move_to(14, 24)
        cc.curve_to(8, 68, 46, 92, 88, 72)
        cc.curve_to(92, 66, 90, 58, 84, 56)
        cc.curve_to(54, 64, 36, 50, 34, 22)
        cc.close_path()
    glossy(c, banana, col, (10, 20, 80, 70), outline=line, line=3.5, highlight=0.5)
    c.move_to(22, 30)
    c.curve_to(22, 62, 50, 78, 84, 66)
    stroke(c, with_alpha(darker(col, 0.3), 0.7), 2)
    rounded_rect(c, 14, 14, 20, 12, 3)
    c.set_source_rgba(*darker(col, 0.55) if unripe else CHOCOLATE)
    c.fill()
    ellipse(c, 88, 64, 3.5, 4.5)
    c.set_source_rgba(*CHOCOLATE_DARK)
    c.fill()


WHITE_CHOCOLATE = hexrgb("F4E2B6")
WHITE_CHOCOLATE_LINE = hexrgb("7A5530")


def drizzle(c, points, width):
    c.move_to(*points[0])
    for p in points[1:]:
        c.line_to(*p)
    stroke(c, CHOCOLATE_DARK, width + 3)
    c.move_to(*points[0])
    for p in points[1:]:
        c.line_to(*p)
    stroke(c, MILK_CHOCOLATE, width)


def draw_whitechocolate(c, unripe=False):
    # A white square set on its point, so neither its colour nor its outline
    # can be taken for the dark upright bar; a dark drizzle crosses it.
    shadow_under(c, 50, 90, 28, 5)

    def diamond(cc):
        polygon(cc, [(50, 6), (94, 50), (50, 94), (6, 50)], 0.14)
    glossy(c, diamond, WHITE_CHOCOLATE, (6, 6, 88, 88), outline=WHITE_CHOCOLATE_LINE, line=4.5, highlight=0.5)
    # four pieces, each a small diamond of its own
    for dx, dy in ((0, -20), (20, 0), (0, 20), (-20, 0)):
        cx, cy = 50 + dx, 50 + dy
        polygon(c, [(cx, cy - 15), (cx + 15, cy), (cx, cy + 15), (cx - 15, cy)], 0.2)
        c.set_source(vertical_gradient(cy - 15, cy + 15, [(0, SUGAR), (1, darker(WHITE_CHOCOLATE, 0.15))]))
        c.fill_preserve()
        stroke(c, with_alpha(WHITE_CHOCOLATE_LINE, 0.85), 2)
    drizzle(c, [(22, 40), (34, 30), (40, 52), (52, 38), (58, 62), (70, 46), (78, 60)], 4)


INGREDIENTS = [
    ("egg", draw_egg, "light-brown tall oval"),
    ("cream", draw_cream, "white whipped swirl, pointed top"),
    ("strawberry", draw_strawberry, "red heart-shaped berry with a leaf crown"),
    ("biscuit", draw_biscuit, "golden round scalloped cookie"),
    ("chocolate", draw_chocolate, "dark square bar with four squares"),
    ("cherry", draw_cherry, "deep crimson pair of cherries on stems"),
    ("lemon", draw_lemon, "pale yellow pointed horizontal lemon"),
    ("banana", draw_banana, "golden crescent banana"),
    ("whitechocolate", draw_whitechocolate, "ivory square on its point with a dark drizzle"),
]


def tile(draw, unripe=False, hover=False, size=CELL):
    s, c = new_surface(size, size)
    k = size / 100.0
    if hover:
        ellipse(c, size / 2.0, size / 2.0, size * 0.5, size * 0.5)
        c.set_source(radial(size / 2.0, size / 2.0, size * 0.5,
                            [(0, (1, 0.97, 0.8, 0.75)), (0.7, (1, 0.92, 0.65, 0.35)), (1, (1, 0.9, 0.6, 0))]))
        c.fill()
    c.save()
    c.scale(k, k)
    if hover:
        c.translate(50, 50)
        c.scale(1.06, 1.06)
        c.translate(-50, -52)
    draw(c, unripe)
    c.restore()
    if hover:
        c.set_operator(cairo.OPERATOR_ATOP)
        c.set_source_rgba(1, 1, 0.9, 0.12)
        c.paint()
    return s


# ---------------------------------------------------------------- bonuses

def badge(c, col, arcade):
    shadow_under(c, 50, 90, 30, 5)

    def disc(cc):
        ellipse(cc, 50, 50, 38, 38)
    glossy(c, disc, col, (12, 12, 76, 76), line=3.5, highlight=0.0)
    ellipse(c, 50, 50, 31, 31)
    stroke(c, with_alpha(SUGAR, 0.55), 2.2)
    if arcade:
        ellipse(c, 50, 50, 40.5, 40.5)
        stroke(c, hexrgb("F6C945"), 4)
        for i in range(8):
            a = i * math.pi / 4
            ellipse(c, 50 + 40.5 * math.cos(a), 50 + 40.5 * math.sin(a), 2.4, 2.4)
            c.set_source_rgba(1, 1, 0.85, 1)
            c.fill()


def glossy_top(c):
    c.save()
    ellipse(c, 50, 32, 26, 15)
    c.set_source(vertical_gradient(17, 47, [(0, (1, 1, 1, 0.55)), (1, (1, 1, 1, 0.0))]))
    c.fill()
    c.restore()


def icon_fill(c, col=SUGAR, line=OUTLINE, w=3):
    path = c.copy_path()
    c.set_source_rgba(*line)
    c.set_line_width(w * 2)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.stroke()
    c.append_path(path)
    c.set_source_rgba(*col)
    c.fill()


def arrow_pair(c, vertical):
    c.save()
    if vertical:
        c.translate(50, 50)
        c.rotate(math.pi / 2)
        c.translate(-50, -50)
    polygon(c, [(18, 50), (34, 36), (34, 44), (66, 44), (66, 36), (82, 50), (66, 64), (66, 56), (34, 56), (34, 64)], 0.08)
    icon_fill(c)
    c.restore()


def bonus_rowzap(c):
    arrow_pair(c, False)


def bonus_columnzap(c):
    arrow_pair(c, True)


def bonus_blockzap(c):
    rounded_star_path(c, 50, 50, 30, 14, 8, 0.2)
    icon_fill(c, hexrgb("FFE27A"))
    rounded_rect(c, 40, 40, 20, 20, 3)
    icon_fill(c, SUGAR, OUTLINE, 2)


def star_with(c, text):
    rounded_star_path(c, 50, 48, 30, 14, 5)
    icon_fill(c, hexrgb("FFD54A"))
    ext = text_extents(c, text, 20)
    c.move_to(50 - ext.x_advance / 2.0, 56 - (ext.y_bearing + ext.height / 2.0))
    c.text_path(text)
    icon_fill(c, SUGAR, OUTLINE, 2)


def bonus_star1(c):
    star_with(c, "+1")


def bonus_star5(c):
    star_with(c, "+5")


def bonus_fruitpicker(c):
    # a little basket with a cherry
    c.new_path()
    c.arc_negative(50, 50, 18, math.pi, 0)
    stroke(c, OUTLINE, 8)
    c.arc_negative(50, 50, 18, math.pi, 0)
    stroke(c, CARAMEL_LIGHT, 4)
    polygon(c, [(24, 48), (76, 48), (68, 76), (32, 76)], 0.12)
    icon_fill(c, CARAMEL_LIGHT)
    for y in (58, 67):
        c.move_to(28, y)
        c.line_to(72, y)
        stroke(c, CARAMEL_DARK, 2)
    glossy(c, lambda cc: ellipse(cc, 44, 44, 7, 7), CHERRY_RED, (37, 37, 14, 14), line=2)
    glossy(c, lambda cc: ellipse(cc, 57, 45, 7, 7), STRAWBERRY_RED, (50, 38, 14, 14), line=2)


def bonus_workdone(c):
    # a whisk crossed with a tick
    c.move_to(30, 52)
    c.line_to(44, 66)
    c.line_to(72, 34)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    stroke(c, OUTLINE, 16)
    c.move_to(30, 52)
    c.line_to(44, 66)
    c.line_to(72, 34)
    stroke(c, SUGAR, 9)


def bonus_chocolatelover(c):
    heart_path(c, 50, 50, 24)
    icon_fill(c, MILK_CHOCOLATE, CHOCOLATE_DARK)
    heart_path(c, 50, 50, 24)
    c.save()
    c.clip()
    ellipse(c, 42, 36, 10, 6)
    c.set_source_rgba(1, 1, 1, 0.35)
    c.fill()
    c.restore()
    c.move_to(36, 46)
    c.curve_to(44, 40, 56, 52, 64, 46)
    stroke(c, RASPBERRY_LIGHT, 3)


def bolt(c, x, y, s):
    polygon(c, [(x + 2 * s, y - 12 * s), (x - 8 * s, y + 2 * s), (x, y + 2 * s), (x - 3 * s, y + 13 * s),
                (x + 8 * s, y - 3 * s), (x + 1 * s, y - 3 * s)], 0.05)


def bonus_unripezap(c):
    glossy(c, lambda cc: ellipse(cc, 40, 58, 15, 14), UNRIPE_GREEN, (25, 44, 30, 28), line=3)
    c.move_to(40, 44)
    c.curve_to(42, 36, 46, 30, 50, 26)
    stroke(c, PISTACHIO_DARK, 3)
    bolt(c, 64, 46, 1.6)
    icon_fill(c, hexrgb("FFE27A"))


def bonus_randomzap(c):
    rounded_rect(c, 28, 28, 44, 44, 9)
    icon_fill(c, SUGAR)
    for x, y in ((39, 39), (61, 39), (50, 50), (39, 61), (61, 61)):
        ellipse(c, x, y, 4, 4)
        c.set_source_rgba(*RASPBERRY_DARK)
        c.fill()
    bolt(c, 74, 26, 1.0)
    icon_fill(c, hexrgb("FFE27A"), OUTLINE, 2)


def question(c, col):
    ext = text_extents(c, "?", 46, "DejaVu Serif")
    c.move_to(50 - ext.x_advance / 2.0, 52 - (ext.y_bearing + ext.height / 2.0))
    c.text_path("?")
    icon_fill(c, col)


def bonus_secret(c):
    question(c, SUGAR)


def bonus_supersecret(c):
    for x, y, r in ((26, 30, 5), (76, 34, 4), (72, 72, 5)):
        rounded_star_path(c, x, y, r * 1.6, r * 0.6, 4)
        c.set_source_rgba(1, 1, 0.85, 1)
        c.fill()
    question(c, hexrgb("FFD54A"))


def bonus_totalrefresh(c):
    for k in range(2):
        c.save()
        c.translate(50, 50)
        c.rotate(k * math.pi)
        c.new_path()
        c.arc(0, 0, 21, math.radians(200), math.radians(340))
        stroke(c, OUTLINE, 13)
        c.new_path()
        c.arc(0, 0, 21, math.radians(200), math.radians(340))
        stroke(c, SUGAR, 7)
        a = math.radians(340)
        x, y = 21 * math.cos(a), 21 * math.sin(a)
        polygon(c, [(x - 9, y - 4), (x + 9, y - 6), (x + 3, y + 11)], 0.1)
        icon_fill(c, SUGAR, OUTLINE, 2.5)
        c.restore()


BONUSES = [
    ("BONUS_ROWZAP", RASPBERRY, bonus_rowzap, "clears a row"),
    ("BONUS_COLUMNZAP", RASPBERRY, bonus_columnzap, "clears a column"),
    ("BONUS_BLOCKZAP", hexrgb("E8692E"), bonus_blockzap, "clears a block"),
    ("BONUS_STAR1", BLUEBERRY, bonus_star1, "one more star"),
    ("BONUS_STAR5", TWILIGHT, bonus_star5, "five more stars"),
    ("BONUS_FRUITPICKER", PISTACHIO, bonus_fruitpicker, "picks fruit"),
    ("BONUS_WORKDONE", PISTACHIO_DARK, bonus_workdone, "finishes work"),
    ("BONUS_CHOCOLATELOVER", hexrgb("D98AA8"), bonus_chocolatelover, "takes chocolate"),
    ("BONUS_UNRIPEZAP", hexrgb("6F8F3A"), bonus_unripezap, "zaps unripe fruit"),
    ("BONUS_RANDOMZAP", hexrgb("8A5AB8"), bonus_randomzap, "zaps at random"),
    ("BONUS_SECRET", CARAMEL, bonus_secret, "secret ingredient"),
    ("BONUS_SUPERSECRET", CHOCOLATE, bonus_supersecret, "super secret ingredient"),
    ("BONUS_TOTALREFRESH", hexrgb("3A9AA8"), bonus_totalrefresh, "refreshes the board"),
]


def bonus_tile(col, fn, arcade=False, hover=False, size=CELL, selected=False, pressed=False):
    s, c = new_surface(size, size)
    k = size / 100.0
    if selected:
        # the selection's soft frame behind the badge
        sel_col = hexrgb("F6C945") if arcade else RASPBERRY_LIGHT
        rounded_rect(c, 1.5, 1.5, size - 3, size - 3, 10 * k * 2)
        c.set_source(radial(size / 2.0, size / 2.0, size * 0.7, [(0, with_alpha(SUGAR, 0.55)), (1, with_alpha(sel_col, 0.45))]))
        c.fill_preserve()
        stroke(c, sel_col, 3)
    if hover or pressed:
        ellipse(c, size / 2.0, size / 2.0, size * 0.5, size * 0.5)
        glow = [(0, (1, 0.97, 0.8, 0.8)), (0.75, (1, 0.92, 0.65, 0.4)), (1, (1, 0.9, 0.6, 0))]
        if pressed:
            glow = [(0, (1, 1, 0.95, 0.95)), (0.6, (1, 0.95, 0.7, 0.6)), (1, (1, 0.9, 0.6, 0))]
        c.set_source(radial(size / 2.0, size / 2.0, size * 0.5, glow))
        c.fill()
    c.save()
    if pressed:
        # the badge squashed a little, as if pushed
        c.translate(size / 2.0, size * 0.55)
        c.scale(1.06, 0.9)
        c.translate(-size / 2.0, -size * 0.55)
    c.scale(k, k)
    badge(c, lighter(col, 0.12) if (hover or pressed) else col, arcade)
    fn(c)
    glossy_top(c)
    c.restore()
    return s


def bonus_strip(col, fn, arcade=False):
    """The four frames of a bonus tile: normal, hovered, selected, fired."""
    return [bonus_tile(col, fn, arcade), bonus_tile(col, fn, arcade, hover=True),
            bonus_tile(col, fn, arcade, selected=True), bonus_tile(col, fn, arcade, pressed=True)]


def bonus_mark():
    """The mark over a cell that a hovered bonus would act on."""
    s, c = new_surface(CELL, CELL)
    rounded_rect(c, 2, 2, CELL - 4, CELL - 4, 9)
    c.set_source(radial(CELL / 2.0, CELL / 2.0, CELL * 0.7, [(0, (1, 0.96, 0.75, 0.15)), (1, (1, 0.85, 0.45, 0.55))]))
    c.fill_preserve()
    c.set_source_rgba(1, 0.98, 0.88, 0.9)
    c.set_line_width(2.0)
    c.set_dash([5.0, 3.0])
    c.stroke()
    c.set_dash([])
    return s


def bonus_name_back():
    """The plate behind a fired bonus's name."""
    w, h = 132, 80
    s, c = new_surface(w, h)
    rounded_rect(c, 3, 3, w - 6, h - 6, 16)
    c.set_source(vertical_gradient(3, h - 3, [(0, with_alpha(hexrgb("FFF4E0"), 0.95)), (1, with_alpha(hexrgb("F6D9A8"), 0.95))]))
    c.fill_preserve()
    stroke(c, RASPBERRY, 3)
    rounded_rect(c, 7, 7, w - 14, h - 14, 12)
    stroke(c, with_alpha(SUGAR, 0.8), 1.2)
    for x, y in ((12, 12), (w - 12, 12), (12, h - 12), (w - 12, h - 12)):
        rounded_star_path(c, x, y, 4.5, 1.8, 4, 0.3)
        c.set_source_rgba(*hexrgb("F6C945"))
        c.fill()
    return s


def blue_quality_star():
    """The blue star of the secret bonuses, the size of a quality star."""
    s, c = new_surface(20, 20)
    rounded_star_path(c, 10, 10.5, 9.2, 4.2, 5)
    c.set_source(radial(10, 8, 10, [(0, hexrgb("E6F4FF")), (0.55, hexrgb("6FB6F2")), (1, hexrgb("2F6FC0"))]))
    c.fill_preserve()
    stroke(c, hexrgb("1F3F7A"), 1.2)
    ellipse(c, 8, 7, 2.2, 1.4)
    c.set_source_rgba(1, 1, 1, 0.8)
    c.fill()
    return s


# ---------------------------------------------------------------- overlays

def selection(arcade):
    s, c = new_surface(CELL, CELL)
    col = hexrgb("F6C945") if arcade else RASPBERRY_LIGHT
    rounded_rect(c, 1.5, 1.5, CELL - 3, CELL - 3, 10)
    c.set_source(radial(CELL / 2.0, CELL / 2.0, CELL * 0.7, [(0, with_alpha(SUGAR, 0.55)), (1, with_alpha(col, 0.45))]))
    c.fill_preserve()
    stroke(c, col, 3)
    rounded_rect(c, 4.5, 4.5, CELL - 9, CELL - 9, 8)
    stroke(c, with_alpha(SUGAR, 0.9), 1.4)
    return s


def grid_match(arcade):
    s, c = new_surface(CELL, CELL)
    col = hexrgb("FFF1B0") if arcade else SUGAR
    rounded_rect(c, 1, 1, CELL - 2, CELL - 2, 10)
    c.set_source(radial(CELL / 2.0, CELL / 2.0, CELL * 0.72, [(0, with_alpha(col, 0.95)), (1, with_alpha(col, 0.25))]))
    c.fill()
    return s


def highlight_frames(n=8):
    frames = []
    for i in range(n):
        s, c = new_surface(CELL, CELL)
        for k in range(4):
            a = (i / float(n) + k / 4.0) * 2 * math.pi
            r = 19
            x, y = CELL / 2.0 + r * math.cos(a), CELL / 2.0 + r * math.sin(a)
            size = 4.5 + 1.5 * math.sin(i * math.pi / 4 + k)
            rounded_star_path(c, x, y, size, size * 0.35, 4, a)
            c.set_source_rgba(1, 1, 0.85, 0.95)
            c.fill()
        frames.append(s)
    return frames


def highlight_back():
    s, c = new_surface(CELL, CELL)
    ellipse(c, CELL / 2.0, CELL / 2.0, CELL * 0.5, CELL * 0.5)
    c.set_source(radial(CELL / 2.0, CELL / 2.0, CELL * 0.5, [(0, (1, 0.95, 0.7, 0.8)), (1, (1, 0.9, 0.6, 0))]))
    c.fill()
    return s


def removal_frames(kind, n=8):
    """The burst over a removed tile: a soft glow that opens and fades while
    small pieces fly outwards. The kind picks the colours and the pieces. The
    last frame stays on while the burst shrinks away, so it keeps its pieces."""
    looks = {
        # sugar stars: the ingredient went into a pastry
        "match": ((1.0, 0.93, 0.62), [hexrgb("F6C945"), RASPBERRY_LIGHT, hexrgb("FFE48A")], "star"),
        # flour dust: no pastry wanted it
        "superfluous": ((0.9, 0.86, 0.8), [hexrgb("CFC6BA"), hexrgb("E9E3DA"), hexrgb("B3A796")], "puff"),
        # green leaves: the run held unripe fruit
        "unripe": ((0.82, 0.95, 0.7), [UNRIPE_GREEN, PISTACHIO, MINT], "leaf"),
        # sparks: a bonus zapped the tile
        "bonus": ((0.85, 0.93, 1.0), [hexrgb("F6C945"), hexrgb("6FB6F2"), SUGAR], "star"),
        # golden stars and hearts: a quality tool improved it
        "qualitytool": ((1.0, 0.9, 0.6), [hexrgb("F6C945"), RASPBERRY_LIGHT, ROSE], "heart"),
    }
    glow, colours, piece = looks[kind]
    frames = []
    cx = cy = CELL / 2.0
    for i in range(n):
        t = (i + 1) / float(n)
        s, c = new_surface(CELL, CELL)
        # glow: grows, then fades
        radius = CELL * (0.22 + 0.3 * t)
        alpha = 0.75 * (1.0 - 0.7 * t)
        ellipse(c, cx, cy, radius, radius)
        c.set_source(radial(cx, cy, radius, [(0, with_alpha(glow, alpha)), (1, with_alpha(glow, 0.0))]))
        c.fill()
        # a thin ring on the first frames
        if t < 0.6:
            ellipse(c, cx, cy, radius * 0.9, radius * 0.9)
            c.set_source_rgba(1, 1, 1, 0.55 * (1.0 - t / 0.6))
            c.set_line_width(2.0)
            c.stroke()
        # eight pieces flying out on a slight spiral
        for k in range(8):
            a = k * math.pi / 4 + t * 0.6 + (0.2 if k % 2 else 0.0)
            dist = 6 + 17 * t + (3 if k % 2 else 0)
            x, y = cx + dist * math.cos(a), cy + dist * math.sin(a)
            size = (5.6 if k % 2 == 0 else 4.2) * (1.0 - 0.35 * t)
            col = colours[k % len(colours)]
            fade = 1.0 - 0.45 * t ** 2
            if piece == "star" or (piece == "heart" and k % 2 == 0):
                rounded_star_path(c, x, y, size, size * 0.42, 5, a)
            elif piece == "heart":
                heart_path(c, x, y, size * 1.6)
            elif piece == "leaf":
                c.save()
                c.translate(x, y)
                c.rotate(a)
                ellipse(c, 0, 0, size, size * 0.5)
                c.restore()
            else:
                ellipse(c, x, y, size * 1.1, size * 1.1)
            c.set_source_rgba(col[0], col[1], col[2], fade)
            c.fill_preserve()
            # a darker rim keeps the pieces readable on the pale board
            rim = darker(col, 0.5)
            c.set_source_rgba(rim[0], rim[1], rim[2], 0.8 * fade)
            c.set_line_width(1.0)
            c.stroke()
        frames.append(s)
    return frames


def board_back():
    """A checkered pastry-board for behind the 8 × 8 grid (400 × 400)."""
    size = CELL * 8
    s, c = new_surface(size + 16, size + 16)
    rounded_rect(c, 2, 2, size + 12, size + 12, 14)
    c.set_source(vertical_gradient(0, size, [(0, CARAMEL_LIGHT), (1, CARAMEL)]))
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 3)
    for gx in range(8):
        for gy in range(8):
            rounded_rect(c, 8 + gx * CELL + 1, 8 + gy * CELL + 1, CELL - 2, CELL - 2, 6)
            light = (gx + gy) % 2 == 0
            c.set_source_rgba(*(with_alpha(hexrgb("FFF4E0"), 0.92) if light else with_alpha(hexrgb("F6E1C2"), 0.92)))
            c.fill()
    return s


def main():
    for name, draw, look in INGREDIENTS:
        base = "media/images/game/tiles/%s" % name
        save_png(tile(draw), base + ".png", "ingredient \"%s\": %s" % (name, look), "1 frame", G_TILE)
        save_png(tile(draw, hover=True), base + "_hover.png", "\"%s_HOVER\": the tile under the pointer" % name,
                 "1 frame", G_TILE)
        if name in ("cherry", "banana"):
            save_png(tile(draw, unripe=True), base + "_unripe.png", "\"%s_UNRIPE\": unripe (green), same silhouette" % name,
                     "1 frame", G_TILE)
            save_png(tile(draw, unripe=True, hover=True), base + "_unripe_hover.png",
                     "\"%s_UNRIPE_HOVER\"" % name, "1 frame", G_TILE)
        save_png(tile(draw, size=32), "media/images/game/icons/%s.png" % name,
                 "small icon of \"%s\" for the countertop's ingredient slots and the books" % name, "1 frame", G_TILE)
    for key, col, fn, what in BONUSES:
        base = "media/images/game/tiles/%s" % key.lower()
        save_frames(bonus_strip(col, fn), base + ".png", "\"%s\": %s" % (key, what), G_BONUS,
                    "frame 0 normal, 1 hovered, 2 selected, 3 fired")
        save_frames(bonus_strip(col, fn, arcade=True), base + "_arcade.png",
                    "\"%s_ARCADE\": arcade and exam levels (golden rim)" % key, G_BONUS,
                    "frame 0 normal, 1 hovered, 2 selected, 3 fired")
    save_png(bonus_mark(), "media/images/game/grid_bonus_hover.png",
             "\"GRID_BONUS_HOVER\": a cell a hovered or firing bonus acts on", "1 frame", G_BONUS)
    save_png(bonus_name_back(), "media/images/game/bonusback.png",
             "\"BONUSBACK\": the plate behind a fired bonus's name", "1 frame", G_BONUS)
    save_png(blue_quality_star(), "media/images/game/quality_star_blue.png",
             "\"QUALITY_STAR_BLUE\": a secret bonus's star on its way into a pastry", "1 frame", G_BONUS)
    save_frames(removal_frames("bonus", 9), "media/images/game/remove_bonus_match.png",
                "\"REMOVE_BONUS_MATCH\": the burst over a tile a bonus zapped", G_BONUS)
    save_png(selection(False), "media/images/game/selection.png", "\"SELECTION\": the selected tile's frame", "1 frame", G_OVER)
    save_png(selection(True), "media/images/game/arcade_selection.png", "\"ARCADE_SELECTION\"", "1 frame", G_OVER)
    save_png(grid_match(False), "media/images/game/grid_match.png", "\"GRID_MATCH\": flash over matched tiles", "1 frame", G_OVER)
    save_png(grid_match(True), "media/images/game/arcade_grid_match.png", "\"ARCADE_GRID_MATCH\"", "1 frame", G_OVER)
    save_frames(highlight_frames(), "media/images/game/highlight.png", "\"HIGHLIGHT\": circling sparkles of the match hint", G_OVER)
    save_png(highlight_back(), "media/images/game/highlight_back.png", "\"HIGHLIGHT_BACK\": glow behind a hinted tile", "1 frame", G_OVER)
    for kind, key, what in (("match", "REMOVE_MATCH", "sugar-star burst over a tile that went into a pastry"),
                            ("superfluous", "REMOVE_MATCH_SUPERFLUOUS", "flour puff over a tile no pastry wanted"),
                            ("unripe", "REMOVE_MATCH_UNRIPE", "green leaves over a run that held unripe fruit"),
                            ("qualitytool", "REMOVE_MATCH_QUALITYTOOL",
                             "golden stars and hearts when a quality tool improves the ingredient")):
        save_frames(removal_frames(kind), "media/images/game/remove_%s.png" % kind, "\"%s\": %s" % (key, what), G_OVER)
    save_png(board_back(), "media/images/game/board_back.png",
             "\"BOARD_BACK\": checkered pastry board behind the 8 × 8 grid (8-pixel rim around 400 × 400)",
             "1 frame", G_OVER)


if __name__ == "__main__":
    main()
