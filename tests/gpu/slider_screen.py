"""What a slider of the overclocking page shows on screen, read back from a screenshot against
the skin's own pictures: the four digits of its value box, how far its track is filled, and
whether it is enabled (a disabled slider draws its grey step buttons and an empty box)."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "mainwindow"))
import screen  # noqa: E402
from PIL import Image  # noqa: E402

PAGE = (503, 93)
# The sliders' tops in page pixels, top to bottom as the item list names them.
SLIDER_TOP = {"core": 20, "voltage": 50, "memory": 80, "fan": 110}
# A slider's parts left to right (minus button, track, plus button, value box), in pixels.
MINUS_WIDTH = 18
TRACK_WIDTH = 178
PLUS_WIDTH = 18
TRACK_STEPS = 29
DIGIT_WIDTH = 7
DIGIT_ROWS = 14  # the strip's last row is transparent
# A digit cell that matches none of the ten pictures this closely is no digit at all.
DIGIT_TOLERANCE = 12.0


def slider_origin(name):
    """Main-window client point of the slider's top left corner."""
    return PAGE[0] + 10, PAGE[1] + SLIDER_TOP[name]


def _client(image, window, x, y, width, height):
    """The part of a window screenshot at client coordinates."""
    dx, dy = window.client_x - window.x, window.client_y - window.y
    return screen.crop(image, dx + x, dy + y, width, height)


def _box_parts(name):
    left, top = slider_origin(name)
    return left + MINUS_WIDTH + TRACK_WIDTH + PLUS_WIDTH, top


def _digit_pictures():
    strip = screen.skin_image_rgba("CONTROL__NUM")
    box = screen.skin_image_rgba("CONTROL_0")
    pictures = []
    for position in range(4):
        # Each cell sits one pixel right of the previous box column, one row below the box top.
        under = box.crop((1 + DIGIT_WIDTH * position, 1, 1 + DIGIT_WIDTH * (position + 1),
                          1 + DIGIT_ROWS))
        cells = []
        for digit in range(10):
            cell = strip.crop((DIGIT_WIDTH * digit + 1, 0, DIGIT_WIDTH * digit + 8, DIGIT_ROWS))
            cells.append(Image.alpha_composite(under, cell).convert("RGB"))
        pictures.append(cells)
    return pictures


def value(image, window, name):
    """The number the slider's box shows (its last four digits), or None when the box shows no
    digits (a disabled slider, or one left below its range)."""
    box_x, top = _box_parts(name)
    digits = []
    for position, cells in enumerate(_digit_pictures()):
        shown = _client(image, window, box_x + 1 + DIGIT_WIDTH * position, top + 4, DIGIT_WIDTH,
                        DIGIT_ROWS)
        scores = [screen.mean_difference(shown, cell) for cell in cells]
        best = min(range(10), key=lambda d: scores[d])
        if scores[best] > DIGIT_TOLERANCE:
            return None
        digits.append(best)
    return int("".join(str(d) for d in digits))


def enabled(image, window, name):
    """Whether the slider draws its enabled step buttons (normal or hot) rather than the grey
    ones."""
    left, top = slider_origin(name)
    shown = _client(image, window, left + MINUS_WIDTH + TRACK_WIDTH, top + 2, PLUS_WIDTH, 17)
    faces = {face: screen.mean_difference(shown, screen.skin_image(face))
             for face in ("CONTROL_+1", "CONTROL_+2", "CONTROL_+3")}
    return min(faces, key=faces.get) != "CONTROL_+2"


def fill_position(image, window, name):
    """How many of the track's 29 positions are filled (0..29)."""
    left, top = slider_origin(name)
    shown = _client(image, window, left + MINUS_WIDTH, top, TRACK_WIDTH, 23)
    empty = screen.skin_image_rgba("CONTROL_B1").crop((0, 0, TRACK_WIDTH, 23))
    filled = Image.alpha_composite(
        empty, screen.skin_image_rgba("CONTROL_B3").crop((0, 0, TRACK_WIDTH, 23)))

    def track(position):
        width = min(position * 6 + 4, TRACK_WIDTH)
        picture = empty.copy()
        picture.paste(filled.crop((0, 0, width, 23)), (0, 0))
        return picture.convert("RGB")

    scores = [screen.mean_difference(shown, track(p)) for p in range(TRACK_STEPS + 1)]
    return min(range(TRACK_STEPS + 1), key=lambda p: scores[p])


def expected_position(shown, minimum, maximum):
    """The fill position of a value in a range: hundredths of the track's 29 positions,
    truncated, then rounded half up."""
    if maximum <= minimum:
        return 0
    hundredths = int((shown - minimum) * TRACK_STEPS * 100.0 / (maximum - minimum))
    return hundredths // 100 + (hundredths % 100) // 50


def read(image, window, name):
    """(value or None, fill position, enabled) of one slider."""
    return value(image, window, name), fill_position(image, window, name), enabled(
        image, window, name)
