"""Interface art: dialog frame pieces, buttons, switches, slider parts, the full-screen
handler's buttons, tooltip frame, the dialog decoration and the window icon."""

import math

import cairo

from common import (CARAMEL, CARAMEL_DARK, CARAMEL_LIGHT, CHOCOLATE, CHOCOLATE_DARK, CREAM,
                    CREAM_DARK, FONT_SANS, GREY, LEMON, MILK_CHOCOLATE, OUTLINE, PISTACHIO,
                    PISTACHIO_DARK, RASPBERRY, RASPBERRY_DARK, RASPBERRY_LIGHT, SUGAR, VANILLA,
                    darker, ellipse, glossy, heart_path, lighter, mix, new_surface, plain_text,
                    radial, rounded_rect, save_frames, save_png, sprinkle_noise, star_path,
                    text_extents, vertical_gradient, with_alpha)

G_DIALOG = "Dialog frames (painter pieces)"
G_BUTTON = "Buttons (4 frames: normal, over, pressed, disabled)"
G_WIDGET = "Switches and slider"
G_FSH = "Full-screen handler"
G_ICON = "Window icon"

STATES = ("normal", "over", "pressed", "disabled")


def desaturate(col, t=0.75):
    g = col[0] * 0.3 + col[1] * 0.59 + col[2] * 0.11
    grey = (g * 0.9 + 0.08, g * 0.9 + 0.07, g * 0.9 + 0.06, col[3])
    return mix(col, grey, t)


def state_colour(base, state):
    if state == "over":
        return lighter(base, 0.22)
    if state == "pressed":
        return darker(base, 0.18)
    if state == "disabled":
        return desaturate(base)
    return base


# ---------------------------------------------------------------- buttons

def draw_button_face(c, w, h, base, state, radius=None):
    """A candy button: shadow, darker rim, glossy body, a light band along the top."""
    if radius is None:
        radius = min(h * 0.42, 18)
    pressed = state == "pressed"
    col = state_colour(base, state)
    rim = darker(col, 0.5)
    top = 2 + (2 if pressed else 0)
    bh = h - 7
    x, wi = 3, w - 6
    # drop shadow
    if state != "disabled":
        rounded_rect(c, x + 1, top + (2 if pressed else 4), wi - 2, bh, radius)
        c.set_source_rgba(0.25, 0.1, 0.05, 0.28)
        c.fill()
    # rim and body
    rounded_rect(c, x, top, wi, bh, radius)
    c.set_source(vertical_gradient(top, top + bh, [(0, lighter(col, 0.25)), (0.5, col), (1, darker(col, 0.22))]))
    c.fill_preserve()
    c.set_source_rgba(*rim)
    c.set_line_width(2)
    c.stroke()
    # inner light line
    rounded_rect(c, x + 2.5, top + 2.5, wi - 5, bh - 5, radius - 2)
    c.set_source_rgba(1, 1, 1, 0.22 if state != "disabled" else 0.12)
    c.set_line_width(1.2)
    c.stroke()
    # glossy band
    c.save()
    rounded_rect(c, x + 5, top + 3, wi - 10, bh * 0.42, radius * 0.8)
    c.set_source(vertical_gradient(top + 3, top + 3 + bh * 0.42,
                                   [(0, (1, 1, 1, 0.55 if state != "disabled" else 0.25)), (1, (1, 1, 1, 0.05))]))
    c.fill()
    c.restore()
    if state == "over":
        rounded_rect(c, x - 1.5, top - 1.5, wi + 3, bh + 3, radius + 1.5)
        c.set_source_rgba(1.0, 0.95, 0.7, 0.75)
        c.set_line_width(1.5)
        c.stroke()
    return top, bh


def button_label(c, text, w, top, bh, state, size):
    col = (1, 1, 1, 1) if state != "disabled" else (0.93, 0.91, 0.89, 1)
    shadow = (0.25, 0.08, 0.05, 0.65) if state != "disabled" else (0.3, 0.3, 0.3, 0.4)
    ext = text_extents(c, text, size, FONT_SANS, True)
    while ext.x_advance > w - 24 and size > 9:
        size -= 1
        ext = text_extents(c, text, size, FONT_SANS, True)
    # Capital letters are centred on the face, so that every label sits on
    # the same line whatever its descenders ("Stop", "Buy").
    cap = -text_extents(c, "H", size, FONT_SANS, True).y_bearing
    x = w / 2.0 - ext.x_advance / 2.0
    baseline = top + bh / 2.0 + cap / 2.0
    # a soft dark outline keeps the white label readable on every colour
    c.save()
    c.move_to(x, baseline + 1)
    c.text_path(text)
    c.set_source_rgba(*shadow)
    c.set_line_width(3)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.stroke()
    c.restore()
    c.move_to(x, baseline)
    c.set_source_rgba(*col)
    c.show_text(text)


def text_button(w, h, base, label, size=18):
    frames = []
    for state in STATES:
        s, c = new_surface(w, h)
        top, bh = draw_button_face(c, w, h, base, state)
        if label:
            button_label(c, label, w, top, bh, state, size)
        frames.append(s)
    return frames


ICON_DRAWERS = {}


def icon(name):
    def register(fn):
        ICON_DRAWERS[name] = fn
        return fn
    return register


