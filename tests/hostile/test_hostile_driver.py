"""The whole program against a hostile driver: every entry point refused in turn, hostile values
(level and adapter counts, temperatures, inverted ranges, step 0) and libraries or exports
missing, on today's card and on the display library's Overdrive 5, 6, N and 8 cards. In each scenario the program starts, every page opens and applies, the seventeen
hotkeys step, and it closes; then the simulated adapter's call log must show no write outside
the ranges the card reported and the success message only after accepted voltage and clock
writes, and the process must have ended with exit code 0.

VELMORA_ROBUSTNESS=full runs every scenario; the default runs a representative set of each kind.
"""

import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, HERE)
from page_driver import UserCopyCase, drive  # noqa: E402
import velmora_e2e as e2e  # noqa: E402
from test_overclock_page import (APPLIED, DLL_MESSAGE, SIM_LOG, reset_sim,  # noqa: E402
                                 sim_state)
# A display mode (here: a rotation) the driver refuses.
UNSUPPORTED = "此显示模式不受支持"
# The program may raise the engine clock this far (10 kHz units) above the reported maximum:
# its overclocking headroom, which the card accepts.
ENGINE_HEADROOM = 20000

WM_COMMAND = 0x111
WM_HOTKEY = 0x312
WM_APP_NAVIGATE = 0x400 + 1
WM_APP_SELECT_ITEM = 0x400 + 2
APPLY_BUTTON = 1037
DEFAULT_BUTTON = 1036
# Navigation codes of the pages and the display page's rotation category.
PAGES = [("overclock", 3), ("quality", 9), ("threed", 4), ("display", 8), ("hardware", 2),
         ("shortcut", 1)]
DISPLAY_LIST = 5
ROTATION_CATEGORY = 3
HOTKEY_IDS = range(1000, 1017)
# Ctrl+Alt and a letter per hotkey, as the shortcut page stores them.
CTRL_ALT = 0x00111200


def entry_names():
    """Every driver entry point the program calls, from its entry table."""
    with open(os.path.join(ROOT, "gpu", "core", "DriverEntries.h")) as f:
        return re.findall(r'visit\("(\w+)"', f.read())


# The display library's Overdrive generations: each personality's own entry points.
PERSONALITIES = {"Od5": ("ADL2_Overdrive5_",), "Od6": ("ADL2_Overdrive6_",),
                 "OdN": ("ADL2_OverdriveN_",), "Od8": ("ADL2_Overdrive8_", "ADL2_New_QueryPMLog")}
HOSTILE_PERSONALITIES = ["Od5LevelsHuge", "Od6RangesInverted", "Od6LevelsThree", "OdNLevelsHuge",
                         "OdNLevelsNegative", "OdNRangesInverted", "Od8CountBeyondRoom",
                         "Od8RangesInverted"]


def personality_scenarios(names):
    """Each personality as it is, then with each of its own entries refused in turn, all of them
    refused, each of them missing, and its Overdrive switched off in the driver."""
    found = []
    for personality, prefixes in sorted(PERSONALITIES.items()):
        card = {"Scenario": personality}
        own = [n for n in names if n.startswith(prefixes)]
        found.append(("personality " + personality, "baseline", {"Sim": card}))
        found += [("%s refuse %s" % (personality, n), "refused", {"Sim": dict(card, Refuse=n)})
                  for n in own]
        found.append(("%s refuse every entry" % personality, "refused",
                      {"Sim": dict(card, Refuse=",".join(own))}))
        found += [("%s missing export %s" % (personality, n), "missing export",
                   {"Sim": dict(card, MissingExports=n)}) for n in own]
        found.append(("%s switched off" % personality, "hostile",
                      {"Sim": card, "Overdrive": {"Enabled": "0"}}))
    found += [("scenario " + h, "hostile", {"Sim": {"Scenario": h}}) for h in HOSTILE_PERSONALITIES]
    # The records of fixed size instead of the lists the driver hands out.
    found.append(("Od8CountBeyondRoom fixed records", "missing export",
                  {"Sim": {"Scenario": "Od8CountBeyondRoom",
                           "MissingExports": "ADL2_Overdrive8_Init_SettingX2_Get,"
                                             "ADL2_Overdrive8_Current_SettingX2_Get"}}))
    return found


