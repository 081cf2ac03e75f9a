"""The tool shop: the vendor (frame 0 idle, 1 pointing to the left-hand tools of slot A,
2 pointing to the right-hand tools of slot B), the gingham blankets over the second shelf
until it opens, and two little characters that hop across the shop (a gingerbread man and
a sugar mouse), each facing right; the code mirrors or moves them."""

import math

import cairo

import gen_customers as gc
import gen_scenes as gs
from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, CREAM, FONT_SERIF, GREY, LEMON, MINT,
                    OUTLINE,
                    PISTACHIO, PISTACHIO_DARK, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, ROSE, SUGAR, darker,
                    ellipse, fancy_text, glossy, hexrgb, lighter, new_surface, polygon, rounded_rect,
                    rounded_star_path, save_frames, save_png, vertical_gradient, with_alpha)

G = "Tool shop (section \"scenetoolshop\")"


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def vendor_frame(pointing):
    w, h = gc.W, gc.H
    s, c = new_surface(w, h)
    c.scale(w / 100.0, h / 133.0)
    mood = "casual" if pointing == 0 else "happy"

    def collar(cc):
        # a pistachio apron with a pocket full of whisks
        polygon(cc, [(32, 96), (68, 96), (72, 133), (28, 133)], 0.08)
        cc.set_source_rgba(*PISTACHIO)
        cc.fill_preserve()
        stroke(cc, PISTACHIO_DARK, 1.6)
        rounded_rect(cc, 42, 108, 16, 12, 3)
        stroke(cc, PISTACHIO_DARK, 1.4)
    gc.body(c, hexrgb("F4C8A8"), collar)
    gc.neck(c, gc.SKIN)
    gc.head(c, gc.SKIN)
    gc.hair_short(c, hexrgb("8A5A3A"))
    gc.face(c, mood, glasses=True)
    gc.moustache(c, 50, 63, hexrgb("8A5A3A"))
    # a flat cap
    c.new_path()
    c.move_to(28, 40)
    c.curve_to(30, 26, 70, 26, 72, 40)
    c.close_path()
    c.set_source_rgba(*CARAMEL)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 1.6)
    rounded_rect(c, 26, 38, 50, 6, 3)
    c.set_source_rgba(*CARAMEL_DARK)
    c.fill()
    if pointing:
        side = -1 if pointing == 1 else 1
        sx = 50 + side * 24
        # the arm rises beside the head, so it shows above the counter
        c.save()
        c.translate(sx, 100)
        c.rotate(side * 0.35)
        rounded_rect(c, -6, -52, 12, 54, 6)
        c.set_source_rgba(*hexrgb("F4C8A8"))
        c.fill_preserve()
        stroke(c, OUTLINE, 1.6)
        glossy(c, lambda cc: ellipse(cc, 0, -56, 6.5, 6.5), gc.SKIN, (-6.5, -62.5, 13, 13), line=1.5, highlight=0.3)
        # the pointing finger
        rounded_rect(c, -1.8, -70, 3.6, 10, 1.8)
        c.set_source_rgba(*gc.SKIN)
        c.fill_preserve()
        stroke(c, OUTLINE, 1.2)
        c.restore()
    return s


def blankets(w=800, h=150):
    s, c = new_surface(w, h)

    def cloth(cc):
        cc.new_path()
        cc.move_to(0, 6)
        for i in range(9):
            x0, x1 = w * i / 8.0, w * (i + 1) / 8.0
            cc.curve_to(x0 + 20, 0, x1 - 20, 0, x1, 6)
        cc.line_to(w, h - 16)
        for i in range(16, 0, -1):
            xa, xb = w * i / 16.0, w * (i - 1) / 16.0
            cc.curve_to(xa - 8, h, xb + 8, h, xb, h - 16)
        cc.close_path()
    c.save()
    cloth(c)
    c.clip()
    c.set_source_rgba(*SUGAR)
    c.paint()
    for x in range(0, w, 24):
        c.rectangle(x, 0, 12, h)
        c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.5))
        c.fill()
    for y in range(0, h, 24):
        c.rectangle(0, y, w, 12)
        c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.5))
        c.fill()
    for k in range(8):
        x = w * (k + 0.5) / 8.0
        c.rectangle(x - 6, 0, 12, h)
        c.set_source(vertical_gradient(0, h, [(0, (0, 0, 0, 0.0)), (1, (0, 0, 0, 0.12))]))
        c.fill()
    c.restore()
    cloth(c)
    stroke(c, RASPBERRY_DARK, 2)
    fancy_text(c, "Coming soon", w / 2.0, h / 2.0, 30, SUGAR, hexrgb("FFE3B0"), outline=RASPBERRY_DARK, outline_w=3,
               face=FONT_SERIF, italic=True)
    return s


