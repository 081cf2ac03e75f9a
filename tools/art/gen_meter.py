"""The bonus meter: a glass tube on a caramel stand with a raspberry syrup filling, its
rippling top, the candy cane and sprinkle fountain of the frenzy, the turning wheel, the
shine behind the score and the frenzy announcement. Career pieces in raspberry; the
arcade and exam variants ("ARCADE_" names) in pistachio.

Geometry (shared by both variants): the body is 64 × 300; the filling, 32 × 240, sits in
the tube at (16, 40) of the body; the candy cane is 32 × 264 (24 px taller than the
filling); the wheel (64 × 64) sits below the tube at (0, 236) of the body."""

import math

import cairo

from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, LEMON, OUTLINE, PISTACHIO, PISTACHIO_DARK,
                    PISTACHIO_LIGHT, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, SUGAR, darker, ellipse,
                    fancy_text, glossy, heart_path, hexrgb, lighter, new_surface, radial, rounded_rect, rounded_star_path,
                    save_frames, save_png, vertical_gradient, with_alpha)

G = "Bonus meter (section \"scenegame\")"
BODY_W, BODY_H = 64, 300
FILL_X, FILL_Y, FILL_W, FILL_H = 16, 40, 32, 240 - 36
CANE_EXTRA = 24


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def body(rim):
    s, c = new_surface(BODY_W, BODY_H)
    # glass tube
    rounded_rect(c, FILL_X - 4, FILL_Y - 10, FILL_W + 8, FILL_H + 16, 16)
    c.set_source_rgba(0.85, 0.93, 1.0, 0.3)
    c.fill_preserve()
    stroke(c, hexrgb("6A7C98"), 2.2)
    rounded_rect(c, FILL_X, FILL_Y - 6, 6, FILL_H, 3)
    c.set_source_rgba(1, 1, 1, 0.45)
    c.fill()
    # scale marks
    for k in range(1, 5):
        y = FILL_Y + FILL_H * k / 5.0
        c.move_to(FILL_X + FILL_W - 8, y)
        c.line_to(FILL_X + FILL_W + 2, y)
        stroke(c, with_alpha(hexrgb("6A7C98"), 0.8), 1.5)
    # cap
    glossy(c, lambda cc: rounded_rect(cc, 6, 4, BODY_W - 12, 26, 10), rim, (6, 4, BODY_W - 12, 26), line=2.2, highlight=0.5)
    rounded_star_path(c, BODY_W / 2.0, 17, 9, 4, 5)
    c.set_source_rgba(*LEMON)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 1.2)
    # stand with the wheel's hub behind it
    glossy(c, lambda cc: rounded_rect(cc, 4, FILL_Y + FILL_H + 2, BODY_W - 8, 20, 8), CARAMEL, (4, FILL_Y + FILL_H + 2, BODY_W - 8, 20),
           outline=CARAMEL_DARK, line=2.2, highlight=0.4)
    return s


def filling(col):
    s, c = new_surface(FILL_W, FILL_H)
    rounded_rect(c, 0, -12, FILL_W, FILL_H + 12, 12)
    c.set_source(vertical_gradient(0, FILL_H, [(0, lighter(col, 0.2)), (1, darker(col, 0.15))]))
    c.fill()
    for y in range(12, FILL_H, 26):
        ellipse(c, 8 + (y * 7) % 16, y, 2.4, 2.4)
        c.set_source_rgba(1, 1, 1, 0.35)
        c.fill()
    c.rectangle(3, 0, 5, FILL_H)
    c.set_source_rgba(1, 1, 1, 0.25)
    c.fill()
    return s


def filling_top(col, n=7):
    frames = []
    for i in range(n):
        s, c = new_surface(FILL_W, 12)
        ph = i * 2 * math.pi / n
        c.move_to(0, 12)
        for x in range(0, FILL_W + 1, 2):
            c.line_to(x, 5 + 2.5 * math.sin(x / FILL_W * 2 * math.pi * 1.5 + ph))
        c.line_to(FILL_W, 12)
        c.close_path()
        c.set_source_rgba(*lighter(col, 0.2))
        c.fill_preserve()
        c.set_source_rgba(*lighter(col, 0.5))
        c.set_line_width(1.5)
        c.stroke()
        frames.append(s)
    return frames


