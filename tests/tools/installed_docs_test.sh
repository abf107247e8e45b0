#!/usr/bin/env bash
# What `cmake --install` puts in place says what the programs do: each man page
# names every option the program's --help lists (-h, --help, --version and --
# among them) and has an EXIT STATUS section, the game's has a BUGS section,
# every link of the help's contents leads to a section, and the metainfo's
# release is the project's version, which every installed program reports.
# Usage: installed_docs_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || exit 1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for name in kelvarok kelvarok-sim kelvarok-mix kelvarok-mix-play; do
  program=$(find "$prefix" -type f -name "$name" | head -1)
  page=$(find "$prefix" -type f -name "$name.[0-9].gz" | head -1)
  [ -x "$program" ] || { fail "$name is not installed"; continue; }
  [ -f "$page" ] || { fail "no man page for $name"; continue; }
  [ "$("$program" --version)" = "$name $version" ] || fail "$name --version: $("$program" --version)"
  text=$(gzip -dc "$page" | sed 's/\\-/-/g')
  for option in $("$program" --help | grep -oE '(^|[ ,])(-h|--[a-z][a-z-]*)' | tr -d ' ,' | sort -u); do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$text" || fail "$name's man page lacks $option"
  done
  grep -qx '.B --' <<<"$text" || fail "$name's man page does not say what -- means"
  grep -qx '.SH EXIT STATUS' <<<"$text" || fail "$name's man page has no EXIT STATUS"
  grep -q '@' <<<"$text" && fail "$name's man page keeps a @VARIABLE@"
done
gzip -dc "$(find "$prefix" -type f -name 'kelvarok.[0-9].gz' | head -1)" | grep -qx '.SH BUGS' ||
  fail "kelvarok's man page has no BUGS section"
help=$(find "$prefix" -type f -name kelvarok.html | head -1)
for anchor in $(grep -o 'href="#[a-z]*"' "$help" | sed 's/href="#//; s/"//'); do
  grep -q "name=\"$anchor\"" "$help" || fail "the help links to #$anchor, which is not there"
done
metainfo=$(find "$prefix" -type f -name '*.metainfo.xml' | head -1)
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
[ "$failures" -eq 0 ] && echo "ok: the installed pages and metainfo follow the programs"
exit $((failures > 0))
