"""The main window: the round gauge with its navigation pod and button crescent (the 380-wide
left part), the right-hand body of the full 800 x 328 window, and the window's buttons."""

import functools
import math

import icons
import paint as p
import theme as t

CX, CY = t.PIVOT


# ============================================================================ left part pieces

def _bar_masks(size):
    """The buttons, inset from their hit regions; a button also keeps out of its neighbours'
    bounding boxes, the boxes the bar lights on hover."""
    masks = []
    for i in range(5):
        m = p.shrink(p.poly_mask(size, t.bar_polygon(i)), 1.6)
        for j in range(5):
            if j != i:
                x0, y0, x1, y1 = t.bar_bbox(j)
                m = p.sub(m, p.rect_mask(size, x0, y0, x1, y1))
        masks.append(m)
    return masks


def _nav_masks(size):
    out = []
    for i in range(4):
        x0, y0, x1, y1 = t.nav_rect(i)
        out.append(p.rrect_mask(size, x0 + 2, y0 + 2, x1 - 2, y1 - 2, 5))
    return out


def _radial_grad(size, mask_box, p0, p1, stops):
    x0, y0, x1, y1 = mask_box
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    n = dx * dx + dy * dy or 1.0
    part = p.colorize(p.field((x1 - x0, y1 - y0), lambda x, y: (
        (x + x0 - p0[0]) * dx + (y + y0 - p0[1]) * dy) / n), stops)
    out = p.canvas(size)
    out.paste(part, (x0, y0))
    return out


def _skirt(img):
    size = img.size
    buttons = p.union(*[p.poly_mask(size, t.bar_polygon(i)) for i in range(5)])
    band = p.sector_mask(size, CX, CY, 120, 152, 57, 138)
    skirt = p.union(p.grow(buttons, 4.5), band)
    skirt = p.inter(skirt, p.rect_mask(size, 0, 0, size[0], size[1]))
    p.fill(img, skirt, p.rgrad(size, CX, CY, 168, [(0.78, "#202226"), (1.0, "#141518")],
                               box=(60, 150, 320, 328)))
    p.texture(img, skirt, 0.10, streak=6, seed_shift=3)
    p.fill(img, p.edge_inner(skirt, 1.2), t.INK, 0.9)
    # A groove that seats the buttons.
    groove = p.grow(buttons, 1.8)
    p.fill(img, groove, "#0d0e10")
    return skirt


def _bar_button(img, i, mask, lit):
    size = img.size
    poly = t.bar_polygon(i)
    inner = ((poly[1][0] + poly[2][0]) / 2.0, (poly[1][1] + poly[2][1]) / 2.0)
    outer = ((poly[0][0] + poly[3][0]) / 2.0, (poly[0][1] + poly[3][1]) / 2.0)
    box = t.bar_bbox(i)
    box = (box[0] - 1, box[1] - 1, box[2] + 2, box[3] + 2)
    if lit:
        stops = [(0.0, "#ff4a57"), (0.55, "#d51627"), (1.0, "#8e0a17")]
    else:
        stops = [(0.0, "#41454d"), (0.5, "#2c2f35"), (1.0, "#1f2125")]
    p.fill(img, mask, _radial_grad(size, box, inner, outer, stops))
    # Bevel: a light rim towards the gauge, a dark one away from it.
    rim = p.edge_inner(mask, 1.0)
    towards = p.sub(mask, p.shift(mask, int(round((outer[0] - inner[0]) / 8)),
                                  int(round((outer[1] - inner[1]) / 8))))
    p.fill(img, p.inter(rim, towards), "#ffb3b9" if lit else "#6c717b", 0.8)
    p.fill(img, p.sub(rim, towards), "#3d0208" if lit else t.INK, 0.7)
    if lit:
        p.fill(img, p.inter(p.blur(p.edge_inner(mask, 2.5), 1.5), mask), "#ff8a93", 0.5)
    cx = sum(x for x, _ in poly) / 4.0
    cy = sum(y for _, y in poly) / 4.0
    draw = [icons.globe, icons.reset, icons.gear, icons.monitor, icons.sun][i]
    glyph = draw(size, cx, cy + 0.5, 12.5)
    p.fill(img, p.shift(glyph, 0, 1), "#5a0009" if lit else t.INK, 0.8)
    p.fill(img, glyph, t.TEXT if lit else "#a3a8b1")


