#!/bin/bash
# Runs the real game under a virtual X display with SDL's dummy audio driver
# and a fresh home folder. It answers the game's questions as its captions ask
# them, through the first start of a new series to the umpires and the exit,
# then checks the files the game left in its data folder.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
xvfb_setup

cat >"$work/drive.sh" <<'DRIVE'
set -u
. "$3"
start_program "$1" "$2" "Sluggerwood"
# A name typed key by key, then confirmed.
name() {
    await "$1" || stop_program
    sleep 0.2
    for k in $2; do press "$k"; done
    press Return
    ask "$3" Return
}

for f in batters "starting pitchers" "relief pitchers"; do
    ask " The baseball $f dot T X T file seems to be corrupt.  Would you like me to rewrite the original file? Yes " Return
    ask " Do you wish to exit the game? yes " n
done
ask " " space
ask " Would you like to read the baseball rules dot T X T file? yes " n
ask " Would you like to reed the special key instructions? " n
ask "do you wish to use this voice. yes " Return
ask " would you like to get in some batting practice? yes " n
name " What would you like the name of your team to be ?" "shift+r e d s" "is, Reds, correct for the name of your team? yes "
name " Your team needs a manager.  What is your name ?" "k i m" " is, kim, correct for your name? yes "
name " What would you like the name of my team to be ?" "shift+o w l s" "is, Owls, correct for the name of my team? yes "
ask " Let's flip a coin.  The winner is the home team" h
await "The umpires for today's game are " || stop_program
finish 60
DRIVE

xvfb_drive "$work/drive.sh" "$1"
data=$HOME/Documents/tamberlyn
ls -l "$data"
fail() { echo "FAILED: $1"; exit 1; }
for f in baseballbatters.txt baseballstartingpitchers.txt baseballreliefpitchers.txt baseball.txt; do
    [ -s "$data/$f" ] || fail "no $f"
done
head -n 1 "$data/baseballbatters.txt" | grep -qxF $'Your Batters:\r' || fail "batters file layout"
grep -qxF $'Reds\r' "$data/baseball.rec" || fail "series record"
[ "$(sed -n 4,6p "$data/baseball.rec" | tr -d '\r' | tr '\n' ,)" = "Reds,kim,Owls," ] || fail "series record names"
[ "$(cat "$data/baseball.cfg")" = $' 0 \r\n 0 \r' ] || fail "settings: $(od -c "$data/baseball.cfg")"
[ "$(sed -n 2p "$data/baseballlog.txt")" = $'\r' ] || fail "log: no empty line after the banner"
sed -n 3p "$data/baseballlog.txt" | grep -q "^ this is game #1 of the best of 7 " || fail "log: no game line"
grep -qxF "Sorry, but I could not find the Tamberlyn game menu program." "$work/captions.txt" || fail "no exit apology"
echo "baseball started a new series, announced game 1 and left by itself"
