#!/usr/bin/python3
"""Writes the seed corpus of the image decoder fuzz target: small PNG files of
every colour type and depth the decoder normalises, and grey, colour,
progressive and CMYK JPEG files."""
import os
import sys

from PIL import Image

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz", "corpus", "image_decoder")


def gradient(mode, size=(12, 9)):
    image = Image.new("RGBA", size)
    for y in range(size[1]):
        for x in range(size[0]):
            image.putpixel((x, y), (x * 21 % 256, y * 28 % 256, (x + y) * 13 % 256, (x * y * 7) % 256))
    return image.convert(mode) if mode != "RGBA" else image


def main():
    os.makedirs(OUT, exist_ok=True)
    gradient("1").save(os.path.join(OUT, "grey1.png"))
    gradient("L").save(os.path.join(OUT, "grey8.png"))
    gradient("L").convert("I;16").save(os.path.join(OUT, "grey16.png"))
    gradient("LA").save(os.path.join(OUT, "grey_alpha.png"))
    gradient("RGB").save(os.path.join(OUT, "rgb.png"))
    gradient("RGBA").save(os.path.join(OUT, "rgba.png"))
    palette = gradient("RGB").convert("P", palette=Image.ADAPTIVE, colors=16)
    palette.save(os.path.join(OUT, "palette_transparent.png"), transparency=3)
    gradient("P").save(os.path.join(OUT, "palette4.png"), bits=4)
    gradient("RGB", (16, 16)).save(os.path.join(OUT, "colour.jpg"), quality=90)
    gradient("L", (16, 16)).save(os.path.join(OUT, "grey.jpg"), quality=90)
    gradient("RGB", (24, 16)).save(os.path.join(OUT, "progressive.jpg"), quality=80, progressive=True)
    gradient("RGB", (16, 8)).convert("CMYK").save(os.path.join(OUT, "cmyk.jpg"), quality=90)
    return 0


if __name__ == "__main__":
    sys.exit(main())
