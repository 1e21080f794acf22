#!/usr/bin/env bash
# Fails when a floor includes what lies above it: engines/ anything of Qt or outside
# engines/; platform/, symbols/, sheets/ or cli/ anything of editors/ or shell/; and
# platform/ anything of symbols/ or sheets/, also through a path that climbs out of the
# file's own folder ("../symbols/kind.h"), which the build's include roots do not stop.
# The include roots stop the rest already; this names the file and the line.
# usage: scripts/check-layers.sh [ROOT]       checks the tree at ROOT (the project's by default)
#        scripts/check-layers.sh --self-test  plants a wrong include in each floor of a copy
#                                             and fails unless every one is caught
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

check() {
  local root=$1 found=0
  # grep prints file:line:text of each include that breaks its floor's rule.
  report() { if [ -n "$1" ]; then echo "$1" | sed "s|^$root/||; s|\$|   <- $2|"; found=1; fi; }
  report "$(grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$root"/engines/*.{h,cpp} 2>/dev/null)" \
         "engines/ includes no Qt"
  report "$(grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' "$root"/engines/*.{h,cpp} 2>/dev/null |
            grep -vE '#[[:space:]]*include[[:space:]]*"engines/')" "engines/ includes only engines/"
  for floor in platform symbols sheets cli; do
    report "$(grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*/)?(editors|shell)/' "$root/$floor"/*.{h,cpp} 2>/dev/null)" \
           "$floor/ is below the windows"
  done
  report "$(grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*/)?(symbols|sheets)/' "$root"/platform/*.{h,cpp} 2>/dev/null)" \
         "platform/ is below symbols/ and sheets/"
  return $found
}

self_test() {
  local copy; copy=$(mktemp -d)
  trap 'rm -rf "$copy"' RETURN
  local failed=0
  for plant in 'engines/canvas.h:#include <QString>' 'engines/c39unit.cpp:#include "platform/numtext.h"' \
               'platform/export.h:#include "editors/bareditor.h"' 'platform/inifile.cpp:#include "symbols/kind.h"' \
               'symbols/kind.h:#include "shell/mainform.h"' 'cli/main.cpp:#include "editors/editorhost.h"' \
               'platform/inifile.cpp:#include "../symbols/kind.h"' 'symbols/kind.cpp:#include "../editors/bareditor.h"' \
               'sheets/labeltemplates.h:#include "shell/mainform.h"' 'platform/files.cpp:#include "sheets/labeltemplates.h"'; do
    rm -rf "$copy/tree"; mkdir "$copy/tree"
    cp -r "$here"/engines "$here"/platform "$here"/symbols "$here"/sheets "$here"/cli "$copy/tree/"
    check "$copy/tree" >/dev/null || { echo "clean copy fails the check" >&2; return 1; }
    echo "${plant#*:}" >> "$copy/tree/${plant%%:*}"
    if check "$copy/tree" >/dev/null; then echo "not caught: ${plant#*:} in ${plant%%:*}" >&2; failed=1; fi
  done
  return $failed
}

if [ "${1:-}" = --self-test ]; then self_test; exit; fi
check "${1:-$here}" || { echo "check-layers: includes that break the floors, above" >&2; exit 1; }
echo "check-layers: every floor includes only what lies below it"
