#!/usr/bin/env bash
# Sets up, builds and starts Kelvarok. On a desktop it opens the game; with
# no display it says so, plays the demo offscreen for ten seconds and tells
# where its screenshot is. Run it as an ordinary user: only the package step
# asks for sudo (scripts/install-packages.sh). It builds the programs alone,
# without the tests and benchmarks (scripts/test.sh builds those).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh" "$root/scripts/packages.txt"
"$root/scripts/build.sh" build -DKELVAROK_BUILD_TESTS=OFF -DKELVAROK_BUILD_BENCH=OFF
program="$root/build/app/kelvarok"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi
shot="$root/build/demo-screenshot.png"
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set)."
echo "Playing the demo offscreen for ten seconds..."
QT_QPA_PLATFORM=offscreen "$program" --demo --frames 200 --screenshot "$shot"
echo "Screenshot of the demo: $shot"
