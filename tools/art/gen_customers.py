"""The customers who wait at the counter: one picture per customer and mood (casual,
happy, ecstatic), half figures of 180 × 240 drawn in a 100 × 133 design space. Each mood is
a strip of four frames 252 px high (taller than 1000 px in all, which tells the game to cut
it): the casual face blinks, the happy and ecstatic ones bob; plus the chef who courts the
singer and the singer's blush."""

import math

import cairo

from common import (BLUEBERRY, CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, CREAM,
                    LAVENDER, LEMON, MILK_CHOCOLATE, MINT, OUTLINE, PEACH, PISTACHIO, PISTACHIO_DARK,
                    RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, ROSE, SUGAR, TWILIGHT, darker, ellipse, glossy,
                    heart_path, hexrgb, lighter, new_surface, polygon, radial, rounded_rect,
                    rounded_star_path, save_png, vertical_gradient, with_alpha)

G_CUSTOMER = "Customers (section \"scenegame\"; one picture per mood)"
W, H = 180, 240
SKIN = hexrgb("FFD3B0")
SKIN_DARK = hexrgb("C98E66")
WHITE = hexrgb("FFFFFA")
GREY_HAIR = hexrgb("D8D4D0")
FRAMES = 4
FRAME_H = 252
# Eyes of the casual face while drawing: 0 open, 1 half shut, 2 shut.
_blink = [0]


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def body(c, col, collar=None, stripes=None):
    def shape(cc):
        cc.new_path()
        cc.move_to(10, 133)
        cc.curve_to(10, 100, 22, 86, 50, 86)
        cc.curve_to(78, 86, 90, 100, 90, 133)
        cc.close_path()
    glossy(c, shape, col, (10, 86, 80, 47), line=2.2, highlight=0.25, shade=0.25)
    if stripes:
        c.save()
        shape(c)
        c.clip()
        for y in range(92, 134, 8):
            c.rectangle(0, y, 100, 4)
            c.set_source_rgba(*stripes)
            c.fill()
        c.restore()
        shape(c)
        stroke(c, OUTLINE, 2.2)
    if collar:
        collar(c)


def neck(c, skin):
    rounded_rect(c, 43, 74, 14, 16, 5)
    c.set_source_rgba(*darker(skin, 0.12))
    c.fill()


def head(c, skin, cx=50, cy=56, rx=20, ry=22):
    ellipse(c, cx - rx, cy + 2, 4, 6)
    ellipse(c, cx + rx, cy + 2, 4, 6)
    c.set_source_rgba(*skin)
    c.fill_preserve()
    stroke(c, OUTLINE, 1.6)
    glossy(c, lambda cc: ellipse(cc, cx, cy, rx, ry), skin, (cx - rx, cy - ry, 2 * rx, 2 * ry), line=2, highlight=0.25, shade=0.15)


