"""Starts Velmora.exe, waits for its window, saves build/screenshots/run.png and ends it."""

import sys
import time

import velmora_e2e as e2e


def main():
    with e2e.Session():
        e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(1.0)  # let the first frame settle
        path = e2e.screenshot(window, "run")
        print("Screenshot of the running program: %s" % path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