def glyph_style(c, state, width):
    col = (1, 1, 1, 1) if state != "disabled" else (0.92, 0.9, 0.88, 1)
    return col


def stroke_glyph(c, state, width):
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    path = c.copy_path()
    c.set_source_rgba(0.25, 0.08, 0.05, 0.6)
    c.set_line_width(width + 3)
    c.stroke()
    c.append_path(path)
    c.set_source_rgba(*glyph_style(c, state, width))
    c.set_line_width(width)
    c.stroke()


def fill_glyph(c, state):
    path = c.copy_path()
    c.set_source_rgba(0.25, 0.08, 0.05, 0.6)
    c.set_line_width(3)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.stroke()
    c.append_path(path)
    c.set_source_rgba(*glyph_style(c, state, 0))
    c.fill()


@icon("close")
def _close(c, cx, cy, r, state):
    c.move_to(cx - r * 0.45, cy - r * 0.45)
    c.line_to(cx + r * 0.45, cy + r * 0.45)
    c.move_to(cx + r * 0.45, cy - r * 0.45)
    c.line_to(cx - r * 0.45, cy + r * 0.45)
    stroke_glyph(c, state, r * 0.22)


@icon("minimize")
def _minimize(c, cx, cy, r, state):
    c.move_to(cx - r * 0.45, cy + r * 0.35)
    c.line_to(cx + r * 0.45, cy + r * 0.35)
    stroke_glyph(c, state, r * 0.22)


@icon("restore")
def _restore(c, cx, cy, r, state):
    rounded_rect(c, cx - r * 0.5, cy - r * 0.38, r * 0.8, r * 0.75, r * 0.1)
    c.move_to(cx - r * 0.2, cy - r * 0.38)
    c.line_to(cx - r * 0.2, cy - r * 0.62)
    c.line_to(cx + r * 0.58, cy - r * 0.62)
    c.line_to(cx + r * 0.58, cy + r * 0.1)
    c.line_to(cx + r * 0.3, cy + r * 0.1)
    stroke_glyph(c, state, r * 0.16)


@icon("help")
def _help(c, cx, cy, r, state):
    plain_text(c, "?", cx, cy, r * 1.5, (0, 0, 0, 0), FONT_SANS, True)
    ext = text_extents(c, "?", r * 1.5)
    c.move_to(cx - ext.x_advance / 2.0, cy - (ext.y_bearing + ext.height / 2.0))
    c.text_path("?")
    fill_glyph(c, state)


@icon("info")
def _info(c, cx, cy, r, state):
    ext = text_extents(c, "i", r * 1.5, "DejaVu Serif")
    c.move_to(cx - ext.x_advance / 2.0, cy - (ext.y_bearing + ext.height / 2.0))
    c.text_path("i")
    fill_glyph(c, state)


@icon("pause")
def _pause(c, cx, cy, r, state):
    rounded_rect(c, cx - r * 0.42, cy - r * 0.48, r * 0.3, r * 0.96, r * 0.08)
    rounded_rect(c, cx + r * 0.12, cy - r * 0.48, r * 0.3, r * 0.96, r * 0.08)
    fill_glyph(c, state)


def arrow(c, cx, cy, r, direction):
    pts = [(-0.25, -0.55), (0.4, 0.0), (-0.25, 0.55)]
    c.new_sub_path()
    for i, (px, py) in enumerate(pts):
        x = cx + px * r * direction
        y = cy + py * r
        if i == 0:
            c.move_to(x, y)
        else:
            c.line_to(x, y)
    c.close_path()


@icon("left")
def _left(c, cx, cy, r, state):
    arrow(c, cx, cy, r, -1)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    fill_glyph(c, state)


@icon("right")
def _right(c, cx, cy, r, state):
    arrow(c, cx, cy, r, 1)
    fill_glyph(c, state)


@icon("plus")
def _plus(c, cx, cy, r, state):
    c.move_to(cx - r * 0.45, cy)
    c.line_to(cx + r * 0.45, cy)
    c.move_to(cx, cy - r * 0.45)
    c.line_to(cx, cy + r * 0.45)
    stroke_glyph(c, state, r * 0.24)


@icon("minus")
def _minus(c, cx, cy, r, state):
    c.move_to(cx - r * 0.45, cy)
    c.line_to(cx + r * 0.45, cy)
    stroke_glyph(c, state, r * 0.24)


