"""The real program on cards of every Overdrive generation the display library serves (5, 6, N
and 8), acted on as a user does: the overclocking page read off the screen, real clicks on plus,
Apply and Default, a hotkey while the window is hidden, the apply-and-exit start, a write the
driver refuses, the gauge and the hardware page; what reached the card is read back from the
simulated card's state. Values saved on another backend, a card whose Overdrive is switched off
in the driver, and a machine with the display library alone are covered too."""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
for folder in (("tools", "harness"), ("tests", "mainwindow"), ("tests", "hwinfo"),
               ("tests", "display"), ("tests", "shortcuts")):
    sys.path.insert(0, os.path.join(ROOT, *folder))
import velmora_e2e as e2e  # noqa: E402
import screen  # noqa: E402
import slider_screen  # noqa: E402
from test_display_quality import QUALITY_PAGE, quality_mode  # noqa: E402
from test_hardware_page import ROW_HEIGHT, ROW_TOPS, TEXT_LEFT  # noqa: E402
from test_main_window import MIN_BUTTON, NAVIGATION  # noqa: E402
from test_overclock_page import (APPLIED, APPLY_BUTTON, CLOSE_BUTTON, DEFAULT_BUTTON,  # noqa: E402
                                 DLL_MESSAGE, OVERCLOCK_ARM, SIM_LOG, SIM_STATE, parse_ini,
                                 plus_button, reset_sim, settings_text, sim_calls, sim_state)
from test_tray_hotkeys import GAUGE, wait_tray, xdotool  # noqa: E402

IDOK = 1
SW_SHOW = 5
PAGE = slider_screen.PAGE
# Ctrl+Alt+K on the core clock's ten steps up, as the shortcut page stores it.
CORE_UP_TEN = "GPU1Add1=%d" % (0x00111200 | ord("K"))
# One reading every card gives the gauge and the hardware page: 62 degrees, 947 / 1250 MHz.
TEMPERATURE = "62000"
RUNNING_MHZ = (947, 1250)
# Values saved on the ATIDL path (a file without the "Overdrive" key).
ATIDL_CLOCKS = ["GPUFrequency=1100", "GPUVoltage=1100", "Mem=1000", "Fan=55", "SelFan=0"]
# The quality page's game preset (settings_text writes no quality presets of its own).
GAME_PRESET = ["[Quality_Game]", "Camma=12", "Light=110", "Contrast=110"]
# The page's free area below the automatic-fan button, where the unavailable line is drawn.
FREE_AREA = (0, 154, 268, 22)
HARDWARE_ROWS = [4, 5]  # the core and memory clock rows


def ints(text):
    return [int(v) for v in text.split(",")]


def mhz(ten_khz):
    return ten_khz // 100


class Generation:
    """One Overdrive generation of the simulated card: its scenario, the "Clock_Set" code it
    saves, where the card keeps its top level and ranges, and the write a refusal stops."""

    name = code = refused = None
    # A core clock within the card's range, above its default, for the apply-and-exit start.
    exit_core = None
    has_voltage = has_fan_percent = False

    def top(self, state):
        """(engine MHz, memory MHz, voltage mV or None) of the level the page edits."""
        raise NotImplementedError

    def ranges(self, state):
        """{"core": (min, max), "memory": ..., "voltage": ...} in MHz and mV."""
        raise NotImplementedError


class Od5(Generation):
    name, code, refused = "Od5", 5, "ADL2_Overdrive5_ODPerformanceLevels_Set"
    exit_core = 725
    has_voltage = has_fan_percent = True

    def running_keys(self):
        return {"Overdrive": {"EngineClock": str(RUNNING_MHZ[0] * 100),
                              "MemoryClock": str(RUNNING_MHZ[1] * 100)}}

    def top(self, state):
        od = state["Overdrive"]
        engine, memory, vddc = ints(od["CurrentLevel%d" % (int(od["Levels"]) - 1)])
        return mhz(engine), mhz(memory), vddc

    def ranges(self, state):
        od = state["Overdrive"]
        return {"core": tuple(mhz(v) for v in ints(od["EngineRange"])[:2]),
                "memory": tuple(mhz(v) for v in ints(od["MemoryRange"])[:2]),
                "voltage": tuple(ints(od["VddcRange"])[:2])}


