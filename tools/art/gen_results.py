"""Pictures of the dialogs around a level: the results' panels, separator lines, rank meter,
flag and shines; the level information's pans, back shelf, highlight and blankets; the
tool choice's plates, stains and marks; and the rank-up rosette."""

import math

import cairo

from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CREAM, CREAM_DARK, LEMON, MINT, OUTLINE,
                    PISTACHIO, PISTACHIO_DARK, PISTACHIO_LIGHT, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, SUGAR,
                    darker, ellipse, glossy, hexrgb, lighter, new_surface, radial, rounded_rect, save_frames,
                    save_png, star_path, vertical_gradient, with_alpha)

G = "Level dialogs (section \"dialogs\")"
ICE = hexrgb("D8F0F4")
ICE_DARK = hexrgb("7FB6C8")


def stroke(c, col, w):
    c.set_source_rgba(*col)
    c.set_line_width(w)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.stroke()


def panel(w, h, base, edge):
    """A soft rounded tray drawn under a block of result rows."""
    s, c = new_surface(w, h)
    rounded_rect(c, 2, 2, w - 4, h - 4, 14)
    c.set_source(vertical_gradient(0, h, [(0.0, with_alpha(lighter(base, 0.3), 0.85)),
                                          (1.0, with_alpha(base, 0.85))]))
    c.fill_preserve()
    c.set_dash([6, 4])
    stroke(c, with_alpha(edge, 0.8), 2)
    c.set_dash([])
    return s


def line(w):
    s, c = new_surface(w, 8)
    for i in range(0, w - 6, 12):
        ellipse(c, i + 5, 4, 3, 2.4)
        c.set_source_rgba(*with_alpha(CARAMEL, 0.9))
        c.fill()
    return s


def bar_under(w=44, h=232):
    s, c = new_surface(w, h)
    glossy(c, lambda cc: rounded_rect(cc, 2, 2, w - 4, h - 4, (w - 4) / 2), CHOCOLATE, (2, 2, w - 4, h - 4),
           outline=OUTLINE, line=2.5, highlight=0.15)
    return s


def bar_fill(base, w=28, h=200):
    s, c = new_surface(w, h)
    rounded_rect(c, 0, 0, w, h, 6)
    c.set_source(cairo.LinearGradient(0, 0, w, 0))
    grad = cairo.LinearGradient(0, 0, w, 0)
    grad.add_color_stop_rgba(0.0, *darker(base, 0.2))
    grad.add_color_stop_rgba(0.35, *lighter(base, 0.45))
    grad.add_color_stop_rgba(1.0, *darker(base, 0.3))
    c.set_source(grad)
    c.fill()
    # sprinkles on the filling
    for k in range(0, h, 22):
        ellipse(c, 8 + (k * 7) % 12, k + 8, 2.2, 1.2)
        c.set_source_rgba(1, 1, 1, 0.45)
        c.fill()
    return s


def bar_top_frames(w=52, h=28, count=4):
    frames = []
    for f in range(count):
        s, c = new_surface(w, h)
        glossy(c, lambda cc: rounded_rect(cc, 4, 6, w - 8, h - 10, 8), CARAMEL_LIGHT, (4, 6, w - 8, h - 10),
               outline=CARAMEL_DARK, line=2)
        glow = 0.25 + 0.6 * (f % 2)
        star_path(c, w / 2, h / 2 + 1, 8, 3.5)
        c.set_source_rgba(*lighter(LEMON, glow * 0.5))
        c.fill_preserve()
        stroke(c, CARAMEL_DARK, 1.2)
        frames.append(s)
    return frames


def crown(base, size=96, glow=0.0):
    s, c = new_surface(size, size)
    if glow > 0:
        ellipse(c, size / 2, size / 2, size / 2 - 2, size / 2 - 2)
        c.set_source(radial(size / 2, size / 2, size / 2, [(0.0, with_alpha(LEMON, glow)), (1.0, (1, 1, 0.8, 0))]))
        c.fill()
    pts = [(16, 70), (12, 30), (32, 48), (48, 22), (64, 48), (84, 30), (80, 70)]
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)
    c.close_path()
    c.set_source(vertical_gradient(20, 70, [(0.0, lighter(base, 0.4)), (1.0, base)]))
    c.fill_preserve()
    stroke(c, darker(base, 0.6), 2.5)
    rounded_rect(c, 14, 66, 68, 12, 4)
    c.set_source_rgba(*RASPBERRY)
    c.fill_preserve()
    stroke(c, RASPBERRY_DARK, 2)
    for x, y in ((12, 30), (48, 22), (84, 30)):
        ellipse(c, x, y, 5, 5)
        c.set_source_rgba(*RASPBERRY_LIGHT)
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 1.5)
    return s


