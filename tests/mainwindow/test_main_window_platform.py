"""The main window's dealings with the machine: driver libraries and the vendor's web site."""

import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "harness"))
import velmora_e2e as e2e  # noqa: E402

DRIVER_LIBRARIES = ["atipdlxx.dll", "atiadlxx.dll", "atiadlxy.dll"]
DLL_MESSAGE = "Dll加载失败!"
IDOK = 1
VENDOR_ADDRESS = "http://www.velmora.net/"
APP_PATHS = r"HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\iexplore.exe"
# Where the 32-bit program's shell may find the browser: its system folder and both program
# folders.
IEXPLORE_FILES = [r"C:\windows\system32\iexplore.exe",
                  r"C:\Program Files (x86)\Internet Explorer\iexplore.exe",
                  r"C:\Program Files\Internet Explorer\iexplore.exe"]


class MovedAside:
    """Moves files of the prefix out of the way and always puts them back."""

    def __init__(self, windows_paths):
        self.paths = [e2e.prefix_path(p) for p in windows_paths]
        self.moved = []

    def __enter__(self):
        for path in self.paths:
            if os.path.exists(path):
                shutil.move(path, path + ".aside")
                self.moved.append(path)
        return self

    def __exit__(self, *exc):
        for path in self.moved:
            shutil.move(path + ".aside", path)
        return False


class DriverLibraries(e2e.TestCase):
    def test_missing_driver_libraries_show_the_message_once(self):
        system32 = [r"C:\windows\system32" + "\\" + name for name in DRIVER_LIBRARIES]
        with MovedAside(system32):
            e2e.Program.start()
            box = e2e.find_message_box(DLL_MESSAGE, timeout=30)
            self.assertIsNotNone(box, "the driver message did not appear")
            e2e.screenshot(box, "main_dll_message")
            e2e.press_button(box.hwnd, IDOK)
            e2e.wait_window(timeout=30, visible=True)
            self.assertIsNone(e2e.find_message_box(DLL_MESSAGE, timeout=3),
                              "the message appeared a second time")

    def test_with_the_adapter_no_message_appears(self):
        e2e.Program.start()
        e2e.wait_window(timeout=60, visible=True)
        self.assertIsNone(e2e.find_message_box(DLL_MESSAGE, timeout=2))


class VendorSite(e2e.TestCase):
    def test_without_iexplore_the_registered_htm_handler_gets_the_address(self):
        record = e2e.prefix_path(r"C:\vendor-site.txt")
        if os.path.exists(record):
            os.remove(record)
        saved_app_path = e2e.reg_query(APP_PATHS, "")
        e2e.reg_delete(APP_PATHS)
        e2e.reg_set(r"HKCR\.htm", "", "REG_SZ", "VelmoraTestPage")
        e2e.reg_set(r"HKCR\VelmoraTestPage\shell\open\command", "", "REG_SZ",
                    r'C:\windows\system32\cmd.exe /c echo>C:\vendor-site.txt "%1"')
        try:
            with MovedAside(IEXPLORE_FILES):
                e2e.Program.start()
                window = e2e.wait_window(timeout=60, visible=True)
                e2e.click(window, 16 + 60, 120 + 21)  # a page first: the bar is live then
                e2e.click(window, 95 + 25, 260 + 27)  # bar region 1
                deadline = time.time() + 20
                while time.time() < deadline and not os.path.exists(record):
                    time.sleep(0.2)
                self.assertTrue(os.path.exists(record), "the .htm handler was not started")
                time.sleep(0.5)
                with open(record, "rb") as f:
                    self.assertIn(VENDOR_ADDRESS, f.read().decode("latin-1"))
        finally:
            e2e.reg_delete(r"HKCR\VelmoraTestPage")
            if saved_app_path is not None:
                e2e.reg_set(APP_PATHS, "", "REG_SZ", saved_app_path)


if __name__ == "__main__":
    e2e.main()
