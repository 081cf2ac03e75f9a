"""The hint dialog's pointing hands (one per corner kind, the fingertip at that corner of
the picture), the customer's speech cloud, and the tool slots of the game screen (frame
and the rotating glow behind an active tool)."""

import math

import cairo

from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CREAM, LEMON, OUTLINE, PISTACHIO, PISTACHIO_LIGHT,
                    RASPBERRY, RASPBERRY_LIGHT, SUGAR, darker, ellipse, glossy, hexrgb, lighter, new_surface,
                    radial, rounded_rect, save_frames, save_png, vertical_gradient, with_alpha)

G_HAND = "Dialog frames (painter pieces)"
G_GAME = "Game screen pieces (section \"scenegame\")"
HAND = 72


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def hand_top_left():
    """A gloved hand whose index finger points to the top-left corner (0, 0)."""
    s, c = new_surface(HAND, HAND)
    c.save()
    c.translate(4, 4)
    c.rotate(-math.pi / 4)     # the finger runs along the diagonal, away from the tip
    glove = SUGAR
    line = hexrgb("8A7A72")
    # index finger
    glossy(c, lambda cc: rounded_rect(cc, -6, 0, 12, 44, 6), glove, (-6, 0, 12, 44), outline=line, line=2, highlight=0.3)
    # fist
    glossy(c, lambda cc: rounded_rect(cc, -16, 34, 32, 30, 11), glove, (-16, 34, 32, 30), outline=line, line=2, highlight=0.3)
    for k in range(3):
        c.move_to(-14 + k * 0.5, 44 + k * 7)
        c.line_to(4, 44 + k * 7)
        stroke(c, with_alpha(line, 0.7), 1.3)
    # thumb
    glossy(c, lambda cc: rounded_rect(cc, 8, 36, 14, 20, 7), glove, (8, 36, 14, 20), outline=line, line=2, highlight=0.2)
    # raspberry cuff
    rounded_rect(c, -17, 60, 34, 9, 4)
    c.set_source_rgba(*RASPBERRY)
    c.fill_preserve()
    stroke(c, darker(RASPBERRY, 0.5), 1.6)
    c.restore()
    return s


def mirrored(src, flip_x, flip_y):
    w, h = src.get_width(), src.get_height()
    s, c = new_surface(w, h)
    c.translate(w if flip_x else 0, h if flip_y else 0)
    c.scale(-1 if flip_x else 1, -1 if flip_y else 1)
    c.set_source_surface(src, 0, 0)
    c.paint()
    return s


def customer_cloud(w=224, h=132):
    s, c = new_surface(w, h)

    def cloud(cc):
        cc.new_path()
        bumps = [(30, 40, 22), (70, 32, 26), (118, 32, 28), (164, 36, 24), (196, 54, 20), (188, 80, 20),
                 (146, 90, 24), (96, 92, 26), (50, 86, 22), (24, 64, 20)]
        for x, y, r in bumps:
            cc.new_sub_path()
            cc.arc(x, y, r, 0, 2 * math.pi)
        cc.new_sub_path()
        cc.rectangle(30, 38, 160, 52)
    c.push_group()
    cloud(c)
    c.set_source_rgba(*hexrgb("B8A8A0"))
    c.set_line_width(5)
    c.stroke()
    cloud(c)
    c.set_source(vertical_gradient(0, h, [(0, SUGAR), (1, CREAM)]))
    c.fill()
    c.pop_group_to_source()
    c.paint()
    # the little puffs that lead to the customer (lower left)
    for x, y, r in ((18, 112, 7), (7, 124, 4)):
        glossy(c, lambda cc, x=x, y=y, r=r: ellipse(cc, x, y, r, r), SUGAR, (x - r, y - r, 2 * r, 2 * r),
               outline=hexrgb("B8A8A0"), line=1.6, highlight=0.2)
    return s


