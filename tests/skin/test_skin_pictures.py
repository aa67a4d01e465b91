"""The committed skin pictures against the table and the geometry the program draws them at."""

import math
import os
import re
import sys
import unittest

from PIL import Image, ImageChops, ImageDraw, ImageFilter

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "skingen"))

import table  # noqa: E402
import theme as t  # noqa: E402

SKIN = os.path.join(ROOT, "res", "skin")
_cache = {}


def image(name):
    if name not in _cache:
        res_id = next(r for r, n, _ in table.ROWS if n == name)
        _cache[name] = Image.open(os.path.join(SKIN, table.file_name(res_id)))
        if res_id != table.GIF_ID:
            _cache[name] = _cache[name].convert("RGBA")
    return _cache[name]


def alpha_range(img):
    return img.getchannel("A").getextrema()


def luminance(px):
    return 0.299 * px[0] + 0.587 * px[1] + 0.114 * px[2]


def polygon_mask(size, points):
    """The polygon, grown by a pixel for its anti-aliased edge."""
    m = Image.new("L", size, 0)
    ImageDraw.Draw(m).polygon(points, fill=255, outline=255)
    return m.filter(ImageFilter.MaxFilter(3))


def changed(a, b):
    """'L' mask of the pixels where two RGBA pictures differ in any channel."""
    channels = ImageChops.difference(a, b).split()
    out = channels[0]
    for c in channels[1:]:
        out = ImageChops.lighter(out, c)
    return out.point(lambda v: 255 if v else 0)


class Files(unittest.TestCase):
    def test_every_row_has_a_picture_of_its_size_within_the_budget(self):
        total = 0
        for res_id, name, size in table.ROWS:
            path = os.path.join(SKIN, table.file_name(res_id))
            self.assertTrue(os.path.exists(path), name)
            with Image.open(path) as img:
                self.assertEqual(img.size, size, name)
                self.assertEqual(img.format, "GIF" if res_id == table.GIF_ID else "PNG", name)
            total += os.path.getsize(path)
        self.assertLessEqual(total, 2 * 1024 * 1024)

    def test_resource_script_lists_exactly_the_table(self):
        with open(os.path.join(ROOT, "res", "SkinImages.rc"), encoding="utf-8") as f:
            text = f.read()
        entries = re.findall(r'^(\d+) RES_PNG "res/skin/([^"]+)"$', text, re.M)
        self.assertEqual(sorted((int(i), f) for i, f in entries),
                         sorted((r, table.file_name(r)) for r, _, _ in table.ROWS))
        self.assertIn("LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED", text)
        with open(os.path.join(ROOT, "res", "Velmora.rc"), encoding="utf-8") as f:
            self.assertIn('#include "SkinImages.rc"', f.read())

    def test_no_file_outside_the_table(self):
        expected = {table.file_name(r) for r, _, _ in table.ROWS}
        self.assertEqual(set(os.listdir(SKIN)), expected)

    def test_wait_animation_has_thirty_distinct_frames(self):
        gif = image("WaitBtnGif")
        frames = []
        for i in range(gif.n_frames):
            gif.seek(i)
            frames.append(gif.convert("RGB").tobytes())
        self.assertEqual(len(frames), 30)
        self.assertEqual(len(set(frames)), 30)


