#!/usr/bin/env bash
# Builds the fuzz targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# in build-fuzz) and runs each for SECONDS (default 300), one after the other,
# starting from its committed corpus. New inputs go to a scratch corpus in
# build-fuzz/fuzz-work/<target>, so the committed one stays small; an input
# that fails is kept in build-fuzz/findings/<target>/. Prints, per target, the
# executions, the seconds, libFuzzer's coverage (cov:) and the findings.
# Naming targets runs only those.
#   scripts/fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
shift $(($# > 0 ? 1 : 0))
build=$root/build-fuzz
targets=${*:-$(cd "$root/fuzz/corpus" && ls)}

CC=${CC:-clang} CXX=${CXX:-clang++} cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKELVAROK_BUILD_FUZZ=ON -DKELVAROK_SANITIZE=ON -DKELVAROK_BUILD_BENCH=OFF >/dev/null
# shellcheck disable=SC2046
cmake --build "$build" -j "$(nproc)" --target $(printf '%s_fuzz ' $targets) >/dev/null

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# The file targets write an input file for every run: on tmpfs, not the disk.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
# A request for more memory than there is fails as it does in the program
# (malloc returns null) instead of ending the run: an "@Variant(" value in the
# settings file makes Qt ask for a list of the size the value claims.
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
summary=$build/fuzz-summary.txt
printf '%-22s %12s %8s %8s %9s\n' target executions seconds cov findings | tee "$summary"
total=0
for target in $targets; do
  work=$build/fuzz-work/$target findings=$build/findings/$target
  log=$build/fuzz-logs/$target.log
  rm -rf "$findings"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  start=$(date +%s)
  status=0
  "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  elapsed=$(($(date +%s) - start))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  found=$(find "$findings" -type f | wc -l)
  if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then found="failed($status)"; fi
  printf '%-22s %12s %8s %8s %9s\n' "$target" "${runs:-?}" "$elapsed" "${cov:-?}" "$found" |
    tee -a "$summary"
  total=$((total + ${runs:-0}))
done
printf '%-22s %12s\n' total "$total" | tee -a "$summary"
