"""The fifteen trophies: each has an emblem of its own that says what it rewards
(two tools, a chef's hat, the tool shop's basket, a perfect pastry, a row of
stars, ...). The cabinet's button shows the emblem on a coloured tile; the large
picture of the trophy dialogs shows it on a gold rosette with ribbons. Plus the
locked place of a trophy not yet won."""

import math

from common import (BLUEBERRY, CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CREAM, LAVENDER, LEMON,
                    MILK_CHOCOLATE, MINT, OUTLINE, PEACH, PISTACHIO, PISTACHIO_LIGHT, RASPBERRY, RASPBERRY_DARK,
                    RASPBERRY_LIGHT, ROSE, SUGAR, darker, ellipse, glossy, hexrgb, lighter, new_surface,
                    plain_text, polygon, radial, rounded_rect, rounded_star_path, save_frames, save_png,
                    text_extents, with_alpha)

G_TROPHY = "Trophies (section \"trophies\")"
GOLD = hexrgb("F6C945")
GOLD_DARK = hexrgb("B88A1C")
SILVER = hexrgb("D8DCE4")

# The tile colour of each trophy on the cabinet's shelves.
TILE = [CARAMEL_LIGHT, RASPBERRY_LIGHT, PISTACHIO_LIGHT, LAVENDER, hexrgb("BFE3F2"), MINT, LEMON,
        PEACH, RASPBERRY_LIGHT, PISTACHIO_LIGHT, ROSE, CARAMEL_LIGHT, LEMON, LAVENDER, hexrgb("F6C945")]


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_cap(1)
    c.set_line_join(1)
    c.stroke()


def fill_outline(c, col, w=1.6):
    c.set_source_rgba(*col)
    c.fill_preserve()
    stroke(c, OUTLINE, w)


def star(c, cx, cy, r, col=GOLD):
    rounded_star_path(c, cx, cy, r, r * 0.48, 5)
    fill_outline(c, col, max(1.0, r * 0.12))


def whisk(c, cx, cy, s, angle):
    c.save()
    c.translate(cx, cy)
    c.rotate(angle)
    rounded_rect(c, -s * 0.07, s * 0.1, s * 0.14, s * 0.45, s * 0.05)
    fill_outline(c, RASPBERRY, s * 0.04)
    for k in (-1, 0, 1):
        c.new_path()
        c.move_to(0, s * 0.1)
        c.curve_to(k * s * 0.32, -s * 0.05, k * s * 0.28, -s * 0.5, 0, -s * 0.55)
        stroke(c, OUTLINE, s * 0.07)
        c.new_path()
        c.move_to(0, s * 0.1)
        c.curve_to(k * s * 0.32, -s * 0.05, k * s * 0.28, -s * 0.5, 0, -s * 0.55)
        stroke(c, SILVER, s * 0.035)
    c.restore()


def rolling_pin(c, cx, cy, s, angle):
    c.save()
    c.translate(cx, cy)
    c.rotate(angle)
    for side in (-1, 1):
        rounded_rect(c, -s * 0.06, side * s * 0.42 - (s * 0.16 if side < 0 else 0), s * 0.12, s * 0.16, s * 0.05)
        fill_outline(c, CARAMEL_DARK, s * 0.035)
    glossy(c, lambda cc: rounded_rect(cc, -s * 0.13, -s * 0.3, s * 0.26, s * 0.6, s * 0.1), CARAMEL_LIGHT,
           (-s * 0.13, -s * 0.3, s * 0.26, s * 0.6), outline=OUTLINE, line=s * 0.04, highlight=0.4)
    c.restore()


