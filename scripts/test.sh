#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless through CTest; then the same
# suite again built with AddressSanitizer and UndefinedBehaviorSanitizer
# (scripts/sanitize.sh), then every fuzz target over its corpus and a fixed number of
# runs from a fixed seed (scripts/fuzz.sh), so the same commit gives the same answer
# everywhere. The plain suite comes first, so that its failures show without waiting
# for the other builds. Ends with the time of each pass.
set -euo pipefail
cd "$(dirname "$0")/.."

start=$SECONDS
scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
plain=$((SECONDS - start))

start=$SECONDS
scripts/sanitize.sh
sanitized=$((SECONDS - start))

start=$SECONDS
scripts/fuzz.sh
fuzzed=$((SECONDS - start))

minutes() { printf '%d min %02d s' $(($1 / 60)) $(($1 % 60)); }
echo
echo "Passes (each with its build):"
echo "  plain suite           $(minutes "$plain")"
echo "  sanitizer suite       $(minutes "$sanitized")"
echo "  fuzz targets          $(minutes "$fuzzed")"
echo "  total                 $(minutes $((plain + sanitized + fuzzed)))"
