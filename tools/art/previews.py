"""Composed previews for the contact sheets: a dialog assembled from its painter pieces the
way the game's painters tile them, and the loading scene's title at its start and end."""

import os

import cairo

from common import ROOT, plain_text, FONT_SANS, FONT_SERIF


def img(rel):
    path = os.path.join(ROOT, rel)
    return cairo.ImageSurface.create_from_png(path) if os.path.exists(path) else None


def tile(c, im, x, y, w, h):
    if im is None:
        return
    c.save()
    c.rectangle(x, y, w, h)
    c.clip()
    yy = y
    while yy < y + h:
        xx = x
        while xx < x + w:
            c.set_source_surface(im, xx, yy)
            c.paint()
            xx += im.get_width()
        yy += im.get_height()
    c.restore()


def paint_dialog(c, ox, oy, W, H, prefix, centre_inset=36, tiled_centre=False, eiffel=True):
    p = [img("%s_%s.png" % (prefix, k)) for k in ("tl", "t", "tr", "l", "c", "r", "bl", "b", "br")]
    wh = [(q.get_width(), q.get_height()) if q else (0, 0) for q in p]
    c.save()
    c.translate(ox, oy)
    c.rectangle(0, 0, W, H)
    c.clip()
    if p[4] is not None:
        if tiled_centre:
            tile(c, p[4], wh[3][0], wh[1][1], W - wh[5][0] - wh[3][0], H - wh[7][1] - wh[1][1])
        else:
            c.save()
            c.rectangle(centre_inset, centre_inset, W - 2 * centre_inset, H - 2 * centre_inset)
            c.clip()
            c.set_source_surface(p[4], centre_inset, centre_inset)
            c.paint()
            c.restore()
    if eiffel:
        e = img("media/images/dialogs/eiffeltower.png")
        if e:
            c.set_source_surface(e, W - 30 - e.get_width(), H - 30 - e.get_height())
            c.paint()
    tile(c, p[1], wh[0][0], 0, W - wh[2][0] - wh[0][0], wh[1][1])
    tile(c, p[7], wh[6][0], H - wh[7][1], W - wh[8][0] - wh[6][0], wh[7][1])
    tile(c, p[3], 0, wh[0][1], wh[3][0], H - wh[6][1] - wh[0][1])
    tile(c, p[5], W - wh[5][0], wh[2][1], wh[5][0], H - wh[8][1] - wh[2][1])
    for q, (x, y) in ((p[0], (0, 0)), (p[2], (W - wh[2][0], 0)), (p[6], (0, H - wh[6][1])),
                      (p[8], (W - wh[8][0], H - wh[8][1]))):
        if q:
            c.set_source_surface(q, x, y)
            c.paint()
    c.restore()


def frame0(c, rel, x, y, frame=0, frames=4):
    im = img(rel)
    if im is None:
        return
    fh = im.get_height() // frames
    c.save()
    c.rectangle(x, y, im.get_width(), fh)
    c.clip()
    c.set_source_surface(im, x, y - frame * fh)
    c.paint()
    c.restore()