def toque(c, cx, cy, s, band=RASPBERRY, tall=1.0):
    def shape(cc):
        cc.new_path()
        cc.move_to(cx - s * 0.3, cy + s * 0.3)
        cc.line_to(cx - s * 0.3, cy - s * 0.05)
        cc.curve_to(cx - s * 0.55, cy - s * 0.1, cx - s * 0.5, cy - s * 0.55 * tall, cx - s * 0.2, cy - s * 0.45 * tall)
        cc.curve_to(cx - s * 0.15, cy - s * 0.7 * tall, cx + s * 0.15, cy - s * 0.7 * tall, cx + s * 0.2,
                    cy - s * 0.45 * tall)
        cc.curve_to(cx + s * 0.5, cy - s * 0.55 * tall, cx + s * 0.55, cy - s * 0.1, cx + s * 0.3, cy - s * 0.05)
        cc.line_to(cx + s * 0.3, cy + s * 0.3)
        cc.close_path()
    glossy(c, shape, SUGAR, (cx - s * 0.5, cy - s * 0.7, s, s), outline=OUTLINE, line=s * 0.04, highlight=0.3)
    rounded_rect(c, cx - s * 0.3, cy + s * 0.12, s * 0.6, s * 0.18, s * 0.04)
    fill_outline(c, band, s * 0.035)


