#!/bin/bash
# Cross-builds the SAPI speech engine and its tests with mingw-w64 and runs
# them under Wine, headless, without the project's build:
#
#   tools/windows/sapi-check.sh [--real] [CACHE]
#
# --real also runs a small program against the SAPI Wine has (what it lists,
# and that the voice list falls back to the built-in voice).
# CACHE (default ${XDG_CACHE_HOME:-$HOME/.cache}/sluggerwood-sapi) keeps the
# compiled GoogleTest and a Wine prefix of its own.
set -euo pipefail
export LC_ALL=C

real=0
if [ "${1:-}" = --real ]; then
    real=1
    shift
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/sluggerwood-sapi}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

die() {
    echo "sapi-check.sh: $*" >&2
    exit 1
}
say() { echo "sapi-check.sh: $*"; }

cxx=x86_64-w64-mingw32-g++-posix
flags=(-std=c++20 -O1 -Wall -Wextra -Wpedantic -Werror -I"$root/src")
gtest=/usr/src/googletest/googletest
start=$SECONDS

if [ ! -e "$cache/gtest/libgtest.a" ]; then
    mkdir -p "$cache/gtest"
    for f in gtest-all gtest_main; do
        $cxx -std=c++20 -O1 -I"$gtest/include" -I"$gtest" -c "$gtest/src/$f.cc" -o "$cache/gtest/$f.o" ||
            die "GoogleTest did not build"
    done
    x86_64-w64-mingw32-ar rcs "$cache/gtest/libgtest.a" "$cache/gtest/gtest-all.o" "$cache/gtest/gtest_main.o"
fi

b=$cache/build
mkdir -p "$b"
$cxx "${flags[@]}" -c "$root/src/host/win/sapi_engine.cpp" -o "$b/sapi_engine.o" || die "the engine did not build"
$cxx "${flags[@]}" -I"$gtest/include" -c "$root/tests/host/win/sapi_engine_test.cpp" -o "$b/sapi_engine_test.o" ||
    die "the test did not build"
libs=(-lole32 -luuid)
$cxx -static -o "$b/sapi_engine_test.exe" "$b/sapi_engine_test.o" "$b/sapi_engine.o" "$cache/gtest/libgtest.a" \
    "${libs[@]}" || die "the test did not link"
if [ $real = 1 ]; then
    $cxx "${flags[@]}" -static -o "$b/sapi_real.exe" "$here/sapi_real.cpp" "$b/sapi_engine.o" "${libs[@]}" ||
        die "the real check did not build"
fi
say "built in $((SECONDS - start)) s"

source "$here/wine-env.sh"
wine_ready || die "no Wine prefix"
start_ns=$(date +%s%N)
status=0
wine "$b/sapi_engine_test.exe" >"$b/test-out.txt" 2>"$b/test-err.txt" || status=$?
wine_done
ms=$((($(date +%s%N) - start_ns) / 1000000))
tr -d '\r' <"$b/test-out.txt" >"$b/test-out.log"
tail -n 3 "$b/test-out.log"
# A test program that crashes under Wine may still end with status 0: the
# verdict is GoogleTest's own last line.
if [ "$status" -ne 0 ] || ! grep -q '^\[  PASSED  \] [0-9]* tests\.$' "$b/test-out.log" ||
    grep -q '^\[  FAILED  \]' "$b/test-out.log"; then
    grep -E "Failure|FAILED" -A 6 "$b/test-out.log" | head -60 || true
    head -20 "$b/test-err.txt"
    die "the tests failed under Wine (status $status, see $b/test-out.log)"
fi
say "tests passed under Wine in $ms ms"

if [ $real = 1 ]; then
    status=0
    wine "$b/sapi_real.exe" >"$b/real-out.txt" 2>"$b/real-err.txt" || status=$?
    wine_done
    say "real SAPI under Wine (status $status):"
    sed 's/^/  out: /' "$b/real-out.txt"
    sed 's/^/  err: /' "$b/real-err.txt"
fi
