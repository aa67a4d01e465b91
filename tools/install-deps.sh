#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Velmora need.
# Does nothing when all of them are present; uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake make g++ ninja-build                       # native build
    g++-mingw-w64-x86-64-posix mingw-w64-tools       # cross build
    googletest libgtest-dev libgmock-dev             # tests (native package, sources for Windows)
    wine wine64                                      # running the program
    xserver-xorg-core xserver-xorg-video-dummy       # a real X server with gamma and modes
    x11-utils xdotool imagemagick                    # window queries, input, screenshots
    fonts-wqy-zenhei                                 # the CJK font the program's fonts map to
    fonts-wqy-microhei                               # the skin generator's label font
    python3 python3-pil                              # skin generator and end-to-end tests
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
