"""The options dialog: its background (black is the dialog's transparent colour key, so pure
black appears only outside the shape) and its buttons."""

import icons
import paint as p
import theme as t

SIZE = (264, 328)
KEY = (0, 0, 0, 255)

CHOICES = ["开机不运行", "开机运行", "开机运行并最小化", "开机仅在通知区域运行", "应用硬件后退出"]


def _no_key_black(img):
    """Lifts every pure black pixel to the darkest non-key grey."""
    px = img.load()
    w, h = img.size
    for y in range(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            if r == 0 and g == 0 and b == 0:
                px[x, y] = (2, 2, 3, 255)
    return img


def _shape():
    return p.rrect_mask(SIZE, 0, 0, SIZE[0], SIZE[1], 12)


def background():
    """"Setdlg_BK" (264 x 328)."""
    img = p.solid(SIZE, t.SETDLG_BODY)
    p.fill(img, p.vgrad(SIZE, [(0.0, "#25272c"), (1.0, "#1a1b1e")]).getchannel("A"),
           p.vgrad(SIZE, [(0.0, "#25272c"), (1.0, "#1a1b1e")]))
    p.texture(img, p.blank_mask(SIZE, 255), 0.06, streak=8, seed_shift=13)
    # Title bar.
    p.fill(img, p.rect_mask(SIZE, 0, 0, 264, 31), p.vgrad(SIZE, [(0.0, "#30333a"),
                                                                 (1.0, "#222428")], 0, 31))
    p.fill(img, p.rect_mask(SIZE, 0, 31, 264, 32), "#0e0f11")
    p.fill(img, p.rect_mask(SIZE, 0, 32, 264, 33), "#34373e")
    v = p.poly_mask(SIZE, [(11, 9), (15.5, 9), (19, 18), (22.5, 9), (27, 9), (21, 23), (17, 23)])
    p.glow(img, v, t.RED_BRIGHT, 2, 0.6)
    p.fill(img, v, p.vgrad(SIZE, [(0.0, "#ffffff"), (1.0, "#ff5a66")], 9, 23))
    p.text(img, (33, 16), "选项设置", p.font(13), t.TEXT, anchor="lm", shadow=(0, 1, "#0e0f11"))
    # Start-up choices.
    _heading(img, 15, 52, "开机启动方式")
    for y, caption in zip(t.SETDLG_TICK_YS, CHOICES):
        _choice(img, y, caption)
    # Saving on exit.
    _heading(img, 15, 212, "退出设置")
    _choice(img, t.SETDLG_SAVE_Y, "退出后保存", note="（保存硬件设置）")
    # Footer.
    p.fill(img, p.rect_mask(SIZE, 12, 293, 252, 294), "#2c2f35")
    p.text(img, (132, 309), "VELMORA  显卡性能调节  v1.0", p.font(9), "#5c616b", anchor="mm")
    # Outline, then the colour key outside the rounded shape.
    shape = _shape()
    p.fill(img, p.edge_inner(shape, 1.0), "#3a3d44")
    img = _no_key_black(img)
    hard = shape.point(lambda v: 255 if v >= 128 else 0)
    key = p.solid(SIZE, KEY)
    key.paste(img, (0, 0), hard)
    return key


def _heading(img, x, y, s):
    p.fill(img, p.rect_mask(SIZE, x, y - 6, x + 2, y + 6), t.RED)
    p.glow(img, p.rect_mask(SIZE, x, y - 6, x + 2, y + 6), t.RED_BRIGHT, 1.5, 0.5)
    p.text(img, (x + 7, y), s, p.font(12), "#eceef1", anchor="lm", shadow=(0, 1, "#0e0f11"))
    w = p.text_size(s, p.font(12))[0]
    p.fill(img, p.rect_mask(SIZE, x + 14 + w, y, 250, y + 1), "#2c2f35")


def _choice(img, y, caption, note=None):
    plate = p.rrect_mask(SIZE, 10, y - 4, 254, y + 18, 4)
    p.fill(img, plate, "#30333a")
    p.fill(img, p.shrink(plate, 1.0), t.TICK_BG)
    p.text(img, (37, y + 7), caption, p.font(12), "#e6e8eb", anchor="lm")
    if note:
        w = p.text_size(caption, p.font(12))[0]
        p.text(img, (40 + w, y + 7.5), note, p.font(10), t.TEXT_3, anchor="lm")


def _crop(bg, xy, size):
    x, y = xy
    return bg.crop((x, y, x + size[0], y + size[1])).convert("RGBA")


def button(kind, state, bg):
    """"Setdlg_OK*" and "Setdlg_DEL*" (98 x 17); state '', 'M' or 'D'."""
    xy = t.SETDLG_OK if kind == "ok" else t.SETDLG_DEL
    img = _crop(bg, xy, (98, 17))
    size = img.size
    shape = p.rrect_mask(size, 0.5, 0.5, 97.5, 16.5, 4)
    primary = kind == "ok"
    if state == "D":
        stops, rim = [(0.0, "#4a0209"), (1.0, "#7f0512")], "#2a0105"
    elif state == "M":
        stops, rim = ([(0.0, "#ff4a57"), (1.0, "#a30d1b")], "#ffb0b6") if primary else \
            ([(0.0, "#50545d"), (1.0, "#33363d")], "#e11d2e")
    else:
        stops, rim = ([(0.0, "#d51627"), (1.0, "#7f0512")], "#ff6a75") if primary else \
            ([(0.0, "#3f434b"), (1.0, "#26282d")], "#5d626c")
    p.fill(img, shape, rim)
    p.fill(img, p.shrink(shape, 1.0), p.vgrad(size, stops))
    caption = "确定" if primary else "取消"
    dy = 1 if state == "D" else 0
    p.text(img, (49, 8.5 + dy), caption, p.font(12), t.TEXT, anchor="mm",
           shadow=(0, 1, "#3a0007" if primary or state == "D" else "#0e0f11"))
    img.putalpha(255)
    return _no_key_black(img)


def close_button(state, bg):
    """"Setdlg_Close" / "Setdlg_Close_M" (20 x 21)."""
    img = _crop(bg, t.SETDLG_CLOSE, (20, 21))
    size = img.size
    shape = p.rrect_mask(size, 1, 1.5, 19, 19.5, 4)
    if state == "M":
        p.fill(img, shape, p.vgrad(size, [(0.0, "#ff4a57"), (1.0, "#a30d1b")]))
        color = t.TEXT
    else:
        p.fill(img, shape, "#3a3d44", 0.6)
        color = "#c3c7ce"
    p.fill(img, icons.cross(size, 10, 10.5, 7, 1.6), color)
    img.putalpha(255)
    return _no_key_black(img)
