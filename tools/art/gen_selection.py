"""The player-selection scene (the bakery's shop room): the career door, the arcade door
closed and open, the padlocked door that swings open when the arcade unlocks, three star
bursts for the unlock, chimney smoke, the sunshine through the window, the chef standing
and six balloons for the players. Places suggested for the selection background (window
at the right, shelves at the left, counter at y 430)."""

import math

import cairo

import gen_frontdoor as fd
from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, FONT_SERIF, LAVENDER, LEMON,
                    MINT, OUTLINE, PEACH, PISTACHIO, PISTACHIO_DARK, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT,
                    SUGAR, darker, ellipse, fancy_text, glossy, heart_path, hexrgb, lighter, new_surface, polygon,
                    radial, rounded_rect, rounded_star_path, save_frames, save_png, star_path, vertical_gradient,
                    with_alpha)

G = "Player selection (section \"sceneselection\")"
STATES = ("normal", "over", "pressed", "disabled")


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def state_col(col, state):
    if state == "over":
        return lighter(col, 0.2)
    if state == "pressed":
        return darker(col, 0.15)
    if state == "disabled":
        g = col[0] * 0.3 + col[1] * 0.59 + col[2] * 0.11
        return (g, g, g, 1)
    return col


def door_shape(c, w, h, inset=0):
    c.new_path()
    c.move_to(inset, h)
    c.line_to(inset, w / 2.0)
    c.arc(w / 2.0, w / 2.0, w / 2.0 - inset, math.pi, 2 * math.pi)
    c.line_to(w - inset, h)
    c.close_path()


def career_door(w=170, h=250):
    frames = []
    for state in STATES:
        s, c = new_surface(w, h)
        col = state_col(PISTACHIO, state)
        off = 2 if state == "pressed" else 0
        door_shape(c, w, h)
        c.set_source_rgba(*CARAMEL)
        c.fill_preserve()
        stroke(c, CARAMEL_DARK, 2.5)
        c.save()
        c.translate(0, off)
        glossy(c, lambda cc: door_shape(cc, w, h, 12), col, (12, 12, w - 24, h - 12), line=2.2, highlight=0.25)
        door_shape(c, w, h * 0.55, 30)
        c.set_source(radial(w / 2.0, h * 0.25, w * 0.4, [(0, hexrgb("FFF6D5")), (1, hexrgb("F6C26A"))]))
        c.fill_preserve()
        stroke(c, OUTLINE, 2)
        fancy_text(c, "Career", w / 2.0, h * 0.72, 28, SUGAR, hexrgb("FFE7B0"), outline=darker(col, 0.6), outline_w=3,
                   face=FONT_SERIF, italic=True, shadow=False)
        glossy(c, lambda cc: ellipse(cc, w - 34, h * 0.6, 7, 7), CARAMEL_LIGHT, (w - 41, h * 0.6 - 7, 14, 14), line=1.5)
        c.restore()
        if state == "over":
            door_shape(c, w, h, 2)
            stroke(c, with_alpha(hexrgb("FFF0A0"), 0.9), 3)
        frames.append(s)
    return frames


def arcade_door(w=150, h=220, open_=False):
    frames = []
    for state in STATES:
        s, c = new_surface(w, h)
        off = 2 if state == "pressed" else 0
        door_shape(c, w, h)
        c.set_source_rgba(*CARAMEL)
        c.fill_preserve()
        stroke(c, CARAMEL_DARK, 2.5)
        if open_:
            door_shape(c, w, h, 12)
            c.set_source(radial(w / 2.0, h * 0.5, h * 0.6, [(0, hexrgb("FFF8D0")), (1, hexrgb("F7A23A"))]))
            c.fill()
            for k in range(6):
                a = k * math.pi / 3 + 0.3
                rounded_star_path(c, w / 2.0 + 34 * math.cos(a), h * 0.5 + 50 * math.sin(a), 6, 2.5, 4)
                c.set_source_rgba(1, 1, 1, 0.9)
                c.fill()
            fancy_text(c, "Arcade", w / 2.0, h * 0.45 + off, 26, SUGAR, hexrgb("FFE7B0"), outline=RASPBERRY_DARK,
                       outline_w=3, face=FONT_SERIF, italic=True, shadow=False)
        else:
            c.save()
            door_shape(c, w, h, 12)
            c.clip()
            for i in range(0, w, 20):
                c.rectangle(i, 0, 10, h)
                c.set_source_rgba(*state_col(RASPBERRY, state))
                c.fill()
                c.rectangle(i + 10, 0, 10, h)
                c.set_source_rgba(*state_col(SUGAR, state))
                c.fill()
            c.restore()
            door_shape(c, w, h, 12)
            stroke(c, OUTLINE, 2)
            # padlock
            c.new_path()
            c.arc(w / 2.0, h * 0.55, 12, math.pi, 2 * math.pi)
            stroke(c, hexrgb("8A8A96"), 5)
            glossy(c, lambda cc: rounded_rect(cc, w / 2.0 - 17, h * 0.55, 34, 28, 5), LEMON, (w / 2.0 - 17, h * 0.55, 34, 28), line=2)
        if state == "over":
            door_shape(c, w, h, 2)
            stroke(c, with_alpha(hexrgb("FFF0A0"), 0.9), 3)
        frames.append(s)
    return frames