def tool_slot(col, size=76):
    s, c = new_surface(size, size)
    ellipse(c, size / 2.0, size / 2.0 + 2, size / 2.0 - 2, size / 2.0 - 2)
    c.set_source_rgba(0.2, 0.08, 0.04, 0.25)
    c.fill()
    c.push_group()
    ellipse(c, size / 2.0, size / 2.0, size / 2.0 - 3, size / 2.0 - 3)
    ellipse(c, size / 2.0, size / 2.0, size / 2.0 - 11, size / 2.0 - 11)
    c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    c.set_source(vertical_gradient(0, size, [(0, lighter(col, 0.3)), (1, darker(col, 0.2))]))
    c.fill()
    c.pop_group_to_source()
    c.paint()
    ellipse(c, size / 2.0, size / 2.0, size / 2.0 - 3, size / 2.0 - 3)
    stroke(c, darker(col, 0.55), 2)
    ellipse(c, size / 2.0, size / 2.0, size / 2.0 - 11, size / 2.0 - 11)
    stroke(c, darker(col, 0.55), 2)
    for k in range(12):
        a = k * math.pi / 6
        ellipse(c, size / 2.0 + (size / 2.0 - 7) * math.cos(a), size / 2.0 + (size / 2.0 - 7) * math.sin(a), 1.8, 1.8)
        c.set_source_rgba(1, 1, 0.9, 0.9)
        c.fill()
    return s


def slot_back(col, n=8, size=64):
    frames = []
    for i in range(n):
        s, c = new_surface(size, size)
        cx = cy = size / 2.0
        ellipse(c, cx, cy, size / 2.0, size / 2.0)
        c.set_source(radial(cx, cy, size / 2.0, [(0, with_alpha(lighter(col, 0.5), 0.9)), (1, with_alpha(col, 0.0))]))
        c.fill()
        rot = i * (2 * math.pi / 8) / n
        for k in range(8):
            a = rot + k * 2 * math.pi / 8
            c.move_to(cx, cy)
            c.line_to(cx + size * 0.5 * math.cos(a - 0.12), cy + size * 0.5 * math.sin(a - 0.12))
            c.line_to(cx + size * 0.5 * math.cos(a + 0.12), cy + size * 0.5 * math.sin(a + 0.12))
            c.close_path()
            c.set_source_rgba(1, 1, 0.85, 0.35)
            c.fill()
        frames.append(s)
    return frames


def main():
    tl = hand_top_left()
    for key, img in (("TOP_LEFT", tl), ("TOP_RIGHT", mirrored(tl, True, False)),
                     ("BOTTOM_LEFT", mirrored(tl, False, True)), ("BOTTOM_RIGHT", mirrored(tl, True, True))):
        save_png(img, "media/images/dialogs/hinthenri_arrow_%s.png" % key.lower(),
                 "\"HINTHENRI_ARROW_%s\": the hint's pointing hand, fingertip at the picture's %s corner" % (
                     key, key.lower().replace("_", " ")), "1 frame", G_HAND)
    save_png(customer_cloud(), "media/images/game/customer_cloud.png",
             "\"CUSTOMER_CLOUD\": the customer's speech cloud (\"CUSTOMER_TEXT\" inside, about 170 × 56 at (27, 36)); "
             "its tail leads to the lower left", "1 frame", G_GAME)
    save_png(tool_slot(CARAMEL), "media/images/game/toolslot_quality.png",
             "\"TOOLSLOT_QUALITY\": frame of the quality tool slot (A); the 48 px tool icon sits in its middle",
             "1 frame", G_GAME)
    save_png(tool_slot(PISTACHIO), "media/images/game/toolslot_bonus.png",
             "\"TOOLSLOT_BONUS\": frame of the bonus tool slot (B)", "1 frame", G_GAME)
    save_frames(slot_back(LEMON), "media/images/game/back_quality.png",
                "\"BACK_QUALITY\": rotating glow behind an active quality tool (frame time TOOL_ROTATION_TIME)", G_GAME)
    save_frames(slot_back(PISTACHIO_LIGHT), "media/images/game/back_bonus.png",
                "\"BACK_BONUS\": rotating glow behind an active bonus tool", G_GAME)


if __name__ == "__main__":
    main()
