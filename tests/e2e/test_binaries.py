"""What is built for Windows is 32-bit throughout, and every library exports its entries under
the plain names the program looks up (no stdcall decoration)."""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "harness"))
import pe_image  # noqa: E402
import velmora_e2e as e2e  # noqa: E402

ATIDL_ENTRIES = [
    "ATIDL_GetODParameters", "ATIDL_GetODPerformanceLevels", "ATIDL_SetODPerformanceLevels",
    "ATIDL_GetODClockInfo", "ATIDL_SetODClockConfig", "ATIDL_GetTemperature",
    "ATIDL_GetFanSpeedInfo", "ATIDL_GetFanSpeed", "ATIDL_SetFanSpeed",
    "ATIDL_SetFanSpeedToDefault", "ATIDL_GetAvivoSettings", "ATIDL_SetRotationAngle"]
ADL_ENTRIES = [
    "ADL_Main_Control_Create", "ADL_Main_Control_Destroy", "ADL_Adapter_NumberOfAdapters_Get",
    "ADL_Adapter_AdapterInfo_Get", "ADL_Display_DisplayInfo_Get", "ADL_Display_ColorCaps_Get",
    "ADL_Display_Color_Get", "ADL_Display_Color_Set"]
UPDATE_ENTRIES = [
    "UCSetProcessRootPath", "UCSetProcessFileName", "UCSetUpdateRootPath", "UCSetUpdateFileName",
    "UCSetUpdateCfgFileName", "UCSetSoftwareMark", "UCSetUnionID", "UCSetMachineId",
    "UCSetUpdateServer", "UCManualVersync", "UCAutoVersync", "UCStopVersync"]

GFXPROBE_ENTRIES = ["HWInit", "HWGetDisplayNumber", "HWGetDisplayInfos", "HWClose"]

LIBRARIES = {
    "sim/atipdlxx.dll": ATIDL_ENTRIES,
    "sim/atiadlxx.dll": ADL_ENTRIES,
    "sim/atiadlxy.dll": ADL_ENTRIES,
    "MachineId.dll": ["MIGetIdentify"],
    "standin/full/versync.dll": UPDATE_ENTRIES,
    "update/versync.dll": UPDATE_ENTRIES,
    "GfxProbe.dll": GFXPROBE_ENTRIES,
    "standin/gfxprobe-controlled/GfxProbe.dll": GFXPROBE_ENTRIES,
}


def built_files():
    root = e2e.bin_path("")
    for folder, _, files in os.walk(root):
        for name in files:
            if name.lower().endswith((".exe", ".dll")):
                yield os.path.relpath(os.path.join(folder, name), root)


class ThirtyTwoBit(unittest.TestCase):
    def test_every_program_and_library_is_pe32(self):
        files = list(built_files())
        self.assertIn("Velmora.exe", files)
        wrong = [f for f in files if not pe_image.PeImage(e2e.bin_path(f)).is_pe32]
        self.assertEqual(wrong, [], "not 32-bit x86 images")

    def test_the_manifest_names_the_32_bit_architecture(self):
        manifest = pe_image.PeImage(e2e.bin_path("Velmora.exe")).resource(pe_image.RT_MANIFEST, 1)
        self.assertIsNotNone(manifest, "Velmora.exe has no application manifest")
        text = manifest.decode("utf-8")
        identity = re.search(r'<assemblyIdentity[^>]*name="Velmora"[^>]*>', text)
        self.assertIsNotNone(identity)
        self.assertIn('processorArchitecture="x86"', identity.group(0))


class PlainExportNames(unittest.TestCase):
    def test_libraries_export_what_the_program_looks_up_undecorated(self):
        for library, entries in LIBRARIES.items():
            with self.subTest(library=library):
                exports = pe_image.PeImage(e2e.bin_path(library)).exports()
                self.assertEqual([n for n in exports if "@" in n], [])
                self.assertEqual([n for n in entries if n not in exports], [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
