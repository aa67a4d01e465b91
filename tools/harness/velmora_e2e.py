"""End-to-end helpers: drive Velmora.exe under Wine on the session's X display as a user would.

Scripts run inside tools/harness/session.sh (DISPLAY and WINEPREFIX set) with VELMORA_BIN naming
the folder of Velmora.exe and wintool.exe. Every wait is bounded; every failure says what it
waited for. Use `with Session() as s:` (or call cleanup()) so no process outlives a test.
"""

import os
import pwd
import re
import shutil
import subprocess
import tempfile
import time
import unittest

BIN = os.environ.get("VELMORA_BIN", "")
MAIN_CLASS = "TALVANE_DLG"
WM_USER = 0x400

_programs = []


class HarnessError(AssertionError):
    """A wait that ran out or a helper that failed: fails the test with a clear message."""


def _env():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    return env


def bin_path(name):
    return os.path.join(BIN, name)


def screenshots_dir():
    path = os.environ.get("VELMORA_SCREENSHOTS") or os.path.join(BIN, "..", "..", "screenshots")
    path = os.path.abspath(path)
    os.makedirs(path, exist_ok=True)
    return path


def wine(args, timeout=60, check=True):
    """Runs a Windows program to completion and returns its CompletedProcess (text output)."""
    # Output goes through files, not pipes: Wine's helper processes may inherit the handles
    # and would keep a pipe open long after the program itself has ended.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(["wine"] + list(args), env=_env(), stdout=out, stderr=err,
                              stdin=subprocess.DEVNULL, timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, code, out.read().decode("utf-8", "replace"),
                                             err.read().decode("utf-8", "replace"))
    if check and result.returncode != 0:
        raise HarnessError("wine %s failed (%d): %s" % (" ".join(args), result.returncode,
                                                         result.stderr.strip()[-500:]))
    return result


def _wintool(args, timeout_s):
    return wine([bin_path("wintool.exe")] + [str(a) for a in args], timeout=timeout_s + 30,
                check=False)


class Window:
    """Facts of one top-level window as wintool reported them."""

    def __init__(self, line):
        fields = dict(part.split("=", 1) for part in line.split() if "=" in part)
        self.hwnd = int(fields["hwnd"], 16)
        self.x = int(fields["x"])
        self.y = int(fields["y"])
        self.width = int(fields["width"])
        self.height = int(fields["height"])
        self.visible = fields["visible"] == "1"
        self.iconic = fields["iconic"] == "1"
        self.client_x = int(fields["client_x"])
        self.client_y = int(fields["client_y"])
        self.exstyle = int(fields["exstyle"], 16)
        self.pid = int(fields["pid"])
        self.title = bytes.fromhex(fields.get("title", "")).decode("utf-8", "replace")

    def refresh(self):
        return window_info(self.hwnd)

    def __repr__(self):
        return "Window(0x%x %dx%d at %d,%d visible=%s)" % (self.hwnd, self.width, self.height,
                                                          self.x, self.y, self.visible)


def _parse_window(result):
    if result.returncode != 0:
        return None
    lines = [l for l in result.stdout.splitlines() if l.startswith("hwnd=")]
    return Window(lines[-1]) if lines else None


def find_window(cls=MAIN_CLASS):
    return _parse_window(_wintool(["find-window", cls], 5))


def wait_window(cls=MAIN_CLASS, timeout=30, visible=False):
    args = ["wait-window", cls, int(timeout * 1000)] + (["visible"] if visible else [])
    window = _parse_window(_wintool(args, timeout))
    if window is None:
        raise HarnessError("no %swindow of class %s within %ss" %
                           ("visible " if visible else "", cls, timeout))
    return window


def wait_no_window(cls=MAIN_CLASS, timeout=30):
    if _wintool(["wait-no-window", cls, int(timeout * 1000)], timeout).returncode != 0:
        raise HarnessError("a window of class %s still exists after %ss" % (cls, timeout))


def window_info(hwnd):
    return _parse_window(_wintool(["window-info", hex(hwnd)], 5))


