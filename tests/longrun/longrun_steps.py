"""Long runs of the real program on the simulated adapter, shared by the two scripts (window shown,
window hidden): thousands of hotkey steps and slider clicks on the overclocking page, and the
process's GDI and USER object counts and its memory compared between the end of a warm-up and the
end of the run.

Wine's GetGuiResources answers 0, so `wintool gui-counts` loads tools/guiprobe's probe into the
program and counts there, by probing every index of Wine's GDI and USER handle tables (see
tools/guiprobe/GuiObjectCount.h). Memory is what Linux counts for the Wine process
(/proc/PID/status: RssAnon, the anonymous resident memory where heaps live, and VmRSS); under
Wine 8 GetProcessMemoryInfo reports no private bytes.

The steps are the messages the program gets from the system: WM_HOTKEY for a hotkey, and pointer
move, button down and button up for a click on a slider. `wintool send-repeat` sends them, so
each step is handled before the next.

VELMORA_ROBUSTNESS=full runs 10 000 steps of each kind; the default runs 500."""

import math
import os
import re
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "harness"))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "gpu"))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "mainwindow"))
import velmora_e2e as e2e  # noqa: E402
from test_overclock_page import (OK_BUTTON, OVERCLOCK_ARM, SAVED_CLOCKS, parse_ini,  # noqa: E402
                                 reset_sim, settings_text, sim_state)
from test_tray_hotkeys import UserSettingsCase  # noqa: E402

FULL = os.environ.get("VELMORA_ROBUSTNESS", "quick") == "full"
STEPS = 10000 if FULL else 500
WARMUP_STEPS = 200

WM_HOTKEY = 0x0312
WM_MOUSEMOVE = 0x0200
WM_LBUTTONDOWN = 0x0201
WM_LBUTTONUP = 0x0202
MK_LBUTTON = 0x0001
MOD_CONTROL_ALT = 0x0003

# Every hotkey, each raise followed by the matching lower so the card stays where it was: core
# +10 -10 +1 -1, memory +10 -10 +1 -1, fan +5 -5, then the quality and 3D presets.
HOTKEY_ROUND = [1007, 1009, 1008, 1010, 1011, 1013, 1012, 1014, 1015, 1016,
                1000, 1001, 1002, 1003, 1004, 1005, 1006]
HOTKEY_KEYS = ["Quality_NormalMode", "Quality_WorkMode", "Quality_GameMode", "Quality_PicMode",
               "3D_WorkMode", "3D_HDMode", "3D_GameMode", "GPU1Add1", "GPU1Add2", "GPU1Sub1",
               "GPU1Sub2", "GPU2Add1", "GPU2Add2", "GPU2Sub1", "GPU2Sub2", "GPU3Add1",
               "GPU3Sub1"]
# Ctrl+Alt+letter as the shortcut page stores it: the Ctrl and Alt markers, then the key code.
CTRL_ALT = 0x00111200

# The overclocking page's sliders and where a user clicks them (slider pixels): the plus and
# minus buttons, and two segments of the track.
SLIDER_IDS = {"core": 1008, "voltage": 1009, "fan": 1010, "memory": 1011}
CLICK_POINTS = [(205, 10), (9, 10), (60, 10), (150, 10)]

# What "flat" allows between the end of the warm-up and the end of the run.
OBJECT_TOLERANCE = 2
MEMORY_TOLERANCE_KB = 1024


def lparam(x, y):
    return (y << 16) | x


def hotkey_settings():
    lines = SAVED_CLOCKS + ["[HotKey]"]
    lines += ["%s=%d" % (key, CTRL_ALT | (ord("A") + i)) for i, key in enumerate(HOTKEY_KEYS)]
    return settings_text(lines)


def unix_pid(program):
    """The Linux process id of the started Velmora.exe."""
    exe = os.path.abspath(e2e.bin_path("Velmora.exe"))
    candidates = [str(program.process.pid)] + [p for p in os.listdir("/proc") if p.isdigit()]
    for pid in candidates:
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                if exe.encode() in f.read():
                    return int(pid)
        except OSError:
            continue
    raise e2e.HarnessError("no Linux process runs %s" % exe)


def unix_memory(pid):
    """RssAnon and VmRSS of a Linux process, in KB."""
    fields = {}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            name, _, value = line.partition(":")
            if name in ("RssAnon", "VmRSS"):
                fields[name] = int(value.split()[0])
    return {"anonymous_kb": fields["RssAnon"], "resident_kb": fields["VmRSS"]}


def measure(pid, linux_pid):
    memory = unix_memory(linux_pid)
    result = e2e._wintool(["gui-counts", pid], 60)
    line = result.stdout.strip().splitlines()[-1] if result.stdout.strip() else ""
    fields = dict(part.split("=", 1) for part in line.split() if "=" in part)
    if result.returncode != 0 or "gdi" not in fields:
        raise e2e.HarnessError("gui-counts %d failed: %s %s" % (pid, result.stdout,
                                                                 result.stderr[-300:]))
    figures = {key: int(value) for key, value in fields.items()}
    figures.update(memory)
    return figures


