#!/usr/bin/env bash
# Sets up everything and runs the whole test suite twice: a normal build, then
# one under AddressSanitizer and UndefinedBehaviorSanitizer. Run it as an
# ordinary user: only the package step asks for sudo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh" "$root/scripts/packages.txt" "$root/scripts/test-packages.txt"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# build/ may hold scripts/start.sh's build of the programs alone.
"$root/scripts/build.sh" build -DKELVAROK_BUILD_TESTS=ON -DKELVAROK_BUILD_BENCH=ON
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
"$root/scripts/build.sh" build-asan -DKELVAROK_SANITIZE=ON -DKELVAROK_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$root/tests/lsan-suppressions.txt:print_suppressions=0 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j "$(nproc)"
