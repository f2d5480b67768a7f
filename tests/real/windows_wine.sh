#!/bin/bash
# The Windows edition's game under Wine, on a virtual X display, with a
# fresh Windows profile and a PulseAudio null sink of its own standing in for
# the sound card; driven by the captions the game prints as it speaks.
#  1. A new series: the start-up questions, the coin, the first pitches on
#     whichever side bats first (one let go by, so its sound crosses the
#     whole way; a swing and its verdict when the player bats), F7's report,
#     Escape, save and exit: the game menu program starts.
#  2. The same profile again: the saved game goes on at once; one more pitch,
#     then the session ends (Wine's end of session: WM_QUERYENDSESSION and
#     WM_ENDSESSION to the window): the game saves as save and exit does and
#     ends by itself, without the game menu.
#  3. The same profile again: that game goes on; Escape, exit without saving.
#  4. Only when the computer batted throughout: a new game in which the
#     player's team bats first, a swing and its verdict.
# The sink's recording must hold sound while the captions are printed, and a
# pitch whose sound travels from the left channel to the right. SAPI, which
# Wine cannot speak with, is reported once a run and the built-in voice
# speaks. Usage: windows_wine.sh BASEBALL_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
for tool in xvfb-run xdotool wine wineboot wineserver pulseaudio pactl parec pacat od awk; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
work=$(mktemp -d)
cleanup() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    kill $(jobs -p) 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $1"
    for f in "$work"/run*.txt; do echo "--- $(basename "$f")"; cat "$f"; done
    exit 1
}

# A fresh profile: its own home, Wine prefix and sound server.
export HOME=$work/home XDG_RUNTIME_DIR=$work/run WINEPREFIX=$work/wine
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" PULSE_SERVER=unix:$work/pulse.sock
unset XDG_CONFIG_HOME XDG_DOCUMENTS_DIR SDL_AUDIODRIVER ESPEAK_DATA_PATH DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cd "$work" || exit 1

pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit --log-target=stderr \
    -L "module-null-sink sink_name=sw" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$work/pulse.sock" >pulse.log 2>&1 &
for _ in $(seq 1 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "the sound server did not start: $(cat pulse.log)"
# Silence played all along keeps the sink running, so that its monitor is
# recorded in real time; the recording's growth is stamped with the clock.
pacat -p -d sw --format=s16le --rate=8000 --channels=2 --raw </dev/zero &
parec --latency-msec=20 -d sw.monitor --format=s16le --rate=8000 --channels=2 --raw >sink.raw &
(while :; do echo "$(date +%s.%N) $(stat -c %s sink.raw)"; sleep 0.5; done) >sink.stamps &

started=$(date +%s)
wineboot -i >wineboot.log 2>&1 && wineserver -w || fail "no Wine prefix: $(cat wineboot.log)"
echo "fresh Windows profile made in $(($(date +%s) - started)) s"
printf '#!/bin/sh\nexec wine "%s"\n' "$exe" >baseball
chmod +x baseball

cat >drive.sh <<'DRIVE'
set -u
. "$1"
run=0
# Starts the game with captions in run$run.txt, each line's arrival stamped
# in run$run.times.
start_game() {
    run=$((run + 1))
    start_program ./baseball "run$run.txt" "Sluggerwood"
    (tail -n +1 -F "run$run.txt" 2>/dev/null | while IFS= read -r l; do echo "$(date +%s.%N) $l"; done) \
        >"run$run.times" &
    echo "$(date +%s.%N)" >"run$run.start"
}
batter_prompt=" press the space bar to step into the batters box, "
pitch_prompt=" WHAT WILL YOUR PITCHER THROW kim"
next_prompt() { await_start "$batter_prompt" "$pitch_prompt" || stop_program; }
# One pitch from the prompt in $heard; a swing 0.8 s after the call when $1
# is "swing" and the player bats. The call's caption and the next prompt's
# are noted in pitches.txt with the run.
pitch() {
    sleep 0.2
    if [ "$heard" = "$pitch_prompt" ]; then
        press 1
        await_start " here's the pitch" " and the pitch" || stop_program
        echo "run $run: the computer bats" >>pitches.txt
    else
        press space
        await_start " here's the pitch" " and the pitch" || stop_program
        if [ "$1" = swing ]; then
            sleep 0.8
            press space
            echo "run $run: the player swings" >>pitches.txt
        else
            echo "run $run: the player lets it go" >>pitches.txt
        fi
    fi
    local thrown=$seen
    next_prompt
    heard_since "$thrown" | sed "s/^/    heard: /" >>pitches.txt
    [ -n "$(heard_since "$thrown")" ] || { echo "nothing said between the pitch and the next prompt"; stop_program; }
}
# Waits up to $1 s for the game to end; fails unless it ended with status 0.
ended() {
    for _ in $(seq 1 $(($1 * 10))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && { echo "the game did not end"; stop_program; }
    wait "$pid" || { echo "the game ended with status $?"; cat "$captions.err"; exit 1; }
}
# Under Wine a Shift pressed together with a letter can reach the window
# after the letter: Shift is held down a moment first.
press() {
    local win
    win=$(xdotool search --name "$window" | head -n 1)
    [ -n "$win" ] && xdotool windowfocus --sync "$win" 2>/dev/null
    case $1 in
        shift+*) xdotool keydown shift; sleep 0.2; xdotool key "${1#shift+}"; sleep 0.1; xdotool keyup shift ;;
        *) xdotool key "$1" ;;
    esac
    sleep 0.3
}
# Ends every Windows program of the profile, the game menu among them.
all_gone() { wineserver -k; wineserver -w; sleep 0.5; }