def _pod(img):
    size = img.size
    plate = p.rrect_mask(size, 12, 116, 140, 206, 15)
    p.fill(img, p.grow(plate, 1.5), t.INK)
    p.fill(img, plate, p.vgrad(size, [(0.0, "#2c2f35"), (1.0, "#17181b")], 116, 206))
    p.texture(img, plate, 0.08, streak=5, seed_shift=7)
    rim = p.edge_inner(plate, 1.0)
    p.fill(img, p.inter(rim, p.rect_mask(size, 0, 0, 380, 160)), "#50545d", 0.9)
    # Recess around the four arms.
    recess = p.union(*[p.rrect_mask(size, r[0] + 0.5, r[1] + 0.5, r[2] - 0.5, r[3] - 0.5, 6)
                       for r in (t.nav_rect(i) for i in range(4))])
    p.fill(img, recess, "#0e0f11")
    # The hub between the upper and lower arms.
    hx, hy = (t.nav_rect(2)[0] + t.nav_rect(2)[2]) / 2.0, (t.nav_rect(2)[3] + t.nav_rect(3)[1]) / 2.0
    p.fill(img, p.ellipse_mask(size, hx, hy, 4.2), "#0e0f11")
    p.fill(img, p.ellipse_mask(size, hx, hy, 2.2), t.RED)
    p.glow(img, p.ellipse_mask(size, hx, hy, 2.0), t.RED_BRIGHT, 1.5, 0.8)


def _nav_arm(img, i, mask, lit):
    size = img.size
    x0, y0, x1, y1 = t.nav_rect(i)
    if lit:
        grad = p.vgrad(size, [(0.0, "#ff4654"), (0.5, "#d51627"), (1.0, "#900a17")], y0, y1)
    else:
        grad = p.vgrad(size, [(0.0, "#3f434b"), (0.45, "#2b2e34"), (1.0, "#1e2024")], y0, y1)
    p.fill(img, mask, grad)
    rim = p.edge_inner(mask, 1.0)
    fade = p.vgrad(size, [(0.0, "#ffffff"), (1.0, "#000000")], y0 + 2, y0 + 14).getchannel("R")
    p.fill(img, p.inter(rim, fade), "#ffb0b6" if lit else "#737883", 0.9)
    p.fill(img, p.inter(rim, p.invert(fade)), "#420209" if lit else t.INK, 0.5)
    if lit:
        p.fill(img, p.inter(p.blur(p.edge_inner(mask, 2.5), 1.5), mask), "#ff8a93", 0.45)
    fg = t.TEXT if lit else "#a3a8b1"
    shade = "#5a0009" if lit else t.INK
    cx = (x0 + x1) / 2.0
    f11 = p.font(11)
    if i == 0:      # left arm: shortcut keys
        g = icons.keyboard(size, cx, y0 + 14, 17)
        p.fill(img, p.shift(g, 0, 1), shade, 0.8)
        p.fill(img, g, fg)
        p.vtext(img, cx, y0 + 28, "快捷键", f11, fg, gap=2, shadow=(0, 1, shade))
    elif i == 1:    # right arm: hardware information
        g = icons.chip(size, cx, y0 + 13, 16)
        p.fill(img, p.shift(g, 0, 1), shade, 0.8)
        p.fill(img, g, fg)
        p.vtext(img, cx, y0 + 26, "硬件信息", f11, fg, gap=1, shadow=(0, 1, shade))
    elif i == 2:    # upper arm: overclocking
        g = icons.bolt(size, cx, y0 + 11, 12)
        p.fill(img, p.shift(g, 0, 1), shade, 0.8)
        p.fill(img, g, fg)
        p.text(img, (cx, y0 + 20), "超频", p.font(10), fg, anchor="mt", shadow=(0, 1, shade))
    else:           # lower arm: 3D settings
        g = icons.cube(size, cx, y0 + 11, 12)
        p.fill(img, p.shift(g, 0, 1), shade, 0.8)
        p.fill(img, g, fg)
        p.text(img, (cx, y0 + 20), "3D", p.font(10, "bold"), fg, anchor="mt", shadow=(0, 1, shade))


