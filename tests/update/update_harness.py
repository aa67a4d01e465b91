"""Shared by the tests of the update library, the update step of start-up and the packages:
the library driven as the program drives it (versync_host.exe) against a loopback update server
that each test starts and stops, and the real program started with the recording stand-in as
its update library."""

import os
import shutil
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "harness"))
sys.path.insert(0, os.path.join(ROOT, "tools", "update-signing"))
sys.path.insert(0, os.path.join(ROOT, "tools", "update-server"))
import velmora_e2e as e2e  # noqa: E402
import sign_manifest  # noqa: E402
from update_server import UpdateServer  # noqa: E402

TEST_KEY = os.path.join(ROOT, "tools", "update-signing", "test-key",
                        "TEST-ONLY-update-signing-key.pem")
MANIFEST = "/update/tvcm/manifest"
SIGNATURE = MANIFEST + ".sig"
PACKAGE = "/packages/setup.exe"
HOST_VERSION = "2.0.0.0"  # the host's version resource
WM_COMMAND = 0x111
IDC_CLOSE_BUTTON = 1002


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_for_lines(path, count, timeout=15):
    """The lines of path once it has count of them (or whatever it has after timeout): the
    programs that write them are started, not waited for."""
    deadline = time.time() + timeout
    while True:
        lines = []
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                lines = f.read().splitlines()
        if len(lines) >= count or time.time() > deadline:
            return lines
        time.sleep(0.2)


def manifest_text(version, port, mark="tvcm", size=1234, sha="ab" * 32):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<update mark="%s" version="%s" url="http://127.0.0.1:%d%s" size="%d" '
            'sha256="%s"/>\n' % (mark, version, port, PACKAGE, size, sha)).encode()


def plant_stand_in(folder):
    """The recording stand-in as the update library of the program in folder."""
    os.makedirs(os.path.join(folder, "update"), exist_ok=True)
    shutil.copyfile(e2e.bin_path(os.path.join("standin", "full", "versync.dll")),
                    os.path.join(folder, "update", "versync.dll"))


def install_program(folder):
    """The development build's program in folder, with its settings template and identity
    library, and the recording stand-in as its update library."""
    os.makedirs(folder, exist_ok=True)
    for name in ("Velmora.exe", "RunConfig.dat", "MachineId.dll"):
        shutil.copyfile(e2e.bin_path(name), os.path.join(folder, name))
    plant_stand_in(folder)


def configuration_calls(folder, timeout=30):
    """Starts the program in folder (with the stand-in planted), waits until it has told its update
    library to check (at most timeout seconds), closes it and returns the calls the stand-in
    received, as "Entry(arguments)" texts (the ANSI bytes read as Latin-1)."""
    program = e2e.Program.start(exe=os.path.join(folder, "Velmora.exe"))
    window = e2e.wait_window(timeout=60, visible=True)
    log = os.path.join(folder, "update", "calls.log")
    deadline = time.time() + timeout
    lines = []
    while time.time() < deadline:
        if os.path.exists(log):
            with open(log, "rb") as f:
                lines = f.read().decode("latin-1").splitlines()
            if any(line.startswith("UCAutoVersync(") for line in lines):
                break
        time.sleep(0.2)
    e2e.post(window.hwnd, WM_COMMAND, IDC_CLOSE_BUTTON)
    program.wait_exit(60)
    calls = [line.rsplit(" @", 1)[0] for line in lines]
    return [call for call in calls if call != "loaded"]


def call_argument(calls, entry):
    """The first (quoted) argument of entry's call."""
    for call in calls:
        if call.startswith(entry + '("'):
            return call[len(entry) + 2:].split('"', 1)[0]
    raise AssertionError("%s was not called: %s" % (entry, calls))


class LoopbackCase(unittest.TestCase):
    """An update folder whose updater is the recorder, and a loopback server."""

    def setUp(self):
        super().setUp()
        self.temp = tempfile.mkdtemp(prefix="versync-", dir=e2e.bin_path("versync-test"))
        self.update = os.path.join(self.temp, "update")
        os.makedirs(self.update)
        self.recorder = e2e.bin_path(os.path.join("versync-test", "recorder.exe"))
        shutil.copyfile(self.recorder, os.path.join(self.update, "TVUpdater.exe"))
        self.key = sign_manifest.load_private_key(TEST_KEY)
        self.server = UpdateServer().start()
        self.addCleanup(self.server.stop)
        self.addCleanup(shutil.rmtree, self.temp, True)

    def offer(self, body, key=None, signed_body=None):
        """Serves body as the manifest with a signature made by key over signed_body."""
        self.server.bodies[MANIFEST] = body
        self.server.bodies[SIGNATURE] = sign_manifest.sign_bytes(
            key or self.key, body if signed_body is None else signed_body)

    def run_host(self, mode, address="127.0.0.1", port=None, timeout=60, library=None):
        """Runs the host with library (the development build's versync.dll unless given) and
        returns {call: milliseconds} from its output."""
        started = time.time()
        result = e2e.wine([e2e.bin_path(os.path.join("versync-test", "versync_host.exe")),
                           library or e2e.bin_path(os.path.join("update", "versync.dll")),
                           windows_path(self.update), address,
                           str(self.server.port if port is None else port), mode],
                          timeout=timeout)
        self.elapsed = time.time() - started
        return {w[0]: int(w[1]) for w in (line.split() for line in result.stdout.splitlines())
                if len(w) == 2 and w[1].isdigit()}

    def updater_calls(self, expected=0):
        return wait_for_lines(os.path.join(self.update, "TVUpdater.exe.log"), expected,
                              timeout=15 if expected else 0)

    def assert_nothing_came_of_it(self):
        self.assertEqual(self.updater_calls(), [])
        self.assertEqual(sorted(os.listdir(self.update)), ["TVUpdater.exe"])

    def assert_the_updater_was_started(self):
        self.assertEqual(len(self.updater_calls(expected=1)), 1)
        self.assertIn("Update.xml", os.listdir(self.update))
