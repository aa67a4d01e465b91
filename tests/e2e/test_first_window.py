"""The program starts on the session's X server as one layered 800 x 328 window."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "harness"))
import velmora_e2e as e2e  # noqa: E402

WS_EX_LAYERED = 0x80000
WM_COMMAND = 0x111
IDC_CLOSE_BUTTON = 1002


class FirstWindow(e2e.TestCase):
    def test_window_is_layered_titled_and_sized(self):
        program = e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        self.assertEqual((window.width, window.height), (800, 328))
        self.assertEqual(window.title, "Velmora")
        self.assertTrue(window.exstyle & WS_EX_LAYERED)
        self.assertEqual(window.pid > 0, True)
        image = e2e.grab(window)
        e2e.screenshot(window, "first_window")
        self.assertEqual(image.size, (800, 328))
        self.assertTrue(program.alive())

    def test_close_command_ends_the_process(self):
        program = e2e.Program.start()
        window = e2e.wait_window(timeout=60)
        e2e.post(window.hwnd, WM_COMMAND, IDC_CLOSE_BUTTON)
        self.assertEqual(program.wait_exit(30), 0)
        e2e.wait_no_window(timeout=10)


if __name__ == "__main__":
    e2e.main()
