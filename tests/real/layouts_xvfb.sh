#!/bin/bash
# Runs the real game's first start under a German and a French keyboard
# layout, each on a fresh home folder: "y" must answer yes at a yes/no
# question, and a team name typed key by key must come out as typed, letters
# whose keys those layouts move among them.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
command -v setxkbmap >/dev/null || { echo "setxkbmap is not installed: skipped"; exit 77; }
xvfb_setup

cat >"$work/layout.sh" <<'DRIVE'
set -u
. "$3"
# One client stays connected from before the layout is set until the end.
keep_display
for _ in $(seq 1 20); do
    sleep 0.1
    setxkbmap "$LAYOUT" || { echo "setxkbmap $LAYOUT failed"; exit 1; }
    setxkbmap -query | grep -qx "layout: *$LAYOUT" && break
done
setxkbmap -query | grep -qx "layout: *$LAYOUT" ||
    { echo "the layout did not take: $(setxkbmap -query | tr '\n' ' ')"; exit 1; }
start_program "$1" "$2" "Sluggerwood"

# Where no roster file can be brought over, the game asks about each: Enter
# rewrites it, "n" goes on. Then the title's blank caption, which a key ends.
heard=
while await_start " "; do
    case $heard in
        " ") break ;;
        " The baseball "*) sleep 0.2; press Return; ask " Do you wish to exit the game? yes " n ;;
    esac
done
[ "$heard" = " " ] || stop_program
sleep 0.2
press space
ask " Would you like to read the baseball rules dot T X T file? yes " n
ask " Would you like to reed the special key instructions? " n

# "y" takes the voice; any other letter is said and the question comes again.
ask "do you wish to use this voice. yes " y
await_start " would you like to get in some batting practice? yes " "do you wish to use this voice. yes " ||
    stop_program
[ "$heard" != "do you wish to use this voice. yes " ] || { echo "FAILED: \"y\" did not answer yes"; stop_program; }
sleep 0.2
press n

await " What would you like the name of your team to be ?" || stop_program
sleep 0.2
for k in $TEAM_KEYS; do press "$k"; done
press Return
await_start "is, " || stop_program
[ "$heard" = "is, $TEAM, correct for the name of your team? yes " ] ||
    { echo "FAILED: the name typed as '$TEAM' came out as: $heard"; stop_program; }
sleep 0.2
press Return
await " Your team needs a manager.  What is your name ?" || stop_program
kill -9 "$pid" 2>/dev/null
echo "$LAYOUT: \"y\" answered yes and the team name came out as $TEAM"
DRIVE

# Each layout's name has letters whose keys it moves (German: Y and Z;
# French: A and Q, Z and W, M), a capital among them.
run() {
    export LAYOUT=$1 TEAM=$2 TEAM_KEYS=$3 HOME=$work/home-$1
    mkdir -p "$HOME"
    local t0
    t0=$(date +%s)
    xvfb_drive "$work/layout.sh" "$PROGRAM"
    echo "$1: $(($(date +%s) - t0)) s"
}
PROGRAM=$1
run de Yazoos "shift+y a z o o s"
run fr Quizmaway "shift+q u i z m a w a y"
echo "under the German and French layouts \"y\" answered yes and the team names were spelt as typed"
