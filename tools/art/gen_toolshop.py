"""The tool shop: the vendor (frame 0 idle, 1 pointing to the left-hand tools of slot A,
2 pointing to the right-hand tools of slot B), the gingham blankets over the second shelf
until it opens, and two little characters that hop across the shop (a gingerbread man and
a sugar mouse), each facing right; the code mirrors or moves them."""

import math

import cairo

import gen_customers as gc
from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, FONT_SERIF, LEMON, OUTLINE,
                    PISTACHIO, PISTACHIO_DARK, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, ROSE, SUGAR, darker,
                    ellipse, fancy_text, glossy, hexrgb, lighter, new_surface, polygon, rounded_rect,
                    save_frames, save_png, vertical_gradient, with_alpha)

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
        c.save()
        c.translate(sx, 98)
        c.rotate(side * 0.75)
        rounded_rect(c, -6, -30, 12, 32, 6)
        c.set_source_rgba(*hexrgb("F4C8A8"))
        c.fill_preserve()
        stroke(c, OUTLINE, 1.6)
        glossy(c, lambda cc: ellipse(cc, 0, -34, 6, 6), gc.SKIN, (-6, -40, 12, 12), line=1.5, highlight=0.3)
        c.restore()
    return s


def blankets(w=720, h=140):
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


def main():
    save_frames([vendor_frame(k) for k in range(3)], "media/images/toolshop/vendor.png",
                "\"TOOLSHOP_VENDOR\": the vendor (\"SPRITE_VENDOR\")", G,
                "frame 0 idle, 1 pointing left (slot A tools), 2 pointing right (slot B tools)")
    save_png(blankets(), "media/images/toolshop/blankets.png",
             "\"TOOLSHOP_BLANKETS\": gingham cloth over the second shelf (\"SPRITE_BLANKETS\")", "1 frame", G)
    save_png(gingerbread(), "media/images/toolshop/character0.png",
             "\"TOOLSHOP_CHARACTER0\": a gingerbread man hopping across the shop", "1 frame", G)
    save_png(sugar_mouse(), "media/images/toolshop/character1.png",
             "\"TOOLSHOP_CHARACTER1\": a sugar mouse scurrying across the shop (faces right)", "1 frame", G)


if __name__ == "__main__":
    main()
