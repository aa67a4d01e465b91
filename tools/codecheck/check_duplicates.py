#!/usr/bin/env python3
"""Finds runs of six or more identical lines written twice in product code.

Lines are compared with their whitespace normalised; blank lines and lines that hold only a
comment are ignored, so a run is six lines of code in a row. Product code is every .cpp and .h
file under the product folders and libs/. Prints each pair of places; exits 1 when there is any.

    check_duplicates.py [ROOT]
"""

import os
import re
import sys

PRODUCT = ["app", "mainwindow", "settings", "gpu", "display", "hwinfo", "shortcuts", "skin",
           "options", "update", "res", "framework", "libs"]
SOURCES = (".cpp", ".h")
RUN = 6


def code_lines(text):
    """(line number, normalised text) of every line that holds code."""
    lines, in_block = [], False
    for number, raw in enumerate(text.splitlines(), 1):
        line = " ".join(raw.split())
        if in_block:
            if "*/" not in line:
                continue
            line = line.split("*/", 1)[1].strip()
            in_block = False
        if line.startswith("/*"):
            if "*/" not in line:
                in_block = True
                continue
            line = line.split("*/", 1)[1].strip()
        if not line or line.startswith("//"):
            continue
        lines.append((number, line))
    return lines


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), "..", ".."))
    windows = {}
    for top in PRODUCT:
        for directory, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith(SOURCES):
                    continue
                path = os.path.join(directory, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    lines = code_lines(f.read())
                relative = os.path.relpath(path, root)
                for i in range(len(lines) - RUN + 1):
                    key = tuple(text for _, text in lines[i:i + RUN])
                    windows.setdefault(key, []).append((relative, i, lines[i][0]))
    # A longer run shows as several overlapping windows: report each pair of places once, at the
    # first window of the run.
    reported = set()
    pairs = []
    for places in windows.values():
        for a in range(len(places)):
            for b in range(a + 1, len(places)):
                (file_a, index_a, line_a), (file_b, index_b, line_b) = places[a], places[b]
                if file_a == file_b and abs(index_a - index_b) < RUN:
                    continue  # a run that repeats within itself
                if (file_a, index_a - 1, file_b, index_b - 1) in reported:
                    reported.add((file_a, index_a, file_b, index_b))
                    continue
                reported.add((file_a, index_a, file_b, index_b))
                pairs.append("%s:%d and %s:%d" % (file_a, line_a, file_b, line_b))
    for pair in sorted(pairs):
        print(pair)
    print("duplicate runs of %d lines: %d" % (RUN, len(pairs)))
    return 1 if pairs else 0


if __name__ == "__main__":
    sys.exit(main())
