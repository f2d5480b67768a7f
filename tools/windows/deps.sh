#!/bin/bash
# Builds the Windows edition's dependencies once, into a cache outside the
# source tree:
#
#   tools/windows/deps.sh [CACHE]
#
# CACHE defaults to ${XDG_CACHE_HOME:-$HOME/.cache}/sluggerwood-windows.
# Installs the Debian packages that are missing (the mingw-w64 cross
# compiler, Wine, PulseAudio, zip), then, unless the cache already has them,
# fetches Debian's source packages of SDL2 and espeak-ng and cross-builds
# them as static libraries into CACHE/prefix:
#
#   prefix/lib/libSDL2.a, libSDL2main.a, cmake/SDL2/   (find_package(SDL2))
#   prefix/lib/libespeak-ng.a, prefix/include/espeak-ng/
#   prefix/share/espeak-ng-data/                        (phonemes, English)
#
# A second run finds its stamps and does nothing. Nothing is downloaded but
# Debian packages and Debian source packages, through apt.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive LC_ALL=C

here=$(cd "$(dirname "$0")" && pwd)
cache=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/sluggerwood-windows}
jobs=${SW_JOBS:-2}

die() {
    echo "deps.sh: $*" >&2
    exit 1
}
say() { echo "deps.sh: $*"; }

case "$cache" in
"$here" | "$here"/*) die "the cache ($cache) must be outside the source tree" ;;
esac
mkdir -p "$cache" || die "cannot make the cache folder $cache"
cache=$(cd "$cache" && pwd)
prefix=$cache/prefix
stamps=$cache/stamps
mkdir -p "$prefix" "$stamps"

# ---------------------------------------------------------------- packages
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          mingw-w64-x86-64-dev wine wine64 pulseaudio pulseaudio-utils zip
          cmake ninja-build make dpkg-dev xz-utils)

install_missing() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing: ${missing[*]}"
    local sudo=() start=$SECONDS
    # sudo does not pass the environment on: the setting goes on its command line.
    [ "$(id -u)" -ne 0 ] && sudo=(sudo DEBIAN_FRONTEND=noninteractive)
    if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
        "${sudo[@]}" apt-get update
        "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}" ||
            die "could not install ${missing[*]}"
    fi
    say "packages installed in $((SECONDS - start)) s"
}

install_missing
for tool in x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres \
            wine wineboot wineserver cmake ninja dpkg-source apt-get; do
    command -v "$tool" >/dev/null || die "$tool is not on the PATH after installing the packages"
done

# ---------------------------------------------------------- source packages
# A private apt state: a deb-src list made from the machine's own Debian
# mirror, its own lists and package cache. The system's lists are untouched.
aptdir=$cache/apt
apt_private=(-o "Dir::Etc::sourcelist=$aptdir/sources.list" -o "Dir::Etc::sourceparts=-"
             -o "Dir::State::Lists=$aptdir/lists" -o "Dir::Cache=$aptdir/cache"
             -o "APT::Sandbox::User=root")

# The machine's Debian mirror and its keyring, from the deb822 stanza (or
# the one-line entry) that serves bookworm itself.
debian_mirror() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -e "$f" ] || continue
        awk '
            function flush() {
                if (deb && uri != "" && bookworm) { print uri " " key; found = 1; exit }
                deb = 0; uri = ""; key = ""; bookworm = 0
            }
            /^[ \t]*$/ { flush(); next }
            /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
            /^URIs:/ { uri = $2 }
            /^Signed-By:/ { key = $2 }
            /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == "bookworm") bookworm = 1 }
            END { if (!found) flush() }
        ' "$f"
    done
    [ -e /etc/apt/sources.list ] &&
        sed -n 's/^deb \(\[[^]]*\] \)\?\([a-z]*:[^ ]*\) bookworm .*/\2/p' /etc/apt/sources.list
    return 0
}

prepare_apt() {
    [ -e "$aptdir/updated" ] && return 0
    local line uri key
    line=$(debian_mirror | head -n 1)
    [ -n "$line" ] || die "no Debian mirror serving bookworm found in /etc/apt/sources.list{,.d}"
    read -r uri key <<<"$line"
    mkdir -p "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
    {
        for suite in bookworm trixie; do
            echo "deb-src ${key:+[signed-by=$key] }$uri $suite main"
        done
    } >"$aptdir/sources.list"
    say "reading the source lists of $uri (bookworm, trixie)"
    apt-get "${apt_private[@]}" update || die "apt-get update of the private source lists failed"
    touch "$aptdir/updated"
}

