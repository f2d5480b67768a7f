#!/bin/bash
# Runs the real batting program under a virtual X display with SDL's dummy
# audio driver, presses keys when its captions ask for them, and checks that
# it says goodbye and ends by itself; then twice more, ended by the session:
# SIGTERM at the menu and SIGHUP at the voice question each end it within a
# few seconds, by itself, without the goodbye of the menu's " exit ".
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
await "Thank you for playing batting practice By Pellwick" || stop_program
leave_by_menu
DRIVE

cat >"$work/term.sh" <<'DRIVE'
set -u
. "$3"
start_program "$1" "$2" "Batting practice"
ask "do you wish to use this voice. yes " Return
await " random pitches " || stop_program
sleep 0.3
end_by_signal TERM 5
DRIVE

cat >"$work/hup.sh" <<'DRIVE'
set -u
. "$3"
start_program "$1" "$2" "Batting practice"
await "do you wish to use this voice. yes " || stop_program
sleep 0.3
end_by_signal HUP 5
DRIVE

thanks="Thank you for playing batting practice By Pellwick"
xvfb_drive "$work/drive.sh" "$1"
grep -qxF "$thanks" "$work/captions.txt" || { echo "FAILED: no thank-you"; exit 1; }
for run in term hup; do
    xvfb_drive "$work/$run.sh" "$1"
    ! grep -qxF "$thanks" "$work/captions.txt" || { echo "FAILED: the $run run said the menu's goodbye"; exit 1; }
    ! grep -qxF "$menu_intro" "$work/captions.txt" || { echo "FAILED: the $run run started the game menu"; exit 1; }
done
echo "batting ran, reached the menu and left by itself for the game menu; SIGTERM and SIGHUP ended it promptly"