def send_rounds(rounds, messages):
    """Sends `rounds` rounds of (hwnd, msg, wparam, lparam) messages; returns the seconds taken."""
    args = ["send-repeat", rounds]
    for hwnd, msg, wparam, lp in messages:
        args += [hex(hwnd), msg, wparam, lp]
    started = time.time()
    result = e2e._wintool(args, 3600)
    match = re.search(r"handled=(\d+) failed=(\d+)", result.stdout)
    if result.returncode != 0 or not match:
        raise e2e.HarnessError("send-repeat failed: %s %s" % (result.stdout, result.stderr[-300:]))
    return time.time() - started


class LongRunCase(UserSettingsCase):
    """Keeps the per-user settings copy and the simulated card per test (UserSettingsCase)."""

    def setUp(self):
        super().setUp()
        self.figures = []

    def run_phase(self, name, step_messages, steps_per_round):
        """Warm-up, measurement, the long run, measurement; the growth must stay within the
        tolerances. A first count before the warm-up leaves whatever loading the probe once
        leaves in the process out of the growth."""
        measure(self.pid, self.linux_pid)
        send_rounds(math.ceil(WARMUP_STEPS / steps_per_round), step_messages)
        before = measure(self.pid, self.linux_pid)
        rounds = math.ceil(STEPS / steps_per_round)
        seconds = send_rounds(rounds, step_messages)
        after = measure(self.pid, self.linux_pid)
        steps = rounds * steps_per_round
        growth = {key: after[key] - before[key] for key in after}
        print("%s: %d steps in %.1f s (%.1f ms a step)" % (name, steps, seconds,
                                                          1000.0 * seconds / steps))
        print("  after warm-up: %s" % before)
        print("  at the end:    %s" % after)
        print("  growth:        %s" % growth)
        self.figures.append("%s steps=%d gdi=%d->%d user=%d->%d anonymous_memory=%+dKB "
                            "resident=%+dKB" % (name, steps, before["gdi"], after["gdi"],
                                                before["user"], after["user"],
                                                growth["anonymous_kb"], growth["resident_kb"]))
        self.assertTrue(self.program.alive(), "%s: the program ended" % name)
        self.assertLessEqual(abs(growth["gdi"]), OBJECT_TOLERANCE, "%s: GDI objects" % name)
        self.assertLessEqual(abs(growth["user"]), OBJECT_TOLERANCE, "%s: USER objects" % name)
        self.assertLess(growth["anonymous_kb"], MEMORY_TOLERANCE_KB, "%s: memory" % name)

    def start_on_overclock_page(self):
        """Starts the program with every hotkey bound and opens the overclocking page; returns the
        main window, one round of hotkey messages and one round of slider clicks."""
        self.write_user_copy(hotkey_settings())
        reset_sim({"Sim": {"Log": "0"}})
        self.program = e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        self.pid, self.linux_pid = window.pid, unix_pid(self.program)
        time.sleep(0.8)
        e2e.click(window, *OVERCLOCK_ARM)
        time.sleep(0.6)
        pages = [c for c in e2e.children(window.hwnd) if c["cls"] == "#32770" and c["visible"]]
        self.assertEqual(len(pages), 1, "pages on screen: %s" % pages)
        sliders = {c["id"]: c["hwnd"] for c in e2e.children(pages[0]["hwnd"])}
        hotkeys = [(window.hwnd, WM_HOTKEY, hotkey, (ord("A") + hotkey - 1000) << 16
                    | MOD_CONTROL_ALT) for hotkey in HOTKEY_ROUND]
        # A click as the slider receives it: the pointer arrives, the button goes down and up.
        clicks = []
        for slider in ("core", "voltage", "memory", "fan"):
            hwnd = sliders[SLIDER_IDS[slider]]
            for x, y in CLICK_POINTS:
                clicks.append([(hwnd, WM_MOUSEMOVE, 0, lparam(x, y)),
                               (hwnd, WM_LBUTTONDOWN, MK_LBUTTON, lparam(x, y)),
                               (hwnd, WM_LBUTTONUP, 0, lparam(x, y))])
        self.started = sim_state()["Overdrive"]
        return window, hotkeys, clicks

    def run_hotkeys(self, name, window, hotkeys):
        self.run_phase(name, hotkeys, len(HOTKEY_ROUND))
        # The steps still reach the card: one more raise, then the lower.
        e2e.send(window.hwnd, WM_HOTKEY, 1008, hotkeys[2][3])
        raised = int(sim_state()["Overdrive"]["EngineClock"])
        e2e.send(window.hwnd, WM_HOTKEY, 1010, hotkeys[3][3])
        self.assertEqual(raised, int(self.started["EngineClock"]) + 100,
                         "%s: the core hotkey no longer reaches the card" % name)

    def run_sliders(self, name, clicks):
        self.run_phase(name, [message for click in clicks for message in click], len(clicks))

    def finish(self, label):
        # Every raise was matched by a lower: the card and the settings are where they started.
        ended = sim_state()["Overdrive"]
        self.assertEqual(ended["EngineClock"], self.started["EngineClock"])
        self.assertEqual(ended["MemoryClock"], self.started["MemoryClock"])
        with open(self.user_copy, "rb") as f:
            clocks = parse_ini(f.read().decode("ascii"))["Clock_Set"]
        self.assertEqual(int(clocks["GPUFrequency"]) * 100, int(ended["EngineClock"]))
        print("FIGURES: long runs, %s (%s): %s" % (label, "full" if FULL else "quick",
                                                  "; ".join(self.figures)))
