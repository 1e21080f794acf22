#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer
# as well) into build-fuzz/ and runs them, two at a time, over a copy of each one's seed
# corpus in fuzz/corpus/<target>/. Any crash, leak, sanitizer report, broken invariant
# or hang fails the run; the input that did it is copied to build-fuzz/crashes/. Ends
# with a table of executions per target.
#
# usage: scripts/fuzz.sh            the gate (the test command runs this): each target
#                                   replays its whole corpus, then makes a fixed number
#                                   of runs from a fixed seed, so the same commit gives
#                                   the same answer and the same counts on any machine
#        scripts/fuzz.sh SECONDS    exploring: each target for SECONDS from a random
#                                   seed; FUZZ_MERGE=1 then merges the inputs that found
#                                   new code, minimised, into fuzz/corpus/ for a commit.
#                                   Never in CI.
#        FUZZ_JOBS targets at once, 2 by default.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-}
jobs=${FUZZ_JOBS:-2}
[ $# -le 1 ] && { [ -z "$seconds" ] || { [[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ]; }; } ||
  { echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2; }

# The gate's runs per target: about 20 s each here, so the pass stays near three
# minutes with its build. A target without a count fails the gate rather than be left out.
declare -A gate_runs=(
  [fuzz_addon]=3000000 [fuzz_c39]=400000 [fuzz_ean13]=1000000 [fuzz_ean8]=1400000 [fuzz_numtext]=400000
  [fuzz_rounding]=30000000 [fuzz_settings]=80000 [fuzz_upca]=1400000 [fuzz_upce]=1000000
  [fuzz_code128]=200000 [fuzz_gs1]=300000 [fuzz_customsheet]=1000000
)
gate_seed=1

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
if [ -z "$seconds" ]; then
  for t in "${targets[@]}"; do
    [ -n "${gate_runs[$t]:-}" ] || { echo "fuzz: $t has no run count in scripts/fuzz.sh" >&2; exit 1; }
  done
fi

work=$(mktemp -d /tmp/ruvola-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/crashes"

# Leaks and undefined behaviour stop a run as a crash does (the targets are built with
# -fno-sanitize-recover=undefined); libFuzzer keeps the input.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:print_stacktrace=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=print_suppressions=0
# Qt seeds its hashes at random in every process, which would steer the coverage, and
# with it the runs, differently each time.
export QT_HASH_SEED=0

# One target: its corpus copied, so the repository's seeds stay as they are; a hang of
# 25 s on one input counts as a failure.
run_one() {
  local t=$1
  cp -r "fuzz/corpus/$t" "$work/$t"
  mkdir -p "$work/$t.artifacts"
  local how=(-max_total_time="$seconds")
  # Two things would steer each run differently: libFuzzer rereads its corpus folder every
  # second and runs what it finds there that it does not hold, so what it runs depends on
  # the machine's speed; and comparison tracing feeds the operands of compares, pointers
  # among them, back into the mutations. The gate goes without both.
  if [ -z "$seconds" ]; then
    how=(-runs="${gate_runs[$t]}" -seed="$gate_seed" -reload=0 -use_cmp=0)
  fi
  if "$build/fuzz/$t" "${how[@]}" -timeout=25 -print_final_stats=1 \
       -artifact_prefix="$work/$t.artifacts/" "$work/$t" >"$work/$t.log" 2>&1; then
    echo ok >"$work/$t.status"
  else
    echo "failed ($?)" >"$work/$t.status"
  fi
}

if [ -z "$seconds" ]; then
  echo "Fuzzing ${#targets[@]} targets: each its corpus, then its fixed runs from seed $gate_seed, $jobs at a time"
else
  echo "Exploring ${#targets[@]} targets for ${seconds} s each, $jobs at a time"
fi
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

if [ "${FUZZ_MERGE:-0}" = 1 ] && [ -n "$seconds" ]; then
  for t in "${targets[@]}"; do
    "$build/fuzz/$t" -merge=1 "fuzz/corpus/$t" "$work/$t" >"$work/$t.merge.log" 2>&1
  done
  echo "Merged the new inputs into fuzz/corpus/ ($(git status --porcelain fuzz/corpus | wc -l) new files)"
fi
echo "fuzz: $passed passed, 0 failed"