class Shapes(unittest.TestCase):
    def test_window_backgrounds_are_shaped_with_soft_edges(self):
        for name in ("MainDlg_BKALL", "MainDlg_BKALL_Res", "RbtnBack", "LeftBk_Res", "ColorBk",
                     "MAINDLG_BK_CLOCK_RES", "MAINDLG_BK_CLOCK"):
            img = image(name)
            a = img.getchannel("A")
            w, h = img.size
            for corner in ((0, 0), (w - 1, 0), (0, h - 1)):
                self.assertEqual(a.getpixel(corner), 0, (name, corner))
            self.assertEqual(a.getpixel(t.PIVOT), 255, name)
            partial = sum(1 for v in a.getdata() if 0 < v < 255)
            self.assertGreater(partial, 300, name)

    def test_the_full_window_is_opaque_under_every_control(self):
        a = image("MainDlg_BKALL").getchannel("A")
        boxes = [t.MIN_BUTTON, t.CLOSE_BUTTON, t.DEFAULT_BUTTON, t.OK_BUTTON, t.APPLY_BUTTON, t.PAGE,
                 (t.LIST_FRAME[0], t.LIST_FRAME[1], t.LIST_FRAME[2] - t.LIST_FRAME[0],
                  t.LIST_FRAME[3] - t.LIST_FRAME[1])]
        for x, y, w, h in boxes:
            self.assertEqual(a.crop((x, y, x + w, y + h)).getextrema(), (255, 255), (x, y))

    def test_pictures_drawn_over_themselves_are_opaque(self):
        names = ["MainDlg_Min_N", "MainDlg_Min_M", "MainDlg_Min_D", "MainDlg_Close_N",
                 "MainDlg_Close_M", "MainDlg_Close_D", "MAINDLG_BTN_CLICK_OK",
                 "MAINDLG_BTN_CLICK_OK_M", "MAINDLG_BTN_OK_D", "CONTROL_0", "CONTROL_B1",
                 "CONTROL_B2", "POINT_N", "POINT_M", "POINT_SEL", "Setdlg_BtnSel", "Setdlg_Btn_M",
                 "Setdlg_UnBtnSel", "SpeedSt_N", "SpeedSt_M", "SpeedSt_Sl", "SUBBK3",
                 "SUBBKQuality", "SUBBKSHORTCUT", "SUBBKHARDWARE", "3D_BK_RES1", "3D_BK_RES2",
                 "Setdlg_OK", "Setdlg_OK_M", "Setdlg_OK_D", "Setdlg_DEL", "Setdlg_DEL_M",
                 "Setdlg_DEL_D", "Setdlg_Close", "Setdlg_Close_M", "Setdlg_BK"]
        names += ["CONTROL_%s%d" % (s, i) for s in "-+" for i in (1, 2, 3)]
        names += ["3D_Btn%d" % i for i in range(1, 7)]
        for key in ("DEFAULT", "APPLY"):
            names += ["MAINDLG_BTN_CLICK_" + key + s for s in ("", "_M", "_D")]
        for name in names:
            self.assertEqual(alpha_range(image(name)), (255, 255), name)

    def test_buttons_are_baked_onto_the_window_background_around_their_shape(self):
        bkall = image("MainDlg_BKALL")
        for name, box, corner in (("MAINDLG_BTN_CLICK_DEFAULT", t.DEFAULT_BUTTON, (1, 1)),
                                  ("MAINDLG_BTN_CLICK_APPLY_M", t.APPLY_BUTTON, (81, 1))):
            x, y, _, _ = box
            self.assertEqual(image(name).getpixel(corner),
                             bkall.getpixel((x + corner[0], y + corner[1])), name)


class Atlases(unittest.TestCase):
    """The navigation pod and the button bar draw parts of these pictures over each other."""

    def differs(self, a, b, box):
        return changed(a.crop(box), b.crop(box)).getbbox() is not None

    def test_controls_find_the_same_pixels_in_their_atlas_as_in_the_window(self):
        nav = (t.NAV[0], t.NAV[1], t.NAV[0] + t.NAV[2], t.NAV[1] + t.NAV[3])
        bar = (t.BAR[0], t.BAR[1], t.BAR[0] + t.BAR[2], t.BAR[1] + t.BAR[3])
        for box in (nav, bar):
            self.assertFalse(self.differs(image("LeftBk_Res"), image("RbtnBack"), box))
            self.assertFalse(self.differs(image("MAINDLG_BK_CLOCK_RES"), image("MainDlg_BKALL"),
                                          box))

    def test_every_arm_and_button_is_lit_in_the_highlight_atlas(self):
        lit, plain, clock = image("ColorBk"), image("LeftBk_Res"), image("MAINDLG_BK_CLOCK_RES")
        for i in range(4):
            box = t.nav_rect(i)
            self.assertTrue(self.differs(lit, plain, box), i)
            self.assertFalse(self.differs(plain, clock, box), i)
        for i in range(5):
            box = t.bar_bbox(i)
            self.assertTrue(self.differs(lit, plain, box), i)
            self.assertFalse(self.differs(plain, clock, box), i)

    def test_lit_pixels_stay_inside_the_hot_regions(self):
        lit, plain = image("ColorBk"), image("LeftBk_Res")
        size = lit.size
        regions = Image.new("L", size, 0)
        for i in range(4):
            x0, y0, x1, y1 = t.nav_rect(i)
            regions.paste(255, (x0, y0, x1, y1))
        polys = [polygon_mask(size, t.bar_polygon(i)) for i in range(5)]
        for m in polys:
            regions = ImageChops.lighter(regions, m)
        lit_pixels = changed(lit, plain)
        outside = ImageChops.subtract(lit_pixels, regions)
        self.assertIsNone(outside.getbbox())
        # A hovered bar button lights its bounding box: no neighbour may show lit there.
        for i in range(5):
            x0, y0, x1, y1 = t.bar_bbox(i)
            stray = ImageChops.subtract(lit_pixels, polys[i]).crop((x0, y0, x1, y1))
            self.assertIsNone(stray.getbbox(), i)


