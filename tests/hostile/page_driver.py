"""What the hostile sweeps share: one start of the program stepped through by the page driver
helper (pagedriver.exe), and a test case that keeps the per-user settings copy and the simulated
card as they were."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "harness"))
sys.path.insert(0, os.path.join(HERE, "..", "gpu"))
import velmora_e2e as e2e  # noqa: E402
from test_overclock_page import SIM_LOG, reset_sim  # noqa: E402



def drive(steps, timeout=240):
    """Starts the program, runs the helper over `steps` (which should end with "close") and
    waits for the exit. Returns the helper's CompletedProcess and the faults seen: a helper that
    did not finish its steps, a process still running or ending with another code than 0."""
    faults = []
    program = e2e.Program.start()
    driven = e2e.wine([e2e.bin_path("pagedriver.exe"), SIM_LOG] + list(steps), timeout=timeout,
                      check=False)
    if driven.returncode != 0:
        tail = " | ".join(driven.stdout.strip().splitlines()[-2:])
        faults.append("page driver ended with %d (%s)" % (driven.returncode, tail))
    try:
        code = program.wait_exit(30)
        if code != 0:
            faults.append("exit code %d" % code)
    except e2e.HarnessError as error:
        faults.append(str(error))
        program.kill()
    return driven, faults


class UserCopyCase(e2e.UserCopyCase):
    """Puts the per-user settings copy back as it was, and the simulated card to its default
    with a linear gamma ramp, at the end of the test."""

    def setUp(self):
        super().setUp()
        reset_sim()

    def tearDown(self):
        super().tearDown()
        reset_sim()
        e2e.wine([e2e.bin_path("pagedriver.exe"), SIM_LOG, "linear-gamma"], check=False)