@icon("settings")
def _settings(c, cx, cy, r, state):
    teeth = 8
    c.new_sub_path()
    for i in range(teeth * 4):
        a = i * 2 * math.pi / (teeth * 4)
        rr = r * (0.62 if (i // 2) % 2 == 0 else 0.46)
        x, y = cx + rr * math.cos(a), cy + rr * math.sin(a)
        if i == 0:
            c.move_to(x, y)
        else:
            c.line_to(x, y)
    c.close_path()
    c.new_sub_path()
    c.arc_negative(cx, cy, r * 0.2, 0, -2 * math.pi)
    c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    fill_glyph(c, state)
    c.set_fill_rule(cairo.FILL_RULE_WINDING)


@icon("menu")
def _menu(c, cx, cy, r, state):
    for dy in (-0.35, 0, 0.35):
        c.move_to(cx - r * 0.45, cy + dy * r)
        c.line_to(cx + r * 0.45, cy + dy * r)
    stroke_glyph(c, state, r * 0.17)


@icon("check")
def _check(c, cx, cy, r, state):
    c.move_to(cx - r * 0.45, cy + r * 0.02)
    c.line_to(cx - r * 0.12, cy + r * 0.38)
    c.line_to(cx + r * 0.5, cy - r * 0.4)
    stroke_glyph(c, state, r * 0.24)


def round_button(size, base, glyph):
    frames = []
    for state in STATES:
        s, c = new_surface(size, size)
        pressed = state == "pressed"
        col = state_colour(base, state)
        r = size / 2.0 - 3
        cx, cy = size / 2.0, size / 2.0 - 1 + (1.5 if pressed else 0)
        if state != "disabled":
            ellipse(c, cx, cy + (1.5 if pressed else 2.5), r, r)
            c.set_source_rgba(0.25, 0.1, 0.05, 0.3)
            c.fill()
        glossy(c, lambda cc: ellipse(cc, cx, cy, r, r), col, (cx - r, cy - r, 2 * r, 2 * r),
               outline=darker(col, 0.5), line=2.0, highlight=0.0)
        c.save()
        ellipse(c, cx, cy - r * 0.42, r * 0.68, r * 0.42)
        c.set_source(vertical_gradient(cy - r * 0.84, cy, [(0, (1, 1, 1, 0.55)), (1, (1, 1, 1, 0.04))]))
        c.fill()
        c.restore()
        if state == "over":
            ellipse(c, cx, cy, r + 1.5, r + 1.5)
            c.set_source_rgba(1.0, 0.95, 0.7, 0.8)
            c.set_line_width(1.5)
            c.stroke()
        ICON_DRAWERS[glyph](c, cx, cy, r, state)
        frames.append(s)
    return frames


def square_button(w, h, base, glyph):
    frames = []
    for state in STATES:
        s, c = new_surface(w, h)
        top, bh = draw_button_face(c, w, h, base, state, radius=6)
        ICON_DRAWERS[glyph](c, w / 2.0, top + bh / 2.0, min(w, bh) / 2.0 - 1, state)
        frames.append(s)
    return frames


TEXT_BUTTONS = [
    # (file name, label, colour, width, height)
    ("ok", "OK", RASPBERRY, 160, 48),
    ("yes", "Yes", RASPBERRY, 160, 48),
    ("no", "No", CARAMEL, 160, 48),
    ("cancel", "Cancel", CARAMEL, 160, 48),
    ("start", "Start", RASPBERRY, 160, 48),
    ("play", "Play", RASPBERRY, 160, 48),
    ("continue", "Continue", RASPBERRY, 160, 48),
    ("resume", "Resume", RASPBERRY, 160, 48),
    ("restart", "Restart", CARAMEL, 160, 48),
    ("stop", "Stop", CARAMEL, 160, 48),
    ("back", "Back", CARAMEL, 160, 48),
    ("next", "Next", PISTACHIO, 160, 48),
    ("buy", "Buy", PISTACHIO, 160, 48),
    ("shop", "Tool shop", PISTACHIO, 160, 48),
    ("trophies", "Trophies", PISTACHIO, 160, 48),
    ("arcade", "Arcade", PISTACHIO, 160, 48),
    ("career", "Career", RASPBERRY, 160, 48),
    ("add", "New player", PISTACHIO, 160, 48),
    ("remove", "Remove", CARAMEL, 160, 48),
    ("changename", "Rename", CARAMEL, 160, 48),
    ("tools", "Tools", PISTACHIO, 160, 48),
    ("menu", "Menu", CARAMEL, 120, 40),
    ("quit", "Quit", CARAMEL, 160, 48),
    ("settings", "Settings", CARAMEL, 160, 48),
    ("credits", "Credits", CARAMEL, 160, 48),
    ("help", "Help", CARAMEL, 160, 48),
]

BLANK_BUTTONS = [
    ("raspberry", RASPBERRY), ("caramel", CARAMEL), ("pistachio", PISTACHIO), ("chocolate", MILK_CHOCOLATE),
]

ROUND_BUTTONS = [
    ("help", RASPBERRY, "help"), ("info", CARAMEL, "info"), ("pause", CARAMEL, "pause"),
    ("settings", CARAMEL, "settings"), ("menu", CARAMEL, "menu"), ("close", RASPBERRY, "close"),
    ("prev", PISTACHIO, "left"), ("next", PISTACHIO, "right"),
    ("scroll_left", CARAMEL, "left"), ("scroll_right", CARAMEL, "right"),
]


def make_buttons():
    for name, label, base, w, h in TEXT_BUTTONS:
        save_frames(text_button(w, h, base, label), "media/images/buttons/button_%s.png" % name,
                    "dialog button \"%s\" with its label drawn in" % label, G_BUTTON)
    for name, base in BLANK_BUTTONS:
        save_frames(text_button(160, 48, base, ""), "media/images/buttons/button_blank_%s.png" % name,
                    "blank %s button, for a Label laid on top" % name, G_BUTTON)
        save_frames(text_button(112, 36, base, ""), "media/images/buttons/button_small_%s.png" % name,
                    "small blank %s button, for a Label laid on top" % name, G_BUTTON)
    for name, base, glyph in ROUND_BUTTONS:
        save_frames(round_button(44, base, glyph), "media/images/buttons/button_round_%s.png" % name,
                    "round icon button (%s)" % name, G_BUTTON)


# ---------------------------------------------------------------- switches and slider

def checkbox_frames(size=32):
    frames = []
    for checked in (False, True):
        for state in STATES:
            s, c = new_surface(size, size)
            col = state_colour(CREAM, state)
            rim = state_colour(CARAMEL_DARK, state)
            off = 1 if state == "pressed" else 0
            rounded_rect(c, 3, 3 + off, size - 6, size - 6, 7)
            c.set_source(vertical_gradient(3, size - 3, [(0, darker(col, 0.12)), (1, SUGAR)]))
            c.fill_preserve()
            c.set_source_rgba(*rim)
            c.set_line_width(2.2)
            c.stroke()
            if state == "over":
                rounded_rect(c, 1.5, 1.5 + off, size - 3, size - 3, 8)
                c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.8))
                c.set_line_width(1.5)
                c.stroke()
            if checked:
                tick = state_colour(RASPBERRY, state)
                c.move_to(size * 0.26, size * 0.5 + off)
                c.line_to(size * 0.45, size * 0.7 + off)
                c.line_to(size * 0.8, size * 0.22 + off)
                c.set_line_cap(cairo.LINE_CAP_ROUND)
                c.set_line_join(cairo.LINE_JOIN_ROUND)
                c.set_source_rgba(*darker(tick, 0.45))
                c.set_line_width(6.5)
                c.stroke_preserve()
                c.set_source_rgba(*tick)
                c.set_line_width(4)
                c.stroke()
            frames.append(s)
    return frames


def radio_frames(size=32):
    frames = []
    for checked in (False, True):
        for state in STATES:
            s, c = new_surface(size, size)
            col = state_colour(CREAM, state)
            rim = state_colour(CARAMEL_DARK, state)
            off = 1 if state == "pressed" else 0
            cx, cy, r = size / 2.0, size / 2.0 + off, size / 2.0 - 3.5
            ellipse(c, cx, cy, r, r)
            c.set_source(vertical_gradient(cy - r, cy + r, [(0, darker(col, 0.12)), (1, SUGAR)]))
            c.fill_preserve()
            c.set_source_rgba(*rim)
            c.set_line_width(2.2)
            c.stroke()
            if state == "over":
                ellipse(c, cx, cy, r + 2, r + 2)
                c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.8))
                c.set_line_width(1.5)
                c.stroke()
            if checked:
                dot = state_colour(RASPBERRY, state)
                glossy(c, lambda cc: ellipse(cc, cx, cy, r * 0.5, r * 0.5), dot,
                       (cx - r * 0.5, cy - r * 0.5, r, r), line=1.2, highlight=0.6)
            frames.append(s)
    return frames


def slider_track(w=220, h=24):
    s, c = new_surface(w, h)
    rounded_rect(c, 2, h / 2.0 - 6, w - 4, 12, 6)
    c.set_source(vertical_gradient(h / 2.0 - 6, h / 2.0 + 6, [(0, darker(CARAMEL, 0.35)), (1, CARAMEL_LIGHT)]))
    c.fill_preserve()
    c.set_source_rgba(*CARAMEL_DARK)
    c.set_line_width(1.6)
    c.stroke()
    # tick marks at every tenth, the steps of the slider's buttons
    for i in range(11):
        x = 12 + (w - 24) * i / 10.0
        c.move_to(x, h / 2.0 - 2)
        c.line_to(x, h / 2.0 + 2)
        c.set_source_rgba(1, 0.95, 0.85, 0.6)
        c.set_line_width(1.2)
        c.stroke()
    return s


def slider_thumb(w=24, h=28):
    frames = []
    for state in STATES:
        s, c = new_surface(w, h)
        col = state_colour(RASPBERRY, state)
        off = 1 if state == "pressed" else 0

        def shape(cc):
            rounded_rect(cc, 3, 2 + off, w - 6, h - 5, 8)
        if state != "disabled":
            rounded_rect(c, 3, 4 + off, w - 6, h - 5, 8)
            c.set_source_rgba(0.2, 0.08, 0.04, 0.3)
            c.fill()
        glossy(c, shape, col, (3, 2, w - 6, h - 5), line=1.8, highlight=0.6)
        for dy in (-4, 0, 4):
            c.move_to(w / 2.0 - 4, h / 2.0 + dy + off)
            c.line_to(w / 2.0 + 4, h / 2.0 + dy + off)
        c.set_source_rgba(1, 1, 1, 0.55)
        c.set_line_width(1.3)
        c.stroke()
        if state == "over":
            rounded_rect(c, 1.5, 0.5 + off, w - 3, h - 2, 9)
            c.set_source_rgba(1.0, 0.95, 0.7, 0.85)
            c.set_line_width(1.3)
            c.stroke()
        frames.append(s)
    return frames