def gingerbread(w=56, h=72):
    s, c = new_surface(w, h)
    col = hexrgb("C77A3A")

    def shape(cc):
        cc.new_path()
        cc.arc(w / 2.0, 16, 12, 0, 2 * math.pi)
        cc.new_sub_path()
        rounded_rect(cc, w / 2.0 - 13, 24, 26, 28, 9)
        for side in (-1, 1):
            cc.new_sub_path()
            rounded_rect(cc, w / 2.0 + side * 10 - 6 + side * 6, 28, 12, 10, 5)
            cc.new_sub_path()
            rounded_rect(cc, w / 2.0 + side * 7 - 6, 46, 12, 22, 6)
    c.push_group()
    shape(c)
    stroke(c, darker(col, 0.5), 4)
    shape(c)
    c.set_source_rgba(*col)
    c.fill()
    c.pop_group_to_source()
    c.paint()
    for x in (w / 2.0 - 4, w / 2.0 + 4):
        ellipse(c, x, 14, 1.8, 1.8)
        c.set_source_rgba(*OUTLINE)
        c.fill()
    c.new_path()
    c.arc(w / 2.0, 18, 4, 0.3, math.pi - 0.3)
    stroke(c, SUGAR, 1.4)
    for y in (32, 40):
        ellipse(c, w / 2.0, y, 2.4, 2.4)
        c.set_source_rgba(*RASPBERRY)
        c.fill()
    c.move_to(w / 2.0 - 12, 60)
    c.line_to(w / 2.0 - 2, 60)
    stroke(c, SUGAR, 1.4)
    return s


def sugar_mouse(w=72, h=48):
    s, c = new_surface(w, h)
    c.move_to(6, 34)
    c.curve_to(0, 20, 10, 12, 14, 26)
    stroke(c, RASPBERRY_DARK, 2.5)
    glossy(c, lambda cc: ellipse(cc, 34, 30, 22, 15), ROSE, (12, 15, 44, 30), outline=RASPBERRY_DARK, line=2, highlight=0.5)
    glossy(c, lambda cc: ellipse(cc, 48, 16, 8, 8), ROSE, (40, 8, 16, 16), outline=RASPBERRY_DARK, line=1.8, highlight=0.3)
    ellipse(c, 60, 30, 2.4, 2.4)
    c.set_source_rgba(*OUTLINE)
    c.fill()
    ellipse(c, 66, 34, 2.2, 2.2)
    c.set_source_rgba(*RASPBERRY)
    c.fill()
    for k in (-1, 1):
        c.move_to(64, 35)
        c.line_to(71, 33 + k * 3)
    stroke(c, with_alpha(OUTLINE, 0.6), 0.8)
    return s


def mirrored(surface):
    w, h = surface.get_width(), surface.get_height()
    s, c = new_surface(w, h)
    c.translate(w, 0)
    c.scale(-1, 1)
    c.set_source_surface(surface, 0, 0)
    c.paint()
    return s


def cupcake(w=56, h=70):
    s, c = new_surface(w, h)
    # paper case
    polygon(c, [(10, 38), (46, 38), (41, 66), (15, 66)], 0.05)
    c.set_source_rgba(*RASPBERRY_LIGHT)
    c.fill_preserve()
    stroke(c, RASPBERRY_DARK, 2)
    for x in (20, 28, 36):
        c.move_to(x, 40)
        c.line_to(x - 1 + (x - 28) * 0.1, 64)
        stroke(c, with_alpha(RASPBERRY_DARK, 0.5), 1.2)
    # frosting swirl
    glossy(c, lambda cc: ellipse(cc, 28, 34, 21, 10), SUGAR, (7, 24, 42, 20), outline=GREY, line=1.8, highlight=0.4)
    glossy(c, lambda cc: ellipse(cc, 28, 24, 15, 9), ROSE, (13, 15, 30, 18), outline=RASPBERRY_DARK, line=1.8,
           highlight=0.5)
    glossy(c, lambda cc: ellipse(cc, 30, 10, 6, 6), RASPBERRY, (24, 4, 12, 12), outline=RASPBERRY_DARK, line=1.5,
           highlight=0.5)
    # face and little feet
    for x in (22, 34):
        ellipse(c, x, 50, 2, 2.4)
        c.set_source_rgba(*OUTLINE)
        c.fill()
    c.new_path()
    c.arc(28, 53, 4, 0.3, math.pi - 0.3)
    stroke(c, OUTLINE, 1.3)
    for x in (20, 36):
        ellipse(c, x, 67, 5, 2.5)
        c.set_source_rgba(*CHOCOLATE)
        c.fill()
    return s