def emblem(c, i, cx, cy, s):
    """The picture of trophy i, about s wide, centred on (cx, cy)."""
    if i == 0:  # two tools taken into a level
        rolling_pin(c, cx - s * 0.12, cy, s, -0.6)
        whisk(c, cx + s * 0.12, cy, s * 0.95, 0.55)
    elif i == 1:  # the rank of a real chef
        toque(c, cx, cy + s * 0.05, s * 0.95)
        star(c, cx, cy + s * 0.26, s * 0.1)
    elif i == 2:  # every tool of the shop: a full basket
        for k, (dx, ang) in enumerate(((-0.18, -0.4), (0.0, 0.0), (0.18, 0.45))):
            if k == 1:
                whisk(c, cx + dx * s, cy - s * 0.12, s * 0.6, ang)
            else:
                rolling_pin(c, cx + dx * s, cy - s * 0.1, s * 0.55, ang)

        def basket(cc):
            cc.new_path()
            cc.move_to(cx - s * 0.45, cy)
            cc.line_to(cx + s * 0.45, cy)
            cc.line_to(cx + s * 0.34, cy + s * 0.42)
            cc.line_to(cx - s * 0.34, cy + s * 0.42)
            cc.close_path()
        glossy(c, basket, CARAMEL, (cx - s * 0.45, cy, s * 0.9, s * 0.42), outline=OUTLINE, line=s * 0.04,
               highlight=0.25)
        for k in range(1, 4):
            c.new_path()
            c.move_to(cx - s * 0.42 + k * 0.02 * s, cy + k * s * 0.1)
            c.line_to(cx + s * 0.42 - k * 0.02 * s, cy + k * s * 0.1)
            stroke(c, CARAMEL_DARK, s * 0.025)
    elif i == 3:  # a pastry of perfect quality in its box
        def box(cc):
            rounded_rect(cc, cx - s * 0.38, cy - s * 0.05, s * 0.76, s * 0.45, s * 0.05)
        glossy(c, box, ROSE, (cx - s * 0.38, cy - s * 0.05, s * 0.76, s * 0.45), outline=OUTLINE, line=s * 0.04,
               highlight=0.3)
        c.new_path()
        c.move_to(cx, cy - s * 0.05)
        c.line_to(cx, cy + s * 0.4)
        stroke(c, RASPBERRY, s * 0.07)
        # the cupcake peeping out, crowned by a star
        ellipse(c, cx, cy - s * 0.1, s * 0.26, s * 0.16)
        fill_outline(c, SUGAR, s * 0.035)
        star(c, cx, cy - s * 0.34, s * 0.17)
    elif i == 4:  # every pastry perfect: four stars in a row
        for k in range(4):
            star(c, cx + (k - 1.5) * s * 0.25, cy + (-s * 0.08 if k in (1, 2) else s * 0.06), s * 0.14)
        c.new_path()
        c.arc(cx, cy - s * 0.1, s * 0.42, 0.25 * math.pi, 0.75 * math.pi)
        stroke(c, RASPBERRY, s * 0.05)
    elif i == 5:  # first steps: a little hat and two footprints
        for dx, dy, ang in ((-0.22, 0.28, -0.2), (0.0, 0.1, 0.2)):
            c.save()
            c.translate(cx + dx * s, cy + dy * s)
            c.rotate(ang)
            ellipse(c, 0, 0, s * 0.08, s * 0.13)
            fill_outline(c, CHOCOLATE, s * 0.025)
            for t in range(3):
                ellipse(c, (t - 1) * s * 0.05, -s * 0.17, s * 0.025, s * 0.03)
                fill_outline(c, CHOCOLATE, s * 0.015)
            c.restore()
        toque(c, cx + s * 0.2, cy - s * 0.1, s * 0.55)
    elif i == 6:  # the master's crown
        pts = [(cx - s * 0.4, cy + s * 0.25), (cx - s * 0.45, cy - s * 0.25), (cx - s * 0.2, cy),
               (cx, cy - s * 0.38), (cx + s * 0.2, cy), (cx + s * 0.45, cy - s * 0.25), (cx + s * 0.4, cy + s * 0.25)]
        glossy(c, lambda cc: polygon(cc, pts, 0.05), GOLD, (cx - s * 0.45, cy - s * 0.38, s * 0.9, s * 0.63),
               outline=OUTLINE, line=s * 0.04, highlight=0.5)
        for k, col in enumerate((RASPBERRY, BLUEBERRY, PISTACHIO)):
            ellipse(c, cx + (k - 1) * s * 0.24, cy + s * 0.13, s * 0.055, s * 0.055)
            fill_outline(c, col, s * 0.02)
    elif i == 7:  # a giant score on the belt: a tower of gold coins
        for k in range(4):
            y = cy + s * 0.3 - k * s * 0.13
            ellipse(c, cx - s * 0.12, y, s * 0.24, s * 0.08)
            fill_outline(c, GOLD if k % 2 == 0 else lighter(GOLD, 0.2), s * 0.03)
        star(c, cx + s * 0.26, cy - s * 0.22, s * 0.16)
        star(c, cx + s * 0.32, cy + s * 0.12, s * 0.09, LEMON)
    elif i == 8:  # frenzies: a lightning bolt and sparks
        pts = [(cx + s * 0.08, cy - s * 0.45), (cx - s * 0.25, cy + s * 0.05), (cx - s * 0.02, cy + s * 0.05),
               (cx - s * 0.1, cy + s * 0.45), (cx + s * 0.25, cy - s * 0.08), (cx + s * 0.02, cy - s * 0.08)]
        glossy(c, lambda cc: polygon(cc, pts), LEMON, (cx - s * 0.25, cy - s * 0.45, s * 0.5, s * 0.9),
               outline=OUTLINE, line=s * 0.04, highlight=0.5)
        for dx, dy in ((-0.32, -0.25), (0.32, 0.25), (0.3, -0.3)):
            star(c, cx + dx * s, cy + dy * s, s * 0.07, RASPBERRY_LIGHT)
    elif i == 9:  # four pastries boxed at once
        rounded_rect(c, cx - s * 0.42, cy - s * 0.1, s * 0.84, s * 0.5, s * 0.05)
        fill_outline(c, ROSE, s * 0.035)
        for k, col in enumerate((CARAMEL_LIGHT, RASPBERRY_LIGHT, MILK_CHOCOLATE, PISTACHIO_LIGHT)):
            x = cx + (k - 1.5) * s * 0.2
            ellipse(c, x, cy - s * 0.14, s * 0.09, s * 0.1)
            fill_outline(c, col, s * 0.025)
            ellipse(c, x, cy - s * 0.25, s * 0.03, s * 0.03)
            fill_outline(c, RASPBERRY, s * 0.015)
        plain_text(c, "4", cx, cy + s * 0.2, s * 0.3, RASPBERRY_DARK)
    elif i == 10:  # combo queen: a crown over a chain of links
        for k in range(3):
            c.save()
            c.translate(cx + (k - 1) * s * 0.26, cy + s * 0.18)
            c.rotate(0.5 if k % 2 else -0.5)
            ellipse(c, 0, 0, s * 0.17, s * 0.1)
            stroke(c, OUTLINE, s * 0.09)
            ellipse(c, 0, 0, s * 0.17, s * 0.1)
            stroke(c, RASPBERRY_LIGHT if k % 2 else GOLD, s * 0.05)
            c.restore()
        pts = [(cx - s * 0.25, cy - s * 0.02), (cx - s * 0.28, cy - s * 0.32), (cx - s * 0.12, cy - s * 0.16),
               (cx, cy - s * 0.38), (cx + s * 0.12, cy - s * 0.16), (cx + s * 0.28, cy - s * 0.32),
               (cx + s * 0.25, cy - s * 0.02)]
        glossy(c, lambda cc: polygon(cc, pts, 0.05), GOLD, (cx - s * 0.28, cy - s * 0.38, s * 0.56, s * 0.36),
               outline=OUTLINE, line=s * 0.035, highlight=0.5)
    elif i == 11:  # perseverance: an hourglass of sugar
        c.new_path()
        c.move_to(cx - s * 0.22, cy - s * 0.36)
        c.line_to(cx + s * 0.22, cy - s * 0.36)
        c.line_to(cx + s * 0.04, cy)
        c.line_to(cx + s * 0.22, cy + s * 0.36)
        c.line_to(cx - s * 0.22, cy + s * 0.36)
        c.line_to(cx - s * 0.04, cy)
        c.close_path()
        fill_outline(c, with_alpha(hexrgb("E8F4FA"), 0.95), s * 0.035)
        polygon(c, [(cx - s * 0.16, cy + s * 0.34), (cx + s * 0.16, cy + s * 0.34), (cx, cy + s * 0.12)])
        fill_outline(c, RASPBERRY_LIGHT, s * 0.015)
        polygon(c, [(cx - s * 0.1, cy - s * 0.2), (cx + s * 0.1, cy - s * 0.2), (cx, cy - s * 0.05)])
        fill_outline(c, RASPBERRY_LIGHT, s * 0.015)
        for y in (-0.4, 0.4):
            rounded_rect(c, cx - s * 0.3, cy + y * s - s * 0.05, s * 0.6, s * 0.1, s * 0.03)
            fill_outline(c, CARAMEL, s * 0.03)
    else:  # the career's milestones: a flag with the level it opens
        number = {12: "24", 13: "48", 14: "60"}[i]
        c.new_path()
        c.move_to(cx - s * 0.28, cy + s * 0.42)
        c.line_to(cx - s * 0.28, cy - s * 0.42)
        stroke(c, OUTLINE, s * 0.07)
        c.new_path()
        c.move_to(cx - s * 0.28, cy + s * 0.42)
        c.line_to(cx - s * 0.28, cy - s * 0.42)
        stroke(c, CARAMEL_LIGHT, s * 0.035)
        flag = {12: PISTACHIO, 13: BLUEBERRY, 14: RASPBERRY}[i]
        pts = [(cx - s * 0.26, cy - s * 0.4), (cx + s * 0.4, cy - s * 0.26), (cx - s * 0.26, cy - s * 0.02)]
        glossy(c, lambda cc: polygon(cc, pts, 0.08), flag, (cx - s * 0.26, cy - s * 0.4, s * 0.66, s * 0.38),
               outline=OUTLINE, line=s * 0.035, highlight=0.35)
        ext = text_extents(c, number, s * 0.3)
        c.move_to(cx + s * 0.12 - ext.x_advance / 2.0, cy + s * 0.26 - (ext.y_bearing + ext.height / 2.0))
        c.text_path(number)
        c.set_source_rgba(*SUGAR)
        c.fill_preserve()
        stroke(c, OUTLINE, s * 0.025)
        c.move_to(cx + s * 0.12 - ext.x_advance / 2.0, cy + s * 0.26 - (ext.y_bearing + ext.height / 2.0))
        c.text_path(number)
        c.set_source_rgba(*SUGAR)
        c.fill()
        if i == 14:
            for dx, dy in ((0.3, 0.0), (0.38, -0.42), (0.05, -0.46)):
                star(c, cx + dx * s, cy + dy * s, s * 0.07, LEMON)


