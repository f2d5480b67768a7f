#!/bin/bash
# The Debian package, made by CPack from a build tree, checked and played:
#  1. cpack makes one .deb; lintian finds no error in it; its fields say
#     section games and the libraries it was linked with.
#  2. Unpacked with dpkg-deb -x into a temporary root: the three programs in
#     usr/games and nothing else there, the whole wave set (and only .wav
#     files), the default files as in the source tree, the manual pages,
#     desktop entries, metainfo and doc files; desktop-file-validate and
#     appstreamcli validate find no error.
#  3. The unpacked baseball, started from / with a fresh home under a virtual
#     display: its first start goes from the opening music to the rules
#     question without a roster question, and the data folder then holds the
#     default files; F9 reads the installed rules (their first and last lines
#     are heard); on to the game, Escape, "2. exit game": the unpacked
#     vellobar starts, its menu is heard, Escape ends it with its goodbye.
#  4. The unpacked batting, the same way: out through its menu's " exit " to
#     the game menu, and out of that.
# A missing lintian, desktop-file-validate or appstreamcli is skipped with a
# word; a missing cpack or dpkg tool skips the whole test (status 77), and a
# missing Xvfb or xdotool skips the runs of part 3 and 4 (status 77 after
# parts 1 and 2 have passed).
#
# Usage: package_test.sh BUILD_DIR [CPACK]
set -u
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
. "$here/../real/lib.sh"
build=$(cd "${1:?usage: $0 BUILD_DIR [CPACK]}" && pwd)
cpack=${2:-cpack}
fail() { echo "FAILED: $1"; exit 1; }

for tool in "$cpack" dpkg-deb dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
display=yes
for tool in xvfb-run xdotool; do command -v "$tool" >/dev/null || display=no; done
if [ $display = yes ]; then
    xvfb_setup
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
started=$(date +%s)

# --- 1. the package -------------------------------------------------------------