def make_widgets():
    save_frames(checkbox_frames(), "media/images/widgets/checkbox.png",
                "Switch picture for a check box", G_WIDGET,
                "frames 0-3 unchecked normal/over/pressed/disabled, 4-7 the same checked")
    save_frames(radio_frames(), "media/images/widgets/radio.png",
                "Switch picture for a radio button (with \"groupid\")", G_WIDGET,
                "frames 0-3 unchecked normal/over/pressed/disabled, 4-7 the same checked")
    save_png(slider_track(), "media/images/widgets/slider_track.png",
             "Slider track (\"image\" of the Slider); the thumb travels its width minus the thumb's",
             "1 frame; tick marks every tenth", G_WIDGET)
    save_frames(slider_thumb(), "media/images/widgets/slider_thumb.png",
                "Slider thumb (\"button\" node, a Button)", G_WIDGET)
    save_frames(square_button(24, 24, CARAMEL, "minus"), "media/images/widgets/slider_dec.png",
                "Slider step-down button (\"decbutton\")", G_WIDGET)
    save_frames(square_button(24, 24, CARAMEL, "plus"), "media/images/widgets/slider_inc.png",
                "Slider step-up button (\"incbutton\")", G_WIDGET)


def make_fsh():
    for name, base, glyph in (("button_quit", RASPBERRY, "close"), ("button_restore", CARAMEL, "restore"),
                              ("button_minimize", CARAMEL, "minimize")):
        save_frames(square_button(32, 28, base, glyph), "media/images/fsh/%s.png" % name,
                    "full-screen handler \"%s\" (laid right to left from the handler's x)" % name, G_FSH)


# ---------------------------------------------------------------- dialog frames

def frame_master(W, H, border, radius, body_top, body_bottom, rim, rim_light, lace=True):
    """Draws a whole dialog frame at W × H; the nine pieces are cut out of it."""
    s, c = new_surface(W, H)
    # soft outer shadow
    for i in range(6, 0, -1):
        rounded_rect(c, 6 - i * 0.5 + 1, 6 - i * 0.5 + 3, W - 12 + i - 2, H - 12 + i - 2, radius + i * 0.5)
        c.set_source_rgba(0.2, 0.08, 0.04, 0.045)
        c.fill()
    # rim band
    rounded_rect(c, 4, 4, W - 8, H - 8, radius)
    c.set_source(vertical_gradient(0, H, [(0, lighter(rim, 0.25)), (1, darker(rim, 0.2))]))
    c.fill_preserve()
    c.set_source_rgba(*darker(rim, 0.55))
    c.set_line_width(2.4)
    c.stroke()
    rounded_rect(c, 7, 7, W - 14, H - 14, radius - 3)
    c.set_source_rgba(*with_alpha(rim_light, 0.7))
    c.set_line_width(1.4)
    c.stroke()
    # body
    inset = border - 10
    rounded_rect(c, inset, inset, W - 2 * inset, H - 2 * inset, max(4, radius - inset + 4))
    c.set_source_rgba(*body_bottom)
    c.fill_preserve()
    c.set_source_rgba(*darker(rim, 0.4))
    c.set_line_width(1.6)
    c.stroke()
    if lace:
        # a row of piped dots on the rim, the pastry-bag touch
        step = 12.0
        r_mid = (4 + inset) / 2.0 + 0.5
        for x in frange(radius + 6, W - radius - 6, step):
            for y in (r_mid, H - r_mid):
                dot(c, x, y)
        for y in frange(radius + 6, H - radius - 6, step):
            for x in (r_mid, W - r_mid):
                dot(c, x, y)
    return s


def frange(a, b, step):
    x = a
    out = []
    while x <= b + 1e-6:
        out.append(x)
        x += step
    return out


def dot(c, x, y):
    ellipse(c, x, y, 2.1, 2.1)
    c.set_source_rgba(1.0, 0.97, 0.9, 0.85)
    c.fill()


def cut(master, x, y, w, h):
    s, c = new_surface(w, h)
    c.set_source_surface(master, -x, -y)
    c.paint()
    return s


def save_pieces(master, border, tile, prefix, purpose, centre_size=None, centre_from=None):
    """Cuts the nine painter pieces (indices 0-8) of a frame master; edges are `tile` long so
    that they repeat seamlessly along the straight part of the rim."""
    W, H = master.get_width(), master.get_height()
    b = border
    mx, my = W // 2, H // 2
    pieces = [
        ("tl", cut(master, 0, 0, b, b)), ("t", cut(master, mx, 0, tile, b)), ("tr", cut(master, W - b, 0, b, b)),
        ("l", cut(master, 0, my, b, tile)), None, ("r", cut(master, W - b, my, b, tile)),
        ("bl", cut(master, 0, H - b, b, b)), ("b", cut(master, mx, H - b, tile, b)), ("br", cut(master, W - b, H - b, b, b)),
    ]
    names = ["top-left corner", "top edge (tiled)", "top-right corner", "left edge (tiled)", "centre",
             "right edge (tiled)", "bottom-left corner", "bottom edge (tiled)", "bottom-right corner"]
    for i, p in enumerate(pieces):
        if p is None:
            continue
        key, surf = p
        save_png(surf, "%s_%s.png" % (prefix, key), "%s, piece %d: %s" % (purpose, i, names[i]),
                 "1 frame", G_DIALOG)


