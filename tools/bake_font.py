#!/usr/bin/python3
"""Bakes a TrueType font into the bitmap font files the game reads.

Output, in the folder given by --out:
  <name>.xml                 glyph boxes, advances, bearings, kerning and the layer list
  <name>_<layer>.png         one glyph sheet per layer

The glyph sheet geometry: glyphs are packed in rows of an "unpadded sheet"
(sx, sy, sw, sh per glyph). A layer with padding p stores glyph number i at
x = sx + 2*p*i, y = sy, widened by p on every side, so every layer shares the
glyph records of the XML. Rows are spaced so that the widest padding fits.

Layers are listed top first (the game draws the last one first). Each
--layer takes a kind and comma-separated options:

  fill,top=#RRGGBB,bottom=#RRGGBB[,mid=#RRGGBB]   colour face with a vertical gradient
  mask[,color=#RRGGBB]                            8-bit coverage, drawn in any colour
  outline,width=N,color=#RRGGBB                   the face grown by N pixels
  shadow,dx=N,dy=N,blur=N,color=#AARRGGBB[,grow=N] the face (grown by the outline) offset and blurred

Example:
  bake_font.py --ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \\
      --size 40 --name title --out media/fonts \\
      --layer fill,top=#fff8e6,bottom=#f0cf8f \\
      --layer outline,width=3,color=#5b3219 \\
      --layer shadow,dx=2,dy=3,blur=1,color=#70281008

The output depends only on the arguments, the font file and the installed
FreeType, so running it twice gives identical files.
"""

import argparse
import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

# ASCII printable, Latin-1, and the typographic marks an English game shows.
EXTRA_CHARS = [
    0x0152, 0x0153, 0x0160, 0x0161, 0x0178, 0x017D, 0x017E,  # Œ œ Š š Ÿ Ž ž
    0x2013, 0x2014,                                          # en and em dash
    0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E,          # quotes
    0x2022, 0x2026,                                          # bullet, ellipsis
    0x2039, 0x203A,                                          # single guillemets
    0x20AC, 0x2122,                                          # euro, trade mark
]

CHARSETS = {
    "full": list(range(0x21, 0x7F)) + list(range(0xA0, 0x100)) + EXTRA_CHARS,
    "ascii": list(range(0x21, 0x7F)),
    "digits": [ord(c) for c in "0123456789+-x:/.,%!?"],
}


# The game refuses images with a side above 16384 pixels.
MAX_SHEET_WIDTH = 16384


def parse_colour(text):
    """#RRGGBB or #AARRGGBB -> (a, r, g, b)."""
    text = text.lstrip("#")
    if len(text) == 6:
        text = "ff" + text
    if len(text) != 8:
        raise ValueError("colour must be #RRGGBB or #AARRGGBB: " + text)
    v = int(text, 16)
    return ((v >> 24) & 255, (v >> 16) & 255, (v >> 8) & 255, v & 255)


def parse_layer(description):
    parts = description.split(",")
    kind = parts[0]
    opts = {}
    for p in parts[1:]:
        if "=" not in p:
            raise ValueError("layer option without '=': " + p)
        k, v = p.split("=", 1)
        opts[k] = v
    if kind == "fill":
        stops = [parse_colour(opts["top"])]
        if "mid" in opts:
            stops.append(parse_colour(opts["mid"]))
        stops.append(parse_colour(opts.get("bottom", opts["top"])))
        return {"kind": kind, "stops": stops, "padding": 0}
    if kind == "mask":
        return {"kind": kind, "colour": parse_colour(opts.get("color", "#ffffff")), "padding": 0}
    if kind == "outline":
        width = int(opts.get("width", "2"))
        return {"kind": kind, "width": width, "colour": parse_colour(opts.get("color", "#000000")),
                "padding": width + 1}
    if kind == "shadow":
        layer = {"kind": kind, "dx": int(opts.get("dx", "2")), "dy": int(opts.get("dy", "2")),
                 "blur": int(opts.get("blur", "1")),
                 "colour": parse_colour(opts.get("color", "#80000000")),
                 "grow": int(opts["grow"]) if "grow" in opts else None}
        return layer
    raise ValueError("unknown layer kind: " + kind)


