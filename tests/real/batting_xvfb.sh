#!/bin/bash
# Runs the real batting program under a virtual X display with SDL's dummy
# audio driver, presses keys when its captions ask for them, and checks that
# it says goodbye and ends by itself.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
xvfb_setup

cat >"$work/drive.sh" <<'DRIVE'
set -u
. "$3"
start_program "$1" "$2" "Batting practice"
ask "do you wish to use this voice. yes " Return
ask " random pitches " Up
ask " exit " Return
finish 30
DRIVE

xvfb_drive "$work/drive.sh" "$1"
grep -qxF "Thank you for playing batting practice By Pellwick" "$work/captions.txt" || { echo "FAILED: no thank-you"; exit 1; }
echo "batting ran, reached the menu and left by itself"