def candy_cane(col, n=8):
    frames = []
    h = FILL_H + CANE_EXTRA
    for i in range(n):
        s, c = new_surface(FILL_W, h)
        rounded_rect(c, 0, 0, FILL_W, h, 12)
        c.set_source_rgba(*SUGAR)
        c.fill()
        c.save()
        rounded_rect(c, 0, 0, FILL_W, h, 12)
        c.clip()
        off = i * 24.0 / n
        for y in range(-40, h + 40, 24):
            c.move_to(0, y + off)
            c.line_to(FILL_W, y + off - 14)
            c.line_to(FILL_W, y + off - 4)
            c.line_to(0, y + off + 10)
            c.close_path()
            c.set_source_rgba(*col)
            c.fill()
        c.rectangle(4, 0, 6, h)
        c.set_source_rgba(1, 1, 1, 0.35)
        c.fill()
        c.restore()
        frames.append(s)
    return frames


def fountain(n=8, w=80, h=90):
    frames = []
    cols = [RASPBERRY, LEMON, PISTACHIO, hexrgb("6A8FE0"), SUGAR]
    for i in range(n):
        s, c = new_surface(w, h)
        for k in range(18):
            t = ((i / float(n)) + k / 18.0) % 1.0
            ang = -math.pi / 2 + (k % 6 - 2.5) * 0.22
            v = 190
            x = w / 2.0 + math.cos(ang) * v * t * 0.35
            y = h - 4 + math.sin(ang) * v * t + 160 * t * t
            c.save()
            c.translate(x, y)
            c.rotate(k + t * 6)
            rounded_rect(c, -4, -1.5, 8, 3, 1.5)
            c.set_source_rgba(*cols[k % len(cols)])
            c.fill()
            c.restore()
        frames.append(s)
    return frames


def wheel(col, n=19, size=64):
    frames = []
    teeth = 12
    for i in range(n):
        s, c = new_surface(size, size)
        cx = cy = size / 2.0
        # the frames make one full turn
        rot = i * 2 * math.pi / n
        c.new_path()
        for k in range(teeth * 2):
            a = rot + k * math.pi / teeth
            r = size * 0.47 if k % 2 == 0 else size * 0.4
            c.line_to(cx + r * math.cos(a), cy + r * math.sin(a))
        c.close_path()
        c.set_source(radial(cx - 8, cy - 8, size * 0.6, [(0, lighter(col, 0.3)), (1, col)]))
        c.fill_preserve()
        stroke(c, darker(col, 0.55), 2)
        ellipse(c, cx, cy, size * 0.3, size * 0.3)
        c.set_source_rgba(*lighter(col, 0.4))
        c.fill_preserve()
        stroke(c, darker(col, 0.4), 1.5)
        for k in range(5):
            a = rot + k * 2 * math.pi / 5
            c.move_to(cx, cy)
            c.line_to(cx + size * 0.26 * math.cos(a), cy + size * 0.26 * math.sin(a))
        stroke(c, darker(col, 0.4), 3)
        ellipse(c, cx, cy, 5, 5)
        c.set_source_rgba(*OUTLINE)
        c.fill()
        frames.append(s)
    return frames


def score_shine(w=180, h=64):
    s, c = new_surface(w, h)
    ellipse(c, w / 2.0, h / 2.0, w / 2.0, h / 2.0)
    c.set_source(radial(w / 2.0, h / 2.0, w / 2.0, [(0, (1, 0.96, 0.7, 0.85)), (0.6, (1, 0.9, 0.6, 0.35)), (1, (1, 0.9, 0.6, 0))]))
    c.fill()
    return s