def face(c, mood, cx=50, cy=58, glasses=False, lashes=False, blush=True):
    # eyes
    for side in (-1, 1):
        ex, ey = cx + side * 8, cy - 4
        if mood == "ecstatic":
            c.new_path()
            c.arc(ex, ey + 1, 3.5, math.pi * 1.1, math.pi * 1.9)
            stroke(c, OUTLINE, 2)
        elif mood == "happy":
            ellipse(c, ex, ey, 2.6, 2.8)
            c.set_source_rgba(*OUTLINE)
            c.fill()
            c.new_path()
            c.arc(ex, ey + 3.5, 3.2, math.pi * 1.15, math.pi * 1.85)
            stroke(c, with_alpha(SKIN, 1), 1.6)
            ellipse(c, ex + 0.8, ey - 1, 0.9, 0.9)
            c.set_source_rgba(1, 1, 1, 1)
            c.fill()
        elif _blink[0] == 2:
            c.new_path()
            c.arc(ex, ey - 1, 3, math.pi * 0.15, math.pi * 0.85)
            stroke(c, OUTLINE, 1.8)
        elif _blink[0] == 1:
            ellipse(c, ex, ey + 0.6, 2.6, 1.5)
            c.set_source_rgba(*OUTLINE)
            c.fill()
        else:
            ellipse(c, ex, ey, 2.6, 3.2)
            c.set_source_rgba(*OUTLINE)
            c.fill()
            ellipse(c, ex + 0.8, ey - 1.2, 0.9, 0.9)
            c.set_source_rgba(1, 1, 1, 1)
            c.fill()
        if lashes and mood != "ecstatic":
            c.move_to(ex + side * 2.5, ey - 2.5)
            c.line_to(ex + side * 4.5, ey - 4.5)
            stroke(c, OUTLINE, 1.2)
        # brows
        lift = {"casual": 0, "happy": -1, "ecstatic": -2}[mood]
        c.move_to(ex - 3.5, ey - 7 + lift)
        c.curve_to(ex - 1, ey - 9 + lift, ex + 1, ey - 9 + lift, ex + 3.5, ey - 7 + lift)
        stroke(c, with_alpha(OUTLINE, 0.8), 1.4)
    if glasses:
        for side in (-1, 1):
            ellipse(c, cx + side * 8, cy - 4, 6, 5.5)
            stroke(c, hexrgb("4A3A5A"), 1.6)
        c.move_to(cx - 2, cy - 5)
        c.line_to(cx + 2, cy - 5)
        stroke(c, hexrgb("4A3A5A"), 1.6)
    if blush:
        for side in (-1, 1):
            ellipse(c, cx + side * 12, cy + 4, 4, 2.4)
            c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.35 if mood == "casual" else 0.6))
            c.fill()
    # nose
    ellipse(c, cx, cy + 1, 2.2, 1.8)
    c.set_source_rgba(*with_alpha(darker(SKIN, 0.25), 0.8))
    c.fill()
    # mouth
    if mood == "casual":
        c.new_path()
        c.arc(cx, cy + 5, 5, math.pi * 0.2, math.pi * 0.8)
        stroke(c, OUTLINE, 1.7)
    elif mood == "happy":
        c.new_path()
        c.move_to(cx - 7, cy + 7)
        c.curve_to(cx - 4, cy + 14, cx + 4, cy + 14, cx + 7, cy + 7)
        c.close_path()
        c.set_source_rgba(*hexrgb("9A2A3A"))
        c.fill_preserve()
        stroke(c, OUTLINE, 1.6)
    else:
        ellipse(c, cx, cy + 10, 7, 6)
        c.set_source_rgba(*hexrgb("9A2A3A"))
        c.fill_preserve()
        stroke(c, OUTLINE, 1.6)
        ellipse(c, cx, cy + 13, 4, 2)
        c.set_source_rgba(*RASPBERRY_LIGHT)
        c.fill()


def moustache(c, cx=50, cy=62, col=CHOCOLATE):
    c.move_to(cx, cy)
    c.curve_to(cx - 5, cy - 4, cx - 12, cy - 4, cx - 15, cy + 2)
    c.curve_to(cx - 10, cy + 1, cx - 5, cy + 3, cx, cy + 1)
    c.curve_to(cx + 5, cy + 3, cx + 10, cy + 1, cx + 15, cy + 2)
    c.curve_to(cx + 12, cy - 4, cx + 5, cy - 4, cx, cy)
    c.close_path()
    c.set_source_rgba(*col)
    c.fill()


def beard(c, col, cx=50, cy=60):
    c.new_path()
    c.move_to(cx - 20, cy - 4)
    c.curve_to(cx - 20, cy + 18, cx - 8, cy + 26, cx, cy + 26)
    c.curve_to(cx + 8, cy + 26, cx + 20, cy + 18, cx + 20, cy - 4)
    c.curve_to(cx + 14, cy + 6, cx - 14, cy + 6, cx - 20, cy - 4)
    c.close_path()
    c.set_source_rgba(*col)
    c.fill_preserve()
    stroke(c, darker(col, 0.45), 1.4)