class Gauge(unittest.TestCase):
    def test_scale_marks_lie_where_the_needle_points(self):
        dial = image("MainDlg_BKALL")
        cx, cy = t.PIVOT
        for c in range(t.TEMP_MIN, t.TEMP_MAX + 1, 10):
            a = math.radians(t.needle_angle(c))
            dx, dy = -math.sin(a), math.cos(a)
            mark = dial.getpixel((int(cx + dx * 106), int(cy + dy * 106)))
            self.assertGreater(max(mark[:3]), 180, c)
            off = math.radians(t.needle_angle(c + 1))
            between = dial.getpixel((int(cx - math.sin(off) * 108), int(cy + math.cos(off) * 108)))
            self.assertLess(max(between[:3]), 120, c)

    def test_forty_points_up_seventy_right_hundred_down(self):
        self.assertLess(t.needle_direction(40)[1], -0.9)
        self.assertLess(t.needle_direction(40)[0], 0)
        self.assertGreater(t.needle_direction(70)[0], 0.99)
        self.assertGreater(t.needle_direction(100)[1], 0.9)
        self.assertLess(t.needle_direction(100)[0], 0)

    def test_readouts_have_a_dark_field(self):
        dial = image("MainDlg_BKALL")
        for box in ((194, 158, 236, 176), (176, 209, 244, 222)):
            lum = [luminance(px) for px in dial.crop(box).getdata()]
            self.assertLess(max(lum), 60, box)

    def test_needle_hangs_from_its_top_centre_and_leaves_the_centre_free(self):
        tip = image("CLOCK_TIP")
        self.assertEqual(tip.getchannel("A").crop((0, 0, 23, 25)).getextrema(), (0, 0))
        self.assertGreater(tip.getpixel((11, 60))[3], 200)
        self.assertGreater(tip.getpixel((11, 77))[3], 60)
        left, right = tip.getpixel((4, 60))[3], tip.getpixel((18, 60))[3]
        self.assertLess(abs(left - right), 24)
        # Needle inside the indicator rectangle at every angle: 80 px reach from the pivot.
        l, top, r, bottom = t.INDICATOR
        cx, cy = t.PIVOT
        for c in range(t.TEMP_MIN, t.TEMP_MAX + 1):
            dx, dy = t.needle_direction(c)
            self.assertTrue(l <= cx + dx * 80 <= r and top <= cy + dy * 80 <= bottom, c)


