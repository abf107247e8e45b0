#!/usr/bin/env bash
# Games recorded by the desktop program's real loop replay headless to the
# same end: the demo records with --record (with a pause and a focus change
# in some runs), kelvarok-sim --replay --verify must agree, the window plays
# one back by itself, and damaged files are refused by both programs.
# Usage: replay_round_trip_test.sh KELVAROK KELVAROK_SIM
set -euo pipefail
kelvarok=$1
sim=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -m 700 "$XDG_RUNTIME_DIR"

# seed, frames, and the demo's extra options
runs=(
  "3 150"
  "11 150 --pause-at 20 --pause-for 300"
  "27 150 --focus-loss-at 40 --pause-for 300 --pause-at 90"
)
for run in "${runs[@]}"; do
  read -r seed frames extra <<<"$run"
  file=$work/seed$seed.kvr
  # shellcheck disable=SC2086
  "$kelvarok" --demo --seed "$seed" --frames "$frames" $extra --record "$file" ||
    fail "demo $run"
  [ -s "$file" ] || fail "demo $run wrote no replay"
  "$sim" --replay "$file" --verify >"$work/final.json" || fail "replay of $run did not verify"
  grep -q '"final":true' "$work/final.json" || fail "no final object for $run"
done
[ -z "$(ls -A "$XDG_DATA_HOME" 2>/dev/null)" ] || fail "the demo wrote into the data folder"

"$kelvarok" --replay "$work/seed11.kvr" || fail "the window did not play the replay"

# A byte changed in the middle, and a file cut short.
damaged=$work/damaged.kvr
cp "$work/seed3.kvr" "$damaged"
size=$(stat -c %s "$damaged")
printf '\x5a' | dd of="$damaged" bs=1 seek=$((size / 2)) conv=notrunc status=none
head -c $((size - 3)) "$work/seed3.kvr" >"$work/short.kvr"
for bad in "$damaged" "$work/short.kvr"; do
  status=0
  "$sim" --replay "$bad" --verify >/dev/null 2>"$work/err" || status=$?
  [ "$status" = 2 ] || fail "kelvarok-sim took $(basename "$bad") (status $status)"
  grep -q "The replay file is damaged." "$work/err" || fail "no message for $(basename "$bad")"
  status=0
  "$kelvarok" --replay "$bad" 2>"$work/err" || status=$?
  [ "$status" = 2 ] || fail "kelvarok took $(basename "$bad") (status $status)"
  grep -q "The replay file is damaged." "$work/err" || fail "kelvarok gave no message"
done
echo PASS
