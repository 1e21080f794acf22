#!/usr/bin/env bash
# Builds and runs the Build/Copy benchmark headless: median times of one Build/Copy
# at an editor's defaults with the scan check off and on, of its engine alone, and of
# the scan check's decoding of an EAN-13 and a Code 39 picture. Optional argument: rounds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
QT_QPA_PLATFORM=offscreen build/bench/bench-buildcopy "$@"
