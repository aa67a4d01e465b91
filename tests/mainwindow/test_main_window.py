"""The main window as a user sees it: start screen, navigation, buttons, dragging."""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "harness"))
sys.path.insert(0, HERE)
import velmora_e2e as e2e  # noqa: E402
import screen  # noqa: E402

PAGE_RECT = (503, 93, 268, 178)
ITEM_LIST = (384, 80, 101, 190)
GAUGE = (140, 75, 160, 175)
CROSS = (16, 120, 120, 82)
BAR = (95, 260, 203, 67)
MIN_BUTTON = (730, 55, 23, 19)
CLOSE_BUTTON = (755, 55, 23, 19)
OK_BUTTON = (507, 280, 63, 25)

WM_APP_NAVIGATE = 0x400 + 1

# Where a user clicks for each navigation: the middle of an arm of the cross or of a bar button.
NAVIGATION = {
    "shortcuts": (16 + 20, 120 + 42),    # left arm
    "hardware": (16 + 102, 120 + 42),    # right arm
    "overclock": (16 + 60, 120 + 21),    # upper arm
    "threed": (16 + 60, 120 + 65),       # lower arm
    "display": (95 + 143, 260 + 55),     # bar region 4
    "quality": (95 + 178, 260 + 42),     # bar region 5
}

# The navigation code and dialog template of each page.
PAGES = {
    "shortcuts": (1, "IDD_SHORTCUT"),
    "hardware": (2, "IDD_HARDWARE"),
    "overclock": (3, "IDD_OVERCLOCK"),
    "threed": (4, "IDD_THREED"),
    "display": (8, "IDD_DISPLAY"),
    "quality": (9, "IDD_QUALITY"),
}

RES = os.path.join(HERE, "..", "..", "res")


