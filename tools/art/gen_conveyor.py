"""The conveyor of the arcade and the exam levels: the moving belt (frames step the slats
to the right; the game sets the frame time from the belt's speed), its back housing and
front rail, the port the plates come out of (left), the trap door at the belt's end
(right) with its lever, the basket under the trap and the lamp housing.

Suggested geometry (screen pixels): belt 560 × 28 at (120, 452); back 600 × 64 at
(100, 420); front 600 × 34 at (100, 474); port 96 × 132 at (40, 366); trap 80 × 24 at the
belt's right end (680, 452); basket 120 × 72 at (660, 500); handle 72 × 80 at (736, 392)."""

import math

import cairo

from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, LEMON, MILK_CHOCOLATE,
                    OUTLINE, PISTACHIO, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, SUGAR, darker, ellipse, glossy,
                    hexrgb, lighter, new_surface, polygon, radial, rounded_rect, save_frames, save_png,
                    vertical_gradient, with_alpha)

G = "Conveyor (section \"scenegame\")"
STEEL = hexrgb("A8A8B4")
BELT = hexrgb("5A5060")


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def belt_frames(n=8, w=560, h=28, spacing=24):
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        rounded_rect(c, 0, 0, w, h, h / 2.0)
        c.set_source(vertical_gradient(0, h, [(0, lighter(BELT, 0.25)), (1, darker(BELT, 0.2))]))
        c.fill()
        c.save()
        rounded_rect(c, 0, 0, w, h, h / 2.0)
        c.clip()
        off = i * spacing / float(n)
        x = -spacing + off
        while x < w + spacing:
            c.move_to(x, 3)
            c.line_to(x + 6, h - 3)
            stroke(c, with_alpha(lighter(BELT, 0.45), 0.8), 3)
            x += spacing
        c.restore()
        rounded_rect(c, 0, 0, w, h, h / 2.0)
        stroke(c, OUTLINE, 2)
        for cx in (h / 2.0, w - h / 2.0):
            glossy(c, lambda cc, cx=cx: ellipse(cc, cx, h / 2.0, h / 2.0 - 3, h / 2.0 - 3), STEEL,
                   (cx - h / 2.0, 0, h, h), line=1.5, highlight=0.5)
        frames.append(s)
    return frames


def back(w=600, h=64):
    s, c = new_surface(w, h)
    glossy(c, lambda cc: rounded_rect(cc, 2, 2, w - 4, h - 4, 14), RASPBERRY_LIGHT, (2, 2, w - 4, h - 4), line=2.2, highlight=0.3)
    for x in range(24, w - 20, 48):
        ellipse(c, x, 14, 3, 3)
        c.set_source_rgba(*SUGAR)
        c.fill()
    return s


def front(w=600, h=34):
    s, c = new_surface(w, h)
    glossy(c, lambda cc: rounded_rect(cc, 2, 2, w - 4, h - 4, 10), CARAMEL, (2, 2, w - 4, h - 4),
           outline=CARAMEL_DARK, line=2.2, highlight=0.4)
    for x in range(18, w - 10, 36):
        glossy(c, lambda cc, x=x: ellipse(cc, x, h / 2.0, 3.5, 3.5), STEEL, (x - 4, h / 2.0 - 4, 8, 8), line=1, highlight=0.6)
    return s


def port(w=96, h=132):
    s, c = new_surface(w, h)

    def arch(cc):
        cc.new_path()
        cc.move_to(4, h - 2)
        cc.line_to(4, 44)
        cc.arc(w / 2.0, 44, w / 2.0 - 4, math.pi, 2 * math.pi)
        cc.line_to(w - 4, h - 2)
        cc.close_path()
    glossy(c, arch, CARAMEL_LIGHT, (4, 4, w - 8, h - 6), outline=CARAMEL_DARK, line=2.2, highlight=0.3)
    c.new_path()
    c.move_to(16, h - 2)
    c.line_to(16, 48)
    c.arc(w / 2.0, 48, w / 2.0 - 16, math.pi, 2 * math.pi)
    c.line_to(w - 16, h - 2)
    c.close_path()
    c.set_source(vertical_gradient(16, h, [(0, CHOCOLATE_DARK), (1, CHOCOLATE)]))
    c.fill()
    # a striped flap curtain
    for k in range(5):
        x = 18 + k * (w - 36) / 5.0
        rounded_rect(c, x + 1, 60, (w - 36) / 5.0 - 2, h - 64, 3)
        c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT if k % 2 else SUGAR, 0.85))
        c.fill()
    return s


