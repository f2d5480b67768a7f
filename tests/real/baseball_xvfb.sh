#!/bin/bash
# Runs the real game twice under a virtual X display with SDL's dummy audio
# driver and a fresh home folder, answering as its captions ask.
#  1. A new series: the start-up questions, the coin, then the first pitches
#     on whichever side bats first; F7's report; Escape, save and exit.
#  2. The same home folder again: the saved game goes on at once, without the
#     introduction; Escape, exit without saving leaves the saved game as it was.
#  3. A series whose first game is at the computer's park, so the player's
#     team bats first whatever the coin said in run 1: space, a swing while
#     the pitch sound plays, its verdict; F7's report at the next batter
#     prompt, then SIGTERM there: the game saves itself as "save and exit"
#     does and the program ends by itself within seconds.
#  4. The same home folder again: that game goes on at once, the report at
#     its first prompt as before; Escape, exit game leaves the save as it was.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
xvfb_setup
data=$HOME/Documents/tamberlyn
fail() { echo "FAILED: $1"; exit 1; }

# The two prompts of a pitch: the player's batter steps in, or the player
# calls the pitch of his pitcher.
cat >"$work/prompts.sh" <<'PROMPTS'
batter_prompt=" press the space bar to step into the batters box, "
pitch_prompt=" WHAT WILL YOUR PITCHER THROW kim"
next_prompt() { await_start "$batter_prompt" "$pitch_prompt" || stop_program; }
# At the batter prompt: step in, and swing 0.8 s after the pitch's call.
step_in_and_swing() {
    press space
    await_start " here's the pitch" " and the pitch" || stop_program
    sleep 0.8
    press space
}
# Waits for the next prompt and shows what was said since the pitch; there
# must be something.
verdict() {
    local thrown=$seen
    next_prompt
    local said
    said=$(heard_since "$thrown")
    [ -n "$said" ] || { echo "nothing said between the pitch and the next prompt"; stop_program; }
    echo "$said" | sed "s/^/    heard: /"
}
# F7 at a prompt: the whole report, to its last item.
report() {
    press F7
    await " We are in the top of the first inning" || stop_program
    await_start " the score is " || stop_program
}
# Escape, "2. exit game", and the program ends by itself.
exit_without_saving() {
    press Escape
    ask " Select. 1. save and exit game " Down
    ask " 2. exit game " Return
    leave_by_menu
}
PROMPTS

cat >"$work/first.sh" <<'DRIVE'
set -u
. "$3"
. "$(dirname "$2")/prompts.sh"
start_program "$1" "$2" "Sluggerwood"
new_series_start
await " We are in the top of the first inning" || stop_program

# Two pitches. The pitch sound starts as the call (" here's the pitch")
# ends, about half a second after its caption, and lasts from 0.65 s (the
# fastest) to 3 s: a swing 0.8 s after the caption meets every pitch on its
# way. Any verdict will do.
next_prompt
for pitch in 1 2; do
    sleep 0.2
    if [ "$heard" = "$pitch_prompt" ]; then
        echo "pitch $pitch: the computer bats, a fast ball"
        press 1
        await_start " here's the pitch" " and the pitch" || stop_program
    else
        echo "pitch $pitch: the player bats"
        step_in_and_swing
    fi
    verdict
done

# The whole report, then save and leave.
sleep 0.2
press F7
await " We are in the top of the first inning" || stop_program
await_start " the count is" || stop_program
await_start " There's" || stop_program
await_start " the score is " || stop_program
sleep 0.2
press Escape
ask " Select. 1. save and exit game " Return
await " game saved " || stop_program
leave_by_menu
DRIVE

cat >"$work/second.sh" <<'DRIVE'
set -u
. "$3"
. "$(dirname "$2")/prompts.sh"
start_program "$1" "$2" "Sluggerwood"
ask " " space
await " We are in the top of the first inning" || stop_program
next_prompt
sleep 0.2
exit_without_saving
DRIVE

cat >"$work/third.sh" <<'DRIVE'
set -u
. "$3"
. "$(dirname "$2")/prompts.sh"
start_program "$1" "$2" "Sluggerwood"
ask " " space
ask " Would you like to read the baseball rules dot T X T file? no " n
ask " Would you like to reed the special key instructions? " n
ask "do you wish to use this voice. yes " Return
ask " would you like to get in some batting practice? yes " n
await "The umpires for today's game are " || stop_program
await " We are in the top of the first inning" || stop_program
next_prompt
[ "$heard" != "$pitch_prompt" ] || { echo "the player's team does not bat first"; stop_program; }
sleep 0.2
step_in_and_swing
verdict
[ "$heard" != "$pitch_prompt" ] || { echo "the side changed after one pitch"; stop_program; }
sleep 0.2
report
end_by_signal TERM 10
DRIVE

cat >"$work/fourth.sh" <<'DRIVE'
set -u
. "$3"
. "$(dirname "$2")/prompts.sh"
start_program "$1" "$2" "Sluggerwood"
ask " " space
await " We are in the top of the first inning" || stop_program
next_prompt
[ "$heard" != "$pitch_prompt" ] || { echo "the resumed game is not at the batter prompt"; stop_program; }
sleep 0.2
report
exit_without_saving
DRIVE

# The lines of the last F7 report in the captions $1, from the count to the
# score.
report_of() { tac "$1" | sed -n '/^ the score is /,/^ the count is/p' | tac; }

started=$(date +%s)
xvfb_drive "$work/first.sh" "$1"
ls -l "$data"
for f in baseballbatters.txt baseballstartingpitchers.txt baseballreliefpitchers.txt baseball.txt; do
    [ -s "$data/$f" ] || fail "no $f"
