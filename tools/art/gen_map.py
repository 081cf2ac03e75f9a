"""Pieces of the career map: for each of the fifteen themes a pastry button (4 frames),
and the shared highlight, finish mark, name board and level buttons. The exam themes
(indexes 3, 7 and 11) wear a golden rosette."""

import math

import cairo

import gen_frontdoor as fd
import gen_pastries as gp
from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, LEMON, OUTLINE, PISTACHIO,
                    PISTACHIO_DARK, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, SUGAR, darker, ellipse, glossy,
                    hexrgb, lighter, new_surface, polygon, radial, rounded_rect, rounded_star_path, save_frames,
                    save_png, vertical_gradient, with_alpha)

G = "Map (section \"scenemap\")"
THEMES = ["cupcake", "strawberrycake", "creampuff", "flan", "cherrytart", "lemontart", "eclair",
          "croquembouche", "chocolatecake", "meringue", "lovecake", "showstopper", "truffle", "birthdaycake",
          "weddingcake"]
EXAMS = (3, 7, 11)
SIZE = 112
# Where the themes stand on the map's scrolling panel (three pages of 800 px:
# themes 0-5, the finale 12-14 in the middle, themes 6-11); the same places as
# the theme nodes of SCENE_MAP in media/properties/dynamic.xml.
ROW = (400, 225)
THEME_SPOTS = ([(90 + 125 * k, ROW[k % 2]) for k in range(6)] +
               [(1690 + 125 * k, ROW[k % 2]) for k in range(6)] +
               [(1060, 400), (1200, 225), (1340, 400)])


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def rosette(c, x, y, r):
    for side in (-1, 1):
        polygon(c, [(x + side * r * 0.2, y), (x + side * r * 0.7, y + r * 1.6), (x + side * r * 0.35, y + r * 1.3),
                    (x, y + r * 1.7)], 0.05)
        c.set_source_rgba(*RASPBERRY)
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 1.2)
    n = 14
    c.new_path()
    for i in range(n * 2):
        a = i * math.pi / n
        rr = r if i % 2 == 0 else r * 0.82
        c.line_to(x + rr * math.cos(a), y + rr * math.sin(a))
    c.close_path()
    c.set_source_rgba(*hexrgb("F6C945"))
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 1.4)
    rounded_star_path(c, x, y, r * 0.5, r * 0.22, 5)
    c.set_source_rgba(*SUGAR)
    c.fill()


def theme_button(index):
    fn = dict((n, f) for n, f, _ in gp.RECIPES)[THEMES[index]]
    pastry = gp.pastry(fn, SIZE)
    frames = []
    for state in ("normal", "over", "pressed", "disabled"):
        s, c = new_surface(SIZE, SIZE)
        if state == "over":
            ellipse(c, SIZE / 2.0, SIZE * 0.55, SIZE * 0.5, SIZE * 0.45)
            c.set_source(radial(SIZE / 2.0, SIZE * 0.55, SIZE * 0.5, [(0, (1, 0.97, 0.75, 0.8)), (1, (1, 0.95, 0.7, 0))]))
            c.fill()
        c.save()
        if state == "pressed":
            c.translate(SIZE * 0.03, SIZE * 0.05)
            c.scale(0.94, 0.94)
        c.set_source_surface(pastry, 0, 0)
        c.paint()
        c.restore()
        if state == "disabled":
            # a sugar-paper silhouette: the pastry greyed and faded
            c.set_operator(cairo.OPERATOR_HSL_SATURATION)
            c.set_source_rgba(0.5, 0.5, 0.5, 1)
            c.mask_surface(pastry, 0, 0)
            c.set_operator(cairo.OPERATOR_OVER)
            c.set_operator(cairo.OPERATOR_DEST_IN)
            c.set_source_rgba(0, 0, 0, 0.55)
            c.paint()
            c.set_operator(cairo.OPERATOR_OVER)
        if index in EXAMS:
            rosette(c, SIZE * 0.82, SIZE * 0.2, SIZE * 0.12)
        frames.append(s)
    return frames


def highlight_frames(n=8, size=SIZE + 24):
    frames = []
    for i in range(n):
        s, c = new_surface(size, size)
        cx, cy = size / 2.0, size * 0.58
        ellipse(c, cx, cy, size * 0.48, size * 0.4)
        c.set_source(radial(cx, cy, size * 0.48, [(0, (1, 0.96, 0.7, 0.0)), (0.7, (1, 0.93, 0.6, 0.45)), (1, (1, 0.9, 0.5, 0))]))
        c.fill()
        for k in range(6):
            a = (i / float(n) + k / 6.0) * 2 * math.pi
            x, y = cx + size * 0.42 * math.cos(a), cy + size * 0.34 * math.sin(a)
            r = 4 + 2 * math.sin(a * 2 + i)
            rounded_star_path(c, x, y, r, r * 0.4, 4)
            c.set_source_rgba(1, 1, 0.88, 0.95)
            c.fill()
        frames.append(s)
    return frames


def finish_mark():
    s, c = new_surface(56, 72)
    c.save()
    c.translate(28, 26)
    rosette(c, 0, 0, 22)
    c.restore()
    return s


def name_board(w=150, h=36):
    s, c = new_surface(w, h + 6)
    rounded_rect(c, 3, 5, w - 6, h - 2, 12)
    c.set_source_rgba(0.2, 0.08, 0.04, 0.3)
    c.fill()
    glossy(c, lambda cc: rounded_rect(cc, 3, 2, w - 6, h - 4, 12), CARAMEL_LIGHT, (3, 2, w - 6, h - 4),
           outline=CARAMEL_DARK, line=2.2, highlight=0.4)
    rounded_rect(c, 8, 7, w - 16, h - 14, 8)
    stroke(c, with_alpha(SUGAR, 0.6), 1.3)
    return s