def resource_ids():
    """The ids the program's resources define, by name."""
    ids = {}
    with open(os.path.join(RES, "resource.h"), encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "#define" and parts[2].isdigit():
                ids[parts[1]] = int(parts[2])
    return ids


def template_controls(ids):
    """The control ids of each dialog template of the resource script, by template name."""
    templates, current = {}, None
    with open(os.path.join(RES, "Velmora.rc"), encoding="utf-8") as f:
        for line in f:
            words = line.split()
            if len(words) >= 2 and words[1] == "DIALOGEX":
                current = templates.setdefault(words[0], set())
            elif words[:1] == ["END"]:
                current = None
            elif current is not None and words[:1] == ["CONTROL"]:
                name = line.split(",")[1].strip()
                current.add(ids[name])
    return templates


IDS = resource_ids()
TEMPLATES = template_controls(IDS)


def start_main_window():
    program = e2e.Program.start()
    window = e2e.wait_window(timeout=60, visible=True)
    time.sleep(0.8)  # the first frame
    return program, window


def visible_pages(window):
    return [c for c in e2e.children(window.hwnd)
            if c["cls"] == "#32770" and c["visible"]]


def shown_page(test, window):
    """The name of the one page on screen, told by the controls of its template."""
    pages = visible_pages(window)
    test.assertEqual(len(pages), 1, "pages on screen: %s" % pages)
    page = pages[0]
    test.assertEqual((page["x"], page["y"], page["width"], page["height"]), PAGE_RECT)
    ids = {c["id"] for c in e2e.children(page["hwnd"])}
    names = [name for name, (_, template) in PAGES.items() if TEMPLATES[template] == ids]
    test.assertEqual(len(names), 1, "page with controls %s" % sorted(ids))
    return names[0]


def with_face(background, face, x, y):
    """The background picture with a button face composed over it at (x, y), over black."""
    picture = screen.skin_image_rgba(background)
    picture.alpha_composite(screen.skin_image_rgba(face), (x, y))
    return screen.over_black(picture)


class StartScreen(e2e.TestCase):
    def test_start_screen_shows_the_start_background_only(self):
        _, window = start_main_window()
        image = e2e.grab(window)
        e2e.screenshot(window, "main_start_screen")
        background = screen.skin_image("RbtnBack")
        # Everything left of the cross and the bar, and the gauge area, is the start picture.
        for box in [(0, 0, 380, 118), GAUGE, (0, 205, 90, 123)]:
            self.assertLess(
                screen.mean_difference(screen.crop(image, *box), screen.crop(background, *box)),
                8, "region %s differs from the start picture" % (box,))
        # The five buttons are not drawn: their area is fully transparent (black on screen).
        for box in [MIN_BUTTON, CLOSE_BUTTON, (423, 280, 231, 25)]:
            self.assertLess(screen.brightness(screen.crop(image, *box)), 2)
        self.assertEqual(visible_pages(window), [])


class Navigation(e2e.TestCase):
    def test_each_arm_and_bar_button_selects_its_page_and_list(self):
        _, window = start_main_window()
        seen_lists = {}
        for name, (x, y) in NAVIGATION.items():
            e2e.click(window, x, y)
            time.sleep(0.4)
            self.assertEqual(shown_page(self, window), name)
            image = e2e.grab(window)
            e2e.screenshot(window, "main_page_%s" % name)
            seen_lists[name] = screen.crop(image, *ITEM_LIST)
        # Lists of different items look different.
        names = list(seen_lists)
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                if {a, b} != {"display", "quality"}:  # both have four items
                    self.assertGreater(screen.mean_difference(seen_lists[a], seen_lists[b]), 1,
                                       "%s and %s lists look the same" % (a, b))
        self.assertGreater(screen.mean_difference(seen_lists["display"], seen_lists["quality"]),
                           0.5)

    def test_each_page_code_opens_its_own_page_and_list(self):
        _, window = start_main_window()
        lists = {}
        for name, (code, _) in PAGES.items():
            e2e.post(window.hwnd, WM_APP_NAVIGATE, code)
            time.sleep(0.4)
            self.assertEqual(shown_page(self, window), name, "code %d" % code)
            lists[code] = screen.crop(e2e.grab(window), *ITEM_LIST)
        # Going back to a page shows its own list again, not the last one drawn.
        for name, (code, _) in PAGES.items():
            e2e.post(window.hwnd, WM_APP_NAVIGATE, code)
            time.sleep(0.4)
            self.assertEqual(shown_page(self, window), name, "code %d again" % code)
            self.assertLess(screen.mean_difference(screen.crop(e2e.grab(window), *ITEM_LIST),
                                                   lists[code]), 0.5, "list of code %d" % code)

    def test_code_seven_runs_the_options_dialog_modally(self):
        program, window = start_main_window()
        e2e.post(window.hwnd, WM_APP_NAVIGATE, 7)
        dialog = e2e.wait_window("#32770", timeout=20, visible=True)
        self.assertEqual(dialog.title, "选项设置")
        e2e.screenshot(dialog, "main_options_dialog")
        self.assertEqual(visible_pages(window), [], "the options dialog is not a page")
        e2e.press_button(dialog.hwnd, IDS["IDC_SETTINGS_CLOSE"])
        e2e.wait_no_window("#32770", timeout=20)
        self.assertTrue(program.alive())
        self.assertTrue(window.refresh().visible)

    def test_the_page_screen_draws_the_buttons_and_the_gauge_over_its_background(self):
        _, window = start_main_window()
        e2e.click(window, *NAVIGATION["overclock"])
        time.sleep(0.6)
        image = e2e.grab(window)
        background = screen.skin_image("MainDlg_BKALL")
        for box, face in [(MIN_BUTTON, "MainDlg_Min_N"), (CLOSE_BUTTON, "MainDlg_Close_N"),
                          (OK_BUTTON, "MAINDLG_BTN_CLICK_OK")]:
            shown = screen.crop(image, *box)
            expected = screen.crop(with_face("MainDlg_BKALL", face, box[0], box[1]), *box)
            self.assertGreater(screen.mean_difference(shown, screen.crop(background, *box)), 4,
                               "%s: only the background is shown" % face)
            self.assertLess(screen.mean_difference(shown, expected), 4,
                            "%s: not the button's face" % face)
        # The gauge draws its needle and reading over the page background.
        gauge = screen.crop(image, *GAUGE)
        e2e.screenshot(window, "main_page_gauge")
        self.assertGreater(screen.changed_pixels(gauge, screen.crop(background, *GAUGE)), 300,
                           "the gauge shows only the background")


class Buttons(e2e.TestCase):
    def test_minimise_hides_the_window_and_the_process_keeps_running(self):
        program, window = start_main_window()
        e2e.click(window, *NAVIGATION["overclock"])
        e2e.click(window, MIN_BUTTON[0] + 11, MIN_BUTTON[1] + 9)
        time.sleep(0.5)
        after = window.refresh()
        self.assertFalse(after.visible)
        self.assertFalse(after.iconic)
        self.assertTrue(program.alive())

    def test_close_button_ends_the_process(self):
        program, window = start_main_window()
        e2e.click(window, *NAVIGATION["hardware"])
        e2e.click(window, CLOSE_BUTTON[0] + 11, CLOSE_BUTTON[1] + 9)
        self.assertEqual(program.wait_exit(30), 0)

    def test_dragging_the_body_moves_the_window(self):
        _, window = start_main_window()
        e2e.drag(window, 215, 110, 275, 150)
        moved = window.refresh()
        self.assertEqual((moved.x - window.x, moved.y - window.y), (60, 40))


if __name__ == "__main__":
    e2e.main()