def dialog_centre(w, h, seed):
    s, c = new_surface(w, h)
    c.set_source_rgba(*CREAM)
    c.paint()
    # faint sugar speckles and a damask of tiny hearts, barely visible under text
    sprinkle_noise(c, w, h, 900, seed, [with_alpha(CARAMEL_LIGHT, 0.14), with_alpha(CREAM_DARK, 0.35)], 0.5, 1.3)
    for j, y in enumerate(range(24, h, 48)):
        for x in range(24 + (24 if j % 2 else 0), w, 48):
            heart_path(c, x, y, 3.2)
            c.set_source_rgba(*with_alpha(RASPBERRY_LIGHT, 0.08))
            c.fill()
    return s


def tiled_centre(size, colour):
    s, c = new_surface(size, size)
    c.set_source_rgba(*colour)
    c.paint()
    return s


def eiffel_decoration():
    """The decoration in the lower right corner of default dialogs: a faint three-tier cake."""
    w, h = 120, 150
    s, c = new_surface(96, 120)
    c.scale(0.8, 0.8)
    c.push_group()
    tiers = [(60, 128, 104, 34), (60, 94, 80, 30), (60, 64, 56, 26)]
    for cx, by, tw, th in tiers:
        def shape(cc, cx=cx, by=by, tw=tw, th=th):
            rounded_rect(cc, cx - tw / 2.0, by - th, tw, th, 7)
        glossy(c, shape, CARAMEL_LIGHT, (cx - tw / 2.0, by - th, tw, th), line=2, highlight=0.4)
        # icing drips
        c.new_path()
        c.move_to(cx - tw / 2.0 + 2, by - th + 6)
        n = 6
        for i in range(n):
            x0 = cx - tw / 2.0 + 2 + (tw - 4) * i / n
            x1 = cx - tw / 2.0 + 2 + (tw - 4) * (i + 1) / n
            c.curve_to(x0 + 2, by - th + 14, x1 - 2, by - th + 14, x1, by - th + 6)
        c.line_to(cx + tw / 2.0 - 2, by - th + 2)
        c.line_to(cx - tw / 2.0 + 2, by - th + 2)
        c.close_path()
        c.set_source_rgba(*SUGAR)
        c.fill()
    # a cherry on top
    glossy(c, lambda cc: ellipse(cc, 60, 30, 8, 8), RASPBERRY, (52, 22, 16, 16), line=1.5)
    c.move_to(60, 22)
    c.curve_to(62, 14, 68, 10, 72, 8)
    c.set_source_rgba(*PISTACHIO_DARK)
    c.set_line_width(2)
    c.stroke()
    c.pop_group_to_source()
    c.paint_with_alpha(0.26)
    return s


def tooltip_master():
    return frame_master(96, 64, 12, 9, SUGAR, CREAM, CARAMEL_LIGHT, SUGAR, lace=False)


def make_dialog_frames():
    # default dialog frame: 36-pixel pieces so the painter's centre inset (36) meets the rim
    master = frame_master(240, 200, 36, 26, SUGAR, CREAM, RASPBERRY, RASPBERRY_LIGHT)
    save_pieces(master, 36, 12, "media/images/dialogs/frame", "default dialog frame (DefaultDialogPainter)")
    save_png(dialog_centre(728, 528, 91), "media/images/dialogs/frame_c.png",
             "default dialog frame, piece 4: centre, drawn once at (36, 36) and cut to W-72 × H-72; "
             "fits dialogs up to 800 × 600", "1 frame", G_DIALOG)
    # arcade/alternative frame in pistachio
    master = frame_master(240, 200, 36, 26, SUGAR, CREAM, PISTACHIO, hexlight(PISTACHIO))
    save_pieces(master, 36, 12, "media/images/dialogs/frame_green", "pistachio dialog frame (e.g. ARCADE_PAINTER)")
    # hint bubble: a thinner, caramel rim; no centre piece (use "centercolor" 0xFFFFF8EC)
    master = frame_master(160, 140, 24, 18, SUGAR, CREAM, CARAMEL, CARAMEL_LIGHT, lace=False)
    save_pieces(master, 24, 8, "media/images/dialogs/hint", "hint bubble frame (DialogHintPainter / DialogHintHenriPainter)")
    save_png(tiled_centre(24, CREAM), "media/images/dialogs/hint_c.png",
             "hint bubble, piece 4: centre tile (tiled by DialogHintHenriPainter); "
             "for DialogHintPainter leave it out and use \"centercolor\" 0xFFFFF4E0", "1 frame", G_DIALOG)
    for name, idx in (("top", 9), ("left", 12)):
        save_png(hint_connector(name), "media/images/dialogs/hint_connector_%s.png" % name,
                 "hint bubble, piece %d: connector \"%s\" (the bubble's pointer)" % (idx, name), "1 frame", G_DIALOG)
    make_speech_pieces()
    save_pieces(tooltip_master(), 12, 8, "media/images/dialogs/tooltip", "tooltip frame (DEFAULT_TOOLTIP)")
    save_png(tiled_centre(8, CREAM), "media/images/dialogs/tooltip_c.png",
             "tooltip frame, piece 4: centre tile (or leave it out and use \"centercolor\" 0xFFFFF4E0)",
             "1 frame", G_DIALOG)
    save_png(eiffel_decoration(), "media/images/dialogs/eiffeltower.png",
             "\"EIFFELTOWER\": faint three-tier cake drawn in the lower right of default dialogs "
             "(suggested DEFAULTDIALOG_EIFFEL_OFFSETX 30, DEFAULTDIALOG_EIFFEL_OFFSETY 30)", "1 frame", G_DIALOG)
    save_png(dim_overlay(), "media/images/dialogs/dim.png",
             "translucent chocolate 8×8 tile for darkening the scene behind a dialog", "1 frame", G_DIALOG)