def trap_frames(n=6, w=80, h=24):
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        t = i / float(n - 1)
        # two flaps that swing down from the middle
        for side in (-1, 1):
            c.save()
            c.translate(w / 2.0 + side * w / 2.0, 4)
            ang = side * -t * math.pi * 0.45
            c.rotate(-ang)
            rounded_rect(c, -w / 2.0 if side > 0 else 0, -3, w / 2.0, 8, 3)
            c.set_source(vertical_gradient(-3, 5, [(0, lighter(STEEL, 0.2)), (1, darker(STEEL, 0.2))]))
            c.fill_preserve()
            stroke(c, OUTLINE, 1.4)
            c.restore()
        frames.append(s)
    return frames


def handle_frames(n=6, w=72, h=80):
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        t = i / float(n - 1)
        rounded_rect(c, w / 2.0 - 12, h - 18, 24, 16, 4)
        c.set_source_rgba(*CHOCOLATE)
        c.fill_preserve()
        stroke(c, OUTLINE, 1.5)
        a = -0.5 + t * 1.0
        x1, y1 = w / 2.0 + math.sin(a) * 52, h - 12 - math.cos(a) * 52
        c.move_to(w / 2.0, h - 12)
        c.line_to(x1, y1)
        stroke(c, OUTLINE, 7)
        c.move_to(w / 2.0, h - 12)
        c.line_to(x1, y1)
        stroke(c, STEEL, 4)
        glossy(c, lambda cc: ellipse(cc, x1, y1, 8, 8), RASPBERRY, (x1 - 8, y1 - 8, 16, 16), line=1.6, highlight=0.7)
        frames.append(s)
    return frames


def basket(w=120, h=72):
    s, c = new_surface(w, h)

    def shape(cc):
        cc.new_path()
        cc.move_to(4, 10)
        cc.line_to(w - 4, 10)
        cc.line_to(w - 16, h - 3)
        cc.line_to(16, h - 3)
        cc.close_path()
    glossy(c, shape, CARAMEL_LIGHT, (4, 10, w - 8, h - 12), outline=CARAMEL_DARK, line=2.2, highlight=0.3)
    c.save()
    shape(c)
    c.clip()
    for y in range(16, h, 10):
        c.move_to(0, y)
        c.line_to(w, y)
    for x in range(10, w, 14):
        c.move_to(x, 10)
        c.line_to(x + (w / 2.0 - x) * 0.2, h)
    stroke(c, with_alpha(CARAMEL_DARK, 0.5), 1.4)
    c.restore()
    rounded_rect(c, 0, 4, w, 12, 6)
    c.set_source_rgba(*CARAMEL)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 2)
    return s


def lamp_housing(w=44, h=52):
    s, c = new_surface(w, h)
    rounded_rect(c, w / 2.0 - 3, 30, 6, h - 30, 2)
    c.set_source_rgba(*CHOCOLATE)
    c.fill()
    glossy(c, lambda cc: ellipse(cc, w / 2.0, 22, 20, 20), STEEL, (w / 2.0 - 20, 2, 40, 40), line=2, highlight=0.3)
    ellipse(c, w / 2.0, 22, 13, 13)
    c.set_source_rgba(*CHOCOLATE_DARK)
    c.fill()
    return s


def main():
    save_frames(belt_frames(), "media/images/game/conveyor.png",
                "\"CONVEYOR\": the moving belt; the slats step 3 px to the right per frame", G)
    save_png(back(), "media/images/game/conveyor_back.png", "\"CONVEYOR_BACK\": housing behind the belt", "1 frame", G)
    save_png(front(), "media/images/game/conveyor_front.png", "\"CONVEYOR_FRONT\": riveted rail in front of the belt", "1 frame", G)
    save_png(port(), "media/images/game/conveyor_port.png", "\"CONVEYOR_PORT\": the arch the plates come out of", "1 frame", G)
    save_frames(trap_frames(), "media/images/game/conveyor_trap.png",
                "\"CONVEYOR_TRAP\": trap door at the belt's end, closed (frame 0) to open (frame 5)", G)
    save_frames(handle_frames(), "media/images/game/conveyor_handle.png",
                "\"CONVEYOR_HANDLE\": the lever that opens the trap, up (frame 0) to pulled (frame 5)", G)
    save_png(basket(), "media/images/game/conveyor_basket.png",
             "\"CONVEYOR_BASKET\": wicker basket that catches flushed pastries", "1 frame", G)
    save_png(lamp_housing(), "media/images/game/conveyor_light2.png",
             "\"CONVEYOR_LIGHT2\": the lamp housing behind \"CONVEYOR_LIGHT\" (light at its (6, 6))", "1 frame", G)


if __name__ == "__main__":
    main()
