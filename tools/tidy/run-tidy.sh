#!/usr/bin/env bash
# `make tidy`: clang-tidy with the checks of .clang-tidy over our own C++ in both builds, failing
# on any finding.
#
#   tools/tidy/run-tidy.sh BUILD_DIR [JOBS]
#
# - The native build's compile commands: every core/ folder, the libraries' cores, the simulated
#   adapter's core and the native tests.
# - The cross build's compile commands for the rest (the Windows code of the program, its
#   libraries, the simulated adapter, the Windows tests and tools): clang parses it for the
#   i686 MinGW target, with the cross compiler's own C++ headers (clang does not find the
#   "12-posix" GCC folder by itself) and MinGW's Windows headers. core/ files are left to the
#   native pass, which compiles them for the host they are tested on.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
jobs=${2:-$(nproc)}
tidy=${CLANG_TIDY:-clang-tidy}
runner=${RUN_CLANG_TIDY:-run-clang-tidy}
cross=${CROSS_CXX:-i686-w64-mingw32-g++-posix}

for db in "$build/native/compile_commands.json" "$build/win/compile_commands.json"; do
    if [ ! -f "$db" ]; then
        echo "tidy: $db is missing (make build writes it)" >&2
        exit 2
    fi
done

# Our sources only: under the repository, outside any build folder.
ours="^$root/(?!build[^/]*/)"
status=0

echo "== clang-tidy: native build"
"$runner" -clang-tidy-binary "$(command -v "$tidy")" -p "$build/native" -j "$jobs" -quiet \
    "${ours}.*\\.cpp$" || status=1

echo "== clang-tidy: cross build (i686 MinGW target)"
cross_args=(-extra-arg=--target=i686-w64-mingw32 -extra-arg=-nostdinc++)
while read -r dir; do
    cross_args+=("-extra-arg=-isystem$dir")
done < <(echo | "$cross" -xc++ -E -v - 2>&1 |
         sed -n '/#include <...> search starts here/,/End of search list/p' | grep '/c++' |
         sed 's/^ *//')
"$runner" -clang-tidy-binary "$(command -v "$tidy")" -p "$build/win" -j "$jobs" -quiet \
    "${cross_args[@]}" "${ours}(?!.*/core/).*\\.cpp$" || status=1

if [ "$status" -ne 0 ]; then
    echo "tidy: findings above" >&2
else
    echo "tidy: clean"
fi
exit "$status"
