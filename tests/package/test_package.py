"""The release as a Windows user gets it: the installer run silently puts the program where it
belongs and the program starts from it; the uninstaller takes everything away but the user's own
settings; the portable zip holds exactly the program's files. A package never trusts the test
key: made without a release key its update check is off, made with one it trusts that key alone
and asks the host it was given."""

import os
import subprocess
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "harness"))
sys.path.insert(0, os.path.join(ROOT, "tools", "package"))
sys.path.insert(0, os.path.join(ROOT, "tests", "update"))
import package  # noqa: E402
import update_harness as harness  # noqa: E402
import velmora_e2e as e2e  # noqa: E402
from update_harness import sign_manifest  # noqa: E402

INSTALL_DIR = r"C:\Program Files (x86)\Velmora"
SHORTCUT = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Velmora\Velmora.lnk"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
USER_COPY = "TVRunConfig.dat"
RELEASE_STAND_IN_KEY = os.path.join(ROOT, "tools", "update-signing", "test-key",
                                    "TEST-ONLY-release-stand-in-signing-key.pem")


class Package:
    """The installer and the zip package.py makes from one package build of tests/package."""

    def __init__(self, build):
        self.out = os.path.normpath(e2e.bin_path(os.path.join("..", "package-test", build)))
        package_build = e2e.bin_path(os.path.join("package-test", build))
        self.report = subprocess.run(
            [sys.executable, os.path.join(ROOT, "tools", "package", "package.py"),
             e2e.bin_path(""), self.out, "--package-build", package_build],
            check=True, stdout=subprocess.PIPE, text=True).stdout
        self.version = "%d.%d.%d" % package.program_version(
            os.path.join(package_build, "Velmora.exe"))[:3]
        self.installer = os.path.join(self.out, "Velmora-%s-setup.exe" % self.version)
        self.portable = os.path.join(self.out, "Velmora-%s-portable.zip" % self.version)

    def unpack(self, folder):
        """The zip's program folder, unpacked into folder."""
        with zipfile.ZipFile(self.portable) as archive:
            archive.extractall(folder)
        return os.path.join(folder, "Velmora")


def installed(target):
    return e2e.prefix_path(INSTALL_DIR + "\\" + target)


def wait_until(condition, timeout=60):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.3)
    return condition()


def setUpModule():
    global PACKAGES
    PACKAGES = {build: Package(build) for build in ("off", "release")}