# The speech bubble (chef's hints, the customer's words, tool hints) stands on a clear band
# at its bottom, into which its tail reaches: the bottom pieces are the hint frame's bottom
# row plus the band, and the tail pieces replace a stretch of that row and band.
SPEECH_BORDER = 24
SPEECH_BAND = 28
SPEECH_TAIL_W = 56


def speech_master(W, H, tail_at=None):
    """The speech bubble over W × H, its body ending SPEECH_BAND above the bottom; with
    `tail_at`, a tail leaves its bottom rim at x = tail_at and ends in a tip near the
    lower left corner of the band."""
    border, radius, band = SPEECH_BORDER, 18, SPEECH_BAND
    rim, rim_light = CARAMEL, CARAMEL_LIGHT
    hb = H - band
    s, c = new_surface(W, H)
    for i in range(6, 0, -1):
        rounded_rect(c, 6 - i * 0.5 + 1, 6 - i * 0.5 + 3, W - 12 + i - 2, hb - 12 + i - 2, radius + i * 0.5)
        c.set_source_rgba(0.2, 0.08, 0.04, 0.045)
        c.fill()

    def tail(cc, inner):
        # clockwise, as the rounded rectangle, so that both fill as one shape; the inner
        # tail is the cream that opens the rim into the tail
        a = tail_at
        k = 6 if inner else 0
        cc.new_sub_path()
        cc.move_to(a + 6 + k, hb - 22)
        cc.line_to(a + 42 - k, hb - 22)
        cc.line_to(a + 42 - k, hb - 4 - k)
        cc.curve_to(a + 30 - k, hb + 6, a + 12, hb + 16 - k, a - 2 + k * 1.2, H - 3 - k * 1.4)
        cc.curve_to(a + 6 + k * 0.6, hb + 10, a + 6 + k, hb + 2, a + 6 + k, hb - 4 - k)
        cc.close_path()

    def rim_shape(cc):
        rounded_rect(cc, 4, 4, W - 8, hb - 8, radius)
        if tail_at is not None:
            tail(cc, False)

    def body_shape(cc):
        inset = border - 10
        rounded_rect(cc, inset, inset, W - 2 * inset, hb - 2 * inset, max(4, radius - inset + 4))
        if tail_at is not None:
            tail(cc, True)

    # outline under the fill: only its outer half stays, so rim and tail share one outline
    rim_shape(c)
    c.set_source_rgba(*darker(rim, 0.55))
    c.set_line_width(4.8)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.stroke()
    rim_shape(c)
    c.set_source(vertical_gradient(0, hb, [(0, lighter(rim, 0.25)), (1, darker(rim, 0.2))]))
    c.fill()
    rounded_rect(c, 7, 7, W - 14, hb - 14, radius - 3)
    c.set_source_rgba(*with_alpha(rim_light, 0.7))
    c.set_line_width(1.4)
    c.stroke()
    body_shape(c)
    c.set_source_rgba(*darker(rim, 0.4))
    c.set_line_width(3.2)
    c.stroke()
    body_shape(c)
    c.set_source_rgba(*CREAM)
    c.fill()
    return s


def mirrored_surface(src):
    w, h = src.get_width(), src.get_height()
    s, c = new_surface(w, h)
    c.translate(w, 0)
    c.scale(-1, 1)
    c.set_source_surface(src, 0, 0)
    c.paint()
    return s


