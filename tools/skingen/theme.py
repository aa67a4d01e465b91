"""Colours and the window geometry that the program draws the images at."""

import math

# --------------------------------------------------------------------- colours
INK = "#0b0c0e"          # deepest shadow, outlines
GRAPHITE_0 = "#131417"   # recessed panels
GRAPHITE_1 = "#1b1c20"   # body, lower
GRAPHITE_2 = "#24262b"   # body, upper / raised plates
GRAPHITE_3 = "#30333a"   # raised keys
STEEL = "#454952"        # bevel highlights
STEEL_LIGHT = "#6b707b"
TEXT = "#ffffff"
TEXT_2 = "#b7bbc3"       # secondary text
TEXT_3 = "#767b85"       # dim text
RED = "#e11d2e"          # accent
RED_BRIGHT = "#ff3b4a"
RED_DEEP = "#7f0512"     # the selection bar colour the pages fill with (0xFF7F0512)
RED_DARK = "#4a0209"

PAGE_BG = "#1c1d21"      # flat interior of every page; controls on pages are baked onto it
TICK_BG = "#26282d"      # plate under the tick boxes (3D rows and the options dialog)
SETDLG_BODY = "#1d1e22"

# --------------------------------------------------------------------- window (800 x 328)
WINDOW = (800, 328)
LEFT = (380, 328)
PIVOT = (215, 167)            # needle pivot, centre of the round gauge
DISC_R = 136                  # outer edge of the gauge bezel
FACE_R = 123                  # dial face inside the bezel

NAV = (16, 120, 120, 82)      # navigation picture x, y, w, h
NAV_REGIONS = [(5, 5, 35, 80), (85, 5, 119, 80), (43, 5, 77, 38), (43, 49, 77, 81)]
BAR = (95, 260, 203, 67)      # button bar x, y, w, h
BAR_REGIONS = [
    [(3, 22), (17, 8), (47, 31), (35, 47)],
    [(42, 47), (50, 33), (84, 45), (78, 61)],
    [(84, 62), (89, 46), (120, 49), (117, 67)],
    [(126, 67), (126, 49), (158, 44), (161, 60)],
    [(165, 57), (160, 40), (189, 28), (199, 42)],
]
INDICATOR = (140, 75, 300, 250)
TEMP_TEXT = (192, 155)        # "NN℃", 18 px red
CLOCK_TEXT = (174, 207)       # "GPU:NNNMhz", 12 px white
LIST_FRAME = (384, 80, 485, 270)
PAGE = (503, 93, 268, 178)
MIN_BUTTON = (730, 55, 23, 19)
CLOSE_BUTTON = (755, 55, 23, 19)
DEFAULT_BUTTON = (423, 280, 82, 25)
OK_BUTTON = (507, 280, 63, 25)
APPLY_BUTTON = (572, 280, 82, 25)
DEFAULT_REGION = [(0, 25), (12, 0), (82, 0), (82, 25)]
APPLY_REGION = [(0, 25), (0, 0), (70, 0), (82, 25)]

# Right-hand body of the full window.
BODY = (302, 38, 793, 320)
BODY_R = 18

# Needle: 0 degrees hangs straight down from the pivot; positive turns clockwise on screen.
TEMP_MIN, TEMP_MAX = 40, 100
ANGLE_AT_MIN = 166.0
DEGREES_PER_C = 3.56


def needle_angle(celsius):
    return (celsius - TEMP_MIN) * DEGREES_PER_C + ANGLE_AT_MIN


def needle_direction(celsius):
    """Unit vector (screen x right, y down) the needle points along at this temperature."""
    a = math.radians(needle_angle(celsius))
    return (-math.sin(a), math.cos(a))


def screen_angle(celsius):
    """The same direction as a screen angle in degrees (0 = right, clockwise)."""
    dx, dy = needle_direction(celsius)
    return math.degrees(math.atan2(dy, dx))


def bar_polygon(i):
    """Region i (0..4) of the button bar in window coordinates."""
    return [(x + BAR[0], y + BAR[1]) for x, y in BAR_REGIONS[i]]


def bar_bbox(i):
    xs = [x for x, _ in BAR_REGIONS[i]]
    ys = [y for _, y in BAR_REGIONS[i]]
    return (min(xs) + BAR[0], min(ys) + BAR[1], max(xs) + BAR[0], max(ys) + BAR[1])


def nav_rect(i):
    x0, y0, x1, y1 = NAV_REGIONS[i]
    return (x0 + NAV[0], y0 + NAV[1], x1 + NAV[0], y1 + NAV[1])


# --------------------------------------------------------------------- pages (page coordinates)
OVERCLOCK_SLIDERS = [(10, 20), (10, 50), (10, 80), (10, 110)]
FAN_TOGGLE = (170, 140, 30, 12)
QUALITY_SLIDERS = [(60, 25), (60, 60), (60, 95)]
THREE_D_ROWS = [(2, 16 + 24 * i) for i in range(6)]
THREE_D_MARK = (200, 2)
DISPLAY_PICTURE = (140, 10)
DISPLAY_POINTS = [(58, 157), (98, 157)]
SHORTCUT_ROWS = [23, 48, 73, 98]
SHORTCUT_POINTS = [(130, 130), (160, 130), (190, 130)]
HARDWARE_WAIT = (80, 76)

# --------------------------------------------------------------------- options dialog (264 x 328)
SETDLG_CLOSE = (230, 5)
SETDLG_TICK_X = 15
SETDLG_TICK_YS = [71, 98, 125, 151, 177]
SETDLG_SAVE_Y = 231
SETDLG_OK = (20, 262)
SETDLG_DEL = (135, 262)

# --------------------------------------------------------------------- display-mode question (300 x 132)
# The same places as display/core/KeepModeLayout.h.
KEEP_SIZE = (300, 132)
KEEP_BUTTON = (78, 91, 98, 25)
KEEP_REVERT = (186, 91, 98, 25)
KEEP_TEXT_LEFT = 70
