"""The hardware page in the running program: opened from the right arm of the navigation picture,
its wait bar, its eight rows from the real probe library with a planted database and driver key
values, the clocks from the simulated card or from the library, and test libraries that fail or
hang."""

import os
import shutil
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "harness"))
sys.path.insert(0, os.path.join(ROOT, "tools", "devicedb"))
sys.path.insert(0, os.path.join(ROOT, "tests", "mainwindow"))
import make_device_db  # noqa: E402
import screen  # noqa: E402
from test_main_window_platform import DLL_MESSAGE, DRIVER_LIBRARIES, MovedAside  # noqa: E402
import velmora_e2e as e2e  # noqa: E402

PAGE = (503, 93)
RIGHT_ARM = (16 + 100, 120 + 40)
CLOSE_BUTTON = (755 + 11, 55 + 9)
WAIT_BAR = (503 + 80, 93 + 76, 100, 7)
# Each row's text: its top in the page and the height its letters take.
ROW_TOPS = [3, 25, 47, 69, 91, 113, 135, 157]
ROW_HEIGHT = 18
TEXT_LEFT = 20
IDOK = 1
DRIVER_KEY = r"HKLM\System\CurrentControlSet\Control\Class\{4D36E968-E325-11CE-BFC1-08002BE10318}\0000"
# 33 characters: the page shows 32 and ". . .".
LONG_NAME = "Radeon HD 4850 Planted Edition XT"
PLANTED_VALUES = [("DriverVersion", "REG_SZ", "8.561.3.0"),
                  ("HardwareInformation.BiosDate", "REG_SZ", "2008/05/20"),
                  ("HardwareInformation.MemorySize", "REG_DWORD", str(512 * 1024 * 1024))]


def planted_database(core=725, memory=1000):
    """A database that knows Wine's adapter (ids 0000:0000) under a 33-character name."""
    return make_device_db.build({0: "Planted Boards Inc."}, {(0, 0): "Planted [%s]" % LONG_NAME},
                                {}, {(0, 0): ("GDDR5", core, memory)})


def page_background():
    return screen.skin_image("SUBBKHARDWARE")


def row_ink(image, row):
    """(columns, rows) of the row's band, relative to its text origin, whose pixels differ
    clearly from the page background: the letters drawn there."""
    background = page_background()
    top = ROW_TOPS[row]
    columns, lines = set(), set()
    bar_x, bar_y, bar_width, bar_height = WAIT_BAR
    for y in range(top, min(top + ROW_HEIGHT, background.height)):
        for x in range(TEXT_LEFT, background.width):
            if (0 <= PAGE[0] + x - bar_x < bar_width and 0 <= PAGE[1] + y - bar_y < bar_height):
                continue  # the wait bar's own animation
            a = image.getpixel((PAGE[0] + x, PAGE[1] + y))
            b = background.getpixel((x, y))
            if max(abs(a[i] - b[i]) for i in range(3)) > 60:
                columns.add(x - TEXT_LEFT)
                lines.add(y - top)
    return sorted(columns), sorted(lines)


def widest_gap(columns):
    return max((b - a - 1 for a, b in zip(columns, columns[1:])), default=0)


class Install:
    """The program in a folder of its own with the chosen probe library and database."""

    def __init__(self, library="GfxProbe.dll", database=None):
        self.folder = tempfile.mkdtemp(prefix="velmora-hwinfo-")
        for name in ("Velmora.exe", "RunConfig.dat", "MachineId.dll"):
            shutil.copyfile(e2e.bin_path(name), os.path.join(self.folder, name))
        shutil.copyfile(e2e.bin_path(library), os.path.join(self.folder, "GfxProbe.dll"))
        target = os.path.join(self.folder, "DeviceManuf.db3")
        if database is None:
            shutil.copyfile(e2e.bin_path("DeviceManuf.db3"), target)
        else:
            with open(target, "wb") as f:
                f.write(database)

    def start(self):
        return e2e.Program.start(exe=os.path.join(self.folder, "Velmora.exe"))

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


