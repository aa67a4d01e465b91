"""The shortcut page as a user works it: a field clicked, keys pressed on the X server, Apply,
what reaches the settings file, what a restart shows, and the overclocking group's paging."""

import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "harness"))
sys.path.insert(0, os.path.join(HERE, "..", "mainwindow"))
import velmora_e2e as e2e  # noqa: E402
import screen  # noqa: E402

SHORTCUT_ARM = (16 + 20, 120 + 42)
APPLY = (572 + 41, 280 + 12)
PAGE = (503, 93)
ROW_TOPS = (23, 48, 73, 98)
FIELD_LEFT, FIELD_WIDTH, FIELD_HEIGHT = 4, 260, 18
KEY_BOX = (574, 671)  # left and right, main window coordinates
KEY_BOX_COLOUR = (0x5C, 0x5D, 0x60)
# The item list's third entry ("超频设置"): list frame (384, 80), first top +30, 17 high, gap 10.
OVERCLOCK_ITEM = (384 + 49, 80 + 30 + 2 * 27 + 8)
PAGING = [(PAGE[0] + x + 5, PAGE[1] + 130 + 5) for x in (130, 160, 190)]
MEMORY_CONTROLS = {1058, 1059, 1060, 1061}
FAN_CONTROLS = {1054, 1055}
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"


def field_rect(row):
    """(x, y, width, height) of a row's field in the main window."""
    return (PAGE[0] + FIELD_LEFT, PAGE[1] + ROW_TOPS[row - 1], FIELD_WIDTH, FIELD_HEIGHT)


