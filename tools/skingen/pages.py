"""Page backgrounds (268 x 178), the 3D preset rows, the display page's category pictures and
the fan background strip."""

import icons
import paint as p
import theme as t

SIZE = (268, 178)


def _base(window_background):
    """The page panel, baked onto the frame of the full window background under it."""
    x, y, w, h = t.PAGE
    img = window_background.crop((x, y, x + w, y + h))
    shape = p.rrect_mask(SIZE, 0, 0, w, h, 5)
    p.fill(img, shape, t.PAGE_BG)
    p.fill(img, p.inter(p.edge_inner(shape, 1.0), p.rect_mask(SIZE, 0, 0, w, 8)), "#41444c", 0.9)
    p.fill(img, p.inter(p.edge_inner(shape, 1.0), p.rect_mask(SIZE, 0, 8, w, h)), "#2a2c32", 0.9)
    img.putalpha(255)
    return img


def _heading(img, x, y, s, size=12):
    p.fill(img, p.rect_mask(img.size, x, y - 6, x + 2, y + 6), t.RED)
    p.glow(img, p.rect_mask(img.size, x, y - 6, x + 2, y + 6), t.RED_BRIGHT, 1.5, 0.5)
    p.text(img, (x + 6, y), s, p.font(size), "#eceef1", anchor="lm", shadow=(0, 1, "#000000"))


def _footer(img, hint=None):
    size = img.size
    p.fill(img, p.rect_mask(size, 10, 158, 258, 159), "#2a2c32")
    if hint:
        p.text(img, (12, 168), hint, p.font(10), t.TEXT_3, anchor="lm")
    p.text(img, (258, 168), "VELMORA", p.font(8, "bold"), "#4a4e57", anchor="rm", spacing=1)


def generic(window_background):
    """"SUBBK3": shared by the overclocking, display-quality and 3D pages, whose controls cover
    rows 16 to 154; it carries only the frame and the footer."""
    img = _base(window_background)
    p.fill(img, p.rect_mask(SIZE, 10, 7, 30, 9), t.RED)
    p.fill(img, p.rect_mask(SIZE, 32, 7, 36, 9), "#5a0b14")
    _footer(img)
    return img


def display(window_background):
    """"SUBBKQuality": the display-modes page. The list of choices sits in x 35..131 from y 28
    (rows of 25), the category picture at (140, 10), the paging points at y 157."""
    img = _base(window_background)
    _heading(img, 12, 14, "显示模式")
    panel = p.rrect_mask(SIZE, 33, 26, 133, 155, 4)
    p.fill(img, p.grow(panel, 1.0), "#2c2f35")
    p.fill(img, panel, "#131416")
    for k in range(1, 5):
        y = 28 + 25 * k
        p.fill(img, p.rect_mask(SIZE, 40, y, 126, y + 1), "#22242a")
    return img


def shortcut(window_background):
    """"SUBBKSHORTCUT": the two column headings over the label strip (x 4..70) and the key box
    (x 71..168), and an empty key box in each of the four field rows."""
    img = _base(window_background)
    head = p.rrect_mask(SIZE, 4, 3, 264, 20, 3)
    p.fill(img, head, p.vgrad(SIZE, [(0.0, "#2c2f35"), (1.0, "#23252a")], 3, 20))
    p.fill(img, p.rect_mask(SIZE, 4, 3, 6, 20), t.RED)
    p.text(img, (37.5, 11.5), "功能描述", p.font(11), "#eceef1", anchor="mm")
    p.fill(img, p.rect_mask(SIZE, 70, 6, 71, 17), "#43464e")
    p.text(img, (119.5, 11.5), "快捷键", p.font(11), "#eceef1", anchor="mm")
    p.fill(img, p.rect_mask(SIZE, 169, 6, 170, 17), "#43464e")
    for top in t.SHORTCUT_ROWS:
        box = p.rrect_mask(SIZE, 71, top + 1.5, 169, top + 16.5, 3)
        p.fill(img, p.grow(box, 0.8), "#3a3d44")
        p.fill(img, box, "#0e0f11")
        p.fill(img, p.rect_mask(SIZE, 6, top + 21, 262, top + 22), "#24262b")
    _footer(img, "单击快捷键框后，直接按下组合键")
    return img


