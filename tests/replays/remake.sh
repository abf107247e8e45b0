#!/usr/bin/env bash
# Remakes the recordings of this folder with kelvarok-sim --record-games: each
# session's script (with its settings file, if there is one) is played and
# every game it plays is written as SESSION/1.kvr, SESSION/2.kvr, ...; the
# final hash of each goes into expected.txt, and the fuzz seeds made from them
# (fuzz/corpus/replay_play, and those of fuzz/corpus/replay_file) follow. Only
# for a deliberate change of the rules, together with a raised kRulesRevision.
#   tests/replays/remake.sh build/tools/sim/kelvarok-sim
set -euo pipefail
sim=$1
here=$(cd "$(dirname "$0")" && pwd)

# session, seed, and the run's other options
sessions=(
  "two_players 1"
  "bonus_round 9 --autopilot"
  "pauses_and_focus 8"
  "quit_mid_jump 1"
  "shared_keys 3 --settings $here/shared_keys.conf"
  "joystick 4 --settings $here/joystick.conf"
)
: >"$here/expected.txt"
for session in "${sessions[@]}"; do
  read -r name seed extra <<<"$session"
  rm -rf "${here:?}/$name"
  # shellcheck disable=SC2086
  "$sim" --seed "$seed" --script "$here/$name.txt" $extra --record-games "$here/$name" >/dev/null
  for file in "$here/$name"/*.kvr; do
    # The final hash is the body's last 8 bytes, least significant first.
    hash=$(python3 - "$file" <<'PY'
import sys, zlib
data = open(sys.argv[1], "rb").read()[:-4]
at = 5
def varint():
    global at
    value, shift = 0, 0
    while True:
        byte = data[at]; at += 1
        value |= (byte & 0x7F) << shift; shift += 7
        if byte < 0x80: return value
varint(); varint(); varint()  # rules revision, body size, packed size
body = zlib.decompress(data[at:])
print("%016x" % int.from_bytes(body[-8:], "little"))
PY
)
    echo "$name/$(basename "$file") $hash" >>"$here/expected.txt"
  done
done

# The fuzz seeds: each file as it is (first byte even) and its body alone
# (first byte odd), as fuzz/replay_container.h reads them.
python3 - "$here" "$here/../../fuzz/corpus" <<'PY'
import glob, os, sys, zlib
here, corpus = sys.argv[1], sys.argv[2]
def varint(data, at):
    value = shift = 0
    while True:
        byte = data[at]; at += 1
        value |= (byte & 0x7F) << shift; shift += 7
        if byte < 0x80: return value, at
for path in sorted(glob.glob(here + "/*/*.kvr")):
    data = open(path, "rb").read()
    name = os.path.basename(os.path.dirname(path)) + "_" + os.path.basename(path)[:-4]
    at = 5
    for _ in range(3): _, at = varint(data, at)
    seeds = {"file": b"\0" + data, "body": b"\1" + zlib.decompress(data[at:-4])}
    for target in ("replay_play", "replay_file"):
        for kind, content in seeds.items():
            seed = f"{corpus}/{target}/{name}_{kind}"
            if target == "replay_play" or os.path.exists(seed):
                open(seed, "wb").write(content)
PY