class Od6(Generation):
    name, code, refused = "Od6", 6, "ADL2_Overdrive6_State_Set"
    exit_core = 972
    has_fan_percent = True

    def running_keys(self):
        return {"Od6": {"EngineClock": str(RUNNING_MHZ[0] * 100),
                        "MemoryClock": str(RUNNING_MHZ[1] * 100)}}

    def top(self, state):
        engine, memory = ints(state["Od6"]["CustomMax"])
        return mhz(engine), mhz(memory), None

    def ranges(self, state):
        od6 = state["Od6"]
        return {"core": tuple(mhz(v) for v in ints(od6["EngineRange"])[:2]),
                "memory": tuple(mhz(v) for v in ints(od6["MemoryRange"])[:2])}


class OdN(Generation):
    # The memory write comes after the engine write: its refusal must put the engine levels back.
    name, code, refused = "OdN", 7, "ADL2_OverdriveN_MemoryClocksX2_Set"
    exit_core = 1365
    has_voltage = True

    def running_keys(self):
        return {"OdN": {"CoreClock": str(RUNNING_MHZ[0] * 100),
                        "MemoryClock": str(RUNNING_MHZ[1] * 100)}}

    @staticmethod
    def highest_enabled(odn, kind):
        for i in reversed(range(int(odn[kind + "Levels"]))):
            level = ints(odn.get("%sCurrent%d" % (kind, i)) or odn["%sDefault%d" % (kind, i)])
            if level[2]:
                return level
        raise AssertionError("no enabled %s level" % kind)

    def top(self, state):
        engine = self.highest_enabled(state["OdN"], "Engine")
        memory = self.highest_enabled(state["OdN"], "Memory")
        return mhz(engine[0]), mhz(memory[0]), engine[1]

    def ranges(self, state):
        odn = state["OdN"]
        return {"core": tuple(mhz(v) for v in ints(odn["EngineRange"])[:2]),
                "memory": tuple(mhz(v) for v in ints(odn["MemoryRange"])[:2]),
                "voltage": tuple(ints(odn["VddcRange"])[:2])}


class Od8(Generation):
    name, code, refused = "Od8", 8, "ADL2_Overdrive8_Setting_Set"
    exit_core = 2005
    GFX, MEMORY = 0, 8

    def running_keys(self):
        return {"Od8": {"GfxClock": str(RUNNING_MHZ[0]), "MemClock": str(RUNNING_MHZ[1])}}

    def setting(self, od8, setting_id):
        current = od8.get("Current%d" % setting_id)
        return int(current) if current else ints(od8["Init%d" % setting_id])[2]

    def top(self, state):
        od8 = state["Od8"]
        return self.setting(od8, self.GFX), self.setting(od8, self.MEMORY), None

    def ranges(self, state):
        od8 = state["Od8"]
        return {"core": tuple(ints(od8["Init%d" % self.GFX])[:2]),
                "memory": tuple(ints(od8["Init%d" % self.MEMORY])[:2])}


GENERATIONS = [Od5(), Od6(), OdN(), Od8()]


def card_for(generation, extra=None):
    """The generation's card with the common reading, and `extra` keys, written afresh."""
    keys = {"Sim": {"Scenario": generation.name}, "Thermal": {"Fixed": TEMPERATURE}}
    for section, values in list(generation.running_keys().items()) + list((extra or {}).items()):
        keys.setdefault(section, {}).update(values)
    reset_sim(keys)


