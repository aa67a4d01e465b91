"""The contact sheet of every skin image, and previews that put the images together the way the
program draws them (same positions, atlases, needle transform, text points)."""

import math
import os

from PIL import Image

import paint as p
import table
import theme as t

DESKTOP_TOP, DESKTOP_BOTTOM = "#5d6f86", "#2f3a4a"


# ============================================================================ contact sheet

def _checker(size, cell=6):
    img = Image.new("RGBA", size, (58, 60, 66, 255))
    px = img.load()
    for y in range(size[1]):
        for x in range(size[0]):
            if ((x // cell) + (y // cell)) % 2:
                px[x, y] = (70, 72, 79, 255)
    return img


FAMILIES = [
    ("Main window", [141, 142, 129, 140, 300, 250, 249]),
    ("Window buttons", [154, 159, 158, 157, 156, 155, 149, 151, 150, 152, 145, 153, 146, 148, 147,
                        139, 138]),
    ("Pages", [253, 252, 254, 251, 297, 298, 291, 292, 293, 294, 295, 296, 301]),
    ("Controls", [255, 257, 256, 258, 260, 259, 261, 262, 263, 276, 277, 280, 281, 282, 273, 274,
                  275, 303, 305, 304, 290, 302]),
    ("Options dialog", [283, 284, 285, 286, 287, 288, 289, 278, 279]),
    ("Display-mode question", list(range(306, 313))),
    ("List labels", list(range(178, 190)) + list(range(203, 212)) + list(range(264, 273))
     + list(range(190, 202)) + list(range(212, 224)) + list(range(224, 240))
     + list(range(241, 249)) + list(range(160, 178))),
]


def contact_sheet(images, width=1640):
    by_id = {r: (n, s) for r, n, s in table.ROWS}
    title_font, name_font, small = p.font(20), p.font(12), p.font(10)
    pad, gap = 16, 14
    placed = []
    y = 56
    for family, ids in FAMILIES:
        placed.append(("title", family, (pad, y)))
        y += 30
        x, row_h = pad, 0
        for res_id in ids:
            name, _ = by_id[res_id]
            img = images[name]
            img = (img[0] if isinstance(img, list) else img).convert("RGBA")
            label_w = max(p.text_size(name, name_font)[0], p.text_size("000 999x999", small)[0])
            cell_w = max(img.width, label_w) + 8
            cell_h = img.height + 36
            if x + cell_w > width - pad:
                x, y, row_h = pad, y + row_h + gap, 0
            placed.append(("image", (res_id, name, img), (x, y)))
            x += cell_w + gap
            row_h = max(row_h, cell_h)
        y += row_h + gap + 10
    sheet = p.solid((width, y + pad), "#2a2d33")
    p.text(sheet, (pad, 18), "Velmora skin — %d images" % len(table.ROWS), title_font, t.TEXT)
    for kind, what, (x, y0) in placed:
        if kind == "title":
            p.fill(sheet, p.rect_mask(sheet.size, x, y0 + 3, x + 3, y0 + 21), t.RED)
            p.text(sheet, (x + 10, y0), what, p.font(16), t.TEXT)
            continue
        res_id, name, img = what
        back = _checker(img.size)
        back.alpha_composite(img)
        sheet.paste(back, (x + 4, y0 + 4))
        p.text(sheet, (x + 4, y0 + img.height + 8), name, name_font, "#e6e8eb")
        p.text(sheet, (x + 4, y0 + img.height + 23), "%d  %dx%d" % (res_id, img.width, img.height),
               small, "#8b9099")
    return sheet


# ============================================================================ previews

def _desktop(size):
    return p.vgrad(size, [(0.0, DESKTOP_TOP), (1.0, DESKTOP_BOTTOM)])


def _draw(surface, img, x, y, w=None, h=None, sx=0, sy=0):
    """Draws (x, y, w, h) of the surface from (sx, sy) of img, 1:1, cropped, blended."""
    w = img.width - sx if w is None else w
    h = img.height - sy if h is None else h
    part = img.crop((sx, sy, sx + w, sy + h))
    layer = p.canvas(surface.size)
    layer.paste(part, (x, y))
    surface.alpha_composite(layer)


def _text(surface, xy, s, size, color):
    """Text at a point, as the program draws it; the CJK font has no "℃", so the preview takes
    that sign from the Latin font."""
    x, y = xy
    for part in s.replace("℃", "\0℃\0").split("\0"):
        if not part:
            continue
        fnt = p.font(size, "sans") if part == "℃" else p.font(size)
        p.text(surface, (x, y), part, fnt, color, anchor="la")
        x += fnt.getlength(part)


def _needle(surface, images, celsius):
    img = images["CLOCK_TIP"]
    c = img.width // 2
    left, top = t.INDICATOR[0], t.INDICATOR[1]
    ex, ey = left + 53 + 2 * c, top + 92
    a = math.radians(t.needle_angle(celsius))
    cos, sin = math.cos(a), math.sin(a)
    data = (cos, sin, -cos * ex - sin * ey + c, -sin, cos, sin * ex - cos * ey)
    layer = img.transform(surface.size, Image.AFFINE, data, Image.BILINEAR)
    surface.alpha_composite(layer)


def _slider(surface, images, x, y, value, position, width=178, hot=0, enabled=True):
    if not enabled:
        _draw(surface, images["CONTROL_-2"], x, y + 5)
        _draw(surface, images["CONTROL_B2"], x + 18, y, width, 23)
        _draw(surface, images["CONTROL_+2"], x + 18 + width, y + 2)
        _draw(surface, images["CONTROL_0"], x + 36 + width, y + 3)
        return
    _draw(surface, images["CONTROL_-3" if hot == 1 else "CONTROL_-1"], x, y + 5)
    _draw(surface, images["CONTROL_B1"], x + 18, y, width, 23)
    _draw(surface, images["CONTROL_+3" if hot == 2 else "CONTROL_+1"], x + 18 + width, y + 2)
    _draw(surface, images["CONTROL_B3"], x + 18, y, position * 6 + 4, 23)
    bx = x + 36 + width
    _draw(surface, images["CONTROL_0"], bx, y + 3)
    digits = "%04d" % (value % 10000)
    for k, ch in enumerate(digits):
        _draw(surface, images["CONTROL__NUM"], bx + 1 + 7 * k, y + 4, 7, 15, 7 * int(ch) + 1, 0)


def _window(images, page_screen=True):
    s = p.canvas(t.WINDOW)
    _draw(s, images["MainDlg_BKALL" if page_screen else "RbtnBack"], 0, 0)
    return s


def _chrome(s, images, list_names, layout, hover_item=None, nav_hover=None, bar_hover=None,
            celsius=62, clock=850, button_hover=None):
    atlas = images["MAINDLG_BK_CLOCK_RES"]
    nx, ny, nw, nh = t.NAV
    _draw(s, atlas, nx, ny, nw, nh, nx, ny)
    if nav_hover is not None:
        x0, y0, x1, y1 = t.nav_rect(nav_hover)
        _draw(s, images["ColorBk"], x0, y0, x1 - x0, y1 - y0, x0, y0)
    bx, by, bw, bh = t.BAR
    _draw(s, atlas, bx, by, bw, bh, bx, by)
    if bar_hover is not None:
        x0, y0, x1, y1 = t.bar_bbox(bar_hover)
        _draw(s, images["ColorBk"], x0, y0, x1 - x0, y1 - y0, x0, y0)
    # Indicator.
    left, top, right, bottom = t.INDICATOR
    _draw(s, images["MainDlg_BKALL"], left, top, right - left, bottom - top, left, top)
    _text(s, (left + 34, top + 132), "GPU:%dMhz" % clock, 12, "#ffffff")
    _text(s, (left + 52, top + 80), "%d℃" % celsius, 18, "#ff0000")
    _needle(s, images, celsius)
    # Buttons.
    for key, box in (("MainDlg_Min", t.MIN_BUTTON), ("MainDlg_Close", t.CLOSE_BUTTON)):
        _draw(s, images[key + "_N"], box[0], box[1])
    for key, box in (("MAINDLG_BTN_CLICK_DEFAULT", t.DEFAULT_BUTTON),
                     ("MAINDLG_BTN_CLICK_OK", t.OK_BUTTON),
                     ("MAINDLG_BTN_CLICK_APPLY", t.APPLY_BUTTON)):
        _draw(s, images[key + ("_M" if button_hover == key else "")], box[0], box[1])
    # Item list.
    fl, ft, fr, fb = t.LIST_FRAME
    first, gap = layout
    y = ft + first
    for i, name in enumerate(list_names):
        _draw(s, images[name + ("M" if i == hover_item and not name.startswith("3D_") else
                                "_M" if i == hover_item else "")], fl, y)
        y += 17 + gap


def _page(s, images, background):
    x, y, _, _ = t.PAGE
    _draw(s, images[background], x, y)
    return x, y


def preview_overclock(images):
    s = _window(images)
    _chrome(s, images, ["GPU核心频率", "GPU电压", "MEM频率", "风扇转速"], (33, 13), hover_item=0,
            nav_hover=2, celsius=62)
    L, T = _page(s, images, "SUBBK3")
    for (sx, sy), (value, pos, hot, enabled) in zip(t.OVERCLOCK_SLIDERS, [
            (850, 20, 2, True), (1150, 15, 0, True), (1100, 22, 0, True), (45, 13, 0, False)]):
        _slider(s, images, L + sx, T + sy, value, pos, hot=hot, enabled=enabled)
    fx, fy, _, _ = t.FAN_TOGGLE
    _draw(s, images["SpeedSt_Sl"], L + fx, T + fy)
    return s


def preview_display(images):
    s = _window(images)
    _chrome(s, images, ["桌面区域", "颜色质量", "刷新率", "旋转"], (30, 10), bar_hover=3, celsius=48,
            clock=500)
    L, T = _page(s, images, "SUBBKQuality")
    res1, res2 = images["3D_BK_RES1"], images["3D_BK_RES2"]
    _draw(s, res1, L + 140, T + 10)
    _draw(s, res2, L + 140, T + 10, res1.width // 2, res1.height // 2, 0, 0)
    selected = 1
    p.fill(s, p.rect_mask(s.size, L + 35, T + 28 + selected * 25, L + 131, T + 53 + selected * 25),
           t.RED_DEEP)
    for k, text in enumerate(["1680×1050", "1440×900", "1400×1050", "1360×768", "1280×1024"]):
        _text(s, (L + 73 - (len(text) * 7) // 2, T + 30 + k * 25), text, 13, "#ffffff")
    _draw(s, images["POINT_SEL"], L + 58, T + 157)
    _draw(s, images["POINT_M"], L + 98, T + 157)
    return s


def preview_hardware(images):
    s = _window(images)
    _chrome(s, images, table.HARDWARE_ITEMS, (15, 5), hover_item=4, nav_hover=1, celsius=71, clock=1050)
    L, T = _page(s, images, "SUBBKHARDWARE")
    rows = ["AMD Radeon HD 6970", "2010/12/09", "2048 MB", "GDDR5", "880MHz", "1375MHz",
            "Advanced Micro Devices", "8.850.0.0"]
    _text(s, (L + 20, T + 3), rows[0], 12, "#ffffff")
    for r in range(2, 9):
        _text(s, (L + 20, T + 25 + 22 * (r - 2)), rows[r - 1], 11, "#ffffff")
    return s


def preview_waiting(images):
    s = _window(images)
    _chrome(s, images, table.HARDWARE_ITEMS, (15, 5), celsius=40, clock=0)
    L, T = _page(s, images, "SUBBKHARDWARE")
    _draw(s, images["WaitBtnGif"][12].convert("RGBA"), L + t.HARDWARE_WAIT[0], T + t.HARDWARE_WAIT[1])
    return s


def preview_shortcut(images):
    s = _window(images)
    _chrome(s, images, ["画质调节", "3D设置", "超频设置"], (30, 10), hover_item=2, nav_hover=0,
            celsius=55, button_hover="MAINDLG_BTN_CLICK_APPLY")
    L, T = _page(s, images, "SUBBKSHORTCUT")
    fields = [("GPU核心+10", "Ctrl + Alt + Up"), ("GPU核心+1", "Ctrl + Up"), ("GPU核心-10", ""),
              ("GPU核心-1", "Ctrl + Down")]
    for k, (label, key) in enumerate(fields):
        top = T + t.SHORTCUT_ROWS[k]
        if k == 2:
            p.fill(s, p.rect_mask(s.size, L + 4, top, L + 264, top + 18), "#221f1f")
            p.fill(s, p.rect_mask(s.size, 573, top + 2, 672, top + 16), "#5c5d60")
            _text(s, (674, top + 1), "直接按键盘进行设置", 10, "#ffffff")
        lx = L + 4 + (5 if len(label) <= 5 else 0)
        _text(s, (lx, top + 1), label, 10, "#ffffff")
        if key:
            _text(s, (575, top + 2), key, 9, "#ffffff")
    for k, (px, py) in enumerate(t.SHORTCUT_POINTS):
        _draw(s, images["POINT_SEL" if k == 0 else "POINT_N"], L + px, T + py)
    return s


def preview_three_d(images):
    s = _window(images)
    _chrome(s, images, ["3D_办公模式", "3D_高清娱乐", "3D_3D游戏"], (30, 15), hover_item=1, nav_hover=3,
            celsius=88, clock=920)
    L, T = _page(s, images, "SUBBK3")
    for i, (rx, ry) in enumerate(t.THREE_D_ROWS):
        _draw(s, images["3D_Btn%d" % (i + 1)], L + rx, T + ry)
        mark = "Setdlg_UnBtnSel" if i in (0, 2, 3) else ("Setdlg_Btn_M" if i == 4 else
                                                          "Setdlg_BtnSel")
        _draw(s, images[mark], L + rx + 200, T + ry + 2)
    return s


def preview_quality(images):
    s = _window(images)
    _chrome(s, images, ["标准模式", "办公模式", "游戏模式", "图片浏览"], (30, 10), hover_item=2,
            bar_hover=4, celsius=66)
    L, T = _page(s, images, "SUBBK3")
    for (sx, sy), caption, (value, pos) in zip(t.QUALITY_SLIDERS, ["Gamma", "亮度", "对比度"],
                                               [(11, 10), (100, 10), (100, 20)]):
        _text(s, (L + 12, T + sy), caption, 10, "#ffffff")
        _slider(s, images, L + sx, T + sy, value, pos, width=123)
    return s


def preview_start(images):
    s = _window(images, page_screen=False)
    nx, ny, nw, nh = t.NAV
    x0, y0, x1, y1 = t.nav_rect(2)
    _draw(s, images["ColorBk"], x0, y0, x1 - x0, y1 - y0, x0, y0)
    return s


def preview_options(images):
    s = images["Setdlg_BK"].copy()
    _draw(s, images["Setdlg_Close"], *t.SETDLG_CLOSE)
    _draw(s, images["Setdlg_OK_M"], *t.SETDLG_OK)
    _draw(s, images["Setdlg_DEL"], *t.SETDLG_DEL)
    for k, y in enumerate(t.SETDLG_TICK_YS):
        face = "Setdlg_UnBtnSel" if k == 1 else ("Setdlg_Btn_M" if k == 3 else "Setdlg_BtnSel")
        _draw(s, images[face], t.SETDLG_TICK_X, y)
    _draw(s, images["Setdlg_UnBtnSel"], t.SETDLG_TICK_X, t.SETDLG_SAVE_Y)
    # The colour key: black shows the desktop.
    px = s.load()
    for y in range(s.height):
        for x in range(s.width):
            if px[x, y][:3] == (0, 0, 0):
                px[x, y] = (0, 0, 0, 0)
    return s


def preview_keep_mode(images):
    """The question after a display-mode change, ten seconds left, the pointer on "keep"."""
    s = images["ModeKeep_BK"].copy()
    _draw(s, images["ModeKeep_OK_M"], *t.KEEP_BUTTON[:2])
    _draw(s, images["ModeKeep_Back"], *t.KEEP_REVERT[:2])
    _text(s, (t.KEEP_TEXT_LEFT, 24), "保留这些显示设置？", 15, "#ffffff")
    _text(s, (t.KEEP_TEXT_LEFT, 54), "10 秒后将还原为先前的显示设置", 12, "#b7bbc3")
    return s


def _on_desktop(img, margin=20):
    size = (img.width + 2 * margin, img.height + 2 * margin)
    back = _desktop(size)
    layer = p.canvas(size)
    layer.paste(img, (margin, margin))
    back.alpha_composite(layer)
    return back


def previews(images):
    shots = [preview_start(images), preview_overclock(images), preview_display(images),
             preview_hardware(images), preview_shortcut(images), preview_three_d(images),
             preview_quality(images), preview_waiting(images)]
    margin = 14
    w = t.WINDOW[0] + 2 * margin
    col2 = max(images["Setdlg_BK"].width, t.KEEP_SIZE[0]) + 2 * margin
    h = len(shots) * (t.WINDOW[1] + margin) + margin
    sheet = _desktop((w + col2, h))
    for i, shot in enumerate(shots):
        layer = p.canvas(sheet.size)
        layer.paste(shot, (margin, margin + i * (t.WINDOW[1] + margin)))
        sheet.alpha_composite(layer)
    layer = p.canvas(sheet.size)
    layer.paste(preview_options(images), (w, margin + t.WINDOW[1] + margin))
    layer.paste(preview_keep_mode(images), (w, margin + 3 * (t.WINDOW[1] + margin)))
    sheet.alpha_composite(layer)
    return sheet


def write_all(images, folder):
    contact_sheet(images).convert("RGB").save(os.path.join(folder, "contact-sheet.png"),
                                              optimize=True)
    previews(images).convert("RGB").save(os.path.join(folder, "previews.png"), optimize=True)
