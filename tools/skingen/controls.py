"""Controls: list labels, slider parts, tick boxes, selector points, the fan toggle, the needle
and the wait animation.

Images that a control draws over themselves without the page being redrawn first (buttons,
slider parts, points, ticks, the wait bar) are fully opaque, with the flat colour of the page
(or plate) they sit on baked into their corners: drawing them again never darkens their edges.
"""

from PIL import Image

import icons
import paint as p
import theme as t


# ============================================================================ list labels

def _fit_font(s, width, start=12, smallest=9):
    size = start
    while size > smallest and p.text_size(s, p.font(size))[0] > width:
        size -= 1
    return p.font(size)


def label(name, state):
    """A 98 x 17 list label; state '' (normal), 'M' (hover) or 'D' (selected). The label's text
    is its name without the "3D_" family prefix."""
    img = p.canvas((98, 17))
    size = img.size
    caption = name[3:] if name.startswith("3D_") else name
    shape = p.rrect_mask(size, 0.5, 0.5, 97.5, 16.5, 3)
    if state == "M":
        grad = p.hgrad(size, [(0.0, p.with_alpha(t.RED, 235)), (0.6, p.with_alpha(t.RED_DEEP, 200)),
                              (1.0, p.with_alpha(t.RED_DEEP, 60))])
        p.fill(img, shape, grad)
        p.fill(img, p.inter(p.edge_inner(shape, 1.0), p.rect_mask(size, 0, 0, 98, 4)),
               "#ff8a93", 0.6)
        marker, fg, shade = t.TEXT, t.TEXT, "#4a0008"
    elif state == "D":
        p.fill(img, shape, t.RED_DEEP)
        p.fill(img, p.inter(p.edge_inner(shape, 1.0), p.rect_mask(size, 0, 0, 98, 4)),
               "#c0283a", 0.9)
        p.fill(img, p.inter(p.edge_inner(shape, 1.0), p.rect_mask(size, 0, 13, 98, 17)),
               "#3a0007", 0.9)
        marker, fg, shade = t.TEXT, t.TEXT, "#3a0007"
    else:
        p.fill(img, p.rect_mask(size, 10, 16, 92, 17), "#ffffff", 0.05)
        marker, fg, shade = "#8c1220", "#c9cdd4", "#000000"
    p.fill(img, p.rrect_mask(size, 3, 4.5, 6, 12.5, 1.5), marker)
    fnt = _fit_font(caption, 98 - 12 - (12 if state else 4))
    p.text(img, (11, 8.8), caption, fnt, fg, anchor="lm", shadow=(0, 1, shade))
    if state:
        p.fill(img, icons.arrow(size, 91, 8.5, 6), fg, 0.9)
    return img


# ============================================================================ slider

def _chip(img, shape, state):
    size = img.size
    if state == "hot":
        paint = p.vgrad(size, [(0.0, "#ff4a57"), (1.0, "#a30d1b")])
        rim = "#ffb0b6"
    elif state == "off":
        paint = p.vgrad(size, [(0.0, "#26282d"), (1.0, "#202226")])
        rim = "#2f3238"
    else:
        paint = p.vgrad(size, [(0.0, "#484c55"), (1.0, "#2a2d33")])
        rim = "#777c86"
    p.fill(img, p.grow(shape, 0.8), t.INK if state != "off" else "#16171a")
    p.fill(img, shape, paint)
    p.fill(img, p.inter(p.edge_inner(shape, 1.0), p.rect_mask(size, 0, 0, size[0], size[1] / 2.0)),
           rim, 0.8)


def step_button(sign, state):
    """"CONTROL_-1/-2/-3" (18 x 10) and "CONTROL_+1/+2/+3" (18 x 17); state 'normal', 'hot'
    or 'off'. Both buttons show the same round key, centred on the track."""
    h = 10 if sign < 0 else 17
    img = p.solid((18, h), t.PAGE_BG)
    cy = 5.0 if sign < 0 else 8.5
    shape = p.rrect_mask(img.size, 2, cy - 4.2, 16, cy + 4.2, 4.2)
    _chip(img, shape, state)
    color = {"hot": t.TEXT, "off": "#464950"}.get(state, "#e4e6ea")
    glyph = p.rect_mask(img.size, 6, cy - 0.75, 12, cy + 0.75)
    if sign > 0:
        glyph = p.union(glyph, p.rect_mask(img.size, 8.25, cy - 3, 9.75, cy + 3))
    p.fill(img, glyph, color)
    img.putalpha(255)
    return img


def _segment_box(k):
    """Segment k of the track (filled width 6 p + 4 shows exactly p segments)."""
    return (6 * k + 4, 7, 6 * k + 9, 16)


