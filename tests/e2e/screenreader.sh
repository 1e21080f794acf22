#!/usr/bin/env bash
# Runs the built program on a private X display and a private D-Bus session with the
# AT-SPI bus, and reads it with screenreader.py as a screen reader would.
# usage: screenreader.sh PROGRAM
set -uo pipefail
program=$1
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "SKIP   : no $tool (scripts/setup.sh installs xvfb, dbus, at-spi2-core)"; exit 0; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP   : no pyatspi (scripts/setup.sh installs python3-pyatspi)"; exit 0; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cp "$program" "$work/"
printf '[Symbology]\nChecked=Bar Code C39\n' > "$work/BCodeSetting.ini"
# The X server picks a free display and tells its number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  sleep 1
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$1" >/dev/null 2>&1 &
  program=$!
  /usr/bin/python3 "$2"
  status=$?
  # The program ends by its "Exit"; one still running after that has failed already.
  for _ in $(seq 50); do kill -0 $program 2>/dev/null || break; sleep 0.2; done
  kill $program %1 2>/dev/null
  wait $program
  exit $status' bash "$work/$(basename "$program")" "$(dirname "$0")/screenreader.py"
