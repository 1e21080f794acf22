#!/usr/bin/env bash
# Start-up benchmark (not a test): times the main window from process start until it
# is visible, against a bare Qt main window, on a private Xvfb; first with no print
# system, then with a private CUPS daemon whose default queue is a cups-pdf printer.
# usage: scripts/bench-startup.sh [ROUNDS]   (15 by default; BENCH_JOBS build jobs, 2 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-15}

install_missing() {
  local packages=(xvfb libx11-6 cups cups-client printer-driver-cups-pdf)
  command -v python3 >/dev/null || packages+=(python3)
  scripts/install-packages.sh "${packages[@]}"
}

install_missing
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUVOLA_BENCH=ON >/dev/null
cmake --build build -j"${BENCH_JOBS:-2}" --target ruvola-barcode bare-window

work=$(mktemp -d /tmp/ruvola-bench.XXXXXX)
xvfb_pid=""
cupsd_pid=""
cleanup() {
  [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits up to five seconds for a condition given as a command.
wait_for() {
  local i
  for i in $(seq 50); do "$@" && return 0; sleep 0.1; done
  echo "bench-startup: timed out waiting for: $*" >&2
  return 1
}

# Xvfb picks a free display itself and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for test -s "$work/display"
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

# The program reads BCodeSetting.ini beside its executable: one copy with no settings
# file (no editor at start), one whose file picks the C39 editor.
mkdir "$work/no-editor" "$work/c39-editor"
cp build/ruvola-barcode "$work/no-editor/"
cp build/ruvola-barcode "$work/c39-editor/"
printf '[Symbology]\nChecked=Bar Code C39\n' >"$work/c39-editor/BCodeSetting.ini"

# Every timed program asks this private server only, never a system cupsd; before the
# daemon starts its socket does not exist, which is a machine without a print system.
cups="$work/cups"
mkdir -p "$cups"/{spool,cache,state,tmp,log}
export CUPS_SERVER="$cups/cups.sock" CUPS_SERVERROOT="$cups"

measure() {
  echo
  echo "== $1 (median of $rounds alternating rounds)"
  python3 bench/startup.py --rounds "$rounds" \
    --program "bare Qt window" "Bare Qt main window" build/bench/bare-window \
    --program "main window, no editor" "Ruvola BarCode Generator" "$work/no-editor/ruvola-barcode" \
    --program "main window, C39 editor" "Ruvola BarCode Generator" "$work/c39-editor/ruvola-barcode"
}

start_cups() {
  cat >"$cups/cups-files.conf" <<EOF
ServerRoot $cups
RequestRoot $cups/spool
CacheDir $cups/cache
StateDir $cups/state
TempDir $cups/tmp
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
SystemGroup root
EOF
  cat >"$cups/cupsd.conf" <<EOF
Listen $cups/cups.sock
LogLevel warn
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
EOF
  /usr/sbin/cupsd -f -c "$cups/cupsd.conf" -s "$cups/cups-files.conf" &
  cupsd_pid=$!
  wait_for sh -c 'lpstat -r 2>/dev/null | grep -q "is running"'
  lpadmin -p RuvolaBench -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
  lpadmin -d RuvolaBench
  echo
  lpstat -d
}

measure "no CUPS daemon"
start_cups
measure "CUPS daemon, default queue"