def toque(c, cx=50, top=10, base=38):
    def shape(cc):
        cc.new_path()
        cc.move_to(cx - 17, base)
        cc.line_to(cx - 19, base - 12)
        cc.curve_to(cx - 34, base - 14, cx - 30, top + 6, cx - 14, top + 10)
        cc.curve_to(cx - 12, top - 4, cx + 12, top - 4, cx + 14, top + 10)
        cc.curve_to(cx + 30, top + 6, cx + 34, base - 14, cx + 19, base - 12)
        cc.line_to(cx + 17, base)
        cc.close_path()
    glossy(c, shape, WHITE, (cx - 32, top - 4, 64, base - top + 4), line=2, highlight=0.35, shade=0.15)
    c.move_to(cx - 17, base - 6)
    c.line_to(cx + 17, base - 6)
    stroke(c, hexrgb("C8BDB4"), 1.4)


def chef_jacket(c, scarf=RASPBERRY, extra=None, jacket=WHITE):
    def collar(cc):
        for by in (100, 114):
            for bx in (42, 58):
                ellipse(cc, bx, by, 2.2, 2.2)
                cc.set_source_rgba(*scarf)
                cc.fill()
        rounded_rect(cc, 36, 82, 28, 9, 4)
        cc.set_source_rgba(*scarf)
        cc.fill_preserve()
        stroke(cc, darker(scarf, 0.5), 1.5)
        polygon(cc, [(46, 90), (54, 90), (58, 104), (50, 100), (42, 104)], 0.1)
        cc.set_source_rgba(*scarf)
        cc.fill_preserve()
        stroke(cc, darker(scarf, 0.5), 1.5)
        if extra:
            extra(cc)
    body(c, jacket, collar)


def hair_short(c, col, cx=50, cy=56):
    c.new_path()
    c.move_to(cx - 21, cy + 2)
    c.curve_to(cx - 24, cy - 26, cx + 24, cy - 26, cx + 21, cy + 2)
    c.curve_to(cx + 16, cy - 12, cx - 6, cy - 16, cx - 21, cy + 2)
    c.close_path()
    c.set_source(vertical_gradient(cy - 26, cy, [(0, lighter(col, 0.2)), (1, col)]))
    c.fill_preserve()
    stroke(c, darker(col, 0.5), 1.6)


def hair_long(c, col, cx=50, cy=56, back=True):
    if back:
        c.new_path()
        c.move_to(cx - 24, cy - 6)
        c.curve_to(cx - 34, cy + 20, cx - 28, cy + 40, cx - 20, cy + 44)
        c.line_to(cx + 20, cy + 44)
        c.curve_to(cx + 28, cy + 40, cx + 34, cy + 20, cx + 24, cy - 6)
        c.close_path()
        c.set_source(vertical_gradient(cy - 10, cy + 44, [(0, col), (1, darker(col, 0.2))]))
        c.fill_preserve()
        stroke(c, darker(col, 0.5), 1.6)
        return
    c.new_path()
    c.move_to(cx - 22, cy + 6)
    c.curve_to(cx - 28, cy - 30, cx + 28, cy - 30, cx + 22, cy + 6)
    c.curve_to(cx + 18, cy - 10, cx + 4, cy - 14, cx - 2, cy - 16)
    c.curve_to(cx - 8, cy - 8, cx - 16, cy - 6, cx - 22, cy + 6)
    c.close_path()
    c.set_source(vertical_gradient(cy - 28, cy, [(0, lighter(col, 0.2)), (1, col)]))
    c.fill_preserve()
    stroke(c, darker(col, 0.5), 1.6)


def bun(c, col, cx=50, cy=30):
    glossy(c, lambda cc: ellipse(cc, cx, cy, 11, 9), col, (cx - 11, cy - 9, 22, 18), line=1.6, highlight=0.3)


def hearts_around(c, mood):
    if mood != "ecstatic":
        return
    for x, y, s in ((16, 30, 5), (84, 24, 6), (88, 56, 4), (12, 62, 4)):
        heart_path(c, x, y, s)
        c.set_source_rgba(*RASPBERRY)
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 1)


