#!/usr/bin/env bash
# Builds and runs the Build/Copy benchmark headless: median times of one Build/Copy
# at an editor's defaults and of its engine alone. Optional argument: rounds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
QT_QPA_PLATFORM=offscreen build/bench/bench-buildcopy "$@"