def flag(w=260, h=64):
    s, c = new_surface(w, h)

    def ribbon(cc):
        cc.move_to(4, 14)
        cc.line_to(36, 10)
        cc.curve_to(w / 2 - 40, 2, w / 2 + 40, 2, w - 36, 10)
        cc.line_to(w - 4, 14)
        cc.line_to(w - 20, 30)
        cc.line_to(w - 4, 50)
        cc.line_to(w - 36, 52)
        cc.curve_to(w / 2 + 40, 42, w / 2 - 40, 42, 36, 52)
        cc.line_to(4, 50)
        cc.line_to(20, 30)
        cc.close_path()
    glossy(c, ribbon, RASPBERRY, (4, 2, w - 8, h - 12), outline=RASPBERRY_DARK, line=2.5, highlight=0.35)
    c.set_dash([4, 4])
    c.move_to(40, 16)
    c.curve_to(w / 2 - 40, 9, w / 2 + 40, 9, w - 40, 16)
    stroke(c, with_alpha(CREAM, 0.8), 1.5)
    c.set_dash([])
    return s


def shine(w=320, h=48, flip=False):
    s, c = new_surface(w, h)
    cy = h if not flip else 0
    ellipse(c, w / 2, cy, w / 2, h)
    c.set_source(radial(w / 2, cy, w / 2, [(0.0, with_alpha(LEMON, 0.55)), (1.0, (1, 0.95, 0.7, 0.0))]))
    c.fill()
    for k in range(9):
        a = math.pi * (0.1 + 0.8 * k / 8)
        x = w / 2 + math.cos(a) * w * 0.45
        y = cy + (-1 if not flip else 1) * math.sin(a) * h * 0.8
        star_path(c, x, y, 3 + (k % 3), 1.2)
        c.set_source_rgba(1, 1, 1, 0.7)
        c.fill()
    return s


def pan(base, handle, icy=False, w=84, h=40):
    s, c = new_surface(w, h)
    rounded_rect(c, 56, 16, 26, 7, 3)
    c.set_source_rgba(*handle)
    c.fill_preserve()
    stroke(c, darker(handle, 0.5), 1.5)
    glossy(c, lambda cc: ellipse(cc, 30, 22, 28, 15), base, (2, 7, 56, 30), outline=darker(base, 0.55), line=2)
    ellipse(c, 30, 19, 22, 9)
    c.set_source_rgba(*darker(base, 0.25))
    c.fill()
    if icy:
        for k in range(6):
            x = 10 + k * 8
            c.move_to(x, 30)
            c.line_to(x + 2, 37)
            c.line_to(x + 4, 30)
            c.set_source_rgba(*with_alpha(SUGAR, 0.9))
            c.fill()
    return s


def back_pan(base, edge, frosted=False, w=330, h=96):
    s, c = new_surface(w, h)
    glossy(c, lambda cc: rounded_rect(cc, 3, 30, w - 6, 26, 8), base, (3, 30, w - 6, 26), outline=edge, line=2)
    for x in (24, w - 30):
        glossy(c, lambda cc, x=x: rounded_rect(cc, x, 54, 8, 36, 3), darker(base, 0.2), (x, 54, 8, 36),
               outline=edge, line=1.5, highlight=0.1)
    if frosted:
        for k in range(0, w - 20, 14):
            c.move_to(6 + k, 54)
            c.line_to(9 + k, 62 + (k * 3) % 7)
            c.line_to(12 + k, 54)
            c.set_source_rgba(*with_alpha(SUGAR, 0.95))
            c.fill()
    return s


def highlight_frames(size=76, count=6):
    frames = []
    for f in range(count):
        s, c = new_surface(size, size)
        for k in range(8):
            a = 2 * math.pi * (k / 8 + f / (count * 8))
            x = size / 2 + math.cos(a) * (size / 2 - 8)
            y = size / 2 + math.sin(a) * (size / 2 - 8)
            star_path(c, x, y, 5 if (k + f) % 2 else 3.5, 1.8)
            c.set_source_rgba(*lighter(LEMON, 0.2))
            c.fill_preserve()
            stroke(c, CARAMEL_DARK, 1)
        frames.append(s)
    return frames


