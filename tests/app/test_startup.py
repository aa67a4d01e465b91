"""Start-up and exit of the real program: the single instance, saving at exit, and which update
and identity libraries it loads."""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "harness"))
import velmora_e2e as e2e  # noqa: E402

WM_COMMAND = 0x111
IDC_CLOSE_BUTTON = 1002
SW_HIDE = 0


def parse_profile(text):
    """{section: [(key, raw value text), ...]} in file order."""
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            current = sections.setdefault(line[1:line.index("]")], [])
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current.append((key, value))
    return sections


def read_text(path):
    with open(path) as f:
        return f.read()


def section_text(text, name):
    """The raw lines of one section, header included."""
    out, inside = [], False
    for line in text.splitlines():
        if line.startswith("["):
            inside = line.strip() == "[%s]" % name
        if inside:
            out.append(line)
    return out


class Startup(e2e.UserCopyCase):
    def setUp(self):
        super().setUp()
        self.temp = tempfile.mkdtemp(prefix="velmora-startup-")

    def tearDown(self):
        super().tearDown()
        shutil.rmtree(self.temp, ignore_errors=True)

    def read_user_copy(self):
        with open(self.user_copy, "rb") as f:
            return f.read().decode("ascii")

    def run_and_close(self, **start):
        program = e2e.Program.start(**start)
        window = e2e.wait_window(timeout=60, visible=True)
        e2e.post(window.hwnd, WM_COMMAND, IDC_CLOSE_BUTTON)
        program.wait_exit(60)
        e2e.wait_no_window(timeout=10)

    def test_second_start_shows_the_hidden_first_window_and_ends(self):
        first = e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        e2e.wine([e2e.bin_path("showwindow.exe"), "%x" % window.hwnd, str(SW_HIDE)])
        self.assertFalse(window.refresh().visible)

        second = e2e.Program.start(["/MinTray"])
        second.wait_exit(60)
        shown = window.refresh()
        self.assertTrue(shown.visible)
        self.assertFalse(shown.iconic)
        self.assertTrue(first.alive())
        self.assertEqual(e2e.find_window().hwnd, window.hwnd)

    def test_exit_keep_off_writes_nothing_at_exit(self):
        text = ("[SettingInfo]\nRunValue=1\nExitKeep=0\n[Clock_Set]\nFan=0070\nSelFan=2\n"
                "[Display]\nRotation=01\n")
        self.write_user_copy(text)
        before = os.stat(self.user_copy).st_mtime_ns
        self.run_and_close()
        self.assertEqual(self.read_user_copy(), text.replace("\n", "\r\n"))
        self.assertEqual(os.stat(self.user_copy).st_mtime_ns, before)

    def test_exit_keep_on_writes_five_sections_and_leaves_hotkeys_and_pages(self):
        self.write_user_copy(
            "[SettingInfo]\nRunValue=3\nExitKeep=5\n"
            "[Clock_Set]\nGPUFrequency=0700\nGPUVoltage=-0012\nSelFan=2\n"
            "[3DInfo_Game]\nSet2=9\n"
            "[Quality_Picture]\nLight=0100\n"
            "[Display]\nRotation=02\n"
            "[HotKey]\nGPU1Add1=0042\nQuality_NormalMode=+7\n"
            "[SelPage]\nQualityPage=07\n")
        hotkeys_before = section_text(self.read_user_copy(), "HotKey")
        pages_before = section_text(self.read_user_copy(), "SelPage")
        self.run_and_close()

        after = self.read_user_copy()
        sections = parse_profile(after)
        self.assertEqual(sections["SettingInfo"], [("RunValue", "3"), ("ExitKeep", "1")])
        self.assertEqual(sections["Clock_Set"],
                         [("GPUFrequency", "700"), ("GPUVoltage", "-12"), ("SelFan", "1"),
                          ("Mem", "0"), ("Fan", "0")])
        self.assertIn(("Set2", "1"), sections["3DInfo_Game"])
        self.assertEqual(len(sections["3DInfo_Work"]), 6)
        self.assertEqual(len(sections["3DInfo_HD"]), 6)
        self.assertIn(("Light", "100"), sections["Quality_Picture"])
        for quality in ("Quality_Standard", "Quality_Work", "Quality_Game"):
            self.assertEqual([k for k, _ in sections[quality]], ["Camma", "Light", "Contrast"])
        self.assertEqual(sections["Display"],
                         [("Rotation", "2"), ("ColorQuality", "0"), ("Desktoparea", "0"),
                          ("RefreshRate", "0")])
        self.assertEqual(section_text(after, "HotKey"), hotkeys_before)
        self.assertEqual(section_text(after, "SelPage"), pages_before)

    def plant_libraries(self, folder):
        """The recording stand-in, under the names the program loads, in folder."""
        stand_in = e2e.bin_path(os.path.join("standin", "full", "versync.dll"))
        os.makedirs(os.path.join(folder, "update"), exist_ok=True)
        shutil.copyfile(stand_in, os.path.join(folder, "update", "versync.dll"))
        shutil.copyfile(stand_in, os.path.join(folder, "MachineId.dll"))

    def test_libraries_planted_in_the_current_directory_are_never_loaded(self):
        # An installation without either library, started from a folder that has both.
        install = os.path.join(self.temp, "install")
        os.makedirs(install)
        for name in ("Velmora.exe", "RunConfig.dat"):
            shutil.copyfile(e2e.bin_path(name), os.path.join(install, name))
        planted = os.path.join(self.temp, "planted")
        self.plant_libraries(planted)
        self.write_user_copy("[SettingInfo]\nExitKeep=0\n")
        self.run_and_close(exe=os.path.join(install, "Velmora.exe"), cwd=planted)
        for log in (os.path.join(planted, "calls.log"),
                    os.path.join(planted, "update", "calls.log")):
            self.assertFalse(os.path.exists(log), log)

    def test_update_library_next_to_the_executable_is_configured_in_order(self):
        install = os.path.join(self.temp, "install")
        os.makedirs(os.path.join(install, "update"))
        for name in ("Velmora.exe", "RunConfig.dat", "MachineId.dll"):
            shutil.copyfile(e2e.bin_path(name), os.path.join(install, name))
        stand_in = e2e.bin_path(os.path.join("standin", "full", "versync.dll"))
        shutil.copyfile(stand_in, os.path.join(install, "update", "versync.dll"))
        stale = os.path.join(install, "update", "Update.xml")
        with open(stale, "w") as f:
            f.write("<stale/>")
        elsewhere = os.path.join(self.temp, "elsewhere")
        os.makedirs(elsewhere)
        self.write_user_copy("[SettingInfo]\nExitKeep=0\n")

        program = e2e.Program.start(exe=os.path.join(install, "Velmora.exe"), cwd=elsewhere)
        window = e2e.wait_window(timeout=60, visible=True)
        log = os.path.join(install, "update", "calls.log")
        deadline = time.time() + 30
        while time.time() < deadline:
            if os.path.exists(log) and "UCAutoVersync" in read_text(log):
                break
            time.sleep(0.2)
        e2e.post(window.hwnd, WM_COMMAND, IDC_CLOSE_BUTTON)
        program.wait_exit(60)

        self.assertFalse(os.path.exists(stale))
        calls = [line.rsplit(" @", 1)[0] for line in read_text(log).splitlines()]
        calls = [c for c in calls if c != "loaded"]
        root = "Z:" + install.replace("/", "\\")
        self.assertEqual([c.split("(")[0] for c in calls],
                         ["UCSetProcessRootPath", "UCSetProcessFileName", "UCSetUpdateRootPath",
                          "UCSetUpdateFileName", "UCSetMachineId", "UCSetUnionID",
                          "UCSetSoftwareMark", "UCSetUpdateCfgFileName", "UCSetUpdateServer",
                          "UCAutoVersync"])
        self.assertEqual(calls[0], 'UCSetProcessRootPath("%s")' % root)
        self.assertEqual(calls[2], 'UCSetUpdateRootPath("%s\\update")' % root)
        identity = calls[4][len('UCSetMachineId("'):-2]
        self.assertTrue(0 < len(identity) <= 15, identity)
        self.assertTrue(calls[8].endswith(", 4040)"), calls[8])


if __name__ == "__main__":
    e2e.main()
