"""The arcade stage: the front curtain that rises (to y -530), the tied-back side drapes,
the rope with its tassel, six mixing bowls (one per level set, 4-frame buttons anchored at
their bottom centre), a turning fan and stage steam."""

import math
import random

import cairo

from common import (BLUEBERRY, CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, LAVENDER, LEMON, MINT, OUTLINE,
                    PEACH, PISTACHIO, PISTACHIO_DARK, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, SUGAR, darker,
                    ellipse, fancy_text, glossy, hexrgb, lighter, new_surface, radial, rounded_rect,
                    rounded_star_path, save_frames, save_png, vertical_gradient, with_alpha)

G = "Arcade stage (section \"scenearcade\")"
VELVET = hexrgb("B3264E")
GOLD = hexrgb("F2C14E")


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def velvet_folds(c, x0, x1, y0, y1, folds):
    w = x1 - x0
    g = cairo.LinearGradient(x0, 0, x1, 0)
    for k in range(folds * 2 + 1):
        t = k / float(folds * 2)
        g.add_color_stop_rgba(t, *(lighter(VELVET, 0.25) if k % 2 else darker(VELVET, 0.35)))
    c.rectangle(x0, y0, w, y1 - y0)
    c.set_source(g)
    c.fill()


def fringe(c, x0, x1, y):
    c.rectangle(x0, y - 10, x1 - x0, 12)
    c.set_source(vertical_gradient(y - 10, y + 2, [(0, lighter(GOLD, 0.3)), (1, darker(GOLD, 0.2))]))
    c.fill()
    for x in range(int(x0), int(x1), 8):
        c.move_to(x + 4, y + 2)
        c.line_to(x + 4, y + 16)
        stroke(c, GOLD, 3)


def curtain_front(w=800, h=560):
    s, c = new_surface(w, h)
    velvet_folds(c, 0, w, 0, h - 16, 16)
    c.rectangle(0, 0, w, h)
    c.set_source(vertical_gradient(0, h, [(0, (0, 0, 0, 0.25)), (0.4, (0, 0, 0, 0)), (1, (0, 0, 0, 0.15))]))
    c.fill()
    fringe(c, 0, w, h - 16)
    fancy_text(c, "Arcade", w / 2.0, h * 0.45, 72, hexrgb("FFF3C8"), GOLD, outline=hexrgb("5A1028"), outline_w=4,
               italic=True, face="DejaVu Serif", glow=with_alpha(hexrgb("FFE08A"), 0.35))
    return s


def curtain_back(w=800, h=600):
    s, c = new_surface(w, h)
    for side in (0, 1):
        c.save()
        if side:
            c.translate(w, 0)
            c.scale(-1, 1)
        c.new_path()
        c.move_to(0, 0)
        c.line_to(150, 0)
        c.curve_to(120, 160, 60, 240, 70, 330)
        c.curve_to(80, 420, 110, 520, 130, h)
        c.line_to(0, h)
        c.close_path()
        c.save()
        c.clip()
        velvet_folds(c, 0, 160, 0, h, 4)
        c.restore()
        # tie-back
        rounded_rect(c, 44, 318, 46, 14, 6)
        c.set_source_rgba(*GOLD)
        c.fill_preserve()
        stroke(c, darker(GOLD, 0.5), 1.6)
        c.restore()
    # valance
    c.new_path()
    c.move_to(0, 0)
    c.line_to(w, 0)
    c.line_to(w, 54)
    for i in range(10, 0, -1):
        xa, xb = w * i / 10.0, w * (i - 1) / 10.0
        c.curve_to(xa - 10, 84, xb + 10, 84, xb, 54)
    c.close_path()
    c.set_source(vertical_gradient(0, 84, [(0, darker(VELVET, 0.3)), (1, VELVET)]))
    c.fill_preserve()
    stroke(c, darker(VELVET, 0.6), 2)
    for i in range(10):
        x = w * (i + 0.5) / 10.0
        rounded_star_path(c, x, 40, 6, 2.5, 5)
        c.set_source_rgba(*GOLD)
        c.fill()
    return s


def rope(w=40, h=300):
    s, c = new_surface(w, h)
    for y in range(0, h - 60, 8):
        c.move_to(w / 2.0 - 5, y)
        c.curve_to(w / 2.0 + 6, y + 3, w / 2.0 + 6, y + 5, w / 2.0 - 5, y + 8)
        stroke(c, darker(GOLD, 0.2), 5)
        c.move_to(w / 2.0 - 5, y)
        c.curve_to(w / 2.0 + 6, y + 3, w / 2.0 + 6, y + 5, w / 2.0 - 5, y + 8)
        stroke(c, GOLD, 3)
    glossy(c, lambda cc: ellipse(cc, w / 2.0, h - 56, 9, 9), GOLD, (w / 2.0 - 9, h - 65, 18, 18), line=1.6)
    c.new_path()
    c.move_to(w / 2.0 - 6, h - 48)
    c.line_to(w / 2.0 + 6, h - 48)
    c.line_to(w / 2.0 + 16, h - 4)
    c.line_to(w / 2.0 - 16, h - 4)
    c.close_path()
    c.set_source(vertical_gradient(h - 48, h, [(0, GOLD), (1, darker(GOLD, 0.3))]))
    c.fill_preserve()
    stroke(c, darker(GOLD, 0.5), 1.4)
    for x in range(-14, 16, 4):
        c.move_to(w / 2.0 + x * 0.4, h - 44)
        c.line_to(w / 2.0 + x, h - 5)
        stroke(c, with_alpha(darker(GOLD, 0.45), 0.6), 1)
    return s


