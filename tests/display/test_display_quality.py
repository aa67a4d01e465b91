"""The display-quality and 3D pages as a user drives them: real clicks on the sliders, rows, item
list and buttons; the screen's gamma ramp read back from another process (wintool), the
simulated card's brightness and contrast, and the settings file."""

import math
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "harness"))
import velmora_e2e as e2e  # noqa: E402

USER_COPY = "TVRunConfig.dat"
SIM_STATE = "C:\\velmora-sim\\state.ini"
SIM_LOG = "C:\\velmora-sim\\calls.log"
IDC_CLOSE_BUTTON = 1002
WM_COMMAND = 0x111

# Main-window client coordinates of what a user clicks.
QUALITY_PAGE = (95 + 178, 260 + 42)   # button bar region 5
THREED_PAGE = (16 + 60, 120 + 65)     # lower arm of the cross
HARDWARE_RESET = (95 + 63, 260 + 46)  # button bar region 2
DEFAULT_BUTTON = (423 + 41, 280 + 12)
APPLY_BUTTON = (572 + 41, 280 + 12)
PAGE = (503, 93)
# The gamma slider sits at (60, 25) of the page; its compact plus button at (141..159, 2..19).
GAMMA_PLUS = (PAGE[0] + 60 + 150, PAGE[1] + 25 + 10)
PAGE_AREA = (PAGE[0], PAGE[1], 268, 178)


def list_item(first_top, gap, index):
    """The middle of an item of the item list (frame at (384, 80), 98 x 17 items)."""
    return (384 + 40, 80 + first_top + index * (17 + gap) + 8)


def quality_mode(index):
    return list_item(30, 10, index)


def threed_mode(index):
    return list_item(30, 15, index)


def threed_mark(row):
    """Row `row` (1..6) of the 3D page: 265 x 18 at (2, 16 + 24 (row - 1)); its mark at x 200."""
    return (PAGE[0] + 2 + 206, PAGE[1] + 16 + 24 * (row - 1) + 8)


def screen_exponent():
    """The exponent the screen's ramp follows (the mean over the three channels), from wintool
    run as its own process."""
    result = e2e.wine([e2e.bin_path("wintool.exe"), "gamma-ramp"])
    line = [l for l in result.stdout.splitlines() if l.startswith("ramp=")][0]
    ramp = [int(v) for v in line[5:].split(",")]
    exponents = []
    for channel in range(3):
        values = [math.log(ramp[channel * 256 + i] / 65535.0) / math.log((i + 1) / 256.0)
                  for i in range(32, 224) if ramp[channel * 256 + i] > 0]
        exponents.append(sum(values) / len(values))
    return sum(exponents) / 3


def write_profile(path, sections):
    with open(path, "w", encoding="ascii", errors="replace", newline="\r\n") as f:
        for name, keys in sections.items():
            f.write("[%s]\n" % name)
            for key, value in keys.items():
                f.write("%s=%s\n" % (key, value))


