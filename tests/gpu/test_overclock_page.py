"""The overclocking page as a user drives it: sliders, the automatic-fan button and the main
window's Apply, OK and Default buttons, against the simulated card and the per-user settings."""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "harness"))
import velmora_e2e as e2e  # noqa: E402

SIM_STATE = e2e.SIM_STATE
SIM_LOG = e2e.SIM_LOG
APPLIED = "核心硬件设置成功"
DLL_MESSAGE = "Dll加载失败!"
IDOK = 1
SW_SHOW = 5

# Main-window client points a user clicks.
OVERCLOCK_ARM = (16 + 60, 120 + 21)
DEFAULT_BUTTON = (423 + 50, 280 + 12)
OK_BUTTON = (507 + 31, 280 + 12)
APPLY_BUTTON = (572 + 30, 280 + 12)
CLOSE_BUTTON = (755 + 11, 55 + 9)
PAGE = (503, 93)
# The sliders' tops in page pixels; the plus button's middle lies at (205, 10) of a slider.
SLIDER_TOP = {"core": 20, "voltage": 50, "memory": 80, "fan": 110}
AUTO_FAN_BUTTON = (PAGE[0] + 170 + 15, PAGE[1] + 140 + 6)


def plus_button(slider):
    return PAGE[0] + 10 + 205, PAGE[1] + SLIDER_TOP[slider] + 10


def settings_text(clock_lines, exit_keep=1):
    return ("[SettingInfo]\nRunValue=0\nExitKeep=%d\n" % exit_keep
            + ("[Clock_Set]\n" + "\n".join(clock_lines) + "\n" if clock_lines else "")
            + "[Display]\nColorQuality=0\n")


SAVED_CLOCKS = ["GPUFrequency=850", "GPUVoltage=1100", "Mem=1000", "Fan=55", "SelFan=0"]
TEMPLATE_CLOCKS = ["GPUFrequency=0", "GPUVoltage=0", "Mem=0", "Fan=50", "SelFan=1"]