class Slider(unittest.TestCase):
    @staticmethod
    def runs(img, width, row=11):
        count, inside = 0, False
        for x in range(width):
            on = img.getpixel((x, row))[3] > 128
            if on and not inside:
                count += 1
            inside = on
        return count

    def test_filled_width_shows_exactly_that_many_segments(self):
        fill = image("CONTROL_B3")
        for p in range(0, 30):
            self.assertEqual(self.runs(fill, 6 * p + 4), p, p)

    def test_digit_strip_has_ten_distinct_seven_pixel_digits(self):
        strip = image("CONTROL__NUM")
        cells = [strip.crop((7 * d + 1, 0, 7 * d + 8, 15)).tobytes() for d in range(10)]
        self.assertEqual(len(set(cells)), 10)
        self.assertEqual(strip.getchannel("A").crop((0, 14, 72, 15)).getextrema(), (0, 0))

    def test_step_buttons_line_up_with_the_track(self):
        # Minus at y + 5 and plus at y + 2: both keys centred on the groove (row 10..11).
        for name, top in (("CONTROL_-1", 5), ("CONTROL_+1", 2)):
            img = image(name)
            rows = [y for y in range(img.height)
                    if any(abs(a - b) > 12 for a, b in zip(img.getpixel((9, y))[:3],
                                                           image("SUBBK3").getpixel((100, 170))))]
            centre = top + (rows[0] + rows[-1]) / 2.0
            self.assertAlmostEqual(centre, 10.5, delta=1.0, msg=name)


class Seams(unittest.TestCase):
    """Controls carry the colour of what they sit on at their edges."""

    def corner(self, name):
        return image(name).getpixel((0, 0))

    def under(self, name, x, y):
        return image(name).getpixel((x, y))

    def test_controls_on_pages(self):
        for control, page, x, y in (
                ("POINT_N", "SUBBKQuality", 58, 157), ("POINT_SEL", "SUBBKQuality", 98, 157),
                ("POINT_N", "SUBBKSHORTCUT", 130, 130), ("POINT_M", "SUBBKSHORTCUT", 190, 130),
                ("SpeedSt_N", "SUBBK3", 170, 140), ("CONTROL_B1", "SUBBK3", 28, 20),
                ("CONTROL_+1", "SUBBK3", 206, 22), ("CONTROL_-1", "SUBBK3", 60, 100),
                ("3D_Btn1", "SUBBK3", 2, 16), ("3D_BK_RES1", "SUBBKQuality", 140, 10)):
            self.assertEqual(self.corner(control), self.under(page, x, y), (control, page))
        gif = image("WaitBtnGif")
        gif.seek(0)
        self.assertEqual(gif.convert("RGBA").getpixel((0, 0)),
                         self.under("SUBBKHARDWARE", 80, 76))

    def test_tick_boxes_on_rows_and_in_the_options_dialog(self):
        tick = self.corner("Setdlg_BtnSel")
        for i in range(1, 7):
            self.assertEqual(self.under("3D_Btn%d" % i, 200, 2), tick, i)
            self.assertEqual(self.under("3D_Btn%d" % i, 213, 15), tick, i)
        for y in t.SETDLG_TICK_YS + [t.SETDLG_SAVE_Y]:
            self.assertEqual(self.under("Setdlg_BK", t.SETDLG_TICK_X, y), tick, y)


class FlatUnderControls(unittest.TestCase):
    """Where a control draws itself again without its page first, the page keeps one flat
    colour, so the control's baked corners always match."""

    def assertFlat(self, name, boxes):
        img = image(name)
        colours = set()
        for x, y, w, h in boxes:
            colours |= set(img.crop((x, y, x + w, y + h)).getdata())
        self.assertEqual(len(colours), 1, (name, sorted(colours)[:4]))

    def test_shared_page_background(self):
        boxes = [(x, y, 244, 25) for x, y in t.OVERCLOCK_SLIDERS]      # full sliders and boxes
        boxes += [(x, y, 189, 25) for x, y in t.QUALITY_SLIDERS]       # compact sliders
        boxes += [t.FAN_TOGGLE]
        boxes += [(x, y, 265, 18) for x, y in t.THREE_D_ROWS]
        self.assertFlat("SUBBK3", boxes)

    def test_points_and_wait_bar(self):
        self.assertFlat("SUBBKQuality", [(x, y, 10, 10) for x, y in t.DISPLAY_POINTS])
        self.assertFlat("SUBBKSHORTCUT", [(x, y, 10, 10) for x, y in t.SHORTCUT_POINTS])
        self.assertFlat("SUBBKHARDWARE", [(t.HARDWARE_WAIT[0], t.HARDWARE_WAIT[1], 100, 7)])


