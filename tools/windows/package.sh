#!/bin/bash
# Cross-builds the Windows edition and packs it into a zip:
#
#   tools/windows/package.sh [CACHE]
#
# CACHE is the dependency cache tools/windows/deps.sh made (default
# ${XDG_CACHE_HOME:-$HOME/.cache}/sluggerwood-windows). The programs are
# built without the tests in build-windows/ and stripped; the zip holds one
# folder, Sluggerwood/, laid out as the programs look for their files:
#
#   baseball.exe, batting.exe, vellobar.exe
#   sounds/          the wave set          (beside the programs, as in the
#   defaults/        the default files      build folder)
#   espeak-ng-data/  the speech engine's data, from the cache
#   README.txt       for Windows players, CR LF lines
#
# A program that imports a DLL Windows does not have of its own fails the
# build: nothing travels beside the programs. The last line printed is the
# zip's path. The same sources give the same list of files, in the same
# order, with the same times and bytes (SOURCE_DATE_EPOCH).
set -euo pipefail
export LC_ALL=C TZ=UTC

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/sluggerwood-windows}
jobs=${SW_JOBS:-$(nproc)}

die() {
    echo "package.sh: $*" >&2
    exit 1
}
say() { echo "package.sh: $*"; }

[ -d "$cache" ] || die "no cache at $cache: run tools/windows/deps.sh first"
cache=$(cd "$cache" && pwd)
prefix=$cache/prefix
speechdata=$prefix/share/espeak-ng-data
for f in "$cache/stamps/sdl2" "$cache/stamps/espeak-ng" "$speechdata/phondata"; do
    [ -e "$f" ] || die "the cache lacks $f: run tools/windows/deps.sh first"
done

version=$(sed -n 's/^project(Sluggerwood VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || die "no project version in $root/CMakeLists.txt"
programs=(baseball batting vellobar)
top=Sluggerwood

# The time every file and program is stamped with (the linker and strip
# read it too): the caller's, else the last commit's, else a fixed day.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)
    [ -n "$SOURCE_DATE_EPOCH" ] || SOURCE_DATE_EPOCH=$(date -d 2026-01-01 +%s)
fi
export SOURCE_DATE_EPOCH

# ------------------------------------------------------------------- build
# RelWithDebInfo, as the Windows tests are built, then stripped below.
build=$root/build-windows
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSW_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$here/toolchain-mingw64.cmake" -DSW_WINDOWS_PREFIX="$prefix" >/dev/null ||
    die "the configuration of $build failed"
cmake --build "$build" -j "$jobs" --target "${programs[@]}" || die "the build in $build failed"

# ---------------------------------------------------------------- imports
# Windows' own DLLs, present on every Windows the edition runs on. Anything
# else (mingw's runtime, SDL2, espeak-ng) must be linked in statically.
system_dlls=(kernel32 user32 gdi32 winmm imm32 ole32 oleaut32 version advapi32 setupapi shell32 msvcrt
             dinput8 cfgmgr32 shlwapi comdlg32 comctl32 ws2_32 hid dsound dxgi)
is_system_dll() {
    local name=${1,,} d
    case "$name" in api-ms-win-*.dll) return 0 ;; esac
    for d in "${system_dlls[@]}"; do [ "$name" = "$d.dll" ] && return 0; done
    return 1
}
check_imports() { # exe
    local exe=$1 imports dll foreign=()
    imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p') ||
        die "objdump could not read $exe"
    [ -n "$imports" ] || die "objdump found no imports in $exe"
    for dll in $imports; do
        is_system_dll "$dll" || foreign+=("$dll")
    done
    if [ ${#foreign[@]} -ne 0 ]; then
        echo "package.sh: $(basename "$exe") imports ${foreign[*]}, which Windows does not have of its own." >&2
        echo "package.sh: link it statically (see tools/windows/toolchain-mingw64.cmake); no DLL may travel" \
             "beside the programs." >&2
        exit 1
    fi
    echo $imports
}

# ------------------------------------------------------------------ stage
stage=$build/zip
dest=$stage/$top
rm -rf "$stage"
mkdir -p "$dest/sounds" "$dest/defaults"
for p in "${programs[@]}"; do
    x86_64-w64-mingw32-strip -o "$dest/$p.exe" "$build/$p.exe" || die "could not strip $build/$p.exe"
    # On a line of its own: a failure inside an argument would go unnoticed.
    imports=$(check_imports "$dest/$p.exe")
    say "$p.exe: $(stat -c %s "$dest/$p.exe") bytes stripped; imports $imports"
done

# Only the wave files are read at run time; the manifest is built into the
# programs.
cp "$root"/sounds/*.wav "$dest/sounds/"
cp "$root"/defaults/*.txt "$dest/defaults/"
cp -r "$speechdata" "$dest/espeak-ng-data"
# The source has LF lines; Notepad before Windows 10 wants CR LF.
sed 's/\r*$/\r/' "$root/packaging/windows/README.txt" >"$dest/README.txt"

# The same permissions and times for every build.
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
chmod 755 "$dest"/*.exe
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# -------------------------------------------------------------------- zip
zipfile=$build/Sluggerwood-$version-windows-x64.zip
rm -f "$zipfile"
# Folders before their files, in byte order; -X leaves out Unix owners and
# extra time stamps.
(cd "$stage" && find "$top" -print | sort | zip -X -q -9 -@ "$zipfile") || die "zip failed"

# What the zip must hold, and what it must not.
listing=$(unzip -Z1 "$zipfile") || die "cannot list $zipfile"
for f in "${programs[@]/%/.exe}" README.txt sounds/ defaults/ espeak-ng-data/phondata \
    defaults/baseball.txt defaults/baseballrules.txt defaults/baseballbatters.txt \
    defaults/baseballstartingpitchers.txt defaults/baseballreliefpitchers.txt; do
    grep -qxF "$top/$f" <<<"$listing" || die "$zipfile lacks $top/$f"
done
waves=$(grep -c "^$top/sounds/.*\.wav$" <<<"$listing" || true)
[ "$waves" -eq "$(ls "$root"/sounds/*.wav | wc -l)" ] || die "$zipfile holds $waves wave files"
if grep -i '\.dll$' <<<"$listing"; then die "$zipfile holds a DLL"; fi
if grep -v "^$top/" <<<"$listing"; then die "$zipfile holds files outside $top/"; fi
bare=$(unzip -p "$zipfile" "$top/README.txt" | grep -cv $'\r$' || true)
[ "$bare" -eq 0 ] || die "$top/README.txt has $bare lines without CR LF"

say "$(wc -l <<<"$listing") entries, $(stat -c %s "$zipfile") bytes"
echo "$zipfile"