def edit_sim_state(section, key, value, timeout=10):
    """Changes one key of the simulated card while the program runs. The program reads and
    writes the state on every driver call (its timers call every second), so the file is
    replaced at once and the change checked to have outlived the program's next call."""
    path = e2e.prefix_path(SIM_STATE)
    deadline = time.time() + timeout
    while True:
        with open(path) as f:
            lines = f.read().splitlines()
        inside, done, out = False, False, []
        for line in lines:
            if line.startswith("["):
                if inside and not done:
                    out.append("%s=%s" % (key, value))
                    done = True
                inside = line.strip() == "[%s]" % section
            if inside and line.split("=", 1)[0] == key:
                line, done = "%s=%s" % (key, value), True
            out.append(line)
        if not done:
            out += ([] if inside else ["[%s]" % section]) + ["%s=%s" % (key, value)]
        with open(path + ".new", "w", newline="\r\n") as f:
            f.write("\n".join(out) + "\n")
        os.replace(path + ".new", path)
        time.sleep(1.3)
        if sim_state().get(section, {}).get(key) == value:
            return
        if time.time() > deadline:
            raise e2e.HarnessError("the card's %s %s never took %s" % (section, key, value))


def readout(window):
    """The gauge and the hardware page's clock rows as shown: the parts that must be the same
    for the same reading."""
    image = e2e.grab(window)
    rows = [screen.crop(image, PAGE[0] + TEXT_LEFT, PAGE[1] + ROW_TOPS[r], 200, ROW_HEIGHT)
            for r in HARDWARE_ROWS]
    return screen.crop(image, *GAUGE), rows


def same_picture(a, b):
    return screen.changed_pixels(a, b, threshold=24) == 0


def free_area_ink(image):
    """Pixels of the page's free area that differ from the page's own background."""
    x, y, width, height = FREE_AREA
    return screen.changed_pixels(screen.crop(image, PAGE[0] + x, PAGE[1] + y, width, height),
                                 screen.crop(screen.skin_image("SUBBK3"), x, y, width, height))


