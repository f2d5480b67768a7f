#!/bin/bash
# Runs the real batting program under a virtual X display with SDL's dummy
# audio driver, presses keys when its captions ask for them, and checks that
# it says goodbye and ends by itself.
set -u
bin=$1
for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home SDL_AUDIODRIVER=dummy
mkdir -p "$HOME"
cd "$work"

cat >"$work/drive.sh" <<'DRIVE'
set -u
bin=$1 captions=$2
"$bin" >"$captions" 2>"$captions.err" &
pid=$!
# Waits until the captions hold a line equal to $1, at most 20 s.
await() {
    for _ in $(seq 1 200); do
        grep -qxF -- "$1" "$captions" && return 0
        kill -0 "$pid" 2>/dev/null || { echo "program ended early"; return 1; }
        sleep 0.1
    done
    echo "never heard: '$1'"; return 1
}
press() {
    local win
    win=$(xdotool search --name "Batting practice" | head -n 1)
    [ -n "$win" ] && xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool key "$1"
}
fail() { kill "$pid" 2>/dev/null; cat "$captions.err"; exit 1; }
await "do you wish to use this voice. yes " || fail
press Return
await " random pitches " || fail
press Up
await " exit " || fail
press Return
for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then echo "the program did not end"; fail; fi
wait "$pid"
status=$?
echo "exit status $status"
exit $status
DRIVE

xvfb-run -a -s "-screen 0 640x480x24" bash "$work/drive.sh" "$bin" "$work/captions.txt"
status=$?
echo "--- captions"
cat "$work/captions.txt"
[ $status -eq 0 ] || { echo "FAILED: status $status"; exit 1; }
grep -qxF "Thank you for playing batting practice By Pellwick" "$work/captions.txt" || { echo "FAILED: no thank-you"; exit 1; }
echo "batting ran, reached the menu and left by itself"