def level_button(size=30):
    frames = []
    for state in ("normal", "over", "pressed", "disabled"):
        s, c = new_surface(size, size)
        col = {"normal": PISTACHIO, "over": lighter(PISTACHIO, 0.25), "pressed": darker(PISTACHIO, 0.15),
               "disabled": hexrgb("C8C0B8")}[state]
        off = 1 if state == "pressed" else 0
        r = size / 2.0 - 3
        ellipse(c, size / 2.0, size / 2.0 + 2, r, r)
        c.set_source_rgba(0.2, 0.08, 0.04, 0.25)
        c.fill()
        glossy(c, lambda cc: ellipse(cc, size / 2.0, size / 2.0 - 1 + off, r, r), col,
               (size / 2.0 - r, size / 2.0 - r, 2 * r, 2 * r), outline=PISTACHIO_DARK if state != "disabled" else hexrgb("8A8078"),
               line=2, highlight=0.6)
        rounded_star_path(c, size / 2.0, size / 2.0 - 1 + off, r * 0.55, r * 0.24, 5)
        c.set_source_rgba(*(SUGAR if state != "disabled" else hexrgb("EEE8E2")))
        c.fill()
        frames.append(s)
    return frames


def road(w=2400, h=600):
    """The caramel road of the panel: along the first six themes, under the finale to the
    next six, with a loop climbing to the three themes of the finale."""
    s, c = new_surface(w, h)
    main_road = THEME_SPOTS[:6] + [(880, 520), (1500, 520)] + THEME_SPOTS[6:12]
    finale = [(920, 520)] + THEME_SPOTS[12:15] + [(1460, 520)]

    def trace(points):
        c.new_path()
        c.move_to(*points[0])
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            mx = (x0 + x1) / 2.0
            c.curve_to(mx, y0, mx, y1, x1, y1)

    for points in (main_road, finale):
        trace([(points[0][0] - 120, points[0][1] + 40)] + points if points is main_road else points)
        stroke(c, CARAMEL_DARK, 30)
        trace([(points[0][0] - 120, points[0][1] + 40)] + points if points is main_road else points)
        stroke(c, CARAMEL_LIGHT, 24)
        trace([(points[0][0] - 120, points[0][1] + 40)] + points if points is main_road else points)
        c.set_dash([10, 14])
        stroke(c, with_alpha(SUGAR, 0.8), 3)
        c.set_dash([])
    # A sugared plaza at every theme's place, so the places still to come show on the road.
    for x, y in THEME_SPOTS:
        ellipse(c, x, y + 38, 46, 16)
        c.set_source_rgba(*with_alpha(CHOCOLATE_DARK, 0.18))
        c.fill()
        ellipse(c, x, y + 34, 44, 15)
        c.set_source_rgba(*CARAMEL_LIGHT)
        c.fill_preserve()
        stroke(c, CARAMEL_DARK, 2)
        ellipse(c, x, y + 32, 34, 10)
        c.set_source_rgba(*with_alpha(SUGAR, 0.55))
        c.fill()
    return s


# The map's buttons (Back, Shop, Start) fill its bottom 70 pixels: the chef stands on the
# grass above them, so that the picture anchored at the screen's bottom corner leaves them free.
HOST_FEET_ABOVE_BOTTOM = 70


def host_pose(from_left, w=190, h=300):
    """The chef leaning into the map from one side, his arm raised towards its middle."""
    s, c = new_surface(w, h)
    if not from_left:
        c.translate(w, 0)
        c.scale(-1, 1)
    fd.chef(c, w * 0.42, h - HOST_FEET_ABOVE_BOTTOM, 1.9, 0.08, 0.86)
    return s


def main():
    for i in range(len(THEMES)):
        exam = " (exam theme, golden rosette)" if i in EXAMS else ""
        save_frames(theme_button(i), "media/images/map/theme%d.png" % i,
                    "\"MAP_THEME%d\": pastry button of theme %d, a %s%s" % (i, i, THEMES[i], exam), G)
    save_frames(highlight_frames(), "media/images/map/theme_highlight.png",
                "\"MAP_THEME_HIGHLIGHT\": circling sparkles behind the selected theme (50 ms per frame)", G)
    save_png(finish_mark(), "media/images/map/theme_finished.png",
             "\"MAP_THEME_FINISHED\": rosette of a finished theme", "1 frame", G)
    save_png(name_board(), "media/images/map/theme_board.png",
             "\"MAP_THEME_BOARD\": caramel board under the theme's name", "1 frame", G)
    save_frames(level_button(), "media/images/map/level_button.png",
                "\"MAP_LEVEL_BUTTON\": one level of a theme (the next one blinks)", G)
    save_png(road(), "media/images/map/road.png",
             "\"MAP_ROAD\": the caramel road across the map's three scrolling pages, through every theme", "1 frame", G)
    save_png(host_pose(True), "media/images/map/henri_left.png",
             "\"HENRI_LEFT\": the chef coming in from the left for a map hint (anchored bottom left; he stands 70 px above the picture's bottom, clear of the map's buttons)", "1 frame", G)
    save_png(host_pose(False), "media/images/map/henri_right.png",
             "\"HENRI_RIGHT\": the chef coming in from the right for a map hint (anchored bottom right; he stands 70 px above the picture's bottom, clear of the map's buttons)", "1 frame", G)


if __name__ == "__main__":
    main()
