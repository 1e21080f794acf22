#!/usr/bin/env bash
# The whole test suite a second time, built with AddressSanitizer (LeakSanitizer with
# it) and UndefinedBehaviorSanitizer into build-asan/. Built with g++, the compiler of
# the program itself, whose sanitizer runtimes come with it. Any report fails the run,
# also one from a program a test starts (ruvola-batch, the program under Xvfb) whose
# exit status the test does not look at: every report goes to a file in
# build-asan/sanitizer-logs/, and any file there fails the pass.
# Leaks that are provably the libraries' own (Qt, fontconfig, glib, X, CUPS) are
# suppressed in scripts/lsan.supp, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=build-asan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUVOLA_SANITIZE=ON -DRUVOLA_BENCH=OFF >/dev/null
cmake --build "$build" -j2

logs="$PWD/$build/sanitizer-logs"
rm -rf "$logs"
mkdir -p "$logs"
export QT_QPA_PLATFORM=offscreen
# The plain pass kills a settings save 300 times; a hundred is enough here, where each
# save is four times slower. The soak keeps its few hundred rounds for LeakSanitizer.
export RUVOLA_KILLS=100
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:halt_on_error=1:print_stacktrace=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:log_path=$logs/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$logs/ubsan"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

status=0
ctest --test-dir "$build" --output-on-failure -j2 || status=$?

if compgen -G "$logs/*" >/dev/null; then
  for f in "$logs"/*; do
    echo
    echo "== sanitizer report $(basename "$f")"
    cat "$f"
  done
  echo "sanitize: the sanitizers reported the faults above" >&2
  status=1
fi
exit "$status"
