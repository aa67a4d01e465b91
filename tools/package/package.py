#!/usr/bin/env python3
"""Builds the two release artefacts from a finished build: the installer
Velmora-<version>-setup.exe (NSIS) and the portable Velmora-<version>-portable.zip. Both hold
exactly the files program-files.txt lists; the version is read from Velmora.exe's version
resource.

    package.py BIN_DIR OUT_DIR --package-build FOLDER

The program and its update library come from the package build in FOLDER (made by
tools/package/CMakeLists.txt, never the development build, whose library trusts the test key);
every other file from BIN_DIR. What the package's update check does is printed with the
artefacts.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "harness"))
import pe_image  # noqa: E402

RT_VERSION = 16
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)
# The files a package build makes differently from the development build, and what it says about
# its update check.
PACKAGE_BUILD_FILES = ("Velmora.exe", "update/versync.dll")
UPDATE_CHECK_NOTE = "update-check.txt"


def program_files():
    """(file in the build, place in the program folder) for every file of the program."""
    files = []
    with open(os.path.join(HERE, "program-files.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                source, target = line.split()
                files.append((source, target))
    return files


def program_version(exe):
    """The file version of the version resource: (major, minor, build, revision)."""
    resource = pe_image.PeImage(exe).resource(RT_VERSION, 1)
    if resource is None:
        raise SystemExit("%s has no version resource" % exe)
    at = resource.find(FIXED_FILE_INFO_SIGNATURE)
    if at < 0:
        raise SystemExit("%s: no fixed file information in its version resource" % exe)
    most, least = struct.unpack_from("<II", resource, at + 8)
    return most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF


def nsis_file_lists(files, version, out_file):
    """The defines and the two file macros the installer script includes."""
    lines = [
        '!define VERSION "%d.%d.%d"' % version[:3],
        '!define VERSION4 "%d.%d.%d.%d"' % version,
        '!define OUT_FILE "%s"' % out_file,
        '!define ICON "%s"' % os.path.join(ROOT, "res", "Velmora.ico"),
        "!macro VelmoraInstallFiles",
    ]
    for source, target in files:
        folder, _, name = target.rpartition("\\")
        lines.append('    SetOutPath "$INSTDIR%s"' % ("\\" + folder if folder else ""))
        lines.append('    File "/oname=%s" "%s"' % (name, source))
    lines.append('    SetOutPath "$INSTDIR"')
    lines.append("!macroend")
    lines.append("!macro VelmoraRemoveFiles")
    for _, target in files:
        lines.append('    Delete "$INSTDIR\\%s"' % target)
    lines.append("!macroend")
    return "\n".join(lines) + "\n"


def built_files(bin_dir, package_build):
    """(full path of the built file, place in the program folder) for every file of the
    program: the package build's own files from package_build, the others from bin_dir."""
    return [(os.path.join(package_build if source in PACKAGE_BUILD_FILES else bin_dir, source),
             target) for source, target in program_files()]


def build(bin_dir, out_dir, package_build):
    files = built_files(bin_dir, package_build)
    missing = [source for source, _ in files if not os.path.isfile(source)]
    if missing:
        raise SystemExit("not built: %s" % ", ".join(missing))
    with open(os.path.join(package_build, UPDATE_CHECK_NOTE), encoding="utf-8") as f:
        update_check = f.read().strip()
    version = program_version(os.path.join(package_build, "Velmora.exe"))
    os.makedirs(out_dir, exist_ok=True)
    stem = "Velmora-%d.%d.%d" % version[:3]
    installer = os.path.join(out_dir, stem + "-setup.exe")
    portable = os.path.join(out_dir, stem + "-portable.zip")

    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "velmora-files.nsh"), "w", encoding="utf-8") as f:
            f.write(nsis_file_lists(files, version, installer))
        shutil.copy(os.path.join(HERE, "Velmora.nsi"), work)
        subprocess.run(["makensis", "-V2", "-INPUTCHARSET", "UTF8",
                        os.path.join(work, "Velmora.nsi")], check=True)

    with zipfile.ZipFile(portable + ".part", "w", zipfile.ZIP_DEFLATED) as archive:
        for source, target in files:
            archive.write(source, "Velmora/" + target.replace("\\", "/"))
    os.replace(portable + ".part", portable)
    print(installer)
    print(portable)
    print("update check: " + update_check)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("bin_dir")
    parser.add_argument("out_dir")
    parser.add_argument("--package-build", required=True, metavar="FOLDER")
    args = parser.parse_args()
    build(os.path.abspath(args.bin_dir), os.path.abspath(args.out_dir),
          os.path.abspath(args.package_build))


if __name__ == "__main__":
    main()