def sparkles(c, mood):
    if mood == "casual":
        return
    for x, y, r in ((20, 20, 3), (80, 36, 2.5)):
        rounded_star_path(c, x, y, r * 1.6, r * 0.6, 4)
        c.set_source_rgba(*hexrgb("FFE27A"))
        c.fill()


# ---------------------------------------------------------------- characters

def henri(c, mood, variant=""):
    scarf = {"": RASPBERRY, "exam": hexrgb("3E5A9A"), "marriage": RASPBERRY, "arcade": hexrgb("8A5AB8")}[variant]
    jacket = WHITE if variant != "arcade" else hexrgb("F4ECFF")

    def extra(cc):
        if variant == "marriage":
            polygon(cc, [(40, 86), (50, 90), (60, 86), (60, 96), (50, 92), (40, 96)], 0.15)
            cc.set_source_rgba(*OUTLINE)
            cc.fill()
            for k in range(5):
                a = k * 2 * math.pi / 5
                ellipse(cc, 70 + 3 * math.cos(a), 104 + 3 * math.sin(a), 3, 3)
            cc.set_source_rgba(*RASPBERRY)
            cc.fill()
        if variant == "exam":
            rounded_rect(cc, 62, 96, 22, 30, 3)
            cc.set_source_rgba(*CARAMEL_LIGHT)
            cc.fill_preserve()
            stroke(cc, CARAMEL_DARK, 1.6)
            rounded_rect(cc, 65, 100, 16, 22, 2)
            cc.set_source_rgba(*SUGAR)
            cc.fill()
            for y in (105, 110, 115):
                cc.move_to(67, y)
                cc.line_to(79, y)
            stroke(cc, with_alpha(OUTLINE, 0.5), 1)
    chef_jacket(c, scarf, extra, jacket)
    neck(c, SKIN)
    head(c, SKIN)
    face(c, mood, glasses=(variant == "exam"))
    moustache(c)
    toque(c)
    hearts_around(c, mood)
    if variant == "marriage" and mood != "casual":
        for x, y in ((16, 40), (84, 44)):
            heart_path(c, x, y, 4)
            c.set_source_rgba(*RASPBERRY_LIGHT)
            c.fill()
    sparkles(c, mood)


def child(c, mood):
    def collar(cc):
        polygon(cc, [(38, 88), (50, 96), (62, 88), (60, 94), (50, 100), (40, 94)], 0.2)
        cc.set_source_rgba(*SUGAR)
        cc.fill_preserve()
        stroke(cc, OUTLINE, 1.4)
    body(c, hexrgb("F7A8C0"), collar)
    neck(c, SKIN)
    for side in (-1, 1):
        glossy(c, lambda cc, side=side: ellipse(cc, 50 + side * 26, 56, 8, 12), CARAMEL, (50 + side * 26 - 8, 44, 16, 24), line=1.6)
        ellipse(c, 50 + side * 22, 46, 4, 4)
        c.set_source_rgba(*RASPBERRY)
        c.fill()
    head(c, SKIN, 50, 58, 19, 20)
    hair_short(c, CARAMEL, 50, 58)
    face(c, mood, 50, 60)
    for x, y in ((40, 64), (43, 66), (57, 66), (60, 64)):
        ellipse(c, x, y, 0.8, 0.8)
        c.set_source_rgba(*CARAMEL_DARK)
        c.fill()
    hearts_around(c, mood)
    sparkles(c, mood)


def grandma(c, mood):
    def collar(cc):
        cc.new_path()
        cc.move_to(14, 110)
        cc.curve_to(30, 92, 70, 92, 86, 110)
        cc.line_to(86, 120)
        cc.curve_to(70, 104, 30, 104, 14, 120)
        cc.close_path()
        cc.set_source_rgba(*hexrgb("9A88C8"))
        cc.fill_preserve()
        stroke(cc, OUTLINE, 1.6)
        for x in range(40, 62, 5):
            ellipse(cc, x, 92 + abs(x - 50) * 0.2, 2, 2)
            cc.set_source_rgba(*SUGAR)
            cc.fill()
    body(c, LAVENDER, collar)
    neck(c, SKIN)
    bun(c, GREY_HAIR, 50, 30)
    head(c, SKIN)
    hair_short(c, GREY_HAIR)
    face(c, mood, glasses=True)
    hearts_around(c, mood)
    sparkles(c, mood)


