"""Pieces of the game screen that the play code animates: plates with their lift and shine,
the packaging cloud, count-down sparkles, the conveyor's signal light, the level smoke and
shine, hearts, stars, the pastry box and confetti. Frame counts follow the animations that
use them; where the code takes the count from a tuning value, the manifest says which."""

import math
import random

import cairo

from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CREAM, LAVENDER, LEMON, MINT, OUTLINE,
                    PISTACHIO, PISTACHIO_DARK, PISTACHIO_LIGHT, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT,
                    SUGAR, darker, ellipse, glossy, heart_path, hexrgb, lighter, new_surface, polygon, radial,
                    rounded_rect, rounded_star_path, save_frames, save_png, star_path, vertical_gradient,
                    with_alpha)

G = "Game screen pieces (section \"scenegame\")"


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def draw_plate(c, cx, cy, rx, ry, tilt=0.0):
    c.save()
    c.translate(cx, cy)
    c.rotate(tilt)
    ellipse(c, 0, 2, rx, ry)
    c.set_source_rgba(0.25, 0.1, 0.05, 0.25)
    c.fill()
    ellipse(c, 0, 0, rx, ry)
    c.set_source(vertical_gradient(-ry, ry, [(0, SUGAR), (1, hexrgb("D9CFC8"))]))
    c.fill_preserve()
    stroke(c, hexrgb("8A7A72"), 1.8)
    ellipse(c, 0, -1, rx * 0.66, ry * 0.6)
    c.set_source_rgba(*hexrgb("F2ECE6"))
    c.fill_preserve()
    stroke(c, with_alpha(hexrgb("B8A8A0"), 0.8), 1.2)
    ellipse(c, 0, 0, rx - 3, ry - 2)
    stroke(c, with_alpha(RASPBERRY_LIGHT, 0.7), 1.2)
    c.restore()


def plate():
    s, c = new_surface(96, 30)
    draw_plate(c, 48, 14, 44, 11)
    return s


def plate_animation(n=6):
    frames = []
    for i in range(n):
        s, c = new_surface(96, 60)
        t = i / float(n - 1)
        draw_plate(c, 48, 44 - 26 * t, 44 * (1 - 0.25 * t), 11 * (1 - 0.25 * t), 0.25 * math.sin(t * math.pi))
        c.set_operator(cairo.OPERATOR_DEST_IN)
        c.set_source_rgba(0, 0, 0, 1 - 0.85 * t)
        c.paint()
        frames.append(s)
    return frames


def glint_frames(n, size, colour=(1, 1, 0.9)):
    frames = []
    for i in range(n):
        s, c = new_surface(size, size)
        t = (i + 0.5) / n
        r = size * 0.48 * math.sin(t * math.pi)
        cx = cy = size / 2.0
        star_path(c, cx, cy, r, r * 0.12, 4, t * math.pi / 2)
        c.set_source_rgba(colour[0], colour[1], colour[2], 0.95)
        c.fill()
        ellipse(c, cx, cy, r * 0.35, r * 0.35)
        c.set_source(radial(cx, cy, max(r * 0.35, 0.1), [(0, (1, 1, 1, 1)), (1, (1, 1, 1, 0))]))
        c.fill()
        frames.append(s)
    return frames


def cloud_frames(n, size=96, seed=1):
    frames = []
    rnd = random.Random(seed)
    puffs = [(rnd.uniform(0, 2 * math.pi), rnd.uniform(0.5, 1.0), rnd.uniform(0.6, 1.0)) for _ in range(9)]
    for i in range(n):
        s, c = new_surface(size, size)
        t = (i + 1) / float(n)
        for a, d, r in puffs:
            x = size / 2.0 + math.cos(a) * d * size * 0.32 * t
            y = size * 0.6 + math.sin(a) * d * size * 0.22 * t - size * 0.1 * t
            rr = size * 0.16 * r * (0.6 + 0.6 * t)
            alpha = 0.95 if t < 0.6 else 0.95 * (1 - (t - 0.6) / 0.4)
            ellipse(c, x, y, rr, rr)
            c.set_source(radial(x - rr * 0.3, y - rr * 0.3, rr * 1.3, [(0, (1, 1, 1, alpha)), (1, (0.93, 0.88, 0.9, alpha * 0.8))]))
            c.fill()
        for k in range(4):
            a = k * math.pi / 2 + t
            x, y = size / 2.0 + math.cos(a) * size * 0.4 * t, size * 0.55 + math.sin(a) * size * 0.3 * t
            rounded_star_path(c, x, y, 5 * (1 - t) + 1, 2 * (1 - t) + 0.5, 4)
            c.set_source_rgba(1, 0.95, 0.6, 0.9 * (1 - t))
            c.fill()
        frames.append(s)
    return frames


