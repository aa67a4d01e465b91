"""Thousands of hotkey steps and slider clicks on the overclocking page after OK has hidden the
window: the process's GDI and USER objects and memory stay flat (see longrun_steps.py)."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
import longrun_steps  # noqa: E402
from longrun_steps import OK_BUTTON, e2e  # noqa: E402


class LongRunsHidden(longrun_steps.LongRunCase):
    def test_hotkey_and_slider_steps_leave_objects_and_memory_flat(self):
        window, hotkeys, clicks = self.start_on_overclock_page()
        e2e.click(window, *OK_BUTTON)
        time.sleep(1.0)
        self.assertFalse(window.refresh().visible, "OK did not hide the window")
        self.run_hotkeys("hotkeys, window hidden", window, hotkeys)
        self.run_sliders("slider steps, window hidden", clicks)
        self.assertFalse(window.refresh().visible)
        self.finish("window hidden")


if __name__ == "__main__":
    e2e.main()
