#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer
# as well) into build-fuzz/ and runs each for SECONDS over a copy of its seed corpus in
# fuzz/corpus/<target>/, two at a time. Any crash, leak, sanitizer report, broken
# invariant or hang fails the run; the input that did it is copied to
# build-fuzz/crashes/. Ends with a table of executions per target.
# usage: scripts/fuzz.sh [SECONDS]   (30 by default; FUZZ_JOBS targets at once, 2 by
#        default; FUZZ_MERGE=1 merges the inputs that found new code back into
#        fuzz/corpus/, for a long run kept on purpose, never in CI)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
jobs=${FUZZ_JOBS:-2}
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || { echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2; }

install_missing() {
  # clang 14 is Debian 12's; its libFuzzer and sanitizer runtimes are a package of their own.
  scripts/install-packages.sh clang libclang-rt-14-dev
}

scripts/setup.sh
install_missing
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
      -DRUVOLA_FUZZ=ON -DRUVOLA_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzzers

targets=()
for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no seed corpora in fuzz/corpus" >&2; exit 1; }

work=$(mktemp -d /tmp/ruvola-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/crashes"

# Leaks and undefined behaviour stop a run as a crash does (the targets are built with
# -fno-sanitize-recover=undefined); libFuzzer keeps the input.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:print_stacktrace=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=print_suppressions=0

# One target: its corpus copied, so the repository's seeds stay as they are; a hang of
# 25 s on one input counts as a failure.
run_one() {
  local t=$1
  cp -r "fuzz/corpus/$t" "$work/$t"
  mkdir -p "$work/$t.artifacts"
  if "$build/fuzz/$t" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
       -artifact_prefix="$work/$t.artifacts/" "$work/$t" >"$work/$t.log" 2>&1; then
    echo ok >"$work/$t.status"
  else
    echo "failed ($?)" >"$work/$t.status"
  fi
}

echo "Fuzzing ${#targets[@]} targets for ${seconds} s each, $jobs at a time"
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
  run_one "$t" &
  running=$((running + 1))
done
wait

failed=0
passed=0
printf '\n%-16s %14s %10s %8s %9s  %s\n' target executions "exec/s" "new" "peak MB" result
for t in "${targets[@]}"; do
  final() { sed -n "s/^stat::$1: *//p" "$work/$t.log" | tail -1; }
  status=$(cat "$work/$t.status" 2>/dev/null || echo "did not run")
  printf '%-16s %14s %10s %8s %9s  %s\n' "$t" "$(final number_of_executed_units)" "$(final average_exec_per_sec)" \
         "$(final new_units_added)" "$(final peak_rss_mb)" "$status"
  if [ "$status" = ok ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    cp "$work/$t.artifacts/"* "$build/crashes/" 2>/dev/null || true
  fi
done

if [ "$failed" -ne 0 ]; then
  for t in "${targets[@]}"; do
    [ "$(cat "$work/$t.status" 2>/dev/null)" = ok ] && continue
    echo
    echo "== $t: the end of its log"
    tail -n 60 "$work/$t.log"
  done
  echo
  echo "fuzz: failing inputs copied to $build/crashes/ (reproduce: $build/fuzz/<target> <input>)" >&2
  echo "fuzz: $passed passed, $failed failed"
  exit 1
fi

if [ "${FUZZ_MERGE:-0}" = 1 ]; then
  for t in "${targets[@]}"; do
    "$build/fuzz/$t" -merge=1 "fuzz/corpus/$t" "$work/$t" >"$work/$t.merge.log" 2>&1
  done
  echo "Merged the new inputs into fuzz/corpus/ ($(git status --porcelain fuzz/corpus | wc -l) new files)"
fi
echo "fuzz: $passed passed, 0 failed"