# The package's folders are 755 whatever the umask ctest was started with.
umask 022
echo "--- cpack"
(cd "$build" && "$cpack" -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack"
}
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} packages: ${debs[*]}"
deb=${debs[0]}
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Package Version Section Depends Recommends
[ "$(dpkg-deb -f "$deb" Package)" = sluggerwood ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
for lib in libsdl2-2.0-0 libespeak-ng1 libspeechd2 libstdc++6; do
    dpkg-deb -f "$deb" Depends | grep -q "\b$lib\b" || fail "Depends lacks $lib"
done
# The service itself only for the player's own voice: recommended, not required.
[ "$(dpkg-deb -f "$deb" Recommends)" = speech-dispatcher ] || fail "Recommends is not speech-dispatcher"

# Owned by root, readable by all, whatever the umask of the one who built it.
odd=$(dpkg-deb -c "$deb" | awk '$2 != "root/root" || $1 !~ /^(drwxr-xr-x|-rw-r--r--|-rwxr-xr-x)$/')
[ -z "$odd" ] || fail "owners or modes:
$odd"

if command -v lintian >/dev/null; then
    echo "--- lintian"
    # (lintian leaves a cache file in TMPDIR behind: it goes with $work.)
    TMPDIR=$work lintian --display-info --pedantic --fail-on error "$deb" 2>&1
    status=$?
    [ "$status" -eq 0 ] || fail "lintian: status $status"
else
    echo "lintian is not installed: skipped"
fi

# --- 2. the files -----------------------------------------------------------------

root=$(realpath "$work")/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
games=$root/usr/games
share=$root/usr/share
data=$share/games/sluggerwood

[ "$(ls "$games" | tr '\n' ' ')" = "baseball batting vellobar " ] || fail "usr/games holds: $(ls "$games")"
for prog in baseball batting vellobar; do
    [ -x "$games/$prog" ] || fail "$prog is not executable"
    [ -f "$share/man/man6/$prog.6.gz" ] || fail "no manual page $prog.6.gz"
    gzip -dc "$share/man/man6/$prog.6.gz" | grep -q "^\.SH FILES" || fail "$prog.6 has no FILES section"
done
# The wave set is read at run time, the manifest is built into the programs.
diff <(cd "$source_dir/sounds" && ls *.wav) <(ls "$data/sounds") || fail "the wave set differs from sounds/*.wav"
for name in baseballbatters baseballstartingpitchers baseballreliefpitchers baseballrules baseball; do
    [ -s "$data/defaults/$name.txt" ] || fail "no default file $name.txt"
done
for f in "$source_dir"/defaults/*.txt; do
    cmp "$f" "$data/defaults/$(basename "$f")" || fail "the installed $(basename "$f") differs from defaults/"
done
for f in applications/org.sluggerwood.Sluggerwood.desktop applications/org.sluggerwood.BattingPractice.desktop \
    metainfo/org.sluggerwood.Sluggerwood.metainfo.xml icons/hicolor/scalable/apps/sluggerwood.svg \
    doc/sluggerwood/README.md doc/sluggerwood/copyright doc/sluggerwood/changelog.gz; do
    [ -s "$share/$f" ] || fail "no usr/share/$f"
done
# Each desktop entry starts one of the packaged programs, by the name the
# menu's PATH finds in /usr/games.
for f in Sluggerwood:baseball BattingPractice:batting; do
    grep -qx "Exec=${f#*:}" "$share/applications/org.sluggerwood.${f%%:*}.desktop" ||
        fail "org.sluggerwood.${f%%:*}.desktop does not start ${f#*:}"
done
# Nothing of the build's tools or tests.
stray=$(cd "$root" && find . -name 'soundgen*' -o -name '*_tests' -o -name soak -o -name 'bench_*' -o -name manifest.txt)
[ -z "$stray" ] || fail "the package holds $stray"

if command -v desktop-file-validate >/dev/null; then
    echo "--- desktop-file-validate"
    for f in "$share"/applications/*.desktop; do
        desktop-file-validate "$f" || fail "desktop-file-validate $(basename "$f")"
    done
else
    echo "desktop-file-validate is not installed: skipped"
fi
if command -v appstreamcli >/dev/null; then
    echo "--- appstreamcli validate"
    said=$(appstreamcli validate --no-net "$share/metainfo/org.sluggerwood.Sluggerwood.metainfo.xml" 2>&1)
    status=$?
    echo "$said"
    # An error fails; warnings alone may turn the status, and do not.
    ! echo "$said" | grep -q "^E:" || fail "appstreamcli validate: errors"
    [ $status -eq 0 ] || echo "$said" | grep -q "^W:" || fail "appstreamcli validate: status $status"
else
    echo "appstreamcli is not installed: skipped"
fi
echo "package checked: $(($(date +%s) - started)) s"

[ $display = yes ] || { echo "xvfb-run or xdotool is not installed: the runs are skipped"; exit 77; }

# --- 3. and 4. the unpacked programs ------------------------------------------

# The rules as the installed file has them: its first and last lines with
# words, without line ends and outer blanks.
rules=$data/defaults/baseballrules.txt
tr -d '\r' <"$rules" | sed 's/^[[:space:]]*//; s/[[:space:]]*$//' | grep -v '^$' >"$work/rules-lines.txt"
head -n 1 "$work/rules-lines.txt" >"$work/rules-first.txt"
tail -n 1 "$work/rules-lines.txt" >"$work/rules-last.txt"
echo "rules: first line '$(cat "$work/rules-first.txt")', last line '$(cat "$work/rules-last.txt")'"

# For the baseball driver: waits on the reading of the rules.
cat >"$work/menu.sh" <<'MENU'
# Waits for a caption after the last one matched that holds the text $1, at
# most 60 s.
await_text() {
    for _ in $(seq 1 600); do
        local n
        n=$(tail -n +$((seen + 1)) "$captions" | grep -nF -- "$1" | head -n 1 | cut -d: -f1)
        if [ -n "$n" ]; then seen=$((seen + n)); return 0; fi
        kill -0 "$pid" 2>/dev/null || { echo "program ended early"; return 1; }
        sleep 0.1
    done
    echo "never heard a caption holding: '$1'"; return 1
}
# Like await, but gives up quietly after $1 seconds.
heard_within() {
    for _ in $(seq 1 $(($1 * 10))); do
        local n
        n=$(tail -n +$((seen + 1)) "$captions" | grep -nxF -- "$2" | head -n 1 | cut -d: -f1)
        if [ -n "$n" ]; then seen=$((seen + n)); return 0; fi
        sleep 0.1
    done
    return 1
}
MENU

cat >"$work/baseball.sh" <<'DRIVE'
set -u
. "$3"
here=$(dirname "$2")
. "$here/menu.sh"
first=$(cat "$here/rules-first.txt") last=$(cat "$here/rules-last.txt")
cd / || exit 1
start_program "$1" "$2" "Sluggerwood"
# The opening music, with no roster question on the way to it.
for _ in $(seq 1 400); do
    grep -q "seems to be corrupt" "$captions" && { echo "a roster question was asked"; stop_program; }
    grep -qxF " " "$captions" && break
    kill -0 "$pid" 2>/dev/null || { echo "program ended early"; stop_program; }
    sleep 0.1
done
ask " " space
rules_question=" Would you like to read the baseball rules dot T X T file? yes "
ask "$rules_question" F9
asked=$seen
await_text "$first" || stop_program
seen=$asked
await_text "$last" || stop_program
# A key cuts the reading short (one pressed in its first half second is
# swallowed, so it may take another) and answers nothing: the question again.
for try in 1 2 3 4; do
    sleep 0.5
    press space
    heard_within 4 "$rules_question" && break
    [ $try -lt 4 ] || { echo "the reading of the rules did not stop"; stop_program; }
done
sleep 0.2
press n
ask " Would you like to reed the special key instructions? " n
ask "do you wish to use this voice. yes " Return
ask " would you like to get in some batting practice? yes " n
name " What would you like the name of your team to be ?" "shift+r e d s" "is, Reds, correct for the name of your team? yes "
name " Your team needs a manager.  What is your name ?" "k i m" " is, kim, correct for your name? yes "
name " What would you like the name of my team to be ?" "shift+o w l s" "is, Owls, correct for the name of my team? yes "
ask " Let's flip a coin.  The winner is the home team" h
await "The umpires for today's game are " || stop_program
await_start " press the space bar to step into the batters box, " " WHAT WILL YOUR PITCHER THROW kim" || stop_program
sleep 0.2
press Escape
ask " Select. 1. save and exit game " 2
ask " 2. exit game " Return
leave_by_menu "$(dirname "$1")/vellobar"
DRIVE

cat >"$work/batting.sh" <<'DRIVE'
set -u
. "$3"
. "$(dirname "$2")/menu.sh"
cd / || exit 1
start_program "$1" "$2" "Batting practice"
ask "do you wish to use this voice. yes " Return
ask " random pitches " Up
ask " exit " Return
await "Thank you for playing batting practice By Pellwick" || stop_program
leave_by_menu "$(dirname "$1")/vellobar"
DRIVE

echo "--- baseball"
xvfb_drive "$work/baseball.sh" "$games/baseball"
! grep -q "seems to be corrupt" "$work/captions.txt" || fail "baseball asked a roster question"
grep -qxF "Sorry, but I could not find the Tamberlyn game menu program." "$work/captions.txt" &&
    fail "baseball apologised for a missing game menu"
folder=$HOME/Documents/tamberlyn
for f in "$data"/defaults/*.txt; do
    cmp "$f" "$folder/$(basename "$f")" || fail "the first start did not bring $(basename "$f") over"
done
echo "baseball: $(($(date +%s) - started)) s"

echo "--- batting"
export HOME=$work/home-batting
mkdir -p "$HOME"
xvfb_drive "$work/batting.sh" "$games/batting"
grep -qxF "Thank you for playing. Goodbye." "$work/captions.txt" || fail "batting: no goodbye of the menu"
echo "batting: $(($(date +%s) - started)) s"
echo "the package passed lintian and the validators, and its unpacked programs ran from /: baseball's first"
echo "start reached the rules without a roster question, F9 read the installed rules, and leaving baseball"
echo "and batting practice both landed in the unpacked game menu, which Escape ended"
