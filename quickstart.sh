#!/bin/bash
# Sluggerwood quick start on Debian 12.
#   ./quickstart.sh play   installs what is missing, builds, starts the game
#   ./quickstart.sh test   installs what is missing, builds, runs every test
#                          (once plainly, once under AddressSanitizer and
#                          UndefinedBehaviorSanitizer)
set -euo pipefail
cd "$(dirname "$0")"
export DEBIAN_FRONTEND=noninteractive

packages=(g++ cmake make pkg-config libsdl2-dev libespeak-ng-dev espeak-ng-data libgtest-dev
          xvfb xauth xdotool)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
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
    ;;
*)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac
