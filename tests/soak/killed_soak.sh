#!/bin/bash
# A soak killed with SIGKILL at random moments never leaves a player file
# damaged or half-written: every file in its data folder is, byte for byte,
# one of the versions the same soak (same seed, so the same games) wrote in a
# run that was not killed.
#   killed_soak.sh path/to/soak [kills]
set -u
soak=$1
kills=${2:-8}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
args=(--games 3 --seed 424242 --player realistic --replays "$work")

start=$(date +%s%N)
if ! "$soak" "${args[@]}" --folder "$work/reference" --versions "$work/versions" > "$work/reference.json"; then
    echo "the reference soak failed"; cat "$work/reference.json"; exit 1
fi
took_ms=$(( ($(date +%s%N) - start) / 1000000 ))
writes=$(wc -l < "$work/versions")
echo "reference: $writes file writes in ${took_ms} ms"

fail=0
for ((k = 1; k <= kills; k++)); do
    dir="$work/killed$k"
    "$soak" "${args[@]}" --folder "$dir" > /dev/null 2>&1 &
    pid=$!
    # A moment anywhere in the reference run's length.
    ms=$(( (RANDOM * 32768 + RANDOM) % (took_ms + 1) ))
    sleep "$((ms / 1000)).$(printf '%03d' $((ms % 1000)))"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    data="$dir/home/Documents/tamberlyn"
    checked=0
    for f in "$data"/*; do
        [ -f "$f" ] || continue
        name=$(basename "$f")
        if ! grep -qx "$name $("$soak" --hash "$f")" "$work/versions"; then
            echo "kill $k: $name is not a version the soak ever wrote:"; od -c "$f" | head -5
            fail=1
        fi
        checked=$((checked + 1))
    done
    left=$(find "$data" -name '.*.tmp*' 2>/dev/null | wc -l)
    echo "kill $k after ${ms} ms: $checked files whole, $left unfinished temporary files beside them"
done
exit $fail