BOWL_COLOURS = [PISTACHIO, hexrgb("6A8FE0"), LEMON, RASPBERRY_LIGHT, LAVENDER, CARAMEL]
BOWL_FILL = [hexrgb("FFF4E0"), hexrgb("F9C3D2"), hexrgb("8A5638"), hexrgb("F4E04A"), hexrgb("E8413C"), hexrgb("F2B93B")]


def bowl(i, state, w=128, h=104):
    s, c = new_surface(w, h)
    col = BOWL_COLOURS[i]
    if state == "over":
        col = lighter(col, 0.2)
    elif state == "pressed":
        col = darker(col, 0.15)
    elif state == "disabled":
        g = col[0] * 0.3 + col[1] * 0.59 + col[2] * 0.11
        col = (g, g, g, 1)
    off = 2 if state == "pressed" else 0
    ellipse(c, w / 2.0, h - 6, w * 0.36, 6)
    c.set_source_rgba(0.2, 0.08, 0.04, 0.3)
    c.fill()
    # batter peeking over the rim
    fill = BOWL_FILL[i] if state != "disabled" else hexrgb("D8D0C8")
    ellipse(c, w / 2.0, 40 + off, w * 0.42, 12)
    c.set_source(radial(w / 2.0 - 10, 36 + off, w * 0.4, [(0, lighter(fill, 0.3)), (1, fill)]))
    c.fill()
    if state != "disabled":
        for k in range(3):
            rounded_star_path(c, w / 2.0 - 24 + k * 24, 36 + off, 5, 2, 5)
            c.set_source_rgba(*SUGAR)
            c.fill()

    def body(cc):
        cc.new_path()
        cc.move_to(8, 40 + off)
        cc.curve_to(12, 86 + off, 40, h - 8, w / 2.0, h - 8)
        cc.curve_to(w - 40, h - 8, w - 12, 86 + off, w - 8, 40 + off)
        cc.curve_to(w - 30, 54 + off, 30, 54 + off, 8, 40 + off)
        cc.close_path()
    glossy(c, body, col, (8, 40, w - 16, h - 48), line=2.5, highlight=0.45)
    ellipse(c, w / 2.0, 40 + off, w * 0.46, 13)
    stroke(c, darker(col, 0.55), 2.5)
    # the set's number on the bowl
    fancy_text(c, str(i + 1), w / 2.0, 74 + off, 26, SUGAR, lighter(col, 0.5), outline=darker(col, 0.6),
               outline_w=2.5, shadow=False)
    if state == "over":
        ellipse(c, w / 2.0, 60, w * 0.5, h * 0.45)
        c.set_source_rgba(1, 0.97, 0.7, 0.18)
        c.fill()
    return s


def fan(n=8, size=96):
    frames = []
    for i in range(n):
        s, c = new_surface(size, size)
        cx = cy = size / 2.0
        ellipse(c, cx, cy, size * 0.47, size * 0.47)
        stroke(c, with_alpha(hexrgb("A8A0B0"), 0.9), 3)
        rot = i * (2 * math.pi / 4) / n
        for k in range(4):
            a = rot + k * math.pi / 2
            c.save()
            c.translate(cx, cy)
            c.rotate(a)
            ellipse(c, size * 0.22, 0, size * 0.2, size * 0.08)
            c.set_source_rgba(*with_alpha(MINT, 0.95))
            c.fill_preserve()
            stroke(c, hexrgb("5A8A78"), 1.5)
            c.restore()
        glossy(c, lambda cc: ellipse(cc, cx, cy, 7, 7), GOLD, (cx - 7, cy - 7, 14, 14), line=1.5)
        frames.append(s)
    return frames


def steam(n=8, w=48, h=80):
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        for k in range(3):
            p = ((i / float(n)) + k / 3.0) % 1.0
            y = h - 8 - p * (h - 20)
            x = w / 2.0 + math.sin(p * 6 + k) * 6 * p
            r = 5 + p * 12
            ellipse(c, x, y, r, r * 0.85)
            c.set_source_rgba(1, 0.98, 0.97, 0.75 * (1 - p) * min(1.0, p * 6))
            c.fill()
        frames.append(s)
    return frames


D = "Dialog pictures (section \"dialogs\")"


