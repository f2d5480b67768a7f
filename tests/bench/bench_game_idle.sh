#!/bin/bash
# Processor use and peak memory of the game waiting at the first prompt of a
# pitch: the batter prompt when the player's team bats first, the pitch menu
# when the computer's does (the coin decides). Runs the real program under a
# virtual display with SDL's dummy audio driver (the mixer still renders
# every buffer) from a fresh home folder, through a new series' questions.
#   tests/bench/bench_game_idle.sh build/baseball [seconds]
set -u
bin=$(realpath "$1")
secs=${2:-20}
lib=$(cd "$(dirname "$0")/../real" && pwd)/lib.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home SDL_AUDIODRIVER=dummy
unset XDG_CONFIG_HOME XDG_DOCUMENTS_DIR
mkdir -p "$HOME"
cd "$work" || exit 1
cat >drive.sh <<'DRIVE'
set -u
. "$3"
bin=$1 secs=$4
captions=$2 window="Sluggerwood" seen=0
/usr/bin/time -v -o time.txt "$bin" >"$captions" 2>"$captions.err" &
sleep 0.5
pid=$(pgrep -n -f "^$bin")
new_series_start
await_start " press the space bar to step into the batters box, " " WHAT WILL YOUR PITCHER THROW kim" || stop_program
case "$heard" in
    " press"*) where="at the batter prompt" ;;
    *) where="at the pitch menu" ;;
esac
# The prompt is still being read: the wait proper begins when it is over.
sleep 8
ticks() { awk '{print $14 + $15}' /proc/"$pid"/stat; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(date +%s.%N)
sleep "$secs"
t1=$(ticks); s1=$(date +%s.%N)
awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v w="$where" \
    'BEGIN { printf "waiting %s: %.2f s of processor in %.1f s = %.2f%% of one core\n", w, (b-a)/hz, s1-s0, 100*(b-a)/hz/(s1-s0) }'
grep -E "^(VmHWM|VmRSS)" /proc/"$pid"/status
kill -9 "$pid" 2>/dev/null
wait
grep -E "Maximum resident set size" time.txt
DRIVE
xvfb-run -a bash drive.sh "$bin" "$work/captions.txt" "$lib" "$secs"