class Labels(unittest.TestCase):
    NAMES = (table.OVERCLOCK_ITEMS + table.HARDWARE_ITEMS + table.QUALITY_ITEMS + table.NAV_ITEMS
             + table.DISPLAY_ITEMS + table.THREE_D_ITEMS + table.THREE_D_MODES)

    def test_text_stays_inside_the_label(self):
        for name in self.NAMES:
            a = image(name).getchannel("A")
            right = a.crop((94, 0, 98, 17)).getextrema()[1]
            self.assertLess(right, 40, name)
            self.assertGreater(a.crop((11, 3, 60, 15)).getextrema()[1], 200, name)

    def test_selected_face_is_the_selection_red(self):
        for name in ("显卡名称D", "3D_高清娱乐_D", "驱动程序版本D", "GPU电压D"):
            count, colour = max(image(name).getcolors(98 * 17))
            self.assertEqual(colour, (0x7F, 0x05, 0x12, 255), name)
            self.assertGreater(count, 98 * 17 // 5, name)


class OptionsDialog(unittest.TestCase):
    def test_black_is_only_the_transparent_outside(self):
        bk = image("Setdlg_BK")
        w, h = bk.size
        for corner in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            self.assertEqual(bk.getpixel(corner)[:3], (0, 0, 0))
        inner = bk.crop((4, 4, w - 4, h - 4))
        self.assertNotIn((0, 0, 0, 255), set(inner.getdata()))
        for name in ("Setdlg_OK", "Setdlg_OK_M", "Setdlg_OK_D", "Setdlg_DEL", "Setdlg_DEL_M",
                     "Setdlg_DEL_D", "Setdlg_Close", "Setdlg_Close_M", "Setdlg_BtnSel",
                     "Setdlg_Btn_M", "Setdlg_UnBtnSel"):
            self.assertNotIn((0, 0, 0, 255), set(image(name).getdata()), name)


class Faces(unittest.TestCase):
    @staticmethod
    def distance(a, b):
        diff = ImageChops.difference(a.convert("RGBA"), b.convert("RGBA")).split()
        total = sum(sum(c.getdata()) for c in diff)
        return total / float(a.width * a.height)

    def test_normal_hover_and_pressed_faces_differ_clearly(self):
        families = [(n, n + "M", n + "D") for n in table.OVERCLOCK_ITEMS + table.HARDWARE_ITEMS
                    + table.QUALITY_ITEMS + table.NAV_ITEMS + table.DISPLAY_ITEMS
                    + table.THREE_D_ITEMS]
        families += [(n, n + "_M", n + "_D") for n in table.THREE_D_MODES]
        families += [("MainDlg_Min_N", "MainDlg_Min_M", "MainDlg_Min_D"),
                     ("MainDlg_Close_N", "MainDlg_Close_M", "MainDlg_Close_D"),
                     ("MAINDLG_BTN_CLICK_OK", "MAINDLG_BTN_CLICK_OK_M", "MAINDLG_BTN_OK_D"),
                     ("Setdlg_OK", "Setdlg_OK_M", "Setdlg_OK_D"),
                     ("Setdlg_DEL", "Setdlg_DEL_M", "Setdlg_DEL_D"),
                     ("Setdlg_BtnSel", "Setdlg_Btn_M", "Setdlg_UnBtnSel"),
                     ("POINT_N", "POINT_M", "POINT_SEL"), ("SpeedSt_N", "SpeedSt_M", "SpeedSt_Sl"),
                     ("CONTROL_-1", "CONTROL_-3", "CONTROL_-2"),
                     ("CONTROL_+1", "CONTROL_+3", "CONTROL_+2")]
        for family in families:
            faces = [image(n) for n in family]
            for i in range(3):
                for j in range(i + 1, 3):
                    self.assertGreater(self.distance(faces[i], faces[j]), 4.0,
                                       (family[i], family[j]))


if __name__ == "__main__":
    unittest.main(verbosity=1)
