"""Pieces of the game screen that the play code animates: plates with their lift and shine,
the packaging cloud, count-down sparkles, the conveyor's signal light, the level smoke and
shine, hearts, stars, the pastry box and confetti. Frame counts follow the animations that
use them; where the code takes the count from a tuning value, the manifest says which."""

import math
import random

import cairo

from common import (fancy_text, plain_text, CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CREAM, LAVENDER, LEMON, MINT, OUTLINE,
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
    n = (w - 40) // 80
    start = (w - (n * 80 - 20)) / 2.0
    for k in range(n):
        rounded_rect(c, start + k * 80, 30, 60, h - 38, 5)
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
    save_frames(glint_frames(6, 24, (1.0, 0.62, 0.78)), "media/images/game/tool_particle0.png",
                "\"TOOL_PARTICLE0\": a raspberry sparkle a quality tool (slot A) throws where it acts", G)
    save_frames(glint_frames(6, 24, (0.62, 0.92, 0.72)), "media/images/game/tool_particle1.png",
                "\"TOOL_PARTICLE1\": a pistachio sparkle a bonus tool (slot B) throws where it acts", G)
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
    spots_main()
    goal_main()




# ---------------------------------------------------------------- countertop spots

SPOT_W, SPOT_H = 120, 64


def doily(c, w, h, col, alpha=1.0):
    n = 24
    c.new_path()
    for i in range(n * 6 + 1):
        a = 2 * math.pi * i / (n * 6)
        r = 1.0 + 0.05 * math.cos(a * n)
        c.line_to(w / 2.0 + (w / 2.0 - 4) * r * math.cos(a) * 0.96, h / 2.0 + (h / 2.0 - 4) * r * math.sin(a) * 0.92)
    c.close_path()
    c.set_source_rgba(*with_alpha(col, alpha))


def counter_part():
    s, c = new_surface(SPOT_W, SPOT_H)
    doily(c, SPOT_W, SPOT_H, SUGAR, 0.95)
    c.fill_preserve()
    stroke(c, hexrgb("C8B8B0"), 1.6)
    for k in range(16):
        a = k * math.pi / 8
        ellipse(c, SPOT_W / 2.0 + (SPOT_W / 2.0 - 12) * math.cos(a), SPOT_H / 2.0 + (SPOT_H / 2.0 - 10) * math.sin(a), 2.2, 1.6)
        c.set_source_rgba(*hexrgb("E8DCD4"))
        c.fill()
    return s


def counter_glow(col):
    s, c = new_surface(SPOT_W, SPOT_H)
    ellipse(c, SPOT_W / 2.0, SPOT_H / 2.0, SPOT_W / 2.0, SPOT_H / 2.0)
    c.set_source(radial(SPOT_W / 2.0, SPOT_H / 2.0, SPOT_W / 2.0, [(0, with_alpha(col, 0.0)), (0.7, with_alpha(col, 0.55)), (1, with_alpha(col, 0))]))
    c.fill()
    doily(c, SPOT_W, SPOT_H, col)
    stroke(c, col, 3)
    return s


def counter_frozen():
    s, c = new_surface(SPOT_W, SPOT_H)
    doily(c, SPOT_W, SPOT_H, hexrgb("CFEFFF"), 0.55)
    c.fill_preserve()
    stroke(c, with_alpha(hexrgb("7AB8E0"), 0.9), 2)
    for x, y, r in ((24, 20, 7), (90, 16, 6), (64, 46, 8), (30, 46, 5), (100, 44, 5)):
        for k in range(3):
            a = k * math.pi / 3
            c.move_to(x - r * math.cos(a), y - r * math.sin(a))
            c.line_to(x + r * math.cos(a), y + r * math.sin(a))
        stroke(c, (1, 1, 1, 0.9), 1.5)
    return s


def quality_star():
    frames = [star(20, LEMON, hollow=True), star(20, LEMON)]
    return frames


def flash_frames(n=6, size=96):
    frames = []
    for i in range(n):
        s, c = new_surface(size, size)
        t = (i + 1) / float(n)
        r = size * 0.5 * t
        ellipse(c, size / 2.0, size / 2.0, r, r)
        c.set_source(radial(size / 2.0, size / 2.0, max(r, 1), [(0, (1, 1, 0.95, 0.9 * (1 - t) + 0.1)), (1, (1, 0.95, 0.8, 0))]))
        c.fill()
        frames.append(s)
    return frames


def level_finished():
    s, c = new_surface(40, 40)
    glossy(c, lambda cc: ellipse(cc, 20, 20, 16, 16), PISTACHIO, (4, 4, 32, 32), line=2, highlight=0.5)
    c.move_to(12, 20)
    c.line_to(18, 27)
    c.line_to(29, 13)
    stroke(c, SUGAR, 4)
    return s


def spots_main():
    save_png(counter_part(), "media/images/game/counter_part.png",
             "\"COUNTER_PART\": the lace doily of a countertop spot (%d × %d)" % (SPOT_W, SPOT_H), "1 frame", G)
    save_png(counter_glow(LEMON), "media/images/game/counter_partactive.png",
             "\"COUNTER_PARTACTIVE\": golden glow of a spot whose pastry is finished", "1 frame", G)
    save_png(counter_glow(RASPBERRY_LIGHT), "media/images/game/counter_parthover.png",
             "\"COUNTER_PARTHOVER\": raspberry glow of a spot a bonus points at", "1 frame", G)
    save_png(counter_frozen(), "media/images/game/counter_frozen.png",
             "\"COUNTER_FROZEN\": frost over a spot kept fresh by the ice box", "1 frame", G)
    save_frames(quality_star(), "media/images/game/quality_star.png",
                "\"QUALITY_STAR\": a pastry's quality star", G, "frame 0 unlit, 1 lit")
    save_frames(cloud_frames(6, 72, 3), "media/images/game/cloud.png",
                "\"CLOUD\": puff where an ingredient lands in a pastry", G)
    save_frames(flash_frames(), "media/images/game/flash.png", "\"FLASH\": flash where an ingredient lands", G)
    save_png(level_finished(), "media/images/game/level_finished.png",
             "\"LEVEL_FINISHED\": tick on the level sign of a level already won", "1 frame", G)


# ---------------------------------------------------------------- quality meter, goal display, box

def quality_meter():
    s, c = new_surface(100, 16)
    rounded_rect(c, 1, 1, 98, 14, 7)
    c.set_source(vertical_gradient(1, 15, [(0, hexrgb("6B4030")), (1, hexrgb("8A5A44"))]))
    c.fill_preserve()
    stroke(c, OUTLINE, 2)
    return s


def quality_filling():
    s, c = new_surface(96, 12)
    rounded_rect(c, 0, 0, 96, 12, 6)
    c.set_source(vertical_gradient(0, 12, [(0, lighter(PISTACHIO, 0.35)), (0.5, PISTACHIO), (1, PISTACHIO_DARK)]))
    c.fill()
    c.rectangle(4, 2, 88, 3)
    c.set_source_rgba(1, 1, 1, 0.35)
    c.fill()
    return s


def warning_star():
    s, c = new_surface(28, 28)
    ellipse(c, 14, 14, 13, 13)
    c.set_source(radial(14, 14, 13, [(0, with_alpha(RASPBERRY_LIGHT, 0.0)), (0.55, with_alpha(RASPBERRY, 0.85)),
                                     (1, with_alpha(RASPBERRY, 0.0))]))
    c.fill()
    return s


def star_space():
    s, c = new_surface(124, 68)
    soft = lambda cc: rounded_rect(cc, 4, 4, 116, 60, 14)
    glossy(c, soft, hexrgb("8FB8E8"), (4, 4, 116, 60), outline=hexrgb("3A5A8A"), line=2.5, highlight=0.45)
    rounded_rect(c, 12, 26, 100, 32, 10)
    c.set_source_rgba(1, 1, 1, 0.35)
    c.fill()
    return s


def border_warning():
    s, c = new_surface(270, 84)
    for k, a in ((10, 0.25), (7, 0.45), (4, 0.85)):
        rounded_rect(c, 14 - k, 14 - k, 242 + 2 * k, 56 + 2 * k, 16 + k)
        c.set_source_rgba(*with_alpha(RASPBERRY, a))
        c.set_line_width(3)
        c.stroke()
    return s


def flying_star():
    return star(40, LEMON)


def chain_ribbon(count):
    s, c = new_surface(180, 64)
    for side in (-1, 1):
        x0 = 90 + side * 62
        polygon(c, [(x0, 20), (x0 + side * 26, 22), (x0 + side * 18, 36), (x0 + side * 26, 50), (x0, 48)])
        c.set_source_rgba(*RASPBERRY_DARK)
        c.fill()
    glossy(c, lambda cc: rounded_rect(cc, 26, 10, 128, 40, 12), RASPBERRY, (26, 10, 128, 40), line=2.5, highlight=0.5)
    fancy_text(c, "Chain x%d" % count, 90, 30, 22, SUGAR, LEMON, outline=RASPBERRY_DARK, outline_w=2.5, shadow=False)
    return s


def pastry_box_big():
    s, c = new_surface(96, 96)
    glossy(c, lambda cc: rounded_rect(cc, 10, 30, 76, 62, 6), RASPBERRY_LIGHT, (10, 30, 76, 62), line=2.5, highlight=0.4)
    for x in range(16, 84, 10):
        c.rectangle(x, 32, 4, 58)
        c.set_source_rgba(1, 1, 1, 0.3)
        c.fill()
    c.rectangle(44, 30, 8, 62)
    c.set_source_rgba(*LEMON)
    c.fill()
    for side in (-1, 1):
        ellipse(c, 48 + side * 12, 22, 12, 8)
        stroke(c, LEMON, 5)
    ellipse(c, 48, 28, 5, 5)
    c.set_source_rgba(*darker(LEMON, 0.2))
    c.fill()
    return s


def level_sign(number, frames=4):
    """A little oven with the level's number on its door; the chimney's top is where the
    smoke rises. Frames glow a little brighter in turn."""
    out = []
    for f in range(frames):
        s, c = new_surface(56, 50)
        c.rectangle(38, 2, 9, 14)
        c.set_source(vertical_gradient(2, 16, [(0, CARAMEL_LIGHT), (1, CARAMEL_DARK)]))
        c.fill_preserve()
        stroke(c, OUTLINE, 1.5)
        glossy(c, lambda cc: rounded_rect(cc, 3, 12, 50, 36, 9), CARAMEL, (3, 12, 50, 36), line=2, highlight=0.45)
        rounded_rect(c, 11, 19, 34, 24, 6)
        glow = 0.55 + 0.12 * f
        c.set_source(radial(28, 31, 20, [(0, with_alpha(LEMON, glow)), (1, with_alpha(hexrgb("F08A3A"), glow))]))
        c.fill_preserve()
        stroke(c, OUTLINE, 1.5)
        fancy_text(c, str(number), 28, 31, 17, SUGAR, CREAM, outline=CHOCOLATE, outline_w=2.0, shadow=False)
        out.append(s)
    return out


def star_space_arcade():
    """The plaque of the pastry counts in the arcade and the exams: pistachio with an icing edge."""
    s, c = new_surface(124, 68)
    soft = lambda cc: rounded_rect(cc, 4, 4, 116, 60, 14)
    glossy(c, soft, PISTACHIO, (4, 4, 116, 60), outline=PISTACHIO_DARK, line=2.5, highlight=0.45)
    for i in range(9):
        ellipse(c, 14 + i * 12, 7, 6, 4)
        c.set_source_rgba(*SUGAR)
        c.fill()
    rounded_rect(c, 12, 26, 100, 32, 10)
    c.set_source_rgba(1, 1, 1, 0.35)
    c.fill()
    return s


def pastry_box_arcade():
    """The belt's box: pistachio stripes on cream, tied with a raspberry ribbon."""
    s, c = new_surface(96, 96)
    glossy(c, lambda cc: rounded_rect(cc, 10, 30, 76, 62, 6), CREAM, (10, 30, 76, 62), line=2.5, highlight=0.4)
    c.save()
    rounded_rect(c, 10, 30, 76, 62, 6)
    c.clip()
    for x in range(12, 86, 14):
        c.rectangle(x, 30, 7, 62)
        c.set_source_rgba(*with_alpha(PISTACHIO, 0.75))
        c.fill()
    c.restore()
    rounded_rect(c, 10, 30, 76, 62, 6)
    stroke(c, OUTLINE, 2.5)
    c.rectangle(44, 30, 8, 62)
    c.set_source_rgba(*RASPBERRY)
    c.fill()
    for side in (-1, 1):
        ellipse(c, 48 + side * 12, 22, 12, 8)
        stroke(c, RASPBERRY, 5)
    ellipse(c, 48, 28, 5, 5)
    c.set_source_rgba(*RASPBERRY_DARK)
    c.fill()
    return s


def pastry_flash(size=96):
    """The sparkle behind a pastry that has just come out of its cloud."""
    s, c = new_surface(size, size)
    h = size / 2.0
    ellipse(c, h, h, h - 2, h - 2)
    c.set_source(radial(h, h, h - 2, [(0, with_alpha(SUGAR, 0.95)), (0.45, with_alpha(LEMON, 0.6)),
                                      (1, with_alpha(LEMON, 0.0))]))
    c.fill()
    star_path(c, h, h, h - 4, h * 0.22, points=8)
    c.set_source_rgba(*with_alpha(SUGAR, 0.85))
    c.fill()
    return s


def arcade_level_numbers():
    """The level sign of the six arcade sets: a pistachio oven with the set's number."""
    out = []
    for n in range(6):
        s, c = new_surface(56, 50)
        c.rectangle(38, 2, 9, 14)
        c.set_source(vertical_gradient(2, 16, [(0, PISTACHIO_LIGHT), (1, PISTACHIO_DARK)]))
        c.fill_preserve()
        stroke(c, OUTLINE, 1.5)
        glossy(c, lambda cc: rounded_rect(cc, 3, 12, 50, 36, 9), PISTACHIO, (3, 12, 50, 36), line=2, highlight=0.45)
        rounded_rect(c, 11, 19, 34, 24, 6)
        c.set_source(radial(28, 31, 20, [(0, with_alpha(LEMON, 0.8)), (1, with_alpha(hexrgb("F08A3A"), 0.8))]))
        c.fill_preserve()
        stroke(c, OUTLINE, 1.5)
        fancy_text(c, str(n + 1), 28, 31, 17, SUGAR, CREAM, outline=CHOCOLATE, outline_w=2.0, shadow=False)
        out.append(s)
    return out


def goal_main():
    save_png(quality_meter(), "media/images/game/quality_meter.png",
             "\"QUALITY_METER\": frame of a spot's quality meter; the filling sits at (2, 2)", "1 frame", G)
    save_png(quality_filling(), "media/images/game/quality_filling.png",
             "\"QUALITY_FILLING\": the meter's filling, clipped to the pastry's quality", "1 frame", G)
    save_png(star(20, LEMON), "media/images/game/quality_star_lit.png",
             "\"QUALITY_STAR_LIT\": a lit quality star over the unlit frame of \"QUALITY_STAR\"", "1 frame", G)
    save_png(warning_star(), "media/images/game/warning_star.png",
             "\"WARNING_STAR\": raspberry glow behind a quality star about to go out", "1 frame", G)
    save_png(star_space(), "media/images/game/star_space_blue.png",
             "\"STAR_SPACE_BLUE\": plaque behind the goal display's star counts", "1 frame", G)
    save_png(border_warning(), "media/images/game/border_warning.png",
             "\"BORDER_WARNING\": pulsing raspberry frame around the goal display when the goal is at risk",
             "1 frame", G)
    save_png(flying_star(), "media/images/game/star_price.png",
             "\"STAR_PRICE\": an earned star flying to the goal display (anchored at its centre)", "1 frame", G)
    for count in (2, 3, 4):
        save_png(chain_ribbon(count), "media/images/game/chain_ribbon%d.png" % count,
                 "\"CHAIN_RIBBON%d\": ribbon over the countertop when %d pastries are boxed at once" % (count, count),
                 "1 frame", G)
    save_png(pastry_box_big(), "media/images/game/package.png",
             "\"PACKAGE\": the box a finished pastry is packed in; stands on its bottom edge", "1 frame", G)
    for n in range(4):
        save_frames(level_sign(n + 1), "media/images/dialogs/levelinfo_level%d.png" % n,
                    "\"LEVELINFO_LEVEL%d\": the level sign (level %d of a theme), chimney top right" % (n, n + 1),
                    "Dialog pictures (section \"dialogs\")")
    save_png(star_space_arcade(), "media/images/game/star_space_arcade.png",
             "\"STAR_SPACE_ARCADE\": plaque behind the pastry counts of the arcade and the exams", "1 frame", G)
    save_png(pastry_box_arcade(), "media/images/game/package3.png",
             "\"PACKAGE3\": the box a pastry on the belt is packed in; stands on its bottom edge", "1 frame", G)
    save_png(pastry_flash(), "media/images/game/pastry_flash.png",
             "\"PASTRY_FLASH\": sparkle behind a pastry finished on the belt (centred on the plate)", "1 frame", G)
    save_frames(arcade_level_numbers(), "media/images/game/arcade_levelnumbers.png",
                "\"ARCADE_LEVELNUMBERS\": the level sign of the arcade sets, one frame per set (1 to 6)", G)


if __name__ == "__main__":
    main()