def scenarios():
    """(name, kind, extra state) of every scenario."""
    found = [("Default", "baseline", {})]
    names = entry_names()
    refusals = names + ["ATIDL_GetODPerformanceLevels/Current", "ATIDL_GetAvivoSettings/7"]
    found += [("refuse " + n, "refused", {"Sim": {"Refuse": n}}) for n in refusals]
    found.append(("refuse every entry", "refused", {"Sim": {"Refuse": ",".join(names)}}))
    found.append(("note every entry", "note", {"Sim": {"Note": ",".join(names)}}))
    hostile = ["LevelsZero", "LevelsNegative", "LevelsMinusOne", "LevelsNine", "LevelsHuge",
               "AdaptersHuge", "AdaptersNegative", "DisplayNullBuffer", "DisplaysHuge",
               "ColdTemperature", "HotTemperature", "RangesInverted", "StepZero",
               "FanRangeInverted", "ColourRangesInverted", "TwoAdapters", "UnmappedDisplay",
               "Undervolted"]
    found += [("scenario " + h, "hostile", {"Sim": {"Scenario": h}}) for h in hostile]
    libraries = ["atipdlxx", "atiadlxx", "atiadlxy", "atiadlxx,atiadlxy",
                 "atipdlxx,atiadlxx,atiadlxy"]
    found += [("missing " + m, "missing library", {"Sim": {"Missing": m}}) for m in libraries]
    found += [("missing export " + n, "missing export", {"Sim": {"MissingExports": n}})
              for n in names]
    return found + personality_scenarios(names)


# One or two of each kind: about two minutes.
QUICK = {"Default", "refuse ATIDL_SetODClockConfig", "refuse every entry", "note every entry",
         "scenario LevelsNine", "scenario RangesInverted", "scenario FanRangeInverted",
         "scenario ColourRangesInverted", "missing atipdlxx,atiadlxx,atiadlxy",
         "missing export ATIDL_SetFanSpeedToDefault", "personality Od8",
         "scenario OdNRangesInverted", "scenario Od8CountBeyondRoom",
         "Od6 refuse ADL2_Overdrive6_State_Set"}


def settings_text():
    """The installed template with manual fan, stored clocks and a hotkey on every action."""
    with open(os.path.join(ROOT, "settings", "RunConfig.dat")) as f:
        text = f.read()
    values = {"GPUFrequency": 850, "GPUVoltage": 1100, "Mem": 1000, "Fan": 55, "SelFan": 0}
    hotkeys = re.findall(r"^\[HotKey\]\n((?:[^\[].*\n)*)", text, re.M)[0].split()
    for i, line in enumerate(hotkeys):
        values[line.split("=")[0]] = CTRL_ALT | (ord("A") + i)
    for key, value in values.items():
        text = re.sub(r"^%s=.*$" % re.escape(key), "%s=%d" % (key, value), text, flags=re.M)
    return text.replace("\n", "\r\n")


def steps():
    out = ["start"]
    for name, code in PAGES:
        out.append("open-%s:%d:%d:0" % (name, WM_APP_NAVIGATE, code))
        if name == "display":
            # Rotation goes through the driver; the other categories change the X screen.
            out.append("rotation:%d:%d:%d" % (WM_APP_SELECT_ITEM, DISPLAY_LIST, ROTATION_CATEGORY))
        # The overclocking page's Apply may show the success message, the display page's the
        # refusal of a mode (after the system's answer, which can come late on a loaded
        # machine): each gets time to appear.
        wait = {"overclock": ":2500", "display": ":1000"}.get(name, "")
        out.append("apply-%s:%d:%d:0%s" % (name, WM_COMMAND, APPLY_BUTTON, wait))
        if name == "overclock":
            out.append("default-overclock:%d:%d:0" % (WM_COMMAND, DEFAULT_BUTTON))
    out += ["hotkey-%d:%d:%d:0" % (i, WM_HOTKEY, i) for i in HOTKEY_IDS]
    return out + ["close"]


NO_RANGE = "1,0,0"
CALL = re.compile(r"^(\w+)\((.*)\) = (-?\d+)$")


def parse_args(text):
    return [a.strip() for a in re.findall(r"\{[^}]*\}|[^,{}]+", text) if a.strip()]


def words(arg):
    return [int(w) for w in arg.strip("{}").split(",") if w.strip()]


def segments(lines):
    """[(label, [lines])]: the log cut at the helper's marks; lines before the first mark belong
    to the start."""
    out = [["start", []]]
    for line in lines:
        if line.startswith("mark "):
            out.append([line[5:], []])
        else:
            out[-1][1].append(line)
    return out


def ints(text, count):
    parts = [int(p) for p in text.split(",")]
    return parts + [0] * (count - len(parts))


