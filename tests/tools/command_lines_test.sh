#!/usr/bin/env bash
# Every program of the project answers -h, --help and --version with status 0
# on standard output, writing nothing where it runs, and the version is the
# project's; every one takes a value or file name that starts with "-" after
# "--", and only there. Usage: command_lines_test.sh VERSION PROGRAM...
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

# After "--" a name that starts with "-" is a value or a file: each program
# writes (or reads) it. Without "--" it is an option: the program refuses the
# command line (status 2) and writes nothing. Rows: program, status, the file
# that must (status 0) or must not be there afterwards ("none": a replay that
# is there and would play, or a script that is read), arguments.
declare -A path
for program in "$@"; do path[$(basename "$program")]=$program; done
cases=(
  "kelvarok 0 -x.png --demo --frames 1 --screenshot -- -x.png"
  "kelvarok 0 -r.kvr --demo --frames 1 --record -- -r.kvr"
  "kelvarok 0 -r.kvr --replay -- -r.kvr"
  "kelvarok 0 -f.log --demo --frames 1 --frame-log -- -f.log"
  "kelvarok 2 -y.png --demo --frames 1 --screenshot -y.png"
  "kelvarok 2 -y.kvr --demo --frames 1 --record -- -y.kvr --seed 1"
  "kelvarok 2 none --replay -r.kvr"
  "kelvarok 0 v.png --demo --frames 1 --screenshot v.png --virtual-controller -- -v.txt"
  "kelvarok 2 none --demo --frames 1 --virtual-controller -v.txt"
  "kelvarok 2 w.png --demo --frames 1 --screenshot w.png --virtual-controller -- -s.txt"
  "kelvarok-sim 0 -t.jsonl --autopilot --until 100 --trace -- -t.jsonl"
  "kelvarok-sim 0 --help --until 100 --trace -- --help"
  "kelvarok-sim 2 -u.jsonl --until 100 --trace -u.jsonl"
  "kelvarok-mix 0 -o.raw render --log -- -l.txt -s.txt -o.raw"
  "kelvarok-mix 2 -q.raw render -- -s.txt -- -q.raw"
  "kelvarok-mix 2 -p.raw render -s.txt -p.raw"
  "kelvarok-mix-play 0 -l.txt --log -- -l.txt -s.txt"
  "kelvarok-mix-play 2 -m.txt --log -m.txt -- -s.txt"
  "kelvarok-showcase 0 -s.png -- -s.png"
  "kelvarok-art 0 -art -- -art"
  "kelvarok-sfx 0 -sfx/missile.wav -- -sfx"
)
dashes="$work/dashes"
mkdir "$dashes"
printf '0 open all\n10 end\n' >"$dashes/-s.txt"
printf '0 button a down\n+40 button a up\n' >"$dashes/-v.txt"
for row in "${cases[@]}"; do
  read -r name want file arguments <<<"$row"
  [ -n "${path[$name]:-}" ] || continue
  set -f
  # shellcheck disable=SC2086  # the row's arguments are words
  (cd "$dashes" && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy timeout 60 \
    "${path[$name]}" $arguments >/dev/null 2>"$work/err")
  status=$?
  set +f
  [ "$status" -eq "$want" ] || fail "$name $arguments: status $status: $(head -c 200 "$work/err")"
  if [ "$file" = none ]; then
    :
  elif [ "$want" -eq 0 ]; then
    [ -e "$dashes/$file" ] || fail "$name $arguments: no $file"
  else
    [ ! -e "$dashes/$file" ] || fail "$name $arguments wrote $file"
  fi
done
[ "$failures" -eq 0 ] && echo "ok: $# programs"
exit $((failures > 0))