def results_panel(w=380, h=96):
    """The cream block behind the round rows and the score rows of the arcade results."""
    s, c = new_surface(w, h)
    glossy(c, lambda cc: rounded_rect(cc, 3, 3, w - 6, h - 6, 16), hexrgb("FFF4E0"), (3, 3, w - 6, h - 6),
           outline=PISTACHIO_DARK, line=2.5, highlight=0.3)
    for i in range(int((w - 40) / 14)):
        ellipse(c, 22 + i * 14, h - 9, 3, 3)
        c.set_source_rgba(*with_alpha(PISTACHIO, 0.6))
        c.fill()
    return s


def results_line(w=340, h=8):
    s, c = new_surface(w, h)
    for i in range(int(w / 10)):
        rounded_rect(c, i * 10 + 1, 2, 6, 4, 2)
        c.set_source_rgba(*with_alpha(CARAMEL, 0.8))
        c.fill()
    return s


def new_record(n=4, w=132, h=44):
    """A raspberry ribbon with "New record!" and a glint that sweeps across it."""
    frames = []
    for f in range(n):
        s, c = new_surface(w, h)
        for side in (-1, 1):
            x0 = w / 2.0 + side * (w / 2.0 - 14)
            c.move_to(x0, 10)
            c.line_to(x0 + side * 12, 12)
            c.line_to(x0 + side * 6, 22)
            c.line_to(x0 + side * 12, 34)
            c.line_to(x0, 32)
            c.close_path()
            c.set_source_rgba(*RASPBERRY_DARK)
            c.fill()
        glossy(c, lambda cc: rounded_rect(cc, 12, 6, w - 24, 30, 9), RASPBERRY, (12, 6, w - 24, 30), line=2,
               highlight=0.5)
        c.save()
        rounded_rect(c, 12, 6, w - 24, 30, 9)
        c.clip()
        gx = 12 + (w - 24) * (f + 0.5) / n
        c.move_to(gx - 8, 6)
        c.line_to(gx + 4, 6)
        c.line_to(gx - 8, 36)
        c.line_to(gx - 20, 36)
        c.close_path()
        c.set_source_rgba(1, 1, 1, 0.35)
        c.fill()
        c.restore()
        fancy_text(c, "New record!", w / 2.0, 21, 15, SUGAR, LEMON, outline=RASPBERRY_DARK, outline_w=2.5, shadow=False)
        frames.append(s)
    return frames


def round_icon(size=36):
    """The round row's icon: a little pistachio flag on a pole."""
    s, c = new_surface(size, size)
    c.rectangle(8, 4, 3, size - 6)
    c.set_source_rgba(*CHOCOLATE)
    c.fill()
    c.move_to(11, 5)
    c.line_to(size - 3, 11)
    c.line_to(11, 19)
    c.close_path()
    c.set_source_rgba(*PISTACHIO)
    c.fill_preserve()
    stroke(c, PISTACHIO_DARK, 1.5)
    ellipse(c, 9.5, 4, 3, 3)
    c.set_source_rgba(*LEMON)
    c.fill()
    return s


def main():
    save_png(curtain_front(), "media/images/arcade/curtain_front.png",
             "\"CURTAINFRONT\": the front curtain; it rises to y -530, so 30 px of fringe stay in view", "1 frame", G)
    save_png(curtain_back(), "media/images/arcade/curtain_back.png",
             "\"CURTAINBACK\": tied-back side drapes and the valance (transparent middle)", "1 frame", G)
    save_png(rope(), "media/images/arcade/curtain_rope.png", "\"CURTAINROPE\": the golden rope with its tassel", "1 frame", G)
    for i in range(6):
        save_frames([bowl(i, st) for st in ("normal", "over", "pressed", "disabled")],
                    "media/images/arcade/bowl%d.png" % i,
                    "\"ARCADE_BOWL%d\": mixing bowl of level set %d (\"BUTTON_ARCADE%d\", anchored at its bottom centre)" % (i, i + 1, i), G)
    save_frames(fan(), "media/images/arcade/fan.png", "\"ARCADE_FAN\": the turning fan (\"FAN\", 33 ms per frame)", G)
    save_frames(steam(), "media/images/arcade/steam.png", "\"ARCADE_STEAM\": steam for \"SMOKE1\" and \"SMOKE2\"", G)
    save_png(results_panel(), "media/images/dialogs/arcadeend_panel.png",
             "\"ARCADEEND_PANEL\": block behind the round rows and the score rows of the arcade results", "1 frame", D)
    save_png(results_line(), "media/images/dialogs/arcadeend_line.png",
             "\"ARCADEEND_LINE\": dotted caramel line under a result row", "1 frame", D)
    save_frames(new_record(), "media/images/dialogs/arcadeend_newrecord.png",
                "\"ARCADEEND_NEWRECORD\": the new-record ribbon, its glint sweeping across (150 ms per frame)", D)
    save_png(round_icon(), "media/images/dialogs/arcadeend_roundicon.png",
             "\"ARCADEEND_ROUNDICON\": the little flag beside a round number", "1 frame", D)


if __name__ == "__main__":
    main()
