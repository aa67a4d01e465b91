"""Small line icons as masks: icon(size of the whole image, centre, icon size in pixels)."""

import math

import paint as p


def _circle_outline(size, cx, cy, r, w):
    return p.ring_mask(size, cx, cy, r - w / 2.0, r + w / 2.0)


def globe(size, cx, cy, s, w=1.3):
    r = s / 2.0
    m = _circle_outline(size, cx, cy, r, w)
    meridian = p.sub(p.ellipse_mask(size, cx, cy, r * 0.45 + w / 2, r),
                     p.ellipse_mask(size, cx, cy, r * 0.45 - w / 2, r - w))
    m = p.union(m, meridian)
    m = p.union(m, p.line_mask(size, [(cx - r, cy), (cx + r, cy)], w, False))
    for dy in (-r * 0.5, r * 0.5):
        half = math.sqrt(max(0.0, r * r - dy * dy))
        m = p.union(m, p.line_mask(size, [(cx - half, cy + dy), (cx + half, cy + dy)], w * 0.9,
                                   False))
    return p.inter(m, p.ellipse_mask(size, cx, cy, r + w / 2))


def reset(size, cx, cy, s, w=1.6):
    r = s / 2.0 - w / 2
    m = p.arc_mask(size, cx, cy, r, -60, 220, w, round_caps=True)
    a = math.radians(-60)
    tip = (cx + r * math.cos(a), cy + r * math.sin(a))
    head = [(tip[0] + 3.4, tip[1] - 0.6), (tip[0] - 1.6, tip[1] - 3.6), (tip[0] - 0.6, tip[1] + 2.6)]
    return p.union(m, p.poly_mask(size, head))


def gear(size, cx, cy, s, teeth=8):
    r_out = s / 2.0
    r_body = s * 0.36
    m = p.ellipse_mask(size, cx, cy, r_body)
    tw = s * 0.11
    for i in range(teeth):
        a = 2 * math.pi * i / teeth
        ca, sa = math.cos(a), math.sin(a)
        pts = []
        for rr, ww in ((r_body - 1, tw * 1.25), (r_out, tw)):
            pts.append((rr, ww))
        quad = [(cx + ca * pts[0][0] - sa * pts[0][1], cy + sa * pts[0][0] + ca * pts[0][1]),
                (cx + ca * pts[1][0] - sa * pts[1][1], cy + sa * pts[1][0] + ca * pts[1][1]),
                (cx + ca * pts[1][0] + sa * pts[1][1], cy + sa * pts[1][0] - ca * pts[1][1]),
                (cx + ca * pts[0][0] + sa * pts[0][1], cy + sa * pts[0][0] - ca * pts[0][1])]
        m = p.union(m, p.poly_mask(size, quad))
    return p.sub(m, p.ellipse_mask(size, cx, cy, s * 0.15))


def monitor(size, cx, cy, s, w=1.4):
    hw, hh = s / 2.0, s * 0.34
    top = cy - s * 0.42
    outer = p.rrect_mask(size, cx - hw, top, cx + hw, top + 2 * hh, 1.5)
    inner = p.rrect_mask(size, cx - hw + w, top + w, cx + hw - w, top + 2 * hh - w, 0.5)
    m = p.sub(outer, inner)
    neck = p.rect_mask(size, cx - 0.8, top + 2 * hh, cx + 0.8, top + 2 * hh + s * 0.14)
    base = p.rrect_mask(size, cx - s * 0.26, top + 2 * hh + s * 0.12, cx + s * 0.26,
                        top + 2 * hh + s * 0.12 + w, 0.6)
    return p.union(m, neck, base)


def sun(size, cx, cy, s, w=1.4):
    m = p.ellipse_mask(size, cx, cy, s * 0.2)
    for i in range(8):
        a = 2 * math.pi * i / 8
        r0, r1 = s * 0.32, s * 0.5
        m = p.union(m, p.line_mask(size, [(cx + r0 * math.cos(a), cy + r0 * math.sin(a)),
                                          (cx + r1 * math.cos(a), cy + r1 * math.sin(a))], w))
    return m


def keyboard(size, cx, cy, s, w=1.2):
    hw, hh = s / 2.0, s * 0.32
    outer = p.rrect_mask(size, cx - hw, cy - hh, cx + hw, cy + hh, 2)
    inner = p.rrect_mask(size, cx - hw + w, cy - hh + w, cx + hw - w, cy + hh - w, 1)
    m = p.sub(outer, inner)
    key = 1.6
    cols = 5
    for row, count in ((0, cols), (1, cols)):
        y = cy - hh + 2.6 + row * 2.9
        for i in range(count):
            x = cx - hw + 2.4 + i * (2 * hw - 4.8 - key) / (count - 1)
            m = p.union(m, p.rect_mask(size, x, y, x + key, y + key))
    space = p.rect_mask(size, cx - hw * 0.5, cy + hh - 3.3, cx + hw * 0.5, cy + hh - 3.3 + key)
    return p.union(m, space)


