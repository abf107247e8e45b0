#!/usr/bin/env bash
# Sourced by the sound-server tests and measurements: starts a private PipeWire
# (pipewire, wireplumber and pipewire-pulse under dbus-run-session, in a
# private XDG_RUNTIME_DIR) with a null sink as the default sink, and records
# its monitor on demand. Every process is stopped by its PID at exit.
#
#   source private_pipewire.sh
#   start_private_pipewire WORKDIR || exit 77   # 77: the server cannot start
#   start_monitor_recording FILE                 # s16le, 2 channels, 48000/s
#   stop_monitor_recording
#
# Exports PULSE_SERVER, XDG_RUNTIME_DIR and SDL_AUDIODRIVER=pulseaudio.

pipewire_session_pid=
monitor_pid=

# Waits up to 20 s for a condition (a command), checking every 20 ms.
wait_for() {
  local _
  for _ in $(seq 1000); do "$@" && return 0; sleep 0.02; done
  return 1
}

stop_private_pipewire() {
  stop_monitor_recording
  if [ -n "$pipewire_session_pid" ]; then
    # The session's children first, then the session itself.
    pkill -TERM -P "$pipewire_session_pid" 2>/dev/null || true
    kill -TERM "$pipewire_session_pid" 2>/dev/null || true
    wait "$pipewire_session_pid" 2>/dev/null || true
    pipewire_session_pid=
  fi
}

sink_listed() { pactl list short sinks 2>/dev/null | grep -q "kelvarok_test"; }
sink_is_default() { [ "$(pactl get-default-sink 2>/dev/null)" = kelvarok_test ]; }

# WORKDIR must be empty and private to this run.
start_private_pipewire() {
  local work=$1
  for program in dbus-run-session pipewire wireplumber pipewire-pulse pactl parec; do
    command -v "$program" >/dev/null || { echo "no $program" >&2; return 1; }
  done
  export XDG_RUNTIME_DIR=$work/run
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  unset PIPEWIRE_REMOTE PULSE_SERVER DBUS_SESSION_BUS_ADDRESS
  dbus-run-session -- bash -c \
    'pipewire & pipewire_pid=$!
     wireplumber & wireplumber_pid=$!
     pipewire-pulse & pulse_pid=$!
     trap "kill \$pulse_pid \$wireplumber_pid \$pipewire_pid 2>/dev/null" TERM
     wait' >"$work/pipewire.log" 2>&1 &
  pipewire_session_pid=$!
  export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
  wait_for test -S "$XDG_RUNTIME_DIR/pulse/native" || { echo "no pulse socket" >&2; return 1; }
  wait_for pactl info >/dev/null 2>&1 || { echo "pactl finds no server" >&2; return 1; }
  pactl load-module module-null-sink sink_name=kelvarok_test \
    rate=48000 channels=2 >/dev/null || { echo "no null sink" >&2; return 1; }
  wait_for sink_listed || { echo "the null sink is not listed" >&2; return 1; }
  pactl set-default-sink kelvarok_test || return 1
  wait_for sink_is_default || { echo "the null sink is not the default" >&2; return 1; }
  export SDL_AUDIODRIVER=pulseaudio
}

# Records the null sink's monitor until stop_monitor_recording; returns once
# the recording stream is connected.
start_monitor_recording() {
  parec -d kelvarok_test.monitor --format=s16le --rate=48000 --channels=2 \
    --raw --latency-msec=100 "$1" &
  monitor_pid=$!
  recording() { pactl list short source-outputs 2>/dev/null | grep -q .; }
  wait_for recording
}

stop_monitor_recording() {
  if [ -n "$monitor_pid" ]; then
    kill -TERM "$monitor_pid" 2>/dev/null || true
    wait "$monitor_pid" 2>/dev/null || true
    monitor_pid=
  fi
}