def field_point(row):
    x, y, _, height = field_rect(row)
    return (x + 30, y + height // 2)


def key_box(image, row):
    _, y, _, height = field_rect(row)
    return screen.crop(image, KEY_BOX[0], y + 2, KEY_BOX[1] - KEY_BOX[0] + 1, height - 4)


def ink_columns(picture, threshold=150):
    """The columns of a picture that hold light (text) pixels."""
    grey = picture.convert("L")
    width, height = grey.size
    return [x for x in range(width) if any(grey.getpixel((x, y)) > threshold
                                           for y in range(height))]


def rendered_width(text, size=9):
    """The ink width of a text in the font the program's text falls back to, at its size."""
    from PIL import Image, ImageDraw, ImageFont
    font = ImageFont.truetype(FONT, size)
    picture = Image.new("L", (200, 30), 0)
    ImageDraw.Draw(picture).text((2, 2), text, font=font, fill=255)
    columns = ink_columns(picture, 100)
    return columns[-1] - columns[0] + 1


def user_file():
    return os.path.join(e2e.documents_dir(), "TVRunConfig.dat")


def read_text(path):
    with open(path, "rb") as f:
        return f.read().decode("latin-1")


def split_hotkeys(text):
    """The "HotKey" section's lines, and the rest of the file."""
    lines = text.splitlines(keepends=True)
    hotkeys, rest, inside = [], [], False
    for line in lines:
        if line.startswith("["):
            inside = line.strip() == "[HotKey]"
        (hotkeys if inside else rest).append(line)
    return hotkeys, "".join(rest)


def hotkey(text, key):
    for line in split_hotkeys(text)[0]:
        if line.split("=", 1)[0] == key:
            return line.split("=", 1)[1].strip()
    return None


def focus_x_window(title="Velmora"):
    """Gives the program's X window the keyboard focus (key presses go to the focused one)."""
    ids = subprocess.run(["xdotool", "search", "--name", "^%s$" % title], capture_output=True,
                         text=True, timeout=20).stdout.split()
    if not ids:
        raise e2e.HarnessError("no X window titled %s" % title)
    for xid in ids:
        subprocess.run(["xdotool", "windowfocus", "--sync", xid], timeout=20, check=False)
    time.sleep(0.3)


class ShortcutPage(e2e.TestCase):
    def setUp(self):
        self.saved = user_file() + ".before-shortcut-test"
        self.existed = os.path.exists(user_file())
        if self.existed:
            shutil.copyfile(user_file(), self.saved)

    def tearDown(self):
        super().tearDown()
        if self.existed:
            shutil.move(self.saved, user_file())
        elif os.path.exists(user_file()):
            os.remove(user_file())

    def open_page(self):
        e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(0.8)
        focus_x_window()
        e2e.click(window, *SHORTCUT_ARM)
        time.sleep(0.5)
        return window

    def test_ctrl_alt_a_is_shown_saved_by_apply_and_shown_again_after_a_restart(self):
        window = self.open_page()
        before = read_text(user_file())
        e2e.click(window, *field_point(1))
        focused = e2e.grab(window)
        self.assertEqual(key_box(focused, 1).getpixel((5, 5)), KEY_BOX_COLOUR,
                         "the field did not take the focus")
        e2e.key("ctrl+alt+a")
        image = e2e.grab(window)
        e2e.screenshot(window, "shortcut_ctrl_alt_a")
        columns = ink_columns(key_box(image, 1))
        self.assertTrue(columns, "no text in the key box")
        self.assertLessEqual(columns[0], 4, "the text does not start at the key box's left")
        drawn = columns[-1] - columns[0] + 1
        expected = rendered_width("CTRL+ALT+A")
        self.assertLess(abs(drawn - expected), max(4, expected // 8),
                        "text %d px wide, CTRL+ALT+A is %d px" % (drawn, expected))

        e2e.key("Return")  # the page takes the focus: the field shows its resting look
        resting = key_box(e2e.grab(window), 1)
        e2e.click(window, *APPLY)
        time.sleep(0.5)
        after = read_text(user_file())
        self.assertEqual(hotkey(after, "Quality_NormalMode"), "1118785")
        self.assertEqual(split_hotkeys(after)[1], split_hotkeys(before)[1],
                         "a section other than HotKey changed")
        keys = [line.split("=", 1)[0] for line in split_hotkeys(after)[0][1:] if "=" in line]
        for key in ("Quality_WorkMode", "3D_HDMode", "GPU2Add1", "GPU3Sub1"):
            self.assertIn(key, keys)

        e2e.cleanup()
        window = self.open_page()
        again = key_box(e2e.grab(window), 1)
        self.assertLess(screen.mean_difference(again, resting), 3,
                        "after a restart the key box shows something else")
        self.assertTrue(ink_columns(again))

    def test_a_letter_alone_backspace_tab_and_the_overclocking_sub_pages(self):
        window = self.open_page()
        e2e.click(window, *field_point(2))
        e2e.key("q")
        with_q = key_box(e2e.grab(window), 2)
        self.assertTrue(ink_columns(with_q), "a letter alone was not taken")
        e2e.key("Tab")
        self.assertLess(screen.mean_difference(key_box(e2e.grab(window), 2), with_q), 1,
                        "Tab changed the field")
        e2e.click(window, *APPLY)
        time.sleep(0.5)
        self.assertEqual(hotkey(read_text(user_file()), "Quality_WorkMode"),
                         str(0x00111251))  # CTRL+ALT+Q

        e2e.click(window, *field_point(2))
        e2e.key("BackSpace")
        cleared = key_box(e2e.grab(window), 2)
        self.assertEqual(ink_columns(cleared), [], "Backspace left text in the key box")
        e2e.click(window, *APPLY)
        time.sleep(0.5)
        self.assertEqual(hotkey(read_text(user_file()), "Quality_WorkMode"), "0")

        e2e.click(window, *OVERCLOCK_ITEM)
        time.sleep(0.5)
        background = screen.skin_image("SUBBKSHORTCUT")
        for button, controls, rows in ((1, MEMORY_CONTROLS, 4), (2, FAN_CONTROLS, 2)):
            e2e.click(window, *PAGING[button])
            time.sleep(0.5)
            self.assertEqual(self.visible_fields(window), controls)
            image = e2e.grab(window)
            e2e.screenshot(window, "shortcut_overclock_subpage_%d" % (button + 1))
            for row in range(1, 5):
                x, y, width, height = field_rect(row)
                drawn = screen.crop(image, x, y, 60, height)
                under = screen.crop(background, x - PAGE[0], y - PAGE[1], 60, height)
                difference = screen.mean_difference(drawn, under)
                if row <= rows:
                    self.assertGreater(difference, 3, "row %d shows no label" % row)
                else:
                    self.assertLess(difference, 3, "row %d is not empty" % row)

    def visible_fields(self, window):
        pages = [c for c in e2e.children(window.hwnd) if c["cls"] == "#32770" and c["visible"]]
        self.assertEqual(len(pages), 1)
        return {c["id"] for c in e2e.children(pages[0]["hwnd"])
                if c["visible"] and c["cls"].lower() == "static" and c["id"] in
                MEMORY_CONTROLS | FAN_CONTROLS | set(range(1039, 1050))}


if __name__ == "__main__":
    e2e.main()