def track(kind):
    """"CONTROL_B1" empty, "CONTROL_B3" filled, "CONTROL_B2" disabled (182 x 23)."""
    size = (182, 23)
    if kind == "fill":
        img = p.canvas(size)
        lit = p.blank_mask(size)
        for k in range(30):
            x0, y0, x1, y1 = _segment_box(k)
            lit = p.union(lit, p.rect_mask(size, x0, y0, x1, y1))
        p.fill(img, lit, p.hgrad(size, [(0.0, "#9c0c19"), (0.45, "#e11d2e"), (1.0, "#ff5a66")],
                                 4, 178))
        p.fill(img, p.inter(lit, p.rect_mask(size, 0, 7, 182, 9)), "#ffffff", 0.35)
        p.fill(img, p.inter(lit, p.rect_mask(size, 0, 14, 182, 16)), "#000000", 0.25)
        return img
    img = p.solid(size, t.PAGE_BG)
    groove = p.rrect_mask(size, 0.5, 5, 200, 18, 3)
    p.fill(img, p.shift(groove, 0, 1), "#34373e", 0.7)
    p.fill(img, groove, "#0b0c0e" if kind == "empty" else "#15161a")
    for k in range(30):
        x0, y0, x1, y1 = _segment_box(k)
        p.fill(img, p.rect_mask(size, x0, y0, x1, y1), "#2c1317" if kind == "empty" else "#1e2024")
    img.putalpha(255)
    return img


def value_box():
    """"CONTROL_0": the 30 x 15 box behind the four digits."""
    img = p.solid((30, 15), t.PAGE_BG)
    shape = p.rrect_mask(img.size, 0.5, 0.5, 29.5, 14.5, 3)
    p.fill(img, shape, "#39343a")
    p.fill(img, p.shrink(shape, 1.0), p.vgrad(img.size, [(0.0, "#060607"), (1.0, "#120a0c")]))
    img.putalpha(255)
    return img