def parse_ini(text):
    """{section: {key: value}}."""
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            current = sections.setdefault(line[1:line.index("]")], {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current[key] = value
    return sections


def section_lines(text, name):
    """The raw lines of one section, header included."""
    out, inside = [], False
    for line in text.splitlines():
        if line.startswith("["):
            inside = line.strip() == "[%s]" % name
        if inside:
            out.append(line)
    return out


reset_sim = e2e.reset_sim


def sim_state():
    with open(e2e.prefix_path(SIM_STATE)) as f:
        return parse_ini(f.read())


def sim_calls():
    path = e2e.prefix_path(SIM_LOG)
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return [line.strip() for line in f if line.strip()]


class OverclockPage(e2e.UserCopyCase):
    def tearDown(self):
        super().tearDown()
        reset_sim()

    def user_copy_text(self):
        with open(self.user_copy, "rb") as f:
            return f.read().decode("ascii")

    def clock_settings(self):
        return parse_ini(self.user_copy_text()).get("Clock_Set", {})

    def start(self):
        program = e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(0.8)  # the first frame
        return program, window

    def open_page(self, window, name):
        e2e.click(window, *OVERCLOCK_ARM)
        time.sleep(0.6)
        pages = [c for c in e2e.children(window.hwnd) if c["cls"] == "#32770" and c["visible"]]
        self.assertEqual(len(pages), 1, "pages on screen: %s" % pages)
        e2e.screenshot(window, name)

    def apply_expecting_success(self, window):
        e2e.click(window, *APPLY_BUTTON)
        box = e2e.find_message_box(APPLIED, timeout=15)
        self.assertIsNotNone(box, "no success message after Apply")
        e2e.screenshot(box, "overclock_applied_message")
        e2e.press_button(box.hwnd, IDOK)
        # Wine takes a moment to take a closed box off the screen.
        time.sleep(2.5)
        again = e2e.find_message_box(APPLIED, timeout=1)
        self.assertTrue(again is None or not again.visible,
                        "the success message appeared a second time")

    def close(self, program, window):
        e2e.click(window, *CLOSE_BUTTON)
        program.wait_exit(60)

    def test_stepping_the_core_clock_and_applying_runs_and_keeps_it(self):
        self.write_user_copy(settings_text(TEMPLATE_CLOCKS))
        reset_sim()
        program, window = self.start()
        self.open_page(window, "overclock_page")

        plus_x, plus_y = plus_button("core")
        e2e.click(window, plus_x, plus_y)
        # Held down, the button keeps stepping every 80 ms; pressed again within the double-click
        # time it would take a double click instead, which steps once.
        time.sleep(0.6)
        e2e.move(window, plus_x, plus_y)
        e2e._xdotool("mousedown", 1)
        time.sleep(1.0)
        e2e._xdotool("mouseup", 1)
        time.sleep(0.3)
        e2e.screenshot(window, "overclock_core_stepped")
        self.assertNotIn("ATIDL_SetODClockConfig", " ".join(sim_calls()),
                         "moving a slider reached the driver")

        self.apply_expecting_success(window)
        core = int(self.clock_settings()["GPUFrequency"])
        # 700 MHz before, one click and at least half a second of repeats.
        self.assertGreaterEqual(core, 707)
        self.assertLessEqual(core, 1100)
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], str(core * 100))

        # A restart reads the clock back from the card and the settings.
        self.close(program, window)
        self.assertEqual(int(self.clock_settings()["GPUFrequency"]), core)
        program, window = self.start()
        self.open_page(window, "overclock_page_after_restart")
        self.apply_expecting_success(window)
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], str(core * 100))
        self.assertEqual(int(self.clock_settings()["GPUFrequency"]), core)

    def test_manual_fan_on_ok_and_automatic_again_on_apply(self):
        self.write_user_copy(settings_text(TEMPLATE_CLOCKS))
        reset_sim()
        _, window = self.start()
        self.open_page(window, "overclock_fan_automatic")

        e2e.click(window, *AUTO_FAN_BUTTON)
        self.assertEqual(sim_state()["Fan"]["Automatic"], "1",
                         "toggling the button alone reached the driver")
        fan_plus = plus_button("fan")
        for _ in range(3):
            e2e.click(window, *fan_plus)
            time.sleep(0.4)
        e2e.screenshot(window, "overclock_fan_manual")
        e2e.click(window, *OK_BUTTON)
        time.sleep(1.0)
        self.assertFalse(window.refresh().visible, "OK did not hide the window")

        fan = sim_state()["Fan"]
        clocks = self.clock_settings()
        self.assertEqual(fan["Automatic"], "0")
        self.assertEqual(clocks["SelFan"], "0")
        self.assertEqual(fan["Percent"], clocks["Fan"])
        self.assertGreater(int(fan["Percent"]), 20)

        e2e.wine([e2e.bin_path("showwindow.exe"), "%x" % window.hwnd, str(SW_SHOW)])
        time.sleep(0.8)
        e2e.click(window, *AUTO_FAN_BUTTON)
        self.apply_expecting_success(window)
        self.assertEqual(sim_state()["Fan"]["Automatic"], "1")
        self.assertEqual(self.clock_settings()["SelFan"], "1")

    def test_default_sets_the_card_and_sliders_back_and_leaves_the_settings(self):
        self.write_user_copy(settings_text(SAVED_CLOCKS))
        reset_sim()
        program, window = self.start()
        self.open_page(window, "overclock_before_default")
        # The page shows what the card runs (700 MHz), not what was stored.
        e2e.click(window, *plus_button("core"))
        self.apply_expecting_success(window)
        self.assertEqual(sim_state()["Overdrive"]["EngineClock"], "70100")
        saved = section_lines(self.user_copy_text(), "Clock_Set")

        e2e.click(window, *DEFAULT_BUTTON)
        time.sleep(0.5)
        e2e.screenshot(window, "overclock_after_default")
        state = sim_state()
        self.assertEqual(state["Overdrive"]["EngineClock"], "70000")
        self.assertEqual(state["Overdrive"]["CurrentLevel0"], "70000,100000,1150")
        self.assertEqual(state["Fan"]["Automatic"], "1")
        self.assertEqual(section_lines(self.user_copy_text(), "Clock_Set"), saved)

        # Saving at exit writes what the sliders show: the defaults.
        self.close(program, window)
        clocks = self.clock_settings()
        self.assertEqual((clocks["GPUFrequency"], clocks["GPUVoltage"], clocks["Mem"],
                          clocks["SelFan"]), ("700", "1150", "1000", "1"))

    def test_without_the_driver_the_stored_clocks_survive_a_start_and_exit(self):
        self.write_user_copy(settings_text(SAVED_CLOCKS))
        reset_sim({"Sim": {"Missing": "atipdlxx,atiadlxx,atiadlxy"}})
        before = section_lines(self.user_copy_text(), "Clock_Set")
        program = e2e.Program.start()
        box = e2e.find_message_box(DLL_MESSAGE, timeout=30)
        self.assertIsNotNone(box, "the driver message did not appear")
        e2e.press_button(box.hwnd, IDOK)
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(0.8)
        self.open_page(window, "overclock_without_driver")
        e2e.click(window, *APPLY_BUTTON)
        self.assertIsNone(e2e.find_message_box(APPLIED, timeout=3))
        self.close(program, window)

        # A file without the "Overdrive" key was saved on the ATIDL path; the key written as 0
        # says the same.
        after = section_lines(self.user_copy_text(), "Clock_Set")
        self.assertEqual([line for line in after if line != "Overdrive=0"], before)
        reached = [line for line in sim_calls() if "ATIDL_" in line or "ADL_" in line]
        self.assertEqual(reached, [])
        self.assertIn("refuse load atipdlxx", sim_calls())

    def test_a_refused_clock_write_shows_no_success_and_puts_the_voltage_back(self):
        self.write_user_copy(settings_text(SAVED_CLOCKS))
        reset_sim({"Sim": {"Refuse": "ATIDL_SetODClockConfig"}})
        _, window = self.start()
        self.open_page(window, "overclock_refused")
        e2e.click(window, *plus_button("core"))
        time.sleep(0.4)
        e2e.click(window, *plus_button("voltage"))
        time.sleep(0.4)
        e2e.click(window, *APPLY_BUTTON)
        self.assertIsNone(e2e.find_message_box(APPLIED, timeout=3),
                          "a refused apply showed the success message")
        state = sim_state()["Overdrive"]
        writes = state["VddcWrites"].split(",")
        self.assertEqual(len(writes), 2, state["VddcWrites"])
        self.assertGreater(int(writes[0]), 1150)
        self.assertEqual(writes[1], "1150")
        self.assertEqual(state["CurrentLevel0"], "70000,100000,1150")
        self.assertEqual(state["EngineClock"], "70000")


if __name__ == "__main__":
    e2e.main()
