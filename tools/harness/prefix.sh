#!/usr/bin/env bash
# Creates (once) and refreshes an isolated Wine prefix for running Velmora.
#
#   prefix.sh PREFIX_DIR
#
# Expects DISPLAY and a wineserver-free environment or a running one of this prefix.
# VELMORA_SIM_DIR, when set, names a folder whose DLLs (the simulated adapter) are copied
# where a driver installation puts the 32-bit libraries: syswow64 in a 64-bit prefix (what a
# 32-bit program sees as system32), system32 in a 32-bit one.
#
# A prefix that cannot start a 32-bit program (made before Wine's 32-bit support was installed)
# is deleted and made again, so an existing build folder keeps working.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$1
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
stamp="$prefix/.velmora-prefix"

# The 32-bit system folder of the prefix, as a 32-bit program sees it.
wow_dir() {
    if [ -d "$prefix/drive_c/windows/syswow64" ]; then
        echo "$prefix/drive_c/windows/syswow64"
    else
        echo "$prefix/drive_c/windows/system32"
    fi
}

# True when a 32-bit program of the prefix starts and ends normally.
starts_32bit() {
    local cmd
    cmd="$(wow_dir)/cmd.exe"
    [ -f "$cmd" ] && timeout 60 wine "$cmd" /c exit </dev/null >/dev/null 2>&1
}

if [ -f "$stamp" ] && ! starts_32bit; then
    echo "prefix: $prefix cannot start 32-bit programs; making it again" >&2
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -f "$stamp"
fi

if [ ! -f "$stamp" ]; then
    rm -rf "$prefix"
    mkdir -p "$prefix"
    wineboot -i >/dev/null 2>&1
    wineserver -w

    # The user's shell folders link to the Unix home by default: make them plain folders here.
    user_dir="$prefix/drive_c/users/$(id -un)"
    for folder in Desktop Documents Downloads Music Pictures Videos Templates; do
        if [ -L "$user_dir/$folder" ]; then
            rm -f "$user_dir/$folder"
        fi
        mkdir -p "$user_dir/$folder"
    done

    starts_32bit || { echo "prefix: Wine cannot start 32-bit programs (is wine32 installed?)" >&2; exit 1; }
    touch "$stamp"
fi

# Fonts the program asks for by name (mapped to a CJK font that also has the ℃ sign), and no
# crash dialog that would wait for a person. Imported again whenever the settings change.
settings="$here/prefix-settings.reg"
settings_stamp="$prefix/.velmora-settings"
if [ "$(cat "$settings_stamp" 2>/dev/null)" != "$(md5sum <"$settings")" ]; then
    iconv -f UTF-8 -t UTF-16LE "$settings" | { printf '\xff\xfe'; cat; } \
        >"$prefix/velmora-settings.reg"
    wine regedit /S "$prefix/velmora-settings.reg" >/dev/null 2>&1
    wineserver -w
    md5sum <"$settings" >"$settings_stamp"
fi

if [ -n "${VELMORA_SIM_DIR:-}" ] && [ -d "$VELMORA_SIM_DIR" ]; then
    shopt -s nullglob
    for dll in "$VELMORA_SIM_DIR"/*.dll; do
        cp -f "$dll" "$(wow_dir)/"
    done
fi
