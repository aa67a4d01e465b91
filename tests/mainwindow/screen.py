"""Pixel comparisons of screenshots against the skin's own pictures."""

import os

from PIL import Image, ImageChops, ImageStat

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def skin_image_rgba(name):
    """The committed skin picture of that name, with its alpha."""
    for folder, _, files in os.walk(os.path.join(ROOT, "res")):
        if name + ".png" in files:
            return Image.open(os.path.join(folder, name + ".png")).convert("RGBA")
    raise FileNotFoundError(name)


def over_black(rgba):
    """A picture with alpha as the screen shows it without a compositor: over black."""
    black = Image.new("RGBA", rgba.size, (0, 0, 0, 255))
    return Image.alpha_composite(black, rgba).convert("RGB")


def skin_image(name):
    """The committed skin picture of that name, composed over black as the screen shows it."""
    return over_black(skin_image_rgba(name))


def crop(image, x, y, width, height):
    return image.crop((x, y, x + width, y + height))


def mean_difference(a, b):
    """Mean absolute difference per channel (0..255) of two images of one size."""
    stat = ImageStat.Stat(ImageChops.difference(a.convert("RGB"), b.convert("RGB")))
    return sum(stat.mean) / len(stat.mean)


def brightness(image):
    stat = ImageStat.Stat(image.convert("L"))
    return stat.mean[0]


def changed_pixels(a, b, threshold=48):
    """How many pixels of two images of one size differ by more than `threshold` in a channel."""
    difference = ImageChops.difference(a.convert("RGB"), b.convert("RGB"))
    return sum(1 for pixel in difference.getdata() if max(pixel) > threshold)