def _bezel(img):
    size = img.size
    box = (CX - t.DISC_R - 2, CY - t.DISC_R - 2, CX + t.DISC_R + 2, min(328, CY + t.DISC_R + 2))
    disc = p.ellipse_mask(size, CX, CY, t.DISC_R)
    p.fill(img, p.grow(disc, 2.0), t.INK)
    metal = p.cgrad(size, CX, CY, [(0.0, "#3b3e45"), (0.125, "#2a2c31"), (0.375, "#55595f"),
                                   (0.5, "#3e4148"), (0.625, "#6d717a"), (0.75, "#42454c"),
                                   (0.875, "#2b2d32"), (1.0, "#3b3e45")], box=box)
    p.fill(img, disc, metal)
    p.texture(img, disc, 0.10, sigma=30, seed_shift=11)
    p.fill(img, p.edge_inner(disc, 1.0), "#8a8f99", 0.35)
    # Inner lip and the red ring around the face.
    p.fill(img, p.ellipse_mask(size, CX, CY, t.FACE_R + 3), "#0c0d0f")
    p.fill(img, p.ring_mask(size, CX, CY, t.FACE_R + 0.6, t.FACE_R + 1.9), t.RED, 0.85)


def _face(img):
    size = img.size
    box = (CX - t.FACE_R - 1, CY - t.FACE_R - 1, CX + t.FACE_R + 1, CY + t.FACE_R + 1)
    face = p.ellipse_mask(size, CX, CY, t.FACE_R)
    p.fill(img, face, p.rgrad(size, CX, CY - 30, t.FACE_R + 40,
                              [(0.0, "#26282e"), (0.6, "#17181c"), (1.0, "#0f1012")], box=box))
    # Fine concentric machining.
    for r in range(8, t.FACE_R, 3):
        p.fill(img, p.inter(p.ring_mask(size, CX, CY, r, r + 0.7), face), "#ffffff", 0.018)
    p.fill(img, p.inter(p.blur(p.edge_inner(face, 6), 4), face), "#000000", 0.55)


def _scale(img, red_zone=True):
    size = img.size
    f_num = p.font(11)
    # Track of the scale.
    a0, a1 = t.screen_angle(t.TEMP_MIN), t.screen_angle(t.TEMP_MAX)
    if a1 < a0:
        a1 += 360.0
    p.fill(img, p.arc_mask(size, CX, CY, 113.5, a0, a1, 1.0), "#4b4f57")
    if red_zone:
        r0 = t.screen_angle(85)
        if r0 < a0:
            r0 += 360.0
        zone = p.arc_mask(size, CX, CY, 116.0, r0, a1, 3.2)
        p.glow(img, zone, t.RED_BRIGHT, 3, 0.7)
        p.fill(img, zone, t.RED)
    for c in range(t.TEMP_MIN, t.TEMP_MAX + 1):
        dx, dy = t.needle_direction(c)
        hot = red_zone and c >= 85
        if c % 10 == 0:
            r_in, r_out, w = 98.0, 113.0, 2.2
            color = t.RED_BRIGHT if hot else "#f1f2f4"
        elif c % 2 == 0:
            r_in, r_out, w = 105.0, 113.0, 1.1
            color = "#e0434f" if hot else "#8b9099"
        else:
            continue
        tick = p.line_mask(size, [(CX + dx * r_in, CY + dy * r_in),
                                  (CX + dx * r_out, CY + dy * r_out)], w, round_caps=False)
        p.fill(img, tick, color)
        if c % 10 == 0:
            nx, ny = CX + dx * 86.0, CY + dy * 86.0
            p.text(img, (nx, ny), str(c), f_num, t.RED_BRIGHT if hot else t.TEXT_2, anchor="mm",
                   shadow=(0, 1, "#000000"))