def signal_light():
    frames = []
    for state in ("off", "on", "alarm"):
        s, c = new_surface(32, 32)
        col = {"off": hexrgb("7A6A6A"), "on": PISTACHIO, "alarm": hexrgb("F04A3A")}[state]
        if state != "off":
            ellipse(c, 16, 16, 16, 16)
            c.set_source(radial(16, 16, 16, [(0, with_alpha(lighter(col, 0.4), 0.8)), (1, with_alpha(col, 0))]))
            c.fill()
        glossy(c, lambda cc: ellipse(cc, 16, 16, 10, 10), col, (6, 6, 20, 20), outline=OUTLINE, line=2, highlight=0.7)
        frames.append(s)
    return frames


def smoke_frames(n=8, w=48, h=64):
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        t = i / float(n)
        for k in range(3):
            p = (t + k / 3.0) % 1.0
            y = h - 8 - p * (h - 18)
            x = w / 2.0 + math.sin(p * 6 + k) * 5 * p
            r = 5 + p * 10
            a = 0.7 * (1 - p) * min(1.0, p * 6)
            ellipse(c, x, y, r, r * 0.85)
            c.set_source_rgba(1, 0.98, 0.96, a)
            c.fill()
        frames.append(s)
    return frames


def heart(size=32):
    s, c = new_surface(size, size)
    k = size / 32.0
    c.scale(k, k)
    glossy(c, lambda cc: heart_path(cc, 16, 16, 12), RASPBERRY, (4, 4, 24, 24), line=1.8, highlight=0.6)
    return s


def star(size, col, hollow=False):
    s, c = new_surface(size, size)
    k = size / 40.0
    c.scale(k, k)
    if hollow:
        rounded_star_path(c, 20, 21, 17, 7.5, 5)
        c.set_source_rgba(*with_alpha(darker(col, 0.2), 0.35))
        c.fill_preserve()
        stroke(c, with_alpha(CARAMEL_DARK, 0.8), 2)
        return s
    glossy(c, lambda cc: rounded_star_path(cc, 20, 21, 17, 7.5, 5), col, (3, 4, 34, 34), outline=CARAMEL_DARK, line=2, highlight=0.7)
    return s


def pastry_box(size=48, hollow=False):
    s, c = new_surface(size, size)
    k = size / 48.0
    c.scale(k, k)
    if hollow:
        rounded_rect(c, 8, 16, 32, 26, 4)
        c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.3))
        c.fill_preserve()
        stroke(c, with_alpha(RASPBERRY_DARK, 0.7), 2)
        return s
    glossy(c, lambda cc: rounded_rect(cc, 8, 16, 32, 26, 4), RASPBERRY_LIGHT, (8, 16, 32, 26), line=2, highlight=0.4)
    for x in range(11, 40, 6):
        c.rectangle(x, 17, 3, 24)
        c.set_source_rgba(1, 1, 1, 0.35)
        c.fill()
    c.rectangle(22, 16, 4, 26)
    c.set_source_rgba(*LEMON)
    c.fill()
    for side in (-1, 1):
        ellipse(c, 24 + side * 6, 12, 6, 4)
        stroke(c, LEMON, 3)
    return s


def confetti_frames(n=8, size=16):
    frames = []
    cols = [RASPBERRY, LEMON, PISTACHIO, hexrgb("6A8FE0"), LAVENDER]
    for i in range(n):
        s, c = new_surface(size * len(cols), size)
        for k, col in enumerate(cols):
            a = (i / float(n)) * 2 * math.pi + k
            c.save()
            c.translate(k * size + size / 2.0, size / 2.0)
            c.rotate(a)
            c.scale(1.0, abs(math.cos(a * 1.3)) * 0.8 + 0.2)
            rounded_rect(c, -size * 0.35, -size * 0.2, size * 0.7, size * 0.4, 1.5)
            c.set_source_rgba(*col)
            c.fill()
            c.restore()
        frames.append(s)
    return frames


