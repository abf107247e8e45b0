#!/usr/bin/env bash
# Runs sound_latency_bench's sink measurement through a private PipeWire
# server (its Pulse layer, as SDL's pulseaudio driver reaches a desktop's
# server) with a null sink as the default sink.
# Usage: bench/sound_server_latency.sh BUILD_DIR [busy]
#   busy: a shell loop keeps one core busy during the measurement.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/sdl/private_pipewire.sh"
work=$(mktemp -d)
busy_pid=
cleanup() {
  [ -n "$busy_pid" ] && kill "$busy_pid" 2>/dev/null
  stop_private_pipewire
  rm -rf "$work"
}
trap cleanup EXIT
start_private_pipewire "$work" || { echo "the sound server did not start" >&2; exit 1; }
if [ "${2:-}" = busy ]; then
  bash -c 'while :; do :; done' &
  busy_pid=$!
fi
"$build/bench/sound_latency_bench" --benchmark_filter=AtTheSink
