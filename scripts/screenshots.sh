#!/usr/bin/env bash
# Remakes every picture the README shows from the build in BUILD_DIR (default
# build/), in an X server of its own (Xvfb), and prints the command behind
# each; the README writes the same command beside the picture. A build gives
# the same pictures every time: the demo's seed and length are fixed, and the
# screen, language, scale, sound and folders are set here, not taken from the
# desktop. Usage: scripts/screenshots.sh [BUILD_DIR]
# SCREENSHOT_DISPLAY=N uses X display :N; without it Xvfb takes a free one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
[ -x "$build/app/kelvarok" ] || { echo "no $build/app/kelvarok: build it first" >&2; exit 1; }

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Xvfb writes the display it took to fd 3 once it accepts clients.
Xvfb ${SCREENSHOT_DISPLAY:+":$SCREENSHOT_DISPLAY"} -displayfd 3 -screen 0 1024x768x24 \
  -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
until [ -s "$work/display" ]; do
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
display=$(tr -d '\n' <"$work/display")

mkdir -m 700 "$work/runtime"
unset WAYLAND_DISPLAY QT_STYLE_OVERRIDE QT_SCREEN_SCALE_FACTORS QT_FONT_DPI QT_QPA_PLATFORMTHEME
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 LANG=C.UTF-8 LC_ALL=C.UTF-8 \
  SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_RUNTIME_DIR="$work/runtime" PATH="$build/app:$PATH"

# Runs a command from the source folder, as the README writes it.
shoot() {
  echo "$*"
  (cd "$root" && "$@")
}

shoot kelvarok --demo --seed 1 --frames 250 --open-menu --screenshot docs/screenshots/game-menu-open.png
