#!/usr/bin/env bash
# Runs a test program against a private PipeWire server whose default sink is
# a null sink; 77 (skipped) when the server cannot start.
# Usage: sound_server_test.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/private_pipewire.sh"
work=$(mktemp -d)
cleanup() {
  stop_private_pipewire
  rm -rf "$work"
}
trap cleanup EXIT
if ! start_private_pipewire "$work"; then
  echo "SKIP: the private PipeWire server did not start" >&2
  tail -5 "$work/pipewire.log" >&2 || true
  exit 77
fi
"$@"