class OverdriveGenerations(e2e.UserCopyCase):
    # The gauge and the clock rows of the ATIDL path for the common reading, taken once.
    reference = None

    def tearDown(self):
        super().tearDown()
        reset_sim()
        # The quality page and the 3D presets of apply-and-exit set the screen's ramp.
        e2e.wine([e2e.bin_path("pagedriver.exe"), SIM_LOG, "linear-gamma"], check=False)

    # -- helpers -------------------------------------------------------------------------------

    def clock_settings(self):
        with open(self.user_copy, "rb") as f:
            return parse_ini(f.read().decode("ascii")).get("Clock_Set", {})

    def start(self, args=()):
        program = e2e.Program.start(list(args))
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(0.8)  # the first frame, and the tray icon that comes with it
        return program, window

    def close(self, program, window):
        e2e.click(window, *CLOSE_BUTTON)
        self.assertEqual(program.wait_exit(60), 0)

    def picture(self, window):
        """The window with the pointer away from every slider (a hot plus button looks
        different)."""
        e2e.move(window, 300, 20)
        time.sleep(0.3)
        return e2e.grab(window)

    def dismiss_success(self, timeout=15):
        box = e2e.find_message_box(APPLIED, timeout=timeout)
        self.assertIsNotNone(box, "no success message")
        e2e.press_button(box.hwnd, IDOK)
        deadline = time.time() + 5
        while time.time() < deadline:
            shown = e2e.window_info(box.hwnd)
            if shown is None or not shown.visible:
                return
            time.sleep(0.2)

    def press_hidden(self, keys):
        """The keys pressed while a window of the prefix (Wine's tray) has the focus."""
        tray = wait_tray(timeout=20)
        self.assertIsNotNone(tray, "no tray window to give the focus to")
        xdotool("windowfocus", tray)
        time.sleep(0.3)
        xdotool("key", "--clearmodifiers", keys)
        time.sleep(1.5)

    def wait_readout(self, window, wanted, timeout=8):
        """Waits until the gauge and the rows show `wanted` (a readout) and returns True, or
        returns False after the timeout."""
        deadline = time.time() + timeout
        while True:
            gauge, rows = readout(window)
            if same_picture(gauge, wanted[0]) and all(
                    same_picture(a, b) for a, b in zip(rows, wanted[1])):
                return True
            if time.time() > deadline:
                return False
            time.sleep(0.4)

    def assert_game_colours_reach_the_card(self, window):
        """The quality page's game preset applied: its brightness and contrast reach the card
        through the display library."""
        for point in (QUALITY_PAGE, quality_mode(2), APPLY_BUTTON):
            e2e.click(window, *point)
            time.sleep(0.4)
        display = sim_state()["Adapter0.Display0"]
        self.assertEqual((ints(display["Brightness"])[0], ints(display["Contrast"])[0]), (10, 110))

    def gauge_changes(self, window, before, timeout=5):
        deadline = time.time() + timeout
        while same_picture(readout(window)[0], before):
            if time.time() > deadline:
                return False
            time.sleep(0.4)
        return True

    def reference_readout(self):
        """The ATIDL path's gauge and hardware rows for the common reading."""
        if OverdriveGenerations.reference is None:
            reset_sim({"Thermal": {"Fixed": TEMPERATURE},
                       "Overdrive": {"EngineClock": str(RUNNING_MHZ[0] * 100),
                                     "MemoryClock": str(RUNNING_MHZ[1] * 100)}})
            with e2e.Session():
                _, window = self.start()
                e2e.click(window, *NAVIGATION["hardware"])
                time.sleep(3.5)  # the collector's rows, two clock ticks and a temperature tick
                first = readout(window)
                time.sleep(1.2)
                again = readout(window)
            self.assertTrue(same_picture(first[0], again[0]), "the reference gauge kept changing")
            background = screen.skin_image("SUBBKHARDWARE")
            for row, picture in zip(HARDWARE_ROWS, again[1]):
                self.assertGreater(screen.changed_pixels(picture, screen.crop(
                    background, TEXT_LEFT, ROW_TOPS[row], 200, ROW_HEIGHT)), 20,
                    "the reference's hardware row %d shows no clock" % (row + 1))
            OverdriveGenerations.reference = again
        return OverdriveGenerations.reference

    def read_page(self, window, generation, state):
        """Reads the four sliders off the screen and checks them against the card."""
        image = self.picture(window)
        engine, memory, vddc = generation.top(state)
        ranges = generation.ranges(state)
        shown = {name: slider_screen.read(image, window, name)
                 for name in ("core", "voltage", "memory", "fan")}
        for name, value in (("core", engine), ("memory", memory), ("voltage", vddc)):
            if name not in ranges:
                self.assertEqual(shown[name], (None, 0, False), "%s is editable" % name)
                continue
            low, high = ranges[name]
            self.assertEqual(shown[name], (value, slider_screen.expected_position(value, low, high),
                                           True), "%s slider against the card" % name)
        # Manual fan: a percent slider only where the generation sets a percent.
        self.assertEqual(shown["fan"][2], generation.has_fan_percent, "fan slider")
        return shown

    # -- the generations -----------------------------------------------------------------------

    def run_generation(self, generation):
        reference = self.reference_readout()
        self.write_user_copy(settings_text(ATIDL_CLOCKS + GAME_PRESET + ["[HotKey]", CORE_UP_TEN]))
        card_for(generation)
        program, window = self.start()
        self.assertIsNone(e2e.find_message_box(DLL_MESSAGE, timeout=0.5),
                          "the driver message on a card the display library serves")

        # The gauge and the hardware page show the backend's reading as the ATIDL path does.
        e2e.click(window, *NAVIGATION["hardware"])
        self.assertTrue(self.wait_readout(window, reference),
                        "the gauge or the hardware rows differ from the ATIDL path's")
        e2e.screenshot(window, "overdrive_%s_hardware" % generation.name)
        defaults = generation.top(sim_state())

        # Hidden: ten steps of the core-clock hotkey reach the card from what it runs, not from
        # the values saved on the ATIDL path, and the settings now belong to this backend.
        e2e.click(window, MIN_BUTTON[0] + 11, MIN_BUTTON[1] + 9)
        time.sleep(0.5)
        self.assertFalse(window.refresh().visible)
        self.press_hidden("ctrl+alt+k")
        state = sim_state()
        self.assertEqual(generation.top(state)[:2], (defaults[0] + 10, defaults[1]))
        clocks = self.clock_settings()
        self.assertEqual((clocks["GPUFrequency"], clocks["Mem"], clocks["Overdrive"]),
                         (str(defaults[0] + 10), str(defaults[1]), str(generation.code)))
        # A voltage the generation has no slider for stays as it was saved.
        self.assertEqual(clocks["GPUVoltage"],
                         str(defaults[2]) if generation.has_voltage else "1100")

        # The page shows the card's ranges and clocks; plus and Apply raise the top level.
        e2e.wine([e2e.bin_path("showwindow.exe"), "%x" % window.hwnd, str(SW_SHOW)])
        time.sleep(0.5)
        e2e.click(window, *OVERCLOCK_ARM)
        time.sleep(0.6)
        self.read_page(window, generation, state)
        e2e.screenshot(window, "overdrive_%s_page" % generation.name)
        self.assertEqual(free_area_ink(self.picture(window)), 0, "a line in the free area")
        gauge_before = readout(window)[0]
        e2e.click(window, *plus_button("core"))
        e2e.click(window, *APPLY_BUTTON)
        self.dismiss_success()
        state = sim_state()
        self.assertEqual(generation.top(state)[:2], (defaults[0] + 11, defaults[1]))
        clocks = self.clock_settings()
        self.assertEqual((clocks["GPUFrequency"], clocks["Overdrive"]),
                         (str(defaults[0] + 11), str(generation.code)))
        if generation.has_fan_percent:
            self.assertEqual((state["Fan"]["Automatic"], state["Fan"]["Percent"]),
                             ("0", clocks["Fan"]))
        else:
            fan_writes = [c for c in sim_calls() if "FanControl_Set" in c or "FanSpeed_Set" in c]
            self.assertEqual(fan_writes, [], "a fan write without a percent control")
        # The new clock runs: the gauge shows it at the next ticks.
        self.assertTrue(self.gauge_changes(window, gauge_before),
                        "the gauge did not follow the card's new clock")

        # Default puts the card and the slider back.
        e2e.click(window, *DEFAULT_BUTTON)
        time.sleep(0.5)
        state = sim_state()
        self.assertEqual(generation.top(state), defaults)
        self.assertEqual(slider_screen.value(self.picture(window), window, "core"), defaults[0])

        # A write the driver refuses: no success message, the card as it was.
        edit_sim_state("Sim", "Refuse", generation.refused)
        before = generation.top(sim_state())
        e2e.click(window, *plus_button("core"))
        e2e.click(window, *APPLY_BUTTON)
        self.assertIsNone(e2e.find_message_box(APPLIED, timeout=2),
                          "a refused write showed the success message")
        self.assertEqual(generation.top(sim_state()), before)
        refused = [c for c in sim_calls() if c.startswith(generation.refused)]
        self.assertTrue(refused and refused[-1].endswith("= -1"), "the refused write was not made")
        return program, window

    def test_overdrive5_through_the_display_library_alone(self):
        program, window = self.run_generation(Od5())
        self.assertIn("refuse load atipdlxx", sim_calls())
        # Brightness and contrast still reach the card through the display library.
        self.assert_game_colours_reach_the_card(window)
        self.close(program, window)

    def test_overdrive6(self):
        self.close(*self.run_generation(Od6()))

    def test_overdrive_n(self):
        self.close(*self.run_generation(OdN()))

    def test_overdrive8(self):
        self.close(*self.run_generation(Od8()))

    def test_apply_and_exit_applies_the_clocks_saved_on_each_generation(self):
        for generation in GENERATIONS:
            with self.subTest(generation.name):
                self.apply_and_exit(generation)

    def apply_and_exit(self, generation):
        card_for(generation)
        # The core clock within its range, the memory clock far above it (the slider clamps it
        # to the card's maximum), a voltage where the generation has one.
        self.write_user_copy(settings_text([
            "GPUFrequency=%d" % generation.exit_core, "GPUVoltage=1100", "Mem=99999", "Fan=60",
            "SelFan=0", "Overdrive=%d" % generation.code]))
        program = e2e.Program.start(["/Apply_Exit"])
        self.dismiss_success(timeout=60)
        self.assertEqual(program.wait_exit(60), 0)
        state = sim_state()
        memory_max = generation.ranges(state)["memory"][1]
        engine, memory, vddc = generation.top(state)
        self.assertEqual((engine, memory), (generation.exit_core, memory_max))
        if generation.has_voltage:
            self.assertEqual(vddc, 1100)
        if generation.has_fan_percent:
            self.assertEqual((state["Fan"]["Automatic"], state["Fan"]["Percent"]), ("0", "60"))
        clocks = self.clock_settings()
        self.assertEqual((clocks["Mem"], clocks["Overdrive"]),
                         (str(memory_max), str(generation.code)))

    def test_values_saved_on_the_atidl_path_are_not_applied_to_an_overdrive6_card(self):
        card_for(Od6())
        self.write_user_copy(settings_text(ATIDL_CLOCKS))
        before_file = self.clock_settings()
        program = e2e.Program.start(["/Apply_Exit"])
        self.assertIsNone(e2e.find_message_box(APPLIED, timeout=3))
        self.assertEqual(program.wait_exit(60), 0)
        writes = [c for c in sim_calls() if c.startswith(("ADL2_Overdrive6_State_Set",
                                                         "ADL2_Overdrive6_FanSpeed_Set",
                                                         "ATIDL_Set"))]
        self.assertEqual(writes, [])
        state = sim_state()
        self.assertEqual(Od6().top(state), (947, 1250, None))
        self.assertEqual(state["Fan"]["Automatic"], "1")
        after_file = self.clock_settings()
        # A file without the key was saved on the ATIDL path: writing the key as 0 keeps that.
        self.assertEqual(after_file.pop("Overdrive", "0"), "0")
        self.assertEqual(after_file, before_file)

    def test_overdrive_switched_off_in_the_driver_shows_the_line_and_the_other_pages_work(self):
        card_for(OdN(), {"Overdrive": {"Enabled": "0"}})
        self.write_user_copy(settings_text(ATIDL_CLOCKS + GAME_PRESET))
        program, window = self.start()
        self.assertIsNone(e2e.find_message_box(DLL_MESSAGE, timeout=0.5))
        e2e.click(window, *OVERCLOCK_ARM)
        time.sleep(0.6)
        image = self.picture(window)
        e2e.screenshot(window, "overdrive_switched_off")
        self.assertGreater(free_area_ink(image), 40, "no line in the page's free area")
        for name in ("core", "voltage", "memory", "fan"):
            self.assertFalse(slider_screen.enabled(image, window, name), name)
        before = OdN().top(sim_state())
        e2e.click(window, *APPLY_BUTTON)
        self.assertIsNone(e2e.find_message_box(APPLIED, timeout=2))
        self.assertEqual(OdN().top(sim_state()), before)
        # The other pages: brightness and contrast through the display library.
        self.assert_game_colours_reach_the_card(window)
        self.close(program, window)
        self.assertEqual(self.clock_settings().get("Overdrive", "0"), "0")


if __name__ == "__main__":
    e2e.main()
