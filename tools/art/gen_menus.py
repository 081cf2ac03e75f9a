"""Pictures of the menus and the end of the career: the icing that tops the menu, pause and
settings dialogs in the belt modes, and the family picture of the game-end dialog (the chef in
his wedding jacket, his bride, grandmother and the little one behind the bakery's counter,
cheering over the wedding cake, under bunting and a garland of fairy lights)."""

import math
import os

import cairo

from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CREAM, CREAM_DARK, LEMON, OUTLINE, PISTACHIO,
                    RASPBERRY, RASPBERRY_LIGHT, ROOT, ROSE, SUGAR, BLUEBERRY, darker, ellipse, glossy, hexrgb,
                    lighter, new_surface, polygon, radial, rounded_rect, save_png, vertical_gradient, with_alpha)
import gen_customers as people

G = "Dialog frames (painter pieces)"
W, H = 440, 300


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def backdrop(c):
    rounded_rect(c, 0, 0, W, H, 18)
    c.clip()
    c.set_source(vertical_gradient(0, H, [(0, hexrgb("FBD7DF")), (0.7, hexrgb("F6B9C8")), (1, hexrgb("EE9FB4"))]))
    c.paint()
    # Wallpaper stripes.
    for k in range(0, W, 28):
        c.rectangle(k, 0, 12, H)
    c.set_source_rgba(*with_alpha(SUGAR, 0.18))
    c.fill()
    # A round window with the evening sky.
    ellipse(c, W / 2.0, 78, 70, 54)
    c.set_source(vertical_gradient(24, 132, [(0, hexrgb("2E2F6B")), (0.6, hexrgb("7A5AA8")), (1, hexrgb("F4A06A"))]))
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 6)
    for sx, sy in ((180, 52), (214, 40), (252, 58), (236, 80), (198, 74)):
        ellipse(c, sx, sy, 1.6, 1.6)
        c.set_source_rgba(*SUGAR)
        c.fill()


