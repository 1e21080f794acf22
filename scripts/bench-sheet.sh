#!/usr/bin/env bash
# Sheet benchmark (not a test): builds Release and runs bench-sheet (one A4 sheet of 65
# EAN-13 labels, Avery L7651, at 300 dpi written as PDF into memory: median time, its
# halves, the PDF's size; 100 sheets in one PDF; peak memory), then times ruvola-batch
# --sheet 'Avery L7651' on a batch of 65 and of 6500 EAN-13 messages counting up, with
# its wall time and peak memory (max RSS) from /usr/bin/time, and checks the pages
# written. ruvola-batch reads the installed templates where glabels-data is present;
# bench-sheet uses the built-in sheet.
# usage: scripts/bench-sheet.sh [ROUNDS [SHEETS]]   (passed to bench-sheet: 21 and 100;
#        BENCH_BUILD build directory, build-rel by default; BENCH_JOBS build jobs, 2 by
#        default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BENCH_BUILD:-build-rel}

scripts/install-packages.sh time poppler-utils
scripts/setup.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"${BENCH_JOBS:-2}" --target bench-sheet ruvola-batch

work=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/ruvola-bench-sheet.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "bench-sheet; load: $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen "$build/bench/bench-sheet" "$@"

# Runs ruvola-batch under /usr/bin/time; prints "seconds max-rss-kB".
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time" "$build/ruvola-batch" "$@" >/dev/null 2>"$work/stderr" || {
    echo "bench-sheet: failed: ruvola-batch $*" >&2; cat "$work/stderr" >&2; exit 1; }
  cat "$work/time"
}

echo
echo "ruvola-batch --sheet 'Avery L7651' --width 1 --height 0.5 (300 dpi); load: $(cut -d' ' -f1-3 /proc/loadavg)"
printf "%8s %8s %10s %12s %10s\n" labels pages "wall s" "max RSS MB" "PDF MB"
for labels in 65 6500; do
  awk -v n="$labels" 'BEGIN { for (i = 0; i < n; i++) printf "ean13,%012d\n", 590123412345 + i }' >"$work/batch.csv"
  rm -f "$work/out.pdf"
  read -r seconds kb < <(measure --sheet 'Avery L7651' --width 1 --height 0.5 --batch "$work/batch.csv" -o "$work/out.pdf")
  pages=$(pdfinfo "$work/out.pdf" | awk '/^Pages:/ { print $2 }')
  [ "$pages" -eq $(((labels + 64) / 65)) ] || { echo "bench-sheet: $pages pages for $labels labels" >&2; exit 1; }
  awk -v l="$labels" -v p="$pages" -v s="$seconds" -v k="$kb" -v b="$(stat -c %s "$work/out.pdf")" \
    'BEGIN { printf "%8d %8d %10.2f %12.1f %10.2f\n", l, p, s, k / 1024, b / 1048576 }'
done