# 1. A new series on a fresh profile.
start_game
new_series_start
await " We are in the top of the first inning" || stop_program
next_prompt
pitch let-go
pitch swing
sleep 0.2
press F7
await " We are in the top of the first inning" || stop_program
await_start " the score is " || stop_program
sleep 0.2
press Escape
ask " Select. 1. save and exit game " Return
await " game saved " || stop_program
ended 20
for _ in $(seq 1 100); do pgrep -f 'vellobar\.exe' >/dev/null && break; sleep 0.1; done
pgrep -f 'vellobar\.exe' >/dev/null || { echo "the game menu did not start"; exit 1; }
all_gone
cp "$HOME"/tamberlyn/baseball.sav saved-run1

# 2. Resumed; one pitch; then the session ends.
start_game
ask " " space
await " We are in the top of the first inning" || stop_program
next_prompt
pitch swing
sleep 0.5
t=$(date +%s%N)
wineboot -e >endsession.log 2>&1
echo "wineboot -e: status $?" >>endsession.log
ended 15
echo "the session's end: the game ended by itself $((($(date +%s%N) - t) / 1000000)) ms after it began" >>endsession.log
sleep 1
pgrep -f 'vellobar\.exe' >/dev/null && { echo "the game menu started as the session ended"; exit 1; }
all_gone
cp "$HOME"/tamberlyn/baseball.sav saved-run2

# 3. Resumed again; leave without saving.
start_game
ask " " space
await " We are in the top of the first inning" || stop_program
next_prompt
sleep 0.2
press Escape
ask " Select. 1. save and exit game " Down
ask " 2. exit game " Return
ended 20
all_gone

# 4. A swing, if none yet: game 1 of a series at the computer's park.
if ! grep -q "the player swings" pitches.txt; then
    printf ' 2 \r\n 0 \r\n 0 \r\nReds\r\nkim\r\nOwls\r\n' >"$HOME/tamberlyn/baseball.rec"
    printf ' 4242 \r\n' >"$HOME/tamberlyn/baseball.sav"
    start_game
    ask " " space
    ask " Would you like to read the baseball rules dot T X T file? no " n
    ask " Would you like to reed the special key instructions? " n
    ask "do you wish to use this voice. yes " Return
    ask " would you like to get in some batting practice? yes " n
    await " We are in the top of the first inning" || stop_program
    next_prompt
    [ "$heard" != "$pitch_prompt" ] || { echo "the player's team does not bat first"; stop_program; }
    pitch swing
    press Escape
    ask " Select. 1. save and exit game " Down
    ask " 2. exit game " Return
    ended 20
    all_gone
fi
DRIVE

xvfb-run -a -s "-screen 0 640x480x24" bash drive.sh "$here/lib.sh" >drive.log 2>&1
status=$?
cat drive.log
[ $status -eq 0 ] || fail "the drive ended with status $status"
echo "--- the pitches"
cat pitches.txt
cat endsession.log
grep -q "the player swings" pitches.txt || fail "no swing"

