"""The help dialog's pages: the whole dialog picture with its frame, a title, three
illustrated steps and their texts; the bottom 72 pixels stay free for the dialog's buttons
(previous, next, close). Page 0 explains the career (countertop), page 1 the conveyor of
the arcade and the exams; the "_ICY" variants wear the frosted pistachio frame."""

import math
import os

import cairo

from common import (CARAMEL, CARAMEL_DARK, CHOCOLATE, CREAM, FONT_SANS, FONT_SERIF, LEMON, OUTLINE, PISTACHIO,
                    PISTACHIO_DARK, PISTACHIO_LIGHT, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, ROOT, SUGAR,
                    darker, ellipse, fancy_text, glossy, hexrgb, lighter, new_surface, plain_text, polygon,
                    rounded_rect, rounded_star_path, save_png, text_extents, vertical_gradient, with_alpha)

G = "Dialog frames (painter pieces)"
W, H = 600, 440


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def img(rel):
    return cairo.ImageSurface.create_from_png(os.path.join(ROOT, rel))


def put(c, rel, x, y, scale=1.0, frames=1, frame=0):
    """Draws a picture, or one frame of a strip of `frames` frames stacked vertically."""
    s = img(rel)
    fh = s.get_height() // frames
    c.save()
    c.translate(x, y)
    c.scale(scale, scale)
    c.rectangle(0, 0, s.get_width(), fh)
    c.clip()
    c.set_source_surface(s, 0, -frame * fh)
    c.paint()
    c.restore()


def frame(c, icy):
    rim = PISTACHIO if icy else RASPBERRY
    rounded_rect(c, 4, 4, W - 8, H - 8, 26)
    c.set_source(vertical_gradient(0, H, [(0, lighter(rim, 0.25)), (1, darker(rim, 0.2))]))
    c.fill_preserve()
    stroke(c, darker(rim, 0.55), 2.4)
    rounded_rect(c, 26, 26, W - 52, H - 52, 16)
    c.set_source_rgba(*(hexrgb("F3FAEE") if icy else CREAM))
    c.fill_preserve()
    stroke(c, darker(rim, 0.4), 1.6)
    for x in range(40, W - 36, 12):
        for y in (15, H - 15):
            ellipse(c, x, y, 2.1, 2.1)
            c.set_source_rgba(1.0, 0.97, 0.9, 0.85)
            c.fill()


def arrow(c, x0, y0, x1, y1, col=RASPBERRY):
    c.move_to(x0, y0)
    c.line_to(x1, y1)
    stroke(c, darker(col, 0.4), 7)
    c.move_to(x0, y0)
    c.line_to(x1, y1)
    stroke(c, col, 4)
    a = math.atan2(y1 - y0, x1 - x0)
    polygon(c, [(x1 + 8 * math.cos(a), y1 + 8 * math.sin(a)),
                (x1 + 9 * math.cos(a + 2.4), y1 + 9 * math.sin(a + 2.4)),
                (x1 + 9 * math.cos(a - 2.4), y1 + 9 * math.sin(a - 2.4))])
    c.set_source_rgba(*col)
    c.fill_preserve()
    stroke(c, darker(col, 0.4), 1.5)


def text_block(c, lines, cx, y, size=15):
    for i, line in enumerate(lines):
        plain_text(c, line, cx, y + i * (size + 5), size, CHOCOLATE, FONT_SANS, False)


def step_number(c, n, x, y):
    glossy(c, lambda cc: ellipse(cc, x, y, 13, 13), CARAMEL, (x - 13, y - 13, 26, 26), line=2, highlight=0.5)
    plain_text(c, str(n), x, y, 15, SUGAR, FONT_SANS, True)


def swap_panel(c, x, y):
    tiles = "media/images/game/tiles/"
    for i, name in enumerate(("cherry", "lemon", "cherry")):
        put(c, tiles + name + ".png", x + i * 44, y + 10, 0.9)
    put(c, tiles + "cherry.png", x + 44, y + 56, 0.9)
    arrow(c, x + 66, y + 60, x + 66, y + 48, PISTACHIO)
    arrow(c, x + 78, y + 50, x + 78, y + 62, PISTACHIO)