def trophy_button(i, state, size=72, locked=False):
    """The place on the cabinet's shelf: a glossy tile with the emblem."""
    s, c = new_surface(size, size)
    k = size / 100.0
    c.scale(k, k)
    base = TILE[i] if not locked else hexrgb("D8D0C8")
    if state == "over":
        base = lighter(base, 0.25)
    elif state == "pressed":
        base = darker(base, 0.15)
    elif state == "disabled":
        base = hexrgb("D0C8C0")
    off = 2 if state == "pressed" else 0
    rounded_rect(c, 6, 8 + off, 88, 88, 18)
    c.set_source_rgba(0.2, 0.08, 0.04, 0.25)
    c.fill()
    glossy(c, lambda cc: rounded_rect(cc, 6, 4 + off, 88, 88, 18), base, (6, 4, 88, 88), line=2.5, highlight=0.35)
    if locked:
        rounded_rect(c, 34, 44 + off, 32, 26, 5)
        c.set_source_rgba(*hexrgb("8A8078"))
        c.fill_preserve()
        stroke(c, OUTLINE, 2)
        c.new_path()
        c.arc(50, 44 + off, 11, math.pi, 2 * math.pi)
        stroke(c, OUTLINE, 5)
        plain_text(c, "?", 50, 57 + off, 18, SUGAR)
    else:
        # a little gold plinth under the emblem
        ellipse(c, 50, 82 + off, 26, 7)
        fill_outline(c, GOLD, 1.8)
        if state == "disabled":
            c.push_group()
            emblem(c, i, 50, 46 + off, 62)
            c.pop_group_to_source()
            c.paint_with_alpha(0.45)
        else:
            emblem(c, i, 50, 46 + off, 62)
    if state == "over":
        rounded_rect(c, 4, 2, 92, 92, 20)
        stroke(c, with_alpha(hexrgb("FFF0A0"), 0.9), 3)
    return s