def singer(c, mood):
    hair = hexrgb("C2452A")
    hair_long(c, hair)

    def collar(cc):
        for k in range(9):
            ellipse(cc, 38 + k * 3, 92 + math.sin(k / 8.0 * math.pi) * 5, 1.8, 1.8)
            cc.set_source_rgba(*SUGAR)
            cc.fill_preserve()
            stroke(cc, with_alpha(OUTLINE, 0.5), 0.6)
        for x, y in ((30, 110), (60, 118), (72, 104), (44, 124)):
            rounded_star_path(cc, x, y, 2.6, 1, 4)
            cc.set_source_rgba(1, 1, 0.85, 0.9)
            cc.fill()
    body(c, RASPBERRY, collar)
    neck(c, SKIN)
    head(c, SKIN)
    hair_long(c, hair, back=False)
    face(c, mood, lashes=True)
    c.new_path()
    c.arc(50, 63, 4, math.pi * 0.15, math.pi * 0.85)
    stroke(c, with_alpha(RASPBERRY, 0.6), 2)
    heart_path(c, 70, 36, 4)
    c.set_source_rgba(*RASPBERRY_LIGHT)
    c.fill()
    hearts_around(c, mood)
    sparkles(c, mood)


def professor(c, mood):
    def collar(cc):
        polygon(cc, [(36, 86), (50, 100), (64, 86), (60, 110), (40, 110)], 0.1)
        cc.set_source_rgba(*SUGAR)
        cc.fill_preserve()
        stroke(cc, OUTLINE, 1.4)
        polygon(cc, [(42, 90), (50, 94), (58, 90), (58, 98), (50, 94), (42, 98)], 0.15)
        cc.set_source_rgba(*PISTACHIO_DARK)
        cc.fill()
    body(c, hexrgb("9A7048"), collar)
    neck(c, SKIN)
    head(c, SKIN)
    # a fringe of white hair round a shiny crown
    for side in (-1, 1):
        ellipse(c, 50 + side * 18, 50, 6, 10)
        c.set_source_rgba(*SUGAR)
        c.fill_preserve()
        stroke(c, hexrgb("A8A098"), 1.2)
    beard(c, SUGAR)
    face(c, mood, glasses=True, blush=True)
    moustache(c, 50, 63, SUGAR)
    hearts_around(c, mood)
    sparkles(c, mood)


def sailor(c, mood):
    body(c, SUGAR, None, stripes=hexrgb("3E5A9A"))
    neck(c, SKIN_DARK)
    head(c, SKIN_DARK)
    beard(c, hexrgb("6A4A3A"))
    face(c, mood)
    # cap
    c.new_path()
    c.move_to(28, 40)
    c.curve_to(28, 22, 72, 22, 72, 40)
    c.close_path()
    glossy(c, lambda cc: (cc.new_path(), cc.move_to(28, 40), cc.curve_to(28, 22, 72, 22, 72, 40), cc.close_path()),
           SUGAR, (28, 24, 44, 16), line=1.8, highlight=0.3)
    rounded_rect(c, 26, 38, 48, 7, 3)
    c.set_source_rgba(*hexrgb("2E3E6A"))
    c.fill_preserve()
    stroke(c, OUTLINE, 1.4)
    rounded_star_path(c, 50, 32, 4, 1.6, 5)
    c.set_source_rgba(*LEMON)
    c.fill()
    hearts_around(c, mood)
    sparkles(c, mood)


