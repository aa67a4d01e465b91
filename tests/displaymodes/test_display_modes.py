"""The display-modes page as a user meets it: the bar opens it, the item list picks the category,
a click picks an entry, Apply changes the real X screen, and the "Display" section follows."""

import configparser
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "harness"))
import velmora_e2e as e2e  # noqa: E402

OVERCLOCK_ARM = (16 + 60, 120 + 21)
BAR_REGION_4 = (95 + 143, 260 + 55)
APPLY = (572 + 41, 280 + 12)
OK = (507 + 31, 280 + 12)
PAGE = (503, 93)
LEFT = (PAGE[0] + 58 + 5, PAGE[1] + 157 + 5)
RIGHT = (PAGE[0] + 98 + 5, PAGE[1] + 157 + 5)
CATEGORIES = {"resolution": 0, "colour": 1, "refresh": 2, "rotation": 3}
START_SIZE = (1680, 1050)


def row(k):
    """The middle of row k of the page's list, in window coordinates."""
    return (PAGE[0] + 80, PAGE[1] + 29 + k * 25 + 12)


def category(name):
    """The middle of an entry of the main window's item list (four entries, 17 high, 10 apart,
    the first 30 below the list's top)."""
    return (384 + 40, 80 + 30 + CATEGORIES[name] * 27 + 8)


def user_settings():
    return os.path.join(e2e.documents_dir(), "TVRunConfig.dat")


def display_setting(key):
    parser = configparser.ConfigParser()
    parser.optionxform = str
    parser.read(user_settings(), encoding="latin-1")
    return parser.get("Display", key, fallback=None)


def screen_size():
    mode = e2e.display_mode()
    return mode["width"], mode["height"]


def write_display_settings(**values):
    """Sets keys of the "Display" section in the per-user file (made from the installed template
    when there is none yet)."""
    parser = configparser.ConfigParser()
    parser.optionxform = str
    parser.read([e2e.bin_path("RunConfig.dat"), user_settings()], encoding="latin-1")
    if not parser.has_section("Display"):
        parser.add_section("Display")
    for key, value in values.items():
        parser.set("Display", key, str(value))
    with open(user_settings(), "w", encoding="latin-1") as f:
        parser.write(f, space_around_delimiters=False)


class DisplayModesPage(e2e.TestCase):
    def setUp(self):
        e2e.set_display_mode(*START_SIZE)
        self.original = None
        if os.path.exists(user_settings()):
            with open(user_settings(), "rb") as f:
                self.original = f.read()
        write_display_settings(Desktoparea=0, ColorQuality=0, RefreshRate=0, Rotation=0)

    def tearDown(self):
        super().tearDown()
        e2e.set_display_mode(*START_SIZE)
        if self.original is None:
            os.remove(user_settings())
        else:
            with open(user_settings(), "wb") as f:
                f.write(self.original)

    def open_page(self):
        window = e2e.wait_window(timeout=60, visible=True)
        e2e.click(window, *OVERCLOCK_ARM)
        time.sleep(0.3)
        e2e.click(window, *BAR_REGION_4)
        time.sleep(0.5)
        return window

    def press(self, window, point, settle=0.6):
        e2e.click(window, *point)
        time.sleep(settle)

    def apply_resolution(self, window, expected_size, expected_index):
        """Applies, checks the screen and the stored index, then puts the screen back so the
        window stays within reach; returns the window's new place."""
        self.press(window, APPLY, 2)
        if expected_size is not None:
            self.assertEqual(screen_size(), expected_size)
        self.assertEqual(display_setting("Desktoparea"), str(expected_index))
        e2e.set_display_mode(*START_SIZE)
        time.sleep(0.5)
        return e2e.wait_window(timeout=10, visible=True)

    def test_picking_and_applying_resolutions_and_paging(self):
        e2e.Program.start()
        window = self.open_page()
        e2e.screenshot(window, "display_modes_page")
        self.press(window, row(1))
        window = self.apply_resolution(window, (1440, 900), 1)

        self.press(window, RIGHT)
        self.press(window, row(3))
        e2e.screenshot(window, "display_modes_page_two")
        window = self.apply_resolution(window, (1024, 768), 8)

        # Paging keeps the row: 1280x800 (page 2, row 1), LEFT gives 1440x900, RIGHT 1280x800.
        self.press(window, row(1))
        self.press(window, LEFT)
        window = self.apply_resolution(window, (1440, 900), 1)
        self.press(window, RIGHT)
        self.apply_resolution(window, None, 6)

    def test_other_categories_apply_only_their_own_value_and_ok_hides(self):
        e2e.Program.start()
        window = self.open_page()
        self.press(window, row(2))  # a resolution, chosen but never applied
        self.press(window, category("refresh"))
        e2e.screenshot(window, "display_modes_refresh")
        self.press(window, row(3))  # 100 Hz, which the display does not offer
        self.press(window, APPLY, 2)
        self.assertEqual(screen_size(), START_SIZE)
        self.assertEqual(display_setting("RefreshRate"), "3")
        self.assertEqual(display_setting("Desktoparea"), "2")

        self.press(window, category("rotation"))
        self.press(window, row(1))
        self.press(window, OK, 1)
        self.assertFalse(window.refresh().visible)
        self.assertEqual(display_setting("Rotation"), "1")
        with open(e2e.prefix_path(r"C:\velmora-sim\calls.log"), encoding="latin-1") as log:
            self.assertIn("ATIDL_SetRotationAngle(0, 1)", log.read())

    def test_a_stored_index_outside_the_list_opens_on_the_first_resolution(self):
        write_display_settings(Desktoparea=12)
        e2e.set_display_mode(1024, 768)
        e2e.Program.start()
        window = self.open_page()
        self.press(window, APPLY, 2)
        self.assertEqual(screen_size(), START_SIZE)
        self.assertEqual(display_setting("Desktoparea"), "0")


if __name__ == "__main__":
    e2e.main()
