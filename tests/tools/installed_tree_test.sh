#!/usr/bin/env bash
# `cmake --install` of the build tree puts the program, the command-line tools,
# the icons, the man pages and the desktop files in place, and the uninstall
# script removes every one of them again. Usage: installed_tree_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
missing=0
for file in bin/kelvarok bin/kelvarok-sim bin/kelvarok-mix bin/kelvarok-mix-play \
    share/icons/hicolor/48x48/apps/kelvarok.png share/icons/hicolor/256x256/apps/kelvarok.png \
    share/man/man6/kelvarok.6.gz share/man/man6/kelvarok-sim.6.gz share/man/man6/kelvarok-mix.6.gz \
    share/man/man6/kelvarok-mix-play.6.gz share/applications/com.ombrix.Kelvarok.desktop \
    share/metainfo/com.ombrix.Kelvarok.metainfo.xml share/kelvarok/help/kelvarok.html; do
  [ -e "$prefix/$file" ] || { echo "FAIL: not installed: $file" >&2; missing=1; }
done
for tool in kelvarok kelvarok-sim kelvarok-mix kelvarok-mix-play; do
  [ -x "$prefix/bin/$tool" ] || { echo "FAIL: $tool is not executable" >&2; missing=1; }
done
cmake -DMANIFEST="$build/install_manifest.txt" -P "$source/cmake/KelvarokUninstall.cmake" >/dev/null
left=$(find "$prefix" -type f)
[ -z "$left" ] || { echo "FAIL: left after uninstall: $left" >&2; missing=1; }
[ "$missing" -eq 0 ] && echo "ok: installed and removed"
exit "$missing"