def countertop_panel(c, x, y):
    put(c, "media/images/game/pastries/cherrytart.png", x + 16, y, 0.95)
    put(c, "media/images/game/icons/cherry.png", x - 10, y + 16)
    arrow(c, x + 26, y + 32, x + 40, y + 40)
    rounded_rect(c, x - 4, y + 88, 128, 10, 4)
    c.set_source_rgba(*CARAMEL)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 1.6)


def star_panel(c, x, y):
    for i in range(3):
        put(c, "media/images/game/earned_star.png" if i < 2 else "media/images/game/goal_star.png", x + 2 + i * 40, y + 6)
    put(c, "media/images/game/customers/henri_happy.png", x + 34, y + 42, 0.32, frames=4)


def conveyor_panel(c, x, y):
    rounded_rect(c, x - 6, y + 70, 136, 16, 8)
    c.set_source_rgba(*hexrgb("8A8A96"))
    c.fill_preserve()
    stroke(c, OUTLINE, 1.6)
    for k in range(8):
        c.move_to(x + k * 17, y + 72)
        c.line_to(x + k * 17 + 6, y + 84)
    stroke(c, with_alpha(SUGAR, 0.5), 2)
    put(c, "media/images/game/plate.png", x + 10, y + 56, 0.6)
    put(c, "media/images/game/pastries/cupcake.png", x + 18, y + 4, 0.6)
    arrow(c, x + 90, y + 40, x + 122, y + 40, RASPBERRY)


def package_panel(c, x, y):
    put(c, "media/images/game/plate.png", x + 4, y + 66, 0.7)
    put(c, "media/images/game/pastries/strawberrycake.png", x + 10, y + 8, 0.7)
    put(c, "media/images/dialogs/hinthenri_arrow_top_left.png", x + 58, y + 40, 0.7)
    put(c, "media/images/game/earned_package.png", x + 96, y + 30)


def page(index, icy):
    s, c = new_surface(W, H)
    frame(c, icy)
    title = "How to bake" if index == 0 else "The conveyor belt"
    fancy_text(c, title, W / 2.0, 62, 32, hexrgb("FFF6D8"), hexrgb("F7C46A"), outline=CHOCOLATE, outline_w=3,
               face=FONT_SERIF, italic=True)
    if index == 0:
        steps = [(swap_panel, ["Swap two neighbours", "to line up three", "or more alike."]),
                 (countertop_panel, ["Matched ingredients", "go into the pastries", "on the counter."]),
                 (star_panel, ["Click finished pastries", "to serve them and", "earn your stars."])]
    else:
        steps = [(swap_panel, ["Match ingredients", "just as in the", "bakery."]),
                 (conveyor_panel, ["Pastries ride the belt:", "finish them before", "they reach the end."]),
                 (package_panel, ["Click a finished plate", "to pack it and", "keep the belt moving."])]
    for i, (panel, lines) in enumerate(steps):
        cx = 122 + i * 178
        rounded_rect(c, cx - 80, 98, 160, 150, 14)
        c.set_source_rgba(*with_alpha(SUGAR, 0.8))
        c.fill_preserve()
        stroke(c, with_alpha(CARAMEL_DARK, 0.5), 1.5)
        step_number(c, i + 1, cx - 68, 110)
        panel(c, cx - 62, 122)
        text_block(c, lines, cx, 276, 14)
    return s


def main():
    for index in (0, 1):
        for icy in (False, True):
            key = "IMAGE_HELP_PAGE%d%s" % (index, "_ICY" if icy else "")
            save_png(page(index, icy), "media/images/dialogs/%s.png" % key.lower(),
                     "\"%s\": help page %d (%s), the whole dialog picture; buttons go in the bottom 72 px" % (
                         key, index, "conveyor" if index else "career"), "1 frame", G)


if __name__ == "__main__":
    main()
