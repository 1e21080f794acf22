#!/usr/bin/env bash
# Installs the built package as a user would (apt-get install ./build/...deb), then, as an
# ordinary user on a private X display and D-Bus session, runs installed.py and has
# /usr/bin/ruvola-batch write a PNG. Removes the package again when it was not installed
# before, and the user it made. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/../.."
deb=$(ls build/ruvola-barcode_*.deb)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
before=$(dpkg-query -W -f='${Status}' ruvola-barcode 2>/dev/null || true)
# The test's own user: made for the run, and removed with whatever it still runs.
user=ruvola-check
work=$(mktemp -d)
chmod 0755 "$work"
cleanup() {
  [ -n "${xvfb:-}" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
  $sudo pkill -KILL -u "$user" 2>/dev/null || true
  id "$user" >/dev/null 2>&1 && $sudo userdel -r -f "$user" 2>/dev/null || true
  [[ "$before" == *"install ok installed"* ]] || $sudo apt-get remove -y -qq ruvola-barcode >/dev/null 2>&1 || true
  $sudo rm -rf "$work"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb" >/dev/null
id "$user" >/dev/null 2>&1 && { $sudo userdel -r -f "$user" 2>/dev/null || true; }
$sudo useradd -m -s /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
# The X server picks a free display and tells its number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -ac -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
display=:$(head -n1 "$work/display")
cp tests/package/installed.py tests/support/atspi_program.py "$work/"
chmod 0644 "$work/installed.py" "$work/atspi_program.py"
as_user() { $sudo runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/bin:/bin DISPLAY="$display" "$@"; }
as_user dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  sleep 1
  cd "$HOME" && /usr/bin/python3 "$1"
  status=$?
  kill %1 2>/dev/null
  exit $status' bash "$work/installed.py"
png="$home/batch.png"
as_user /usr/bin/ruvola-batch ean13 590123412345 12 -o "$png"
[ "$($sudo head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  { echo "ruvola-batch from /usr/bin wrote no PNG" >&2; exit 1; }
echo "installed package: the program keeps its settings in $home/.config/ruvola, ruvola-batch writes a PNG"