def bunting(c):
    cols = [RASPBERRY, LEMON, PISTACHIO, hexrgb("6A8FE0"), CARAMEL_LIGHT]
    for row, (y0, sag) in enumerate(((10, 26), (30, 20))):
        pts = []
        for k in range(0, 23):
            x = k * W / 22.0
            t = x / W
            pts.append((x, y0 + sag * 4 * t * (1 - t)))
        c.move_to(*pts[0])
        for p in pts[1:]:
            c.line_to(*p)
        stroke(c, with_alpha(OUTLINE, 0.6), 1.2)
        for k in range(len(pts) - 1):
            if (k + row) % 2:
                continue
            (x0, y0_), (x1, y1) = pts[k], pts[k + 1]
            polygon(c, [(x0, y0_), (x1, y1), ((x0 + x1) / 2.0, (y0_ + y1) / 2.0 + 18)])
            c.set_source_rgba(*cols[(k // 2 + row) % len(cols)])
            c.fill_preserve()
            stroke(c, with_alpha(OUTLINE, 0.5), 1.0)


def fairy_lights(c):
    for k in range(14):
        x = 14 + k * 31
        y = 112 + 6 * math.sin(k * 1.3)
        c.set_source(radial(x, y, 9, [(0, with_alpha(LEMON, 0.8)), (1, with_alpha(LEMON, 0.0))]))
        ellipse(c, x, y, 9, 9)
        c.fill()
        ellipse(c, x, y, 2.6, 2.6)
        c.set_source_rgba(*hexrgb("FFF6C8"))
        c.fill()


def figure(c, draw, x, y, scale, mood="ecstatic"):
    c.save()
    c.translate(x, y)
    c.scale(scale, scale)
    draw(c, mood)
    c.restore()


def counter(c):
    top = 226
    rounded_rect(c, -10, top, W + 20, 16, 6)
    c.set_source(vertical_gradient(top, top + 16, [(0, CARAMEL_LIGHT), (1, CARAMEL)]))
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 2)
    c.rectangle(0, top + 14, W, H - top)
    c.set_source(vertical_gradient(top + 14, H, [(0, CARAMEL), (1, CARAMEL_DARK)]))
    c.fill()
    for k in range(0, W, 44):
        rounded_rect(c, k + 6, top + 24, 32, 44, 6)
        stroke(c, with_alpha(CARAMEL_DARK, 0.8), 1.6)


def wedding_cake(c, cx, base):
    tiers = [(96, 34, SUGAR), (72, 30, hexrgb("FFF0F4")), (48, 26, SUGAR)]
    y = base
    for w, h, col in tiers:
        y -= h
        glossy(c, lambda cc, w=w, h=h, y=y: rounded_rect(cc, cx - w / 2.0, y, w, h, 6), col,
               (cx - w / 2.0, y, w, h), line=1.8, highlight=0.5)
        for k in range(int(w // 12)):
            ellipse(c, cx - w / 2.0 + 6 + k * 12, y + 4, 4, 3)
            c.set_source_rgba(*RASPBERRY_LIGHT)
            c.fill()
    # Two little hearts on top.
    for dx in (-7, 7):
        c.save()
        c.translate(cx + dx, y - 9)
        c.scale(0.9, 0.9)
        c.move_to(0, 4)
        c.curve_to(-9, -4, -4, -12, 0, -6)
        c.curve_to(4, -12, 9, -4, 0, 4)
        c.restore()
        c.set_source_rgba(*RASPBERRY)
        c.fill_preserve()
        stroke(c, darker(RASPBERRY, 0.5), 1.0)


def family():
    s, c = new_surface(W, H)
    backdrop(c)
    bunting(c)
    fairy_lights(c)
    # Behind the counter, left to right: grandmother, the chef, his bride, the little one.
    figure(c, people.grandma, 0, 98, 1.05)
    figure(c, lambda cc, m: people.henri(cc, m, "marriage"), 84, 70, 1.2)
    figure(c, people.singer, 246, 76, 1.15)
    figure(c, people.child, 344, 120, 0.95)
    counter(c)
    wedding_cake(c, W / 2.0, 232)
    # Rim.
    c.reset_clip()
    rounded_rect(c, 1.5, 1.5, W - 3, H - 3, 18)
    stroke(c, CARAMEL_DARK, 3)
    return s


def ice_top(w=320, h=44):
    """Pistachio icing poured over the top edge of a dialog, with drips of uneven length."""
    s, c = new_surface(w, h)
    drips = [(0.08, 14), (0.2, 26), (0.31, 12), (0.44, 30), (0.56, 16), (0.68, 24), (0.8, 11), (0.91, 20)]

    def shape(cc):
        cc.new_path()
        cc.move_to(10, 4)
        cc.line_to(w - 10, 4)
        cc.curve_to(w - 2, 4, w - 2, 14, w - 10, 14)
        x_prev = w - 10
        for fx, length in reversed(drips):
            x = fx * w
            cc.line_to(x + 9, 14)
            cc.curve_to(x + 8, 14 + length * 0.6, x + 7, 14 + length, x, 14 + length)
            cc.curve_to(x - 7, 14 + length, x - 8, 14 + length * 0.6, x - 9, 14)
            x_prev = x
        cc.line_to(10, 14)
        cc.curve_to(2, 14, 2, 4, 10, 4)
        cc.close_path()
    glossy(c, shape, PISTACHIO, (0, 4, w, h - 4), line=1.8, highlight=0.6)
    for k in range(18):
        x = 16 + k * (w - 32) / 17.0
        ellipse(c, x, 8 + (k % 3), 1.6, 1.1)
        c.set_source_rgba(*with_alpha(SUGAR, 0.9))
        c.fill()
    return s


def main():
    save_png(ice_top(), "media/images/dialogs/ice_top.png",
             "\"DIALOG_ICETOP\": pistachio icing over the top edge of the menu, pause and settings dialogs in "
             "the arcade and the exams (\"SPRITE_ICETOP\", centred on the top edge)", "1 frame", G)
    save_png(family(), "media/images/dialogs/gameend_family.png",
             "\"FAMILY\": the game-end picture: the chef, his bride, grandmother and the little one cheering "
             "over the wedding cake", "1 frame", G)


if __name__ == "__main__":
    main()
