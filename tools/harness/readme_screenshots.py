"""Takes the README's pictures from the real program: the start screen, every page and the options
dialog, saved to docs/screenshots/ (run by `make screenshots` inside a private session)."""

import os
import sys
import time

import velmora_e2e as e2e

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT = os.path.join(ROOT, "docs", "screenshots")
WM_APP_NAVIGATE = 0x400 + 1
# Navigation code and picture name of each page, in the order the README shows them.
PAGES = [(3, "overclocking"), (9, "display-quality"), (4, "3d"), (8, "display-modes"),
         (2, "hardware"), (1, "shortcuts")]


def save(window, name):
    os.makedirs(OUT, exist_ok=True)
    path = os.path.join(OUT, name + ".png")
    e2e.grab(window).save(path, optimize=True)
    print(path)


def main():
    with e2e.Session():
        e2e.Program.start()
        window = e2e.wait_window(timeout=60, visible=True)
        time.sleep(1.0)
        save(window, "start")
        for code, name in PAGES:
            e2e.post(window.hwnd, WM_APP_NAVIGATE, code)
            time.sleep(3.0 if name == "hardware" else 1.0)  # the hardware facts come from a thread
            save(window, name)
        e2e.post(window.hwnd, WM_APP_NAVIGATE, 7)
        dialog = e2e.wait_window("#32770", timeout=20, visible=True)
        time.sleep(0.8)
        save(dialog, "options")
    return 0


if __name__ == "__main__":
    sys.exit(main())
