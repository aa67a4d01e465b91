"""Pixel comparisons of screenshots against the skin's own pictures."""

import os

from PIL import Image, ImageChops, ImageStat

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def skin_image(name):
    """The committed skin picture of that name, composed over black as the screen shows it."""
    for folder, _, files in os.walk(os.path.join(ROOT, "res")):
        if name + ".png" in files:
            rgba = Image.open(os.path.join(folder, name + ".png")).convert("RGBA")
            black = Image.new("RGBA", rgba.size, (0, 0, 0, 255))
            return Image.alpha_composite(black, rgba).convert("RGB")
    raise FileNotFoundError(name)


def crop(image, x, y, width, height):
    return image.crop((x, y, x + width, y + height))


def mean_difference(a, b):
    """Mean absolute difference per channel (0..255) of two images of one size."""
    stat = ImageStat.Stat(ImageChops.difference(a.convert("RGB"), b.convert("RGB")))
    return sum(stat.mean) / len(stat.mean)


def brightness(image):
    stat = ImageStat.Stat(image.convert("L"))
    return stat.mean[0]