def frenzy_banner(w=320, h=96):
    s, c = new_surface(w, h)
    fancy_text(c, "Frenzy!", w / 2.0, h / 2.0, 60, hexrgb("FFF3A0"), hexrgb("F7A23A"), outline=RASPBERRY_DARK,
               outline_w=4, italic=True, face="DejaVu Serif", glow=with_alpha(SUGAR, 0.9))
    return s


def frenzy_floater(w=72, h=72):
    """A glossy lemon star holding a raspberry heart, ringed by sprinkles: the point a frenzy run earns."""
    s, c = new_surface(w, h)
    cx, cy = w / 2.0, h / 2.0 + 2
    c.arc(cx, cy - 2, 30, 0, 2 * math.pi)
    c.set_source(radial(cx, cy - 2, 30, [(0, (1, 0.96, 0.7, 0.7)), (0.7, (1, 0.9, 0.6, 0.25)), (1, (1, 0.9, 0.6, 0))]))
    c.fill()
    glossy(c, lambda cc: rounded_star_path(cc, cx, cy, 27, 12, 5), LEMON, (cx - 27, cy - 27, 54, 54),
           outline=OUTLINE, line=2.5)
    for i, col in enumerate((RASPBERRY, PISTACHIO, SUGAR, RASPBERRY_LIGHT, CARAMEL_LIGHT)):
        a = -math.pi / 2 + i * 2 * math.pi / 5 + math.pi / 5
        ellipse(c, cx + 19 * math.cos(a), cy + 19 * math.sin(a), 2.6, 2.6)
        c.set_source_rgba(*col)
        c.fill()
    glossy(c, lambda cc: heart_path(cc, cx, cy + 1, 13), RASPBERRY, (cx - 13, cy - 12, 26, 26),
           outline=RASPBERRY_DARK, line=1.8)
    return s


def main():
    for prefix, col, rim, name in (("", RASPBERRY, RASPBERRY_LIGHT, "career"), ("arcade_", PISTACHIO, PISTACHIO_LIGHT, "arcade and exam")):
        key = "ARCADE_" if prefix else ""
        save_png(body(rim), "media/images/game/%sbonus_meter_body.png" % prefix,
                 "\"%sBONUS_METER_BODY\": %s bonus meter tube; filling at (16, 40), wheel at (0, 236)" % (key, name),
                 "1 frame", G)
        save_png(filling(col), "media/images/game/%sbonus_filling.png" % prefix,
                 "\"%sBONUS_FILLING\": the syrup, clipped from the fill line down" % key, "1 frame", G)
        save_frames(filling_top(col), "media/images/game/%sbonus_filling_top.png" % prefix,
                    "\"%sBONUS_FILLING_TOP\": rippling top of the syrup" % key, G)
        save_frames(wheel(CARAMEL_LIGHT if not prefix else PISTACHIO_LIGHT), "media/images/game/%sbonus_meter_wheel.png" % prefix,
                    "\"%sBONUS_METER_WHEEL\": the wheel, one full turn over the 19 frames" % key, G)
    save_frames(candy_cane(RASPBERRY), "media/images/game/bonus_filling_candycane.png",
                "\"BONUS_FILLING_CANDYCANE\": frenzy filling, %d px taller than the syrup (50 ms per frame)" % CANE_EXTRA, G)
    save_frames(fountain(), "media/images/game/bonus_fountain.png",
                "\"BONUS_FOUNTAIN\": sprinkles spurting from the tube's top in frenzy (50 ms per frame)", G)
    save_png(score_shine(), "media/images/game/bonus_scoreshine.png",
             "\"BONUS_SCORESHINE\": glow behind the score during frenzy", "1 frame", G)
    save_png(frenzy_banner(), "media/images/game/bonusfrenzy.png",
             "\"BONUSFRENZY\": the frenzy announcement thrown across the screen", "1 frame", G)
    save_png(frenzy_floater(), "media/images/game/bonusfrenzyfloater.png",
             "\"BONUSFRENZYFLOATER\": the star that rises from a run made during the frenzy", "1 frame", G)


if __name__ == "__main__":
    main()