def duchess(c, mood):
    hair = hexrgb("6A4A8A")

    def collar(cc):
        for k in range(11):
            ellipse(cc, 36 + k * 2.8, 90 + math.sin(k / 10.0 * math.pi) * 6, 1.9, 1.9)
            cc.set_source_rgba(*SUGAR)
            cc.fill_preserve()
            stroke(cc, with_alpha(OUTLINE, 0.4), 0.6)
        ellipse(cc, 50, 100, 3.2, 4)
        cc.set_source_rgba(*RASPBERRY)
        cc.fill()
    body(c, hexrgb("7A4AA8"), collar)
    neck(c, SKIN)
    bun(c, hair, 50, 28)
    head(c, SKIN)
    hair_short(c, hair)
    face(c, mood, lashes=True)
    polygon(c, [(36, 36), (40, 26), (45, 32), (50, 22), (55, 32), (60, 26), (64, 36)], 0.1)
    c.set_source_rgba(*hexrgb("F6C945"))
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 1.4)
    ellipse(c, 50, 30, 2, 2)
    c.set_source_rgba(*RASPBERRY)
    c.fill()
    hearts_around(c, mood)
    sparkles(c, mood)


def judge(c, mood):
    def collar(cc):
        polygon(cc, [(40, 86), (60, 86), (56, 104), (50, 100), (44, 104)], 0.1)
        cc.set_source_rgba(*SUGAR)
        cc.fill_preserve()
        stroke(cc, OUTLINE, 1.4)
    body(c, hexrgb("3A2E3E"), collar)
    neck(c, SKIN)
    # curled grey wig
    for k in range(7):
        for side in (-1, 1):
            ellipse(c, 50 + side * 22, 42 + k * 6, 6, 4)
            c.set_source_rgba(*GREY_HAIR)
            c.fill_preserve()
            stroke(c, hexrgb("9A948E"), 1)
    head(c, SKIN)
    c.new_path()
    c.move_to(28, 52)
    c.curve_to(26, 24, 74, 24, 72, 52)
    c.curve_to(64, 40, 36, 40, 28, 52)
    c.close_path()
    c.set_source_rgba(*GREY_HAIR)
    c.fill_preserve()
    stroke(c, hexrgb("9A948E"), 1.4)
    face(c, mood, glasses=False)
    hearts_around(c, mood)
    sparkles(c, mood)


def henri_grip():
    """Henri in the arcade holding on to the conveyor's lever with both hands."""
    s, c = new_surface(W, H)
    c.scale(W / 100.0, H / 133.0)
    henri(c, "happy", "arcade")
    rounded_rect(c, 4, 116, 92, 8, 4)
    c.set_source_rgba(*hexrgb("A0A0AC"))
    c.fill_preserve()
    stroke(c, OUTLINE, 1.6)
    for x in (24, 76):
        glossy(c, lambda cc, x=x: ellipse(cc, x, 118, 8, 7), SKIN, (x - 8, 111, 16, 14), line=1.6, highlight=0.3)
    return s


CUSTOMERS = [
    ("henri", lambda c, m: henri(c, m), "the chef"),
    ("child", child, "a girl with pigtails"),
    ("grandma", grandma, "a grandmother with glasses"),
    ("henri_exam", lambda c, m: henri(c, m, "exam"), "the chef as examiner, glasses and clipboard"),
    ("singer", singer, "a singer with red hair and pearls"),
    ("professor", professor, "a bearded professor"),
    ("sailor", sailor, "a sailor in a striped shirt"),
    ("duchess", duchess, "a duchess with a tiara"),
    ("judge", judge, "a judge in a curled wig"),
    ("henri_marriage", lambda c, m: henri(c, m, "marriage"), "the chef dressed for his wedding"),
    ("henri_arcade", lambda c, m: henri(c, m, "arcade"), "the chef in his arcade outfit"),
]


