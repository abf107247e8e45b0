#!/usr/bin/env bash
# Every program of the project answers -h, --help and --version with status 0
# on standard output, writing nothing where it runs, and the version is the
# project's. Usage: command_lines_test.sh VERSION PROGRAM...
set -uo pipefail
version=$1; shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for program in "$@"; do
  name=$(basename "$program")
  for question in -h --help --version; do
    folder="$work/$name$question"
    mkdir "$folder"
    (cd "$folder" && env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$question" \
      >"$work/out" 2>"$work/err")
    status=$?
    [ "$status" -eq 0 ] || fail "$name $question: status $status"
    [ -s "$work/out" ] || fail "$name $question: nothing on standard output"
    [ ! -s "$work/err" ] || fail "$name $question: standard error: $(head -c 200 "$work/err")"
    [ -z "$(ls -A "$folder")" ] || fail "$name $question wrote $(ls -A "$folder")"
    if [ "$question" = --version ]; then
      [ "$(cat "$work/out")" = "$name $version" ] || fail "$name --version: $(cat "$work/out")"
    else
      grep -q "usage: $name" "$work/out" || fail "$name $question: no usage line"
    fi
  done
  # An argument that looks like an option is never taken as a file name.
  (cd "$work" && "$program" -x.png >/dev/null 2>&1)
  [ -z "$(find "$work" -maxdepth 1 -name '-x*')" ] || fail "$name took -x.png as a file name"
done
[ "$failures" -eq 0 ] && echo "ok: $# programs"
exit $((failures > 0))
