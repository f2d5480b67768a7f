#!/bin/bash
# Sluggerwood quick start on Debian 12.
#   ./quickstart.sh play   installs what is missing, builds, starts the game
#   ./quickstart.sh test   installs what is missing, builds, runs every test
#                          (once plainly, once under AddressSanitizer and
#                          UndefinedBehaviorSanitizer), then cross-builds the
#                          Windows tests and runs them under Wine
#   ./quickstart.sh package  installs what is missing, builds, makes the
#                          Debian package and prints its path
#   ./quickstart.sh windows  installs what is missing, cross-builds the
#                          Windows edition and prints its zip's path last
#
# The Windows commands build SDL2 and espeak-ng for Windows once, into
# ${XDG_CACHE_HOME:-~/.cache}/sluggerwood-windows (tools/windows/deps.sh).
set -euo pipefail
cd "$(dirname "$0")"
export DEBIAN_FRONTEND=noninteractive

packages=(g++ cmake make pkg-config libsdl2-dev libespeak-ng-dev espeak-ng-data libgtest-dev
          libspeechd-dev speech-dispatcher speech-dispatcher-espeak-ng
          xvfb xauth xdotool lintian desktop-file-utils appstream dpkg-dev x11-xkb-utils file unzip)
windows_cache=${XDG_CACHE_HOME:-$HOME/.cache}/sluggerwood-windows

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    # sudo leaves most of the environment behind: the front end is named
    # again for apt.
    local sudo=(env DEBIAN_FRONTEND=noninteractive)
    [ "$(id -u)" -ne 0 ] && sudo=(sudo "${sudo[@]}")
    if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
        "${sudo[@]}" apt-get update && "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

build() { # folder, extra cmake arguments
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

case "${1:-}" in
play)
    install_missing
    build build
    exec build/baseball
    ;;
test)
    install_missing
    build build
    (cd build && ctest --output-on-failure -j "$(nproc)")
    build build-sanitize -DSW_SANITIZE=ON
    (cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$(nproc)" -LE real)
    # The Windows suite: each test program started once under Wine.
    tools/windows/deps.sh "$windows_cache"
    build build-windows-tests -G Ninja -DCMAKE_TOOLCHAIN_FILE=tools/windows/toolchain-mingw64.cmake \
        -DSW_WINDOWS_PREFIX="$windows_cache/prefix"
    (cd build-windows-tests && ctest --output-on-failure -j "$(nproc)")
    ;;
package)
    install_missing
    build build-package -DSW_TESTS=OFF
    # Directories in the package are 755 whatever the caller's umask.
    umask 022
    deb=$(cd build-package && cpack -G DEB | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
    [ -n "$deb" ] || { echo "cpack made no package" >&2; exit 1; }
    echo "The package: $deb"
    echo "Install it with: sudo apt install $deb"
    ;;
windows)
    install_missing
    tools/windows/deps.sh "$windows_cache"
    tools/windows/package.sh "$windows_cache"
    ;;
*)
    echo "usage: $0 play|test|package|windows" >&2
    exit 2
    ;;
esac