def read_profile(path):
    sections, current = {}, None
    with open(path, "rb") as f:
        text = f.read().decode("ascii", "replace")
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            current = sections.setdefault(line[1:line.index("]")], {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current[key] = value
    return sections


class Pages(e2e.TestCase):
    def setUp(self):
        self.user_copy = os.path.join(e2e.documents_dir(), USER_COPY)
        if os.path.exists(self.user_copy):
            os.remove(self.user_copy)  # the program copies the installed template
        # Wine refuses ramps that brighten the dark end (exponents below 1), so the card's gamma
        # reference is put above the installed presets: 5..25 with the exponent 1 at 14.
        state = e2e.prefix_path(SIM_STATE)
        os.makedirs(os.path.dirname(state), exist_ok=True)
        for path in (state, e2e.prefix_path(SIM_LOG)):
            if os.path.exists(path):
                os.remove(path)
        with open(state, "w") as f:
            f.write("[Sim]\r\nScenario=Default\r\n[Avivo]\r\nSetting7=13,4,24,1\r\n")

    def tearDown(self):
        super().tearDown()
        if os.path.exists(self.user_copy):
            os.remove(self.user_copy)

    def start(self):
        program = e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(0.8)
        return program, window

    def close(self, program, window):
        e2e.post(window.hwnd, WM_COMMAND, IDC_CLOSE_BUTTON)
        program.wait_exit(60)
        e2e.wait_no_window(timeout=10)

    def click(self, window, point, settle=0.5):
        e2e.click(window, *point)
        time.sleep(settle)

    def sim_color(self, name):
        """Current and default of the simulated display's brightness or contrast."""
        values = read_profile(e2e.prefix_path(SIM_STATE))["Adapter0.Display0"][name]
        words = [int(v) for v in values.split(",")]
        return words[0], words[1]

    def page_picture(self, window):
        """The page as shown, the pointer moved off the gamma slider's buttons first (a step
        button keeps its hot face until the pointer moves on the slider off it)."""
        e2e.move(window, PAGE[0] + 60 + 80, PAGE[1] + 25 + 10)
        time.sleep(0.3)
        e2e.move(window, 300, 20)
        time.sleep(0.5)
        x, y, width, height = PAGE_AREA
        return e2e.grab(window).crop((x, y, x + width, y + height))

    def game_mode_gamma_step(self, window):
        """On the quality page, 游戏模式 and one press of the gamma plus button: the card has
        the game preset's colours and the screen the exponent 1.1."""
        self.click(window, QUALITY_PAGE)
        self.click(window, quality_mode(2))
        self.click(window, GAMMA_PLUS)
        self.assertEqual(self.sim_color("Brightness")[0], 10)
        self.assertAlmostEqual(screen_exponent(), 1.1, delta=0.02)

    def assert_hardware_at_defaults(self):
        for name in ("Brightness", "Contrast"):
            current, default = self.sim_color(name)
            self.assertEqual(current, default, name)
        self.assertAlmostEqual(screen_exponent(), 1.0, delta=0.02)

    def settings(self):
        return read_profile(self.user_copy)

    def test_a_gamma_step_reaches_the_screen_at_once_and_apply_keeps_it_over_a_restart(self):
        program, window = self.start()
        self.click(window, QUALITY_PAGE)
        self.click(window, DEFAULT_BUTTON)  # a known ramp to start from: exponent 1.0
        self.assertAlmostEqual(screen_exponent(), 1.0, delta=0.02)
        self.click(window, quality_mode(2))  # 游戏模式: Camma 12, Light 110, Contrast 110
        self.click(window, GAMMA_PLUS)
        # 13 is one step below the reference 14: exponent 1 - (13 - 14) * 0.1.
        self.assertAlmostEqual(screen_exponent(), 1.1, delta=0.02)
        self.assertEqual(self.sim_color("Brightness")[0], 10)
        self.assertEqual(self.sim_color("Contrast")[0], 110)
        self.click(window, APPLY_BUTTON)
        saved = self.settings()
        self.assertEqual(saved["Quality_Game"], {"Camma": "13", "Light": "110", "Contrast": "110"})
        self.assertEqual(saved["SelPage"]["QualityPage"], "2")
        page_before = self.page_picture(window)
        e2e.screenshot(window, "quality_game_mode_applied")
        self.close(program, window)

        program, window = self.start()
        self.click(window, QUALITY_PAGE)
        page_after = self.page_picture(window)
        # The page opens on the game mode with the values applied before.
        self.assertEqual(list(page_after.getdata()), list(page_before.getdata()))
        self.assertEqual(self.settings()["Quality_Game"]["Camma"], "13")

    def test_default_restores_the_cards_colour_defaults_and_exponent_one(self):
        program, window = self.start()
        self.game_mode_gamma_step(window)
        self.click(window, DEFAULT_BUTTON)
        self.assert_hardware_at_defaults()
        saved = self.settings()
        self.assertEqual(saved["Quality_Game"], {"Camma": "14", "Light": "100", "Contrast": "100"})

    def test_threed_rows_set_the_exponent_and_apply_writes_the_presets(self):
        program, window = self.start()
        self.click(window, THREED_PAGE)
        self.click(window, threed_mark(2))
        self.click(window, APPLY_BUTTON)
        # Mode 0 (办公模式), row 1 off, one of rows 2-6 on: 1.1 - 0.05.
        self.assertAlmostEqual(screen_exponent(), 1.05, delta=0.02)
        saved = self.settings()
        for section in ("3DInfo_Work", "3DInfo_Game", "3DInfo_HD"):
            self.assertEqual(sorted(saved[section]), ["Set%d" % i for i in range(1, 7)])
        self.assertEqual(saved["3DInfo_Work"]["Set2"], "1")
        self.assertEqual(saved["SelPage"]["3DInfoPage"], "0")

        # Switching modes keeps an unstored toggle...
        self.click(window, threed_mark(3))
        self.click(window, threed_mode(1))
        self.click(window, threed_mode(0))
        self.click(window, APPLY_BUTTON)
        self.assertAlmostEqual(screen_exponent(), 1.0, delta=0.02)
        self.assertEqual(self.settings()["3DInfo_Work"]["Set3"], "1")
        # ...navigating away drops it.
        self.click(window, threed_mark(4))
        self.click(window, QUALITY_PAGE)
        self.click(window, THREED_PAGE)
        self.click(window, APPLY_BUTTON)
        self.assertEqual(self.settings()["3DInfo_Work"]["Set4"], "0")
        self.assertAlmostEqual(screen_exponent(), 1.0, delta=0.02)

    def test_hardware_reset_restores_colour_and_ramp_and_writes_no_settings(self):
        program, window = self.start()
        self.game_mode_gamma_step(window)
        # The card overclocked with a manual fan, as if a user had applied it.
        state_path = e2e.prefix_path(SIM_STATE)
        state = read_profile(state_path)
        overdrive = state["Overdrive"]
        engine, memory, vddc = (int(v) for v in overdrive["DefaultLevel0"].split(","))
        overdrive["CurrentLevel0"] = "%d,%d,%d" % (engine + 5000, memory + 5000, vddc + 25)
        state["Fan"]["Automatic"] = "0"
        state["Fan"]["Percent"] = "77"
        write_profile(state_path, state)
        with open(self.user_copy, "rb") as f:
            before = f.read()
        self.click(window, HARDWARE_RESET, settle=1.0)
        self.assert_hardware_at_defaults()
        # Through the overclocking page: the card's default levels and the automatic fan.
        state = read_profile(state_path)
        self.assertEqual(state["Overdrive"]["CurrentLevel0"], "%d,%d,%d" % (engine, memory, vddc))
        self.assertEqual(state["Fan"]["Automatic"], "1")
        with open(self.user_copy, "rb") as f:
            self.assertEqual(f.read(), before)


if __name__ == "__main__":
    e2e.main()