data=$HOME/tamberlyn
ls -l "$data"
# Run 1 saved; the session's end in run 2 saved a later state of that game
# as save and exit does, and run 3 left it as it was.
[ "$(head -n 1 saved-run1)" = $' 1 \r' ] || fail "run 1: saved game marker"
[ "$(head -n 1 saved-run2)" = $' 1 \r' ] || fail "the session's end: saved game marker"
cmp -s saved-run1 saved-run2 && fail "the session's end saved nothing new"
[ "$(sed -n 2,4p saved-run2 | tr -d '\r' | tr '\n' ,)" = "Reds,kim,Owls," ] || fail "the session's end: names"
grep -qxF " game saved " run2.txt || fail "the session's end: no \" game saved \""
grep -q "^ this is game #1 of the best of 7" run1.txt || fail "run 1 is not game 1 of the series"
for intro in " Would you like to read the baseball rules dot T X T file? yes " "The umpires for today's game are "; do
    ! grep -qxF "$intro" run2.txt || fail "the resumed game went through the introduction: '$intro'"
done
[ "$(sed -n 4,6p "$data/baseball.rec" | tr -d '\r' | tr '\n' ,)" = "Reds,kim,Owls," ] || fail "series record names"
# SAPI is reported once by each program (the game, and the game menu it
# started, which writes to the same output), and the built-in voice speaks.
for r in run*.txt; do
    programs=1
    grep -qxF " Game menu. Use the up and down arrows to choose, and press enter. " "$r" && programs=2
    [ "$(grep -c "SAPI cannot speak" "$r.err")" = $programs ] ||
        fail "$r: SAPI's failure not reported once by each of $programs programs: $(cat "$r.err")"
done
grep -qxF " Game menu. Use the up and down arrows to choose, and press enter. " run1.txt ||
    fail "save and exit did not start the game menu"

# --- what the sink heard ------------------------------------------------------
# Levels in 50 ms windows: the window's start on the clock, the left and
# right RMS. The clock of a frame comes from the last stamp of the recording's
# size at least 2 s into it.
sleep 0.6
od -An -v -td2 -w4 sink.raw | awk -v stamps=sink.stamps '
    BEGIN {
        while ((getline line < stamps) > 0) {
            split(line, f, " ")
            if (n0 == 0 && f[2] >= 64000) { t0 = f[1]; n0 = f[2] / 4 }
        }
    }
    { l += $1 * $1; r += $2 * $2; ++k
      if (k == 400) { printf "%.3f %.0f %.0f\n", t0 + (NR - 400 - n0) / 8000, sqrt(l / k), sqrt(r / k); l = r = k = 0 } }
' >levels.txt
[ -s levels.txt ] || fail "nothing recorded"
# SW_KEEP=FOLDER keeps the recording, its levels and the stamped captions.
[ -n "${SW_KEEP:-}" ] && mkdir -p "$SW_KEEP" && cp levels.txt sink.raw run*.times run*.start "$SW_KEEP"/