def chick(w=52, h=56):
    s, c = new_surface(w, h)
    glossy(c, lambda cc: ellipse(cc, 26, 32, 20, 19), LEMON, (6, 13, 40, 38), outline=CARAMEL_DARK, line=2,
           highlight=0.5)
    # wing and beak
    glossy(c, lambda cc: ellipse(cc, 18, 34, 8, 6), darker(LEMON, 0.15), (10, 28, 16, 12), outline=CARAMEL_DARK,
           line=1.5, highlight=0.2)
    polygon(c, [(44, 28), (52, 31), (44, 34)], 0.1)
    c.set_source_rgba(*CARAMEL)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 1.2)
    ellipse(c, 36, 25, 2.2, 2.6)
    c.set_source_rgba(*OUTLINE)
    c.fill()
    ellipse(c, 38, 33, 3, 2)
    c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.6))
    c.fill()
    # a sprinkle of sugar on top
    c.move_to(24, 14)
    c.curve_to(22, 6, 30, 6, 28, 14)
    stroke(c, CARAMEL_DARK, 1.6)
    for x in (20, 32):
        c.move_to(x, 50)
        c.line_to(x, 55)
        c.move_to(x - 3, 55)
        c.line_to(x + 3, 55)
        stroke(c, CARAMEL, 1.8)
    return s


def macaron(w=60, h=58):
    s, c = new_surface(w, h)
    col = MINT
    glossy(c, lambda cc: rounded_rect(cc, 6, 8, 48, 18, 9), col, (6, 8, 48, 18), outline=PISTACHIO_DARK, line=2,
           highlight=0.5)
    rounded_rect(c, 8, 24, 44, 8, 4)
    c.set_source_rgba(*CREAM)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 1.4)
    glossy(c, lambda cc: rounded_rect(cc, 6, 30, 48, 18, 9), col, (6, 30, 48, 18), outline=PISTACHIO_DARK, line=2,
           highlight=0.3)
    for x in (24, 38):
        ellipse(c, x, 16, 2, 2.4)
        c.set_source_rgba(*OUTLINE)
        c.fill()
    c.new_path()
    c.arc(31, 18, 3.5, 0.3, math.pi - 0.3)
    stroke(c, OUTLINE, 1.3)
    for x in (20, 40):
        c.move_to(x, 48)
        c.line_to(x, 56)
        stroke(c, CHOCOLATE, 2)
    return s


CHARACTERS = [("a gingerbread man", gingerbread), ("a sugar mouse", sugar_mouse), ("a cupcake", cupcake),
              ("a lemon chick", chick), ("a mint macaron", macaron)]


def tool_plate(state, size=96):
    """The round place of a tool on the shelf, behind its picture: a faint
    halo, warm under the mouse, deeper when pressed, none when disabled."""
    s, c = new_surface(size, size)
    r = size / 2.0
    if state == "disabled":
        return s
    glow = {"normal": (LEMON, 0.0), "over": (LEMON, 0.85), "pressed": (CARAMEL, 0.9)}[state]
    if glow[1] > 0:
        c.set_source(gs.radial(r, r, r, [(0.55, with_alpha(glow[0], glow[1])), (1, with_alpha(glow[0], 0.0))]))
        c.paint()
    return s


def sold_out(state, size=96):
    """The owned tool's place: a ribbon saying it is the player's."""
    s, c = new_surface(size, size)
    lift = {"normal": 0, "over": -2, "pressed": 1, "disabled": 0}[state]
    col = {"normal": PISTACHIO, "over": lighter(PISTACHIO, 0.25), "pressed": PISTACHIO_DARK,
           "disabled": GREY}[state]
    if state == "over":
        c.set_source(gs.radial(48, 48, 48, [(0.5, with_alpha(LEMON, 0.7)), (1, with_alpha(LEMON, 0.0))]))
        c.paint()
    y = 66 + lift
    polygon(c, [(6, y), (90, y), (84, y + 11), (90, y + 22), (6, y + 22), (12, y + 11)], 0.05)
    c.set_source_rgba(*col)
    c.fill_preserve()
    stroke(c, darker(col, 0.5), 2)
    fancy_text(c, "Yours!", 48, y + 11, 15, SUGAR, hexrgb("FFF4D0"), outline=darker(col, 0.55), outline_w=2.5)
    return s