def chip(size, cx, cy, s, w=1.3):
    h = s * 0.32
    outer = p.rrect_mask(size, cx - h, cy - h, cx + h, cy + h, 1.5)
    inner = p.rect_mask(size, cx - h + w, cy - h + w, cx + h - w, cy + h - w)
    m = p.sub(outer, inner)
    m = p.union(m, p.rect_mask(size, cx - h * 0.42, cy - h * 0.42, cx + h * 0.42, cy + h * 0.42))
    pin = s * 0.5
    for k in (-1, 0, 1):
        o = k * h * 0.62
        m = p.union(m, p.rect_mask(size, cx + o - 0.6, cy - pin, cx + o + 0.6, cy - h))
        m = p.union(m, p.rect_mask(size, cx + o - 0.6, cy + h, cx + o + 0.6, cy + pin))
        m = p.union(m, p.rect_mask(size, cx - pin, cy + o - 0.6, cx - h, cy + o + 0.6))
        m = p.union(m, p.rect_mask(size, cx + h, cy + o - 0.6, cx + pin, cy + o + 0.6))
    return m


def bolt(size, cx, cy, s):
    k = s / 14.0
    pts = [(1.5, -7), (-4.2, 1.2), (-0.4, 1.2), (-1.6, 7), (4.2, -1.4), (0.4, -1.4), (1.9, -7)]
    return p.poly_mask(size, [(cx + x * k, cy + y * k) for x, y in pts])


def cube(size, cx, cy, s, w=1.3):
    r = s / 2.0
    top = (cx, cy - r)
    ul, ur = (cx - r * 0.87, cy - r * 0.5), (cx + r * 0.87, cy - r * 0.5)
    mid = (cx, cy)
    ll, lr = (cx - r * 0.87, cy + r * 0.5), (cx + r * 0.87, cy + r * 0.5)
    bottom = (cx, cy + r)
    m = p.line_mask(size, [top, ur, lr, bottom, ll, ul, top], w)
    m = p.union(m, p.line_mask(size, [ul, mid, ur], w), p.line_mask(size, [mid, bottom], w))
    return m


def arrow(size, cx, cy, s, direction=1):
    """A small chevron pointing right (direction 1) or left (-1)."""
    h = s / 2.0
    return p.line_mask(size, [(cx - h * 0.5 * direction, cy - h), (cx + h * 0.5 * direction, cy),
                              (cx - h * 0.5 * direction, cy + h)], 1.4)


def check(size, cx, cy, s, w=2.0):
    return p.line_mask(size, [(cx - s * 0.42, cy + s * 0.02), (cx - s * 0.12, cy + s * 0.32),
                              (cx + s * 0.45, cy - s * 0.36)], w)


def cross(size, cx, cy, s, w=1.6):
    h = s / 2.0
    return p.union(p.line_mask(size, [(cx - h, cy - h), (cx + h, cy + h)], w),
                   p.line_mask(size, [(cx - h, cy + h), (cx + h, cy - h)], w))


def resolution(size, cx, cy, s, w=1.3):
    """A screen with arrows pointing to its corners."""
    m = monitor(size, cx, cy, s, w)
    h = s * 0.2
    m = p.union(m, p.line_mask(size, [(cx - h, cy - s * 0.08 - h * 0.5),
                                      (cx + h, cy - s * 0.08 + h * 0.5)], 1.1))
    return m


def palette(size, cx, cy, s):
    """Three overlapping colour dots (colour quality)."""
    r = s * 0.24
    return p.union(p.ellipse_mask(size, cx, cy - r * 0.8, r),
                   p.ellipse_mask(size, cx - r * 0.9, cy + r * 0.6, r),
                   p.ellipse_mask(size, cx + r * 0.9, cy + r * 0.6, r))


def wave(size, cx, cy, s, w=1.5):
    """A refresh waveform."""
    pts = []
    for i in range(41):
        t = i / 40.0
        pts.append((cx - s / 2 + s * t, cy - math.sin(t * 2 * math.pi * 1.5) * s * 0.28))
    return p.line_mask(size, pts, w)


def rotate(size, cx, cy, s, w=1.5):
    r = s * 0.42
    m = p.arc_mask(size, cx, cy, r, 200, 470, w, round_caps=True)
    a = math.radians(110)
    tip = (cx + r * math.cos(a), cy + r * math.sin(a))
    head = [(tip[0] + 3.2, tip[1] + 1.5), (tip[0] - 2.0, tip[1] + 2.8), (tip[0] + 0.6, tip[1] - 2.6)]
    return p.union(m, p.poly_mask(size, head))