# fetch NAME RELEASE: downloads the source package and unpacks it into
# CACHE/src/NAME/tree; prints the tree's path.
fetch() {
    local name=$1 release=$2 dir=$cache/src/$1
    mkdir -p "$dir"
    if [ ! -e "$dir/fetched" ]; then
        prepare_apt >&2
        rm -rf "${dir:?}"/*
        (cd "$dir" && apt-get "${apt_private[@]}" source --download-only "$name/$release" >&2) ||
            die "could not download the source package $name/$release"
        touch "$dir/fetched"
    fi
    local dsc
    dsc=$(ls "$dir"/"$name"_*.dsc 2>/dev/null | head -n 1)
    [ -n "$dsc" ] || die "no .dsc of $name in $dir"
    rm -rf "$dir/tree"
    # apt checked the files against the signed Release file.
    dpkg-source --no-check -x "$dsc" "$dir/tree" >&2 || die "could not unpack $dsc"
    echo "$dir/tree"
}

timed() { # label, command...
    local label=$1 start=$SECONDS
    shift
    "$@"
    say "$label took $((SECONDS - start)) s"
}

# ------------------------------------------------------------------- builds
toolchain=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain-mingw64.cmake" -DSW_WINDOWS_PREFIX="$prefix"
           -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release)

# A stamp holds the source package's version and the number of the recipe
# that built it; a library counts as built when its stamp has the current
# recipe and its files are all there. Changing how a library is built means
# raising its recipe number, so that caches made before rebuild it.
sdl2_recipe=1
espeak_recipe=2

built() { # name, recipe, files...
    local name=$1 recipe=$2 f
    shift 2
    grep -qx "recipe $recipe" "$stamps/$name" 2>/dev/null || return 1
    for f in "$@"; do [ -e "$f" ] || return 1; done
}

version_of() { sed -n 's/^Version: //p' "$cache/src/$1/$1"_*.dsc | head -n 1; }

build_sdl2() {
    local src b=$cache/build/sdl2 config=$prefix/include/SDL2/SDL_config.h d
    src=$(fetch libsdl2 bookworm)
    rm -rf "$b" "$stamps/sdl2"
    cmake -S "$src" -B "$b" "${toolchain[@]}" \
        -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF -DSDL_INSTALL_TESTS=OFF \
        -DSDL_VIDEO=ON -DSDL_AUDIO=ON -DSDL_WASAPI=ON -DSDL_DIRECTX=ON \
        >"$cache/sdl2-configure.log" || die "SDL2's configuration failed (see $cache/sdl2-configure.log)"
    cmake --build "$b" -j "$jobs" >"$cache/sdl2-build.log" || die "SDL2's build failed (see $cache/sdl2-build.log)"
    cmake --install "$b" >/dev/null || die "SDL2's installation into $prefix failed"
    for d in SDL_VIDEO_DRIVER_WINDOWS SDL_AUDIO_DRIVER_WASAPI SDL_AUDIO_DRIVER_DSOUND; do
        grep -q "^#define $d 1" "$config" || die "SDL2 was built without $d"
    done
    printf '%s\nrecipe %s\n' "$(version_of libsdl2)" "$sdl2_recipe" >"$stamps/sdl2"
}

# espeak-ng's data is made by its own program: its build rules run it under
# $VALGRIND, here Wine. Only the phonemes and the English dictionary are made
# (one Wine start each), not every language's.
build_espeak() {
    local src b=$cache/build/espeak-ng data=$prefix/share/espeak-ng-data
    src=$(fetch espeak-ng trixie)
    rm -rf "$b" "$stamps/espeak-ng"
    source "$here/wine-env.sh"
    wine_ready || die "no Wine prefix"
    export VALGRIND=wine
    # The library's built-in data folder is its install prefix's: here one
    # that exists nowhere, so a program finds the data only where it says.
    # It is installed by hand below. SONIC_LIB and SONIC_INC point at nothing: set, they keep espeak-ng's
    # configuration from fetching the library from the internet, which
    # FETCHCONTENT_FULLY_DISCONNECTED forbids in any case.
    cmake -S "$src" -B "$b" "${toolchain[@]}" \
        -DCMAKE_INSTALL_PREFIX=/nonexistent -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF -DESPEAK_BUILD_MANPAGES=OFF \
        -DUSE_LIBSONIC=OFF -DSONIC_LIB=/nonexistent/libsonic.a -DSONIC_INC=/nonexistent \
        -DFETCHCONTENT_FULLY_DISCONNECTED=ON \
        -DUSE_LIBPCAUDIO=OFF -DUSE_MBROLA=OFF -DUSE_ASYNC=OFF \
        >"$cache/espeak-ng-configure.log" || die "espeak-ng's configuration failed (see $cache/espeak-ng-configure.log)"
    ninja -C "$b" -j "$jobs" espeak-ng espeak-ng-bin \
        espeak-ng-data/phondata espeak-ng-data/intonations espeak-ng-data/en_dict \
        >"$cache/espeak-ng-build.log" 2>&1 || {
        wine_done
        die "espeak-ng's build failed (see $cache/espeak-ng-build.log)"
    }
    wine_done
    unset VALGRIND

    # One archive for the library and the two it is made with.
    local ar=x86_64-w64-mingw32-ar lib
    mkdir -p "$prefix/lib" "$prefix/include" "$prefix/lib/pkgconfig"
    {
        echo "create $prefix/lib/libespeak-ng.a"
        for lib in src/libespeak-ng/libespeak-ng.a src/ucd-tools/libucd.a src/speechPlayer/libspeechPlayer.a; do
            [ -e "$b/$lib" ] || die "espeak-ng's build made no $lib"
            echo "addlib $b/$lib"
        done
        echo save
        echo end
    } | "$ar" -M || die "could not merge espeak-ng's libraries"
    x86_64-w64-mingw32-ranlib "$prefix/lib/libespeak-ng.a"
    rm -rf "$prefix/include/espeak-ng" "$prefix/include/espeak"
    cp -r "$src/src/include/espeak-ng" "$src/src/include/espeak" "$prefix/include/"

    # The data folder: phonemes, intonations, the English dictionary and
    # voices, and the voice variants (en+f3 and the like).
    rm -rf "$data"
    mkdir -p "$data/lang/gmw" "$data/voices"
    cp "$b"/espeak-ng-data/{phondata,phondata-manifest,phonindex,phontab,intonations,en_dict} "$data/"
    cp "$b"/espeak-ng-data/lang/gmw/en* "$data/lang/gmw/"
    cp -r "$b/espeak-ng-data/voices/!v" "$data/voices/"

    # For pkg_check_modules(... espeak-ng), as on Linux. The static library
    # wants LIBESPEAK_NG_EXPORT defined, else its declarations are dllimport.
    cat >"$prefix/lib/pkgconfig/espeak-ng.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include
datadir=\${prefix}/share/espeak-ng-data

Name: espeak-ng
Description: espeak-ng speech synthesis, static, for Windows
Version: $(version_of espeak-ng)
Libs: -L\${libdir} -lespeak-ng -lstdc++
Cflags: -I\${includedir} -DLIBESPEAK_NG_EXPORT
PC
    printf '%s\nrecipe %s\n' "$(version_of espeak-ng)" "$espeak_recipe" >"$stamps/espeak-ng"
}

if built sdl2 "$sdl2_recipe" "$prefix/lib/libSDL2.a" "$prefix/lib/cmake/SDL2/SDL2Config.cmake"; then
    say "SDL2 $(head -n 1 "$stamps/sdl2") is in the cache"
else
    timed "building SDL2" build_sdl2
fi
if built espeak-ng "$espeak_recipe" "$prefix/lib/libespeak-ng.a" "$prefix/include/espeak-ng/speak_lib.h" \
    "$prefix/share/espeak-ng-data/phondata" "$prefix/share/espeak-ng-data/en_dict"; then
    say "espeak-ng $(head -n 1 "$stamps/espeak-ng") is in the cache"
else
    timed "building espeak-ng" build_espeak
fi
say "the cache: $prefix"
