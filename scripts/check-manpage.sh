#!/usr/bin/env bash
# Fails unless the manual page names every option that ruvola-batch --help lists.
# usage: scripts/check-manpage.sh RUVOLA_BATCH MANPAGE
set -euo pipefail
options=$("$1" --help | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u)
page=$(sed -e 's/\\f[BIR]//g' -e 's/\\-/-/g' "$2")
missing=0
for option in $options; do
  grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$page" || { echo "not in $2: $option" >&2; missing=1; }
done
[ $missing -eq 0 ] && echo "check-manpage: $(wc -w <<<"$options") options, each in $2"
exit $missing
