#!/usr/bin/env bash
# Builds the Debian package of the game into build-package/ and checks it with
# lintian: scripts/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh" "$root/scripts/packages.txt" "$root/scripts/package-packages.txt"
dir="$root/build-package"
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
  -DKELVAROK_WERROR=ON -DKELVAROK_BUILD_TESTS=OFF -DKELVAROK_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/kelvarok_*.deb)
echo "lintian $(lintian --version | cut -d' ' -f2) on $(basename "$deb"):"
lintian --info "$deb" || true
echo "$deb"
