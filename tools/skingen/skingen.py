#!/usr/bin/env python3
"""Draws every skin image of Velmora and writes them, with their resource script, under res/.

    python3 tools/skingen/skingen.py            # res/skin/*, res/SkinImages.rc, res/Velmora.ico
    python3 tools/skingen/skingen.py --sheet    # also the contact sheet and window previews

Needs Python 3 with Pillow (Debian: python3-pil) and the font fonts-wqy-microhei. The output is
committed, so building the program never runs this.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import appicon  # noqa: E402
import controls  # noqa: E402
import keepmode  # noqa: E402
import options  # noqa: E402
import pages  # noqa: E402
import table  # noqa: E402
import theme as t  # noqa: E402
import window  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))


def build():
    """Every image by name; "WaitBtnGif" maps to its list of frames."""
    out = {}
    full = window.full_main()
    out["MainDlg_BKALL"] = full
    out["MainDlg_BKALL_Res"] = window.full_alt()
    out["RbtnBack"] = window.left_start()
    out["LeftBk_Res"] = window.left_plain()
    out["ColorBk"] = window.left_lit()
    out["MAINDLG_BK_CLOCK_RES"] = window.left_clock()
    out["MAINDLG_BK_CLOCK"] = window.left_clock_plain()

    for state, suffix in (("N", "_N"), ("M", "_M"), ("D", "_D")):
        out["MainDlg_Min" + suffix] = window.caption_button("min", state, full)
        out["MainDlg_Close" + suffix] = window.caption_button("close", state, full)
    for kind, key in (("default", "DEFAULT"), ("apply", "APPLY")):
        out["MAINDLG_BTN_CLICK_" + key] = window.action_button(kind, "N", full)
        out["MAINDLG_BTN_CLICK_" + key + "_M"] = window.action_button(kind, "M", full)
        out["MAINDLG_BTN_CLICK_" + key + "_D"] = window.action_button(kind, "D", full)
    out["MAINDLG_BTN_CLICK_OK"] = window.action_button("ok", "N", full)
    out["MAINDLG_BTN_CLICK_OK_M"] = window.action_button("ok", "M", full)
    out["MAINDLG_BTN_OK_D"] = window.action_button("ok", "D", full)
    out["MainBtnList_N"] = window.bar_face("N")
    out["MainBtnList_D"] = window.bar_face("D")

    out["SUBBK3"] = pages.generic(full)
    out["SUBBKQuality"] = pages.display(full)
    out["SUBBKSHORTCUT"] = pages.shortcut(full)
    out["SUBBKHARDWARE"] = pages.hardware(full)
    for i in range(6):
        out["3D_Btn%d" % (i + 1)] = pages.three_d_row(i)
    out["3D_BK_RES1"] = pages.categories(lit=False)
    out["3D_BK_RES2"] = pages.categories(lit=True)
    out["FanSpeedckBk"] = pages.fan_strip()

    labels = (table.THREE_D_ITEMS + table.OVERCLOCK_ITEMS + table.QUALITY_ITEMS + table.NAV_ITEMS
              + table.DISPLAY_ITEMS + table.HARDWARE_ITEMS)
    for name in labels:
        out[name] = controls.label(name, "")
        out[name + "D"] = controls.label(name, "D")
        out[name + "M"] = controls.label(name, "M")
    for name in table.THREE_D_MODES:
        out[name] = controls.label(name, "")
        out[name + "_D"] = controls.label(name, "D")
        out[name + "_M"] = controls.label(name, "M")

    for sign, key in ((-1, "-"), (1, "+")):
        out["CONTROL_%s1" % key] = controls.step_button(sign, "normal")
        out["CONTROL_%s2" % key] = controls.step_button(sign, "off")
        out["CONTROL_%s3" % key] = controls.step_button(sign, "hot")
    out["CONTROL_B1"] = controls.track("empty")
    out["CONTROL_B3"] = controls.track("fill")
    out["CONTROL_B2"] = controls.track("off")
    out["CONTROL_0"] = controls.value_box()
    out["CONTROL__NUM"] = controls.digit_strip()
    out["Setdlg_BtnSel"] = controls.tick("off")
    out["Setdlg_Btn_M"] = controls.tick("hover")
    out["Setdlg_UnBtnSel"] = controls.tick("on")
    out["POINT_N"] = controls.point("N")
    out["POINT_M"] = controls.point("M")
    out["POINT_SEL"] = controls.point("SEL")
    out["SpeedSt_N"] = controls.speed_toggle("N")
    out["SpeedSt_M"] = controls.speed_toggle("M")
    out["SpeedSt_Sl"] = controls.speed_toggle("Sl")
    out["CLOCK_TIP"] = controls.needle()
    out["WaitBtnGif"] = controls.wait_frames()

    setdlg = options.background()
    out["Setdlg_BK"] = setdlg
    for kind, key in (("ok", "OK"), ("del", "DEL")):
        out["Setdlg_" + key] = options.button(kind, "", setdlg)
        out["Setdlg_" + key + "_M"] = options.button(kind, "M", setdlg)
        out["Setdlg_" + key + "_D"] = options.button(kind, "D", setdlg)
    out["Setdlg_Close"] = options.close_button("", setdlg)
    out["Setdlg_Close_M"] = options.close_button("M", setdlg)

    keep = keepmode.background()
    out["ModeKeep_BK"] = keep
    for kind, key in (("keep", "OK"), ("revert", "Back")):
        out["ModeKeep_" + key] = keepmode.button(kind, "N", keep)
        out["ModeKeep_" + key + "_M"] = keepmode.button(kind, "M", keep)
        out["ModeKeep_" + key + "_D"] = keepmode.button(kind, "D", keep)
    return out


def check(images):
    """Every row of the table has an image of its size; the geometry rules hold."""
    problems = []
    for res_id, name, size in table.ROWS:
        img = images.get(name)
        if img is None:
            problems.append("missing %s" % name)
            continue
        frames = img if isinstance(img, list) else [img]
        for f in frames:
            if f.size != size:
                problems.append("%s is %s, not %s" % (name, f.size, size))
    extra = set(images) - {name for _, name, _ in table.ROWS}
    problems += ["not in the table: %s" % n for n in sorted(extra)]
    if len(images["WaitBtnGif"]) != 30:
        problems.append("WaitBtnGif has %d frames" % len(images["WaitBtnGif"]))
    problems += _check_highlight_atlas(images)
    problems += _check_colour_key(images)
    if problems:
        raise SystemExit("skin check failed:\n  " + "\n  ".join(problems))


def _check_highlight_atlas(images):
    """The lit atlas differs from the plain ones only inside the hot regions, and a hover box of
    the bar never shows a neighbouring button lit; the atlases agree wherever the controls
    draw them."""
    problems = []
    lit, plain, clock = images["ColorBk"], images["LeftBk_Res"], images["MAINDLG_BK_CLOCK_RES"]
    start, full = images["RbtnBack"], images["MainDlg_BKALL"]
    lit_px, plain_px, clock_px = lit.load(), plain.load(), clock.load()
    start_px, full_px = start.load(), full.load()
    from paint import poly_mask
    masks = [poly_mask(lit.size, t.bar_polygon(i)).load() for i in range(5)]
    for i in range(5):
        x0, y0, x1, y1 = t.bar_bbox(i)
        for y in range(y0, y1):
            for x in range(x0, x1):
                if lit_px[x, y] != plain_px[x, y] and masks[i][x, y] == 0:
                    owner = [j for j in range(5) if masks[j][x, y] > 0]
                    problems.append("bar box %d shows lit pixel (%d, %d) of %s" %
                                    (i + 1, x, y, owner or "nothing"))
                    break
    for name, a, b, boxes in (
            ("start atlas", plain_px, start_px, [(16, 120, 136, 202), (95, 260, 298, 327)]),
            ("page atlas", clock_px, full_px, [(16, 120, 136, 202), (95, 260, 298, 327)]),
            ("pod and bar", plain_px, clock_px, [t.nav_rect(i) for i in range(4)]
             + [t.bar_bbox(i) for i in range(5)])):
        bad = 0
        for x0, y0, x1, y1 in boxes:
            for y in range(y0, y1):
                for x in range(x0, x1):
                    if a[x, y] != b[x, y]:
                        bad += 1
        if bad:
            problems.append("%s: %d pixels differ" % (name, bad))
    return problems


def _check_colour_key(images):
    problems = []
    for name, img in images.items():
        if not name.startswith("Setdlg_") or name == "Setdlg_BK":
            continue
        if any(px[:3] == (0, 0, 0) for px in img.getdata()):
            problems.append("%s uses the colour key black" % name)
    bk = images["Setdlg_BK"]
    inside = options._shape().point(lambda v: 255 if v >= 128 else 0)
    for (r, g, b, *_), m in zip(bk.getdata(), inside.getdata()):
        if m and (r, g, b) == (0, 0, 0):
            problems.append("Setdlg_BK has key black inside its shape")
            break
        if not m and (r, g, b) != (0, 0, 0):
            problems.append("Setdlg_BK is not key black outside its shape")
            break
    return problems


def write(images, res_dir):
    skin_dir = os.path.join(res_dir, "skin")
    os.makedirs(skin_dir, exist_ok=True)
    for res_id, name, _ in table.ROWS:
        path = os.path.join(skin_dir, table.file_name(res_id))
        img = images[name]
        if isinstance(img, list):
            controls.save_gif(img, path)
            continue
        if img.getchannel("A").getextrema() == (255, 255):
            img = img.convert("RGB")
        img.save(path, "PNG", optimize=True)
    lines = ["// Generated by tools/skingen/skingen.py: every skin image, one \"RES_PNG\" resource",
             "// each; a file is named after the image (skin/core/SkinImageTable.cpp pairs the",
             "// names with the resource ids).",
             "#pragma code_page(65001)",
             "LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED", ""]
    for res_id, name, size in sorted(table.ROWS):
        lines.append('%d RES_PNG "res/skin/%s"' % (res_id, table.file_name(res_id)))
    with open(os.path.join(res_dir, "SkinImages.rc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    appicon.write_ico(os.path.join(res_dir, "Velmora.ico"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--res", default=os.path.join(ROOT, "res"), help="output folder")
    parser.add_argument("--sheet", action="store_true",
                        help="also write the contact sheet and previews next to this script")
    args = parser.parse_args()
    images = build()
    check(images)
    write(images, args.res)
    total = sum(os.path.getsize(os.path.join(args.res, "skin", table.file_name(r)))
                for r, _, _ in table.ROWS)
    print("%d images, %d bytes" % (len(table.ROWS), total))
    if args.sheet:
        import sheet
        sheet.write_all(images, HERE)


if __name__ == "__main__":
    main()
