"""Thousands of hotkey steps and slider clicks on the overclocking page with the window shown:
the process's GDI and USER objects and memory stay flat (see longrun_steps.py)."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import longrun_steps  # noqa: E402
from longrun_steps import e2e  # noqa: E402


class LongRunsShown(longrun_steps.LongRunCase):
    def test_hotkey_and_slider_steps_leave_objects_and_memory_flat(self):
        window, hotkeys, clicks = self.start_on_overclock_page()
        self.run_hotkeys("hotkeys, window shown", window, hotkeys)
        self.run_sliders("slider steps, window shown", clicks)
        self.assertTrue(window.refresh().visible)
        self.finish("window shown")


if __name__ == "__main__":
    e2e.main()
