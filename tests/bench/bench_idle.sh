#!/bin/bash
# Processor use of `batting` waiting at its menu with the crowd running, and
# its peak memory. Runs the real program under a virtual display with SDL's
# dummy audio driver (the mixer still renders every buffer).
#   tests/bench/bench_idle.sh build/batting [seconds]
set -u
bin=$(realpath "$1")
secs=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home SDL_AUDIODRIVER=dummy
mkdir -p "$HOME"
cd "$work"
cat >drive.sh <<'DRIVE'
set -u
bin=$1 secs=$2
/usr/bin/time -v -o time.txt "$bin" >captions.txt 2>err.txt &
sleep 0.5
pid=$(pgrep -n -f "^$bin")
await() { for _ in $(seq 1 200); do grep -qxF -- "$1" captions.txt && return 0; sleep 0.1; done; return 1; }
press() { win=$(xdotool search --name "Batting practice" | head -n 1); xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key "$1"; }
await "do you wish to use this voice. yes " && press Return
await " random pitches "
sleep 1
ticks() { awk '{print $14 + $15}' /proc/"$pid"/stat; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(date +%s.%N)
sleep "$secs"
t1=$(ticks); s1=$(date +%s.%N)
awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" \
    'BEGIN { printf "waiting at the menu: %.2f s of processor in %.1f s = %.2f%% of one core\n", (b-a)/hz, s1-s0, 100*(b-a)/hz/(s1-s0) }'
press Up; await " exit "; press Return
wait
grep -E "Maximum resident set size" time.txt
DRIVE
xvfb-run -a bash drive.sh "$bin" "$secs"