def children(hwnd):
    """The direct child windows: dicts with hwnd, id, cls, visible, x, y, width, height."""
    result = _wintool(["children", hex(hwnd)], 5)
    found = []
    for line in result.stdout.splitlines():
        if not line.startswith("child="):
            continue
        fields = dict(part.split("=", 1) for part in line.split())
        found.append({"hwnd": int(fields["child"], 16), "id": int(fields["id"]),
                      "cls": bytes.fromhex(fields["class"]).decode("utf-8", "replace"),
                      "visible": fields["visible"] == "1", "x": int(fields["x"]),
                      "y": int(fields["y"]), "width": int(fields["width"]),
                      "height": int(fields["height"])})
    return found


def display_mode():
    """The primary display's current mode as Windows programs see it: dict of width, height,
    bits and hertz."""
    result = _wintool(["display-mode"], 10)
    fields = dict(part.split("=", 1) for part in result.stdout.split())
    return {key: int(value) for key, value in fields.items()}


def set_display_mode(width, height):
    if _wintool(["set-display-mode", width, height], 20).returncode != 0:
        raise HarnessError("could not set the display to %dx%d" % (width, height))


def post(hwnd, msg, wparam=0, lparam=0):
    if _wintool(["post", hex(hwnd), msg, wparam, lparam], 5).returncode != 0:
        raise HarnessError("PostMessage(0x%x, %d) failed" % (hwnd, msg))


def send(hwnd, msg, wparam=0, lparam=0):
    result = _wintool(["send", hex(hwnd), msg, wparam, lparam], 15)
    match = re.search(r"result=(-?\d+)", result.stdout)
    if result.returncode != 0 or not match:
        raise HarnessError("SendMessage(0x%x, %d) failed" % (hwnd, msg))
    return int(match.group(1))


def find_message_box(text, timeout=10):
    """The message box (#32770) whose text contains `text`, or None after `timeout` seconds."""
    return _parse_window(_wintool(["find-message-box", text.encode("utf-8").hex(),
                                   int(timeout * 1000)], timeout))


def press_button(hwnd, control_id):
    if _wintool(["press-button", hex(hwnd), control_id], 5).returncode != 0:
        raise HarnessError("could not press button %d of 0x%x" % (control_id, hwnd))


def _xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=20, env=_env())


def move(window, x, y):
    """Moves the pointer to client coordinates (x, y) of the window."""
    target = (window.client_x + x, window.client_y + y)
    # xdotool's --sync waits for a motion: with the pointer already there it waits out its own
    # 15-second timeout.
    where = subprocess.run(["xdotool", "getmouselocation", "--shell"], capture_output=True,
                           text=True, timeout=20, env=_env()).stdout
    fields = dict(line.split("=", 1) for line in where.split() if "=" in line)
    if (fields.get("X"), fields.get("Y")) != tuple(str(v) for v in target):
        _xdotool("mousemove", "--sync", *target)


def click(window, x, y, button=1, double=False):
    """A real click at client coordinates (x, y) of the window."""
    move(window, x, y)
    time.sleep(0.05)
    _xdotool("click", "--repeat", 2 if double else 1, button)
    time.sleep(0.2)


def drag(window, x1, y1, x2, y2):
    move(window, x1, y1)
    _xdotool("mousedown", 1)
    time.sleep(0.1)
    steps = 8
    for i in range(1, steps + 1):
        _xdotool("mousemove", window.client_x + x1 + (x2 - x1) * i // steps,
                 window.client_y + y1 + (y2 - y1) * i // steps)
        time.sleep(0.03)
    _xdotool("mouseup", 1)
    time.sleep(0.3)


def key(keysym):
    """Presses a key (an X keysym such as Return, Escape, ctrl+alt+F5) on the focused window."""
    _xdotool("key", keysym)
    time.sleep(0.2)


TRAY_TITLE = "Wine System Tray"


def tray_windows():
    """X window ids of Wine's system tray window while it is shown (it shows the tray icons)."""
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % TRAY_TITLE],
                            capture_output=True, text=True, timeout=20, env=_env())
    return result.stdout.split()