def unlocking_door(n=6, w=150, h=220):
    """The striped door swinging open (frame 0 closed, last frame almost edge-on)."""
    closed = arcade_door(w, h, False)[0]
    frames = []
    for i in range(n):
        s, c = new_surface(w, h)
        t = i / float(n - 1)
        door_shape(c, w, h, 12)
        c.set_source(radial(w / 2.0, h * 0.5, h * 0.6, [(0, hexrgb("FFF8D0")), (1, hexrgb("F7A23A"))]))
        c.fill()
        c.save()
        sx = max(0.08, math.cos(t * math.pi * 0.45))
        c.scale(sx, 1.0)
        c.set_source_surface(closed, 0, 0)
        c.paint()
        c.restore()
        frames.append(s)
    return frames


def burst(n=6, size=200, col=LEMON, seed=0):
    frames = []
    for i in range(n):
        s, c = new_surface(size, size)
        t = (i + 1) / float(n)
        cx = cy = size / 2.0
        ellipse(c, cx, cy, size * 0.5 * t, size * 0.5 * t)
        c.set_source(radial(cx, cy, max(size * 0.5 * t, 1), [(0, with_alpha(SUGAR, 0.8 * (1 - t))), (1, with_alpha(col, 0))]))
        c.fill()
        for k in range(10):
            a = k * math.pi / 5 + seed
            r = size * 0.45 * t
            rounded_star_path(c, cx + r * math.cos(a), cy + r * math.sin(a), 9 * (1 - t) + 2, (9 * (1 - t) + 2) * 0.4, 5)
            c.set_source_rgba(*with_alpha(col, 1 - t * 0.8))
            c.fill()
        frames.append(s)
    return frames


def sunshine(w=360, h=420):
    s, c = new_surface(w, h)
    for k in range(6):
        x0 = w - 40 - k * 30
        polygon(c, [(x0, 0), (x0 + 22, 0), (x0 - 160 - k * 10, h), (x0 - 230 - k * 12, h)])
        c.set_source(vertical_gradient(0, h, [(0, (1, 0.95, 0.75, 0.35)), (1, (1, 0.95, 0.75, 0))]))
        c.fill()
    return s


def henri_standing(w=170, h=280):
    s, c = new_surface(w, h)
    fd.chef(c, w / 2.0, h - 4, 2.4, 0.0, 1.05)
    return s


BALLOON_COLS = [RASPBERRY_LIGHT, PISTACHIO, LEMON, hexrgb("6A8FE0"), LAVENDER, hexrgb("F4A06A")]


def balloon(i, w=96, h=132):
    s, c = new_surface(w, h)
    col = BALLOON_COLS[i]
    c.move_to(w / 2.0, 96)
    c.curve_to(w / 2.0 - 10, 108, w / 2.0 + 10, 118, w / 2.0, h - 2)
    stroke(c, hexrgb("8A7A72"), 1.5)

    def shape(cc):
        cc.new_path()
        cc.move_to(w / 2.0, 94)
        cc.curve_to(8, 80, 6, 8, w / 2.0, 6)
        cc.curve_to(w - 6, 8, w - 8, 80, w / 2.0, 94)
        cc.close_path()
    glossy(c, shape, col, (8, 6, w - 16, 88), line=2.2, highlight=0.65)
    polygon(c, [(w / 2.0 - 5, 100), (w / 2.0 + 5, 100), (w / 2.0, 93)])
    c.set_source_rgba(*darker(col, 0.2))
    c.fill()
    return s


def name_field(w=300, h=44):
    """The cream field the player types a name into."""
    s, c = new_surface(w, h)
    rounded_rect(c, 2, 3, w - 4, h - 5, 12)
    c.set_source_rgba(*with_alpha(CHOCOLATE_DARK, 0.25))
    c.fill()
    rounded_rect(c, 2, 1, w - 4, h - 5, 12)
    c.set_source(vertical_gradient(1, h - 4, [(0, hexrgb("FFF9EE")), (1, hexrgb("FFEFD6"))]))
    c.fill_preserve()
    stroke(c, CHOCOLATE, 2.2)
    return s


