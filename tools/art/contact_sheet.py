"""Writes contact sheets of the generated art into a folder (the build folder by default):
every PNG of a media folder laid out on a cream and a dark backdrop with its name, so the
pictures can be judged side by side."""

import glob
import os
import sys

import cairo

from common import ROOT

GROUPS = [
    ("dialogs", ["media/images/dialogs/*.png"]),
    ("buttons", ["media/images/buttons/*.png", "media/images/widgets/*.png", "media/images/fsh/*.png",
                 "media/images/icon*.png"]),
    ("load", ["media/images/load/*.png"]),
    ("board", ["media/images/game/tiles/*.png", "media/images/game/*.png", "media/images/game/icons/*.png"]),
    ("pastries", ["media/images/game/pastries/*.png"]),
    ("customers", ["media/images/game/customers/*.png"]),
    ("map", ["media/images/map/*.png"]),
    ("arcade", ["media/images/arcade/*.png"]),
    ("selection", ["media/images/selection/*.png", "media/images/toolshop/*.png"]),
    ("tools", ["media/images/tools/*.png", "media/images/trophies/*.png", "media/images/effects/*.png"]),
    ("backgrounds", ["media/images/*/*.jpg"]),
    ("fonts", ["media/fonts/*.png", "media/fonts/*/*.png"]),
    ("splash", ["splash/*.png", "splash/*.jpg"]),
]


def load(path):
    if path.endswith(".png"):
        return cairo.ImageSurface.create_from_png(path)
    from PIL import Image
    im = Image.open(path).convert("RGBA")
    import array
    data = bytearray(im.tobytes("raw", "BGRA"))
    s = cairo.ImageSurface.create_for_data(data, cairo.FORMAT_ARGB32, im.width, im.height, im.width * 4)
    return s


def sheet(name, patterns, out_dir, max_w=1600, dark=False):
    files = []
    for p in patterns:
        files += sorted(glob.glob(os.path.join(ROOT, p)))
    if not files:
        return None
    items = []
    for f in files:
        s = load(f)
        scale = 1.0
        if s.get_width() > 780 or s.get_height() > 900:
            scale = min(780.0 / s.get_width(), 900.0 / s.get_height())
        items.append((os.path.relpath(f, ROOT), s, scale))
    # shelf packing
    x, y, shelf = 10, 10, 0
    places = []
    for rel, s, scale in items:
        w = int(s.get_width() * scale) + 20
        h = int(s.get_height() * scale) + 34
        w = max(w, 120)
        if x + w > max_w:
            x, y, shelf = 10, y + shelf, 0
        places.append((x, y))
        x += w
        shelf = max(shelf, h)
    total_h = y + shelf + 10
    out = cairo.ImageSurface(cairo.FORMAT_ARGB32, max_w, total_h)
    c = cairo.Context(out)
    c.set_source_rgb(*((0.22, 0.14, 0.12) if dark else (1.0, 0.96, 0.9)))
    c.paint()
    c.select_font_face("DejaVu Sans", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
    c.set_font_size(10)
    for (rel, s, scale), (px, py) in zip(items, places):
        c.save()
        c.translate(px + 10, py + 4)
        c.scale(scale, scale)
        c.set_source_surface(s, 0, 0)
        c.paint()
        c.restore()
        c.move_to(px + 10, py + 4 + s.get_height() * scale + 16)
        c.set_source_rgb(*((0.95, 0.9, 0.85) if dark else (0.3, 0.2, 0.15)))
        c.show_text(os.path.basename(rel))
    path = os.path.join(out_dir, "contact_%s%s.png" % (name, "_dark" if dark else ""))
    out.write_to_png(path)
    return path


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "contact")
    os.makedirs(out_dir, exist_ok=True)
    for name, patterns in GROUPS:
        for dark in (False, True):
            p = sheet(name, patterns, out_dir, dark=dark)
            if p:
                print(p)
    import previews
    for p in previews.render(out_dir):
        print(p)


if __name__ == "__main__":
    main()
