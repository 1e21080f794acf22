#!/usr/bin/env bash
# Batch benchmark (not a test): EAN-13 PNG symbols per second of ruvola-batch at its
# defaults (one thread) and with --jobs set to the number of processors against
# Debian's `zint --batch` (one thread) on the same messages in the same run, and the
# peak memory (max RSS) of each, over COUNT symbols and a tenth of them: a flat memory
# shows as the same peak for both counts. zint is only the yardstick and is installed
# here, never by the project's setup.
# usage: scripts/bench-batch.sh [COUNT]   (100000 by default; BENCH_BUILD build directory,
#        build by default; BENCH_JOBS build jobs, 2 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-100000}
build=${BENCH_BUILD:-build}

install_missing() {
  scripts/install-packages.sh zint time
}

install_missing
scripts/setup.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"${BENCH_JOBS:-2}" --target ruvola-batch

# The files go to a memory file system where there is one, so that both programs are
# timed rather than the disk's inode allocation.
work=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/ruvola-bench-batch.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs a command under /usr/bin/time; prints "seconds max-rss-kB".
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
    echo "bench-batch: failed: $*" >&2; cat "$work/stderr" >&2; exit 1; }
  cat "$work/time"
}

# Fails unless directory holds n PNG files.
check_count() {
  local written; written=$(find "$1" -name '*.png' | wc -l)
  [ "$written" -eq "$2" ] || { echo "bench-batch: wrote $written of $2 files in $1" >&2; exit 1; }
}

run_all() {
  local n=$1
  awk -v n="$n" 'BEGIN { for (i = 0; i < n; i++) printf "%012d\n", 590000000000 + i }' >"$work/messages.txt"
  sed 's/^/ean13,/' "$work/messages.txt" >"$work/messages.csv"
  local r_s r_kb s_s s_kb z_s z_kb
  rm -rf "$work/ruvola" "$work/zint"; mkdir "$work/ruvola" "$work/zint"
  read -r s_s s_kb < <(measure "$build/ruvola-batch" --batch "$work/messages.csv" -o "$work/ruvola/{line}.png")
  check_count "$work/ruvola" "$n"
  rm -rf "$work/ruvola"; mkdir "$work/ruvola"
  read -r r_s r_kb < <(measure "$build/ruvola-batch" --jobs "$(nproc)" --batch "$work/messages.csv" -o "$work/ruvola/{line}.png")
  check_count "$work/ruvola" "$n"
  read -r z_s z_kb < <(measure zint -b EANX --batch -i "$work/messages.txt" -o "$work/zint/~~~~~~.png")
  check_count "$work/zint" "$n"
  awk -v n="$n" -v rs="$r_s" -v rk="$r_kb" -v ss="$s_s" -v sk="$s_kb" -v zs="$z_s" -v zk="$z_kb" 'BEGIN {
    r = n / rs; s = n / ss; z = n / zs
    printf "%7d symbols  zint --batch %7.0f symbols/s  max RSS %6.1f MB\n", n, z, zk / 1024
    printf "         ruvola-batch (one thread) %7.0f symbols/s  max RSS %6.1f MB  ratio %.2fx\n", s, sk / 1024, s / z
    printf "         ruvola-batch --jobs %d     %7.0f symbols/s  max RSS %6.1f MB  ratio %.2fx (threads)\n", '"$(nproc)"', r, rk / 1024, r / z }'
}

echo "EAN-13 PNG at defaults, one file per symbol (target: ruvola-batch on one thread at least 5x zint, memory flat); load: $(cut -d' ' -f1-3 /proc/loadavg)"
run_all $((count / 10))
run_all "$count"
