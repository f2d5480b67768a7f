#!/bin/bash
# Processor use of a program waiting for a key with the crowd running, and
# its peak memory: `batting` at its menu, `baseball` at its first
# introduction question (rules). Runs the real program under a virtual
# display with SDL's dummy audio driver (the mixer still renders every buffer).
#   tests/bench/bench_idle.sh build/batting [seconds]
#   tests/bench/bench_idle.sh build/baseball [seconds]
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
case "$(basename "$bin")" in
    baseball) window="Sluggerwood" ;;
    *) window="Batting practice" ;;
esac
await() { for _ in $(seq 1 400); do grep -qxF -- "$1" captions.txt && return 0; sleep 0.1; done; return 1; }
press() { win=$(xdotool search --name "$window" | head -n 1); xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key "$1"; sleep 0.3; }
if [ "$window" = "Sluggerwood" ]; then
    for f in batters "starting pitchers" "relief pitchers"; do
        await " The baseball $f dot T X T file seems to be corrupt.  Would you like me to rewrite the original file? Yes " && press Return
        await " Do you wish to exit the game? yes " && press n
    done
    await " " && press space
    await " Would you like to read the baseball rules dot T X T file? yes "
    where="at the rules question"
else
    await "do you wish to use this voice. yes " && press Return
    await " random pitches "
    where="at the menu"
fi
sleep 1
ticks() { awk '{print $14 + $15}' /proc/"$pid"/stat; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(date +%s.%N)
sleep "$secs"
t1=$(ticks); s1=$(date +%s.%N)
awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v w="$where" \
    'BEGIN { printf "waiting %s: %.2f s of processor in %.1f s = %.2f%% of one core\n", w, (b-a)/hz, s1-s0, 100*(b-a)/hz/(s1-s0) }'
kill -9 "$pid" 2>/dev/null
wait
grep -E "Maximum resident set size" time.txt
DRIVE
xvfb-run -a bash drive.sh "$bin" "$secs"