def caret(w=3, h=26):
    s, c = new_surface(w, h)
    rounded_rect(c, 0, 0, w, h, 1.2)
    c.set_source_rgba(*CHOCOLATE_DARK)
    c.fill()
    return s


def row_border(w=196, h=54):
    """The raspberry frame around the current player's name."""
    s, c = new_surface(w, h)
    rounded_rect(c, 3, 3, w - 6, h - 6, 16)
    c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.35))
    c.fill_preserve()
    stroke(c, RASPBERRY, 3.2)
    for x in (14, w - 14):
        rounded_star_path(c, x, h / 2.0, 7, 3, 5)
        c.set_source_rgba(*LEMON)
        c.fill_preserve()
        stroke(c, CARAMEL_DARK, 1)
    return s


def name_row(w=180, h=40):
    """One row of the player list: a soft caramel plate that lights up under the pointer."""
    frames = []
    for state in STATES:
        s, c = new_surface(w, h)
        rounded_rect(c, 2, 2, w - 4, h - 4, 14)
        col = {"normal": hexrgb("FFF3E0"), "over": hexrgb("FFE2B8"), "pressed": hexrgb("F6CF98"),
               "disabled": hexrgb("F4EEE6")}[state]
        c.set_source_rgba(*col)
        c.fill_preserve()
        stroke(c, with_alpha(CARAMEL_DARK, 0.55), 1.5)
        frames.append(s)
    return frames


def main():
    save_frames(career_door(), "media/images/selection/career_door.png",
                "\"SELECTION_CAREER\": the pistachio door to the career map (\"BUTTON_LEVEL\"); suggested at (250, 180)", G)
    save_frames(arcade_door(open_=False), "media/images/selection/arcade_closed.png",
                "\"BUTTON_ARCADECLOSED\": the striped, padlocked arcade door; suggested at (440, 210)", G)
    save_frames(arcade_door(open_=True), "media/images/selection/arcade_open.png",
                "\"BUTTON_ARCADEOPEN\": the open arcade door with its warm light; same place", G)
    save_frames(unlocking_door(), "media/images/selection/door_unlock.png",
                "\"SELECTION_DOOR\": the door swinging open when the arcade unlocks (\"SPRITE_DOOR\"); same place", G)
    for k, col in enumerate((LEMON, RASPBERRY_LIGHT, PISTACHIO)):
        save_frames(burst(col=col, seed=k * 0.3), "media/images/selection/arcade_burst%d.png" % k,
                    "\"SELECTION_ARCADE%d\": star burst over the opening door (\"SPRITE_ARCADE%d\"); centred on the door" % (k, k), G)
    save_frames(fd.smoke_frames(), "media/images/selection/smoke.png",
                "\"SELECTION_SMOKE\": steam over the open arcade door (\"SPRITE_SMOKE\", shown at alpha 204)", G)
    save_png(sunshine(), "media/images/selection/sunshine.png",
             "\"SELECTION_SUNSHINE\": rays from the window (\"SPRITE_SUNSHINE\"); suggested at (440, 60)", "1 frame", G)
    save_png(henri_standing(), "media/images/selection/henri.png",
             "\"SELECTION_HENRI\": the chef standing by the counter (\"SPRITE_HENRI\"); suggested at (610, 300)", "1 frame", G)
    save_png(name_field(), "media/images/selection/name_field.png",
             "\"SELECTION_NAME_FIELD\": the field of the new-player dialog the name is typed into", "1 frame", G)
    save_png(caret(), "media/images/selection/caret.png",
             "\"SELECTION_CARET\": the blinking caret of the name field", "1 frame", G)
    save_png(row_border(), "media/images/selection/row_border.png",
             "\"SELECTION_ROW_BORDER\": the frame around the current player's row of the player list", "1 frame", G)
    save_frames(name_row(), "media/images/selection/name_row.png",
                "\"SELECTION_NAME_ROW\": one row of the player list (a label lies on top)", G)
    for i in range(6):
        save_png(balloon(i), "media/images/selection/balloon%d.png" % i,
                 "\"SELECTION_BALLOON%d\": balloon of player %d (\"BALLOON%d\"; the name label goes below it)" % (i, i + 1, i),
                 "1 frame", G)


if __name__ == "__main__":
    main()