def trophy_big(i, size=160):
    """The trophy as its dialogs show it: the emblem on a gold rosette with ribbons."""
    s, c = new_surface(size, size)
    k = size / 100.0
    c.scale(k, k)
    ellipse(c, 50, 46, 48, 44)
    c.set_source(radial(50, 46, 48, [(0, (1, 0.97, 0.8, 0.9)), (0.6, with_alpha(TILE[i], 0.5)),
                                      (1, (1, 0.9, 0.7, 0))]))
    c.fill()
    for side in (-1, 1):
        polygon(c, [(50 + side * 6, 62), (50 + side * 22, 97), (50 + side * 14, 91), (50 + side * 8, 99),
                    (50 + side * -4, 66)])
        fill_outline(c, RASPBERRY if side < 0 else RASPBERRY_LIGHT, 1.5)
    for k2 in range(16):
        a = k2 * math.pi / 8
        ellipse(c, 50 + 34 * math.cos(a), 46 + 34 * math.sin(a), 8, 8)
        fill_outline(c, GOLD, 1.2)
    glossy(c, lambda cc: ellipse(cc, 50, 46, 34, 34), GOLD, (16, 12, 68, 68), outline=GOLD_DARK, line=2,
           highlight=0.5)
    glossy(c, lambda cc: ellipse(cc, 50, 46, 27, 27), CREAM, (23, 19, 54, 54), outline=GOLD_DARK, line=1.5,
           highlight=0.3)
    emblem(c, i, 50, 46, 44)
    return s


def main():
    for i in range(15):
        save_frames([trophy_button(i, st) for st in ("normal", "over", "pressed", "disabled")],
                    "media/images/trophies/button%d.png" % i, "\"TROPHY_BUTTON%d\"" % i, G_TROPHY)
        save_png(trophy_big(i), "media/images/trophies/big%d.png" % i, "\"TROPHY_BIG%d\": the trophy in its dialog" % i,
                 "1 frame", G_TROPHY)
    save_frames([trophy_button(0, st, locked=True) for st in ("normal", "over", "pressed", "disabled")],
                "media/images/trophies/locked.png", "\"TROPHY_LOCKED\": a trophy not yet won", G_TROPHY)


if __name__ == "__main__":
    main()
