"""The whole path of a core-clock hotkey: from the key event sent to the X server (XTest) to the
simulated card's state file showing the new engine clock, that is, after X, Wine's hotkey
delivery, the program's handling and the card's own file I/O. Alternates +1 and -1 steps.

    python3 key_to_driver.py [PRESSES]     (inside tools/harness/session.sh; VELMORA_BIN set)
"""

import ctypes
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "harness"))
import velmora_e2e as e2e  # noqa: E402

# The shortcut page's encoding: Ctrl and Alt markers, then the key's code.
CTRL_ALT = 0x00111200
STEPS = (("k", "GPU1Add2"), ("j", "GPU1Sub2"))  # core clock +1 and -1
XK_CONTROL_L = 0xFFE3
XK_ALT_L = 0xFFE9


class XTest:
    """Key events sent straight to the X server, without a process start per press."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise e2e.HarnessError("no X display")

    def code(self, keysym):
        return self.x11.XKeysymToKeycode(self.display, keysym)

    def chord(self, letter):
        """Ctrl+Alt+letter, pressed and released; returns when the events have been sent."""
        codes = [self.code(XK_CONTROL_L), self.code(XK_ALT_L),
                 self.code(self.x11.XStringToKeysym(letter.encode()))]
        for code in codes:
            self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        for code in reversed(codes):
            self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x11.XFlush(self.display)


def engine_clock(state_path):
    try:
        with open(state_path) as f:
            for line in f:
                if line.startswith("EngineClock="):
                    return line.split("=", 1)[1].strip()
    except OSError:
        pass
    return None


def main():
    presses = int(sys.argv[1]) if len(sys.argv) > 1 else 100
    e2e.reset_sim({"Sim": {"Log": "0"}})
    state = e2e.prefix_path(e2e.SIM_STATE)
    settings = os.path.join(e2e.documents_dir(), "TVRunConfig.dat")
    saved = open(settings, "rb").read() if os.path.exists(settings) else None
    try:
        with open(settings, "w", newline="\r\n") as f:
            f.write("[HotKey]\n" + "".join("%s=%d\n" % (key, CTRL_ALT | ord(letter.upper()))
                                           for letter, key in STEPS))
        with e2e.Session():
            e2e.Program.start()
            e2e.wait_window(timeout=60, visible=True)
            time.sleep(3.0)  # the hotkeys are registered right after the first frame
            xid = subprocess.run(["xdotool", "search", "--name", "^Velmora$"], capture_output=True,
                                 text=True, timeout=20, env=e2e._env()).stdout.split()
            for one in xid:
                subprocess.run(["xdotool", "windowfocus", "--sync", one], timeout=20,
                               env=e2e._env(), check=False)
            time.sleep(0.5)
            keys = XTest()
            times, missed = [], 0
            for press in range(presses):
                before = engine_clock(state)
                letter = STEPS[press % 2][0]
                started = time.perf_counter()
                keys.chord(letter)
                while engine_clock(state) == before:
                    if time.perf_counter() - started > 2.0:
                        missed += 1
                        break
                    time.sleep(0.0002)
                else:
                    times.append((time.perf_counter() - started) * 1000)
                time.sleep(0.05)
    finally:
        if saved is None:
            os.remove(settings)
        else:
            with open(settings, "wb") as f:
                f.write(saved)
    if not times:
        print("key event to clock write: no press reached the card (%d missed)" % missed)
        return 1
    times.sort()
    print("key event on the X server to the card's new clock, %d presses: median %.2f ms, "
          "worst %.2f ms (%d missed; includes the simulated card's state file I/O)"
          % (len(times), statistics.median(times), times[-1], missed))
    return 0


if __name__ == "__main__":
    sys.exit(main())
