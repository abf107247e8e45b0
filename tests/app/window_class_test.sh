#!/usr/bin/env bash
# Docks group a window with its launcher by the desktop entry's StartupWMClass,
# which must be the class the program's window has under X (WM_CLASS). The
# demo runs on an X server of its own until its window shows.
# Usage: window_class_test.sh KELVAROK DESKTOP_FILE
set -euo pipefail
kelvarok=$1 desktop=$2
work=$(mktemp -d)
xvfb= demo=
cleanup() {
  [ -n "$demo" ] && kill "$demo" 2>/dev/null && wait "$demo" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$class" ] || fail "the desktop entry has no StartupWMClass"

# The server writes its display number once it accepts clients.
mkfifo "$work/display"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb=$!
read -r -t 20 display <"$work/display" || fail "Xvfb did not start"

export DISPLAY=:$display QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$kelvarok" --demo &
demo=$!
# xdotool matches the class without regard to case; xprop gives it exactly.
window=$(timeout 20 xdotool search --sync --onlyvisible --class "^$class\$" | head -n 1) ||
  fail "no window of class $class showed"
read -r _ _ instance shown < <(xprop -id "$window" WM_CLASS | tr -d '",')
[ "$shown" = "$class" ] || fail "the window's class is $shown ($instance), the desktop entry says $class"
echo "ok: WM_CLASS $instance, $shown"