def park_tray():
    """Moves Wine's tray window to the bottom-right corner of the screen, clear of the windows
    the tests look at (they open at the top left)."""
    for window in tray_windows():
        screen = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True,
                                timeout=20, env=_env()).stdout.split()
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                                  capture_output=True, text=True, timeout=20, env=_env()).stdout
        size = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
        if len(screen) == 2 and "WIDTH" in size and "HEIGHT" in size:
            x = int(screen[0]) - int(size["WIDTH"])
            y = int(screen[1]) - int(size["HEIGHT"])
            subprocess.run(["xdotool", "windowmove", window, str(x), str(y)],
                           capture_output=True, timeout=20, env=_env())
            time.sleep(0.2)


class MapWatch:
    """Watches the X server for windows being mapped, for as long as the `with` block runs:
    xev on the root window's substructure sees every top-level window of every program. After
    the block, `mapped` lists the (width, height) each mapped window had when it was mapped."""

    _CREATE_OR_CONFIGURE = re.compile(r"window (0x[0-9a-f]+), \(-?\d+,-?\d+\), width (\d+), "
                                      r"height (\d+)")
    _MAP = re.compile(r"event 0x[0-9a-f]+, window (0x[0-9a-f]+), override")

    def __enter__(self):
        self.process = subprocess.Popen(["xev", "-root", "-event", "substructure"],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True, env=_env())
        time.sleep(1.0)  # xev has selected the root window's events by then
        self.mapped = []
        return self

    def __exit__(self, *exc):
        time.sleep(0.5)  # the last events reach xev
        self.process.terminate()
        output, _ = self.process.communicate(timeout=10)
        sizes = {}
        kind = None
        for line in output.splitlines():
            if line and not line[0].isspace():
                kind = line.split(" ", 1)[0]
                continue
            if kind in ("CreateNotify", "ConfigureNotify"):
                match = self._CREATE_OR_CONFIGURE.search(line)
                if match:
                    sizes[match.group(1)] = (int(match.group(2)), int(match.group(3)))
            elif kind == "MapNotify":
                match = self._MAP.search(line)
                if match:
                    self.mapped.append(sizes.get(match.group(1), (0, 0)))
        return False


def grab(window=None):
    """A PIL image of the screen, cropped to the window when one is given. Wine's tray window
    is moved out of the way first."""
    from PIL import Image  # Debian's python3-pil
    import io
    park_tray()
    args = ["import", "-window", "root"]
    if window is not None:
        args += ["-crop", "%dx%d+%d+%d" % (window.width, window.height, window.x, window.y),
                 "+repage"]
    data = subprocess.run(args + ["png:-"], check=True, capture_output=True, timeout=30,
                          env=_env()).stdout
    return Image.open(io.BytesIO(data)).convert("RGB")


def screenshot(window, name):
    """Saves a screenshot (cropped to the window) under build/screenshots and returns its path."""
    path = os.path.join(screenshots_dir(), name if name.endswith(".png") else name + ".png")
    grab(window).save(path)
    return path


def prefix_path(windows_path):
    """The Unix path of a path inside the Wine prefix (C:\\... or Z:\\...), as the 32-bit
    program sees it: its C:\\windows\\system32 is the prefix's syswow64 (in a 64-bit prefix)."""
    drive, rest = windows_path[0].lower(), windows_path[2:].replace("\\", "/").lstrip("/")
    if drive == "z":
        return "/" + rest
    root = os.path.join(os.environ["WINEPREFIX"], "drive_%s" % drive)
    parts = rest.split("/")
    if (drive == "c" and len(parts) >= 2 and [p.lower() for p in parts[:2]] == ["windows", "system32"]
            and os.path.isdir(os.path.join(root, "windows", "syswow64"))):
        parts[1] = "syswow64"
    return os.path.join(root, *parts)


SIM_STATE = r"C:\velmora-sim\state.ini"
SIM_LOG = r"C:\velmora-sim\calls.log"