def blanket(w, h):
    s, c = new_surface(w, h)
    rounded_rect(c, 2, 2, w - 4, h - 4, 10)
    c.save()
    c.clip_preserve()
    c.set_source_rgba(*CREAM)
    c.paint()
    for x in range(0, w, 16):
        c.rectangle(x, 0, 8, h)
    c.set_source_rgba(*with_alpha(RASPBERRY, 0.45))
    c.fill()
    for y in range(0, h, 16):
        c.rectangle(0, y, w, 8)
    c.set_source_rgba(*with_alpha(RASPBERRY, 0.45))
    c.fill()
    c.restore()
    rounded_rect(c, 2, 2, w - 4, h - 4, 10)
    stroke(c, RASPBERRY_DARK, 2)
    return s


def plate_frames(size=72):
    frames = []
    for state, (base, line) in enumerate(((CREAM, CREAM_DARK), (lighter(LEMON, 0.4), CARAMEL),
                                          (CARAMEL_LIGHT, CARAMEL_DARK), (hexrgb("E4DCD2"), hexrgb("B9ADA2")))):
        s, c = new_surface(size, size)
        ellipse(c, size / 2, size / 2, size / 2 - 3, size / 2 - 3)
        c.set_source_rgba(*with_alpha(base, 0.55 if state != 1 else 0.8))
        c.fill_preserve()
        stroke(c, with_alpha(line, 0.9), 2)
        frames.append(s)
    return frames


def chosen_frames(size=72):
    frames = []
    for f in range(2):
        s, c = new_surface(size, size)
        ellipse(c, size / 2, size / 2, size / 2 - 4, size / 2 - 4)
        stroke(c, RASPBERRY if f else RASPBERRY_LIGHT, 5)
        for k in range(4):
            a = math.pi / 4 + k * math.pi / 2
            star_path(c, size / 2 + math.cos(a) * (size / 2 - 5), size / 2 + math.sin(a) * (size / 2 - 5), 6, 2.5)
            c.set_source_rgba(*LEMON)
            c.fill_preserve()
            stroke(c, CARAMEL_DARK, 1)
        frames.append(s)
    return frames


def stain(w=80, h=24):
    s, c = new_surface(w, h)
    ellipse(c, w / 2, h / 2, w / 2 - 2, h / 2 - 2)
    c.set_source(radial(w / 2, h / 2, w / 2, [(0.0, with_alpha(CHOCOLATE, 0.45)), (1.0, with_alpha(CHOCOLATE, 0.0))]))
    c.fill()
    return s


def rosette(size=128):
    s, c = new_surface(size, size)
    cx = size / 2
    for side in (-1, 1):
        c.move_to(cx + side * 8, 70)
        c.line_to(cx + side * 30, 124)
        c.line_to(cx + side * 18, 114)
        c.line_to(cx + side * 10, 126)
        c.line_to(cx - side * 6, 72)
        c.close_path()
        c.set_source_rgba(*RASPBERRY if side < 0 else RASPBERRY_DARK)
        c.fill_preserve()
        stroke(c, RASPBERRY_DARK, 1.5)
    petals = 16
    c.new_path()
    for k in range(petals * 2):
        a = 2 * math.pi * k / (petals * 2)
        r = 52 if k % 2 == 0 else 44
        x, y = cx + math.cos(a) * r, 56 + math.sin(a) * r
        if k == 0:
            c.move_to(x, y)
        else:
            c.line_to(x, y)
    c.close_path()
    c.set_source_rgba(*CARAMEL_LIGHT)
    c.fill_preserve()
    stroke(c, CARAMEL_DARK, 2)
    glossy(c, lambda cc: ellipse(cc, cx, 56, 36, 36), LEMON, (cx - 36, 20, 72, 72), outline=CARAMEL_DARK, line=2)
    star_path(c, cx, 58, 22, 9)
    c.set_source_rgba(*RASPBERRY)
    c.fill_preserve()
    stroke(c, RASPBERRY_DARK, 2)
    return s