# Speech while captions are printed: each sentence of run 1 with a word in it
# must start to sound as it is captioned, louder than the crowd alone (about
# 800 here; speech 3000 to 7000): from 0.1 s before its caption (the stamps
# are as coarse as that) to 0.2 s after it.
loud=2000
speech=$(awk -v loud=$loud '
    FNR == NR { t[++n] = $1; lv[n] = ($2 > $3 ? $2 : $3); if (lv[n] > loud) ++above; next }
    {
        line = substr($0, index($0, " ") + 1)
        if (line !~ /[A-Za-z][A-Za-z]/) next
        ++said; onset = ""
        for (i = 1; i <= n; ++i) if (t[i] >= $1 - 0.1 && lv[i] > loud) { onset = t[i] - $1; break }
        if (onset != "" && onset <= 0.2) { ++sounding; delays = delays sprintf(" %.2f", onset) }
        else print "silent as captioned: " line > "/dev/stderr"
    }
    END { printf "%d %d %.0f%s\n", sounding, said, 100 * above / n, delays }' levels.txt run1.times)
set -- $speech
echo "sentences of run 1 sounding as they were captioned: $1 of $2 (loud windows in the whole recording: $3 %)"
echo "  from caption to sound, s: $(printf '%s\n' "${@:4}" | sort -n | awk '{ v[NR] = $1 } END { printf "min %s, median %s, max %s", v[1], v[int((NR + 1) / 2)], v[NR] }')"
[ "$2" -ge 10 ] && [ "$1" -ge $(($2 * 9 / 10)) ] || fail "speech was not heard as captioned"
# The first word: from the start of the program to its first caption, and to
# the first sound of speech in the sink.
awk -v start="$(cat run1.start)" -v loud=$loud 'NR == FNR { if (!c && $0 ~ /[A-Za-z]/) c = $1; next }
    !s && $1 >= c - 0.025 && ($2 > loud || $3 > loud) { s = $1 }
    END { printf "cold start to the first spoken word: caption %.2f s, sound %.2f s\n", c - start, s - start }' \
    run1.times levels.txt

# The pitch: the crowd is centred and always there, so each side's level is
# taken above the crowd's (the median, over the pitch's time, of the quieter
# side). The pitch's time runs from the call's caption to the next caption
# (what the pitch came to) and at most 4 s, so that speech after it does not
# raise the crowd's level. After the call the ball is heard on the left (6 dB
# or more above the right), then on the right (10 dB below) from two windows
# (0.1 s) to 3.2 s after it was last on the left, more on the left over the
# first half of that way than over the second: a pan that jumps from one side
# to the other does not pass. The left end is the quiet one, as the ball grows
# louder on its way, and a fast ball crosses in a fifth of a second: the
# bounds leave room for both. One pitch of run 1 that the player did not
# swing at must do so (after a swing the ball plays on where it was, and the
# swing's own sound is on the right); the plain left/right ratio is shown
# beside it, and every such pitch's figures when none does.
awk 'FNR == NR { if (/^run 1: /) swung[++notes] = /the player swings/; next }
     { if (call && !swung[++calls]) print call, $1; call = "" }
     / (here.s|and) the pitch$/ { call = $1 }
     END { if (call && !swung[++calls]) print call, call + 4 }' pitches.txt run1.times >calls.txt
[ -s calls.txt ] || fail "run 1 has no pitch that the player did not swing at"
awk '
    function db(a, b) { return 10 * log((a + 1e-9) / (b + 1e-9)) / log(10) }
    function sort(a, n,   i, j, v) { for (i = 2; i <= n; ++i) { v = a[i]; for (j = i - 1; j > 0 && a[j] > v; --j) a[j + 1] = a[j]; a[j + 1] = v } }
    FNR == NR { call[++calls] = $1; until[calls] = ($2 < $1 + 4 ? $2 : $1 + 4); next }
    { t[++n] = $1; l[n] = $2 * $2; r[n] = $3 * $3 }
    END {
        for (c = 1; c <= calls; ++c) {
            k = 0; from = 0; delete q
            for (i = 1; i <= n; ++i) if (t[i] >= call[c] && t[i] <= until[c]) { ++k; q[k] = (l[i] < r[i] ? l[i] : r[i]); if (!from) from = i; to = i }
            if (k < 10) { report = report sprintf("\npitch %d: only %d windows", c, k); continue }
            sort(q, k); floor = q[int((k + 1) / 2)]; eps = floor * 0.05 + 1
            seq = ""; w1 = 0
            for (i = from; i <= to; ++i) {
                el = l[i] - floor; er = r[i] - floor; d[i] = db((el > 0 ? el : 0) + eps, (er > 0 ? er : 0) + eps)
                seq = seq sprintf(" %.0f", d[i])
            }
            report = report sprintf("\npitch %d: %.2f s, the crowd at %.0f; left/right in dB above it:%s", c, until[c] - call[c], sqrt(floor), seq)
            # The crossing: from the last window on the left to the first one
            # on the right after it.
            for (w2 = from; w2 <= to && !found; ++w2) {
                if (t[w2] >= call[c] + 0.2 && d[w2] >= 6) { w1 = w2; continue }
                if (!w1 || d[w2] > -10) continue
                left = w1; w1 = 0
                if (t[w2] - t[left] < 0.09 || t[w2] - t[left] > 3.2) continue
                half = int((left + w2) / 2); first = second = 0; seq = plain = ""
                for (i = left; i <= w2; ++i) {
                    if (i <= half) first += d[i]; else second += d[i]
                    seq = seq sprintf(" %.0f", d[i]); plain = plain sprintf(" %.0f", db(l[i], r[i]))
                }
                if (first / (half - left + 1) <= second / (w2 - half)) continue
                printf "pitch %d: left at %.2f s after its call, right at %.2f s; every 50 ms, left/right in dB above the crowd:%s; plain:%s\n",
                    c, t[left] - call[c], t[w2] - call[c], seq, plain
                found = 1
            }
            w1 = 0
        }
        if (!found) { print "no pitch was heard crossing from left to right:" report; exit 1 }
    }' calls.txt levels.txt || fail "the pitch did not travel"
echo "windows_wine: all checks passed in $(($(date +%s) - started)) s"