def _readout_frames(img):
    """The centre window behind the temperature and the plate behind the clock text."""
    size = img.size
    centre = p.ellipse_mask(size, CX, CY, 28)
    p.fill(img, p.grow(centre, 1.5), "#2e3137")
    p.fill(img, centre, p.rgrad(size, CX, CY, 28, [(0.0, "#16090b"), (1.0, "#070708")],
                                box=(CX - 30, CY - 30, CX + 30, CY + 30)))
    p.fill(img, p.inter(p.blur(p.edge_inner(centre, 3), 2), centre), t.RED, 0.35)
    plate = p.rrect_mask(size, 168, 203, 262, 225, 5)
    p.fill(img, p.grow(plate, 1.2), "#2a2d33")
    p.fill(img, plate, p.vgrad(size, [(0.0, "#070708"), (1.0, "#111215")], 203, 225))
    # Left of the centre, where the needle never passes.
    p.text(img, (164, 161), "GPU", p.font(8, "bold"), "#7d828c", anchor="mm", spacing=1)
    p.text(img, (164, 172), "TEMP", p.font(8, "bold"), "#7d828c", anchor="mm", spacing=1)


def _emblem(img):
    """The start screen: the product mark where the gauge will be."""
    size = img.size
    ex, ey = 228, 150
    ring = p.ring_mask(size, ex, ey, 33, 36)
    p.glow(img, ring, t.RED, 6, 0.5)
    p.fill(img, ring, p.vgrad(size, [(0.0, "#ff4a57"), (1.0, "#8e0a17")], ey - 36, ey + 36))
    v = p.poly_mask(size, [(ex - 20, ey - 17), (ex - 9, ey - 17), (ex, ey + 6), (ex + 9, ey - 17),
                           (ex + 20, ey - 17), (ex + 4, ey + 22), (ex - 4, ey + 22)])
    p.glow(img, v, t.RED_BRIGHT, 4, 0.6)
    p.fill(img, v, p.vgrad(size, [(0.0, "#ffffff"), (0.5, "#ffd0d4"), (1.0, "#ff5a66")],
                           ey - 17, ey + 22))
    p.text(img, (ex, ey + 52), "VELMORA", p.font(15, "bold"), t.TEXT, anchor="mm", spacing=3,
           shadow=(0, 1, "#000000"))
    p.text(img, (ex, ey + 71), "显卡性能调节", p.font(11), t.TEXT_3, anchor="mm", spacing=2)


# ============================================================================ left part variants

@functools.lru_cache(maxsize=None)
def _base():
    img = p.canvas(t.LEFT)
    _skirt(img)
    _bezel(img)
    _face(img)
    for i, m in enumerate(_bar_masks(img.size)):
        _bar_button(img, i, m, lit=False)
    _pod(img)
    for i, m in enumerate(_nav_masks(img.size)):
        _nav_arm(img, i, m, lit=False)
    return img


@functools.lru_cache(maxsize=None)
def _lit_overlay():
    img = p.canvas(t.LEFT)
    for i, m in enumerate(_bar_masks(img.size)):
        _bar_button(img, i, m, lit=True)
    for i, m in enumerate(_nav_masks(img.size)):
        _nav_arm(img, i, m, lit=True)
    return img


def left_start():
    """"RbtnBack": the start screen, the gauge showing the product mark."""
    img = _base().copy()
    _emblem(img)
    return img


def left_plain():
    """"LeftBk_Res": the start screen's atlas for the pod and the crescent."""
    return _base().copy()


def left_lit():
    """"ColorBk": the same atlas with every arm and button lit."""
    img = _base().copy()
    img.alpha_composite(_lit_overlay())
    return img


@functools.lru_cache(maxsize=None)
def _dial(red_zone=True):
    img = _base().copy()
    _scale(img, red_zone)
    _readout_frames(img)
    return img


def left_clock():
    """"MAINDLG_BK_CLOCK_RES": the gauge with its scale (atlas of the page screen)."""
    return _dial(True).copy()