def inside(value, low, high):
    return low <= high and low <= value <= high


class Ranges:
    """The ranges the card reported, from its state after the run (a run never changes them).
    A library that never loaded leaves its keys out of the state: no write can be in range."""

    def __init__(self, state):
        od = state.get("Overdrive", {})
        self.engine = ints(od.get("EngineRange", NO_RANGE), 3)
        self.memory = ints(od.get("MemoryRange", NO_RANGE), 3)
        self.vddc = ints(od.get("VddcRange", NO_RANGE), 3)
        self.fan = ints(state.get("Fan", {}).get("Range", NO_RANGE + ",1,0"), 4)
        self.colours = {}
        for section, keys in state.items():
            match = re.match(r"^Adapter(\d+)\.Display(\d+)$", section)
            if not match:
                continue
            adapter = state.get("Adapter%s" % match.group(1), {})
            address = (int(adapter.get("Index", match.group(1))),
                       int(keys.get("LogicalIndex", match.group(2))))
            self.colours[address] = {1: ints(keys.get("Brightness", "0,0,1,0,0"), 5),
                                     2: ints(keys.get("Contrast", "0,0,1,0,0"), 5)}
        # The display library's generations: [Od6] and [OdN] in 10 kHz (and mV), [Od8] one
        # range per setting in its own unit.
        od6, odn = state.get("Od6", {}), state.get("OdN", {})
        self.od6 = {"engine": ints(od6.get("EngineRange", NO_RANGE), 3),
                    "memory": ints(od6.get("MemoryRange", NO_RANGE), 3)}
        self.odn = {"engine": ints(odn.get("EngineRange", NO_RANGE), 3),
                    "memory": ints(odn.get("MemoryRange", NO_RANGE), 3),
                    "vddc": ints(odn.get("VddcRange", NO_RANGE), 3)}
        self.od8 = {int(key[4:]): ints(value, 3) for key, value in state.get("Od8", {}).items()
                    if re.match(r"^Init\d+$", key)}

    def engine_ok(self, clock):
        low, high = self.engine[0], self.engine[1]
        return low <= high and low <= clock <= high + ENGINE_HEADROOM

    def memory_ok(self, clock):
        return inside(clock, self.memory[0], self.memory[1])

    def vddc_ok(self, vddc):
        return inside(vddc, self.vddc[0], self.vddc[1])

    def level_ok(self, engine, memory, vddc):
        return self.engine_ok(engine) and self.memory_ok(memory) and self.vddc_ok(vddc)


def write_faults(name, args, ranges):
    """What is wrong with one write the program sent, or []."""
    if name == "ATIDL_SetODPerformanceLevels":
        record = words(args[1])
        levels = [record[i:i + 3] for i in range(2, len(record), 3)]
        return ["level %d %s" % (i, level) for i, level in enumerate(levels)
                if len(level) == 3 and not ranges.level_ok(*level)]
    if name == "ATIDL_SetODClockConfig":
        record = words(args[1])
        memory, engine = record[2], record[3]
        return [] if ranges.engine_ok(engine) and ranges.memory_ok(memory) else ["clocks"]
    if name == "ATIDL_SetFanSpeed":
        record = words(args[2])
        kind, speed = record[1], record[2]
        low, high = ranges.fan[0:2] if kind == 1 else ranges.fan[2:4]
        return [] if inside(speed, low, high) else ["fan %d (type %d)" % (speed, kind)]
    if name == "ADL_Display_Color_Set":
        adapter, display, kind, value = (int(a) for a in args)
        colour = ranges.colours.get((adapter, display), {}).get(kind)
        if colour is None:
            return ["colour for an unknown display (%d, %d)" % (adapter, display)]
        return [] if inside(value, colour[2], colour[3]) else ["colour %d type %d" % (value, kind)]
    if name == "ATIDL_SetRotationAngle":
        return [] if 0 <= int(args[1]) <= 3 else ["rotation"]
    return adl_write_faults(name, args, ranges)


# The display library's Overdrive writes: (context, adapter, ...) come first in each.
ADL_CLOCK_WRITES = ("ADL2_Overdrive5_ODPerformanceLevels_Set", "ADL2_Overdrive6_State_Set",
                    "ADL2_OverdriveN_SystemClocksX2_Set", "ADL2_OverdriveN_MemoryClocksX2_Set",
                    "ADL2_Overdrive8_Setting_Set")
ADL_FAN_WRITES = ("ADL2_Overdrive5_FanSpeed_Set", "ADL2_Overdrive6_FanSpeed_Set")
ODN_MANUAL = 3
ODN_MAX_LEVELS = 16


