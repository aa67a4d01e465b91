"""The display-modes page as a user meets it: the bar opens it, the item list picks the category,
a click picks an entry, Apply changes the real X screen, and the question that follows keeps the
new mode only on a yes; the "Display" section follows what stayed."""

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

# The question after a change: its window class and its two buttons (dialog coordinates).
QUESTION = "VelmoraKeepMode"
KEEP = (78 + 49, 91 + 12)
REVERT = (186 + 49, 91 + 12)
KEEP_SECONDS = 15
UNSUPPORTED = "此显示模式不受支持"


def row(k):
    """The middle of row k of the page's list, in window coordinates."""
    return (PAGE[0] + 80, PAGE[1] + 29 + k * 25 + 12)


def category(name):
    """The middle of an entry of the main window's item list (four entries, 17 high, 10 apart,
    the first 30 below the list's top)."""
    return (384 + 40, 80 + 30 + CATEGORIES[name] * 27 + 8)


def display_setting(key):
    parser = configparser.ConfigParser()
    parser.optionxform = str
    parser.read(os.path.join(e2e.documents_dir(), "TVRunConfig.dat"), encoding="latin-1")
    return parser.get("Display", key, fallback=None)


def screen_size():
    mode = e2e.display_mode()
    return mode["width"], mode["height"]


def wait_screen(size, timeout):
    """Seconds until the screen shows `size` (None when it did not within `timeout`)."""
    began = time.time()
    while time.time() - began < timeout:
        if screen_size() == size:
            return time.time() - began
        time.sleep(0.2)
    return None


def rotation_calls():
    with open(e2e.prefix_path(e2e.SIM_LOG), encoding="latin-1") as log:
        return [line.strip() for line in log if line.startswith("ATIDL_SetRotationAngle")]


class DisplayModesPage(e2e.UserCopyCase):
    def setUp(self):
        super().setUp()
        e2e.reset_sim()
        e2e.set_display_mode(*START_SIZE)
        parser = configparser.ConfigParser()
        parser.optionxform = str
        parser.read(e2e.bin_path("RunConfig.dat"), encoding="latin-1")
        parser["Display"] = {"Desktoparea": "0", "ColorQuality": "0", "RefreshRate": "0",
                             "Rotation": "0"}
        parser["Display"].update({k: str(v) for k, v in self.stored().items()})
        with open(self.user_copy, "w", encoding="latin-1") as f:
            parser.write(f, space_around_delimiters=False)

    def stored(self):
        """Extra "Display" values a test starts with."""
        return {}

    def tearDown(self):
        super().tearDown()
        e2e.set_display_mode(*START_SIZE)
        e2e.reset_sim()

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

    def question(self):
        return e2e.wait_window(QUESTION, timeout=10, visible=True)

    def answer(self, point):
        """Clicks a button of the question and waits until it is gone."""
        e2e.click(self.question(), *point)
        e2e.wait_no_window(QUESTION, timeout=5)

    def assert_no_question(self, within=1.5):
        time.sleep(within)
        self.assertIsNone(e2e.find_window(QUESTION))

    def apply_and_keep(self, window, expected_size, expected_index):
        """Applies, keeps the new mode, checks the screen and the stored index, then puts the
        screen back so the window stays within reach; returns the window's new place."""
        self.press(window, APPLY, 0.2)
        self.answer(KEEP)
        if expected_size is not None:
            self.assertEqual(screen_size(), expected_size)
        self.assertEqual(display_setting("Desktoparea"), str(expected_index))
        e2e.set_display_mode(*START_SIZE)
        time.sleep(0.5)
        return e2e.wait_window(timeout=10, visible=True)


class Resolutions(DisplayModesPage):
    def test_picking_keeping_and_paging(self):
        e2e.Program.start()
        window = self.open_page()
        e2e.screenshot(window, "display_modes_page")
        self.press(window, row(1))
        self.press(window, APPLY, 0.2)
        question = self.question()
        e2e.screenshot(question, "display_modes_question")
        self.answer(KEEP)
        # Kept: the mode stays after the question's time would have run out.
        self.assertIsNone(wait_screen(START_SIZE, 2))
        self.assertEqual(screen_size(), (1440, 900))
        self.assertEqual(display_setting("Desktoparea"), "1")
        e2e.set_display_mode(*START_SIZE)
        window = e2e.wait_window(timeout=10, visible=True)

        self.press(window, RIGHT)
        self.press(window, row(3))
        e2e.screenshot(window, "display_modes_page_two")
        window = self.apply_and_keep(window, (1024, 768), 8)

        # Paging keeps the row: 1280x800 (page 2, row 1), LEFT gives 1440x900, RIGHT 1280x800.
        self.press(window, row(1))
        self.press(window, LEFT)
        window = self.apply_and_keep(window, (1440, 900), 1)
        self.press(window, RIGHT)
        self.press(window, APPLY, 0.2)
        self.answer(KEEP)
        self.assertEqual(display_setting("Desktoparea"), "6")

    def test_without_a_yes_the_previous_mode_returns(self):
        e2e.Program.start()
        window = self.open_page()
        # No answer: back within sixteen seconds of Apply, not before the countdown ran out.
        self.press(window, row(1), 0.3)
        applied = time.time()
        self.press(window, APPLY, 0)
        self.question()
        self.assertEqual(screen_size(), (1440, 900))
        self.assertIsNotNone(wait_screen(START_SIZE, 20), "the previous mode did not return")
        took = time.time() - applied
        self.assertLessEqual(took, 16.0)
        self.assertGreaterEqual(took, KEEP_SECONDS - 1.5)
        e2e.wait_no_window(QUESTION, timeout=2)
        self.assertEqual(display_setting("Desktoparea"), "0")
        # The page's choice went back too: applying it again asks nothing.
        window = e2e.wait_window(timeout=10, visible=True)
        self.press(window, APPLY, 0)
        self.assert_no_question()
        self.assertEqual(screen_size(), START_SIZE)

        # Esc: back at once.
        self.press(window, row(1))
        self.press(window, APPLY, 0.2)
        self.question()
        self.assertEqual(screen_size(), (1440, 900))
        began = time.time()
        e2e.key("Escape")
        self.assertIsNotNone(wait_screen(START_SIZE, 3), "Esc did not bring the mode back")
        self.assertLess(time.time() - began, 3)
        e2e.wait_no_window(QUESTION, timeout=2)
        self.assertEqual(display_setting("Desktoparea"), "0")

        # The question's other button.
        window = e2e.wait_window(timeout=10, visible=True)
        self.press(window, RIGHT)
        self.press(window, row(3))
        self.press(window, APPLY, 0.2)
        self.assertEqual(screen_size(), (1024, 768))
        self.answer(REVERT)
        self.assertIsNotNone(wait_screen(START_SIZE, 3))
        self.assertEqual(display_setting("Desktoparea"), "0")


