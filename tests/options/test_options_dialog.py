"""The options dialog as a user meets it: opened from the button bar, choices clicked, OK, and
what reaches the Run key (the 32-bit view the program writes) and the settings file."""

import configparser
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "harness"))
import velmora_e2e as e2e  # noqa: E402

RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
OVERCLOCK_ARM = (16 + 60, 120 + 21)
BAR_REGION_3 = (95 + 102, 260 + 56)
# Places inside the dialog (its client area is its window: it has no border).
OK = (20 + 49, 262 + 8)
CLOSE = (230 + 10, 5 + 10)
MODE_ROWS = {"none": 71, "normal": 98, "minimised": 125, "tray": 151, "apply_exit": 177}
EXIT_SAVE = (15 + 7, 231 + 7)
DRAG_POINT = (132, 30)


def mode(name):
    return (15 + 7, MODE_ROWS[name] + 7)


def setting(key):
    parser = configparser.ConfigParser()
    parser.optionxform = str
    parser.read(os.path.join(e2e.documents_dir(), "TVRunConfig.dat"), encoding="latin-1")
    return parser.get("SettingInfo", key, fallback=None)


class OptionsDialog(e2e.TestCase):
    def setUp(self):
        e2e.reg_delete(RUN_KEY, "Velmora")

    def tearDown(self):
        super().tearDown()
        e2e.reg_delete(RUN_KEY, "Velmora")

    def open_dialog(self):
        window = e2e.wait_window(timeout=60, visible=True)
        e2e.click(window, *OVERCLOCK_ARM)  # a page first: the bar answers then
        time.sleep(0.3)
        e2e.click(window, *BAR_REGION_3)
        dialog = e2e.wait_window("#32770", timeout=20, visible=True)
        time.sleep(0.5)
        return window, dialog

    def test_choosing_minimised_writes_the_quoted_run_value_and_none_removes_it(self):
        program = e2e.Program.start()
        _, dialog = self.open_dialog()
        self.assertEqual((dialog.width, dialog.height), (264, 328))
        e2e.screenshot(dialog, "options_dialog_opened")
        e2e.click(dialog, *mode("minimised"))
        e2e.click(dialog, *OK)
        e2e.wait_no_window("#32770", timeout=20)
        data = e2e.reg_query(RUN_KEY, "Velmora")
        exe = e2e.wine(["winepath", "-w", e2e.bin_path("Velmora.exe")]).stdout.strip()
        self.assertEqual(data, '"%s" /Min' % exe)
        self.assertEqual(setting("RunValue"), "2")

        _, dialog = self.open_dialog()
        e2e.screenshot(dialog, "options_dialog_minimised_marked")
        e2e.click(dialog, *mode("none"))
        e2e.click(dialog, *OK)
        e2e.wait_no_window("#32770", timeout=20)
        self.assertIsNone(e2e.reg_query(RUN_KEY, "Velmora"))
        self.assertEqual(setting("RunValue"), "0")
        self.assertTrue(program.alive())

    def test_keys_do_nothing_close_saves_nothing_and_the_check_toggles_exit_keep(self):
        e2e.Program.start()
        _, dialog = self.open_dialog()
        before = setting("ExitKeep")
        for keysym in ("Return", "Escape"):
            e2e.key(keysym)
        time.sleep(0.5)
        self.assertTrue(dialog.refresh().visible, "a key closed the dialog")
        e2e.click(dialog, *mode("tray"))
        e2e.click(dialog, *EXIT_SAVE)
        e2e.click(dialog, *CLOSE)
        e2e.wait_no_window("#32770", timeout=20)
        self.assertIsNone(e2e.reg_query(RUN_KEY, "Velmora"))
        self.assertEqual(setting("ExitKeep"), before)

        _, dialog = self.open_dialog()
        e2e.click(dialog, *EXIT_SAVE)
        e2e.click(dialog, *OK)
        e2e.wait_no_window("#32770", timeout=20)
        self.assertEqual(setting("ExitKeep"), "1" if before != "1" else "0")

    def test_dragging_the_dialog_moves_it(self):
        e2e.Program.start()
        _, dialog = self.open_dialog()
        e2e.drag(dialog, DRAG_POINT[0], DRAG_POINT[1], DRAG_POINT[0] + 40, DRAG_POINT[1] + 30)
        moved = dialog.refresh()
        self.assertEqual((moved.x - dialog.x, moved.y - dialog.y), (40, 30))
        e2e.click(moved, *CLOSE)
        e2e.wait_no_window("#32770", timeout=20)


if __name__ == "__main__":
    e2e.main()