def dialogs(out_dir):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, 800, 600)
    c = cairo.Context(s)
    bg = img("media/images/load/layer0.png")
    c.set_source_rgb(0.55, 0.45, 0.6)
    c.paint()
    if bg:
        c.set_source_surface(bg, 0, -266)
        c.paint()
    c.set_source_rgba(0.16, 0.07, 0.04, 0.45)
    c.paint()
    paint_dialog(c, 190, 150, 420, 240, "media/images/dialogs/frame")
    if os.path.exists(os.path.join(ROOT, "media/fonts/header.xml")):
        head, body = BakedFont("media/fonts/header.xml"), BakedFont("media/fonts/dialog.xml")
        t = "Leave the bakery?"
        head.draw(c, t, 400 - head.width(t) // 2, 178)
        t = "Do you really want to quit?"
        body.draw(c, t, 400 - body.width(t) // 2, 238)
    else:
        plain_text(c, "Leave the bakery?", 400, 200, 24, (0.55, 0.12, 0.26, 1), FONT_SERIF, True)
        plain_text(c, "Do you really want to quit?", 400, 250, 16, (0.36, 0.2, 0.13, 1), FONT_SANS, False)
    frame0(c, "media/images/buttons/button_yes.png", 225, 305, 0)
    frame0(c, "media/images/buttons/button_no.png", 415, 305, 1)
    paint_dialog(c, 20, 20, 260, 110, "media/images/dialogs/hint", tiled_centre=True, eiffel=False)
    con = img("media/images/dialogs/hint_connector_bottomleft.png")
    if con:
        c.set_source_surface(con, 20 + 24, 20 + 110 - con.get_height())
        c.paint()
    plain_text(c, "Match three to bake!", 150, 75, 15, (0.36, 0.2, 0.13, 1), FONT_SANS, True)
    paint_dialog(c, 560, 40, 200, 40, "media/images/dialogs/tooltip", tiled_centre=True, eiffel=False)
    plain_text(c, "Settings", 660, 60, 13, (0.36, 0.2, 0.13, 1), FONT_SANS, False)
    for i, n in enumerate(("button_quit", "button_restore", "button_minimize")):
        frame0(c, "media/images/fsh/%s.png" % n, 800 - 32 * (i + 1) - 4, 4, 0)
    frame0(c, "media/images/widgets/checkbox.png", 240, 420, 4, 8)
    frame0(c, "media/images/widgets/radio.png", 280, 420, 5, 8)
    tr = img("media/images/widgets/slider_track.png")
    if tr:
        c.set_source_surface(tr, 340, 424)
        c.paint()
    frame0(c, "media/images/widgets/slider_thumb.png", 440, 422, 0)
    frame0(c, "media/images/widgets/slider_dec.png", 312, 424, 0)
    frame0(c, "media/images/widgets/slider_inc.png", 564, 424, 0)
    path = os.path.join(out_dir, "preview_dialogs.png")
    s.write_to_png(path)
    return path


def render(out_dir):
    out = [dialogs(out_dir)]
    if img("media/images/load/layer0.png") is not None:
        out += title(out_dir)
    if img("media/images/game/tiles/egg.png") is not None:
        out += board(out_dir)
    out += fonts(out_dir)
    out += stage(out_dir)
    return out


def title(out_dir):
    """The loading scene at the start of the pan and at its end, with the suggested places."""
    import gen_frontdoor as fd
    paths = []
    for name, ys, birds_y in (("start", (-17, 468, 552, 618), 390), ("end", (-266, 36, -3, -104), 141)):
        s = cairo.ImageSurface(cairo.FORMAT_ARGB32, 800, 600)
        c = cairo.Context(s)
        for i, y in enumerate(ys):
            im = img("media/images/load/layer%d.png" % i)
            if im:
                c.set_source_surface(im, 0, y)
                c.paint()
            if i == 2:
                frame0(c, "media/images/load/smoke.png", fd.CHIMNEY[0] + fd.CHIMNEY[2] // 2 - 28, fd.CHIMNEY[1] - 120 + y, 3, 8)
            if i == 3:
                dx, dy, dw, dh = fd.DOOR
                frame0(c, "media/images/load/door.png", dx, dy + y, 1 if name == "end" else 0)
                frame0(c, "media/images/load/pastry.png", fd.PASTRY_AT[0] - 50 + 22, fd.PASTRY_AT[1] - 84 + 52 + y, 2, 6)
                if name == "end":
                    frame0(c, "media/images/load/henri.png", dx - 4, dy + dh - 200 + y, 5, 8)
        for k, (bx, by) in enumerate(((0, 0), (52, -26), (-40, 18), (96, 12))):
            frame0(c, "media/images/load/bird%s.png" % ("2" if k % 2 else ""), 575 + bx, birds_y + by, k, 6)
        lg = img("media/images/load/logo.png")
        c.set_source_surface(lg, 160, 14)
        c.paint()
        if name == "start":
            for n in ("loading_bar_empty", "loading_bar_full"):
                im = img("media/images/load/%s.png" % n)
                c.save()
                c.rectangle(220, 540, im.get_width() * (0.6 if "full" in n else 1), 40)
                c.clip()
                c.set_source_surface(im, 220, 540)
                c.paint()
                c.restore()
        else:
            im = img("media/images/load/click_text.png")
            c.set_source_surface(im, 230, 540)
            c.paint()
        p = os.path.join(out_dir, "preview_title_%s.png" % name)
        s.write_to_png(p)
        paths.append(p)
    return paths


def board(out_dir):
    """An 8 × 8 board filled with every ingredient and a few bonuses, at play size and at 2×."""
    import random
    names = ["egg", "cream", "strawberry", "biscuit", "chocolate", "cherry", "lemon", "banana",
             "cherry_unripe", "banana_unripe"]
    bon = ["bonus_rowzap", "bonus_star1", "bonus_secret", "bonus_totalrefresh_arcade", "bonus_chocolatelover"]
    rnd = random.Random(4)
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, 440, 440)
    c = cairo.Context(s)
    c.set_source_rgb(0.98, 0.9, 0.82)
    c.paint()
    bb = img("media/images/game/board_back.png")
    if bb:
        c.set_source_surface(bb, 12, 12)
        c.paint()
    for gx in range(8):
        for gy in range(8):
            n = rnd.choice(names[:8]) if rnd.random() > 0.12 else rnd.choice(names[8:] + bon)
            path = "media/images/game/tiles/%s.png" % n
            im = img(path)
            if im:
                c.set_source_surface(im, 20 + gx * 50, 20 + gy * 50)
                c.paint()
    sel = img("media/images/game/selection.png")
    if sel:
        c.set_source_surface(sel, 20 + 3 * 50, 20 + 3 * 50)
        c.paint()
    p = os.path.join(out_dir, "preview_board.png")
    s.write_to_png(p)
    big = cairo.ImageSurface(cairo.FORMAT_ARGB32, 880, 880)
    bc = cairo.Context(big)
    bc.scale(2, 2)
    bc.set_source_surface(s, 0, 0)
    bc.get_source().set_filter(cairo.FILTER_NEAREST)
    bc.paint()
    p2 = os.path.join(out_dir, "preview_board_2x.png")
    big.write_to_png(p2)
    return [p, p2]


class BakedFont:
    """Reads a font of media/fonts (glyph table and layer sheets) to draw sample text the way
    the game's bitmap fonts do: layers from the last to the first, each glyph widened by the
    layer's padding."""

    def __init__(self, rel):
        import xml.etree.ElementTree as ET
        path = os.path.join(ROOT, rel)
        root = ET.parse(path).getroot()
        font = root.find("Font")
        self.spacing = int(font.get("charspacing", "0"))
        self.space = int(font.get("spacewidth", "8"))
        self.line_height = int(font.get("lineheight", "16"))
        self.glyphs = {}
        for i, ch in enumerate(font.find("Vector[@id='chars']")):
            self.glyphs[int(ch.get("c"))] = (i, int(ch.get("sx")), int(ch.get("sy")), int(ch.get("sw")),
                                             int(ch.get("sh")), int(ch.get("width")), int(ch.get("bx")),
                                             int(ch.get("by")))
        self.layers = []
        base = os.path.dirname(path)
        for layer in font.find("Vector[@id='layers']"):
            colour = int(layer.get("color", "#ffffffff").lstrip("#"), 16)
            name = layer.get("image") or layer.get("mask")
            self.layers.append((self._load(os.path.join(base, name), layer.get("mask") is not None, colour),
                                int(layer.get("padding", "0"))))

    @staticmethod
    def _load(path, is_mask, colour):
        from PIL import Image
        im = Image.open(path)
        if is_mask:
            a = im.convert("L")
            rgb = Image.new("RGBA", im.size, ((colour >> 16) & 255, (colour >> 8) & 255, colour & 255, 255))
            rgb.putalpha(a)
            im = rgb
        im = im.convert("RGBA")
        # cairo wants premultiplied BGRA
        r, g, b, a = im.split()
        from PIL import ImageChops
        r, g, b = (ImageChops.multiply(ch, a) for ch in (r, g, b))
        data = bytearray(Image.merge("RGBA", (b, g, r, a)).tobytes())
        return cairo.ImageSurface.create_for_data(data, cairo.FORMAT_ARGB32, im.width, im.height, im.width * 4)

    def width(self, text):
        w = 0
        for ch in text:
            g = self.glyphs.get(ord(ch))
            w += (g[5] if g else self.space) + self.spacing
        return w

    def draw(self, c, text, x, y):
        for sheet, p in reversed(self.layers):
            pen = x
            for ch in text:
                g = self.glyphs.get(ord(ch))
                if g is None:
                    pen += self.space + self.spacing
                    continue
                i, sx, sy, sw, sh, width, bx, by = g
                gx, gy = pen + bx - p, y + by - p
                c.save()
                c.rectangle(gx, gy, sw + 2 * p, sh + 2 * p)
                c.clip()
                c.set_source_surface(sheet, gx - (sx + 2 * p * i), gy - sy)
                c.paint()
                c.restore()
                pen += width + self.spacing


def fonts(out_dir):
    import glob
    files = sorted(glob.glob(os.path.join(ROOT, "media/fonts/*.xml")))
    if not files:
        return []
    fonts_ = [(os.path.basename(f), BakedFont(os.path.relpath(f, ROOT))) for f in files]
    h = sum(f.line_height + 16 for _, f in fonts_) + 20
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, 1000, h)
    c = cairo.Context(s)
    c.set_source_rgb(1.0, 0.96, 0.88)
    c.paint()
    c.rectangle(500, 0, 500, h)
    c.set_source_rgb(0.36, 0.2, 0.13)
    c.fill()
    y = 10
    for name, f in fonts_:
        for x in (10, 510):
            f.draw(c, "Pâtisserie 0123 Tortelune!", x, y)
        y += f.line_height + 16
    p = os.path.join(out_dir, "preview_fonts.png")
    s.write_to_png(p)
    return [p]


def jpeg(rel):
    from PIL import Image
    im = Image.open(os.path.join(ROOT, rel)).convert("RGBA")
    r, g, b, a = im.split()
    data = bytearray(Image.merge("RGBA", (b, g, r, a)).tobytes())
    return cairo.ImageSurface.create_for_data(data, cairo.FORMAT_ARGB32, im.width, im.height, im.width * 4)


def stage(out_dir):
    """The arcade stage with the curtain half raised, and an exam kitchen with the conveyor
    at the suggested places."""
    paths = []
    if img("media/images/arcade/bowl0.png") is not None:
        s = cairo.ImageSurface(cairo.FORMAT_ARGB32, 800, 600)
        c = cairo.Context(s)
        c.set_source_surface(jpeg("media/images/arcade/background.jpg"), 0, 0)
        c.paint()
        for i in range(6):
            frame0(c, "media/images/arcade/bowl%d.png" % i, 40 + i * 124, 400, 0 if i < 4 else 3)
        for n, x, y in (("curtain_back", 0, 0), ("curtain_front", 0, -300), ("curtain_rope", 700, 0)):
            c.set_source_surface(img("media/images/arcade/%s.png" % n), x, y)
            c.paint()
        frame0(c, "media/images/arcade/fan.png", 352, 90, 0, 8)
        p = os.path.join(out_dir, "preview_arcade.png")
        s.write_to_png(p)
        paths.append(p)
    if img("media/images/game/conveyor.png") is not None:
        s = cairo.ImageSurface(cairo.FORMAT_ARGB32, 800, 600)
        c = cairo.Context(s)
        c.set_source_surface(jpeg("media/images/game/exam_background.jpg"), 0, 0)
        c.paint()
        for rel, x, y, f, n in (("conveyor_back", 100, 420, 0, 1), ("conveyor_basket", 660, 500, 0, 1),
                                ("conveyor", 120, 452, 0, 8), ("conveyor_trap", 680, 452, 0, 6),
                                ("conveyor_front", 100, 474, 0, 1), ("conveyor_port", 40, 366, 0, 1),
                                ("conveyor_handle", 736, 392, 0, 6), ("conveyor_light2", 700, 360, 0, 1),
                                ("conveyor_light", 706, 366, 1, 3)):
            frame0(c, "media/images/game/%s.png" % rel, x, y, f, n)
        for p_, x in (("cupcake", 220), ("eclair", 380), ("cherrytart", 540)):
            frame0(c, "media/images/game/plate.png", x - 48, 440, 0, 1)
            frame0(c, "media/images/game/pastries/%s.png" % p_, x - 48, 360, 0, 1)
        p = os.path.join(out_dir, "preview_conveyor.png")
        s.write_to_png(p)
        paths.append(p)
    if img("media/images/selection/henri.png") is not None:
        s = cairo.ImageSurface(cairo.FORMAT_ARGB32, 800, 600)
        c = cairo.Context(s)
        c.set_source_surface(jpeg("media/images/selection/background.jpg"), 0, 0)
        c.paint()
        for rel, x, y, f, n in (("sunshine", 440, 60, 0, 1), ("career_door", 250, 180, 0, 4),
                                ("arcade_open", 440, 210, 0, 4), ("smoke", 487, 90, 2, 8), ("henri", 610, 300, 0, 1)):
            frame0(c, "media/images/selection/%s.png" % rel, x, y, f, n)
        for i in range(6):
            frame0(c, "media/images/selection/balloon%d.png" % i, 20 + i * 36, 20 + (i % 2) * 30, 0, 1)
        p = os.path.join(out_dir, "preview_selection.png")
        s.write_to_png(p)
        paths.append(p)
    return paths
