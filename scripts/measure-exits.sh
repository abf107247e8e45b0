#!/usr/bin/env bash
# Measures how the real program ends under real conditions, on an Xvfb of its
# own (needs Xvfb, xdotool, prlimit). Not part of the test suite; slow, so run
# it under nice:
#   nice scripts/measure-exits.sh [BUILD_DIR] [RUNS]
# 1. RUNS runs (default 100) each of SIGINT, SIGHUP and SIGTERM, sent at a
#    random moment (idle, playing, paused, a modal window open, plus up to a
#    second of random delay): how many exited within 2 s with status 0 and
#    left a complete settings file (all 46 values, the old ones kept).
# 2. 20 saves under file size limits below the new file's size (SIGXFSZ
#    ignored, as a shell's `trap '' XFSZ; ulimit -f` gives): how many exited
#    with status 1 and left the old file byte for byte.
# 3. 10 forged lock files of different kinds: how many starts succeeded (the
#    window came up and the program took the lock).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-100}
program=$build/app/kelvarok
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

Xvfb -displayfd 4 -nolisten tcp -noreset -screen 0 1024x768x24 4>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
old_settings=$'[General]\nSoundVolume=40\nName1=Keeper\nScore1=900\n'

# A fresh user: HOME_DIR with config/ and run/.
new_home() {
  home=$(mktemp -d "$work/home.XXXXXX")
  mkdir -p "$home/config/Ombrix" "$home/run"
  chmod 700 "$home/run"
  printf '%s' "$old_settings" >"$home/config/Ombrix/Kelvarok.conf"
  export XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
}

main_window() { timeout 20 xdotool search --sync --name '^Kelvarok 2.10$' 2>/dev/null | head -1; }
keys() { xdotool windowfocus --sync "$1" key $2 2>/dev/null; }
window_named() { timeout 20 xdotool search --sync --name "$1" >/dev/null 2>&1; }

# Brings the program to moment $1 (idle, playing, paused, modal); false if not.
reach() {
  local window
  window=$(main_window) || return 1
  [ -n "$window" ] || return 1
  case $1 in
    idle) ;;
    playing) keys "$window" F2 && window_named 'Round 1' ;;
    paused) keys "$window" F2 && window_named 'Round 1' && keys "$window" "F4 F1" &&
              window_named '^Kelvarok Help$' ;;
    modal) keys "$window" "alt+o k" && window_named '^Keyboard Settings$' ;;
  esac
}

# Waits up to 10 s for process $1 to end; sets status to its exit status and
# ms to the milliseconds from $2 (a date +%s%N) to its end, or status to
# "none" (after killing it) if it still runs.
wait_end() {
  local pid=$1 start=$2 state end
  for _ in $(seq 1000); do
    state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null || echo gone)
    if [ "$state" = Z ] || [ "$state" = gone ]; then
      end=$(date +%s%N)
      wait "$pid"
      status=$? ms=$(((end - start) / 1000000))
      return
    fi
    sleep 0.01
  done
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null
  status=none ms=
}

complete_save() {
  local file=$XDG_CONFIG_HOME/Ombrix/Kelvarok.conf
  [ "$(grep -c '^[A-Za-z0-9]*=' "$file")" = 46 ] && grep -qx 'SoundVolume=40' "$file" &&
    grep -qx 'Name1=Keeper' "$file" && grep -qx 'Name10=' "$file" &&
    [ "$(ls -A "$XDG_CONFIG_HOME/Ombrix" | wc -l)" = 1 ]
}

moments=(idle playing paused modal)
for signal in INT HUP TERM; do
  good=0 reached=0
  declare -A per_moment=()
  for _ in $(seq "$runs"); do
    new_home
    moment=${moments[RANDOM % 4]}
    "$program" 2>/dev/null &
    pid=$!
    reach "$moment" && reached=$((reached + 1))
    sleep "0.$(printf '%03d' $((RANDOM % 1000)))"
    start=$(date +%s%N)
    kill -"$signal" "$pid"
    wait_end "$pid" "$start"
    if [ "$status" = 0 ] && [ "${ms:-99999}" -le 2000 ] && complete_save; then
      good=$((good + 1))
      per_moment[$moment]=$((${per_moment[$moment]:-0} + 1))
    else
      echo "  SIG$signal at $moment: status ${status:-none}, ${ms:-?} ms" >&2
    fi
    rm -rf "$home"
  done
  echo "SIG$signal: $good of $runs exited within 2 s with status 0 and a complete file" \
    "(moment reached in $reached; good per moment: $(for m in "${moments[@]}"; do
      printf '%s %s ' "$m" "${per_moment[$m]:-0}"; done))"
  unset per_moment
done

# The size of the file a save writes here, to put the limits below it.
new_home
"$program" 2>/dev/null &
pid=$!
main_window >/dev/null
kill -TERM "$pid"; wait "$pid"
size=$(stat -c %s "$XDG_CONFIG_HOME/Ombrix/Kelvarok.conf")
rm -rf "$home"
intact=0
for i in $(seq 0 19); do
  limit=$((i * size / 20))
  new_home
  # Standard error goes through a pipe: a file would be cut by the same limit.
  (trap '' XFSZ; exec prlimit --fsize="$limit" "$program") 2> >(cat >"$work/stderr") &
  pid=$!
  main_window >/dev/null
  kill -TERM "$pid"
  wait_end "$pid" "$(date +%s%N)"
  if [ "$status" = 1 ] && [ "$(cat "$XDG_CONFIG_HOME/Ombrix/Kelvarok.conf")" = "${old_settings%$'\n'}" ] &&
    [ "$(ls -A "$XDG_CONFIG_HOME/Ombrix" | wc -l)" = 1 ] &&
    grep -q "Failed to set data for 'FormWidth'" "$work/stderr"; then
    intact=$((intact + 1))
  else
    echo "  save limited to $limit bytes: status ${status:-none}" >&2
  fi
  rm -rf "$home"
done
echo "Saves limited below the file's $size bytes: $intact of 20 left the old file intact (status 1, message on stderr)"

true & dead=$!; wait "$dead"
sleep 1000 & foreign=$!
forged_kinds=(empty garbage minus-one zero init-pid foreign-live-pid dead-pid huge-number qlockfile-dead whitespace)
forge() {
  case $1 in
    empty) : ;;
    garbage) printf '\x01\xff\xfe\x00 zz\n' ;;
    minus-one) echo -1 ;;
    zero) echo 0 ;;
    init-pid) echo 1 ;;
    foreign-live-pid) echo "$foreign" ;;
    dead-pid) echo "$dead" ;;
    huge-number) echo 99999999999999999999 ;;
    qlockfile-dead) printf '%s\nkelvarok\n%s\n' "$dead" "$(hostname)" ;;
    whitespace) printf '  \n\t\n' ;;
  esac
}
started=0
for kind in "${forged_kinds[@]}"; do
  new_home
  forge "$kind" >"$XDG_RUNTIME_DIR/kelvarok.lock"
  "$program" 2>/dev/null &
  pid=$!
  if [ -n "$(main_window)" ] && [ "$(cat "$XDG_RUNTIME_DIR/kelvarok.lock")" = "$pid" ]; then
    started=$((started + 1))
  else
    echo "  lock file '$kind': no start" >&2
  fi
  kill -TERM "$pid"; wait "$pid" 2>/dev/null
  rm -rf "$home"
done
kill "$foreign"
echo "Forged lock files: $started of ${#forged_kinds[@]} starts succeeded (${forged_kinds[*]})"
