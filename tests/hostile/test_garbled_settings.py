"""Whole-program starts with garbled per-user settings files: random bytes, truncations, huge and
negative numbers, missing sections, duplicate keys, overlong lines, byte-order marks, invalid
hotkey values, page indices out of range, a file of a megabyte and stray characters, each
generated from a fixed seed. Every start must
show the window, open every page, end with exit code 0 on close, and - with ExitKeep off - leave
the file byte for byte as it was.

VELMORA_ROBUSTNESS=full runs 200 starts; the default runs one of each kind.
"""

import os
import random
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, HERE)
from page_driver import UserCopyCase, drive  # noqa: E402
import velmora_e2e as e2e  # noqa: E402
WM_APP_NAVIGATE = 0x400 + 1
PAGES = [("overclock", 3), ("quality", 9), ("threed", 4), ("display", 8), ("hardware", 2),
         ("shortcut", 1)]
HUGE = ["2147483647", "2147483648", "4294967295", "4294967296", "99999999999999999999999",
        "1e308", "0x7fffffff", "0xffffffff"]
NEGATIVE = ["-1", "-2", "-100", "-2147483648", "-2147483649", "-99999999999999999999"]
HOTKEY_GARBAGE = ["-1", "4294967295", "305419896", "268435456", "1114112", "1118481",
                  "16777215", "0x41", "abc", "65 66", "", "=", "1114177junk"]
PAGE_INDICES = ["-1", "4", "7", "99", "-2147483648", "2147483647", "1000000"]


def template_lines():
    """The installed template with saving at exit off, as CRLF lines without comments."""
    with open(os.path.join(ROOT, "settings", "RunConfig.dat")) as f:
        lines = [line.rstrip("\n") for line in f if not line.startswith(";")]
    return ["ExitKeep=0" if line.startswith("ExitKeep=") else line for line in lines]


def join(lines):
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


def value_rows(lines):
    """Indices of key=value lines other than ExitKeep (which must stay off)."""
    return [i for i, line in enumerate(lines) if "=" in line and not line.startswith("ExitKeep=")]


def with_values(rng, lines, choices, rows=None, count=None):
    lines = list(lines)
    rows = rows if rows is not None else value_rows(lines)
    for i in rng.sample(rows, min(len(rows), count or rng.randint(1, 12))):
        lines[i] = lines[i].split("=", 1)[0] + "=" + rng.choice(choices)
    return lines


def random_bytes(rng, lines):
    head = b"[SettingInfo]\r\nExitKeep=0\r\n"
    return head + bytes(rng.randrange(256) for _ in range(rng.randint(0, 6000)))


def truncation(rng, lines):
    data = join(lines)
    return data[:rng.randint(0, len(data) - 1)]


def huge_numbers(rng, lines):
    return join(with_values(rng, lines, HUGE))


def negative_numbers(rng, lines):
    return join(with_values(rng, lines, NEGATIVE))


def missing_sections(rng, lines):
    sections = [line for line in lines if line.startswith("[")]
    dropped = set(rng.sample(sections, rng.randint(1, len(sections) - 1)))
    out, keep = [], True
    for line in lines:
        if line.startswith("["):
            keep = line not in dropped
        if keep:
            out.append(line)
    return join(out)


def duplicate_keys(rng, lines):
    lines = list(lines)
    for _ in range(rng.randint(1, 10)):
        i = rng.choice(value_rows(lines))
        key = lines[i].split("=", 1)[0]
        copy = "%s=%s" % (key, rng.choice(HUGE + NEGATIVE + ["0", "1", "7"]))
        lines.insert(i + rng.choice([0, 1]), copy)
        if rng.random() < 0.3:
            # The whole section once more, further down.
            lines.append("[%s]" % rng.choice([l[1:-1] for l in lines if l.startswith("[")]))
            lines.append(copy)
    return join(lines)


def overlong_lines(rng, lines):
    lines = list(lines)
    length = rng.choice([300, 1024, 4096, 65536, 200000])
    i = rng.choice(value_rows(lines))
    kind = rng.randrange(3)
    if kind == 0:
        lines[i] = lines[i].split("=", 1)[0] + "=" + "9" * length
    elif kind == 1:
        lines[i] = "K" * length + "=1"
    else:
        lines.insert(i, "[" + "S" * length + "]")
    return join(lines)


def byte_order_marks(rng, lines):
    text = "\r\n".join(with_values(rng, lines, HUGE + NEGATIVE, count=rng.randint(0, 3))) + "\r\n"
    kind = rng.randrange(3)
    if kind == 0:
        return b"\xef\xbb\xbf" + text.encode("utf-8")
    if kind == 1:
        return b"\xff\xfe" + text.encode("utf-16-le")
    return b"\xfe\xff" + text.encode("utf-16-be")


