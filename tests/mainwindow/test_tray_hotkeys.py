"""The main window's background duties as a user meets them: the tray-only start and its icon,
apply-and-exit at log-on (with the guard against clocks that brought the machine down), a global
hotkey pressed on the X server while the window is hidden, and the live gauge."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "harness"))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "gpu"))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "shortcuts"))
import velmora_e2e as e2e  # noqa: E402
from test_overclock_page import (APPLIED, SAVED_CLOCKS, parse_ini, reset_sim,  # noqa: E402
                                 settings_text, sim_calls, sim_state)
import test_shortcut_page as shortcut_page  # noqa: E402

import screen  # noqa: E402

GUARD_KEY = r"HKCU\Software\Velmora"
GUARD_VALUE = "ClockApplyPending"
IDOK = 1
OVERCLOCK_ARM = (16 + 60, 120 + 21)
GAUGE = (140, 75, 160, 175)
# Ctrl+Alt+K as the shortcut page stores it: Ctrl and Alt markers, then the key's code.
CTRL_ALT_K = 0x00111200 | ord("K")


def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True,
                          timeout=20, env=e2e._env())


def wait_tray(timeout=10):
    """Wine's tray window, once it shows an icon; None when none appeared in time."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        windows = e2e.tray_windows()
        if windows:
            return windows[0]
        time.sleep(0.25)
    return None


class UserSettingsCase(e2e.UserCopyCase):
    """Keeps the per-user settings copy, the guard marker and the simulated card per test."""

    def setUp(self):
        super().setUp()
        e2e.reg_delete(GUARD_KEY, GUARD_VALUE)

    def tearDown(self):
        super().tearDown()
        e2e.reg_delete(GUARD_KEY, GUARD_VALUE)
        reset_sim()


class TrayAndStartModes(UserSettingsCase):
    def test_tray_only_start_hides_the_window_and_its_icon_brings_it_back(self):
        reset_sim()
        started = time.time()
        e2e.Program.start(["/MinTray"])
        window = e2e.wait_window(timeout=60)
        tray = wait_tray(timeout=20)
        self.assertIsNotNone(tray, "no icon in the system tray")
        self.assertGreater(time.time() - started, 3.0, "the icon came before the retry period")
        self.assertFalse(window.refresh().visible)
        e2e.park_tray()
        xdotool("mousemove", "--window", tray, 10, 10)
        xdotool("click", "--repeat", 2, "--delay", 80, 1)
        time.sleep(1.0)
        self.assertTrue(window.refresh().visible, "the double click did not bring the window back")

    def test_apply_and_exit_runs_the_saved_clocks_and_ends_without_showing_the_window(self):
        self.write_user_copy(settings_text(SAVED_CLOCKS))
        reset_sim()
        with e2e.MapWatch() as watch:
            program = e2e.Program.start(["/Apply_Exit"])
            box = e2e.find_message_box(APPLIED, timeout=60)
            self.assertIsNotNone(box, "no success message")
            e2e.press_button(box.hwnd, IDOK)
            program.wait_exit(60)
        # The success message is all the user sees: no window of the main window's size was
        # ever mapped, while the message box was.
        self.assertNotIn((800, 328), watch.mapped, "the main window was shown")
        self.assertTrue(watch.mapped, "the watch saw no window at all, not even the message")
        state = sim_state()["Overdrive"]
        self.assertEqual(state["EngineClock"], "85000")
        self.assertEqual(state["MemoryClock"], "100000")
        self.assertEqual(e2e.tray_windows(), [], "apply-and-exit showed a tray icon")
        self.assertIsNone(e2e.reg_query(GUARD_KEY, GUARD_VALUE))

    def test_apply_and_exit_after_a_write_that_never_returned_leaves_the_card_alone(self):
        self.write_user_copy(settings_text(SAVED_CLOCKS))
        reset_sim()
        e2e.reg_set(GUARD_KEY, GUARD_VALUE, "REG_DWORD", 1)
        program = e2e.Program.start(["/Apply_Exit"])
        program.wait_exit(60)
        writes = [c for c in sim_calls() if c.startswith(("ATIDL_SetOD", "ATIDL_SetFanSpeed"))]
        self.assertEqual(writes, [])
        self.assertIsNone(e2e.reg_query(GUARD_KEY, GUARD_VALUE), "the marker stayed")
        # The next log-on tries again.
        program = e2e.Program.start(["/Apply_Exit"])
        box = e2e.find_message_box(APPLIED, timeout=60)
        self.assertIsNotNone(box, "the start after the guarded one did not apply")
        e2e.press_button(box.hwnd, IDOK)
        program.wait_exit(60)
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], "85000")


