#!/usr/bin/env bash
# The demo under a headless Wayland compositor (weston), on Qt's native
# wayland platform: it plays its frames, writes a screenshot of the window and
# ends with status 0; a SIGTERM in the middle of a demo closes it in order.
# Usage: wayland_demo_test.sh KELVAROK
set -euo pipefail
kelvarok=$1
work=$(mktemp -d)
weston_pid=
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$work/weston.log" ] && tail -5 "$work/weston.log" >&2; exit 1; }

# Waits up to 20 s for a condition (a command), checking every 50 ms.
wait_for() {
  for _ in $(seq 400); do "$@" && return 0; sleep 0.05; done
  return 1
}

export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=kelvarok-test --idle-time=0 \
  --log="$work/weston.log" >/dev/null 2>&1 &
weston_pid=$!
wait_for test -S "$XDG_RUNTIME_DIR/kelvarok-test" || fail "weston did not start"
export WAYLAND_DISPLAY=kelvarok-test QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy

# A short demo: status 0 and a PNG of the whole window.
"$kelvarok" --demo --frames 25 --screenshot "$work/shot.png" 2>"$work/demo.err" ||
  fail "the demo ended with status $?: $(cat "$work/demo.err")"
[ "$(head -c 8 "$work/shot.png" | od -A n -t x1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "the screenshot is not a PNG"
read -r width height < <(od -A n -t u1 -j 16 -N 8 "$work/shot.png" |
  awk '{print $3 * 256 + $4, $7 * 256 + $8}')
[ "$width" -ge 640 ] && [ "$height" -ge 480 ] || fail "the screenshot is ${width}x${height}"
[ ! -s "$work/demo.err" ] || fail "the demo complained: $(cat "$work/demo.err")"

# SIGTERM while the demo plays: an orderly close with status 0. The signal is
# sent once the program catches it: its handler, once installed, stays. Until
# the exec the child is a copy of this shell, which catches SIGTERM for its
# EXIT trap, so the process must first be the program.
"$kelvarok" --demo --screenshot "$work/closed.png" 2>"$work/closed.err" &
demo=$!
program=$(readlink -f "$kelvarok")
catches_sigterm() {
  [ "$(readlink "/proc/$demo/exe")" = "$program" ] &&
    (( 0x$(awk '/^SigCgt/ {print $2}' "/proc/$demo/status") & 0x4000 ))
}
wait_for catches_sigterm || fail "the demo never caught SIGTERM"
kill -TERM "$demo"
status=0
wait "$demo" || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the demo with status $status: $(cat "$work/closed.err")"
[ -s "$work/closed.png" ] || fail "the demo closed by SIGTERM wrote no screenshot"
echo "ok: ${width}x${height} under Wayland, orderly close on SIGTERM"
