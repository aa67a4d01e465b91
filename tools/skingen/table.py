"""The skin image table: resource id, image name and pixel size of every picture.

The rows are in the order the program registers them; ids are the "RES_PNG" resource ids.
"""


def _labels(first_id, names, suffix_d, suffix_m, size=(98, 17), ids=None):
    """One label family: the normal faces, then the "D" faces, then the "M" faces."""
    n = len(names)
    if ids is None:
        ids = list(range(first_id, first_id + 3 * n))
    rows = []
    for i, name in enumerate(names):
        rows.append((ids[i], name, size))
    for i, name in enumerate(names):
        rows.append((ids[n + i], name + suffix_d, size))
    for i, name in enumerate(names):
        rows.append((ids[2 * n + i], name + suffix_m, size))
    return rows


THREE_D_ITEMS = ["标准设置", "取消重叠", "只适应消除重叠", "各向异形过滤", "Catalyst A.L.", "Mipmap详细度"]
OVERCLOCK_ITEMS = ["GPU核心频率", "GPU电压", "风扇转速", "MEM频率"]
QUALITY_ITEMS = ["标准模式", "办公模式", "游戏模式", "图片浏览"]
NAV_ITEMS = ["画质调节", "3D设置", "超频设置"]
DISPLAY_ITEMS = ["桌面区域", "颜色质量", "刷新率", "旋转"]
HARDWARE_ITEMS = ["显卡名称", "BIOS日期", "显存大小", "显存类型", "核心时钟频率", "显存时钟频率",
                  "显卡厂商", "驱动程序版本"]
THREE_D_MODES = ["3D_办公模式", "3D_高清娱乐", "3D_3D游戏"]

LEFT = (380, 328)
FULL = (800, 328)

ROWS = (
    [(303, "SpeedSt_N", (30, 12)), (304, "SpeedSt_Sl", (30, 12)), (305, "SpeedSt_M", (30, 12)),
     (302, "WaitBtnGif", (100, 7)), (290, "CLOCK_TIP", (23, 80))]
    + _labels(160, THREE_D_ITEMS, "D", "M")
    + _labels(178, OVERCLOCK_ITEMS, "D", "M")
    + _labels(190, QUALITY_ITEMS, "D", "M")
    + _labels(203, NAV_ITEMS, "D", "M")
    + _labels(212, DISPLAY_ITEMS, "D", "M")
    + _labels(224, HARDWARE_ITEMS, "D", "M",
              ids=list(range(224, 240)) + list(range(241, 249)))
    + _labels(264, THREE_D_MODES, "_D", "_M")
    + [(297, "3D_BK_RES1", (99, 145)), (298, "3D_BK_RES2", (99, 145))]
    + [(291 + i, "3D_Btn%d" % (i + 1), (265, 18)) for i in range(6)]
    + [(278, "Setdlg_Close", (20, 21)), (279, "Setdlg_Close_M", (20, 21)),
       (280, "Setdlg_BtnSel", (14, 14)), (281, "Setdlg_Btn_M", (14, 14)),
       (282, "Setdlg_UnBtnSel", (14, 14)), (283, "Setdlg_BK", (264, 328)),
       (284, "Setdlg_OK", (98, 17)), (285, "Setdlg_OK_M", (98, 17)), (286, "Setdlg_OK_D", (98, 17)),
       (287, "Setdlg_DEL", (98, 17)), (288, "Setdlg_DEL_M", (98, 17)),
       (289, "Setdlg_DEL_D", (98, 17)),
       (306, "ModeKeep_BK", (300, 132)),
       (307, "ModeKeep_OK", (98, 25)), (308, "ModeKeep_OK_M", (98, 25)),
       (309, "ModeKeep_OK_D", (98, 25)),
       (310, "ModeKeep_Back", (98, 25)), (311, "ModeKeep_Back_M", (98, 25)),
       (312, "ModeKeep_Back_D", (98, 25)),
       (301, "FanSpeedckBk", (180, 18)),
       (273, "POINT_N", (10, 10)), (274, "POINT_M", (10, 10)), (275, "POINT_SEL", (10, 10)),
       (276, "CONTROL_0", (30, 15)), (277, "CONTROL__NUM", (72, 15)),
       (255, "CONTROL_-1", (18, 10)), (256, "CONTROL_-2", (18, 10)), (257, "CONTROL_-3", (18, 10)),
       (258, "CONTROL_+1", (18, 17)), (259, "CONTROL_+2", (18, 17)), (260, "CONTROL_+3", (18, 17)),
       (261, "CONTROL_B1", (182, 23)), (262, "CONTROL_B3", (182, 23)),
       (263, "CONTROL_B2", (182, 23)),
       (251, "SUBBKHARDWARE", (268, 178)), (252, "SUBBKQuality", (268, 178)),
       (253, "SUBBK3", (268, 178)), (254, "SUBBKSHORTCUT", (268, 178)),
       (250, "MAINDLG_BK_CLOCK_RES", LEFT), (249, "MAINDLG_BK_CLOCK", LEFT),
       (145, "MAINDLG_BTN_CLICK_OK_M", (63, 25)),
       (146, "MAINDLG_BTN_CLICK_APPLY", (82, 25)), (147, "MAINDLG_BTN_CLICK_APPLY_D", (82, 25)),
       (148, "MAINDLG_BTN_CLICK_APPLY_M", (82, 25)),
       (149, "MAINDLG_BTN_CLICK_DEFAULT", (82, 25)),
       (150, "MAINDLG_BTN_CLICK_DEFAULT_D", (82, 25)),
       (151, "MAINDLG_BTN_CLICK_DEFAULT_M", (82, 25)),
       (152, "MAINDLG_BTN_CLICK_OK", (63, 25)), (153, "MAINDLG_BTN_OK_D", (63, 25)),
       (142, "MainDlg_BKALL_Res", FULL), (141, "MainDlg_BKALL", FULL),
       (300, "ColorBk", LEFT), (140, "LeftBk_Res", LEFT), (129, "RbtnBack", LEFT),
       (154, "MainDlg_Min_N", (23, 19)), (159, "MainDlg_Min_M", (23, 19)),
       (158, "MainDlg_Min_D", (23, 19)), (157, "MainDlg_Close_N", (23, 19)),
       (156, "MainDlg_Close_M", (23, 19)), (155, "MainDlg_Close_D", (23, 19)),
       (139, "MainBtnList_N", (70, 26)), (138, "MainBtnList_D", (70, 26))]
)

GIF_ID = 302


def file_name(res_id):
    """The file under res/skin/ that holds the picture of one resource id: its image name."""
    name = next(n for r, n, _ in ROWS if r == res_id)
    return "%s.%s" % (name, "gif" if res_id == GIF_ID else "png")


def check():
    ids = [r[0] for r in ROWS]
    names = [r[1] for r in ROWS]
    assert len(ROWS) == 171, len(ROWS)
    assert len(set(ids)) == 171 and len(set(names)) == 171
    gaps = set(range(130, 138)) | {143, 144, 202, 240, 299}
    assert set(ids) == set(range(129, 313)) - gaps
    # Image names are file names: unique also where file names ignore case.
    assert len({n.lower() for n in names}) == 171


check()