class HotkeysAndGauge(UserSettingsCase):
    def press_on_hidden_window(self, keys):
        """Focuses Wine's tray window (a window of the same prefix) and presses the keys."""
        tray = wait_tray(timeout=20)
        self.assertIsNotNone(tray)
        xdotool("windowfocus", tray)
        time.sleep(0.3)
        xdotool("key", "--clearmodifiers", keys)
        time.sleep(1.5)

    def test_core_hotkey_pressed_while_hidden_raises_the_clock_and_saves_it(self):
        self.write_user_copy(settings_text(SAVED_CLOCKS + ["[HotKey]", "GPU1Add1=%d" % CTRL_ALT_K]))
        reset_sim({"Overdrive": {"EngineClock": "80000"}})
        e2e.Program.start(["/MinTray"])
        window = e2e.wait_window(timeout=60)
        self.press_on_hidden_window("ctrl+alt+k")
        self.assertFalse(window.refresh().visible)
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], "81000")
        with open(self.user_copy, "rb") as f:
            clocks = parse_ini(f.read().decode("ascii"))["Clock_Set"]
        self.assertEqual(clocks["GPUFrequency"], "810")

    def test_a_bare_key_or_all_three_modifiers_from_the_file_never_become_hotkeys(self):
        # "a" bare, Shift+Ctrl+Alt+D, and a valid Ctrl+Alt+K for the memory clock.
        hotkeys = ["[HotKey]", "GPU1Add1=%d" % ord("A"), "GPU1Sub1=%d" % (0x10111200 | ord("D")),
                   "GPU2Add1=%d" % CTRL_ALT_K]
        self.write_user_copy(settings_text(SAVED_CLOCKS + hotkeys))
        reset_sim({"Overdrive": {"EngineClock": "80000", "MemoryClock": "100000"}})
        e2e.Program.start(["/MinTray"])
        e2e.wait_window(timeout=60)
        before = open(self.user_copy, "rb").read()
        for keys in ("a", "shift+ctrl+alt+d", "d"):
            self.press_on_hidden_window(keys)
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], "80000")
        self.assertEqual([c for c in sim_calls() if c.startswith("ATIDL_Set")], [],
                         "a key that is no hotkey reached the card")
        self.assertEqual(open(self.user_copy, "rb").read(), before)
        # The same press of a valid value does reach it.
        self.press_on_hidden_window("ctrl+alt+k")
        self.assertEqual(sim_state()["Overdrive"]["MemoryClock"], "101000")

    def test_fan_hotkey_in_automatic_mode_changes_nothing(self):
        automatic = [line.replace("SelFan=0", "SelFan=1") for line in SAVED_CLOCKS]
        ctrl_alt_j = 0x00111200 | ord("J")
        self.write_user_copy(settings_text(automatic + [
            "[HotKey]", "GPU3Add1=%d" % CTRL_ALT_K, "GPU1Add2=%d" % ctrl_alt_j]))
        reset_sim({"Overdrive": {"EngineClock": "80000"}})
        e2e.Program.start(["/MinTray"])
        e2e.wait_window(timeout=60)
        before = open(self.user_copy, "rb").read()
        self.press_on_hidden_window("ctrl+alt+k")
        self.assertEqual(open(self.user_copy, "rb").read(), before)
        self.assertEqual([c for c in sim_calls() if c.startswith("ATIDL_SetFan")], [])
        # Keys pressed this way do reach the program: the core clock's hotkey steps the card.
        self.press_on_hidden_window("ctrl+alt+j")
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], "80100")

    def test_a_hotkey_cleared_on_the_shortcut_page_no_longer_reaches_the_card(self):
        self.write_user_copy(settings_text(SAVED_CLOCKS + ["[HotKey]", "GPU1Add1=%d" % CTRL_ALT_K]))
        reset_sim({"Overdrive": {"EngineClock": "80000"}})
        e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(0.8)
        shortcut_page.focus_x_window()
        e2e.click(window, *shortcut_page.SHORTCUT_ARM)
        time.sleep(0.5)
        e2e.key("ctrl+alt+k")
        time.sleep(1.0)
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], "81000",
                         "the saved hotkey did not step the card")

        # "GPU核心+10" is the first field of the overclocking group: cleared and applied.
        e2e.click(window, *shortcut_page.OVERCLOCK_ITEM)
        time.sleep(0.5)
        e2e.click(window, *shortcut_page.field_point(1))
        e2e.key("BackSpace")
        e2e.click(window, *shortcut_page.APPLY)
        time.sleep(0.5)
        with open(self.user_copy, "rb") as f:
            self.assertEqual(parse_ini(f.read().decode("ascii"))["HotKey"]["GPU1Add1"], "0")

        shortcut_page.focus_x_window()
        e2e.key("ctrl+alt+k")
        time.sleep(1.0)
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], "81000",
                         "the cleared hotkey still steps the card")

    def test_the_gauge_follows_the_cards_temperature(self):
        reset_sim({"Thermal": {"Fixed": "45000"}})
        e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(0.8)
        e2e.click(window, *OVERCLOCK_ARM)
        time.sleep(1.5)
        cool = screen.crop(e2e.grab(window), *GAUGE)
        with open(e2e.prefix_path(r"C:\velmora-sim\state.ini")) as f:
            text = f.read()
        with open(e2e.prefix_path(r"C:\velmora-sim\state.ini"), "w") as f:
            f.write(text.replace("Fixed=45000", "Fixed=85000"))
        time.sleep(2.5)
        hot = screen.crop(e2e.grab(window), *GAUGE)
        e2e.screenshot(window, "main_gauge_hot")
        self.assertGreater(screen.mean_difference(cool, hot), 1.0,
                           "the gauge did not move with the temperature")


if __name__ == "__main__":
    e2e.main()