def left_clock_plain():
    """"MAINDLG_BK_CLOCK": the gauge without the red zone."""
    return _dial(False).copy()


# ============================================================================ right body

def _body(img, header=True):
    size = img.size
    x0, y0, x1, y1 = t.BODY
    body = p.rrect_mask(size, x0, y0, x1, y1, t.BODY_R)
    p.fill(img, p.grow(body, 1.5), t.INK)
    p.fill(img, body, p.vgrad(size, [(0.0, "#2a2c31"), (0.3, "#222428"), (1.0, "#18191c")],
                              y0, y1))
    p.texture(img, body, 0.07, streak=8, seed_shift=5)
    rim = p.edge_inner(body, 1.0)
    p.fill(img, p.inter(rim, p.rect_mask(size, 0, 0, 800, y0 + 20)), "#555962", 0.9)
    p.fill(img, p.inter(rim, p.rect_mask(size, 0, y1 - 20, 800, 328)), "#000000", 0.5)
    # Item list column.
    col = p.rrect_mask(size, 379, 76, 490, 275, 6)
    p.fill(img, p.shift(col, 0, 1), "#3a3d44", 0.6)
    p.fill(img, col, p.vgrad(size, [(0.0, "#101113"), (1.0, "#16171a")], 76, 275))
    p.fill(img, p.inter(p.blur(p.edge_inner(col, 3), 2), col), "#000000", 0.6)
    p.fill(img, p.rect_mask(size, 379, 84, 381, 268), t.RED, 0.9)
    p.glow(img, p.rect_mask(size, 379, 84, 381, 268), t.RED_BRIGHT, 2.5, 0.5)
    # Frame of the page area.
    frame = p.rrect_mask(size, 499, 89, 775, 275, 8)
    p.fill(img, p.shift(frame, 0, 1), "#3a3d44", 0.6)
    p.fill(img, frame, "#0e0f11")
    # Seat of the three command buttons.
    seat = p.rrect_mask(size, 419, 277, 658, 309, 7)
    p.fill(img, p.shift(seat, 0, 1), "#3a3d44", 0.5)
    p.fill(img, seat, "#111215")
    # Seat of the caption buttons.
    cap = p.rrect_mask(size, 727, 52, 781, 77, 6)
    p.fill(img, p.shift(cap, 0, 1), "#3a3d44", 0.5)
    p.fill(img, cap, "#111215")
    if header:
        p.text(img, (386, 60), "VELMORA", p.font(17, "bold"), t.TEXT, anchor="ls", spacing=3,
               shadow=(0, 1, "#000000"))
        p.text(img, (506, 59), "显卡性能调节", p.font(11), t.TEXT_3, anchor="ls", spacing=1)
        p.fill(img, p.rect_mask(size, 386, 66, 414, 68), t.RED)
        p.glow(img, p.rect_mask(size, 386, 66, 414, 68), t.RED_BRIGHT, 2, 0.6)
    p.text(img, (722, 297), "v1.0", p.font(9, "sans"), "#5c616b", anchor="lm")
    return img


def full_window(left, header=True):
    img = p.canvas(t.WINDOW)
    _body(img, header)
    layer = p.canvas(t.WINDOW)
    layer.paste(left, (0, 0))
    img.alpha_composite(layer)
    return img


def full_main():
    """"MainDlg_BKALL": the page screen."""
    return full_window(left_clock())


def full_alt():
    """"MainDlg_BKALL_Res": the full window showing the product mark instead of the gauge."""
    return full_window(left_start(), header=False)


# ============================================================================ window buttons

def _crop(img, box):
    x, y, w, h = box
    return img.crop((x, y, x + w, y + h))


def _plate_paint(size, state, y0=0, y1=None):
    y1 = size[1] if y1 is None else y1
    if state == "M":
        return p.vgrad(size, [(0.0, "#ff4a57"), (0.5, "#d51627"), (1.0, "#930a17")], y0, y1)
    if state == "D":
        return p.vgrad(size, [(0.0, "#5a030c"), (1.0, "#86101d")], y0, y1)
    return p.vgrad(size, [(0.0, "#42464e"), (0.5, "#2e3137"), (1.0, "#222429")], y0, y1)


