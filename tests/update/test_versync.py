"""The real update library and updater against a loopback update server that each test starts
and stops: what is believed, what is written, what is started, and that nothing hangs."""

import hashlib
import os
import shutil
import subprocess
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
from cryptography.hazmat.primitives.asymmetric import ec  # noqa: E402
from update_server import UpdateServer  # noqa: E402

TEST_KEY = os.path.join(ROOT, "tools", "update-signing", "test-key",
                        "TEST-ONLY-update-signing-key.pem")
MANIFEST = "/update/tvcm/manifest"
SIGNATURE = MANIFEST + ".sig"
PACKAGE = "/packages/setup.exe"
HOST_VERSION = "2.0.0.0"  # the host's version resource

# TVUpdater's exit codes.
INSTALLED, BAD_ARGUMENTS, DOWNLOAD_FAILED, PACKAGE_REJECTED = 0, 2, 4, 5


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


class LoopbackCase(unittest.TestCase):
    def setUp(self):
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

    def run_host(self, mode, address="127.0.0.1", port=None, timeout=60):
        """Runs the host and returns {call: milliseconds} from its output."""
        started = time.time()
        result = e2e.wine([e2e.bin_path(os.path.join("versync-test", "versync_host.exe")),
                           e2e.bin_path(os.path.join("update", "versync.dll")),
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


class Check(LoopbackCase):
    def test_newer_signed_offer_is_kept_and_hands_the_updater_the_package(self):
        body = manifest_text("2.0.0.1", self.server.port, sha="CD" * 32, size=777)
        self.offer(body)
        with open(os.path.join(self.update, "Update.xml"), "wb") as f:
            f.write(b"<update stale/>")
        self.run_host("manual")

        calls = self.updater_calls(expected=1)
        with open(os.path.join(self.update, "Update.xml"), "rb") as f:
            self.assertEqual(f.read(), body)
        self.assertEqual(sorted(os.listdir(self.update)),
                         ["TVUpdater.exe", "TVUpdater.exe.log", "Update.xml"])
        self.assertEqual(len(calls), 1)
        words = calls[0].split(" ", 2)
        self.assertEqual(words[0], '"%s"' % windows_path(os.path.join(self.update,
                                                                      "TVUpdater.exe")))
        self.assertRegex(words[1], r"^/wait$")
        host = windows_path(e2e.bin_path(os.path.join("versync-test", "versync_host.exe")))
        self.assertRegex(words[2], r'^\d+ /url http://127\.0\.0\.1:%d%s /size 777 /sha256 %s '
                         r'/restart "%s"$' % (self.server.port, PACKAGE, "cd" * 32,
                                              host.replace("\\", "\\\\")))
        (path, query, headers), = self.server.requested(MANIFEST)
        self.assertEqual(query, {"union": "8899", "machine": "HOST ID/1"})
        self.assertEqual(len(self.server.requested(SIGNATURE)), 1)

    def test_same_or_older_version_is_ignored(self):
        for version in (HOST_VERSION, "2", "1.9.65535.65535"):
            with self.subTest(version=version):
                self.offer(manifest_text(version, self.server.port))
                self.run_host("manual")
                self.assert_nothing_came_of_it()

    def test_offers_the_embedded_key_did_not_sign_are_ignored(self):
        newer = manifest_text("3.0", self.server.port)
        other_key = ec.generate_private_key(ec.SECP256R1())
        cases = {
            "another key": dict(body=newer, key=other_key),
            "changed after signing": dict(body=newer.replace(b"1234", b"1235"),
                                          signed_body=newer),
            "another product": dict(body=manifest_text("3.0", self.server.port, mark="other")),
            "signed but malformed": dict(body=newer[:-10]),
        }
        for name, case in cases.items():
            with self.subTest(case=name):
                self.offer(**case)
                self.run_host("manual")
                self.assert_nothing_came_of_it()
        with self.subTest(case="no signature"):
            self.offer(newer)
            del self.server.bodies[SIGNATURE]
            self.run_host("manual")
            self.assert_nothing_came_of_it()

    def test_a_body_cut_short_is_ignored(self):
        for path in (MANIFEST, SIGNATURE):
            with self.subTest(path=path):
                self.offer(manifest_text("3.0", self.server.port))
                self.server.truncated = {path: 20}
                self.run_host("manual")
                self.assert_nothing_came_of_it()

    def test_no_server_address_or_port_asks_nobody(self):
        self.offer(manifest_text("3.0", self.server.port))
        for mode, address, port in (("manual", "", None), ("manual", "127.0.0.1", 0),
                                    ("unset", "127.0.0.1", None)):
            with self.subTest(mode=mode, address=address, port=port):
                self.run_host(mode, address=address, port=port)
                self.assert_nothing_came_of_it()
        self.assertEqual(self.server.requests, [])


class Hanging(LoopbackCase):
    def setUp(self):
        super().setUp()
        self.offer(manifest_text("3.0", self.server.port))
        self.server.hanging.add(MANIFEST)

    def test_a_server_that_never_answers_is_given_up_within_the_timeout(self):
        timings = self.run_host("manual")
        self.assertLess(timings["manual"], 12000)
        self.assertGreater(timings["manual"], 3000)  # it did wait for an answer
        self.assert_nothing_came_of_it()

    def test_stop_returns_at_once_and_nothing_comes_of_the_check(self):
        timings = self.run_host("stop")
        self.assertLess(timings["auto"], 1000)
        self.assertLess(timings["stop"], 1000)
        self.server.hanging.clear()  # the exchange in progress may now complete: still nothing
        time.sleep(1)
        self.assert_nothing_came_of_it()

    def test_the_program_frees_the_library_and_exits_while_a_check_hangs(self):
        timings = self.run_host("exit", timeout=30)
        self.assertLess(timings["free"], 1000)
        self.assertLess(self.elapsed, 20)
        self.assert_nothing_came_of_it()

    def test_a_freed_library_stays_mapped_until_its_check_ends_then_goes(self):
        timings = self.run_host("unload")
        self.assertEqual(timings["kept"], 1)
        self.assertEqual(timings["gone"], 1)
        self.assertLess(timings["unloaded"], 15000)
        self.assert_nothing_came_of_it()


class Updater(LoopbackCase):
    """TVUpdater.exe: the package runs only when its size and digest are the announced ones."""

    def setUp(self):
        super().setUp()
        self.log = os.path.join(self.temp, "started.log")
        os.environ["VELMORA_RECORDER_LOG"] = windows_path(self.log)
        self.addCleanup(os.environ.pop, "VELMORA_RECORDER_LOG", None)
        with open(self.recorder, "rb") as f:
            self.package = f.read()
        self.server.bodies[PACKAGE] = self.package
        self.restart = windows_path(os.path.join(self.temp, "Velmora Again.exe"))
        shutil.copyfile(self.recorder, os.path.join(self.temp, "Velmora Again.exe"))

    def run_updater(self, size=None, sha=None, url=None, wait=0):
        args = ["/wait", str(wait), "/url", url or self.server.url(PACKAGE),
                "/size", str(len(self.package) if size is None else size),
                "/sha256", sha or hashlib.sha256(self.package).hexdigest(),
                "/restart", self.restart]
        return e2e.wine([e2e.bin_path(os.path.join("update", "TVUpdater.exe"))] + args,
                        timeout=60, check=False).returncode

    def started(self, expected=0):
        return wait_for_lines(self.log, expected, timeout=15 if expected else 0)

    def test_a_verified_package_is_installed_silently_and_the_program_started_again(self):
        self.assertEqual(self.run_updater(), INSTALLED)
        started = self.started(expected=2)
        self.assertEqual(len(started), 2, started)
        self.assertTrue(started[0].endswith("setup.exe /S") or started[0].endswith('setup.exe" /S'),
                        started[0])
        self.assertEqual(started[1], '"%s"' % self.restart)

    def test_waits_for_the_program_to_end_before_it_installs(self):
        env = dict(e2e._env(), VELMORA_RECORDER_SLEEP_MS="4000")
        program = subprocess.Popen(["wine", self.recorder, "the-program"], env=env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(program.wait, 30)
        started = self.started(expected=1)
        self.assertRegex(started[0], r"^started \d+$")
        self.assertEqual(self.run_updater(wait=int(started[0].split()[1])), INSTALLED)
        lines = self.started(expected=4)
        self.assertEqual(len(lines), 4, lines)
        self.assertTrue(lines[1].endswith("the-program"), lines)  # it had ended first
        self.assertIn("setup.exe", lines[2])
        self.assertEqual(lines[3], '"%s"' % self.restart)

    def test_a_package_that_is_not_the_announced_one_never_runs(self):
        wrong = bytearray(self.package)
        wrong[-1] ^= 1
        cases = {
            "wrong digest": dict(sha=hashlib.sha256(bytes(wrong)).hexdigest()),
            "shorter than announced": dict(size=len(self.package) + 1),
            "longer than announced": dict(size=len(self.package) - 1),
            "missing": dict(url=self.server.url("/packages/absent.exe")),
        }
        for name, case in cases.items():
            with self.subTest(case=name):
                self.assertIn(self.run_updater(**case), (DOWNLOAD_FAILED, PACKAGE_REJECTED))
                self.assertEqual(self.started(), [])

    def test_wrong_digest_is_rejected_after_the_download(self):
        self.assertEqual(self.run_updater(sha="00" * 32), PACKAGE_REJECTED)
        self.assertEqual(self.started(), [])

    def test_arguments_it_cannot_trust_start_nothing(self):
        self.assertEqual(self.run_updater(url="file://C:/windows/notepad.exe"), BAD_ARGUMENTS)
        self.assertEqual(self.server.requests, [])
        self.assertEqual(self.started(), [])


if __name__ == "__main__":
    e2e.main()
