"""Pieces of the game's ready-made effects: tumbling confetti for the results dialogs, star
confetti for the frenzy, and the sparkle that the star emitters throw. Confetti frames show
one piece turning over in the air (27 frames, one full tumble); star confetti turns and
flashes (4 frames); the sparkle flares up and fades (14 frames, played once)."""

import math

from common import (CARAMEL_LIGHT, LAVENDER, LEMON, PISTACHIO, PISTACHIO_LIGHT, RASPBERRY,
                    RASPBERRY_LIGHT, darker, ellipse, lighter, new_surface, radial, rounded_rect,
                    rounded_star_path, save_frames, star_path)

D = "Effects (section \"dialogs\")"
G = "Effects (section \"scenegame\")"

# Front and back colour of each confetti variant; the back shows while the piece is flipped.
CONFETTI_COLOURS = [(RASPBERRY, RASPBERRY_LIGHT), (LEMON, CARAMEL_LIGHT), (PISTACHIO, PISTACHIO_LIGHT)]
# The ribbon curl is the one piece the game's end throws on its own: it shows a
# new colour at each turn over, so that a shower of them is as gay as the mixed
# bursts of the results (each piece starts at a random frame).
RIBBON_COLOURS = [PISTACHIO, RASPBERRY_LIGHT, LEMON, LAVENDER]
CONFETTI_FRAMES = 27


def confetti_piece_frames(kind, size):
    """One piece tumbling: it spins in the plane and flips about its long axis."""
    front, back = CONFETTI_COLOURS[kind]
    frames = []
    for i in range(CONFETTI_FRAMES):
        s, c = new_surface(size, size)
        t = i / float(CONFETTI_FRAMES)
        spin = t * 2 * math.pi + kind * 0.7
        flip = math.cos(t * 4 * math.pi)
        col = front if flip >= 0 else back
        if kind == 2:
            col = RIBBON_COLOURS[int(((t + 0.125) % 1.0) * 4) % 4]
        shade = 0.25 * (1 - abs(flip))
        c.translate(size / 2.0, size / 2.0)
        c.rotate(spin)
        c.scale(1.0, max(abs(flip), 0.12))
        if kind == 0:
            rounded_rect(c, -size * 0.38, -size * 0.22, size * 0.76, size * 0.44, size * 0.06)
        elif kind == 1:
            ellipse(c, 0, 0, size * 0.34, size * 0.34)
        else:
            # a little ribbon curl
            c.new_sub_path()
            w = size * 0.4
            c.move_to(-w, -size * 0.08)
            c.curve_to(-w * 0.4, -size * 0.34, w * 0.2, size * 0.2, w, -size * 0.08)
            c.line_to(w, size * 0.12)
            c.curve_to(w * 0.2, size * 0.4, -w * 0.4, -size * 0.14, -w, size * 0.12)
            c.close_path()
        c.set_source_rgba(*darker(col, shade))
        c.fill_preserve()
        c.set_source_rgba(*darker(col, 0.35))
        c.set_line_width(max(size / 16.0, 0.8))
        c.stroke()
        frames.append(s)
    return frames


def star_confetti_frames(kind, size):
    """A little candy star that turns a fifth of a circle and flashes once over 4 frames."""
    base = LEMON if kind == 0 else RASPBERRY_LIGHT
    frames = []
    for i in range(4):
        s, c = new_surface(size, size)
        cx = cy = size / 2.0
        rot = -math.pi / 2 + i * (2 * math.pi / 5) / 4
        squash = 0.65 + 0.35 * math.cos(i * math.pi / 2)
        c.save()
        c.translate(cx, cy)
        c.scale(squash, 1.0)
        rounded_star_path(c, 0, 0, size * 0.46, size * 0.2, 5, rot)
        c.set_source(radial(-size * 0.1, -size * 0.12, size * 0.5, [(0, lighter(base, 0.6)), (1, base)]))
        c.fill_preserve()
        c.set_source_rgba(*darker(base, 0.4))
        c.set_line_width(max(size / 14.0, 1.0))
        c.stroke()
        c.restore()
        if i == 1:
            star_path(c, cx + size * 0.12, cy - size * 0.14, size * 0.18, size * 0.03, 4, 0)
            c.set_source_rgba(1, 1, 1, 0.95)
            c.fill()
        frames.append(s)
    return frames


def sparkle_frames(n=14, size=32):
    """A four-pointed flare that grows, turns a little and fades, with a soft glow."""
    frames = []
    for i in range(n):
        s, c = new_surface(size, size)
        t = (i + 0.5) / n
        grow = math.sin(min(t * 1.6, 1.0) * math.pi / 2)
        fade = 1.0 if t < 0.55 else max(0.0, 1 - (t - 0.55) / 0.45)
        r = size * 0.47 * grow
        cx = cy = size / 2.0
        ellipse(c, cx, cy, r * 0.75, r * 0.75)
        c.set_source(radial(cx, cy, max(r * 0.75, 0.1), [(0, (1, 0.85, 0.35, 0.6 * fade)), (1, (1, 0.7, 0.2, 0))]))
        c.fill()
        # golden rays with a caramel rim, so the sparkle reads on cream as well as on dark
        star_path(c, cx, cy, r, r * 0.14, 4, t * math.pi / 4)
        c.set_source_rgba(0.85, 0.52, 0.16, 0.8 * fade)
        c.set_line_width(1.2)
        c.stroke_preserve()
        c.set_source_rgba(1.0, 0.86, 0.3, 0.97 * fade)
        c.fill()
        star_path(c, cx, cy, r * 0.55, r * 0.1, 4, t * math.pi / 4 + math.pi / 4)
        c.set_source_rgba(1, 1, 1, 0.9 * fade)
        c.fill()
        frames.append(s)
    return frames


def main():
    for kind in range(3):
        save_frames(confetti_piece_frames(kind, 18), "media/images/dialogs/confetti%d.png" % kind,
                    "\"CONFETTI%d\": a confetti piece tumbling (results dialogs' bursts)" % kind, D)
        save_frames(confetti_piece_frames(kind, 11), "media/images/dialogs/confettismall%d.png" % kind,
                    "\"CONFETTISMALL%d\": a small confetti piece tumbling" % kind, D)
    for kind in range(2):
        save_frames(star_confetti_frames(kind, 24), "media/images/dialogs/confettistars%d.png" % kind,
                    "\"CONFETTISTARS%d\": a star confetti piece turning and flashing (frenzy)" % kind, D)
        save_frames(star_confetti_frames(kind, 15), "media/images/dialogs/confettistarssmall%d.png" % kind,
                    "\"CONFETTISTARSSMALL%d\": a small star confetti piece" % kind, D)
    save_frames(sparkle_frames(), "media/images/game/sparkle_medium.png",
                "\"SPARKLE_MEDIUM\": a sparkle flaring up and fading, played once (star emitters)", G)