def toolbox(w=88, h=72):
    s, c = new_surface(w, h)
    # handle
    c.move_to(30, 22)
    c.curve_to(30, 4, 58, 4, 58, 22)
    stroke(c, CHOCOLATE, 5)
    c.move_to(30, 22)
    c.curve_to(30, 4, 58, 4, 58, 22)
    stroke(c, CARAMEL_LIGHT, 2.5)
    glossy(c, lambda cc: rounded_rect(cc, 6, 20, 76, 48, 8), CARAMEL, (6, 20, 76, 48), outline=CARAMEL_DARK,
           line=2.2, highlight=0.35)
    for y in (34, 50):
        c.move_to(10, y)
        c.line_to(78, y)
        stroke(c, with_alpha(CARAMEL_DARK, 0.5), 1.4)
    # a ribbon with a bow
    c.rectangle(40, 20, 8, 48)
    c.set_source_rgba(*RASPBERRY)
    c.fill()
    for side in (-1, 1):
        glossy(c, lambda cc, sd=side: ellipse(cc, 44 + sd * 9, 20, 9, 6), RASPBERRY, (30, 14, 28, 12),
               outline=RASPBERRY_DARK, line=1.5, highlight=0.4)
    glossy(c, lambda cc: ellipse(cc, 44, 20, 4, 4), RASPBERRY_LIGHT, (40, 16, 8, 8), outline=RASPBERRY_DARK,
           line=1.2, highlight=0.4)
    return s


def name_bar(slot, w=108, h=24):
    s, c = new_surface(w, h)
    col = RASPBERRY if slot == 0 else PISTACHIO_DARK
    glossy(c, lambda cc: rounded_rect(cc, 2, 2, w - 4, h - 4, (h - 4) / 2.0), col, (2, 2, w - 4, h - 4),
           outline=darker(col, 0.5), line=1.8, highlight=0.35)
    return s


def small_star(size=22):
    s, c = new_surface(size, size)
    r = size / 2.0
    glossy(c, lambda cc: rounded_star_path(cc, r, r + 0.5, r - 1.5, (r - 1.5) * 0.5), LEMON, (0, 0, size, size),
           outline=CARAMEL_DARK, line=1.5, highlight=0.55)
    return s


def header_panel(slot, w=380, h=60):
    """The ribbon behind the tool's name in the purchase dialog, in its slot's colour."""
    s, c = new_surface(w, h)
    col = RASPBERRY if slot == 0 else PISTACHIO
    for side in (-1, 1):
        x0 = 0 if side < 0 else w - 40
        polygon(c, [(x0, 16), (x0 + 40, 16), (x0 + 40, h - 4), (x0, h - 4), (x0 + (12 if side < 0 else 28), (16 + h - 4) / 2.0)])
        c.set_source_rgba(*darker(col, 0.25))
        c.fill_preserve()
        stroke(c, darker(col, 0.55), 2)
    glossy(c, lambda cc: rounded_rect(cc, 22, 4, w - 44, h - 16, 10), col, (22, 4, w - 44, h - 16),
           outline=darker(col, 0.55), line=2.2, highlight=0.4)
    return s


def counter_front():
    """The counter in front of the vendor, cut from the same drawing as the
    background's, so the vendor stands behind it."""
    w, h = 800, 600
    full, c = new_surface(w, h)
    gs.toolshop_counter(c, w)
    c.set_operator(cairo.OPERATOR_ATOP)
    gs.vignette(c, w, h, 0.3)
    top = gs.TOOLSHOP_COUNTER_Y - 4
    s, c = new_surface(w, h - top)
    c.set_source_surface(full, 0, -top)
    c.paint()
    # the star till on the counter's right, where the stars are counted
    tx, ty = 560, 20
    glossy(c, lambda cc: rounded_rect(cc, tx, ty + 18, 200, 70, 12), CHOCOLATE, (tx, ty + 18, 200, 70),
           outline=CHOCOLATE_DARK, line=2.5, highlight=0.15)
    rounded_rect(c, tx + 10, ty + 28, 180, 50, 8)
    c.set_source_rgba(*hexrgb("2F4A33"))
    c.fill_preserve()
    stroke(c, CARAMEL_LIGHT, 3)
    glossy(c, lambda cc: rounded_star_path(cc, tx + 38, ty + 53, 19, 9.5), LEMON, (tx + 19, ty + 34, 38, 38),
           outline=CARAMEL_DARK, line=2, highlight=0.55)
    return s