class HardwarePage(e2e.TestCase):
    def setUp(self):
        self.installs = []
        for name, kind, data in PLANTED_VALUES:
            e2e.reg_set(DRIVER_KEY, name, kind, data)

    def tearDown(self):
        super().tearDown()
        for name, _, _ in PLANTED_VALUES:
            e2e.reg_delete(DRIVER_KEY, name)
        for install in self.installs:
            install.remove()

    def open_page(self, install, dismiss_message=False):
        self.installs.append(install)
        program = install.start()
        if dismiss_message:
            box = e2e.find_message_box(DLL_MESSAGE, timeout=30)
            self.assertIsNotNone(box, "the driver message did not appear")
            e2e.press_button(box.hwnd, IDOK)
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(0.8)
        e2e.click(window, *RIGHT_ARM)
        return program, window

    def wait_rows(self, window, rows, timeout=30):
        """The window's picture once the given rows show text."""
        deadline = time.time() + timeout
        while True:
            image = e2e.grab(window)
            if all(row_ink(image, row)[0] for row in rows):
                return image
            if time.time() > deadline:
                self.fail("rows %s never showed text" % (rows,))
            time.sleep(0.3)

    def assert_wait_bar_animates(self, window):
        x, y, width, height = WAIT_BAR
        pictures = []
        for _ in range(6):
            pictures.append(screen.crop(e2e.grab(window), x, y, width, height))
            time.sleep(0.15)
        self.assertGreater(max(screen.mean_difference(pictures[0], p) for p in pictures[1:]), 1,
                           "the wait bar does not animate")

    def test_the_eight_facts_appear_with_the_cards_clocks_and_a_cut_name(self):
        _, window = self.open_page(Install(database=planted_database()))
        image = self.wait_rows(window, range(8))
        e2e.screenshot(window, "hardware_page_rows")
        # With the simulated card the clocks are "%dMHz": number and unit without a space.
        for row in (4, 5):
            columns, _ = row_ink(image, row)
            self.assertLess(widest_gap(columns), 3, "row %d has a space" % (row + 1))
        # The name's 33rd character gives way to ". . .": the last ink is dots on the baseline.
        columns, lines = row_ink(image, 0)
        tail = [c for c in columns if c > columns[-1] - 12]
        tail_lines = set()
        background = page_background()
        for x in tail:
            for y in range(ROW_TOPS[0], ROW_TOPS[0] + ROW_HEIGHT):
                a = image.getpixel((PAGE[0] + TEXT_LEFT + x, PAGE[1] + y))
                b = background.getpixel((TEXT_LEFT + x, y))
                if max(abs(a[i] - b[i]) for i in range(3)) > 60:
                    tail_lines.add(y - ROW_TOPS[0])
        height = lines[-1] - lines[0] + 1
        self.assertTrue(all(line > lines[0] + height * 0.6 for line in tail_lines),
                        "the name does not end in dots: ink at %s of %s" % (sorted(tail_lines),
                                                                           lines))

    def test_without_the_driver_the_librarys_clocks_show_with_a_space(self):
        system32 = [r"C:\windows\system32" + "\\" + name for name in DRIVER_LIBRARIES]
        with MovedAside(system32):
            _, window = self.open_page(Install(database=planted_database()),
                                       dismiss_message=True)
            image = self.wait_rows(window, range(8))
            e2e.screenshot(window, "hardware_page_library_clocks")
            for row in (4, 5):
                columns, _ = row_ink(image, row)
                self.assertGreaterEqual(widest_gap(columns), 3, "row %d has no space" % (row + 1))

    def test_without_the_driver_clocks_the_library_does_not_know_stay_empty(self):
        system32 = [r"C:\windows\system32" + "\\" + name for name in DRIVER_LIBRARIES]
        with MovedAside(system32):
            # Wine's adapter is unknown to the database and its driver names no provider: the
            # vendor and memory type stay empty too.
            _, window = self.open_page(Install(), dismiss_message=True)
            image = self.wait_rows(window, [0, 1, 2, 7])
            for row in (4, 5):
                self.assertEqual(row_ink(image, row)[0], [], "row %d shows text" % (row + 1))

    def test_a_library_that_fails_leaves_the_wait_bar_animating(self):
        program, window = self.open_page(Install("standin/gfxprobe-failing/GfxProbe.dll"))
        time.sleep(1)
        self.assert_wait_bar_animates(window)
        e2e.screenshot(window, "hardware_page_waiting")
        image = e2e.grab(window)
        for row in range(8):
            self.assertEqual(row_ink(image, row)[0], [], "row %d shows text" % (row + 1))
        self.assertTrue(program.alive())

    def test_a_hanging_library_delays_neither_the_window_nor_the_exit(self):
        start = time.time()
        program, window = self.open_page(Install("standin/gfxprobe-hanging/GfxProbe.dll"))
        self.assertLess(time.time() - start, 30)
        self.assert_wait_bar_animates(window)
        closing = time.time()
        e2e.click(window, *CLOSE_BUTTON)
        program.wait_exit(timeout=15)
        self.assertLess(time.time() - closing, 10)


if __name__ == "__main__":
    e2e.main()