def adl_write_faults(name, args, ranges):
    """What is wrong with one Overdrive write to the display library, or []."""
    if name == "ADL2_Overdrive5_ODPerformanceLevels_Set":
        record = words(args[2])
        levels = [record[i:i + 3] for i in range(2, len(record), 3)]
        # No headroom on this path: the reported range is the limit.
        return ["level %d %s" % (i, level) for i, level in enumerate(levels) if len(level) == 3
                and not (inside(level[0], *ranges.engine[:2]) and ranges.memory_ok(level[1])
                         and ranges.vddc_ok(level[2]))]
    if name == "ADL2_Overdrive6_State_Set":
        record = words(args[3])
        levels = [record[i:i + 2] for i in range(3, 3 + 2 * max(record[0], 0), 2)]
        return ["level %d %s" % (i, level) for i, level in enumerate(levels)
                if len(level) != 2 or not (inside(level[0], *ranges.od6["engine"][:2])
                                           and inside(level[1], *ranges.od6["memory"][:2]))]
    if name in ("ADL2_OverdriveN_SystemClocksX2_Set", "ADL2_OverdriveN_MemoryClocksX2_Set"):
        size, mode, count = words(args[2])[:3]
        if not 1 <= count <= ODN_MAX_LEVELS or size != 12 + 16 * count:
            return ["record of %d bytes for %d levels" % (size, count)]
        clocks = ranges.odn["engine" if "System" in name else "memory"]
        levels = [words(args[2])[3 + 4 * i:7 + 4 * i] for i in range(count)]
        return ["level %d %s" % (i, level) for i, level in enumerate(levels)
                if mode == ODN_MANUAL and not (inside(level[0], *clocks[:2])
                                               and inside(level[1], *ranges.odn["vddc"][:2]))]
    if name == "ADL2_Overdrive8_Setting_Set":
        record = words(args[2])
        faults = []
        for setting in range(max(record[0], 0)):
            value, requested, reset = (record[1 + 3 * setting:4 + 3 * setting] + [0, 0, 0])[:3]
            low, high, _ = ranges.od8.get(setting, [1, 0, 0])
            if requested and not reset and not inside(value, low, high):
                faults.append("setting %d = %d" % (setting, value))
        return faults
    if name in ADL_FAN_WRITES:
        record = words(args[-1])
        overdrive5 = name.startswith("ADL2_Overdrive5_")
        kind, speed = (record[1], record[2]) if overdrive5 else (record[0], record[1])
        return [] if kind == 1 and inside(speed, *ranges.fan[0:2]) else ["fan %d" % speed]
    return []


def adl_writes(calls, names):
    """The results of the segment's Overdrive writes to the display library among `names`."""
    return [result for name, _, result in calls if name in names]


# Every Overdrive write, clocks and fan, of either library.
FAN_DEFAULT_WRITES = ("ADL2_Overdrive5_FanSpeedToDefault_Set", "ADL2_Overdrive6_FanSpeed_Reset",
                      "ADL2_OverdriveN_FanControl_Set")


def success_allowed(calls):
    """Whether the segment may show the success message: some Overdrive write was made and every
    one was accepted (a card whose only editable value is its fan may succeed with the fan
    alone; a clock write refused after the levels took, or a memory write refused after the
    engine levels took, is a failure)."""
    results = [result for name, _, result in calls
               if name.startswith(("ATIDL_SetOD", "ATIDL_SetFanSpeed"))
               or name in ADL_CLOCK_WRITES + ADL_FAN_WRITES + FAN_DEFAULT_WRITES]
    return bool(results) and all(result >= 0 for result in results)


def clock_writes_accepted(calls):
    """True when the segment's clock writes were accepted: on the ATIDL path its last clock write
    after an accepted level write, on the display library's every Overdrive write."""
    if adl_writes(calls, ADL_CLOCK_WRITES):
        return all(result >= 0 for result in adl_writes(calls, ADL_CLOCK_WRITES + ADL_FAN_WRITES))
    levels_ok = False
    accepted = False
    for name, _, result in calls:
        if name == "ATIDL_SetODPerformanceLevels":
            levels_ok = result >= 0
            accepted = False
        elif name == "ATIDL_SetODClockConfig":
            accepted = levels_ok and result >= 0
    return accepted


class Outcome:
    def __init__(self, name, kind):
        self.name, self.kind = name, kind
        self.faults = []
        self.writes = 0
        self.successes = 0
        # Clock writes the card accepted from a hotkey: proof that the hotkeys reach the card.
        self.hotkey_clocks = 0