def hardware(window_background):
    """"SUBBKHARDWARE": eight rows (text at y 3 + 22 k from x 20) beside the item list."""
    img = _base(window_background)
    for k in range(8):
        cy = 11 + 22 * k
        p.fill(img, p.rrect_mask(SIZE, 9, cy - 2, 13, cy + 2, 1), t.RED if k == 0 else "#8c1220")
        if k < 7:
            p.fill(img, p.rect_mask(SIZE, 8, 22 * k + 22, 260, 22 * k + 23), "#25272c")
    return img


ROW_LABELS = [("标准设置", "平衡画质与性能"), ("抗锯齿", "平滑多边形边缘"),
              ("自适应抗锯齿", "透明纹理抗锯齿"), ("各向异性过滤", "倾斜纹理更清晰"),
              ("Catalyst A.L.", "驱动智能优化"), ("Mipmap 细节", "纹理细节等级")]


def three_d_row(i):
    """"3D_Btn1".."3D_Btn6" (265 x 18): the row picture of one 3D switch; the tick box is drawn
    at (200, 2) over the flat plate colour."""
    size = (265, 18)
    img = p.solid(size, t.PAGE_BG)
    plate = p.rrect_mask(size, 0.5, 0.5, 264.5, 17.5, 4)
    p.fill(img, plate, "#34373e")
    p.fill(img, p.rrect_mask(size, 1.5, 1.5, 263.5, 16.5, 3), t.TICK_BG)
    p.fill(img, p.rrect_mask(size, 4, 4, 6.5, 14, 1), t.RED)
    name, note = ROW_LABELS[i]
    p.text(img, (11, 9), name, p.font(11), "#eceef1", anchor="lm", shadow=(0, 1, "#000000"))
    p.text(img, (104, 9), note, p.font(10), t.TEXT_3, anchor="lm")
    p.fill(img, p.rect_mask(size, 194, 4, 195, 14), "#3a3d44")
    p.text(img, (220, 9), "启用", p.font(10), t.TEXT_2, anchor="lm")
    img.putalpha(255)
    return img


_CATEGORIES = [("分辨率", icons.resolution), ("颜色质量", icons.palette), ("刷新率", icons.wave),
               ("旋转", icons.rotate)]


def categories(lit):
    """"3D_BK_RES1" (dim) and "3D_BK_RES2" (lit): 2 x 2 quarters of 49 x 72 for resolution,
    colour quality, refresh rate and rotation."""
    size = (99, 145)
    img = p.solid(size, t.PAGE_BG)
    for k, (caption, draw) in enumerate(_CATEGORIES):
        qx, qy = (k % 2) * 49, (k // 2) * 72
        card = p.rrect_mask(size, qx + 2, qy + 2, qx + 47, qy + 70, 5)
        if lit:
            p.fill(img, card, "#ff5a66")
            p.fill(img, p.shrink(card, 1.0), p.vgrad(size, [(0.0, "#d51627"), (1.0, "#6d0410")],
                                                     qy, qy + 72))
            fg, glyph_color = t.TEXT, t.TEXT
        else:
            p.fill(img, card, "#30333a")
            p.fill(img, p.shrink(card, 1.0), p.vgrad(size, [(0.0, "#202227"), (1.0, "#17181b")],
                                                     qy, qy + 72))
            fg, glyph_color = "#7b808a", "#5f646e"
        glyph = draw(size, qx + 24.5, qy + 28, 22)
        if lit:
            p.glow(img, glyph, "#ff8a93", 2.5, 0.6)
        p.fill(img, glyph, glyph_color)
        fnt = p.font(11 if len(caption) < 4 else 10)
        p.text(img, (qx + 24.5, qy + 56), caption, fnt, fg, anchor="mm")
    img.putalpha(255)
    return img


def fan_strip():
    """"FanSpeedckBk" (180 x 18): a plate with the fan caption and a small meter."""
    size = (180, 18)
    img = p.solid(size, t.PAGE_BG)
    plate = p.rrect_mask(size, 0.5, 0.5, 179.5, 17.5, 4)
    p.fill(img, plate, "#34373e")
    p.fill(img, p.shrink(plate, 1.0), t.TICK_BG)
    p.text(img, (10, 9), "风扇转速", p.font(11), "#eceef1", anchor="lm")
    for k in range(12):
        x = 70 + 8 * k
        p.fill(img, p.rect_mask(size, x, 6, x + 6, 12), "#e11d2e" if k < 7 else "#2c1317")
    img.putalpha(255)
    return img