# Seven-segment digits: a, b, c, d, e, f, g (top, top right, bottom right, bottom, bottom left,
# top left, middle) for 0..9.
_SEGMENTS = ["abcdef", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg", "abcdfg"]


def _segment_rects(x):
    """1-pixel segments of one 5 x 9 digit whose left column is x, rows 2..10."""
    return {"a": (x + 1, 2, x + 4, 3), "d": (x + 1, 10, x + 4, 11), "g": (x + 1, 6, x + 4, 7),
            "f": (x, 3, x + 1, 6), "b": (x + 4, 3, x + 5, 6), "e": (x, 7, x + 1, 10),
            "c": (x + 4, 7, x + 5, 10)}


def digit_strip():
    """"CONTROL__NUM": digits 0-9, 7 pixels apart, digit d starting at x = 7 d + 1; the last row
    stays transparent (it is drawn one row below the value box)."""
    img = p.canvas((72, 15))
    size = img.size
    for d in range(10):
        x = 7 * d + 1 + 1
        rects = _segment_rects(x)
        ghost = p.blank_mask(size)
        for r in rects.values():
            ghost = p.union(ghost, p.rect_mask(size, *r))
        p.fill(img, ghost, "#3a0c12")
        lit = p.blank_mask(size)
        for s in _SEGMENTS[d]:
            lit = p.union(lit, p.rect_mask(size, *rects[s]))
        cell = p.rect_mask(size, 7 * d + 1, 0, 7 * d + 8, 14)
        p.fill(img, p.inter(p.blur(lit, 0.8), cell), "#ff2d3b", 0.6)
        p.fill(img, lit, "#ff5a64")
    return img


# ============================================================================ small buttons

def tick(state):
    """Tick boxes (14 x 14) on the plate colour: 'off' = "Setdlg_BtnSel" (an empty box, the
    face of an untoggled button), 'hover' = "Setdlg_Btn_M", 'on' = "Setdlg_UnBtnSel" (the
    ticked face the toggled button shows)."""
    img = p.solid((14, 14), t.TICK_BG)
    size = img.size
    shape = p.rrect_mask(size, 0.5, 0.5, 13.5, 13.5, 3)
    if state == "on":
        p.fill(img, shape, "#ff5a66")
        p.fill(img, p.shrink(shape, 1.0), p.vgrad(size, [(0.0, "#f0283a"), (1.0, "#9c0c19")]))
        p.fill(img, p.shift(icons.check(size, 7, 7.3, 9, 1.8), 0, 1), "#4a0008", 0.8)
        p.fill(img, icons.check(size, 7, 7.3, 9, 1.8), t.TEXT)
    else:
        p.fill(img, shape, t.RED if state == "hover" else "#4d515a")
        p.fill(img, p.shrink(shape, 1.0), p.vgrad(size, [(0.0, "#0d0e10"), (1.0, "#17181b")]))
        if state == "hover":
            p.fill(img, p.inter(p.blur(p.edge_inner(p.shrink(shape, 1.0), 2), 1), shape),
                   t.RED_BRIGHT, 0.6)
            p.fill(img, icons.check(size, 7, 7.3, 8, 1.5), "#ff5a66", 0.45)
    img.putalpha(255)
    return img


def point(state):
    """Selector points (10 x 10): 'N', 'M' (hover) and 'SEL' (the chosen one)."""
    img = p.solid((10, 10), t.PAGE_BG)
    size = img.size
    if state == "SEL":
        p.fill(img, p.ellipse_mask(size, 5, 5, 4.8), "#ff8a93")
        p.fill(img, p.ellipse_mask(size, 5, 5, 4.0), p.vgrad(size, [(0.0, "#ff4a57"),
                                                                 (1.0, "#a30d1b")]))
        p.fill(img, p.ellipse_mask(size, 4.2, 3.9, 1.3), "#ffffff", 0.7)
    else:
        ring = p.ring_mask(size, 5, 5, 3.3, 4.6)
        p.fill(img, p.ellipse_mask(size, 5, 5, 3.4), "#3a0a10" if state == "M" else "#0f1012")
        p.fill(img, ring, t.RED_BRIGHT if state == "M" else "#6b707a")
        if state == "M":
            p.fill(img, p.ellipse_mask(size, 5, 5, 1.5), t.RED_BRIGHT, 0.8)
    img.putalpha(255)
    return img


def speed_toggle(state):
    """The automatic-fan toggle (30 x 12): 'N' off, 'M' hover, 'Sl' on (automatic)."""
    img = p.solid((30, 12), t.PAGE_BG)
    size = img.size
    shape = p.rrect_mask(size, 0.5, 0.5, 29.5, 11.5, 5.5)
    if state == "Sl":
        p.fill(img, shape, "#ff5a66")
        p.fill(img, p.shrink(shape, 1.0), p.vgrad(size, [(0.0, "#f0283a"), (1.0, "#9c0c19")]))
        fg = t.TEXT
    else:
        p.fill(img, shape, t.RED if state == "M" else "#4d515a")
        p.fill(img, p.shrink(shape, 1.0), p.vgrad(size, [(0.0, "#2f3238"), (1.0, "#1f2125")]))
        fg = t.TEXT if state == "M" else "#9ca1aa"
    p.text(img, (15, 6), "自动", p.font(10), fg, anchor="mm")
    img.putalpha(255)
    return img


# ============================================================================ indicator

def needle():
    """"CLOCK_TIP" (23 x 80): its top centre is the pivot; the blade leaves the centre free for
    the temperature text and reaches to the scale."""
    size = (23, 80)
    img = p.canvas(size)
    c = 11.5
    blade = p.poly_mask(size, [(c - 3.0, 33), (c + 3.0, 33), (c + 0.7, 78.5), (c - 0.7, 78.5)])
    tail = p.ellipse_mask(size, c, 33, 3.0)
    shape = p.union(blade, tail)
    p.fill(img, p.inter(p.blur(shape, 2.2), p.rect_mask(size, 0, 26, 23, 80)), t.RED_BRIGHT, 0.9)
    p.fill(img, p.grow(shape, 0.7), "#2a0006", 0.9)
    p.fill(img, shape, p.hgrad(size, [(0.0, "#b00f1e"), (0.5, "#ff4a57"), (1.0, "#8a0816")],
                               c - 3, c + 3))
    p.fill(img, p.line_mask(size, [(c, 35), (c, 74)], 0.9, False), "#ffffff", 0.8)
    return img


def wait_frames(count=30):
    """The 100 x 7 wait animation: a light running along a groove, 30 frames."""
    frames = []
    size = (100, 7)
    base = p.solid(size, t.PAGE_BG)
    groove = p.rrect_mask(size, 0.5, 0.5, 99.5, 6.5, 3)
    p.fill(base, groove, "#3a3d44")
    inner = p.shrink(groove, 1.0)
    p.fill(base, inner, "#0b0c0e")
    for k in range(4, 100, 8):
        p.fill(base, p.rect_mask(size, k, 3, k + 1, 4), "#2c1317")
    for i in range(count):
        img = base.copy()
        head = 6 + (100 + 30) * i / count
        trail = p.hgrad(size, [(0.0, (255, 40, 56, 0)), (0.75, (225, 29, 46, 200)),
                               (1.0, (255, 140, 150, 255))], head - 36, head)
        light = p.inter(inner, p.rect_mask(size, max(0, head - 36), 0, min(100, head + 2), 7))
        p.fill(img, light, trail)
        img.putalpha(255)
        frames.append(img.convert("RGB"))
    return frames


def save_gif(frames, path):
    """One palette for all frames, full frames, 100 ms each, looping."""
    palette_src = Image.new("RGB", (frames[0].width, frames[0].height * len(frames)))
    for i, f in enumerate(frames):
        palette_src.paste(f, (0, i * f.height))
    pal = palette_src.quantize(colors=64, method=Image.Quantize.MEDIANCUT, dither=Image.NONE)
    converted = [f.quantize(palette=pal, dither=Image.NONE) for f in frames]
    converted[0].save(path, save_all=True, append_images=converted[1:], duration=100, loop=0,
                      optimize=False, disposal=1)