def trophy_cabinet(w=620, h=400):
    """The glass cabinet of the trophy screen: three shelves of five places,
    120 pixels apart (the trophies' places in trophies.xml)."""
    s, c = new_surface(w, h)
    glossy(c, lambda cc: rounded_rect(cc, 0, 0, w, h, 22), CARAMEL, (0, 0, w, h), outline=CARAMEL_DARK, line=3,
           highlight=0.2, shade=0.2)
    rounded_rect(c, 14, 14, w - 28, h - 28, 14)
    c.set_source(vertical_gradient(14, h - 14, [(0, hexrgb("FFF8EC")), (1, hexrgb("F6E2C4"))]))
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 2)
    for row in range(3):
        y = 126 + row * 120
        for k in range(5):
            x = 74 + k * 120
            ellipse(c, x, y, 34, 5)
            c.set_source_rgba(*with_alpha(CHOCOLATE, 0.18))
            c.fill()
        rounded_rect(c, 18, y, w - 36, 12, 4)
        c.set_source(vertical_gradient(y, y + 12, [(0, CARAMEL_LIGHT), (1, CARAMEL_DARK)]))
        c.fill_preserve()
        stroke(c, darker(CARAMEL_DARK, 0.4), 1.5)
    # glass shine
    for x0 in (80, 330):
        polygon(c, [(x0, 14), (x0 + 60, 14), (x0 - 40, h - 14), (x0 - 100, h - 14)])
        c.set_source_rgba(1, 1, 1, 0.16)
        c.fill()
    return s


def main():
    save_frames([vendor_frame(k) for k in range(3)], "media/images/toolshop/vendor.png",
                "\"TOOLSHOP_VENDOR\": the vendor behind the counter (\"SPRITE_VENDOR\")", G,
                "frame 0 idle, 1 pointing left (slot A tools), 2 pointing right (slot B tools)")
    save_png(blankets(), "media/images/toolshop/blankets.png",
             "\"TOOLSHOP_BLANKETS\": gingham cloth over the second shelf (\"SPRITE_BLANKETS\")", "1 frame", G)
    for i, (what, draw) in enumerate(CHARACTERS):
        right = draw()
        save_png(right, "media/images/toolshop/character%d_right.png" % i,
                 "\"CHARACTER%dRIGHT\": %s hopping across the shop to the right" % (i, what), "1 frame", G)
        save_png(mirrored(right), "media/images/toolshop/character%d_left.png" % i,
                 "\"CHARACTER%dLEFT\": %s hopping across the shop to the left" % (i, what), "1 frame", G)
    save_png(counter_front(), "media/images/toolshop/counter.png",
             "\"TOOLSHOP_COUNTER\": the counter in front of the vendor, with the star till", "1 frame", G)
    save_frames([tool_plate(st) for st in ("normal", "over", "pressed", "disabled")],
                "media/images/toolshop/tool_button.png",
                "\"TOOLSHOP_TOOLBUTTON\": a tool's place on the shelf, glowing under the mouse", G)
    save_frames([sold_out(st) for st in ("normal", "over", "pressed", "disabled")],
                "media/images/toolshop/sold_out.png", "\"TOOLSHOP_SOLDOUT\": the ribbon on an owned tool", G)
    save_png(toolbox(), "media/images/toolshop/toolbox.png",
             "\"TOOLSHOP_TOOLBOX\": the wrapped box of an owned tool", "1 frame", G)
    save_frames([name_bar(k) for k in range(2)], "media/images/toolshop/name_bar.png",
                "\"TOOLSHOP_BAR\": the tool's name plate", G, "frame 0 slot A (raspberry), 1 slot B (pistachio)")
    for k in range(2):
        save_png(header_panel(k), "media/images/toolshop/panel%d.png" % k,
                 "\"TOOLSHOP_PANEL%d\": the ribbon behind a slot-%s tool's name in its purchase dialog" % (k, "AB"[k]),
                 "1 frame", G)
    save_png(small_star(), "media/images/toolshop/star.png", "\"TOOLSHOP_STAR\": the star beside a price",
             "1 frame", G)
    save_png(trophy_cabinet(), "media/images/trophies/cabinet.png",
             "\"TROPHYSCREEN_CABINET\": the glass cabinet of the trophy screen", "1 frame",
             "Trophies (section \"trophies\")")


if __name__ == "__main__":
    main()