def countertop(w=480, h=60):
    s, c = new_surface(w, h)
    rounded_rect(c, 2, 6, w - 4, 18, 7)
    c.set_source(vertical_gradient(6, 24, [(0, hexrgb("FFF6EC")), (1, hexrgb("E8D6C6"))]))
    c.fill_preserve()
    stroke(c, hexrgb("9A8070"), 2)
    rounded_rect(c, 10, 24, w - 20, h - 26, 6)
    c.set_source(vertical_gradient(24, h, [(0, CARAMEL), (1, CARAMEL_DARK)]))
    c.fill_preserve()
    stroke(c, darker(CARAMEL_DARK, 0.4), 2)
    for x in range(30, w - 20, 80):
        rounded_rect(c, x, 30, 60, h - 38, 5)
        stroke(c, with_alpha(CARAMEL_LIGHT, 0.7), 2)
    return s


def main():
    save_png(plate(), "media/images/game/plate.png", "\"PLATE\": one plate of the plate stack", "1 frame", G)
    save_frames(plate_animation(), "media/images/game/plate_animation.png",
                "\"PLATE_ANIMATION\": a plate lifted off the stack, anchored at its bottom centre", G)
    save_frames(glint_frames(4, 40), "media/images/game/plate_shine.png", "\"PLATE_SHINE\": glint on the plate", G)
    save_frames(cloud_frames(7, 96, 1), "media/images/game/package_animation.png",
                "\"PACKAGE_ANIMATION\": the puff of the packaging box", G)
    save_frames(cloud_frames(8, 96, 2), "media/images/game/cloud_finish_pastry.png",
                "\"CLOUD_FINISH_PASTRY\": puff over a finished pastry; set PACKAGE_CLOUD_FRAME_COUNT to 8", G)
    save_frames(glint_frames(6, 24), "media/images/game/decrease_counter.png",
                "\"DECREASE_COUNTER\": sparkle over an ingredient count that goes down", G)
    save_frames(glint_frames(6, 24, (0.75, 0.95, 0.55)), "media/images/game/decrease_counter_unripe.png",
                "\"DECREASE_COUNTER_UNRIPE\": the same in unripe green", G)
    save_frames(glint_frames(6, 24, (1.0, 0.75, 0.85)), "media/images/game/decrease_counter_qualitytool.png",
                "\"DECREASE_COUNTER_QUALITYTOOL\": the same in raspberry, when a quality tool helps", G)
    save_frames(signal_light(), "media/images/game/conveyor_light.png",
                "\"CONVEYOR_LIGHT\": the conveyor's signal light", G, "frame 0 off, 1 running, 2 alarm")
    save_frames(smoke_frames(), "media/images/game/level_smoke.png",
                "\"LEVEL_SMOKE\": steam over the level sign (125 ms per frame, looping)", G)
    save_frames(glint_frames(8, 48), "media/images/game/level_shine.png", "\"LEVEL_SHINE\": sparkle on the level sign", G)
    save_png(heart(), "media/images/game/heart.png", "\"HEART\": a customer's floating heart", "1 frame", G)
    save_png(star(40, LEMON), "media/images/game/earned_star.png", "\"EARNED_STAR\": a star earned", "1 frame", G)
    save_png(star(40, LEMON, hollow=True), "media/images/game/goal_star.png", "\"GOAL_STAR\": a star still to earn", "1 frame", G)
    save_png(pastry_box(), "media/images/game/earned_package.png", "\"EARNED_PACKAGE\": a pastry box delivered", "1 frame", G)
    save_png(pastry_box(hollow=True), "media/images/game/goal_package.png", "\"GOAL_PACKAGE\": a pastry box still to deliver", "1 frame", G)
    save_frames(confetti_frames(), "media/images/game/confetti.png",
                "\"CONFETTI\": five tumbling confetti pieces side by side (16 px each)", G)
    save_png(countertop(), "media/images/game/countertop.png",
             "\"COUNTERTOP\": the counter the pastries stand on", "1 frame", G)


if __name__ == "__main__":
    main()
