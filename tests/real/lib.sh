# Shared by the tests that run a real program under a virtual X display:
# sourced by each test script, and by the driver it runs inside the display.

sw_real_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lib.sh

# The test's folder with a fresh home, SDL's dummy audio; skips (status 77)
# when the X tools are missing. Sets $work and $HOME.
xvfb_setup() {
    for tool in xvfb-run xdotool; do
        command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
    done
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    export HOME=$work/home SDL_AUDIODRIVER=dummy
    unset XDG_CONFIG_HOME XDG_DOCUMENTS_DIR
    mkdir -p "$HOME"
    cd "$work" || exit 1
}

# Runs the driver script $1 (which sources this file) with the program $2
# under a virtual display; the captions go to $work/captions.txt.
xvfb_drive() {
    xvfb-run -a -s "-screen 0 640x480x24" bash "$1" "$2" "$work/captions.txt" "$sw_real_lib"
    local status=$?
    echo "--- captions"
    cat "$work/captions.txt"
    [ $status -eq 0 ] || { echo "FAILED: status $status"; exit 1; }
}

# --- inside the display -------------------------------------------------------

# Starts the program $1 with its captions in $2; $3 is the window's title.
# Xvfb starts afresh whenever its last client leaves, its keyboard layout
# reset: a program that ends just as the game menu it started opens its
# window would take the menu's display with it. One idle client stays
# connected for the whole drive.
keep_display() {
    [ -n "${display_keeper:-}" ] && return
    xdotool sleep 3600 >/dev/null 2>&1 &
    display_keeper=$!
    trap 'kill "$display_keeper" 2>/dev/null' EXIT
    sleep 0.2
}
start_program() {
    captions=$2 window=$3 seen=0
    keep_display
    "$1" >"$captions" 2>"$captions.err" &
    pid=$!
}
stop_program() { kill -9 "$pid" 2>/dev/null; cat "$captions.err"; exit 1; }
# Waits until a caption line after the last one matched equals $1, at most 40 s.
await() {
    for _ in $(seq 1 400); do
        local n
        n=$(tail -n +$((seen + 1)) "$captions" | grep -nxF -- "$1" | head -n 1 | cut -d: -f1)
        if [ -n "$n" ]; then seen=$((seen + n)); return 0; fi
        kill -0 "$pid" 2>/dev/null || { echo "program ended early"; return 1; }
        sleep 0.1
    done
    echo "never heard: '$1'"; return 1
}
# Waits until a caption line after the last one matched begins with one of
# the texts given, at most 40 s; the line is left in $heard.
await_start() {
    local starts
    starts=$(printf '%s\n' "$@")
    for _ in $(seq 1 400); do
        local n
        n=$(tail -n +$((seen + 1)) "$captions" | STARTS=$starts awk '
            BEGIN { k = split(ENVIRON["STARTS"], s, "\n") }
            { for (i = 1; i <= k; ++i) if (s[i] != "" && index($0, s[i]) == 1) { print NR; exit } }')
        if [ -n "$n" ]; then
            seen=$((seen + n))
            heard=$(sed -n "${seen}p" "$captions")
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || { echo "program ended early"; return 1; }
        sleep 0.1
    done
    echo "never heard a line beginning with:$(printf " '%s'" "$@")"; return 1
}
# The caption lines after line $1 up to the last one matched, one a line.
heard_since() { [ $(($1 + 1)) -lt "$seen" ] && sed -n "$(($1 + 1)),$((seen - 1))p" "$captions"; }
# One key, as xdotool names it, into the program's window.
press() {
    local win
    win=$(xdotool search --name "$window" | head -n 1)
    [ -n "$win" ] && xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool key "$1"
    sleep 0.3
}
# Waits for the caption $1, then presses $2.
ask() { await "$1" || stop_program; sleep 0.2; press "$2"; }
# Waits up to $1 seconds for the program to end by itself; exits with its status.
finish() {
    for _ in $(seq 1 $(($1 * 10))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then echo "the program did not end"; stop_program; fi
    wait "$pid"
    local status=$?
    echo "exit status $status"
    exit $status
}

# Whether the process $1 runs: one that ended and is not reaped yet counts
# as ended.
running() {
    local state
    state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)
    [ -n "$state" ] && [ "$state" != Z ]
}

# The game menu the program starts as it leaves: the program ends by itself
# with status 0; the menu it started (the vellobar with this test's HOME,
# and when $1 is given, the one whose executable is $1) is heard, its first
# item " baseball " too, and Escape ends it with its goodbye. Exits 0 then.
menu_intro=" Game menu. Use the up and down arrows to choose, and press enter. "
leave_by_menu() {
    local menu="" status
    for _ in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && { echo "the program did not end"; stop_program; }
    wait "$pid"
    status=$?
    [ $status -eq 0 ] || { echo "the program ended with status $status"; cat "$captions.err"; exit 1; }
    for _ in $(seq 1 100); do
        for p in $(pgrep -x vellobar); do
            running "$p" || continue
            tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "HOME=$HOME" || continue
            [ -z "${1:-}" ] || [ "$(readlink "/proc/$p/exe")" = "$1" ] || continue
            menu=$p
        done
        [ -n "$menu" ] && break
        sleep 0.1
    done
    [ -n "$menu" ] || { echo "no game menu ${1:-} of this test is running"; cat "$captions.err"; exit 1; }
    echo "the game menu runs: pid $menu, $(readlink "/proc/$menu/exe")"
    pid=$menu window="Game menu"
    await "$menu_intro" || stop_program
    ask " baseball " Escape
    await "Thank you for playing. Goodbye." || stop_program
    for _ in $(seq 1 100); do
        running "$menu" || { echo "the game menu ended"; exit 0; }
        sleep 0.1
    done
    echo "the game menu did not end"
    stop_program
}

# Sends the signal $1 (TERM, HUP, ...) to the program, which must then end by
# itself within $2 seconds; exits with its status, so a program the signal
# killed fails. Says how long the ending took.
end_by_signal() {
    local t0
    t0=$(date +%s%N)
    kill -s "$1" "$pid"
    for _ in $(seq 1 $(($2 * 20))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$pid" 2>/dev/null; then echo "the program did not end within $2 s of SIG$1"; stop_program; fi
    wait "$pid"
    local status=$?
    echo "SIG$1: the program ended by itself after $((($(date +%s%N) - t0) / 1000000)) ms, exit status $status"
    exit $status
}

# A name typed key by key, then confirmed.
name() {
    await "$1" || stop_program
    sleep 0.2
    for k in $2; do press "$k"; done
    press Return
    ask "$3" Return
}

# The first start of the game on a fresh home folder: the shipped rosters
# brought over without a question, every question of the introduction
# declined, the Reds (kim) against the Owls, heads; returns when the umpires
# are announced.
new_series_start() {
    ask " " space
    if grep -q "seems to be corrupt" "$captions"; then echo "a roster question on the first start"; stop_program; fi
    ask " Would you like to read the baseball rules dot T X T file? yes " n
    ask " Would you like to reed the special key instructions? " n
    ask "do you wish to use this voice. yes " Return
    ask " would you like to get in some batting practice? yes " n
    name " What would you like the name of your team to be ?" "shift+r e d s" "is, Reds, correct for the name of your team? yes "
    name " Your team needs a manager.  What is your name ?" "k i m" " is, kim, correct for your name? yes "
    name " What would you like the name of my team to be ?" "shift+o w l s" "is, Owls, correct for the name of my team? yes "
    ask " Let's flip a coin.  The winner is the home team" h
    await "The umpires for today's game are " || stop_program
}