class StoredOutsideTheList(DisplayModesPage):
    def stored(self):
        return {"Desktoparea": 12}

    def test_a_stored_index_outside_the_list_opens_on_the_first_resolution(self):
        e2e.set_display_mode(1024, 768)
        e2e.Program.start()
        window = self.open_page()
        self.press(window, APPLY, 0.2)
        self.answer(KEEP)
        self.assertEqual(screen_size(), START_SIZE)
        self.assertEqual(display_setting("Desktoparea"), "0")


class OtherCategories(DisplayModesPage):
    def test_a_refused_mode_changes_nothing_and_rotation_goes_back_unless_kept(self):
        e2e.Program.start()
        window = self.open_page()
        self.press(window, row(2))  # a resolution, chosen but never applied
        self.press(window, category("refresh"))
        e2e.screenshot(window, "display_modes_refresh")
        self.press(window, row(3))  # 100 Hz, which the display does not offer
        self.press(window, APPLY, 0)
        box = e2e.find_message_box(UNSUPPORTED, timeout=10)
        self.assertIsNotNone(box, "no message for a refused mode")
        self.assertIsNone(e2e.find_window(QUESTION))
        self.assertEqual(screen_size(), START_SIZE)
        self.assertEqual(e2e.display_mode()["hertz"], 60)
        e2e.press_button(box.hwnd, 1)
        time.sleep(0.5)
        # Nothing stored for the refused choice; the other choices are written as always.
        self.assertEqual(display_setting("RefreshRate"), "0")
        self.assertEqual(display_setting("Desktoparea"), "2")

        # Rotation through the driver: Esc turns it back to where it was.
        self.press(window, category("rotation"))
        self.press(window, row(1))
        self.press(window, APPLY, 0.2)
        self.question()
        e2e.key("Escape")
        e2e.wait_no_window(QUESTION, timeout=3)
        self.assertEqual(rotation_calls(), ["ATIDL_SetRotationAngle(0, 1) = 0",
                                            "ATIDL_SetRotationAngle(0, 0) = 0"])
        self.assertEqual(display_setting("Rotation"), "0")

        # OK: applies, keeps on a yes, hides.
        self.press(window, row(1))
        self.press(window, OK, 0.2)
        self.answer(KEEP)
        time.sleep(0.5)
        self.assertFalse(window.refresh().visible)
        self.assertEqual(display_setting("Rotation"), "1")
        self.assertEqual(rotation_calls()[2:], ["ATIDL_SetRotationAngle(0, 1) = 0"])


class RotationWithoutTheDriverEntry(DisplayModesPage):
    def setUp(self):
        super().setUp()
        e2e.reset_sim({"Sim": {"MissingExports": "ATIDL_SetRotationAngle"}})

    def test_rotation_goes_through_the_system_display_settings(self):
        e2e.Program.start()
        window = self.open_page()
        self.press(window, category("rotation"))
        # Landscape is what the screen shows: the system takes it and there is nothing to ask.
        self.press(window, APPLY, 0)
        self.assert_no_question()
        self.assertIsNone(e2e.find_message_box(UNSUPPORTED, timeout=0.5))
        # Portrait: this X server lists no turned mode, so the system refuses it.
        self.press(window, row(1))
        self.press(window, APPLY, 0)
        box = e2e.find_message_box(UNSUPPORTED, timeout=10)
        self.assertIsNotNone(box, "the system was not asked for the turned mode")
        e2e.press_button(box.hwnd, 1)
        time.sleep(0.5)
        self.assertEqual(screen_size(), START_SIZE)
        self.assertEqual(display_setting("Rotation"), "0")
        self.assertEqual(rotation_calls(), [])


if __name__ == "__main__":
    e2e.main()
