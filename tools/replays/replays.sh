#!/bin/sh
# Whole games recorded as replay files, and the proof that a change of the
# code left what the player hears and the files the game writes exactly as
# they were.
#
#   replays.sh record SOAK DIR   play 220 games (four players, five seeds)
#                                with SOAK and keep each game's replay file and
#                                the hash of its transcript in DIR/sums
#   replays.sh check SOAK DIR    play every replay in DIR again with SOAK and
#                                compare each transcript's hash with DIR/sums
#
# A transcript is everything one game's program runs left behind: every
# sentence with its times, rate, voice and volume, every sound with its
# start, stop, volume, pan and frequency moves, and every player file. It is
# far too large to keep (megabytes a game); `record` leaves each one beside
# its replay as NAME.transcript in DIR, so that `check` can show the first
# line that differs.
set -eu
[ $# -eq 3 ] || { echo "usage: $0 record|check SOAK DIR" >&2; exit 2; }
what=$1 soak=$2 dir=$3

case $what in
record)
    mkdir -p "$dir"
    for spec in "realistic 2026 60" "random 7 60" "always87 11 40" "never 5 40" "realistic 99 20"; do
        set -- $spec
        "$soak" --games "$3" --seed "$2" --player "$1" --replays "$dir" --keep-replays >/dev/null
    done
    : >"$dir/sums"
    for f in "$dir"/*.replay; do
        name=$(basename "$f" .replay)
        "$soak" --replay "$f" >"$dir/$name.transcript" 2>/dev/null
        echo "$(sha256sum <"$dir/$name.transcript" | cut -c1-64) $name" >>"$dir/sums"
    done
    echo "recorded $(wc -l <"$dir/sums") games in $dir"
    ;;
check)
    games=0 differ=0
    while read -r sum name; do
        games=$((games + 1))
        got=$("$soak" --replay "$dir/$name.replay" 2>/dev/null | sha256sum | cut -c1-64)
        [ "$got" = "$sum" ] && continue
        differ=$((differ + 1))
        echo "$name: the transcript differs" >&2
        if [ -f "$dir/$name.transcript" ]; then
            "$soak" --replay "$dir/$name.replay" 2>/dev/null | cut -c1-300 >"$dir/$name.now" || true
            cut -c1-300 "$dir/$name.transcript" | diff - "$dir/$name.now" | head -6 >&2 || true
        fi
    done <"$dir/sums"
    echo "$games games replayed, $differ with a different transcript"
    [ "$games" -gt 0 ] && [ "$differ" -eq 0 ]
    ;;
*)
    echo "usage: $0 record|check SOAK DIR" >&2
    exit 2
    ;;
esac
