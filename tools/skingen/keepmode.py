"""The question after a display-mode change ("保留这些显示设置？"): its background and its two
buttons. The window is layered with per-pixel alpha, so the background has soft outer edges
and alpha 0 outside them; the program draws the question and the countdown onto it at
t.KEEP_TEXT_LEFT."""

import icons
import paint as p
import theme as t
import window

SIZE = t.KEEP_SIZE


def _shape():
    return p.rrect_mask(SIZE, 1, 1, SIZE[0] - 1, SIZE[1] - 1, 12)


def background():
    """"ModeKeep_BK" (300 x 132)."""
    w, h = SIZE
    img = p.canvas(SIZE)
    shape = _shape()
    p.fill(img, p.grow(shape, 1.0), t.INK)
    p.fill(img, shape, p.vgrad(SIZE, [(0.0, "#2a2c31"), (0.35, "#222428"), (1.0, "#18191c")]))
    p.texture(img, shape, 0.07, streak=8, seed_shift=21)
    rim = p.edge_inner(shape, 1.0)
    p.fill(img, p.inter(rim, p.rect_mask(SIZE, 0, 0, w, 24)), "#555962", 0.9)
    p.fill(img, p.inter(rim, p.rect_mask(SIZE, 0, h - 24, w, h)), "#000000", 0.5)
    # The accent and the screen glyph left of the question.
    accent = p.rect_mask(SIZE, 14, 22, 16, 44)
    p.fill(img, accent, t.RED)
    p.glow(img, accent, t.RED_BRIGHT, 2, 0.6)
    glyph = icons.monitor(SIZE, 41, 40, 30, 1.8)
    p.glow(img, glyph, t.RED_BRIGHT, 2, 0.35)
    p.fill(img, glyph, p.vgrad(SIZE, [(0.0, "#ffffff"), (1.0, "#ff8a93")], 24, 56))
    # Seat of the two buttons.
    kx, ky, kw, kh = t.KEEP_BUTTON
    rx, _, rw, _ = t.KEEP_REVERT
    seat = p.rrect_mask(SIZE, kx - 4, ky - 3, rx + rw + 4, ky + kh + 3, 7)
    p.fill(img, p.shift(seat, 0, 1), "#3a3d44", 0.5)
    p.fill(img, seat, "#111215")
    p.fill(img, p.rect_mask(SIZE, 14, 80, w - 14, 81), "#2c2f35")
    return img


def button(kind, state, bg):
    """"ModeKeep_OK*" (keep, red) and "ModeKeep_Back*" (revert, graphite), 98 x 25, in state
    'N', 'M' or 'D', baked onto the seat under them."""
    box = t.KEEP_BUTTON if kind == "keep" else t.KEEP_REVERT
    x, y, w, h = box
    img = bg.crop((x, y, x + w, y + h))
    size = img.size
    shape = p.rrect_mask(size, 0.5, 1, w - 0.5, h - 1, 5)
    p.fill(img, p.grow(shape, 0.8), "#070708")
    if kind == "keep" and state != "D":
        stops = ([(0.0, "#ff4a57"), (1.0, "#a30d1b")] if state == "M"
                 else [(0.0, "#d51627"), (1.0, "#7f0512")])
        p.fill(img, shape, p.vgrad(size, stops))
        p.fill(img, p.inter(p.edge_inner(shape, 1.0), p.rect_mask(size, 0, 0, w, h / 2.0)),
               "#ffb0b6" if state == "M" else "#ff6a75", 0.8)
    else:
        window._plate(img, shape, state)
    caption = "保留更改" if kind == "keep" else "还原"
    dy = 1 if state == "D" else 0
    color = t.TEXT if state != "N" or kind == "keep" else "#dfe2e6"
    p.text(img, (w / 2.0, h / 2.0 + dy), caption, p.font(12), color, anchor="mm",
           shadow=(0, 1, "#3a0007" if kind == "keep" or state != "N" else "#000000"))
    img.putalpha(255)
    return img