def main():
    d = "media/images/dialogs/"
    for name, w, h in (("EARNEDSTARS", 320, 116), ("TOTALSTARS", 320, 44), ("SCORE", 320, 80), ("METER", 112, 300),
                       ("EXAMFAILURE", 320, 116)):
        save_png(panel(w, h, CREAM_DARK, CARAMEL), d + "levelend_panel_%s.png" % name.lower(),
                 "\"LEVELEND_PANEL_%s\": tray under a block of the level results" % name, group=G)
        save_png(panel(w, h, ICE, ICE_DARK), d + "levelend_icepanel_%s.png" % name.lower(),
                 "\"LEVELEND_ICEPANEL_%s\": frosted tray of the exam results" % name, group=G)
    save_png(line(300), d + "levelend_line.png", "\"LEVELEND_LINE\": dotted caramel line under a block of rows",
             group=G)
    save_png(bar_under(), d + "levelend_rankbar_under.png",
             "\"LEVELEND_RANKBAR_UNDER\": the rank meter's chocolate groove", group=G)
    save_png(bar_fill(CREAM_DARK), d + "levelend_rankbar_empty.png",
             "\"LEVELEND_RANKBAR_EMPTY\": the rank meter's empty tube (anchored at its bottom centre)", group=G)
    save_png(bar_fill(RASPBERRY), d + "levelend_rankbar_full.png",
             "\"LEVELEND_RANKBAR_FULL\": the rank meter's raspberry filling, clipped from the top", group=G)
    save_frames(bar_top_frames(), d + "levelend_rankbar_top.png",
                "\"LEVELEND_RANKBAR_TOP\": cap of the rank meter; odd frames lit (a new rank)", group=G)
    save_frames([crown(LEMON), crown(LEMON, glow=0.6)], d + "levelend_maxrank.png",
                "\"LEVELEND_MAXRANK\": crown of the top rank", group=G)
    save_frames([crown(ICE), crown(ICE, glow=0.6)], d + "levelend_maxrankexam.png",
                "\"LEVELEND_MAXRANKEXAM\": frosted crown of the top rank on exams", group=G)
    save_png(flag(), d + "levelend_flag.png", "\"LEVELEND_FLAG\": raspberry ribbon behind the win headline",
             group=G)
    save_png(shine(), d + "levelend_shine_top.png", "\"LEVELEND_SHINE_TOP\": golden glow above the win headline",
             group=G)
    save_png(shine(flip=True), d + "levelend_shine_bottom.png",
             "\"LEVELEND_SHINE_BOTTOM\": golden glow below the win headline", group=G)
    save_png(pan(hexrgb("C8794A"), CHOCOLATE), d + "levelinfo_pan.png",
             "\"LEVELINFO_PAN\": copper pan under an open level's sign", group=G)
    for k in range(4):
        save_png(pan(ICE, ICE_DARK, icy=True), d + "levelinfo_panicy%d.png" % k,
                 "\"LEVELINFO_PANICY%d\": frozen pan under level %d's sign on exams" % (k, k + 1), group=G)
    save_png(back_pan(CARAMEL, CARAMEL_DARK), d + "levelinfo_backpan.png",
             "\"LEVELINFO_BACKPAN\": the wooden shelf the pans hang from", group=G)
    save_png(back_pan(ICE, ICE_DARK, frosted=True), d + "levelinfo_backpanfrozen.png",
             "\"LEVELINFO_BACKPANFROZEN\": the shelf frozen over on exams", group=G)
    save_frames(highlight_frames(), d + "levelinfo_highlight.png",
                "\"LEVELINFO_HIGHLIGHT\": turning ring of stars around the chosen level (50 ms a frame)", group=G)
    save_png(blanket(176, 84), d + "levelinfo_blanketfull.png",
             "\"LEVELINFO_BLANKETFULL\": gingham cloth over both tool slots (no tools yet)", group=G)
    save_png(blanket(88, 84), d + "levelinfo_blankethalf.png",
             "\"LEVELINFO_BLANKETHALF\": gingham cloth over the empty second tool slot", group=G)
    save_frames(plate_frames(), d + "selecttool_plate.png",
                "\"SELECTTOOL_PLATE\": round plate a tool stands on in the tool choice (button)", group=G)
    save_frames(chosen_frames(), d + "selecttool_chosen.png",
                "\"SELECTTOOL_CHOSEN\": raspberry ring around a slot's chosen tool", group=G)
    save_png(stain(), d + "selecttool_stain.png", "\"SELECTTOOL_STAIN\": soft shadow under a chosen tool",
             group=G)
    save_png(rosette(), d + "rankup_rosette.png", "\"RANKUP_ROSETTE\": the rosette of a new rank", group=G)