def check_log(outcome, lines, ranges):
    for label, seg in segments(lines):
        calls = []
        boxes = []
        for line in seg:
            match = CALL.match(line)
            if match:
                calls.append((match.group(1), parse_args(match.group(2)), int(match.group(3))))
            elif line.startswith("box "):
                boxes.append(bytes.fromhex(line.split()[2]).decode("utf-8", "replace"))
            elif line.startswith("pages ") and label.startswith("open-"):
                if int(line.split()[2]) != 1:
                    outcome.faults.append("%s: %s pages on screen" % (label, line.split()[2]))
            elif line.startswith(("hang ", "gone ", "nowindow ")):
                outcome.faults.append(line)
        for name, args, _ in calls:
            if name.startswith(("ATIDL_Set", "ADL_Display_Color_Set")) or name in (
                    ADL_CLOCK_WRITES + ADL_FAN_WRITES):
                outcome.writes += 1
                outcome.faults += ["%s: %s %s" % (label, name, f)
                                   for f in write_faults(name, args, ranges)]
        if label.startswith("hotkey-"):
            outcome.hotkey_clocks += sum(
                1 for name, _, result in calls
                if name in ("ATIDL_SetODClockConfig",) + ADL_CLOCK_WRITES and result >= 0)
        accepted = clock_writes_accepted(calls)
        shown = boxes.count(APPLIED)
        outcome.successes += shown
        if shown and not success_allowed(calls):
            outcome.faults.append("%s: success shown without accepted writes" % label)
        if label.startswith("apply-overclock") and accepted and shown != 1:
            outcome.faults.append("%s: accepted writes, %d success messages" % (label, shown))
        expected = (APPLIED, DLL_MESSAGE) + ((UNSUPPORTED,) if label == "apply-display" else ())
        unexpected = [b for b in boxes if b not in expected]
        if unexpected:
            outcome.faults.append("%s: unexpected message %r" % (label, unexpected))


def run_scenario(name, kind, extra, user_copy):
    outcome = Outcome(name, kind)
    reset_sim(extra)
    with open(user_copy, "wb") as f:
        f.write(settings_text().encode("ascii"))
    outcome.faults += drive(steps())[1]
    with open(e2e.prefix_path(SIM_LOG)) as f:
        lines = [line.strip() for line in f if line.strip()]
    check_log(outcome, lines, Ranges(sim_state()))
    return outcome


class HostileDriverSweep(UserCopyCase):
    def test_every_scenario_starts_applies_steps_and_ends_cleanly(self):
        full = os.environ.get("VELMORA_ROBUSTNESS", "quick") == "full"
        # VELMORA_SCENARIO (a regular expression) picks scenarios by name while working on one.
        only = os.environ.get("VELMORA_SCENARIO")
        chosen = [s for s in scenarios()
                  if (re.search(only, s[0]) if only else full or s[0] in QUICK)]
        started = time.time()
        outcomes = []
        for name, kind, extra in chosen:
            began = time.time()
            outcome = run_scenario(name, kind, extra, self.user_copy)
            outcomes.append(outcome)
            print("%-4s %-45s %-15s writes=%-3d successes=%d %.1fs%s" % (
                "ok" if not outcome.faults else "FAIL", name, kind, outcome.writes,
                outcome.successes, time.time() - began,
                "".join("\n       " + f for f in outcome.faults)), flush=True)
        held = sum(1 for o in outcomes if not o.faults)
        kinds = sorted({o.kind for o in outcomes})
        per_kind = ", ".join(
            "%s %d/%d" % (k, sum(1 for o in outcomes if o.kind == k and not o.faults),
                          sum(1 for o in outcomes if o.kind == k)) for k in kinds)
        writes = sum(o.writes for o in outcomes)
        print("FIGURES: hostile driver sweep (%s): %d scenarios, %d held (%s); %d driver writes "
              "checked against the reported ranges; %.0f s" % (
                  "full" if full else "quick", len(outcomes), held, per_kind, writes,
                  time.time() - started), flush=True)

        for baseline in (o for o in outcomes if o.kind == "baseline"):
            self.assertGreater(baseline.successes, 0, "%s showed no success message" % baseline.name)
            self.assertGreater(baseline.hotkey_clocks, 0, "no hotkey reached %s" % baseline.name)
        self.assertEqual([(o.name, o.faults) for o in outcomes if o.faults], [])


if __name__ == "__main__":
    e2e.main()