def customer(fn, mood):
    """Four frames: a blink when casual, a little bob of joy when happy or ecstatic."""
    s, c = new_surface(W, FRAMES * FRAME_H)
    blinks = (0, 1, 2, 1)
    bobs = (0, -2, -4, -2)
    for i in range(FRAMES):
        c.save()
        c.rectangle(0, i * FRAME_H, W, FRAME_H)
        c.clip()
        lift = 0 if mood == "casual" else bobs[i]
        c.translate(0, i * FRAME_H + (FRAME_H - H) + lift)
        c.scale(W / 100.0, H / 133.0)
        _blink[0] = blinks[i] if mood == "casual" else 0
        fn(c, mood)
        c.restore()
    _blink[0] = 0
    return s


def portrait(fn):
    """The customer as the level information shows them: the happy face,
    still, in front of a soft sugar glow."""
    s, c = new_surface(W, H)
    c.set_source(radial(W / 2.0, H * 0.42, W * 0.5, [(0, with_alpha(SUGAR, 0.95)), (0.7, with_alpha(ROSE, 0.55)),
                                                     (1, with_alpha(ROSE, 0))]))
    c.paint()
    c.scale(W / 100.0, H / 133.0)
    fn(c, "happy")
    return s


def suitor():
    """The chef courting the singer: beaming, a red rose held up to her."""
    s, c = new_surface(W, H)
    c.scale(W / 100.0, H / 133.0)
    henri(c, "ecstatic", "marriage")
    c.move_to(22, 122)
    c.curve_to(20, 110, 18, 100, 16, 90)
    stroke(c, PISTACHIO_DARK, 2)
    for k in range(6):
        a = k * 2 * math.pi / 6
        ellipse(c, 16 + 3.2 * math.cos(a), 86 + 3.2 * math.sin(a), 3.6, 3.6)
    c.set_source_rgba(*RASPBERRY)
    c.fill_preserve()
    stroke(c, RASPBERRY_DARK, 1)
    ellipse(c, 16, 86, 2.6, 2.6)
    c.set_source_rgba(*RASPBERRY_DARK)
    c.fill()
    return s


def blush():
    """The singer's pink glow and little hearts while she is courted, laid over her picture."""
    w, h = 180, 160
    s, c = new_surface(w, h)
    c.set_source(radial(w / 2, h / 2, w / 2, [(0, with_alpha(RASPBERRY_LIGHT, 0.45)), (1, with_alpha(RASPBERRY_LIGHT, 0))]))
    c.paint()
    for x, y, r in ((30, 40, 9), (150, 34, 11), (156, 110, 7), (22, 112, 8), (90, 16, 6)):
        heart_path(c, x, y, r)
        c.set_source_rgba(*RASPBERRY)
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 1.4)
    return s


def main():
    for name, fn, who in CUSTOMERS:
        for mood in ("casual", "happy", "ecstatic"):
            save_png(customer(fn, mood), "media/images/game/customers/%s_%s.png" % (name, mood),
                     "\"CUSTOMER_%s_%s\": %s, %s" % (name.upper(), mood.upper(), who, mood),
                     "%d frames stacked vertically, %d×%d each; %s" % (
                         FRAMES, W, FRAME_H, "a blink" if mood == "casual" else "a bob of joy"), G_CUSTOMER)
    for name, fn, who in CUSTOMERS:
        save_png(portrait(fn), "media/images/game/customers/%s_dialog.png" % name,
                 "\"CUSTOMER_%s_DIALOG\": %s, as the level information shows them" % (name.upper(), who),
                 "1 frame", G_CUSTOMER)
    save_png(henri_grip(), "media/images/game/customers/henri_arcade_grip.png",
             "\"CUSTOMER_HENRI_ARCADE_GRIP\": the chef holding the conveyor's lever", "1 frame", G_CUSTOMER)
    save_png(suitor(), "media/images/game/customers/henrilovessinger.png",
             "\"HENRILOVESSINGER\": the chef with a rose, sliding in to court the singer", "1 frame", G_CUSTOMER)
    save_png(blush(), "media/images/game/customers/henrilovessinger_overlay.png",
             "\"HENRILOVESSINGER_OVERLAY\": the singer's blush and hearts while she is courted", "1 frame",
             G_CUSTOMER)


if __name__ == "__main__":
    main()
