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

# Where a user clicks for each navigation: the middle of an arm of the cross or of a bar button.
NAVIGATION = {
    "shortcuts": (16 + 20, 120 + 42),    # left arm
    "hardware": (16 + 102, 120 + 42),    # right arm
    "overclock": (16 + 60, 120 + 21),    # upper arm
    "threed": (16 + 60, 120 + 65),       # lower arm
    "display": (95 + 143, 260 + 55),     # bar region 4
    "quality": (95 + 178, 260 + 42),     # bar region 5
}


def start_main_window():
    program = e2e.Program.start()
    window = e2e.wait_window(timeout=60, visible=True)
    time.sleep(0.8)  # the first frame
    return program, window


def visible_pages(window):
    return [c for c in e2e.children(window.hwnd)
            if c["cls"] == "#32770" and c["visible"]]


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
        start = e2e.grab(window)
        seen_pages = {}
        seen_lists = {}
        for name, (x, y) in NAVIGATION.items():
            e2e.click(window, x, y)
            time.sleep(0.4)
            pages = visible_pages(window)
            self.assertEqual(len(pages), 1, "after %s: %s" % (name, pages))
            page = pages[0]
            self.assertEqual((page["x"], page["y"], page["width"], page["height"]), PAGE_RECT)
            seen_pages[name] = page["hwnd"]
            image = e2e.grab(window)
            e2e.screenshot(window, "main_page_%s" % name)
            seen_lists[name] = screen.crop(image, *ITEM_LIST)
            # The page screen: buttons drawn, the gauge shown, a different background.
            self.assertGreater(screen.brightness(screen.crop(image, *CLOSE_BUTTON)), 10)
            self.assertGreater(screen.mean_difference(screen.crop(image, *GAUGE),
                                                      screen.crop(start, *GAUGE)), 1)
        self.assertEqual(len(set(seen_pages.values())), 6, "every navigation has its own page")
        # Lists of different items look different.
        names = list(seen_lists)
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                if {a, b} != {"display", "quality"}:  # both have four items
                    self.assertGreater(screen.mean_difference(seen_lists[a], seen_lists[b]), 1,
                                       "%s and %s lists look the same" % (a, b))
        self.assertGreater(screen.mean_difference(seen_lists["display"], seen_lists["quality"]),
                           0.5)


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