class Release(e2e.TestCase):
    @classmethod
    def setUpClass(cls):
        made = PACKAGES["off"]
        cls.installer, cls.portable, cls.version = made.installer, made.portable, made.version
        cls.files = [target for _, target in package.program_files()]

    def install(self):
        e2e.wine([self.installer, "/S"], timeout=120)
        self.assertTrue(wait_until(lambda: os.path.exists(installed("uninstall.exe"))))

    def uninstall(self):
        # The uninstaller runs from a copy of itself and returns at once: wait for its work.
        e2e.wine([installed("uninstall.exe"), "/S"], timeout=120, check=False)
        wait_until(lambda: not os.path.exists(installed("Velmora.exe")))
        wait_until(lambda: e2e.reg_query(UNINSTALL_KEY, "DisplayName") is None, 20)

    def user_copy(self):
        return os.path.join(e2e.documents_dir(), USER_COPY)

    def test_install_start_and_uninstall(self):
        self.install()
        for target in self.files:
            self.assertTrue(os.path.isfile(installed(target)), target)
        self.assertFalse(os.path.exists(installed("wintool.exe")))
        self.assertFalse(os.path.exists(installed(r"sim\atipdlxx.dll")))
        with open(e2e.prefix_path(SHORTCUT), "rb") as f:
            link = f.read()
        # The shortcut's target: the installed program (the link stores the path as ANSI or
        # UTF-16 text).
        target = INSTALL_DIR + "\\Velmora.exe"
        self.assertTrue(target.encode("latin-1") in link or target.encode("utf-16-le") in link,
                        "the Start-menu shortcut does not point at the installed program")
        self.assertEqual(e2e.reg_query(UNINSTALL_KEY, "DisplayName"), "Velmora")
        self.assertEqual(e2e.reg_query(UNINSTALL_KEY, "DisplayVersion"), self.version)
        self.assertEqual(e2e.reg_query(UNINSTALL_KEY, "Publisher"), "Velmora")
        self.assertIsNotNone(e2e.reg_query(UNINSTALL_KEY, "EstimatedSize"))
        self.assertIn("Velmora.exe", e2e.reg_query(UNINSTALL_KEY, "DisplayIcon"))

        # The installed program starts (with the simulated adapter of the prefix) and the
        # uninstaller will not take it away while it runs.
        program = e2e.Program.start(exe=installed("Velmora.exe"))
        window = e2e.wait_window(timeout=60, visible=True)
        self.assertEqual((window.width, window.height), (800, 328))
        e2e.wine([installed("uninstall.exe"), "/S"], timeout=120, check=False)
        time.sleep(3)
        self.assertTrue(os.path.isfile(installed("Velmora.exe")), "removed while running")
        program.kill()
        e2e.cleanup()

        existed = os.path.exists(self.user_copy())
        if not existed:
            with open(self.user_copy(), "wb") as f:
                f.write(b"[SettingInfo]\r\n")
        e2e.reg_set(RUN_KEY, "Velmora", "REG_SZ", '"%s\\Velmora.exe" /Min' % INSTALL_DIR)
        self.uninstall()
        for target in self.files:
            self.assertFalse(os.path.exists(installed(target)), target)
        self.assertFalse(os.path.exists(e2e.prefix_path(SHORTCUT)))
        self.assertIsNone(e2e.reg_query(UNINSTALL_KEY, "DisplayName"))
        self.assertIsNone(e2e.reg_query(RUN_KEY, "Velmora"))
        self.assertTrue(os.path.isfile(self.user_copy()), "the user's settings were removed")
        if not existed:
            os.remove(self.user_copy())

    def test_installing_over_an_installed_copy_keeps_the_users_settings(self):
        original = None
        if os.path.exists(self.user_copy()):
            with open(self.user_copy(), "rb") as f:
                original = f.read()
        marker = b"[SettingInfo]\r\nRunValue=1\r\nExitKeep=1\r\n"
        try:
            self.install()
            with open(self.user_copy(), "wb") as f:
                f.write(marker)
            self.install()
            with open(self.user_copy(), "rb") as f:
                self.assertEqual(f.read(), marker)
            self.uninstall()
        finally:
            if original is None:
                os.remove(self.user_copy())
            else:
                with open(self.user_copy(), "wb") as f:
                    f.write(original)

    def test_the_portable_zip_holds_exactly_the_program_files(self):
        for build, made in PACKAGES.items():
            with self.subTest(build=build):
                with zipfile.ZipFile(made.portable) as archive:
                    names = sorted(archive.namelist())
                self.assertEqual(names,
                                 sorted("Velmora/" + t.replace("\\", "/") for t in self.files))


class UpdateCheck(harness.LoopbackCase, e2e.UserCopyCase):
    """The packaged update library against a newer offer on the loopback server, and the update
    server the packaged program hands its update library (the recording stand-in)."""

    def setUp(self):
        super().setUp()
        self.write_user_copy("[SettingInfo]\nExitKeep=0\n")
        self.newer = harness.manifest_text("3.0", self.server.port)

    def packaged(self, build):
        """The package's program folder, unpacked, and its versync.dll."""
        program = PACKAGES[build].unpack(os.path.join(self.temp, build))
        return program, os.path.join(program, "update", "versync.dll")

    def server_handed_over(self, program):
        """The address and port the packaged program hands its update library."""
        harness.plant_stand_in(program)
        calls = harness.configuration_calls(program)
        self.assertEqual(calls[-1], "UCAutoVersync()")
        return [call for call in calls if call.startswith("UCSetUpdateServer(")]

    def test_without_a_release_key_the_package_checks_for_no_updates(self):
        self.assertIn("update check: off", PACKAGES["off"].report)
        program, library = self.packaged("off")
        self.offer(self.newer)  # signed with the test key, which development builds trust
        self.run_host("manual", library=library)
        self.assert_nothing_came_of_it()
        self.assertEqual(self.server.requests, [])  # a library without a key asks for nothing
        self.assertEqual(self.server_handed_over(program), ['UCSetUpdateServer("", 4040)'])

    def test_with_a_release_key_the_package_trusts_that_key_alone_and_asks_its_host(self):
        self.assertIn("update check: asks localhost", PACKAGES["release"].report)
        program, library = self.packaged("release")
        self.offer(self.newer)
        self.run_host("manual", library=library)
        self.assert_nothing_came_of_it()

        self.offer(self.newer, key=sign_manifest.load_private_key(RELEASE_STAND_IN_KEY))
        self.run_host("manual", library=library)
        self.assert_the_updater_was_started()
        self.assertEqual(self.server_handed_over(program), ['UCSetUpdateServer("127.0.0.1", 4040)'])


if __name__ == "__main__":
    e2e.main()