def grow(coverage, radius):
    """Antialiased dilation of a coverage array (floats 0..1) by radius pixels."""
    if radius <= 0:
        return coverage
    h, w = coverage.shape
    out = coverage.copy()
    reach = radius + 1
    padded = np.pad(coverage, reach)
    for oy in range(-reach, reach + 1):
        for ox in range(-reach, reach + 1):
            d = math.hypot(ox, oy)
            weight = min(1.0, max(0.0, radius + 1.0 - d))
            if weight <= 0.0 or (ox == 0 and oy == 0):
                continue
            shifted = padded[reach + oy:reach + oy + h, reach + ox:reach + ox + w]
            np.maximum(out, shifted * weight, out=out)
    return out


def box_blur(a, radius):
    """Two passes of a separable box blur (close to a small Gaussian)."""
    for _ in range(2):
        for axis in (0, 1):
            k = 2 * radius + 1
            pad = [(0, 0), (0, 0)]
            pad[axis] = (radius + 1, radius)
            c = np.cumsum(np.pad(a, pad), axis=axis)
            if axis == 0:
                a = (c[k:, :] - c[:-k, :]) / k
            else:
                a = (c[:, k:] - c[:, :-k]) / k
    return a


class Baker:
    def __init__(self, args):
        self.args = args
        self.font = ImageFont.truetype(args.ttf, args.size, layout_engine=ImageFont.Layout.RAQM)
        self.layers = [parse_layer(s) for s in args.layer] or [parse_layer("mask")]
        outline = max([l["width"] for l in self.layers if l["kind"] == "outline"] or [0])
        for l in self.layers:
            if l["kind"] == "shadow":
                if l["grow"] is None:
                    l["grow"] = outline
                l["padding"] = l["grow"] + max(abs(l["dx"]), abs(l["dy"])) + 2 * l["blur"] + 1
        self.max_padding = max(l["padding"] for l in self.layers)
        self.chars = [c for c in CHARSETS[args.charset] if self.has_glyph(c)]

    def has_glyph(self, code):
        """False for characters the face lacks: they would bake as the face's
        .notdef box, and the game draws its own missing-glyph box instead."""
        if not hasattr(self, "_notdef"):
            self._notdef = self._mask_bytes("\uffff")
        if code in (0xA0, 0xAD):  # no-break space and soft hyphen have no ink
            return True
        return self._mask_bytes(chr(code)) != self._notdef

    def _mask_bytes(self, text):
        m = self.font.getmask(text)
        return (m.size, bytes(m))

    def advance(self, text):
        return self.font.getlength(text, features=["-liga", "-clig", "-dlig"])

    def ink(self, code):
        """The glyph drawn on a canvas around the pen: (coverage 0..1, ink box
        relative to the pen on the baseline) or (None, None) when it has no ink."""
        size = self.args.size
        ox, oy = 2 * size, 2 * size
        im = Image.new("L", (5 * size, 4 * size), 0)
        ImageDraw.Draw(im).text((ox, oy), chr(code), font=self.font, fill=255, anchor="ls",
                                features=["-liga", "-clig", "-dlig"])
        box = im.getbbox()
        if box is None:
            return None, None
        cov = np.asarray(im.crop(box), dtype=np.float64) / 255.0
        return cov, (box[0] - ox, box[1] - oy, box[2] - ox, box[3] - oy)

    def measure_glyphs(self):
        top = 0
        glyphs = []
        for code in self.chars:
            cov, box = self.ink(code)
            if box is None:
                cov, box = np.zeros((0, 0)), (0, 0, 0, 0)
            glyphs.append({"code": code, "bbox": box, "coverage": cov,
                           "width": int(round(self.advance(chr(code))))})
            top = min(top, box[1])
        self.top = top  # highest ink above the baseline (negative)
        bottom = max(g["bbox"][3] for g in glyphs)
        self.ink_height = bottom - top
        for g in glyphs:
            x0, y0, x1, y1 = g["bbox"]
            g["sw"], g["sh"] = x1 - x0, y1 - y0
            g["bx"], g["by"] = x0, (y0 - top) if g["sh"] > 0 else 0
        return glyphs

    def kerning(self):
        adv = {c: self.advance(chr(c)) for c in self.chars}
        pairs = {}
        letters = self.chars
        for a in letters:
            for b in letters:
                k = self.advance(chr(a) + chr(b)) - adv[a] - adv[b]
                k = int(round(k))
                if k != 0:
                    pairs.setdefault(k, {}).setdefault(a, []).append(b)
        return pairs

    def layout(self, glyphs):
        """Chooses row breaks that keep the padded sheets small and no wider
        than MAX_SHEET_WIDTH (each row of a padded layer starts 2 * p * index
        pixels to the right, so fewer rows waste less)."""
        paddings = sorted({l["padding"] for l in self.layers})
        best = None
        total = sum(g["sw"] + 1 for g in glyphs)
        for rows in range(1, 40):
            limit = max(64, int(math.ceil(total / rows)))
            pos = self.place(glyphs, limit)
            area = 0
            for p in paddings:
                w = max(x + 2 * p * i + sw + 2 * p for i, (x, y, sw, sh) in enumerate(pos))
                h = max(y + sh + 2 * p for (x, y, sw, sh) in pos)
                area += w * h
            widest = max(x + 2 * self.max_padding * i + sw + 2 * self.max_padding
                         for i, (x, y, sw, sh) in enumerate(pos))
            fits = widest <= MAX_SHEET_WIDTH
            if best is None or (fits, -area) > (best[2], -best[0]):
                best = (area, pos, fits)
        for g, (x, y, _, _) in zip(glyphs, best[1]):
            g["sx"], g["sy"] = x, y

    def place(self, glyphs, limit):
        pos = []
        x = y = row_h = 0
        gap = 2 * self.max_padding + 1
        for g in glyphs:
            if x > 0 and x + g["sw"] > limit:
                y += row_h + gap
                x = row_h = 0
            pos.append((x, y, g["sw"], g["sh"]))
            x += g["sw"] + 1
            row_h = max(row_h, g["sh"])
        return pos

    def gradient_colour(self, stops, t):
        t = np.clip(t, 0.0, 1.0)
        n = len(stops) - 1
        seg = np.minimum((t * n).astype(int), n - 1)
        f = t * n - seg
        out = []
        for ch in range(1, 4):
            lo = np.array([stops[s][ch] for s in range(n)], dtype=np.float64)[seg]
            hi = np.array([stops[s + 1][ch] for s in range(n)], dtype=np.float64)[seg]
            out.append(lo + (hi - lo) * f)
        return out

    def layer_pixels(self, layer, g, cov):
        """RGBA (or L for a mask) array of one padded glyph of a layer."""
        p = layer["padding"]
        h, w = g["sh"] + 2 * p, g["sw"] + 2 * p
        base = np.zeros((h, w))
        if cov.size:
            base[p:p + g["sh"], p:p + g["sw"]] = cov
        kind = layer["kind"]
        if kind == "mask":
            return np.rint(base * 255).astype(np.uint8)
        rgba = np.zeros((h, w, 4))
        if kind == "fill":
            ys = (np.arange(h) - p + g["by"]).astype(np.float64)
            t = (ys + 0.5) / max(1, self.ink_height)
            r, gg, b = self.gradient_colour(layer["stops"], t)
            rgba[:, :, 0] = r[:, None]
            rgba[:, :, 1] = gg[:, None]
            rgba[:, :, 2] = b[:, None]
            alpha = base
        elif kind == "outline":
            alpha = grow(base, layer["width"])
            rgba[:, :, 0:3] = layer["colour"][1:4]
        else:  # shadow
            a = grow(base, layer["grow"])
            a = np.roll(np.roll(a, layer["dy"], axis=0), layer["dx"], axis=1)
            if layer["blur"] > 0:
                a = box_blur(a, layer["blur"])
            alpha = a * (layer["colour"][0] / 255.0)
            rgba[:, :, 0:3] = layer["colour"][1:4]
        rgba[:, :, 3] = alpha * 255
        return np.clip(np.rint(rgba), 0, 255).astype(np.uint8)

    def layer_colour(self, layer):
        if layer["kind"] == "fill":
            a, r, g, b = layer["stops"][len(layer["stops"]) // 2]
        else:
            a, r, g, b = layer["colour"]
        return (0xFF << 24) | (r << 16) | (g << 8) | b

    def bake(self):
        glyphs = self.measure_glyphs()
        self.layout(glyphs)
        coverage = [g["coverage"] for g in glyphs]
        os.makedirs(self.args.out, exist_ok=True)
        names = []
        for n, layer in enumerate(self.layers):
            p = layer["padding"]
            width = max(g["sx"] + 2 * p * i + g["sw"] + 2 * p for i, g in enumerate(glyphs))
            height = max(g["sy"] + g["sh"] + 2 * p for g in glyphs)
            mode = "L" if layer["kind"] == "mask" else "RGBA"
            sheet = np.zeros((height, width) if mode == "L" else (height, width, 4), dtype=np.uint8)
            if mode == "RGBA":
                # Transparent pixels carry the layer colour, so that no dark fringe
                # shows when a sheet is ever filtered.
                c = self.layer_colour(layer)
                sheet[:, :, 0] = (c >> 16) & 255
                sheet[:, :, 1] = (c >> 8) & 255
                sheet[:, :, 2] = c & 255
            for i, (g, cov) in enumerate(zip(glyphs, coverage)):
                if g["sw"] == 0 or g["sh"] == 0:
                    continue
                px = self.layer_pixels(layer, g, cov)
                x, y = g["sx"] + 2 * p * i, g["sy"]
                sheet[y:y + px.shape[0], x:x + px.shape[1]] = px
            file_name = "%s_%d_%s.png" % (self.args.name, n, layer["kind"])
            Image.fromarray(sheet, mode).save(os.path.join(self.args.out, file_name),
                                              optimize=False, compress_level=9)
            names.append(file_name)
        self.write_xml(glyphs, names)

    def write_xml(self, glyphs, names):
        args = self.args
        ascent, descent = self.font.getmetrics()
        line_height = args.lineheight if args.lineheight > 0 else ascent + descent
        baseline = -self.top + self.max_padding
        out = []
        out.append("<root>")
        out.append('    <!-- Baked by tools/bake_font.py from %s at %d px. -->'
                   % (os.path.basename(args.ttf), args.size))
        out.append('    <Font id="font" charspacing="%d" spacewidth="%d" lineheight="%d" baseline="%d">'
                   % (args.charspacing, int(round(self.advance(" "))), line_height, baseline))
        out.append('        <Vector id="chars">')
        for g in glyphs:
            out.append('            <Char c="%d" sx="%d" sy="%d" sw="%d" sh="%d" width="%d" bx="%d" by="%d"/>'
                       % (g["code"], g["sx"], g["sy"], g["sw"], g["sh"], g["width"], g["bx"], g["by"]))
        out.append("        </Vector>")
        out.append('        <Vector id="kerning">')
        if not args.no_kerning:
            pairs = self.kerning()
            for k in sorted(pairs):
                groups = "".join("#0#%x" % a + "".join("#%x" % b for b in sorted(pairs[k][a]))
                                 for a in sorted(pairs[k]))
                out.append('            <Kern width="%d" chars="%s"/>' % (k, groups))
        out.append("        </Vector>")
        out.append('        <Vector id="layers">')
        for layer, name in zip(self.layers, names):
            key = "mask" if layer["kind"] == "mask" else "image"
            out.append('            <Layer %s="%s" padding="%d" color="#%08x"/>'
                       % (key, name, layer["padding"], self.layer_colour(layer)))
        out.append("        </Vector>")
        out.append("    </Font>")
        out.append("</root>")
        with open(os.path.join(args.out, args.name + ".xml"), "w", encoding="utf-8") as f:
            f.write("\n".join(out) + "\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--ttf", required=True)
    ap.add_argument("--size", type=int, required=True, help="pixel size (em)")
    ap.add_argument("--name", required=True, help="lower-case base name of the output files")
    ap.add_argument("--out", required=True)
    ap.add_argument("--layer", action="append", default=[])
    ap.add_argument("--charset", choices=sorted(CHARSETS), default="full")
    ap.add_argument("--charspacing", type=int, default=0)
    ap.add_argument("--lineheight", type=int, default=0, help="0: the face's ascent + descent")
    ap.add_argument("--no-kerning", action="store_true")
    args = ap.parse_args()
    if args.name != args.name.lower():
        sys.exit("font names are lower case (resource names are looked up lower-cased)")
    Baker(args).bake()


if __name__ == "__main__":
    main()