def make_speech_pieces():
    W, H = 200, 140
    b, band, tw = SPEECH_BORDER, SPEECH_BAND, SPEECH_TAIL_W
    plain = speech_master(W, H)
    hb = H - band
    for i, piece in enumerate((
            ("tl", 0, 0, b, b, "top-left corner"), ("t", W // 2, 0, 8, b, "top edge (tiled)"),
            ("tr", W - b, 0, b, b, "top-right corner"), ("l", 0, hb // 2, b, 8, "left edge (tiled)"), None,
            ("r", W - b, hb // 2, b, 8, "right edge (tiled)"),
            ("bl", 0, H - b - band, b, b + band, "bottom-left corner over the clear band"),
            ("b", W // 2, H - b - band, 8, b + band, "bottom edge over the clear band (tiled)"),
            ("br", W - b, H - b - band, b, b + band, "bottom-right corner over the clear band"))):
        if piece is None:
            continue
        key, x, y, w, h, what = piece
        save_png(cut(plain, x, y, w, h), "media/images/dialogs/speech_%s.png" % key,
                 "\"DIALOG_SPEECH_%s\": speech bubble, piece %d: %s (its body ends %d px above the bottom; "
                 "the tail reaches into that band)" % (key.upper(), i, what, band), "1 frame", G_DIALOG)
    left = speech_master(W, H, tail_at=b + 8)
    save_png(cut(left, b, H - b - band, tw, b + band), "media/images/dialogs/hint_connector_bottomleft.png",
             "\"DIALOG_HINT_CONNECTOR_BOTTOMLEFT\": speech bubble, piece 10: the tail towards the lower left, "
             "drawn at (bottom-left corner's width, H - its height) over the speech bottom row", "1 frame", G_DIALOG)
    right = mirrored_surface(left)
    save_png(cut(right, W - b - tw, H - b - band, tw, b + band), "media/images/dialogs/hint_connector_bottomright.png",
             "\"DIALOG_HINT_CONNECTOR_BOTTOMRIGHT\": speech bubble, piece 11: the tail towards the lower right, "
             "drawn at (W - its width - bottom-right corner's width, H - its height)", "1 frame", G_DIALOG)
    # a look at the whole bubble with each tail, for the contact sheet reader
    return plain, left, right


def hexlight(c):
    return lighter(c, 0.4)


def hint_connector(kind):
    """The bubble's pointer, drawn to overlap the rim it sits on by its rim band."""
    if kind in ("top",):
        w, h = 40, 44
    elif kind == "left":
        w, h = 44, 40
    else:
        w, h = 48, 48
    s, c = new_surface(w, h)
    rim = CARAMEL

    fill_col = CREAM
    outline = darker(rim, 0.55)
    if kind == "top":
        body = [(4, h), (4, 5), (w / 2.0 - 9, 5), (w / 2.0, 0), (w / 2.0 + 9, 5), (w - 4, 5), (w - 4, h)]
        sides = [body[1:6]]
    elif kind == "left":
        body = [(w, 4), (5, 4), (5, h / 2.0 - 9), (0, h / 2.0), (5, h / 2.0 + 9), (5, h - 4), (w, h - 4)]
        sides = [body[1:6]]
    elif kind == "bottomleft":
        body = [(8, 0), (w - 8, 0), (w - 8, 38), (28, 40), (8, h - 1), (14, 38), (8, 38)]
        sides = [[(w - 8, 41), (28, 41), (8, h - 1), (14, 41)]]
    else:
        body = [(8, 0), (w - 8, 0), (w - 8, 38), (w - 14, 38), (w - 8, h - 1), (w - 28, 40), (8, 38)]
        sides = [[(w - 14, 41), (w - 8, h - 1), (w - 28, 41), (8, 41)]]
    c.new_path()
    c.move_to(*body[0])
    for p in body[1:]:
        c.line_to(*p)
    c.close_path()
    c.set_source_rgba(*fill_col)
    c.fill()
    for line in sides:
        c.move_to(*line[0])
        for p in line[1:]:
            c.line_to(*p)
        c.set_source_rgba(*outline)
        c.set_line_width(2.4)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.stroke()
    return s


def polygon_rounded(c, pts):
    from common import polygon
    polygon(c, pts, 0.2)


def dim_overlay():
    s, c = new_surface(8, 8)
    c.set_source_rgba(0.16, 0.07, 0.04, 0.45)
    c.paint()
    return s


# ---------------------------------------------------------------- icon

def window_icon(size):
    s, c = new_surface(size, size)
    k = size / 64.0
    c.scale(k, k)
    # a round tart under a crescent moon
    glossy(c, lambda cc: ellipse(cc, 32, 34, 28, 28), TWILIGHT_ICON, (4, 6, 56, 56), line=2.5, highlight=0.25)
    star_path(c, 16, 20, 3, 1.3, 4)
    c.set_source_rgba(1, 1, 0.85, 0.9)
    c.fill()
    star_path(c, 48, 16, 2.2, 1, 4)
    c.fill()
    # crescent
    c.save()
    ellipse(c, 38, 22, 12, 12)
    ellipse(c, 44, 18, 10.5, 10.5)
    c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    c.set_source_rgba(*LEMON)
    c.fill()
    c.restore()
    # tart
    def crust(cc):
        ellipse(cc, 30, 44, 22, 11)
    glossy(c, crust, CARAMEL, (8, 33, 44, 22), line=2.2, highlight=0.3)
    ellipse(c, 30, 42, 17, 7)
    c.set_source(radial(26, 40, 18, [(0, RASPBERRY_LIGHT), (1, RASPBERRY)]))
    c.fill()
    for x, y in ((22, 41), (30, 40), (38, 42), (27, 45), (35, 45)):
        glossy(c, lambda cc, x=x, y=y: ellipse(cc, x, y, 3.2, 3.2), RASPBERRY, (x - 3, y - 3, 6, 6), line=1, highlight=0.6)
    return s


TWILIGHT_ICON = mix((0.18, 0.18, 0.42, 1.0), (0.45, 0.35, 0.7, 1.0), 0.4)


def make_icon():
    save_png(window_icon(64), "media/images/icon.png", "window icon", "1 frame", G_ICON)
    save_png(window_icon(32), "media/images/icon32.png", "window icon, small", "1 frame", G_ICON)


def main():
    make_dialog_frames()
    make_buttons()
    make_widgets()
    make_fsh()
    make_icon()


if __name__ == "__main__":
    main()
