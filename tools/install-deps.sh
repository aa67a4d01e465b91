#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Velmora need.
# Does nothing when all of them are present; uses sudo when not run as root.
# The program is 32-bit: Wine runs it only with wine32 from the i386 architecture.
set -euo pipefail

packages=(
    cmake make g++ ninja-build                       # native build
    g++-mingw-w64-i686-posix mingw-w64-tools         # cross build (32-bit Windows)
    g++-mingw-w64-x86-64-posix                       # 64-bit compile check of the same code
    googletest libgtest-dev libgmock-dev             # tests (native package, sources for Windows)
    wine wine64 wine32:i386                          # running the 32-bit program
    xserver-xorg-core xserver-xorg-video-dummy       # a real X server with gamma and modes
    x11-utils x11-xkb-utils xdotool imagemagick      # window queries, keymap, input, screenshots
    fonts-wqy-zenhei                                 # the CJK font the program's fonts map to
    fonts-wqy-microhei                               # the skin generator's label font
    python3 python3-pil                              # skin generator and end-to-end tests
    python3-cryptography                             # signing update manifests, update tests
    pci.ids                                          # PCI ids for the hardware probe's database
    nsis                                             # the installer (make package)
    clang-tidy                                       # static analysis (make tidy)
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

added_arch=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    added_arch=1
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && [ $added_arch -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
# Recommended packages too: the suite was proven on machines that had them (Wine's fonts, etc.).
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
