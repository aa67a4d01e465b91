"""The real update library and updater against a loopback update server that each test starts
and stops: what is believed, what is written, what is started, and that nothing hangs."""

import hashlib
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from update_harness import (  # noqa: E402
    HOST_VERSION, MANIFEST, PACKAGE, SIGNATURE, LoopbackCase, e2e, manifest_text, wait_for_lines,
    windows_path)
from cryptography.hazmat.primitives.asymmetric import ec  # noqa: E402

# TVUpdater's exit codes.
INSTALLED, BAD_ARGUMENTS, DOWNLOAD_FAILED, PACKAGE_REJECTED = 0, 2, 4, 5


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


class Dripping(LoopbackCase):
    """A server that sends a valid head and then its body, or its head itself, a byte at a time
    holds no exchange beyond its deadline. The probe runs one exchange with a deadline the test
    chooses (1.5 s); the library is held to its real 15 s once."""

    def probe(self, path, total_ms=1500, stop_after_ms=0):
        result = e2e.wine([e2e.bin_path(os.path.join("versync-test", "httpget_probe.exe")),
                           self.server.url(path), str(total_ms), "5000", "65536",
                           str(stop_after_ms)], timeout=60)
        out = dict(line.split(" ", 1) for line in result.stdout.splitlines() if " " in line)
        return out["result"], int(out["elapsed"]), out["first"], int(out["bytes"])

    def test_a_dripped_body_or_head_is_given_up_at_the_deadline(self):
        self.server.bodies[PACKAGE] = b"x" * 64
        for name, dripping in (("body", self.server.dripping),
                               ("head", self.server.dripping_head)):
            with self.subTest(dripped=name):
                dripping[PACKAGE] = 0.25  # a byte every quarter second: 16 s for the body
                result, elapsed, _, _ = self.probe(PACKAGE)
                dripping.clear()
                self.assertEqual(result, "failed")
                self.assertGreaterEqual(elapsed, 1400)
                self.assertLess(elapsed, 2500)

    def test_a_stop_ends_a_dripping_exchange_at_once(self):
        self.server.bodies[PACKAGE] = b"x" * 64
        self.server.dripping[PACKAGE] = 0.25
        result, elapsed, _, _ = self.probe(PACKAGE, total_ms=30000, stop_after_ms=500)
        self.assertEqual(result, "stopped")
        self.assertLess(elapsed, 1500)

    def test_each_piece_reaches_the_caller_as_it_arrives(self):
        self.server.bodies[PACKAGE] = b"y" * 200
        self.server.paused[PACKAGE] = (10, 2)  # 10 bytes, then the rest 2 s later
        result, elapsed, first, size = self.probe(PACKAGE, total_ms=10000)
        self.assertEqual((result, size), ("complete", 200))
        self.assertLess(int(first), 1000)
        self.assertGreaterEqual(elapsed, 1900)

    def test_the_library_gives_a_dripped_manifest_up_after_fifteen_seconds(self):
        self.offer(manifest_text("3.0", self.server.port))
        self.server.dripping[MANIFEST] = 1.0
        timings = self.run_host("manual")
        self.assertGreater(timings["manual"], 14000)
        self.assertLess(timings["manual"], 17000)
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
