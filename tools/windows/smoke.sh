#!/bin/bash
# Builds tools/windows/smoke against the dependency cache and runs it under
# Wine, headless:
#
#   tools/windows/smoke.sh [CACHE]
#
# Fails when the program does not build, imports a DLL that is not Windows'
# own, or does not synthesise speech. Run tools/windows/deps.sh first.
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "$0")" && pwd)
cache=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/sluggerwood-windows}
jobs=${SW_JOBS:-2}

die() {
    echo "smoke.sh: $*" >&2
    exit 1
}
say() { echo "smoke.sh: $*"; }

[ -d "$cache" ] || die "no cache at $cache: run tools/windows/deps.sh first"
cache=$(cd "$cache" && pwd)
prefix=$cache/prefix
data=$prefix/share/espeak-ng-data
for f in "$cache/stamps/sdl2" "$cache/stamps/espeak-ng" "$data/phondata"; do
    [ -e "$f" ] || die "the cache lacks $f: run tools/windows/deps.sh first"
done

b=$cache/build/smoke
start=$SECONDS
cmake -S "$here/smoke" -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain-mingw64.cmake" \
    -DSW_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release >"$cache/smoke-configure.log" ||
    die "configuration failed (see $cache/smoke-configure.log)"
cmake --build "$b" -j "$jobs" >"$cache/smoke-build.log" || die "build failed (see $cache/smoke-build.log)"
exe=$b/smoke.exe
x86_64-w64-mingw32-strip -o "$b/smoke-stripped.exe" "$exe"
say "built in $((SECONDS - start)) s: $(stat -c %s "$exe") bytes, $(stat -c %s "$b/smoke-stripped.exe") stripped"

# Only Windows' own DLLs may be imported: nothing of mingw's runtime, nor of
# SDL2 or espeak-ng, has to travel beside the program.
system_dlls=(kernel32 user32 gdi32 winmm imm32 ole32 oleaut32 version advapi32 setupapi shell32 msvcrt
             dinput8 cfgmgr32)
is_system_dll() {
    local name=${1,,} d
    for d in "${system_dlls[@]}"; do [ "$name" = "$d.dll" ] && return 0; done
    return 1
}
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || die "objdump found no imports in $exe"
say "imports: $(echo $imports)"
for dll in $imports; do
    is_system_dll "$dll" || die "$exe imports $dll, which is not a Windows system DLL"
done

source "$here/wine-env.sh"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
wine_ready || die "no Wine prefix"
out=$cache/smoke-out.txt
err=$cache/smoke-err.txt
windata=$(winepath -w "$data" 2>/dev/null) || die "winepath could not name $data"
start_ns=$(date +%s%N)
status=0
wine "$exe" "$windata" >"$out" 2>"$err" || status=$?
ms=$((($(date +%s%N) - start_ns) / 1000000))
wine_done
cat "$out"
[ -s "$err" ] && sed 's/^/  stderr: /' "$err"
[ "$status" -eq 0 ] || die "smoke.exe ended with status $status under Wine"
grep -q '^SDL 2\.' "$out" || die "no SDL version in the output ($out)"
grep -Eq '^samples [1-9][0-9]* at [0-9]+ Hz' "$out" || die "no speech synthesised ($out)"
say "ran under Wine in $ms ms (with the data folder $windata)"

# The data folder given is the one used: with a folder that does not exist,
# espeak-ng must fail to start rather than find data somewhere else.
status=0
wine "$exe" 'C:\no such folder\espeak-ng-data' >"$out" 2>"$err" || status=$?
wine_done
[ "$status" -eq 1 ] && grep -q '^espeak_Initialize failed' "$err" ||
    die "smoke.exe did not fail as it should with a missing data folder (status $status, see $err)"
say "with a missing data folder it fails as it should"
