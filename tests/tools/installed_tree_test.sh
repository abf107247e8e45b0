#!/usr/bin/env bash
# `cmake --install --strip` of the build tree, as the README has it, puts the
# program, the command-line tools, the help, the icons, the man pages and the
# desktop files in place: every program in bin/, stripped, and answering its
# command line; the desktop files valid. The uninstall script then removes
# every file and the folders left empty, but no folder that holds something
# else.
# Usage: installed_tree_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Something of the user's in a folder the install also uses.
mkdir -p "$prefix/share/applications"
echo "[Desktop Entry]" >"$prefix/share/applications/users-own.desktop"

cmake --install "$build" --prefix "$prefix" --strip >/dev/null
programs=(kelvarok kelvarok-sim kelvarok-mix kelvarok-mix-play)
for file in "${programs[@]/#/bin/}" \
    share/icons/hicolor/48x48/apps/kelvarok.png share/icons/hicolor/256x256/apps/kelvarok.png \
    share/man/man6/kelvarok.6.gz share/man/man1/kelvarok-sim.1.gz share/man/man1/kelvarok-mix.1.gz \
    share/man/man1/kelvarok-mix-play.1.gz share/applications/com.ombrix.Kelvarok.desktop \
    share/metainfo/com.ombrix.Kelvarok.metainfo.xml share/kelvarok/help/kelvarok.html; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done
for program in "${programs[@]}"; do
  binary=$prefix/bin/$program
  [ -x "$binary" ] || { fail "$program is not executable"; continue; }
  ! readelf -S "$binary" | grep -q '\.symtab' || fail "$program is not stripped"
done
bash "$source/tests/tools/command_lines_test.sh" "$version" "${programs[@]/#/$prefix/bin/}" >/dev/null ||
  fail "the installed programs do not answer their command lines"

desktop=$prefix/share/applications/com.ombrix.Kelvarok.desktop
metainfo=$prefix/share/metainfo/com.ombrix.Kelvarok.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic --explain "$metainfo" >"$prefix/validate.txt" 2>&1 ||
  fail "appstreamcli: $(cat "$prefix/validate.txt")"
rm "$prefix/validate.txt"

cmake -DMANIFEST="$build/install_manifest.txt" -P "$source/cmake/KelvarokUninstall.cmake" >/dev/null
left=$(cd "$prefix" && find . -mindepth 1 | sort | tr '\n' ' ')
expected="./share ./share/applications ./share/applications/users-own.desktop "
[ "$left" = "$expected" ] || fail "left after uninstall: $left"
[ "$failures" -eq 0 ] && echo "ok: installed, stripped and removed"
exit $((failures > 0))