def _plate(img, mask, state):
    size = img.size
    p.fill(img, mask, _plate_paint(size, state))
    rim = p.edge_inner(mask, 1.0)
    top = p.rect_mask(size, 0, 0, size[0], size[1] / 2.0)
    if state == "D":
        p.fill(img, p.inter(rim, top), "#000000", 0.6)
    else:
        p.fill(img, p.inter(rim, top), "#ffb0b6" if state == "M" else "#70757f", 0.8)
        p.fill(img, p.sub(rim, top), "#3d0208" if state == "M" else "#000000", 0.6)


def action_button(kind, state, background):
    """Default, OK or Apply (kind 'default', 'ok', 'apply') in state 'N', 'M' or 'D', baked onto
    the part of the window background under it."""
    box = {"default": t.DEFAULT_BUTTON, "ok": t.OK_BUTTON, "apply": t.APPLY_BUTTON}[kind]
    img = _crop(background, box)
    size = img.size
    w, h = size
    if kind == "default":
        shape = p.poly_mask(size, [(1.2, h - 1), (12.6, 1), (w - 0.5, 1), (w - 0.5, h - 1)])
        label, shift_x = "恢复默认", 5
    elif kind == "apply":
        shape = p.poly_mask(size, [(0.5, h - 1), (0.5, 1), (w - 12.6, 1), (w - 1.2, h - 1)])
        label, shift_x = "应用", -5
    else:
        shape = p.rect_mask(size, 0.5, 1, w - 0.5, h - 1)
        label, shift_x = "确认", 0
    p.fill(img, p.grow(shape, 0.8), "#070708")
    _plate(img, shape, state)
    if state == "M":
        p.fill(img, p.inter(p.blur(p.edge_inner(shape, 2), 1.5), shape), "#ff8a93", 0.4)
    dy = 1 if state == "D" else 0
    color = t.TEXT if state != "N" else "#dfe2e6"
    p.text(img, (w / 2.0 + shift_x, h / 2.0 + dy), label, p.font(12), color, anchor="mm",
           shadow=(0, 1, "#000000" if state == "N" else "#4a0008"))
    img.putalpha(255)
    return img


def caption_button(kind, state, background):
    """Minimise or close (kind 'min', 'close') in state 'N', 'M' or 'D'."""
    box = t.MIN_BUTTON if kind == "min" else t.CLOSE_BUTTON
    img = _crop(background, box)
    size = img.size
    w, h = size
    shape = p.rrect_mask(size, 0.5, 0.5, w - 0.5, h - 0.5, 4)
    if kind == "min" and state == "M":
        p.fill(img, shape, p.vgrad(size, [(0.0, "#5a5e68"), (1.0, "#343740")]))
        p.fill(img, p.edge_inner(shape, 1.0), "#8d929c", 0.7)
    else:
        _plate(img, shape, state)
    dy = 1 if state == "D" else 0
    color = t.TEXT if state != "N" else "#c3c7ce"
    cx, cy = w / 2.0, h / 2.0 + dy
    if kind == "min":
        glyph = p.rect_mask(size, cx - 4.5, cy + 2, cx + 4.5, cy + 3.6)
    else:
        glyph = icons.cross(size, cx, cy, 7.5, 1.6)
    p.fill(img, p.shift(glyph, 0, 1), "#000000", 0.7)
    p.fill(img, glyph, color)
    img.putalpha(255)
    return img


def bar_face(state):
    """"MainBtnList_N" / "MainBtnList_D": a generic bar button face (70 x 26)."""
    img = p.canvas((70, 26))
    shape = p.rrect_mask(img.size, 1, 1, 69, 25, 6)
    p.fill(img, p.grow(shape, 0.8), "#070708")
    _plate(img, shape, "D" if state == "D" else "N")
    p.fill(img, p.rect_mask(img.size, 8, 11, 12, 15), t.RED if state == "D" else "#767b85")
    return img