def invalid_hotkeys(rng, lines):
    start = lines.index("[HotKey]")
    rows = [i for i in value_rows(lines) if i > start and i <= start + 17]
    return join(with_values(rng, lines, HOTKEY_GARBAGE, rows=rows,
                            count=rng.randint(1, len(rows))))


def page_indices(rng, lines):
    rows = [i for i, line in enumerate(lines) if re.match(
        r"^(QualityPage|3DInfoPage|ColorQuality|Desktoparea|RefreshRate|Rotation|Camma|Light|"
        r"Contrast|Set\d|RunValue|SelFan|GPUFrequency|GPUVoltage|Mem|Fan)=", line)]
    return join(with_values(rng, lines, PAGE_INDICES + HUGE[:2] + NEGATIVE[:2], rows=rows))


def huge_file(rng, lines):
    """The settings followed by about a megabyte of sections and keys nobody knows."""
    junk, size, target = [], 0, rng.randint(500000, 1200000)
    while size < target:
        junk.append("[Junk%d]" % rng.randrange(1000) if rng.random() < 0.05 else
                    "Key%d=%s" % (rng.randrange(10 ** 6), "x" * rng.randrange(200)))
        size += len(junk[-1]) + 2
    return join(lines + junk)


def stray_characters(rng, lines):
    """NULs, lone carriage returns, tabs and blanks around names and values, other letter case,
    signs and trailing junk on numbers."""
    lines = list(lines)
    for i in rng.sample(value_rows(lines), rng.randint(3, 20)):
        key, value = lines[i].split("=", 1)
        lines[i] = rng.choice([
            "%s=%s\x00%s" % (key, value, value), "%s=\r%s" % (key, value),
            "\t%s \t= %s " % (key, value), "%s=+%s" % (key.lower(), value),
            "%s=%sjunk" % (key.upper(), value), "%s==%s" % (key, value), "=%s" % value,
            "%s\x00=%s" % (key, value)])
    for i in [i for i, line in enumerate(lines) if line.startswith("[") and rng.random() < 0.3]:
        lines[i] = rng.choice(["[ %s ]" % lines[i][1:-1], lines[i].lower(), lines[i] + " junk",
                               lines[i][:-1]])
    return join(lines)


KINDS = [random_bytes, truncation, huge_numbers, negative_numbers, missing_sections,
         duplicate_keys, overlong_lines, byte_order_marks, invalid_hotkeys, page_indices,
         huge_file, stray_characters]


def garbled(seed):
    """(kind name, file bytes) of case `seed`: the kinds take turns."""
    kind = KINDS[seed % len(KINDS)]
    return kind.__name__, kind(random.Random(seed), template_lines())


def steps():
    return (["start"] + ["open-%s:%d:%d:0" % (name, WM_APP_NAVIGATE, code)
                         for name, code in PAGES] + ["close"])


class GarbledSettingsStarts(UserCopyCase):
    def start_once(self, data):
        """The faults of one start with the file holding `data`."""
        with open(self.user_copy, "wb") as f:
            f.write(data)
        driven, faults = drive(steps(), timeout=180)
        opened = [l for l in driven.stdout.splitlines() if l.startswith("pages open-")]
        faults += ["%s pages on screen" % l[6:] for l in opened if not l.endswith(" 1")]
        with open(self.user_copy, "rb") as f:
            after = f.read()
        if after != data:
            faults.append("the file changed (%d bytes before, %d after)" % (len(data), len(after)))
        return faults

    def test_every_garbled_file_starts_shows_ends_and_stays_unchanged(self):
        full = os.environ.get("VELMORA_ROBUSTNESS", "quick") == "full"
        count = 200 if full else len(KINDS)
        started = time.time()
        failed = []
        per_kind = {}
        for seed in range(count):
            kind, data = garbled(seed)
            began = time.time()
            faults = self.start_once(data)
            held, total = per_kind.get(kind, (0, 0))
            per_kind[kind] = (held + (0 if faults else 1), total + 1)
            print("%-4s seed %-4d %-17s %7d bytes %.1fs%s" % (
                "ok" if not faults else "FAIL", seed, kind, len(data), time.time() - began,
                "".join("\n       " + f for f in faults)), flush=True)
            if faults:
                failed.append((seed, kind, faults))
        held = count - len(failed)
        print("FIGURES: garbled settings starts (%s): %d starts, %d held (%s); %.0f s" % (
            "full" if full else "quick", count, held,
            ", ".join("%s %d/%d" % (k, v[0], v[1]) for k, v in per_kind.items()),
            time.time() - started), flush=True)
        self.assertEqual(failed, [])


if __name__ == "__main__":
    e2e.main()
