#!/usr/bin/env bash
# Builds the Debian packages into build-package/ with Debian's hardening build
# flags and checks them with lintian: scripts/package.sh
#   kelvarok        the game in /usr/games, its data in /usr/share/games/kelvarok
#   kelvarok-tools  kelvarok-sim, kelvarok-mix and kelvarok-mix-play in /usr/bin
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh" "$root/scripts/packages.txt" "$root/scripts/package-packages.txt"
dir="$root/build-package"
# Fortify, stack protector, relro and bind-now, as a Debian package is built.
# CMake reads no CPPFLAGS, so the preprocessor's flags go with the compilers'.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKELVAROK_INSTALL_GAMESDIR=games -DKELVAROK_INSTALL_GAMEDATADIR=share/games/kelvarok \
  -DCMAKE_C_FLAGS="$(flags CPPFLAGS) $(flags CFLAGS)" -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" -DCMAKE_STRIP="$root/scripts/debian-strip.sh" \
  -DKELVAROK_WERROR=ON -DKELVAROK_BUILD_TESTS=OFF -DKELVAROK_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/kelvarok*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
for deb in "$dir"/kelvarok_*.deb "$dir"/kelvarok-tools_*.deb; do
  echo "lintian $(lintian --version | cut -d' ' -f2) -I --pedantic on $(basename "$deb"):"
  lintian -I --pedantic "$deb" || true
  echo "$deb"
done