done
head -n 1 "$data/baseballbatters.txt" | grep -qxF $'Your Batters:\r' || fail "batters file layout"
[ "$(sed -n 4,6p "$data/baseball.rec" | tr -d '\r' | tr '\n' ,)" = "Reds,kim,Owls," ] || fail "series record names"
[ "$(cat "$data/baseball.cfg")" = $' 0 \r\n 0 \r' ] || fail "settings: $(od -c "$data/baseball.cfg")"
[ "$(sed -n 2p "$data/baseballlog.txt")" = $'\r' ] || fail "log: no empty line after the banner"
sed -n 3p "$data/baseballlog.txt" | grep -q "^ this is game #1 of the best of 7 " || fail "log: no game line"
sav=$data/baseball.sav
[ -s "$sav" ] || fail "no baseball.sav"
[ "$(head -n 1 "$sav")" = $' 1 \r' ] || fail "saved game marker: $(head -n 1 "$sav" | od -c | head -n 1)"
[ "$(sed -n 2,4p "$sav" | tr -d '\r' | tr '\n' ,)" = "Reds,kim,Owls," ] || fail "saved game names: $(sed -n 2,4p "$sav")"
[ -s "$data/basebats.sav" ] || fail "no basebats.sav"
cp "$sav" "$work/saved-after-first-run"
cp "$work/captions.txt" "$work/first-captions.txt"
echo "first run: $(($(date +%s) - started)) s"

xvfb_drive "$work/second.sh" "$1"
for intro in " Would you like to read the baseball rules dot T X T file? yes " "The umpires for today's game are "; do
    ! grep -qxF "$intro" "$work/captions.txt" || fail "the resumed game went through the introduction: '$intro'"
done
cmp "$work/saved-after-first-run" "$sav" || fail "leaving without saving changed baseball.sav"
echo "two runs: $(($(date +%s) - started)) s"

# The computer's team home in game 1 of a new series: the Reds bat first.
printf ' 2 \r\n 0 \r\n 0 \r\nReds\r\nkim\r\nOwls\r\n' >"$data/baseball.rec"
printf ' 4242 \r\n' >"$sav"
xvfb_drive "$work/third.sh" "$1"
grep -q "^ this is game #1 of the best of 7" "$work/captions.txt" || fail "run 3 is not game 1 of the series"
grep -qxF " game saved " "$work/captions.txt" || fail "SIGTERM: the game was not saved"
! grep -qxF " Game menu. Use the up and down arrows to choose, and press enter. " "$work/captions.txt" ||
    fail "SIGTERM: the program went on to the game menu"
[ "$(head -n 1 "$sav")" = $' 1 \r' ] || fail "SIGTERM: saved game marker: $(head -n 1 "$sav" | od -c | head -n 1)"
# The saved game is the one the report told: Reds (visitors, at bat)
# against the Owls at home in the top of the first; its count, outs, bases
# and score.
# A number of the saved game; an empty line reads as 0.
line() {
    local v
    v=$(sed -n "$1p" "$sav" | tr -d '\r ')
    echo "${v:-0}"
}
[ "$(sed -n 2,4p "$sav" | tr -d '\r' | tr '\n' ,)" = "Reds,kim,Owls," ] || fail "SIGTERM: saved game names"
[ "$(line 7),$(line 8),$(line 9),$(line 10),$(line 11)" = "1,1,1,2,1" ] ||
    fail "SIGTERM: inning, half, batting, home and visiting team: $(sed -n 7,11p "$sav")"
said=$(report_of "$work/captions.txt")
echo "$said" | sed "s/^/    report: /"
plural() { [ "$1" = 1 ] || echo s; }
bases() {
    case "$1$2$3" in
        000) echo " the bases are empty" ;; 111) echo " the bases are loaded" ;;
        100) echo " there's a runner on first" ;; 010) echo " there's a runner on second" ;;
        001) echo " there's a runner on third" ;; 110) echo "there are runners on first and second" ;;
        101) echo "there are runners on first and third" ;; 011) echo "there are runners on second and third" ;;
    esac
}
b=$(line 13) s=$(line 14) o=$(line 12)
expected=" the count is $b ball$(plural "$b")
 $s strike$(plural "$s")
 There's $o out$(plural "$o")
$(bases "$(line 15)" "$(line 16)" "$(line 17)")
 the score is Reds $(line 5)Owls $(line 6)"
[ "$said" = "$expected" ] || fail "SIGTERM: the saved game is not the one reported: expected
$expected"
cp "$sav" "$work/saved-after-third-run"
echo "three runs: $(($(date +%s) - started)) s"

xvfb_drive "$work/fourth.sh" "$1"
for intro in " Would you like to read the baseball rules dot T X T file? no " " Would you like to read the baseball rules dot T X T file? yes " "The umpires for today's game are "; do
    ! grep -qxF "$intro" "$work/captions.txt" || fail "the game saved on SIGTERM was not resumed: '$intro'"
done
[ "$(report_of "$work/captions.txt")" = "$said" ] || fail "the resumed game is not the one saved: $(report_of "$work/captions.txt")"
cmp "$work/saved-after-third-run" "$sav" || fail "exit game changed baseball.sav"
echo "four runs: $(($(date +%s) - started)) s"
echo "baseball started a new series, pitched, saved and left; the next start resumed and left without saving;"
echo "a game with the player's team batting first took a swing and its verdict, was saved on SIGTERM at the"
echo "batter prompt, ending by itself, and the next start resumed it"
