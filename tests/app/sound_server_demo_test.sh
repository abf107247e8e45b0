#!/usr/bin/env bash
# The demo heard through a private PipeWire server's Pulse layer, as a player
# on today's desktops hears it: SDL's pulseaudio driver plays into a null sink
# whose monitor is recorded. Any break of exact silence inside a sound (the
# device ran dry) fails. Runs under tests/sdl/sound_server_test.sh, which
# starts the server (or skips with 77 when it cannot).
# Usage: sound_server_demo_test.sh KELVAROK KELVAROK_SILENCE_BREAKS
set -euo pipefail
kelvarok=$1
silence_breaks=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../sdl/private_pipewire.sh"
work=$(mktemp -d)
cleanup() {
  stop_monitor_recording
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config KELVAROK_SOUND_UNDERRUNS=1
start_monitor_recording "$work/monitor.raw" || fail "the monitor is not recorded"
"$kelvarok" --demo --frames 500 2>"$work/demo.err" ||
  fail "the demo ended with status $?: $(cat "$work/demo.err")"
stop_monitor_recording
[ -s "$work/monitor.raw" ] || fail "nothing was recorded from the monitor"
read -r breaks broken heard < <("$silence_breaks" "$work/monitor.raw" |
  sed 's/breaks=\([0-9]*\) broken_ms=\([0-9]*\) sound_ms=\([0-9]*\)/\1 \2 \3/')
[ "$heard" -ge 5000 ] || fail "only $heard ms of sound reached the sink"
[ "$breaks" -eq 0 ] ||
  fail "$breaks breaks of silence ($broken ms) inside sounds; $(cat "$work/demo.err")"
echo "ok: $heard ms of sound without a break; $(cat "$work/demo.err")"