def reset_sim(extra=None):
    """The simulated card afresh from the Default scenario, with extra {section: {key: value}}
    written before the program starts (the call log is emptied too)."""
    for path in (SIM_STATE, SIM_LOG):
        if os.path.exists(prefix_path(path)):
            os.remove(prefix_path(path))
    sections = {"Sim": {"Scenario": "Default"}}
    for section, keys in (extra or {}).items():
        sections.setdefault(section, {}).update(keys)
    text = "".join("[%s]\r\n" % name + "".join("%s=%s\r\n" % kv for kv in keys.items())
                   for name, keys in sections.items())
    path = prefix_path(SIM_STATE)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def documents_dir():
    user = pwd.getpwuid(os.getuid()).pw_name
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", user, "Documents")


def _value_args(value):
    """reg.exe's arguments for a named value, or for the key's default value ("")."""
    return ["/ve"] if value == "" else ["/v", value]


# Every registry helper works in the 32-bit view, the one the 32-bit program reads and writes
# (HKLM\\Software is redirected there; the rest is shared).
REG_VIEW = ["/reg:32"]


def reg_query(key, value):
    """The data of a registry value as text ("" names the default value), or None."""
    result = wine(["reg", "query", key] + _value_args(value) + REG_VIEW, check=False)
    if result.returncode != 0:
        return None
    name = "(default)" if value == "" else value.lower()
    for line in result.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0].lower() == name and parts[1].startswith("REG_"):
            return parts[2] if len(parts) == 3 else ""
    return None


def reg_set(key, value, kind, data):
    wine(["reg", "add", key] + _value_args(value) + ["/t", kind, "/d", str(data), "/f"]
         + REG_VIEW)


def reg_delete(key, value=None):
    args = (["reg", "delete", key] + (_value_args(value) if value is not None else []) + ["/f"]
            + REG_VIEW)
    wine(args, check=False)


class Program:
    """One Windows process started under Wine."""

    def __init__(self, process):
        self.process = process

    @classmethod
    def start(cls, args=(), cwd=None, exe=None):
        exe = exe or bin_path("Velmora.exe")
        process = subprocess.Popen(["wine", exe] + list(args), cwd=cwd or os.path.dirname(exe),
                                   env=_env(), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        program = cls(process)
        _programs.append(program)
        return program

    def alive(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=30):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError("process %d still running after %ss" % (self.process.pid, timeout))

    def kill(self):
        if self.alive():
            self.process.kill()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass


def cleanup():
    """Ends every process this script started and waits until the main window is gone."""
    while _programs:
        _programs.pop().kill()
    if find_window(MAIN_CLASS) is not None:
        try:
            wait_no_window(MAIN_CLASS, 10)
        except HarnessError:
            pass


class Session:
    """`with Session() as s:` ends every started process at the end of the block."""

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        cleanup()
        return False

    start = staticmethod(Program.start)


class TestCase(unittest.TestCase):
    """A test case whose processes always end with the test."""

    def tearDown(self):
        cleanup()


class UserCopyCase(TestCase):
    """A test that may change the per-user settings copy ("TVRunConfig.dat" in the documents
    folder): the copy is put back as it was (or removed, when there was none) at its end."""

    USER_COPY = "TVRunConfig.dat"

    def setUp(self):
        self.user_copy = os.path.join(documents_dir(), self.USER_COPY)
        self.saved = None
        if os.path.exists(self.user_copy):
            with open(self.user_copy, "rb") as f:
                self.saved = f.read()

    def tearDown(self):
        super().tearDown()
        if self.saved is None:
            if os.path.exists(self.user_copy):
                os.remove(self.user_copy)
        else:
            with open(self.user_copy, "wb") as f:
                f.write(self.saved)

    def write_user_copy(self, text):
        """Writes the copy from text with "\n" line ends, as Windows keeps it (CR LF, ASCII)."""
        with open(self.user_copy, "wb") as f:
            f.write(text.replace("\n", "\r\n").encode("ascii"))


def main():
    unittest.main(verbosity=2)


def copy_into_prefix(source, windows_path):
    target = prefix_path(windows_path)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copyfile(source, target)
    return target
